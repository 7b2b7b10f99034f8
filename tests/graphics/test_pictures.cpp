#include "graphicstest.h"

#include "vcl/core/streams.h"
#include "vcl/graphics/icon.h"
#include "vcl/graphics/imagelist.h"
#include "vcl/graphics/picture.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vcl;
using graphicstest::FilledBitmap;
using graphicstest::Picture;
using graphicstest::RunPython;
using Rows = std::vector<std::string>;

namespace {

const std::vector<std::pair<TColor, char>> Legend = {{clWhite, '.'}, {clBlack, '#'}, {clRed, 'r'}, {clBlue, 'b'},
    {clLime, 'g'}, {clYellow, 'y'}, {clNavy, 'n'}, {clSilver, 'l'}, {clGray, 's'}};

QImage TwoColourImage()
{
    QImage image(4, 2, QImage::Format_ARGB32);
    image.fill(qRgba(255, 0, 0, 255));
    image.setPixel(1, 0, qRgba(0, 0, 0, 0));
    image.setPixel(3, 1, qRgba(0, 0, 255, 255));
    return image;
}

} // namespace

TEST(Resources, CompiledInBitmap)
{
    TBitmap bmp;
    bmp.LoadFromResourceName(QStringLiteral("QVSAMPLE"));
    ASSERT_EQ(bmp.Width(), 16);
    ASSERT_EQ(bmp.Height(), 16);
    const Rows pic = Picture(bmp, Legend);
    EXPECT_EQ(pic[0], std::string(16, 'n'));
    EXPECT_EQ(pic[5], "n....r....r....n");
    TBitmap direct;
    direct.LoadFromResourceName(0, QStringLiteral(":/bitmaps/QVSAMPLE.bmp"));
    EXPECT_EQ(Picture(direct, Legend), pic);
}

TEST(Icons, RoundTripKeepsTransparencyAndDrawsOverTheCanvas)
{
    TIcon icon;
    icon.AssignImage(TwoColourImage());
    TMemoryStream stream;
    icon.SaveToStream(stream);
    EXPECT_EQ(stream.Bytes().left(4), QByteArray("\x00\x00\x01\x00", 4));
    stream.SetPosition(0);
    TIcon back;
    back.LoadFromStream(stream);
    ASSERT_EQ(back.Width(), 4);
    EXPECT_EQ(qAlpha(back.ToQImage().pixel(1, 0)), 0);
    auto target = FilledBitmap(4, 2, clYellow);
    target->Canvas()->Draw(0, 0, &back);
    EXPECT_EQ(Picture(*target, Legend), (Rows{"ryrr", "rrrb"}));

    TMemoryStream junk(QByteArray("not an icon at all"));
    EXPECT_THROW(back.LoadFromStream(junk), EInvalidGraphic);
}

TEST(Pictures, LoadByExtensionAndAssign)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_EQ(RunPython(dir.path(), QStringLiteral("from PIL import Image\n"
                                                   "im = Image.new('RGB', (3, 2), (0, 0, 255))\n"
                                                   "im.save('p.png'); im.save('p.bmp')\n"
                                                   "open('p.xyz', 'w').write('x')\n")),
        0);
    TPicture picture;
    int changes = 0;
    picture.OnChange = [&](TObject*) { ++changes; };
    picture.LoadFromFile(dir.filePath(QStringLiteral("p.png")));
    ASSERT_NE(dynamic_cast<TBitmap*>(picture.Graphic()), nullptr);
    EXPECT_EQ(Picture(*picture.Bitmap(), Legend), (Rows{"bbb", "bbb"}));
    picture.LoadFromFile(dir.filePath(QStringLiteral("p.bmp")));
    EXPECT_EQ(picture.Bitmap()->PixelFormat(), pf24bit);
    EXPECT_GE(changes, 2);
    EXPECT_THROW(picture.LoadFromFile(dir.filePath(QStringLiteral("p.xyz"))), EInvalidGraphic);
    EXPECT_EQ(picture.Width(), 3);

    TPicture copy;
    copy.Assign(&picture);
    picture.Bitmap()->Canvas()->SetPixels(0, 0, clRed);
    EXPECT_EQ(copy.Bitmap()->Canvas()->Pixels(0, 0), clBlue);
    // Drawing on the held bitmap is a change of the picture.
    const int before = changes;
    picture.Bitmap()->Canvas()->SetPixels(1, 0, clRed);
    EXPECT_EQ(changes, before + 1);

    TPicture::RegisterFileFormat(QStringLiteral("XYZ"), QStringLiteral("Test"), [] { return static_cast<TGraphic*>(new TBitmap); });
    EXPECT_THROW(picture.LoadFromFile(dir.filePath(QStringLiteral("p.xyz"))), EInvalidGraphic); // not a BMP
    TPicture::UnregisterFileFormat(QStringLiteral("xyz"));
}

TEST(ImageLists, AddSplitsStripsAndMasksHideDestinationPixels)
{
    TImageList list(2, 2);
    auto strip = FilledBitmap(4, 2, clRed);
    strip->Canvas()->SetPixels(3, 1, clBlue);
    auto mask = FilledBitmap(4, 2, clBlack);
    mask->Canvas()->SetPixels(0, 0, clWhite); // transparent
    mask->SetMonochrome(true);
    EXPECT_EQ(list.Add(strip.get(), mask.get()), 0);
    EXPECT_EQ(list.Count(), 2);

    auto target = FilledBitmap(5, 2, clYellow);
    list.Draw(target->Canvas(), 0, 0, 0);
    list.Draw(target->Canvas(), 3, 0, 1);
    EXPECT_EQ(Picture(*target, Legend), (Rows{"yry" "rr", "rry" "rb"}));
    EXPECT_THROW(list.Delete(5), EInvalidOperation);
    list.Delete(0);
    EXPECT_EQ(list.Count(), 1);
}

TEST(ImageLists, MaskedColourDisabledDrawingAndGetBitmap)
{
    TImageList list(3, 1);
    auto image = FilledBitmap(3, 1, clLime);
    image->Canvas()->SetPixels(1, 0, clRed);
    EXPECT_EQ(list.AddMasked(image.get(), clLime), 0);
    auto target = FilledBitmap(3, 1, clBlue);
    list.Draw(target->Canvas(), 0, 0, 0);
    EXPECT_EQ(Picture(*target, Legend), (Rows{"brb"}));
    auto greyed = FilledBitmap(3, 1, clBlue);
    list.Draw(greyed->Canvas(), 0, 0, 0, false);
    const TColor grey = greyed->Canvas()->Pixels(1, 0);
    EXPECT_TRUE(GetRValue(grey) == GetGValue(grey) && GetGValue(grey) == GetBValue(grey));
    EXPECT_EQ(greyed->Canvas()->Pixels(0, 0), clBlue);

    list.SetBkColor(clWhite);
    TBitmap copy;
    list.GetBitmap(0, &copy);
    EXPECT_EQ(Picture(copy, Legend), (Rows{".r."}));
    list.SetWidth(8);
    EXPECT_EQ(list.Count(), 0);
}
