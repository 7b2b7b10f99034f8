#include "imaging/tifmap.h"

#include "imaging/lzwcodes.h"
#include "vcl/core/unitstartup.h"

#include <algorithm>
#include <cstring>

namespace Tifmap {

// The unit needs nothing set up or torn down.
static const vcl::TUnitRegistration UnitRegistration(QStringLiteral("Tifmap"), {});

namespace {

enum : int {
    errNotTif = 2,
    errTooBig = 3,
    errBadData = 4,
    errUnsupported = 5,
    errUnexpectedEOF = 6,
    errBadCode = 8,
};

constexpr uint16_t LittleEndian = 0x4949;
constexpr uint16_t BigEndian = 0x4D4D;

enum : uint16_t {
    tagImageWidth = 256,
    tagImageLength = 257,
    tagBitsPerSample = 258,
    tagCompression = 259,
    tagPhotometric = 262,
    tagStripOffsets = 273,
    tagSamplesPerPixel = 277,
    tagRowsPerStrip = 278,
    tagStripByteCounts = 279,
    tagPlanarConfiguration = 284,
    tagPredictor = 317,
    tagColorMap = 320,
};

enum : uint16_t { typeShort = 3, typeLong = 4 };

enum : uint16_t { compNone = 1, compLZW = 5, compPackBits = 32773 };

constexpr uint16_t PhotometricWhiteIsZero = 0;
constexpr uint16_t PhotometricPalette = 3;
constexpr uint16_t PredictorNone = 1;
constexpr uint16_t PredictorHorizontal = 2;
constexpr uint16_t PlanarSeparate = 2;

// Bytes of one value of a field type; 0 for types this reader does not know.
int TypeSize(uint16_t Type)
{
    static constexpr int sizes[] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8};
    return Type < std::size(sizes) ? sizes[Type] : 0;
}

} // namespace

TTifmap::TTifmap() : TReaderOf(TFailures::Raised, errTooBig) {}

TTifmap::~TTifmap() = default;

void TTifmap::Parse()
{
    FFile = FInput;
    FCodesDecoded = 0;
    ReadTiff();
    FFile = {};
}

uint16_t TTifmap::GetWord()
{
    uint16_t value;
    if (!FInput.ReadOrdered(value, FByteOrder == LittleEndian))
        Error(errUnexpectedEOF);
    return value;
}

uint32_t TTifmap::GetLong()
{
    uint32_t value;
    if (!FInput.ReadOrdered(value, FByteOrder == LittleEndian))
        Error(errUnexpectedEOF);
    return value;
}

void TTifmap::SetDefaults()
{
    FWidth = 0;
    FHeight = 0;
    FBitCount = 0;
    FPlanarConfiguration = 1;
    FSamplesPerPixel = 1;
    FCompression = compNone;
    FStripOffsets = {};
    FStripByteCounts = {};
    FPhotometric = 0;
    FColorMapPresent = false;
    FBitsPerSample = 1;
    FPredictor = PredictorNone;
    // Without the tag all rows are in one strip, as the format defines it.
    FRowsPerStrip = UINT32_MAX;
    FPalette.fill({});
}

void TTifmap::ReadTiff()
{
    // The mark reads the same in either byte order.
    FByteOrder = 0;
    FInput.ReadBE(FByteOrder);
    if (FByteOrder != LittleEndian && FByteOrder != BigEndian)
        Error(errNotTif);
    GetWord(); // the version is not examined
    FInput.SetPosition(GetLong());

    SetDefaults();
    const uint16_t entries = GetWord();
    for (int i = 0; i < entries; ++i)
        DecodeTag();
    if (FWidth == 0 || FHeight == 0 || FStripOffsets.Value == 0)
        Error(errBadData);
    CheckDepth();
    ReadStrips();
}

