// TIFF reader: hand-built files for the directory decoding, the three compressions, the
// row preparation and every failure of the error table.
#include "imagingtestsupport.h"

#include "imaging/allmap.h"
#include "imaging/tifmap.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace imagingtest;

namespace {

enum : uint16_t { Short = 3, Long = 4 };

struct TTiffBuilder {
    bool BigEndian = false;
    struct TEntry {
        uint16_t Tag;
        uint16_t Type;
        std::vector<uint32_t> Values;
    };
    std::vector<TEntry> Entries;
    std::vector<QByteArray> Strips;
    bool WriteStripOffsets = true;
    // The type of the strip offsets and byte counts (SHORT values fit the entry two at
    // a time), whether byte counts are written, and how often the strips' offsets are
    // repeated (strips that share their data).
    uint16_t StripType = Long;
    bool WriteByteCounts = false;
    int StripRepeat = 1;

    TTiffBuilder& Add(uint16_t Tag, uint16_t Type, std::vector<uint32_t> Values)
    {
        Entries.push_back({Tag, Type, std::move(Values)});
        return *this;
    }
    // A bilevel-to-RGB image's usual tags.
    static TTiffBuilder Image(int Width, int Height, int Samples, int Bits, int Compression, int Photometric)
    {
        TTiffBuilder b;
        b.Add(256, Long, {uint32_t(Width)}).Add(257, Long, {uint32_t(Height)});
        if (Samples == 1)
            b.Add(258, Short, {uint32_t(Bits)});
        else
            b.Add(258, Short, std::vector<uint32_t>(size_t(Samples), uint32_t(Bits)));
        b.Add(259, Short, {uint32_t(Compression)}).Add(262, Short, {uint32_t(Photometric)});
        b.Add(277, Short, {uint32_t(Samples)});
        return b;
    }

    void Put(QByteArray& Out, uint32_t Value, int Size) const
    {
        for (int i = 0; i < Size; ++i) {
            const int shift = BigEndian ? 8 * (Size - 1 - i) : 8 * i;
            Out.append(char((Value >> shift) & 0xFF));
        }
    }
    // The strips, then the directory; or (DirectoryFirst) the directory, then the
    // strips, so that the strips end the file.
    bool DirectoryFirst = false;

    QByteArray Build() const
    {
        QByteArray file = BigEndian ? QByteArray("MM") : QByteArray("II");
        Put(file, 42, 2);
        Put(file, 0, 4); // directory offset, patched below
        if (!DirectoryFirst) {
            std::vector<uint32_t> offsets;
            for (const QByteArray& s : Strips) {
                offsets.push_back(uint32_t(file.size()));
                file += s;
            }
            return AppendDirectory(file, offsets);
        }
        const qsizetype size = AppendDirectory(file, std::vector<uint32_t>(Strips.size(), 0)).size();
        std::vector<uint32_t> offsets;
        QByteArray strips;
        for (const QByteArray& s : Strips) {
            offsets.push_back(uint32_t(size + strips.size()));
            strips += s;
        }
        return AppendDirectory(file, offsets) + strips;
    }

