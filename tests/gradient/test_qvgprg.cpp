// TqvGradientProgress: blocks, ramp colours, frame and repaint rules on the back buffer.
#include "gradient/qvgprg.h"
#include "vcl/controls/dialogs.h"
#include "vcl/graphics/canvas.h"

#include <QImage>
#include <gtest/gtest.h>

using namespace vcl;
using Qvgprg::TqvGradientProgress;

namespace {

QRgb Px(const TqvGradientProgress& p, int x, int y)
{
    return p.BackBuffer().pixel(x, y) | 0xFF000000u;
}

const QRgb Face = qRgb(192, 192, 192); // the classic button face behind the blocks

// A bar with a ramp from black to (140, 70, 28): over n - 1 = 14 steps each block
// adds (10, 5, 2), so block colours are easy to work out.
class GradientProgress : public ::testing::Test {
protected:
    void SetUp() override
    {
        Bar.SetColor(RGB(0, 0, 0));
        Bar.SetColorEnd(RGB(140, 70, 28));
        Bar.SetFrameColor1(RGB(1, 1, 1));
        Bar.SetFrameColor2(RGB(2, 2, 2));
    }
    // True when block i (gaps on) shows its ramp colour.
    bool BlockShown(int i) const
    {
        const int x = i == 0 ? 4 : 10 * i + 5;
        return Px(Bar, x, 8) == qRgb(10 * i, 5 * i, 2 * i);
    }
    int BlocksShown() const
    {
        int count = 0;
        for (int i = 0; i < 15; ++i)
            count += BlockShown(i);
        return count;
    }
    TqvGradientProgress Bar{nullptr};
};

} // namespace

TEST_F(GradientProgress, Defaults)
{
    TqvGradientProgress p(nullptr);
    EXPECT_EQ(p.Width(), 150);
    EXPECT_EQ(p.Height(), 16);
    EXPECT_EQ(p.Min(), 0);
    EXPECT_EQ(p.Max(), 100);
    EXPECT_EQ(p.Step(), 10);
    EXPECT_EQ(p.Color(), clHighlight);
    EXPECT_EQ(p.ColorEnd(), clBtnFace);
}

TEST_F(GradientProgress, PositionFiftyDrawsBlocksZeroToSeven)
{
    Bar.SetPosition(50);
    Bar.Repaint();
    // c = (50*150 - 4) div 100 div 10 = 7.
    EXPECT_EQ(Bar.LastBlock(), 7);
    for (int i = 0; i <= 7; ++i)
        EXPECT_TRUE(BlockShown(i)) << i;
    EXPECT_EQ(Px(Bar, 85, 8), Face);
    // Block 0 spans x 2..9, block 1 x 12..19: the gap between shows the background.
    EXPECT_EQ(Px(Bar, 2, 2), qRgb(0, 0, 0));
    EXPECT_EQ(Px(Bar, 10, 8), Face);
    EXPECT_EQ(Px(Bar, 11, 8), Face);
    EXPECT_EQ(Px(Bar, 12, 8), qRgb(10, 5, 2));
    // Blocks leave two pixels above and below.
    EXPECT_EQ(Px(Bar, 5, 1), Face);
    EXPECT_EQ(Px(Bar, 5, 14), Face);
    EXPECT_EQ(Px(Bar, 5, 13), qRgb(0, 0, 0));
}

TEST_F(GradientProgress, FrameLinesAndNoBlocksAtMin)
{
    Bar.SetMin(10);
    Bar.SetPosition(10);
    Bar.Repaint();
    EXPECT_EQ(BlocksShown(), 0);
    EXPECT_EQ(Px(Bar, 4, 8), Face);
    EXPECT_EQ(Px(Bar, 0, 8), qRgb(1, 1, 1));
    EXPECT_EQ(Px(Bar, 70, 0), qRgb(1, 1, 1));
    EXPECT_EQ(Px(Bar, 149, 0), qRgb(1, 1, 1));
    EXPECT_EQ(Px(Bar, 0, 15), qRgb(1, 1, 1));
    EXPECT_EQ(Px(Bar, 149, 8), qRgb(2, 2, 2));
    EXPECT_EQ(Px(Bar, 70, 15), qRgb(2, 2, 2));
}

TEST_F(GradientProgress, RampRoundsHalvesAwayFromZero)
{
    // Channel steps of 7/14 = 0.5 per block: block 1 rounds up to 1 (not 0), and a
    // falling channel from 10 to 3 rounds down to 9 (not 10).
    Bar.SetColor(RGB(0, 10, 0));
    Bar.SetColorEnd(RGB(7, 3, 0));
    EXPECT_EQ(Bar.BlockColor(1), RGB(1, 9, 0));
    EXPECT_EQ(Bar.BlockColor(14), RGB(7, 3, 0));
    EXPECT_EQ(Bar.BlockColor(-1), clBlack);
}

TEST_F(GradientProgress, TheLastBlockTakesColorEndAsStored)
{
    // Width 155: n = 15 and at Max c = (100*155 - 4) div 100 div 10 = 15 = n.
    Bar.SetBounds(0, 0, 155, 16);
    Bar.SetColorEnd(clBtnFace);
    Bar.SetPosition(100);
    Bar.Repaint();
    EXPECT_EQ(Bar.LastBlock(), 15);
    EXPECT_EQ(Bar.BlockColor(15), clBtnFace);
    EXPECT_EQ(Px(Bar, 152, 8), Face);
    // Block 14 is the end of the ramp from black to the resolved button face.
    EXPECT_EQ(Px(Bar, 145, 8), qRgb(192, 192, 192));
    EXPECT_EQ(Px(Bar, 135, 8), qRgb(178, 178, 178)); // 13 * 192 / 14 = 178.3
}

