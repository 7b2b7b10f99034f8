#include "vcl/controls/itemlist.h"

#include "vcl/graphics/canvas.h"

#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>
#include <algorithm>

namespace vcl {

namespace {

// Items a wheel step scrolls, as the desktop's default.
constexpr int WheelItems = 3;

} // namespace

// ---------------------------------------------------------------------------
// TItemEntries

void TOwnedStrings::Changed()
{
    TStringList::Changed();
    if (UpdateCount() == 0)
        FOnChanged();
}

TItemEntries::TItemEntries(TWinControl& Owner, unsigned CtlType, std::function<void()> Changed)
    : FOwner(Owner)
    , FCtlType(CtlType)
    , FStrings(std::make_unique<TOwnedStrings>([this, Changed = std::move(Changed)] {
        FHeights.clear();
        Changed();
    }))
    , FCanvas(std::make_unique<TCanvas>())
{
}

TItemEntries::~TItemEntries() = default;

TStringList& TItemEntries::Strings() const
{
    return *FStrings;
}

TCanvas& TItemEntries::Canvas()
{
    if (FCanvas->Surface() == nullptr)
        FCanvas->SetSurface(FOwner.TControl::Canvas()->Surface());
    return *FCanvas;
}

void TItemEntries::Paint(bool OwnerDraw, HDC DC, int Index, const TRect& Rect, TOwnerDrawState State)
{
    TDrawItemStruct data;
    data.CtlType = FCtlType;
    data.itemID = Index;
    data.itemState = State.toInt();
    data.hDC = DC;
    data.rcItem = Rect;
    data.itemData = Index >= 0 ? reinterpret_cast<uintptr_t>(FStrings->Objects(Index)) : 0;
    if (OwnerDraw) {
        SendDrawItem(FOwner, data);
        return;
    }
    DrawReflectedItem(*FCanvas, data, *FOwner.Font(), FOwner.Color(),
        [this](int I, const TRect& R, TOwnerDrawState S) { DefaultDraw(I, R, S); });
}

void TItemEntries::DefaultDraw(int Index, const TRect& Rect, TOwnerDrawState State)
{
    if (State.testFlag(odDisabled) && !State.testFlag(odSelected))
        FCanvas->Font()->SetColor(clGrayText);
    FCanvas->FillRect(Rect);
    FCanvas->TextOut(Rect.Left + 2, Rect.Top, FStrings->Strings(Index));
}

void TItemEntries::DrawReflected(const TMessage& Message, const std::function<void(int, const TRect&, TOwnerDrawState)>& Draw)
{
    const auto& data = *reinterpret_cast<const TDrawItemStruct*>(Message.LParam);
    DrawReflectedItem(*FCanvas, data, *FOwner.Font(), FOwner.Color(), Draw);
}

int TItemEntries::FontItemHeight() const
{
    TCanvas* canvas = FOwner.TControl::Canvas();
    canvas->Font()->Assign(FOwner.Font());
    return canvas->TextHeight(QStringLiteral("Yy")) + 2;
}

int TItemEntries::MeasuredHeight(int Index, int Default)
{
    auto measure = [&] {
        TMeasureItemStruct data{FCtlType, 0, Index, 0, Default,
            Index >= 0 ? reinterpret_cast<uintptr_t>(FStrings->Objects(Index)) : 0};
        return std::max(1, SendMeasureItem(FOwner, data));
    };
    if (Index < 0)
        return measure();
    if (FHeights.size() != size_t(FStrings->Count()))
        FHeights.assign(size_t(FStrings->Count()), -1);
    int& height = FHeights[size_t(Index)];
    if (height < 0)
        height = measure();
    return height;
}

int TItemEntries::Find(int Start, const QString& Text, bool Exact) const
{
    const int count = FStrings->Count();
    if (Start < 0 || Start >= count)
        Start = -1;
    for (int step = 1; step <= count; ++step) {
        const int i = (Start + step) % count;
        const QString item = FStrings->Strings(i);
        if (Exact ? item.compare(Text, Qt::CaseInsensitive) == 0 : item.startsWith(Text, Qt::CaseInsensitive))
            return i;
    }
    return -1;
}

// ---------------------------------------------------------------------------
// TCustomItemList

TCustomItemList::TCustomItemList(TComponent* AOwner, TFrame Frame)
    : TCustomControl(AOwner)
    , FFrame(Frame)
    , FScrollBar(new QScrollBar(Qt::Vertical, this))
{
    SetColor(clWindow);
    SetControlStyle(ControlStyle() | csOpaque);
    FScrollBar->hide();
    FScrollBar->setFocusPolicy(Qt::NoFocus);
    connect(FScrollBar, &QScrollBar::valueChanged, this, [this](int Value) {
        if (!FSettingScroll)
            SetTopIndex(Value);
    });
}

TRect TCustomItemList::ItemsArea() const
{
    const int frame = FrameWidth();
    const int bar = FScrollBar->isVisibleTo(this) ? FScrollBar->width() : 0;
    return Rect(frame, frame, std::max(frame, Width() - frame - bar), std::max(frame, Height() - frame));
}

int TCustomItemList::ClampIndex(int Index) const
{
    return std::clamp(Index, -1, ItemCount() - 1);
}

void TCustomItemList::SetItemIndex(int Value)
{
    Value = ClampIndex(Value);
    if (Value == FItemIndex)
        return;
    FItemIndex = Value;
    MakeVisible(Value);
    Invalidate();
}

void TCustomItemList::SetTopIndex(int Value)
{
    Value = std::clamp(Value, 0, MaxTopIndex());
    if (Value == FTopIndex)
        return;
    FTopIndex = Value;
    UpdateScrollBar();
    Invalidate();
}

int TCustomItemList::ItemsInView() const
{
    const TRect area = ItemsArea();
    int bottom = area.Top;
    int shown = 0;
    for (int i = FTopIndex; i < ItemCount() && bottom < area.Bottom; ++i, ++shown)
        bottom += ItemHeightAt(i);
    // A partly shown last row does not count as in view.
    if (bottom > area.Bottom && shown > 1)
        --shown;
    return std::max(shown, 1);
}

int TCustomItemList::MaxTopIndex() const
{
    const int count = ItemCount();
    const int room = ItemsArea().Height();
    int used = 0;
    int top = count;
    while (top > 0 && used + ItemHeightAt(top - 1) <= room) {
        used += ItemHeightAt(top - 1);
        --top;
    }
    return std::min(top, std::max(count - 1, 0));
}

void TCustomItemList::MakeVisible(int Index)
{
    if (Index < 0)
        return;
    if (Index < FTopIndex) {
        SetTopIndex(Index);
        return;
    }
    // Scroll down until the item's bottom is inside the view.
    const TRect area = ItemsArea();
    int top = FTopIndex;
    auto bottomOf = [&](int First) {
        int y = area.Top;
        for (int i = First; i <= Index; ++i)
            y += ItemHeightAt(i);
        return y;
    };
    if (Index - top > area.Height())
        top = std::max(0, Index - area.Height());
    while (top < Index && bottomOf(top) > area.Bottom)
        ++top;
    SetTopIndex(top);
}

void TCustomItemList::UpdateScrollBar()
{
    const int maxTop = MaxTopIndex();
    const bool needed = maxTop > 0;
    FSettingScroll = true;
    FScrollBar->setRange(0, maxTop);
    FScrollBar->setPageStep(std::max(1, ItemsInView()));
    FScrollBar->setValue(FTopIndex);
    FSettingScroll = false;
    if (needed != FScrollBar->isVisibleTo(this)) {
        FScrollBar->setVisible(needed);
        Invalidate();
    }
    const int frame = FrameWidth();
    const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    FScrollBar->setGeometry(Width() - frame - extent, frame, extent, std::max(0, Height() - 2 * frame));
}

void TCustomItemList::ItemsChanged()
{
    FItemIndex = ClampIndex(FItemIndex);
    FTopIndex = std::clamp(FTopIndex, 0, MaxTopIndex());
    UpdateScrollBar();
    Invalidate();
}

void TCustomItemList::WMSize(TMessage& Message)
{
    UpdateScrollBar();
    TCustomControl::WMSize(Message);
}

TRect TCustomItemList::ItemRect(int Index) const
{
    if (Index < FTopIndex || Index >= ItemCount())
        return TRect();
    const TRect area = ItemsArea();
    int top = area.Top;
    for (int i = FTopIndex; i < Index; ++i) {
        top += ItemHeightAt(i);
        if (top >= area.Bottom)
            return TRect();
    }
    return Rect(area.Left, top, area.Right, top + ItemHeightAt(Index));
}

int TCustomItemList::ItemAtPos(const TPoint& Pos, bool Existing) const
{
    const TRect area = ItemsArea();
    if (Pos.X < area.Left || Pos.X >= area.Right || Pos.Y < area.Top || Pos.Y >= area.Bottom)
        return -1;
    int top = area.Top;
    for (int i = FTopIndex; i < ItemCount() && top < area.Bottom; ++i) {
        top += ItemHeightAt(i);
        if (Pos.Y < top)
            return i;
    }
    return Existing ? -1 : ItemCount();
}

void TCustomItemList::Paint()
{
    // The back buffer's own canvas: a list box's Canvas is the one its items draw on.
    TCanvas* canvas = TCustomControl::Canvas();
    const TRect area = ItemsArea();
    TOwnerDrawState common;
    if (!Enabled())
        common |= odDisabled;
    int top = area.Top;
    for (int i = FTopIndex; i < ItemCount() && top < area.Bottom; ++i) {
        const TRect rect = Rect(area.Left, top, area.Right, top + ItemHeightAt(i));
        TOwnerDrawState state = common;
        if (i == FItemIndex)
            state |= ShowsFocus() ? TOwnerDrawState(odSelected) | odFocused : TOwnerDrawState(odSelected);
        DrawListItem(canvas->Handle(), i, rect, state);
        top = rect.Bottom;
    }
    canvas->Brush()->SetColor(Color());
    canvas->Brush()->SetStyle(bsSolid);
    if (top < area.Bottom)
        canvas->FillRect(Rect(area.Left, top, area.Right, area.Bottom));
    TRect frame = ClientRect();
    if (FFrame == TFrame::Sunken) {
        DrawEdge(canvas->Handle(), frame, EDGE_SUNKEN, BF_RECT);
    } else {
        canvas->Brush()->SetColor(clWindowFrame);
        canvas->FrameRect(frame);
    }
}

int NavigatedIndex(uint16_t Key, int Index, int Count, int Page)
{
    Page = std::max(1, Page);
    switch (Key) {
    case VK_UP: return std::min(Count - 1, std::max(0, Index - 1));
    case VK_DOWN: return std::min(Count - 1, Index + 1);
    case VK_PRIOR: return std::min(Count - 1, std::max(0, Index - Page));
    case VK_NEXT: return std::min(Count - 1, std::max(Index, 0) + Page);
    case VK_HOME: return Count > 0 ? 0 : -1;
    case VK_END: return Count - 1;
    default: return NotNavigation;
    }
}

bool TCustomItemList::NavigateKey(uint16_t Key)
{
    const int index = NavigatedIndex(Key, FItemIndex, ItemCount(), ItemsInView() - 1);
    if (index == NotNavigation)
        return false;
    if (index >= 0 && index != FItemIndex) {
        SetItemIndex(index);
        UserSelected();
    }
    return true;
}

void TCustomItemList::KeyDown(uint16_t& Key, TShiftState Shift)
{
    TCustomControl::KeyDown(Key, Shift);
    if (Key != 0 && NavigateKey(Key))
        Key = 0;
}

void TCustomItemList::SelectAt(int X, int Y)
{
    const int index = ItemAtPos(Point(X, Y), true);
    if (index < 0 || index == FItemIndex)
        return;
    SetItemIndex(index);
    UserSelected();
}

void TCustomItemList::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft) {
        if (CanFocus() && !Focused() && focusPolicy() != Qt::NoFocus)
            SetFocus();
        SelectAt(X, Y);
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomItemList::MouseMove(TShiftState Shift, int X, int Y)
{
    if (Shift.testFlag(ssLeft))
        SelectAt(X, Y);
    TCustomControl::MouseMove(Shift, X, Y);
}

void TCustomItemList::wheelEvent(QWheelEvent* Event)
{
    const int steps = Event->angleDelta().y() / QWheelEvent::DefaultDeltasPerStep;
    SetTopIndex(FTopIndex - steps * WheelItems);
    Event->accept();
}

} // namespace vcl
