#include "gradient/qvgprg.h"

#include "vcl/controls/controlevents.h"
#include "vcl/controls/dialogs.h"
#include "vcl/core/sysutils.h"
#include "vcl/core/unitstartup.h"
#include "vcl/graphics/canvas.h"

#include <algorithm>

namespace Qvgprg {

// The unit needs nothing set up or torn down.
static const vcl::TUnitRegistration UnitRegistration(QStringLiteral("Qvgprg"), {});

using namespace vcl;

const QString TqvGradientProgress::RangeError = QStringLiteral("Value must be between 0 and 2147483647");

// The bar publishes the mouse and click events; the background gradient publishes none.
static const bool EventsPublished = PublishMouseEvents<TqvGradientProgress>();

TqvGradientProgress::TqvGradientProgress(TComponent* AOwner)
    : TGraphicControl(AOwner)
{
    SetColor(clHighlight);
    SetBounds(Left(), Top(), DefaultWidth, DefaultHeight);
}

bool TqvGradientProgress::Accepts(int Value)
{
    if (Value >= 0)
        return true;
    MessageDlg(RangeError, mtError, mbOK);
    return false;
}

void TqvGradientProgress::SetColorEnd(TColor Value) { ChangeProperty(FColorEnd, Value); }
void TqvGradientProgress::SetGradientBar(bool Value) { ChangeProperty(FGradientBar, Value); }
void TqvGradientProgress::SetSolid(bool Value) { ChangeProperty(FSolid, Value); }
void TqvGradientProgress::SetTransparent(bool Value) { ChangeProperty(FTransparent, Value); }
void TqvGradientProgress::SetBackgroundColor(TColor Value) { ChangeProperty(FBackgroundColor, Value); }
void TqvGradientProgress::SetFrameColor1(TColor Value) { ChangeProperty(FFrameColor1, Value); }
void TqvGradientProgress::SetFrameColor2(TColor Value) { ChangeProperty(FFrameColor2, Value); }

// A new Min or Max changes how many blocks the position fills, possibly fewer than
// are shown, so the whole control is painted again (drawing only the blocks would
// leave stale ones behind).
void TqvGradientProgress::SetMin(int Value)
{
    if (!Accepts(Value) || Value == FMin)
        return;
    FMin = Value;
    if (FPosition < FMin)
        FPosition = FMin;
    FPreviousPosition = FPosition;
    Invalidate();
}

void TqvGradientProgress::SetMax(int Value)
{
    if (!Accepts(Value) || Value == FMax)
        return;
    FMax = Value;
    if (FPosition > FMax)
        FPosition = FMax;
    FPreviousPosition = FPosition;
    Invalidate();
}

void TqvGradientProgress::SetStep(int Value)
{
    if (Accepts(Value))
        FStep = Value;
}

void TqvGradientProgress::SetPosition(int Value)
{
    const int position = std::max(FMin, std::min(FMax, Value));
    FPosition = position;
    if (position >= FPreviousPosition) {
        RepaintBlocks();
    } else {
        Invalidate();
    }
    FPreviousPosition = position;
}

void TqvGradientProgress::StepIt()
{
    // Summed in 64 bits: Position + Step may pass the integer range.
    if (int64_t(FPosition) + FStep <= FMax) {
        SetPosition(FPosition + FStep);
    } else {
        SetPosition(int(std::min<int64_t>(int64_t(FMin) + FStep, FMax)));
        Invalidate();
    }
}

int TqvGradientProgress::LastBlock() const
{
    // No range (Max at or below Min) draws no blocks instead of dividing by zero.
    if (FMax <= FMin)
        return -1;
    const int64_t w = Width();
    // Both divisions truncate toward zero, so a position just above Min gives 0.
    const int64_t c = ((int64_t(FPosition) - FMin) * w - 4) / (int64_t(FMax) - FMin) / BlockPitch;
    return static_cast<int>(c);
}

TColor TqvGradientProgress::BlockColor(int Index) const
{
    const int n = Width() / BlockPitch;
    if (Index == n)
        return FColorEnd;
    if (Index < 0)
        return clBlack;
    const TColor c1 = ColorToRGB(Color());
    // Below 20 pixels there is one block and no ramp to divide: it takes Color.
    if (n <= 1)
        return c1;
    const TColor c2 = ColorToRGB(FColorEnd);
    auto channel = [&](int shift) {
        const int from = (c1 >> shift) & 0xFF;
        const int to = (c2 >> shift) & 0xFF;
        return (from + MulDiv(Index, to - from, n - 1)) & 0xFF;
    };
    return RGB(channel(0), channel(8), channel(16));
}

void TqvGradientProgress::DrawBlock(int Index)
{
    TCanvas* canvas = Canvas();
    const int w = Width();
    const int h = Height();
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(FGradientBar ? BlockColor(Index) : Color());
    const int blockWidth = FSolid ? BlockPitch : GapBlockWidth;
    int x = Index * BlockPitch + (FSolid ? 0 : FrameInset);
    if (Index == 0)
        x = FrameInset;
    canvas->FillRect(Rect(x, FrameInset, x + blockWidth, h - FrameInset));
    // A block may reach into the frame: draw its right edge again.
    canvas->Pen()->SetStyle(psSolid);
    canvas->Pen()->SetColor(FFrameColor2);
    canvas->MoveTo(w - 1, 1);
    canvas->LineTo(w - 1, h - 1);
}

void TqvGradientProgress::DrawBlocks()
{
    if (FPosition == FMin)
        return;
    const int last = LastBlock();
    for (int i = 0; i <= last; ++i)
        DrawBlock(i);
}

void TqvGradientProgress::RepaintBlocks()
{
    if (!Visible())
        return;
    if (BackBuffer().size() != size()) {
        // Nothing shown yet to draw over: paint everything.
        Invalidate();
        return;
    }
    DrawBlocks();
    ShowBackBuffer();
}

void TqvGradientProgress::Paint()
{
    TCanvas* canvas = Canvas();
    const int w = Width();
    const int h = Height();
    if (!FTransparent) {
        canvas->Brush()->SetStyle(bsSolid);
        canvas->Brush()->SetColor(FBackgroundColor);
        canvas->FillRect(Rect(1, 1, w - 1, h - 1));
    }
    DrawBlocks();
    canvas->Pen()->SetStyle(psSolid);
    canvas->Pen()->SetColor(FFrameColor1);
    canvas->Polyline({Point(0, h), Point(0, 0), Point(w, 0)});
    canvas->Pen()->SetColor(FFrameColor2);
    canvas->Polyline({Point(w - 1, 1), Point(w - 1, h - 1), Point(0, h - 1)});
}

} // namespace Qvgprg
