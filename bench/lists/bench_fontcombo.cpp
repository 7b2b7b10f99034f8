// Filling the font combo box with every installed family, ours against QFontComboBox,
// on an offscreen display: a new box (which lists the fonts as it is made), and the
// same box listing them again.
#include "lists/qvfontcombo.h"

#include "../graphics/ratioreporter.h"

#include <QFontComboBox>

namespace {

void OursNew(benchmark::State& state)
{
    for (auto _ : state) {
        Qvfontcombo::TqvFontCombo combo(nullptr);
        benchmark::DoNotOptimize(combo.Items()->Count());
    }
}
BENCHMARK(OursNew)->Unit(benchmark::kMillisecond);

void QtNew(benchmark::State& state)
{
    for (auto _ : state) {
        QFontComboBox combo;
        benchmark::DoNotOptimize(combo.count());
    }
}
BENCHMARK(QtNew)->Unit(benchmark::kMillisecond);

void OursReload(benchmark::State& state)
{
    Qvfontcombo::TqvFontCombo combo(nullptr);
    for (auto _ : state) {
        combo.LoadFonts();
        benchmark::DoNotOptimize(combo.Items()->Count());
    }
    state.counters["families"] = combo.Items()->Count();
}
BENCHMARK(OursReload)->Unit(benchmark::kMillisecond);

// Changing the writing system makes the box list the families again.
void QtReload(benchmark::State& state)
{
    QFontComboBox combo;
    bool latin = false;
    for (auto _ : state) {
        latin = !latin;
        combo.setWritingSystem(latin ? QFontDatabase::Latin : QFontDatabase::Any);
        benchmark::DoNotOptimize(combo.count());
    }
    state.counters["families"] = combo.count();
}
BENCHMARK(QtReload)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return RunBenchmarksWithRatios(argc, argv, {{"OursNew", "QtNew"}, {"OursReload", "QtReload"}});
}