    QByteArray AppendDirectory(QByteArray file, const std::vector<uint32_t>& StripOffsets) const
    {
        std::vector<TEntry> entries = Entries;
        if (WriteStripOffsets) {
            std::vector<uint32_t> offsets, counts;
            for (int r = 0; r < StripRepeat; ++r) {
                offsets.insert(offsets.end(), StripOffsets.begin(), StripOffsets.end());
                for (const QByteArray& strip : Strips)
                    counts.push_back(uint32_t(strip.size()));
            }
            entries.push_back({273, StripType, offsets});
            if (WriteByteCounts)
                entries.push_back({279, StripType, counts});
        }
        std::sort(entries.begin(), entries.end(), [](const TEntry& a, const TEntry& b) { return a.Tag < b.Tag; });
        // Values that do not fit the entry go before the directory.
        std::vector<uint32_t> valueOffsets;
        for (const TEntry& e : entries) {
            const int size = e.Type == Short ? 2 : 4;
            if (int(e.Values.size()) * size > 4) {
                if (file.size() % 2)
                    file.append('\0');
                valueOffsets.push_back(uint32_t(file.size()));
                for (uint32_t v : e.Values)
                    Put(file, v, size);
            } else {
                valueOffsets.push_back(0);
            }
        }
        if (file.size() % 2)
            file.append('\0');
        QByteArray directory;
        Put(directory, uint32_t(file.size()), 4);
        file.replace(4, 4, directory);
        Put(file, uint32_t(entries.size()), 2);
        for (size_t i = 0; i < entries.size(); ++i) {
            const TEntry& e = entries[i];
            const int size = e.Type == Short ? 2 : 4;
            Put(file, e.Tag, 2);
            Put(file, e.Type, 2);
            Put(file, uint32_t(e.Values.size()), 4);
            if (valueOffsets[i] != 0) {
                Put(file, valueOffsets[i], 4);
            } else {
                QByteArray field;
                for (uint32_t v : e.Values)
                    Put(field, v, size);
                file += field + QByteArray(4 - field.size(), '\0');
            }
        }
        Put(file, 0, 4);
        return file;
    }
};

// Packs codes most significant bit first.
struct TMsbWriter {
    QByteArray Bytes;
    uint64_t Accumulator = 0;
    int Bits = 0;
    void Put(int Code, int Width)
    {
        Accumulator = Accumulator << Width | uint32_t(Code);
        Bits += Width;
        while (Bits >= 8) {
            Bytes.append(char((Accumulator >> (Bits - 8)) & 0xFF));
            Bits -= 8;
        }
    }
    QByteArray Finish()
    {
        if (Bits > 0)
            Bytes.append(char((Accumulator << (8 - Bits)) & 0xFF));
        Bits = 0;
        return Bytes;
    }
};

// LZW codes that send every byte as a root code; widths grow one code early, at next
// free codes 511, 1023 and 2047, as TIFF writers do.
QByteArray LiteralLzw(const QByteArray& Data, bool EndCode = true)
{
    TMsbWriter w;
    int width = 9;
    int nextFree = 258;
    bool first = true;
    w.Put(256, width);
    for (char c : Data) {
        if (nextFree >= 4094) {
            w.Put(256, width);
            width = 9;
            nextFree = 258;
            first = true;
        }
        w.Put(uchar(c), width);
        if (!first && (++nextFree == 511 || nextFree == 1023 || nextFree == 2047))
            ++width;
        first = false;
    }
    if (EndCode)
        w.Put(257, width);
    return w.Finish();
}

// LZW codes for Count zero bytes in strings one byte longer each time: the best the
// format can compress.
[[maybe_unused]] QByteArray ZerosLzw(int64_t Count)
{
    TMsbWriter w;
    int width = 9;
    for (int64_t written = 0; written < Count;) {
        w.Put(256, width);
        width = 9;
        w.Put(0, width);
        ++written;
        for (int nextFree = 258, length = 2; nextFree < 4094 && written < Count; ++length) {
            w.Put(nextFree, width);
            written += length;
            if (++nextFree == 511 || nextFree == 1023 || nextFree == 2047)
                ++width;
        }
    }
    w.Put(257, width);
    return w.Finish();
}

// Lets the process's address space grow by at most Headroom more bytes.
[[maybe_unused]] void LimitAddressSpace(int64_t Headroom)
{
    long pages = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld", &pages) != 1)
            pages = 0;
        std::fclose(f);
    }
    const rlim_t limit = rlim_t(pages) * rlim_t(sysconf(_SC_PAGESIZE)) + rlim_t(Headroom);
    const rlimit r{limit, limit};
    setrlimit(RLIMIT_AS, &r);
}

QString TifError(const QByteArray& Data)
{
    try {
        AssembleWithReader("tif", Data);
    } catch (const Tifmap::ETifException& e) {
        return e.Message();
    }
    return {};
}

QByteArray Hex(const char* Text) { return QByteArray::fromHex(Text); }
QByteArray PixelBytes(const QByteArray& Bitmap) { return Bitmap.mid(ReadBitmapFields(Bitmap).PixelOffset); }

QByteArray Bytes(int Count, int Seed)
{
    QByteArray b;
    for (int i = 0; i < Count; ++i)
        b.append(char((i * 37 + Seed * 11 + i / 7) & 0xFF));
    return b;
}

} // namespace

