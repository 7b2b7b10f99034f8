#pragma once
// Controls: TControl and its three kinds, TGraphicControl (no window handle),
// TWinControl (a window handle, children, focus) and TCustomControl (a window with
// a canvas to paint on).
//
// Every control is a QWidget. It paints into a back buffer of its own size through
// Paint on its Canvas, and shows that buffer; tests read the buffer (BackBuffer).
// Qt's events are translated into the classic messages and dispatched through the
// virtual WndProc, so a control reacts to CM_MOUSEENTER or WM_ERASEBKGND as the units
// expect, and a window's procedure can be replaced to subclass it.
#include "vcl/controls/menus.h"
#include "vcl/controls/messages.h"
#include "vcl/core/classes.h"
#include "vcl/graphics/colors.h"
#include "vcl/graphics/graphicsobjects.h"

#include <QImage>
#include <QWidget>
#include <memory>
#include <vector>

namespace vcl {

class TCanvas;
class TWinControl;
class TCustomForm;

// The enumerations of this unit that properties publish: Q_ENUMs of a namespace of
// their own (one meta-object per header), brought into vcl by the using-directive.
namespace Controls {
Q_NAMESPACE

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
Q_ENUM_NS(TAlign)
// Where a button's glyph sits against its caption.
enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
Q_ENUM_NS(TButtonLayout)

// Cursor identifiers, with the classic numbers.
enum TCursor : int {
    crDefault = 0,
    crNone = -1,
    crArrow = -2,
    crCross = -3,
    crIBeam = -4,
    crSizeNESW = -6,
    crSizeNS = -7,
    crSizeNWSE = -8,
    crSizeWE = -9,
    crUpArrow = -10,
    crHourGlass = -11,
    crDrag = -12,
    crNoDrop = -13,
    crHSplit = -14,
    crVSplit = -15,
    crMultiDrag = -16,
    crSQLWait = -17,
    crNo = -18,
    crAppStart = -19,
    crHelp = -20,
    crHandPoint = -21,
    crSizeAll = -22,
};
Q_ENUM_NS(TCursor)

// Whether a press starts dragging the control by itself (dmAutomatic) or the control
// calls BeginDrag (dmManual).
enum TDragMode { dmManual, dmAutomatic };
Q_ENUM_NS(TDragMode)

} // namespace Controls
using namespace Controls;

enum TMouseButton { mbLeft, mbRight, mbMiddle };

enum TShiftStateItem : unsigned {
    ssShift = 0x01,
    ssAlt = 0x02,
    ssCtrl = 0x04,
    ssLeft = 0x08,
    ssRight = 0x10,
    ssMiddle = 0x20,
    ssDouble = 0x40,
};
Q_DECLARE_FLAGS(TShiftState, TShiftStateItem)
Q_DECLARE_OPERATORS_FOR_FLAGS(TShiftState)

enum TControlStyleItem : unsigned {
    csAcceptsControls = 0x0001,
    csCaptureMouse = 0x0002,
    csDesignInteractive = 0x0004,
    csClickEvents = 0x0008,
    csFramed = 0x0010,
    csSetCaption = 0x0020,
    // The control paints every pixel of its rectangle: nothing is erased before Paint.
    csOpaque = 0x0040,
    csDoubleClicks = 0x0080,
    csFixedWidth = 0x0100,
    csFixedHeight = 0x0200,
    csNoDesignVisible = 0x0400,
    csReplicatable = 0x0800,
    csNoStdEvents = 0x1000,
};
Q_DECLARE_FLAGS(TControlStyle, TControlStyleItem)
Q_DECLARE_OPERATORS_FOR_FLAGS(TControlStyle)

// What a control is going through at the moment.
enum TControlStateItem : unsigned {
    // The left button went down on the control and has not come up yet.
    csLButtonDown = 0x0001,
};
Q_DECLARE_FLAGS(TControlState, TControlStateItem)
Q_DECLARE_OPERATORS_FOR_FLAGS(TControlState)

// Dragging one control (or object) onto another: the stages a target sees.
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };
using TDragOverEvent = std::function<void(TObject* Sender, TObject* Source, int X, int Y, TDragState State, bool& Accept)>;
using TDragDropEvent = std::function<void(TObject* Sender, TObject* Source, int X, int Y)>;
using TEndDragEvent = std::function<void(TObject* Sender, TObject* Target, int X, int Y)>;
// Raised when a drag of the control begins; a handler may set DragObject to what the
// targets are offered instead of the control itself.
using TStartDragEvent = std::function<void(TObject* Sender, TObject*& DragObject)>;


