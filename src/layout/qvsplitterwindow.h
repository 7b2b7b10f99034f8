#pragma once
// Qvsplitterwindow: TqvSplitterWindow, a panel divided into panes stacked top to bottom
// or side by side with a draggable bar between each two neighbours; TPane, the scroll box
// that is one pane and carries its own size; and TqvSplitterWindowEditor, the designer's
// verbs "New Pane" and "Equalize Panes".
//
// The panes always fill the window exactly: the last pane takes what the others leave.
// On a resize the panes keep their proportions, or only the last pane changes.
#include "vcl/controls/extctrls.h"
#include "vcl/controls/scrollbox.h"
#include "vcl/graphics/gdi.h"
#include "vcl/streaming/designintf.h"

#include <vector>

namespace vcl {
class TInvertOverlay;
} // namespace vcl

namespace Qvsplitterwindow {

Q_NAMESPACE

// swHorizontal: horizontal bars, panes stacked top to bottom, a pane's size is its
// height; swVertical: vertical bars, panes side by side, a pane's size is its width.
enum TOrientation { swHorizontal, swVertical };
Q_ENUM_NS(TOrientation)
// How the drag feedback looks: every second pixel inverted, or all of them.
enum TBarStyle { sbCheckered, sbSolid };
Q_ENUM_NS(TBarStyle)

// Raised before the drag feedback is drawn or erased; leaving Draw true lets the window
// invert the rectangle itself.
using TDrawDragRectEvent = std::function<void(vcl::TObject* Sender, const vcl::TRect& Rect, bool& Draw)>;

class TPane;

// A panel divided into panes (TPane) stacked top to bottom or side by side, with a
// draggable bar between each two neighbours; the panes always fill the window.
class TqvSplitterWindow : public vcl::TPanel {
    Q_OBJECT
    Q_CLASSINFO("Default:BevelOuter", "bvNone")
    Q_CLASSINFO("Default:Cursor", "crHSplit")
    Q_PROPERTY(Qvsplitterwindow::TOrientation Orientation READ Orientation WRITE SetOrientation)
    Q_CLASSINFO("Default:Orientation", "swVertical")
    Q_PROPERTY(quint8 Thickness READ Thickness WRITE SetThickness)
    Q_CLASSINFO("Default:Thickness", "3")
    Q_PROPERTY(vcl::Controls::TCursor CursorHorz READ CursorHorz WRITE SetCursorHorz)
    Q_CLASSINFO("Default:CursorHorz", "crVSplit")
    Q_PROPERTY(vcl::Controls::TCursor CursorVert READ CursorVert WRITE SetCursorVert)
    Q_CLASSINFO("Default:CursorVert", "crHSplit")
    Q_PROPERTY(bool ProportionalResize READ ProportionalResize WRITE SetProportionalResize)
    Q_CLASSINFO("Default:ProportionalResize", "True")
    Q_PROPERTY(Qvsplitterwindow::TBarStyle BarStyle READ BarStyle WRITE SetBarStyle)
    Q_CLASSINFO("Default:BarStyle", "sbCheckered")
    Q_PROPERTY(bool AllowSizing READ AllowSizing WRITE SetAllowSizing)
    Q_CLASSINFO("Default:AllowSizing", "True")

public:
    // The size a new window gets, in pixels.
    static constexpr int DefaultWidth = 400;
    static constexpr int DefaultHeight = 200; // (see DefaultWidth)
    // The size "New Pane" gives a pane when the window already has panes.
    static constexpr int DefaultHorizontalPaneSize = 50;
    static constexpr int DefaultVerticalPaneSize = 75; // (see DefaultHorizontalPaneSize)

    // Creates the window (400 x 200, no panes), owned (and freed) by AOwner.
    explicit TqvSplitterWindow(vcl::TComponent* AOwner);
    ~TqvSplitterWindow() override;

