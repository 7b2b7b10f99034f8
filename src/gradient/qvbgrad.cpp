#include "gradient/qvbgrad.h"

#include "vcl/core/sysutils.h"
#include "vcl/core/unitstartup.h"
#include "vcl/graphics/bitmap.h"
#include "vcl/graphics/canvas.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace Qvbgrad {

// The unit needs nothing set up or torn down.
static const vcl::TUnitRegistration UnitRegistration(QStringLiteral("Qvbgrad"), {});

using namespace vcl;

namespace {

// Every band of the elliptic style: 156 ellipses shrinking towards the centre.
constexpr int EllipticLastBand = 155;

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

// Count pixels from Line on in one colour: a few stored one by one, then the filled part
// copied onto what follows, doubling each time, since copies of memory run wider than
// a loop of single stores.
void FillPixels(uint32_t* Line, int64_t Count, uint32_t Pixel)
{
    int64_t done = std::min<int64_t>(Count, 16);
    std::fill_n(Line, done, Pixel);
    while (done < Count) {
        const int64_t more = std::min(done, Count - done);
        std::memcpy(Line + done, Line, size_t(more) * sizeof(uint32_t));
        done += more;
    }
}

// The part Area of Image painted line by line, each row (or, with Columns, each column)
// in its colour from LinePixels.
void PaintLines(QImage& Image, const QRect& Area, const std::vector<uint32_t>& LinePixels, bool Columns)
{
    for (int y = Area.top(); y <= Area.bottom(); ++y) {
        uint32_t* line = reinterpret_cast<uint32_t*>(Image.scanLine(y)) + Area.left();
        if (Columns)
            std::copy_n(LinePixels.begin() + Area.left(), Area.width(), line);
        else
            FillPixels(line, Area.width(), LinePixels[size_t(y)]);
    }
}

// The ellipses of the elliptic style. Band i of 0 .. EllipticLastBand is the ellipse
// centred on ((w + 3) / 2, (h + 3) / 2) with half-axes A0 - (i + 1) * dA and
// B0 - (i + 1) * dB, where A0 = 3w/4 + 3/2, dA = (3w/4) / EllipticLastBand (and
// likewise down the height), shrinking from beyond the corners to the middle. A pixel
// belongs to an ellipse when its centre (x + 1/2, y + 1/2) lies inside or on it,
// X^2 * B^2 + Y^2 * A^2 <= A^2 * B^2 in doubles relative to the centre, and takes the
// last band whose ellipse holds it; pixels outside every ellipse (only on tiny
// controls) take band 0. (Drawing 156 filled ellipses one over another followed Qt's
// aliased fill of Bezier-flattened outlines, which is neither symmetric about the box
// nor cheap to reproduce; this rule gives the same picture by arithmetic, in time
// proportional to the pixels.)
class EllipseBands {
public:
    EllipseBands(int W, int H)
        : FW(W)
        , FH(H)
    {
        const double dA = (W / 2.0 + W / 4.0) / EllipticLastBand, dB = (H / 2.0 + H / 4.0) / EllipticLastBand;
        for (int i = 0; i <= EllipticLastBand; ++i) {
            const double a = 0.75 * W + 1.5 - (i + 1) * dA, b = 0.75 * H + 1.5 - (i + 1) * dB;
            FAA[size_t(i)] = a * a;
            FBB[size_t(i)] = b * b;
        }
    }

    // Whether pixel x of a row whose centre is Y below the middle lies in ellipse i.
    bool Inside(int i, int x, double Y) const
    {
        const double X = x + 0.5 - (FW + 3) / 2.0;
        return X * X * FBB[size_t(i)] + Y * Y * FAA[size_t(i)] <= FAA[size_t(i)] * FBB[size_t(i)];
    }

