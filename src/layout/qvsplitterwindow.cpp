#include "layout/qvsplitterwindow.h"

#include "vcl/controls/invertoverlay.h"
#include "vcl/core/sysutils.h"
#include "vcl/core/unitstartup.h"
#include "vcl/streaming/formfile.h"

#include <QApplication>
#include <QStyle>
#include <algorithm>
#include <limits>

namespace Qvsplitterwindow {

// The unit needs nothing set up or torn down.
static const vcl::TUnitRegistration UnitRegistration(QStringLiteral("Qvsplitterwindow"), {});

using namespace vcl;

static const bool EventsPublished = RegisterEvent(&TqvSplitterWindow::OnDrawDragRect, "OnDrawDragRect")
    && RegisterEvent(&TqvSplitterWindow::OnEraseDragRect, "OnEraseDragRect");

namespace {

// Pane sizes are 16-bit: a computed size is kept inside that range instead of wrapping
// round (a negative size would otherwise turn into a huge one).
quint16 PaneSizeOf(long long Value)
{
    return quint16(std::clamp<long long>(Value, 0, std::numeric_limits<quint16>::max()));
}

} // namespace

// ---------------------------------------------------------------------------
// TqvSplitterWindow

TqvSplitterWindow::TqvSplitterWindow(TComponent* AOwner)
    : TPanel(AOwner)
{
    SetBevelOuter(bvNone);
    SetCursor(FCursorVert);
    SetBounds(Left(), Top(), DefaultWidth, DefaultHeight);
}

TqvSplitterWindow::~TqvSplitterWindow()
{
    Destroying();
    if (FDragBrush != nullptr)
        DeleteObject(FDragBrush);
    for (TPane* pane : FPanes) {
        pane->FSplitterWnd = nullptr;
        pane->FPaneIndex = -1;
    }
}

void TqvSplitterWindow::CreateWnd()
{
    TPanel::CreateWnd();
    SetCaption(QString());
    FCreated = true;
    UpdatePaneRects();
}

void TqvSplitterWindow::DestroyWnd()
{
    FCreated = false;
    TPanel::DestroyWnd();
}

void TqvSplitterWindow::Loaded()
{
    TPanel::Loaded();
    UpdatePaneRects();
}

int TqvSplitterWindow::Total() const
{
    return FOrientation == swHorizontal ? Height() : Width();
}

void TqvSplitterWindow::InsertPane(TPane* Pane)
{
    FPanes.push_back(Pane);
    Pane->FSplitterWnd = this;
    Pane->FPaneIndex = GetNumPanes() - 1;
    // Panes read from a form file keep the sizes read; Loaded places them.
    if (FCreated && !ComponentState().testFlag(csLoading))
        RecalculatePaneSizes(false);
}

void TqvSplitterWindow::RemovePane(TPane* Pane)
{
    const auto it = std::find(FPanes.begin(), FPanes.end(), Pane);
    if (it == FPanes.end())
        return;
    Pane->FSplitterWnd = nullptr;
    Pane->FPaneIndex = -1;
    FPanes.erase(it);
    Renumber();
    if (ComponentState().testFlag(csDestroying))
        return;
    if (FProportionalResize)
        RecalculatePaneSizes(true);
    else
        AdjustLastPaneSize();
}

void TqvSplitterWindow::MovePane(int From, int To)
{
    if (From < 0 || From >= GetNumPanes() || To < 0 || To >= GetNumPanes())
        throw EInvalidOperation(QStringLiteral("Pane index out of bounds (%1 to %2 of %3 panes)").arg(From).arg(To).arg(GetNumPanes()));
    TPane* pane = FPanes[size_t(From)];
    FPanes.erase(FPanes.begin() + From);
    FPanes.insert(FPanes.begin() + To, pane);
    Renumber();
    UpdatePaneRects();
}

void TqvSplitterWindow::Renumber()
{
    for (size_t i = 0; i < FPanes.size(); ++i)
        FPanes[i]->FPaneIndex = int(i);
}

TPane* TqvSplitterWindow::GetPane(int Index) const
{
    if (Index < 0 || Index >= GetNumPanes())
        throw EInvalidOperation(QStringLiteral("Pane index out of bounds (%1)").arg(Index));
    return FPanes[size_t(Index)];
}

void TqvSplitterWindow::ResetPaneSizes()
{
    if (FPanes.empty())
        return;
    const quint16 share = PaneSizeOf(Round((long double)Total() / GetNumPanes()));
    for (TPane* pane : FPanes)
        pane->FPaneSize = share;
    AdjustLastPaneSize();
    UpdatePaneRects();
}

int TqvSplitterWindow::GetDefaultPaneSize() const
{
    if (FPanes.empty())
        return Total();
    return FOrientation == swHorizontal ? DefaultHorizontalPaneSize : DefaultVerticalPaneSize;
}

int TqvSplitterWindow::GetMinimumPaneSize(int Index) const
{
    if (const int own = GetPane(Index)->MinPaneSize(); own != 0)
        return own;
    // The style's scroll bar extent stands for the system's scroll bar width and height.
    return 2 * QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
}

void TqvSplitterWindow::AdjustLastPaneSize()
{
    if (FPanes.empty())
        return;
    long long sum = 0;
    for (const TPane* pane : FPanes)
        sum += pane->FPaneSize;
    TPane* last = FPanes.back();
    if (sum != Total())
        last->FPaneSize = PaneSizeOf(last->FPaneSize + (Total() - sum));
}

void TqvSplitterWindow::RecalculatePaneSizes(bool All)
{
    const size_t taken = All || FPanes.empty() ? FPanes.size() : FPanes.size() - 1;
    long long total = Total();
    if (taken < FPanes.size())
        total -= FPanes.back()->FPaneSize;
    long long sum = 0;
    for (size_t i = 0; i < taken; ++i)
        sum += FPanes[i]->FPaneSize;
    // Panes of no size have no proportions to keep: the last pane takes the room.
    if (sum > 0) {
        const long double factor = (long double)total / sum;
        for (size_t i = 0; i < taken; ++i)
            FPanes[i]->FPaneSize = PaneSizeOf(Round(FPanes[i]->FPaneSize * factor));
    }
    AdjustLastPaneSize();
    UpdatePaneRects();
}

void TqvSplitterWindow::PlacePane(TPane* Pane, int Start, int Extent)
{
    if (FOrientation == swHorizontal)
        Pane->SetBounds(0, Start, Width(), Extent);
    else
        Pane->SetBounds(Start, 0, Extent, Height());
}

// Pane 0 ends half a bar before the first bar's distance, every next pane starts a bar
// after the end of the one before it, and the last pane runs to the window's end.
void TqvSplitterWindow::UpdatePaneRects()
{
    if (FPanes.empty())
        return;
    const bool placing = std::exchange(FPlacingPanes, true);
    if (FPanes.size() == 1) {
        FPanes[0]->SetBounds(0, 0, Width(), Height());
    } else {
        const int thickness = FThickness;
        const int before = thickness / 2;
        const int after = int(Round(thickness / 2.0L));
        int start = 0;
        for (size_t k = 0; k < FPanes.size(); ++k) {
            const int cut = k == 0 ? before : (k + 1 == FPanes.size() ? after : thickness);
            PlacePane(FPanes[k], start, FPanes[k]->FPaneSize - cut);
            const TRect placed = FPanes[k]->BoundsRect();
            start = (FOrientation == swHorizontal ? placed.Bottom : placed.Right) + thickness;
        }
    }
    FPlacingPanes = placing;
}

void TqvSplitterWindow::ResizePane(TPane* Pane, int Value)
{
    const int k = Pane->FPaneIndex;
    if (GetNumPanes() == 1) {
        Pane->FPaneSize = PaneSizeOf(Total());
    } else if (k + 1 < GetNumPanes()) {
        TPane* next = FPanes[size_t(k + 1)];
        const int old = Pane->FPaneSize;
        const int room = next->FPaneSize - FThickness - GetMinimumPaneSize(k + 1);
        const int both = old + next->FPaneSize;
        int size = Value;
        if (Value > old + room)
            size = old + room;
        else if (Value < GetMinimumPaneSize(k))
            size = GetMinimumPaneSize(k);
        Pane->FPaneSize = PaneSizeOf(size);
        next->FPaneSize = PaneSizeOf(both - Pane->FPaneSize);
    }
    AdjustLastPaneSize();
    UpdatePaneRects();
}

void TqvSplitterWindow::SetOrientation(TOrientation Value)
{
    if (Value == FOrientation)
        return;
    FOrientation = Value;
    // The cursor follows the orientation also without panes, so the panes added later
    // find it right.
    SetCursor(Value == swHorizontal ? FCursorHorz : FCursorVert);
    if (FPanes.empty())
        return;
    const int from = Value == swHorizontal ? Width() : Height();
    const int to = Value == swHorizontal ? Height() : Width();
    // A window of no extent has no proportions to carry over.
    if (from > 0) {
        for (TPane* pane : FPanes)
            pane->FPaneSize = PaneSizeOf(Round((long double)pane->FPaneSize / from * to));
    }
    AdjustLastPaneSize();
    UpdatePaneRects();
}

void TqvSplitterWindow::SetThickness(quint8 Value)
{
    FThickness = std::max<quint8>(Value, 1);
    UpdatePaneRects();
}

void TqvSplitterWindow::SetCursorHorz(TCursor Value)
{
    FCursorHorz = Value;
    if (FOrientation == swHorizontal)
        SetCursor(Value);
}

void TqvSplitterWindow::SetCursorVert(TCursor Value)
{
    FCursorVert = Value;
    if (FOrientation == swVertical)
        SetCursor(Value);
}

void TqvSplitterWindow::Resize()
{
    TPanel::Resize();
    if (FProportionalResize)
        RecalculatePaneSizes(true);
    else
        AdjustLastPaneSize();
    UpdatePaneRects();
}

int TqvSplitterWindow::BarDistance(int Bar) const
{
    int distance = 0;
    for (int i = 0; i <= Bar && i < GetNumPanes(); ++i)
        distance += FPanes[size_t(i)]->FPaneSize;
    return distance;
}

TRect TqvSplitterWindow::GetRectAtDistance(int D) const
{
    const int before = FThickness / 2;
    const int after = int(Round(FThickness / 2.0L));
    if (FOrientation == swHorizontal)
        return Rect(0, D - before, Width(), D + after + 1);
    return Rect(D - before, 0, D + after + 1, Height());
}

TRect TqvSplitterWindow::GetRectAtPoint(const TPoint& P) const
{
    return GetRectAtDistance(Along(P));
}

// The bar under the point; where two bars' rectangles overlap the later one wins.
int TqvSplitterWindow::BarAt(const TPoint& P) const
{
    int bar = -1;
    for (int i = 0; i + 1 < GetNumPanes(); ++i)
        if (GetRectAtDistance(BarDistance(i)).ToQRect().contains(P.ToQPoint()))
            bar = i;
    return bar;
}

// The point moved along the stacking axis so that neither pane beside the dragged bar
// would get less than its minimum size.
TPoint TqvSplitterWindow::ClampToBar(const TPoint& P) const
{
    const int i = FDragBar;
    const int low = (i > 0 ? BarDistance(i - 1) : 0) + GetMinimumPaneSize(i);
    const int high = BarDistance(i + 1) - GetMinimumPaneSize(i + 1);
    const int along = std::max(low, std::min(Along(P), high));
    return FOrientation == swHorizontal ? Point(P.X, along) : Point(along, P.Y);
}

void TqvSplitterWindow::InvertDragRect(const TRect& R, const TDrawDragRectEvent& Event)
{
    bool draw = true;
    if (Event)
        Event(this, R, draw);
    if (!draw)
        return;
    if (FDragStyle == sbCheckered) {
        SelectObject(FOverlay->DC(), FDragBrush);
        PatBlt(FOverlay->DC(), R.Left, R.Top, R.Width(), R.Height(), PATINVERT);
    } else {
        InvertRect(FOverlay->DC(), R);
    }
    FOverlay->Flush();
}

void TqvSplitterWindow::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TPanel::MouseDown(Button, Shift, X, Y);
    if (!FAllowSizing || Button != mbLeft || FDragBar >= 0)
        return;
    // Feedback only for a press on a bar: nothing else would ever erase it.
    FDragBar = BarAt(Point(X, Y));
    if (FDragBar < 0)
        return;
    FLastPoint = Point(X, Y);
    FDragStyle = FBarStyle;
    FOverlay = new TInvertOverlay(this);
    FDragBrush = CreateCheckeredBrush();
    InvertDragRect(GetRectAtPoint(FLastPoint), OnDrawDragRect);
}

