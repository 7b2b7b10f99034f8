#include "gradient/qvgrbtn.h"

#include "vcl/controls/controlevents.h"
#include "vcl/core/sysutils.h"
#include "vcl/core/unitstartup.h"
#include "vcl/graphics/bitmap.h"
#include "vcl/graphics/canvas.h"

#include <array>

namespace Qvgrbtn {

// The unit needs nothing set up or torn down.
static const vcl::TUnitRegistration UnitRegistration(QStringLiteral("Qvgrbtn"), {});

using namespace vcl;

static const bool EventsPublished = [] {
    PublishWindowEvents<TqvGradientBtn>();
    RegisterEvent<TqvGradientBtn, TqvGradientBtn>(&TqvGradientBtn::OnMouseEnter, "OnMouseEnter");
    return RegisterEvent<TqvGradientBtn, TqvGradientBtn>(&TqvGradientBtn::OnMouseLeave, "OnMouseLeave");
}();

namespace {

// Bands of the banded styles: 256 of them, band 255 in the end colour.
constexpr int LastBand = 255;
// The elliptic style: 51 ellipses, each step shrinking the box by 1/100 of its size.
constexpr int EllipticLastBand = 50;
constexpr int EllipticDivisor = 100;
// A frame wider than this much less than half the button is refused.
constexpr int FrameMargin = 5;
// The drop-down mark: a triangle 6 pixels wide and 3 high, 8 pixels from the right.
constexpr int MarkLeft = 14;
constexpr int MarkRight = 8;
constexpr int MarkTip = 11;
constexpr int MarkHeight = 3;
// The caption moves left by this much to make room for the drop-down mark.
constexpr int MenuCaptionShift = -6;
constexpr int LeftTextMargin = 2;
constexpr int RightTextMargin = 8;
constexpr int FocusInset = 2;

// Channel k of n between two stored colours: begin + Muldv(k, end - begin, n).
TColor Blend(TColor Begin, TColor End, int K, int N)
{
    // N is 0 only for a centre style on a button one pixel high (or wide): its single
    // band takes the begin colour instead of dividing by zero.
    auto channel = [&](int b, int e) { return N == 0 ? b : b + Muldv(K, e - b, N); };
    return RGB(channel(GetRValue(Begin), GetRValue(End)), channel(GetGValue(Begin), GetGValue(End)),
        channel(GetBValue(Begin), GetBValue(End)));
}

struct PresetLook {
    TColor Disabled, Begin, End;
    int FontSize;
    const char* FontName;
    TColor FontColor;
    bool Bold;
    TGradientStyle Gradient;
    TShadeType Shade;
    TTextStyle Text;
    TColor TxtHilite, TxtShadow, BtnHilite, BtnShadow;
};

const std::array<PresetLook, 6> PresetLooks{{
    {0x808080, 0x800000, 0xFFFF00, 8, "MS Sans Serif", 0x000000, false, gsVertCenter, stLight, tsRaised,
        clBtnHighlight, clBtnShadow, clBtnHighlight, clBtnShadow},
    {0x00BBBB, 0x00FFFF, 0x008080, 10, "Arial", 0x00BBBB, true, gsVertical, stHeavy, tsRaised, 0xBFFFFF, 0x007171,
        0xB3FFFF, 0x616161},
    {0x008080, 0x000000, 0x00FF00, 8, "Courier", 0x008000, false, gsRectangle, stLight, tsRaised, 0xACFFAC, 0x004000,
        clBtnHighlight, clBtnShadow},
    {0x808080, 0xCECECE, 0x5F5F5F, 10, "Times New Roman", 0x000000, true, gsVertical, stHeavy, tsInset,
        clBtnHighlight, clBtnShadow, 0xFFFFFF, 0x000000},
    {0x808080, 0x00FFFF, 0x0000FF, 8, "MS Sans Serif", 0x000040, true, gsHorizontal, stHeavy, tsRaised, 0xCFE7E6,
        0x0058B0, clBtnHighlight, clBtnShadow},
    {0x008080, 0xCEFFFF, 0x92C2C2, 9, "Verdana", 0x000080, false, gsElliptic, stLight, tsNormal, 0xEFFFFF, 0x92C2C2,
        0xEFFFFF, 0x92C2C2},
}};

} // namespace

TqvGradientBtn::TqvGradientBtn(TComponent* AOwner)
    : TCustomControl(AOwner)
    , FBitmap(std::make_unique<TBitmap>())
{
    SetControlStyle(ControlStyle() | csOpaque);
    SetBounds(Left(), Top(), DefaultWidth, DefaultHeight);
    // The caption's colour stays the font's default, clWindowText, which is black.
    FBitmap->Canvas()->Pen()->SetStyle(psSolid);
    FBitmap->Canvas()->SetCopyMode(cmSrcCopy);
    SetTabStop(true);
}

TqvGradientBtn::~TqvGradientBtn() = default;

void TqvGradientBtn::SetBtnFrameSize(int Value)
{
    if (Value > Width() / 2 - FrameMargin || Value > Height() / 2 - FrameMargin)
        return;
    ChangeProperty(FBtnFrameSize, Value);
}

void TqvGradientBtn::SetPreset(TPreset Value)
{
    if (!ComponentState().testFlag(csDesigning) || Value < None || Value > BrassedOff)
        return;
    const PresetLook& look = PresetLooks[size_t(Value)];
    FDisabledColor = look.Disabled;
    FBeginColor = look.Begin;
    FEndColor = look.End;
    Font()->SetSize(look.FontSize);
    Font()->SetName(QString::fromLatin1(look.FontName));
    Font()->SetColor(look.FontColor);
    Font()->SetStyle(look.Bold ? TFontStyles(fsBold) : TFontStyles());
    FGradientStyle = look.Gradient;
    FTextShadeType = look.Shade;
    FTextStyle = look.Text;
    FTxtHiliteClr = look.TxtHilite;
    FTxtShadowClr = look.TxtShadow;
    FBtnHiliteClr = look.BtnHilite;
    FBtnShadowClr = look.BtnShadow;
    if (Value == BrassedOff)
        FSwapColors = false;
    FPresets = Value;
    Invalidate();
}

void TqvGradientBtn::SetDropdownMenu(TPopupMenu* Value)
{
    if (FDropdownMenu == Value)
        return;
    if (FDropdownMenu != nullptr)
        FDropdownMenu->RemoveFreeNotification(this);
    FDropdownMenu = Value;
    if (Value != nullptr)
        Value->FreeNotification(this);
    Invalidate();
}

void TqvGradientBtn::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomControl::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FDropdownMenu)
        SetDropdownMenu(nullptr);
}

