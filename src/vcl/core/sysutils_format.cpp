// Format, FormatFloat and the float-to-text conversions they share.
#include "vcl/core/sysutils.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <string>

namespace vcl {

namespace {

// Significant digits an extended value carries; every conversion rounds from these.
constexpr int MaxDigits = 18;
constexpr int DefaultFloatPrecision = 15;
constexpr int DefaultFixedDecimals = 2;
// Beyond 18 integer digits the fixed formats would invent digits; the general format
// is used instead.
constexpr long double FixedLimit = 1e18L;

// A float as decimal digits: value = 0.Digits x 10^Exponent. Zero has no digits.
struct TFloatRec {
    bool Negative = false;
    int Exponent = 0;
    std::string Digits;
    bool IsZero() const { return Digits.empty(); }
};

// Rounds Value to at most Precision significant digits and at most Decimals digits
// after the point, halves away from zero, as the original did on its 18-digit
// decimal expansion of the value. Trailing zero digits are dropped.
TFloatRec FloatToDecimal(long double Value, int Precision, int Decimals)
{
    TFloatRec rec;
    if (Value == 0)
        return rec;
    rec.Negative = Value < 0;
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(Value), std::chars_format::scientific, MaxDigits - 1);
    const std::string text(buffer, result.ptr);
    // "d.ddddddddddddddddde+XX"
    const size_t e = text.find('e');
    std::string digits = text.substr(0, 1) + text.substr(2, e - 2);
    rec.Exponent = std::stoi(text.substr(e + 1)) + 1;

