#pragma once
// TfrmMsgDlg: the message dialog's window, read from its stored layout: nine flat
// picture buttons, four type pictures, the message label and an edit for prompts.
#include "vcl/controls/buttons.h"
#include "vcl/controls/extctrls.h"
#include "vcl/controls/forms.h"
#include "vcl/controls/stdctrls.h"
#include "vcl/streaming/formfile.h"

#include <cstdint>

namespace Qvfrmmsgdlg {

using namespace vcl;

// The code of the last button pressed in any message dialog (1 OK, 2 Cancel, 3 Abort,
// 4 Retry, 5 Ignore, 6 Yes, 7 No, 8 All); not reset when a dialog opens.
extern uint16_t ButtonPressed;

// The message dialog's window: a picture for the message type, the text, an edit for
// prompts and up to nine buttons, laid out by TqvMsgDlg.
class TfrmMsgDlg : public TForm, public IMethodProvider {
    Q_OBJECT
public:
    // Creates the window and its children from its layout, owned (and freed) by AOwner.
    explicit TfrmMsgDlg(TComponent* AOwner);

    // The children made from the layout, by their names in it: the buttons, the four
    // pictures, the text and the prompt's edit.
    //@{
    TSpeedButton* cmdNo = nullptr;
    TSpeedButton* cmdHelp = nullptr;
    TSpeedButton* cmdCancel = nullptr;
    TSpeedButton* cmdOk = nullptr;
    TSpeedButton* cmdIgnore = nullptr;
    TSpeedButton* cmdAll = nullptr;
    TSpeedButton* cmdAbort = nullptr;
    TSpeedButton* cmdYes = nullptr;
    TSpeedButton* cmdRetry = nullptr;
    TImage* expWarn = nullptr;
    TImage* expError = nullptr;
    TImage* expConf = nullptr;
    TImage* expInfo = nullptr;
    TLabel* dlgLabel = nullptr;
    TEdit* txtEdit = nullptr;
    //@}

    // The layout's click handlers by name.
    std::any MethodAddress(const QString& Name) const override;
    QStringList MethodNames() const override; // The names MethodAddress knows.

    // The buttons shown, from left to right.
    std::vector<TSpeedButton*> ShownButtons() const;

protected:
    // Enter presses the leftmost shown button (the dialog's default); Escape presses
    // Cancel when it is shown and otherwise closes the dialog (result Cancel).
    void KeyDown(uint16_t& Key, TShiftState Shift) override;

private:
    template <class T>
    T* Field(const char* Name);
    void LoadPictures();
    void Press(uint16_t Code, TModalResult Result);
    void cmdHelpClick();
};

} // namespace Qvfrmmsgdlg
