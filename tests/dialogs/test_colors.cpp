// Colour selection: the ring and square formulas on pixels, the plane, the history,
// the swatches, collapsing, and the two composite colour panels.
#include "dialogs/qvcolormix.h"
#include "dialogs/qvcolorselect.h"
#include "dialogs/qvcolorsort.h"

#include "vcl/graphics/bitmap.h"

#include <gtest/gtest.h>

using namespace vcl;
using namespace Qvcolorsort;

namespace {

TRgbValue PixelAt(TBitmap& Bitmap, int X, int Y) { return FromColor(Bitmap.Canvas()->Pixels(X, Y)); }

} // namespace

namespace Qvcolorsort {
void PrintTo(const TRgbValue& v, std::ostream* os) { *os << '(' << v.Red << ", " << v.Green << ", " << v.Blue << ')'; }
} // namespace Qvcolorsort

// Worked by hand: r = min(85, 75) = 75, outer = N(67.5) = 68, inner = N(52.5) = 52;
// the square runs from 39 to 111 with w = 72.
TEST(ColorRing, RadiiAndSquareCornersOnA170By150Page)
{
    const TRingGeometry g = RingGeometry(170, 150);
    EXPECT_EQ(g.Radius, 75);
    EXPECT_EQ(g.Outer, 68);
    EXPECT_EQ(g.Inner, 52);
    // Straight above the centre at the distances around both edges (both exclusive).
    EXPECT_FALSE(g.OnRing(75, 75 - 52));
    EXPECT_TRUE(g.OnRing(75, 75 - 53));
    EXPECT_TRUE(g.OnRing(75, 75 - 67));
    EXPECT_FALSE(g.OnRing(75, 75 - 68));
    // The square's corners give the hue, white and black.
    ASSERT_EQ(g.SquareFrom, 39);
    ASSERT_EQ(g.SquareTo, 111);
    const TRgbValue hue{0, 255, 0};
    EXPECT_EQ(SquareColor(g, hue, 39, 39), hue);
    EXPECT_EQ(SquareColor(g, hue, 111, 39), (TRgbValue{255, 255, 255}));
    EXPECT_EQ(SquareColor(g, hue, 39, 111), (TRgbValue{0, 0, 0}));
    EXPECT_EQ(SquareColor(g, hue, 75, 111), (TRgbValue{0, 0, 0}));
}

// The points sit 60 pixels from the centre at 0, 120, 240 and 300 degrees clockwise
// from straight up ((52, 30) is 60 pixels at 60 degrees from the vertical within a
// pixel); their hues lie within 0.02 degrees of the exact angle, which moves no
// component by a whole step.
TEST(ColorRing, HuePointsOnThePaintedRing)
{
    TBitmap bitmap;
    bitmap.SetSize(170, 150);
    PaintRing(bitmap.Canvas(), 170, 150);
    EXPECT_EQ(PixelAt(bitmap, 75, 15), (TRgbValue{255, 0, 0})) << "straight up: red";
    EXPECT_EQ(PixelAt(bitmap, 75 + 52, 75 + 30), (TRgbValue{0, 255, 0})) << "120 degrees: green";
    EXPECT_EQ(PixelAt(bitmap, 75 - 52, 75 + 30), (TRgbValue{0, 0, 255})) << "240 degrees: blue";
    EXPECT_EQ(PixelAt(bitmap, 75 - 52, 75 - 30), (TRgbValue{255, 0, 255})) << "300 degrees: magenta";
    EXPECT_EQ(PixelAt(bitmap, 75, 75), (TRgbValue{255, 255, 255})) << "inside the ring stays white";
    EXPECT_EQ(PixelAt(bitmap, 75, 75 - 52), (TRgbValue{255, 255, 255})) << "the inner edge is not painted";
    EXPECT_EQ(HueAngle(1, 0), 90.0);
    EXPECT_EQ(HueAngle(-1, 0), 270.0);
    EXPECT_EQ(HueAngle(0, 5), 360.0);
}