TEST(Tifmap, ErrorTable)
{
    struct Case { const char* What; QByteArray Data; const char* Message; };
    auto good = TTiffBuilder::Image(4, 1, 1, 8, 1, 1);
    good.Strips = {Hex("00112233")};
    QByteArray badMark = good.Build();
    badMark[1] = 'M';

    auto noWidth = good;
    noWidth.Entries.erase(noWidth.Entries.begin());
    auto noStrips = good;
    noStrips.WriteStripOffsets = false;
    auto tooWide = TTiffBuilder::Image(2401, 1, 3, 8, 1, 2);
    tooWide.Strips = {QByteArray(7203, '\0')};
    auto tall = TTiffBuilder::Image(2400, 100000, 3, 8, 1, 2);
    tall.Strips = {QByteArray(16, '\0')};
    // One pointer a row would already take 512 MiB.
    auto narrowAndTall = TTiffBuilder::Image(1, 1 << 26, 1, 8, 1, 1);
    narrowAndTall.Strips = {QByteArray(16, '\0')};
    auto rowsBeyondData = TTiffBuilder::Image(1000, 1000, 1, 8, 32773, 1);
    rowsBeyondData.Strips = {Hex("81008100")};
    auto jpeg = good;
    jpeg.Entries[3].Values = {7};
    auto sixteenBits = TTiffBuilder::Image(2, 1, 1, 16, 1, 1);
    sixteenBits.Strips = {Hex("00000000")};
    auto planar = TTiffBuilder::Image(1, 1, 3, 8, 1, 2);
    planar.Add(284, Short, {2});
    planar.Strips = {Hex("010203")};
    auto floatPredictor = good;
    floatPredictor.Add(317, Short, {3});
    auto shortData = good;
    shortData.Strips = {Hex("0011")};
    shortData.DirectoryFirst = true;
    auto packShort = TTiffBuilder::Image(4, 1, 1, 8, 32773, 1);
    packShort.Strips = {Hex("03aabb")};
    packShort.DirectoryFirst = true;
    auto packPastRow = TTiffBuilder::Image(4, 1, 1, 8, 32773, 1);
    packPastRow.Strips = {Hex("fc11")}; // a run of 5 in a row of 4
    auto lzwNoEnd = TTiffBuilder::Image(4, 1, 1, 8, 5, 1);
    lzwNoEnd.Strips = {LiteralLzw(Hex("001122"), false)};
    lzwNoEnd.DirectoryFirst = true;
    auto lzwFull = TTiffBuilder::Image(4000, 1, 1, 8, 5, 1);
    {
        // 4096 - 258 + 1 root codes without a clear code in time: the table overflows.
        TMsbWriter w;
        int width = 9;
        w.Put(256, 9);
        for (int i = 0, nextFree = 258; i <= 4096 - 258 + 1; ++i) {
            w.Put(i % 256, width);
            if (i > 0 && (++nextFree == 511 || nextFree == 1023 || nextFree == 2047))
                ++width;
        }
        w.Put(257, 12);
        lzwFull.Strips = {w.Finish()};
    }
    auto lzwBeyond = TTiffBuilder::Image(4, 1, 1, 8, 5, 1);
    {
        TMsbWriter w;
        w.Put(256, 9), w.Put(1, 9), w.Put(300, 9), w.Put(257, 9);
        lzwBeyond.Strips = {w.Finish()};
    }
    auto lzwAfterClear = TTiffBuilder::Image(4, 1, 1, 8, 5, 1);
    {
        TMsbWriter w;
        w.Put(256, 9), w.Put(258, 9), w.Put(257, 9);
        lzwAfterClear.Strips = {w.Finish()};
    }
    QByteArray directoryPastEnd = good.Build();
    directoryPastEnd[4] = char(0xF0);
    auto colorMapPastEnd = TTiffBuilder::Image(1, 1, 1, 8, 1, 3);
    colorMapPastEnd.Add(320, Short, std::vector<uint32_t>(768, 0));
    colorMapPastEnd.Strips = {Hex("00")};
    QByteArray mapPastEnd = colorMapPastEnd.Build();
    mapPastEnd.truncate(mapPastEnd.size() - 12 * 8 - 4 - 2 - 100); // cut into the map's words

    const Case cases[] = {
        {"byte order mark", badMark, "Not a TIF file"},
        {"no width", noWidth.Build(), "Bad data"},
        {"no strip offsets", noStrips.Build(), "Bad data"},
        {"2401 pixels of 24 bits", tooWide.Build(), "File Too big"},
        {"dimensions that would exhaust memory", tall.Build(), "File Too big"},
        {"a width-1 image of 2^26 rows", narrowAndTall.Build(), "File Too big"},
        {"rows the strips could never fill", rowsBeyondData.Build(), "Unexpected EOF"},
        {"JPEG compression", jpeg.Build(), "Unsupported Format"},
        {"16-bit samples", sixteenBits.Build(), "Unsupported Format"},
        {"separate planes", planar.Build(), "Unsupported Format"},
        {"floating-point predictor", floatPredictor.Build(), "Unsupported Format"},
        {"uncompressed data ends early", shortData.Build(), "Unexpected EOF"},
        {"PackBits data ends early", packShort.Build(), "Unexpected EOF"},
        {"PackBits run past the row", packPastRow.Build(), "Bad data"},
        {"LZW data ends before the row is filled", lzwNoEnd.Build(), "Unexpected EOF"},
        {"LZW table past 4096 entries", lzwFull.Build(), "Bad code"},
        {"LZW code beyond the next free code", lzwBeyond.Build(), "Bad code"},
        {"LZW string code right after a clear code", lzwAfterClear.Build(), "Bad code"},
        {"directory past the end", directoryPastEnd, "Unexpected EOF"},
        {"colour map past the end", mapPastEnd, "Unexpected EOF"},
        {"empty", QByteArray(), "Not a TIF file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        EXPECT_EQ(TifError(c.Data).toStdString(), c.Message);
    }
    // LoadFromStream lets the failure through as well.
    Tifmap::TTifmap tif;
    vcl::TMemoryStream bad(QByteArray("XX*"));
    EXPECT_THROW(tif.LoadFromStream(bad), Tifmap::ETifException);
}

TEST(Tifmap, RowLengthLimit)
{
    auto b = TTiffBuilder::Image(2400, 1, 3, 8, 1, 2);
    b.Strips = {Bytes(7200, 1)};
    const QByteArray bitmap = AssembleWithReader("tif", b.Build());
    EXPECT_EQ(ReadBitmapFields(bitmap).Width, 2400);
    EXPECT_EQ(PixelBytes(bitmap).left(3).toHex(), Bytes(3, 1).toHex().right(2) + Bytes(3, 1).toHex().mid(2, 2)
                                                      + Bytes(3, 1).toHex().left(2));
}

TEST(Tifmap, PackBits)
{
    // 0xFE 0xAA: three 0xAA; 0x80: nothing; 0x02: the next three bytes as they are.
    auto b = TTiffBuilder::Image(7, 1, 1, 8, 32773, 1);
    b.Strips = {Hex("feaa" "80" "02010203" "0004")};
    EXPECT_EQ(PixelBytes(AssembleWithReader("tif", b.Build())).toHex(), "aaaaaa01020304" "00");
}

TEST(Tifmap, LzwSwitchesWidthOneCodeEarly)
{
    // 300 root codes: the table reaches next free code 511 after 254 strings, and the
    // 255th code must already be read with 10 bits.
    const QByteArray data = Bytes(300, 2);
    auto b = TTiffBuilder::Image(300, 1, 1, 8, 5, 1);
    b.Strips = {LiteralLzw(data)};
    EXPECT_EQ(PixelBytes(AssembleWithReader("tif", b.Build())).left(300), data);
    // A clear code every 4094 codes keeps a long strip going.
    const QByteArray many = Bytes(9000, 3);
    auto big = TTiffBuilder::Image(3000, 3, 1, 8, 5, 1);
    big.Strips = {LiteralLzw(many)};
    const QImage image = QImage::fromData(AssembleWithReader("tif", big.Build()), "BMP");
    ASSERT_EQ(image.height(), 3);
    EXPECT_EQ(image.pixelIndex(2999, 2), uchar(many[8999]));
    EXPECT_EQ(image.pixelIndex(1234, 1), uchar(many[4234]));
}

TEST(Tifmap, ByteOrdersGiveTheSameImage)
{
    for (int compression : {1, 5, 32773}) {
        SCOPED_TRACE(compression);
        const QByteArray data = Bytes(3 * 5 * 4, 4);
        QByteArray packed;
        for (int row = 0; row < 4; ++row)
            packed += QByteArray(1, char(14)) + data.mid(row * 15, 15);
        auto b = TTiffBuilder::Image(5, 4, 3, 8, compression, 2);
        b.Strips = {compression == 1 ? data : compression == 5 ? LiteralLzw(data) : packed};
        const QByteArray little = AssembleWithReader("tif", b.Build());
        b.BigEndian = true;
        EXPECT_EQ(AssembleWithReader("tif", b.Build()), little);
        // red-green-blue in the file, blue-green-red in the bitmap, bottom row first
        EXPECT_EQ(uchar(PixelBytes(little)[0]), uchar(data[45 + 2]));
        EXPECT_EQ(uchar(PixelBytes(little)[2]), uchar(data[45]));
    }
}

TEST(Tifmap, GreyWithoutColourMap)
{
    auto b = TTiffBuilder::Image(2, 1, 1, 8, 1, 1);
    b.Strips = {Hex("00ff")};
    const QByteArray bitmap = AssembleWithReader("tif", b.Build());
    EXPECT_EQ(bitmap.mid(HeadersSize + 4 * 200, 4).toHex(), "c8c8c800");
    const QImage image = DecodeBitmapStream(bitmap);
    EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(1, 0), qRgb(255, 255, 255));
}

