#include "vcl/controls/forms.h"

#include "vcl/controls/application.h"
#include "vcl/controls/menus.h"
#include "vcl/controls/qtevents.h"
#include "vcl/core/sysutils.h"
#include "vcl/controls/systemmetrics.h"
#include "vcl/graphics/canvas.h"
#include "vcl/graphics/framecontrol.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

namespace vcl {

// The client area of a form: a child widget covering the inside of the frame, with
// a back buffer of its own for the form's Paint, and the parent of the form's controls.
class TFormClientArea : public QWidget {
public:
    explicit TFormClientArea(TCustomForm* form)
        : QWidget(form)
        , FForm(form)
    {
        setMouseTracking(true);
    }

    TCanvas* Canvas()
    {
        if (FBuffer.size() != size())
            FBuffer = QImage(size().expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
        if (FCanvas == nullptr)
            FCanvas = std::make_unique<TCanvas>();
        FCanvas->SetSurface(&FBuffer);
        return FCanvas.get();
    }

    QImage FBuffer;
    std::unique_ptr<TCanvas> FCanvas;
    bool FDirty = true;

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (FDirty || FBuffer.size() != size())
            FForm->PaintClient();
        QPainter painter(this);
        painter.drawImage(0, 0, FBuffer);
    }
    void resizeEvent(QResizeEvent*) override { FDirty = true; }
    // Mouse input in the client area is the form's own, in client coordinates.
    void mousePressEvent(QMouseEvent* event) override { FForm->TControl::mousePressEvent(event); }
    void mouseReleaseEvent(QMouseEvent* event) override { FForm->TControl::mouseReleaseEvent(event); }
    void mouseDoubleClickEvent(QMouseEvent* event) override { FForm->TControl::mouseDoubleClickEvent(event); }
    void mouseMoveEvent(QMouseEvent* event) override { FForm->TControl::mouseMoveEvent(event); }

private:
    TCustomForm* FForm;
};

namespace {

Qt::Edges EdgesOf(int hitTest)
{
    switch (hitTest) {
    case HTLEFT: return Qt::LeftEdge;
    case HTRIGHT: return Qt::RightEdge;
    case HTTOP: return Qt::TopEdge;
    case HTBOTTOM: return Qt::BottomEdge;
    case HTTOPLEFT: return Qt::TopEdge | Qt::LeftEdge;
    case HTTOPRIGHT: return Qt::TopEdge | Qt::RightEdge;
    case HTBOTTOMLEFT: return Qt::BottomEdge | Qt::LeftEdge;
    case HTBOTTOMRIGHT: return Qt::BottomEdge | Qt::RightEdge;
    default: return {};
    }
}

bool IsCaptionButton(int hitTest)
{
    return hitTest == HTCLOSE || hitTest == HTMAXBUTTON || hitTest == HTMINBUTTON;
}

// Corner zones of the sizing frame reach this far along each edge.
constexpr int CornerSize = 16;
// The smallest size a manual resize leaves.
constexpr int MinTrackWidth = 112;

QColor Sys(TColor color)
{
    return ToQColor(color);
}

// The caption buttons, left to right.
constexpr int CaptionButtons[] = {HTMINBUTTON, HTMAXBUTTON, HTCLOSE};

UINT FrameControlKind(int button, bool maximized)
{
    switch (button) {
    case HTCLOSE: return DFCS_CAPTIONCLOSE;
    case HTMINBUTTON: return DFCS_CAPTIONMIN;
    default: return maximized ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMAX;
    }
}

// The frame may be painted only where the window procedure's update region (WM_NCPAINT's
// WParam: a region handle, or 1 for the whole window) allows.
QRegion NonClientUpdateRegion(WPARAM UpdateRegion, const QRect& window)
{
    TRect box;
    auto* region = reinterpret_cast<HRGN>(UpdateRegion);
    if (UpdateRegion == 1 || GetRgnBox(region, box) == ERROR)
        return QRegion(window);
    return region->Region.intersected(window);
}

} // namespace

TCustomForm::TCustomForm(TComponent* AOwner)
    : TWinControl(AOwner)
{
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    FVisible = false;
    FParentColor = false;
    FParentFont = false;
    FControlStyle |= csOpaque;
    FClientArea = new TFormClientArea(this);
    SetBounds(0, 0, 320, 240);
    LayoutClientArea();
    for (QScreen* screen : QGuiApplication::screens())
        connect(screen, &QScreen::geometryChanged, this, &TCustomForm::ScreenChanged);
    connect(qGuiApp, &QGuiApplication::screenAdded, this, [this](QScreen* screen) {
        connect(screen, &QScreen::geometryChanged, this, &TCustomForm::ScreenChanged);
        ScreenChanged();
    });
}

TCustomForm::~TCustomForm()
{
    Destroying();
    if (OnDestroy)
        OnDestroy(this);
    if (FModalLoop != nullptr)
        FModalLoop->quit();
}

void TCustomForm::AfterConstruction()
{
    if (FCreated)
        return;
    FCreated = true;
    if (OnCreate)
        OnCreate(this);
}

QWidget* TCustomForm::ClientWidget()
{
    return FClientArea;
}

int TCustomForm::BorderWidth() const
{
    switch (FBorderStyle) {
    case bsNone: return 0;
    case bsSizeable:
    case bsSizeToolWin: return SizingBorder;
    default: return FixedBorder;
    }
}

int TCustomForm::CaptionBarHeight() const
{
    switch (FBorderStyle) {
    case bsNone: return 0;
    case bsToolWindow:
    case bsSizeToolWin: return ToolCaptionHeight;
    default: return CaptionHeight;
    }
}

TRect TCustomForm::CaptionRect() const
{
    const int b = BorderWidth();
    const int h = CaptionBarHeight();
    if (h == 0)
        return {};
    return Rect(b, b, Width() - b, b + h);
}

TRect TCustomForm::ClientAreaRect() const
{
    const int b = BorderWidth();
    int top = b + CaptionBarHeight();
    if (FMenu != nullptr && FMenu->MenuBar() != nullptr)
        top += FMenu->MenuBar()->sizeHint().height();
    return Rect(b, top, std::max(b, Width() - b), std::max(top, Height() - b));
}

int TCustomForm::ClientWidth() const
{
    return ClientAreaRect().Width();
}

int TCustomForm::ClientHeight() const
{
    return ClientAreaRect().Height();
}

void TCustomForm::SetClientWidth(int Value)
{
    SetWidth(Width() - ClientWidth() + Value);
}

void TCustomForm::SetClientHeight(int Value)
{
    SetHeight(Height() - ClientHeight() + Value);
}

TRect TCustomForm::CaptionButtonRect(int HitTest) const
{
    const TRect caption = CaptionRect();
    if (caption.IsEmpty() || !FBorderIcons.testFlag(biSystemMenu))
        return {};
    const int size = caption.Height() - 2 * CaptionButtonGap;
    const int width = size + 2;
    const int top = caption.Top + CaptionButtonGap;
    const bool toolWindow = FBorderStyle == bsToolWindow || FBorderStyle == bsSizeToolWin;
    const bool sizeButtons = !toolWindow && FBorderStyle != bsDialog
        && (FBorderIcons.testFlag(biMinimize) || FBorderIcons.testFlag(biMaximize));
    const int closeLeft = caption.Right - CaptionButtonGap - width;
    switch (HitTest) {
    case HTCLOSE: return Bounds(closeLeft, top, width, size);
    case HTMAXBUTTON:
        if (!sizeButtons)
            return {};
        return Bounds(closeLeft - CaptionButtonGap - width, top, width, size);
    case HTMINBUTTON:
        if (!sizeButtons)
            return {};
        return Bounds(closeLeft - CaptionButtonGap - 2 * width, top, width, size);
    case HTSYSMENU:
        if (toolWindow || FBorderStyle == bsDialog)
            return {};
        return Bounds(caption.Left + CaptionButtonGap, top, size, size);
    default: return {};
    }
}

int TCustomForm::HitTest(const TPoint& Point) const
{
    const QRect window(0, 0, Width(), Height());
    if (!window.contains(Point.ToQPoint()))
        return HTNOWHERE;
    if (ClientAreaRect().ToQRect().contains(Point.ToQPoint()))
        return HTCLIENT;
    const bool sizeable = (FBorderStyle == bsSizeable || FBorderStyle == bsSizeToolWin) && FWindowState == wsNormal;
    if (sizeable) {
        const int b = BorderWidth();
        const bool left = Point.X < b, right = Point.X >= Width() - b;
        const bool top = Point.Y < b, bottom = Point.Y >= Height() - b;
        const bool nearLeft = Point.X < CornerSize, nearRight = Point.X >= Width() - CornerSize;
        const bool nearTop = Point.Y < CornerSize, nearBottom = Point.Y >= Height() - CornerSize;
        if ((top && nearLeft) || (left && nearTop))
            return HTTOPLEFT;
        if ((top && nearRight) || (right && nearTop))
            return HTTOPRIGHT;
        if ((bottom && nearLeft) || (left && nearBottom))
            return HTBOTTOMLEFT;
        if ((bottom && nearRight) || (right && nearBottom))
            return HTBOTTOMRIGHT;
        if (left)
            return HTLEFT;
        if (right)
            return HTRIGHT;
        if (top)
            return HTTOP;
        if (bottom)
            return HTBOTTOM;
    }
    for (int button : {HTCLOSE, HTMAXBUTTON, HTMINBUTTON, HTSYSMENU})
        if (CaptionButtonRect(button).ToQRect().contains(Point.ToQPoint()))
            return button;
    if (CaptionRect().ToQRect().contains(Point.ToQPoint()))
        return HTCAPTION;
    return HTBORDER;
}

void TCustomForm::LayoutClientArea()
{
    const TRect client = ClientAreaRect();
    if (FMenu != nullptr && FMenu->MenuBar() != nullptr) {
        QMenuBar* bar = FMenu->MenuBar();
        bar->setParent(this);
        const int b = BorderWidth();
        bar->setGeometry(b, b + CaptionBarHeight(), Width() - 2 * b, client.Top - b - CaptionBarHeight());
        bar->show();
    }
    FClientArea->setGeometry(client.ToQRect());
    FClientArea->FDirty = true;
}

TCanvas* TCustomForm::Canvas()
{
    return FClientArea->Canvas();
}

const QImage& TCustomForm::ClientBackBuffer() const
{
    return FClientArea->FBuffer;
}

void TCustomForm::PaintClient()
{
    // Sizes the client buffer to the client area before it is erased and painted.
    FClientArea->Canvas();
    FClientArea->FDirty = false;
    FClientArea->FBuffer.fill(ToQColor(Color()));
    Paint();
}

void TCustomForm::Paint()
{
    if (OnPaint)
        OnPaint(this);
}

QImage TCustomForm::GrabWindow()
{
    Update();
    return grab().toImage();
}

void TCustomForm::Invalidate()
{
    FClientArea->FDirty = true;
    FClientArea->update();
}

void TCustomForm::Update()
{
    TControl::Update();
    if (FClientArea->FDirty || FClientArea->FBuffer.size() != FClientArea->size())
        PaintClient();
    FClientArea->update();
}

void TCustomForm::RedrawFrame()
{
    FNeedsPaint = true;
    TControl::Update();
}

void TCustomForm::WMPaint(TMessage&)
{
    // The form's own back buffer holds the frame; its client area paints apart.
    SendToWindow(WM_NCPAINT, 1, 0);
}

void TCustomForm::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_NCPAINT: WMNCPaint(Message); break;
    case WM_NCACTIVATE: WMNCActivate(Message); break;
    case WM_NCHITTEST: WMNCHitTest(Message); break;
    case WM_SETCURSOR: WMSetCursor(Message); break;
    case WM_SYSCOMMAND: WMSysCommand(Message); break;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCLBUTTONDBLCLK: WMNCButton(Message); break;
    case WM_SETICON: RedrawFrame(); break;
    case WM_SIZE:
        LayoutClientArea();
        TWinControl::Dispatch(Message);
        break;
    case WM_CLOSE: Close(); break;
    case WM_QUERYENDSESSION: Message.Result = CloseQuery() ? 1 : 0; break;
    case CM_ACTIVATE:
        if (OnActivate)
            OnActivate(this);
        break;
    case CM_DEACTIVATE:
        if (OnDeactivate)
            OnDeactivate(this);
        break;
    default: TWinControl::Dispatch(Message); break;
    }
}

