// The cool-look family: the line ramp and layouts of the gradient button, the label's
// outline passes and mouse-over look, the image button's pictures, the wallpaper's
// tiles, and the free helpers, through real mouse and key events where they react.
#include "gradient/coolpckbutton.h"
#include "gradient/coolpckgradbtn.h"
#include "gradient/coolpcklabel.h"
#include "gradient/coolpckwallpaper.h"
#include "vcl/controls/menus.h"
#include "vcl/graphics/bitmap.h"
#include "vcl/streaming/classregistry.h"
#include "vcl/streaming/formfile.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace vcl;
using namespace Coolpck;

namespace {

QRgb Px(const TControl& c, int x, int y)
{
    return c.BackBuffer().pixel(x, y) | 0xFF000000u;
}

QRgb Resolved(TColor c)
{
    return RgbToQRgb(ColorToRGB(c)) | 0xFF000000u;
}

// A bitmap of one colour with one pixel of another.
std::unique_ptr<TBitmap> Picture(int W, int H, TColor Fill, int X, int Y, TColor Dot)
{
    auto b = std::make_unique<TBitmap>();
    b->SetSize(W, H);
    b->Canvas()->Brush()->SetColor(Fill);
    b->Canvas()->FillRect(Rect(0, 0, W, H));
    if (W > 0 && H > 0)
        b->Canvas()->SetPixels(X, Y, Dot);
    return b;
}

// A shown top-level control that the tests put their controls on.
class OnForm : public ::testing::Test {
protected:
    void SetUp() override { Form.SetBounds(0, 0, 300, 200); }
    bool Show()
    {
        Form.show();
        Form.activateWindow();
        return QTest::qWaitForWindowActive(&Form);
    }
    TWinControl Form{nullptr};
};

} // namespace

// ---------------------------------------------------------------------------
// TqvCoolGradientButton

TEST(CoolGradientButton, HundredPixelRampHitsTheEvenTie)
{
    TqvCoolGradientButton b(nullptr);
    b.SetBounds(0, 0, 100, 10);
    b.SetSColor(clBlack);
    b.SetEColor(clWhite);
    b.Setbevel(0);
    b.Repaint();
    // Worked by hand: channel = round(255 / 100 * x), 2.55 * 50 = 127.5 -> 128 (even),
    // 2.55 * 1 = 2.55 -> 3, 2.55 * 99 = 252.45 -> 252.
    const int cases[][2] = {{0, 0}, {1, 3}, {50, 128}, {99, 252}};
    for (const auto& [x, v] : cases)
        EXPECT_EQ(Px(b, x, 5), qRgb(v, v, v)) << x;
    // Falling ramp: 255 - 128; vertical ramp: the same by rows.
    b.SetSColor(clWhite);
    b.SetEColor(clBlack);
    b.Repaint();
    EXPECT_EQ(Px(b, 50, 5), qRgb(127, 127, 127));
    b.SetBounds(0, 0, 10, 100);
    b.Setvertical(true);
    b.Repaint();
    EXPECT_EQ(Px(b, 5, 50), qRgb(127, 127, 127));
    EXPECT_EQ(Px(b, 5, 1), qRgb(252, 252, 252));
}

TEST(CoolGradientButton, CaptionWithoutGlyphSitsBySpacingFromTheFarEdge)
{
    struct Case {
        TButtonLayout Layout;
        bool FromRight;
    };
    for (const Case& c : {Case{blGlyphLeft, true}, Case{blGlyphRight, false}}) {
        SCOPED_TRACE(int(c.Layout));
        TqvCoolGradientButton b(nullptr);
        b.SetBounds(0, 0, 100, 30);
        b.SetSColor(clWhite);
        b.SetEColor(clWhite);
        b.Setbevel(0);
        b.SetSpacing(3);
        b.SetLayout(c.Layout);
        b.SetCaption(QStringLiteral("Ab"));
        b.Repaint();
        // The expected face: the caption typed at x = W - tw - Spacing (glyph left) or
        // x = Spacing (glyph right), y = H div 2 - th div 2, on white.
        TBitmap expected;
        expected.SetSize(100, 30);
        TCanvas* canvas = expected.Canvas();
        canvas->Brush()->SetColor(clWhite);
        canvas->FillRect(Rect(0, 0, 100, 30));
        canvas->SetFont(b.Font());
        const int tw = canvas->TextWidth(QStringLiteral("Ab"));
        const int th = canvas->TextHeight(QStringLiteral("Ab"));
        canvas->Brush()->SetStyle(bsClear);
        canvas->TextOut(c.FromRight ? 100 - tw - 3 : 3, 15 - th / 2, QStringLiteral("Ab"));
        EXPECT_EQ(b.BackBuffer().convertToFormat(QImage::Format_RGB32), expected.ToQImage().convertToFormat(QImage::Format_RGB32));
    }
}