TEST_F(GradientProgress, WithoutGradientEveryBlockTakesColor)
{
    Bar.SetGradientBar(false);
    Bar.SetColor(RGB(9, 8, 7));
    Bar.SetPosition(100);
    Bar.Repaint();
    EXPECT_EQ(Px(Bar, 4, 8), qRgb(9, 8, 7));
    EXPECT_EQ(Px(Bar, 145, 8), qRgb(9, 8, 7));
}

TEST_F(GradientProgress, SolidBlocksTouch)
{
    Bar.SetSolid(true);
    Bar.SetPosition(50);
    Bar.Repaint();
    EXPECT_EQ(Px(Bar, 10, 8), qRgb(10, 5, 2));
    EXPECT_EQ(Px(Bar, 19, 8), qRgb(10, 5, 2));
    EXPECT_EQ(Px(Bar, 20, 8), qRgb(20, 10, 4));
}

TEST_F(GradientProgress, StepItWrapsToMinPlusStep)
{
    Bar.SetPosition(95);
    Bar.StepIt();
    EXPECT_EQ(Bar.Position(), 10);
    Bar.StepIt();
    EXPECT_EQ(Bar.Position(), 20);
    Bar.SetPosition(90);
    Bar.StepIt();
    EXPECT_EQ(Bar.Position(), 100);
    // A step that passes the integer range wraps instead of overflowing.
    Bar.SetMax(2147483647);
    Bar.SetStep(2147483647);
    Bar.SetPosition(5);
    Bar.StepIt();
    EXPECT_EQ(Bar.Position(), 2147483647);
}

TEST_F(GradientProgress, DecreasingLeavesNoStaleBlocks)
{
    Bar.SetPosition(100);
    Bar.Repaint();
    EXPECT_EQ(BlocksShown(), 15);
    Bar.SetPosition(20);
    Bar.Update();
    // c = (20*150 - 4) div 100 div 10 = 2.
    EXPECT_EQ(BlocksShown(), 3);
    EXPECT_EQ(Px(Bar, 105, 8), Face);
}

TEST_F(GradientProgress, IncreasingDrawsOnlyTheBlocks)
{
    Bar.SetPosition(20);
    Bar.Repaint();
    // A mark on the background: drawing only the blocks keeps it.
    Bar.Canvas()->SetPixels(140, 8, clRed);
    Bar.SetPosition(60);
    EXPECT_EQ(BlocksShown(), 9); // c = (60*150 - 4) div 100 div 10 = 8
    EXPECT_EQ(Px(Bar, 140, 8), qRgb(255, 0, 0));
    Bar.Update();
    EXPECT_EQ(Px(Bar, 140, 8), qRgb(255, 0, 0));
    // A full paint clears it.
    Bar.Repaint();
    EXPECT_EQ(Px(Bar, 140, 8), Face);
}

TEST_F(GradientProgress, RangeChangesClampThePositionAndRepaint)
{
    Bar.SetPosition(80);
    Bar.Repaint();
    Bar.SetMax(40);
    EXPECT_EQ(Bar.Position(), 40);
    Bar.SetMin(60);
    EXPECT_EQ(Bar.Position(), 60);
    // Min above Max leaves no range: no blocks, no division by zero.
    Bar.Update();
    EXPECT_EQ(Bar.LastBlock(), -1);
    EXPECT_EQ(BlocksShown(), 0);
    Bar.SetMax(60);
    EXPECT_EQ(Bar.LastBlock(), -1);
}

TEST_F(GradientProgress, NegativeValuesAreRefusedWithAMessage)
{
    std::vector<QString> messages;
    SetMessageDlgResponder([&](const QString& msg, TMsgDlgType type, TMsgDlgButtons buttons) {
        EXPECT_EQ(type, mtError);
        EXPECT_EQ(buttons, TMsgDlgButtons(mbOK));
        messages.push_back(msg);
        return int(mrOk);
    });
    Bar.SetMin(-1);
    Bar.SetMax(-5);
    Bar.SetStep(-10);
    Bar.SetStep(0);
    SetMessageDlgResponder({});
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].toStdString(), "Value must be between 0 and 2147483647");
    EXPECT_EQ(Bar.Min(), 0);
    EXPECT_EQ(Bar.Max(), 100);
    EXPECT_EQ(Bar.Step(), 0);
}

TEST_F(GradientProgress, NarrowBarsUseColorForTheirOnlyBlock)
{
    Bar.SetBounds(0, 0, 15, 16);
    Bar.SetColor(RGB(50, 60, 70));
    Bar.SetPosition(100);
    Bar.Repaint();
    // n = 1: no ramp to divide, block 0 takes Color; c = (1500-4) div 100 div 10 = 1 = n.
    EXPECT_EQ(Bar.BlockColor(0), RGB(50, 60, 70));
    EXPECT_EQ(Px(Bar, 4, 8), qRgb(50, 60, 70));
}

TEST_F(GradientProgress, TransparentLeavesTheBackgroundUnfilled)
{
    Bar.SetTransparent(true);
    Bar.SetPosition(10);
    Bar.Repaint();
    EXPECT_EQ(qAlpha(Bar.BackBuffer().pixel(100, 8)), 0);
    EXPECT_EQ(Px(Bar, 4, 8), qRgb(0, 0, 0));
}
