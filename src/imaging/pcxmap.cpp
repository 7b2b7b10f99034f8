#include "imaging/pcxmap.h"

#include "vcl/core/unitstartup.h"

#include <QScopeGuard>
#include <QtEndian>
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

TPcxHeader TPcxHeader::FromBytes(const uint8_t* Bytes)
{
    TPcxHeader h;
    h.Manufacturer = Bytes[0];
    h.Version = Bytes[1];
    h.Encoding = Bytes[2];
    h.BitsPerPixel = Bytes[3];
    h.XMin = qFromLittleEndian<uint16_t>(Bytes + 4);
    h.YMin = qFromLittleEndian<uint16_t>(Bytes + 6);
    h.XMax = qFromLittleEndian<uint16_t>(Bytes + 8);
    h.YMax = qFromLittleEndian<uint16_t>(Bytes + 10);
    h.HorizontalResolution = qFromLittleEndian<uint16_t>(Bytes + 12);
    h.VerticalResolution = qFromLittleEndian<uint16_t>(Bytes + 14);
    for (int i = 0; i < 16; ++i)
        h.ColorMap[i] = {Bytes[16 + 3 * i], Bytes[17 + 3 * i], Bytes[18 + 3 * i]};
    h.Reserved = Bytes[64];
    h.Planes = Bytes[65];
    h.BytesPerLine = qFromLittleEndian<uint16_t>(Bytes + 66);
    h.PaletteInfo = qFromLittleEndian<uint16_t>(Bytes + 68);
    return h;
}

TPcxmap::TPcxmap() = default;

TPcxmap::~TPcxmap() = default;

void TPcxmap::Error(int Code)
{
    throw EPcxException(QString::fromLatin1(ErrName[Code - 1]));
}

void TPcxmap::LoadFromStream(vcl::TStream& Stream)
{
    FLastError = Imaging::CatchLoadFailure([&] {
        const auto bitmap = AssembleBitmapStream(Stream);
        vcl::TBitmap::LoadFromStream(*bitmap);
    });
}

std::unique_ptr<vcl::TMemoryStream> TPcxmap::AssembleBitmapStream(vcl::TStream& Stream)
{
    const auto release = qScopeGuard([this] {
        FInput = {};
        FWorkingStream.reset();
        FRows.Clear();
    });
    FWorkingStream = std::make_unique<vcl::TMemoryStream>(Stream.ReadBytes(Stream.Size()));
    FInput = Imaging::TByteReader(FWorkingStream->Bytes());
    FRowCounter = 0;
    ReadPcx();
    CreateBitHeader();
    FInput = {};
    SavePcxToStream(*FWorkingStream);
    return std::move(FWorkingStream);
}

void TPcxmap::ReadPcx()
{
    FInput.SetPosition(0);
    uint8_t header[TPcxHeader::Size];
    if (FInput.Read(header, sizeof header) < TPcxHeader::Size)
        Error(errBadData);
    FHeader = TPcxHeader::FromBytes(header);
    FWidth = FHeader.XMax - FHeader.XMin + 1;
    FHeight = FHeader.YMax - FHeader.YMin + 1;
    const int bpp = FHeader.BitsPerPixel;
    const int planes = FHeader.Planes;
    FBitCount = bpp == 8 && planes == 3 ? 24 : bpp == 1 ? planes : bpp;
    FRows.Clear();

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

    FLine.fill(0);
    FRows.Reset(FHeight, Imaging::DepthRowBytes(FBitCount, FWidth));
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

void TPcxmap::CreateBitHeader()
{
    FBitmapInfoHeader = Imaging::CreateBitHeader(FWidth, FHeight, static_cast<uint16_t>(FBitCount));
}

void TPcxmap::CreateLine()
{
    FRows.Add(FRowCounter, FLine.data());
    ++FRowCounter;
}

void TPcxmap::SavePcxToStream(vcl::TMemoryStream& Stream)
{
    Imaging::SaveBitmapStream(Stream, FBitmapInfoHeader, Imaging::DepthPalette(FBitCount, FPalette), FRows);
    FRows.Clear();
}

} // namespace Pcxmap
