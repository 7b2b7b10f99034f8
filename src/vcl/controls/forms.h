#pragma once
// Forms: top-level windows whose title bar and frame (the non-client area) QvKit
// draws itself on a frameless Qt window, answering WM_NCPAINT and WM_NCACTIVATE, so
// that a component subclassing the form's window can paint the title bar instead.
#include "vcl/controls/controls.h"

#include <QEventLoop>
#include <QIcon>
#include <QPointer>

namespace vcl {

class TMainMenu;

// The enumerations and sets forms publish, in a namespace of their own (one
// meta-object per header) brought into vcl by the using-directive.
namespace Forms {
Q_NAMESPACE

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
Q_ENUM_NS(TFormBorderStyle)
enum TBorderIconItem : unsigned { biSystemMenu = 0x1, biMinimize = 0x2, biMaximize = 0x4, biHelp = 0x8 };
Q_DECLARE_FLAGS(TBorderIcons, TBorderIconItem)
Q_FLAG_NS(TBorderIcons)
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
Q_ENUM_NS(TFormStyle)
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
Q_ENUM_NS(TWindowState)
enum TPosition {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter,
};
Q_ENUM_NS(TPosition)

} // namespace Forms
using namespace Forms;
Q_DECLARE_OPERATORS_FOR_FLAGS(TBorderIcons)
enum TCloseAction { caNone, caHide, caFree, caMinimize };

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

class TFormClientArea;

class TCustomForm : public TWinControl {
    Q_OBJECT
    // A form is hidden until shown and has its own colour and font.
    Q_CLASSINFO("Default:Visible", "False")
    Q_CLASSINFO("Default:ParentColor", "False")
    Q_CLASSINFO("Default:ParentFont", "False")
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(vcl::Forms::TFormBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle)
    Q_CLASSINFO("Default:BorderStyle", "bsSizeable")
    Q_PROPERTY(vcl::Forms::TBorderIcons BorderIcons READ BorderIcons WRITE SetBorderIcons)
    Q_CLASSINFO("Default:BorderIcons", "[biSystemMenu, biMinimize, biMaximize]")
    Q_PROPERTY(vcl::Forms::TFormStyle FormStyle READ FormStyle WRITE SetFormStyle)
    Q_CLASSINFO("Default:FormStyle", "fsNormal")
    Q_PROPERTY(vcl::Forms::TWindowState WindowState READ WindowState WRITE SetWindowState)
    Q_CLASSINFO("Default:WindowState", "wsNormal")
    Q_PROPERTY(vcl::Forms::TPosition Position READ Position WRITE SetPosition)
    Q_CLASSINFO("Default:Position", "poDesigned")
    Q_PROPERTY(int PixelsPerInch READ PixelsPerInch WRITE SetPixelsPerInch)
    Q_CLASSINFO("Default:PixelsPerInch", "96")
    Q_PROPERTY(int ClientWidth READ ClientWidth WRITE SetClientWidth)
    Q_PROPERTY(int ClientHeight READ ClientHeight WRITE SetClientHeight)

public:
    // Fixed metrics of the drawn frame and title bar, in pixels.
    enum FrameMetrics {
        SizingBorder = 4,
        FixedBorder = 3,
        CaptionHeight = 20,
        ToolCaptionHeight = 16,
        CaptionButtonGap = 2,
    };

    explicit TCustomForm(TComponent* AOwner);
    ~TCustomForm() override;

