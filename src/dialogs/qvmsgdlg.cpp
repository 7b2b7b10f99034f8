#include "dialogs/qvmsgdlg.h"

#include "vcl/core/unitstartup.h"
#include "vcl/controls/application.h"

#include <bit>
#include <cmath>
#include <memory>
#include <tuple>

namespace Qvmsgdlg {

// The unit has empty start-up and shut-down bodies.
static const vcl::TUnitRegistration UnitRegistration(QStringLiteral("Qvmsgdlg"), {});

namespace {

TfrmMsgDlg* CurrentForm = nullptr;
TMsgDlgLayout Layout;

// Which picture and caption each dialog type shows (none for mtCustom).
TImage* TypePicture(TfrmMsgDlg* Form, TMsgDlgType Type)
{
    switch (Type) {
    case mtWarning: return Form->expWarn;
    case mtError: return Form->expError;
    case mtInformation: return Form->expInfo;
    case mtConfirmation: return Form->expConf;
    case mtCustom: break;
    }
    return nullptr;
}

QString TypeCaption(TMsgDlgType Type)
{
    switch (Type) {
    case mtWarning: return QStringLiteral("Warning");
    case mtError: return QStringLiteral("Error");
    case mtInformation: return QStringLiteral("Information");
    case mtConfirmation: return QStringLiteral("Confirmation");
    case mtCustom: break;
    }
    return Application()->Title();
}

// Sizes Form to its label: 100 pixels wider and higher than the text.
void FitToLabel(TfrmMsgDlg* Form)
{
    Form->SetHeight(Form->dlgLabel->Height() + 100);
    Form->SetWidth(Form->dlgLabel->Width() + 100);
}

// Restores the saved values of the listed properties when it goes out of scope.
template <class... T>
class TSavedProperties {
public:
    explicit TSavedProperties(T&... Values) : FRefs(Values...), FSaved(Values...) {}
    ~TSavedProperties() { FRefs = FSaved; }

private:
    std::tuple<T&...> FRefs;
    std::tuple<T...> FSaved;
};

} // namespace

TfrmMsgDlg* CurrentMsgDlgForm() { return CurrentForm; }
const TMsgDlgLayout& LastMsgDlgLayout() { return Layout; }

TqvMsgDlg::TqvMsgDlg(TComponent* AOwner)
    : TComponent(AOwner)
    , FMsg(QStringLiteral("Here's my Message..."))
{
}

void TqvMsgDlg::SetdialogAttributes(TfrmMsgDlg* Form)
{
    Layout = TMsgDlgLayout();
    TLabel* label = Form->dlgLabel;
    label->SetLeft(60);
    label->SetTop(8);
    label->SetAutoSize(true);
    label->SetWordWrap(false);
    label->SetCaption(FMsg);
    Form->SetHelpContext(FHelpContextID);
    FitToLabel(Form);
    if (TImage* picture = TypePicture(Form, FDialogType))
        picture->Show();
    Form->SetCaption(TypeCaption(FDialogType));

    // Every member counts for the spacing, also Yes to all and No to all, which have
    // no button and take no slot.
    const int count = std::popcount(static_cast<unsigned>(FDialogButtons.toInt()));
    if (count * 100 > Form->Width())
        Form->SetWidth(count * 100 + 8);
    const int spacing = static_cast<int>(std::nearbyint(static_cast<double>(Form->Width()) / (count + 1)));
    int slot = 1;
    const std::pair<TMsgDlgBtn, TSpeedButton*> order[] = {{mbYes, Form->cmdYes}, {mbNo, Form->cmdNo},
        {mbOK, Form->cmdOk}, {mbCancel, Form->cmdCancel}, {mbAbort, Form->cmdAbort}, {mbRetry, Form->cmdRetry},
        {mbIgnore, Form->cmdIgnore}, {mbAll, Form->cmdAll}, {mbHelp, Form->cmdHelp}};
    for (const auto& [member, button] : order) {
        if (!FDialogButtons.testFlag(member))
            continue;
        button->SetLeft(spacing * slot - 45);
        button->SetTop(Form->Height() - 60);
        button->Show();
        ++slot;
    }
    Layout = {count, slot, Form->Width(), spacing};
}

TModalResult TqvMsgDlg::ShowDialog(TfrmMsgDlg* Form)
{
    CurrentForm = Form;
    struct TClear {
        ~TClear() { CurrentForm = nullptr; }
    } clear;
    return Form->ShowModal();
}

uint16_t TqvMsgDlg::Execute()
{
    auto form = std::make_unique<TfrmMsgDlg>(Application());
    SetdialogAttributes(form.get());
    return ShowDialog(form.get()) == mrOk ? Qvfrmmsgdlg::ButtonPressed : uint16_t(mrCancel);
}

uint16_t TqvMsgDlg::MessageDlg(const QString& Message, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx)
{
    TSavedProperties saved(FMsg, FDialogType, FDialogButtons, FHelpContextID);
    FMsg = Message;
    FDialogType = DlgType;
    FDialogButtons = Buttons;
    FHelpContextID = HelpCtx;
    return Execute();
}

uint16_t TqvMsgDlg::InputQuery(const QString& Caption, const QString& Prompt, QString& Value)
{
    TSavedProperties saved(FMsg, FDialogType, FDialogButtons);
    if (!Prompt.isEmpty())
        FMsg = Prompt;
    FDialogType = mtCustom;
    FDialogButtons = TMsgDlgButtons(mbOK) | mbCancel;
    auto form = std::make_unique<TfrmMsgDlg>(Application());
    form->dlgLabel->SetAlign(alTop);
    form->dlgLabel->SetAlignment(taCenter);
    SetdialogAttributes(form.get());
    if (!Caption.isEmpty())
        form->SetCaption(Caption);
    TEdit* edit = form->txtEdit;
    edit->SetTop(form->dlgLabel->Height() + 10);
    edit->SetWidth(form->Width() - 50);
    edit->SetLeft((form->Width() - edit->Width()) / 2);
    edit->SetText(Value);
    edit->Show();
    const TModalResult result = ShowDialog(form.get());
    if (result == mrOk && !edit->Text().isEmpty())
        Value = edit->Text();
    return result == mrOk ? Qvfrmmsgdlg::ButtonPressed : uint16_t(mrCancel);
}

void TqvMsgDlg::ShowMessage(const QString& Message)
{
    auto form = std::make_unique<TfrmMsgDlg>(Application());
    TLabel* label = form->dlgLabel;
    label->SetLeft(60);
    label->SetWordWrap(false);
    label->SetAutoSize(true);
    label->SetCaption(Message);
    form->SetCaption(Application()->Title());
    form->expInfo->Show();
    FitToLabel(form.get());
    TSpeedButton* ok = form->cmdOk;
    ok->SetLeft(form->Width() / 2 - ok->Width() / 2);
    ok->SetTop(form->Height() - 60);
    ok->Show();
    ShowDialog(form.get());
}

} // namespace Qvmsgdlg
