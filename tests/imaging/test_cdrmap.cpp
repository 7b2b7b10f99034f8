// CorelDRAW preview reader: the preview's place in the file, the rebuilt file header,
// rows counted as stored, and previews that do not fit their buffer or the file.
#include "imagingtestsupport.h"

#include "imaging/cdrmap.h"

#include <QtEndian>
#include <gtest/gtest.h>

using namespace imagingtest;

namespace {

// 20 bytes of drawing header, a 14-byte block where a file header would be, the info
// header, then Payload (palette and pixels).
QByteArray Preview(int Width, int Height, int BitCount, const QByteArray& Payload, uint32_t ColorsUsed = 0)
{
    QByteArray file(20, 'x');
    file += QByteArray(14, '\x55');
    QByteArray info(40, '\0');
    auto* p = reinterpret_cast<uchar*>(info.data());
    qToLittleEndian<uint32_t>(40, p);
    qToLittleEndian<int32_t>(Width, p + 4);
    qToLittleEndian<int32_t>(Height, p + 8);
    qToLittleEndian<uint16_t>(1, p + 12);
    qToLittleEndian<uint16_t>(uint16_t(BitCount), p + 14);
    qToLittleEndian<uint32_t>(ColorsUsed, p + 32);
    qToLittleEndian<uint32_t>(ColorsUsed, p + 36);
    return file + info + Payload;
}

QString CdrError(const QByteArray& Data)
{
    try {
        AssembleWithReader("cdr", Data);
    } catch (const Cdrmap::ECdrException& e) {
        return e.Message();
    }
    return {};
}

} // namespace

TEST(Cdrmap, RebuildsTheFileHeader)
{
    // 3 pixels of 24 bits: rows of 9 bytes stored as 12.
    const QByteArray pixels = QByteArray::fromHex("0000ff 00ff00 ff0000 000000" "ffffff 000000 808080 000000");
    const QByteArray bitmap = AssembleWithReader("cdr", Preview(3, 2, 24, pixels, 7));
    const TBitmapFields f = ReadBitmapFields(bitmap);
    EXPECT_EQ(bitmap.left(2), "BM");
    EXPECT_EQ(f.FileSize, uint32_t(HeadersSize) + 24);
    EXPECT_EQ(f.PixelOffset, uint32_t(HeadersSize));
    EXPECT_EQ(bitmap.size(), HeadersSize + 24);
    // colours used and colours important are cleared
    EXPECT_EQ(bitmap.mid(HeadersSize - 8, 8), QByteArray(8, '\0'));
    const QImage image = DecodeBitmapStream(bitmap);
    EXPECT_EQ(image.pixel(0, 1), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(2, 0), qRgb(128, 128, 128));
}

TEST(Cdrmap, PaletteOfTheBitCount)
{
    // 8 bits: 256 palette entries whatever the colours-used field says.
    QByteArray payload(1024, '\0');
    payload[4 * 9 + 2] = char(0xC0);
    payload += QByteArray::fromHex("09000000");
    const QByteArray bitmap = AssembleWithReader("cdr", Preview(1, 1, 8, payload, 16));
    EXPECT_EQ(ReadBitmapFields(bitmap).PixelOffset, uint32_t(HeadersSize) + 1024);
    EXPECT_EQ(DecodeBitmapStream(bitmap).pixel(0, 0), qRgb(0xC0, 0, 0));
}

TEST(Cdrmap, ErrorTable)
{
    struct Case { const char* What; QByteArray Data; const char* Message; };
    const Case cases[] = {
        {"shorter than the headers", Preview(1, 1, 24, {}).left(60), "Unexpected EOF"},
        {"pixels cut short", Preview(2, 2, 24, QByteArray(12, '\0')), "Unexpected EOF"},
        // 100 x 50 at 32 bits needs 20000 bytes: fits; 101 rows of 200 bytes do not.
        {"larger than the preview buffer", Preview(50, 101, 32, QByteArray(20200, '\0')), "File Too big"},
        {"huge dimensions", Preview(0x7FFFFFFF, 0x7FFFFFFF, 32, {}), "File Too big"},
        {"width 0", Preview(0, 1, 8, QByteArray(1028, '\0')), "Not a CDR file"},
        {"negative height", Preview(1, -1, 24, QByteArray(4, '\0')), "Not a CDR file"},
        {"bit count 3", Preview(1, 1, 3, QByteArray(36, '\0')), "Not a CDR file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        EXPECT_EQ(CdrError(c.Data).toStdString(), c.Message);
    }
    EXPECT_EQ(CdrError(Preview(50, 100, 32, QByteArray(20000, '\0'))).toStdString(), "");
}

TEST(Cdrmap, LoadFromStreamSwallowsFailures)
{
    Cdrmap::TCdrMap cdr;
    vcl::TMemoryStream bad(QByteArray(30, '\0'));
    EXPECT_NO_THROW(cdr.LoadFromStream(bad));
    EXPECT_EQ(cdr.LastError().toStdString(), "Unexpected EOF");
}