TEST(CoolGradientButton, SixteenPixelGlyphOnTopStartsAtTwentyNine)
{
    TqvCoolGradientButton b(nullptr);
    b.SetBounds(0, 0, 75, 40);
    b.SetSColor(clWhite);
    b.SetEColor(clWhite);
    b.Setbevel(0);
    // Blue with a white bottom-left pixel, whose colour is the glyph's transparent one.
    auto glyph = Picture(16, 16, clBlue, 0, 15, clWhite);
    b.SetGlyph(glyph.get());
    EXPECT_EQ(b.GlyphWidth(), 16);
    b.Repaint();
    // 75 div 2 - 16 div 2 = 29: columns 29..44 are the glyph's.
    int row = -1;
    for (int y = 0; y < 40 && row < 0; ++y)
        if (Px(b, 35, y) == qRgb(0, 0, 255))
            row = y;
    ASSERT_GE(row, 0);
    EXPECT_EQ(Px(b, 28, row), qRgb(255, 255, 255));
    EXPECT_EQ(Px(b, 29, row), qRgb(0, 0, 255));
    EXPECT_EQ(Px(b, 44, row), qRgb(0, 0, 255));
    EXPECT_EQ(Px(b, 45, row), qRgb(255, 255, 255));
    // The transparent corner shows the ramp.
    EXPECT_EQ(Px(b, 29, row + 15), qRgb(255, 255, 255));
    // An empty glyph has no width.
    TBitmap empty;
    b.SetGlyph(&empty);
    EXPECT_EQ(b.GlyphWidth(), 0);
}

TEST_F(OnForm, GradientButtonPressedFaceAndHotTracking)
{
    TqvCoolGradientButton b(nullptr);
    b.SetParent(&Form);
    b.SetBounds(10, 10, 40, 30);
    b.SetSColor(clBlack);
    b.SetEColor(clBlack);
    int clicks = 0;
    b.OnClick = [&](TObject*) { ++clicks; };
    ASSERT_TRUE(Show());
    b.Repaint();
    // Raised: light outer-inner line left and top, dark shadow outermost right.
    EXPECT_EQ(Px(b, 0, 10), Resolved(clBtnHighlight));
    EXPECT_EQ(Px(b, 39, 10), Resolved(cl3DDkShadow));
    EXPECT_EQ(Px(b, 38, 10), Resolved(clBtnShadow));
    QTest::mousePress(&b, Qt::LeftButton, {}, QPoint(20, 15));
    EXPECT_TRUE(b.Pressed());
    // Sunken: dark shadow left, highlight right, shadow inside on the left.
    EXPECT_EQ(Px(b, 0, 10), Resolved(cl3DDkShadow));
    EXPECT_EQ(Px(b, 39, 10), Resolved(clBtnHighlight));
    EXPECT_EQ(Px(b, 1, 10), Resolved(clBtnShadow));
    QTest::mouseRelease(&b, Qt::LeftButton, {}, QPoint(20, 15));
    EXPECT_FALSE(b.Pressed());
    EXPECT_EQ(Px(b, 0, 10), Resolved(clBtnHighlight));
    EXPECT_EQ(clicks, 1);

    // Flat: a frame only under the mouse. Ramp black to white over 40 columns: column
    // 10 is round(255 / 40 * 10) = round(63.75) = 64; the hot frame's bottom is white.
    b.SetEColor(clWhite);
    b.SetFlat(true);
    TqvCoolGradientButton away(nullptr);
    away.SetParent(&Form);
    away.SetBounds(100, 10, 40, 30);
    b.Repaint();
    EXPECT_FALSE(b.Hot());
    EXPECT_EQ(Px(b, 10, 29), qRgb(64, 64, 64));
    int enters = 0, leaves = 0;
    b.OnMouseEnter = [&](TObject*) { ++enters; };
    b.OnMouseLeave = [&](TObject*) { ++leaves; };
    QTest::mouseMove(&away, QPoint(5, 5));
    QTest::mouseMove(&b, QPoint(20, 15));
    EXPECT_TRUE(b.Hot());
    EXPECT_EQ(Px(b, 10, 29), qRgb(255, 255, 255));
    QTest::mouseMove(&away, QPoint(5, 5));
    EXPECT_FALSE(b.Hot());
    EXPECT_EQ(Px(b, 10, 29), qRgb(64, 64, 64));
    EXPECT_EQ(enters, 1);
    EXPECT_EQ(leaves, 1);
}

