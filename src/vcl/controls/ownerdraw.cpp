#include "vcl/controls/ownerdraw.h"

#include "vcl/controls/controls.h"
#include "vcl/graphics/canvas.h"

namespace vcl {

namespace {

// Sends Msg to the parent's window when there is one (it reflects the message back),
// else performs the reflected message on the control itself.
void SendToOwner(TWinControl& Control, unsigned Msg, LPARAM Record)
{
    if (TWinControl* parent = Control.Parent())
        SendMessage(parent->Handle(), Msg, 0, Record);
    else
        Control.Perform(CN_BASE + Msg, 0, Record);
}

} // namespace

void SendDrawItem(TWinControl& Control, TDrawItemStruct& Data)
{
    Data.hwndItem = Control.Handle();
    Data.CtlID = Data.hwndItem.Value;
    SendToOwner(Control, WM_DRAWITEM, reinterpret_cast<LPARAM>(&Data));
}

int SendMeasureItem(TWinControl& Control, TMeasureItemStruct& Data)
{
    Data.CtlID = Control.Handle().Value;
    SendToOwner(Control, WM_MEASUREITEM, reinterpret_cast<LPARAM>(&Data));
    return Data.itemHeight;
}

bool ReflectOwnerDrawMessage(TMessage& Message)
{
    quint64 id = 0;
    if (Message.Msg == WM_DRAWITEM)
        id = reinterpret_cast<const TDrawItemStruct*>(Message.LParam)->CtlID;
    else if (Message.Msg == WM_MEASUREITEM)
        id = reinterpret_cast<const TMeasureItemStruct*>(Message.LParam)->CtlID;
    TWinControl* control = id != 0 ? FindControl(HWND{id}) : nullptr;
    if (control == nullptr)
        return false;
    Message.Result = control->Perform(CN_BASE + Message.Msg, Message.WParam, Message.LParam);
    return true;
}

void DrawReflectedItem(TCanvas& Canvas, const TDrawItemStruct& Data, const TFont& Font, TColor Color,
    const std::function<void(int Index, const TRect& Rect, TOwnerDrawState State)>& Draw)
{
    if (Data.hDC == nullptr || Data.hDC->Surface() == nullptr)
        return;
    const TOwnerDrawState state = TOwnerDrawState::fromInt(Data.itemState);
    Canvas.SetSurface(Data.hDC->Surface());
    Canvas.Font()->Assign(&Font);
    Canvas.Brush()->SetStyle(bsSolid);
    Canvas.Brush()->SetColor(Color);
    if (Data.itemID >= 0 && state.testFlag(odSelected)) {
        Canvas.Brush()->SetColor(clHighlight);
        Canvas.Font()->SetColor(clHighlightText);
    }
    if (Data.itemID >= 0)
        Draw(Data.itemID, Data.rcItem, state);
    else
        Canvas.FillRect(Data.rcItem);
    if (state.testFlag(odFocused))
        Canvas.DrawFocusRect(Data.rcItem);
}

} // namespace vcl