void TTifmap::CheckDepth()
{
    FBitCount = FSamplesPerPixel * FBitsPerSample;
    // Only these depths have a bitmap form. Separate colour planes would be read as
    // interleaved pixels, and the horizontal predictor is undone on whole 8-bit samples.
    const bool supported = (FSamplesPerPixel == 1 && (FBitsPerSample == 1 || FBitsPerSample == 4 || FBitsPerSample == 8))
                           || (FSamplesPerPixel == 3 && FBitsPerSample == 8);
    if (!supported || (FSamplesPerPixel > 1 && FPlanarConfiguration == PlanarSeparate)
        || (FPredictor != PredictorNone && (FPredictor != PredictorHorizontal || FBitsPerSample != 8)))
        Error(errUnsupported);
    // Images without a colour map are grey from black to white (for 4 bits a choice: the
    // same ramp in 16 steps).
    if (!FColorMapPresent && (FBitCount == 8 || FBitCount == 4)) {
        const int step = FBitCount == 8 ? 1 : 17;
        for (int i = 0; i < (1 << FBitCount); ++i)
            FPalette[i] = {uint8_t(i * step), uint8_t(i * step), uint8_t(i * step)};
    }
}

void TTifmap::ReadStrips()
{
    const int64_t rowLength = (int64_t(FSamplesPerPixel) * FWidth * FBitsPerSample + 7) / 8;
    if (rowLength > MaxRowLength)
        Error(errTooBig);
    FRowLength = static_cast<int>(rowLength);
    const int rowBytes = Imaging::DepthRowBytes(FBitCount, FWidth);
    const int paletteEntries = static_cast<int>(BitmapPalette().size());
    if (!Imaging::FitsLoadBudget(FFile.Size(), FWidth, FHeight,
                                 Imaging::BitmapStreamSize(rowBytes, FHeight, paletteEntries)))
        Error(errTooBig);
    // Without the tag all rows are in one strip, as the format defines it.
    const uint32_t stripCount = std::max<uint32_t>(FStripOffsets.Count, 1);
    const int64_t rowsPerStrip = stripCount == 1 ? FHeight : std::min<int64_t>(FRowsPerStrip, FHeight);
    CheckImageFitsInput(rowsPerStrip);
    // For the bitmap itself, 24-bit rows go straight into its 32-bit pixels.
    if (DecodingForBitmap() && FBitCount == 24) {
        FPixels = QImage(FWidth, FHeight, QImage::Format_RGB32);
        if (FPixels.isNull())
            Error(errTooBig);
    } else {
        ReserveRows(FWidth, FHeight, rowBytes, paletteEntries);
    }
    for (uint32_t s = 0; s < stripCount && rowsPerStrip * s < FHeight; ++s) {
        FInput = StripData(s);
        ReadStrip(rowsPerStrip * s, rowsPerStrip);
    }
}

TTifmap::TStripField TTifmap::ReadStripField(uint16_t Type, uint32_t Count, uint32_t Value,
                                             int64_t ValuePosition) const
{
    const int size = Type == typeShort ? 2 : 4;
    const bool inEntry = int64_t(Count) * size <= 4;
    return {Count, Value, inEntry ? ValuePosition : int64_t(Value), size};
}

uint32_t TTifmap::StripValue(const TStripField& Field, uint32_t Index)
{
    FInput.SetPosition(Field.Values + int64_t(Field.ValueSize) * Index);
    return Field.ValueSize == 2 ? GetWord() : GetLong();
}

// A strip's bytes: from its offset, as many as its byte count says, or to the end of the
// file when the count is missing (or 0, as some writers leave it).
Imaging::TByteReader TTifmap::StripData(uint32_t Strip)
{
    FInput = FFile;
    const uint32_t offset = StripValue(FStripOffsets, Strip);
    const uint32_t count = Strip < FStripByteCounts.Count ? StripValue(FStripByteCounts, Strip) : 0;
    return FFile.Slice(offset, count > 0 ? count : FFile.Size());
}

