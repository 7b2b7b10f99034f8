#include "vcl/graphics/gdi.h"

#include "vcl/graphics/gdiengine.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <mutex>
#include <unordered_set>
#include <vector>

namespace vcl {

using namespace gdiengine;

namespace {

// Stock objects live for the whole process and are never deleted.
struct StockObjects {
    TGdiBrush WhiteBrush{BS_SOLID, clWhite};
    TGdiBrush LtGrayBrush{BS_SOLID, RGB(192, 192, 192)};
    TGdiBrush GrayBrush{BS_SOLID, RGB(128, 128, 128)};
    TGdiBrush DkGrayBrush{BS_SOLID, RGB(64, 64, 64)};
    TGdiBrush BlackBrush{BS_SOLID, clBlack};
    TGdiBrush NullBrush{BS_NULL, clBlack};
    TGdiPen WhitePen{PS_SOLID, 1, clWhite};
    TGdiPen BlackPen{PS_SOLID, 1, clBlack};
    TGdiPen NullPen{PS_NULL, 1, clBlack};
    TGdiFont SystemFont{[] {
        LOGFONT lf;
        lf.lfHeight = -11;
        lf.lfFaceName = TFont::DefaultName();
        return lf;
    }()};
    TGdiPalette DefaultPalette;

    bool Contains(const TGdiObject* object) const
    {
        const auto* bytes = reinterpret_cast<const char*>(object);
        return bytes >= reinterpret_cast<const char*>(this) && bytes < reinterpret_cast<const char*>(this + 1);
    }
};

StockObjects& Stock()
{
    static StockObjects stock;
    return stock;
}

// The handles the Create functions gave out and DeleteObject has not freed. Objects
// may be made and freed on any thread, hence the lock.
struct LiveObjects {
    std::mutex Lock;
    std::unordered_set<const TGdiObject*> Handles;
};

LiveObjects& Live()
{
    static LiveObjects live;
    return live;
}

template <typename Object>
Object* Tracked(Object* object)
{
    TrackObject(object);
    return object;
}

// The word-aligned rows of a 1-bit-per-pixel bitmap as CreateBitmap takes them.
void UnpackMonochromeBits(QImage& image, const uint8_t* bits)
{
    const int stride = ((image.width() + 15) / 16) * 2;
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<uint32_t*>(image.scanLine(y));
        const uint8_t* row = bits + static_cast<size_t>(y) * stride;
        for (int x = 0; x < image.width(); ++x)
            line[x] = (row[x / 8] & (0x80 >> (x % 8))) ? WhitePixel : BlackPixel;
    }
}

} // namespace

TGdiBitmap::TGdiBitmap(int Width, int Height, bool Monochrome)
    : Image(std::max(Width, 0), std::max(Height, 0), QImage::Format_RGB32)
    , Monochrome(Monochrome)
{
    Image.fill(Monochrome ? Qt::black : Qt::black);
}

TGdiFont::TGdiFont(const LOGFONT& LogFont)
    : LogFont(LogFont)
    , Font(MakeQFont(LogFont.lfFaceName.left(LF_FACESIZE - 1), LogFont.lfHeight, LogFont.lfWeight >= 600,
          LogFont.lfItalic != 0, LogFont.lfUnderline != 0, LogFont.lfStrikeOut != 0,
          (LogFont.lfPitchAndFamily & 3) == 1 ? fpFixed : (LogFont.lfPitchAndFamily & 3) == 2 ? fpVariable : fpDefault))
{
}

TDeviceContext::TDeviceContext()
    : Pen(&Stock().BlackPen)
    , Brush(&Stock().WhiteBrush)
    , Font(&Stock().SystemFont)
{
}

TDeviceContext::~TDeviceContext() = default;

void TDeviceContext::SetSurface(QImage* Image, bool Monochrome)
{
    FSurface = Image;
    FMonochrome = Monochrome;
    if (Image && Image->format() != QImage::Format_RGB32 && Image->format() != QImage::Format_ARGB32
        && Image->format() != QImage::Format_ARGB32_Premultiplied)
        *Image = Image->convertToFormat(QImage::Format_RGB32);
}

uint32_t SurfacePixel(TColor Color, bool Monochrome)
{
    const TColor rgb = ColorToRGB(Color);
    if (Monochrome)
        // The nearer of black and white.
        return GetRValue(rgb) + GetGValue(rgb) + GetBValue(rgb) > 382 ? WhitePixel : BlackPixel;
    return RgbToQRgb(rgb);
}

