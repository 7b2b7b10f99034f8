#include "layout/qvsplitter.h"

#include "vcl/controls/invertoverlay.h"
#include "vcl/controls/qtevents.h"
#include "vcl/core/sysutils.h"
#include "vcl/core/unitstartup.h"
#include "vcl/graphics/bitmap.h"
#include "vcl/graphics/canvas.h"
#include "vcl/streaming/formfile.h"

#include <QApplication>
#include <algorithm>

namespace Qvsplitter {

// The unit needs nothing set up or torn down.
static const vcl::TUnitRegistration UnitRegistration(QStringLiteral("Qvsplitter"), {});

using namespace vcl;

static const bool EventsPublished = RegisterEvent(&TqvSplitter::OnCanResize, "OnCanResize")
    && RegisterEvent(&TqvSplitter::OnMoved, "OnMoved") && RegisterEvent(&TqvSplitter::OnPaint, "OnPaint");

namespace {

// The arrow glyphs, in the order of TClickOrientation.
const char* const ArrowResources[] = {"QVCLICK_LEFT", "QVCLICK_RIGHT", "QVCLICK_UP", "QVCLICK_DOWN"};

void RequireNatural(int Value, const char* Property)
{
    if (Value < 1)
        throw EInvalidOperation(QStringLiteral("%1 must be at least 1, not %2").arg(QLatin1String(Property)).arg(Value));
}

bool Contains(const TRect& Rect, const TPoint& Point)
{
    return Rect.ToQRect().contains(Point.ToQPoint());
}

} // namespace

TqvSplitter::TqvSplitter(TComponent* AOwner)
    : TGraphicControl(AOwner)
{
    TGraphicControl::SetAlign(alLeft);
    SetBounds(Left(), Top(), DefaultWidth, Height());
    SetCursor(crHSplit);
    for (int i = 0; i < 4; ++i) {
        FArrows[i] = std::make_unique<TBitmap>();
        FArrows[i]->LoadFromResourceName(QString::fromLatin1(ArrowResources[i]));
        // The glyphs are drawn on the button face colour; only the arrow is shown.
        FArrows[i]->SetTransparentColor(clSilver);
        FArrows[i]->SetTransparent(true);
    }
}

TqvSplitter::~TqvSplitter()
{
    if (Sizing())
        StopSizing();
}

bool TqvSplitter::Vertical() const
{
    return Align() == alLeft || Align() == alRight;
}

int TqvSplitter::SizeOf(const TControl* C) const
{
    return Vertical() ? C->Width() : C->Height();
}

void TqvSplitter::SetAlign(TAlign Value)
{
    if (Value == alNone || Value == alClient)
        throw Exception(QStringLiteral("Value not allowed for %1 component.").arg(ClassName()));
    // Turned to the other axis, the splitter keeps its thickness: its width becomes its
    // height (the parent then stretches it along its new side).
    const bool vertical = Value == alLeft || Value == alRight;
    if (Parent() != nullptr)
        Parent()->DisableAlign();
    if (vertical != Vertical())
        SetBounds(Left(), Top(), Height(), Width());
    TGraphicControl::SetAlign(Value);
    if (Parent() != nullptr)
        Parent()->EnableAlign();
    ResetOrientation();
    if (Cursor() == crHSplit || Cursor() == crVSplit)
        SetCursor(Vertical() ? crHSplit : crVSplit);
    Invalidate();
}

void TqvSplitter::ResetOrientation()
{
    switch (Align()) {
    case alTop: SetClickOrientation(coUp); break;
    case alBottom: SetClickOrientation(coDown); break;
    case alRight: SetClickOrientation(coRight); break;
    default: SetClickOrientation(coLeft); break;
    }
}

void TqvSplitter::SetHandled(bool Value) { ChangeProperty(FHandled, Value); }
void TqvSplitter::SetHandleAlign(THandleAlign Value) { ChangeProperty(FHandleAlign, Value); }
void TqvSplitter::SetClickOrientation(TClickOrientation Value) { ChangeProperty(FClickOrientation, Value); }

void TqvSplitter::SetHandleSize(int Value)
{
    RequireNatural(Value, "HandleSize");
    ChangeProperty(FHandleSize, Value);
}

void TqvSplitter::SetMinSize(int Value)
{
    RequireNatural(Value, "MinSize");
    FMinSize = Value;
}

TRect TqvSplitter::HandleRect() const
{
    const int length = Vertical() ? Height() : Width();
    int start = HandleEndGap;
    if (FHandleAlign == haCenter)
        start = length / 2 - FHandleSize / 2;
    else if (FHandleAlign == haRight)
        start = length - FHandleSize - HandleEndGap;
    const int end = start + FHandleSize;
    return Vertical() ? Rect(0, start, Width(), end) : Rect(start, 0, end, Height());
}

bool TqvSplitter::MouseInHandle() const
{
    return Contains(HandleRect(), FLastPos);
}

void TqvSplitter::Paint()
{
    TCanvas* canvas = Canvas();
    canvas->Pen()->SetColor(Color());
    canvas->Pen()->SetStyle(psSolid);
    canvas->Pen()->SetMode(pmCopy);
    canvas->Brush()->SetColor(Color());
    canvas->Brush()->SetStyle(bsSolid);
    canvas->FillRect(ClientRect());
    const TRect handle = HandleRect();
    if (Vertical())
        PaintHandle(canvas, handle.Top, handle.Bottom);
    else
        PaintHandle(canvas, handle.Left, handle.Right);
    if (ComponentState().testFlag(csDesigning)) {
        canvas->Pen()->SetStyle(psDot);
        canvas->Pen()->SetMode(pmXor);
        canvas->Pen()->SetColor(DesignFrameColor);
        canvas->Brush()->SetStyle(bsClear);
        canvas->Rectangle(ClientRect());
    }
    if (OnPaint)
        OnPaint(this);
}

// The handle between Start and End along the strip: a raised outline, two grip lines
// and the arrow glyph at both ends. One figure for both axes: A runs along the strip
// and C across it.
void TqvSplitter::PaintHandle(TCanvas* Canvas, int Start, int End)
{
    const bool vertical = Vertical();
    const auto at = [vertical](int A, int C) { return vertical ? Point(C, A) : Point(A, C); };
    const int across = vertical ? Width() : Height();
    // The vertical outline starts one pixel further down than the horizontal one
    // starts to the right; both end where they began.
    const int first = vertical ? End : End - 1;
    Canvas->Pen()->SetColor(clBtnShadow);
    Canvas->Polyline({at(first, 0), at(Start, 0), at(Start, across - 1), at(End - 1, across - 1), at(End - 1, 0)});
    Canvas->Pen()->SetColor(clBtnHighlight);
    Canvas->Polyline({at(Start + 1, across - 2), at(Start + 1, 1), at(End - 1, 1)});
    if (FHandled) {
        Canvas->Polyline({at(Start + GripInset, 4), at(End - GripInset, 4)});
        Canvas->Pen()->SetColor(clBtnShadow);
        Canvas->Polyline({at(Start + GripInset, 3), at(End - GripInset, 3)});
    }
    TBitmap* arrow = FArrows[FClickOrientation].get();
    const int extent = vertical ? arrow->Height() : arrow->Width();
    const TPoint near = at(Start + ArrowInset, ArrowOffset);
    const TPoint far = at(End - extent - ArrowInset, ArrowOffset);
    Canvas->Draw(near.X, near.Y, arrow);
    Canvas->Draw(far.X, far.Y, arrow);
}

// The first visible, enabled control of the parent that holds the point one pixel
// outside the docked side; an empty rectangle counts as one pixel wide on that side.
TControl* TqvSplitter::FindNeighbour() const
{
    TPoint p = Point(Left(), Top());
    switch (Align()) {
    case alLeft: p.X -= 1; break;
    case alRight: p.X += Width(); break;
    case alTop: p.Y -= 1; break;
    default: p.Y += Height(); break;
    }
    const bool towardOrigin = Align() == alLeft || Align() == alTop;
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
        TControl* c = Parent()->Controls(i);
        if (c == this || !c->Visible() || !c->Enabled())
            continue;
        TRect r = c->BoundsRect();
        if (r.Width() == 0)
            (towardOrigin ? r.Left : r.Right) += towardOrigin ? -1 : 1;
        if (r.Height() == 0)
            (towardOrigin ? r.Top : r.Bottom) += towardOrigin ? -1 : 1;
        if (Contains(r, p))
            return c;
    }
    return nullptr;
}

