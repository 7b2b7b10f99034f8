#include "platform/ftp/ftplisting.h"

#include <array>

namespace platform::ftp {

namespace {

// A blank-separated word of a LIST line and where it ends, so that the name (which
// may hold blanks) can be cut from the line after the last fixed word.
struct Word {
    QByteArrayView Text;
    qsizetype End = 0;
};

std::vector<Word> SplitWords(QByteArrayView line, size_t maxWords)
{
    std::vector<Word> words;
    qsizetype i = 0;
    while (i < line.size() && words.size() < maxWords) {
        while (i < line.size() && line[i] == ' ')
            ++i;
        const qsizetype start = i;
        while (i < line.size() && line[i] != ' ')
            ++i;
        if (i > start)
            words.push_back({line.sliced(start, i - start), i});
    }
    return words;
}

bool AllDigits(QByteArrayView text)
{
    if (text.isEmpty())
        return false;
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

// The value of a run of decimal digits, or -1 when it is not one (or would overflow).
int64_t DigitsValue(QByteArrayView text)
{
    if (!AllDigits(text) || text.size() > 18)
        return -1;
    int64_t value = 0;
    for (char c : text)
        value = value * 10 + (c - '0');
    return value;
}

int MonthOf(QByteArrayView word)
{
    static constexpr std::array<const char*, 12> months = {
        "jan", "feb", "mar", "apr", "may", "jun", "jul", "aug", "sep", "oct", "nov", "dec"};
    if (word.size() != 3)
        return 0;
    const QByteArray lower = word.toByteArray().toLower();
    for (size_t m = 0; m < months.size(); ++m)
        if (lower == months[m])
            return static_cast<int>(m) + 1;
    return 0;
}

// A name a client can show and name back: not the folder itself or its parent, and no
// byte that would cut it short (NUL), make it a path ("/") or end a command (CR).
// A NUL in a target would likewise cut it short.
bool IsUsableEntry(const FtpEntry& entry)
{
    const QByteArray& name = entry.Name;
    if (name.isEmpty() || name == "." || name == "..")
        return false;
    for (char c : name)
        if (c == '\0' || c == '/' || c == '\r')
            return false;
    return !entry.LinkTarget.contains('\0');
}

// "HH:MM" into minutes since midnight, -1 when malformed.
int ClockMinutes(QByteArrayView text)
{
    const qsizetype colon = text.indexOf(':');
    if (colon < 1)
        return -1;
    const int64_t hours = DigitsValue(text.first(colon));
    const int64_t minutes = DigitsValue(text.sliced(colon + 1));
    if (hours < 0 || hours > 23 || minutes < 0 || minutes > 59)
        return -1;
    return static_cast<int>(hours * 60 + minutes);
}

QByteArrayView RestAfter(QByteArrayView line, qsizetype end, bool skipAllBlanks)
{
    QByteArrayView rest = line.sliced(end);
    // "ls -l" puts exactly one blank before the name; a name may itself begin with blanks.
    if (!skipAllBlanks)
        return rest.startsWith(' ') ? rest.sliced(1) : rest;
    while (rest.startsWith(' '))
        rest = rest.sliced(1);
    return rest;
}

// "drwxr-xr-x 2 owner group 4096 Jan  5 12:34 name" and its variants without a group
// or with more columns: the size is the number before the month, the name follows the
// time or year.
std::optional<FtpEntry> ParseUnixLine(QByteArrayView line, const QDateTime& Now)
{
    if (line.size() < 10 || QByteArrayView("-dlbcpsD").indexOf(line[0]) < 0)
        return std::nullopt;
    const std::vector<Word> words = SplitWords(line, 12);
    for (size_t m = 2; m + 2 < words.size(); ++m) {
        const int month = MonthOf(words[m].Text);
        const int64_t day = DigitsValue(words[m + 1].Text);
        const int64_t size = DigitsValue(words[m - 1].Text);
        if (month == 0 || day < 1 || day > 31 || size < 0)
            continue;
        const QByteArrayView yearOrTime = words[m + 2].Text;
        QDateTime when;
        if (const int minutes = ClockMinutes(yearOrTime); minutes >= 0) {
            const QTime clock(minutes / 60, minutes % 60);
            const int thisYear = Now.date().year();
            when = QDateTime(QDate(thisYear, month, static_cast<int>(day)), clock, Qt::UTC);
            if (!when.isValid() || when > Now.addDays(1))
                when = QDateTime(QDate(thisYear - 1, month, static_cast<int>(day)), clock, Qt::UTC);
        } else if (const int64_t year = DigitsValue(yearOrTime); year >= 1900 && year <= 9999) {
            when = QDateTime(QDate(static_cast<int>(year), month, static_cast<int>(day)), QTime(0, 0), Qt::UTC);
        } else {
            continue;
        }
        FtpEntry entry;
        entry.Size = size;
        entry.LastWrite = when;
        entry.IsDirectory = line[0] == 'd' || line[0] == 'D';
        entry.IsLink = line[0] == 'l';
        const QByteArrayView name = RestAfter(line, words[m + 2].End, false);
        const qsizetype arrow = entry.IsLink ? name.indexOf(" -> ") : -1;
        if (arrow > 0) {
            entry.Name = name.first(arrow).toByteArray();
            entry.LinkTarget = name.sliced(arrow + 4).toByteArray();
        } else {
            entry.Name = name.toByteArray();
        }
        if (entry.Name.isEmpty())
            return std::nullopt;
        return entry;
    }
    return std::nullopt;
}

// "01-05-24  12:34PM       <DIR>          name" or "01-05-2024  09:01AM  1,234 name".
std::optional<FtpEntry> ParseDosLine(QByteArrayView line)
{
    const std::vector<Word> words = SplitWords(line, 3);
    if (words.size() < 3)
        return std::nullopt;
    const QList<QByteArray> parts = words[0].Text.toByteArray().split('-');
    if (parts.size() != 3)
        return std::nullopt;
    const int64_t month = DigitsValue(parts[0]);
    const int64_t day = DigitsValue(parts[1]);
    int64_t year = DigitsValue(parts[2]);
    if (parts[2].size() == 2 && year >= 0)
        year += year < 70 ? 2000 : 1900; // two-digit years: 1970 to 2069
    const QDate calendarDate(static_cast<int>(year), static_cast<int>(month), static_cast<int>(day));
    if (!calendarDate.isValid())
        return std::nullopt;

    QByteArrayView clock = words[1].Text;
    const bool pm = clock.endsWith("PM") || clock.endsWith("pm");
    const bool am = clock.endsWith("AM") || clock.endsWith("am");
    if (am || pm)
        clock.chop(2);
    int minutes = ClockMinutes(clock);
    if (minutes < 0 || ((am || pm) && minutes >= 13 * 60))
        return std::nullopt;
    if (am || pm) {
        minutes %= 12 * 60; // 12:xxAM is just after midnight, 12:xxPM just after noon
        if (pm)
            minutes += 12 * 60;
    }

    FtpEntry entry;
    entry.LastWrite = QDateTime(calendarDate, QTime(minutes / 60, minutes % 60), Qt::UTC);
    if (words[2].Text == "<DIR>") {
        entry.IsDirectory = true;
    } else {
        QByteArray digits = words[2].Text.toByteArray();
        digits.replace(',', "");
        entry.Size = DigitsValue(digits);
        if (entry.Size < 0)
            return std::nullopt;
    }
    entry.Name = RestAfter(line, words[2].End, true).toByteArray();
    if (entry.Name.isEmpty())
        return std::nullopt;
    return entry;
}

// "YYYYMMDDHHMMSS" with optional ".sss".
QDateTime MlsdTime(QByteArrayView value)
{
    const qsizetype dot = value.indexOf('.');
    const QByteArrayView whole = dot >= 0 ? value.first(dot) : value;
    if (whole.size() != 14 || !AllDigits(whole))
        return {};
    auto field = [&](qsizetype from, qsizetype count) { return static_cast<int>(DigitsValue(whole.sliced(from, count))); };
    int milliseconds = 0;
    if (dot >= 0) {
        const QByteArrayView fraction = value.sliced(dot + 1).first(std::min<qsizetype>(3, value.size() - dot - 1));
        if (!AllDigits(fraction))
            return {};
        milliseconds = static_cast<int>(DigitsValue(fraction));
        for (qsizetype i = fraction.size(); i < 3; ++i)
            milliseconds *= 10;
    }
    const QDateTime when(QDate(field(0, 4), field(4, 2), field(6, 2)),
                         QTime(field(8, 2), field(10, 2), field(12, 2), milliseconds), Qt::UTC);
    return when.isValid() ? when : QDateTime();
}

} // namespace

std::optional<FtpEntry> ParseMlsdLine(QByteArrayView line)
{
    const qsizetype blank = line.indexOf(' ');
    if (blank <= 0 || blank + 1 >= line.size())
        return std::nullopt;
    FtpEntry entry;
    entry.Name = line.sliced(blank + 1).toByteArray();
    bool typed = false;
    for (const QByteArray& fact : line.first(blank).toByteArray().split(';')) {
        const qsizetype equals = fact.indexOf('=');
        if (equals <= 0)
            continue;
        const QByteArray key = fact.first(equals).toLower();
        const QByteArray value = fact.sliced(equals + 1);
        const QByteArray lowerValue = value.toLower();
        if (key == "type") {
            typed = true;
            if (lowerValue == "cdir" || lowerValue == "pdir")
                return std::nullopt;
            entry.IsDirectory = lowerValue == "dir";
            // "OS.unix=slink:target" (ProFTPD) and "OS.unix=symlink" name links.
            if (lowerValue.startsWith("os.unix=slink") || lowerValue.startsWith("os.unix=symlink")) {
                entry.IsLink = true;
                const qsizetype colon = value.indexOf(':');
                if (colon >= 0)
                    entry.LinkTarget = value.sliced(colon + 1);
            }
        } else if (key == "size" || key == "sizd") {
            entry.Size = std::max<int64_t>(0, DigitsValue(value));
        } else if (key == "modify") {
            entry.LastWrite = MlsdTime(value);
        }
    }
    if (!typed || !IsUsableEntry(entry))
        return std::nullopt;
    return entry;
}

std::optional<FtpEntry> ParseListLine(QByteArrayView line, const QDateTime& Now)
{
    std::optional<FtpEntry> entry = ParseUnixLine(line, Now);
    if (!entry)
        entry = ParseDosLine(line);
    if (entry && !IsUsableEntry(*entry))
        return std::nullopt;
    return entry;
}

std::vector<FtpEntry> ParseListing(const QByteArray& data, ListingFormat format, const QDateTime& Now)
{
    std::vector<FtpEntry> entries;
    for (QByteArray line : data.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        std::optional<FtpEntry> entry = format == ListingFormat::Mlsd ? ParseMlsdLine(line) : ParseListLine(line, Now);
        if (entry)
            entries.push_back(std::move(*entry));
    }
    return entries;
}

} // namespace platform::ftp
