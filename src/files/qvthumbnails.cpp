#include "files/qvthumbnails.h"

#include "imaging/allmap.h"

#include <QFileInfo>
#include <QImageReader>
#include <QPainter>

namespace Qvfilectrls {

namespace {

// The formats read by the library's own readers; the rest go to Qt.
bool OwnFormat(const QString& Suffix)
{
    static const QStringList own{QStringLiteral("bmp"), QStringLiteral("gif"), QStringLiteral("tif"),
        QStringLiteral("pcx"), QStringLiteral("cdr")};
    return own.contains(Suffix);
}

QImage ReadWithOwnReader(const QString& Path)
{
    try {
        Allmap::TAnymap bitmap;
        bitmap.LoadFromFile(Path);
        if (!bitmap.LastError().isEmpty() || bitmap.Empty())
            return QImage();
        return bitmap.ToQImage();
    } catch (const std::exception&) {
        return QImage(); // a damaged file shows its type icon instead
    }
}

QImage ReadWithQt(const QString& Path, int Edge)
{
    QImageReader reader(Path);
    const QSize size = reader.size();
    // Large pictures are scaled while they are decoded, where the format allows it.
    if (size.isValid() && (size.width() > Edge || size.height() > Edge))
        reader.setScaledSize(size.scaled(Edge, Edge, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
    return reader.read();
}

QImage FitIntoSquare(const QImage& Picture, int Edge)
{
    QImage square(Edge, Edge, QImage::Format_ARGB32_Premultiplied);
    square.fill(Qt::transparent);
    const QImage scaled = Picture.width() > Edge || Picture.height() > Edge
        ? Picture.scaled(Edge, Edge, Qt::KeepAspectRatio, Qt::SmoothTransformation)
        : Picture;
    QPainter painter(&square);
    painter.drawImage((Edge - scaled.width()) / 2, (Edge - scaled.height()) / 2, scaled);
    return square;
}

} // namespace

bool IsPictureFile(const QString& FileName)
{
    const QString suffix = QFileInfo(FileName).suffix().toLower();
    return !suffix.isEmpty()
        && (OwnFormat(suffix) || QImageReader::supportedImageFormats().contains(suffix.toLatin1()));
}

QImage DecodeThumbnail(const QString& Path, int Edge)
{
    if (Edge <= 0)
        return QImage();
    const QString suffix = QFileInfo(Path).suffix().toLower();
    const QImage picture = OwnFormat(suffix) ? ReadWithOwnReader(Path) : ReadWithQt(Path, Edge);
    return picture.isNull() ? QImage() : FitIntoSquare(picture, Edge);
}

TThumbnailLoader::TThumbnailLoader(TDone Done, QObject* Parent) : QObject(Parent), FDone(std::move(Done))
{
    // One worker: the machine's other cores stay free for the application.
    FPool.setMaxThreadCount(1);
}

TThumbnailLoader::~TThumbnailLoader()
{
    FPool.clear();
    FPool.waitForDone();
}

void TThumbnailLoader::StartBatch()
{
    FPool.clear();
    ++FBatch;
    FPending = 0;
}

void TThumbnailLoader::Request(int Slot, const QString& Path, int Edge)
{
    ++FPending;
    const uint64_t batch = FBatch;
    FPool.start([this, batch, Slot, Path, Edge] {
        const QImage thumbnail = DecodeThumbnail(Path, Edge);
        QMetaObject::invokeMethod(
            this, [this, batch, Slot, thumbnail] { Deliver(batch, Slot, thumbnail); }, Qt::QueuedConnection);
    });
}

void TThumbnailLoader::Deliver(uint64_t Batch, int Slot, const QImage& Thumbnail)
{
    if (Batch != FBatch)
        return;
    --FPending;
    if (FDone && !Thumbnail.isNull())
        FDone(Slot, Thumbnail);
}

} // namespace Qvfilectrls
