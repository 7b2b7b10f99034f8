// Transparent stretching and rotation of a 256x256 bitmap: the pixel-rule
// implementations against plain QPainter drawing of the same size, the ratios of
// processor time printed at the end.
#include "frame/qvsedit.h"
#include "frame/qvutils.h"
#include "ratioreporter.h"

#include <QPainter>
#include <benchmark/benchmark.h>

using namespace vcl;

namespace {

constexpr int Side = 256;

// A test picture: colour bands with a transparent (lime) diagonal stripe pattern.
std::unique_ptr<TBitmap> MakeSource()
{
    auto bmp = std::make_unique<TBitmap>();
    bmp->SetPixelFormat(pf24bit);
    bmp->SetSize(Side, Side);
    for (int y = 0; y < Side; ++y) {
        uint32_t* line = bmp->ScanLine(y);
        for (int x = 0; x < Side; ++x)
            line[x] = ((x + y) / 16) % 3 == 0 ? 0xFF00FF00u : 0xFF000000u | uint32_t(x << 16 | y << 8 | (x ^ y));
    }
    return bmp;
}

std::unique_ptr<TBitmap> MakeDest()
{
    auto bmp = std::make_unique<TBitmap>();
    bmp->SetPixelFormat(pf24bit);
    bmp->SetSize(Side, Side);
    return bmp;
}

// The peer's input: the same picture with the lime pixels made transparent.
QImage MaskedImage(TBitmap& Source)
{
    QImage image = Source.ToQImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < Side; ++y) {
        auto* line = reinterpret_cast<uint32_t*>(image.scanLine(y));
        for (int x = 0; x < Side; ++x)
            if (line[x] == 0xFF00FF00u)
                line[x] = 0;
    }
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

void BM_StretchBltTransparent(benchmark::State& state)
{
    auto source = MakeSource();
    auto dest = MakeDest();
    for (auto _ : state) {
        Qvutils::StretchBltTransparent(dest->Canvas()->Handle(), 0, 0, Side, Side, source->Canvas()->Handle(), 0, 0, Side,
            Side, nullptr, clLime);
        benchmark::DoNotOptimize(dest->ScanLine(0));
    }
}
BENCHMARK(BM_StretchBltTransparent)->Unit(benchmark::kMicrosecond)->MinTime(0.5);

void BM_TransparentBlt(benchmark::State& state)
{
    auto source = MakeSource();
    auto dest = MakeDest();
    for (auto _ : state) {
        Qvsedit::TransparentBlt(dest->Canvas(), source.get(), 0, 0, clLime);
        benchmark::DoNotOptimize(dest->ScanLine(0));
    }
}
BENCHMARK(BM_TransparentBlt)->Unit(benchmark::kMicrosecond)->MinTime(0.5);

void BM_QPainterTransparentDraw(benchmark::State& state)
{
    auto source = MakeSource();
    const QImage masked = MaskedImage(*source);
    QImage dest(Side, Side, QImage::Format_RGB32);
    dest.fill(Qt::white);
    for (auto _ : state) {
        QPainter painter(&dest);
        painter.drawImage(QRect(0, 0, Side, Side), masked);
        painter.end();
        benchmark::DoNotOptimize(dest.constBits());
    }
}
BENCHMARK(BM_QPainterTransparentDraw)->Unit(benchmark::kMicrosecond)->MinTime(0.5);

void BM_BMPRotate(benchmark::State& state)
{
    auto source = MakeSource();
    auto dest = MakeDest();
    for (auto _ : state) {
        Qvsedit::BMPRotate(source.get(), dest.get(), 30);
        benchmark::DoNotOptimize(dest->ScanLine(0));
    }
}
BENCHMARK(BM_BMPRotate)->Unit(benchmark::kMicrosecond)->MinTime(0.5);

void BM_QPainterRotate(benchmark::State& state)
{
    auto source = MakeSource();
    const QImage image = source->ToQImage();
    QImage dest(Side, Side, QImage::Format_RGB32);
    dest.fill(Qt::white);
    for (auto _ : state) {
        QPainter painter(&dest);
        painter.translate(Side / 2.0, Side / 2.0);
        painter.rotate(-30);
        painter.translate(-Side / 2.0, -Side / 2.0);
        painter.drawImage(0, 0, image);
        painter.end();
        benchmark::DoNotOptimize(dest.constBits());
    }
}
BENCHMARK(BM_QPainterRotate)->Unit(benchmark::kMicrosecond)->MinTime(0.5);

} // namespace

int main(int argc, char** argv)
{
    return RunBenchmarksWithRatios(argc, argv,
        {{"BM_StretchBltTransparent", "BM_QPainterTransparentDraw"}, {"BM_TransparentBlt", "BM_QPainterTransparentDraw"},
            {"BM_BMPRotate", "BM_QPainterRotate"}});
}
