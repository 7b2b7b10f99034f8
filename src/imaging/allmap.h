#pragma once
// TAnymap: a bitmap that loads any supported picture file, choosing the reader by the
// file's extension.
#include "vcl/graphics/bitmap.h"

#include <QString>

namespace Allmap {

// A bitmap with one LoadFromFile for every picture format the package reads.
class TAnymap : public vcl::TBitmap {
public:
    // An empty bitmap.
    TAnymap();
    ~TAnymap() override;

    // True when the file name's extension (any case) is one of bmp, ico, wmf, emf, gif,
    // tif, cdr and pcx.
    static bool Supported(const QString& FileName);

    // Loads the file with the reader of its extension: the bitmap's own BMP reader, a
    // picture for icons and metafiles, or the GIF, TIFF, CorelDRAW and PCX readers. Any
    // other extension leaves the bitmap as it is. A TIFF failure reaches the caller;
    // the other readers keep their failures, and LastError tells them. Only the
    // framework's exceptions leave it. (The framework's file loading is not virtual, so
    // this one is reached through TAnymap only.)
    void LoadFromFile(const QString& FileName);

    // The failure message a GIF, PCX or CorelDRAW reader kept in the last LoadFromFile;
    // empty when that load went well.
    const QString& LastError() const { return FLastError; }

private:
    struct TLoader;
    static const TLoader* LoaderOf(const QString& FileName);

    void LoadBitmap(const QString& FileName);
    void LoadPicture(const QString& FileName);
    template <typename TReader>
    void LoadWithReader(const QString& FileName);

    QString FLastError;
};

} // namespace Allmap