LOGFONT LogFontOf(const TFont& Font)
{
    LOGFONT lf;
    lf.lfHeight = Font.Height();
    lf.lfWeight = Font.Style().testFlag(fsBold) ? 700 : 400;
    lf.lfItalic = Font.Style().testFlag(fsItalic);
    lf.lfUnderline = Font.Style().testFlag(fsUnderline);
    lf.lfStrikeOut = Font.Style().testFlag(fsStrikeOut);
    lf.lfCharSet = uint8_t(Font.Charset());
    lf.lfPitchAndFamily = Font.Pitch() == fpFixed ? 1 : Font.Pitch() == fpVariable ? 2 : 0;
    lf.lfFaceName = Font.Name();
    return lf;
}

HGDIOBJ GetStockObject(int Object)
{
    StockObjects& s = Stock();
    switch (Object) {
    case WHITE_BRUSH: return &s.WhiteBrush;
    case LTGRAY_BRUSH: return &s.LtGrayBrush;
    case GRAY_BRUSH: return &s.GrayBrush;
    case DKGRAY_BRUSH: return &s.DkGrayBrush;
    case BLACK_BRUSH: return &s.BlackBrush;
    case NULL_BRUSH: return &s.NullBrush;
    case WHITE_PEN: return &s.WhitePen;
    case BLACK_PEN: return &s.BlackPen;
    case NULL_PEN: return &s.NullPen;
    case SYSTEM_FONT: return &s.SystemFont;
    case DEFAULT_PALETTE: return &s.DefaultPalette;
    default: return nullptr;
    }
}

HDC CreateCompatibleDC(HDC)
{
    auto* dc = new TDeviceContext;
    dc->DefaultBitmap = std::make_unique<TGdiBitmap>(1, 1, true);
    dc->Bitmap = dc->DefaultBitmap.get();
    dc->SetSurface(&dc->Bitmap->Image, true);
    return dc;
}

BOOL DeleteDC(HDC DC)
{
    if (!DC)
        return false;
    delete DC;
    return true;
}

HDC GetDC(std::nullptr_t)
{
    auto* dc = new TDeviceContext;
    dc->DefaultBitmap = std::make_unique<TGdiBitmap>(1, 1, false);
    dc->Bitmap = dc->DefaultBitmap.get();
    dc->SetSurface(&dc->Bitmap->Image, false);
    return dc;
}

int ReleaseDC(std::nullptr_t, HDC DC)
{
    return DeleteDC(DC) ? 1 : 0;
}

HBITMAP CreateCompatibleBitmap(HDC DC, int Width, int Height)
{
    return Tracked(new TGdiBitmap(Width, Height, DC && DC->Monochrome()));
}

HBITMAP CreateBitmap(int Width, int Height, UINT Planes, UINT BitCount, const void* Bits)
{
    if (Planes != 1 || Width < 0 || Height < 0)
        return nullptr;
    auto* bitmap = new TGdiBitmap(Width, Height, BitCount == 1);
    if (Bits && BitCount == 1)
        UnpackMonochromeBits(bitmap->Image, static_cast<const uint8_t*>(Bits));
    else if (Bits && BitCount == 32)
        for (int y = 0; y < Height; ++y) {
            auto* line = reinterpret_cast<uint32_t*>(bitmap->Image.scanLine(y));
            std::memcpy(line, static_cast<const uint8_t*>(Bits) + static_cast<size_t>(y) * Width * 4,
                static_cast<size_t>(Width) * 4);
            for (int x = 0; x < Width; ++x)
                line[x] |= OpaqueAlpha;
        }
    return Tracked(bitmap);
}

HPEN CreatePen(int Style, int Width, TColor Color)
{
    return Tracked(new TGdiPen(Style, std::max(Width, 1), Color));
}

HBRUSH CreateSolidBrush(TColor Color)
{
    return Tracked(new TGdiBrush(BS_SOLID, Color));
}

HBRUSH CreateHatchBrush(int Hatch, TColor Color)
{
    return Tracked(new TGdiBrush(BS_HATCHED, Color, Hatch));
}

