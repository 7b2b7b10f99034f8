#include "vcl/controls/listbox.h"

#include "vcl/graphics/canvas.h"

namespace vcl {

TCustomListBox::TCustomListBox(TComponent* AOwner)
    : TCustomItemList(AOwner, TFrame::Sunken)
    , FItems(*this, ODT_LISTBOX, [this] { ItemsChanged(); })
{
    SetParentColor(false);
    SetTabStop(true);
    // OnClick means a change of selection, which UserSelected reports.
    SetControlStyle(ControlStyle() & ~TControlStyle(csClickEvents));
    SetBounds(0, 0, 121, 97);
}

void TCustomListBox::SetStyle(TListBoxStyle Value)
{
    if (FStyle == Value)
        return;
    FStyle = Value;
    FItems.ForgetHeights();
    ItemsChanged();
}

void TCustomListBox::SetItemHeight(int Value)
{
    if (Value <= 0 || Value == FItemHeight)
        return;
    FItemHeight = Value;
    FItems.ForgetHeights();
    ItemsChanged();
}

int TCustomListBox::ItemHeightAt(int Index) const
{
    if (FStyle == lbOwnerDrawVariable)
        return FItems.MeasuredHeight(Index, FItemHeight);
    return FStyle == lbOwnerDrawFixed ? FItemHeight : FItems.FontItemHeight();
}

int TCustomListBox::FindString(int Start, const QString& Text, bool Exact) const
{
    return FItems.Find(Start, Text, Exact);
}

void TCustomListBox::DrawListItem(HDC DC, int Index, const TRect& Rect, TOwnerDrawState State)
{
    FItems.Paint(FStyle != lbStandard, DC, Index, Rect, State);
}

void TCustomListBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State)
{
    if (OnDrawItem)
        OnDrawItem(this, Index, Rect, State);
    else
        FItems.DefaultDraw(Index, Rect, State);
}

void TCustomListBox::MeasureItem(int Index, int& Height)
{
    if (OnMeasureItem)
        OnMeasureItem(this, Index, Height);
}

void TCustomListBox::CNDrawItem(TMessage& Message)
{
    FItems.DrawReflected(Message, [this](int I, const TRect& R, TOwnerDrawState S) { DrawItem(I, R, S); });
    Message.Result = 1;
}

void TCustomListBox::CNMeasureItem(TMessage& Message)
{
    auto& data = *reinterpret_cast<TMeasureItemStruct*>(Message.LParam);
    data.itemHeight = FItemHeight;
    if (FStyle == lbOwnerDrawVariable)
        MeasureItem(data.itemID, data.itemHeight);
    Message.Result = 1;
}

void TCustomListBox::CMFontChanged(TMessage& Message)
{
    TCustomItemList::CMFontChanged(Message);
    FItems.ForgetHeights();
    ItemsChanged();
}

void TCustomListBox::UserSelected()
{
    Click();
}

void TCustomListBox::KeyPress(QChar& Key)
{
    TCustomItemList::KeyPress(Key);
    // A typed character selects the next entry that starts with it.
    if (Key.isNull() || !Key.isPrint())
        return;
    const int index = FindString(ItemIndex(), QString(Key), false);
    if (index >= 0 && index != ItemIndex()) {
        SetItemIndex(index);
        UserSelected();
    }
}

void TCustomListBox::WndProc(TMessage& Message)
{
    if (!ListMessage(Message))
        TCustomItemList::WndProc(Message);
}

bool TCustomListBox::ListMessage(TMessage& Message)
{
    const int index = int(static_cast<intptr_t>(Message.WParam));
    const bool valid = index >= 0 && index < ItemCount();
    const auto* text = reinterpret_cast<const QString*>(Message.LParam);
    switch (Message.Msg) {
    case LB_GETCOUNT: Message.Result = ItemCount(); break;
    case LB_GETCURSEL: Message.Result = ItemIndex(); break;
    case LB_SETCURSEL:
        SetItemIndex(valid ? index : -1);
        Message.Result = valid ? index : LB_ERR;
        break;
    case LB_GETTEXT:
        if (valid)
            *reinterpret_cast<QString*>(Message.LParam) = Items()->Strings(index);
        Message.Result = valid ? Items()->Strings(index).size() : LB_ERR;
        break;
    case LB_ADDSTRING: Message.Result = Items()->Add(*text); break;
    case LB_INSERTSTRING: {
        const int at = index < 0 || index > ItemCount() ? ItemCount() : index;
        Items()->Insert(at, *text);
        Message.Result = at;
        break;
    }
    case LB_DELETESTRING:
        if (valid)
            Items()->Delete(index);
        Message.Result = valid ? ItemCount() : LB_ERR;
        break;
    case LB_RESETCONTENT: Items()->Clear(); break;
    case LB_FINDSTRING: Message.Result = FindString(index, *text, false); break;
    case LB_FINDSTRINGEXACT: Message.Result = FindString(index, *text, true); break;
    case LB_GETITEMDATA: Message.Result = valid ? reinterpret_cast<LRESULT>(Items()->Objects(index)) : LB_ERR; break;
    case LB_SETITEMDATA:
        if (valid)
            Items()->SetObjects(index, reinterpret_cast<TObject*>(Message.LParam));
        Message.Result = valid ? 0 : LB_ERR;
        break;
    case LB_GETTOPINDEX: Message.Result = TopIndex(); break;
    case LB_SETTOPINDEX: SetTopIndex(index); break;
    case LB_GETITEMHEIGHT: Message.Result = valid ? ItemHeightAt(index) : LB_ERR; break;
    case LB_GETITEMRECT:
        *reinterpret_cast<TRect*>(Message.LParam) = ItemRect(index);
        Message.Result = valid ? 1 : LB_ERR;
        break;
    default: return false;
    }
    return true;
}

TListBox::TListBox(TComponent* AOwner)
    : TCustomListBox(AOwner)
{
}

} // namespace vcl
