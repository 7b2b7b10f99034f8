// Truncated and bit-flipped versions of every generated file go through the readers'
// fuzz entry points: each must load or fail cleanly (run it in the sanitizer build).
#include "imagingtestsupport.h"

#include "fuzztargets.h"

#include <QFileInfo>
#include <gtest/gtest.h>
#include <random>

using namespace imagingtest;

namespace {

using TFuzzer = void (*)(const uint8_t*, size_t);

TFuzzer FuzzerFor(const QString& File)
{
    const QString extension = QFileInfo(File).suffix();
    if (extension == "gif")
        return imagingfuzz::FuzzGifmap;
    if (extension == "pcx")
        return imagingfuzz::FuzzPcxmap;
    if (extension == "tif")
        return imagingfuzz::FuzzTifmap;
    return imagingfuzz::FuzzCdrmap;
}

void Feed(TFuzzer Fuzzer, const QByteArray& Data)
{
    Fuzzer(reinterpret_cast<const uint8_t*>(Data.constData()), size_t(Data.size()));
}

} // namespace

TEST(ReaderRobustness, TruncatedFiles)
{
    for (const TSample& s : Samples()) {
        SCOPED_TRACE(s.Name.toStdString());
        const QByteArray data = ReadFile(s.File);
        const TFuzzer fuzzer = FuzzerFor(s.File);
        // Every length through the headers, then lengths spread over the rest.
        for (qsizetype length = 0; length < std::min<qsizetype>(data.size(), 160); ++length)
            Feed(fuzzer, data.left(length));
        for (int step = 1; step < 24; ++step)
            Feed(fuzzer, data.left(data.size() * step / 24));
    }
}

TEST(ReaderRobustness, BitFlippedFiles)
{
    std::mt19937 random(20261206);
    for (const TSample& s : Samples()) {
        SCOPED_TRACE(s.Name.toStdString());
        const QByteArray data = ReadFile(s.File);
        const TFuzzer fuzzer = FuzzerFor(s.File);
        // Fewer rounds for the few large files keep the sanitizer build quick.
        const int rounds = data.size() > 100000 ? 8 : 40;
        for (int round = 0; round < rounds; ++round) {
            QByteArray flipped = data;
            // Half the rounds hit the headers, where a flipped bit changes the most.
            const qsizetype span = round % 2 == 0 ? std::min<qsizetype>(data.size(), 200) : data.size();
            for (int flips = 1 + round % 3; flips > 0; --flips) {
                const qsizetype at = qsizetype(random() % uint32_t(span));
                flipped[at] = char(flipped[at] ^ (1 << (random() % 8)));
            }
            Feed(fuzzer, flipped);
        }
    }
}
