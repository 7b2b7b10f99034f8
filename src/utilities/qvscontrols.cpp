#include "utilities/qvscontrols.h"

#include "vcl/core/sysutils.h"
#include "vcl/core/unitstartup.h"

#include <QMetaEnum>
#include <QScopedValueRollback>
#include <algorithm>
#include <cfenv>
#include <cmath>
#include <limits>
#include <numbers>

namespace Qvscontrols {

// The unit needs nothing set up or torn down.
static const vcl::TUnitRegistration UnitRegistration(QStringLiteral("Qvscontrols"), {});

namespace {

// The built-in names; a name's number is its position. 0 to 8 are the registers,
// 9 and 10 constants, the rest functions of one argument.
constexpr const char16_t* BuiltInNames[] = {
    u"A", u"B", u"C", u"D", u"F", u"G", u"H", u"I", u"J",
    u"PI", u"E", u"EXP", u"SIN", u"COS", u"ARCTAN", u"ABS", u"FRAC", u"ARCSIN", u"ARCCOS",
    u"LN", u"LOG", u"SQR", u"SQRT", u"ROUND", u"TRUNC", u"CEILING", u"FLOOR", u"RANDOM",
};
constexpr int BuiltInCount = static_cast<int>(std::size(BuiltInNames));
static_assert(BuiltInCount == 28);

enum NameNumber {
    nPi = 9, // 0 to 8 are the registers A to J
    nE,
    nExp,
    nSin,
    nCos,
    nArcTan,
    nAbs,
    nFrac,
    nArcSin,
    nArcCos,
    nLn,
    nLog,
    nSqr,
    nSqrt,
    nRound,
    nTrunc,
    nCeiling,
    nFloor,
    nRandom,
    nUserFunction,
};
constexpr int FirstFunction = nExp;
static_assert(nUserFunction == BuiltInCount);

// Ends every line; the scanner never steps past it.
constexpr QChar EndMarker = u'\r';
const QString DefaultFormat = QStringLiteral("%e");

// An invalid operation, division by zero or overflow seen in the floating-point flags.
// Underflow, denormal operands and inexact results are no faults.
struct EArithmeticFault {};
constexpr int FaultFlags = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;

// Returns Value, or ends the evaluation when a fault flag went up on the way to it.
template <typename T>
T Checked(T Value)
{
    // The barrier makes the compiler finish computing Value before the flags are read.
    asm volatile("" : "+m"(Value) : : "memory");
    if (std::fetestexcept(FaultFlags) != 0)
        throw EArithmeticFault{};
    return Value;
}

// Gives an evaluation a floating-point environment of its own (flags clear, no traps,
// round to nearest, 64-bit x87 precision) and puts the caller's back afterwards,
// whatever happened: flags, exception masks, rounding and the x87 control word.
class TFloatEnvironment {
public:
    TFloatEnvironment()
    {
#if defined(__i386__) || defined(__x86_64__)
        FX87Control = ReadX87Control();
#endif
        std::feholdexcept(&FSaved);
        std::fesetround(FE_TONEAREST);
#if defined(__i386__) || defined(__x86_64__)
        WriteX87Control(ReadX87Control() | X87ExtendedPrecision);
#endif
    }
    ~TFloatEnvironment()
    {
        std::fesetenv(&FSaved);
#if defined(__i386__) || defined(__x86_64__)
        WriteX87Control(FX87Control);
#endif
    }
    TFloatEnvironment(const TFloatEnvironment&) = delete;
    TFloatEnvironment& operator=(const TFloatEnvironment&) = delete;

private:
    std::fenv_t FSaved;
#if defined(__i386__) || defined(__x86_64__)
    // Precision-control bits 8 and 9 of the x87 control word; both set = 64-bit mantissa.
    static constexpr uint16_t X87ExtendedPrecision = 0x0300;
    static uint16_t ReadX87Control()
    {
        uint16_t control;
        asm volatile("fnstcw %0" : "=m"(control));
        return control;
    }
    static void WriteX87Control(uint16_t control) { asm volatile("fldcw %0" : : "m"(control)); }
    uint16_t FX87Control;
#endif
};

QChar UpCase(QChar c)
{
    return c >= u'a' && c <= u'z' ? QChar(c.unicode() - (u'a' - u'A')) : c;
}

bool IsLetter(QChar upper)
{
    return upper >= u'A' && upper <= u'Z';
}

bool IsDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

int DigitValue(QChar c)
{
    return c.unicode() - u'0';
}

// x minus its integer part, keeping the sign of x.
long double Frac(long double x)
{
    return x - std::trunc(x);
}

} // namespace

QString CalcResultName(TqvCalcResult Result)
{
    return QString::fromLatin1(QMetaEnum::fromType<TqvCalcResult>().valueToKey(Result));
}

TqvCalc::TqvCalc(vcl::TComponent* AOwner)
    : TComponent(AOwner), FLine(QStringLiteral("0")) // the initial line is "0"
{
    FLine.append(EndMarker);
}

QString TqvCalc::CalcLine() const
{
    return FLine.chopped(1);
}

void TqvCalc::SetCalcLine(const QString& Value)
{
    // A handler that wrote CalcLine would pull the line away from under the scan.
    if (FEvaluating)
        throw vcl::EInvalidOperation(QStringLiteral("CalcLine cannot be set while the calculator evaluates"));
    FLine = Value.isEmpty() ? QStringLiteral("0") : Value.left(MaxLineLength);
    // Never keep half of a character that needs two UTF-16 units.
    if (FLine.size() == MaxLineLength && FLine.back().isHighSurrogate())
        FLine.chop(1);
    FLine.append(EndMarker);
    FCalcResult = TqvcOK;
    FPos = 1;

    long double value = 0;
    {
        const TFloatEnvironment environment;
        const QScopedValueRollback evaluating(FEvaluating, true);
        try {
            value = Udtryk();
        } catch (...) {
            // An arithmetic fault outside the guarded functions, or an exception from
            // OnFindUserFunc or OnUserFunc, ends the evaluation at once. The value of an
            // aborted evaluation is 0.
            FCalcResult = TqvcOverFlow;
            value = 0;
        }
    }

    // The push happens after failed evaluations as well.
    if (FPushResult) {
        std::copy_backward(FRegisters.begin(), FRegisters.end() - 1, FRegisters.end());
        FRegisters[0] = value;
    }
    FNumber = value;
    if (FCalcResult != TqvcOK) {
        if (OnError)
            OnError(this, CalcLine(), FPos);
    } else if (OnOK) {
        OnOK(this);
    }
}

QString TqvCalc::GetReg(int RegisterNumber)
{
    return FormatValue(GetRegNum(RegisterNumber));
}

size_t TqvCalc::RegisterIndex(int RegisterNumber)
{
    if (RegisterNumber < 1 || RegisterNumber > RegisterCount)
        throw vcl::EInvalidOperation(QStringLiteral("Register number %1 is outside 1 to 9").arg(RegisterNumber));
    return static_cast<size_t>(RegisterNumber - 1);
}

long double TqvCalc::GetRegNum(int RegisterNumber) const
{
    return FRegisters[RegisterIndex(RegisterNumber)];
}

void TqvCalc::SetRegNum(int RegisterNumber, long double Value)
{
    FRegisters[RegisterIndex(RegisterNumber)] = Value;
}

QString TqvCalc::FormatValue(long double Value)
{
    try {
        return vcl::Format(FFormatLine.isEmpty() ? DefaultFormat : FFormatLine, {Value});
    } catch (const vcl::Exception&) {
        // Reported below: the format line does not fit one floating argument.
    }
    const TqvCalcResult remembered = FCalcResult;
    FCalcResult = TqvcFormatError;
    if (OnError) {
        try {
            OnError(this, FFormatLine, 0);
        } catch (...) {
            FCalcResult = remembered;
            throw;
        }
    }
    FCalcResult = remembered;
    return {};
}

QChar TqvCalc::NaesteTegn()
{
    while (Current() == u' ')
        ++FPos;
    return Current();
}

void TqvCalc::StepPastCurrent()
{
    if (Current() != EndMarker)
        ++FPos;
}

long double TqvCalc::Udtryk()
{
    // A leading minus is read by the loop as a subtraction from 0, so it binds more
    // loosely than the operators of a term: -2^2 is -4.
    long double value = NaesteTegn() == u'-' ? 0 : Led();
    for (QChar op = NaesteTegn(); (op == u'+' || op == u'-') && FCalcResult == TqvcOK; op = NaesteTegn()) {
        ++FPos;
        const long double term = Led();
        value = Checked(op == u'+' ? value + term : value - term);
    }
    return value;
}

long double TqvCalc::Led()
{
    long double value = Faktor();
    for (QChar op = NaesteTegn(); (op == u'*' || op == u'/' || op == u'^') && FCalcResult == TqvcOK;
         op = NaesteTegn()) {
        ++FPos;
        const double factor = Faktor();
        if (op == u'*')
            value = Checked(value * factor);
        else if (op == u'^')
            value = Checked(Power(value, factor));
        else if (factor == 0)
            FCalcResult = TqvcDivZero; // the left operand stays as it is
        else
            value = Checked(value / factor);
    }
    return value;
}

double TqvCalc::Faktor()
{
    const QChar c = UpCase(NaesteTegn());
    long double value = 0;
    if (c == u'(') {
        value = Parantes();
    } else if (!IsLetter(c)) {
        value = Tal();
    } else {
        const int n = FuncNr();
        if (FCalcResult == TqvcOK) {
            const QString name = FName; // names inside the argument reuse FName
            const long double argument = n >= FirstFunction ? Parantes() : 0;
            // The function applies to the value its argument reached, even after an error.
            value = NamedValue(n, name, argument);
        }
    }
    return Checked(static_cast<double>(value));
}

long double TqvCalc::Tal()
{
    long double value = 0;
    bool anyDigit = false;
    for (; IsDigit(Current()); ++FPos) {
        value = value * 10 + DigitValue(Current());
        anyDigit = true;
    }
    // Both "." and "," are decimal points, whatever the locale.
    if (Current() == u'.' || Current() == u',') {
        ++FPos;
        long double scale = 0.1L;
        for (; IsDigit(Current()); ++FPos) {
            value += DigitValue(Current()) * scale;
            scale /= 10;
            anyDigit = true;
        }
    }
    if (!anyDigit) {
        FCalcResult = TqvcNumberMissing;
        return 0;
    }
    return value;
}

long double TqvCalc::Parantes()
{
    if (NaesteTegn() != u'(')
        FCalcResult = TqvcLeftPar;
    StepPastCurrent();
    if (FCalcResult != TqvcOK)
        return 0;
    const long double value = Udtryk();
    // After an error inside, the position stays where that error was found.
    if (FCalcResult == TqvcOK) {
        if (NaesteTegn() != u')')
            FCalcResult = TqvcRightPar;
        StepPastCurrent();
    }
    return value;
}

int TqvCalc::FuncNr()
{
    FName.clear();
    for (QChar c = UpCase(Current()); IsLetter(c) || c == u'_'; c = UpCase(Current())) {
        // The whole run is read, but only its first letters name the function.
        if (FName.size() < MaxNameLength)
            FName.append(c);
        ++FPos;
    }
    for (int n = 0; n < BuiltInCount; ++n)
        if (FName == QStringView(BuiltInNames[n]))
            return n;
    FCalcResult = TqvcFunctionMissing;
    if (OnFindUserFunc && OnFindUserFunc(this, FName)) {
        FCalcResult = TqvcOK;
        return nUserFunction;
    }
    return 0;
}

long double TqvCalc::NamedValue(int NameNumber, const QString& Name, long double Argument)
{
    const long double x = Argument;
    // A domain error makes the factor 0 and replaces an earlier code.
    const auto domainError = [this] {
        FCalcResult = TqvcDivZero;
        return 0.0L;
    };
    switch (NameNumber) {
    case nPi:
        return std::numbers::pi; // the double nearest to pi
    case nE:
        return std::exp(1.0L);
    case nExp:
        return std::exp(x);
    case nSin:
        return std::sin(x);
    case nCos:
        return std::cos(x);
    case nArcTan:
        return std::atan(x);
    case nAbs:
        return std::fabs(x);
    case nFrac:
        return Frac(x);
    case nArcSin:
        return x > -1 && x < 1 ? ArcSin(x) : domainError();
    case nArcCos:
        return x > -1 && x < 1 ? ArcCos(x) : domainError();
    case nLn:
        return x > 0 ? std::log(x) : domainError();
    case nLog:
        return x > 0 ? Log10(x) : domainError();
    case nSqr:
        return x * x;
    case nSqrt:
        return x >= 0 ? GuardedValue(nSqrt, x) : domainError();
    case nRound:
    case nTrunc:
    case nCeiling:
    case nFloor:
        return GuardedValue(NameNumber, x);
    case nRandom: {
        if (x == 0)
            return vcl::Random();
        // vcl::Round raises outside 64 bits, which ends the evaluation like any fault.
        // The limit is taken as a 32-bit integer; one beyond +-(2^31 - 1) is a fault
        // too, rather than a silently wrapped range.
        const int64_t n = vcl::Round(x);
        if (n < -std::numeric_limits<int32_t>::max() || n > std::numeric_limits<int32_t>::max())
            throw EArithmeticFault{};
        // A negative limit mirrors the range: an integer in (n, 0].
        const int limit = static_cast<int>(n);
        return limit >= 0 ? vcl::Random(limit) : -vcl::Random(-limit);
    }
    case nUserFunction:
        return OnUserFunc ? OnUserFunc(this, Name, x) : x;
    default: // 0 to 8, the registers
        return FRegisters[static_cast<size_t>(NameNumber)];
    }
}

long double TqvCalc::GuardedValue(int NameNumber, long double Argument)
{
    const long double x = Argument;
    try {
        switch (NameNumber) {
        case nSqrt:
            return Checked(std::sqrt(x));
        case nRound:
            return vcl::Round(x);
        case nTrunc:
            return vcl::Trunc(x);
        case nCeiling: {
            long double t = vcl::Trunc(x);
            if (Frac(x) > 0)
                t = t + 1;
            return vcl::Trunc(t);
        }
        default: { // nFloor
            long double t = vcl::Trunc(x);
            if (Frac(x) < 0)
                t = x - 1;
            return vcl::Trunc(t);
        }
        }
    } catch (const EArithmeticFault&) {
    } catch (const vcl::EInvalidOp&) {
    }
    // A fault inside these functions makes the factor 0 and ends the evaluation as an
    // error instead of aborting it.
    std::feclearexcept(FaultFlags);
    FCalcResult = TqvcOverFlow;
    return 0;
}

long double Power(long double Base, long double Exponent)
{
    if (Exponent == 0)
        return Base == 0 ? 0 : 1;
    if (Base == 0)
        return 0;
    return std::exp(std::log(std::fabs(Base)) * Exponent);
}

long double Root(long double N, long double X)
{
    return Power(X, 1 / N);
}

long double Log10(long double X)
{
    return std::log(X) / std::log(10.0L);
}

long double ArcSin(long double X)
{
    return std::atan(X / std::sqrt(1 - X * X));
}

long double ArcCos(long double X)
{
    return std::atan(std::sqrt(1 - X * X) / X);
}

long double Factorial(int32_t N)
{
    long double product = 1;
    // From 1755 on the product is infinite; multiplying on would change nothing.
    for (int32_t i = 2; i <= N && std::isfinite(product); ++i)
        product *= i;
    return product;
}

bool IsPrime(int32_t N)
{
    // A negative number has no square root to divide up to; it is no prime.
    if (N < 0)
        return false;
    const auto limit = static_cast<int32_t>(std::sqrt(static_cast<double>(N)));
    for (int32_t d = 2; d <= limit; ++d)
        if (N % d == 0)
            return false;
    return true;
}

} // namespace Qvscontrols
