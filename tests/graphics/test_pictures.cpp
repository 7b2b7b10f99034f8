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

TEST(Resources, CompiledInBitmapAndIconRoundTrip)
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

    // An icon's round trip keeps its transparency, and it draws over the canvas.
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

TEST(ImageLists, OverlaysDrawOnTheirImageAndFollowDeletions)
{
    TImageList list(3, 1);
    // Image 0: red; image 1: blue at x = 2 only (the rest transparent); image 2: lime.
    list.AddImage(QImage(3, 1, QImage::Format_ARGB32));
    QImage red(3, 1, QImage::Format_ARGB32);
    red.fill(qRgb(255, 0, 0));
    QImage badge(3, 1, QImage::Format_ARGB32);
    badge.fill(Qt::transparent);
    badge.setPixel(2, 0, qRgb(0, 0, 255));
    list.Clear();
    list.AddImage(red);
    list.AddImage(badge);
    EXPECT_FALSE(list.Overlay(5, 0));
    EXPECT_FALSE(list.Overlay(1, 4));
    ASSERT_TRUE(list.Overlay(1, 2));
    auto target = FilledBitmap(4, 1, clYellow);
    list.DrawOverlay(target->Canvas(), 1, 0, 0, 2);
    EXPECT_EQ(Picture(*target, Legend), (Rows{"yrrb"}));
    // An empty slot draws the image alone.
    auto plain = FilledBitmap(3, 1, clYellow);
    list.DrawOverlay(plain->Canvas(), 0, 0, 0, 3);
    EXPECT_EQ(Picture(*plain, Legend), (Rows{"rrr"}));
    // Deleting image 0 moves the overlay to index 0; deleting that clears the slot.
    list.Delete(0);
    EXPECT_EQ(list.OverlayImage(2), 0);
    list.Delete(0);
    EXPECT_EQ(list.OverlayImage(2), -1);
}

TEST(ImageLists, SelectedFocusedAndGhostedLooks)
{
    TImageList list(1, 1);
    QImage white(1, 1, QImage::Format_ARGB32);
    white.fill(qRgb(255, 255, 255));
    list.AddImage(white);
    // The highlight colour is navy (0, 0, 128): selected mixes half of it in,
    // (255 * 128 + c * 128) >> 8 per channel: (127, 127, 191); focused a quarter,
    // (255 * 192 + c * 64) >> 8: (191, 191, 223). Worked out by hand.
    EXPECT_EQ(list.Composite(0, -1, dsSelected, true).pixel(0, 0), qRgb(127, 127, 191));
    EXPECT_EQ(list.Composite(0, -1, dsFocus, true).pixel(0, 0), qRgb(191, 191, 223));
    EXPECT_EQ(list.Composite(0, -1, dsNormal, true).pixel(0, 0), qRgb(255, 255, 255));
    // Ghosted: half the opacity (255 >> 1 = 127).
    EXPECT_EQ(qAlpha(list.Composite(0, -1, dsNormal, true, true).pixel(0, 0)), 127);
    EXPECT_TRUE(list.Composite(1, -1, dsNormal, true).isNull());
    auto target = FilledBitmap(1, 1, clBlack);
    list.Draw(target->Canvas(), 0, 0, 0, dsSelected);
    EXPECT_EQ(target->Canvas()->Pixels(0, 0), RGB(127, 127, 191));
}

TEST(ImageLists, SharedHandlesKeepImagesAliveAndUnknownHandlesFail)
{
    auto owner = std::make_unique<TImageList>(2, 2);
    QImage red(2, 2, QImage::Format_ARGB32);
    red.fill(qRgb(255, 0, 0));
    owner->AddImage(red);
    TImageList shared(16, 16);
    shared.SetShareImages(true);
    shared.SetHandle(owner->Handle());
    EXPECT_EQ(shared.Width(), 2);
    EXPECT_EQ(shared.Count(), 1);
    // Adding through either list shows in both.
    shared.AddImage(red);
    EXPECT_EQ(owner->Count(), 2);
    const HIMAGELIST handle = owner->Handle();
    owner.reset();
    // The owner withdrew the handle, but the sharing list keeps its images.
    EXPECT_EQ(shared.Count(), 2);
    EXPECT_EQ(shared.ToQImage(0).pixel(0, 0), qRgb(255, 0, 0));
    TImageList late;
    EXPECT_THROW(late.SetHandle(handle), EInvalidOperation);
    EXPECT_THROW(late.SetHandle(HIMAGELIST{0xFFFFFFFF}), EInvalidOperation);
    EXPECT_EQ(late.Width(), 16);
    // A sharing list leaves its own handle bindable after it is gone.
    HIMAGELIST kept;
    {
        TImageList system(4, 4);
        system.SetShareImages(true);
        system.AddImage(red);
        kept = system.Handle();
        late.SetHandle(kept);
    }
    TImageList again;
    again.SetHandle(kept);
    EXPECT_EQ(again.Count(), 1);
    EXPECT_EQ(again.Width(), 4);
}
