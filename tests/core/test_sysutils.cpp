#include "vcl/core/sysutils.h"

#include "support/testsupport.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <cmath>
#include <cstdint>
#include <limits>

using namespace vcl;

TEST(Round, HalvesGoToTheEvenNeighbourTruncGoesTowardZeroAndBothRefuseTheOutOfRange)
{
    struct Case {
        long double value;
        int64_t expected;
    } const cases[] = {
        {0.5L, 0}, {1.5L, 2}, {2.5L, 2}, {3.5L, 4}, {-0.5L, 0}, {-1.5L, -2}, {-2.5L, -2},
        {2.4999L, 2}, {2.5001L, 3}, {-2.5001L, -3}, {0.0L, 0}, {1e15L + 0.5L, 1000000000000000},
        {9007199254740993.0L, 9007199254740993}, {-9223372036854775807.0L - 1.0L, std::numeric_limits<int64_t>::min()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Round(c.value), c.expected) << static_cast<double>(c.value);
    EXPECT_THROW(Round(9223372036854775808.0L), EInvalidOp);
    EXPECT_THROW(Round(-1e19L), EInvalidOp);
    EXPECT_THROW(Round(std::nanl("")), EInvalidOp);
    EXPECT_THROW(Trunc(std::numeric_limits<long double>::infinity()), EInvalidOp);
    // Trunc drops the fraction toward zero.
    EXPECT_EQ(Trunc(2.7L), 2);
    EXPECT_EQ(Trunc(-2.7L), -2);
    EXPECT_EQ(Trunc(-0.999L), 0);
    EXPECT_EQ(Trunc(1e18L + 0.5L), 1000000000000000000);
}

TEST(MulDiv, SixtyFourBitProductRoundedHalfAwayFromZero)
{
    struct Case {
        int a, b, c, expected;
    } const cases[] = {
        {1, 1, 2, 1},
        {-1, 1, 2, -1},
        {3, 1, 2, 2},
        {-3, 1, 2, -2},
        {1, -3, 2, -2},
        {5, 1, -2, -3},
        {-5, -1, -2, -3},
        {1, 1, 3, 0},
        {2, 1, 3, 1},
        {-2, 1, 3, -1},
        // The products exceed 32 bits.
        {100000, 100000, 100000, 100000},
        {2147483647, 2, 3, 1431655765},
        {2147483647, 2147483647, 2147483647, 2147483647},
        {-2147483647 - 1, 2, 4, -1073741824},
        // A zero divisor or a quotient beyond 32 bits gives -1.
        {7, 8, 0, -1},
        {65536, 65536, 2, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.expected) << c.a << "*" << c.b << "/" << c.c;
}

TEST(Muldv, SixtyFourBitProductTruncated)
{
    EXPECT_EQ(Muldv(100000, 100000, 100000), 100000);
    EXPECT_EQ(Muldv(7, 1, 2), 3);
    EXPECT_EQ(Muldv(-7, 1, 2), -3);
    EXPECT_EQ(Muldv(2, 1, 3), 0);
    EXPECT_EQ(Muldv(255, 199, 200), 253);
    EXPECT_EQ(Muldv(2147483647, 2147483647, 2147483647), 2147483647);
    EXPECT_THROW(Muldv(1, 1, 0), EDivByZero);
    EXPECT_THROW(Muldv(65536, 65536, 1), EIntOverflow);
}

TEST(IntText, IntToStrIntToHexAndStrToInt)
{
    EXPECT_EQ(IntToStr(-5), QStringLiteral("-5"));
    EXPECT_EQ(IntToStr(std::numeric_limits<uint64_t>::max()), QStringLiteral("18446744073709551615"));
    EXPECT_EQ(IntToStr(std::numeric_limits<int64_t>::min()), QStringLiteral("-9223372036854775808"));
    EXPECT_EQ(IntToHex(255, 4), QStringLiteral("00FF"));
    EXPECT_EQ(IntToHex(0x1234, 2), QStringLiteral("1234"));
    EXPECT_EQ(IntToHex(-1, 2), QStringLiteral("FFFFFFFF"));
    EXPECT_EQ(IntToHex(int64_t(-1), 1), QStringLiteral("FFFFFFFFFFFFFFFF"));
    EXPECT_EQ(IntToHex(uint8_t(0xAB), 0), QStringLiteral("AB"));
    EXPECT_EQ(IntToHex(0, 0), QStringLiteral("0"));
    EXPECT_EQ(StrToInt("  42 "), 42);
    EXPECT_EQ(StrToInt("-2147483648"), std::numeric_limits<int>::min());
    EXPECT_EQ(StrToInt("$FF"), 255);
    EXPECT_EQ(StrToInt("0x10"), 16);
    for (const char* bad : {"", "abc", "12a", "2147483648", "$", "1.5"})
        EXPECT_THROW(StrToInt(bad), EConvertError) << bad;
    try {
        StrToInt("x1");
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("'x1' is not a valid integer value"));
    }
    EXPECT_EQ(StrToIntDef("x", 7), 7);
    EXPECT_EQ(StrToIntDef("8", 7), 8);
}

TEST(Text, TrimAndCaseWithTheAnsiCaseFollowingTheDefaultLocale)
{
    EXPECT_EQ(Trim("\t a b \r\n"), QStringLiteral("a b"));
    EXPECT_EQ(Trim(" \x01 "), QString());
    EXPECT_EQ(TrimLeft("  x  "), QStringLiteral("x  "));
    EXPECT_EQ(TrimRight("  x  "), QStringLiteral("  x"));
    EXPECT_EQ(Trim(QStringLiteral("\u00a0x\u00a0")), QStringLiteral("\u00a0x\u00a0"));
    EXPECT_EQ(UpperCase(QStringLiteral("abcé")), QStringLiteral("ABCé"));
    EXPECT_EQ(LowerCase(QStringLiteral("ABCÉ")), QStringLiteral("abcÉ"));
    EXPECT_EQ(AnsiUpperCase(QStringLiteral("abcé")), QStringLiteral("ABCÉ"));
    EXPECT_EQ(AnsiLowerCase(QStringLiteral("ÄB")), QStringLiteral("äb"));
    EXPECT_EQ(CompareText("abc", "ABC"), 0);
    EXPECT_LT(CompareText("abc", "ABD"), 0);
    EXPECT_GT(CompareText("b", "A"), 0);
    EXPECT_TRUE(SameText("Hello", "hELLO"));
    EXPECT_FALSE(SameText(QStringLiteral("é"), QStringLiteral("É")));

    // The Ansi functions follow the default locale; the ASCII-only ones ignore it.
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));
    EXPECT_EQ(AnsiLowerCase("I"), QStringLiteral("ı"));
    EXPECT_EQ(AnsiUpperCase("i"), QStringLiteral("İ"));
    EXPECT_EQ(LowerCase("I"), QStringLiteral("i"));
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(AnsiLowerCase("I"), QStringLiteral("i"));
    QLocale::setDefault(saved);
}

