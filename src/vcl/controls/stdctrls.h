#pragma once
// Standard controls: a label painted on its parent, and thin controls over Qt's own
// widgets (button, check box, single- and multi-line edits, scroll bar, group box).
#include "vcl/controls/controls.h"
#include "vcl/core/strings.h"

#include <QStringList>

#include <memory>

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;

namespace vcl {

class TTextLines;

// The enumerations standard controls publish, in a namespace of their own (one
// meta-object per header) brought into vcl by the using-directive.
namespace StdCtrls {
Q_NAMESPACE

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
Q_ENUM_NS(TAlignment)
enum TTextLayout { tlTop, tlCenter, tlBottom };
Q_ENUM_NS(TTextLayout)

} // namespace StdCtrls
using namespace StdCtrls;

// A windowed control whose face is one Qt widget filling it. Mouse, key and focus
// events of the inner widget reach the control's messages and events too; the Qt
// widget keeps its own behaviour unless a key handler swallows the key.
class TWidgetControl : public TWinControl {
    Q_OBJECT
    Q_CLASSINFO("Default:TabStop", "True")
public:
    QWidget* InnerWidget() const { return FInner; }

protected:
    TWidgetControl(TComponent* AOwner, QWidget* Inner);
    void WMSize(TMessage& Message) override;
    void CMFontChanged(TMessage& Message) override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    // Offers a key to the control's handlers; true when they swallowed it.
    bool FilterKey(QKeyEvent* Event);
    QWidget* FInner;
    // True while a character changed by a key handler is handed to the widget.
    bool FReplaying = false;
};

class TLabel : public TGraphicControl {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(vcl::StdCtrls::TAlignment Alignment READ Alignment WRITE SetAlignment)
    Q_CLASSINFO("Default:Alignment", "taLeftJustify")
    Q_PROPERTY(vcl::StdCtrls::TTextLayout Layout READ Layout WRITE SetLayout)
    Q_CLASSINFO("Default:Layout", "tlTop")
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
    Q_CLASSINFO("Default:AutoSize", "True")
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE SetWordWrap)
    Q_CLASSINFO("Default:WordWrap", "False")
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    Q_CLASSINFO("Default:Transparent", "False")
    Q_PROPERTY(bool ShowAccelChar READ ShowAccelChar WRITE SetShowAccelChar)
    Q_CLASSINFO("Default:ShowAccelChar", "True")
public:
    explicit TLabel(TComponent* AOwner);

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    TTextLayout Layout() const { return FLayout; }
    void SetLayout(TTextLayout Value);
    // The label takes the size of its text after every change of text or font.
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    // "&" marks the accelerator (underlined; Alt+letter focuses FocusControl).
    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool Value);
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* Value);

protected:
    void Paint() override;
    void CMTextChanged(TMessage& Message) override;
    void CMFontChanged(TMessage& Message) override;
    void CMDialogChar(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    unsigned TextFlags() const;
    void AdjustBounds();

    TAlignment FAlignment = taLeftJustify;
    TTextLayout FLayout = tlTop;
    bool FAutoSize = true;
    bool FWordWrap = false;
    bool FTransparent = false;
    bool FShowAccelChar = true;
    TWinControl* FFocusControl = nullptr;
};

class TButton : public TWidgetControl {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(int ModalResult READ ModalResult WRITE SetModalResult)
    Q_CLASSINFO("Default:ModalResult", "0")
    Q_PROPERTY(bool Default READ Default WRITE SetDefault)
    Q_CLASSINFO("Default:Default", "False")
    Q_PROPERTY(bool Cancel READ Cancel WRITE SetCancel)
    Q_CLASSINFO("Default:Cancel", "False")
public:
    explicit TButton(TComponent* AOwner);

    // Clicking sets this result on the button's form (closing a modal form).
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult Value) { FModalResult = Value; }
    // Enter on the form clicks the default button, Escape the cancel button.
    bool Default() const { return FDefault; }
    void SetDefault(bool Value);
    bool Cancel() const { return FCancel; }
    void SetCancel(bool Value) { FCancel = Value; }
    QPushButton* Button() const { return FButton; }

    void Click() override;

protected:
    void CMTextChanged(TMessage& Message) override;
    void CMDialogChar(TMessage& Message) override;
    void Dispatch(TMessage& Message) override;

private:
    QPushButton* FButton;
    TModalResult FModalResult = mrNone;
    bool FDefault = false;
    bool FCancel = false;
};

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

class TCheckBox : public TWidgetControl {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(bool Checked READ Checked WRITE SetChecked)
    Q_CLASSINFO("Default:Checked", "False")
    Q_PROPERTY(bool AllowGrayed READ AllowGrayed WRITE SetAllowGrayed)
    Q_CLASSINFO("Default:AllowGrayed", "False")
public:
    explicit TCheckBox(TComponent* AOwner);