void TCustomForm::WMNCPaint(TMessage& Message)
{
    PaintFrame(NonClientUpdateRegion(Message.WParam, QRect(0, 0, Width(), Height())));
    Message.Result = 0;
}

void TCustomForm::PaintFrame(const QRegion& UpdateRegion)
{
    QImage& image = FBackBuffer;
    if (image.size() != size())
        return;
    QPainter p(&image);
    const QRect window(0, 0, Width(), Height());
    // Frame: the area between the window edge and the client area.
    QRegion frame = UpdateRegion;
    frame -= ClientAreaRect().ToQRect();
    p.setClipRegion(frame);
    p.fillRect(window, Sys(clBtnFace));
    if (FBorderStyle != bsNone)
        PaintRaisedEdge(p, window, false);

    const TRect caption = CaptionRect();
    if (caption.IsEmpty())
        return;
    p.fillRect(caption.ToQRect(), Sys(FActive ? clActiveCaption : clInactiveCaption));
    int textLeft = caption.Left + CaptionButtonGap * 2;
    const TRect iconRect = CaptionButtonRect(HTSYSMENU);
    if (!iconRect.IsEmpty()) {
        const QIcon icon = !FIcon.isNull() ? FIcon : Application()->Icon();
        if (!icon.isNull())
            icon.paint(&p, iconRect.ToQRect());
        textLeft = iconRect.Right + CaptionButtonGap * 2;
    }
    int textRight = caption.Right;
    for (int button : CaptionButtons) {
        const QRect r = CaptionButtonRect(button).ToQRect();
        if (r.isEmpty())
            continue;
        textRight = std::min(textRight, r.left());
        PaintCaptionButton(p, r, FrameControlKind(button, FWindowState == wsMaximized) | (FPressedHit == button ? UINT(DFCS_PUSHED) : 0u));
    }

    NONCLIENTMETRICS metrics;
    metrics.cbSize = NonClientMetricsSize;
    SystemParametersInfo(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0);
    const bool toolWindow = FBorderStyle == bsToolWindow || FBorderStyle == bsSizeToolWin;
    QFont font = this->font();
    font.setBold(true);
    font.setPixelSize(-(toolWindow ? metrics.lfSmCaptionFont : metrics.lfCaptionFont).lfHeight);
    font.setStyleStrategy(QFont::NoAntialias);
    p.setFont(font);
    p.setPen(Sys(FActive ? clCaptionText : clInactiveCaptionText));
    const QRect textRect(textLeft, caption.Top, std::max(0, textRight - textLeft - CaptionButtonGap), caption.Height());
    p.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
        p.fontMetrics().elidedText(Text(), Qt::ElideRight, textRect.width()));
}

