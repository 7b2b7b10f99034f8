#include "imaging/gifmap.h"

#include "vcl/core/unitstartup.h"

#include <QScopeGuard>
#include <QtEndian>

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
constexpr uint8_t FlagColorTable = 0x80;
constexpr uint8_t FlagInterlaced = 0x40;
constexpr uint8_t FlagTableSize = 0x07;

int ColorTableEntries(uint8_t Flags)
{
    return 2 << (Flags & FlagTableSize);
}

} // namespace

TGifmap::TGifmap() = default;

TGifmap::~TGifmap() = default;

void TGifmap::Error(int Code)
{
    throw EGifException(QString::fromLatin1(ErrName[Code - 1]));
}

void TGifmap::LoadFromStream(vcl::TStream& Stream)
{
    FLastError = Imaging::CatchLoadFailure([&] {
        const auto bitmap = AssembleBitmapStream(Stream);
        vcl::TBitmap::LoadFromStream(*bitmap);
    });
}

std::unique_ptr<vcl::TMemoryStream> TGifmap::AssembleBitmapStream(vcl::TStream& Stream)
{
    const auto release = qScopeGuard([this] {
        FInput = {};
        FWorkingStream.reset();
        FRows.Clear();
    });
    FWorkingStream = std::make_unique<vcl::TMemoryStream>(Stream.ReadBytes(Stream.Size()));
    FInput = Imaging::TByteReader(FWorkingStream->Bytes());
    ParseMem();
    CreateBitHeader();
    Decode();
    FInput = {};
    SaveGifToStream(*FWorkingStream);
    return std::move(FWorkingStream);
}

uint8_t TGifmap::NextByte()
{
    uint8_t value;
    if (!FInput.ReadByte(value))
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
    ReadExact(FHeader, sizeof FHeader);
    if (FHeader[0] != 'G' || FHeader[1] != 'I' || FHeader[2] != 'F')
        Error(errNotGif);

    uint8_t screen[7];
    ReadExact(screen, sizeof screen);
    FScreenDescriptor = {qFromLittleEndian<uint16_t>(screen), qFromLittleEndian<uint16_t>(screen + 2),
                         screen[4], screen[5], screen[6]};
    if (!(FScreenDescriptor.Flags & FlagColorTable))
        Error(errMissingColorTable);
    ReadColorTable(FScreenDescriptor.Flags, FGlobalColorTable);

    // Blocks before the first image: extensions are skipped, any other byte passed over.
    for (uint8_t block = NextByte(); block != ImageBlock; block = NextByte()) {
        if (block == ExtensionBlock)
            SkipExtensionBlock();
    }

    uint8_t image[9];
    ReadExact(image, sizeof image);
    FImageDescriptor = {qFromLittleEndian<uint16_t>(image), qFromLittleEndian<uint16_t>(image + 2),
                        qFromLittleEndian<uint16_t>(image + 4), qFromLittleEndian<uint16_t>(image + 6),
                        image[8]};
    FUseLocalTable = FImageDescriptor.Flags & FlagColorTable;
    if (FUseLocalTable)
        ReadColorTable(FImageDescriptor.Flags, FLocalColorTable);
    FInterlaced = FImageDescriptor.Flags & FlagInterlaced;
    FPass = 0;
    FRows.Reset(FImageDescriptor.Height, FImageDescriptor.Width);
}

