// Every fuzz entry point replays its seeds and a fixed number of mutations of them,
// made by a seeded generator, so each run checks the same inputs; and the inputs that
// once hurt (nesting thousands deep) are refused quickly with a clear error.
#include "fuzztargets.h"

#include "vcl/streaming/formfile.h"
#include "vcl/streaming/formtree.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <random>

namespace {

using qvfuzz::FuzzTarget;

// Enough to reach past the seeds' first layer of faults while the whole program stays
// within a few seconds, also under the sanitizers.
constexpr int MutationsPerTarget = 4000;

std::vector<QByteArray> Seeds(const char* Name)
{
    const QDir folder(qEnvironmentVariable("QV_TEST_SOURCE_DIR") + QStringLiteral("/seeds/") + QLatin1String(Name));
    std::vector<QByteArray> seeds;
    for (const QString& file : folder.entryList(QDir::Files, QDir::Name)) {
        QFile f(folder.filePath(file));
        if (f.open(QIODevice::ReadOnly))
            seeds.push_back(f.readAll());
    }
    return seeds;
}

// One random edit of the kinds that find parser faults: a changed, inserted or removed
// byte, a removed or repeated run, or a run spliced in from another seed.
class Mutator {
public:
    Mutator(const std::vector<QByteArray>& Seeds, uint32_t Seed) : FSeeds(Seeds), FRandom(Seed) {}

    QByteArray Next()
    {
        QByteArray data = FSeeds[Below(FSeeds.size())];
        const int edits = 1 + int(Below(4));
        for (int i = 0; i < edits; ++i)
            Edit(data);
        return data;
    }

private:
    size_t Below(size_t Bound) { return Bound == 0 ? 0 : std::uniform_int_distribution<size_t>(0, Bound - 1)(FRandom); }

    void Edit(QByteArray& Data)
    {
        static const char Interesting[] = "\0\n\r\\\"'()[]{}=;#*?.-+$/ \xff";
        const qsizetype at = qsizetype(Below(size_t(Data.size()) + 1));
        const qsizetype run = qsizetype(1 + Below(16));
        switch (Below(6)) {
        case 0:
            if (at < Data.size())
                Data[at] = char(Data[at] ^ (1 << Below(8)));
            break;
        case 1: Data.insert(at, Interesting[Below(sizeof Interesting - 1)]); break;
        case 2: Data.remove(at, run); break;
        case 3: Data.insert(at, Data.mid(at, run).repeated(int(1 + Below(8)))); break;
        case 4: {
            const QByteArray& other = FSeeds[Below(FSeeds.size())];
            Data.insert(at, other.mid(qsizetype(Below(size_t(other.size()) + 1)), run * 4));
            break;
        }
        default:
            if (at < Data.size())
                Data[at] = char(Below(256));
        }
    }

    const std::vector<QByteArray>& FSeeds;
    std::mt19937 FRandom;
};

void Feed(const FuzzTarget& Target, const QByteArray& Data)
{
    Target.Run(reinterpret_cast<const uint8_t*>(Data.constData()), size_t(Data.size()));
}

class FuzzReplay : public ::testing::TestWithParam<FuzzTarget> {};

TEST_P(FuzzReplay, SeedsAndSeededMutations)
{
    const std::vector<QByteArray> seeds = Seeds(GetParam().Name);
    ASSERT_GE(seeds.size(), 3u) << "the seed folder seeds/" << GetParam().Name << " is missing or nearly empty";
    for (const QByteArray& seed : seeds)
        Feed(GetParam(), seed);
    Feed(GetParam(), QByteArray());
    Mutator mutator(seeds, 36);
    for (int i = 0; i < MutationsPerTarget; ++i)
        Feed(GetParam(), mutator.Next());
}

INSTANTIATE_TEST_SUITE_P(Parsers, FuzzReplay, ::testing::ValuesIn(qvfuzz::FuzzTargets()),
                         [](const auto& Info) { return std::string(Info.param.Name); });

// Line names the line of the first level too deep: 256 levels read, the 257th (an
// object header or a "(", one per line) is refused.
struct DeepForm {
    const char* Kind;
    QString Text;
    int Line;
};

QString NestedObjects(int Depth)
{
    return QStringLiteral("object A: T\n").repeated(Depth) + QStringLiteral("end\n").repeated(Depth);
}

QString NestedLists(int Depth)
{
    return QStringLiteral("object A: T\n  P = ") + QStringLiteral("(\n").repeated(Depth) + QStringLiteral(")").repeated(Depth)
           + QStringLiteral("\nend\n");
}

TEST(HostileFormFile, DeepNestingIsRefusedNamingTheLine)
{
    const DeepForm cases[] = {
        {"objects", NestedObjects(10000), 257},
        {"objects", NestedObjects(20000), 257},
        {"lists", NestedLists(10000), 257},
    };
    for (const DeepForm& c : cases) {
        try {
            vcl::formfile::Parse(c.Text);
            ADD_FAILURE() << c.Kind << " nested this deep were read";
        } catch (const vcl::EFormFileError& e) {
            EXPECT_EQ(e.Line(), c.Line) << c.Kind;
            EXPECT_TRUE(e.Message().contains("Nesting deeper than 256 levels")) << e.Message().toStdString();
        }
    }
    // At the bound itself both read: 256 objects, or one object holding 255 lists.
    EXPECT_NO_THROW(vcl::formfile::Parse(NestedObjects(256)));
    EXPECT_NO_THROW(vcl::formfile::Parse(NestedLists(255)));
}

} // namespace
