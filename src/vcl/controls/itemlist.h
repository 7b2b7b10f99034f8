#pragma once
// TCustomItemList: a scrolling column of items, each drawn on its own rectangle, with
// one selected item. It is the list of a list box and the drop-down list of a combo
// box. Only the items in view are measured and drawn, so a list of 100,000 items
// opens and scrolls as fast as one of ten; scrolling goes by whole items, as the
// platform's lists do.
#include "vcl/controls/controls.h"
#include "vcl/controls/ownerdraw.h"
#include "vcl/core/strings.h"

#include <memory>
#include <vector>

class QScrollBar;

namespace vcl {

// The item a navigation key moves the selection to in a list of Count items, Page
// items to a page (-1 in an empty list); NotNavigation for any other key.
constexpr int NotNavigation = -2;
int NavigatedIndex(uint16_t Key, int Index, int Count, int Page);

// A string list that calls its owner back after every change (once at the end of
// an update): the entries of lists, combo boxes and tab rows.
class TOwnedStrings : public TStringList {
public:
    explicit TOwnedStrings(std::function<void()> OnChanged)
        : FOnChanged(std::move(OnChanged))
    {
    }

protected:
    void Changed() override;

private:
    std::function<void()> FOnChanged;
};

// The entries of a list box or combo box (strings with objects), and what drawing and
// measuring them takes.
class TItemEntries {
public:
    // Changed runs after every change of the entries (once at the end of an update).
    TItemEntries(TWinControl& Owner, unsigned CtlType, std::function<void()> Changed);
    ~TItemEntries();

    TStringList& Strings() const;
    // The canvas OnDrawItem draws on: on the item's surface while an item is drawn.
    TCanvas& Canvas();
    // Draws item Index on DC: through WM_DRAWITEM when the owner draws its items,
    // with DefaultDraw otherwise.
    void Paint(bool OwnerDraw, HDC DC, int Index, const TRect& Rect, TOwnerDrawState State);
    // Fills the rectangle and writes the entry 2 pixels from its left, in grey for a
    // disabled entry that is not selected.
    void DefaultDraw(int Index, const TRect& Rect, TOwnerDrawState State);
    // What CN_DRAWITEM does: the framework's preparation (DrawReflectedItem) with the
    // owner's font and colour around Draw.
    void DrawReflected(const TMessage& Message, const std::function<void(int, const TRect&, TOwnerDrawState)>& Draw);
    // The height WM_MEASUREITEM gives for Index, starting from Default; kept for the
    // entries until they change. Index -1 (an edit part) is asked every time.
    int MeasuredHeight(int Index, int Default);
    void ForgetHeights() { FHeights.clear(); }
    // The height of an item of the owner's font: its text height and a pixel above
    // and below (the height of items the owner does not draw).
    int FontItemHeight() const;
    // The first entry after Start, wrapping round, that begins with Text (or equals it,
    // with Exact), ignoring case by Unicode rules; -1 when there is none. A Start out
    // of range searches from the top.
    int Find(int Start, const QString& Text, bool Exact) const;

private:
    TWinControl& FOwner;
    unsigned FCtlType;
    std::unique_ptr<TOwnedStrings> FStrings;
    std::unique_ptr<TCanvas> FCanvas;
    std::vector<int> FHeights;
};

class TCustomItemList : public TCustomControl {
    Q_OBJECT
public:
    // How the list frames itself: a sunken 3-D edge (a list box) or a one-pixel line
    // (a drop-down list).
    enum class TFrame { Sunken, Single };

    virtual int ItemCount() const = 0;
    // The selected item (-1: none); setting it scrolls it into view.
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Value);
    // The first item in view.
    int TopIndex() const { return FTopIndex; }
    void SetTopIndex(int Value);
    // The item under Pos; with Existing false a point below the last item gives Count.
    int ItemAtPos(const TPoint& Pos, bool Existing) const;
    // The rectangle of an item in view (empty for an item out of view).
    TRect ItemRect(int Index) const;
    // The height of the rows of items from TopIndex that fit, at least one.
    int ItemsInView() const;

protected:
    TCustomItemList(TComponent* AOwner, TFrame Frame);

    virtual int ItemHeightAt(int Index) const = 0;
    // Draws one item on the list's back buffer (Canvas()->Handle() of this control).
    virtual void DrawListItem(HDC DC, int Index, const TRect& Rect, TOwnerDrawState State) = 0;
    // Whether the selected item is drawn with the focus rectangle.
    virtual bool ShowsFocus() const { return Focused(); }
    // The user moved the selection (mouse or keys) to ItemIndex.
    virtual void UserSelected() {}
    // Counts or heights changed: the scroll range follows, and the list repaints.
    void ItemsChanged();
    // Moves the selection by a navigation key; false for any other key.
    bool NavigateKey(uint16_t Key);
    // The area the items take: inside the frame, left of the scroll bar.
    TRect ItemsArea() const;

    void Paint() override;
    void KeyDown(uint16_t& Key, TShiftState Shift) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void WMSize(TMessage& Message) override;
    void wheelEvent(QWheelEvent* Event) override;
    // Selects the item under (X, Y) as the user's choice.
    void SelectAt(int X, int Y);

private:
    int FrameWidth() const { return FFrame == TFrame::Sunken ? 2 : 1; }
    // The greatest top index that still fills the view (the last item at the bottom).
    int MaxTopIndex() const;
    void UpdateScrollBar();
    void MakeVisible(int Index);
    int ClampIndex(int Index) const;

    TFrame FFrame;
    QScrollBar* FScrollBar;
    int FItemIndex = -1;
    int FTopIndex = 0;
    bool FSettingScroll = false;
};

} // namespace vcl