using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = std::function<void(TObject* Sender, uint16_t& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, QChar& Key)>;

// Virtual-key codes of the keys the units look at (letters and digits are their
// upper-case ASCII codes).
enum : uint16_t {
    VK_BACK = 0x08,
    VK_TAB = 0x09,
    VK_RETURN = 0x0D,
    VK_SHIFT = 0x10,
    VK_CONTROL = 0x11,
    VK_MENU = 0x12,
    VK_ESCAPE = 0x1B,
    VK_SPACE = 0x20,
    VK_PRIOR = 0x21,
    VK_NEXT = 0x22,
    VK_END = 0x23,
    VK_HOME = 0x24,
    VK_LEFT = 0x25,
    VK_UP = 0x26,
    VK_RIGHT = 0x27,
    VK_DOWN = 0x28,
    VK_INSERT = 0x2D,
    VK_DELETE = 0x2E,
    VK_F1 = 0x70,
    VK_F12 = 0x7B,
};

// True when Str marks Key as its accelerator ("&File" for 'F'); "&&" is a literal ampersand.
bool IsAccel(uint16_t Key, const QString& Str);
// The results of a modal form or dialog.
using TModalResult = int;
enum : TModalResult {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7,
    mrAll = 8,
    mrNoToAll = 9,
    mrYesToAll = 10,
};

// Controls of this framework always draw in the new (flat, 3-D bevelled) style.
constexpr bool NewStyleControls = true;

class TControl : public QWidget, public TComponent {
    Q_OBJECT
    // Declared defaults (Q_CLASSINFO "Default:<Property>") are the values a new control
    // has; a property equal to its default is not written to a form file.
    Q_PROPERTY(int Left READ Left WRITE SetLeft)
    Q_PROPERTY(int Top READ Top WRITE SetTop)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(vcl::Controls::TAlign Align READ Align WRITE SetAlign)
    Q_CLASSINFO("Default:Align", "alNone")
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_CLASSINFO("Default:Visible", "True")
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_CLASSINFO("Default:Enabled", "True")
    Q_PROPERTY(vcl::TColor Color READ Color WRITE SetColor)
    Q_CLASSINFO("Default:Color", "clBtnFace")
    Q_CLASSINFO("Stored:Color", "IsColorStored")
    Q_PROPERTY(bool ParentColor READ ParentColor WRITE SetParentColor)
    Q_CLASSINFO("Default:ParentColor", "True")
    Q_PROPERTY(vcl::TFont* Font READ Font WRITE SetFont)
    Q_CLASSINFO("Stored:Font", "IsFontStored")
    Q_PROPERTY(bool ParentFont READ ParentFont WRITE SetParentFont)
    Q_CLASSINFO("Default:ParentFont", "True")
    Q_PROPERTY(QString Hint READ Hint WRITE SetHint)
    Q_PROPERTY(bool ShowHint READ ShowHint WRITE SetShowHint)
    Q_CLASSINFO("Stored:ShowHint", "IsShowHintStored")
    Q_CLASSINFO("Default:ShowHint", "False")
    Q_PROPERTY(bool ParentShowHint READ ParentShowHint WRITE SetParentShowHint)
    Q_CLASSINFO("Default:ParentShowHint", "True")
    Q_PROPERTY(vcl::TPopupMenu* PopupMenu READ PopupMenu WRITE SetPopupMenu)
    Q_PROPERTY(vcl::Controls::TCursor Cursor READ Cursor WRITE SetCursor)
    Q_CLASSINFO("Default:Cursor", "crDefault")
    Q_PROPERTY(int Tag READ Tag WRITE SetTag)
    Q_CLASSINFO("Default:Tag", "0")
    Q_PROPERTY(int HelpContext READ HelpContext WRITE SetHelpContext)
    Q_CLASSINFO("Default:HelpContext", "0")
    Q_PROPERTY(vcl::Controls::TDragMode DragMode READ DragMode WRITE SetDragMode)
    Q_CLASSINFO("Default:DragMode", "dmManual")
    Q_PROPERTY(vcl::Controls::TCursor DragCursor READ DragCursor WRITE SetDragCursor)
    Q_CLASSINFO("Default:DragCursor", "crDrag")

public:
    explicit TControl(TComponent* AOwner);
    ~TControl() override;