    bool Checked() const { return FState == cbChecked; }
    // Changing the state runs OnClick, as a click does.
    void SetChecked(bool Value) { SetState(Value ? cbChecked : cbUnchecked); }
    TCheckBoxState State() const { return FState; }
    void SetState(TCheckBoxState Value);
    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool Value);

protected:
    void CMTextChanged(TMessage& Message) override;
    void CMDialogChar(TMessage& Message) override;

private:
    QCheckBox* FCheckBox;
    TCheckBoxState FState = cbUnchecked;
    bool FAllowGrayed = false;
};

class TEdit : public TWidgetControl {
    Q_OBJECT
    Q_PROPERTY(QString Text READ Text WRITE SetText)
    Q_PROPERTY(int MaxLength READ MaxLength WRITE SetMaxLength)
    Q_CLASSINFO("Default:MaxLength", "0")
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
    Q_CLASSINFO("Default:ReadOnly", "False")
public:
    explicit TEdit(TComponent* AOwner);

    // 0: no limit.
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int Value);
    bool ReadOnly() const;
    void SetReadOnly(bool Value);
    // Shown instead of every character when not null (for passwords).
    QChar PasswordChar() const { return FPasswordChar; }
    void SetPasswordChar(QChar Value);
    void SelectAll();
    QString SelText() const;

    // Runs after every change of the text, typed or set.
    TNotifyEvent OnChange;

protected:
    void CMTextChanged(TMessage& Message) override;

private:
    QLineEdit* FEdit;
    int FMaxLength = 0;
    QChar FPasswordChar;
};

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TMemo : public TWidgetControl {
    Q_OBJECT
    Q_PROPERTY(vcl::TStrings* Lines READ Lines)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
    Q_CLASSINFO("Default:ReadOnly", "False")
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE SetWordWrap)
    Q_CLASSINFO("Default:WordWrap", "True")
public:
    explicit TMemo(TComponent* AOwner);

    ~TMemo() override;
    // The text's lines, read and changed in the editor (a final line break adds no
    // empty line).
    TStrings* Lines() const;
    void SetLines(const TStrings* Value);
    bool ReadOnly() const;
    void SetReadOnly(bool Value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle Value);
    QPlainTextEdit* Editor() const { return FMemo; }

    TNotifyEvent OnChange;

protected:
    void CMTextChanged(TMessage& Message) override;

private:
    QPlainTextEdit* FMemo;
    std::unique_ptr<TTextLines> FLines;
    bool FWordWrap = true;
    TScrollStyle FScrollBars = ssNone;
};

enum TScrollBarKind { sbHorizontal, sbVertical };
enum TScrollCode { scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll };
using TScrollEvent = std::function<void(TObject* Sender, TScrollCode ScrollCode, int& ScrollPos)>;

class TScrollBar : public TWidgetControl {
    Q_OBJECT
    Q_PROPERTY(int Min READ Min WRITE SetMin)
    Q_CLASSINFO("Default:Min", "0")
    Q_PROPERTY(int Max READ Max WRITE SetMax)
    Q_CLASSINFO("Default:Max", "100")
    Q_PROPERTY(int Position READ Position WRITE SetPosition)
    Q_CLASSINFO("Default:Position", "0")
    Q_PROPERTY(int SmallChange READ SmallChange WRITE SetSmallChange)
    Q_CLASSINFO("Default:SmallChange", "1")
    Q_PROPERTY(int LargeChange READ LargeChange WRITE SetLargeChange)
    Q_CLASSINFO("Default:LargeChange", "1")
public:
    explicit TScrollBar(TComponent* AOwner);

    TScrollBarKind Kind() const { return FKind; }
    void SetKind(TScrollBarKind Value);
    int Min() const;
    void SetMin(int Value);
    int Max() const;
    void SetMax(int Value);
    int Position() const;
    void SetPosition(int Value);
    void SetParams(int APosition, int AMin, int AMax);
    int SmallChange() const;
    void SetSmallChange(int Value);
    int LargeChange() const;
    void SetLargeChange(int Value);

    TNotifyEvent OnChange;
    // Runs for each scrolling action of the user; the handler may change ScrollPos.
    TScrollEvent OnScroll;

private:
    void Scroll(int Action);
    QScrollBar* FBar;
    TScrollBarKind FKind = sbHorizontal;
};

// A frame with a caption around a group of controls.
class TGroupBox : public TCustomControl {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
public:
    explicit TGroupBox(TComponent* AOwner);

protected:
    void Paint() override;
    void AlignControls(TRect& Rect) override;
    void CMTextChanged(TMessage& Message) override;

private:
    int CaptionHeight();
};

} // namespace vcl
