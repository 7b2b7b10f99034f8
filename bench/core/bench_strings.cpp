// TStringList and Format side by side with QStringList and QString::asprintf.
#include "vcl/core/strings.h"
#include "vcl/core/sysutils.h"

#include <QStringList>
#include <algorithm>
#include <benchmark/benchmark.h>

namespace {

constexpr int ItemCount = 20000;

// The same pseudo-random words for every run.
const QStringList& Words()
{
    static const QStringList words = [] {
        QStringList list;
        uint32_t seed = 12345;
        for (int i = 0; i < ItemCount; ++i) {
            seed = seed * 1664525u + 1013904223u;
            list << QStringLiteral("item%1").arg(seed % 1000000);
        }
        return list;
    }();
    return words;
}

void SortedStringListAdd(benchmark::State& state)
{
    for (auto _ : state) {
        vcl::TStringList list;
        list.SetSorted(true);
        list.SetDuplicates(vcl::dupAccept);
        for (const QString& w : Words())
            list.Add(w);
        benchmark::DoNotOptimize(list.Count());
    }
}
BENCHMARK(SortedStringListAdd)->Unit(benchmark::kMillisecond);

void QStringListSortedInsert(benchmark::State& state)
{
    auto less = [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; };
    for (auto _ : state) {
        QStringList list;
        for (const QString& w : Words())
            list.insert(std::upper_bound(list.begin(), list.end(), w, less), w);
        benchmark::DoNotOptimize(list.size());
    }
}
BENCHMARK(QStringListSortedInsert)->Unit(benchmark::kMillisecond);

void StringListSort(benchmark::State& state)
{
    for (auto _ : state) {
        vcl::TStringList list;
        list.SetQStringList(Words());
        list.Sort();
        benchmark::DoNotOptimize(list.Count());
    }
}
BENCHMARK(StringListSort)->Unit(benchmark::kMillisecond);

void QStringListSort(benchmark::State& state)
{
    for (auto _ : state) {
        QStringList list = Words();
        list.sort(Qt::CaseInsensitive);
        benchmark::DoNotOptimize(list.size());
    }
}
BENCHMARK(QStringListSort)->Unit(benchmark::kMillisecond);

void FormatMixed(benchmark::State& state)
{
    int i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(vcl::Format("%5d %s %.2f", {++i, "name", i * 0.25}));
}
BENCHMARK(FormatMixed);

void AsprintfMixed(benchmark::State& state)
{
    int i = 0;
    for (auto _ : state) {
        ++i;
        benchmark::DoNotOptimize(QString::asprintf("%5d %s %.2f", i, "name", i * 0.25));
    }
}
BENCHMARK(AsprintfMixed);

} // namespace

BENCHMARK_MAIN();
