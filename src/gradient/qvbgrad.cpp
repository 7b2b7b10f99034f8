#include "gradient/qvbgrad.h"

#include "vcl/core/sysutils.h"
#include "vcl/core/unitstartup.h"
#include "vcl/graphics/bitmap.h"
#include "vcl/graphics/canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace Qvbgrad {

// The unit needs nothing set up or torn down.
static const vcl::TUnitRegistration UnitRegistration(QStringLiteral("Qvbgrad"), {});

using namespace vcl;

namespace {

// Every band of the elliptic style: 156 ellipses shrinking towards the centre.
constexpr int EllipticLastBand = 155;
// How much farther out than the radius the ends of a conical wedge are taken.
constexpr int WedgeScale = 16;

// Which bands of the rectangle style cover one column (or row): bands 0 .. Last,
// whose rectangles are upright, and First .. Steps, whose rectangles have turned
// inside out once the edges crossed (a fill normalises an inverted rectangle from
// left to right into right + 1 .. left + 1). Last is -1 and First Steps + 1 when
// there are none.
struct BandCover {
    int64_t Last = -1;
    int64_t First = 0;
};

// The cover of every line along an axis of Extent pixels, the edges stepped inwards
// as floating-point sums one band after another as filling band by band does, so
// the pixels are those of such a fill. Time grows with Steps plus Extent.
std::vector<BandCover> SteppedCover(int Extent, int64_t Steps)
{
    std::vector<BandCover> cover(static_cast<size_t>(Extent), BandCover{Steps, Steps + 1});
    const double step = (Extent / 2.0) / double(Steps);
    double nearEdge = 0, farEdge = Extent + 2;
    int uprightLo = 0, uprightHi = Extent; // the lines inside the previous upright band
    int invertedLo = 0, invertedHi = 0; // the lines inside the previous inverted band
    auto clip = [Extent](int v) { return std::clamp(v, 0, Extent); };
    for (int64_t i = 0; i <= Steps; ++i) {
        nearEdge += step;
        farEdge -= step;
        const int a = static_cast<int>(nearEdge), b = static_cast<int>(farEdge);
        // Upright bands only shrink: the lines they leave were last covered by band i - 1.
        const int lo = a < b ? clip(a) : uprightHi;
        const int hi = a < b ? std::max(clip(b), lo) : uprightHi;
        for (int x = uprightLo; x < std::min(lo, uprightHi); ++x)
            cover[size_t(x)].Last = i - 1;
        for (int x = std::max(hi, uprightLo); x < uprightHi; ++x)
            cover[size_t(x)].Last = i - 1;
        uprightLo = lo;
        uprightHi = hi;
        // Inverted bands only grow: the lines they reach are first covered by band i.
        if (b < a) {
            const int from = clip(b + 1), to = clip(a + 1);
            if (invertedLo == invertedHi)
                invertedLo = invertedHi = to;
            for (int x = from; x < invertedLo; ++x)
                cover[size_t(x)].First = i;
            for (int x = invertedHi; x < to; ++x)
                cover[size_t(x)].First = i;
            invertedLo = from;
            invertedHi = to;
        }
    }
    return cover;
}

// The first i in 0 .. Last for which Holds(i), where Holds is false and then true;
// Last + 1 when it never holds.
template <class Predicate>
int64_t FirstWhere(int64_t Last, Predicate Holds)
{
    int64_t lo = 0, hi = Last + 1;
    while (lo < hi) {
        const int64_t mid = lo + (hi - lo) / 2;
        if (Holds(mid))
            hi = mid;
        else
            lo = mid + 1;
    }
    return lo;
}

// The same cover with each band's edges computed exactly instead of summed, for
// more bands than the control has pixels, where stepping through them would take
// longer than the pixels do: band i's near edge is floor((i + 1) * Extent / (2 * Steps)),
// its far edge Extent + 2 less that fraction, rounded down. Time grows with
// Extent * log(Steps). (The products stay below 2^62: a bitmap has fewer than 2^29
// pixels on a side.)
std::vector<BandCover> ExactCover(int Extent, int64_t Steps)
{
    const int64_t den = 2 * Steps;
    auto nearEdge = [&](int64_t i) { return (i + 1) * Extent / den; };
    auto farEdge = [&](int64_t i) { return ((Extent + 2) * den - (i + 1) * Extent) / den; };
    std::vector<BandCover> cover(static_cast<size_t>(Extent));
    for (int x = 0; x < Extent; ++x) {
        auto outsideUpright = [&](int64_t i) { return nearEdge(i) > x || x >= farEdge(i); };
        auto insideInverted = [&](int64_t i) { return farEdge(i) + 1 <= x && x < nearEdge(i) + 1; };
        cover[size_t(x)] = BandCover{FirstWhere(Steps, outsideUpright) - 1, FirstWhere(Steps, insideInverted)};
    }
    return cover;
}

// The last band of the rectangle style covering the pixel at the crossing of a column
// and a row: the highest band in both covers, -1 for none.
int64_t CoveringBand(const BandCover& Column, const BandCover& Row, int64_t Steps)
{
    if (Column.First <= Steps && Row.First <= Steps)
        return Steps;
    int64_t band = std::min(Column.Last, Row.Last);
    if (Column.First <= Row.Last)
        band = std::max(band, Row.Last);
    if (Row.First <= Column.Last)
        band = std::max(band, Column.Last);
    return band;
}

// Line x of Extent in the bands of qvHorizontal and qvVertical: band i of Bands
// covers Muldv(i, Extent, Bands) .. Muldv(i + 1, Extent, Bands), so x lies in the last
// band starting at or before it, ceil((x + 1) * Bands / Extent) - 1.
int64_t BandOfLine(int x, int Extent, int64_t Bands)
{
    return ((x + 1) * Bands - 1) / Extent;
}

// Each row of the bitmap in one colour.
void PaintRows(TBitmap& Bitmap, const std::vector<uint32_t>& RowPixels)
{
    for (int y = 0; y < Bitmap.Height(); ++y)
        std::fill_n(Bitmap.ScanLine(y), Bitmap.Width(), RowPixels[size_t(y)]);
}

// Each column of the bitmap in one colour.
void PaintColumns(TBitmap& Bitmap, const std::vector<uint32_t>& ColumnPixels)
{
    for (int y = 0; y < Bitmap.Height(); ++y)
        std::copy(ColumnPixels.begin(), ColumnPixels.end(), Bitmap.ScanLine(y));
}

// The point at Angle degrees on the circle of radius R around (Cx, Cy): 0 is straight
// up and angles grow clockwise; coordinates round half to even.
TPoint AnglePoint(int Cx, int Cy, int R, int Angle)
{
    const double radians = Angle * M_PI / 180.0;
    return Point(Cx + static_cast<int>(std::nearbyint(R * std::sin(radians))),
        Cy - static_cast<int>(std::nearbyint(R * std::cos(radians))));
}

} // namespace

