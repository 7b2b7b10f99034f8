#pragma once
// Qvscontrols: the expression calculator TqvCalc and the unit's free math functions.
#include "vcl/core/classes.h"
#include "vcl/core/types.h"

#include <QObject>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>

namespace Qvscontrols {
Q_NAMESPACE

// Outcome of the last evaluation. TqvcFormatError is visible only while OnError runs
// for a value that the format line could not format.
enum TqvCalcResult : uint8_t {
    TqvcOK,
    TqvcNumberMissing,   // a number was expected and no digit was found
    TqvcFunctionMissing, // a name is neither built in nor accepted by OnFindUserFunc
    TqvcLeftPar,         // a function that takes an argument is not followed by "("
    TqvcRightPar,        // a parenthesised expression is not closed by ")"
    TqvcDivZero,         // division by zero, and every domain error of a built-in function
    TqvcOverFlow,        // an arithmetic fault during evaluation
    TqvcFormatError,     // Number or a register text could not be formatted
};
Q_ENUM_NS(TqvCalcResult)

// The name of a result code as the code spells it ("TqvcRightPar").
QString CalcResultName(TqvCalcResult Result);

// Called when an evaluation fails, with the line and the 1-based position of the fault.
using TCalcErrorEvent = std::function<void(vcl::TObject* Sender, const QString& CalcLine, uint8_t Where)>;
// Asked for a name that is not built in; true makes it a function of one argument.
using TFindUserFunc = std::function<bool(vcl::TObject* Sender, const QString& FuncName)>;
// Computes the user function FuncName for the argument FuncValue.
using TUserFunc = std::function<long double(vcl::TObject* Sender, const QString& FuncName, long double FuncValue)>;

// Evaluates the arithmetic expression written to CalcLine at once, by recursive descent,
// in 80-bit extended precision with every factor rounded to double. Nine registers
// (A, B, C, D, F, G, H, I, J; E is Euler's number) keep earlier results. Errors are
// never thrown: they are reported through CalcResult, WhereIsLastError and OnError.
//
// Grammar, from the lowest precedence: "+" "-"; then "*" "/" "^" on one level, all
// left-associative (2^3^2 is 64); then numbers, parentheses, registers, constants and
// functions of one argument. A minus is a sign only at the start of an expression.
class TqvCalc : public QObject, public vcl::TComponent {
    Q_OBJECT
    Q_PROPERTY(bool PushResult READ PushResult WRITE SetPushResult)
    Q_CLASSINFO("Default:PushResult", "True")
    Q_PROPERTY(Qvscontrols::TqvCalcResult CalcResult READ CalcResult WRITE Discard)
    Q_PROPERTY(quint8 WhereIsLastError READ WhereIsLastError WRITE Discard)
    Q_PROPERTY(QString CalcLine READ CalcLine WRITE SetCalcLine)
    Q_PROPERTY(QString FormatLine READ FormatLine WRITE SetFormatLine)
    Q_PROPERTY(QString Number READ Number WRITE Discard)
    Q_PROPERTY(QString RegisterA READ RegisterA WRITE Discard)
    Q_PROPERTY(QString RegisterB READ RegisterB WRITE Discard)
    Q_PROPERTY(QString RegisterC READ RegisterC WRITE Discard)
    Q_PROPERTY(QString RegisterD READ RegisterD WRITE Discard)
    Q_PROPERTY(QString RegisterF READ RegisterF WRITE Discard)
    Q_PROPERTY(QString RegisterG READ RegisterG WRITE Discard)
    Q_PROPERTY(QString RegisterH READ RegisterH WRITE Discard)
    Q_PROPERTY(QString RegisterI READ RegisterI WRITE Discard)
    Q_PROPERTY(QString RegisterJ READ RegisterJ WRITE Discard)
    Q_PROPERTY(long double RegisterANum READ RegisterANum WRITE SetRegisterANum)
    Q_PROPERTY(long double RegisterBNum READ RegisterBNum WRITE SetRegisterBNum)
    Q_PROPERTY(long double RegisterCNum READ RegisterCNum WRITE SetRegisterCNum)
    Q_PROPERTY(long double RegisterDNum READ RegisterDNum WRITE SetRegisterDNum)
    Q_PROPERTY(long double RegisterFNum READ RegisterFNum WRITE SetRegisterFNum)
    Q_PROPERTY(long double RegisterGNum READ RegisterGNum WRITE SetRegisterGNum)
    Q_PROPERTY(long double RegisterHNum READ RegisterHNum WRITE SetRegisterHNum)
    Q_PROPERTY(long double RegisterINum READ RegisterINum WRITE SetRegisterINum)
    Q_PROPERTY(long double RegisterJNum READ RegisterJNum WRITE SetRegisterJNum)
    Q_PROPERTY(long double NumberNum READ NumberNum WRITE Discard)

public:
    // Number of registers, A to J without E.
    static constexpr int RegisterCount = 9;
    // Longest expression evaluated; the rest of a longer text is cut off.
    static constexpr int MaxLineLength = 254;
    // Names are looked up, and handed to the handlers, by this many leading letters.
    static constexpr int MaxNameLength = 10;