// The most bytes Bytes bytes of strip data can decode to.
int64_t TTifmap::MaxStripOutput(int64_t Bytes) const
{
    constexpr int LzwMinCodeBits = 9;
    constexpr int PackBitsLongestRun = 128;
    switch (FCompression) {
    case compLZW: return Imaging::MaxLzwOutput(Bytes, LzwMinCodeBits);
    case compPackBits: return Bytes / 2 * PackBitsLongestRun;
    default: return Bytes;
    }
}

// Refuses, before anything is allocated for them, rows that the strips could never
// fill; strips that share their data each count it again, as each decodes it again.
void TTifmap::CheckImageFitsInput(int64_t RowsPerStrip)
{
    const uint32_t stripCount = std::max<uint32_t>(FStripOffsets.Count, 1);
    int64_t rows = 0;
    for (uint32_t s = 0; s < stripCount && rows < FHeight; ++s)
        rows += std::min(MaxStripOutput(StripData(s).Size()) / FRowLength, RowsPerStrip);
    if (rows < FHeight)
        Error(errUnexpectedEOF);
}

// Decodes the strip's rows, then puts them in their rows of the bitmap. Uncompressed
// rows are put there straight from the file.
void TTifmap::ReadStrip(int64_t FirstRow, int64_t RowCount)
{
    const int64_t rows = std::min<int64_t>(FirstRow + RowCount, FHeight) - FirstRow;
    const int64_t bytes = rows * FRowLength;
    switch (FCompression) {
    case compNone:
        if (FInput.Remaining() < bytes)
            Error(errUnexpectedEOF);
        PlaceRows(FInput.Current(), FirstRow, rows);
        break;
    case compPackBits: {
        uint8_t* pixels = StripBuffer(bytes);
        for (int64_t row = 0; row < rows; ++row)
            ReadPackLine(pixels + row * FRowLength, FRowLength);
        PlaceRows(pixels, FirstRow, rows);
        break;
    }
    case compLZW: {
        // A row the data ended inside stays empty (black), like the rows after it.
        uint8_t* pixels = StripBuffer(bytes);
        const int64_t decoded = DecodeLzwStrip(pixels, bytes) / FRowLength;
        PlaceRows(pixels, FirstRow, decoded);
        for (int64_t row = FirstRow + decoded; row < FirstRow + rows && !FPixels.isNull(); ++row)
            std::fill_n(reinterpret_cast<uint32_t*>(FPixels.scanLine(int(row))), FWidth, 0xFF000000u);
        break;
    }
    default: Error(errUnsupported);
    }
}

uint8_t* TTifmap::StripBuffer(int64_t Bytes)
{
    const size_t size = size_t(Bytes) + Imaging::TLzwStrings::OutputSlack;
    if (FStripPixels.size() < size)
        FStripPixels.resize(size);
    return FStripPixels.data();
}

void TTifmap::DecodeTag()
{
    const uint16_t tag = GetWord();
    const uint16_t type = GetWord();
    const uint32_t count = GetLong();
    const int64_t valuePosition = FInput.Position();
    // The value field holds the value itself when it fits in its 4 bytes (a SHORT then
    // sits in the field's first 2 bytes), else the offset of the values.
    const bool atOffset = int64_t(count) * TypeSize(type) > 4;
    uint32_t value;
    if (type == typeLong || atOffset) {
        value = GetLong();
    } else {
        value = GetWord();
        GetWord();
    }

    switch (tag) {
    case tagImageWidth: FWidth = static_cast<int>(std::min<uint32_t>(value, INT32_MAX)); break;
    case tagImageLength: FHeight = static_cast<int>(std::min<uint32_t>(value, INT32_MAX)); break;
    case tagBitsPerSample:
        if (atOffset) {
            const int64_t back = FInput.Position();
            FInput.SetPosition(value);
            FBitsPerSample = GetWord();
            FInput.SetPosition(back);
        } else {
            FBitsPerSample = static_cast<uint16_t>(value);
        }
        break;
    case tagCompression: FCompression = static_cast<uint16_t>(value); break;
    case tagPhotometric: FPhotometric = static_cast<uint16_t>(value); break;
    case tagStripOffsets: FStripOffsets = ReadStripField(type, count, value, valuePosition); break;
    case tagSamplesPerPixel: FSamplesPerPixel = static_cast<uint16_t>(value); break;
    case tagRowsPerStrip: FRowsPerStrip = value; break;
    case tagStripByteCounts: FStripByteCounts = ReadStripField(type, count, value, valuePosition); break;
    case tagPlanarConfiguration: FPlanarConfiguration = static_cast<uint16_t>(value); break;
    case tagPredictor: FPredictor = static_cast<uint16_t>(value); break;
    case tagColorMap: ReadColorMap(value); break;
    default: break;
    }
}