HBRUSH CreatePatternBrush(HBITMAP Bitmap)
{
    if (!Bitmap)
        return nullptr;
    auto* brush = new TGdiBrush(BS_PATTERN, clBlack);
    brush->Pattern = Bitmap->Image.copy(0, 0, std::min(8, Bitmap->Image.width()), std::min(8, Bitmap->Image.height()));
    brush->PatternMonochrome = Bitmap->Monochrome;
    return Tracked(brush);
}

HFONT CreateFontIndirect(const LOGFONT& LogFont)
{
    return Tracked(new TGdiFont(LogFont));
}

HGDIOBJ SelectObject(HDC DC, HGDIOBJ Object)
{
    if (!DC || !Object)
        return nullptr;
    if (auto* bitmap = dynamic_cast<TGdiBitmap*>(Object)) {
        HBITMAP old = DC->Bitmap;
        DC->Bitmap = bitmap;
        DC->SetSurface(&bitmap->Image, bitmap->Monochrome);
        return old;
    }
    if (auto* pen = dynamic_cast<TGdiPen*>(Object))
        return std::exchange(DC->Pen, pen);
    if (auto* brush = dynamic_cast<TGdiBrush*>(Object))
        return std::exchange(DC->Brush, brush);
    if (auto* font = dynamic_cast<TGdiFont*>(Object))
        return std::exchange(DC->Font, font);
    if (auto* region = dynamic_cast<TGdiRegion*>(Object))
        return reinterpret_cast<HGDIOBJ>(intptr_t(SelectClipRgn(DC, region)));
    return nullptr;
}

BOOL DeleteObject(HGDIOBJ Object)
{
    if (!Object)
        return false;
    if (Stock().Contains(Object))
        return true;
    {
        LiveObjects& live = Live();
        const std::lock_guard<std::mutex> guard(live.Lock);
        if (live.Handles.erase(Object) == 0)
            return false;
    }
    delete Object;
    return true;
}

namespace gdiengine {

void TrackObject(TGdiObject* Object)
{
    LiveObjects& live = Live();
    const std::lock_guard<std::mutex> guard(live.Lock);
    live.Handles.insert(Object);
}

bool IsLiveObject(const TGdiObject* Object)
{
    LiveObjects& live = Live();
    const std::lock_guard<std::mutex> guard(live.Lock);
    return Object && live.Handles.count(Object) != 0;
}

TGdiRegion* LiveRegion(HRGN Region)
{
    // Checked before the cast: a freed handle must not be dereferenced.
    return IsLiveObject(Region) ? Region : nullptr;
}

} // namespace gdiengine

HPALETTE SelectPalette(HDC DC, HPALETTE Palette, BOOL)
{
    if (!DC)
        return nullptr;
    return std::exchange(DC->Palette, Palette);
}

UINT RealizePalette(HDC DC)
{
    // Surfaces are true colour: realising a palette maps no entries.
    (void)DC;
    return 0;
}

TColor SetBkColor(HDC DC, TColor Color)
{
    if (!DC)
        return CLR_INVALID;
    return std::exchange(DC->BkColor, Color);
}

TColor GetBkColor(HDC DC) { return DC ? DC->BkColor : CLR_INVALID; }

TColor SetTextColor(HDC DC, TColor Color)
{
    if (!DC)
        return CLR_INVALID;
    return std::exchange(DC->TextColor, Color);
}

TColor GetTextColor(HDC DC) { return DC ? DC->TextColor : CLR_INVALID; }

int SetBkMode(HDC DC, int Mode)
{
    if (!DC || (Mode != TRANSPARENT && Mode != OPAQUE))
        return 0;
    return std::exchange(DC->BkMode, Mode);
}

int SetROP2(HDC DC, int Mode)
{
    if (!DC || Mode < R2_BLACK || Mode > R2_WHITE)
        return 0;
    return std::exchange(DC->Rop2, Mode);
}

int SetStretchBltMode(HDC DC, int Mode)
{
    if (!DC || Mode < BLACKONWHITE || Mode > HALFTONE)
        return 0;
    return std::exchange(DC->StretchMode, Mode);
}

int GetStretchBltMode(HDC DC) { return DC ? DC->StretchMode : 0; }

int SetMapMode(HDC DC, int Mode)
{
    // Only the text mapping (one logical unit per pixel) exists here.
    if (!DC || Mode != MM_TEXT)
        return 0;
    return std::exchange(DC->MapMode, Mode);
}

int GetMapMode(HDC DC) { return DC ? DC->MapMode : 0; }

