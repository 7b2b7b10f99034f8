#include "fuzztargets.h"

#include "imaging/cdrmap.h"
#include "imaging/gifmap.h"
#include "imaging/pcxmap.h"
#include "imaging/tifmap.h"

#include <QByteArray>
#include <QtEndian>
#include <cstdlib>
#include <cstdio>

namespace imagingfuzz {

namespace {

QByteArray Bytes(const uint8_t* Data, size_t Size)
{
    return QByteArray(reinterpret_cast<const char*>(Data), qsizetype(Size));
}

// The assembled stream must hold exactly what its headers say.
void CheckBitmapStream(const vcl::TMemoryStream& Bitmap)
{
    constexpr int HeadersSize = 14 + 40; // file header and info header
    const QByteArray& b = Bitmap.Bytes();
    const auto* p = reinterpret_cast<const uchar*>(b.constData());
    if (b.size() < HeadersSize || p[0] != 'B' || p[1] != 'M' || qFromLittleEndian<uint32_t>(p + 2) != uint32_t(b.size())
        || qFromLittleEndian<uint32_t>(p + 10) > uint32_t(b.size())) {
        std::fprintf(stderr, "assembled bitmap stream does not match its header\n");
        std::abort();
    }
}

// Assembles, checks the stream, then loads the way an application does.
template <typename TReader, typename TFailure>
void Fuzz(const uint8_t* Data, size_t Size)
{
    const QByteArray bytes = Bytes(Data, Size);
    {
        TReader reader;
        vcl::TMemoryStream source(bytes);
        try {
            CheckBitmapStream(*reader.AssembleBitmapStream(source));
        } catch (const TFailure&) {
        }
    }
    TReader reader;
    vcl::TMemoryStream source(bytes);
    try {
        reader.LoadFromStream(source);
    } catch (const vcl::Exception&) {
        // Only the TIFF reader lets failures through, and the bitmap's own BMP reader may
        // refuse what a reader assembled.
    }
}

} // namespace

void FuzzGifmap(const uint8_t* Data, size_t Size) { Fuzz<Gifmap::TGifmap, Gifmap::EGifException>(Data, Size); }
void FuzzPcxmap(const uint8_t* Data, size_t Size) { Fuzz<Pcxmap::TPcxmap, Pcxmap::EPcxException>(Data, Size); }
void FuzzTifmap(const uint8_t* Data, size_t Size) { Fuzz<Tifmap::TTifmap, Tifmap::ETifException>(Data, Size); }
void FuzzCdrmap(const uint8_t* Data, size_t Size) { Fuzz<Cdrmap::TCdrMap, Cdrmap::ECdrException>(Data, Size); }

} // namespace imagingfuzz
