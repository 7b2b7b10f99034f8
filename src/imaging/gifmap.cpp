#include "imaging/gifmap.h"

#include "imaging/lzwcodes.h"
#include "vcl/core/unitstartup.h"

#include <QScopeGuard>
#include <algorithm>
#include <cstring>
#include <memory>

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

// Joins the sub-blocks up to the terminator. Where they end early (a missing or short
// sub-block, or the terminator itself) is remembered rather than reported: it is a
// failure only if the codes run on past it, as they do in bad data.
void TGifmap::GatherSubBlocks()
{
    FCodes.clear();
    FCodes.reserve(size_t(FInput.Remaining()));
    for (;;) {
        uint8_t length = 0;
        if (!FInput.ReadByte(length) || FInput.Remaining() < length) {
            FCodesEndError = errUnexpectedEOF;
            break;
        }
        if (length == 0) {
            FCodesEndError = errNoData;
            break;
        }
        FCodes.insert(FCodes.end(), FInput.Current(), FInput.Current() + length);
        FInput.Skip(length);
    }
    FCodeBytes = int64_t(FCodes.size());
}

void TGifmap::Decode()
{
    FCodeSizeMin = NextByte();
    if (FCodeSizeMin < 2 || FCodeSizeMin > 9)
        Error(errBadCodeSize);
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
    GatherSubBlocks();
    // The lines are decoded one after another into one buffer, in the order the file
    // holds them, and then put in their rows.
    const int64_t total = int64_t(width) * height;
    const std::unique_ptr<uint8_t[]> pixels(new uint8_t[size_t(total) + Imaging::TLzwStrings::OutputSlack]);
    PlaceLines(pixels.get(), int(DecodeLines(pixels.get(), total) / width));
}

// Decodes into Pixels until Total bytes are there or the end code comes, and returns
// the bytes decoded. Once every line is filled the rest of the data is not read.
// The decoder's state lives in locals, which the compiler keeps in registers across
// the stores into Pixels; the common case, a string code, comes first.
int64_t TGifmap::DecodeLines(uint8_t* Pixels, int64_t Total)
{
    const int clearCode = 1 << FCodeSizeMin, endCode = clearCode + 1;
    Imaging::TLzwCodes<false> codes(FCodes.data(), FCodeBytes);
    const auto countCodes = qScopeGuard([&] { FCodesDecoded += codes.CodesRead(); });
    int codeSize = 0, codeLimit = 0, nextFree = 0;
    const auto next = [&] {
        const int code = codes.Next(codeSize);
        if (codes.Overrun())
            Error(FCodesEndError);
        return code;
    };
    const auto resetTable = [&] {
        codeSize = FCodeSizeMin + 1;
        codeLimit = 1 << codeSize;
        nextFree = endCode + 1;
        FStrings.Reset(nextFree);
    };
    // A stream need not start with a clear code, so the table starts out cleared.
    resetTable();
    bool tableStart = true, tableFull = false;
    Imaging::TLzwStrings::TString previous;
    const uint8_t* previousAt = Pixels;
    uint8_t* out = Pixels;
    uint8_t* const end = Pixels + Total;
    int code = next();
    while (code != endCode) {
        if (code == clearCode || tableStart) [[unlikely]] {
            // The first code of a table (after clear codes, or at the start of the data)
            // is a root and adds no string.
            if (code == clearCode) {
                resetTable();
                do
                    code = next();
                while (code == clearCode);
                if (code == endCode)
                    Error(errBadCode);
            }
            code = code >= nextFree ? 0 : code;
            tableStart = false;
        } else {
            // A code one past the table is the string the encoder had just made: the
            // previous one and its own first byte, which is what the table learns here.
            if (code > nextFree)
                Error(errBadCode);
            if (nextFree < Imaging::TLzwStrings::TableSize)
                FStrings.Learn(nextFree++, previous, previousAt, code);
            // The codes widen as the table fills.
            if (nextFree >= codeLimit) [[unlikely]] {
                if (codeSize < MaxCodeSize) {
                    codeLimit *= 2;
                    ++codeSize;
                } else {
                    tableFull = true;
                }
            }
        }
        previousAt = out;
        previous = FStrings.Write(code, out);
        out += previous.Length;
        if (out >= end)
            return Total;
        code = next();
        if (tableFull && code != clearCode)
            Error(errBadBitSize);
        tableFull = false;
    }
    // A line the data ended inside stays empty, like the lines never reached.
    return out - Pixels;
}

// Puts the first Lines decoded lines in their rows: in order, or for an interlaced image
// in four passes that start at rows 0, 4, 2 and 1 and advance by 8, 8, 4 and 2 rows.
void TGifmap::PlaceLines(const uint8_t* Pixels, int Lines)
{
    static constexpr int PassStart[] = {0, 4, 2, 1};
    static constexpr int PassStep[] = {8, 8, 4, 2};
    const int width = FImageDescriptor.Width, height = FImageDescriptor.Height;
    const int passes = FInterlaced ? 4 : 1;
    int line = 0;
    for (int pass = 0; pass < passes; ++pass) {
        const int start = FInterlaced ? PassStart[pass] : 0, step = FInterlaced ? PassStep[pass] : 1;
        for (int row = start; row < height && line < Lines; row += step, ++line)
            FRows.Add(row, Pixels + int64_t(line) * width);
    }
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
