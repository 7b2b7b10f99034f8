#include "gradient/coolpck.h"

#include "vcl/core/unitstartup.h"

namespace Coolpck {

// The unit needs nothing set up or torn down.
static const vcl::TUnitRegistration UnitRegistration(QStringLiteral("Coolpck"), {});

using namespace vcl;

const std::array<unsigned, 3> TextAlignments{DT_LEFT, DT_RIGHT, DT_CENTER};

namespace {
// The tone thresholds of mygrayedbmp, on the sum of the three channels (0..765).
constexpr int WhiteFrom = 551;
constexpr int LightFrom = 251;
constexpr int DarkFrom = 61;
} // namespace

void StretchBitmapRectTransparent(TCanvas* Dest, int DstX, int DstY, int DstW, int DstH, const TRect& SrcRect,
    TBitmap* Bitmap, TColor TransparentColor)
{
    Qvutils::StretchBitmapTransparent(Dest, Bitmap, TransparentColor, DstX, DstY, DstW, DstH, SrcRect.Left,
        SrcRect.Top, SrcRect.Width(), SrcRect.Height());
}

void DrawBitmapRectTransparent(
    TCanvas* Dest, int DstX, int DstY, const TRect& SrcRect, TBitmap* Bitmap, TColor TransparentColor)
{
    StretchBitmapRectTransparent(
        Dest, DstX, DstY, SrcRect.Width(), SrcRect.Height(), SrcRect, Bitmap, TransparentColor);
}

void mygrayedbmp(TBitmap* Bitmap, TColor Light, TColor Dark)
{
    if (Bitmap == nullptr || Bitmap->Empty() || int64_t(Bitmap->Width()) * Bitmap->Height() > GrayedPixelLimit)
        return;
    const uint32_t light = RgbToQRgb(ColorToRGB(Light));
    const uint32_t dark = RgbToQRgb(ColorToRGB(Dark));
    const uint32_t background = Bitmap->ScanLine(0)[0];
    for (int y = 0; y < Bitmap->Height(); ++y) {
        uint32_t* line = Bitmap->ScanLine(y);
        for (int x = 0; x < Bitmap->Width(); ++x) {
            const uint32_t c = line[x];
            if (c == background)
                continue;
            const int s = qRed(c) + qGreen(c) + qBlue(c);
            line[x] = s >= WhiteFrom ? 0xFFFFFFFFu : s >= LightFrom ? light : s >= DarkFrom ? dark : 0xFF000000u;
        }
    }
}

void myDrawButtonFace(TCanvas* Canvas, TRect Rect, bool Pressed)
{
    const HDC dc = Canvas->Handle();
    if (!Pressed) {
        DrawEdge(dc, Rect, BDR_RAISEDOUTER, BF_RIGHT | BF_BOTTOM);
        Rect.Right -= 1;
        Rect.Bottom -= 1;
        DrawEdge(dc, Rect, BDR_RAISEDINNER, BF_LEFT | BF_TOP);
        Rect.Left += 1;
        Rect.Top += 1;
        DrawEdge(dc, Rect, BDR_RAISEDINNER, BF_RIGHT | BF_BOTTOM);
        return;
    }
    DrawEdge(dc, Rect, BDR_SUNKENINNER, BF_LEFT | BF_TOP);
    DrawEdge(dc, Rect, BDR_SUNKENOUTER, BF_RIGHT | BF_BOTTOM);
    Rect = vcl::Rect(Rect.Left + 1, Rect.Top + 1, Rect.Right - 1, Rect.Bottom - 1);
    DrawEdge(dc, Rect, BDR_SUNKENOUTER, BF_LEFT | BF_TOP);
}

} // namespace Coolpck