void TCustomForm::WMNCActivate(TMessage& Message)
{
    FActive = Message.WParam != 0;
    RedrawFrame();
    Message.Result = 1;
}

void TCustomForm::WMNCHitTest(TMessage& Message)
{
    const QPoint local = mapFromGlobal(QPoint(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)));
    Message.Result = HitTest(TPoint::FromQPoint(local));
}

void TCustomForm::WMSetCursor(TMessage& Message)
{
    switch (static_cast<int16_t>(LOWORD(static_cast<uintptr_t>(Message.LParam)))) {
    case HTLEFT:
    case HTRIGHT: setCursor(Qt::SizeHorCursor); break;
    case HTTOP:
    case HTBOTTOM: setCursor(Qt::SizeVerCursor); break;
    case HTTOPLEFT:
    case HTBOTTOMRIGHT: setCursor(Qt::SizeFDiagCursor); break;
    case HTTOPRIGHT:
    case HTBOTTOMLEFT: setCursor(Qt::SizeBDiagCursor); break;
    default: setCursor(CursorShape(Cursor())); break;
    }
    Message.Result = 1;
}

void TCustomForm::WMSysCommand(TMessage& Message)
{
    switch (Message.WParam & 0xFFF0) {
    case SC_CLOSE: Close(); break;
    case SC_MAXIMIZE: SetWindowState(wsMaximized); break;
    case SC_MINIMIZE: SetWindowState(wsMinimized); break;
    case SC_RESTORE: SetWindowState(wsNormal); break;
    default: break;
    }
}