void TTifmap::ReadColorMap(uint32_t Offset)
{
    const int count = FBitsPerSample >= 8 ? 256 : 1 << FBitsPerSample;
    const int64_t back = FInput.Position();
    FInput.SetPosition(Offset);
    std::array<uint16_t, 3 * 256> words;
    for (int i = 0; i < 3 * count; ++i)
        words[i] = GetWord();
    FInput.SetPosition(back);
    // The map's words are 16-bit colour values, whose high bytes are the 8-bit values.
    // Some writers store 8-bit values instead, and then every high byte is 0: such a map
    // is taken as it stands.
    const bool sixteenBit = std::any_of(words.begin(), words.begin() + 3 * count, [](uint16_t w) { return w > 0xFF; });
    const auto toByte = [sixteenBit](uint16_t w) { return static_cast<uint8_t>(sixteenBit ? w >> 8 : w); };
    for (int i = 0; i < count; ++i)
        FPalette[i] = {toByte(words[i]), toByte(words[count + i]), toByte(words[2 * count + i])};
    FColorMapPresent = true;
}

void TTifmap::ReadPackLine(uint8_t* Line, int Count)
{
    int written = 0;
    while (written < Count) {
        uint8_t header;
        if (!FInput.ReadByte(header))
            Error(errUnexpectedEOF);
        if (header < 128) {
            const int n = header + 1;
            // A run past the row would write past the line: the row is bad.
            if (written + n > Count)
                Error(errBadData);
            if (FInput.Read(Line + written, n) != n)
                Error(errUnexpectedEOF);
            written += n;
        } else if (header > 128) {
            const int n = 257 - header;
            uint8_t value;
            if (!FInput.ReadByte(value))
                Error(errUnexpectedEOF);
            if (written + n > Count)
                Error(errBadData);
            std::memset(Line + written, value, static_cast<size_t>(n));
            written += n;
        }
    }
}