TEST_F(OnForm, GradientButtonMenuPopsUpAtBottomLeft)
{
    TqvCoolGradientButton b(nullptr);
    b.SetParent(&Form);
    b.SetBounds(30, 20, 60, 25);
    TPopupMenu menu(nullptr);
    b.SetPopup(&menu);
    ASSERT_TRUE(Show());
    TPoint at{-1, -1};
    TPopupMenu::SetResponder([&](TPopupMenu* m, int x, int y) -> TMenuItem* {
        EXPECT_EQ(m->PopupComponent(), &b);
        EXPECT_FALSE(b.Pressed());
        at = Point(x, y);
        return nullptr;
    });
    QTest::mousePress(&b, Qt::LeftButton, {}, QPoint(10, 10));
    TPopupMenu::SetResponder({});
    QTest::mouseRelease(&b, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(at, b.ClientToScreen(Point(0, 25)));
    // A window caption opens no menu.
    at = Point(-1, -1);
    b.SetWindowCaption(true);
    TPopupMenu::SetResponder([&](TPopupMenu*, int x, int y) -> TMenuItem* {
        at = Point(x, y);
        return nullptr;
    });
    QTest::mouseClick(&b, Qt::LeftButton, {}, QPoint(10, 10));
    TPopupMenu::SetResponder({});
    EXPECT_EQ(at, Point(-1, -1));
}

TEST_F(OnForm, GroupingLeavesExactlyOneButtonDown)
{
    TWinControl otherParent(nullptr);
    TqvCoolGradientButton a(nullptr), b(nullptr), c(nullptr), d(nullptr), elsewhere(nullptr);
    for (TqvCoolGradientButton* x : {&a, &b, &c, &d})
        x->SetParent(&Form);
    elsewhere.SetParent(&otherParent);
    for (TqvCoolGradientButton* x : {&a, &b, &c, &elsewhere})
        x->SetGroupIndex(1);
    d.SetGroupIndex(2);
    auto downs = [&] { return std::vector<bool>{a.Down(), b.Down(), c.Down(), d.Down(), elsewhere.Down()}; };
    elsewhere.SetDown(true);
    d.SetDown(true);
    a.SetDown(true);
    b.SetDown(true);
    EXPECT_EQ(downs(), (std::vector<bool>{false, true, false, true, true}));
    // Clicking changes nothing.
    ASSERT_TRUE(Show());
    QTest::mouseClick(&c, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(downs(), (std::vector<bool>{false, true, false, true, true}));
    // A down button joining the group puts the group's down button up.
    d.SetGroupIndex(1);
    EXPECT_EQ(downs(), (std::vector<bool>{false, false, false, true, true}));
    // Group 0: setting Down does nothing; leaving a group puts the button up.
    d.SetGroupIndex(0);
    EXPECT_FALSE(d.Down());
    d.SetDown(true);
    EXPECT_FALSE(d.Down());
    a.SetAllUp(true);
    EXPECT_TRUE(b.AllowAllUp());
    EXPECT_TRUE(elsewhere.AllowAllUp() == false);
}

TEST_F(OnForm, GradientButtonAcceleratorPressesAndClicks)
{
    TCustomControl edit(nullptr);
    edit.SetParent(&Form);
    edit.SetBounds(0, 100, 50, 20);
    edit.SetTabStop(true);
    TqvCoolGradientButton b(nullptr);
    b.SetParent(&Form);
    b.SetCaption(QStringLiteral("&Bold"));
    int clicks = 0, downs = 0, ups = 0;
    b.OnClick = [&](TObject*) { ++clicks; };
    b.OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++downs; };
    b.OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) { ++ups; };
    ASSERT_TRUE(Show());
    edit.SetFocus();
    QTest::keyClick(&edit, Qt::Key_B, Qt::AltModifier);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(ups, 1);
    EXPECT_FALSE(b.Pressed());
    QTest::keyClick(&edit, Qt::Key_O, Qt::AltModifier);
    EXPECT_EQ(clicks, 1);
    b.SetVisible(false);
    QTest::keyClick(&edit, Qt::Key_B, Qt::AltModifier);
    EXPECT_EQ(clicks, 1);
}