TEST(FileNames, PartsAndExistenceOfFilesAndFolders)
{
    struct Case {
        const char* path;
        const char* name;
        const char* dirWithSlash;
        const char* dir;
        const char* ext;
    } const cases[] = {
        {"/a/b/c.txt", "c.txt", "/a/b/", "/a/b", ".txt"},
        {"/a/b.d/c", "c", "/a/b.d/", "/a/b.d", ""},
        {"c.tar.gz", "c.tar.gz", "", "", ".gz"},
        {"/file", "file", "/", "/", ""},
        {"/a/b/", "", "/a/b/", "/a/b", ""},
        {"", "", "", "", ""},
        {"dir/.hidden", ".hidden", "dir/", "dir", ".hidden"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ExtractFileName(c.path), QString::fromUtf8(c.name)) << c.path;
        EXPECT_EQ(ExtractFilePath(c.path), QString::fromUtf8(c.dirWithSlash)) << c.path;
        EXPECT_EQ(ExtractFileDir(c.path), QString::fromUtf8(c.dir)) << c.path;
        EXPECT_EQ(ExtractFileExt(c.path), QString::fromUtf8(c.ext)) << c.path;
    }
    EXPECT_EQ(ChangeFileExt("x.bmp", ".png"), QStringLiteral("x.png"));
    EXPECT_EQ(ChangeFileExt("/a.b/x", ".png"), QStringLiteral("/a.b/x.png"));
    EXPECT_EQ(ChangeFileExt("x.bmp", ""), QStringLiteral("x"));
    EXPECT_EQ(IncludeTrailingPathDelimiter("/tmp"), QStringLiteral("/tmp/"));
    EXPECT_EQ(IncludeTrailingPathDelimiter("/tmp/"), QStringLiteral("/tmp/"));
    EXPECT_EQ(ExcludeTrailingPathDelimiter("/tmp/"), QStringLiteral("/tmp"));
    EXPECT_EQ(ExcludeTrailingPathDelimiter("/"), QStringLiteral("/"));

    // Existence tells files from folders.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath("f.txt");
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.close();
    ASSERT_TRUE(QDir(dir.path()).mkdir("sub"));
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(FileExists(dir.filePath("sub")));
    EXPECT_FALSE(FileExists(dir.filePath("missing")));
    EXPECT_FALSE(FileExists(""));
    EXPECT_TRUE(DirectoryExists(dir.filePath("sub")));
    EXPECT_TRUE(DirectoryExists(dir.path() + "/sub/"));
    EXPECT_FALSE(DirectoryExists(file));
    EXPECT_FALSE(DirectoryExists(""));
}

TEST(Random, FixedSeedRepeatsTheSequence)
{
    // seed' = seed * 0x08088405 + 1 (mod 2^32); Random(n) = seed' * n / 2^32.
    SetRandSeed(0);
    EXPECT_EQ(Random(100), 0);
    EXPECT_EQ(Random(100), 3);
    EXPECT_EQ(Random(100), 86);
    EXPECT_EQ(Random(1000), 202);
    EXPECT_EQ(RandSeed(), 870078620u);
    EXPECT_EQ(Random(0), 0);
    EXPECT_EQ(Random(-5), 0);
    SetRandSeed(0);
    EXPECT_DOUBLE_EQ(Random(), 1.0 / 4294967296.0);
    for (int i = 0; i < 1000; ++i) {
        const int r = Random(7);
        ASSERT_GE(r, 0);
        ASSERT_LT(r, 7);
        const double f = Random();
        ASSERT_GE(f, 0.0);
        ASSERT_LT(f, 1.0);
    }
}