QString TqvGradientBtn::DisplayCaption() const
{
    // Every '&' followed by another character is dropped; that character is kept even
    // when it is an '&' itself, and so is a trailing '&'.
    const QString caption = Caption();
    QString result;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && i + 1 < caption.size())
            ++i;
        result.append(caption[i]);
    }
    return result;
}

// ---------------------------------------------------------------------------
// Painting

void TqvGradientBtn::Paint()
{
    TCanvas* canvas = FBitmap->Canvas();
    canvas->SetFont(Font());
    FBitmap->SetSize(Width(), Height());
    RenderGradient();
    if (FDropdownMenu != nullptr)
        DrawMenuMark();
    canvas->Brush()->SetStyle(bsClear);
    TRect bevel = Rect(0, 0, Width(), Height());
    Frame3D(canvas, bevel, FUp ? FBtnHiliteClr : FBtnShadowClr, FUp ? FBtnShadowClr : FBtnHiliteClr, FBtnFrameSize);
    DrawCaption();
    if (!ComponentState().testFlag(csDesigning) && FShowFocus && Focused())
        canvas->DrawFocusRect(Rect(FocusInset, FocusInset, Width() - FocusInset, Height() - FocusInset));
    Canvas()->Draw(0, 0, FBitmap.get());
    if (FUp)
        FMenuShown = false;
}

