#include "pictureloader.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <new>

namespace qvimage {

namespace {

// TAnymap picks its reader by the extension; a file whose extension does not name the
// reader its content needs is reached through a link that does.
void LoadWithExtension(Allmap::TAnymap& Bitmap, const QString& FileName, const QString& Extension)
{
    if (QFileInfo(FileName).suffix().toLower() == Extension) {
        Bitmap.LoadFromFile(FileName);
        return;
    }
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("picture.") + Extension);
    if (!dir.isValid() || !QFile::link(QFileInfo(FileName).absoluteFilePath(), link))
        throw vcl::Exception(QStringLiteral("cannot make a link in the temporary folder to read it"));
    Bitmap.LoadFromFile(link);
}

// The file's first bytes, or the reason they cannot be read.
QString ReadSignature(const QString& FileName, QByteArray& Bytes)
{
    if (QFileInfo(FileName).isDir())
        return QStringLiteral("is a folder");
    QFile file(FileName);
    if (!file.open(QIODevice::ReadOnly))
        return file.errorString();
    Bytes = file.read(SignatureBytes);
    return {};
}

} // namespace

TLoadedPicture LoadPicture(const QString& FileName)
{
    TLoadedPicture result;
    QByteArray signature;
    result.Error = ReadSignature(FileName, signature);
    if (!result.Error.isEmpty())
        return result;
    result.Type = PictureType(FileName, signature);
    if (result.Type.Extension.isEmpty()) {
        result.Error = QStringLiteral("not a picture file QvKit reads (bmp, ico, wmf, emf, gif, tif, tiff, cdr, pcx)");
        return result;
    }
    auto bitmap = std::make_unique<Allmap::TAnymap>();
    try {
        LoadWithExtension(*bitmap, FileName, result.Type.Extension);
    } catch (const vcl::Exception& e) {
        result.Error = e.Message();
    } catch (const std::bad_alloc&) {
        result.Error = QStringLiteral("not enough memory to read it");
    }
    if (result.Error.isEmpty())
        result.Error = bitmap->LastError();
    if (result.Error.isEmpty() && bitmap->Empty())
        result.Error = QStringLiteral("no image");
    if (result.Error.isEmpty())
        result.Bitmap = std::move(bitmap);
    return result;
}

} // namespace qvimage