    // Runs OnCreate; called once by whoever built the form (Application->CreateForm,
    // the form reader) when its properties are set.
    void AfterConstruction();

    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    // Re-creates the window (its hooks see WM_DESTROY and must hook the new one).
    void SetBorderStyle(TFormBorderStyle Value);
    TBorderIcons BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TBorderIcons Value);
    TFormStyle FormStyle() const { return FFormStyle; }
    void SetFormStyle(TFormStyle Value);
    TWindowState WindowState() const { return FWindowState; }
    void SetWindowState(TWindowState Value);
    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition Value) { FPosition = Value; }
    const QIcon& Icon() const { return FIcon; }
    void SetIcon(const QIcon& Value);
    int PixelsPerInch() const { return FPixelsPerInch; }
    void SetPixelsPerInch(int Value) { FPixelsPerInch = Value; }
    TMainMenu* Menu() const { return FMenu; }
    void SetMenu(TMainMenu* Value);

    int ClientWidth() const override;
    int ClientHeight() const override;
    void SetClientWidth(int Value);
    void SetClientHeight(int Value);
    // The client area in window coordinates (inside the frame, below the title bar).
    TRect ClientAreaRect() const;
    // The title bar in window coordinates (empty without one).
    TRect CaptionRect() const;
    // The rectangle of a caption button (HTCLOSE, HTMAXBUTTON, HTMINBUTTON, HTSYSMENU
    // for the icon) in window coordinates; empty when the form shows no such button.
    TRect CaptionButtonRect(int HitTest) const;
    // What lies at a point given in window coordinates (HTCLIENT, HTCAPTION, HTLEFT ...).
    int HitTest(const TPoint& Point) const;
    // True while the form counts as active (the last WM_NCACTIVATE).
    bool Active() const { return FActive; }
    // The caption button held down (HTCLOSE, HTMAXBUTTON, HTMINBUTTON), else HTNOWHERE.
    int PressedCaptionButton() const { return FPressedHit; }

    // The client area's canvas; the title bar and frame use WindowCanvas.
    TCanvas* Canvas() override;
    TCanvas* WindowCanvas() { return BackBufferCanvas(); }
    const QImage& ClientBackBuffer() const;
    // The whole window as shown: frame, title bar and client area with its children.
    QImage GrabWindow();

    void Invalidate() override;
    void Update() override;
    // Paints the title bar and frame again now (WM_NCPAINT through the window procedure).
    void RedrawFrame();

    void SetVisible(bool Value) override;
    void Close();
    // False when OnCloseQuery refuses.
    virtual bool CloseQuery();
    // Shows the form and waits until ModalResult is set; returns it.
    TModalResult ShowModal();
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult Value);
    bool Modal() const { return FModalLoop != nullptr; }
    // Frees the form once the events queued now have been handled.
    void Release();

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TNotifyEvent OnPaint;

protected:
    void Paint() override;
    void Dispatch(TMessage& Message) override;
    virtual void DoClose(TCloseAction& Action);
    virtual void DoShow();
    virtual void DoHide();

    // The default non-client handling; a hook that paints the title bar itself
    // answers WM_NCPAINT and passes the rest on.
    virtual void WMNCPaint(TMessage& Message);
    virtual void WMNCActivate(TMessage& Message);
    virtual void WMNCHitTest(TMessage& Message);
    virtual void WMSetCursor(TMessage& Message);
    virtual void WMSysCommand(TMessage& Message);
    virtual void WMNCButton(TMessage& Message);
    void WMPaint(TMessage& Message) override;
    void CMTextChanged(TMessage& Message) override;

    QWidget* ClientWidget() override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    friend class TFormClientArea;
    int BorderWidth() const;
    int CaptionBarHeight() const;
    void LayoutClientArea();
    void PlaceOnFirstShow();
    // Paints the frame and title bar within UpdateRegion (window coordinates).
    void PaintFrame(const QRegion& UpdateRegion);
    void PaintClient();
    // A screen's size changed: WM_DISPLAYCHANGE (colour depth, width and height).
    void ScreenChanged();
    LPARAM ScreenParam(const QPointF& windowPos) const;
    // A left button going down, up or double-clicked on the frame: hit-tested and
    // sent as the non-client message Msg.
    void NonClientButton(QMouseEvent* event, unsigned Msg);
    bool ManualTrack(const QPoint& globalPos);
    void StartMoveOrResize(int HitTest, const QPoint& globalPos);
    bool CloseModal();

    TFormClientArea* FClientArea = nullptr;
    TFormBorderStyle FBorderStyle = bsSizeable;
    TBorderIcons FBorderIcons = TBorderIcons(biSystemMenu) | biMinimize | biMaximize;
    TFormStyle FFormStyle = fsNormal;
    TWindowState FWindowState = wsNormal;
    TPosition FPosition = poDesigned;
    QIcon FIcon;
    int FPixelsPerInch = 96;
    TMainMenu* FMenu = nullptr;
    TModalResult FModalResult = mrNone;
    QEventLoop* FModalLoop = nullptr;
    bool FActive = false;
    bool FCreated = false;
    bool FPlaced = false;

    // Mouse state of the non-client area: the pressed caption button, and a move or
    // resize that starts with the first movement after a press on the title bar or
    // the frame (so a double-click still maximises).
    int FPressedHit = HTNOWHERE;
    int FPendingHit = HTNOWHERE;
    int FTrackHit = HTNOWHERE;
    QPoint FPressPos;
    QRect FPressGeometry;
};

class TForm : public TCustomForm {
    Q_OBJECT
public:
    explicit TForm(TComponent* AOwner);
};

} // namespace vcl