namespace {

constexpr int ClearCode = 256, EndOfInformation = 257, FirstFree = 258;

// Why a run of LZW codes under one table stopped.
enum class TLzwStop { Filled, ClearCode, EndCode, FullTable, BadCode, Truncated };

// Where a strip's decoding stands: the last string written, where it was written, and
// where the next one goes.
struct TLzwPlace {
    Imaging::TLzwStrings::TString Previous;
    const uint8_t* PreviousAt;
    uint8_t* Out;
};

// Decodes the string codes that follow a table's first code until the output reaches
// End or a code ends the run. Every check the loop makes per code is a compare with a
// value in a register, and nothing in it can throw; the reader and the place are
// copied into locals, which nothing else sees, so they stay in registers: the caller
// turns the reason for stopping into an error.
TLzwStop DecodeLzwRun(Imaging::TLzwCodes<true>& Reader, Imaging::TLzwStrings& Strings, TLzwPlace& Place,
                      const uint8_t* End)
{
    // Writers switch to the wider code one code early: at 511, 1023 and 2047.
    constexpr int LastWidening = 2047;
    int width = 9, nextFree = FirstFree, widening = 511;
    Imaging::TLzwCodes<true> codes = Reader;
    TLzwPlace place = Place;
    TLzwStop stop = TLzwStop::Filled;
    while (place.Out < End) {
        const int code = codes.Next(width);
        if (codes.Overrun()) [[unlikely]] {
            stop = TLzwStop::Truncated;
            break;
        }
        if (unsigned(code - ClearCode) < 2u) [[unlikely]] {
            stop = code == ClearCode ? TLzwStop::ClearCode : TLzwStop::EndCode;
            break;
        }
        // A code beyond the table is corrupt. A code one past it is the string the
        // writer had just made: the previous one and its own first byte.
        if (code > nextFree) [[unlikely]] {
            stop = TLzwStop::BadCode;
            break;
        }
        Strings.Learn(nextFree, place.Previous, place.PreviousAt, code);
        place.PreviousAt = place.Out;
        place.Previous = Strings.Write(code, place.Out);
        place.Out += place.Previous.Length;
        if (++nextFree == widening) [[unlikely]] {
            // A full table takes no new string: only a clear or an end code may follow.
            if (nextFree == Imaging::TLzwStrings::TableSize) {
                stop = place.Out < End ? TLzwStop::FullTable : TLzwStop::Filled;
                break;
            }
            ++width;
            widening = widening == LastWidening ? Imaging::TLzwStrings::TableSize : 2 * widening + 1;
        }
    }
    Reader = codes;
    Place = place;
    return stop;
}

} // namespace

// Decodes the strip's LZW codes into Pixels until Total bytes are there or the end code
// comes, and returns the bytes decoded. Decoding stops as soon as the strip's rows are
// filled: the rest of its data (which may be shared with other strips) is not read.
int64_t TTifmap::DecodeLzwStrip(uint8_t* Pixels, int64_t Total)
{
    Imaging::TLzwCodes<true> codes(FInput.Current(), FInput.Remaining());
    const auto fail = [&](int Code) {
        FCodesDecoded += codes.CodesRead();
        Error(Code);
    };
    TLzwPlace place{{}, Pixels, Pixels};
    const uint8_t* const end = Pixels + Total;
    // A table starts at the strip's first code, after a clear code and after a full
    // table; its first code is a root, which adds no string as no previous one exists.
    TLzwStop stop = place.Out < end ? TLzwStop::ClearCode : TLzwStop::Filled;
    int code = place.Out < end ? codes.Next(9) : EndOfInformation;
    while (stop == TLzwStop::ClearCode) {
        if (code == ClearCode) {
            FStrings.Reset(FirstFree);
            do
                code = codes.Next(9);
            while (code == ClearCode);
        }
        if (codes.Overrun())
            fail(errUnexpectedEOF);
        if (code > EndOfInformation)
            fail(errBadCode);
        if (code == EndOfInformation)
            break;
        place.PreviousAt = place.Out;
        place.Previous = FStrings.Write(code, place.Out);
        place.Out += place.Previous.Length;
        stop = DecodeLzwRun(codes, FStrings, place, end);
        if (stop == TLzwStop::FullTable) {
            code = codes.Next(12);
            stop = codes.Overrun() ? TLzwStop::Truncated
                   : code == ClearCode ? TLzwStop::ClearCode
                   : code == EndOfInformation ? TLzwStop::EndCode
                                              : TLzwStop::BadCode;
        } else {
            code = ClearCode;
        }
    }
    if (stop == TLzwStop::Truncated)
        fail(errUnexpectedEOF);
    if (stop == TLzwStop::BadCode)
        fail(errBadCode);
    FCodesDecoded += codes.CodesRead();
    return std::min<int64_t>(place.Out - Pixels, Total);
}

