// TqvGradientBtn: gradient faces, bevel, caption passes, presets, drop-down menu, and
// pressing, clicking, focus and accelerators through real mouse and key events.
#include "gradient/qvgrbtn.h"
#include "vcl/controls/menus.h"
#include "vcl/graphics/bitmap.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

using namespace vcl;
using namespace Qvgrbtn;

namespace {

QRgb Px(const TqvGradientBtn& b, int x, int y)
{
    return b.BackBuffer().pixel(x, y) | 0xFF000000u;
}

bool HasPixel(const TqvGradientBtn& b, QRgb c)
{
    const QImage& img = b.BackBuffer();
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if ((img.pixel(x, y) | 0xFF000000u) == c)
                return true;
    return false;
}

// A button on a form of its own, without bevel or caption unless a test adds them:
// black to red (stored 0x0000FF) across 256 columns, so column x has red x.
class GradientBtn : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form.SetBounds(0, 0, 300, 60);
        Btn.SetParent(&Form);
        Btn.SetBounds(0, 0, 256, 25);
        Btn.SetBtnFrameSize(0);
        Btn.SetGradientStyle(gsHorizontal);
        Btn.SetBeginColor(0x000000);
        Btn.SetEndColor(0x0000FF);
        Btn.OnClick = [this](TObject*) { ++Clicks; };
    }
    bool Show()
    {
        Form.show();
        Form.activateWindow();
        return QTest::qWaitForWindowActive(&Form);
    }
    TWinControl Form{nullptr};
    TqvGradientBtn Btn{nullptr};
    int Clicks = 0;
};

} // namespace

TEST_F(GradientBtn, HorizontalBandsOneColumnEach)
{
    Btn.Repaint();
    // 256 bands over 256 columns: band i is column i, red Muldv(i, 255, 255) = i.
    for (int x : {0, 1, 127, 128, 255})
        EXPECT_EQ(Px(Btn, x, 12), qRgb(x, 0, 0)) << x;
    // Colours are used as stored: clBtnFace (0x8000000F) starts at red 15.
    Btn.SetBeginColor(clBtnFace);
    Btn.Repaint();
    EXPECT_EQ(Px(Btn, 0, 3), qRgb(15, 0, 0));
}

TEST_F(GradientBtn, CentreAndRectangleStylesMeetTheEndColourInTheMiddle)
{
    // 75 x 25, black to red 192: the vertical centre style has h = 12 bands, band k has
    // red Muldv(k, 192, 12) = 16k; row y <= 12 is band y, row y > 12 band 24 - y.
    Btn.SetBounds(0, 0, 75, 25);
    Btn.SetEndColor(0x0000C0);
    Btn.SetGradientStyle(gsVertCenter);
    Btn.Repaint();
    const int rows[][2] = {{0, 0}, {1, 16}, {12, 192}, {13, 176}, {24, 0}};
    for (const auto& [y, red] : rows)
        EXPECT_EQ(Px(Btn, 30, y), qRgb(red, 0, 0)) << y;
    // Horizontal centre: w = 37, column 37 is the last band.
    Btn.SetGradientStyle(gsHorizCenter);
    Btn.Repaint();
    EXPECT_EQ(Px(Btn, 37, 5), qRgb(192, 0, 0));
    EXPECT_EQ(Px(Btn, 0, 5), qRgb(0, 0, 0));
    EXPECT_EQ(Px(Btn, 74, 5), qRgb(0, 0, 0));
    // Rectangle: steps of 37.5 / 255 and 12.5 / 255; the last band's box is
    // x 37.6..39.4, y 12.5..14.5, truncated to (37, 12, 39, 14). The left edge reaches
    // 1 at band 6 (7 steps = 1.03), so column 0 is last covered by band 5: red
    // Muldv(5, 192, 255) = 3.
    Btn.SetGradientStyle(gsRectangle);
    Btn.Repaint();
    EXPECT_EQ(Px(Btn, 37, 12), qRgb(192, 0, 0));
    EXPECT_EQ(Px(Btn, 0, 0), qRgb(3, 0, 0));
}

TEST_F(GradientBtn, PressedFaceSwapsColoursAndBevelUntilRelease)
{
    Btn.SetBtnFrameSize(1);
    Btn.SetBtnHiliteClr(0x00FF00);
    Btn.SetBtnShadowClr(0xFF0000);
    ASSERT_TRUE(Show());
    EXPECT_EQ(Px(Btn, 0, 10), qRgb(0, 255, 0));
    EXPECT_EQ(Px(Btn, 255, 10), qRgb(0, 0, 255));
    QTest::mousePress(&Btn, Qt::LeftButton, {}, QPoint(100, 10));
    EXPECT_TRUE(Btn.Pressed());
    Btn.Update();
    // Bevel reversed; the gradient runs red to black.
    EXPECT_EQ(Px(Btn, 0, 10), qRgb(0, 0, 255));
    EXPECT_EQ(Px(Btn, 255, 10), qRgb(0, 255, 0));
    EXPECT_EQ(Px(Btn, 10, 10), qRgb(245, 0, 0));
    QTest::mouseRelease(&Btn, Qt::LeftButton, {}, QPoint(100, 10));
    Btn.Update();
    EXPECT_FALSE(Btn.Pressed());
    EXPECT_EQ(Px(Btn, 10, 10), qRgb(10, 0, 0));
    EXPECT_EQ(Clicks, 1);
    // The properties never changed.
    EXPECT_EQ(Btn.BeginColor(), TColor(0x000000));
    EXPECT_EQ(Btn.EndColor(), TColor(0x0000FF));
}