void TqvSplitterWindow::MouseMove(TShiftState Shift, int X, int Y)
{
    TPanel::MouseMove(Shift, X, Y);
    if (FDragBar < 0)
        return;
    const TPoint point = ClampToBar(Point(X, Y));
    const TRect old = GetRectAtPoint(FLastPoint);
    const TRect now = GetRectAtPoint(point);
    if (now != old) {
        InvertDragRect(old, OnEraseDragRect);
        InvertDragRect(now, OnDrawDragRect);
    }
    FLastPoint = point;
}

void TqvSplitterWindow::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TPanel::MouseUp(Button, Shift, X, Y);
    if (FDragBar < 0 || Button != mbLeft)
        return;
    InvertDragRect(GetRectAtPoint(FLastPoint), OnEraseDragRect);
    delete std::exchange(FOverlay, nullptr);
    DeleteObject(std::exchange(FDragBrush, nullptr));
    const int bar = std::exchange(FDragBar, -1);
    TPane* pane = FPanes[size_t(bar)];
    pane->SetPaneSize(PaneSizeOf(pane->FPaneSize + Along(FLastPoint) - BarDistance(bar)));
}

void TqvSplitterWindow::GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) const
{
    for (TPane* pane : FPanes)
        if (pane->Owner() == Root && pane->Parent() == this)
            Proc(pane);
    TPanel::GetChildren([&](TComponent* child) {
        if (std::find(FPanes.begin(), FPanes.end(), child) == FPanes.end())
            Proc(child);
    }, Root);
}

