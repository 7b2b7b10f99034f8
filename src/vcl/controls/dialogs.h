#pragma once
// The framework's dialogs: message boxes, text input, file and colour selection.
// Each one has a responder that answers it in place of a person (set by tests and
// headless tools); while a responder is set, nothing is shown.
#include "vcl/controls/controls.h"

#include <QFlags>
#include <QObject>
#include <QStringList>
#include <functional>

namespace vcl {

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn : unsigned {
    mbYes = 0x001,
    mbNo = 0x002,
    mbOK = 0x004,
    mbCancel = 0x008,
    mbAbort = 0x010,
    mbRetry = 0x020,
    mbIgnore = 0x040,
    mbAll = 0x080,
    mbHelp = 0x100,
    mbNoToAll = 0x200,
    mbYesToAll = 0x400,
};
Q_DECLARE_FLAGS(TMsgDlgButtons, TMsgDlgBtn)
Q_DECLARE_OPERATORS_FOR_FLAGS(TMsgDlgButtons)
constexpr TMsgDlgButtons mbYesNoCancel = TMsgDlgButtons(mbYes) | mbNo | mbCancel;
constexpr TMsgDlgButtons mbOKCancel = TMsgDlgButtons(mbOK) | mbCancel;
constexpr TMsgDlgButtons mbAbortRetryIgnore = TMsgDlgButtons(mbAbort) | mbRetry | mbIgnore;

// The dialog's caption for a message type ("Warning", "Error", "Information", "Confirm").
QString MsgDlgCaption(TMsgDlgType DlgType);
// The modal result a button gives (mrYes for mbYes ...; mrNone for mbHelp).
TModalResult ModalResultOf(TMsgDlgBtn Button);

// Shows Msg with an icon for DlgType and the given buttons; returns the modal result
// of the button chosen (mrCancel when the box is closed otherwise). The Help button
// asks the application for topic HelpCtx and leaves the box open.
int MessageDlg(const QString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx = 0);
void ShowMessage(const QString& Msg);
// Asks for a line of text; true and Value changed when the user chose OK.
bool InputQuery(const QString& ACaption, const QString& APrompt, QString& Value);

using TMessageDlgResponder = std::function<int(const QString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons)>;
using TInputQueryResponder = std::function<bool(const QString& Caption, const QString& Prompt, QString& Value)>;
void SetMessageDlgResponder(TMessageDlgResponder Responder);
void SetInputQueryResponder(TInputQueryResponder Responder);

enum TOpenOption : unsigned {
    ofReadOnly = 0x0001,
    ofOverwritePrompt = 0x0002,
    ofHideReadOnly = 0x0004,
    ofAllowMultiSelect = 0x0200,
    ofPathMustExist = 0x0800,
    ofFileMustExist = 0x1000,
    ofCreatePrompt = 0x2000,
};
Q_DECLARE_FLAGS(TOpenOptions, TOpenOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TOpenOptions)

// Common base of the dialog components.
class TCommonDialog : public QObject, public TComponent {
    Q_OBJECT
public:
    explicit TCommonDialog(TComponent* AOwner);
    // Runs OnShow, shows the dialog (or asks its responder), runs OnClose; true when
    // the user confirmed it.
    bool Execute();
    TNotifyEvent OnShow;
    TNotifyEvent OnClose;

protected:
    virtual bool DoExecute() = 0;
};

class TOpenDialog : public TCommonDialog {
    Q_OBJECT
    Q_PROPERTY(QString FileName READ FileName WRITE SetFileName)
    Q_PROPERTY(QString Filter READ Filter WRITE SetFilter)
    Q_PROPERTY(int FilterIndex READ FilterIndex WRITE SetFilterIndex)
    Q_PROPERTY(QString InitialDir READ InitialDir WRITE SetInitialDir)
    Q_PROPERTY(QString DefaultExt READ DefaultExt WRITE SetDefaultExt)
    Q_PROPERTY(QString Title READ Title WRITE SetTitle)
public:
    // Answers Execute: fills FileName (and Files) and returns whether to confirm.
    using TResponder = std::function<bool(TOpenDialog* Dialog)>;
    static void SetResponder(TResponder Responder);

    explicit TOpenDialog(TComponent* AOwner);

    QString FileName() const { return FFileName; }
    void SetFileName(const QString& Value) { FFileName = Value; }
    // The chosen files when ofAllowMultiSelect is set (else the one FileName).
    const QStringList& Files() const { return FFiles; }
    void SetFiles(const QStringList& Value);
    // "Text files (*.txt)|*.txt|All files (*.*)|*.*": description and masks in pairs.
    QString Filter() const { return FFilter; }
    void SetFilter(const QString& Value) { FFilter = Value; }
    // One-based index of the chosen filter.
    int FilterIndex() const { return FFilterIndex; }
    void SetFilterIndex(int Value) { FFilterIndex = Value; }
    QString InitialDir() const { return FInitialDir; }
    void SetInitialDir(const QString& Value) { FInitialDir = Value; }
    // Added (without its dot) to a name typed without an extension.
    QString DefaultExt() const { return FDefaultExt; }
    void SetDefaultExt(const QString& Value) { FDefaultExt = Value; }
    QString Title() const { return FTitle; }
    void SetTitle(const QString& Value) { FTitle = Value; }
    TOpenOptions Options() const { return FOptions; }
    void SetOptions(TOpenOptions Value) { FOptions = Value; }

    // The filter in Qt's form: "Text files (*.txt);;All files (*)".
    QStringList QtFilters() const;

protected:
    bool DoExecute() override;
    virtual bool IsSaveDialog() const { return false; }

private:
    QString WithDefaultExt(const QString& Name) const;

    QString FFileName;
    QStringList FFiles;
    QString FFilter;
    int FFilterIndex = 1;
    QString FInitialDir;
    QString FDefaultExt;
    QString FTitle;
    TOpenOptions FOptions = TOpenOptions(ofHideReadOnly);
};

class TSaveDialog : public TOpenDialog {
    Q_OBJECT
public:
    explicit TSaveDialog(TComponent* AOwner);

protected:
    bool IsSaveDialog() const override { return true; }
};

class TColorDialog : public TCommonDialog {
    Q_OBJECT
    Q_PROPERTY(vcl::TColor Color READ Color WRITE SetColor)
    Q_CLASSINFO("Default:Color", "clBlack")
    Q_PROPERTY(QStringList CustomColors READ CustomColors WRITE SetCustomColors)
public:
    // Answers Execute: sets Color and returns whether to confirm.
    using TResponder = std::function<bool(TColorDialog* Dialog)>;
    static void SetResponder(TResponder Responder);

    explicit TColorDialog(TComponent* AOwner);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value) { FColor = Value; }
    // The dialog's sixteen custom colours as "ColorA=BBGGRR" ... "ColorP=BBGGRR" (six
    // hexadecimal digits of the colour value): given to the dialog before it shows and
    // read back from it afterwards, confirmed or not. Missing names leave a slot as is.
    const QStringList& CustomColors() const { return FCustomColors; }
    void SetCustomColors(const QStringList& Value) { FCustomColors = Value; }

protected:
    bool DoExecute() override;

private:
    void PutCustomColors() const;
    void GetCustomColors();

    TColor FColor = clBlack;
    QStringList FCustomColors;
};

} // namespace vcl
