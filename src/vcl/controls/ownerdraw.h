#pragma once
// Owner drawing: the records of WM_DRAWITEM and WM_MEASUREITEM, their reflection to
// the control that owns the item (CN_DRAWITEM, CN_MEASUREITEM), the owner-draw state
// set, and the framework's preparation of the canvas around drawing one item.
//
// A control whose items are drawn by their owner sends WM_DRAWITEM to its parent
// window; the parent reflects it back to the control as CN_DRAWITEM, whose handler
// draws the item on a TCanvas over the item's rectangle (OnDrawItem or the default
// drawing). Measuring goes the same way with WM_MEASUREITEM and CN_MEASUREITEM.
#include "vcl/controls/messages.h"
#include "vcl/core/types.h"
#include "vcl/graphics/colors.h"
#include "vcl/graphics/gdi.h"

#include <QObject>
#include <functional>

namespace vcl {

class TCanvas;
class TFont;
class TWinControl;

namespace OwnerDraw {
Q_NAMESPACE

// The values are the item-state bits of the draw-item record, so the record's state
// converts to the set without translation.
enum TOwnerDrawStateItem : unsigned {
    odSelected = 0x0001,
    odGrayed = 0x0002,
    odDisabled = 0x0004,
    odChecked = 0x0008,
    odFocused = 0x0010,
    odDefault = 0x0020,
    odComboBoxEdit = 0x1000,
};
Q_DECLARE_FLAGS(TOwnerDrawState, TOwnerDrawStateItem)
Q_FLAG_NS(TOwnerDrawState)

} // namespace OwnerDraw
using namespace OwnerDraw;
Q_DECLARE_OPERATORS_FOR_FLAGS(TOwnerDrawState)

// Kinds of owner-drawn controls (CtlType).
enum : unsigned { ODT_MENU = 1, ODT_LISTBOX = 2, ODT_COMBOBOX = 3, ODT_BUTTON = 4, ODT_TAB = 101 };
// What changed (itemAction).
enum : unsigned { ODA_DRAWENTIRE = 0x1, ODA_SELECT = 0x2, ODA_FOCUS = 0x4 };
// Item states (itemState).
enum : unsigned {
    ODS_SELECTED = 0x0001,
    ODS_GRAYED = 0x0002,
    ODS_DISABLED = 0x0004,
    ODS_CHECKED = 0x0008,
    ODS_FOCUS = 0x0010,
    ODS_DEFAULT = 0x0020,
    ODS_COMBOBOXEDIT = 0x1000,
};

// WM_DRAWITEM's LParam points to this record. Control identifiers are the numbers of
// the controls' window handles, so the parent finds the control from either field.
struct TDrawItemStruct {
    unsigned CtlType = 0;
    quint64 CtlID = 0;
    int itemID = -1;
    unsigned itemAction = ODA_DRAWENTIRE;
    unsigned itemState = 0;
    HWND hwndItem;
    HDC hDC = nullptr;
    TRect rcItem;
    uintptr_t itemData = 0;
};

// WM_MEASUREITEM's LParam points to this record; the owner sets itemHeight (and
// itemWidth for tabs).
struct TMeasureItemStruct {
    unsigned CtlType = 0;
    quint64 CtlID = 0;
    int itemID = -1;
    int itemWidth = 0;
    int itemHeight = 0;
    uintptr_t itemData = 0;
};

using TDrawItemEvent = std::function<void(TWinControl* Control, int Index, TRect Rect, TOwnerDrawState State)>;
using TMeasureItemEvent = std::function<void(TWinControl* Control, int Index, int& Height)>;

// Sends WM_DRAWITEM for Control to its parent's window, which reflects it to Control
// as CN_DRAWITEM; a control without a parent gets CN_DRAWITEM at once.
void SendDrawItem(TWinControl& Control, TDrawItemStruct& Data);
// The same for WM_MEASUREITEM / CN_MEASUREITEM; returns the height the owner gave.
int SendMeasureItem(TWinControl& Control, TMeasureItemStruct& Data);
// Reflects a WM_DRAWITEM or WM_MEASUREITEM that reached a parent window to the control
// it is about; true when that control exists.
bool ReflectOwnerDrawMessage(TMessage& Message);

// What CN_DRAWITEM does for one item: points Canvas at the record's device context,
// gives it the control's font and colour (highlight colours for a selected item), calls
// Draw for an item (index -1 only fills the rectangle) and draws the focus rectangle of
// a focused item over the result.
void DrawReflectedItem(TCanvas& Canvas, const TDrawItemStruct& Data, const TFont& Font, TColor Color,
    const std::function<void(int Index, const TRect& Rect, TOwnerDrawState State)>& Draw);

} // namespace vcl