    // The windowed control this one sits on (null: not shown anywhere).
    TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* AParent);
    // Form files nest a control in its parent control.
    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* Value) override;
    // Aligns the control in its parent now that its bounds and Align are all read.
    void Loaded() override;

    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetLeft(int Value) { SetBounds(Value, FTop, FWidth, FHeight); }
    void SetTop(int Value) { SetBounds(FLeft, Value, FWidth, FHeight); }
    void SetWidth(int Value) { SetBounds(FLeft, FTop, Value, FHeight); }
    void SetHeight(int Value) { SetBounds(FLeft, FTop, FWidth, Value); }
    TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
    virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    virtual int ClientWidth() const { return FWidth; }
    virtual int ClientHeight() const { return FHeight; }
    TRect ClientRect() const { return Rect(0, 0, ClientWidth(), ClientHeight()); }
    TPoint ClientToScreen(const TPoint& Point) const;
    TPoint ScreenToClient(const TPoint& Point) const;

    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign Value);

    bool Visible() const { return FVisible; }
    virtual void SetVisible(bool Value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible and on a parent chain that is visible up to a shown window.
    bool Showing() const;
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);

    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool Value);
    TFont* Font() const { return FFont.get(); }
    void SetFont(const TFont* Value);
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool Value);

    // Caption and Text are the same string, as in the original.
    QString Caption() const { return FText; }
    void SetCaption(const QString& Value) { SetText(Value); }
    QString Text() const { return FText; }
    void SetText(const QString& Value);
    QString Hint() const { return FHint; }
    void SetHint(const QString& Value);
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool Value);
    // While set, ShowHint follows the parent's ShowHint; setting ShowHint clears it.
    bool ParentShowHint() const { return FParentShowHint; }
    void SetParentShowHint(bool Value);
    TCursor Cursor() const { return FCursor; }
    // The help topic F1 asks for over this control (0: the parent's).
    int HelpContext() const { return FHelpContext; }
    void SetHelpContext(int Value) { FHelpContext = Value; }
    void SetCursor(TCursor Value);
    // Colour, font and ShowHint are stored where they are the control's own: not taken
    // from a parent (Q_CLASSINFO "Stored:<Property>" names these for the form writer).
    Q_INVOKABLE bool IsColorStored() const { return !FParentColor || FParent == nullptr; }
    Q_INVOKABLE bool IsFontStored() const { return !FParentFont || FParent == nullptr; }
    Q_INVOKABLE bool IsShowHintStored() const { return !FParentShowHint || FParent == nullptr; }
    TPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TPopupMenu* Value);

    TControlStyle ControlStyle() const { return FControlStyle; }
    void SetControlStyle(TControlStyle Value) { FControlStyle = Value; }
    TControlState ControlState() const { return FControlState; }
    void SetControlState(TControlState Value) { FControlState = Value; }

    // Dragging onto this control (dragdrop.cpp): DragOver asks OnDragOver whether a
    // drop of Source at (X, Y) is welcome (no handler: refused); DragDrop runs
    // OnDragDrop; EndDrag tells the dragged control where it went (null: nowhere).
    virtual void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept);
    virtual void DragDrop(TObject* Source, int X, int Y);
    virtual void EndDrag(TObject* Target, int X, int Y);
    // Starts dragging this control with the mouse (dragdrop.cpp): at once when
    // Immediate, else once the pointer has moved Threshold pixels along either axis
    // (a negative Threshold: the platform's drag distance). The drag follows the
    // pointer while the button is held, drops on release and is cancelled by Escape.
    void BeginDrag(bool Immediate, int Threshold = -1);
    // Whether a drag of this control is under way (also while waiting for the threshold).
    bool Dragging() const;
    TDragMode DragMode() const { return FDragMode; }
    void SetDragMode(TDragMode Value) { FDragMode = Value; }
    // The pointer shown over a control that takes the drop (crNoDrop elsewhere).
    TCursor DragCursor() const { return FDragCursor; }
    void SetDragCursor(TCursor Value) { FDragCursor = Value; }

    // Sends a message straight to this control's WindowProc and returns its result.
    LRESULT Perform(unsigned Msg, WPARAM WParam = 0, LPARAM LParam = 0);
    // The procedure that receives this control's messages; WndProc unless a
    // component replaced it (keep the previous value and call it, then put it back).
    TWndMethod WindowProc;

    // The canvas over this control's back buffer (the client area for a form).
    virtual TCanvas* Canvas();
    // What the control last painted, at its own size.
    const QImage& BackBuffer() const { return FBackBuffer; }

    // Marks the whole control for painting at the next paint cycle.
    virtual void Invalidate();
    // Paints now what is marked for painting.
    virtual void Update();
    void Repaint();
    void Refresh() { Repaint(); }

    virtual void BringToFront();
    virtual void SendToBack();
    // The form the control sits on (null when it is not on one).
    TCustomForm* GetParentForm() const;

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TNotifyEvent OnResize;
    TDragOverEvent OnDragOver;
    TDragDropEvent OnDragDrop;
    TEndDragEvent OnEndDrag;
    TStartDragEvent OnStartDrag;