TEST(Tifmap, BilevelPhotometric)
{
    // White-is-zero files are inverted, so a set bit is black there; a palette file
    // shows its colour map's two colours.
    struct Case { int Photometric; QRgb Set; QRgb Clear; };
    const Case cases[] = {{0, qRgb(0, 0, 0), qRgb(255, 255, 255)},
                          {1, qRgb(255, 255, 255), qRgb(0, 0, 0)},
                          {3, qRgb(0, 128, 255), qRgb(255, 0, 0)}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Photometric);
        auto b = TTiffBuilder::Image(8, 1, 1, 1, 1, c.Photometric);
        if (c.Photometric == 3)
            b.Add(320, Short, {0xFF00, 0x0000, 0x0000, 0x8000, 0x0000, 0xFF00});
        b.Strips = {Hex("f0")};
        const QImage image = DecodeBitmapStream(AssembleWithReader("tif", b.Build()));
        EXPECT_EQ(image.pixel(0, 0), c.Set);
        EXPECT_EQ(image.pixel(7, 0), c.Clear);
    }
}

TEST(Tifmap, ColourMapWords)
{
    // A map with 16-bit values takes their high bytes; a map whose values all fit in a
    // byte is taken as it stands.
    struct Case { uint32_t Red[3]; const char* Palette; };
    const Case cases[] = {{{0xFF00, 0xFFFF, 0x1234}, "0000ff00" "0000ff00" "00001200"},
                          {{0x0080, 0x00FF, 0x0001}, "00008000" "0000ff00" "00000100"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Palette);
        auto b = TTiffBuilder::Image(3, 1, 1, 4, 1, 3);
        std::vector<uint32_t> map(48, 0);
        std::copy(std::begin(c.Red), std::end(c.Red), map.begin()); // red of entries 0, 1, 2
        b.Add(320, Short, map);
        b.Strips = {Hex("0120")};
        EXPECT_EQ(AssembleWithReader("tif", b.Build()).mid(HeadersSize, 12).toHex(), c.Palette);
    }
}