TEST_F(GradientBtn, ClearingSwapColorsWhilePressedStillUnswapsOnRelease)
{
    ASSERT_TRUE(Show());
    QTest::mousePress(&Btn, Qt::LeftButton, {}, QPoint(100, 10));
    Btn.SetSwap(false);
    QTest::mouseRelease(&Btn, Qt::LeftButton, {}, QPoint(100, 10));
    Btn.Update();
    EXPECT_EQ(Px(Btn, 10, 10), qRgb(10, 0, 0));
    // From now on a press leaves the colours as they are.
    QTest::mousePress(&Btn, Qt::LeftButton, {}, QPoint(100, 10));
    Btn.Update();
    EXPECT_EQ(Px(Btn, 10, 10), qRgb(10, 0, 0));
    QTest::mouseRelease(&Btn, Qt::LeftButton, {}, QPoint(100, 10));
}

TEST_F(GradientBtn, ReleaseOutsideRightPressAndKeysLeaveColoursAlone)
{
    ASSERT_TRUE(Show());
    QTest::mousePress(&Btn, Qt::LeftButton, {}, QPoint(100, 10));
    QTest::mouseRelease(&Btn, Qt::LeftButton, {}, QPoint(280, 40));
    Btn.Update();
    EXPECT_EQ(Px(Btn, 10, 10), qRgb(10, 0, 0));
    EXPECT_EQ(Clicks, 0);
    QTest::mouseClick(&Btn, Qt::RightButton, {}, QPoint(100, 10));
    Btn.Update();
    EXPECT_FALSE(Btn.Pressed());
    EXPECT_EQ(Px(Btn, 10, 10), qRgb(10, 0, 0));
    EXPECT_EQ(Clicks, 0);
}

TEST_F(GradientBtn, SpaceEnterAndAcceleratorClickTheFocusedButton)
{
    TqvGradientBtn other(nullptr);
    other.SetParent(&Form);
    other.SetBounds(0, 30, 75, 25);
    Btn.SetCaption(QStringLiteral("&Go"));
    ASSERT_TRUE(Show());
    Btn.SetFocus();
    ASSERT_TRUE(Btn.Focused());
    QTest::keyClick(&Btn, Qt::Key_Space);
    QTest::keyClick(&Btn, Qt::Key_Return);
    EXPECT_EQ(Clicks, 2);
    // Tab moves on; the accelerator still reaches the button that lost the focus.
    QTest::keyClick(&Btn, Qt::Key_Tab);
    EXPECT_TRUE(other.Focused());
    QTest::keyClick(&other, Qt::Key_G, Qt::AltModifier);
    EXPECT_EQ(Clicks, 3);
    QTest::keyClick(&other, Qt::Key_X, Qt::AltModifier);
    EXPECT_EQ(Clicks, 3);
    // Disabled or hidden, it takes no accelerator.
    Btn.SetEnabled(false);
    QTest::keyClick(&other, Qt::Key_G, Qt::AltModifier);
    Btn.SetEnabled(true);
    Btn.SetVisible(false);
    QTest::keyClick(&other, Qt::Key_G, Qt::AltModifier);
    EXPECT_EQ(Clicks, 3);
}

TEST_F(GradientBtn, FocusRectangleShowsOnlyWithFocusAndShowFocus)
{
    TqvGradientBtn other(nullptr);
    other.SetParent(&Form);
    other.SetBounds(0, 30, 75, 25);
    Btn.SetEndColor(0x000000);
    ASSERT_TRUE(Show());
    Btn.SetFocus();
    Btn.Repaint();
    // The focus rectangle (2, 2, W - 2, H - 2) inverts every other pixel from its corner.
    EXPECT_EQ(Px(Btn, 2, 2), qRgb(255, 255, 255));
    EXPECT_EQ(Px(Btn, 3, 2), qRgb(0, 0, 0));
    EXPECT_EQ(Px(Btn, 253, 21), qRgb(255, 255, 255));
    Btn.SetShowFocus(false);
    Btn.Repaint();
    EXPECT_EQ(Px(Btn, 2, 2), qRgb(0, 0, 0));
    Btn.SetShowFocus(true);
    other.SetFocus();
    Btn.Update();
    EXPECT_EQ(Px(Btn, 2, 2), qRgb(0, 0, 0));
}