protected:
    // The setter of a property that only changes the look: stores a different value
    // and invalidates; false (nothing done) when the value is the same.
    template <class T>
    bool ChangeProperty(T& Field, const T& Value)
    {
        if (Field == Value)
            return false;
        Field = Value;
        Invalidate();
        return true;
    }

    void Notification(TComponent* AComponent, TOperation Operation) override;
    virtual void WndProc(TMessage& Message);
    // Calls the handler of Message.Msg, or DefaultHandler.
    virtual void Dispatch(TMessage& Message);
    virtual void DefaultHandler(TMessage& Message);
    // Delivers a message translated from a Qt event: through the window's procedure
    // when the control has a window handle, else to WindowProc.
    virtual LRESULT SendToWindow(unsigned Msg, WPARAM WParam = 0, LPARAM LParam = 0);

    virtual void Paint();
    virtual void Click();
    virtual void DblClick();
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void Resize();
    // Runs OnStartDrag as a drag of this control begins.
    virtual void DoStartDrag(TObject*& DragObject);

    // Message handlers called by Dispatch.
    virtual void CMMouseEnter(TMessage& Message);
    virtual void CMMouseLeave(TMessage& Message);
    virtual void CMEnabledChanged(TMessage& Message);
    virtual void CMFontChanged(TMessage& Message);
    virtual void CMColorChanged(TMessage& Message);
    virtual void CMTextChanged(TMessage& Message);
    virtual void CMSysColorChange(TMessage& Message);
    virtual void CMDialogChar(TMessage& Message);
    virtual void CMParentColorChanged(TMessage& Message);
    virtual void CMParentFontChanged(TMessage& Message);
    virtual void CMVisibleChanged(TMessage& Message);
    virtual void CNDrawItem(TMessage& Message);
    virtual void CNMeasureItem(TMessage& Message);
    virtual void WMEraseBkgnd(TMessage& Message);
    virtual void WMPaint(TMessage& Message);
    // A control with a frame of its own (the non-client part) draws it here; the
    // control sends itself WM_NCPAINT after WM_PAINT.
    virtual void WMNCPaint(TMessage& Message);
    virtual void WMSize(TMessage& Message);
    virtual void WMMouse(TMessage& Message);
    virtual void WMDropFiles(TMessage& Message);

    // Shows what was drawn into the back buffer outside Paint, without painting again.
    void ShowBackBuffer();

    // Qt side.
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool event(QEvent* event) override;

    // The canvas over the control's own back buffer (for a form: the whole window).
    TCanvas* BackBufferCanvas();
    // The widget children are placed in (the client area of a form).
    virtual QWidget* ClientWidget() { return this; }
    friend class TWinControl;
    friend class TCustomForm;

private:
    void PaintBackBuffer();
    // Gives the back buffer the control's size (cleared, and marked for painting).
    void EnsureBackBuffer();
    void ApplyGeometry();
    void FontChanged();
    void RequestAlign();

    TWinControl* FParent = nullptr;
    int FLeft = 0;
    int FTop = 0;
    int FWidth = 0;
    int FHeight = 0;
    TAlign FAlign = alNone;
    bool FVisible = true;
    bool FEnabled = true;
    TColor FColor = clBtnFace;
    bool FParentColor = true;
    std::unique_ptr<TFont> FFont;
    bool FParentFont = true;
    QString FText;
    QString FHint;
    bool FShowHint = false;
    bool FParentShowHint = true;
    TCursor FCursor = crDefault;
    int FHelpContext = 0;
    TDragMode FDragMode = dmManual;
    TCursor FDragCursor = crDrag;
    TPopupMenu* FPopupMenu = nullptr;
    TControlStyle FControlStyle = TControlStyle(csCaptureMouse) | csClickEvents | csSetCaption | csDoubleClicks;
    TControlState FControlState;
    QImage FBackBuffer;
    std::unique_ptr<TCanvas> FCanvas;
    bool FNeedsPaint = true;
    bool FPressedLeft = false;
};

