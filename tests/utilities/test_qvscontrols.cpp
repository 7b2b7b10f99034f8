// TqvCalc and the free math functions of Qvscontrols. Expected values are worked out by
// hand unless a comment names the program that computed them.
#include "support/testsupport.h"
#include "utilities/qvscontrols.h"
#include "vcl/core/sysutils.h"

#include <QCoreApplication>
#include <QMetaProperty>
#include <QVariant>
#include <gtest/gtest.h>
#include <cfenv>
#include <cmath>
#include <limits>
#include <set>
#include <stdexcept>
#include <vector>

using namespace Qvscontrols;

namespace {

struct Case {
    const char* Text;
    TqvCalcResult Result;
    int Position; // WhereIsLastError afterwards
    double Value; // NumberNum, compared as a double
};

void PrintTo(const Case& c, std::ostream* os)
{
    *os << '"' << c.Text << '"';
}

class CalcCases : public ::testing::TestWithParam<Case> {};

TEST_P(CalcCases, ValueResultAndPosition)
{
    const Case& c = GetParam();
    TqvCalc calc;
    calc.SetCalcLine(QString::fromUtf8(c.Text));
    EXPECT_EQ(CalcResultName(calc.CalcResult()), CalcResultName(c.Result));
    EXPECT_EQ(calc.WhereIsLastError(), c.Position);
    EXPECT_DOUBLE_EQ(static_cast<double>(calc.NumberNum()), c.Value);
}

// Precedence, associativity and the sign rule. The position of a finished line is its
// length + 1, where the end marker stands.
INSTANTIATE_TEST_SUITE_P(Grammar, CalcCases, ::testing::Values(
    Case{"1+2*3", TqvcOK, 6, 7},
    Case{"(1+2)*3", TqvcOK, 8, 9},
    Case{"2^3^2", TqvcOK, 6, 64},      // (2^3)^2
    Case{"8/2^2", TqvcOK, 6, 16},      // (8/2)^2
    Case{"2*3^2", TqvcOK, 6, 36},      // (2*3)^2
    Case{"12/3*2", TqvcOK, 7, 8},
    Case{"10-4-3", TqvcOK, 7, 3},
    Case{"-2^2", TqvcOK, 5, -4},       // 0 - (2^2)
    Case{"-3*2", TqvcOK, 5, -6},
    Case{"-2-3", TqvcOK, 5, -5},
    Case{"2^(-1)", TqvcOK, 7, 0.5},
    Case{"(-2)^2", TqvcOK, 7, 4},
    Case{"(-2)^3", TqvcOK, 7, 8},      // the magnitude of the base is used
    Case{"0^0", TqvcOK, 4, 0},
    Case{"5^0", TqvcOK, 4, 1},
    Case{"0^(-1)", TqvcOK, 7, 0},
    Case{"  7 ", TqvcOK, 5, 7},        // the trailing space is skipped, not consumed
    Case{"((2+3)*(4-1))", TqvcOK, 14, 15},
    Case{"2 3", TqvcOK, 3, 2},         // the rest after the expression is not examined
    Case{"2)", TqvcOK, 2, 2},
    Case{"1 2", TqvcOK, 3, 1}));

// Numbers: "." and "," are both decimal points; no signs, no exponents.
INSTANTIATE_TEST_SUITE_P(Numbers, CalcCases, ::testing::Values(
    Case{"1,5+1.5", TqvcOK, 8, 3},
    Case{".5", TqvcOK, 3, 0.5},
    Case{"5.", TqvcOK, 3, 5},
    Case{"1,5,5", TqvcOK, 4, 1.5},
    Case{"0.1", TqvcOK, 4, 0.1},
    Case{"007", TqvcOK, 4, 7},
    // Nearest double, from /usr/bin/python3: float(123456789012345678901234567890).
    Case{"123456789012345678901234567890", TqvcOK, 31, 1.2345678901234568e+29},
    Case{".", TqvcNumberMissing, 2, 0},
    Case{"", TqvcOK, 2, 0},            // evaluated as "0"
    Case{"\t7", TqvcNumberMissing, 1, 0}, // only spaces are skipped
    Case{"1e5", TqvcOK, 2, 1}));

// Names and functions. Constants from /usr/bin/python3: math.e, math.pi, math.asin(0.5);
// the ARCCOS value is the double nearest to -pi/3, found with Python's decimal module
// and 50 digits of pi (it is not math.acos(-0.5) - math.pi, which is one unit lower).
INSTANTIATE_TEST_SUITE_P(Functions, CalcCases, ::testing::Values(
    Case{"PI", TqvcOK, 3, 3.141592653589793},
    Case{"e", TqvcOK, 2, 2.718281828459045},
    Case{"EXP(1)-E", TqvcOK, 9, 0},
    Case{"SIN(PI/2)", TqvcOK, 10, 1},
    Case{"sin(0)+cos(0)", TqvcOK, 14, 1},
    Case{"ARCTAN(1)*4", TqvcOK, 12, 3.141592653589793},
    Case{"ABS(3-5)", TqvcOK, 9, 2},
    Case{"FRAC(-2.5)", TqvcOK, 11, -0.5},
    Case{"FRAC(7.25)", TqvcOK, 11, 0.25},
    Case{"ARCSIN(0.5)", TqvcOK, 12, 0.5235987755982989},
    Case{"ARCCOS(-0.5)", TqvcOK, 13, -1.0471975511965979},
    Case{"LN(E)", TqvcOK, 6, 1},
    Case{"LOG(1000)", TqvcOK, 10, 3},
    Case{"SQR(3)", TqvcOK, 7, 9},
    Case{"SQRT(16)", TqvcOK, 9, 4},
    Case{"ROUND(2.5)", TqvcOK, 11, 2},
    Case{"ROUND(3.5)", TqvcOK, 11, 4},
    Case{"ROUND(-2.5)", TqvcOK, 12, -2},
    Case{"ROUND(-3.5)", TqvcOK, 12, -4},
    Case{"TRUNC(-2.7)", TqvcOK, 12, -2},
    Case{"TRUNC(2.7)", TqvcOK, 11, 2},
    Case{"FLOOR(-2.5)", TqvcOK, 12, -3},
    Case{"FLOOR(2.5)", TqvcOK, 11, 2},
    Case{"FLOOR(-3)", TqvcOK, 10, -3},
    Case{"CEILING(2.1)", TqvcOK, 13, 3},
    Case{"CEILING(-2.5)", TqvcOK, 14, -2},
    Case{"CEILING(3)", TqvcOK, 11, 3},
    Case{"SQRT(10^400)/(10^199)", TqvcOK, 22, 10}, // 10^400 lives in extended precision
    // 2^63 - 1024, the largest double below 2^63.
    Case{"TRUNC(9223372036854774784)", TqvcOK, 27, 9223372036854774784.0},
    Case{"RANDOM(0.4)", TqvcOK, 12, 0})); // rounds to 0, which gives 0

// Errors: the value reached stays, the failing factor counts as 0.
INSTANTIATE_TEST_SUITE_P(Errors, CalcCases, ::testing::Values(
    Case{"2^-1", TqvcNumberMissing, 3, 1},   // 2^0
    Case{"2*-3", TqvcNumberMissing, 3, 0},
    Case{"+3", TqvcNumberMissing, 1, 0},
    Case{"--3", TqvcNumberMissing, 2, 0},
    Case{"2+", TqvcNumberMissing, 3, 2},
    Case{"2*)", TqvcNumberMissing, 3, 0},
    Case{"2/0", TqvcDivZero, 4, 2},
    Case{"2/0+5", TqvcDivZero, 4, 2},        // the loops stop at the first error
    Case{"2/", TqvcDivZero, 3, 2},           // the missing divisor counts as 0
    Case{"2/(1-1)", TqvcDivZero, 8, 2},
    Case{"SIN 1", TqvcLeftPar, 6, 0},        // steps past the "1"
    Case{"PI(2)", TqvcOK, 3, 3.141592653589793}, // constants take no argument
    Case{"(2", TqvcRightPar, 3, 2},
    Case{"SIN(2", TqvcRightPar, 6, 0.9092974268256817}, // python3: math.sin(2)
    Case{"2*(3+4", TqvcRightPar, 7, 14},
    Case{"((2)", TqvcRightPar, 5, 2},
    Case{"(2 3)", TqvcRightPar, 5, 2},
    Case{"SQRT(4+", TqvcNumberMissing, 8, 2}, // applied to the value reached
    Case{"SQRT(-4+", TqvcDivZero, 9, 0},      // the domain error replaces the first code
    Case{"LOG10(2)", TqvcDivZero, 5, 0},      // LOG without "(", then LOG(0)
    Case{"XYZ(2)", TqvcFunctionMissing, 4, 0},
    Case{"PIE", TqvcFunctionMissing, 4, 0},
    Case{"1+A_B", TqvcFunctionMissing, 6, 1},
    Case{"ARCSIN(1)", TqvcDivZero, 10, 0},
    Case{"ARCSIN(-1)", TqvcDivZero, 11, 0},
    Case{"ARCCOS(1)", TqvcDivZero, 10, 0},
    Case{"ARCCOS(-1)", TqvcDivZero, 11, 0},
    Case{"LN(0)", TqvcDivZero, 6, 0},
    Case{"LN(-1)", TqvcDivZero, 7, 0},
    Case{"LOG(0)", TqvcDivZero, 7, 0},
    Case{"SQRT(-1)", TqvcDivZero, 9, 0},
    Case{"3+SQRT(-1)", TqvcDivZero, 11, 3}));

// Arithmetic faults. Inside ROUND, TRUNC, CEILING, FLOOR and SQRT the factor becomes 0
// and the evaluation ends as after an error (the value reached stays); anywhere else the
// evaluation is aborted where the fault happened, with the value 0.
INSTANTIATE_TEST_SUITE_P(Faults, CalcCases, ::testing::Values(
    Case{"EXP(100000)", TqvcOverFlow, 12, 0},
    Case{"1+EXP(100000)+5", TqvcOverFlow, 14, 0},
    Case{"10^5000", TqvcOverFlow, 8, 0},
    Case{"ARCCOS(0)", TqvcOverFlow, 10, 0},    // division by zero inside ArcCos
    Case{"(10^400)", TqvcOverFlow, 9, 0},      // does not fit the double of a factor
    Case{"SQR(10^300)", TqvcOverFlow, 12, 0},
    Case{"1+ROUND(10^19)", TqvcOverFlow, 15, 1},
    Case{"ROUND(10^19)+5", TqvcOverFlow, 13, 0},
    Case{"2*TRUNC(-10^19)", TqvcOverFlow, 16, 0},
    Case{"4+CEILING(10^19)", TqvcOverFlow, 17, 4},
    Case{"4-FLOOR(10^19)", TqvcOverFlow, 15, 4},
    // The number is a factor, rounded to the double 2^63, one beyond the 64-bit range.
    Case{"TRUNC(9223372036854775807)", TqvcOverFlow, 27, 0},
    Case{"RANDOM(3000000000)", TqvcOverFlow, 19, 0},
    Case{"RANDOM(10^19)", TqvcOverFlow, 14, 0}));

TEST(Calc, InitialStateWithoutAnyApplicationObjectAndEmptyLine)
{
    ASSERT_EQ(QCoreApplication::instance(), nullptr);
    TqvCalc calc;
    EXPECT_EQ(calc.CalcLine(), QStringLiteral("0"));
    EXPECT_EQ(calc.CalcResult(), TqvcOK);
    EXPECT_EQ(calc.WhereIsLastError(), 1);
    EXPECT_TRUE(calc.PushResult());
    EXPECT_EQ(calc.NumberNum(), 0);
    for (int r = 1; r <= TqvCalc::RegisterCount; ++r)
        EXPECT_EQ(calc.GetRegNum(r), 0);
    calc.SetCalcLine(QStringLiteral("6*7"));
    EXPECT_EQ(calc.NumberNum(), 42);
    // An empty line reads back as "0" and evaluates to 0.
    calc.SetCalcLine(QString());
    EXPECT_EQ(calc.CalcLine(), QStringLiteral("0"));
    EXPECT_EQ(calc.NumberNum(), 0);
    EXPECT_EQ(calc.CalcResult(), TqvcOK);
}

TEST(Calc, LineIsCutTo254CharactersAndEndsAtAnEndMarker)
{
    // "1" followed by 149 times "+1" is 299 characters. The first 254 are "1", 126
    // times "+1" and a lone "+": 127 with a number missing at the end marker, 255.
    QString text = QStringLiteral("1");
    for (int i = 0; i < 149; ++i)
        text += QStringLiteral("+1");
    TqvCalc calc;
    calc.SetCalcLine(text);
    EXPECT_EQ(calc.CalcLine(), text.left(254));
    EXPECT_EQ(calc.CalcResult(), TqvcNumberMissing);
    EXPECT_EQ(calc.WhereIsLastError(), 255);
    EXPECT_EQ(calc.NumberNum(), 127);
    // The cut never splits a surrogate pair: 253 spaces and a character outside the
    // basic plane (two UTF-16 units).
    calc.SetCalcLine(QString(253, u' ') + QString::fromUcs4(U"\U0001F600"));
    EXPECT_EQ(calc.CalcLine(), QString(253, u' '));
    EXPECT_EQ(calc.CalcResult(), TqvcNumberMissing);
    // An end marker inside the text ends the scan.
    calc.SetCalcLine(QStringLiteral("(1\r+2)"));
    EXPECT_EQ(calc.CalcResult(), TqvcRightPar);
    EXPECT_EQ(calc.WhereIsLastError(), 3);
    EXPECT_EQ(calc.CalcLine(), QStringLiteral("(1\r+2)"));
}

TEST(Calc, SumsAndProductsAreCarriedInExtendedPrecision)
{
    TqvCalc calc;
    // The factors are the doubles nearest to 0.1 and 0.2; their exact sum fits the
    // 64-bit mantissa. Exact decimals from /usr/bin/python3: Decimal(0.1)+Decimal(0.2).
    calc.SetCalcLine(QStringLiteral("0.1+0.2"));
    EXPECT_EQ(calc.NumberNum(), 0.3000000000000000166533453693773481063544750213623046875L);
    // As a factor the same sum is rounded to double: it lies halfway between two
    // doubles and goes to the even one, Decimal(0.1+0.2) in Python.
    calc.SetCalcLine(QStringLiteral("(0.1+0.2)*1"));
    EXPECT_EQ(calc.NumberNum(), 0.3000000000000000444089209850062616169452667236328125L);
    // Products beyond the double range are carried too.
    calc.SetPushResult(false);
    calc.SetRegisterANum(1e300L);
    calc.SetCalcLine(QStringLiteral("A*A/A"));
    EXPECT_EQ(calc.CalcResult(), TqvcOK);
    EXPECT_NEAR(static_cast<double>(calc.NumberNum() / 1e300L), 1.0, 1e-15);
    calc.SetCalcLine(QStringLiteral("A*A"));
    EXPECT_EQ(calc.CalcResult(), TqvcOK);
    EXPECT_NEAR(static_cast<double>(calc.NumberNum() / 1e600L), 1.0, 1e-15);
    // A register as a factor is rounded to double, which 1e400 does not fit.
    calc.SetRegisterBNum(1e400L);
    calc.SetCalcLine(QStringLiteral("B"));
    EXPECT_EQ(calc.CalcResult(), TqvcOverFlow);
}

TEST(Calc, PushRunsThroughAllNineAndDropsTheOldest)
{
    TqvCalc calc;
    for (const char* line : {"1", "2", "3"})
        calc.SetCalcLine(QString::fromLatin1(line));
    EXPECT_EQ(calc.RegisterDNum(), 0);
    calc.SetCalcLine(QStringLiteral("A+B")); // 3 + 2
    EXPECT_EQ(calc.NumberNum(), 5);
    EXPECT_EQ(calc.RegisterANum(), 5);
    EXPECT_EQ(calc.RegisterBNum(), 3);
    EXPECT_EQ(calc.RegisterCNum(), 2);
    EXPECT_EQ(calc.RegisterDNum(), 1);
    // Ten more pushes overwrite all nine registers.
    for (int i = 1; i <= 10; ++i)
        calc.SetCalcLine(QString::number(i));
    // A = 10, B = 9, C = 8, D = 7, F = 6, G = 5, H = 4, I = 3, J = 2; 1 is gone.
    const std::vector<long double> expected{10, 9, 8, 7, 6, 5, 4, 3, 2};
    for (int r = 1; r <= 9; ++r)
        EXPECT_EQ(calc.GetRegNum(r), expected[static_cast<size_t>(r - 1)]) << "register " << r;
    // E is Euler's number, not a register; F is the fifth register.
    calc.SetCalcLine(QStringLiteral("F+J"));
    EXPECT_EQ(calc.NumberNum(), 8);
    calc.SetCalcLine(QStringLiteral("e*0+g"));
    EXPECT_EQ(calc.NumberNum(), 6); // G moved on to the former F
    // Errors push too.
    calc.SetCalcLine(QStringLiteral("2/0"));
    EXPECT_EQ(calc.RegisterANum(), 2);
    calc.SetCalcLine(QStringLiteral("EXP(100000)"));
    EXPECT_EQ(calc.RegisterANum(), 0);
    EXPECT_EQ(calc.RegisterBNum(), 2);
}

TEST(Calc, WithoutPushResultRegistersChangeOnlyWhenSetAndOnlyOneToNine)
{
    TqvCalc calc;
    calc.SetPushResult(false);
    calc.SetCalcLine(QStringLiteral("11"));
    calc.SetCalcLine(QStringLiteral("12"));
    for (int r = 1; r <= 9; ++r)
        EXPECT_EQ(calc.GetRegNum(r), 0);
    calc.SetRegisterCNum(2.5L);
    calc.SetRegisterJNum(4);
    calc.SetCalcLine(QStringLiteral("C*J"));
    EXPECT_EQ(calc.NumberNum(), 10);
    EXPECT_EQ(calc.RegisterANum(), 0);
    EXPECT_EQ(calc.RegisterCNum(), 2.5L);
    // Register numbers outside 1..9 are refused.
    EXPECT_THROW(calc.GetRegNum(0), vcl::EInvalidOperation);
    EXPECT_THROW(calc.SetRegNum(10, 1), vcl::EInvalidOperation);
    EXPECT_THROW(calc.GetReg(-1), vcl::EInvalidOperation);
}

TEST(Calc, OnOKAndOnErrorReportEachEvaluationAndTheirExceptionsReachTheCaller)
{
    TqvCalc calc;
    int oks = 0;
    std::vector<std::pair<QString, int>> errors;
    long double numberSeen = -1;
    calc.OnOK = [&](vcl::TObject* sender) {
        EXPECT_EQ(sender, &calc);
        ++oks;
    };
    calc.OnError = [&](vcl::TObject* sender, const QString& line, uint8_t where) {
        EXPECT_EQ(sender, &calc);
        errors.emplace_back(line, where);
        numberSeen = calc.NumberNum(); // the number is already set
    };
    calc.SetCalcLine(QStringLiteral("1+1"));
    calc.SetCalcLine(QStringLiteral("2*(3+4"));
    calc.SetCalcLine(QStringLiteral("2"));
    EXPECT_EQ(oks, 2);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].first, QStringLiteral("2*(3+4"));
    EXPECT_EQ(errors[0].second, 7);
    EXPECT_EQ(numberSeen, 14);
    // Exceptions from the handlers reach the caller.
    calc.OnError = [](vcl::TObject*, const QString&, uint8_t) { throw std::runtime_error("error handler"); };
    calc.OnOK = [](vcl::TObject*) { throw std::runtime_error("ok handler"); };
    EXPECT_THROW(calc.SetCalcLine(QStringLiteral("1/0")), std::runtime_error);
    EXPECT_EQ(calc.RegisterANum(), 1); // the push came first
    EXPECT_THROW(calc.SetCalcLine(QStringLiteral("1")), std::runtime_error);
}

