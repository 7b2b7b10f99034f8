#pragma once
// TGifmap: a bitmap that reads the first image of a GIF file and becomes an 8-bit
// palettised bitmap.
#include "imaging/assembledbitmap.h"
#include "imaging/bytereader.h"
#include "vcl/core/sysutils.h"
#include "vcl/graphics/bitmap.h"

#include <array>
#include <cstdint>
#include <memory>

namespace Gifmap {

inline constexpr uint8_t ImageBlock = 0x2C;
inline constexpr uint8_t ExtensionBlock = 0x21;
inline constexpr uint8_t ExtensionIntroducer = 0x21;
inline constexpr uint8_t Trailer = 0x3B;
inline constexpr uint8_t BlockTerminator = 0x00;

// Entry n is 2^n - 1.
inline constexpr std::array<uint16_t, 13> CodeMask = {
    0x0000, 0x0001, 0x0003, 0x0007, 0x000F, 0x001F, 0x003F,
    0x007F, 0x00FF, 0x01FF, 0x03FF, 0x07FF, 0x0FFF};

// The failure messages; the text of code n is ErrName[n - 1].
inline constexpr std::array<const char*, 10> ErrName = {
    "GIF file not found", "Not a GIF file", "Missing color table", "Bad data", "No data",
    "Unexpected EOF", "Bad code size", "Bad code", "Bad bit size", "Bad bitmap"};

class EGifException : public vcl::Exception {
public:
    using vcl::Exception::Exception;
};

class TGifmap : public vcl::TBitmap {
public:
    TGifmap();
    ~TGifmap() override;

    // Loads the first image of the GIF data in Stream, which must be at its start. A
    // failure is not reported to the caller: the bitmap then keeps what it held, and
    // LastError tells what went wrong.
    void LoadFromStream(vcl::TStream& Stream) override;

    // The message of the failure that ended the last load; empty after a good load.
    const QString& LastError() const { return FLastError; }

    // Decodes the GIF data in Stream into the assembled bitmap stream (an in-memory BMP
    // file); raises EGifException on bad data. LoadFromStream is this followed by the
    // bitmap's own BMP load.
    std::unique_ptr<vcl::TMemoryStream> AssembleBitmapStream(vcl::TStream& Stream);

    [[noreturn]] static void Error(int Code);

private:
    static constexpr int ColorTableSize = 256;
    static constexpr int MaxWidth = 2048;
    static constexpr int LineBufferSize = MaxWidth + 1;
    static constexpr int TableSize = 4096;
    static constexpr int MaxCodeSize = 12;
    static constexpr int LastInterlacePass = 4;

    void ParseMem();
    void SkipExtensionBlock();
    void SkipDataSubBlocks();
    void ReadColorTable(uint8_t Flags, std::array<Imaging::TRgbTriple, ColorTableSize>& Table);
    void InitCompressionStream();
    void ResetCodeTable();
    void ReadSubBlock();
    uint16_t NextCode();
    uint8_t NextByte();
    void ReadExact(void* Buffer, int Count);
    void Decode();
    void CreateBitHeader();
    void CreateLine();
    void SaveGifToStream(vcl::TMemoryStream& Stream);

    std::unique_ptr<vcl::TMemoryStream> FWorkingStream;
    Imaging::TByteReader FInput;
    QString FLastError;

    char FHeader[6] = {};
    struct {
        uint16_t Width = 0;
        uint16_t Height = 0;
        uint8_t Flags = 0;
        uint8_t Background = 0;
        uint8_t AspectRatio = 0;
    } FScreenDescriptor;
    std::array<Imaging::TRgbTriple, ColorTableSize> FGlobalColorTable{};
    std::array<Imaging::TRgbTriple, ColorTableSize> FLocalColorTable{};
    struct {
        uint16_t Left = 0;
        uint16_t Top = 0;
        uint16_t Width = 0;
        uint16_t Height = 0;
        uint8_t Flags = 0;
    } FImageDescriptor;
    // Extension records: read and kept, but they do not change the bitmap.
    uint8_t FGraphicControl[6] = {};
    uint8_t FPlainText[13] = {};
    uint8_t FApplication[12] = {};
    bool FUseLocalTable = false;
    bool FInterlaced = false;
    uint8_t FCodeSizeMin = 0;
    uint8_t FSubBlockLength = 0;
    uint8_t FSubBlock[255] = {};
    uint16_t FColorCount = 0;

    // Bit reader and code table state.
    int FBitsLeft = 0;
    int FBytesLeft = 0;
    int FCodeSize = 0;
    int FClearCode = 0;
    int FEndCode = 0;
    uint16_t FNextFree = 0;
    uint16_t FCodeLimit = 0;
    uint16_t FHighestRoot = 0;
    int FReadPosition = 0;
    uint8_t FCurrentByte = 0;

    std::array<uint8_t, TableSize> FStack{};
    std::array<uint32_t, TableSize> FPrefix{};
    std::array<uint32_t, TableSize> FSuffix{};
    std::array<uint8_t, LineBufferSize> FLine{};
    int FCurrentRow = 0;
    uint8_t FPass = 0;
    Imaging::TBitmapInfoHeader FBitmapInfoHeader;
    Imaging::TRowList FRows;
};

} // namespace Gifmap