void TqvSplitterWindow::SetChildOrder(TComponent* Child, int Order)
{
    if (auto* pane = dynamic_cast<TPane*>(Child); pane != nullptr && pane->FSplitterWnd == this)
        pane->SetPaneIndex(Order);
}

// ---------------------------------------------------------------------------
// TPane

TPane::TPane(TComponent* AOwner)
    : TScrollBox(AOwner)
{
}

TPane::~TPane()
{
    if (FSplitterWnd != nullptr)
        FSplitterWnd->RemovePane(this);
}

void TPane::SetSplitterWnd(TqvSplitterWindow* Value)
{
    if (Value == FSplitterWnd)
        return;
    if (FSplitterWnd != nullptr)
        FSplitterWnd->RemovePane(this);
    if (Value == nullptr)
        return;
    SetParent(Value);
    Value->InsertPane(this);
}

void TPane::SetPaneIndex(int Value)
{
    if (FSplitterWnd != nullptr && Value != FPaneIndex)
        FSplitterWnd->MovePane(FPaneIndex, Value);
}

void TPane::SetPaneSize(quint16 Value)
{
    if (FSplitterWnd == nullptr)
        FPaneSize = Value;
    else
        FSplitterWnd->ResizePane(this, Value);
}

// A pane moved or sized by the designer snaps back to its place in the window.
void TPane::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    TScrollBox::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (FSplitterWnd != nullptr && !FSplitterWnd->FPlacingPanes && ComponentState().testFlag(csDesigning))
        FSplitterWnd->UpdatePaneRects();
}

