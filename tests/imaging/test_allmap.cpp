// TAnymap: the extension table, the choice of reader by lower-cased extension, and what
// each kind of failure leaves behind.
#include "imagingtestsupport.h"
#include "support/testsupport.h"

#include "imaging/allmap.h"
#include "imaging/tifmap.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace imagingtest;
using qvtest::WriteFile;

TEST(Anymap, Supported)
{
    const std::pair<const char*, bool> names[] = {
        {"Photo.GIF", true}, {"a.b.pcx", true}, {"x.TIF", true}, {"drawing.cdr", true}, {"icon.ico", true},
        {"m.wmf", true}, {"m.EMF", true}, {"p.bmp", true}, {"scan.tiff", false}, {"image.jpg", false},
        {"noextension", false}, {"dir.gif/file", false}, {"", false},
    };
    for (const auto& [name, supported] : names)
        EXPECT_EQ(Allmap::TAnymap::Supported(name), supported) << name;
}

TEST(Anymap, ChoosesTheReaderByLowerCasedExtension)
{
    QTemporaryDir dir;
    // Not a TIFF: only the TIFF reader lets its failure through.
    WriteFile(dir.filePath("x.TIF"), "not a tiff");
    Allmap::TAnymap bitmap;
    try {
        bitmap.LoadFromFile(dir.filePath("x.TIF"));
        ADD_FAILURE() << "no exception";
    } catch (const Tifmap::ETifException& e) {
        EXPECT_EQ(e.Message().toStdString(), "Not a TIF file");
    }
    // The same bytes as GIF: the GIF reader keeps its failure.
    WriteFile(dir.filePath("x.Gif"), "not a gif");
    EXPECT_NO_THROW(bitmap.LoadFromFile(dir.filePath("x.Gif")));
    EXPECT_EQ(bitmap.LastError().toStdString(), "Not a GIF file");
    EXPECT_TRUE(bitmap.Empty());
}

TEST(Anymap, OtherExtensionsLeaveTheBitmapAsItWas)
{
    QTemporaryDir dir;
    QImage red(3, 2, QImage::Format_RGB32);
    red.fill(Qt::red);
    ASSERT_TRUE(red.save(dir.filePath("red.jpg"), "JPG"));
    Allmap::TAnymap bitmap;
    bitmap.SetSize(5, 4);
    EXPECT_NO_THROW(bitmap.LoadFromFile(dir.filePath("red.jpg")));
    EXPECT_EQ(bitmap.Width(), 5);
    EXPECT_EQ(bitmap.Height(), 4);
}

TEST(Anymap, BitmapsAndIcons)
{
    QTemporaryDir dir;
    QImage image(7, 5, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int x = 0; x < 7; ++x)
        image.setPixel(x, 0, qRgb(0, 0, 255));
    image.setPixel(3, 4, qRgb(10, 200, 30));
    ASSERT_TRUE(image.save(dir.filePath("i.ico"), "ICO"));
    ASSERT_TRUE(image.convertToFormat(QImage::Format_RGB888).save(dir.filePath("i.bmp"), "BMP"));

    Allmap::TAnymap bitmap;
    bitmap.LoadFromFile(dir.filePath("i.bmp"));
    EXPECT_EQ(bitmap.ToQImage().pixel(3, 4), qRgb(10, 200, 30));

    // The icon is drawn at the top left of a bitmap of its size.
    Allmap::TAnymap icon;
    icon.LoadFromFile(dir.filePath("i.ico"));
    ASSERT_EQ(icon.Width(), 7);
    ASSERT_EQ(icon.Height(), 5);
    EXPECT_EQ(icon.ToQImage().pixel(6, 0), qRgb(0, 0, 255));
    EXPECT_EQ(icon.ToQImage().pixel(3, 4), qRgb(10, 200, 30));
}
