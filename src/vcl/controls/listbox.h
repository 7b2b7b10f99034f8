#pragma once
// TListBox: a list of entries with one selected, drawn by the box itself
// (lbStandard) or by its owner through CN_DRAWITEM / OnDrawItem, with items of one
// height (lbOwnerDrawFixed) or measured one by one (lbOwnerDrawVariable).
#include "vcl/controls/itemlist.h"

namespace vcl {

namespace ListBoxes {
Q_NAMESPACE

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable };
Q_ENUM_NS(TListBoxStyle)

} // namespace ListBoxes
using namespace ListBoxes;

// List-box messages (strings as pointers to QString in LParam).
enum : unsigned {
    LB_ADDSTRING = 0x0180,
    LB_INSERTSTRING = 0x0181,
    LB_DELETESTRING = 0x0182,
    LB_RESETCONTENT = 0x0184,
    LB_SETCURSEL = 0x0186,
    LB_GETCURSEL = 0x0188,
    LB_GETTEXT = 0x0189,
    LB_GETCOUNT = 0x018B,
    LB_GETTOPINDEX = 0x018E,
    LB_FINDSTRING = 0x018F,
    LB_GETITEMRECT = 0x0198,
    LB_GETITEMDATA = 0x0199,
    LB_SETITEMDATA = 0x019A,
    LB_SETTOPINDEX = 0x0197,
    LB_GETITEMHEIGHT = 0x01A1,
    LB_FINDSTRINGEXACT = 0x01A2,
};
constexpr LRESULT LB_ERR = -1;

class TCustomListBox : public TCustomItemList {
    Q_OBJECT
public:
    explicit TCustomListBox(TComponent* AOwner);

    TListBoxStyle Style() const { return FStyle; }
    void SetStyle(TListBoxStyle Value);
    TStrings* Items() const { return &FItems.Strings(); }
    void SetItems(const TStrings* Value) { FItems.Strings().Assign(Value); }
    bool Sorted() const { return FItems.Strings().Sorted(); }
    void SetSorted(bool Value) { FItems.Strings().SetSorted(Value); }
    // Height of every item in lbOwnerDrawFixed, the start value OnMeasureItem gets in
    // lbOwnerDrawVariable; lbStandard uses the font's height.
    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int Value);
    int ItemCount() const override { return FItems.Strings().Count(); }
    // The canvas OnDrawItem draws on.
    TCanvas* Canvas() override { return &FItems.Canvas(); }
    // The index of the first entry that starts with Text (ignoring case) after Start,
    // wrapping round; -1 when there is none.
    int FindString(int Start, const QString& Text, bool Exact) const;

    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;

protected:
    virtual void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State);
    virtual void MeasureItem(int Index, int& Height);
    int ItemHeightAt(int Index) const override;
    void DrawListItem(HDC DC, int Index, const TRect& Rect, TOwnerDrawState State) override;
    void UserSelected() override;
    void WndProc(TMessage& Message) override;
    void CNDrawItem(TMessage& Message) override;
    void CNMeasureItem(TMessage& Message) override;
    void CMFontChanged(TMessage& Message) override;
    void KeyPress(QChar& Key) override;

private:
    bool ListMessage(TMessage& Message);

    mutable TItemEntries FItems;
    TListBoxStyle FStyle = lbStandard;
    int FItemHeight = 16;
};

class TListBox : public TCustomListBox {
    Q_OBJECT
    Q_PROPERTY(vcl::ListBoxes::TListBoxStyle Style READ Style WRITE SetStyle)
    Q_CLASSINFO("Default:Style", "lbStandard")
    Q_PROPERTY(vcl::TStrings* Items READ Items)
    Q_PROPERTY(bool Sorted READ Sorted WRITE SetSorted)
    Q_CLASSINFO("Default:Sorted", "False")
    Q_PROPERTY(int ItemHeight READ ItemHeight WRITE SetItemHeight)
    Q_CLASSINFO("Default:ItemHeight", "16")
    Q_PROPERTY(int ItemIndex READ ItemIndex WRITE SetItemIndex)
    Q_CLASSINFO("Default:ItemIndex", "-1")
    Q_CLASSINFO("Default:Color", "clWindow")
    Q_CLASSINFO("Default:ParentColor", "False")
    Q_CLASSINFO("Default:TabStop", "True")
public:
    explicit TListBox(TComponent* AOwner);
};

} // namespace vcl
