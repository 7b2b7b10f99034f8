#include "imagingtestsupport.h"

#include "imaging/cdrmap.h"
#include "imaging/gifmap.h"
#include "imaging/pcxmap.h"
#include "imaging/tifmap.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>

namespace imagingtest {

namespace {

QString GeneratedDir()
{
    static std::unique_ptr<QTemporaryDir> dir = [] {
        auto d = std::make_unique<QTemporaryDir>();
        const QString script = QString::fromLocal8Bit(qgetenv("QV_TEST_SOURCE_DIR")) + "/make_test_images.py";
        QProcess p;
        // One ImageMagick thread a process: the script runs many of them at once.
        p.setProcessEnvironment([] { auto e = QProcessEnvironment::systemEnvironment(); e.insert("MAGICK_THREAD_LIMIT", "1"); return e; }());
        p.start(QStringLiteral("/usr/bin/python3"), {script, d->path()});
        if (!p.waitForFinished(300000) || p.exitCode() != 0)
            throw std::runtime_error("make_test_images.py failed: " + p.readAllStandardError().toStdString());
        return d;
    }();
    return dir->path();
}

} // namespace

const std::vector<TSample>& Samples()
{
    static const std::vector<TSample> samples = [] {
        std::vector<TSample> list;
        const QString dir = GeneratedDir();
        const QList<QByteArray> lines = ReadFile(dir + "/manifest.tsv").split('\n');
        for (const QByteArray& line : lines) {
            const QList<QByteArray> f = line.split('\t');
            if (f.size() != 6)
                continue;
            list.push_back({QString::fromUtf8(f[0]), dir + '/' + QString::fromUtf8(f[1]), f[2].toInt(), f[3].toInt(),
                            f[4].toInt(), dir + '/' + QString::fromUtf8(f[5])});
        }
        return list;
    }();
    return samples;
}

std::vector<TSample> SamplesOf(const QString& Prefix)
{
    std::vector<TSample> list;
    for (const TSample& s : Samples()) {
        if (s.Name.startsWith(Prefix))
            list.push_back(s);
    }
    return list;
}

QByteArray ReadFile(const QString& Path)
{
    QFile f(Path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

QImage ReferenceImage(const TSample& Sample)
{
    const QByteArray rgb = ReadFile(Sample.Reference);
    QImage image(Sample.Width, Sample.Height, QImage::Format_RGB888);
    for (int y = 0; y < Sample.Height; ++y)
        std::memcpy(image.scanLine(y), rgb.constData() + qsizetype(y) * Sample.Width * 3, size_t(Sample.Width) * 3);
    return image;
}

QImage DecodeBitmapStream(const QByteArray& Bitmap)
{
    return QImage::fromData(Bitmap, "BMP").convertToFormat(QImage::Format_RGB888);
}

TBitmapFields ReadBitmapFields(const QByteArray& Bitmap)
{
    TBitmapFields f;
    if (Bitmap.size() < HeadersSize)
        return f;
    const auto* b = reinterpret_cast<const uchar*>(Bitmap.constData());
    f.FileSize = qFromLittleEndian<uint32_t>(b + 2);
    f.PixelOffset = qFromLittleEndian<uint32_t>(b + 10);
    f.Width = qFromLittleEndian<int32_t>(b + 18);
    f.Height = qFromLittleEndian<int32_t>(b + 22);
    f.BitCount = qFromLittleEndian<uint16_t>(b + 28);
    return f;
}

QByteArray AssembleWithReader(const QString& Extension, const QByteArray& Data)
{
    vcl::TMemoryStream source(Data);
    std::unique_ptr<vcl::TMemoryStream> bitmap;
    if (Extension == "gif")
        bitmap = Gifmap::TGifmap().AssembleBitmapStream(source);
    else if (Extension == "pcx")
        bitmap = Pcxmap::TPcxmap().AssembleBitmapStream(source);
    else if (Extension == "tif")
        bitmap = Tifmap::TTifmap().AssembleBitmapStream(source);
    else if (Extension == "cdr")
        bitmap = Cdrmap::TCdrMap().AssembleBitmapStream(source);
    else
        throw std::invalid_argument("no reader for " + Extension.toStdString());
    return bitmap->Bytes();
}

QString FirstPixelDifference(const QImage& Actual, const QImage& Expected)
{
    if (Actual.size() != Expected.size())
        return QStringLiteral("size %1x%2, expected %3x%4")
            .arg(Actual.width()).arg(Actual.height()).arg(Expected.width()).arg(Expected.height());
    int count = 0;
    QString first;
    for (int y = 0; y < Actual.height(); ++y) {
        for (int x = 0; x < Actual.width(); ++x) {
            if (Actual.pixel(x, y) != Expected.pixel(x, y)) {
                if (count++ == 0)
                    first = QStringLiteral("(%1,%2) is %3, expected %4")
                                .arg(x).arg(y).arg(Actual.pixel(x, y), 8, 16).arg(Expected.pixel(x, y), 8, 16);
            }
        }
    }
    return count == 0 ? QString() : QStringLiteral("%1 pixels differ; first %2").arg(count).arg(first);
}

} // namespace imagingtest
