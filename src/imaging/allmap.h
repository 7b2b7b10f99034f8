#pragma once
// TAnymap: a bitmap that loads any supported picture file, choosing the reader by the
// file's extension.
#include "imaging/cdrmap.h"
#include "imaging/gifmap.h"
#include "imaging/pcxmap.h"
#include "imaging/tifmap.h"
#include "vcl/graphics/bitmap.h"
#include "vcl/graphics/picture.h"

#include <QString>
#include <memory>

namespace Allmap {

class TAnymap : public vcl::TBitmap {
public:
    TAnymap();
    ~TAnymap() override;

    // True when the file name's extension (any case) is one of bmp, ico, wmf, emf, gif,
    // tif, cdr and pcx.
    static bool Supported(const QString& FileName);

    // Loads the file with the reader of its extension: the bitmap's own BMP reader, a
    // picture for icons and metafiles, or the GIF, TIFF, CorelDRAW and PCX readers. Any
    // other extension leaves the bitmap as it is. A TIFF failure reaches the caller;
    // the other readers keep their failures, and LastError tells them. (The framework's
    // file loading is not virtual, so this one is reached through TAnymap only.)
    void LoadFromFile(const QString& FileName);

    // The failure message a GIF, PCX or CorelDRAW reader kept in the last LoadFromFile;
    // empty when that load went well.
    const QString& LastError() const { return FLastError; }

private:
    void LoadPicture(const QString& FileName);
    template <typename TReader>
    void LoadWithReader(std::unique_ptr<TReader>& Reader, const QString& FileName);

    // Each holds its object only during a load.
    std::unique_ptr<vcl::TPicture> FPicture;
    std::unique_ptr<Gifmap::TGifmap> FGifmap;
    std::unique_ptr<Tifmap::TTifmap> FTifmap;
    std::unique_ptr<Cdrmap::TCdrMap> FCdrMap;
    std::unique_ptr<Pcxmap::TPcxmap> FPcxmap;
    QString FLastError;
};

} // namespace Allmap
