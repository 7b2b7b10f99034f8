// TqvGradientCaption's title bar: its geometry and its painting into an off-screen
// bitmap that is copied to the window in one block.
#include "gradient/qvwordcaption.h"

#include "vcl/controls/application.h"
#include "vcl/controls/systemmetrics.h"
#include "vcl/controls/winuser.h"
#include "vcl/core/sysutils.h"
#include "vcl/graphics/canvas.h"
#include "vcl/graphics/framecontrol.h"
#include "vcl/graphics/iconhandles.h"

namespace Qvwordcaption {

using namespace vcl;

namespace {

// Space before each text, and so added to each text's width when the texts are fitted.
constexpr int TextGap = 3;
// Caption buttons sit this far inside the title bar; the close button keeps this much
// space from the button beside it.
constexpr int ButtonInset = 2;
constexpr int CloseButtonGap = 2;

bool IsToolWindow(TFormBorderStyle Style)
{
    return Style == bsToolWindow || Style == bsSizeToolWin;
}

void SolidFill(HDC DC, TColor Color, const TRect& R)
{
    HBRUSH brush = CreateSolidBrush(ColorToRGB(Color));
    HGDIOBJ old = SelectObject(DC, brush);
    PatBlt(DC, R.Left, R.Top, R.Width(), R.Height(), PATCOPY);
    SelectObject(DC, old);
    DeleteObject(brush);
}

// A font selected into a context for as long as this lives.
class TSelectedFont {
public:
    TSelectedFont(HDC DC, const TFont& Font)
        : FDC(DC)
        , FFont(CreateFontIndirect(LogFontOf(Font)))
        , FOld(SelectObject(DC, FFont))
    {
    }
    ~TSelectedFont()
    {
        SelectObject(FDC, FOld);
        DeleteObject(FFont);
    }
    TSelectedFont(const TSelectedFont&) = delete;
    TSelectedFont& operator=(const TSelectedFont&) = delete;

private:
    HDC FDC;
    HFONT FFont;
    HGDIOBJ FOld;
};

int TextWidth(HDC DC, const TCompanyText& Text)
{
    const TSelectedFont font(DC, *Text.Font());
    TSize size;
    GetTextExtentPoint32(DC, Text.Caption(), -1, size);
    return size.cx;
}

// Draws the text at T.Left + TextGap, cut with an ellipsis at T.Right, and moves T.Left
// past it.
void DrawOneText(HDC DC, TRect& T, const TCompanyText& Text, bool Active, int Width)
{
    T.Left += TextGap;
    SetTextColor(DC, Active ? Text.ColorActive() : Text.ColorInactive());
    SetBkMode(DC, TRANSPARENT);
    const TSelectedFont font(DC, *Text.Font());
    // A title bar shows its text as it is: no accelerator prefixes.
    DrawText(DC, Text.Caption(), -1, T, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    T.Left += Width;
}

} // namespace

TRect TqvGradientCaption::GetTitleBarRect() const
{
    const TFormBorderStyle style = Designing() ? bsSizeable : (FForm != nullptr ? FForm->BorderStyle() : bsNone);
    TRect window;
    if (style == bsNone || !GetWindowRect(FFormHandle, window))
        return {};
    TRect r = Rect(0, 0, window.Width(), window.Height());
    int dx = GetSystemMetrics(SM_CXFIXEDFRAME);
    int dy = GetSystemMetrics(SM_CYFIXEDFRAME);
    if (IsIconic(FFormHandle) && !NewStyleCaptions()) {
        dx += GetSystemMetrics(SM_CXBORDER);
        dy += GetSystemMetrics(SM_CYBORDER);
    } else if (!IsIconic(FFormHandle) && (style == bsSizeable || style == bsSizeToolWin)) {
        dx = GetSystemMetrics(SM_CXSIZEFRAME);
        dy = GetSystemMetrics(SM_CYSIZEFRAME);
    }
    r = Rect(r.Left + dx, r.Top + dy, r.Right - dx, r.Bottom - dy);
    r.Bottom = r.Top + GetSystemMetrics(IsToolWindow(style) ? SM_CYSMCAPTION : SM_CYCAPTION) - 1;
    return r;
}

TCaptionButtons TqvGradientCaption::GetVisibleButtons() const
{
    if (Designing())
        return TCaptionButtons(cbSystemMenu) | cbMinimize | cbMaximize;
    if (FForm == nullptr)
        return {};
    const TFormBorderStyle style = FForm->BorderStyle();
    const TBorderIcons icons = FForm->BorderIcons();
    if (style == bsNone || !icons.testFlag(biSystemMenu))
        return {};
    if (IsToolWindow(style))
        return cbClose;
    TCaptionButtons buttons;
    if (NewStyleCaptions())
        buttons |= cbSystemMenu;
    const bool minimize = icons.testFlag(biMinimize);
    const bool maximize = icons.testFlag(biMaximize);
    if (icons.testFlag(biHelp) && (style == bsDialog || ((style == bsSingle || style == bsSizeable) && !minimize && !maximize)))
        buttons |= cbHelp;
    if (style != bsDialog) {
        if (NewStyleCaptions() && (minimize || maximize))
            buttons |= TCaptionButtons(cbMinimize) | cbMaximize;
        else if (!NewStyleCaptions())
            buttons |= (minimize ? TCaptionButtons(cbMinimize) : TCaptionButtons()) | (maximize ? cbMaximize : TCaptionButton(0));
    }
    return buttons;
}

bool TqvGradientCaption::HasIconBox() const
{
    if (Designing())
        return true;
    const TFormBorderStyle style = FForm->BorderStyle();
    return FForm->BorderIcons().testFlag(biSystemMenu) && (style == bsSingle || style == bsSizeable);
}

void TqvGradientCaption::ExcludeBtnRgn(TRect& R) const
{
    if (FForm == nullptr || (FForm->BorderStyle() == bsNone && !Designing()))
        return;
    const bool tool = IsToolWindow(FForm->BorderStyle()) && !Designing();
    const int bw = GetSystemMetrics(tool ? SM_CXSMSIZE : SM_CXSIZE);
    const TCaptionButtons buttons = GetVisibleButtons();
    // The close button goes with the window menu (or stands alone on tool windows).
    if (buttons & (TCaptionButtons(cbClose) | cbSystemMenu))
        R.Right -= bw + CloseButtonGap;
    if (buttons & cbMinimize)
        R.Right -= bw;
    if (buttons & cbMaximize)
        R.Right -= bw;
    if (buttons & cbHelp)
        R.Right -= bw + CloseButtonGap;
    if (!NewStyleCaptions() && (HasIconBox() || Designing()))
        R.Left += bw;
}

TRect TqvGradientCaption::GetTextRect() const
{
    TRect r = GetTitleBarRect();
    ExcludeBtnRgn(r);
    if (r.Left >= r.Right)
        r.Right = r.Left + 2;
    return r;
}

bool TqvGradientCaption::UseGradient(bool Active) const
{
    switch (FEnabled) {
    case geAlways: return true;
    case geNever: return false;
    case geWhenActive: return Active;
    case geSmart: break;
    }
    const int bits = GetDeviceCaps(nullptr, BITSPIXEL);
    return Active ? bits >= 8 : bits > 8;
}

void TqvGradientCaption::GradientFill(HDC DC, TColor Left, TColor Right, const TRect& R) const
{
    const int w = R.Width();
    if (w <= 0)
        return;
    // More bands than pixels would leave bands of no width and paint the end pixels in
    // colours from inside the ramp: one band per pixel at most, so that the first pixel
    // is the left colour and the last the right one.
    const int n = std::min(FNumColors, w);
    const TColor left = ColorToRGB(Left);
    const TColor right = ColorToRGB(Right);
    for (int i = 0; i < n; ++i) {
        TColor band = left;
        if (n >= 2) {
            auto channel = [&](int (*Get)(TColor)) { return Get(left) + MulDiv(i, Get(right) - Get(left), n - 1); };
            band = RGB(channel(GetRValue), channel(GetGValue), channel(GetBValue));
        }
        const int x0 = R.Left + MulDiv(i, w, n);
        const int x1 = R.Left + MulDiv(i + 1, w, n);
        SolidFill(DC, band, Rect(x0, R.Top, x1, R.Bottom));
    }
}

void TqvGradientCaption::PaintMenuIcon(HDC DC, TRect& R) const
{
    R.Left += 1;
    QIcon icon = FForm->Icon();
    if (icon.isNull())
        icon = Application()->Icon();
    if (icon.isNull())
        icon = StandardApplicationIcon();
    int cx = GetSystemMetrics(SM_CXSMICON);
    int cy = GetSystemMetrics(SM_CYSMICON);
    if (cx == 0 || cy == 0) {
        cx = GetSystemMetrics(SM_CXSIZE);
        cy = GetSystemMetrics(SM_CYSIZE);
    }
    HICON copy = CreateIconFrom(icon, cx, cy);
    DrawIconEx(DC, R.Left + 1, R.Top + 1, copy, cx, cy, 0, nullptr, DI_NORMAL);
    DestroyIcon(copy);
    R.Left += cx + 1;
}

// R is taken by value: the buttons are drawn into the whole bar, which is copied whole.
void TqvGradientCaption::PaintCaptionButtons(HDC DC, TRect R) const
{
    const bool tool = IsToolWindow(FForm->BorderStyle()) && !Designing();
    const int w = GetSystemMetrics(tool ? SM_CXSMSIZE : SM_CXSIZE) - 2;
    TRect box = Rect(R.Left + ButtonInset, R.Top + ButtonInset, R.Right - ButtonInset, R.Bottom - ButtonInset);
    box.Left = box.Right - w;
    const auto moveLeft = [&box](int By) { box = Rect(box.Left - By, box.Top, box.Right - By, box.Bottom); };
    const TCaptionButtons buttons = GetVisibleButtons();
    const TBorderIcons icons = FForm->BorderIcons();
    // The button the mouse holds down on the form looks pressed.
    const auto state = [this](int HitTest, bool Enabled) {
        return (FForm->PressedCaptionButton() == HitTest ? UINT(DFCS_PUSHED) : 0u) | (Enabled ? 0u : UINT(DFCS_INACTIVE));
    };
    if (buttons & (TCaptionButtons(cbClose) | cbSystemMenu)) {
        DrawFrameControl(DC, box, DFC_CAPTION, DFCS_CAPTIONCLOSE | state(HTCLOSE, true));
        moveLeft(w + CloseButtonGap);
    }
    if (buttons & cbMaximize) {
        const UINT kind = IsZoomed(FFormHandle) ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMAX;
        DrawFrameControl(DC, box, DFC_CAPTION, kind | state(HTMAXBUTTON, icons.testFlag(biMaximize)));
        moveLeft(w);
    }
    if (buttons & cbMinimize) {
        const UINT kind = IsIconic(FFormHandle) ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMIN;
        DrawFrameControl(DC, box, DFC_CAPTION, kind | state(HTMINBUTTON, icons.testFlag(biMinimize)));
        moveLeft(w);
    }
    if (buttons & cbHelp)
        DrawFrameControl(DC, box, DFC_CAPTION, DFCS_CAPTIONHELP);
}

void TqvGradientCaption::CallOnDrawCaption(HBITMAP Bitmap, TRect& T)
{
    if (!OnDrawCaption)
        return;
    TCanvas canvas;
    canvas.SetSurface(&Bitmap->Image);
    canvas.Font()->Assign(FSystemFont.get());
    OnDrawCaption(this, &canvas, T);
}

void TqvGradientCaption::DrawTexts(HDC DC, TRect T, bool Active) const
{
    const TCompanyText& company = *FCompanyText;
    const TCompanyText& appName = *FAppNameText;
    const TCompanyText& caption = *FCaptionText;
    const int companyWidth = TextWidth(DC, company);
    const int appNameWidth = TextWidth(DC, appName);
    const int captionWidth = TextWidth(DC, caption);
    const auto m = [](const TCompanyText& Text, int Width) { return Text.Visible() ? Width + TextGap : 0; };
    const int w = T.Width();
    int total = m(company, companyWidth) + m(appName, appNameWidth) + m(caption, captionWidth);
    const bool showCompany = total < w;
    bool showAppName = true;
    if (!showCompany) {
        total = m(appName, appNameWidth) + m(caption, captionWidth);
        showAppName = total < w;
    }
    if (!showAppName)
        total = m(caption, captionWidth);

    const bool center = FJustification == jCenter || (FJustification == jAuto && !NewStyleCaptions());
    if (total < w && center)
        T.Left += (w - total) / 2;
    else if (total < w && FJustification == jRight)
        T.Left += w - total;

    if (showCompany && !company.Caption().isEmpty() && company.Visible())
        DrawOneText(DC, T, company, Active, companyWidth);
    if (showAppName && !appName.Caption().isEmpty() && appName.Visible())
        DrawOneText(DC, T, appName, Active, appNameWidth);
    if (caption.Visible())
        DrawOneText(DC, T, caption, Active, captionWidth);
}

void TqvGradientCaption::PaintTitleBar(HDC DC, HBITMAP Bitmap, const TRect& B, TRect T, bool Active)
{
    const TColor system = Active ? clActiveCaption : clInactiveCaption;
    const TColor right = Active ? FColorRightActive : FColorRightInActive;
    const TColor left = Active ? FColorLeftActive : FColorLeftInActive;
    const bool ramp = UseGradient(Active);
    if (NewStyleCaptions())
        SolidFill(DC, ramp ? right : system, B);
    if (ramp)
        GradientFill(DC, left, right, T);
    else
        SolidFill(DC, system, T);
    if (NewStyleCaptions()) {
        if (HasIconBox())
            PaintMenuIcon(DC, T);
        PaintCaptionButtons(DC, B);
    }
    CallOnDrawCaption(Bitmap, T);
    FCaptionText->RefreshCaption();
    DrawTexts(DC, T, Active);
}

TRect TqvGradientCaption::DrawMSOfficeCaption(bool Active)
{
    if (FForm == nullptr || (FForm->BorderStyle() == bsNone && !Designing()))
        return {};
    HDC windowDC = GetWindowDC(FFormHandle);
    if (windowDC == nullptr)
        return {};
    HDC memDC = CreateCompatibleDC(windowDC);
    const TRect T = GetTextRect();
    const TRect B = NewStyleCaptions() ? GetTitleBarRect() : T;
    HBITMAP bitmap = B.Right > 0 && B.Bottom > 0 ? CreateCompatibleBitmap(windowDC, B.Right, B.Bottom) : nullptr;
    if (bitmap == nullptr) {
        DeleteDC(memDC);
        ReleaseDC(FFormHandle, windowDC);
        return {};
    }
    HGDIOBJ old = SelectObject(memDC, bitmap);
    PaintTitleBar(memDC, bitmap, B, T, Active);
    BitBlt(windowDC, B.Left, B.Top, B.Width(), B.Height(), memDC, B.Left, B.Top, SRCCOPY);
    SelectObject(memDC, old);
    DeleteObject(bitmap);
    DeleteDC(memDC);
    ReleaseDC(FFormHandle, windowDC);
    return B;
}

} // namespace Qvwordcaption