void TCustomForm::WMNCButton(TMessage& Message)
{
    const int hit = static_cast<int>(Message.WParam);
    const QPoint global(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
    switch (Message.Msg) {
    case WM_NCLBUTTONDOWN:
        FTrackHit = HTNOWHERE;
        if (IsCaptionButton(hit)) {
            FPressedHit = hit;
            RedrawFrame();
        } else if (hit == HTCAPTION || EdgesOf(hit) != Qt::Edges()) {
            FPendingHit = hit;
            FPressPos = global;
            FPressGeometry = geometry();
        }
        break;
    case WM_NCLBUTTONUP:
        if (IsCaptionButton(FPressedHit)) {
            const int pressed = std::exchange(FPressedHit, HTNOWHERE);
            RedrawFrame();
            if (pressed == hit) {
                WPARAM command = SC_CLOSE;
                if (hit == HTMINBUTTON)
                    command = SC_MINIMIZE;
                else if (hit == HTMAXBUTTON)
                    command = FWindowState == wsMaximized ? SC_RESTORE : SC_MAXIMIZE;
                SendToWindow(WM_SYSCOMMAND, command, Message.LParam);
            }
        }
        FPendingHit = HTNOWHERE;
        FTrackHit = HTNOWHERE;
        break;
    case WM_NCLBUTTONDBLCLK:
        FPendingHit = HTNOWHERE;
        if (hit == HTSYSMENU)
            SendToWindow(WM_SYSCOMMAND, SC_CLOSE, Message.LParam);
        else if (hit == HTCAPTION && FBorderIcons.testFlag(biMaximize) && !CaptionButtonRect(HTMAXBUTTON).IsEmpty())
            SendToWindow(WM_SYSCOMMAND, FWindowState == wsMaximized ? SC_RESTORE : SC_MAXIMIZE, Message.LParam);
        break;
    default: break;
    }
}

void TCustomForm::StartMoveOrResize(int Hit, const QPoint& globalPos)
{
    QWindow* window = windowHandle();
    const bool system = window != nullptr
        && (Hit == HTCAPTION ? window->startSystemMove() : window->startSystemResize(EdgesOf(Hit)));
    if (system)
        return;
    // The window system cannot do it: follow the mouse ourselves until the button goes up.
    FTrackHit = Hit;
    ManualTrack(globalPos);
}

bool TCustomForm::ManualTrack(const QPoint& globalPos)
{
    if (FTrackHit == HTNOWHERE)
        return false;
    const QPoint delta = globalPos - FPressPos;
    QRect r = FPressGeometry;
    if (FTrackHit == HTCAPTION) {
        r.moveTopLeft(r.topLeft() + delta);
    } else {
        const Qt::Edges edges = EdgesOf(FTrackHit);
        const int minHeight = 2 * BorderWidth() + CaptionBarHeight();
        if (edges & Qt::LeftEdge)
            r.setLeft(std::min(r.left() + delta.x(), r.right() + 1 - MinTrackWidth));
        if (edges & Qt::RightEdge)
            r.setRight(std::max(r.right() + delta.x(), r.left() + MinTrackWidth - 1));
        if (edges & Qt::TopEdge)
            r.setTop(std::min(r.top() + delta.y(), r.bottom() + 1 - minHeight));
        if (edges & Qt::BottomEdge)
            r.setBottom(std::max(r.bottom() + delta.y(), r.top() + minHeight - 1));
    }
    SetBounds(r.x(), r.y(), r.width(), r.height());
    return true;
}

LPARAM TCustomForm::ScreenParam(const QPointF& windowPos) const
{
    const QPoint global = mapToGlobal(windowPos.toPoint());
    return MAKELPARAM(global.x(), global.y());
}

void TCustomForm::NonClientButton(QMouseEvent* event, unsigned Msg)
{
    if (event->button() != Qt::LeftButton)
        return;
    const LPARAM pos = ScreenParam(event->position());
    const int hit = static_cast<int>(SendToWindow(WM_NCHITTEST, 0, pos));
    SendToWindow(Msg, static_cast<WPARAM>(hit), pos);
}

void TCustomForm::mousePressEvent(QMouseEvent* event)
{
    NonClientButton(event, WM_NCLBUTTONDOWN);
}

void TCustomForm::mouseReleaseEvent(QMouseEvent* event)
{
    NonClientButton(event, WM_NCLBUTTONUP);
}

void TCustomForm::mouseDoubleClickEvent(QMouseEvent* event)
{
    NonClientButton(event, WM_NCLBUTTONDBLCLK);
}

void TCustomForm::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint global = event->globalPosition().toPoint();
    if (FPendingHit != HTNOWHERE && (event->buttons() & Qt::LeftButton)) {
        StartMoveOrResize(std::exchange(FPendingHit, HTNOWHERE), global);
        return;
    }
    if (FTrackHit != HTNOWHERE && (event->buttons() & Qt::LeftButton)) {
        ManualTrack(global);
        return;
    }
    const LPARAM pos = ScreenParam(event->position());
    const int hit = static_cast<int>(SendToWindow(WM_NCHITTEST, 0, pos));
    SendToWindow(WM_SETCURSOR, static_cast<WPARAM>(Handle().Value), MAKELPARAM(hit, WM_MOUSEMOVE));
}

