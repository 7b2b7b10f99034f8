#pragma once
// TCdrMap: a bitmap that reads the preview bitmap stored near the start of a CorelDRAW
// drawing file, without interpreting the drawing itself.
#include "imaging/imagereader.h"

#include <array>
#include <cstdint>

namespace Cdrmap {

// The reader's failure messages: 1 not a CorelDRAW file, 2 a preview too big, 3 the file
// ends early.
inline constexpr Imaging::TErrorNames<3> ErrName = {"Not a CDR file", "File Too big", "Unexpected EOF"};

// The exception of a failed CorelDRAW load, with one of ErrName's messages.
using ECdrException = Imaging::EReaderException<struct TCdrFormat>;

// Loads keep their failures (see TImageReader::LoadFromStream).
class TCdrMap : public Imaging::TReaderOf<ECdrException, ErrName> {
public:
    // An empty bitmap.
    TCdrMap();
    ~TCdrMap() override;

    // Where the preview's headers sit in the file: its offset from the file's start.
    static constexpr int PreviewOffset = 20;
    // The most bytes of palette and pixel data the preview may hold; a larger preview
    // is the "File Too big" failure.
    static constexpr int PreviewBufferSize = 20004;

private:
    void Parse() override;
    Imaging::TBitmapInfoHeader BitmapHeader() const override;
    std::span<const Imaging::TRgbTriple> BitmapPalette() const override;

    void ReadPalette(int Entries);

    Imaging::TBitmapInfoHeader FInfoHeader;
    std::array<Imaging::TRgbTriple, 256> FPalette{};
    int FPaletteEntries = 0;
};

} // namespace Cdrmap
