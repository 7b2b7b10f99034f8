// Dates and times: encoding, decoding, formatting and reading TDateTime values.
#include "vcl/core/sysutils.h"
#include "vcl/core/locale.h"

#include <QDate>
#include <QTime>
#include <cmath>
#include <optional>

namespace vcl {

namespace {

constexpr int64_t MSecsPerDay = 86400000;
// Day 0 of TDateTime.
const QDate& BaseDate()
{
    static const QDate base(1899, 12, 30);
    return base;
}

// A value split into whole days from the base and milliseconds into the day, the
// milliseconds rounded once so that date and time always agree.
struct TTimeStamp {
    int64_t Days = 0;
    int64_t MSecs = 0;
};

TTimeStamp ToTimeStamp(TDateTime DateTime)
{
    const int64_t total = Round(std::fabs(static_cast<long double>(DateTime)) * MSecsPerDay);
    TTimeStamp stamp;
    stamp.Days = total / MSecsPerDay * (DateTime < 0 ? -1 : 1);
    stamp.MSecs = total % MSecsPerDay;
    return stamp;
}

// Combines a day number and a time fraction the way negative values are laid out.
TDateTime Combine(int64_t Days, double Fraction)
{
    return Days >= 0 ? static_cast<double>(Days) + Fraction : static_cast<double>(Days) - Fraction;
}

QDate DateOf(TDateTime DateTime)
{
    return BaseDate().addDays(ToTimeStamp(DateTime).Days);
}

struct TTimeParts {
    int Hour = 0, Min = 0, Sec = 0, MSec = 0;
};

TTimeParts TimeOf(TDateTime DateTime)
{
    const int64_t ms = ToTimeStamp(DateTime).MSecs;
    return {static_cast<int>(ms / 3600000), static_cast<int>(ms / 60000 % 60), static_cast<int>(ms / 1000 % 60), static_cast<int>(ms % 1000)};
}

// Writes one date-time picture; recursion (c, ddddd, t ...) is limited to two levels
// so that a table entry naming itself cannot loop.
class TDateTimeWriter {
public:
    TDateTimeWriter(TDateTime DateTime, const TFormatSettings& Settings)
        : FDate(DateOf(DateTime)), FTime(TimeOf(DateTime)), FSettings(Settings)
    {
    }

    QString Write(const QString& Fmt, int Depth = 0)
    {
        QString out;
        if (Depth > 2)
            return out;
        const bool twelveHour = HasAmPm(Fmt);
        bool afterHour = false;
        for (qsizetype i = 0; i < Fmt.size();) {
            const QChar c = Fmt[i];
            if (c == u'\'' || c == u'"') {
                i = CopyQuoted(Fmt, i, out);
                continue;
            }
            if (auto ampm = AmPmAt(Fmt, i)) {
                out += AmPmText(Fmt, i, *ampm);
                i += *ampm;
                continue;
            }
            // "m" right after an hour (separators between do not count) means minutes.
            const bool minutes = afterHour;
            if (c.isLetter())
                afterHour = c.toLower() == u'h';
            i += WriteField(c, RunLength(Fmt, i), {minutes, twelveHour}, Depth, out);
        }
        return out;
    }

private:
    // How the picture around a field changes its meaning.
    struct TFieldContext {
        bool MinutesAfterHour; // "m" follows an hour: minutes, not the month
        bool TwelveHour;       // the picture has an am/pm marker
    };

    // Copies the text between the quote at Start and its closing quote; returns the
    // index after the closing quote.
    static qsizetype CopyQuoted(const QString& Fmt, qsizetype start, QString& out)
    {
        qsizetype i = start;
        while (++i < Fmt.size() && Fmt[i] != Fmt[start])
            out += Fmt[i];
        return i + 1;
    }