void TqvGradientBtn::RenderGradient()
{
    TCanvas* canvas = FBitmap->Canvas();
    const int w = Width();
    const int h = Height();
    const TColor from = FSwapped ? FEndColor : FBeginColor;
    const TColor to = FSwapped ? FBeginColor : FEndColor;
    canvas->Brush()->SetStyle(bsSolid);
    auto fill = [&](TColor Color, const TRect& R) {
        canvas->Brush()->SetColor(Color);
        canvas->FillRect(R);
    };
    switch (FGradientStyle) {
    case gsHorizontal:
        for (int i = 0; i <= LastBand; ++i)
            fill(Blend(from, to, i, LastBand), Rect(Muldv(i, w, LastBand + 1), 0, Muldv(i + 1, w, LastBand + 1), h));
        break;
    case gsVertical:
        for (int i = 0; i <= LastBand; ++i)
            fill(Blend(from, to, i, LastBand), Rect(0, Muldv(i, h, LastBand + 1), w, Muldv(i + 1, h, LastBand + 1)));
        break;
    case gsElliptic: {
        const int x1 = -(w / 3), x2 = w + w / 3, y1 = -(h / 3), y2 = h + h / 3;
        canvas->Pen()->SetStyle(psClear);
        for (int i = 0; i <= EllipticLastBand; ++i) {
            const int dx = i * (x2 - x1) / EllipticDivisor, dy = i * (y2 - y1) / EllipticDivisor;
            canvas->Brush()->SetColor(Blend(from, to, i, EllipticLastBand));
            canvas->Ellipse(x1 + dx, y1 + dy, x2 - dx, y2 - dy);
        }
        canvas->Pen()->SetStyle(psSolid);
        break;
    }
    case gsRectangle: {
        double x1 = 0, x2 = w + 2, y1 = 0, y2 = h + 2;
        const double dx = (w / 2.0) / LastBand, dy = (h / 2.0) / LastBand;
        for (int i = 0; i <= LastBand; ++i) {
            x1 += dx, x2 -= dx, y1 += dy, y2 -= dy;
            fill(Blend(from, to, i, LastBand), Rect(int(x1), int(y1), int(x2), int(y2)));
        }
        break;
    }
    case gsVertCenter:
    case gsHorizCenter: {
        // Band i fills line i and its mirror extent - 1 - i (of the two lines an
        // inverted one-line rectangle could mean, the one that keeps both edges in the
        // begin colour), so the middle takes the end colour.
        const bool columns = FGradientStyle == gsHorizCenter;
        const int extent = columns ? w : h;
        const int half = extent / 2;
        for (int i = 0; i <= half; ++i) {
            const TColor c = Blend(from, to, i, half);
            for (int line : {i, extent - 1 - i})
                fill(c, columns ? Rect(line, 0, line + 1, h) : Rect(0, line, w, line + 1));
        }
        break;
    }
    }
}

void TqvGradientBtn::DrawMenuMark()
{
    TCanvas* canvas = FBitmap->Canvas();
    const int w = Width();
    const int y = (Height() - 4) / 2;
    canvas->Pen()->SetColor(Font()->Color());
    canvas->Brush()->SetColor(Font()->Color());
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Polygon({Point(w - MarkLeft, y), Point(w - MarkRight, y), Point(w - MarkTip, y + MarkHeight)});
}

void TqvGradientBtn::DrawCaption()
{
    const bool heavy = FTextShadeType == stHeavy;
    const TColor face = Font()->Color();
    // A disabled button always draws its caption inset, in DisabledColor.
    const TTextStyle style = Enabled() ? FTextStyle : tsInset;
    switch (style) {
    case tsNormal: TextPass(face, 0, 0); break;
    case tsRaised:
        TextPass(FTxtHiliteClr, -1, -1);
        if (heavy)
            TextPass(FTxtShadowClr, 1, 1);
        TextPass(face, 0, 0);
        break;
    case tsInset:
        if (heavy)
            TextPass(FTxtShadowClr, -1, -1);
        TextPass(FTxtHiliteClr, 1, 1);
        TextPass(Enabled() ? face : FDisabledColor, 0, 0);
        break;
    }
}

