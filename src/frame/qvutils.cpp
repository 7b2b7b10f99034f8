#include "frame/qvutils.h"

#include "vcl/core/unitstartup.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

using namespace vcl;

namespace Qvutils {

// The unit needs nothing set up or torn down.
static const vcl::TUnitRegistration UnitRegistration(QStringLiteral("Qvutils"), {});

const std::array<TColor, 10> ULFrameColor = {clWindow, clWindowFrame, clBtnShadow, clBtnHighlight, clBtnShadow,
    clLime, clBlack, clRed, clBtnShadow, clBtnHighlight};
const std::array<TColor, 10> LRFrameColor = {clWindow, clWindowFrame, clBtnHighlight, clBtnShadow, clBtnHighlight,
    clTeal, clBtnFace, clYellow, clBtnHighlight, clBtnShadow};
const std::array<TColor, 16> ColorValues = {clBlack, clMaroon, clGreen, clOlive, clNavy, clPurple, clTeal, clGray,
    clSilver, clRed, clLime, clYellow, clBlue, clFuchsia, clAqua, clWhite};

namespace {

// Outer and inner upper-left/lower-right colours of the two 3-D borders.
struct BorderColours {
    TColor OuterUL, OuterLR, InnerUL, InnerLR;
};
constexpr BorderColours ButtonUp = {clBtnHighlight, cl3DDkShadow, cl3DLight, clBtnShadow};
constexpr BorderColours ButtonDown = {clBtnText, clBtnText, clBtnShadow, clBtnShadow};
constexpr BorderColours Ctl3DRaised = {cl3DLight, clBtnText, clBtnHighlight, clBtnShadow};
constexpr BorderColours Ctl3DLowered = {clBtnShadow, clBtnHighlight, clBtnText, cl3DLight};

TRect DrawTwoRings(TCanvas* Canvas, TRect Rect, const BorderColours& c, TSides Sides)
{
    Rect = DrawBevel(Canvas, Rect, c.OuterUL, c.OuterLR, 1, Sides);
    return DrawBevel(Canvas, Rect, c.InnerUL, c.InnerLR, 1, Sides);
}

// A screen context with Font selected, released (and the font deleted) on every path.
class ScreenFontContext {
public:
    explicit ScreenFontContext(TFont* Font)
        : FDC(GetDC(nullptr))
        , FFont(CreateFontIndirect(LogFontOf(*Font)))
        , FOld(SelectObject(FDC, FFont))
    {
    }
    ~ScreenFontContext()
    {
        SelectObject(FDC, FOld);
        DeleteObject(FFont);
        ReleaseDC(nullptr, FDC);
    }
    ScreenFontContext(const ScreenFontContext&) = delete;
    ScreenFontContext& operator=(const ScreenFontContext&) = delete;
    HDC DC() const { return FDC; }

private:
    HDC FDC;
    HFONT FFont;
    HGDIOBJ FOld;
};

constexpr uint32_t RgbMask = 0x00FFFFFFu;
constexpr uint32_t OpaqueAlpha = 0xFF000000u;

// For each destination step along one axis of a stretch, the first source step and
// how many source steps fold into it (more than one only when shrinking), as the
// block transfers map them.
struct FoldedAxis {
    std::vector<int> First;
    std::vector<int> Count;