    // Writes the field that a run of Count letters C starts (or C itself when it names
    // no field); returns how many characters of the picture the field takes.
    qsizetype WriteField(QChar c, int count, TFieldContext context, int Depth, QString& out)
    {
        const TFormatSettings& fs = FSettings;
        switch (c.toLower().unicode()) {
        case u'c':
            out += Write(fs.ShortDateFormat, Depth + 1);
            if (FTime.Hour != 0 || FTime.Min != 0 || FTime.Sec != 0)
                out += u' ' + Write(fs.LongTimeFormat, Depth + 1);
            return 1;
        case u'd':
            out += DayText(count, Depth);
            return std::min(count, 6);
        case u'm':
            out += context.MinutesAfterHour && count <= 2 ? Number(FTime.Min, count) : MonthText(count);
            return std::min(count, 4);
        case u'y':
            out += count <= 2 ? Number(FDate.year() % 100, 2) : QString::number(FDate.year()).rightJustified(4, u'0');
            return count;
        case u'h':
            out += Number(context.TwelveHour ? TwelveHourClock(FTime.Hour) : FTime.Hour, std::min(count, 2));
            return std::min(count, 2);
        case u'n':
            out += Number(FTime.Min, std::min(count, 2));
            return std::min(count, 2);
        case u's':
            out += Number(FTime.Sec, std::min(count, 2));
            return std::min(count, 2);
        case u'z':
            out += count >= 3 ? Number(FTime.MSec, 3) : QString::number(FTime.MSec);
            return count >= 3 ? 3 : 1;
        case u't':
            out += Write(count >= 2 ? fs.LongTimeFormat : fs.ShortTimeFormat, Depth + 1);
            return std::min(count, 2);
        case u'/': out += fs.DateSeparator; return 1;
        case u':': out += fs.TimeSeparator; return 1;
        default: out += c; return 1;
        }
    }

    // 0 to 23 as 12, 1 ... 11, 12, 1 ... 11.
    static int TwelveHourClock(int hour)
    {
        return hour % 12 == 0 ? 12 : hour % 12;
    }

    static int RunLength(const QString& s, qsizetype i)
    {
        const QChar c = s[i].toLower();
        int count = 0;
        while (i + count < s.size() && s[i + count].toLower() == c)
            ++count;
        return count;
    }

    // Length of an "am/pm", "a/p" or "ampm" marker at i, if there is one.
    static std::optional<int> AmPmAt(const QString& s, qsizetype i)
    {
        for (QLatin1String marker : {QLatin1String("am/pm"), QLatin1String("ampm"), QLatin1String("a/p")})
            if (QStringView(s).mid(i, marker.size()).compare(marker, Qt::CaseInsensitive) == 0)
                return static_cast<int>(marker.size());
        return std::nullopt;
    }

    static bool HasAmPm(const QString& s)
    {
        for (qsizetype i = 0; i < s.size(); ++i) {
            if (s[i] == u'\'' || s[i] == u'"') {
                const QChar quote = s[i];
                while (++i < s.size() && s[i] != quote) {
                }
                continue;
            }
            if (AmPmAt(s, i))
                return true;
        }
        return false;
    }

    QString AmPmText(const QString& s, qsizetype i, int length) const
    {
        const bool pm = FTime.Hour >= 12;
        if (length == 4)
            return pm ? FSettings.TimePMString : FSettings.TimeAMString;
        // "am/pm" and "a/p" keep the case the picture writes them in.
        const qsizetype at = pm ? (length == 5 ? i + 3 : i + 2) : i;
        return s.mid(at, length == 5 ? 2 : 1);
    }

    static QString Number(int value, int digits)
    {
        return QString::number(value).rightJustified(digits, u'0');
    }

    QString DayText(int count, int Depth)
    {
        const TFormatSettings& fs = FSettings;
        switch (count) {
        case 1: return QString::number(FDate.day());
        case 2: return Number(FDate.day(), 2);
        case 3: return fs.ShortDayNames[FDate.dayOfWeek() % 7];
        case 4: return fs.LongDayNames[FDate.dayOfWeek() % 7];
        case 5: return Write(fs.ShortDateFormat, Depth + 1);
        default: return Write(fs.LongDateFormat, Depth + 1);
        }
    }

    QString MonthText(int count) const
    {
        const TFormatSettings& fs = FSettings;
        switch (count) {
        case 1: return QString::number(FDate.month());
        case 2: return Number(FDate.month(), 2);
        case 3: return fs.ShortMonthNames[FDate.month() - 1];
        default: return fs.LongMonthNames[FDate.month() - 1];
        }
    }

    QDate FDate;
    TTimeParts FTime;
    const TFormatSettings& FSettings;
};

// Reads the numbers and words of a date or time text.
class TDateTimeReader {
public:
    explicit TDateTimeReader(const QString& Text) : FText(Text) {}