void TqvGradientBtn::TextPass(TColor Color, int Dx, int Dy)
{
    TCanvas* canvas = FBitmap->Canvas();
    const int p = FUp ? 0 : 1;
    const int a = FDropdownMenu != nullptr ? MenuCaptionShift : 0;
    const QString shown = DisplayCaption();
    const int y0 = (Height() - canvas->TextHeight(Caption())) / 2 + p;
    int x0 = LeftTextMargin + p;
    UINT align = DT_LEFT;
    if (FJustification == jCenter) {
        x0 = (Width() - canvas->TextWidth(shown)) / 2 + p + a;
        align = DT_CENTER;
    } else if (FJustification == jRight) {
        x0 = Width() - canvas->TextWidth(shown) - RightTextMargin + p + a;
        align = DT_RIGHT;
    }
    TRect r = Rect(x0 + Dx, y0 + Dy, x0 + Dx, y0 + Dy);
    canvas->Font()->SetColor(Color);
    // The text calls draw with the device context's font, colour and background mode.
    canvas->RequireFont();
    canvas->RequireBrush();
    DrawText(canvas->Handle(), shown, -1, r, DT_CALCRECT | DT_NOPREFIX | DT_SINGLELINE);
    DrawText(canvas->Handle(), Caption(), -1, r, align | DT_SINGLELINE);
    canvas->Font()->SetColor(Font()->Color());
}

// ---------------------------------------------------------------------------
// Mouse and keyboard

void TqvGradientBtn::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (!FUp)
        return;
    if (CanFocus() && !Focused())
        SetFocus();
    if (Button != mbLeft)
        return;
    FUp = false;
    FSwapped = FSwapColors;
    Repaint();
    if (FDropdownMenu == nullptr || FMenuShown)
        return;
    FMenuShown = true;
    FDropdownMenu->SetPopupComponent(this);
    const TPoint corner = ClientToScreen(Point(0, Height()));
    FDropdownMenu->Popup(corner.X, corner.Y);
    // The menu took the release: the button comes up as if it had seen it.
    MouseUp(Button, Shift, X, Y);
    SetControlState(ControlState() & ~TControlState(csLButtonDown));
}

void TqvGradientBtn::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseUp(Button, Shift, X, Y);
    if (!FUp)
        Release();
}

void TqvGradientBtn::Release()
{
    FSwapped = false;
    FUp = true;
    Invalidate();
}

void TqvGradientBtn::Click()
{
    // The framework delivers the release (which already brought the button up)
    // before the click, so there is no release left over for the click to absorb.
    if (!FUp)
        Release();
    // Paint now, so the released face shows while OnClick runs.
    Repaint();
    TCustomControl::Click();
}

void TqvGradientBtn::KeyPress(QChar& Key)
{
    TCustomControl::KeyPress(Key);
    // Enter clicks, as does Space, as on every push button of the desktop.
    if (Key == u'\r' || Key == u' ')
        Click();
}

void TqvGradientBtn::CMDialogChar(TMessage& Message)
{
    // A hidden button is not clicked by its accelerator either.
    if (IsAccel(uint16_t(Message.WParam), Caption()) && Enabled() && Visible()) {
        Click();
        Message.Result = 1;
        return;
    }
    TCustomControl::CMDialogChar(Message);
}

void TqvGradientBtn::CMMouseEnter(TMessage& Message)
{
    TCustomControl::CMMouseEnter(Message);
    if (ControlState().testFlag(csLButtonDown))
        MouseDown(mbLeft, ssLeft, 0, 0);
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void TqvGradientBtn::CMMouseLeave(TMessage& Message)
{
    TCustomControl::CMMouseLeave(Message);
    if (ControlState().testFlag(csLButtonDown))
        MouseUp(mbLeft, ssLeft, 0, 0);
    if (OnMouseLeave)
        OnMouseLeave(this);
}

void TqvGradientBtn::DoEnter()
{
    TCustomControl::DoEnter();
    if (!ComponentState().testFlag(csDesigning))
        Invalidate();
}

void TqvGradientBtn::DoExit()
{
    TCustomControl::DoExit();
    if (!ComponentState().testFlag(csDesigning))
        Invalidate();
}

void TqvGradientBtn::WMEraseBkgnd(TMessage& Message)
{
    Message.Result = 1;
}

} // namespace Qvgrbtn