void TGifmap::SkipExtensionBlock()
{
    uint8_t label = 0;
    FInput.ReadByte(label);
    switch (label) {
    case LabelPlainText:
        if (FInput.Read(FPlainText, sizeof FPlainText) == sizeof FPlainText)
            SkipDataSubBlocks();
        break;
    case LabelGraphicControl:
        // The record ends with its own block terminator.
        FInput.Read(FGraphicControl, sizeof FGraphicControl);
        break;
    case LabelApplication:
        if (FInput.Read(FApplication, sizeof FApplication) == sizeof FApplication)
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
    FBitsLeft = 0;
    FBytesLeft = 0;
    FCurrentRow = 0;
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
    FReadPosition = 1;
    FBytesLeft = FSubBlockLength;
}

// Inline: the library is built as position-independent code, where only inline
// functions are inlined into their callers.
inline uint16_t TGifmap::NextCode()
{
    const auto takeByte = [this] {
        if (FBytesLeft <= 0)
            ReadSubBlock();
        FCurrentByte = FSubBlock[FReadPosition - 1];
        ++FReadPosition;
        --FBytesLeft;
    };
    if (FBitsLeft == 0) {
        takeByte();
        FBitsLeft = 8;
    }
    uint16_t code = static_cast<uint16_t>(FCurrentByte >> (8 - FBitsLeft));
    while (FCodeSize > FBitsLeft) {
        takeByte();
        code = static_cast<uint16_t>(code | (FCurrentByte << FBitsLeft));
        FBitsLeft += 8;
    }
    FBitsLeft -= FCodeSize;
    return code & CodeMask[FCodeSize];
}

void TGifmap::Decode()
{
    InitCompressionStream();
    const int width = FImageDescriptor.Width;
    if (width > MaxWidth)
        Error(errBadBitSize);
    // The line logic needs at least one pixel a row; an empty image has no bitmap form.
    if (width == 0 || FImageDescriptor.Height == 0)
        Error(errBadBitmap);

    int depth = 0;
    const auto pushString = [&](int code) {
        // Prefix links always point to lower codes, so the walk ends at a root and the
        // string (at most TableSize bytes) fits the stack.
        while (code > FHighestRoot) {
            FStack[depth++] = static_cast<uint8_t>(FSuffix[code]);
            code = static_cast<int>(FPrefix[code]);
        }
        FStack[depth++] = static_cast<uint8_t>(code);
        return code;
    };
    bool tableFull = false;
    int previous = 0;
    const auto addString = [&](int first) {
        if (FNextFree <= FCodeLimit && FNextFree < TableSize) {
            FSuffix[FNextFree] = static_cast<uint32_t>(first);
            FPrefix[FNextFree] = static_cast<uint32_t>(previous);
            ++FNextFree;
        }
        if (FNextFree >= FCodeLimit) {
            if (FCodeSize < MaxCodeSize) {
                FCodeLimit = static_cast<uint16_t>(FCodeLimit * 2);
                ++FCodeSize;
            } else {
                tableFull = true;
            }
        }
    };

    int pixelsLeft = width;
    int column = 0;
    bool tableStart = true;
    int code = NextCode();
    while (code != FEndCode) {
        if (code == FClearCode || tableStart) {
            // The first code of a table (after clear codes, or at the start of the data)
            // is a root and adds no string.
            if (code == FClearCode) {
                ResetCodeTable();
                do
                    code = NextCode();
                while (code == FClearCode);
                if (code == FEndCode)
                    Error(errBadCode);
            }
            tableStart = false;
            if (code >= FNextFree)
                code = 0;
            previous = code;
            FStack[depth++] = static_cast<uint8_t>(code);
        } else if (code < FNextFree) {
            addString(pushString(code));
            previous = code;
        } else if (code == FNextFree) {
            int first = previous;
            while (first > FHighestRoot)
                first = static_cast<int>(FPrefix[first]);
            addString(first);
            pushString(code);
            previous = code;
        } else {
            Error(errBadCode);
        }

        while (depth > 0) {
            FLine[column++] = FStack[--depth];
            if (--pixelsLeft == 0) {
                CreateLine();
                pixelsLeft = width;
                column = 0;
            }
        }

        code = NextCode();
        if (tableFull && code != FClearCode)
            Error(errBadBitSize);
        tableFull = false;
    }
}

void TGifmap::CreateLine()
{
    FRows.Add(FCurrentRow, FLine.data());
    ++FCurrentRow;
    if (!FInterlaced)
        return;
    // Passes advance by 8, 8, 4 and 2 rows and start at rows 0, 4, 2 and 1.
    static constexpr int PassStep[] = {8, 8, 4, 2};
    static constexpr int PassStart[] = {0, 4, 2, 1};
    if (FPass < LastInterlacePass)
        FCurrentRow += PassStep[FPass] - 1;
    // A pass whose start row lies below a short image has no rows: go on to the next,
    // so that the second line of a 2-row image is row 1 and not a row that never shows.
    while (FCurrentRow >= FImageDescriptor.Height && FPass < LastInterlacePass) {
        ++FPass;
        if (FPass < LastInterlacePass)
            FCurrentRow = PassStart[FPass];
    }
}

void TGifmap::CreateBitHeader()
{
    FBitmapInfoHeader = Imaging::CreateBitHeader(FImageDescriptor.Width, FImageDescriptor.Height, 8);
}

void TGifmap::SaveGifToStream(vcl::TMemoryStream& Stream)
{
    const auto& table = FUseLocalTable ? FLocalColorTable : FGlobalColorTable;
    std::array<Imaging::TRgbTriple, ColorTableSize> palette{};
    std::copy_n(table.begin(), FColorCount, palette.begin());
    Imaging::SaveBitmapStream(Stream, FBitmapInfoHeader, palette, FRows);
    FRows.Clear();
}

} // namespace Gifmap