    const int keep = std::min(Precision, rec.Exponent + Decimals);
    if (keep < 0)
        return TFloatRec{};
    if (keep < static_cast<int>(digits.size())) {
        const bool up = digits[static_cast<size_t>(keep)] >= '5';
        digits.resize(static_cast<size_t>(keep));
        if (up) {
            int i = keep - 1;
            while (i >= 0 && digits[static_cast<size_t>(i)] == '9')
                digits[static_cast<size_t>(i--)] = '0';
            if (i >= 0) {
                ++digits[static_cast<size_t>(i)];
            } else {
                digits.insert(digits.begin(), '1');
                ++rec.Exponent;
            }
        }
    }
    while (!digits.empty() && digits.back() == '0')
        digits.pop_back();
    if (digits.empty())
        return TFloatRec{};
    rec.Digits = std::move(digits);
    return rec;
}

QChar DigitAt(const TFloatRec& rec, int index)
{
    return index >= 0 && index < static_cast<int>(rec.Digits.size()) ? QChar::fromLatin1(rec.Digits[static_cast<size_t>(index)]) : u'0';
}

// Inserts the thousands separator between groups of three integer digits.
QString GroupThousands(const QString& Digits)
{
    QString result;
    const qsizetype n = Digits.size();
    for (qsizetype k = 0; k < n; ++k) {
        result += Digits[k];
        if (k < n - 1 && (n - 1 - k) % 3 == 0)
            result += FormatSettings().ThousandSeparator;
    }
    return result;
}

QString IntegerPart(const TFloatRec& rec)
{
    if (rec.Exponent <= 0)
        return QString();
    QString digits;
    for (int i = 0; i < rec.Exponent; ++i)
        digits += DigitAt(rec, i);
    return digits;
}

QString FractionPart(const TFloatRec& rec, int Count)
{
    QString digits;
    for (int i = 0; i < Count; ++i)
        digits += DigitAt(rec, rec.Exponent + i);
    return digits;
}

QString ExponentText(int Exponent, bool ForceSign, int MinDigits)
{
    QString text = QStringLiteral("E");
    if (Exponent < 0)
        text += u'-';
    else if (ForceSign)
        text += u'+';
    return text + QString::number(std::abs(Exponent)).rightJustified(MinDigits, u'0');
}

std::optional<QString> SpecialText(long double Value)
{
    if (std::isnan(Value))
        return QStringLiteral("NAN");
    if (std::isinf(Value))
        return Value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    return std::nullopt;
}

QString Signed(const TFloatRec& rec, const QString& text)
{
    return rec.Negative ? u'-' + text : text;
}

// The general format: Precision significant digits, no trailing zeros, fixed notation
// unless the value needs more integer digits than Precision or is below 0.0001.
QString GeneralText(long double Value, int Precision)
{
    if (auto special = SpecialText(Value))
        return *special;
    const TFloatRec rec = FloatToDecimal(Value, Precision, 9999);
    if (rec.IsZero())
        return QStringLiteral("0");
    const QChar point = FormatSettings().DecimalSeparator;
    const int count = static_cast<int>(rec.Digits.size());
    QString text;
    if (rec.Exponent > Precision || rec.Exponent < -3) {
        text = DigitAt(rec, 0);
        if (count > 1)
            text += point + QString::fromLatin1(rec.Digits.substr(1));
        text += ExponentText(rec.Exponent - 1, false, 0);
    } else {
        text = rec.Exponent > 0 ? IntegerPart(rec) : QStringLiteral("0");
        if (count > rec.Exponent)
            text += point + FractionPart(rec, count - rec.Exponent);
    }
    return Signed(rec, text);
}

// "d.ddddE+ddd" with Precision significant digits.
QString ExponentFormat(long double Value, int Precision)
{
    if (auto special = SpecialText(Value))
        return *special;
    const TFloatRec rec = FloatToDecimal(Value, Precision, 9999);
    QString text = DigitAt(rec, 0);
    if (Precision > 1) {
        text += FormatSettings().DecimalSeparator;
        for (int i = 1; i < Precision; ++i)
            text += DigitAt(rec, i);
    }
    text += ExponentText(rec.IsZero() ? 0 : rec.Exponent - 1, true, 3);
    return Signed(rec, text);
}

// Digits of |Value| with Decimals decimals, grouped when Thousands; the sign is left
// to the caller (Negative tells it), and a value that rounds to zero has none.
QString FixedDigits(long double Value, int Decimals, bool Thousands, bool& Negative)
{
    const TFloatRec rec = FloatToDecimal(Value, MaxDigits, Decimals);
    Negative = rec.Negative;
    QString integer = IntegerPart(rec);
    if (integer.isEmpty())
        integer = QStringLiteral("0");
    QString text = Thousands ? GroupThousands(integer) : integer;
    if (Decimals > 0)
        text += FormatSettings().DecimalSeparator + FractionPart(rec, Decimals);
    return text;
}

QString FixedFormat(long double Value, int Decimals, bool Thousands)
{
    if (auto special = SpecialText(Value))
        return *special;
    if (std::fabs(Value) >= FixedLimit)
        return GeneralText(Value, MaxDigits);
    bool negative = false;
    const QString text = FixedDigits(Value, Decimals, Thousands, negative);
    return negative ? u'-' + text : text;
}

QString CurrencyFormat(long double Value, int Decimals)
{
    if (auto special = SpecialText(Value))
        return *special;
    if (std::fabs(Value) >= FixedLimit)
        return GeneralText(Value, MaxDigits);
    const TFormatSettings& fs = FormatSettings();
    bool negative = false;
    const QString n = FixedDigits(Value, Decimals, true, negative);
    const QString& c = fs.CurrencyString;
    if (!negative) {
        switch (fs.CurrencyFormat) {
        case 1: return n + c;
        case 2: return c + u' ' + n;
        case 3: return n + u' ' + c;
        default: return c + n;
        }
    }
    switch (fs.NegCurrFormat) {
    case 1: return u'-' + c + n;
    case 2: return c + u'-' + n;
    case 3: return c + n + u'-';
    case 4: return u'(' + n + c + u')';
    case 5: return u'-' + n + c;
    case 6: return n + u'-' + c;
    case 7: return n + c + u'-';
    case 8: return u'-' + n + u' ' + c;
    case 9: return u'-' + c + u' ' + n;
    case 10: return n + u' ' + c + u'-';
    case 11: return c + u' ' + n + u'-';
    case 12: return c + u' ' + u'-' + n;
    case 13: return n + u'-' + u' ' + c;
    case 14: return u'(' + c + u' ' + n + u')';
    case 15: return u'(' + n + u' ' + c + u')';
    default: return u'(' + c + n + u')';
    }
}

// Reads the specifiers of one Format string and hands out its arguments.
class TFormatter {
public:
    TFormatter(const QString& Fmt, std::initializer_list<TVarRec> Args) : FFmt(Fmt), FArgs(Args) {}

    QString Run()
    {
        QString out;
        const qsizetype n = FFmt.size();
        while (FPos < n) {
            const QChar c = FFmt[FPos++];
            if (c != u'%') {
                out += c;
                continue;
            }
            if (FPos < n && FFmt[FPos] == u'%') {
                out += u'%';
                ++FPos;
                continue;
            }
            out += Specifier();
        }
        return out;
    }

private:
    [[noreturn]] void Invalid() const
    {
        throw EConvertError(QStringLiteral("Format '%1' invalid or incompatible with argument").arg(FFmt));
    }

