#include "imaging/cdrmap.h"

#include "vcl/core/unitstartup.h"

#include <QScopeGuard>

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

TCdrMap::TCdrMap() = default;

TCdrMap::~TCdrMap() = default;

void TCdrMap::Error(int Code)
{
    throw ECdrException(QString::fromLatin1(ErrName[Code - 1]));
}

void TCdrMap::LoadFromStream(vcl::TStream& Stream)
{
    FLastError = Imaging::CatchLoadFailure([&] {
        const auto bitmap = AssembleBitmapStream(Stream);
        vcl::TBitmap::LoadFromStream(*bitmap);
    });
}

std::unique_ptr<vcl::TMemoryStream> TCdrMap::AssembleBitmapStream(vcl::TStream& Stream)
{
    FSource = &Stream;
    const auto release = qScopeGuard([this] { FSource = nullptr; });
    ReadCdr();
    auto bitmap = std::make_unique<vcl::TMemoryStream>();
    SaveCdrToStream(*bitmap);
    return bitmap;
}

void TCdrMap::ReadCdr()
{
    FSource->SetPosition(PreviewOffset);
    uint8_t headers[Imaging::BitmapHeadersSize];
    if (FSource->Read(headers, sizeof headers) != sizeof headers)
        Error(errUnexpectedEOF);
    // The first 14 bytes stand where a file header would; they are rebuilt below.
    FInfoHeader = Imaging::TBitmapInfoHeader::FromBytes(headers + Imaging::FileHeaderSize);
    const int bitCount = FInfoHeader.biBitCount;
    if (FInfoHeader.biWidth <= 0 || FInfoHeader.biHeight <= 0 || !IsBitCount(bitCount))
        Error(errNotCdr);

    const int64_t paletteBytes = bitCount <= 8 ? 4 << bitCount : 0;
    // Rows are counted as stored, rounded up to 4 bytes (a choice: the whole last row
    // then reaches the bitmap).
    const int64_t rowBytes = Imaging::PaddedRowBytes((int64_t(FInfoHeader.biWidth) * bitCount + 7) / 8);
    // Each factor is checked first, so that the product cannot overflow.
    if (rowBytes > PreviewBufferSize || FInfoHeader.biHeight > PreviewBufferSize)
        Error(errTooBig);
    const int64_t pixelBytes = rowBytes * FInfoHeader.biHeight;
    if (paletteBytes + pixelBytes > PreviewBufferSize)
        Error(errTooBig);
    FInfoHeader.biClrUsed = 0;
    FInfoHeader.biClrImportant = 0;
    FFileSize = static_cast<uint32_t>(Imaging::BitmapHeadersSize + paletteBytes + pixelBytes);
    FPixelOffset = static_cast<uint32_t>(Imaging::BitmapHeadersSize + paletteBytes);

    FDataCount = static_cast<uint32_t>(FSource->Read(FData.data(), paletteBytes + pixelBytes));
    if (FDataCount != paletteBytes + pixelBytes)
        Error(errUnexpectedEOF);
}

void TCdrMap::SaveCdrToStream(vcl::TMemoryStream& Stream)
{
    Stream.SetPosition(0);
    Imaging::WriteFileHeader(Stream, FFileSize, FPixelOffset);
    Imaging::WriteInfoHeader(Stream, FInfoHeader);
    Stream.WriteBuffer(FData.data(), FDataCount);
    Stream.SetPosition(0);
}

} // namespace Cdrmap
