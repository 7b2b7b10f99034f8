#include "vcl/controls/tabset.h"

#include "vcl/graphics/canvas.h"

#include <algorithm>

namespace vcl {

TTabSet::TTabSet(TComponent* AOwner)
    : TCustomControl(AOwner)
    , FTabs(std::make_unique<TOwnedStrings>([this] {
        FTabIndex = std::min(FTabIndex, FTabs->Count() - 1);
        FFirstIndex = std::clamp(FFirstIndex, 0, std::max(0, FTabs->Count() - 1));
        Invalidate();
    }))
{
    SetControlStyle(ControlStyle() | csOpaque);
    SetControlStyle(ControlStyle() & ~TControlStyle(csClickEvents));
    SetBounds(0, 0, 185, 21);
}

void TTabSet::SetStyle(TTabStyle Value)
{
    ChangeProperty(FStyle, Value);
}

void TTabSet::SetTabHeight(int Value)
{
    ChangeProperty(FTabHeight, std::max(1, Value));
}

void TTabSet::SetStartMargin(int Value)
{
    ChangeProperty(FStartMargin, std::max(0, Value));
}

void TTabSet::SetEndMargin(int Value)
{
    ChangeProperty(FEndMargin, std::max(0, Value));
}

void TTabSet::SetAutoScroll(bool Value)
{
    ChangeProperty(FAutoScroll, Value);
}

void TTabSet::SetSelectedColor(TColor Value)
{
    ChangeProperty(FSelectedColor, Value);
}

void TTabSet::SetUnselectedColor(TColor Value)
{
    ChangeProperty(FUnselectedColor, Value);
}

void TTabSet::SetBackgroundColor(TColor Value)
{
    ChangeProperty(FBackgroundColor, Value);
}

void TTabSet::SetFirstIndex(int Value)
{
    ChangeProperty(FFirstIndex, std::clamp(Value, 0, std::max(0, FTabs->Count() - 1)));
}

void TTabSet::CMFontChanged(TMessage& Message)
{
    TCustomControl::CMFontChanged(Message);
    Invalidate();
}

bool TTabSet::CanChange(int NewIndex)
{
    bool allow = true;
    if (OnChange)
        OnChange(this, NewIndex, allow);
    return allow;
}

void TTabSet::SetTabIndex(int Value)
{
    if (Value == FTabIndex || Value < -1 || Value >= FTabs->Count() || !CanChange(Value))
        return;
    FTabIndex = Value;
    // Scroll the new tab into view.
    if (Value >= 0 && Value < FFirstIndex)
        FFirstIndex = Value;
    while (Value > FFirstIndex && TabRect(Value).IsEmpty())
        ++FFirstIndex;
    Invalidate();
    Click();
}

void TTabSet::SelectNext(bool Direction)
{
    const int count = FTabs->Count();
    if (count == 0)
        return;
    SetTabIndex(((FTabIndex + (Direction ? 1 : -1)) % count + count) % count);
}

void TTabSet::MeasureTab(int Index, int& TabWidth)
{
    if (OnMeasureTab)
        OnMeasureTab(this, Index, TabWidth);
}

void TTabSet::DrawTab(TCanvas* TabCanvas, const TRect& R, int Index, bool Selected)
{
    if (OnDrawTab)
        OnDrawTab(this, TabCanvas, R, Index, Selected);
}

int TTabSet::MeasuredTabWidth(int Index)
{
    TCanvas* canvas = Canvas();
    canvas->Font()->Assign(Font());
    int width = canvas->TextWidth(FTabs->Strings(Index));
    if (FStyle == tsOwnerDraw)
        MeasureTab(Index, width);
    return std::max(0, width);
}

std::vector<TTabSet::TTabPlace> TTabSet::TabsInView()
{
    const int limit = Width() - FEndMargin - (NeedsScroller() ? ScrollerRect().Width() : 0);
    std::vector<TTabPlace> places;
    int x = FStartMargin;
    for (int i = FFirstIndex; i < FTabs->Count(); ++i) {
        const int width = MeasuredTabWidth(i);
        // The first tab is always shown, even when it does not fit.
        if (x + 2 * EdgeWidth + width > limit && !places.empty())
            break;
        places.push_back({i, Rect(x + EdgeWidth, 1, x + EdgeWidth + width, FTabHeight - 1)});
        x += EdgeWidth + width;
    }
    return places;
}

bool TTabSet::NeedsScroller()
{
    if (!FAutoScroll || FTabs->Count() == 0)
        return false;
    if (FFirstIndex > 0)
        return true;
    int right = FStartMargin + EdgeWidth;
    for (int i = 0; i < FTabs->Count(); ++i)
        right += EdgeWidth + MeasuredTabWidth(i);
    return right > Width() - FEndMargin;
}

TRect TTabSet::ScrollerRect()
{
    // Two square buttons, one tab high, at the right end.
    return Rect(Width() - 2 * FTabHeight, 0, Width(), FTabHeight);
}

TRect TTabSet::TabRect(int Index)
{
    for (const TTabPlace& place : TabsInView())
        if (place.Index == Index)
            return place.Text;
    return TRect();
}

int TTabSet::ItemAtPos(const TPoint& Pos)
{
    for (const TTabPlace& place : TabsInView())
        if (Pos.X >= place.Text.Left - EdgeWidth / 2 && Pos.X < place.Text.Right + EdgeWidth / 2 && Pos.Y >= 0
            && Pos.Y < FTabHeight)
            return place.Index;
    return -1;
}

void TTabSet::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft)
        return;
    const TRect scroller = ScrollerRect();
    if (NeedsScroller() && X >= scroller.Left && Y < scroller.Bottom) {
        SetFirstIndex(FFirstIndex + (X < scroller.Left + FTabHeight ? -1 : 1));
        return;
    }
    const int index = ItemAtPos(Point(X, Y));
    if (index >= 0)
        SetTabIndex(index);
}

