#pragma once
// The framework's combo box: TCustomComboBox and the published TComboBox.
//
// The box paints its own face (frame, button and, in the list styles, the selected
// item); the drop-down list is a popup window that draws only the items in view. In
// the editable styles the edit part is a window of its own (EditHandle) whose window
// procedure a component may replace; keys typed into it go through that procedure,
// then reach the box's OnKeyDown and OnKeyPress, then the edit. Items of the
// owner-drawn styles are drawn through WM_DRAWITEM / CN_DRAWITEM (OnDrawItem) and
// measured through WM_MEASUREITEM / CN_MEASUREITEM (OnMeasureItem). The box answers
// the CB_ messages and tells what happens through CN_COMMAND notifications (CBN_).
#include "vcl/controls/itemlist.h"

#include <memory>
#include <vector>

namespace vcl {

class TComboDropDown;
class TComboEditPart;
class TControlCanvas;

namespace ComboBoxes {
Q_NAMESPACE

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };
Q_ENUM_NS(TComboBoxStyle)
enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };
Q_ENUM_NS(TEditCharCase)

} // namespace ComboBoxes
using namespace ComboBoxes;

// Combo-box messages. Strings travel as pointers to QString in LParam; item data is a
// TObject pointer.
enum : unsigned {
    CB_GETEDITSEL = 0x0140,
    CB_LIMITTEXT = 0x0141,
    CB_SETEDITSEL = 0x0142,
    CB_ADDSTRING = 0x0143,
    CB_DELETESTRING = 0x0144,
    CB_GETCOUNT = 0x0146,
    CB_GETCURSEL = 0x0147,
    CB_GETLBTEXT = 0x0148,
    CB_GETLBTEXTLEN = 0x0149,
    CB_INSERTSTRING = 0x014A,
    CB_RESETCONTENT = 0x014B,
    CB_FINDSTRING = 0x014C,
    CB_SELECTSTRING = 0x014D,
    CB_SETCURSEL = 0x014E,
    CB_SHOWDROPDOWN = 0x014F,
    CB_GETITEMDATA = 0x0150,
    CB_SETITEMDATA = 0x0151,
    CB_GETDROPPEDCONTROLRECT = 0x0152,
    CB_SETITEMHEIGHT = 0x0153,
    CB_GETITEMHEIGHT = 0x0154,
    CB_GETDROPPEDSTATE = 0x0157,
    CB_FINDSTRINGEXACT = 0x0158,
    CB_GETTOPINDEX = 0x015B,
    CB_SETTOPINDEX = 0x015C,
    CB_GETDROPPEDWIDTH = 0x015F,
    CB_SETDROPPEDWIDTH = 0x0160,
};
constexpr LRESULT CB_ERR = -1;

// Notifications, in HIWORD of CN_COMMAND's WParam.
enum : uint16_t {
    CBN_SELCHANGE = 1,
    CBN_DBLCLK = 2,
    CBN_SETFOCUS = 3,
    CBN_KILLFOCUS = 4,
    CBN_EDITCHANGE = 5,
    CBN_EDITUPDATE = 6,
    CBN_DROPDOWN = 7,
    CBN_CLOSEUP = 8,
    CBN_SELENDOK = 9,
    CBN_SELENDCANCEL = 10,
};

constexpr WPARAM MAKEWPARAM(unsigned Low, unsigned High)
{
    return static_cast<WPARAM>((High & 0xFFFF) << 16 | (Low & 0xFFFF));
}

class TCustomComboBox : public TCustomControl {
    Q_OBJECT
public:
    explicit TCustomComboBox(TComponent* AOwner);
    ~TCustomComboBox() override;

    TComboBoxStyle Style() const { return FStyle; }
    void SetStyle(TComboBoxStyle Value);
    // The entries, each with an object; a sorted box puts an added entry in its place.
    TStrings* Items() const;
    void SetItems(const TStrings* Value);
    int ItemIndex() const { return FItemIndex; }
    // Selecting by program changes the text but runs no event.
    void SetItemIndex(int Value);
    bool Sorted() const { return FSorted; }
    void SetSorted(bool Value);
    // Height of the list's items (every item of csOwnerDrawFixed; the start value
    // OnMeasureItem gets in csOwnerDrawVariable). The other styles use the font's.
    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int Value);
    int DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int Value);
    bool DroppedDown() const;
    void SetDroppedDown(bool Value);
    // 0: no limit.
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int Value);
    TEditCharCase CharCase() const { return FCharCase; }
    void SetCharCase(TEditCharCase Value);
    // The edit part's selection (0 in the list styles).
    int SelStart();
    void SetSelStart(int Value);
    int SelLength();
    void SetSelLength(int Value);
    QString SelText() const;
    void SetSelText(const QString& Value);
    void SelectAll();

    // The edit part's window (null in the list styles): its window procedure may be
    // replaced with SetWindowProc to subclass it.
    HWND EditHandle();
    // The list's window: the drop-down list, or the list below the edit in csSimple.
    HWND ListHandle();
    // The drop-down list control (for tests and for drawing code that needs it).
    TCustomControl* DropDownList() const;
    // Only the simple style takes the height given: the others are as high as their face.
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    // The canvas OnDrawItem draws on: set to the item's surface while an item is drawn.
    TCanvas* Canvas() override;

    TNotifyEvent OnChange;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;
    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;