// ---------------------------------------------------------------------------
// TqvCoolLabel

TEST(CoolLabel, BorderWidthTwoDrawsSixteenDiagonalPasses)
{
    auto make = [](int border) {
        auto l = std::make_unique<TqvCoolLabel>(nullptr);
        l->SetAutoSize(false);
        l->SetBounds(0, 0, 60, 40);
        l->SetAlignment(taCenter);
        l->SetColor(clWhite);
        l->Font()->SetColor(clBlack);
        l->SetCaption(QStringLiteral("I."));
        l->SetBorderWidth(border);
        l->SetBorderColor(clRed);
        l->Repaint();
        return l;
    };
    const auto plain = make(0);
    const auto outlined = make(2);
    const QImage glyph = plain->BackBuffer();
    auto ink = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < 60 && y < 40 && (glyph.pixel(x, y) | 0xFF000000u) == qRgb(0, 0, 0);
    };
    // Expected: the caption in black, over it nothing; around it red wherever the
    // caption moved by (+-i, +-j), i and j in 1..2, has ink; white elsewhere.
    int red = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x) {
            bool outline = false;
            for (int i : {-2, -1, 1, 2})
                for (int j : {-2, -1, 1, 2})
                    outline = outline || ink(x - i, y - j);
            const QRgb want = ink(x, y) ? qRgb(0, 0, 0) : outline ? qRgb(255, 0, 0) : qRgb(255, 255, 255);
            ASSERT_EQ(Px(*outlined, x, y), want) << x << "," << y;
            red += want == qRgb(255, 0, 0);
        }
    EXPECT_GT(red, 0);
}

TEST(CoolLabel, DisabledCaptionIsGrayTextWithoutEffects)
{
    TqvCoolLabel l(nullptr);
    l.SetAutoSize(false);
    l.SetBounds(0, 0, 60, 40);
    l.SetColor(clWhite);
    l.SetCaption(QStringLiteral("M"));
    l.SetBorderWidth(1);
    l.SetBorderColor(clRed);
    l.SetEnabled(false);
    l.Repaint();
    bool gray = false, other = false;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x) {
            const QRgb p = Px(l, x, y);
            gray = gray || p == Resolved(clGrayText);
            other = other || (p != Resolved(clGrayText) && p != qRgb(255, 255, 255));
        }
    EXPECT_TRUE(gray);
    EXPECT_FALSE(other);
}

