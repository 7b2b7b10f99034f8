// Format, FormatFloat and FloatToStr against results worked out by hand from the
// original framework's rules (halves rounded away from zero on the decimal digits,
// 15 significant digits for %e and %g, three-digit signed exponents for %e).
#include "vcl/core/sysutils.h"

#include "support/testsupport.h"

#include <gtest/gtest.h>
#include <cmath>
#include <limits>

using namespace vcl;

namespace {

struct FormatCase {
    const char* fmt;
    std::initializer_list<TVarRec> args;
    const char* expected;
};

} // namespace

TEST(Format, Integers)
{
    const FormatCase cases[] = {
        {"%d", {42}, "42"},
        {"%d", {-42}, "-42"},
        {"%5d|", {42}, "   42|"},
        {"%-5d|", {42}, "42   |"},
        {"%.4d", {-42}, "-0042"},
        {"%7.4d", {-42}, "  -0042"},
        {"%2d", {12345}, "12345"},
        {"%d", {std::numeric_limits<long long>::min()}, "-9223372036854775808"},
        {"%u", {42u}, "42"},
        // A 32-bit argument shows as 32-bit unsigned, a 64-bit one as 64-bit.
        {"%u", {-1}, "4294967295"},
        {"%u", {-1LL}, "18446744073709551615"},
        {"%x", {255}, "FF"},
        {"%.4x", {255}, "00FF"},
        {"%x", {-1}, "FFFFFFFF"},
        {"%x", {-2LL}, "FFFFFFFFFFFFFFFE"},
        {"%D and %X", {10, 10}, "10 and A"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Format(c.fmt, c.args), QString::fromUtf8(c.expected)) << c.fmt;
}

TEST(Format, FloatsIncludingSpecialValues)
{
    const long double inf = std::numeric_limits<long double>::infinity();
    const FormatCase cases[] = {
        {"%e", {3.0L}, "3.00000000000000E+000"},
        {"%e", {0.0}, "0.00000000000000E+000"},
        {"%e", {-1.0e100}, "-1.00000000000000E+100"},
        {"%.3e", {1234.5}, "1.23E+003"},
        {"%.3e", {-0.0001256}, "-1.26E-004"},
        {"%.2e", {9.96}, "1.0E+001"},
        {"%.1e", {9.96}, "1E+001"},
        {"%f", {3.14159}, "3.14"},
        {"%.0f", {2.5}, "3"},
        {"%.0f", {-2.5}, "-3"},
        {"%.0f", {0.5}, "1"},
        // 2.675 is stored as 2.67499999999999982..., so it rounds down.
        {"%.2f", {2.675}, "2.67"},
        // 0.125 is exact: the half goes away from zero.
        {"%.2f", {0.125}, "0.13"},
        {"%.1f", {0.05}, "0.1"},
        {"%.3f", {1.0}, "1.000"},
        {"%.2f", {-0.001}, "0.00"},
        {"%8.2f|", {-3.5}, "   -3.50|"},
        {"%n", {1234567.891}, "1,234,567.89"},
        {"%.0n", {999.5}, "1,000"},
        {"%n", {-999.0}, "-999.00"},
        {"%.1n", {1000000.0}, "1,000,000.0"},
        {"%m", {1234.5}, "$1,234.50"},
        {"%m", {-1234.5}, "($1,234.50)"},
        {"%.0m", {7.0}, "$7"},
        {"%g", {1234.5}, "1234.5"},
        {"%g", {0.0001}, "0.0001"},
        {"%g", {0.00001}, "1E-5"},
        {"%g", {1.0 / 3.0}, "0.333333333333333"},
        {"%g", {123456789012345.0}, "123456789012345"},
        {"%g", {1e15}, "1E15"},
        {"%g", {-2.5e-20}, "-2.5E-20"},
        {"%.3g", {1234.5}, "1.23E3"},
        {"%g", {0.0}, "0"},
        {"%f", {std::nanl("")}, "NAN"},
        {"%e", {inf}, "INF"},
        {"%g", {-inf}, "-INF"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Format(c.fmt, c.args), QString::fromUtf8(c.expected)) << c.fmt;
    EXPECT_EQ(FormatFloat("0.00", -inf), QStringLiteral("-INF"));
}

TEST(Format, StringsPointersAndLayout)
{
    const FormatCase cases[] = {
        {"%s", {"abc"}, "abc"},
        {"%.2s", {"abc"}, "ab"},
        {"%5s|", {"abc"}, "  abc|"},
        {"%-5s|", {"abc"}, "abc  |"},
        {"[%s]", {QString()}, "[]"},
        {"%s", {'x'}, "x"},
        {"%s%s", {QStringLiteral("é"), std::string("ü")}, "éü"},
        {"100%%", {}, "100%"},
        {"%%%d%%", {5}, "%5%"},
        {"%1:s %0:s %s", {"a", "b"}, "b a b"},
        {"%0:s-%0:s", {"x"}, "x-x"},
        {"%*d|", {5, 42}, "   42|"},
        {"%-*d|", {4, 7}, "7   |"},
        {"%.*f", {1, 2.25}, "2.3"},
        {"%*.*f|", {7, 3, 3.14159}, "  3.142|"},
        {"%p", {reinterpret_cast<const void*>(0x1234)}, "0000000000001234"},
        {"no specifiers", {1, 2}, "no specifiers"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Format(c.fmt, c.args), QString::fromUtf8(c.expected)) << c.fmt;
}

TEST(Format, MismatchesAndBadSpecifiersRaiseNamingTheFormat)
{
    const FormatCase cases[] = {
        {"%d", {1.5}, nullptr},
        {"%u", {"1"}, nullptr},
        {"%x", {2.0}, nullptr},
        // Integers are not floats to the float specifiers, as in the original.
        {"%f", {1}, nullptr},
        {"%e", {"1"}, nullptr},
        {"%s", {1}, nullptr},
        {"%p", {1}, nullptr},
        {"%d", {}, nullptr},
        {"%d %d", {1}, nullptr},
        {"%2:d", {1, 2}, nullptr},
        {"%z", {1}, nullptr},
        {"%", {1}, nullptr},
        {"%5", {1}, nullptr},
        {"%*d", {"x", 1}, nullptr},
        {"%99999999999d", {1}, nullptr},
    };
    for (const auto& c : cases)
        EXPECT_THROW(Format(c.fmt, c.args), EConvertError) << c.fmt;

    // The messages name the format.
    try {
        Format("%d", {"x"});
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Format '%d' invalid or incompatible with argument"));
    }
    try {
        Format("%s %s", {"x"});
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("No argument for format '%s %s'"));
    }
}

TEST(Format, FollowsTheFormatTable)
{
    TFormatSettings saved = FormatSettings();
    FormatSettings().DecimalSeparator = u',';
    FormatSettings().ThousandSeparator = u'.';
    FormatSettings().CurrencyString = QStringLiteral("EUR");
    FormatSettings().CurrencyFormat = 3;
    FormatSettings().NegCurrFormat = 8;
    EXPECT_EQ(Format("%n", {1234.5}), QStringLiteral("1.234,50"));
    EXPECT_EQ(Format("%m", {1234.5}), QStringLiteral("1.234,50 EUR"));
    EXPECT_EQ(Format("%m", {-1.0}), QStringLiteral("-1,00 EUR"));
    EXPECT_EQ(Format("%e", {1.5}), QStringLiteral("1,50000000000000E+000"));
    EXPECT_EQ(FormatFloat("#,##0.0", 1234.56), QStringLiteral("1.234,6"));
    EXPECT_EQ(StrToFloat("2,5"), 2.5L);
    FormatSettings() = saved;
}

TEST(FormatFloat, Pictures)
{
    struct Case {
        const char* fmt;
        long double value;
        const char* expected;
    } const cases[] = {
        {"#,##0", 1234567, "1,234,567"},
        {"#,##0", 0, "0"},
        {"#,##0", 999, "999"},
        {"#,##0", 1000, "1,000"},
        {"#,##0", -1234.5, "-1,235"},
        {"#,##0", 0.4, "0"},
        {"0.00", 1.005, "1.00"},
        {"0.00", 0.125, "0.13"},
        {"0.00", -0.125, "-0.13"},
        {"0.00", 0, "0.00"},
        {"#.##", 0.5, ".5"},
        {"#.##", 0, ""},
        {"0.0#", 1.5, "1.5"},
        {"0.0#", 1.256, "1.26"},
        {"0.0#", 1.0, "1.0"},
        {"0.##", 1.0, "1"},
        {"000", 7, "007"},
        {"0#", 5, "05"},
        {"#0", 5, "5"},
        {"#", 0, ""},
        {"000-0000", 1234567, "123-4567"},
        {".00", 12.5, "12.50"},
        {"0.00E+00", 1234, "1.23E+03"},
        {"0.00E-00", 1234, "1.23E03"},
        {"0.00E+00", 0.000123, "1.23E-04"},
        {"0.00E-0", 0.000123, "1.23E-4"},
        {"00.0E+0", 1234, "12.3E+2"},
        {"0.0E+00", 0, "0.0E+00"},
        {"0.0e+00", 99.96, "1.0e+02"},
        {"'$'#,##0.00", 1234.5, "$1,234.50"},
        {"\"x\"0", 5, "x5"},
        {"0 'units'", 3, "3 units"},
        {"0 \"a;b\"", 3, "3 a;b"},
        {"", 1.5, "1.5"},
        // Beyond 18 integer digits the general format takes over.
        {"0", 1e20, "1E20"},
        {"0.0;(0.0)", -5, "(5.0)"},
        {"0.0;(0.0);zero", 0, "zero"},
        {"0.0;(0.0);zero", 0.01, "zero"},
        {"0.0;(0.0);zero", -0.01, "zero"},
        {"0.0;(0.0)", 0, "0.0"},
        {"0;;nil", -3, "-3"},
        {"0;-0;", 0, "0"},
        {"0.0", -0.01, "0.0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatFloat(c.fmt, c.value), QString::fromUtf8(c.expected)) << c.fmt << " " << static_cast<double>(c.value);
}

TEST(FloatToStr, GeneralFormatAndStrToFloatBack)
{
    EXPECT_EQ(FloatToStr(0.1), QStringLiteral("0.1"));
    EXPECT_EQ(FloatToStr(100), QStringLiteral("100"));
    EXPECT_EQ(FloatToStr(-1.5e-10), QStringLiteral("-1.5E-10"));
    EXPECT_EQ(FloatToStr(1e20), QStringLiteral("1E20"));
    EXPECT_EQ(FloatToStr(123456789012345678.0L), QStringLiteral("1.23456789012346E17"));
    EXPECT_EQ(FloatToStr(999999999999999.9L), QStringLiteral("1E15"));
    EXPECT_EQ(FloatToStr(0.1L + 0.2L), QStringLiteral("0.3"));
    // StrToFloat reads numbers and rejects the rest.
    EXPECT_EQ(StrToFloat("1.5e3"), 1500.0L);
    EXPECT_EQ(StrToFloat(" +2.5 "), 2.5L);
    EXPECT_EQ(StrToFloat("-7"), -7.0L);
    for (const char* bad : {"", "abc", "1.5x", "inf", "nan", "0x10", "1..2", "--1"})
        EXPECT_THROW(StrToFloat(bad), EConvertError) << bad;
    EXPECT_EQ(StrToFloat(FloatToStr(0.1L)), 0.1L);
}