    // Paints row y of Line in Colors (one per band): each ellipse's run on the row is
    // symmetric about the same centre, so any two runs nest and the bands can be laid
    // from the innermost run outwards, each filling what the ones inside left open,
    // until the row is full.
    void Row(int y, uint32_t* Line, const std::array<uint32_t, EllipticLastBand + 1>& Colors) const
    {
        const double Y = y + 0.5 - (FH + 3) / 2.0;
        const int mid = (FW + 2) / 2; // the column nearest the centre, left of it on a tie
        int lo = mid + 1, hi = mid; // columns lo .. hi - 1 already have their band
        for (int i = EllipticLastBand; i >= 0 && (lo > 0 || hi < FW); --i) {
            const int left = LeftEdge(i, Y, mid);
            if (left > mid)
                continue;
            const int right = FW + 2 - left; // the mirror of the left edge
            Fill(Line, left, lo, Colors[size_t(i)]);
            Fill(Line, hi, right + 1, Colors[size_t(i)]);
            lo = std::min(lo, left);
            hi = std::max(hi, right + 1);
        }
        Fill(Line, 0, lo, Colors[0]);
        Fill(Line, hi, FW, Colors[0]);
    }

    // The row whose pixels equal row y's (the mirror image about the centre row, whose
    // distance from the centre is the same), or y itself.
    int MirrorRow(int y) const { return FH + 2 - y; }

private:
    // The leftmost column of ellipse i on the row, found from the square root and
    // settled by Inside itself; mid + 1 when the row misses the ellipse.
    int LeftEdge(int i, double Y, int Mid) const
    {
        const double rest = 1.0 - Y * Y / FBB[size_t(i)];
        if (rest < 0 && !Inside(i, Mid, Y))
            return Mid + 1;
        const double half = std::sqrt(FAA[size_t(i)] * std::max(rest, 0.0));
        int x = std::clamp(static_cast<int>(std::ceil((FW + 3) / 2.0 - 0.5 - half)), Mid - FW - 2, Mid);
        while (x <= Mid && !Inside(i, x, Y))
            ++x;
        while (x > Mid - FW - 2 && Inside(i, x - 1, Y))
            --x;
        return x;
    }

    // Columns From .. To - 1 of Line, clipped to the row, in Color.
    void Fill(uint32_t* Line, int From, int To, uint32_t Color) const
    {
        From = std::max(From, 0);
        To = std::min(To, FW);
        if (From < To)
            FillPixels(Line + From, To - From, Color);
    }

    int FW, FH;
    std::array<double, EllipticLastBand + 1> FAA {}, FBB {};
};

// The wedges of the conical styles. Ray k (k whole degrees, 0 straight up, growing
// clockwise) leaves the centre (w / 2, h / 2) towards (sin k, -cos k); the ray
// opposite k is exactly its negation, so the rays split the plane without gaps. A
// pixel centre P lies in sector k when it is on or clockwise of ray k and
// anticlockwise of ray k + 1 (signs of cross products in doubles). Wedge s of 360
// covers the two sectors from StartAngle + s; the later wedge wins, and the last one
// also covers the first sector.
class ConeSectors {
public:
    explicit ConeSectors(int StartAngle)
        : FStart(((StartAngle % 360) + 360) % 360)
    {
        for (int k = 0; k < 180; ++k) {
            const double radians = k * M_PI / 180.0;
            FRayX[size_t(k)] = std::sin(radians);
            FRayY[size_t(k)] = -std::cos(radians);
            FRayX[size_t(k + 180)] = -FRayX[size_t(k)];
            FRayY[size_t(k + 180)] = -FRayY[size_t(k)];
        }
    }

    // Whether (X, Y) lies in the sector between rays k and k + 1.
    bool InSector(int k, double X, double Y) const
    {
        return Clockwise(k, X, Y) >= 0 && Clockwise((k + 1) % 360, X, Y) < 0;
    }

    // The wedge (0 .. 359) that colours the pixel at (X, Y) from the centre, given the
    // sector it lies in.
    int Wedge(int Sector) const
    {
        const int s = (Sector - FStart + 360) % 360;
        return s == 0 ? 359 : s;
    }

