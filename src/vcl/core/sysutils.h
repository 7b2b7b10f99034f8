#pragma once
// Exceptions, formatting, conversions, dates and file-name helpers of the framework layer.
#include <QChar>
#include <QDateTime>
#include <QString>
#include <concepts>
#include <cstdint>
#include <exception>
#include <initializer_list>
#include <string>
#include <type_traits>
#include <variant>

namespace vcl {

// Base of every exception the framework and the units raise; carries a message.
class Exception : public std::exception {
public:
    explicit Exception(QString message);
    const QString& Message() const { return FMessage; }
    void SetMessage(const QString& message);
    const char* what() const noexcept override { return FUtf8.c_str(); }

private:
    QString FMessage;
    std::string FUtf8;
};

class EConvertError : public Exception { public: using Exception::Exception; };
class EComponentError : public Exception { public: using Exception::Exception; };
class EInvalidCast : public Exception { public: using Exception::Exception; };
class EInvalidOperation : public Exception { public: using Exception::Exception; };
class EResNotFound : public Exception { public: using Exception::Exception; };
class EStreamError : public Exception { public: using Exception::Exception; };
class EFOpenError : public EStreamError { public: using EStreamError::EStreamError; };
class EReadError : public EStreamError { public: using EStreamError::EStreamError; };
class EWriteError : public EStreamError { public: using EStreamError::EStreamError; };
// Arithmetic faults the original raised from the processor's traps.
class EDivByZero : public Exception { public: using Exception::Exception; };
class EIntOverflow : public Exception { public: using Exception::Exception; };
class EInvalidOp : public Exception { public: using Exception::Exception; };

// An operating-system failure with its error code (errno on Linux).
class EOSError : public Exception {
public:
    EOSError(QString message, int errorCode) : Exception(std::move(message)), ErrorCode(errorCode) {}
    int ErrorCode;
};

// One argument of Format: the original's "array of const" element. Integers remember
// whether they were 32 bits wide, so that %u and %x show a negative int as the
// original's 32-bit two's complement (Format("%x", {-1}) is "FFFFFFFF").
class TVarRec {
public:
    TVarRec(int v) : FValue(static_cast<int64_t>(v)), F32Bit(true) {}
    TVarRec(unsigned v) : FValue(static_cast<int64_t>(v)), F32Bit(true) {}
    TVarRec(long v) : FValue(static_cast<int64_t>(v)) {}
    TVarRec(long long v) : FValue(static_cast<int64_t>(v)) {}
    TVarRec(unsigned long v) : FValue(static_cast<int64_t>(v)) {}
    TVarRec(unsigned long long v) : FValue(static_cast<int64_t>(v)) {}
    TVarRec(double v) : FValue(static_cast<long double>(v)) {}
    TVarRec(long double v) : FValue(v) {}
    TVarRec(const QString& v) : FValue(v) {}
    TVarRec(const char* v) : FValue(QString::fromUtf8(v)) {}
    TVarRec(const std::string& v) : FValue(QString::fromStdString(v)) {}
    // A character is a one-character string, as the original's Char argument.
    TVarRec(char v) : FValue(QString(QChar::fromLatin1(v))) {}
    TVarRec(QChar v) : FValue(QString(v)) {}
    TVarRec(const void* v) : FValue(v) {}

