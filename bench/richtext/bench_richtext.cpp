// Loading a 5 MB RTF file with the RTF reader against QTextDocument::setHtml of the
// same content written as HTML, side by side in each iteration. Both files are made
// here from one list of paragraphs: runs in bold, italic, colour and another font and
// size, accented letters, every fourth paragraph centred. Counters: processor
// milliseconds for each and their ratio (RTF / HTML; below 1 is faster).
#include "vcl/richtext/rtfreader.h"

#include <QGuiApplication>
#include <QTextDocument>
#include <benchmark/benchmark.h>
#include <ctime>

namespace {

constexpr qsizetype TargetRtfBytes = 5 * 1024 * 1024;

struct Sources {
    QByteArray Rtf;
    QString Html;
};

const Sources& Content()
{
    static const Sources sources = [] {
        Sources s;
        s.Rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 DejaVu Sans;}{\\f1 DejaVu Sans Mono;}}"
                "{\\colortbl;\\red255\\green0\\blue0;}\n";
        s.Html = "<html><body style='font-family:DejaVu Sans; font-size:12pt'>\n";
        for (int i = 0; s.Rtf.size() < TargetRtfBytes; ++i) {
            const QByteArray n = QByteArray::number(i);
            const bool centred = i % 4 == 0;
            s.Rtf += (centred ? "\\pard\\qc\\sa120 " : "\\pard\\ql\\sa120 ") + n
                     + " Lorem ipsum dolor {\\b bold words} sit amet, {\\i italic text} consectetur {\\cf1 red text} "
                       "adipiscing caf\\'e9 na\\'efve {\\f1\\fs28 other font} elit sed do eiusmod tempor.\\par\n";
            s.Html += QString::fromLatin1(centred ? "<p align=center style='margin-bottom:8px'>" : "<p style='margin-bottom:8px'>")
                      + QString::fromLatin1(n)
                      + " Lorem ipsum dolor <b>bold words</b> sit amet, <i>italic text</i> consectetur "
                        "<span style='color:#ff0000'>red text</span> adipiscing caf\u00E9 na\u00EFve "
                        "<span style='font-family:DejaVu Sans Mono; font-size:14pt'>other font</span> elit sed do "
                        "eiusmod tempor.</p>\n";
        }
        s.Rtf += "}";
        s.Html += "</body></html>";
        return s;
    }();
    return sources;
}

double ThreadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// Processor time of this thread: on a shared machine wall time says more about the
// neighbours than about the code.
template <class F>
double Seconds(F&& Body)
{
    const double start = ThreadSeconds();
    Body();
    return ThreadSeconds() - start;
}

void LoadRtfAgainstHtml(benchmark::State& State)
{
    const Sources& sources = Content();
    double rtf = 0, html = 0;
    for (auto _ : State) {
        QTextDocument fromRtf, fromHtml;
        rtf += Seconds([&] { benchmark::DoNotOptimize(vcl::ReadRtf(sources.Rtf, fromRtf)); });
        html += Seconds([&] { fromHtml.setHtml(sources.Html); });
        // Both paths must have built the same paragraphs, or the comparison means nothing.
        if (fromRtf.blockCount() != fromHtml.blockCount() || fromRtf.toRawText() != fromHtml.toRawText())
            State.SkipWithError("the RTF and HTML documents differ");
    }
    const double iterations = double(State.iterations());
    State.counters["rtf_ms"] = rtf * 1000 / iterations;
    State.counters["html_ms"] = html * 1000 / iterations;
    State.counters["ratio"] = rtf / html;
    State.counters["rtf_MB"] = double(sources.Rtf.size()) / (1024 * 1024);
    State.SetBytesProcessed(int64_t(iterations) * sources.Rtf.size());
}

BENCHMARK(LoadRtfAgainstHtml)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
