#pragma once
// The subset of the platform's drawing interface that the units call directly: device
// contexts and drawing objects behind typed handles, block transfers with raster
// operations, and the line, shape, edge and text functions. Everything works on the
// pixels of a QImage with the platform's rules; TCanvas draws through the same engine.
#include "platform/win32types.h"
#include "vcl/core/types.h"
#include "vcl/graphics/colors.h"
#include "vcl/graphics/graphicsobjects.h"

#include <QFont>
#include <QImage>
#include <QRegion>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <tuple>
#include <vector>

namespace vcl {

using platform::BOOL;
using platform::DWORD;
using platform::UINT;

// Drawing objects. A handle is a pointer to one of these.
class TGdiObject {
public:
    TGdiObject() = default;
    TGdiObject(const TGdiObject&) = delete;
    TGdiObject& operator=(const TGdiObject&) = delete;
    virtual ~TGdiObject() = default;
};

// A bitmap: 32-bit pixels (0xFFRRGGBB) and whether it is monochrome (then every pixel
// is black or white, and blits convert colours to and from it as the platform does).
class TGdiBitmap : public TGdiObject {
public:
    TGdiBitmap(int Width, int Height, bool Monochrome);
    QImage Image;
    bool Monochrome = false;
};

enum : int { PS_SOLID = 0, PS_DASH = 1, PS_DOT = 2, PS_DASHDOT = 3, PS_DASHDOTDOT = 4, PS_NULL = 5, PS_INSIDEFRAME = 6 };

class TGdiPen : public TGdiObject {
public:
    TGdiPen(int Style, int Width, TColor Color) : Style(Style), Width(Width), Color(Color) {}
    int Style;
    int Width;
    TColor Color;
};

enum : int { BS_SOLID = 0, BS_NULL = 1, BS_HATCHED = 2, BS_PATTERN = 3 };
enum : int { HS_HORIZONTAL = 0, HS_VERTICAL = 1, HS_FDIAGONAL = 2, HS_BDIAGONAL = 3, HS_CROSS = 4, HS_DIAGCROSS = 5 };

class TGdiBrush : public TGdiObject {
public:
    TGdiBrush(int Style, TColor Color, int Hatch = 0) : Style(Style), Color(Color), Hatch(Hatch) {}
    int Style;
    TColor Color;
    int Hatch;
    // BS_PATTERN: up to 8x8 pixels, tiled from the brush origin; a monochrome pattern
    // takes the text colour for black and the background colour for white.
    QImage Pattern;
    bool PatternMonochrome = false;
};

constexpr int LF_FACESIZE = 32;

// The platform's logical font record.
struct LOGFONT {
    int lfHeight = 0;
    int lfWidth = 0;
    int lfEscapement = 0; // tenths of a degree, counter-clockwise
    int lfOrientation = 0;
    int lfWeight = 400;
    uint8_t lfItalic = 0;
    uint8_t lfUnderline = 0;
    uint8_t lfStrikeOut = 0;
    uint8_t lfCharSet = 1;
    uint8_t lfOutPrecision = 0;
    uint8_t lfClipPrecision = 0;
    uint8_t lfQuality = 0;
    uint8_t lfPitchAndFamily = 0;
    QString lfFaceName;
};
using LOGFONTA = LOGFONT;

// The logical font that draws like Font.
LOGFONT LogFontOf(const TFont& Font);

class TGdiFont : public TGdiObject {
public:
    explicit TGdiFont(const LOGFONT& LogFont);
    LOGFONT LogFont;
    QFont Font;
};

// A logical palette: its entries as red-green-blue TColor values.
class TGdiPalette : public TGdiObject {
public:
    std::vector<TColor> Entries;
};

// A region: a set of non-overlapping rectangles in device coordinates (QRegion's
// rectangles are inclusive; the functions below take and give exclusive right and
// bottom edges, as the platform does).
class TGdiRegion : public TGdiObject {
public:
    QRegion Region;
};

using HGDIOBJ = TGdiObject*;
using HBITMAP = TGdiBitmap*;
using HPEN = TGdiPen*;
using HBRUSH = TGdiBrush*;
using HFONT = TGdiFont*;
using HPALETTE = TGdiPalette*;
using HRGN = TGdiRegion*;

enum : int { TRANSPARENT = 1, OPAQUE = 2 };
enum : int {
    R2_BLACK = 1, R2_NOTMERGEPEN, R2_MASKNOTPEN, R2_NOTCOPYPEN, R2_MASKPENNOT, R2_NOT, R2_XORPEN,
    R2_NOTMASKPEN, R2_MASKPEN, R2_NOTXORPEN, R2_NOP, R2_MERGENOTPEN, R2_COPYPEN, R2_MERGEPENNOT,
    R2_MERGEPEN, R2_WHITE
};
// Stretch modes: how eliminated pixels combine when a blit shrinks.
enum : int { BLACKONWHITE = 1, WHITEONBLACK = 2, COLORONCOLOR = 3, HALFTONE = 4 };
enum : int { STRETCH_ANDSCANS = 1, STRETCH_ORSCANS = 2, STRETCH_DELETESCANS = 3, STRETCH_HALFTONE = 4 };
enum : int { MM_TEXT = 1 };

// Ternary raster operations (the truth table over pattern, source and destination in
// the high byte of the low word's upper half, as the platform encodes them).
constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr DWORD SRCPAINT = 0x00EE0086;
constexpr DWORD SRCAND = 0x008800C6;
constexpr DWORD SRCINVERT = 0x00660046;
constexpr DWORD SRCERASE = 0x00440328;
constexpr DWORD NOTSRCCOPY = 0x00330008;
constexpr DWORD NOTSRCERASE = 0x001100A6;
constexpr DWORD MERGECOPY = 0x00C000CA;
constexpr DWORD MERGEPAINT = 0x00BB0226;
constexpr DWORD PATCOPY = 0x00F00021;
constexpr DWORD PATPAINT = 0x00FB0A09;
constexpr DWORD PATINVERT = 0x005A0049;
constexpr DWORD DSTINVERT = 0x00550009;
constexpr DWORD BLACKNESS = 0x00000042;
constexpr DWORD WHITENESS = 0x00FF0062;

// The device context: a surface and the drawing state.
class TDeviceContext {
public:
    TDeviceContext();
    ~TDeviceContext();
    TDeviceContext(const TDeviceContext&) = delete;
    TDeviceContext& operator=(const TDeviceContext&) = delete;