void TTabSet::PaintTab(const TTabPlace& Place, bool Selected)
{
    TCanvas* canvas = Canvas();
    const TRect& text = Place.Text;
    const int left = text.Left - EdgeWidth;
    const int right = text.Right + EdgeWidth;
    const int bottom = FTabHeight - 1;
    const TColor color = Selected ? FSelectedColor : FUnselectedColor;
    canvas->Pen()->SetColor(clBlack);
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(color);
    canvas->Polygon({Point(left, 0), Point(text.Left, bottom), Point(text.Right, bottom), Point(right, 0)});
    if (Selected) {
        // The selected tab is open towards the page above it.
        canvas->Pen()->SetColor(color);
        canvas->MoveTo(left + 1, 0);
        canvas->LineTo(right, 0);
    }
    canvas->Font()->Assign(Font());
    if (FStyle == tsOwnerDraw) {
        DrawTab(canvas, text, Place.Index, Selected);
        return;
    }
    const QString caption = FTabs->Strings(Place.Index);
    canvas->TextOut(text.Left, (FTabHeight - canvas->TextHeight(caption)) / 2, caption);
}

void TTabSet::PaintScroller()
{
    TCanvas* canvas = Canvas();
    const TRect scroller = ScrollerRect();
    for (int side = 0; side < 2; ++side) {
        TRect button = Bounds(scroller.Left + side * FTabHeight, 0, FTabHeight, FTabHeight);
        canvas->Brush()->SetColor(clBtnFace);
        canvas->FillRect(button);
        DrawEdge(canvas->Handle(), button, EDGE_RAISED, BF_RECT);
        const int cx = (button.Left + button.Right) / 2;
        const int cy = (button.Top + button.Bottom) / 2;
        const int d = side == 0 ? -2 : 2;
        canvas->Pen()->SetColor(clBtnText);
        canvas->Brush()->SetColor(clBtnText);
        canvas->Polygon({Point(cx + d, cy - 4), Point(cx + d, cy + 4), Point(cx - d, cy)});
    }
}

void TTabSet::Paint()
{
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(FBackgroundColor);
    canvas->FillRect(ClientRect());
    canvas->Pen()->SetColor(clBlack);
    canvas->MoveTo(0, 0);
    canvas->LineTo(Width(), 0);
    const std::vector<TTabPlace> places = TabsInView();
    // Right to left, so each tab lies over its right neighbour; the selected one last.
    for (auto it = places.rbegin(); it != places.rend(); ++it)
        if (it->Index != FTabIndex)
            PaintTab(*it, false);
    for (const TTabPlace& place : places)
        if (place.Index == FTabIndex)
            PaintTab(place, true);
    if (NeedsScroller())
        PaintScroller();
}

} // namespace vcl
