// The link parser's scan of a 50 MB hypertext file with a million links, against a
// QRegularExpression global match for the same links over the same text. The peer gets
// the text already decoded to a QString; ours reads the bytes, checks they are UTF-8,
// splits the lines and decodes each target.
#include "../graphics/ratioreporter.h"
#include "utilities/qvlinkscanner.h"

#include <QBuffer>
#include <QRegularExpression>
#include <QStringList>

namespace {

constexpr int LinkCount = 1000000;

// One link per line, about 52 bytes a line: "<li><a href="page0000042.htm">Entry 42</a></li>".
const QByteArray& Text()
{
    static const QByteArray text = [] {
        QByteArray t;
        t.reserve(qsizetype(LinkCount) * 56);
        for (int i = 0; i < LinkCount; ++i)
            t += "<li><a href=\"page" + QByteArray::number(i).rightJustified(7, '0') + ".htm\">Entry "
                + QByteArray::number(i) + "</a></li>\n";
        return t;
    }();
    return text;
}

void BM_LinkScanner(benchmark::State& state)
{
    const QByteArray& text = Text();
    for (auto _ : state) {
        QBuffer buffer;
        buffer.setData(text);
        buffer.open(QIODevice::ReadOnly);
        QStringList links;
        links.reserve(LinkCount);
        Qvlinkparser::ScanLinks(buffer, [&links](const QString& T) { links.append(T); });
        if (links.size() != LinkCount)
            state.SkipWithError("wrong number of links");
        benchmark::DoNotOptimize(links);
    }
    state.SetBytesProcessed(state.iterations() * text.size());
}

void BM_RegexGlobalMatch(benchmark::State& state)
{
    const QString text = QString::fromUtf8(Text());
    const QRegularExpression href(QStringLiteral("href=\"([^\"\\r\\n]*)\""), QRegularExpression::CaseInsensitiveOption);
    href.optimize();
    for (auto _ : state) {
        QStringList links;
        links.reserve(LinkCount);
        QRegularExpressionMatchIterator it = href.globalMatch(text);
        while (it.hasNext())
            links.append(it.next().captured(1));
        if (links.size() != LinkCount)
            state.SkipWithError("wrong number of links");
        benchmark::DoNotOptimize(links);
    }
    state.SetBytesProcessed(state.iterations() * Text().size());
}

BENCHMARK(BM_LinkScanner)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RegexGlobalMatch)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return RunBenchmarksWithRatios(argc, argv, {{"BM_LinkScanner", "BM_RegexGlobalMatch"}});
}