TEST_F(GradientBtn, DisabledCaptionIsInsetInDisabledColour)
{
    Btn.SetBeginColor(0xFFFFFF);
    Btn.SetEndColor(0xFFFFFF);
    Btn.SetCaption(QStringLiteral("MMMM"));
    Btn.SetTxtHiliteClr(0x00FF00);
    Btn.SetTxtShadowClr(0x0000FF);
    Btn.SetDisabledColor(0xFF0000);
    Btn.SetTextStyle(tsNormal);
    Btn.Repaint();
    EXPECT_TRUE(HasPixel(Btn, qRgb(0, 0, 0)));
    EXPECT_FALSE(HasPixel(Btn, qRgb(0, 0, 255)));
    EXPECT_FALSE(HasPixel(Btn, qRgb(0, 255, 0)));
    Btn.SetEnabled(false);
    Btn.Repaint();
    // Inset whatever TextStyle says: highlight below right, then DisabledColor.
    EXPECT_TRUE(HasPixel(Btn, qRgb(0, 0, 255)));
    EXPECT_TRUE(HasPixel(Btn, qRgb(0, 255, 0)));
    EXPECT_FALSE(HasPixel(Btn, qRgb(0, 0, 0)));
    EXPECT_FALSE(HasPixel(Btn, qRgb(255, 0, 0))); // light shade: no shadow pass
}

TEST(GradientBtnCaption, DisplayCaptionDropsAcceleratorMarks)
{
    const std::pair<const char*, const char*> cases[] = {
        {"&File", "File"}, {"a&&b", "a&b"}, {"A&&B&C", "A&BC"}, {"x&", "x&"}, {"&&&x", "&x"}, {"", ""}};
    TqvGradientBtn b(nullptr);
    for (const auto& [caption, shown] : cases) {
        b.SetCaption(QString::fromLatin1(caption));
        EXPECT_EQ(b.DisplayCaption(), QString::fromLatin1(shown)) << caption;
    }
}

TEST(GradientBtnProperties, FrameSizeLimitAndPresetsOnlyWhileDesigning)
{
    TqvGradientBtn b(nullptr);
    EXPECT_TRUE(b.TabStop());
    // 75 x 25: at most 25 div 2 - 5 = 7.
    b.SetBtnFrameSize(20);
    EXPECT_EQ(b.BtnFrameSize(), 1);
    b.SetBtnFrameSize(7);
    EXPECT_EQ(b.BtnFrameSize(), 7);
    b.SetBtnFrameSize(8);
    EXPECT_EQ(b.BtnFrameSize(), 7);
    b.SetPreset(GoldCoast);
    EXPECT_EQ(b.Presets(), None);
    EXPECT_EQ(b.BeginColor(), clNavy);
    b.SetDesigning(true);
    b.SetPreset(GoldCoast);
    EXPECT_EQ(b.Presets(), GoldCoast);
    EXPECT_EQ(b.BeginColor(), TColor(0x00FFFF));
    EXPECT_EQ(b.GradientStyle(), gsVertical);
    EXPECT_EQ(b.Font()->Name(), QStringLiteral("Arial"));
    EXPECT_TRUE(b.SwapColors());
    b.SetPreset(BrassedOff);
    EXPECT_FALSE(b.SwapColors());
    EXPECT_EQ(b.TextStyle(), tsNormal);
    b.SetPreset(TPreset(6));
    EXPECT_EQ(b.Presets(), BrassedOff);
}

TEST_F(GradientBtn, DropDownMenuPopsUpAtBottomLeftAndItsMarkGoesWithIt)
{
    Btn.SetBounds(10, 5, 75, 25);
    Btn.SetBeginColor(0xFFFFFF);
    Btn.SetEndColor(0xFFFFFF);
    auto* menu = new TPopupMenu(nullptr);
    Btn.SetDropdownMenu(menu);
    Btn.Repaint();
    // The mark: a black triangle from x 61 to 66 on row (25 - 4) div 2 = 10.
    EXPECT_EQ(Px(Btn, 61, 10), qRgb(0, 0, 0));
    EXPECT_EQ(Px(Btn, 64, 12), qRgb(0, 0, 0));
    EXPECT_EQ(Px(Btn, 61, 12), qRgb(255, 255, 255));
    ASSERT_TRUE(Show());
    TPoint shownAt{-1, -1};
    bool pressedWhileShown = false;
    TPopupMenu::SetResponder([&](TPopupMenu* m, int x, int y) -> TMenuItem* {
        EXPECT_EQ(m, menu);
        EXPECT_EQ(m->PopupComponent(), &Btn);
        pressedWhileShown = Btn.Pressed();
        shownAt = Point(x, y);
        return nullptr;
    });
    QTest::mousePress(&Btn, Qt::LeftButton, {}, QPoint(20, 10));
    TPopupMenu::SetResponder({});
    EXPECT_EQ(shownAt, Btn.ClientToScreen(Point(0, 25)));
    EXPECT_TRUE(pressedWhileShown);
    EXPECT_FALSE(Btn.Pressed());
    EXPECT_FALSE(Btn.ControlState().testFlag(csLButtonDown));
    QTest::mouseRelease(&Btn, Qt::LeftButton, {}, QPoint(20, 10));
    delete menu;
    EXPECT_EQ(Btn.DropdownMenu(), nullptr);
    Btn.Repaint();
    EXPECT_EQ(Px(Btn, 64, 12), qRgb(255, 255, 255));
}
