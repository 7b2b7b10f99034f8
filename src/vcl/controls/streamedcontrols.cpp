// The framework's components as form files know them: their classes, created by name
// when a form file is read, and the events each publishes.
#include "vcl/controls/controlevents.h"

#include "vcl/controls/buttons.h"
#include "vcl/controls/combobox.h"
#include "vcl/controls/comctrls.h"
#include "vcl/controls/dialogs.h"
#include "vcl/controls/extctrls.h"
#include "vcl/controls/forms.h"
#include "vcl/controls/listbox.h"
#include "vcl/controls/menus.h"
#include "vcl/controls/notebook.h"
#include "vcl/controls/richedit.h"
#include "vcl/controls/scrollbox.h"
#include "vcl/controls/stdctrls.h"
#include "vcl/controls/tabset.h"
#include "vcl/controls/timers.h"
#include "vcl/graphics/imagelist.h"
#include "vcl/streaming/classregistry.h"

namespace vcl {

namespace {

bool PublishFormEvents()
{
    PublishWindowEvents<TForm>();
    RegisterEvent<TForm>(&TCustomForm::OnCreate, "OnCreate");
    RegisterEvent<TForm>(&TCustomForm::OnDestroy, "OnDestroy");
    RegisterEvent<TForm>(&TCustomForm::OnShow, "OnShow");
    RegisterEvent<TForm>(&TCustomForm::OnHide, "OnHide");
    RegisterEvent<TForm>(&TCustomForm::OnClose, "OnClose");
    RegisterEvent<TForm>(&TCustomForm::OnCloseQuery, "OnCloseQuery");
    RegisterEvent<TForm>(&TCustomForm::OnActivate, "OnActivate");
    RegisterEvent<TForm>(&TCustomForm::OnDeactivate, "OnDeactivate");
    return RegisterEvent<TForm>(&TCustomForm::OnPaint, "OnPaint");
}

bool PublishStandardEvents()
{
    PublishWindowEvents<TPanel>();
    PublishWindowEvents<TButton>();
    PublishWindowEvents<TCheckBox>();
    PublishWindowEvents<TEdit>();
    RegisterEvent(&TEdit::OnChange, "OnChange");
    PublishWindowEvents<TMemo>();
    RegisterEvent(&TMemo::OnChange, "OnChange");
    PublishWindowEvents<TScrollBar>();
    RegisterEvent(&TScrollBar::OnChange, "OnChange");
    RegisterEvent(&TScrollBar::OnScroll, "OnScroll");
    PublishWindowEvents<TGroupBox>();
    PublishWindowEvents<TScrollBox>();
    PublishWindowEvents<TProgressBar>();
    PublishMouseEvents<TLabel>();
    PublishMouseEvents<TImage>();
    PublishMouseEvents<TShape>();
    PublishMouseEvents<TSpeedButton>();
    PublishMouseEvents<TPaintBox>();
    RegisterEvent(&TPaintBox::OnPaint, "OnPaint");
    RegisterEvent(&TTimer::OnTimer, "OnTimer");
    RegisterEvent(&TMenuItem::OnClick, "OnClick");
    return RegisterEvent(&TPopupMenu::OnPopup, "OnPopup");
}

bool RegisterStandardClasses()
{
    RegisterClasses({ClassOf<TForm>(), ClassOf<TPanel>(), ClassOf<TLabel>(), ClassOf<TButton>(),
        ClassOf<TCheckBox>(), ClassOf<TEdit>(), ClassOf<TMemo>(), ClassOf<TScrollBar>(), ClassOf<TGroupBox>(),
        ClassOf<TScrollBox>(), ClassOf<TProgressBar>(), ClassOf<TImage>(), ClassOf<TShape>(), ClassOf<TBevel>(),
        ClassOf<TPaintBox>(), ClassOf<TSpeedButton>(), ClassOf<TTimer>(), ClassOf<TMainMenu>(),
        ClassOf<TPopupMenu>(), ClassOf<TMenuItem>(), ClassOf<TImageList>(), ClassOf<TOpenDialog>(),
        ClassOf<TSaveDialog>(), ClassOf<TColorDialog>()});
    return true;
}

// Lists, combo boxes, tab rows, page books and rich edits.
bool RegisterListControls()
{
    RegisterClasses({ClassOf<TComboBox>(), ClassOf<TListBox>(), ClassOf<TTabSet>(), ClassOf<TNotebook>(),
        ClassOf<TPage>(), ClassOf<TRichEdit>()});
    PublishWindowEvents<TComboBox>();
    RegisterEvent<TComboBox>(&TCustomComboBox::OnChange, "OnChange");
    RegisterEvent<TComboBox>(&TCustomComboBox::OnDropDown, "OnDropDown");
    RegisterEvent<TComboBox>(&TCustomComboBox::OnCloseUp, "OnCloseUp");
    RegisterEvent<TComboBox>(&TCustomComboBox::OnDrawItem, "OnDrawItem");
    RegisterEvent<TComboBox>(&TCustomComboBox::OnMeasureItem, "OnMeasureItem");
    PublishWindowEvents<TListBox>();
    RegisterEvent<TListBox>(&TCustomListBox::OnDrawItem, "OnDrawItem");
    RegisterEvent<TListBox>(&TCustomListBox::OnMeasureItem, "OnMeasureItem");
    PublishMouseEvents<TTabSet>();
    RegisterEvent(&TTabSet::OnChange, "OnChange");
    RegisterEvent(&TTabSet::OnDrawTab, "OnDrawTab");
    RegisterEvent(&TTabSet::OnMeasureTab, "OnMeasureTab");
    RegisterEvent(&TNotebook::OnPageChanged, "OnPageChanged");
    PublishWindowEvents<TRichEdit>();
    return RegisterEvent(&TRichEdit::OnChange, "OnChange");
}

const bool Streamed = RegisterStandardClasses() && PublishFormEvents() && PublishStandardEvents()
    && RegisterListControls();

} // namespace

} // namespace vcl
