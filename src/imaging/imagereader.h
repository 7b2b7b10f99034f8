#pragma once
// TImageReader: the part every image reader shares. A reader decodes its file into
// rows and assembles from them an in-memory BMP file (the assembled bitmap stream),
// which the bitmap then reads back with its own BMP loader. Going through the BMP file
// keeps the readers independent of how the bitmap stores its pixels: each reader only
// has to produce a well-formed BMP, and the one BMP loader decides palettes, pixel
// formats and limits for all of them. Where a reader makes 24-bit pixels, a load for the
// bitmap itself may skip the BMP file: the reader then decodes straight into the
// bitmap's 32-bit pixels, giving the bitmap the BMP loader would.
#include "imaging/assembledbitmap.h"
#include "imaging/bytereader.h"
#include "vcl/core/sysutils.h"
#include "vcl/graphics/bitmap.h"

#include <QString>
#include <array>
#include <memory>
#include <span>

namespace Imaging {

// The failure of one reader's format; Format tells the readers' failures apart.
template <typename Format>
class EReaderException : public vcl::Exception {
public:
    using vcl::Exception::Exception;
};

// A reader's failure messages: the text of code n is entry n - 1.
template <size_t Count>
using TErrorNames = std::array<const char*, Count>;

// A bitmap that reads one picture format: the base of the GIF, PCX, TIFF and CorelDRAW
// readers. A reader either keeps its failures (LastError) or raises them, as its
// constructor chose.
class TImageReader : public vcl::TBitmap {
public:
    ~TImageReader() override;

    // Loads the image in Stream, which must be at its start. Readers that keep their
    // failures return normally when the data is bad: the bitmap then holds what it
    // held, and LastError tells what went wrong. The others raise their exception.
    void LoadFromStream(vcl::TStream& Stream) override;

    // The message of the failure that ended the last load; empty after a good load.
    const QString& LastError() const { return FLastError; }

    // Decodes the data in Stream into the assembled bitmap stream; raises the reader's
    // exception on bad data or when memory runs out. LoadFromStream is this followed by
    // the bitmap's own BMP load (or, inside LoadFromStream, null when the reader decoded
    // straight into the bitmap's pixels).
    std::unique_ptr<vcl::TMemoryStream> AssembleBitmapStream(vcl::TStream& Stream);

protected:
    enum class TFailures { Kept, Raised };
    TImageReader(TFailures Failures, int TooBigCode);

    // The format's part: reads FInput and fills the rows through ReserveRows.
    virtual void Parse() = 0;
    virtual TBitmapInfoHeader BitmapHeader() const = 0;
    virtual std::span<const TRgbTriple> BitmapPalette() const = 0;
    [[noreturn]] virtual void Raise(int Code) const = 0;

    // Makes room for the image's rows once the whole load is known to fit the memory
    // cap; raises the reader's "too big" failure when it does not.
    void ReserveRows(int Width, int Height, int RowBytes, int PaletteEntries);
    // True while LoadFromStream decodes for the bitmap itself: a reader may then put its
    // rows straight into FPixels instead of the row list.
    bool DecodingForBitmap() const { return FForBitmap; }

    TByteReader FInput;
    TRowList FRows;
    // The 32-bit pixels of a 24-bit image that a reader decoded straight into. When not
    // null after Parse, the load takes them as the bitmap's pixels: the same bitmap as
    // reading the assembled stream back, without building and parsing one.
    QImage FPixels;

private:
    void LoadAssembled(vcl::TStream& Stream);

    bool FForBitmap = false;
    TFailures FFailures;
    int FTooBigCode;
    QString FLastError;
};

// A reader whose failures are TException with the messages of Names.
template <typename TException, const auto& Names>
class TReaderOf : public TImageReader {
public:
    // Raises TException with failure Code's message (codes count from 1 in Names).
    [[noreturn]] static void Error(int Code) { throw TException(QString::fromLatin1(Names[size_t(Code - 1)])); }

protected:
    using TImageReader::TImageReader;
    [[noreturn]] void Raise(int Code) const override { Error(Code); }
};

} // namespace Imaging