    // Creates the calculator (no owner is needed).
    explicit TqvCalc(vcl::TComponent* AOwner = nullptr);

    // Pushes each result, a failed one too, into the registers: A takes it, the others move
    // one along.
    bool PushResult() const { return FPushResult; }
    void SetPushResult(bool Value) { FPushResult = Value; }
    // The result code of the last evaluation (TqvcOK when it succeeded).
    TqvCalcResult CalcResult() const { return FCalcResult; }
    // 1-based position in CalcLine where the scan stopped; CalcLine's length + 1 is its end.
    quint8 WhereIsLastError() const { return FPos; }

    // The expression (at most its first 254 characters); empty text reads back as "0".
    QString CalcLine() const;
    // Evaluates Value, pushes the result into the registers when PushResult is set,
    // and calls OnError or OnOK. Raises EInvalidOperation when called from
    // OnFindUserFunc or OnUserFunc (which ends that evaluation with TqvcOverFlow).
    void SetCalcLine(const QString& Value);

    // A format text for Format with the value as its one floating argument;
    // empty means "%e" (3 reads 3.00000000000000E+000).
    const QString& FormatLine() const { return FFormatLine; }
    void SetFormatLine(const QString& Value) { FFormatLine = Value; }

    // The formatted texts call OnError when the format line does not fit the value,
    // and are empty then; so they are not const.
    QString Number() { return FormatValue(FNumber); }
    long double NumberNum() const { return FNumber; } // The last result as a number.

    // Registers by number: 1 = A, 2 = B, 3 = C, 4 = D, 5 = F, 6 = G, 7 = H, 8 = I, 9 = J.
    QString GetReg(int RegisterNumber);
    long double GetRegNum(int RegisterNumber) const; // (see GetReg)
    void SetRegNum(int RegisterNumber, long double Value); // Sets a register by number.

    // The registers as formatted texts, one property each.
    //@{
    QString RegisterA() { return GetReg(1); }
    QString RegisterB() { return GetReg(2); }
    QString RegisterC() { return GetReg(3); }
    QString RegisterD() { return GetReg(4); }
    QString RegisterF() { return GetReg(5); }
    QString RegisterG() { return GetReg(6); }
    QString RegisterH() { return GetReg(7); }
    QString RegisterI() { return GetReg(8); }
    QString RegisterJ() { return GetReg(9); }
    //@}