    bool AtEnd()
    {
        SkipBlanks();
        return FPos >= FText.size();
    }

    std::optional<int> ReadNumber(int maxDigits, int& digits)
    {
        SkipBlanks();
        digits = 0;
        int value = 0;
        while (FPos < FText.size() && FText[FPos].isDigit() && FText[FPos].unicode() < 128 && digits < maxDigits) {
            value = value * 10 + FText[FPos].digitValue();
            ++FPos;
            ++digits;
        }
        if (digits == 0)
            return std::nullopt;
        return value;
    }

    bool ReadChar(QChar c)
    {
        SkipBlanks();
        if (FPos < FText.size() && FText[FPos] == c) {
            ++FPos;
            return true;
        }
        return false;
    }

    bool ReadWord(const QString& word)
    {
        SkipBlanks();
        if (word.isEmpty() || FText.mid(FPos, word.size()).compare(word, Qt::CaseInsensitive) != 0)
            return false;
        FPos += word.size();
        return true;
    }

    // A date in the short date format's order; true when it was well formed.
    bool ReadDate(QDate& date)
    {
        int digits[3] = {};
        int parts[3] = {};
        int count = 0;
        const QChar separator = FormatSettings().DateSeparator;
        while (count < 3) {
            const auto value = ReadNumber(4, digits[count]);
            if (!value)
                return false;
            parts[count++] = *value;
            if (count < 3 && !ReadChar(separator))
                break;
        }
        if (count < 2)
            return false;
        int year = 0, month = 0, day = 0;
        int yearDigits = 0;
        const QString order = DateOrder();
        if (count == 2) {
            // Without a year the two parts are month and day in the order of the format.
            year = QDate::currentDate().year();
            yearDigits = 4;
            const bool dayFirst = order.indexOf(u'd') < order.indexOf(u'm');
            day = dayFirst ? parts[0] : parts[1];
            month = dayFirst ? parts[1] : parts[0];
        } else {
            for (int i = 0; i < 3; ++i) {
                switch (order[i].unicode()) {
                case u'y': year = parts[i]; yearDigits = digits[i]; break;
                case u'm': month = parts[i]; break;
                default: day = parts[i]; break;
                }
            }
        }
        if (yearDigits <= 2)
            year = ExpandYear(year);
        date = QDate(year, month, day);
        return date.isValid() && year >= 1 && year <= 9999;
    }

    // A time "h[:n[:s[.z]]]" with an optional AM/PM marker.
    bool ReadTime(QTime& time)
    {
        int digits = 0;
        const QChar separator = FormatSettings().TimeSeparator;
        const auto hour = ReadNumber(2, digits);
        if (!hour)
            return false;
        int min = 0, sec = 0, msec = 0;
        if (ReadChar(separator)) {
            const auto m = ReadNumber(2, digits);
            if (!m)
                return false;
            min = *m;
            if (ReadChar(separator)) {
                const auto s = ReadNumber(2, digits);
                if (!s)
                    return false;
                sec = *s;
                if (ReadChar(FormatSettings().DecimalSeparator)) {
                    const auto z = ReadNumber(3, digits);
                    if (!z)
                        return false;
                    msec = *z;
                }
            }
        }
        int h = *hour;
        const TFormatSettings& fs = FormatSettings();
        const bool am = ReadWord(fs.TimeAMString) || ReadWord(QStringLiteral("AM"));
        const bool pm = !am && (ReadWord(fs.TimePMString) || ReadWord(QStringLiteral("PM")));
        if (am || pm) {
            if (h < 1 || h > 12)
                return false;
            h = h % 12 + (pm ? 12 : 0);
        }
        time = QTime(h, min, sec, msec);
        return time.isValid();
    }

private:
    void SkipBlanks()
    {
        while (FPos < FText.size() && FText[FPos].isSpace())
            ++FPos;
    }

    // "dmy", "mdy" or "ymd" from the short date format.
    static QString DateOrder()
    {
        QString order;
        for (QChar c : FormatSettings().ShortDateFormat) {
            const QChar l = c.toLower();
            if ((l == u'd' || l == u'm' || l == u'y') && !order.contains(l))
                order += l;
        }
        return order.size() == 3 ? order : QStringLiteral("mdy");
    }

