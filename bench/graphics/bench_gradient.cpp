// TqvBackGradient rendering a 1920x1080 control in each of its eight styles, against
// QPainter filling an image of the same size with a linear, radial and conical
// gradient; the ratios of processor time printed at the end (each style against the
// peer of its shape). Two paints of ours are timed: one after a property changed (what
// a new gradient costs on screen) and one with nothing changed (a line style fills the
// control again, the others copy their cached bitmap), the latter also against QPainter
// drawing a cached image of the same size.
// Processor time is that of the whole process: QPainter spreads large gradient fills
// over worker threads, whose time the benchmark thread's clock would leave out.
#include "gradient/qvbgrad.h"
#include "ratioreporter.h"

#include <QImage>
#include <QPainter>

namespace {

constexpr int Width = 1920;
constexpr int Height = 1080;

// Paints a full-size control of the style in the benchmark's argument, once per
// iteration; Change, when set, changes a colour before each paint so that the gradient
// is new each time.
void PaintControl(benchmark::State& state, bool Change)
{
    Qvbgrad::TqvBackGradient g(nullptr);
    g.SetBounds(0, 0, Width, Height);
    g.SetGradientStyle(static_cast<Qvbgrad::TGradientStyle>(state.range(0)));
    g.Repaint();
    bool flip = false;
    for (auto _ : state) {
        flip = !flip;
        if (Change)
            g.SetEndColor(flip ? vcl::clYellow : vcl::clAqua);
        g.Repaint();
        benchmark::DoNotOptimize(g.BackBuffer().constBits());
    }
}

void BM_BackGradient(benchmark::State& state) { PaintControl(state, true); }
void BM_BackGradientRepaint(benchmark::State& state) { PaintControl(state, false); }
BENCHMARK(BM_BackGradient)
    ->DenseRange(Qvbgrad::qvHorizontal, Qvbgrad::qvRadial2)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();
BENCHMARK(BM_BackGradientRepaint)
    ->DenseRange(Qvbgrad::qvHorizontal, Qvbgrad::qvRadial2)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();

template <class Gradient>
void Fill(benchmark::State& state, Gradient gradient)
{
    QImage image(Width, Height, QImage::Format_RGB32);
    gradient.setColorAt(0, QColor(0, 0, 128));
    gradient.setColorAt(1, QColor(0, 255, 255));
    for (auto _ : state) {
        QPainter painter(&image);
        painter.fillRect(image.rect(), gradient);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_QPainterLinear(benchmark::State& state) { Fill(state, QLinearGradient(0, 0, 0, Height)); }
void BM_QPainterRadial(benchmark::State& state) { Fill(state, QRadialGradient(Width / 2.0, Height / 2.0, Width / 2.0)); }
void BM_QPainterConical(benchmark::State& state) { Fill(state, QConicalGradient(Width / 2.0, Height / 2.0, 90)); }
BENCHMARK(BM_QPainterLinear)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_QPainterRadial)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_QPainterConical)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

// A cached picture drawn again: a 32-bit image onto a premultiplied one, as a control's
// back buffer is.
void BM_QPainterDrawImage(benchmark::State& state)
{
    QImage picture(Width, Height, QImage::Format_RGB32);
    picture.fill(QColor(0, 0, 128));
    QImage target(Width, Height, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&target);
        painter.drawImage(0, 0, picture);
        painter.end();
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_QPainterDrawImage)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

} // namespace

int main(int argc, char** argv)
{
    // Bands and centre bands against the linear gradient, ellipses and rectangles
    // against the radial one, the angular sweeps against the conical one.
    const char* peers[] = {"BM_QPainterLinear", "BM_QPainterLinear", "BM_QPainterRadial", "BM_QPainterRadial",
        "BM_QPainterLinear", "BM_QPainterLinear", "BM_QPainterConical", "BM_QPainterConical"};
    std::vector<std::pair<std::string, std::string>> pairs;
    for (int style = 0; style < 8; ++style)
        pairs.emplace_back("BM_BackGradient/" + std::to_string(style), peers[style]);
    // Repaints against the gradient fill of the same shape, and against a cached image.
    for (int style = 0; style < 8; ++style)
        pairs.emplace_back("BM_BackGradientRepaint/" + std::to_string(style), peers[style]);
    for (int style = 0; style < 8; ++style)
        pairs.emplace_back("BM_BackGradientRepaint/" + std::to_string(style), "BM_QPainterDrawImage");
    return RunBenchmarksWithRatios(argc, argv, pairs);
}
