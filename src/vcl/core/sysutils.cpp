#include "vcl/core/sysutils.h"

#include <QDateTime>
#include <QFileInfo>
#include <QLocale>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace vcl {

Exception::Exception(QString message)
{
    SetMessage(message);
}

void Exception::SetMessage(const QString& message)
{
    FMessage = message;
    FUtf8 = message.toStdString();
}

TFormatSettings& FormatSettings()
{
    static TFormatSettings settings;
    return settings;
}

QString IntToHexImpl(uint64_t Value, int Digits)
{
    return QString::number(Value, 16).toUpper().rightJustified(Digits, u'0');
}

int StrToInt(const QString& S)
{
    const QString text = Trim(S);
    bool ok = false;
    qlonglong value = 0;
    if (text.startsWith(u'$'))
        value = text.mid(1).toLongLong(&ok, 16);
    else if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        value = text.mid(2).toLongLong(&ok, 16);
    else
        value = text.toLongLong(&ok, 10);
    if (!ok || value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(S));
    return static_cast<int>(value);
}

int StrToIntDef(const QString& S, int Default)
{
    try {
        return StrToInt(S);
    } catch (const EConvertError&) {
        return Default;
    }
}

namespace {

bool IsBlank(QChar c)
{
    return c.unicode() <= u' ';
}

QString MapAscii(const QString& S, char16_t from, char16_t to, int delta)
{
    QString result = S;
    for (QChar& c : result)
        if (c.unicode() >= from && c.unicode() <= to)
            c = QChar(static_cast<char16_t>(c.unicode() + delta));
    return result;
}

} // namespace

QString TrimLeft(const QString& S)
{
    qsizetype first = 0;
    while (first < S.size() && IsBlank(S[first]))
        ++first;
    return S.mid(first);
}

QString TrimRight(const QString& S)
{
    qsizetype last = S.size();
    while (last > 0 && IsBlank(S[last - 1]))
        --last;
    return S.left(last);
}

QString Trim(const QString& S)
{
    return TrimLeft(TrimRight(S));
}

QString UpperCase(const QString& S)
{
    return MapAscii(S, u'a', u'z', 'A' - 'a');
}

QString LowerCase(const QString& S)
{
    return MapAscii(S, u'A', u'Z', 'a' - 'A');
}

QString AnsiUpperCase(const QString& S)
{
    return QLocale().toUpper(S);
}

QString AnsiLowerCase(const QString& S)
{
    return QLocale().toLower(S);
}

int CompareText(const QString& S1, const QString& S2)
{
    return UpperCase(S1).compare(UpperCase(S2));
}

bool SameText(const QString& S1, const QString& S2)
{
    return CompareText(S1, S2) == 0;
}

namespace {

// The 64-bit range check both conversions share; 2^63 itself does not fit.
void CheckInt64Range(long double Value)
{
    constexpr long double limit = 9223372036854775808.0L;
    if (std::isnan(Value) || Value >= limit || Value < -limit)
        throw EInvalidOp(QStringLiteral("Invalid floating point operation"));
}

} // namespace

int64_t Round(long double Value)
{
    // nearbyint honours the current rounding mode, which the library never changes
    // from round-to-nearest-even; halves therefore go to the even neighbour.
    const long double rounded = std::nearbyint(Value);
    CheckInt64Range(rounded);
    return static_cast<int64_t>(rounded);
}

int64_t Trunc(long double Value)
{
    const long double truncated = std::trunc(Value);
    CheckInt64Range(truncated);
    return static_cast<int64_t>(truncated);
}

int MulDiv(int A, int B, int C)
{
    if (C == 0)
        return -1;
    const int64_t product = static_cast<int64_t>(A) * B;
    int64_t quotient = product / C;
    const int64_t remainder = product % C;
    // |remainder| < |C| <= 2^31, so doubling it cannot overflow.
    if (2 * std::llabs(remainder) >= std::llabs(static_cast<int64_t>(C)))
        quotient += ((product < 0) != (C < 0)) ? -1 : 1;
    if (quotient < std::numeric_limits<int>::min() || quotient > std::numeric_limits<int>::max())
        return -1;
    return static_cast<int>(quotient);
}

int Muldv(int A, int B, int C)
{
    if (C == 0)
        throw EDivByZero(QStringLiteral("Division by zero"));
    const int64_t quotient = static_cast<int64_t>(A) * B / C;
    if (quotient < std::numeric_limits<int>::min() || quotient > std::numeric_limits<int>::max())
        throw EIntOverflow(QStringLiteral("Integer overflow"));
    return static_cast<int>(quotient);
}

QString ExtractFileName(const QString& FileName)
{
    return FileName.mid(FileName.lastIndexOf(u'/') + 1);
}

QString ExtractFilePath(const QString& FileName)
{
    return FileName.left(FileName.lastIndexOf(u'/') + 1);
}

QString ExtractFileDir(const QString& FileName)
{
    const qsizetype slash = FileName.lastIndexOf(u'/');
    if (slash < 0)
        return QString();
    return FileName.left(slash == 0 ? 1 : slash);
}

QString ExtractFileExt(const QString& FileName)
{
    const qsizetype dot = FileName.lastIndexOf(u'.');
    if (dot < 0 || dot < FileName.lastIndexOf(u'/'))
        return QString();
    return FileName.mid(dot);
}

QString ChangeFileExt(const QString& FileName, const QString& Extension)
{
    const QString ext = ExtractFileExt(FileName);
    return FileName.left(FileName.size() - ext.size()) + Extension;
}

QString IncludeTrailingPathDelimiter(const QString& S)
{
    return S.endsWith(u'/') ? S : S + u'/';
}

QString ExcludeTrailingPathDelimiter(const QString& S)
{
    return S.endsWith(u'/') && S.size() > 1 ? S.left(S.size() - 1) : S;
}

bool FileExists(const QString& FileName)
{
    const QFileInfo info(FileName);
    return !FileName.isEmpty() && info.exists() && !info.isDir();
}

bool DirectoryExists(const QString& Directory)
{
    return !Directory.isEmpty() && QFileInfo(Directory).isDir();
}

namespace {

std::atomic<uint32_t> randSeed{0};

// Advances the generator and returns the new seed.
uint32_t NextRandom()
{
    uint32_t seed = randSeed.load(std::memory_order_relaxed);
    uint32_t next = 0;
    do
        next = seed * 0x08088405u + 1u;
    while (!randSeed.compare_exchange_weak(seed, next, std::memory_order_relaxed));
    return next;
}

} // namespace

int Random(int Range)
{
    if (Range <= 0)
        return 0;
    return static_cast<int>((static_cast<uint64_t>(NextRandom()) * static_cast<uint64_t>(Range)) >> 32);
}

double Random()
{
    return static_cast<double>(NextRandom()) / 4294967296.0;
}

void Randomize()
{
    SetRandSeed(static_cast<uint32_t>(QDateTime::currentMSecsSinceEpoch()));
}

uint32_t RandSeed()
{
    return randSeed.load(std::memory_order_relaxed);
}

void SetRandSeed(uint32_t Seed)
{
    randSeed.store(Seed, std::memory_order_relaxed);
}

} // namespace vcl