// The parent's room along the drag axis less MinSize and less every visible control
// aligned on that axis, the neighbour's own share given back.
int TqvSplitter::MaximumSize() const
{
    int size = (Vertical() ? Parent()->ClientWidth() : Parent()->ClientHeight()) - FMinSize;
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
        const TControl* c = Parent()->Controls(i);
        const bool sameAxis = Vertical() ? (c->Align() == alLeft || c->Align() == alRight)
                                         : (c->Align() == alTop || c->Align() == alBottom);
        if (sameAxis && c->Visible())
            size -= SizeOf(c);
    }
    return size + SizeOf(FControl);
}

void TqvSplitter::CalcSplitSize(int X, int Y, int& NewSize, int& Split) const
{
    Split = Vertical() ? X - FDownPos.X : Y - FDownPos.Y;
    const bool farSide = Align() == alRight || Align() == alBottom;
    const int proposed = SizeOf(FControl) + (farSide ? -Split : Split);
    // Never below MinSize, even where the parent leaves less room than that.
    NewSize = std::max(FMinSize, std::min(proposed, FMaxSize));
    if (NewSize != proposed)
        Split += farSide ? proposed - NewSize : NewSize - proposed;
}

bool TqvSplitter::CanResize(int& NewSize)
{
    bool accept = true;
    if (OnCanResize)
        OnCanResize(this, NewSize, accept);
    return accept;
}

