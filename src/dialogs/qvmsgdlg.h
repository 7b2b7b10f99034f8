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
    int ButtonCount = 0;
    int NextSlot = 0;
    int FormWidth = 0;
    int Spacing = 0;
};

// The dialog currently shown (null when none), for tests and scripted use.
TfrmMsgDlg* CurrentMsgDlgForm();
const TMsgDlgLayout& LastMsgDlgLayout();

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
    explicit TqvMsgDlg(TComponent* AOwner);

    TMsgDlgType DialogType() const { return FDialogType; }
    void SetDialogType(TMsgDlgType Value) { FDialogType = Value; }
    TMsgDlgButtons DialogButtons() const { return FDialogButtons; }
    void SetDialogButtons(TMsgDlgButtons Value) { FDialogButtons = Value; }
    int HelpContextID() const { return FHelpContextID; }
    void SetHelpContextID(int Value) { FHelpContextID = Value; }
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
