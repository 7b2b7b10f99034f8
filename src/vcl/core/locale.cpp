#include "vcl/core/locale.h"

#include <QDate>
#include <QLocale>
#include <QTime>
#include <array>
#include <optional>
#include <vector>

namespace vcl {

namespace {

struct TLanguageName {
    const char* Name;
    LANGID Lang;
};

// Common languages; for each language the first row is its default, used for a bare
// language name and for a territory the table does not list.
constexpr std::array<TLanguageName, 40> Languages = {{
    {"en_US", 0x0409}, {"en_GB", 0x0809}, {"en_AU", 0x0C09}, {"en_CA", 0x1009}, {"en_NZ", 0x1409},
    {"en_IE", 0x1809}, {"de_DE", 0x0407}, {"de_CH", 0x0807}, {"de_AT", 0x0C07}, {"fr_FR", 0x040C},
    {"fr_BE", 0x080C}, {"fr_CA", 0x0C0C}, {"fr_CH", 0x100C}, {"es_ES", 0x0C0A}, {"es_MX", 0x080A},
    {"it_IT", 0x0410}, {"it_CH", 0x0810}, {"nl_NL", 0x0413}, {"nl_BE", 0x0813}, {"da_DK", 0x0406},
    {"pt_BR", 0x0416}, {"pt_PT", 0x0816}, {"sv_SE", 0x041D}, {"nb_NO", 0x0414}, {"nn_NO", 0x0814},
    {"fi_FI", 0x040B}, {"pl_PL", 0x0415}, {"cs_CZ", 0x0405}, {"hu_HU", 0x040E}, {"ru_RU", 0x0419},
    {"tr_TR", 0x041F}, {"el_GR", 0x0408}, {"ja_JP", 0x0411}, {"ko_KR", 0x0412}, {"zh_CN", 0x0804},
    {"zh_TW", 0x0404}, {"ar_SA", 0x0401}, {"he_IL", 0x040D}, {"uk_UA", 0x0422}, {"ca_ES", 0x0403},
}};

// "de_DE.UTF-8@euro" and "de-DE" become "de_DE".
QString BareLocaleName(const QString& name)
{
    QString bare = name.section(u'@', 0, 0).section(u'.', 0, 0);
    bare.replace(u'-', u'_');
    return bare;
}

bool IsPosixLocale(const QString& name)
{
    const QString bare = BareLocaleName(name);
    return bare.isEmpty() || bare == u"C" || bare == u"POSIX";
}

// The first of the variables that is set and not empty.
QString FirstSet(std::initializer_list<const char*> names)
{
    for (const char* name : names) {
        const QString value = qEnvironmentVariable(name);
        if (!value.isEmpty())
            return value;
    }
    return QString();
}

// The locale whose date and time texts a locale number stands for. The user's is the
// one the C library formats times by (LC_ALL, LC_TIME, LANG); the system's is read
// from LC_ALL and LANG, as for the language. "C" and unset read as English (United
// States), matching the language number 0x0409 they give.
std::optional<QLocale> LocaleOf(LCID locale)
{
    QString name;
    if (locale == 0 || locale == LOCALE_USER_DEFAULT)
        name = FirstSet({"LC_ALL", "LC_TIME", "LANG"});
    else if (locale == LOCALE_SYSTEM_DEFAULT)
        name = FirstSet({"LC_ALL", "LANG"});
    else if ((name = LocaleNameFromLangID(static_cast<LANGID>(locale))).isEmpty())
        return std::nullopt;
    return QLocale(IsPosixLocale(name) ? QStringLiteral("en_US") : BareLocaleName(name));
}

// One field ("d", "MM", "tt") or one literal of a date or time picture. The fields are
// kept in the platform's letters: h is the 12-hour clock, H the 24-hour one, t the
// am/pm marker; Z (time zone) and z (milliseconds) are never shown.
struct TPictureItem {
    QChar Field; // null for a literal
    int Count = 0;
    QString Literal;
};
using TPicture = std::vector<TPictureItem>;

// Reads a quoted literal starting at the quote at i ('' inside is one quote); returns
// the index after the closing quote.
qsizetype ReadQuoted(const QString& text, qsizetype i, QString& literal)
{
    while (++i < text.size()) {
        if (text[i] != u'\'')
            literal += text[i];
        else if (i + 1 < text.size() && text[i + 1] == u'\'')
            literal += text[++i];
        else
            return i + 1;
    }
    return i;
}

// Reads the platform's picture, or with QtPattern one of QLocale's (where "h" is the
// 12-hour clock only beside an am/pm marker, "AP"/"ap"/"A"/"a" is the marker and "t"
// the time zone).
TPicture ReadPicture(const QString& text, bool QtPattern)
{
    const QString fields = QtPattern ? QStringLiteral("dMyhHmstzAa") : QStringLiteral("dMyghHmst");
    const bool qtTwelveHour = QtPattern && text.contains(u'A', Qt::CaseInsensitive);
    TPicture picture;
    auto literal = [&picture](const QString& s) {
        if (picture.empty() || !picture.back().Field.isNull())
            picture.push_back({});
        picture.back().Literal += s;
    };
    for (qsizetype i = 0; i < text.size();) {
        QChar c = text[i];
        if (c == u'\'') {
            QString quoted;
            if (i + 1 < text.size() && text[i + 1] == u'\'') {
                quoted = QStringLiteral("'");
                i += 2;
            } else {
                i = ReadQuoted(text, i, quoted);
            }
            literal(quoted);
            continue;
        }
        if (!fields.contains(c)) {
            literal(QString(c));
            ++i;
            continue;
        }
        int count = 0;
        while (i + count < text.size() && text[i + count] == c)
            ++count;
        if (QtPattern && c.toUpper() == u'A') // "AP", "ap", "A" or "a": one marker
            count = i + 1 < text.size() && text[i + 1].toUpper() == u'P' ? 2 : 1;
        i += count;
        if (QtPattern) {
            if (c.toUpper() == u'A')
                c = u't', count = 2;
            else if (c == u't')
                c = u'Z';
            else if (c == u'h')
                c = qtTwelveHour ? u'h' : u'H';
        }
        picture.push_back({c, count, QString()});
    }
    return picture;
}

// Leaves out the fields named in Fields with the literal before each (the separator
// that led to it), and the literal after a left-out field that ends the picture.
TPicture WithoutFields(const TPicture& picture, const QString& fields)
{
    TPicture out;
    qsizetype lastKept = -1;
    bool droppedLast = false;
    for (const TPictureItem& item : picture) {
        const bool dropped = !item.Field.isNull() && fields.contains(item.Field);
        if (dropped)
            out.erase(out.begin() + (lastKept + 1), out.end());
        else
            out.push_back(item);
        if (!item.Field.isNull()) {
            droppedLast = dropped;
            lastKept = dropped ? lastKept : qsizetype(out.size()) - 1;
        }
    }
    if (droppedLast)
        out.erase(out.begin() + (lastKept + 1), out.end());
    return out;
}

QString Padded(int value, int count)
{
    return QString::number(value).rightJustified(std::min(count, 2), u'0');
}

QString FieldText(const TPictureItem& item, const QDate& date, const QTime& time, const QLocale& locale)
{
    const int n = item.Count;
    const auto nameFormat = n == 3 ? QLocale::ShortFormat : QLocale::LongFormat;
    switch (item.Field.unicode()) {
    case u'd': return n <= 2 ? Padded(date.day(), n) : locale.dayName(date.dayOfWeek(), nameFormat);
    case u'M': return n <= 2 ? Padded(date.month(), n) : locale.monthName(date.month(), nameFormat);
    case u'y': return n <= 2 ? Padded(date.year() % 100, n) : QString::number(date.year()).rightJustified(4, u'0');
    case u'h': return Padded(time.hour() % 12 == 0 ? 12 : time.hour() % 12, n);
    case u'H': return Padded(time.hour(), n);
    case u'm': return Padded(time.minute(), n);
    case u's': return Padded(time.second(), n);
    case u't': {
        const QString marker = time.hour() < 12 ? locale.amText() : locale.pmText();
        return n == 1 ? marker.left(1) : marker;
    }
    default: return QString(); // the era, the time zone and milliseconds are not shown
    }
}

QString Render(const TPicture& picture, const QDate& date, const QTime& time, const QLocale& locale)
{
    QString out;
    for (const TPictureItem& item : picture)
        out += item.Field.isNull() ? item.Literal : FieldText(item, date, time, locale);
    return out;
}

// The same picture in FormatDateTime's letters; a literal equal to Separator is written
// as Marker ("/" or ":") so that it follows the table's separator.
QString DateTimePicture(const TPicture& picture, const QString& separator, QChar marker)
{
    QString out;
    for (const TPictureItem& item : picture) {
        const int n = item.Count;
        switch (item.Field.unicode()) {
        case 0: {
            const QString& s = item.Literal;
            const bool plain = std::none_of(s.begin(), s.end(), [](QChar c) {
                return c.isLetter() || c == u'\'' || c == u'"' || c == u'/' || c == u':';
            });
            out += s == separator ? QString(marker) : plain ? s : (s.contains(u'"') ? u'\'' + s + u'\'' : u'"' + s + u'"');
            break;
        }
        case u'd': out += QString(std::min(n, 4), u'd'); break;
        case u'M': out += QString(std::min(n, 4), u'm'); break;
        case u'y': out += n <= 2 ? QStringLiteral("yy") : QStringLiteral("yyyy"); break;
        case u'h':
        case u'H': out += QString(std::min(n, 2), u'h'); break;
        case u'm': out += QString(std::min(n, 2), u'n'); break;
        case u's': out += QString(std::min(n, 2), u's'); break;
        case u't': out += QStringLiteral("ampm"); break;
        default: break;
        }
    }
    return out;
}

// The first one-character literal between fields: the picture's separator.
QString SeparatorOf(const TPicture& picture)
{
    for (const TPictureItem& item : picture)
        if (item.Field.isNull() && item.Literal.size() == 1 && !item.Literal[0].isSpace())
            return item.Literal;
    return QString();
}

QDate DateOfSystemTime(const SYSTEMTIME* st)
{
    return st ? QDate(st->wYear, st->wMonth, st->wDay) : QDate::currentDate();
}

QTime TimeOfSystemTime(const SYSTEMTIME* st)
{
    return st ? QTime(st->wHour, st->wMinute, st->wSecond) : QTime::currentTime();
}

TPicture TimePicture(const QLocale& locale, bool seconds)
{
    return WithoutFields(ReadPicture(locale.timeFormat(QLocale::LongFormat), true),
                         seconds ? QStringLiteral("Zz") : QStringLiteral("Zzs"));
}

} // namespace

LANGID LangIDFromLocaleName(const QString& Name)
{
    if (IsPosixLocale(Name))
        return 0x0409;
    const QString bare = BareLocaleName(Name);
    const QString language = bare.section(u'_', 0, 0);
    LANGID fallback = LANG_NEUTRAL;
    for (const TLanguageName& entry : Languages) {
        const QString name = QString::fromLatin1(entry.Name);
        if (name == bare)
            return entry.Lang;
        if (fallback == LANG_NEUTRAL && name.section(u'_', 0, 0) == language)
            fallback = entry.Lang;
    }
    return fallback;
}

QString LocaleNameFromLangID(LANGID Lang)
{
    for (const TLanguageName& entry : Languages)
        if (entry.Lang == Lang)
            return QString::fromLatin1(entry.Name);
    return QString();
}

// The C library looks for the messages' language in LC_ALL, LC_MESSAGES and LANG, and
// lets the first entry of LANGUAGE override it unless that locale is "C"; so does this.
LANGID GetUserDefaultLangID()
{
    const QString locale = FirstSet({"LC_ALL", "LC_MESSAGES", "LANG"});
    if (IsPosixLocale(locale))
        return LangIDFromLocaleName(locale);
    const QString preferred = qEnvironmentVariable("LANGUAGE").section(u':', 0, 0);
    return LangIDFromLocaleName(preferred.isEmpty() ? locale : preferred);
}

// The system's language is the locale the session was started with: LC_ALL, then LANG
// (which the login sets from the system's locale file). The file itself is not read,
// so the answer follows the process's environment like every other locale query.
LANGID GetSystemDefaultLangID()
{
    return LangIDFromLocaleName(FirstSet({"LC_ALL", "LANG"}));
}

QString GetDateFormat(LCID Locale, uint32_t Flags, const SYSTEMTIME* Date, const QString& Format)
{
    const std::optional<QLocale> locale = LocaleOf(Locale);
    const QDate date = DateOfSystemTime(Date);
    if (!locale || !date.isValid())
        return QString();
    const auto length = (Flags & DATE_LONGDATE) ? QLocale::LongFormat : QLocale::ShortFormat;
    const TPicture picture = Format.isNull() ? ReadPicture(locale->dateFormat(length), true) : ReadPicture(Format, false);
    return Render(picture, date, QTime(0, 0), *locale);
}

QString GetTimeFormat(LCID Locale, uint32_t Flags, const SYSTEMTIME* Time, const QString& Format)
{
    const std::optional<QLocale> locale = LocaleOf(Locale);
    const QTime time = TimeOfSystemTime(Time);
    if (!locale || !time.isValid())
        return QString();
    const bool seconds = !(Flags & TIME_NOSECONDS);
    const TPicture picture = Format.isNull() ? TimePicture(*locale, seconds)
                                             : WithoutFields(ReadPicture(Format, false), seconds ? QString() : QStringLiteral("s"));
    return Render(picture, QDate(), time, *locale);
}

TFormatSettings LocaleFormatSettings(LCID Locale)
{
    TFormatSettings settings;
    const std::optional<QLocale> locale = LocaleOf(Locale);
    if (!locale)
        return settings;
    const TPicture shortDate = ReadPicture(locale->dateFormat(QLocale::ShortFormat), true);
    const TPicture longTime = TimePicture(*locale, true);
    const QString dateSeparator = SeparatorOf(shortDate);
    const QString timeSeparator = SeparatorOf(longTime);
    settings.DateSeparator = dateSeparator.isEmpty() ? settings.DateSeparator : dateSeparator[0];
    settings.TimeSeparator = timeSeparator.isEmpty() ? settings.TimeSeparator : timeSeparator[0];
    settings.ShortDateFormat = DateTimePicture(shortDate, dateSeparator, u'/');
    settings.LongDateFormat = DateTimePicture(ReadPicture(locale->dateFormat(QLocale::LongFormat), true), dateSeparator, u'/');
    settings.ShortTimeFormat = DateTimePicture(TimePicture(*locale, false), timeSeparator, u':');
    settings.LongTimeFormat = DateTimePicture(longTime, timeSeparator, u':');
    settings.TimeAMString = locale->amText();
    settings.TimePMString = locale->pmText();
    for (int m = 1; m <= 12; ++m) {
        settings.ShortMonthNames[m - 1] = locale->monthName(m, QLocale::ShortFormat);
        settings.LongMonthNames[m - 1] = locale->monthName(m, QLocale::LongFormat);
    }
    for (int d = 0; d < 7; ++d) { // the table starts on Sunday, QLocale counts it as 7
        settings.ShortDayNames[d] = locale->dayName(d == 0 ? 7 : d, QLocale::ShortFormat);
        settings.LongDayNames[d] = locale->dayName(d == 0 ? 7 : d, QLocale::LongFormat);
    }
    return settings;
}

} // namespace vcl