TEST_F(OnForm, CoolLabelEnterAndLeaveRestoreItsValuesExactly)
{
    TqvCoolLabel l(nullptr);
    l.SetParent(&Form);
    l.SetAutoSize(false);
    l.SetBounds(10, 10, 100, 40);
    l.SetTextStyle(taShadow);
    l.SetBorderWidth(0);
    l.SetBorderColor(0x123456);
    l.SetShadowWidth(3);
    l.SetShadowColor(0x654321);
    l.SetOnMouseTextStyle(tsRaised);
    l.SetOnMouseBorderWidth(2);
    l.SetOnMouseBorderColor(clRed);
    l.SetOnMouseShadowWidth(5);
    l.SetOnMouseShadowColor(clBlue);
    const TqvCoolLabel::TLook before = l.CurrentLook();
    TGraphicControl away(nullptr);
    away.SetParent(&Form);
    away.SetBounds(200, 10, 50, 50);
    int enters = 0, leaves = 0;
    l.OnMouseEnter = [&](TObject*) { ++enters; };
    l.OnMouseLeave = [&](TObject*) { ++leaves; };
    ASSERT_TRUE(Show());
    for (int round = 0; round < 2; ++round) {
        QTest::mouseMove(&Form, QPoint(20, 20));
        EXPECT_TRUE(l.MouseInside());
        EXPECT_EQ(l.CurrentLook(), (TqvCoolLabel::TLook{tsRaised, clRed, 2, 5, clBlue}));
        EXPECT_EQ(l.TextStyle(), taShadow);
        QTest::mouseMove(&Form, QPoint(220, 20));
        EXPECT_FALSE(l.MouseInside());
        EXPECT_EQ(l.CurrentLook(), before);
    }
    EXPECT_EQ(enters, 2);
    EXPECT_EQ(leaves, 2);
    EXPECT_EQ(l.BorderColor(), TColor(0x123456));
    EXPECT_EQ(l.ShadowWidth(), 3);
    // Widths of 10 and more are refused, except the normal border's.
    l.SetShadowWidth(10);
    l.SetOnMouseBorderWidth(12);
    l.SetBorderWidth(12);
    EXPECT_EQ(l.ShadowWidth(), 3);
    EXPECT_EQ(l.OnMouseBorderWidth(), 2);
    EXPECT_EQ(l.BorderWidth(), 12);
    l.SetBorderWidth(256);
    l.SetBorderWidth(-1);
    EXPECT_EQ(l.BorderWidth(), 12);
}