BOOL SetBrushOrgEx(HDC DC, int X, int Y, TPoint* Old)
{
    if (!DC)
        return false;
    if (Old)
        *Old = DC->BrushOrigin;
    DC->BrushOrigin = {X, Y};
    return true;
}

TColor GetPixel(HDC DC, int X, int Y)
{
    if (!DC || !DC->Surface() || !DC->Surface()->rect().contains(X, Y))
        return CLR_INVALID;
    return FromQRgb(DC->Surface()->pixel(X, Y));
}

TColor SetPixel(HDC DC, int X, int Y, TColor Color)
{
    if (!DC || !MayDraw(*DC, X, Y))
        return CLR_INVALID;
    const uint32_t pixel = SurfacePixel(Color, DC->Monochrome());
    reinterpret_cast<uint32_t*>(DC->Surface()->scanLine(Y))[X] = pixel;
    return FromQRgb(pixel);
}

namespace gdiengine {

BrushPattern::BrushPattern(const TDeviceContext& DC, const TGdiBrush* Brush)
    : FOriginX(DC.BrushOrigin.X)
    , FOriginY(DC.BrushOrigin.Y)
{
    const bool mono = DC.Monochrome();
    if (!Brush || Brush->Style == BS_NULL) {
        FNull = true;
        return;
    }
    if (Brush->Style == BS_SOLID) {
        FColor = SurfacePixel(Brush->Color, mono);
        return;
    }
    FSolid = false;
    if (Brush->Style == BS_HATCHED) {
        static constexpr std::array<std::array<uint8_t, TileSize>, 6> Hatches = {{
            {0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x00}, // horizontal
            {0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08}, // vertical
            {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01}, // forward diagonal
            {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80}, // backward diagonal
            {0x08, 0x08, 0x08, 0xFF, 0x08, 0x08, 0x08, 0x08}, // cross
            {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81}, // diagonal cross
        }};
        const auto& hatch = Hatches[static_cast<size_t>(std::clamp(Brush->Hatch, 0, 5))];
        const uint32_t fore = SurfacePixel(Brush->Color, mono);
        const uint32_t back = DC.BkMode == OPAQUE ? SurfacePixel(DC.BkColor, mono) : 0;
        for (int y = 0; y < TileSize; ++y)
            for (int x = 0; x < TileSize; ++x)
                FTile[y * TileSize + x] = (hatch[size_t(y)] & (0x80 >> x)) ? fore : back;
        return;
    }
    // Pattern brush: tile the pattern; a monochrome pattern takes the context's colours.
    const QImage& pattern = Brush->Pattern;
    const uint32_t text = SurfacePixel(DC.TextColor, mono);
    const uint32_t back = SurfacePixel(DC.BkColor, mono);
    for (int y = 0; y < TileSize; ++y)
        for (int x = 0; x < TileSize; ++x) {
            if (pattern.isNull()) {
                FTile[y * TileSize + x] = back;
                continue;
            }
            const uint32_t p = pattern.pixel(x % pattern.width(), y % pattern.height()) | OpaqueAlpha;
            if (Brush->PatternMonochrome)
                FTile[y * TileSize + x] = (p & RgbMask) ? back : text;
            else
                FTile[y * TileSize + x] = mono ? SurfacePixel(FromQRgb(p), true) : p;
        }
}

void FillWithBrush(TDeviceContext& DC, const QRect& Area, const BrushPattern& Brush)
{
    if (Brush.IsNull())
        return;
    ForEachDrawableRect(DC, Area, [&](const QRect& area) {
        QImage& image = *DC.Surface();
        for (int y = area.top(); y <= area.bottom(); ++y) {
            auto* line = reinterpret_cast<uint32_t*>(image.scanLine(y));
            for (int x = area.left(); x <= area.right(); ++x) {
                uint32_t p;
                if (Brush.At(x, y, p))
                    line[x] = ApplyRop2(DC.Rop2, p, line[x]);
            }
        }
    });
}

void SnapToMonochrome(QImage& Image, const QRect& Area)
{
    const QRect area = Area.intersected(Image.rect());
    for (int y = area.top(); y <= area.bottom(); ++y) {
        auto* line = reinterpret_cast<uint32_t*>(Image.scanLine(y));
        for (int x = area.left(); x <= area.right(); ++x)
            line[x] = SurfacePixel(FromQRgb(line[x]), true);
    }
}

} // namespace gdiengine