TEST(Tifmap, HorizontalPredictorPerSample)
{
    auto b = TTiffBuilder::Image(3, 1, 3, 8, 1, 2);
    b.Add(317, Short, {2});
    b.Strips = {Hex("102030" "010203" "ffffff")};
    // (16, 32, 48), (17, 34, 51), (16, 33, 50) as blue, green, red
    EXPECT_EQ(PixelBytes(AssembleWithReader("tif", b.Build())).left(9).toHex(), "302010332211322110");
}

TEST(Tifmap, RgbRowsEndingTheFileLoadIntoTheBitmap)
{
    // A load turns unpredicted RGB rows into 32-bit pixels reading a word per pixel; the
    // last pixel of an uncompressed image that ends the file has no byte after it.
    for (const int width : {1, 2, 5}) {
        SCOPED_TRACE(width);
        auto b = TTiffBuilder::Image(width, 2, 3, 8, 1, 2);
        b.DirectoryFirst = true;
        QByteArray samples;
        for (int i = 0; i < 2 * width; ++i)
            samples.append(char(0x10)).append(char(i)).append(char(0xF0));
        b.Strips = {samples};
        const QByteArray file = b.Build();
        ASSERT_TRUE(file.endsWith(samples));
        Tifmap::TTifmap tif;
        vcl::TMemoryStream source(file);
        tif.LoadFromStream(source);
        const QImage image = tif.ToQImage();
        for (int i = 0; i < 2 * width; ++i)
            EXPECT_EQ(image.pixel(i % width, i / width), qRgb(0x10, i, 0xF0)) << i;
    }
}