    // How the panes are stacked (see TOrientation).
    TOrientation Orientation() const { return FOrientation; }
    // Scales the pane sizes from the old stacking direction to the new one.
    void SetOrientation(TOrientation Value);
    // The bars' thickness in pixels.
    quint8 Thickness() const { return FThickness; }
    // At least 1: 0 is stored as 1.
    void SetThickness(quint8 Value);
    // The cursor over a horizontal bar.
    vcl::TCursor CursorHorz() const { return FCursorHorz; }
    void SetCursorHorz(vcl::TCursor Value);
    // The cursor over a vertical bar.
    vcl::TCursor CursorVert() const { return FCursorVert; }
    void SetCursorVert(vcl::TCursor Value);
    // On a resize the panes keep their proportions; when false only the last pane changes.
    bool ProportionalResize() const { return FProportionalResize; }
    void SetProportionalResize(bool Value) { FProportionalResize = Value; }
    // How the drag feedback looks.
    TBarStyle BarStyle() const { return FBarStyle; }
    void SetBarStyle(TBarStyle Value) { FBarStyle = Value; }
    // Whether the user may drag the bars.
    bool AllowSizing() const { return FAllowSizing; }
    void SetAllowSizing(bool Value) { FAllowSizing = Value; }

    // Appends the pane; it records this window and its index.
    void InsertPane(TPane* Pane);
    // Takes the pane out (it keeps no window and index -1) and renumbers the rest.
    void RemovePane(TPane* Pane);
    // Moves the pane at From to To; an index outside the list raises EInvalidOperation.
    void MovePane(int From, int To);
    // The pane at Index (0 first); raises EInvalidOperation for an index outside the list.
    TPane* GetPane(int Index) const;
    int GetNumPanes() const { return int(FPanes.size()); } // The number of panes.

    // "Equalize Panes": every pane gets an equal share of the window.
    void ResetPaneSizes();
    // The size "New Pane" gives: the whole window when it has no panes yet, else
    // DefaultHorizontalPaneSize or DefaultVerticalPaneSize.
    int GetDefaultPaneSize() const;
    // The pane's MinPaneSize, or when that is 0 twice the scroll bar's extent.
    int GetMinimumPaneSize(int Index) const;
    // Scales the panes to fill the window; without All the last pane keeps its size.
    void RecalculatePaneSizes(bool All);
    // Gives the last pane whatever the sizes leave of the window (never below 0).
    void AdjustLastPaneSize();
    // Places every pane by the sizes.
    void UpdatePaneRects();

    // The window's extent along the stacking direction.
    int Total() const;
    // D(Bar): the sum of the sizes of panes 0 to Bar; bar i lies at D(i).
    int BarDistance(int Bar) const;
    // The rectangle of a bar at distance D; the one at a point uses its stacking coordinate.
    vcl::TRect GetRectAtDistance(int D) const;
    vcl::TRect GetRectAtPoint(const vcl::TPoint& P) const; // The rectangle of the bar at P.
    // The bar being dragged, -1 when none.
    int DraggedBar() const { return FDragBar; }

    // Hands the children for writing to a form file: the panes in pane order.
    void GetChildren(const std::function<void(vcl::TComponent*)>& Proc, vcl::TComponent* Root) const override;
    // Setting a pane's order among the children sets its PaneIndex.
    void SetChildOrder(vcl::TComponent* Child, int Order) override;
    // After reading a form file the panes are placed by the sizes read.
    void Loaded() override;

    TDrawDragRectEvent OnDrawDragRect; // Called before the drag feedback is drawn (see TDrawDragRectEvent).
    TDrawDragRectEvent OnEraseDragRect; // Called before the drag feedback is erased (see TDrawDragRectEvent).

protected:
    void CreateWnd() override;
    void DestroyWnd() override;
    void Resize() override;
    void MouseDown(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) override;
    void MouseMove(vcl::TShiftState Shift, int X, int Y) override;
    void MouseUp(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) override;

private:
    friend class TPane;
    // SetPaneSize of a pane of this window.
    void ResizePane(TPane* Pane, int Value);
    void Renumber();
    int Along(const vcl::TPoint& P) const { return FOrientation == swHorizontal ? P.Y : P.X; }
    int BarAt(const vcl::TPoint& P) const;
    vcl::TPoint ClampToBar(const vcl::TPoint& P) const;
    void InvertDragRect(const vcl::TRect& Rect, const TDrawDragRectEvent& Event);
    void PlacePane(TPane* Pane, int Start, int Extent);