namespace {

// One source pixel converted for the destination: monochrome to colour takes the
// destination's background (white) and text (black) colours; colour to monochrome
// makes the source's background colour white and everything else black.
struct SourceConversion {
    enum Kind { None, MonoToColour, ColourToMono } Mode = None;
    uint32_t White = 0, Black = 0, SourceBk = 0;

    SourceConversion(const TDeviceContext& Dest, const TDeviceContext& Source)
    {
        if (Source.Monochrome() && !Dest.Monochrome()) {
            Mode = MonoToColour;
            White = SurfacePixel(Dest.BkColor, false);
            Black = SurfacePixel(Dest.TextColor, false);
        } else if (!Source.Monochrome() && Dest.Monochrome()) {
            Mode = ColourToMono;
            SourceBk = SurfacePixel(Source.BkColor, false) & RgbMask;
        }
    }
    uint32_t operator()(uint32_t s) const
    {
        switch (Mode) {
        case MonoToColour: return (s & RgbMask) ? White : Black;
        case ColourToMono: return (s & RgbMask) == SourceBk ? WhitePixel : BlackPixel;
        default: return s | OpaqueAlpha;
        }
    }
};

// For each destination step along one axis, the first source step and how many
// source steps fold into it (more than one only when shrinking).
struct AxisMap {
    std::vector<int> First;
    std::vector<int> Count;
};

AxisMap MapAxis(int DestCount, int SourceCount)
{
    AxisMap map;
    map.First.resize(size_t(DestCount));
    map.Count.resize(size_t(DestCount));
    for (int i = 0; i < DestCount; ++i) {
        const int first = static_cast<int>(static_cast<long long>(i) * SourceCount / DestCount);
        const int next = static_cast<int>(static_cast<long long>(i + 1) * SourceCount / DestCount);
        map.First[size_t(i)] = first;
        map.Count[size_t(i)] = std::max(1, next - first);
    }
    return map;
}

uint32_t Combine(int StretchMode, uint32_t Accumulated, uint32_t Pixel)
{
    switch (StretchMode) {
    case BLACKONWHITE: return Accumulated & Pixel;
    case WHITEONBLACK: return Accumulated | Pixel;
    default: return Accumulated;
    }
}

// One block transfer: the source snapshot, the destination and the mapping between them.
struct Transfer {
    const QImage& Source;
    QImage& Dest;
    const SourceConversion Convert;
    const BrushPattern Brush;
    const uint8_t Code;
    const int X, Y, XSrc, YSrc;
    const int DestWidth, DestHeight; // in pixels; the signs of the extents are in the steps
    const int DestStepX, DestStepY, SourceStepX, SourceStepY;
    const AxisMap Columns, Rows;
    const int Mode;