    // The registers as numbers, one property each.
    //@{
    long double RegisterANum() const { return GetRegNum(1); }
    long double RegisterBNum() const { return GetRegNum(2); }
    long double RegisterCNum() const { return GetRegNum(3); }
    long double RegisterDNum() const { return GetRegNum(4); }
    long double RegisterFNum() const { return GetRegNum(5); }
    long double RegisterGNum() const { return GetRegNum(6); }
    long double RegisterHNum() const { return GetRegNum(7); }
    long double RegisterINum() const { return GetRegNum(8); }
    long double RegisterJNum() const { return GetRegNum(9); }
    void SetRegisterANum(long double Value) { SetRegNum(1, Value); }
    void SetRegisterBNum(long double Value) { SetRegNum(2, Value); }
    void SetRegisterCNum(long double Value) { SetRegNum(3, Value); }
    void SetRegisterDNum(long double Value) { SetRegNum(4, Value); }
    void SetRegisterFNum(long double Value) { SetRegNum(5, Value); }
    void SetRegisterGNum(long double Value) { SetRegNum(6, Value); }
    void SetRegisterHNum(long double Value) { SetRegNum(7, Value); }
    void SetRegisterINum(long double Value) { SetRegNum(8, Value); }
    void SetRegisterJNum(long double Value) { SetRegNum(9, Value); }
    //@}


    // Asked for a name that is not built in; true makes it a function of one argument.
    TFindUserFunc OnFindUserFunc;
    // Computes an accepted user function; unassigned, the function gives its argument.
    TUserFunc OnUserFunc;
    // After an evaluation that failed (CalcLine, WhereIsLastError), or with the format
    // line and 0 when formatting failed.
    TCalcErrorEvent OnError;
    // After an evaluation that succeeded.
    vcl::TNotifyEvent OnOK;

private:
    // The computed mirrors (CalcResult, Number, the register texts ...) accept a written
    // value, so that form files and the design host can hold them, and ignore it.
    void Discard(TqvCalcResult) {}
    void Discard(quint8) {}
    void Discard(const QString&) {}
    void Discard(long double) {}

    // The parser: each works on FLine at FPos.
    long double Udtryk(); // expression: terms joined by + and -
    long double Led();    // term: factors joined by *, / and ^
    double Faktor();      // factor, rounded to double
    long double Tal();    // unsigned number with "." or "," as decimal point
    long double Parantes(); // "(" expression ")"
    int FuncNr();         // reads a name into FName and returns its number
    QChar NaesteTegn();   // skips spaces and returns the character at FPos

    QChar Current() const { return FLine.at(FPos - 1); }
    // Steps past the current character unless it is the end marker.
    void StepPastCurrent();
    long double NamedValue(int NameNumber, const QString& Name, long double Argument);
    long double GuardedValue(int NameNumber, long double Argument);
    QString FormatValue(long double Value);
    // Index into FRegisters; raises EInvalidOperation outside 1 to 9.
    static size_t RegisterIndex(int RegisterNumber);

    TqvCalcResult FCalcResult = TqvcOK;
    bool FPushResult = true;
    QString FLine;    // the expression followed by the end marker
    quint8 FPos = 1;  // 1-based scan position in FLine
    long double FNumber = 0;
    QString FFormatLine;
    std::array<long double, RegisterCount> FRegisters{};
    QString FName;    // the name most recently scanned, at most MaxNameLength letters
    bool FEvaluating = false;
};

// Free math functions; arguments and results are extended precision. Faults follow
// IEEE rules: the result is infinite or NaN and the floating-point flag is raised.

// Base to the power Exponent through the magnitude of Base: (-2)^3 is 8. 0^0 is 0,
// x^0 is 1, 0^x is 0.
long double Power(long double Base, long double Exponent);
// The N-th root of X: Power(X, 1 / N).
long double Root(long double N, long double X);
// The logarithm to base 10.
long double Log10(long double X);
// arctan(X / sqrt(1 - X*X)); meant for -1 < X < 1.
long double ArcSin(long double X);
// arctan(sqrt(1 - X*X) / X): between -pi/2 and pi/2, so for negative X it is
// arccos(X) - pi; X = 0 divides by zero.
long double ArcCos(long double X);
// 2 x 3 x ... x N in extended precision; 1 for N < 2.
long double Factorial(int32_t N);
// Trial division up to the square root: true for 0, 1, 2, 3 and the primes, false for
// negative numbers.
bool IsPrime(int32_t N);

} // namespace Qvscontrols
