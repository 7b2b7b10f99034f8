#include "imaging/gifmap.h"

#include "vcl/core/unitstartup.h"

#include <algorithm>
#include <cstring>

namespace Gifmap {

// The unit needs nothing set up or torn down.
static const vcl::TUnitRegistration UnitRegistration(QStringLiteral("Gifmap"), {});

namespace {

enum : int {
    errNotGif = 2,
    errMissingColorTable = 3,
    errNoData = 5,
    errUnexpectedEOF = 6,
    errBadCodeSize = 7,
    errBadCode = 8,
    errBadBitSize = 9,
    errBadBitmap = 10,
};

constexpr uint8_t LabelPlainText = 0x01;
constexpr uint8_t LabelGraphicControl = 0xF9;
constexpr uint8_t LabelApplication = 0xFF;
constexpr int PlainTextSize = 13;
constexpr int GraphicControlSize = 6;
constexpr int ApplicationSize = 12;
constexpr uint8_t FlagColorTable = 0x80;
constexpr uint8_t FlagInterlaced = 0x40;
constexpr uint8_t FlagTableSize = 0x07;

int ColorTableEntries(uint8_t Flags)
{
    return 2 << (Flags & FlagTableSize);
}

} // namespace

TGifmap::TGifmap() : TReaderOf(TFailures::Kept, errBadBitSize) {}

TGifmap::~TGifmap() = default;

void TGifmap::Parse()
{
    FCodesDecoded = 0;
    ParseMem();
    Decode();
}

uint8_t TGifmap::NextByte()
{
    uint8_t value;
    if (!FInput.ReadByte(value))
        Error(errUnexpectedEOF);
    return value;
}

uint16_t TGifmap::NextWord()
{
    uint16_t value;
    if (!FInput.ReadLE(value))
        Error(errUnexpectedEOF);
    return value;
}

void TGifmap::ReadExact(void* Buffer, int Count)
{
    if (FInput.Read(Buffer, Count) != Count)
        Error(errUnexpectedEOF);
}

void TGifmap::ReadColorTable(uint8_t Flags, std::array<Imaging::TRgbTriple, ColorTableSize>& Table)
{
    FColorCount = static_cast<uint16_t>(ColorTableEntries(Flags));
    // A table that runs past the end of the file is refused rather than half read.
    uint8_t bytes[3 * ColorTableSize];
    ReadExact(bytes, 3 * FColorCount);
    for (int i = 0; i < FColorCount; ++i)
        Table[i] = {bytes[3 * i], bytes[3 * i + 1], bytes[3 * i + 2]};
}

void TGifmap::ParseMem()
{
    // The version after the signature is not examined.
    char header[6];
    ReadExact(header, sizeof header);
    if (header[0] != 'G' || header[1] != 'I' || header[2] != 'F')
        Error(errNotGif);

    // Of the logical screen only the colour table flags matter: its size, background
    // colour and aspect ratio do not change the bitmap.
    FInput.Skip(4);
    const uint8_t screenFlags = NextByte();
    FInput.Skip(2);
    if (!(screenFlags & FlagColorTable))
        Error(errMissingColorTable);
    ReadColorTable(screenFlags, FGlobalColorTable);

    // Blocks before the first image: extensions are skipped, any other byte passed over.
    for (uint8_t block = NextByte(); block != ImageBlock; block = NextByte()) {
        if (block == ExtensionBlock)
            SkipExtensionBlock();
    }

    // The image's place on the screen does not change the bitmap.
    FInput.Skip(4);
    FImageDescriptor.Width = NextWord();
    FImageDescriptor.Height = NextWord();
    FImageDescriptor.Flags = NextByte();
    FUseLocalTable = FImageDescriptor.Flags & FlagColorTable;
    if (FUseLocalTable)
        ReadColorTable(FImageDescriptor.Flags, FLocalColorTable);
    FPalette.fill({});
    const auto& table = FUseLocalTable ? FLocalColorTable : FGlobalColorTable;
    std::copy_n(table.begin(), FColorCount, FPalette.begin());
    FInterlaced = FImageDescriptor.Flags & FlagInterlaced;
    FPass = 0;
}

void TGifmap::SkipExtensionBlock()
{
    // The records do not change the bitmap (transparency, delays, text and application
    // data are ignored), so they are passed over. Past the end of the data the
    // sub-block skip finds nothing and stops.
    uint8_t label = 0;
    FInput.ReadByte(label);
    switch (label) {
    case LabelPlainText:
        FInput.Skip(PlainTextSize);
        SkipDataSubBlocks();
        break;
    case LabelGraphicControl:
        // The record ends with its own block terminator.
        FInput.Skip(GraphicControlSize);
        break;
    case LabelApplication:
        FInput.Skip(ApplicationSize);
        SkipDataSubBlocks();
        break;
    default:
        SkipDataSubBlocks();
        break;
    }
}

void TGifmap::SkipDataSubBlocks()
{
    // The end of the data leaves the length at 0, which ends the skip.
    uint8_t length;
    do {
        length = 0;
        if (FInput.ReadByte(length))
            FInput.Skip(length);
    } while (length != 0);
}

void TGifmap::InitCompressionStream()
{
    FCodeSizeMin = NextByte();
    if (FCodeSizeMin < 2 || FCodeSizeMin > 9)
        Error(errBadCodeSize);
    FClearCode = 1 << FCodeSizeMin;
    FEndCode = FClearCode + 1;
    FHighestRoot = static_cast<uint16_t>(FClearCode - 1);
    for (int root = 0; root <= FHighestRoot; ++root) {
        FFirst[root] = FSuffix[root] = static_cast<uint8_t>(root);
        FLength[root] = 1;
        FPlaces[root] = nullptr;
    }
    FPlace = nullptr;
    FBitBuffer = 0;
    FBitCount = 0;
    FBytesLeft = 0;
    FCurrentRow = 0;
    FLinesDone = 0;
    FTableFull = false;
    // A stream need not start with a clear code, so the table starts out cleared.
    ResetCodeTable();
}

void TGifmap::ResetCodeTable()
{
    FCodeSize = FCodeSizeMin + 1;
    FNextFree = static_cast<uint16_t>(FEndCode + 1);
    FCodeLimit = static_cast<uint16_t>(1 << FCodeSize);
}

void TGifmap::ReadSubBlock()
{
    FSubBlockLength = NextByte();
    if (FSubBlockLength == 0)
        Error(errNoData);
    ReadExact(FSubBlock, FSubBlockLength);
    FReadPosition = 0;
    FBytesLeft = FSubBlockLength;
}

// Inline: the library is built as position-independent code, where only inline
// functions are inlined into their callers.
inline uint16_t TGifmap::NextCode()
{
    // Codes are packed least significant bit first; bytes are taken only as a code
    // needs them.
    while (FBitCount < FCodeSize) {
        if (FBytesLeft <= 0)
            ReadSubBlock();
        FBitBuffer |= uint32_t(FSubBlock[FReadPosition++]) << FBitCount;
        --FBytesLeft;
        FBitCount += 8;
    }
    const auto code = static_cast<uint16_t>(FBitBuffer & ((1u << FCodeSize) - 1));
    FBitBuffer >>= FCodeSize;
    FBitCount -= FCodeSize;
    ++FCodesDecoded;
    return code;
}

void TGifmap::Decode()
{
    InitCompressionStream();
    const int width = FImageDescriptor.Width;
    if (width > MaxWidth)
        Error(errBadBitSize);
    // The line logic needs at least one pixel a row; an empty image has no bitmap form.
    const int height = FImageDescriptor.Height;
    if (width == 0 || height == 0)
        Error(errBadBitmap);
    // Rows that the rest of the data could never fill are refused before room is made
    // for them.
    if (int64_t(width) * height > Imaging::MaxLzwOutput(FInput.Remaining(), FCodeSizeMin + 1))
        Error(errUnexpectedEOF);
    ReserveRows(width, height, width, ColorTableSize);
    FRow = FRows.Row(0);
    FColumn = 0;

    bool tableStart = true;
    int code = NextCode();
    while (code != FEndCode) {
        if (code == FClearCode || tableStart) {
            code = StartTable(code);
            tableStart = false;
        } else if (code < FNextFree) {
            AddString(FFirst[code]);
        } else if (code == FNextFree) {
            // The string the encoder had just made: the previous one and its own first byte.
            AddString(FFirst[FPrevious]);
        } else {
            Error(errBadCode);
        }
        FPrevious = static_cast<uint16_t>(code);
        // Once every row is filled the rest of the data is not read.
        if (WriteString(code))
            return;
        code = NextCode();
        if (FTableFull && code != FClearCode)
            Error(errBadBitSize);
        FTableFull = false;
    }
    // A row the data ended inside stays empty, like the rows never reached.
    std::memset(FRow, 0, size_t(width));
}

// The first code of a table (after clear codes, or at the start of the data) is a root
// and adds no string.
int TGifmap::StartTable(int Code)
{
    if (Code == FClearCode) {
        ResetCodeTable();
        do
            Code = NextCode();
        while (Code == FClearCode);
        if (Code == FEndCode)
            Error(errBadCode);
    }
    return Code >= FNextFree ? 0 : Code;
}

void TGifmap::AddString(uint8_t First)
{
    if (FNextFree <= FCodeLimit && FNextFree < TableSize) {
        FPlaces[FNextFree] = FPlace;
        FPrefix[FNextFree] = FPrevious;
        FSuffix[FNextFree] = First;
        FFirst[FNextFree] = FFirst[FPrevious];
        FLength[FNextFree] = static_cast<uint16_t>(FLength[FPrevious] + 1);
        ++FNextFree;
    }
    if (FNextFree >= FCodeLimit) {
        if (FCodeSize < MaxCodeSize) {
            FCodeLimit = static_cast<uint16_t>(FCodeLimit * 2);
            ++FCodeSize;
        } else {
            FTableFull = true;
        }
    }
}

// Spells the string of Code at Start. A string whose prefix was written whole in a row
// is copied from there, then its last byte added. Others are spelled from their end by
// following the table's links; prefix links always point to lower codes, so the walk
// ends at a root.
inline void TGifmap::SpellString(int Code, uint8_t* Start) const
{
    const int length = FLength[Code];
    if (const uint8_t* prefix = FPlaces[Code]) {
        std::memcpy(Start, prefix, size_t(length - 1));
        Start[length - 1] = FSuffix[Code];
        return;
    }
    uint8_t* end = Start + length;
    while (Code > FHighestRoot) {
        *--end = FSuffix[Code];
        Code = FPrefix[Code];
    }
    *--end = static_cast<uint8_t>(Code);
}

// Writes the string of Code at the current column, straight into the row when it fits
// and across rows otherwise; true once every row is filled.
inline bool TGifmap::WriteString(int Code)
{
    const int length = FLength[Code];
    const int width = FImageDescriptor.Width;
    if (FColumn + length < width) {
        uint8_t* const start = FRow + FColumn;
        SpellString(Code, start);
        FPlace = start;
        FColumn += length;
        return false;
    }
    FPlace = nullptr;
    SpellString(Code, FStack.data());
    for (const uint8_t* bytes = FStack.data(); bytes < FStack.data() + length;) {
        const int n = std::min<int>(width - FColumn, int(FStack.data() + length - bytes));
        std::memcpy(FRow + FColumn, bytes, size_t(n));
        bytes += n;
        FColumn += n;
        if (FColumn == width && NextLine())
            return true;
    }
    return false;
}

// Moves on to the next row; true once every row is filled.
bool TGifmap::NextLine()
{
    ++FLinesDone;
    FColumn = 0;
    ++FCurrentRow;
    if (FInterlaced) {
        // Passes advance by 8, 8, 4 and 2 rows and start at rows 0, 4, 2 and 1.
        static constexpr int PassStep[] = {8, 8, 4, 2};
        static constexpr int PassStart[] = {0, 4, 2, 1};
        if (FPass < LastInterlacePass)
            FCurrentRow += PassStep[FPass] - 1;
        // A pass whose start row lies below a short image has no rows: go on to the
        // next, so that the second line of a 2-row image is row 1.
        while (FCurrentRow >= FImageDescriptor.Height && FPass < LastInterlacePass) {
            ++FPass;
            if (FPass < LastInterlacePass)
                FCurrentRow = PassStart[FPass];
        }
    }
    FRow = FRows.Row(FCurrentRow);
    return FLinesDone == FImageDescriptor.Height || !FRow;
}

Imaging::TBitmapInfoHeader TGifmap::BitmapHeader() const
{
    return Imaging::CreateBitHeader(FImageDescriptor.Width, FImageDescriptor.Height, 8);
}

std::span<const Imaging::TRgbTriple> TGifmap::BitmapPalette() const
{
    return FPalette;
}

} // namespace Gifmap