    QChar Peek() const
    {
        if (FPos >= FFmt.size())
            Invalid();
        return FFmt[FPos];
    }

    const TVarRec& NextArg()
    {
        if (FArgIndex < 0 || FArgIndex >= static_cast<int>(FArgs.size()))
            throw EConvertError(QStringLiteral("No argument for format '%1'").arg(FFmt));
        return FArgs.begin()[FArgIndex++];
    }

    // A decimal number or "*" (an integer argument); empty when neither is there.
    std::optional<int> Number()
    {
        if (Peek() == u'*') {
            ++FPos;
            const TVarRec& arg = NextArg();
            if (!arg.IsInteger())
                Invalid();
            return static_cast<int>(arg.AsInteger());
        }
        if (!Peek().isDigit())
            return std::nullopt;
        int value = 0;
        while (Peek().isDigit()) {
            // Widths beyond any sensible line are an error, not an allocation.
            if (value > 100000)
                Invalid();
            value = value * 10 + Peek().digitValue();
            ++FPos;
        }
        return value;
    }

    QString Specifier()
    {
        bool leftAlign = false;
        std::optional<int> width = Number();
        if (width && Peek() == u':') {
            ++FPos;
            FArgIndex = *width;
            width.reset();
        }
        if (!width) {
            if (Peek() == u'-') {
                leftAlign = true;
                ++FPos;
            }
            width = Number();
        }
        std::optional<int> precision;
        if (Peek() == u'.') {
            ++FPos;
            precision = Number().value_or(0);
        }
        const QChar type = Peek().toLower();
        ++FPos;
        const QString text = Convert(type.toLatin1(), precision);
        const int w = width.value_or(0);
        if (text.size() >= w)
            return text;
        return leftAlign ? text.leftJustified(w, u' ') : text.rightJustified(w, u' ');
    }

    static QString PadDigits(const QString& digits, std::optional<int> precision)
    {
        return digits.rightJustified(precision.value_or(0), u'0');
    }

    QString Convert(char type, std::optional<int> precision)
    {
        const TVarRec& arg = NextArg();
        switch (type) {
        case 'd': {
            if (!arg.IsInteger())
                Invalid();
            const int64_t v = arg.AsInteger();
            const uint64_t magnitude = v < 0 ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
            const QString digits = PadDigits(QString::number(magnitude), precision);
            return v < 0 ? u'-' + digits : digits;
        }
        case 'u':
            if (!arg.IsInteger())
                Invalid();
            return PadDigits(QString::number(arg.AsUnsigned()), precision);
        case 'x':
            if (!arg.IsInteger())
                Invalid();
            return PadDigits(QString::number(arg.AsUnsigned(), 16).toUpper(), precision);
        case 'p':
            if (!arg.IsPointer())
                Invalid();
            return IntToHexImpl(reinterpret_cast<uintptr_t>(arg.AsPointer()), static_cast<int>(2 * sizeof(void*)));
        case 's':
            if (!arg.IsString())
                Invalid();
            return precision ? arg.AsString().left(std::max(*precision, 0)) : arg.AsString();
        case 'e':
        case 'f':
        case 'g':
        case 'n':
        case 'm':
            if (!arg.IsFloat())
                Invalid();
            return FloatSpecifier(type, arg.AsFloat(), precision);
        default:
            Invalid();
        }
    }

    static QString FloatSpecifier(char type, long double value, std::optional<int> precision)
    {
        auto digits = [&](int fallback) { return std::clamp(precision.value_or(fallback), 0, MaxDigits); };
        switch (type) {
        case 'e': return ExponentFormat(value, std::max(1, digits(DefaultFloatPrecision)));
        case 'g': return GeneralText(value, std::max(1, digits(DefaultFloatPrecision)));
        case 'f': return FixedFormat(value, digits(DefaultFixedDecimals), false);
        case 'n': return FixedFormat(value, digits(DefaultFixedDecimals), true);
        default: return CurrencyFormat(value, digits(FormatSettings().CurrencyDecimals));
        }
    }

