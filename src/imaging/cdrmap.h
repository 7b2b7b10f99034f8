#pragma once
// TCdrMap: a bitmap that reads the preview bitmap stored near the start of a CorelDRAW
// drawing file, without interpreting the drawing itself.
#include "imaging/assembledbitmap.h"
#include "vcl/core/sysutils.h"
#include "vcl/graphics/bitmap.h"

#include <array>
#include <cstdint>
#include <memory>

namespace Cdrmap {

// The failure messages; the text of code n is ErrName[n - 1].
inline constexpr std::array<const char*, 3> ErrName = {"Not a CDR file", "File Too big", "Unexpected EOF"};

class ECdrException : public vcl::Exception {
public:
    using vcl::Exception::Exception;
};

class TCdrMap : public vcl::TBitmap {
public:
    TCdrMap();
    ~TCdrMap() override;

    // Loads the preview of the drawing in Stream. A failure is not reported to the caller:
    // the bitmap then keeps what it held, and LastError tells what went wrong.
    void LoadFromStream(vcl::TStream& Stream) override;

    // The message of the failure that ended the last load; empty after a good load.
    const QString& LastError() const { return FLastError; }

    // Reads the preview in Stream into the assembled bitmap stream; raises ECdrException
    // on bad data.
    std::unique_ptr<vcl::TMemoryStream> AssembleBitmapStream(vcl::TStream& Stream);

    [[noreturn]] static void Error(int Code);

    // Where the preview's headers sit in the file, and how much palette and pixel data
    // the preview may hold.
    static constexpr int PreviewOffset = 20;
    static constexpr int PreviewBufferSize = 20004;

private:
    void ReadCdr();
    void SaveCdrToStream(vcl::TMemoryStream& Stream);

    vcl::TStream* FSource = nullptr;
    QString FLastError;
    std::array<uint8_t, PreviewBufferSize> FData{};
    uint32_t FDataCount = 0;
    uint32_t FFileSize = 0;
    uint32_t FPixelOffset = 0;
    Imaging::TBitmapInfoHeader FInfoHeader;
};

} // namespace Cdrmap
