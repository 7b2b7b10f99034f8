// Every file made by ImageMagick and Pillow decodes to the same pixels as Pillow decodes
// it: the assembled bitmap stream read back by Qt's BMP reader, and the bitmap TAnymap loads.
#include "imagingtestsupport.h"

#include "imaging/allmap.h"

#include <QFileInfo>
#include <gtest/gtest.h>

using namespace imagingtest;

namespace {

vcl::TPixelFormat ExpectedPixelFormat(int BitCount)
{
    switch (BitCount) {
    case 1: return vcl::pf1bit;
    case 4: return vcl::pf4bit;
    case 8: return vcl::pf8bit;
    default: return vcl::pf24bit;
    }
}

void ExpectAllAgree(const QString& Prefix, int MinimumCount)
{
    const auto samples = SamplesOf(Prefix);
    ASSERT_GE(int(samples.size()), MinimumCount);
    for (const TSample& s : samples) {
        SCOPED_TRACE(s.Name.toStdString());
        QByteArray bitmap;
        try {
            bitmap = AssembleWithReader(QFileInfo(s.File).suffix(), ReadFile(s.File));
        } catch (const std::exception& e) {
            ADD_FAILURE() << "reader failed: " << e.what();
            continue;
        }
        const TBitmapFields fields = ReadBitmapFields(bitmap);
        EXPECT_EQ(fields.BitCount, s.BitCount);
        EXPECT_EQ(fields.Width, s.Width);
        EXPECT_EQ(fields.Height, s.Height);
        EXPECT_EQ(fields.FileSize, uint32_t(bitmap.size()));
        EXPECT_EQ(FirstPixelDifference(DecodeBitmapStream(bitmap), ReferenceImage(s)).toStdString(), "");

        // The whole road: file, reader, assembled stream, the framework's bitmap.
        Allmap::TAnymap loaded;
        loaded.LoadFromFile(s.File);
        EXPECT_EQ(loaded.LastError().toStdString(), "");
        EXPECT_EQ(loaded.PixelFormat(), ExpectedPixelFormat(s.BitCount));
        const QImage pixels = loaded.ToQImage().convertToFormat(QImage::Format_RGB888);
        EXPECT_EQ(FirstPixelDifference(pixels, ReferenceImage(s)).toStdString(), "");
    }
}

} // namespace

TEST(ReaderFiles, GifAgreesWithPillow) { ExpectAllAgree("gif_", 12); }
TEST(ReaderFiles, PcxAgreesWithPillow) { ExpectAllAgree("pcx_", 8); }
TEST(ReaderFiles, TiffAgreesWithPillow) { ExpectAllAgree("tif_", 40); }
TEST(ReaderFiles, CdrPreviewAgreesWithPillow) { ExpectAllAgree("cdr_", 3); }