    // Writes source pixel s (not yet converted) at (x, y) through the raster operation.
    void Write(uint32_t* line, int x, int y, uint32_t s) const
    {
        uint32_t p = 0;
        if (RopUsesPattern(Code) && !Brush.At(x, y, p))
            return;
        line[x] = ApplyRop3(Code, p, Convert(s), line[x]);
    }
};

// Count pixels copied, each made opaque as a plain source copy makes them, eight to a
// vector operation (GCC and Clang vector types, lowered to what the target has).
void CopyOpaque(uint32_t* To, const uint32_t* From, int Count)
{
    using Block = uint32_t __attribute__((vector_size(32)));
    constexpr Block alpha = {OpaqueAlpha, OpaqueAlpha, OpaqueAlpha, OpaqueAlpha, OpaqueAlpha, OpaqueAlpha,
        OpaqueAlpha, OpaqueAlpha};
    int i = 0;
    for (; i + 8 <= Count; i += 8) {
        Block b;
        std::memcpy(&b, From + i, sizeof b);
        b |= alpha;
        std::memcpy(To + i, &b, sizeof b);
    }
    for (; i < Count; ++i)
        To[i] = From[i] | OpaqueAlpha;
}

// A row transferred pixel for pixel from source row sline (same size, left to
// right): a straight copy when the operation is one, else pixel by pixel.
void TransferRowOneToOne(const Transfer& t, const QRect& Bounds, uint32_t* line, int y, const uint32_t* sline)
{
    const int x0 = std::max({t.X, Bounds.left(), t.X - t.XSrc});
    const int x1 = std::min({t.X + t.DestWidth, Bounds.right() + 1, t.X - t.XSrc + t.Source.width()});
    if (t.Code == 0xCC && t.Convert.Mode == SourceConversion::None) {
        if (x1 > x0)
            CopyOpaque(line + x0, sline + (x0 - t.X + t.XSrc), x1 - x0);
        return;
    }
    for (int x = x0; x < x1; ++x)
        t.Write(line, x, y, sline[x - t.X + t.XSrc]);
}

// The source pixel for destination step (i, j): with a shrinking stretch mode other
// than COLORONCOLOR, every source pixel folding into it combined by the mode. False
// when all of them lie outside the source.
bool SampleSource(const Transfer& t, int i, int j, uint32_t& Pixel)
{
    bool have = false;
    uint64_t sumR = 0, sumG = 0, sumB = 0;
    int samples = 0;
    const int colCount = t.Mode == COLORONCOLOR ? 1 : t.Columns.Count[size_t(i)];
    const int rowCount = t.Mode == COLORONCOLOR ? 1 : t.Rows.Count[size_t(j)];
    for (int b = 0; b < rowCount; ++b) {
        const int sy = t.YSrc + (t.Rows.First[size_t(j)] + b) * t.SourceStepY;
        if (sy < 0 || sy >= t.Source.height())
            continue;
        const auto* sline = reinterpret_cast<const uint32_t*>(t.Source.constScanLine(sy));
        for (int a = 0; a < colCount; ++a) {
            const int sx = t.XSrc + (t.Columns.First[size_t(i)] + a) * t.SourceStepX;
            if (sx < 0 || sx >= t.Source.width())
                continue;
            const uint32_t pixel = sline[sx];
            Pixel = have ? Combine(t.Mode, Pixel, pixel) : pixel;
            have = true;
            sumR += (pixel >> 16) & 0xFF;
            sumG += (pixel >> 8) & 0xFF;
            sumB += pixel & 0xFF;
            ++samples;
        }
    }
    if (have && t.Mode == HALFTONE && samples > 1)
        Pixel = OpaqueAlpha | uint32_t(sumR / samples) << 16 | uint32_t(sumG / samples) << 8 | uint32_t(sumB / samples);
    return have;
}

// Destination row j (at y) of a stretching or mirroring transfer, within Bounds.
void TransferRowStretched(const Transfer& t, const QRect& Bounds, uint32_t* line, int y, int j)
{
    for (int i = 0; i < t.DestWidth; ++i) {
        const int x = t.X + i * t.DestStepX;
        if (x < Bounds.left() || x > Bounds.right())
            continue;
        uint32_t s = 0;
        // Pixels whose source lies outside the source surface are left alone.
        if (SampleSource(t, i, j, s))
            t.Write(line, x, y, s);
    }
}

} // namespace

BOOL PatBlt(HDC DC, int X, int Y, int Width, int Height, DWORD Rop)
{
    if (!DC || !DC->Surface())
        return false;
    int left, right, top, bottom;
    NormaliseExtent(X, Width, left, right);
    NormaliseExtent(Y, Height, top, bottom);
    const uint8_t code = uint8_t(Rop >> 16);
    const BrushPattern brush(*DC, DC->Brush);
    QImage& image = *DC->Surface();
    ForEachDrawableRect(*DC, QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)), [&](const QRect& area) {
        for (int y = area.top(); y <= area.bottom(); ++y) {
            auto* line = reinterpret_cast<uint32_t*>(image.scanLine(y));
            for (int x = area.left(); x <= area.right(); ++x) {
                uint32_t p = 0;
                if (RopUsesPattern(code) && !brush.At(x, y, p))
                    continue;
                line[x] = ApplyRop3(code, p, 0, line[x]);
            }
        }
    });
    return true;
}

BOOL BitBlt(HDC Dest, int X, int Y, int Width, int Height, HDC Source, int XSrc, int YSrc, DWORD Rop)
{
    return StretchBlt(Dest, X, Y, Width, Height, Source, XSrc, YSrc, Width, Height, Rop);
}