    const QString& FFmt;
    std::initializer_list<TVarRec> FArgs;
    qsizetype FPos = 0;
    int FArgIndex = 0;
};

// One ";"-separated section of a FormatFloat picture, read once.
struct TFloatPicture {
    QString Text;
    int IntPlaceholders = 0; // "0" and "#" before the point
    int MinIntDigits = 0;    // placeholders from the first "0" to the point
    int DecPlaceholders = 0; // "0" and "#" after the point
    int MinDecDigits = 0;    // up to the last "0" after the point
    bool Thousands = false;
    bool Scientific = false;
};

bool IsExponentAt(const QString& s, qsizetype i)
{
    return (s[i] == u'E' || s[i] == u'e') && i + 1 < s.size() && (s[i + 1] == u'+' || s[i + 1] == u'-');
}

// Calls Visit(index) for every character outside quoted literals until it returns false.
template <typename Visit>
void ForEachUnquoted(const QString& s, Visit visit)
{
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] == u'\'' || s[i] == u'"') {
            const QChar quote = s[i];
            while (++i < s.size() && s[i] != quote) {
            }
            continue;
        }
        if (!visit(i))
            return;
    }
}

TFloatPicture ReadPicture(const QString& Text)
{
    TFloatPicture p;
    p.Text = Text;
    bool afterPoint = false;
    int firstZero = -1;
    ForEachUnquoted(Text, [&](qsizetype i) {
        const QChar c = Text[i];
        if (IsExponentAt(Text, i)) {
            p.Scientific = true;
            return false;
        }
        if (c == u'0' || c == u'#') {
            if (afterPoint) {
                ++p.DecPlaceholders;
                if (c == u'0')
                    p.MinDecDigits = p.DecPlaceholders;
            } else {
                if (c == u'0' && firstZero < 0)
                    firstZero = p.IntPlaceholders;
                ++p.IntPlaceholders;
            }
        } else if (c == u'.') {
            afterPoint = true;
        } else if (c == u',' && !afterPoint) {
            p.Thousands = true;
        }
        return true;
    });
    p.MinIntDigits = firstZero < 0 ? 0 : p.IntPlaceholders - firstZero;
    return p;
}

QStringList SplitSections(const QString& Fmt)
{
    QStringList sections;
    qsizetype start = 0;
    ForEachUnquoted(Fmt, [&](qsizetype i) {
        if (Fmt[i] == u';') {
            sections << Fmt.mid(start, i - start);
            start = i + 1;
        }
        return true;
    });
    sections << Fmt.mid(start);
    return sections;
}

// Writes the digits of a rounded value into a picture.
class TPictureWriter {
public:
    TPictureWriter(const TFloatPicture& Picture, QString IntDigits, QString DecDigits, int Exponent)
        : P(Picture), FInt(std::move(IntDigits)), FDec(std::move(DecDigits)), FExponent(Exponent)
    {
        if (FInt.size() < P.MinIntDigits)
            FInt = FInt.rightJustified(P.MinIntDigits, u'0');
    }

    QString Write(bool Negative)
    {
        QString out = Negative ? QStringLiteral("-") : QString();
        const QString& s = P.Text;
        bool afterPoint = false;
        bool inExponent = false;
        for (qsizetype i = 0; i < s.size(); ++i) {
            const QChar c = s[i];
            if (c == u'\'' || c == u'"') {
                while (++i < s.size() && s[i] != c)
                    out += s[i];
            } else if (!inExponent && IsExponentAt(s, i)) {
                inExponent = true;
                out += c;
                const bool forceSign = s[++i] == u'+';
                int digits = 0;
                while (i + 1 < s.size() && s[i + 1] == u'0' && digits < 4) {
                    ++digits;
                    ++i;
                }
                out += ExponentText(FExponent, forceSign, digits).mid(1);
            } else if ((c == u'0' || c == u'#') && !inExponent) {
                if (afterPoint)
                    WriteDecimalDigit(out);
                else
                    WriteIntegerDigits(out);
            } else if (c == u'.' && !inExponent) {
                if (!afterPoint) {
                    afterPoint = true;
                    // A picture without integer placeholders still shows the integer part.
                    if (P.IntPlaceholders == 0)
                        WriteDigitRange(out, 0, FInt.size());
                    if (!FDec.isEmpty())
                        out += FormatSettings().DecimalSeparator;
                }
            } else if (c != u',' || inExponent) {
                out += c;
            }
        }
        return out;
    }

private:
    void WriteDigitRange(QString& out, qsizetype from, qsizetype to)
    {
        const qsizetype n = FInt.size();
        for (qsizetype k = std::max<qsizetype>(from, 0); k < to; ++k) {
            out += FInt[k];
            if (P.Thousands && k < n - 1 && (n - 1 - k) % 3 == 0)
                out += FormatSettings().ThousandSeparator;
        }
    }

