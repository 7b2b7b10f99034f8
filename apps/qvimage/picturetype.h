#pragma once
// Which of QvKit's readers a file goes to. The file's first bytes decide when they are
// those of a format QvKit reads, so a picture with a missing or wrong extension still
// loads; otherwise the extension decides (".tiff" standing for ".tif"), so that a damaged
// file reaches its reader and gets the reader's message.
#include <QString>

namespace qvimage {

struct TPictureType {
    // The extension TAnymap knows the reader by ("tif"); empty when no reader fits.
    QString Extension;
    // The format's name for people ("TIFF").
    QString Name;
};

// FirstBytes are the file's first bytes (16 are enough; fewer when the file is shorter).
TPictureType PictureType(const QString& FileName, const QByteArray& FirstBytes);

// How many first bytes PictureType looks at.
constexpr qint64 SignatureBytes = 16;

} // namespace qvimage