// For r = 39 the square runs from 20 to 58 but w = N(37.44) = 37, so its last column
// and row lie beyond the formula's width; unbounded, the corners would read 262 and -7.
TEST(ColorRing, SquareComponentsStayWithinRangeWhereTheEdgesOvershoot)
{
    const TRingGeometry g = RingGeometry(78, 78);
    ASSERT_EQ(g.SquareTo - g.SquareFrom, 38);
    ASSERT_EQ(g.SquareWidth, 37);
    EXPECT_EQ(SquareColor(g, {0, 0, 0}, 58, 20), (TRgbValue{255, 255, 255}));
    EXPECT_EQ(SquareColor(g, {0, 0, 0}, 58, 58), (TRgbValue{0, 0, 0}));
    for (int x = g.SquareFrom; x <= g.SquareTo; ++x)
        for (int y = g.SquareFrom; y <= g.SquareTo; ++y) {
            const TRgbValue v = SquareColor(g, {10, 128, 250}, x, y);
            for (int c : {v.Red, v.Green, v.Blue})
                ASSERT_TRUE(c >= 0 && c <= 255) << x << ", " << y;
        }
}

class ColorWindow : public ::testing::Test {
protected:
    TqvSelectColorDlg Dialog{nullptr};
    TColorSotForm* Form = Dialog.Form();
    std::vector<TColor> Reported;
    void SetUp() override
    {
        Dialog.OnColorChange = [this](TComponent* sender, TColor color) {
            EXPECT_EQ(sender, &Dialog);
            Reported.push_back(color);
        };
    }
};

TEST_F(ColorWindow, ThePlaneTurnsBetweenTwoClicksOnOnePointAndTheRingSetsTheHue)
{
    Form->SetActivePage(TColorSotForm::pgGradient);
    const int w = Form->PaintBox2->Width();
    const int h = Form->PaintBox2->Height();
    ASSERT_GT(w, 0);
    const int x = w / 4;
    const int y = h / 2;
    const int xv = PlaneValue(x, w);
    const int yv = PlaneValue(y, h);
    Form->PaintBox2MouseDown(x, y);
    EXPECT_EQ(Form->GradientMode(), 1);
    EXPECT_EQ(Form->Mixer(), (TRgbValue{yv, 0, xv})) << "the first plane sets blue and red";
    Form->PaintBox2MouseDown(x, y);
    EXPECT_EQ(Form->GradientMode(), 2);
    EXPECT_EQ(Form->Mixer(), (TRgbValue{yv, xv, yv})) << "the second sets green and blue";
    EXPECT_EQ(Reported.size(), 2u);
    EXPECT_EQ(Dialog.Color(), ToColor(Form->Mixer()));

    // A click on the ring sets the hue, and the square picks from it.
    Form->SetActivePage(TColorSotForm::pgRing);
    const TRingGeometry g = RingGeometry(Form->PaintBox1->Width(), Form->PaintBox1->Height());
    Form->PaintBox1MouseDown(g.Radius, g.Radius - (g.Inner + g.Outer) / 2);
    EXPECT_EQ(Form->Mixer(), (TRgbValue{255, 0, 0}));
    EXPECT_TRUE(Form->SquareShown());
    Form->PaintBox1MouseDown(g.SquareTo, g.SquareFrom);
    EXPECT_EQ(Form->Mixer(), (TRgbValue{255, 255, 255}));
    EXPECT_EQ(Form->Label1->Caption(), "R: 255");
    EXPECT_EQ(Reported.back(), clWhite);
}

TEST_F(ColorWindow, HistoryMovesOncePerActivation)
{
    Dialog.SetColor(clRed);
    Form->SetActivePage(TColorSotForm::pgMixer);
    Form->FormActivate();
    Form->ScrollBar3->SetPosition(200);
    EXPECT_EQ(Dialog.GetOldColor(0), clRed) << "the previous colour moved into the history";
    const TColor first = Dialog.Color();
    EXPECT_EQ(first, RGB(255, 0, 200));
    Form->ScrollBar2->SetPosition(10);
    EXPECT_EQ(Dialog.GetOldColor(0), clRed) << "no second move before the next activation";
    Form->FormActivate();
    Form->ScrollBar2->SetPosition(20);
    EXPECT_EQ(Dialog.GetOldColor(0), RGB(255, 10, 200));
    EXPECT_EQ(Dialog.GetOldColor(1), clRed);
    EXPECT_EQ(Dialog.GetOldColor(4), TColor(0));
}

