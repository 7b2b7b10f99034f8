// Every file made by ImageMagick and Pillow decodes to the same pixels as Pillow (or
// ImageMagick) decodes it, through the assembled bitmap stream read back by Qt's BMP reader.
#include "imagingtestsupport.h"

#include <QFileInfo>
#include <gtest/gtest.h>

using namespace imagingtest;

namespace {

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
    }
}

} // namespace

TEST(ReaderFiles, GifAgreesWithPillow) { ExpectAllAgree("gif_", 12); }
TEST(ReaderFiles, PcxAgreesWithPillow) { ExpectAllAgree("pcx_", 8); }
TEST(ReaderFiles, TiffAgreesWithPillow) { ExpectAllAgree("tif_", 40); }
TEST(ReaderFiles, CdrPreviewAgreesWithPillow) { ExpectAllAgree("cdr_", 3); }