    bool IsInteger() const { return std::holds_alternative<int64_t>(FValue); }
    bool IsFloat() const { return std::holds_alternative<long double>(FValue); }
    bool IsString() const { return std::holds_alternative<QString>(FValue); }
    bool IsPointer() const { return std::holds_alternative<const void*>(FValue); }
    int64_t AsInteger() const { return std::get<int64_t>(FValue); }
    long double AsFloat() const { return std::get<long double>(FValue); }
    const QString& AsString() const { return std::get<QString>(FValue); }
    const void* AsPointer() const { return std::get<const void*>(FValue); }
    // The integer as an unsigned number of its own width.
    uint64_t AsUnsigned() const
    {
        const auto v = static_cast<uint64_t>(AsInteger());
        return F32Bit ? (v & 0xFFFFFFFFu) : v;
    }

private:
    std::variant<int64_t, long double, QString, const void*> FValue;
    bool F32Bit = false;
};

// Date and time: days since 30 December 1899, the time of day as the fraction.
using TDateTime = double;

// The table that number, currency, date and time formatting read. The defaults are a
// fixed English (United States) set, never the machine's locale, so that results are
// the same everywhere; an application may change the table through FormatSettings().
struct TFormatSettings {
    QChar DecimalSeparator = u'.';
    QChar ThousandSeparator = u',';
    QString CurrencyString = QStringLiteral("$");
    // 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $".
    int CurrencyFormat = 0;
    // 0 "($1)" ... 15 "(1 $)", the original's sixteen negative currency layouts.
    int NegCurrFormat = 0;
    int CurrencyDecimals = 2;
    QChar DateSeparator = u'/';
    QChar TimeSeparator = u':';
    QString ShortDateFormat = QStringLiteral("m/d/yyyy");
    QString LongDateFormat = QStringLiteral("dddd, mmmm d, yyyy");
    QString ShortTimeFormat = QStringLiteral("h:nn AMPM");
    QString LongTimeFormat = QStringLiteral("h:nn:ss AMPM");
    QString TimeAMString = QStringLiteral("AM");
    QString TimePMString = QStringLiteral("PM");
    QString ShortMonthNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    QString LongMonthNames[12] = {"January", "February", "March", "April", "May", "June", "July",
                                  "August", "September", "October", "November", "December"};
    QString ShortDayNames[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    QString LongDayNames[7] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
};

// The process-wide format table (set it up before threads start formatting).
TFormatSettings& FormatSettings();

// Formats Args by the specifiers of Fmt: "%" [index ":"] ["-"] [width] ["." precision]
// type, with type one of d u e f g n m s x p, and "%%" for a percent sign. Index,
// width and precision may be "*" to take an integer from Args. Raises EConvertError
// when an argument is missing or does not fit its specifier.
QString Format(const QString& Fmt, std::initializer_list<TVarRec> Args);

// Formats Value by a picture of "0" "#" "," "." "E+" "E-" and quoted literals, with up
// to three ";"-separated sections for positive, negative and zero values.
QString FormatFloat(const QString& Fmt, long double Value);
// The shortest text with up to 15 significant digits (the general format).
QString FloatToStr(long double Value);
// Reads a number with an optional exponent; raises EConvertError on anything else.
long double StrToFloat(const QString& S);

template <std::integral T>
QString IntToStr(T Value)
{
    if constexpr (std::is_signed_v<T>)
        return QString::number(static_cast<qlonglong>(Value));
    else
        return QString::number(static_cast<qulonglong>(Value));
}

QString IntToHexImpl(uint64_t Value, int Digits);

// Upper-case hexadecimal with at least Digits digits; a negative value shows the two's
// complement of its own width (IntToHex(-1, 2) is "FFFFFFFF" for an int).
template <std::integral T>
QString IntToHex(T Value, int Digits)
{
    using U = std::make_unsigned_t<T>;
    return IntToHexImpl(static_cast<uint64_t>(static_cast<U>(Value)), Digits);
}

// Decimal (or "$"-prefixed hexadecimal) integer text; raises EConvertError
// "'S' is not a valid integer value" otherwise.
int StrToInt(const QString& S);
int StrToIntDef(const QString& S, int Default);

// Removes spaces and control characters at both ends (at the start, at the end).
QString Trim(const QString& S);
QString TrimLeft(const QString& S);
QString TrimRight(const QString& S);
// Changes the case of the letters a-z and A-Z only.
QString UpperCase(const QString& S);
QString LowerCase(const QString& S);
// Changes the case of every letter by the rules of the default QLocale (the system's
// unless the application sets another with QLocale::setDefault).
QString AnsiUpperCase(const QString& S);
QString AnsiLowerCase(const QString& S);
// Compares ignoring the case of a-z: negative, zero or positive.
int CompareText(const QString& S1, const QString& S2);
bool SameText(const QString& S1, const QString& S2);

// Rounds to the nearest integer, halves to the even one. Raises EInvalidOp for a value
// outside the 64-bit range or not a number.
int64_t Round(long double Value);
// Drops the fraction (toward zero); raises EInvalidOp like Round.
int64_t Trunc(long double Value);
// A * B / C with a 64-bit product, rounded to nearest with halves away from zero.
// Returns -1 when C is 0 or the result does not fit 32 bits, as the platform does.
int MulDiv(int A, int B, int C);
// A * B / C with a 64-bit product and the quotient truncated toward zero. Raises
// EDivByZero when C is 0 and EIntOverflow when the quotient does not fit 32 bits.
int Muldv(int A, int B, int C);

// File names use "/" as the delimiter.
QString ExtractFileName(const QString& FileName);
// The folder part including its final "/".
QString ExtractFilePath(const QString& FileName);
// The folder part without a final "/" (except the root itself).
QString ExtractFileDir(const QString& FileName);
// The extension with its dot ("" when the name has none).
QString ExtractFileExt(const QString& FileName);
QString ChangeFileExt(const QString& FileName, const QString& Extension);
QString IncludeTrailingPathDelimiter(const QString& S);
QString ExcludeTrailingPathDelimiter(const QString& S);
// True for an existing entry that is not a folder.
bool FileExists(const QString& FileName);
bool DirectoryExists(const QString& Directory);

// The framework's pseudo-random sequence (a linear congruential generator on
// RandSeed, so a fixed seed repeats the same numbers).
// An integer in [0, Range), 0 when Range is not positive.
int Random(int Range);
// A number in [0, 1).
double Random();
// Seeds the sequence from the clock.
void Randomize();
uint32_t RandSeed();
void SetRandSeed(uint32_t Seed);

// Dates and times. Before 30 December 1899 values are negative: the integer part
// counts the days and the fraction's magnitude is the time of day. Encoding invalid
// parts raises EConvertError.
TDateTime EncodeDate(int Year, int Month, int Day);
TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec);
void DecodeDate(TDateTime DateTime, int& Year, int& Month, int& Day);
void DecodeTime(TDateTime DateTime, int& Hour, int& Min, int& Sec, int& MSec);
// 1 Sunday ... 7 Saturday.
int DayOfWeek(TDateTime DateTime);
TDateTime Now();
TDateTime DateTimeFromQDateTime(const QDateTime& DateTime);
QDateTime DateTimeToQDateTime(TDateTime DateTime);
// Formats by the original's date and time picture: d dd ddd dddd ddddd dddddd,
// m mm mmm mmmm, yy yyyy, h hh, n nn, s ss, z zzz, t tt, c, am/pm a/p ampm, / :, quoted
// literals. "m" right after "h" or "hh" means minutes.
QString FormatDateTime(const QString& Fmt, TDateTime DateTime);
// The short date and the long time; the time is left out at midnight.
QString DateTimeToStr(TDateTime DateTime);
QString DateToStr(TDateTime DateTime);
QString TimeToStr(TDateTime DateTime);
// Reads a date in the short date format's order (day, month and year as numbers; a
// missing year is this year, a two-digit year the one within 50 years of this year),
// optionally followed by a time "h[:n[:s[.z]]]" with AM/PM; raises EConvertError
// "'S' is not a valid date and time" otherwise.
TDateTime StrToDateTime(const QString& S);
TDateTime StrToDate(const QString& S);
TDateTime StrToTime(const QString& S);

} // namespace vcl
