#include "dialogs/qvfrmmsgdlg.h"

#include "vcl/core/unitstartup.h"
#include "vcl/controls/application.h"
#include "vcl/graphics/bitmap.h"

#include <algorithm>
#include <map>

namespace Qvfrmmsgdlg {

// The unit has empty start-up and shut-down bodies.
static const vcl::TUnitRegistration UnitRegistration(QStringLiteral("Qvfrmmsgdlg"), {});

uint16_t ButtonPressed = 0;

namespace {

// Handler name, the button code it records and the modal result it gives.
struct TButtonHandler {
    const char* Name;
    uint16_t Code;
    TModalResult Result;
};

constexpr TButtonHandler ButtonHandlers[] = {
    {"cmdYesClick", mrYes, mrOk},
    {"cmdNoClick", mrNo, mrOk},
    {"cmdOKClick", mrOk, mrOk},
    {"cmdCancelClick", mrCancel, mrCancel},
    {"cmdAbortClick", mrAbort, mrOk},
    {"cmdRetryClick", mrRetry, mrOk},
    {"cmdIgnoreClick", mrIgnore, mrOk},
    {"cmdAllClick", mrAll, mrOk},
};

} // namespace

TfrmMsgDlg::TfrmMsgDlg(TComponent* AOwner)
    : TForm(AOwner)
{
    if (!InitInheritedComponent(this, &TForm::staticMetaObject))
        throw EResNotFound(QStringLiteral("Resource for TfrmMsgDlg is not found."));
    cmdNo = Field<TSpeedButton>("cmdNo");
    cmdHelp = Field<TSpeedButton>("cmdHelp");
    cmdCancel = Field<TSpeedButton>("cmdCancel");
    cmdOk = Field<TSpeedButton>("cmdOk");
    cmdIgnore = Field<TSpeedButton>("cmdIgnore");
    cmdAll = Field<TSpeedButton>("cmdAll");
    cmdAbort = Field<TSpeedButton>("cmdAbort");
    cmdYes = Field<TSpeedButton>("cmdYes");
    cmdRetry = Field<TSpeedButton>("cmdRetry");
    expWarn = Field<TImage>("expWarn");
    expError = Field<TImage>("expError");
    expConf = Field<TImage>("expConf");
    expInfo = Field<TImage>("expInfo");
    dlgLabel = Field<TLabel>("dlgLabel");
    txtEdit = Field<TEdit>("txtEdit");
    LoadPictures();
}

template <class T>
T* TfrmMsgDlg::Field(const char* Name)
{
    T* field = dynamic_cast<T*>(FindComponent(QString::fromLatin1(Name)));
    if (field == nullptr)
        throw EComponentError(QStringLiteral("The layout of TfrmMsgDlg has no %1").arg(QString::fromLatin1(Name)));
    return field;
}

void TfrmMsgDlg::LoadPictures()
{
    // The pictures are the dialog's own artwork, kept as bitmaps beside the layout.
    const std::pair<TSpeedButton*, const char*> glyphs[] = {{cmdYes, "GLYPHYES"}, {cmdNo, "GLYPHNO"},
        {cmdOk, "GLYPHOK"}, {cmdCancel, "GLYPHCANCEL"}, {cmdAbort, "GLYPHABORT"}, {cmdRetry, "GLYPHRETRY"},
        {cmdIgnore, "GLYPHIGNORE"}, {cmdAll, "GLYPHALL"}, {cmdHelp, "GLYPHHELP"}};
    for (const auto& [button, name] : glyphs)
        button->Glyph()->LoadFromResourceName(QString::fromLatin1(name));
    const std::pair<TImage*, const char*> pictures[] = {{expWarn, "MSGWARNING"}, {expError, "MSGERROR"},
        {expConf, "MSGCONFIRMATION"}, {expInfo, "MSGINFORMATION"}};
    for (const auto& [image, name] : pictures) {
        image->Picture()->LoadFromResourceName(QString::fromLatin1(name));
        image->Picture()->SetTransparent(true);
    }
}

std::any TfrmMsgDlg::MethodAddress(const QString& Name) const
{
    auto* self = const_cast<TfrmMsgDlg*>(this);
    if (Name == QLatin1String("cmdHelpClick"))
        return TNotifyEvent([self](TObject*) { self->cmdHelpClick(); });
    for (const TButtonHandler& handler : ButtonHandlers)
        if (Name == QLatin1String(handler.Name))
            return TNotifyEvent([self, handler](TObject*) { self->Press(handler.Code, handler.Result); });
    return {};
}

QStringList TfrmMsgDlg::MethodNames() const
{
    QStringList names{QStringLiteral("cmdHelpClick")};
    for (const TButtonHandler& handler : ButtonHandlers)
        names << QString::fromLatin1(handler.Name);
    return names;
}

void TfrmMsgDlg::Press(uint16_t Code, TModalResult Result)
{
    ButtonPressed = Code;
    SetModalResult(Result);
}

void TfrmMsgDlg::cmdHelpClick()
{
    // The button comes up again and the dialog stays open.
    cmdHelp->SetDown(false);
    Application()->HelpContext(HelpContext());
}

std::vector<TSpeedButton*> TfrmMsgDlg::ShownButtons() const
{
    std::vector<TSpeedButton*> shown;
    for (TSpeedButton* button : {cmdYes, cmdNo, cmdOk, cmdCancel, cmdAbort, cmdRetry, cmdIgnore, cmdAll, cmdHelp})
        if (button->Visible())
            shown.push_back(button);
    std::stable_sort(shown.begin(), shown.end(), [](TSpeedButton* a, TSpeedButton* b) { return a->Left() < b->Left(); });
    return shown;
}

void TfrmMsgDlg::KeyDown(uint16_t& Key, TShiftState Shift)
{
    if (Key == VK_RETURN) {
        const std::vector<TSpeedButton*> shown = ShownButtons();
        if (!shown.empty()) {
            Key = 0;
            shown.front()->Click();
        }
    } else if (Key == VK_ESCAPE) {
        Key = 0;
        if (cmdCancel->Visible())
            cmdCancel->Click();
        else
            Close();
    }
    if (Key != 0)
        TForm::KeyDown(Key, Shift);
}

} // namespace Qvfrmmsgdlg