TqvBackGradient::TqvBackGradient(TComponent* AOwner)
    : TGraphicControl(AOwner)
    , FBitmap(std::make_unique<TBitmap>())
{
    SetControlStyle(ControlStyle() | csOpaque | csNoStdEvents);
    SetBounds(Left(), Top(), DefaultSize, DefaultSize);
    // No outlines on the ellipses and pies.
    FBitmap->Canvas()->Pen()->SetStyle(psClear);
    FBitmap->Canvas()->SetCopyMode(cmSrcCopy);
}

TqvBackGradient::~TqvBackGradient() = default;

template <class T>
void TqvBackGradient::Change(T& Field, T Value)
{
    if (ChangeProperty(Field, Value))
        FDirty = true;
}

void TqvBackGradient::SetBeginColor(TColor Value) { Change(FBeginColor, Value); }
void TqvBackGradient::SetEndColor(TColor Value) { Change(FEndColor, Value); }
void TqvBackGradient::SetGradientStyle(TGradientStyle Value) { Change(FGradientStyle, Value); }
void TqvBackGradient::SetSteps(int Value) { Change(FSteps, Value); }
void TqvBackGradient::SetCtl3D(bool Value) { Change(FCtl3D, Value); }
void TqvBackGradient::SetStartAngle(int Value) { Change(FStartAngle, Value); }