TEST(Calc, UserFunctions)
{
    TqvCalc calc;
    std::vector<QString> asked;
    calc.OnFindUserFunc = [&](vcl::TObject*, const QString& name) {
        asked.push_back(name);
        return name == QStringLiteral("TWICE") || name == QStringLiteral("THRICE");
    };
    calc.SetCalcLine(QStringLiteral("twice(21)"));
    EXPECT_EQ(calc.CalcResult(), TqvcOK);
    EXPECT_EQ(calc.NumberNum(), 21); // no OnUserFunc: the argument itself

    std::vector<QString> computed;
    calc.OnUserFunc = [&](vcl::TObject*, const QString& name, long double value) {
        computed.push_back(name);
        return name == QStringLiteral("TWICE") ? value * 2 : value * 3;
    };
    asked.clear();
    // The inner name must not overwrite the outer one.
    calc.SetCalcLine(QStringLiteral("TWICE(THRICE(2)+1)"));
    EXPECT_EQ(calc.NumberNum(), 14);
    EXPECT_EQ(computed, (std::vector<QString>{QStringLiteral("THRICE"), QStringLiteral("TWICE")}));
    EXPECT_EQ(asked, (std::vector<QString>{QStringLiteral("TWICE"), QStringLiteral("THRICE")}));

    // Built-in names are never offered to the handler.
    asked.clear();
    calc.SetCalcLine(QStringLiteral("SIN(0)+PI*0"));
    EXPECT_TRUE(asked.empty());

    // Refused names stay missing.
    calc.SetCalcLine(QStringLiteral("1+HALF(4)"));
    EXPECT_EQ(calc.CalcResult(), TqvcFunctionMissing);
    EXPECT_EQ(calc.WhereIsLastError(), 7);
    EXPECT_EQ(calc.NumberNum(), 1);

    // A user function is applied to the value its argument reached.
    calc.SetCalcLine(QStringLiteral("TWICE(5+"));
    EXPECT_EQ(calc.CalcResult(), TqvcNumberMissing);
    EXPECT_EQ(calc.NumberNum(), 10);
    calc.SetCalcLine(QStringLiteral("TWICE 5"));
    EXPECT_EQ(calc.CalcResult(), TqvcLeftPar);
    EXPECT_EQ(calc.NumberNum(), 0);
}

