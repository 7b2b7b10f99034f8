#pragma once
// The platform's system metrics and display settings as the units query them:
// GetSystemMetrics, GetDeviceCaps, SystemParametersInfo for the non-client metrics,
// and the "new-style controls" switch for title bars. Frame and caption sizes are those of the
// forms' own drawn frame, so that a component painting a title bar lines up with it;
// icon and scroll-bar sizes come from the Qt style.
#include "vcl/graphics/gdi.h"

namespace vcl {

enum : int {
    SM_CXSCREEN = 0,
    SM_CYSCREEN = 1,
    SM_CXVSCROLL = 2,
    SM_CYHSCROLL = 3,
    SM_CYCAPTION = 4,
    SM_CXBORDER = 5,
    SM_CYBORDER = 6,
    SM_CXDLGFRAME = 7,
    SM_CYDLGFRAME = 8,
    SM_CXFIXEDFRAME = SM_CXDLGFRAME,
    SM_CYFIXEDFRAME = SM_CYDLGFRAME,
    SM_CXICON = 11,
    SM_CYICON = 12,
    SM_CXSIZE = 30,
    SM_CYSIZE = 31,
    SM_CXFRAME = 32,
    SM_CYFRAME = 33,
    SM_CXSIZEFRAME = SM_CXFRAME,
    SM_CYSIZEFRAME = SM_CYFRAME,
    SM_CXSMICON = 49,
    SM_CYSMICON = 50,
    SM_CYSMCAPTION = 51,
    SM_CXSMSIZE = 52,
    SM_CYSMSIZE = 53,
};

// The metric's value in pixels; 0 for a metric this system does not know.
int GetSystemMetrics(int Index);

enum : int { BITSPIXEL = 12, PLANES = 14 };
// BITSPIXEL gives the display's colour depth (or the depth set by
// SetDisplayBitsPerPixel), PLANES 1; other indices 0.
int GetDeviceCaps(HDC DC, int Index);
// Makes the display report this colour depth (a 256-colour display is 8); 0 goes
// back to the real screen's depth.
void SetDisplayBitsPerPixel(int Bits);

// The non-client metrics record the platform fills; cbSize must be the record's
// size on the original platform.
struct NONCLIENTMETRICS {
    UINT cbSize = 0;
    int iBorderWidth = 0;
    int iCaptionWidth = 0;
    int iCaptionHeight = 0;
    LOGFONT lfCaptionFont;
    int iSmCaptionWidth = 0;
    int iSmCaptionHeight = 0;
    LOGFONT lfSmCaptionFont;
};
constexpr UINT NonClientMetricsSize = 340;
enum : UINT { SPI_GETNONCLIENTMETRICS = 0x0029 };
// Only SPI_GETNONCLIENTMETRICS is known; false (nothing written) for other actions
// or a record whose cbSize is not NonClientMetricsSize.
BOOL SystemParametersInfo(UINT Action, UINT Param, void* Value, UINT WinIni);

// The "new-style controls" look of title bars drawn by components: true (the default)
// for the platform's current look (window icon, close button, left-aligned texts);
// false brings back the older look (a window-menu box, no close button, centred texts).
bool NewStyleCaptions();
void SetNewStyleCaptions(bool Value);

} // namespace vcl