// A control without a window handle, painted on its parent (a label, a shape).
class TGraphicControl : public TControl {
    Q_OBJECT
public:
    explicit TGraphicControl(TComponent* AOwner);
};

// What CreateWnd builds a window from; descendants adjust it in CreateParams.
struct TCreateParams {
    QString Caption;
    unsigned Style = 0;
    unsigned ExStyle = 0;
    int X = 0;
    int Y = 0;
    int Width = 0;
    int Height = 0;
};

// A control with a window handle: it can hold children, take the focus and have
// its window procedure subclassed.
class TWinControl : public TControl {
    Q_OBJECT
    Q_PROPERTY(bool TabStop READ TabStop WRITE SetTabStop)
    Q_CLASSINFO("Default:TabStop", "False")
    Q_PROPERTY(int TabOrder READ TabOrder WRITE SetTabOrder)
public:
    explicit TWinControl(TComponent* AOwner);
    ~TWinControl() override;

    int ControlCount() const { return static_cast<int>(FControls.size()); }
    TControl* Controls(int Index) const;
    // Sends the message to every child control until one answers with a non-zero result.
    void Broadcast(TMessage& Message);

    // The window handle, created on first use.
    HWND Handle();
    bool HandleAllocated() const { return static_cast<bool>(FHandle); }
    // Destroys the window and builds a new one (a new handle); WM_DESTROY is seen
    // by the old window's procedure.
    void RecreateWnd();
    void HandleNeeded() { Handle(); }
    // The widget the control's children are placed in (a form's client area).
    QWidget* ClientSurface() { return ClientWidget(); }

    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool Value);
    // The place of this control in its parent's tab order (-1 without a parent); a
    // value past the end moves it to the end, and Tab follows the order.
    int TabOrder() const;
    void SetTabOrder(int Value);
    bool Focused() const;
    bool CanFocus() const;
    virtual void SetFocus();

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    // Lays out the children by their Align, in the order top, bottom, left, right, client.
    void Realign();
    // Between DisableAlign and the matching EnableAlign the children are not laid out
    // (pairs nest); the last EnableAlign lays them out once.
    void DisableAlign();
    void EnableAlign();
    // The child controls owned by Root, in z-order.
    void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) const override;

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;

protected:
    virtual void CreateParams(TCreateParams& Params);
    virtual void CreateWnd();
    virtual void DestroyWnd();
    void CreateHandle();
    void DestroyHandle();

    LRESULT SendToWindow(unsigned Msg, WPARAM WParam = 0, LPARAM LParam = 0) override;
    void Dispatch(TMessage& Message) override;
    void WMEraseBkgnd(TMessage& Message) override;
    void CMColorChanged(TMessage& Message) override;
    void CMFontChanged(TMessage& Message) override;
    // Offers the accelerator to the children in turn; a control that has accelerators
    // of its own overrides this and answers 1 when it took the key.
    void CMDialogChar(TMessage& Message) override;

    virtual void KeyDown(uint16_t& Key, TShiftState Shift);
    virtual void KeyUp(uint16_t& Key, TShiftState Shift);
    virtual void KeyPress(QChar& Key);
    virtual void DoEnter();
    virtual void DoExit();
    virtual void AlignControls(TRect& Rect);
    // Offers Enter, Escape (and other dialog keys) to the form's controls as
    // CM_DIALOGKEY; true when one of them took it (a default or cancel button).
    bool DialogKey(uint16_t Key);

    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    friend class TControl;
    void InsertControl(TControl* AControl);
    void RemoveControl(TControl* AControl);
    void NotifyControls(unsigned Msg);
    // Alt+letter: offered to the form's controls as CM_DIALOGCHAR; true when taken.
    bool DialogChar(const QKeyEvent* event);
    // F1: asks the application for the help topic of this control or of the nearest
    // parent that names one; true when there was a topic.
    bool ShowHelp();

    std::vector<TControl*> FControls;
    // The windowed children in tab order.
    std::vector<TWinControl*> FTabList;
    HWND FHandle;
    bool FTabStop = false;
    bool FAligning = false;
    int FAlignDisabled = 0;
};

// A windowed control that paints itself on its canvas (the base of most of the
// package's custom controls).
class TCustomControl : public TWinControl {
    Q_OBJECT
public:
    explicit TCustomControl(TComponent* AOwner);
};

// The windowed control that owns Handle (null for a message-only or dead handle).
TWinControl* FindControl(HWND Handle);

} // namespace vcl