void TqvBackGradient::WMEraseBkgnd(TMessage& Message)
{
    Message.Result = 1;
}

TColor TqvBackGradient::BandColor(int k, int n) const
{
    // n is 0 only for a centre style on a control one pixel high (or wide): its single
    // band takes the begin colour instead of dividing by zero.
    auto channel = [&](int begin, int end) { return n == 0 ? begin : begin + Muldv(k, end - begin, n); };
    // Colours are used as stored: a system colour's low three bytes are taken as they are.
    return RGB(channel(GetRValue(FBeginColor), GetRValue(FEndColor)),
        channel(GetGValue(FBeginColor), GetGValue(FEndColor)), channel(GetBValue(FBeginColor), GetBValue(FEndColor)));
}

void TqvBackGradient::Paint()
{
    const int w = Width();
    const int h = Height();
    if (FBitmap->Width() == w && FBitmap->Height() == h && !FDirty) {
        Canvas()->Draw(0, 0, FBitmap.get());
        return;
    }
    FBitmap->SetSize(w, h);
    if (w > 0 && h > 0) {
        Render();
        if (FCtl3D)
            Draw3DFrame();
    }
    Canvas()->Draw(0, 0, FBitmap.get());
    FDirty = false;
}

void TqvBackGradient::Render()
{
    // Steps below 1 would divide by zero in the banded styles; the gradient then has
    // a single band in the begin colour (an implementer's choice).
    const bool usesSteps = FGradientStyle == qvHorizontal || FGradientStyle == qvVertical || FGradientStyle == qvRectangle;
    if (usesSteps && FSteps < 1) {
        TCanvas* canvas = FBitmap->Canvas();
        canvas->Brush()->SetColor(BandColor(0, 0));
        canvas->FillRect(Rect(0, 0, Width(), Height()));
        return;
    }
    switch (FGradientStyle) {
    case qvHorizontal: RenderBands(true); break;
    case qvVertical: RenderBands(false); break;
    case qvElliptic: RenderElliptic(); break;
    case qvRectangle: RenderRectangle(); break;
    case qvVertCenter: RenderCenter(false); break;
    case qvHorizCenter: RenderCenter(true); break;
    case qvRadial1: RenderRadial(180); break;
    case qvRadial2: RenderRadial(90); break;
    }
}

void TqvBackGradient::RenderBands(bool Columns)
{
    const int extent = Columns ? Width() : Height();
    const int64_t bands = int64_t(FSteps) + 1;
    std::vector<uint32_t> pixels(static_cast<size_t>(extent));
    for (int x = 0; x < extent; ++x)
        pixels[size_t(x)] = RgbToQRgb(BandColor(int(BandOfLine(x, extent, bands)), FSteps));
    if (Columns)
        PaintColumns(*FBitmap, pixels);
    else
        PaintRows(*FBitmap, pixels);
}

void TqvBackGradient::RenderElliptic()
{
    TCanvas* canvas = FBitmap->Canvas();
    const double w = Width();
    const double h = Height();
    double x1 = -w / 4, x2 = w + w / 4 + 4;
    double y1 = -h / 4, y2 = h + h / 4 + 4;
    const double dx = (w / 2 + w / 4) / EllipticLastBand;
    const double dy = (h / 2 + h / 4) / EllipticLastBand;
    for (int i = 0; i <= EllipticLastBand; ++i) {
        x1 += dx;
        x2 -= dx;
        y1 += dy;
        y2 -= dy;
        canvas->Brush()->SetColor(BandColor(i, EllipticLastBand));
        canvas->Ellipse(static_cast<int>(x1), static_cast<int>(y1), static_cast<int>(x2), static_cast<int>(y2));
    }
}

