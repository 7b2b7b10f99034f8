#include "imaging/cdrmap.h"

#include "vcl/core/unitstartup.h"

namespace Cdrmap {

// The unit needs nothing set up or torn down.
static const vcl::TUnitRegistration UnitRegistration(QStringLiteral("Cdrmap"), {});

namespace {

enum : int { errNotCdr = 1, errTooBig = 2, errUnexpectedEOF = 3 };

bool IsBitCount(int BitCount)
{
    return BitCount == 1 || BitCount == 4 || BitCount == 8 || BitCount == 16 || BitCount == 24 || BitCount == 32;
}

} // namespace

TCdrMap::TCdrMap() : TReaderOf(TFailures::Kept, errTooBig) {}

TCdrMap::~TCdrMap() = default;

void TCdrMap::Parse()
{
    // The first 14 bytes stand where a file header would; the assembled stream gets a
    // header of its own.
    FInput.SetPosition(PreviewOffset + Imaging::FileHeaderSize);
    if (!FInfoHeader.Read(FInput))
        Error(errUnexpectedEOF);
    const int bitCount = FInfoHeader.biBitCount;
    const int width = FInfoHeader.biWidth;
    const int height = FInfoHeader.biHeight;
    if (width <= 0 || height <= 0 || !IsBitCount(bitCount))
        Error(errNotCdr);

    FPaletteEntries = bitCount <= 8 ? 1 << bitCount : 0;
    // Rows are counted as stored, rounded up to 4 bytes (a choice: the whole last row
    // then reaches the bitmap).
    const int64_t rowBytes = Imaging::PaddedRowBytes((int64_t(width) * bitCount + 7) / 8);
    // Each factor is checked first, so that the product cannot overflow.
    if (rowBytes > PreviewBufferSize || height > PreviewBufferSize
        || 4 * FPaletteEntries + rowBytes * height > PreviewBufferSize)
        Error(errTooBig);
    FInfoHeader.biClrUsed = 0;
    FInfoHeader.biClrImportant = 0;

    ReadPalette(FPaletteEntries);
    ReserveRows(width, height, static_cast<int>(rowBytes), FPaletteEntries);
    // The preview's rows are stored bottom-up, as the assembled stream keeps them.
    for (int row = height - 1; row >= 0; --row) {
        if (FInput.Read(FRows.Row(row), rowBytes) != rowBytes)
            Error(errUnexpectedEOF);
    }
}

void TCdrMap::ReadPalette(int Entries)
{
    for (int i = 0; i < Entries; ++i) {
        uint8_t entry[4];
        if (FInput.Read(entry, sizeof entry) != sizeof entry)
            Error(errUnexpectedEOF);
        FPalette[i] = {entry[2], entry[1], entry[0]};
    }
}

Imaging::TBitmapInfoHeader TCdrMap::BitmapHeader() const
{
    return FInfoHeader;
}

std::span<const Imaging::TRgbTriple> TCdrMap::BitmapPalette() const
{
    return std::span(FPalette).first(FPaletteEntries);
}

} // namespace Cdrmap