bool TqvSplitter::DoCanResize(int& NewSize)
{
    const bool accept = CanResize(NewSize);
    if (accept && NewSize <= FMinSize)
        NewSize = FMinSize;
    return accept;
}

void TqvSplitter::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    FLastPos = Point(X, Y);
    if (Button != mbLeft || Parent() == nullptr || Sizing())
        return;
    FControl = FindNeighbour();
    FDownPos = Point(X, Y);
    if (FControl == nullptr)
        return;
    FMaxSize = MaximumSize();
    CalcSplitSize(X, Y, FNewSize, FSplit);
    // The line is inverted over the parent's client area, across its other controls.
    FOverlay = new TInvertOverlay(parentWidget());
    FBrush = CreateCheckeredBrush();
    SelectObject(FOverlay->DC(), FBrush);
    HookKeys();
    ToggleLine();
}

void TqvSplitter::MouseMove(TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseMove(Shift, X, Y);
    FLastPos = Point(X, Y);
    setCursor(MouseInHandle() ? Qt::ArrowCursor : CursorShape(Vertical() ? crHSplit : crVSplit));
    if (!Shift.testFlag(ssLeft) || !Sizing())
        return;
    int size = 0;
    int split = 0;
    CalcSplitSize(X, Y, size, split);
    if (!DoCanResize(size))
        return;
    ToggleLine();
    FNewSize = size;
    FSplit = split;
    ToggleLine();
}

void TqvSplitter::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    // A click may come without a move before it: the release point is the last position.
    FLastPos = Point(X, Y);
    if (Button != mbLeft || !Sizing())
        return;
    if (FLineVisible)
        ToggleLine();
    if (MouseInHandle())
        FinishHandleClick();
    UpdateControlSize();
    if (Sizing())
        StopSizing();
}