void TCustomForm::SetBorderStyle(TFormBorderStyle Value)
{
    if (FBorderStyle == Value)
        return;
    FBorderStyle = Value;
    LayoutClientArea();
    Realign();
    RecreateWnd();
    FNeedsPaint = true;
    update();
}

void TCustomForm::SetBorderIcons(TBorderIcons Value)
{
    if (FBorderIcons == Value)
        return;
    FBorderIcons = Value;
    RedrawFrame();
}

void TCustomForm::SetFormStyle(TFormStyle Value)
{
    if (FFormStyle == Value)
        return;
    FFormStyle = Value;
    const bool visible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, Value == fsStayOnTop);
    if (visible)
        show();
}

void TCustomForm::SetWindowState(TWindowState Value)
{
    if (FWindowState == Value)
        return;
    FWindowState = Value;
    if (isVisible()) {
        switch (Value) {
        case wsMaximized: showMaximized(); break;
        case wsMinimized: showMinimized(); break;
        default: showNormal(); break;
        }
    }
    RedrawFrame();
}

void TCustomForm::SetIcon(const QIcon& Value)
{
    FIcon = Value;
    setWindowIcon(Value);
    SendToWindow(WM_SETICON, 0, 0);
}

void TCustomForm::SetMenu(TMainMenu* Value)
{
    if (FMenu == Value)
        return;
    if (FMenu != nullptr && FMenu->MenuBar() != nullptr)
        FMenu->MenuBar()->hide();
    FMenu = Value;
    LayoutClientArea();
    Realign();
}

