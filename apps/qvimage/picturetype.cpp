#include "picturetype.h"

#include "imaging/allmap.h"

#include <QFileInfo>

namespace qvimage {

namespace {

QString FormatName(const QString& Extension)
{
    static const QHash<QString, QString> names = {
        {"bmp", "BMP"}, {"ico", "Icon"}, {"wmf", "Windows metafile"}, {"emf", "Enhanced metafile"},
        {"gif", "GIF"}, {"tif", "TIFF"}, {"cdr", "CorelDRAW preview"}, {"pcx", "PCX"}};
    return names.value(Extension);
}

uint8_t ByteAt(const QByteArray& Bytes, qsizetype Index)
{
    return Index < Bytes.size() ? static_cast<uint8_t>(Bytes[Index]) : 0;
}

// A PCX file has no signature of its own beyond the first byte, so the version, the
// encoding and the bits per pixel must all hold values a PCX writer uses.
bool LooksLikePcx(const QByteArray& Bytes)
{
    const uint8_t version = ByteAt(Bytes, 1);
    const uint8_t bits = ByteAt(Bytes, 3);
    return Bytes.size() >= 4 && ByteAt(Bytes, 0) == 0x0A && (version <= 5 && version != 1) && ByteAt(Bytes, 2) == 1
           && (bits == 1 || bits == 2 || bits == 4 || bits == 8);
}

// The extension of the format the bytes begin with, among those QvKit reads itself.
QString Sniffed(const QByteArray& Bytes)
{
    if (Bytes.startsWith("GIF87a") || Bytes.startsWith("GIF89a"))
        return QStringLiteral("gif");
    if (Bytes.startsWith(QByteArray("II*\0", 4)) || Bytes.startsWith(QByteArray("MM\0*", 4)))
        return QStringLiteral("tif");
    if (Bytes.startsWith("BM"))
        return QStringLiteral("bmp");
    // CorelDRAW drawings are RIFF files of form "CDR<version>" (either case).
    if (Bytes.startsWith("RIFF") && Bytes.mid(8, 3).toLower() == "cdr")
        return QStringLiteral("cdr");
    if (LooksLikePcx(Bytes))
        return QStringLiteral("pcx");
    return {};
}

} // namespace

TPictureType PictureType(const QString& FileName, const QByteArray& FirstBytes)
{
    QString extension = Sniffed(FirstBytes);
    if (extension.isEmpty()) {
        extension = QFileInfo(FileName).suffix().toLower();
        if (extension == QLatin1String("tiff"))
            extension = QStringLiteral("tif");
        if (!Allmap::TAnymap::Supported(QStringLiteral("x.") + extension))
            extension.clear();
    }
    return {extension, FormatName(extension)};
}

} // namespace qvimage