    // Draws on Image (kept in 32-bit format) from now on; Monochrome marks a
    // black-and-white surface. Null detaches the surface (drawing then does nothing).
    void SetSurface(QImage* Image, bool Monochrome);
    QImage* Surface() const { return FSurface; }
    bool Monochrome() const { return FMonochrome; }

    HBITMAP Bitmap = nullptr; // the selected bitmap of a memory context
    HPEN Pen;
    HBRUSH Brush;
    HFONT Font;
    HPALETTE Palette = nullptr;
    TColor BkColor = clWhite;
    TColor TextColor = clBlack;
    int BkMode = OPAQUE;
    int Rop2 = R2_COPYPEN;
    int StretchMode = BLACKONWHITE;
    int MapMode = MM_TEXT;
    TPoint PenPos;
    TPoint BrushOrigin;
    // Drawing is limited to this region when HasClip is set; it is a copy of its own,
    // never a region object of the caller.
    QRegion ClipRegion;
    bool HasClip = false;

    // SaveDC and RestoreDC: the drawing state pushed and popped; Restore takes a level
    // from Save (1 = the first saved) or a negative count back from the last one.
    int Save();
    bool Restore(int Level);

    // The 1x1 monochrome bitmap a memory context starts with.
    std::unique_ptr<TGdiBitmap> DefaultBitmap;

private:
    // The drawing state SaveDC keeps, besides the selected bitmap.
    auto StateFields()
    {
        return std::tie(Pen, Brush, Font, Palette, BkColor, TextColor, BkMode, Rop2, StretchMode, MapMode, PenPos,
            BrushOrigin, ClipRegion, HasClip);
    }
    using StateValues = std::tuple<HPEN, HBRUSH, HFONT, HPALETTE, TColor, TColor, int, int, int, int, TPoint, TPoint,
        QRegion, bool>;
    // The selected bitmap is given back only to memory contexts: elsewhere the surface
    // belongs to the canvas or bitmap that set it.
    struct SavedState {
        HBITMAP Bitmap;
        StateValues Values;
    };
    QImage* FSurface = nullptr;
    bool FMonochrome = false;
    std::vector<SavedState> FSaved;
};
using HDC = TDeviceContext*;

// Stock objects (never deleted).
enum : int { WHITE_BRUSH = 0, LTGRAY_BRUSH = 1, GRAY_BRUSH = 2, DKGRAY_BRUSH = 3, BLACK_BRUSH = 4,
    NULL_BRUSH = 5, WHITE_PEN = 6, BLACK_PEN = 7, NULL_PEN = 8, SYSTEM_FONT = 13, DEFAULT_PALETTE = 15 };
HGDIOBJ GetStockObject(int Object);

// Device contexts. A memory context starts with a 1x1 monochrome bitmap, as on the
// platform; GetDC(nullptr) gives a context over a small screen-like colour surface
// for measuring text.
HDC CreateCompatibleDC(HDC DC);
BOOL DeleteDC(HDC DC);
HDC GetDC(std::nullptr_t);
int ReleaseDC(std::nullptr_t, HDC DC);

// Objects. Bitmaps compatible with a monochrome context are monochrome.
HBITMAP CreateCompatibleBitmap(HDC DC, int Width, int Height);
// Planes must be 1; BitCount 1 makes a monochrome bitmap, anything else a colour one.
// Bits (may be null) are rows of the platform's packed format, word aligned.
HBITMAP CreateBitmap(int Width, int Height, UINT Planes, UINT BitCount, const void* Bits);
HPEN CreatePen(int Style, int Width, TColor Color);
HBRUSH CreateSolidBrush(TColor Color);
HBRUSH CreateHatchBrush(int Hatch, TColor Color);
HBRUSH CreatePatternBrush(HBITMAP Bitmap);
HFONT CreateFontIndirect(const LOGFONT& LogFont);
inline HFONT CreateFontIndirectA(const LOGFONT& LogFont) { return CreateFontIndirect(LogFont); }
// Selects a bitmap, pen, brush or font; returns the previously selected one. A region
// becomes the clip region, as SelectClipRgn; the result is then its kind in the
// handle's place (ERROR, NULLREGION, SIMPLEREGION or COMPLEXREGION), as the
// platform answers.
HGDIOBJ SelectObject(HDC DC, HGDIOBJ Object);
// Frees an object created by a Create function; stock objects are left alone. A handle
// already freed (or never made by a Create function) gives false and is not touched.
BOOL DeleteObject(HGDIOBJ Object);
HPALETTE SelectPalette(HDC DC, HPALETTE Palette, BOOL ForceBackground);
UINT RealizePalette(HDC DC);

// State.
TColor SetBkColor(HDC DC, TColor Color);
TColor GetBkColor(HDC DC);
TColor SetTextColor(HDC DC, TColor Color);
TColor GetTextColor(HDC DC);
int SetBkMode(HDC DC, int Mode);
int SetROP2(HDC DC, int Mode);
int SetStretchBltMode(HDC DC, int Mode);
int GetStretchBltMode(HDC DC);
int SetMapMode(HDC DC, int Mode);
int GetMapMode(HDC DC);
BOOL SetBrushOrgEx(HDC DC, int X, int Y, TPoint* Old);

// Saves the context's drawing state (objects, colours, modes, positions, clip region)
// and returns its level, 0 on failure. RestoreDC brings back the state of a level, or
// with a negative Level the state that many saves back (-1: the last), dropping that
// state and every later one.
int SaveDC(HDC DC);
BOOL RestoreDC(HDC DC, int SavedDC);

// Regions. The kinds a region function returns: ERROR for a bad handle or argument,
// NULLREGION for an empty region, SIMPLEREGION for one rectangle, COMPLEXREGION for more.
enum : int { ERROR = 0, NULLREGION = 1, SIMPLEREGION = 2, COMPLEXREGION = 3 };
enum : int { RGN_AND = 1, RGN_OR = 2, RGN_XOR = 3, RGN_DIFF = 4, RGN_COPY = 5 };
// A rectangle region; swapped edges are put in order, equal ones give an empty region.
HRGN CreateRectRgn(int Left, int Top, int Right, int Bottom);
HRGN CreateRectRgnIndirect(const TRect& Rect);
// Dest becomes Source1 combined with Source2 (not read for RGN_COPY); Dest may be one
// of the sources. Returns the kind of the result.
int CombineRgn(HRGN Dest, HRGN Source1, HRGN Source2, int Mode);
// Moves the region; ERROR (region unchanged) when it would leave the coordinate range.
int OffsetRgn(HRGN Region, int X, int Y);
BOOL PtInRegion(HRGN Region, int X, int Y);
// The bounding rectangle (all zero for an empty region) and the region's kind.
int GetRgnBox(HRGN Region, TRect& Rect);

// Clipping. SelectClipRgn makes a copy of Region the clip region (null: no clipping);
// IntersectClipRect and ExcludeClipRect narrow the clip region (without one, they start
// from the whole surface). Each returns the kind of the new clip region. GetClipBox
// gives the bounding rectangle of the pixels drawing may reach and their kind.
int SelectClipRgn(HDC DC, HRGN Region);
// The clip region becomes the current one (the whole surface without one) combined
// with Region by Mode; RGN_COPY is SelectClipRgn. Returns the kind of the new clip.
int ExtSelectClipRgn(HDC DC, HRGN Region, int Mode);
// Copies the clip region into Region: 1, or 0 (Region untouched) when the context has
// none; -1 for a bad context or region.
int GetClipRgn(HDC DC, HRGN Region);
int IntersectClipRect(HDC DC, int Left, int Top, int Right, int Bottom);
int ExcludeClipRect(HDC DC, int Left, int Top, int Right, int Bottom);
int GetClipBox(HDC DC, TRect& Rect);

// Pixels: GetPixel returns CLR_INVALID (0xFFFFFFFF) outside the surface.
constexpr TColor CLR_INVALID = TColorOf(0xFFFFFFFF);
TColor GetPixel(HDC DC, int X, int Y);
TColor SetPixel(HDC DC, int X, int Y, TColor Color);

// Block transfers. Negative extents mirror (a width of -w starting at x covers the
// columns x-w+1 .. x in reverse order).
BOOL BitBlt(HDC Dest, int X, int Y, int Width, int Height, HDC Source, int XSrc, int YSrc, DWORD Rop);
BOOL StretchBlt(HDC Dest, int X, int Y, int Width, int Height, HDC Source, int XSrc, int YSrc,
    int WidthSrc, int HeightSrc, DWORD Rop);
BOOL PatBlt(HDC DC, int X, int Y, int Width, int Height, DWORD Rop);

// Lines and shapes.
BOOL MoveToEx(HDC DC, int X, int Y, TPoint* Old);
BOOL LineTo(HDC DC, int X, int Y);
BOOL Polyline(HDC DC, const TPoint* Points, int Count);
BOOL Polygon(HDC DC, const TPoint* Points, int Count);
BOOL Rectangle(HDC DC, int Left, int Top, int Right, int Bottom);
BOOL Ellipse(HDC DC, int Left, int Top, int Right, int Bottom);
BOOL Arc(HDC DC, int Left, int Top, int Right, int Bottom, int XStart, int YStart, int XEnd, int YEnd);
BOOL Pie(HDC DC, int Left, int Top, int Right, int Bottom, int XStart, int YStart, int XEnd, int YEnd);
BOOL Chord(HDC DC, int Left, int Top, int Right, int Bottom, int XStart, int YStart, int XEnd, int YEnd);
BOOL RoundRect(HDC DC, int Left, int Top, int Right, int Bottom, int EllipseWidth, int EllipseHeight);
int FillRect(HDC DC, const TRect& Rect, HBRUSH Brush);
int FrameRect(HDC DC, const TRect& Rect, HBRUSH Brush);
BOOL InvertRect(HDC DC, const TRect& Rect);
BOOL DrawFocusRect(HDC DC, const TRect& Rect);

// Edges.
enum : UINT {
    BDR_RAISEDOUTER = 0x1, BDR_SUNKENOUTER = 0x2, BDR_RAISEDINNER = 0x4, BDR_SUNKENINNER = 0x8,
    BDR_OUTER = 0x3, BDR_INNER = 0xC, BDR_RAISED = 0x5, BDR_SUNKEN = 0xA,
    EDGE_RAISED = 0x5, EDGE_SUNKEN = 0xA, EDGE_ETCHED = 0x6, EDGE_BUMP = 0x9,
};
enum : UINT {
    BF_LEFT = 0x1, BF_TOP = 0x2, BF_RIGHT = 0x4, BF_BOTTOM = 0x8,
    BF_TOPLEFT = 0x3, BF_BOTTOMRIGHT = 0xC, BF_RECT = 0xF,
    BF_MIDDLE = 0x800, BF_SOFT = 0x1000, BF_ADJUST = 0x2000, BF_FLAT = 0x4000, BF_MONO = 0x8000,
};
// Draws the edge lines of Rect; with BF_ADJUST, Rect is shrunk to the area inside.
BOOL DrawEdge(HDC DC, TRect& Rect, UINT Edge, UINT Flags);

// Text.
enum : UINT {
    DT_TOP = 0x0, DT_LEFT = 0x0, DT_CENTER = 0x1, DT_RIGHT = 0x2, DT_VCENTER = 0x4, DT_BOTTOM = 0x8,
    DT_WORDBREAK = 0x10, DT_SINGLELINE = 0x20, DT_EXPANDTABS = 0x40, DT_TABSTOP = 0x80,
    DT_NOCLIP = 0x100, DT_EXTERNALLEADING = 0x200, DT_CALCRECT = 0x400, DT_NOPREFIX = 0x800,
    DT_INTERNAL = 0x1000, DT_EDITCONTROL = 0x2000, DT_PATH_ELLIPSIS = 0x4000, DT_END_ELLIPSIS = 0x8000,
    DT_MODIFYSTRING = 0x10000, DT_RTLREADING = 0x20000, DT_WORD_ELLIPSIS = 0x40000,
    DT_NOFULLWIDTHCHARBREAK = 0x80000, DT_HIDEPREFIX = 0x100000, DT_PREFIXONLY = 0x200000,
};
enum : UINT { ETO_OPAQUE = 0x2, ETO_CLIPPED = 0x4 };

struct TEXTMETRIC {
    int tmHeight = 0;
    int tmAscent = 0;
    int tmDescent = 0;
    int tmInternalLeading = 0;
    int tmExternalLeading = 0;
    int tmAveCharWidth = 0;
    int tmMaxCharWidth = 0;
    int tmWeight = 400;
    uint8_t tmItalic = 0;
    uint8_t tmUnderlined = 0;
    uint8_t tmStruckOut = 0;
    uint8_t tmPitchAndFamily = 0;
    uint8_t tmCharSet = 1;
};
struct TSize {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const TSize&, const TSize&) = default;
};

// Draws Text (QString: the units' texts are Unicode here) in Rect with DT_ flags and
// returns the height of the text; DT_CALCRECT measures only and sets Rect's right and
// bottom. Count -1 takes the whole text.
int DrawText(HDC DC, const QString& Text, int Count, TRect& Rect, UINT Format);
inline int DrawTextA(HDC DC, const QString& Text, int Count, TRect& Rect, UINT Format)
{
    return DrawText(DC, Text, Count, Rect, Format);
}
BOOL TextOut(HDC DC, int X, int Y, const QString& Text, int Count = -1);
BOOL ExtTextOut(HDC DC, int X, int Y, UINT Options, const TRect* Rect, const QString& Text, int Count = -1);
BOOL GetTextExtentPoint32(HDC DC, const QString& Text, int Count, TSize& Size);
BOOL GetTextMetrics(HDC DC, TEXTMETRIC& Metrics);
// The metrics of a font as the platform reports them (character set 1).
TEXTMETRIC TextMetricsOf(const QFont& Font);

// The 32-bit pixel value a colour takes on a surface: system colours resolved, flags
// dropped; black or white on a monochrome surface.
uint32_t SurfacePixel(TColor Color, bool Monochrome);

} // namespace vcl