void TCustomForm::CMTextChanged(TMessage& Message)
{
    setWindowTitle(Text());
    RedrawFrame();
    TWinControl::CMTextChanged(Message);
}

void TCustomForm::PlaceOnFirstShow()
{
    if (FPlaced)
        return;
    FPlaced = true;
    QRect area;
    switch (FPosition) {
    case poScreenCenter:
    case poDesktopCenter:
        if (QScreen* screen = QGuiApplication::primaryScreen())
            area = screen->availableGeometry();
        break;
    case poMainFormCenter:
        if (TCustomForm* main = Application()->MainForm(); main != nullptr && main != this)
            area = main->geometry();
        break;
    case poOwnerFormCenter:
        if (auto* owner = dynamic_cast<TCustomForm*>(Owner()))
            area = owner->geometry();
        break;
    default: break;
    }
    if (!area.isEmpty())
        SetBounds(area.x() + (area.width() - Width()) / 2, area.y() + (area.height() - Height()) / 2, Width(), Height());
}

void TCustomForm::SetVisible(bool Value)
{
    if (FVisible == Value)
        return;
    FVisible = Value;
    if (Value) {
        PlaceOnFirstShow();
        HandleNeeded();
        switch (FWindowState) {
        case wsMaximized: showMaximized(); break;
        case wsMinimized: showMinimized(); break;
        default: show(); break;
        }
    } else {
        hide();
    }
    Perform(CM_VISIBLECHANGED, Value ? 1 : 0);
}

void TCustomForm::showEvent(QShowEvent* event)
{
    TWinControl::showEvent(event);
    FVisible = true;
    if (!event->spontaneous())
        DoShow();
}

void TCustomForm::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    if (!event->spontaneous()) {
        FVisible = false;
        DoHide();
    }
}

void TCustomForm::DoShow()
{
    if (OnShow)
        OnShow(this);
}