TEST(Calc, UserNamesAreCutToTenLettersAndHandlerFaultsBecomeOverflow)
{
    TqvCalc calc;
    QString asked;
    QString computed;
    calc.OnFindUserFunc = [&](vcl::TObject*, const QString& name) {
        asked = name;
        return true;
    };
    calc.OnUserFunc = [&](vcl::TObject*, const QString& name, long double value) {
        computed = name;
        return value + 1;
    };
    calc.SetCalcLine(QStringLiteral("abcdefghijklmn_op(2)"));
    EXPECT_EQ(calc.CalcResult(), TqvcOK);
    EXPECT_EQ(asked, QStringLiteral("ABCDEFGHIJ"));
    EXPECT_EQ(computed, QStringLiteral("ABCDEFGHIJ"));
    EXPECT_EQ(calc.NumberNum(), 3);
    // The whole run of letters was read: the position is past the ")".
    EXPECT_EQ(calc.WhereIsLastError(), 21);

    // "SINXXXXXXXXX" is cut to "SINXXXXXXX", which is no built-in name.
    calc.OnFindUserFunc = nullptr;
    calc.SetCalcLine(QStringLiteral("SINXXXXXXXXX(1)"));
    EXPECT_EQ(calc.CalcResult(), TqvcFunctionMissing);
    EXPECT_EQ(calc.WhereIsLastError(), 13);

    // Exceptions and faults in the handlers become an overflow.
    calc.OnFindUserFunc = [](vcl::TObject*, const QString& name) {
        if (name == QStringLiteral("BAD"))
            throw std::runtime_error("find");
        return true;
    };
    calc.OnUserFunc = [](vcl::TObject*, const QString&, long double) -> long double {
        throw vcl::Exception(QStringLiteral("user"));
    };
    calc.SetCalcLine(QStringLiteral("1+BAD(1)"));
    EXPECT_EQ(calc.CalcResult(), TqvcOverFlow);
    calc.SetCalcLine(QStringLiteral("1+GOOD(1)"));
    EXPECT_EQ(calc.CalcResult(), TqvcOverFlow);
    EXPECT_EQ(calc.WhereIsLastError(), 10);
    // A fault inside the handler's arithmetic too; a sound one goes through.
    calc.OnFindUserFunc = [](vcl::TObject*, const QString&) { return true; };
    calc.OnUserFunc = [](vcl::TObject*, const QString&, long double value) { return 1 / value; };
    calc.SetCalcLine(QStringLiteral("INV(4)"));
    EXPECT_EQ(calc.NumberNum(), 0.25L);
    calc.SetCalcLine(QStringLiteral("INV(0)"));
    EXPECT_EQ(calc.CalcResult(), TqvcOverFlow);

    // A handler cannot replace the line being evaluated.
    calc.OnUserFunc = [&calc](vcl::TObject*, const QString&, long double value) {
        calc.SetCalcLine(QStringLiteral("1"));
        return value;
    };
    calc.SetCalcLine(QStringLiteral("2+NESTED(3)*100000"));
    EXPECT_EQ(calc.CalcResult(), TqvcOverFlow);
    EXPECT_EQ(calc.CalcLine(), QStringLiteral("2+NESTED(3)*100000"));
    EXPECT_EQ(calc.WhereIsLastError(), 12);
    // The calculator is usable again afterwards.
    calc.OnUserFunc = nullptr;
    calc.SetCalcLine(QStringLiteral("2+NESTED(3)"));
    EXPECT_EQ(calc.NumberNum(), 5);
}