    // Paints Width pixels of Line in Colors (one per wedge) for the row Y below the
    // centre, X running from X0 in steps of one. Along a row the angle turns one way
    // only: a run of pixels stays in one sector, tested with that sector's two rays,
    // and the next sector is found by stepping on from the last.
    void Row(double X0, double Y, uint32_t* Line, int Width, const std::array<uint32_t, 360>& Colors) const
    {
        const int dir = Y < 0 ? 1 : 359;
        const double angle = std::atan2(X0, -Y) * 180.0 / M_PI;
        int k = (static_cast<int>(std::floor(angle)) % 360 + 360) % 360;
        for (int x = 0; x < Width;) {
            for (int turns = 0; turns < 360 && !InSector(k, X0 + double(x), Y); ++turns)
                k = (k + dir) % 360;
            const int next = (k + 1) % 360;
            const double fromY = FRayX[size_t(k)] * Y, fromX = FRayY[size_t(k)];
            const double toY = FRayX[size_t(next)] * Y, toX = FRayY[size_t(next)];
            int end = x + 1;
            while (end < Width && fromY - fromX * (X0 + double(end)) >= 0 && toY - toX * (X0 + double(end)) < 0)
                ++end;
            std::fill(Line + x, Line + end, Colors[size_t(Wedge(k))]);
            x = end;
        }
    }

private:
    // Positive when (X, Y) is clockwise of ray k (y grows downwards), negative when
    // anticlockwise.
    double Clockwise(int k, double X, double Y) const { return FRayX[size_t(k)] * Y - FRayY[size_t(k)] * X; }

    int FStart;
    std::array<double, 360> FRayX {}, FRayY {};
};

} // namespace

TqvBackGradient::TqvBackGradient(TComponent* AOwner)
    : TGraphicControl(AOwner)
    , FBitmap(std::make_unique<TBitmap>())
{
    SetControlStyle(ControlStyle() | csOpaque | csNoStdEvents);
    SetBounds(Left(), Top(), DefaultSize, DefaultSize);
}

TqvBackGradient::~TqvBackGradient() = default;

template <class T>
void TqvBackGradient::Change(T& Field, T Value)
{
    if (ChangeProperty(Field, Value))
        FBitmapStale = true;
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
    if (FBitmap->Width() != Width() || FBitmap->Height() != Height())
        FBitmapStale = true;
    if (FBitmapStale && PaintLinesOnCanvas())
        return;
    Canvas()->Draw(0, 0, Bitmap());
}

TBitmap* TqvBackGradient::Bitmap() const
{
    if (FBitmap->Width() != Width() || FBitmap->Height() != Height())
        FBitmapStale = true;
    if (!FBitmapStale)
        return FBitmap.get();
    FBitmap->SetSize(Width(), Height());
    if (Width() > 0 && Height() > 0) {
        Render();
        if (FCtl3D)
            Draw3DFrame();
    }
    FBitmapStale = false;
    return FBitmap.get();
}

bool TqvBackGradient::IsLineStyle() const
{
    return FGradientStyle == qvHorizontal || FGradientStyle == qvVertical || FGradientStyle == qvVertCenter
        || FGradientStyle == qvHorizCenter;
}

bool TqvBackGradient::LinesAreColumns() const
{
    return FGradientStyle == qvHorizontal || FGradientStyle == qvHorizCenter;
}

bool TqvBackGradient::PaintLinesOnCanvas()
{
    // A line style costs no more to fill than its bitmap costs to copy, so it is filled
    // straight onto the canvas, giving the pixels the copy would: the same colours,
    // within the same clip, where the canvas copies plainly onto colour pixels. The
    // frame is left to the bitmap, drawn with that bitmap's own pen.
    TCanvas* canvas = Canvas();
    QImage* surface = canvas->Surface();
    if (!IsLineStyle() || FCtl3D || !surface || canvas->Handle()->Monochrome() || canvas->CopyMode() != cmSrcCopy)
        return false;
    const std::vector<uint32_t> pixels = LinePixels();
    canvas->Changing();
    for (const QRect& area : canvas->ClipRegion().intersected(QRect(0, 0, Width(), Height())))
        PaintLines(*surface, area, pixels, LinesAreColumns());
    canvas->Changed();
    return true;
}

