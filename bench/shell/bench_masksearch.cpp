// FileMatches (and the mask list cut into tokens once, TMaskMatcher) against the C
// library's fnmatch(3): 100,000 generated file names tested against one mask list,
// all in one run, and the ratios of their times at the end.
#include "shell/masksearch.h"
#include "../graphics/ratioreporter.h"

#include <benchmark/benchmark.h>

#include <fnmatch.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int NameCount = 100000;
const char* const MaskText = "*.txt;*.DOC;*.cpp;readme*;?akefile;*.tar.gz;data??.csv";

struct Names {
    std::vector<QString> Text;
    std::vector<std::string> Utf8;
};

// Reproducible names: a stem of syllables, sometimes a digit run and upper case,
// and one of a few extensions or none.
const Names& GeneratedNames()
{
    static const Names names = [] {
        static const char* const syllables[] = {"re", "ad", "me", "da", "ta", "ma", "ke", "fi", "le", "no", "tes", "src"};
        static const char* const extensions[] = {".txt", ".doc", ".cpp", ".h", ".tar.gz", "", ".csv", ".TXT", ".jpeg"};
        std::mt19937 random(20261206);
        Names result;
        for (int i = 0; i < NameCount; ++i) {
            std::string name;
            const int parts = 1 + static_cast<int>(random() % 4);
            for (int p = 0; p < parts; ++p)
                name += syllables[random() % std::size(syllables)];
            if (random() % 3 == 0)
                name += std::to_string(random() % 100);
            if (random() % 5 == 0)
                name[0] = static_cast<char>(name[0] - 'a' + 'A');
            name += extensions[random() % std::size(extensions)];
            result.Text.push_back(QString::fromStdString(name));
            result.Utf8.push_back(name);
        }
        return result;
    }();
    return names;
}

void BM_FileMatches(benchmark::State& state)
{
    const Names& names = GeneratedNames();
    vcl::TStringList masks;
    Masksearch::BuildMask(QString::fromLatin1(MaskText), masks);
    int64_t matched = 0;
    for (auto _ : state) {
        matched = 0;
        for (const QString& name : names.Text)
            matched += Masksearch::FileMatches(name, &masks) ? 1 : 0;
        benchmark::DoNotOptimize(matched);
    }
    state.counters["matched"] = static_cast<double>(matched);
    state.SetItemsProcessed(state.iterations() * NameCount);
}

// The masks cut into tokens once, as a list control holding a mask list would keep them.
void BM_MaskMatcher(benchmark::State& state)
{
    const Names& names = GeneratedNames();
    vcl::TStringList masks;
    Masksearch::BuildMask(QString::fromLatin1(MaskText), masks);
    const Masksearch::TMaskMatcher matcher(masks);
    int64_t matched = 0;
    for (auto _ : state) {
        matched = 0;
        for (const QString& name : names.Text)
            matched += matcher.Matches(name) ? 1 : 0;
        benchmark::DoNotOptimize(matched);
    }
    state.counters["matched"] = static_cast<double>(matched);
    state.SetItemsProcessed(state.iterations() * NameCount);
}

// The peer: the same masks, case folded by fnmatch itself, on the UTF-8 names.
void BM_Fnmatch(benchmark::State& state)
{
    const Names& names = GeneratedNames();
    std::vector<std::string> masks;
    std::string text = MaskText;
    for (size_t start = 0; start <= text.size();) {
        const size_t end = std::min(text.find(';', start), text.size());
        masks.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    int64_t matched = 0;
    for (auto _ : state) {
        matched = 0;
        for (const std::string& name : names.Utf8) {
            for (const std::string& mask : masks) {
                if (fnmatch(mask.c_str(), name.c_str(), FNM_CASEFOLD) == 0) {
                    ++matched;
                    break;
                }
            }
        }
        benchmark::DoNotOptimize(matched);
    }
    state.counters["matched"] = static_cast<double>(matched);
    state.SetItemsProcessed(state.iterations() * NameCount);
}

BENCHMARK(BM_FileMatches)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MaskMatcher)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Fnmatch)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double peer = reporter.Time("BM_Fnmatch");
    for (const char* ours : {"BM_FileMatches", "BM_MaskMatcher"}) {
        const double time = reporter.Time(ours);
        if (time > 0 && peer > 0)
            std::printf("%s / fnmatch processor time ratio: %.2f\n", ours + 3, time / peer);
    }
    benchmark::Shutdown();
    return 0;
}