void TqvBackGradient::RenderRectangle()
{
    const int w = Width();
    const int h = Height();
    const int64_t s = FSteps;
    // Up to one band per pixel the edges are stepped as sums, band by band; beyond
    // that they are computed exactly, which keeps the time in proportion to the pixels.
    const bool stepped = s <= int64_t(w) * h;
    const std::vector<BandCover> columns = stepped ? SteppedCover(w, s) : ExactCover(w, s);
    const std::vector<BandCover> rows = stepped ? SteppedCover(h, s) : ExactCover(h, s);
    // A pixel takes the last band of its column, the last of its row, or the last band
    // of all; pixels no band covers take the begin colour, which is band 0's.
    auto lastBandPixels = [&](const std::vector<BandCover>& cover) {
        std::vector<uint32_t> pixels(cover.size());
        for (size_t x = 0; x < cover.size(); ++x)
            pixels[x] = RgbToQRgb(BandColor(int(std::max<int64_t>(cover[x].Last, 0)), FSteps));
        return pixels;
    };
    const std::vector<uint32_t> columnPixels = lastBandPixels(columns);
    const std::vector<uint32_t> rowPixels = lastBandPixels(rows);
    const uint32_t endPixel = RgbToQRgb(BandColor(FSteps, FSteps));
    for (int y = 0; y < h; ++y) {
        uint32_t* line = FBitmap->ScanLine(y);
        for (int x = 0; x < w; ++x) {
            const int64_t band = CoveringBand(columns[size_t(x)], rows[size_t(y)], s);
            line[x] = band == s ? endPixel : band == columns[size_t(x)].Last ? columnPixels[size_t(x)] : rowPixels[size_t(y)];
        }
    }
}

void TqvBackGradient::RenderCenter(bool Columns)
{
    const int extent = Columns ? Width() : Height();
    const int half = extent / 2;
    std::vector<uint32_t> pixels(static_cast<size_t>(extent));
    for (int x = 0; x < extent; ++x) {
        // Band i fills line i, then its mirror extent - i - 1, so both edges take the
        // begin colour; a line reached by two bands keeps the later one.
        const int mirrored = extent - x - 1;
        const int band = std::max(x <= half ? x : 0, mirrored <= half ? mirrored : 0);
        pixels[size_t(x)] = RgbToQRgb(BandColor(band, half));
    }
    if (Columns)
        PaintColumns(*FBitmap, pixels);
    else
        PaintRows(*FBitmap, pixels);
}

void TqvBackGradient::RenderRadial(int Sweep)
{
    TCanvas* canvas = FBitmap->Canvas();
    const int w = Width();
    const int h = Height();
    const int cx = w / 2;
    const int cy = h / 2;
    const int r = w > h ? w / 2 : h / 2;
    // The pie box is larger than the bitmap so the wedges cover its corners.
    const TRect box = Rect(-(w / 4), -(h / 4), w + w / 4, h + h / 4);
    for (int step = 0; step < 360; ++step) {
        const int a = FStartAngle + step;
        // Each Sweep degrees the colour runs from begin to end, then back over the next.
        const int phase = step % (2 * Sweep);
        const int k = phase < Sweep ? phase : 2 * Sweep - 1 - phase;
        canvas->Brush()->SetColor(BandColor(k, Sweep));
        // The wedge's ends are taken on a circle WedgeScale times the radius: only
        // their direction counts, and on the radius itself neighbouring ends round
        // to the same few pixels, leaving pixels no wedge covers (or, when both ends
        // of a wedge coincide, drawing a whole ellipse over everything).
        const TPoint from = AnglePoint(cx, cy, WedgeScale * r, a + 2);
        const TPoint to = AnglePoint(cx, cy, WedgeScale * r, a);
        canvas->Pie(box.Left, box.Top, box.Right, box.Bottom, from.X, from.Y, to.X, to.Y);
    }
}

void TqvBackGradient::Draw3DFrame()
{
    TCanvas* canvas = FBitmap->Canvas();
    canvas->Pen()->SetStyle(psSolid);
    TRect r = Rect(0, 0, Width(), Height());
    Frame3D(canvas, r, clGray, clWhite, 2);
    r = Rect(r.Left - 1, r.Top - 1, r.Right + 1, r.Bottom + 1);
    Frame3D(canvas, r, clBlack, clSilver, 1);
    canvas->Pen()->SetStyle(psClear);
}

} // namespace Qvbgrad