    TOrientation FOrientation = swVertical;
    quint8 FThickness = 3;
    vcl::TCursor FCursorHorz = vcl::crVSplit;
    vcl::TCursor FCursorVert = vcl::crHSplit;
    bool FProportionalResize = true;
    TBarStyle FBarStyle = sbCheckered;
    bool FAllowSizing = true;
    std::vector<TPane*> FPanes;
    bool FCreated = false;
    bool FPlacingPanes = false;
    int FDragBar = -1;
    vcl::TPoint FLastPoint;
    TBarStyle FDragStyle = sbCheckered;
    vcl::TInvertOverlay* FOverlay = nullptr;
    vcl::HBRUSH FDragBrush = nullptr;
};

// One pane of a TqvSplitterWindow: a scroll box that carries its size along the
// stacking direction and its place among the panes.
class TPane : public vcl::TScrollBox {
    Q_OBJECT
    Q_PROPERTY(Qvsplitterwindow::TqvSplitterWindow* SplitterWnd READ SplitterWnd WRITE SetSplitterWnd)
    Q_PROPERTY(int PaneIndex READ PaneIndex WRITE SetPaneIndex)
    Q_PROPERTY(quint16 PaneSize READ PaneSize WRITE SetPaneSize)
    Q_PROPERTY(quint16 MinPaneSize READ MinPaneSize WRITE SetMinPaneSize)
    Q_CLASSINFO("Default:MinPaneSize", "0")

public:
    // Creates the pane, owned (and freed) by AOwner; SplitterWnd puts it in a window.
    explicit TPane(vcl::TComponent* AOwner);
    ~TPane() override;

    // The window the pane belongs to (null for none).
    TqvSplitterWindow* SplitterWnd() const { return FSplitterWnd; }
    // Moves the pane into Value (its parent from then on), out of the window it was in.
    void SetSplitterWnd(TqvSplitterWindow* Value);
    // The pane's place in its window, -1 without one.
    int PaneIndex() const { return FPaneIndex; }
    // Moves the pane within its window; without a window the index is its place in none
    // and is left alone.
    void SetPaneIndex(int Value);
    // The pane's size along the stacking direction, in pixels.
    quint16 PaneSize() const { return FPaneSize; }
    // In a window the size is bounded by the next pane's room; the last pane takes the rest.
    void SetPaneSize(quint16 Value);
    // 0: automatic, two scroll bar widths.
    quint16 MinPaneSize() const { return FMinPaneSize; }
    void SetMinPaneSize(quint16 Value) { FMinPaneSize = Value; }

    // Inside a window the window places the pane; a new size from outside becomes PaneSize.
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

protected:
    void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;

private:
    friend class TqvSplitterWindow;
    friend class TqvSplitterWindowEditor;
    TqvSplitterWindow* FSplitterWnd = nullptr;
    int FPaneIndex = -1;
    quint16 FPaneSize = 0;
    quint16 FMinPaneSize = 0;
};

// The designer's verbs for a splitter window and for its panes (which act on the window
// the pane belongs to): 0 "New Pane", 1 "Equalize Panes".
class TqvSplitterWindowEditor : public vcl::TComponentEditor {
public:
    using TComponentEditor::TComponentEditor;
    // Runs verb Index: 0 "New Pane", 1 "Equalize Panes".
    void ExecuteVerb(int Index) override;
    QString GetVerb(int Index) override; // The verb's caption.
    int GetVerbCount() override { return 2; } // Two verbs.

private:
    TqvSplitterWindow* Window() const;
    void NewPane(TqvSplitterWindow* Window);
};

} // namespace Qvsplitterwindow
