#include "vcl/controls/systemmetrics.h"

#include "vcl/controls/forms.h"
#include "vcl/controls/screen.h"

#include <QApplication>
#include <QStyle>

namespace vcl {

namespace {

int DisplayBitsOverride = 0;
bool NewStyle = true;

// Values of the classic look for the style metrics, when no widget style is there.
enum ClassicMetrics { ClassicSmallIcon = 16, ClassicIcon = 32, ClassicScrollBar = 16 };

int StyleMetric(QStyle::PixelMetric Metric, int Fallback)
{
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr)
        return Fallback;
    return QApplication::style()->pixelMetric(Metric);
}

// The caption font of the forms' drawn title bar: bold, a little over half the
// caption bar's height.
LOGFONT CaptionFont(int CaptionHeight)
{
    LOGFONT font;
    font.lfFaceName = TFont::DefaultName();
    font.lfHeight = -(CaptionHeight * 11 / 20 + 1);
    font.lfWeight = 700;
    return font;
}

} // namespace

int GetSystemMetrics(int Index)
{
    switch (Index) {
    case SM_CXSCREEN: return Screen()->Width();
    case SM_CYSCREEN: return Screen()->Height();
    case SM_CXVSCROLL:
    case SM_CYHSCROLL: return StyleMetric(QStyle::PM_ScrollBarExtent, ClassicScrollBar);
    // The caption metrics include the line below the caption, as on the platform.
    case SM_CYCAPTION: return TCustomForm::CaptionHeight + 1;
    case SM_CYSMCAPTION: return TCustomForm::ToolCaptionHeight + 1;
    case SM_CXBORDER:
    case SM_CYBORDER: return 1;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME: return TCustomForm::FixedBorder;
    case SM_CXFRAME:
    case SM_CYFRAME: return TCustomForm::SizingBorder;
    // A caption button's cell: the button and the gap beside it.
    case SM_CXSIZE: return TCustomForm::CaptionHeight;
    case SM_CYSIZE: return TCustomForm::CaptionHeight - 2 * TCustomForm::CaptionButtonGap;
    case SM_CXSMSIZE: return TCustomForm::ToolCaptionHeight;
    case SM_CYSMSIZE: return TCustomForm::ToolCaptionHeight - 2 * TCustomForm::CaptionButtonGap;
    case SM_CXICON:
    case SM_CYICON: return StyleMetric(QStyle::PM_LargeIconSize, ClassicIcon);
    case SM_CXSMICON:
    case SM_CYSMICON: return StyleMetric(QStyle::PM_SmallIconSize, ClassicSmallIcon);
    default: return 0;
    }
}

int GetDeviceCaps(HDC, int Index)
{
    switch (Index) {
    case BITSPIXEL: return DisplayBitsOverride != 0 ? DisplayBitsOverride : Screen()->ColorDepth();
    case PLANES: return 1;
    default: return 0;
    }
}

void SetDisplayBitsPerPixel(int Bits)
{
    DisplayBitsOverride = Bits;
}

BOOL SystemParametersInfo(UINT Action, UINT, void* Value, UINT)
{
    if (Action != SPI_GETNONCLIENTMETRICS || Value == nullptr)
        return false;
    auto* metrics = static_cast<NONCLIENTMETRICS*>(Value);
    if (metrics->cbSize != NonClientMetricsSize)
        return false;
    metrics->iBorderWidth = 1;
    metrics->iCaptionWidth = GetSystemMetrics(SM_CXSIZE);
    metrics->iCaptionHeight = GetSystemMetrics(SM_CYSIZE);
    metrics->lfCaptionFont = CaptionFont(TCustomForm::CaptionHeight);
    metrics->iSmCaptionWidth = GetSystemMetrics(SM_CXSMSIZE);
    metrics->iSmCaptionHeight = GetSystemMetrics(SM_CYSMSIZE);
    metrics->lfSmCaptionFont = CaptionFont(TCustomForm::ToolCaptionHeight);
    return true;
}

bool NewStyleCaptions()
{
    return NewStyle;
}

void SetNewStyleCaptions(bool Value)
{
    NewStyle = Value;
}

} // namespace vcl