BOOL StretchBlt(HDC Dest, int X, int Y, int Width, int Height, HDC Source, int XSrc, int YSrc,
    int WidthSrc, int HeightSrc, DWORD Rop)
{
    const uint8_t code = uint8_t(Rop >> 16);
    if (!RopUsesSource(code))
        return PatBlt(Dest, X, Y, Width, Height, Rop);
    if (!Dest || !Dest->Surface() || !Source || !Source->Surface())
        return false;
    if (Width == 0 || Height == 0 || WidthSrc == 0 || HeightSrc == 0)
        return true;
    // A snapshot of the source, so copies within one surface read the old pixels.
    const QImage source = *Source->Surface();
    const int dw = std::abs(Width), dh = std::abs(Height);
    const Transfer t{source, *Dest->Surface(), SourceConversion(*Dest, *Source), BrushPattern(*Dest, Dest->Brush),
        code, X, Y, XSrc, YSrc, dw, dh, Width > 0 ? 1 : -1, Height > 0 ? 1 : -1, WidthSrc > 0 ? 1 : -1,
        HeightSrc > 0 ? 1 : -1, MapAxis(dw, std::abs(WidthSrc)), MapAxis(dh, std::abs(HeightSrc)),
        Dest->StretchMode};
    // Same size, left to right and top to bottom: pixel for pixel, without the
    // stretch machinery.
    const bool oneToOne = dw == std::abs(WidthSrc) && dh == std::abs(HeightSrc) && t.DestStepX == t.SourceStepX
        && t.DestStepX == 1;
    int left, right, top, bottom;
    NormaliseExtent(X, Width, left, right);
    NormaliseExtent(Y, Height, top, bottom);
    ForEachDrawableRect(*Dest, QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)), [&](const QRect& bounds) {
        for (int j = 0; j < dh; ++j) {
            const int y = Y + j * t.DestStepY;
            if (y < bounds.top() || y > bounds.bottom())
                continue;
            auto* line = reinterpret_cast<uint32_t*>(t.Dest.scanLine(y));
            if (!oneToOne) {
                TransferRowStretched(t, bounds, line, y, j);
                continue;
            }
            const int sy = YSrc + t.Rows.First[size_t(j)] * t.SourceStepY;
            if (sy >= 0 && sy < source.height())
                TransferRowOneToOne(t, bounds, line, y, reinterpret_cast<const uint32_t*>(source.constScanLine(sy)));
        }
    });
    return true;
}

} // namespace vcl

namespace vcl::gdiengine {

void StretchKeyed(HDC Dest, int X, int Y, int Width, int Height, HDC Source, int XSrc, int YSrc, int WidthSrc,
    int HeightSrc, TColor Key, const TGdiBrush* Replacement)
{
    if (!Dest || !Dest->Surface() || !Source || !Source->Surface() || Width == 0 || Height == 0)
        return;
    const int w = std::abs(Width), h = std::abs(Height);
    // Stretch into a scratch surface whose untouched pixels keep alpha 0.
    TGdiBitmap scratch(w, h, Dest->Monochrome());
    std::memset(scratch.Image.bits(), 0, size_t(scratch.Image.sizeInBytes()));
    TDeviceContext temp;
    temp.SetSurface(&scratch.Image, Dest->Monochrome());
    temp.BkColor = Dest->BkColor;
    temp.TextColor = Dest->TextColor;
    temp.StretchMode = COLORONCOLOR;
    StretchBlt(&temp, Width < 0 ? w - 1 : 0, Height < 0 ? h - 1 : 0, Width, Height, Source, XSrc, YSrc, WidthSrc,
        HeightSrc, SRCCOPY);

    int left, right, top, bottom;
    NormaliseExtent(X, Width, left, right);
    NormaliseExtent(Y, Height, top, bottom);
    const uint32_t key = SurfacePixel(Key, false) & RgbMask;
    const BrushPattern brush(*Dest, Replacement);
    QImage& dest = *Dest->Surface();
    ForEachDrawableRect(*Dest, QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)), [&](const QRect& area) {
        for (int y = area.top(); y <= area.bottom(); ++y) {
            const auto* sline = reinterpret_cast<const uint32_t*>(scratch.Image.constScanLine(y - top));
            auto* line = reinterpret_cast<uint32_t*>(dest.scanLine(y));
            for (int x = area.left(); x <= area.right(); ++x) {
                const uint32_t s = sline[x - left];
                if ((s >> 24) == 0)
                    continue;
                if ((s & RgbMask) != key) {
                    line[x] = s;
                    continue;
                }
                uint32_t p;
                if (Replacement && brush.At(x, y, p))
                    line[x] = p;
            }
        }
    });
}

} // namespace vcl::gdiengine