void TPane::Notification(TComponent* AComponent, TOperation Operation)
{
    TScrollBox::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FSplitterWnd)
        FSplitterWnd = nullptr;
}

// ---------------------------------------------------------------------------
// TqvSplitterWindowEditor

TqvSplitterWindow* TqvSplitterWindowEditor::Window() const
{
    if (auto* window = dynamic_cast<TqvSplitterWindow*>(Component()))
        return window;
    if (auto* pane = dynamic_cast<TPane*>(Component()))
        return pane->SplitterWnd();
    return nullptr;
}

QString TqvSplitterWindowEditor::GetVerb(int Index)
{
    switch (Index) {
    case 0: return QStringLiteral("New Pane");
    case 1: return QStringLiteral("Equalize Panes");
    default: return QString();
    }
}

void TqvSplitterWindowEditor::ExecuteVerb(int Index)
{
    TqvSplitterWindow* window = Window();
    if (window == nullptr)
        return;
    if (Index == 0)
        NewPane(window);
    else if (Index == 1)
        window->ResetPaneSizes();
}

// The new pane is owned by the designed form and takes the default pane size; the other
// panes make room for it in proportion.
void TqvSplitterWindowEditor::NewPane(TqvSplitterWindow* Window)
{
    const int size = Window->GetDefaultPaneSize();
    auto* pane = new TPane(Designer()->GetRoot());
    pane->SetName(Designer()->UniqueName(QStringLiteral("TPane")));
    pane->SetSplitterWnd(Window);
    pane->FPaneSize = PaneSizeOf(size);
    Window->RecalculatePaneSizes(false);
    Designer()->SelectComponent(pane);
    Designer()->Modified();
}

} // namespace Qvsplitterwindow