protected:
    virtual void Change();
    virtual void DropDown();
    virtual void CloseUp();
    virtual void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State);
    virtual void MeasureItem(int Index, int& Height);
    // Handles the CB_ messages; other messages go to the control.
    void WndProc(TMessage& Message) override;
    virtual void CNCommand(TMessage& Message);
    void CNDrawItem(TMessage& Message) override;
    void CNMeasureItem(TMessage& Message) override;
    void CMTextChanged(TMessage& Message) override;
    void CMFontChanged(TMessage& Message) override;
    void CMEnabledChanged(TMessage& Message) override;
    void WMSize(TMessage& Message) override;
    void Paint() override;
    void WMPaint(TMessage& Message) override;
    void WMNCPaint(TMessage& Message) override;
    void KeyDown(uint16_t& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void DoEnter() override;
    void DoExit() override;

    bool IsOwnerDraw() const { return FStyle == csOwnerDrawFixed || FStyle == csOwnerDrawVariable; }
    bool HasEdit() const { return FStyle == csDropDown || FStyle == csSimple; }
    // The rectangle the edit part or the selected item takes on the face.
    TRect EditRect() const;
    TRect ButtonRect() const;

private:
    friend class TComboDropDown;
    friend class TComboEditPart;

    bool ListMessage(TMessage& Message);
    bool EditMessage(TMessage& Message);
    LRESULT FindString(int Start, const QString& Text, bool Exact) const;
    void EditSelection(int& Start, int& End) const;
    void SetEditSelection(int Start, int End);
    void Notify(uint16_t Code);
    // Draws item Index on DC (the box's face or the list): through WM_DRAWITEM in the
    // owner-drawn styles, with the default drawing otherwise.
    void PaintItem(HDC DC, int Index, const TRect& Rect, TOwnerDrawState State);
    void PaintButton(TCanvas* Canvas);
    int ItemHeightAt(int Index) const;
    int EditHeight() const;
    void ItemsChanged();
    void RebuildParts();
    void LayoutParts();
    void AdjustHeight();
    // A key for the box: from the box itself, the edit part or the open list. True
    // when the box used it (the key goes no further).
    bool NavigateKey(uint16_t Key, TShiftState Shift);
    // The user chose item Index (from the list or with keys): selects it and runs the
    // selection notification.
    void UserSelect(int Index);
    void ListClosed(bool Chosen, int Index);
    void EditTextEdited(const QString& Text);
    QString ApplyCharCase(const QString& Text) const;
    void PositionDropDown();

    TComboBoxStyle FStyle = csDropDown;
    // Measuring asks the owner through messages, also from const members.
    mutable TItemEntries FItems;
    std::unique_ptr<TControlCanvas> FFrameCanvas;
    TComboDropDown* FList = nullptr;
    TComboEditPart* FEdit = nullptr;
    QString FSelectedText;
    int FItemIndex = -1;
    int FItemHeight = 16;
    int FDropDownCount = 8;
    int FDroppedWidth = 0;
    int FMaxLength = 0;
    TEditCharCase FCharCase = ecNormal;
    bool FSorted = false;
    bool FSettingText = false;
};

class TComboBox : public TCustomComboBox {
    Q_OBJECT
    Q_PROPERTY(vcl::ComboBoxes::TComboBoxStyle Style READ Style WRITE SetStyle)
    Q_CLASSINFO("Default:Style", "csDropDown")
    Q_PROPERTY(vcl::TStrings* Items READ Items)
    Q_PROPERTY(int ItemIndex READ ItemIndex WRITE SetItemIndex)
    Q_CLASSINFO("Default:ItemIndex", "-1")
    Q_PROPERTY(QString Text READ Text WRITE SetText)
    Q_PROPERTY(bool Sorted READ Sorted WRITE SetSorted)
    Q_CLASSINFO("Default:Sorted", "False")
    Q_PROPERTY(int ItemHeight READ ItemHeight WRITE SetItemHeight)
    Q_CLASSINFO("Default:ItemHeight", "16")
    Q_PROPERTY(int DropDownCount READ DropDownCount WRITE SetDropDownCount)
    Q_CLASSINFO("Default:DropDownCount", "8")
    Q_PROPERTY(int MaxLength READ MaxLength WRITE SetMaxLength)
    Q_CLASSINFO("Default:MaxLength", "0")
    Q_PROPERTY(vcl::ComboBoxes::TEditCharCase CharCase READ CharCase WRITE SetCharCase)
    Q_CLASSINFO("Default:CharCase", "ecNormal")
    Q_CLASSINFO("Default:Color", "clWindow")
    Q_CLASSINFO("Default:ParentColor", "False")
    Q_CLASSINFO("Default:TabStop", "True")
public:
    explicit TComboBox(TComponent* AOwner);
};

} // namespace vcl
