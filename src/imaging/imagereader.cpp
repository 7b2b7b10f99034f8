#include "imaging/imagereader.h"

#include <QScopeGuard>
#include <new>
#include <stdexcept>
#include <utility>

namespace Imaging {

TImageReader::TImageReader(TFailures Failures, int TooBigCode) : FFailures(Failures), FTooBigCode(TooBigCode) {}

TImageReader::~TImageReader() = default;

void TImageReader::LoadFromStream(vcl::TStream& Stream)
{
    FLastError.clear();
    if (FFailures == TFailures::Raised) {
        LoadAssembled(Stream);
        return;
    }
    try {
        LoadAssembled(Stream);
    } catch (const vcl::Exception& e) {
        FLastError = e.Message();
    }
}

void TImageReader::LoadAssembled(vcl::TStream& Stream)
{
    std::unique_ptr<vcl::TMemoryStream> bitmap;
    {
        FForBitmap = true;
        const auto done = qScopeGuard([this] { FForBitmap = false; });
        bitmap = AssembleBitmapStream(Stream);
    }
    if (!bitmap) {
        AssignImage(std::exchange(FPixels, {}));
        SetPixelFormat(vcl::pf24bit);
        return;
    }
    try {
        vcl::TBitmap::LoadFromStream(*bitmap);
    } catch (const std::bad_alloc&) {
        Raise(FTooBigCode);
    } catch (const std::length_error&) {
        Raise(FTooBigCode);
    }
}

// Memory that runs out (or a size the allocator refuses) becomes the reader's "too big"
// failure, so that only framework exceptions leave a reader.
std::unique_ptr<vcl::TMemoryStream> TImageReader::AssembleBitmapStream(vcl::TStream& Stream)
{
    // Pixels decoded straight for the bitmap outlive the call only when it succeeds.
    FPixels = {};
    auto release = qScopeGuard([this] {
        FInput = {};
        FRows.Clear();
        FPixels = {};
    });
    std::unique_ptr<vcl::TMemoryStream> bitmap;
    try {
        // As many bytes as the stream holds, from its position; a memory stream at its
        // start lends them (shared, not copied).
        auto* memory = dynamic_cast<vcl::TMemoryStream*>(&Stream);
        const bool whole = memory && memory->Position() == 0;
        const QByteArray data = whole ? memory->Bytes() : Stream.ReadBytes(Stream.Size());
        if (whole)
            memory->SetPosition(memory->Size());
        FInput = TByteReader(data);
        Parse();
        FInput = {};
        if (FPixels.isNull())
            bitmap = FRows.TakeStream(BitmapHeader(), BitmapPalette());
        else
            release.dismiss();
    } catch (const std::bad_alloc&) {
        Raise(FTooBigCode);
    } catch (const std::length_error&) {
        Raise(FTooBigCode);
    }
    return bitmap;
}

void TImageReader::ReserveRows(int Width, int Height, int RowBytes, int PaletteEntries)
{
    if (!FitsLoadBudget(FInput.Size(), Width, Height, BitmapStreamSize(RowBytes, Height, PaletteEntries)))
        Raise(FTooBigCode);
    FRows.Reset(Height, RowBytes, PaletteEntries);
}

} // namespace Imaging
