#include "imaging/pcxmap.h"

#include "vcl/core/unitstartup.h"

#include <cstring>

namespace Pcxmap {

// The unit needs nothing set up or torn down.
static const vcl::TUnitRegistration UnitRegistration(QStringLiteral("Pcxmap"), {});

namespace {

enum : int {
    errNotPcx = 2,
    errTooBig = 3,
    errBadData = 4,
    errUnsupported = 5,
};

constexpr uint8_t PcxManufacturer = 0x0A;
constexpr uint8_t PaletteTrailerMark = 0x0C;
constexpr int PaletteTrailerSize = 1 + 3 * 256;
constexpr uint8_t RunFlags = 0xC0;
constexpr uint8_t RunLengthMask = 0x3F;
constexpr uint8_t FirstTrailerVersion = 5;

} // namespace

bool TPcxHeader::Read(Imaging::TByteReader& Input)
{
    constexpr int RestOfHeader = 58;
    if (Input.Remaining() < Size)
        return false;
    Input.ReadByte(Manufacturer), Input.ReadByte(Version), Input.ReadByte(Encoding), Input.ReadByte(BitsPerPixel);
    Input.ReadLE(XMin), Input.ReadLE(YMin), Input.ReadLE(XMax), Input.ReadLE(YMax);
    Input.ReadLE(HorizontalResolution), Input.ReadLE(VerticalResolution);
    for (Imaging::TRgbTriple& c : ColorMap)
        Input.ReadByte(c.Red), Input.ReadByte(c.Green), Input.ReadByte(c.Blue);
    Input.ReadByte(Reserved), Input.ReadByte(Planes);
    Input.ReadLE(BytesPerLine), Input.ReadLE(PaletteInfo);
    Input.Skip(RestOfHeader);
    return true;
}

TPcxmap::TPcxmap() : TReaderOf(TFailures::Kept, errTooBig) {}

TPcxmap::~TPcxmap() = default;

void TPcxmap::Parse()
{
    FRowCounter = 0;
    ReadPcx();
}

void TPcxmap::ReadPcx()
{
    FInput.SetPosition(0);
    if (!FHeader.Read(FInput))
        Error(errBadData);
    FWidth = FHeader.XMax - FHeader.XMin + 1;
    FHeight = FHeader.YMax - FHeader.YMin + 1;
    const int bpp = FHeader.BitsPerPixel;
    const int planes = FHeader.Planes;
    FBitCount = bpp == 8 && planes == 3 ? 24 : bpp == 1 ? planes : bpp;

    if (FHeader.Manufacturer != PcxManufacturer)
        Error(errNotPcx);
    // Only these layouts have a bitmap form: 1 bit in 1 or 4 planes, 4 or 8 bits in one
    // plane, 8 bits in 3 planes.
    const bool supported = (bpp == 1 && (planes == 1 || planes == 4)) || ((bpp == 4 || bpp == 8) && planes == 1)
                           || (bpp == 8 && planes == 3);
    if (!supported)
        Error(errUnsupported);
    // Minimum values above maximum values leave no image.
    if (FWidth <= 0 || FHeight <= 0)
        Error(errBadData);

    const int bpl = FHeader.BytesPerLine;
    int bytesPerLine = bpl;
    if (FBitCount > 1 && FBitCount <= 4)
        bytesPerLine = bpp == 4 && planes == 1 ? bpl : bpl * FBitCount;
    else if (FBitCount == 24)
        bytesPerLine = bpl * 3;
    if (bytesPerLine > MaxLineBytes)
        Error(errTooBig);
    // Every pixel must lie inside its plane's bytes, or rows would be taken from
    // bytes the line never held.
    if (int64_t(FWidth) * bpp > int64_t(bpl) * 8)
        Error(errBadData);

    // A run holds at most 63 bytes in 2: rows the rest of the file could never hold are
    // refused before room is made for them.
    constexpr int LongestRun = 63;
    const int64_t leastLineInput = 2 * ((bytesPerLine + LongestRun - 1) / LongestRun);
    if (leastLineInput * FHeight > FInput.Remaining())
        Error(errBadData);
    FLine.fill(0);
    ReserveRows(FWidth, FHeight, Imaging::DepthRowBytes(FBitCount, FWidth),
                static_cast<int>(BitmapPalette().size()));
    for (int row = 0; row < FHeight; ++row) {
        if (!ReadLine(bytesPerLine))
            Error(errBadData);
        if (planes == 4)
            ConvertPlanes();
        else if (FBitCount == 24)
            ConvertTrueColor();
        CreateLine();
    }
    DefinePalette();
}

bool TPcxmap::ReadLine(int Count)
{
    int decoded = 0;
    do {
        uint8_t b;
        if (!FInput.ReadByte(b))
            break;
        if ((b & RunFlags) == RunFlags) {
            const int run = b & RunLengthMask;
            uint8_t value;
            if (!FInput.ReadByte(value))
                break;
            // A run past the end of the line fails the line before anything is written.
            if (decoded + run > Count)
                return false;
            std::memset(FLine.data() + decoded, value, static_cast<size_t>(run));
            decoded += run;
        } else {
            if (decoded == Count)
                return false;
            FLine[decoded++] = b;
        }
    } while (decoded < Count);
    return decoded == Count;
}

void TPcxmap::ConvertPlanes()
{
    const int bpl = FHeader.BytesPerLine;
    std::copy_n(FLine.begin(), bpl * 4, FWork.begin());
    for (int x = 0; x < FWidth; ++x) {
        uint8_t value = 0;
        for (int p = 0; p < 4; ++p) {
            if (FWork[p * bpl + x / 8] & MaskTable[x % 8])
                value |= BitTable[p];
        }
        uint8_t& packed = FLine[x / 2];
        packed = x % 2 == 0 ? static_cast<uint8_t>(value << 4) : static_cast<uint8_t>(packed | value);
    }
}

void TPcxmap::ConvertTrueColor()
{
    const int bpl = FHeader.BytesPerLine;
    std::copy_n(FLine.begin(), bpl * 3, FWork.begin());
    for (int x = 0; x < FWidth; ++x) {
        FLine[3 * x] = FWork[2 * bpl + x];
        FLine[3 * x + 1] = FWork[bpl + x];
        FLine[3 * x + 2] = FWork[x];
    }
}

void TPcxmap::DefinePalette()
{
    FPalette.fill({});
    std::copy(FHeader.ColorMap.begin(), FHeader.ColorMap.end(), FPalette.begin());
    if (FBitCount != 8 || FHeader.Version < FirstTrailerVersion)
        return;
    FInput.SetPosition(FInput.Size() - PaletteTrailerSize);
    uint8_t trailer[PaletteTrailerSize];
    if (FInput.Size() < PaletteTrailerSize || FInput.Read(trailer, sizeof trailer) != PaletteTrailerSize
        || trailer[0] != PaletteTrailerMark)
        Error(errBadData);
    for (int i = 0; i < 256; ++i)
        FPalette[i] = {trailer[1 + 3 * i], trailer[2 + 3 * i], trailer[3 + 3 * i]};
}

Imaging::TBitmapInfoHeader TPcxmap::BitmapHeader() const
{
    return Imaging::CreateBitHeader(FWidth, FHeight, static_cast<uint16_t>(FBitCount));
}

std::span<const Imaging::TRgbTriple> TPcxmap::BitmapPalette() const
{
    return Imaging::DepthPalette(FBitCount, FPalette);
}

void TPcxmap::CreateLine()
{
    FRows.Add(FRowCounter, FLine.data());
    ++FRowCounter;
}

} // namespace Pcxmap