TEST_F(ColorWindow, SwatchesRevertAndCollapseKeepsTheStrip)
{
    Dialog.SetColor(clNavy);
    Dialog.SetOldColor(0, clLime);
    Form->RecentSwatchClick(Form->Panel3);
    EXPECT_EQ(Dialog.Color(), clLime);
    EXPECT_EQ(Dialog.GetOldColor(0), clNavy) << "the swatch takes the committed colour";
    Form->FixedSwatchClick(Form->Panel5);
    EXPECT_EQ(Dialog.Color(), clWhite);
    Form->Panel2DblClick();
    EXPECT_EQ(Dialog.Color(), clLime) << "double click returns to the committed colour";
    EXPECT_EQ(Reported, (std::vector<TColor>{clLime, clWhite, clLime}));

    Form->SpeedButton2Click();
    EXPECT_EQ(Form->Height(), 84);
    EXPECT_FALSE(Form->SpeedButton2->Visible());
    Form->SpeedButton1Click();
    EXPECT_EQ(Form->Height(), 265);
    EXPECT_TRUE(Form->SpeedButton2->Visible());
}

TEST(ColorDialog, EachDialogHasItsWindowAndTheLastIsTheCurrentOne)
{
    TqvSelectColorDlg first(nullptr);
    EXPECT_TRUE(first.Visible());
    TqvSelectColorDlg second(nullptr);
    EXPECT_EQ(ColorSotForm(), second.Form());
    ASSERT_NE(first.Form(), second.Form());
    first.SetColor(clRed);
    EXPECT_EQ(first.Color(), clRed);
    EXPECT_EQ(second.Color(), clBlack);
    EXPECT_EQ(second.Caption(), "Color");
    TColorSotForm* window = first.Form();
    first.Close();
    EXPECT_FALSE(window->Visible());
    delete window; // as the application would at exit
    EXPECT_EQ(first.Color(), clBlack) << "a dialog without its window reads black";
}

TEST(ColorMixerAndSelector, AllSlidersAt100ShowTheDecimalColourAndPureBlueReadsAsHash0000FF)
{
    Qvcolormix::TqvColorMixer mixer(nullptr);
    EXPECT_EQ(mixer.Width(), 345);
    mixer.AColorMScrollBar1->SetPosition(100);
    mixer.AColorMScrollBar2->SetPosition(100);
    mixer.AColorMScrollBar3->SetPosition(100);
    // 100 + 100 * 256 + 100 * 65536
    EXPECT_EQ(mixer.RGBColor(), "6579300");
    EXPECT_EQ(mixer.ActiveColor(), 6579300);
    EXPECT_EQ(mixer.AColorMLabel5->Caption(), "100");
    EXPECT_EQ(mixer.ASamplePanelColor->Color(), TColor(6579300));
    mixer.SetRGBColor("kept");
    EXPECT_EQ(mixer.RGBColor(), "6579300") << "a written value is not shown";

    // The colour selector: pure blue reads as #0000FF.
    Qvcolorselect::TqvColorSelector selector(nullptr);
    // Row 64 of the spectrum is the blue hue, column 23 its pure colour.
    selector.SpectrumMove(23, 64);
    EXPECT_EQ(selector.ASELRGBPANELCOLOR->Color(), clBlue);
    selector.SpectrumDown(mbLeft);
    EXPECT_EQ(selector.ASELHEXLABEL1->Caption(), "#0000FF");
    EXPECT_EQ(selector.ASELRGBLABEL1->Caption(), "16711680");
    EXPECT_EQ(selector.LeftColor(), clBlue);
    EXPECT_EQ(selector.LeftHex(), "#0000FF");
    selector.GridDown(mbRight, 9 * 13 + 2); // the tenth cell: red
    EXPECT_EQ(selector.ASELHEXLABEL2->Caption(), "#FF0000");
    EXPECT_EQ(selector.RightHex(), "") << "grid picks leave the fields";
}