// The splitter's own rectangle moved by the split along the drag axis, inverted with the
// checkered brush; every call shows or hides it.
void TqvSplitter::ToggleLine()
{
    const int x = Left() + (Vertical() ? FSplit : 0);
    const int y = Top() + (Vertical() ? 0 : FSplit);
    PatBlt(FOverlay->DC(), x, y, Width(), Height(), PATINVERT);
    FLineVisible = !FLineVisible;
    FOverlay->Flush();
}

// A click on the handle collapses the neighbour (remembering its size) or gives the
// remembered size back, and turns the arrows round.
void TqvSplitter::FinishHandleClick()
{
    if (FOldSize == -1) {
        FNewSize = 0;
        FRestoreSize = SizeOf(FControl);
    } else if (FOldSize > 0) {
        FNewSize = 0;
        FRestoreSize = FOldSize;
    } else {
        FNewSize = FRestoreSize;
    }
    static const TClickOrientation flipped[] = {coRight, coLeft, coDown, coUp};
    SetClickOrientation(flipped[FClickOrientation]);
}

void TqvSplitter::UpdateControlSize()
{
    if (FNewSize == FOldSize)
        return;
    switch (Align()) {
    case alTop: FControl->SetHeight(FNewSize); break;
    case alLeft: FControl->SetWidth(FNewSize); break;
    default: MoveBehindNeighbour(); break;
    }
    Update();
    if (OnMoved)
        OnMoved(this);
    if (FOldSize == 0)
        ResetOrientation();
    FOldSize = FNewSize;
}

// A neighbour below or to the right grows or shrinks at its near edge, so it moves; the
// splitter then takes the neighbour's old place and the neighbour sits one pixel beyond,
// which keeps the two in order when the parent aligns them again.
void TqvSplitter::MoveBehindNeighbour()
{
    TWinControl* parent = Parent();
    parent->DisableAlign();
    const bool bottom = Align() == alBottom;
    TControl* c = FControl;
    if (bottom)
        c->SetBounds(c->Left(), c->Top() + c->Height() - FNewSize, c->Width(), FNewSize);
    else
        c->SetBounds(c->Left() + c->Width() - FNewSize, c->Top(), FNewSize, c->Height());
    if (FNewSize != 0) {
        if (bottom) {
            SetTop(c->Top());
            c->SetTop(Top() + 1);
        } else {
            SetLeft(c->Left());
            c->SetLeft(Left() + 1);
        }
    }
    parent->EnableAlign();
}

// Escape on the focused control ends a drag; other keys reach the control's own handler.
void TqvSplitter::HookKeys()
{
    // The focused control is the windowed control that holds Qt's focus widget (an edit
    // box's inner line editor has the focus, not the control itself).
    TWinControl* focused = nullptr;
    for (QWidget* w = QApplication::focusWidget(); w != nullptr && focused == nullptr; w = w->parentWidget())
        focused = dynamic_cast<TWinControl*>(w);
    if (focused == nullptr || focused->window() != window())
        return;
    FKeyControl = focused;
    FSavedKeyDown = focused->OnKeyDown;
    focused->OnKeyDown = [this](TObject* Sender, uint16_t& Key, TShiftState Shift) {
        if (Key == VK_ESCAPE)
            StopSizing();
        else if (FSavedKeyDown)
            FSavedKeyDown(Sender, Key, Shift);
    };
}

void TqvSplitter::UnhookKeys()
{
    if (FKeyControl == nullptr)
        return;
    FKeyControl->OnKeyDown = std::exchange(FSavedKeyDown, TKeyEvent());
    FKeyControl = nullptr;
}

void TqvSplitter::StopSizing()
{
    if (FLineVisible)
        ToggleLine();
    FControl = nullptr;
    delete std::exchange(FOverlay, nullptr);
    DeleteObject(std::exchange(FBrush, nullptr));
    UnhookKeys();
    if (OnMoved)
        OnMoved(this);
}

} // namespace Qvsplitter