TEST(Calc, RandomStaysInItsRangeAndFollowsTheSharedSequence)
{
    vcl::SetRandSeed(20261206); // the framework's shared sequence; the calculator never seeds it
    TqvCalc calc;
    std::set<long double> dice;
    std::set<long double> mirrored;
    for (int i = 0; i < 300; ++i) {
        calc.SetCalcLine(QStringLiteral("RANDOM(0)"));
        ASSERT_EQ(calc.CalcResult(), TqvcOK);
        EXPECT_GE(calc.NumberNum(), 0);
        EXPECT_LT(calc.NumberNum(), 1);
        calc.SetCalcLine(QStringLiteral("RANDOM(5.6)")); // rounds to 6
        dice.insert(calc.NumberNum());
        calc.SetCalcLine(QStringLiteral("RANDOM(-3)"));
        mirrored.insert(calc.NumberNum());
    }
    EXPECT_EQ(dice, (std::set<long double>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(mirrored, (std::set<long double>{-2, -1, 0}));
    calc.SetCalcLine(QStringLiteral("RANDOM(1)"));
    EXPECT_EQ(calc.NumberNum(), 0);
    // The calculator draws from the shared sequence.
    vcl::SetRandSeed(7);
    std::vector<long double> first;
    for (int i = 0; i < 5; ++i) {
        calc.SetCalcLine(QStringLiteral("RANDOM(1000)"));
        first.push_back(calc.NumberNum());
    }
    vcl::SetRandSeed(7);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(vcl::Random(1000), first[static_cast<size_t>(i)]);
}

TEST(CalcFormat, DefaultIsScientificWithFifteenDigitsAndFormatLineReplacesIt)
{
    TqvCalc calc;
    calc.SetCalcLine(QStringLiteral("7"));
    EXPECT_EQ(calc.Number(), QStringLiteral("7.00000000000000E+000"));
    calc.SetCalcLine(QStringLiteral("-1/8"));
    EXPECT_EQ(calc.Number(), QStringLiteral("-1.25000000000000E-001"));
    EXPECT_EQ(calc.RegisterB(), QStringLiteral("7.00000000000000E+000"));
    EXPECT_EQ(calc.RegisterC(), QStringLiteral("0.00000000000000E+000"));
    calc.SetCalcLine(QStringLiteral("2/3"));
    EXPECT_EQ(calc.Number(), QStringLiteral("6.66666666666667E-001"));
    // Extended values beyond the double range keep their exponent.
    calc.SetRegisterDNum(1e300L);
    calc.SetCalcLine(QStringLiteral("D*D*10"));
    EXPECT_EQ(calc.Number(), QStringLiteral("1.00000000000000E+601"));
    // The framework's decimal separator is followed.
    calc.SetCalcLine(QStringLiteral("1,5"));
    vcl::FormatSettings().DecimalSeparator = u',';
    const QString text = calc.Number();
    vcl::FormatSettings().DecimalSeparator = u'.';
    EXPECT_EQ(text, QStringLiteral("1,50000000000000E+000"));
    // A format line formats the number and the registers.
    calc.SetFormatLine(QStringLiteral("%.2f"));
    calc.SetCalcLine(QStringLiteral("7"));
    EXPECT_EQ(calc.Number(), QStringLiteral("7.00"));
    calc.SetCalcLine(QStringLiteral("2/3"));
    EXPECT_EQ(calc.Number(), QStringLiteral("0.67"));
    EXPECT_EQ(calc.RegisterB(), QStringLiteral("7.00"));
    calc.SetFormatLine(QStringLiteral("= %8.3f units"));
    EXPECT_EQ(calc.Number(), QStringLiteral("=    0.667 units"));
    // An exception from OnError over a bad format still restores the result.
    calc.SetFormatLine(QStringLiteral("%d"));
    calc.OnError = [](vcl::TObject*, const QString&, uint8_t) { throw std::runtime_error("format"); };
    EXPECT_THROW(calc.Number(), std::runtime_error);
    EXPECT_EQ(calc.CalcResult(), TqvcOK);
}

class CalcFormatErrors : public ::testing::TestWithParam<const char*> {};

TEST_P(CalcFormatErrors, ReportThroughOnErrorAndGiveEmptyText)
{
    TqvCalc calc;
    const QString formatLine = QString::fromLatin1(GetParam());
    calc.SetCalcLine(QStringLiteral("2/0")); // leaves TqvcDivZero, which must come back
    calc.SetFormatLine(formatLine);
    std::vector<std::pair<QString, int>> reported;
    TqvCalcResult resultDuringEvent = TqvcOK;
    calc.OnError = [&](vcl::TObject*, const QString& line, uint8_t where) {
        reported.emplace_back(line, where);
        resultDuringEvent = calc.CalcResult();
    };
    EXPECT_EQ(calc.Number(), QString());
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported[0].first, formatLine);
    EXPECT_EQ(reported[0].second, 0);
    EXPECT_EQ(resultDuringEvent, TqvcFormatError);
    EXPECT_EQ(calc.CalcResult(), TqvcDivZero);
    EXPECT_EQ(calc.RegisterJ(), QString());
    EXPECT_EQ(reported.size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(Calc, CalcFormatErrors, ::testing::Values("%d", "%s", "%x", "%.2f and %.2f", "%q", "100%"));

// The floating-point environment the caller had is back after every evaluation.
class FloatEnvironment : public ::testing::TestWithParam<const char*> {
protected:
    void TearDown() override
    {
        fedisableexcept(FE_ALL_EXCEPT);
        std::fesetround(FE_TONEAREST);
        std::feclearexcept(FE_ALL_EXCEPT);
    }
};

TEST_P(FloatEnvironment, FlagsMasksAndRoundingAreRestored)
{
    TqvCalc calc;
    std::feclearexcept(FE_ALL_EXCEPT);
    std::feraiseexcept(FE_UNDERFLOW);
    // Traps on: were the evaluation to run with them, a fault would kill the program.
    feenableexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW);
    std::fesetround(FE_UPWARD);
    calc.SetCalcLine(QString::fromLatin1(GetParam()));
    const int traps = fegetexcept();
    const int rounding = std::fegetround();
    const int flags = std::fetestexcept(FE_ALL_EXCEPT);
    fedisableexcept(FE_ALL_EXCEPT);
    EXPECT_EQ(traps, FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW);
    EXPECT_EQ(rounding, FE_UPWARD);
    EXPECT_EQ(flags, FE_UNDERFLOW);
}

INSTANTIATE_TEST_SUITE_P(Calc, FloatEnvironment, ::testing::Values(
    "1/3", "EXP(100000)", "10^5000", "ARCCOS(0)", "ROUND(10^19)", "SQRT(-1)", "EXP(-100000)"));

TEST(Calc, EvaluatesRoundingToNearestWhateverTheCallerSet)
{
    TqvCalc calc;
    std::fesetround(FE_UPWARD);
    calc.SetCalcLine(QStringLiteral("1/3"));
    std::fesetround(FE_TONEAREST);
    // 1/3 to the nearest 64-bit mantissa: round(2^65 / 3) / 2^65, from /usr/bin/python3
    // (Fraction(2**65, 3) rounds to 12297829382473034411).
    EXPECT_EQ(calc.NumberNum(), std::ldexp(12297829382473034411.0L, -65));
}

#if defined(__x86_64__) || defined(__i386__)
TEST(Calc, EvaluatesInExtendedPrecisionWhateverTheX87ControlWordSays)
{
    uint16_t saved = 0;
    asm volatile("fnstcw %0" : "=m"(saved));
    const uint16_t doublePrecision = static_cast<uint16_t>((saved & ~0x0300) | 0x0200);
    asm volatile("fldcw %0" : : "m"(doublePrecision));
    TqvCalc calc;
    calc.SetCalcLine(QStringLiteral("1/3"));
    uint16_t after = 0;
    asm volatile("fnstcw %0" : "=m"(after));
    asm volatile("fldcw %0" : : "m"(saved));
    EXPECT_EQ(after, doublePrecision);
    EXPECT_EQ(calc.NumberNum(), std::ldexp(12297829382473034411.0L, -65)); // as above
}
#endif

TEST(Calc, PropertiesAreReachableThroughTheMetaObject)
{
    TqvCalc calc;
    const QMetaObject* meta = calc.metaObject();
    QStringList names;
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i)
        names << QString::fromLatin1(meta->property(i).name());
    EXPECT_EQ(names.first(), QStringLiteral("PushResult"));
    EXPECT_EQ(names.last(), QStringLiteral("NumberNum"));
    EXPECT_EQ(names.size(), 25);

    EXPECT_TRUE(calc.setProperty("CalcLine", QStringLiteral("2+2")));
    EXPECT_EQ(calc.NumberNum(), 4);
    EXPECT_TRUE(calc.setProperty("RegisterGNum", QVariant::fromValue(1.25L)));
    EXPECT_EQ(calc.RegisterGNum(), 1.25L);
    EXPECT_EQ(calc.property("RegisterGNum").value<long double>(), 1.25L);
    // The computed mirrors accept a written value and go on showing their own.
    EXPECT_TRUE(calc.setProperty("NumberNum", QVariant::fromValue(99.0L)));
    EXPECT_TRUE(calc.setProperty("CalcResult", QVariant::fromValue(TqvcOverFlow)));
    EXPECT_TRUE(calc.setProperty("WhereIsLastError", QVariant::fromValue(quint8(9))));
    EXPECT_EQ(calc.NumberNum(), 4);
    EXPECT_EQ(calc.CalcResult(), TqvcOK);
    EXPECT_EQ(calc.WhereIsLastError(), 4);
    EXPECT_EQ(calc.property("CalcResult").value<TqvCalcResult>(), TqvcOK);
    EXPECT_EQ(CalcResultName(TqvcOK), QStringLiteral("TqvcOK"));
    EXPECT_EQ(CalcResultName(TqvcRightPar), QStringLiteral("TqvcRightPar"));
    EXPECT_EQ(CalcResultName(TqvcFormatError), QStringLiteral("TqvcFormatError"));
}

TEST(MathFunctions, PowerLogarithmInverseTrigonometryFactorialAndPrimes)
{
    EXPECT_EQ(Power(0, 0), 0);
    EXPECT_EQ(Power(5, 0), 1);
    EXPECT_EQ(Power(0, -1), 0);
    EXPECT_NEAR(static_cast<double>(Power(-2, 3)), 8.0, 1e-15);
    EXPECT_NEAR(static_cast<double>(Power(2, 0.5)), 1.4142135623730951, 1e-15); // python3: math.sqrt(2)
    EXPECT_NEAR(static_cast<double>(Power(10, -2)), 0.01, 1e-17);
    EXPECT_NEAR(static_cast<double>(Root(3, 27)), 3.0, 1e-15);
    EXPECT_NEAR(static_cast<double>(Root(2, -16)), 4.0, 1e-15);
    EXPECT_NEAR(static_cast<double>(Log10(1000)), 3.0, 1e-15);
    EXPECT_NEAR(static_cast<double>(Log10(0.01L)), -2.0, 1e-15);
    EXPECT_EQ(static_cast<double>(ArcSin(0.5)), 0.5235987755982989);   // as in the table above
    EXPECT_EQ(static_cast<double>(ArcCos(-0.5)), -1.0471975511965979); // arccos(x) - pi
    EXPECT_EQ(static_cast<double>(ArcCos(0.5)), 1.0471975511965979);
    std::feclearexcept(FE_ALL_EXCEPT);
    const long double atZero = ArcCos(0);
    EXPECT_NE(std::fetestexcept(FE_DIVBYZERO), 0);
    std::feclearexcept(FE_ALL_EXCEPT);
    EXPECT_NEAR(static_cast<double>(atZero), 1.5707963267948966, 1e-15); // atan(+inf)

    EXPECT_EQ(Factorial(-5), 1);
    EXPECT_EQ(Factorial(0), 1);
    EXPECT_EQ(Factorial(1), 1);
    EXPECT_EQ(Factorial(5), 120);
    // python3: math.factorial(25); its odd part 3698160658676859375 fits 64 bits, so
    // extended precision holds it exactly.
    EXPECT_EQ(Factorial(25), 15511210043330985984000000.0L);
    // log10(1754!) is 4930.3 and log10(1755!) 4933.5 (python3: math.lgamma), while the
    // extended range ends near 1.19e4932.
    EXPECT_TRUE(std::isfinite(Factorial(1754)));
    std::feclearexcept(FE_ALL_EXCEPT);
    EXPECT_TRUE(std::isinf(Factorial(std::numeric_limits<int32_t>::max())));
    std::feclearexcept(FE_ALL_EXCEPT);

    for (int n : {0, 1, 2, 3, 5, 7, 97, 46337, 2147483647})
        EXPECT_TRUE(IsPrime(n)) << n;
    // 2147117569 = 46337^2 and 2147483646 = 2 x 1073741823.
    for (int n : {4, 9, 25, 91, 2147117569, 2147483646})
        EXPECT_FALSE(IsPrime(n)) << n;
    for (int n : {-1, -2, -7, std::numeric_limits<int32_t>::min()})
        EXPECT_FALSE(IsPrime(n)) << n;
}

} // namespace
