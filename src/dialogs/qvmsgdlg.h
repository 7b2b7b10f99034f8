#pragma once
// TqvMsgDlg: a message box of the package's own look (TfrmMsgDlg) for the component's
// configured message (Execute), one-off messages (MessageDlg), a text prompt
// (InputQuery) and a plain notice (ShowMessage). Results are button codes.
#include "dialogs/qvfrmmsgdlg.h"
#include "vcl/controls/dialogs.h"

#include <QObject>

namespace Qvmsgdlg {

using namespace vcl;
using Qvfrmmsgdlg::TfrmMsgDlg;

// The layout of the last dialog laid out.
struct TMsgDlgLayout {
    int ButtonCount = 0; // The number of buttons shown.
    int NextSlot = 0; // The slot the next button would take (buttons take slots 1, 2, ...).
    int FormWidth = 0; // The window's width.
    int Spacing = 0; // The distance between two slots: the window's width over the button count plus one.
};

// The dialog currently shown (null when none), for tests and scripted use.
TfrmMsgDlg* CurrentMsgDlgForm();
// The layout of the last dialog laid out, for tests.
const TMsgDlgLayout& LastMsgDlgLayout();

// A non-visual component that shows message boxes of the package's own look and returns
// the code of the button pressed (1 OK ... 8 All).
class TqvMsgDlg : public QObject, public TComponent {
    Q_OBJECT
    Q_PROPERTY(vcl::Dialogs::TMsgDlgType DialogType READ DialogType WRITE SetDialogType)
    Q_CLASSINFO("Default:DialogType", "mtInformation")
    Q_PROPERTY(vcl::Dialogs::TMsgDlgButtons DialogButtons READ DialogButtons WRITE SetDialogButtons)
    Q_CLASSINFO("Default:DialogButtons", "[mbOK]")
    Q_PROPERTY(int HelpContextID READ HelpContextID WRITE SetHelpContextID)
    Q_CLASSINFO("Default:HelpContextID", "0")
    Q_PROPERTY(QString Msg READ Msg WRITE SetMsg)
public:
    // Creates the component, owned (and freed) by AOwner.
    explicit TqvMsgDlg(TComponent* AOwner);

    // The picture and the caption's kind: warning, error, information or confirmation.
    TMsgDlgType DialogType() const { return FDialogType; }
    void SetDialogType(TMsgDlgType Value) { FDialogType = Value; }
    // The buttons Execute shows.
    TMsgDlgButtons DialogButtons() const { return FDialogButtons; }
    void SetDialogButtons(TMsgDlgButtons Value) { FDialogButtons = Value; }
    // The help context the dialog's Help button asks the application for.
    int HelpContextID() const { return FHelpContextID; }
    void SetHelpContextID(int Value) { FHelpContextID = Value; }
    // The text Execute shows.
    const QString& Msg() const { return FMsg; }
    void SetMsg(const QString& Value) { FMsg = Value; }

    // Shows the dialog for the current properties; the code of the button pressed,
    // 2 (Cancel) when the dialog was closed otherwise.
    uint16_t Execute();
    // As Execute for the arguments; the component's properties are unchanged after.
    uint16_t MessageDlg(const QString& Message, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx);
    // A prompt with an edit and OK and Cancel; after OK with a non-empty entry Value
    // holds the entry. An empty Prompt shows Msg; an empty Caption the application title.
    Q_INVOKABLE uint16_t InputQuery(const QString& Caption, const QString& Prompt, QString& Value);
    // The text with the information picture and an OK button; the properties are
    // neither read nor changed.
    void ShowMessage(const QString& Message);

    // Lays out Form for the current properties.
    void SetdialogAttributes(TfrmMsgDlg* Form);

private:
    TModalResult ShowDialog(TfrmMsgDlg* Form);

    TMsgDlgType FDialogType = mtInformation;
    TMsgDlgButtons FDialogButtons = mbOK;
    int FHelpContextID = 0;
    QString FMsg;
};

} // namespace Qvmsgdlg
