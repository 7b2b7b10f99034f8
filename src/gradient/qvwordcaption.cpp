#include "gradient/qvwordcaption.h"

#include "vcl/controls/application.h"
#include "vcl/controls/dialogs.h"
#include "vcl/controls/systemmetrics.h"
#include "vcl/controls/winuser.h"
#include "vcl/core/sysutils.h"
#include "vcl/core/unitstartup.h"
#include "vcl/streaming/formfile.h"

namespace Qvwordcaption {

using namespace vcl;

const QString TqvGradientCaption::TooFewColorsError = QStringLiteral("The number of colors must be at least 1");
const QString TqvGradientCaption::TooManyColorsError = QStringLiteral("The highest number of gradient colors possible is 256");
const QString TqvGradientCaption::SecondCaptionError = QStringLiteral("The form already has a gradient caption");

namespace {

const TUnitRegistration UnitRegistration(QStringLiteral("Qvwordcaption"), {});
const bool OnDrawCaptionRegistered = RegisterEvent(&TqvGradientCaption::OnDrawCaption, "OnDrawCaption");

// The texts a component dropped on a form in the designer starts with.
const QString DesignCompanyText = QStringLiteral("<Velnor Software>'s");
const QString DesignAppNameText = QStringLiteral("Program -");

// SetWindowPos flags of UpdateCaption: no size, no move, no z-order, no activation,
// frame changed.
constexpr UINT FrameChangedOnly = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;

TCustomForm* OwnerForm(TComponent* Owner, const TComponent* Self)
{
    auto* form = dynamic_cast<TCustomForm*>(Owner);
    if (form == nullptr)
        throw EInvalidCast(QStringLiteral("Invalid class typecast"));
    for (int i = 0; i < form->ComponentCount(); ++i)
        if (form->Components(i) != Self && dynamic_cast<TqvGradientCaption*>(form->Components(i)) != nullptr)
            throw EComponentError(TqvGradientCaption::SecondCaptionError);
    return form;
}

} // namespace

// The subclass of one form window. The window procedure holds the cell, not the
// component: when a later subclasser still calls through it after the component let
// go, the cell passes every message on to the procedure it replaced.
struct TqvGradientCaption::THookCell {
    TqvGradientCaption* Owner = nullptr;
    TWndMethod Previous;
};

struct TCaptionWndProc {
    std::shared_ptr<TqvGradientCaption::THookCell> Cell;
    void operator()(TMessage& Message) const
    {
        if (Cell->Owner != nullptr)
            Cell->Owner->FormWndProc(Message);
        else
            CallWindowProc(Cell->Previous, Message);
    }
};

TqvGradientCaption::TqvGradientCaption(TComponent* AOwner)
    : TComponent(AOwner)
    , FSystemFont(std::make_unique<TFont>())
{
    // Checked before anything is hooked, so a refused component leaves no trace.
    FForm = OwnerForm(AOwner, this);
    FFormHandle = FForm->Handle();
    // A form taken out of the component's owner and freed first must not leave it
    // holding the form's window.
    connect(FForm, &QObject::destroyed, this, [this] { FormGone(); });
    GetSystemFont();
    FCompanyText = std::make_unique<TCompanyText>(this);
    FAppNameText = std::make_unique<TAppNameText>(this);
    FCaptionText = std::make_unique<TCaptionText>(this);
    HookWin();
    if (Designing() && !FForm->ComponentState().testFlag(csReading) && !FForm->ComponentState().testFlag(csLoading))
        PlaceOnDesignedForm();
}

TqvGradientCaption::~TqvGradientCaption()
{
    UnhookWin();
    // Also while a re-hook is pending: the posted message must find no one.
    RemoveAppHook();
    if (FForm != nullptr && !FForm->ComponentState().testFlag(csDestroying)) {
        FForm->SetCaption(FCaptionText->GetCaption());
        UpdateCaption();
    }
}

void TqvGradientCaption::PlaceOnDesignedForm()
{
    FCompanyText->FCaption = DesignCompanyText;
    FAppNameText->FCaption = DesignAppNameText;
    FCaptionText->FCaption = FForm->Caption();
    NewCaptionText();
    FCaptionText->SetFontKind_NoRedraw(fkSystem);
    FAppNameText->SetFontKind_NoRedraw(fkSystemB);
    FCompanyText->SetFontKind_NoRedraw(fkSystemBI);
    DrawMSOfficeCaption(WindowIsActive());
}

void TqvGradientCaption::GetSystemFont()
{
    const TFont stock;
    FSystemFont->Assign(&stock);
    NONCLIENTMETRICS metrics;
    metrics.cbSize = NonClientMetricsSize;
    if (!SystemParametersInfo(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0))
        return;
    const LOGFONT& caption = metrics.lfCaptionFont;
    FSystemFont->SetName(caption.lfFaceName);
    if (caption.lfHeight <= 0)
        FSystemFont->SetHeight(caption.lfHeight);
    else
        FSystemFont->SetSize(caption.lfHeight);
    TFontStyles style;
    if (caption.lfItalic != 0)
        style |= fsItalic;
    if (caption.lfWeight > 500)
        style |= fsBold;
    FSystemFont->SetStyle(style);
    FSystemFont->SetPitch(fpDefault);
}

void TqvGradientCaption::NewCaptionText()
{
    if (FForm == nullptr)
        return;
    const TCompanyText& company = *FCompanyText;
    const TCompanyText& appName = *FAppNameText;
    const TCompanyText& caption = *FCaptionText;
    QString s;
    if (company.Visible()) {
        s += company.Caption();
        if (!company.Caption().isEmpty() && (appName.Visible() || caption.Visible()))
            s += u' ';
    }
    if (appName.Visible()) {
        s += appName.Caption();
        if (!appName.Caption().isEmpty() && caption.Visible())
            s += u' ';
    }
    if (caption.Visible())
        s += caption.Caption();
    FForm->setUpdatesEnabled(false);
    FForm->SetCaption(s);
    FForm->setUpdatesEnabled(true);
}

void TqvGradientCaption::UpdateCaption()
{
    if (FForm != nullptr)
        SetWindowPos(FFormHandle, HWND(), 0, 0, 0, 0, FrameChangedOnly);
}

void TqvGradientCaption::DesignUpdate()
{
    if (Designing())
        UpdateCaption();
}

template <class T>
void TqvGradientCaption::ChangeValue(T& Field, const T& Value)
{
    if (Field == Value)
        return;
    Field = Value;
    DesignUpdate();
}

void TqvGradientCaption::SetColorLeftActive(TColor Value) { ChangeValue(FColorLeftActive, Value); }
void TqvGradientCaption::SetColorLeftInActive(TColor Value) { ChangeValue(FColorLeftInActive, Value); }
void TqvGradientCaption::SetColorRightActive(TColor Value) { ChangeValue(FColorRightActive, Value); }
void TqvGradientCaption::SetColorRightInActive(TColor Value) { ChangeValue(FColorRightInActive, Value); }
void TqvGradientCaption::SetEnabled(TGradEnabled Value) { ChangeValue(FEnabled, Value); }
void TqvGradientCaption::SetJustification(TJustification Value) { ChangeValue(FJustification, Value); }

void TqvGradientCaption::SetNumColors(int Value)
{
    if (Value < 1) {
        if (Designing())
            MessageDlg(TooFewColorsError, mtError, mbOK);
        return;
    }
    ChangeValue(FNumColors, std::min(Value, int(MaxColors)));
    if (Value > MaxColors && Designing())
        MessageDlg(TooManyColorsError, mtError, mbOK);
}

// ---------------------------------------------------------------- hooks

void TqvGradientCaption::HookWin()
{
    if (FForm == nullptr)
        return;
    FFormHandle = FForm->Handle();
    auto cell = std::make_shared<THookCell>();
    cell->Owner = this;
    cell->Previous = SetWindowProc(FFormHandle, TCaptionWndProc{cell});
    FHookCell = cell;
    if (!FRehookPending && FAppHook == 0)
        FAppHook = Application()->HookMainWindow([this](TMessage& Message) { return HookAppWndProc(Message); });
    FRehookPending = false;
    FHooked = true;
}

void TqvGradientCaption::UnhookWin()
{
    if (!FHooked)
        return;
    if (!FRehookPending)
        RemoveAppHook();
    // Put the previous procedure back only when ours is still the one installed;
    // otherwise the cell stays in the chain and passes messages on.
    const TWndMethod current = GetWindowProc(FFormHandle);
    const auto* installed = current.target<TCaptionWndProc>();
    if (installed != nullptr && installed->Cell == FHookCell)
        SetWindowProc(FFormHandle, FHookCell->Previous);
    FHookCell->Owner = nullptr;
    FHookCell.reset();
    FHooked = false;
}

void TqvGradientCaption::RemoveAppHook()
{
    if (FAppHook == 0)
        return;
    Application()->UnhookMainWindow(FAppHook);
    FAppHook = 0;
}

void TqvGradientCaption::Loaded()
{
    TComponent::Loaded();
    if (FForm != nullptr && FForm->Handle() != FFormHandle) {
        UnhookWin();
        HookWin();
    }
}

void TqvGradientCaption::FormGone()
{
    UnhookWin();
    RemoveAppHook();
    FRehookPending = false;
    FForm = nullptr;
    FFormHandle = HWND();
}

void TqvGradientCaption::FormWndProc(TMessage& Message)
{
    // Kept here: a WM_DESTROY unhooks before the message goes on.
    const TWndMethod previous = FHookCell->Previous;
    switch (Message.Msg) {
    case WM_NCPAINT: WMNCPaint(Message, previous); return;
    case WM_NCACTIVATE: WMNCActivate(Message, previous); return;
    case WM_DESTROY:
        if (!ComponentState().testFlag(csDestroying))
            WMDestroy();
        break;
    default: break;
    }
    CallWindowProc(previous, Message);
    switch (Message.Msg) {
    case WM_SETICON: DrawMSOfficeCaption(WindowIsActive()); break;
    case WM_SYSCOLORCHANGE:
    case WM_WININICHANGE:
    case WM_DISPLAYCHANGE: SystemSettingsChanged(); break;
    default: break;
    }
}

void TqvGradientCaption::WMNCPaint(TMessage& Message, const TWndMethod& Previous)
{
    const TRect painted = DrawMSOfficeCaption(WindowIsActive());
    // The rest of the frame is the previous procedure's, clipped so that it leaves the
    // painted title bar alone.
    TRect window;
    GetWindowRect(FFormHandle, window);
    HRGN region = CreateRectRgn(0, 0, window.Width(), window.Height());
    auto* update = reinterpret_cast<HRGN>(Message.WParam);
    TRect box;
    if (Message.WParam != 1 && GetRgnBox(update, box) != ERROR)
        CombineRgn(region, update, nullptr, RGN_COPY);
    HRGN title = CreateRectRgnIndirect(painted);
    CombineRgn(region, region, title, RGN_DIFF);
    DeleteObject(title);
    TMessage rest{Message.Msg, reinterpret_cast<WPARAM>(region), Message.LParam, 0};
    CallWindowProc(Previous, rest);
    Message.Result = rest.Result;
    DeleteObject(region);
}

void TqvGradientCaption::WMNCActivate(TMessage& Message, const TWndMethod& Previous)
{
    FActive = Message.WParam != 0;
    FActiveKnown = true;
    // QvKit's forms have no MDI children to pass the activation on to.
    if (!NewStyleCaptions() || FForm->FormStyle() == fsMDIChild)
        CallWindowProc(Previous, Message);
    RedrawWindow(FFormHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_FRAME);
    Message.Result = 1;
}

void TqvGradientCaption::WMDestroy()
{
    FRehookPending = true;
    UnhookWin();
    PostMessage(Application()->Handle(), RehookMessage, 0, reinterpret_cast<LPARAM>(this));
}

bool TqvGradientCaption::HookAppWndProc(TMessage& Message)
{
    if (Message.Msg != RehookMessage || Message.LParam != reinterpret_cast<LPARAM>(this) || FForm == nullptr)
        return false;
    HookWin();
    FActive = GetActiveWindow() == FFormHandle;
    UpdateCaption();
    return false;
}

bool TqvGradientCaption::WindowIsActive() const
{
    if (FActiveKnown)
        return FActive;
    return FFormHandle && GetActiveWindow() == FFormHandle;
}

void TqvGradientCaption::SystemSettingsChanged()
{
    GetSystemFont();
    for (TCompanyText* text : std::initializer_list<TCompanyText*>{FCompanyText.get(), FAppNameText.get(), FCaptionText.get()})
        text->SetFontKind_NoRedraw(text->FontKind());
    UpdateCaption();
}

} // namespace Qvwordcaption
