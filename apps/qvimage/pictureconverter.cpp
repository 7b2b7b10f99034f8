#include "pictureconverter.h"

#include "vcl/core/streams.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace qvimage {

TPictureConverter::TPictureConverter(const QString& Kind, const QString& Folder)
    : FKind(Kind),
      FFolder(Folder)
{
}

bool TPictureConverter::KnownKind(const QString& Kind)
{
    return Kind == QLatin1String("bmp") || Kind == QLatin1String("png");
}

QString TPictureConverter::Output(const QString& Input) const
{
    return QDir(FFolder).filePath(QFileInfo(Input).completeBaseName() + u'.' + FKind);
}

QString TPictureConverter::Convert(const QString& Input, Allmap::TAnymap& Bitmap)
{
    const QString output = Output(Input);
    const QString outputPath = QFileInfo(output).absoluteFilePath();
    if (QFileInfo(Input).canonicalFilePath() == QFileInfo(output).canonicalFilePath())
        return QStringLiteral("%1 is the input itself; choose another folder with -o").arg(output);
    if (FWritten.contains(outputPath))
        return QStringLiteral("%1 was written for %2 already; not replaced").arg(output, FWritten.value(outputPath));
    const QByteArray bytes = Encoded(Bitmap);
    if (bytes.isEmpty())
        return QStringLiteral("cannot encode the picture as %1").arg(FKind.toUpper());
    QSaveFile file(output);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return QStringLiteral("cannot write %1: %2").arg(output, file.errorString());
    FWritten.insert(outputPath, Input);
    return {};
}

// BMP files come from the bitmap's own writer, which keeps its pixel format and
// palette; PNG files from Qt's.
QByteArray TPictureConverter::Encoded(Allmap::TAnymap& Bitmap) const
{
    if (FKind == QLatin1String("bmp")) {
        vcl::TMemoryStream stream;
        Bitmap.SaveToStream(stream);
        return QByteArray(stream.Memory(), stream.Size());
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    return Bitmap.ToQImage().save(&buffer, "PNG") ? bytes : QByteArray();
}

} // namespace qvimage