    static int ExpandYear(int year)
    {
        const int current = QDate::currentDate().year();
        int result = current - current % 100 + year;
        if (result > current + 50)
            result -= 100;
        else if (result <= current - 50)
            result += 100;
        return result;
    }

    const QString& FText;
    qsizetype FPos = 0;
};

TDateTime FromParts(const QDate& date, const QTime& time)
{
    return Combine(BaseDate().daysTo(date), time.msecsSinceStartOfDay() / static_cast<double>(MSecsPerDay));
}

} // namespace

TDateTime EncodeDate(int Year, int Month, int Day)
{
    const QDate date(Year, Month, Day);
    if (Year < 1 || Year > 9999 || !date.isValid())
        throw EConvertError(QStringLiteral("Invalid argument to date encode"));
    return static_cast<double>(BaseDate().daysTo(date));
}

TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec)
{
    if (Hour < 0 || Hour > 23 || Min < 0 || Min > 59 || Sec < 0 || Sec > 59 || MSec < 0 || MSec > 999)
        throw EConvertError(QStringLiteral("Invalid argument to time encode"));
    return ((Hour * 60 + Min) * 60 + Sec) * 1000.0 / MSecsPerDay + MSec / static_cast<double>(MSecsPerDay);
}

void DecodeDate(TDateTime DateTime, int& Year, int& Month, int& Day)
{
    DateOf(DateTime).getDate(&Year, &Month, &Day);
}

void DecodeTime(TDateTime DateTime, int& Hour, int& Min, int& Sec, int& MSec)
{
    const TTimeParts t = TimeOf(DateTime);
    Hour = t.Hour;
    Min = t.Min;
    Sec = t.Sec;
    MSec = t.MSec;
}

int DayOfWeek(TDateTime DateTime)
{
    return DateOf(DateTime).dayOfWeek() % 7 + 1;
}

TDateTime Now()
{
    return DateTimeFromQDateTime(QDateTime::currentDateTime());
}

TDateTime DateTimeFromQDateTime(const QDateTime& DateTime)
{
    return FromParts(DateTime.date(), DateTime.time());
}

QDateTime DateTimeToQDateTime(TDateTime DateTime)
{
    const TTimeParts t = TimeOf(DateTime);
    return QDateTime(DateOf(DateTime), QTime(t.Hour, t.Min, t.Sec, t.MSec));
}

QString FormatDateTime(const QString& Fmt, TDateTime DateTime)
{
    return TDateTimeWriter(DateTime, FormatSettings()).Write(Fmt);
}

QString FormatDateTime(const QString& Fmt, TDateTime DateTime, const TFormatSettings& Settings)
{
    return TDateTimeWriter(DateTime, Settings).Write(Fmt);
}

QString DateTimeToStr(TDateTime DateTime)
{
    return FormatDateTime(QStringLiteral("c"), DateTime);
}

QString DateToStr(TDateTime DateTime)
{
    return FormatDateTime(QStringLiteral("ddddd"), DateTime);
}

QString TimeToStr(TDateTime DateTime)
{
    return FormatDateTime(QStringLiteral("tt"), DateTime);
}

TDateTime StrToDateTime(const QString& S)
{
    TDateTimeReader reader(S);
    QDate date;
    QTime time(0, 0);
    if (!reader.ReadDate(date) || (!reader.AtEnd() && !reader.ReadTime(time)) || !reader.AtEnd())
        throw EConvertError(QStringLiteral("'%1' is not a valid date and time").arg(S));
    return FromParts(date, time);
}

TDateTime StrToDate(const QString& S)
{
    TDateTimeReader reader(S);
    QDate date;
    if (!reader.ReadDate(date) || !reader.AtEnd())
        throw EConvertError(QStringLiteral("'%1' is not a valid date").arg(S));
    return FromParts(date, QTime(0, 0));
}

TDateTime StrToTime(const QString& S)
{
    TDateTimeReader reader(S);
    QTime time;
    if (!reader.ReadTime(time) || !reader.AtEnd())
        throw EConvertError(QStringLiteral("'%1' is not a valid time").arg(S));
    return FromParts(BaseDate(), time);
}

} // namespace vcl
