#pragma once
// Writes loaded pictures as BMP or PNG files into one folder, each named after its input
// ("scan.tif" -> "DIR/scan.png"). A file is written whole or not at all, never over its
// own input, and never over the output an earlier input of the same run produced
// ("a.gif" and "a.tif" both asking for "a.png").
#include "imaging/allmap.h"

#include <QHash>
#include <QString>

namespace qvimage {

class TPictureConverter {
public:
    // Kind is "bmp" or "png"; Folder must exist.
    TPictureConverter(const QString& Kind, const QString& Folder);

    static bool KnownKind(const QString& Kind);

    // Writes Bitmap, read from Input, to Output(Input). Returns the reason when it
    // could not; empty when it did.
    QString Convert(const QString& Input, Allmap::TAnymap& Bitmap);

    QString Output(const QString& Input) const;

private:
    QByteArray Encoded(Allmap::TAnymap& Bitmap) const;

    QString FKind;
    QString FFolder;
    // Output file -> the input it was written for.
    QHash<QString, QString> FWritten;
};

} // namespace qvimage