TEST(Tifmap, StripsWithAndWithoutRowsPerStrip)
{
    auto b = TTiffBuilder::Image(2, 3, 1, 8, 1, 1);
    b.Add(278, Short, {2});
    b.Strips = {Hex("01020304"), Hex("0506")};
    EXPECT_EQ(PixelBytes(AssembleWithReader("tif", b.Build())).toHex(), "05060000" "03040000" "01020000");
    // Without the tag, the first strip holds every row.
    b.Entries.pop_back();
    b.Strips = {Hex("010203040506"), Hex("ffff")};
    EXPECT_EQ(PixelBytes(AssembleWithReader("tif", b.Build())).toHex(), "05060000" "03040000" "01020000");
    // LZW data that ends inside a row leaves that row empty.
    auto lzw = TTiffBuilder::Image(2, 2, 1, 8, 5, 1);
    lzw.Strips = {LiteralLzw(Hex("010203"))};
    EXPECT_EQ(PixelBytes(AssembleWithReader("tif", lzw.Build())).toHex(), "00000000" "01020000");
}

TEST(Tifmap, StripValuesInsideTheEntry)
{
    // Two SHORT offsets (or byte counts) fit the entry's 4 bytes, as does one LONG: they
    // are the values themselves, not the offset of an array.
    struct Case { uint16_t Type; int Strips; bool ByteCounts; };
    const Case cases[] = {{Short, 2, false}, {Short, 2, true}, {Short, 1, true}, {Long, 1, true}, {Long, 2, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.Type << ", " << c.Strips << " strips, counts " << c.ByteCounts);
        auto b = TTiffBuilder::Image(2, 2, 1, 8, 1, 1);
        b.Add(278, Short, {uint32_t(3 - c.Strips)});
        b.Strips = c.Strips == 2 ? std::vector<QByteArray>{Hex("0102"), Hex("0304")} : std::vector<QByteArray>{Hex("01020304")};
        b.StripType = c.Type;
        b.WriteByteCounts = c.ByteCounts;
        EXPECT_EQ(PixelBytes(AssembleWithReader("tif", b.Build())).toHex(), "03040000" "01020000");
    }
}

TEST(Tifmap, LzwStopsWhenTheStripsRowsAreFilled)
{
    // 2000 one-row strips that all point at the same 30000 codes: each strip reads one
    // row's codes and stops, so the work grows with the rows, not strips x data.
    const int width = 10, height = 2000;
    auto b = TTiffBuilder::Image(width, height, 1, 8, 5, 1);
    b.Add(278, Short, {1});
    const QByteArray data = Bytes(30000, 5);
    b.Strips = {LiteralLzw(data)};
    b.StripRepeat = height;
    Tifmap::TTifmap tif;
    vcl::TMemoryStream source(b.Build());
    const QByteArray pixels = PixelBytes(tif.AssembleBitmapStream(source)->Bytes());
    EXPECT_EQ(pixels.left(width), data.left(width)); // the last row, stored first
    EXPECT_EQ(pixels.right(12).left(width), data.left(width));
    EXPECT_LE(tif.CodesDecoded(), int64_t(height) * (width + 1)); // a clear code and the row's codes
}

// AddressSanitizer keeps its shadow memory in the address space this test limits, so
// the sanitizer build leaves the test out.
#ifndef __SANITIZE_ADDRESS__
TEST(Tifmap, OutOfMemoryBecomesAReaderFailure)
{
    // A 2400 x 3000 24-bit image (21.6 MB of rows) from a few kilobytes, loaded where
    // memory runs out first: the reader and TAnymap raise their own failures, and
    // nothing else leaves them (an escaping std::bad_alloc would abort the child).
    auto b = TTiffBuilder::Image(2400, 3000, 3, 8, 5, 2);
    b.Strips = {ZerosLzw(2400 * 3 * 3000)};
    const QByteArray file = b.Build();
    QTemporaryDir dir;
    QFile out(dir.filePath("big.tif"));
    ASSERT_TRUE(out.open(QIODevice::WriteOnly) && out.write(file) == file.size());
    out.close();
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            LimitAddressSpace(8 << 20);
            int failures = 0;
            try {
                Tifmap::TTifmap tif;
                vcl::TMemoryStream source(file);
                tif.LoadFromStream(source);
            } catch (const Tifmap::ETifException&) {
                ++failures;
            }
            try {
                Allmap::TAnymap().LoadFromFile(out.fileName());
            } catch (const vcl::Exception&) {
                ++failures;
            }
            std::_Exit(failures);
        },
        testing::ExitedWithCode(2), "");
    // With memory to spare the same file loads.
    Tifmap::TTifmap tif;
    vcl::TMemoryStream source(file);
    tif.LoadFromStream(source);
    EXPECT_EQ(tif.Width(), 2400);
    EXPECT_EQ(tif.ToQImage().pixel(2399, 2999), qRgb(0, 0, 0));
}
#endif