void TCustomForm::DoHide()
{
    if (OnHide)
        OnHide(this);
}

void TCustomForm::closeEvent(QCloseEvent* event)
{
    // A close asked for by the window system goes the form's own way.
    event->ignore();
    SendToWindow(WM_SYSCOMMAND, SC_CLOSE, 0);
}

void TCustomForm::changeEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::ActivationChange: {
        const bool active = isActiveWindow();
        SendToWindow(WM_NCACTIVATE, active ? 1 : 0, 0);
        Perform(active ? CM_ACTIVATE : CM_DEACTIVATE);
        break;
    }
    case QEvent::WindowStateChange: {
        const Qt::WindowStates state = windowState();
        FWindowState = state & Qt::WindowMinimized ? wsMinimized : state & Qt::WindowMaximized ? wsMaximized : wsNormal;
        RedrawFrame();
        break;
    }
    default: break;
    }
    TWinControl::changeEvent(event);
}

bool TCustomForm::event(QEvent* event)
{
    // Desktop changes reach the window as the platform's broadcast messages.
    if (event->type() == QEvent::ApplicationPaletteChange)
        SendToWindow(WM_SYSCOLORCHANGE);
    else if (event->type() == QEvent::ApplicationFontChange)
        SendToWindow(WM_SETTINGCHANGE);
    return TWinControl::event(event);
}

void TCustomForm::ScreenChanged()
{
    QScreen* screen = this->screen();
    if (screen == nullptr)
        return;
    const QSize size = screen->geometry().size();
    SendToWindow(WM_DISPLAYCHANGE, static_cast<WPARAM>(screen->depth()), MAKELPARAM(size.width(), size.height()));
}

void TCustomForm::moveEvent(QMoveEvent* event)
{
    FLeft = x();
    FTop = y();
    QWidget::moveEvent(event);
}

void TCustomForm::resizeEvent(QResizeEvent* event)
{
    const bool changed = width() != Width() || height() != Height();
    TWinControl::resizeEvent(event);
    if (changed)
        Realign();
}

bool TCustomForm::CloseQuery()
{
    bool canClose = true;
    if (OnCloseQuery)
        OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::DoClose(TCloseAction& Action)
{
    if (OnClose)
        OnClose(this, Action);
}

void TCustomForm::Close()
{
    if (Modal()) {
        SetModalResult(mrCancel);
        return;
    }
    if (!CloseQuery())
        return;
    TCloseAction action = FFormStyle == fsMDIChild ? caMinimize : caHide;
    DoClose(action);
    if (action == caNone)
        return;
    if (Application()->MainForm() == this) {
        // Closing the main form ends the application.
        Hide();
        Application()->Terminate();
        return;
    }
    switch (action) {
    case caHide: Hide(); break;
    case caMinimize: SetWindowState(wsMinimized); break;
    case caFree: Release(); break;
    default: break;
    }
}

void TCustomForm::Release()
{
    Hide();
    deleteLater();
}

void TCustomForm::SetModalResult(TModalResult Value)
{
    FModalResult = Value;
    if (Value != mrNone && FModalLoop != nullptr)
        FModalLoop->quit();
}

bool TCustomForm::CloseModal()
{
    TCloseAction action = caNone;
    if (CloseQuery()) {
        action = caHide;
        DoClose(action);
    }
    if (action == caNone) {
        FModalResult = mrNone;
        return false;
    }
    if (action == caFree)
        deleteLater();
    return true;
}

TModalResult TCustomForm::ShowModal()
{
    if (Visible() || Modal())
        throw EInvalidOperation(QStringLiteral("Cannot make a visible window modal"));
    FModalResult = mrNone;
    setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    FModalLoop = &loop;
    Show();
    QPointer<TCustomForm> self(this);
    for (;;) {
        if (FModalResult == mrNone)
            loop.exec();
        if (self == nullptr)
            return mrCancel;
        if (FModalResult == mrNone) {
            // The loop ended without a result: the application is shutting down.
            FModalResult = mrCancel;
            break;
        }
        if (CloseModal())
            break;
    }
    FModalLoop = nullptr;
    Hide();
    setWindowModality(Qt::NonModal);
    return FModalResult;
}

TForm::TForm(TComponent* AOwner)
    : TCustomForm(AOwner)
{
}

} // namespace vcl