void TqvBackGradient::Render() const
{
    if (IsLineStyle()) {
        QImage& image = FBitmap->Handle()->Image;
        PaintLines(image, image.rect(), LinePixels(), LinesAreColumns());
        return;
    }
    switch (FGradientStyle) {
    case qvElliptic: RenderElliptic(); break;
    case qvRectangle: RenderRectangle(); break;
    case qvRadial1: RenderRadial(180); break;
    case qvRadial2: RenderRadial(90); break;
    default: break;
    }
}

std::vector<uint32_t> TqvBackGradient::LinePixels() const
{
    const int extent = LinesAreColumns() ? Width() : Height();
    std::vector<uint32_t> pixels(static_cast<size_t>(std::max(extent, 0)));
    const bool banded = FGradientStyle == qvHorizontal || FGradientStyle == qvVertical;
    // Steps below 1 would divide by zero in the banded styles; the gradient then has
    // a single band in the begin colour (an implementer's choice).
    if (banded && FSteps < 1) {
        std::fill(pixels.begin(), pixels.end(), RgbToQRgb(BandColor(0, 0)));
        return pixels;
    }
    const int64_t bands = int64_t(FSteps) + 1;
    const int half = extent / 2;
    for (int x = 0; x < extent; ++x) {
        // Centre styles: band i fills line i, then its mirror extent - i - 1, so both
        // edges take the begin colour; a line reached by two bands keeps the later one.
        const int mirrored = extent - x - 1;
        const int centreBand = std::max(x <= half ? x : 0, mirrored <= half ? mirrored : 0);
        pixels[size_t(x)] = RgbToQRgb(banded ? BandColor(int(BandOfLine(x, extent, bands)), FSteps) : BandColor(centreBand, half));
    }
    return pixels;
}

void TqvBackGradient::RenderElliptic() const
{
    const EllipseBands ellipses(Width(), Height());
    std::array<uint32_t, EllipticLastBand + 1> colours {};
    for (int i = 0; i <= EllipticLastBand; ++i)
        colours[size_t(i)] = RgbToQRgb(BandColor(i, EllipticLastBand));
    for (int y = 0; y < Height(); ++y) {
        const int mirror = ellipses.MirrorRow(y);
        if (mirror < y)
            std::copy_n(FBitmap->ScanLine(mirror), Width(), FBitmap->ScanLine(y));
        else
            ellipses.Row(y, FBitmap->ScanLine(y), colours);
    }
}

void TqvBackGradient::RenderRectangle() const
{
    // As in the banded line styles, Steps below 1 gives a single band in the begin colour.
    if (FSteps < 1) {
        TCanvas* canvas = FBitmap->Canvas();
        canvas->Brush()->SetColor(BandColor(0, 0));
        canvas->FillRect(Rect(0, 0, Width(), Height()));
        return;
    }
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

void TqvBackGradient::RenderRadial(int Sweep) const
{
    const ConeSectors cone(FStartAngle);
    // Each Sweep degrees the colour runs from begin to end, then back over the next.
    std::array<uint32_t, 360> colours {};
    for (int step = 0; step < 360; ++step) {
        const int phase = step % (2 * Sweep);
        colours[size_t(step)] = RgbToQRgb(BandColor(phase < Sweep ? phase : 2 * Sweep - 1 - phase, Sweep));
    }
    const int cx = Width() / 2, cy = Height() / 2;
    for (int y = 0; y < Height(); ++y)
        cone.Row(0.5 - cx, y + 0.5 - cy, FBitmap->ScanLine(y), Width(), colours);
}

void TqvBackGradient::Draw3DFrame() const
{
    TCanvas* canvas = FBitmap->Canvas();
    TRect r = Rect(0, 0, Width(), Height());
    Frame3D(canvas, r, clGray, clWhite, 2);
    r = Rect(r.Left - 1, r.Top - 1, r.Right + 1, r.Bottom + 1);
    Frame3D(canvas, r, clBlack, clSilver, 1);
}

} // namespace Qvbgrad