    FoldedAxis(int DestCount, int SourceCount)
        : First(size_t(DestCount))
        , Count(size_t(DestCount))
    {
        for (int i = 0; i < DestCount; ++i) {
            First[size_t(i)] = static_cast<int>(int64_t(i) * SourceCount / DestCount);
            const int next = static_cast<int>(int64_t(i + 1) * SourceCount / DestCount);
            Count[size_t(i)] = std::max(1, next - First[size_t(i)]);
        }
    }
};

// The source rectangle as the mask technique holds it after its first copy, one word
// a pixel: 0 where the pixel has the colour Key, else the pixel with alpha 0xFF. Pixels
// outside the source surface count as black, a monochrome source's as black or white.
std::vector<uint32_t> KeyedPixels(const TDeviceContext& Source, int X, int Y, int Width, int Height, uint32_t Key)
{
    const QImage& image = *Source.Surface();
    const int imageWidth = image.width(), imageHeight = image.height();
    const bool monochrome = Source.Monochrome();
    std::vector<uint32_t> keyed(size_t(Width) * size_t(Height));
    for (int y = 0; y < Height; ++y) {
        const bool rowInside = Y + y >= 0 && Y + y < imageHeight;
        const auto* line = rowInside ? reinterpret_cast<const uint32_t*>(image.constScanLine(Y + y)) : nullptr;
        uint32_t* out = keyed.data() + size_t(y) * size_t(Width);
        for (int x = 0; x < Width; ++x) {
            uint32_t p = line && X + x >= 0 && X + x < imageWidth ? line[X + x] & RgbMask : 0;
            if (monochrome && p != 0)
                p = RgbMask;
            out[x] = p == Key ? 0 : p | OpaqueAlpha;
        }
    }
    return keyed;
}

// Destination rows Top .. Bottom - 1, columns Left .. Right - 1 of a stretch by the
// keyed source: a pixel shows the destination only where every source pixel folding
// into it (one unless shrinking) is transparent; a mixed fold is black, as the masks
// and the masked colours are both combined with AND when they shrink.
void StretchKeyed(QImage& Dest, const TRect& Area, int DstX, int DstY, int DstW, int DstH,
    const std::vector<uint32_t>& Keyed, int SrcW, int SrcH)
{
    const FoldedAxis columns(DstW, SrcW), rows(DstH, SrcH);
    for (int y = Area.Top; y < Area.Bottom; ++y) {
        auto* line = reinterpret_cast<uint32_t*>(Dest.scanLine(y));
        const size_t j = size_t(y - DstY);
        for (int x = Area.Left; x < Area.Right; ++x) {
            const size_t i = size_t(x - DstX);
            uint32_t all = ~0u, any = 0;
            for (int b = 0; b < rows.Count[j]; ++b) {
                const uint32_t* row = Keyed.data() + size_t(rows.First[j] + b) * size_t(SrcW) + columns.First[i];
                for (int a = 0; a < columns.Count[i]; ++a) {
                    all &= row[a];
                    any |= row[a];
                }
            }
            line[x] = OpaqueAlpha | (any == 0 ? line[x] : 0) | (all & RgbMask);
        }
    }
}

// The same for a colour source rectangle inside its surface and as large as the
// destination: each pixel either the source's or, where the source has the key, the
// destination's own.
void CopyKeyed(QImage& Dest, const TRect& Area, int DstX, int DstY, const QImage& Source, int SrcX, int SrcY, uint32_t Key)
{
    // Without a branch (where the key lies is too irregular to predict), four pixels at
    // a time in the compiler's vector type (SSE2 or NEON instructions).
    using Pixels4 = uint32_t __attribute__((vector_size(16)));
    auto pixels = [Key](Pixels4 d, Pixels4 s) {
        const auto keep = reinterpret_cast<Pixels4>((s & RgbMask) == Key);
        return (d & keep) | (s & ~keep) | OpaqueAlpha;
    };
    const int count = Area.Right - Area.Left;
    for (int y = Area.Top; y < Area.Bottom; ++y) {
        uint32_t* out = reinterpret_cast<uint32_t*>(Dest.scanLine(y)) + Area.Left;
        const uint32_t* in = reinterpret_cast<const uint32_t*>(Source.constScanLine(SrcY + y - DstY)) + SrcX + Area.Left - DstX;
        int x = 0;
        for (; x + 4 <= count; x += 4) {
            Pixels4 d, s;
            std::memcpy(&d, out + x, sizeof d);
            std::memcpy(&s, in + x, sizeof s);
            d = pixels(d, s);
            std::memcpy(out + x, &d, sizeof d);
        }
        for (; x < count; ++x)
            out[x] = pixels(Pixels4{out[x]}, Pixels4{in[x]})[0];
    }
}

} // namespace

bool StretchKeyedOnePass(HDC DstDC, int DstX, int DstY, int DstW, int DstH, HDC SrcDC, int SrcX, int SrcY, int SrcW,
    int SrcH, uint32_t Key)
{
    if (!DstDC || !SrcDC || !DstDC->Surface() || !SrcDC->Surface() || DstDC->Surface() == SrcDC->Surface()
        || DstDC->Monochrome() || DstW <= 0 || DstH <= 0 || SrcW <= 0 || SrcH <= 0)
        return false;
    TRect bounds;
    GetClipBox(DstDC, bounds);
    const TRect area = Rect(std::max(DstX, bounds.Left), std::max(DstY, bounds.Top),
        std::min(DstX + DstW, bounds.Right), std::min(DstY + DstH, bounds.Bottom));
    if (area.Right <= area.Left || area.Bottom <= area.Top)
        return true;
    const QImage& source = *SrcDC->Surface();
    const bool sameSize = DstW == SrcW && DstH == SrcH;
    const bool inside = SrcX >= 0 && SrcY >= 0 && SrcX + SrcW <= source.width() && SrcY + SrcH <= source.height();
    if (sameSize && inside && !SrcDC->Monochrome())
        CopyKeyed(*DstDC->Surface(), area, DstX, DstY, source, SrcX, SrcY, Key);
    else
        StretchKeyed(*DstDC->Surface(), area, DstX, DstY, DstW, DstH, KeyedPixels(*SrcDC, SrcX, SrcY, SrcW, SrcH, Key),
            SrcW, SrcH);
    return true;
}

int Max(int A, int B) { return A > B ? A : B; }
int Min(int A, int B) { return A < B ? A : B; }

QChar LastChar(const QString& S)
{
    // Left open for an empty string; a null character is the harmless answer.
    return S.isEmpty() ? QChar() : S.back();
}

int GetAvgCharWidth(TFont* Font)
{
    const ScreenFontContext context(Font);
    TSize size;
    GetTextExtentPoint32(context.DC(), QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"), 52, size);
    return static_cast<int>(std::nearbyint(size.cx / 52.0));
}

int GetMinFontHeight(TFont* Font)
{
    const ScreenFontContext context(Font);
    TEXTMETRIC metrics;
    GetTextMetrics(context.DC(), metrics);
    return metrics.tmHeight + 2;
}

HFONT RotateFont(TFont* Font, int Angle)
{
    LOGFONT lf;
    lf.lfHeight = Font->Height();
    lf.lfWidth = 0;
    lf.lfEscapement = Angle * 10;
    lf.lfOrientation = 0;
    lf.lfWeight = Font->Style().testFlag(fsBold) ? 700 : 400;
    lf.lfItalic = Font->Style().testFlag(fsItalic) ? 1 : 0;
    lf.lfUnderline = Font->Style().testFlag(fsUnderline) ? 1 : 0;
    lf.lfStrikeOut = Font->Style().testFlag(fsStrikeOut) ? 1 : 0;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfOutPrecision = 0;
    lf.lfClipPrecision = 0;
    lf.lfQuality = 0;
    lf.lfPitchAndFamily = Font->Pitch() == fpVariable ? 2 : Font->Pitch() == fpFixed ? 1 : 0;
    lf.lfFaceName = Font->Name().left(LF_FACESIZE - 1);
    return CreateFontIndirect(lf);
}

TRect DrawSides(TCanvas* Canvas, const TRect& Rect, TColor ULColor, TColor LRColor, TSides Sides)
{
    TRect result = Rect;
    Canvas->Pen()->SetColor(ULColor);
    if (Sides.Contains(sdLeft)) {
        Canvas->MoveTo(Rect.Left, Rect.Top);
        Canvas->LineTo(Rect.Left, Rect.Bottom);
        ++result.Left;
    }
    if (Sides.Contains(sdTop)) {
        Canvas->MoveTo(Rect.Left, Rect.Top);
        Canvas->LineTo(Rect.Right, Rect.Top);
        ++result.Top;
    }
    Canvas->Pen()->SetColor(LRColor);
    if (Sides.Contains(sdRight)) {
        Canvas->MoveTo(Rect.Right - 1, Rect.Top);
        Canvas->LineTo(Rect.Right - 1, Rect.Bottom);
        --result.Right;
    }
    if (Sides.Contains(sdBottom)) {
        Canvas->MoveTo(Rect.Left, Rect.Bottom - 1);
        Canvas->LineTo(Rect.Right, Rect.Bottom - 1);
        --result.Bottom;
    }
    return result;
}

TRect DrawBevel(TCanvas* Canvas, TRect Rect, TColor ULColor, TColor LRColor, int Width, TSides Sides)
{
    Canvas->Pen()->SetWidth(1);
    for (int i = 0; i < Width; ++i)
        Rect = DrawSides(Canvas, Rect, ULColor, LRColor, Sides);
    return Rect;
}

TRect DrawButtonBorderSides(TCanvas* Canvas, TRect Rect, bool Down, TSides Sides)
{
    return DrawTwoRings(Canvas, Rect, Down ? ButtonDown : ButtonUp, Sides);
}

TRect DrawCtl3DBorderSides(TCanvas* Canvas, TRect Rect, bool Lowered, TSides Sides)
{
    return DrawTwoRings(Canvas, Rect, Lowered ? Ctl3DLowered : Ctl3DRaised, Sides);
}

namespace {

// The etched line of the groove and bump styles: two interleaved rings. Single corner
// pixels first, so that the rings meet cleanly where a side is missing.
TRect DrawEtchedSides(TCanvas* Canvas, const TRect& Rect, TColor ULColor, TColor LRColor, TSides Sides)
{
    const bool left = Sides.Contains(sdLeft), top = Sides.Contains(sdTop);
    const bool right = Sides.Contains(sdRight), bottom = Sides.Contains(sdBottom);
    TRect r = Rect;
    if (right)
        Canvas->SetPixels(r.Right - 1, r.Top, LRColor);
    if (top && !right)
        Canvas->SetPixels(r.Right - 1, r.Top, ULColor);
    if (bottom)
        Canvas->SetPixels(r.Left, r.Bottom - 1, LRColor);
    if (left && !bottom)
        Canvas->SetPixels(r.Left, r.Bottom - 1, ULColor);
    if (top && !left)
        Canvas->SetPixels(r.Left, r.Top + 1, LRColor);
    if (left && !top)
        Canvas->SetPixels(r.Left + 1, r.Top, LRColor);
    if (bottom && !right)
        Canvas->SetPixels(r.Right - 1, r.Bottom - 2, ULColor);
    if (right && !bottom)
        Canvas->SetPixels(r.Right - 2, r.Bottom - 1, ULColor);
    ++r.Left;
    ++r.Top;
    DrawSides(Canvas, r, LRColor, LRColor, Sides);
    --r.Left;
    --r.Top;
    --r.Right;
    --r.Bottom;
    DrawSides(Canvas, r, ULColor, ULColor, Sides);
    TRect result = Rect;
    if (left)
        result.Left += 2;
    if (top)
        result.Top += 2;
    if (right)
        result.Right -= 2;
    if (bottom)
        result.Bottom -= 2;
    return result;
}

} // namespace

TRect DrawBorderSides(TCanvas* Canvas, TRect Rect, TFramesStyle Style, TSides Sides)
{
    const TColor ul = ULFrameColor[size_t(Style)];
    const TColor lr = LRFrameColor[size_t(Style)];
    switch (Style) {
    case fsNone:
        return Rect;
    case fsFlat:
    case fsStatus:
    case fsPopup:
        return DrawSides(Canvas, Rect, ul, lr, Sides);
    case fsLowered:
    case fsRaised:
        return DrawCtl3DBorderSides(Canvas, Rect, Style == fsLowered, Sides);
    case fsButtonDown:
    case fsButtonUp:
        return DrawButtonBorderSides(Canvas, Rect, Style == fsButtonDown, Sides);
    case fsGroove:
    case fsBump:
        break;
    }
    return DrawEtchedSides(Canvas, Rect, ul, lr, Sides);
}

void DrawFrame(TCanvas* Canvas, int Width, int Height, TFramesStyle Style, TColor Fill, TColor Flat, TSides Sides)
{
    const TRect r = vcl::Rect(0, 0, Width, Height);
    DrawBevel(Canvas, r, Fill, Fill, 2, AllSides);
    if (Style == fsFlat)
        DrawSides(Canvas, r, Flat, Flat, Sides);
    else
        DrawBorderSides(Canvas, r, Style, Sides);
}

void DrawBitmapTransparent(TCanvas* Dest, int X, int Y, TBitmap* Bitmap, TColor TransparentColor)
{
    StretchBitmapTransparent(Dest, Bitmap, TransparentColor, X, Y, Bitmap->Width(), Bitmap->Height(), 0, 0,
        Bitmap->Width(), Bitmap->Height());
}

void StretchBitmapTransparent(TCanvas* Dest, TBitmap* Bitmap, TColor TransparentColor, int DstX, int DstY, int DstW,
    int DstH, int SrcX, int SrcY, int SrcW, int SrcH)
{
    if (DstW <= 0)
        DstW = Bitmap->Width();
    if (DstH <= 0)
        DstH = Bitmap->Height();
    if (SrcW <= 0 || SrcH <= 0) {
        SrcX = 0;
        SrcY = 0;
        SrcW = Bitmap->Width();
        SrcH = Bitmap->Height();
    }
    if (!Bitmap->Monochrome())
        SetStretchBltMode(Dest->Handle(), COLORONCOLOR);
    // Reading the bitmap's context must not fire its change events; the handler
    // comes back on every path.
    TCanvas* source = Bitmap->Canvas();
    struct Detach {
        TCanvas* Canvas;
        TNotifyEvent Saved;
        ~Detach() { Canvas->OnChange = std::move(Saved); }
    } detach{source, std::exchange(source->OnChange, nullptr)};
    if (TransparentColor == clNone) {
        StretchBlt(Dest->Handle(), DstX, DstY, DstW, DstH, source->Handle(), SrcX, SrcY, SrcW, SrcH, Dest->CopyMode());
        return;
    }
    const TColor key = Bitmap->Monochrome() ? clWhite : ColorToRGB(TransparentColor);
    StretchBltTransparent(Dest->Handle(), DstX, DstY, DstW, DstH, source->Handle(), SrcX, SrcY, SrcW, SrcH,
        Bitmap->Palette(), key);
}

void StretchBltTransparent(HDC DstDC, int DstX, int DstY, int DstW, int DstH, HDC SrcDC, int SrcX, int SrcY, int SrcW,
    int SrcH, HPALETTE Palette, TColor TransparentColor)
{
    // The source takes the destination's map mode either way.
    SetMapMode(SrcDC, GetMapMode(DstDC));
    // The key as the mask is made from it: the background colour of the source's copy.
    const uint32_t key = SurfacePixel(PaletteColor(TransparentColor), false) & RgbMask;
    if (!StretchKeyedOnePass(DstDC, DstX, DstY, DstW, DstH, SrcDC, SrcX, SrcY, SrcW, SrcH, key))
        StretchBltMasked(DstDC, DstX, DstY, DstW, DstH, SrcDC, SrcX, SrcY, SrcW, SrcH, Palette, TransparentColor);
}

void StretchBltMasked(HDC DstDC, int DstX, int DstY, int DstW, int DstH, HDC SrcDC, int SrcX, int SrcY, int SrcW,
    int SrcH, HPALETTE Palette, TColor TransparentColor)
{
    TScratchDC back(DstDC, CreateBitmap(SrcW, SrcH, 1, 1, nullptr));
    TScratchDC object(DstDC, CreateBitmap(SrcW, SrcH, 1, 1, nullptr));
    TScratchDC memory(DstDC, CreateCompatibleBitmap(DstDC, DstW, DstH));
    TScratchDC save(DstDC, CreateCompatibleBitmap(DstDC, SrcW, SrcH));
    HPALETTE oldPalettes[4] = {};
    if (Palette) {
        oldPalettes[0] = SelectPalette(DstDC, Palette, true);
        oldPalettes[1] = SelectPalette(save, Palette, false);
        oldPalettes[2] = SelectPalette(object, Palette, false);
        oldPalettes[3] = SelectPalette(memory, Palette, true);
        for (HDC dc : {DstDC, HDC(save), HDC(object), HDC(memory)})
            RealizePalette(dc);
    }
    SetMapMode(SrcDC, GetMapMode(DstDC));
    SetMapMode(save, GetMapMode(DstDC));

    BitBlt(save, 0, 0, SrcW, SrcH, SrcDC, SrcX, SrcY, SRCCOPY);
    const TColor saveBack = SetBkColor(save, PaletteColor(TransparentColor));
    BitBlt(object, 0, 0, SrcW, SrcH, save, 0, 0, SRCCOPY);
    SetBkColor(save, saveBack);

    BitBlt(back, 0, 0, SrcW, SrcH, object, 0, 0, NOTSRCCOPY);
    BitBlt(memory, 0, 0, DstW, DstH, DstDC, DstX, DstY, SRCCOPY);
    StretchBlt(memory, 0, 0, DstW, DstH, object, 0, 0, SrcW, SrcH, SRCAND);
    BitBlt(save, 0, 0, SrcW, SrcH, back, 0, 0, SRCAND);
    StretchBlt(memory, 0, 0, DstW, DstH, save, 0, 0, SrcW, SrcH, SRCPAINT);
    BitBlt(DstDC, DstX, DstY, DstW, DstH, memory, 0, 0, SRCCOPY);

    if (Palette) {
        SelectPalette(memory, oldPalettes[3], false);
        SelectPalette(object, oldPalettes[2], false);
        SelectPalette(save, oldPalettes[1], false);
        SelectPalette(DstDC, oldPalettes[0], true);
    }
}

TScratchDC::TScratchDC(HDC CompatibleWith, HBITMAP Bitmap)
    : FDC(CreateCompatibleDC(CompatibleWith)), FOldBitmap(SelectObject(FDC, Bitmap))
{
}

TScratchDC::~TScratchDC()
{
    DeleteObject(SelectObject(FDC, FOldBitmap));
    DeleteDC(FDC);
}

TColor PaletteColor(TColor Color)
{
    return ColorToRGB(Color) | PaletteRelativeFlag;
}

} // namespace Qvutils