TEST_F(OnForm, CoolLabelPaintOnClickShowsTheNormalLookWhileHeld)
{
    TqvCoolLabel l(nullptr);
    l.SetParent(&Form);
    l.SetAutoSize(false);
    l.SetBounds(10, 10, 100, 40);
    l.SetOnMouseBorderWidth(2);
    l.SetPaintOnClick(true);
    ASSERT_TRUE(Show());
    QTest::mouseMove(&Form, QPoint(20, 20));
    ASSERT_TRUE(l.MouseInside());
    EXPECT_EQ(l.CurrentLook().BorderWidth, 2);
    QTest::mousePress(&l, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(l.CurrentLook().BorderWidth, 0);
    QTest::mouseRelease(&l, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(l.CurrentLook().BorderWidth, 2);
    // Without PaintOnClick a press keeps the mouse-over look.
    l.SetPaintOnClick(false);
    QTest::mousePress(&l, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(l.CurrentLook().BorderWidth, 2);
    QTest::mouseRelease(&l, Qt::LeftButton, {}, QPoint(10, 10));
}

// ---------------------------------------------------------------------------
// TqvCoolButton

TEST_F(OnForm, CoolButtonUsesItsUpPictureForEveryStateLeftEmpty)
{
    TqvCoolButton b(nullptr);
    b.SetParent(&Form);
    b.SetBounds(10, 10, 50, 50);
    auto up = Picture(50, 50, clRed, 0, 0, clRed);
    b.SetUpImage(up.get());
    ASSERT_TRUE(Show());
    b.Repaint();
    EXPECT_EQ(Px(b, 25, 25), qRgb(255, 0, 0));
    QTest::mouseMove(&b, QPoint(25, 25));
    EXPECT_TRUE(b.MouseOver());
    EXPECT_EQ(Px(b, 25, 25), qRgb(255, 0, 0));
    QTest::mousePress(&b, Qt::LeftButton, {}, QPoint(25, 25));
    EXPECT_TRUE(b.Pressed());
    EXPECT_EQ(Px(b, 25, 25), qRgb(255, 0, 0));
    QTest::mouseRelease(&b, Qt::LeftButton, {}, QPoint(25, 25));
    b.SetEnabled(false);
    b.Repaint();
    EXPECT_EQ(Px(b, 25, 25), qRgb(255, 0, 0));
    // A down picture of its own shows while pressed.
    b.SetEnabled(true);
    auto down = Picture(50, 50, clBlue, 0, 0, clBlue);
    b.SetDownImage(down.get());
    QTest::mousePress(&b, Qt::LeftButton, {}, QPoint(25, 25));
    EXPECT_EQ(Px(b, 25, 25), qRgb(0, 0, 255));
    QTest::mouseRelease(&b, Qt::LeftButton, {}, QPoint(25, 25));
    EXPECT_EQ(Px(b, 25, 25), qRgb(255, 0, 0));
    // No up picture: plain button face.
    TqvCoolButton bare(nullptr);
    bare.Repaint();
    EXPECT_EQ(Px(bare, 25, 25), Resolved(clBtnFace));
}

// ---------------------------------------------------------------------------
// TqvCoolWallpaper

TEST(CoolWallpaper, TilesClipTheLastRowAndColumnAndAFlatPicturePaintsNothing)
{
    TqvCoolWallpaper w(nullptr);
    w.SetAlign(alNone);
    w.SetBounds(0, 0, 100, 50);
    // 30 x 20, blue with a red top-left pixel marking each tile's origin.
    auto tile = Picture(30, 20, clBlue, 0, 0, clRed);
    w.SetImage(tile.get());
    EXPECT_EQ(w.TransColor(), clBlue);
    w.Repaint();
    // Four columns at 0, 30, 60, 90 (the last 10 wide) and three rows at 0, 20, 40
    // (the last 10 high).
    for (int x : {0, 30, 60, 90})
        for (int y : {0, 20, 40})
            EXPECT_EQ(Px(w, x, y), qRgb(255, 0, 0)) << x << "," << y;
    EXPECT_EQ(Px(w, 99, 49), qRgb(0, 0, 255));
    EXPECT_EQ(Px(w, 91, 41), qRgb(0, 0, 255));
    // A picture without height, or none, paints nothing and returns.
    auto flat = Picture(30, 0, clBlue, 0, 0, clRed);
    w.SetImage(flat.get());
    w.Repaint();
    EXPECT_EQ(qAlpha(w.BackBuffer().pixel(5, 5)), 0);
    w.SetImage(nullptr);
    EXPECT_TRUE(w.Image()->Empty());
    w.Repaint();
    EXPECT_EQ(qAlpha(w.BackBuffer().pixel(5, 5)), 0);
}

TEST(CoolWallpaper, StoredBoundsOutliveTheDefaultClientAlignmentWhenRead)
{
    RegisterClass(ClassOf<TqvCoolWallpaper>());
    TWinControl root(nullptr);
    root.SetBounds(0, 0, 300, 200);
    // A wallpaper aligns to its parent's client area unless stored otherwise; the
    // bounds come before Align in the file.
    TextToComponent(QStringLiteral("object Root: TWinControl\n"
                                   "  object Paper: TqvCoolWallpaper\n"
                                   "    Left = 8\n    Top = 140\n    Width = 160\n    Height = 50\n"
                                   "    Align = alNone\n  end\n"
                                   "  object Full: TqvCoolWallpaper\n"
                                   "    Left = 8\n    Top = 140\n  end\n"
                                   "end\n"),
        &root);
    auto* paper = dynamic_cast<TqvCoolWallpaper*>(root.FindComponent(QStringLiteral("Paper")));
    auto* full = dynamic_cast<TqvCoolWallpaper*>(root.FindComponent(QStringLiteral("Full")));
    ASSERT_NE(paper, nullptr);
    ASSERT_NE(full, nullptr);
    EXPECT_EQ(paper->BoundsRect(), Rect(8, 140, 168, 190));
    EXPECT_EQ(full->BoundsRect(), Rect(0, 0, 300, 200));
}

// ---------------------------------------------------------------------------
// Free helpers

TEST(CoolHelpers, GrayedBitmapMapsChannelSumsToFourTonesUpToTenThousandPixels)
{
    const TColor light = RGB(1, 2, 3), dark = RGB(4, 5, 6);
    // Pixel x of row 0: the background (top-left) and sums at each threshold.
    const TColor in[] = {RGB(10, 10, 10), RGB(255, 255, 41), RGB(255, 255, 40), RGB(251, 0, 0), RGB(250, 0, 0),
        RGB(61, 0, 0), RGB(60, 0, 0), RGB(10, 10, 10)};
    const TColor out[] = {RGB(10, 10, 10), clWhite, light, light, dark, dark, clBlack, RGB(10, 10, 10)};
    TBitmap b;
    b.SetSize(8, 1);
    for (int x = 0; x < 8; ++x)
        b.Canvas()->SetPixels(x, 0, in[x]);
    mygrayedbmp(&b, light, dark);
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(b.Canvas()->Pixels(x, 0), out[x]) << x;
    // Pictures over ten thousand pixels are left alone.
    for (const auto& [w, changed] : {std::pair{100, true}, std::pair{101, false}}) {
        auto b = Picture(w, 100, clWhite, 5, 5, RGB(100, 0, 0));
        mygrayedbmp(b.get(), clBlue, clRed);
        EXPECT_EQ(b->Canvas()->Pixels(5, 5) == clRed, changed) << w;
    }
}

TEST(CoolHelpers, RectangleVariantsDrawPartOfTheBitmapLeavingTheKeyOut)
{
    // Source 4 x 4: red, (1, 1) white (the key), the right half green.
    TBitmap src;
    src.SetSize(4, 4);
    src.Canvas()->Brush()->SetColor(clRed);
    src.Canvas()->FillRect(Rect(0, 0, 2, 4));
    src.Canvas()->Brush()->SetColor(clLime);
    src.Canvas()->FillRect(Rect(2, 0, 4, 4));
    src.Canvas()->SetPixels(1, 1, clWhite);
    TBitmap dst;
    dst.SetSize(10, 10);
    dst.Canvas()->Brush()->SetColor(clBlack);
    dst.Canvas()->FillRect(Rect(0, 0, 10, 10));
    DrawBitmapRectTransparent(dst.Canvas(), 5, 5, Rect(0, 0, 2, 2), &src, clWhite);
    EXPECT_EQ(dst.Canvas()->Pixels(5, 5), clRed);
    EXPECT_EQ(dst.Canvas()->Pixels(6, 6), clBlack);
    EXPECT_EQ(dst.Canvas()->Pixels(7, 5), clBlack);
    // Stretched twice: source (1, 1) covers (2..3, 2..3) of the 4 x 4 target.
    StretchBitmapRectTransparent(dst.Canvas(), 0, 0, 4, 4, Rect(0, 0, 2, 2), &src, clWhite);
    EXPECT_EQ(dst.Canvas()->Pixels(1, 1), clRed);
    EXPECT_EQ(dst.Canvas()->Pixels(2, 2), clBlack);
    EXPECT_EQ(dst.Canvas()->Pixels(3, 3), clBlack);
    EXPECT_EQ(dst.Canvas()->Pixels(3, 1), clRed);
}

TEST(CoolPictures, StoredAsBmpBytesRoundTripAndBadBytesLoseNothing)
{
    TStreamedBitmap glyph;
    glyph.LoadFromResourceName(QStringLiteral("COOLSTAR"));
    ASSERT_EQ(glyph.Width(), 16);
    // Magenta, the bottom-left pixel, is the glyph's see-through colour.
    EXPECT_EQ(glyph.TransparentColor(), clFuchsia);
    const QByteArray bytes = glyph.Data();
    ASSERT_TRUE(bytes.startsWith("BM"));
    TStreamedBitmap copy;
    copy.SetData(bytes);
    EXPECT_EQ(copy.ToQImage(), glyph.ToQImage());
    // Bytes that are no picture raise and leave the picture as it was.
    EXPECT_THROW(copy.SetData(QByteArray("not a bitmap")), EInvalidGraphic);
    EXPECT_EQ(copy.ToQImage(), glyph.ToQImage());
    QByteArray cut = bytes.left(60);
    EXPECT_THROW(copy.SetData(cut), EInvalidGraphic);
    EXPECT_EQ(copy.Width(), 16);
    copy.SetData({});
    EXPECT_TRUE(copy.Empty());
    EXPECT_TRUE(copy.Data().isEmpty());
}