void TTifmap::PlaceRows(const uint8_t* Pixels, int64_t FirstRow, int64_t Count)
{
    for (int64_t row = 0; row < Count; ++row) {
        const uint8_t* source = Pixels + row * FRowLength;
        const int y = static_cast<int>(FirstRow + row);
        if (FPixels.isNull())
            PlaceRow(source, FRows.Row(y));
        else
            PlacePixels(source, reinterpret_cast<uint32_t*>(FPixels.scanLine(y)));
    }
}

// Puts a decoded RGB row into a line of 0xFFRRGGBB pixels, undoing the horizontal
// predictor on the way: the pixels the bitmap reads from the row PlaceRow makes.
void TTifmap::PlacePixels(const uint8_t* Source, uint32_t* Line) const
{
    const auto pixel = [](uint32_t Red, uint32_t Green, uint32_t Blue) {
        return 0xFF000000u | Red << 16 | Green << 8 | Blue;
    };
    if (FPredictor == PredictorHorizontal) {
        uint8_t r = 0, g = 0, b = 0;
        for (int x = 0; x < FWidth; ++x, Source += 3) {
            r = uint8_t(r + Source[0]);
            g = uint8_t(g + Source[1]);
            b = uint8_t(b + Source[2]);
            Line[x] = pixel(r, g, b);
        }
    } else {
        // A pixel's samples read as one big-endian word with the next pixel's first
        // sample, which the shift drops; the last pixel on its own, as the byte after it
        // may lie past the data.
        const int last = FWidth - 1;
        for (int x = 0; x < last; ++x, Source += 3)
            Line[x] = 0xFF000000u | qFromBigEndian<uint32_t>(Source) >> 8;
        Line[last] = pixel(Source[0], Source[1], Source[2]);
    }
}

// Copies a decoded row into its bitmap row, undoing the horizontal predictor, turning
// white-is-zero bilevel rows round and putting RGB samples in the bitmap's BGR order
// on the way.
void TTifmap::PlaceRow(const uint8_t* Source, uint8_t* Row) const
{
    const bool predicted = FPredictor == PredictorHorizontal;
    if (FBitCount > 8 && predicted) {
        uint8_t r = 0, g = 0, b = 0;
        for (int x = 0; x < FWidth; ++x, Source += 3, Row += 3) {
            r = uint8_t(r + Source[0]);
            g = uint8_t(g + Source[1]);
            b = uint8_t(b + Source[2]);
            Row[0] = b;
            Row[1] = g;
            Row[2] = r;
        }
    } else if (FBitCount > 8) {
        // A loop of its own without the running sums, which the compiler unrolls freely.
        for (int x = 0; x < FWidth; ++x, Source += 3, Row += 3) {
            Row[0] = Source[2];
            Row[1] = Source[1];
            Row[2] = Source[0];
        }
    } else if (predicted) {
        uint8_t sum = 0;
        for (int i = 0; i < FRowLength; ++i)
            Row[i] = sum = uint8_t(sum + Source[i]);
    } else if (FBitCount == 1 && FPhotometric == PhotometricWhiteIsZero) {
        for (int i = 0; i < FRowLength; ++i)
            Row[i] = static_cast<uint8_t>(~Source[i]);
    } else {
        std::memcpy(Row, Source, size_t(FRowLength));
    }
}

Imaging::TBitmapInfoHeader TTifmap::BitmapHeader() const
{
    return Imaging::CreateBitHeader(FWidth, FHeight, static_cast<uint16_t>(FBitCount));
}

std::span<const Imaging::TRgbTriple> TTifmap::BitmapPalette() const
{
    // A bilevel image with a colour map shows its two colours; without one it is black
    // and white.
    if (FBitCount == 1 && FPhotometric == PhotometricPalette && FColorMapPresent)
        return std::span(FPalette).first(2);
    return Imaging::DepthPalette(FBitCount, FPalette);
}

} // namespace Tifmap