    // The i-th integer placeholder stands for one digit counted from the right; the
    // first one also writes every digit the picture has no placeholder for.
    void WriteIntegerDigits(QString& out)
    {
        const qsizetype shift = FInt.size() - P.IntPlaceholders;
        const qsizetype index = FIntIndex++;
        const qsizetype to = index + shift + 1;
        WriteDigitRange(out, index == 0 ? 0 : to - 1, to);
    }

    void WriteDecimalDigit(QString& out)
    {
        if (FDecIndex < FDec.size())
            out += FDec[FDecIndex];
        ++FDecIndex;
    }

    const TFloatPicture& P;
    QString FInt;
    QString FDec;
    int FExponent;
    qsizetype FIntIndex = 0;
    qsizetype FDecIndex = 0;
};

QString StripTrailingZeros(QString digits, int keep)
{
    while (digits.size() > keep && digits.endsWith(u'0'))
        digits.chop(1);
    return digits;
}

} // namespace

QString Format(const QString& Fmt, std::initializer_list<TVarRec> Args)
{
    return TFormatter(Fmt, Args).Run();
}

QString FloatToStr(long double Value)
{
    return GeneralText(Value, DefaultFloatPrecision);
}

QString FormatFloat(const QString& Fmt, long double Value)
{
    if (auto special = SpecialText(Value))
        return *special;
    const QStringList sections = SplitSections(Fmt);
    auto usable = [&](int i) { return sections.size() > i && !sections[i].isEmpty(); };
    int section = 0;
    if (Value == 0 && usable(2))
        section = 2;
    else if (Value < 0 && usable(1))
        section = 1;
    if (sections[section].isEmpty())
        return FloatToStr(Value);

    TFloatPicture picture = ReadPicture(sections[section]);
    if (!picture.Scientific && std::fabs(Value) >= FixedLimit)
        return FloatToStr(Value);
    const int precision = std::max(1, std::min(MaxDigits, picture.IntPlaceholders + picture.DecPlaceholders));
    TFloatRec rec = picture.Scientific ? FloatToDecimal(Value, precision, 9999)
                                       : FloatToDecimal(Value, MaxDigits, picture.DecPlaceholders);
    // A value that rounds to zero is shown by the zero section when there is one.
    if (rec.IsZero() && section != 2 && usable(2)) {
        section = 2;
        picture = ReadPicture(sections[section]);
    }

    QString intDigits;
    QString decDigits;
    int exponent = 0;
    if (picture.Scientific) {
        const int intCount = std::max(1, picture.IntPlaceholders);
        for (int i = 0; i < intCount; ++i)
            intDigits += DigitAt(rec, i);
        for (int i = 0; i < picture.DecPlaceholders; ++i)
            decDigits += DigitAt(rec, intCount + i);
        exponent = rec.IsZero() ? 0 : rec.Exponent - intCount;
    } else {
        intDigits = IntegerPart(rec);
        decDigits = FractionPart(rec, picture.DecPlaceholders);
    }
    decDigits = StripTrailingZeros(decDigits, picture.MinDecDigits);
    // The minus sign is written only by the positive section, and never for a zero.
    const bool minus = rec.Negative && section == 0;
    return TPictureWriter(picture, intDigits, decDigits, exponent).Write(minus);
}

long double StrToFloat(const QString& S)
{
    QString text = Trim(S);
    if (FormatSettings().DecimalSeparator != u'.')
        text.replace(FormatSettings().DecimalSeparator, u'.');
    if (text.startsWith(u'+'))
        text.remove(0, 1);
    const QByteArray bytes = text.toLatin1();
    long double value = 0;
    // from_chars reads no hexadecimal, infinity or NaN in the general format; anything
    // left over is an error.
    const bool plain = std::all_of(bytes.begin(), bytes.end(), [](char c) {
        return (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E';
    });
    const auto result = std::from_chars(bytes.constData(), bytes.constData() + bytes.size(), value, std::chars_format::general);
    if (!plain || bytes.isEmpty() || result.ec != std::errc() || result.ptr != bytes.constData() + bytes.size())
        throw EConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(S));
    return value;
}

} // namespace vcl
