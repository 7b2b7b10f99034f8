#include "vcl/core/sysutils.h"

#include "support/testsupport.h"

#include <QDate>
#include <array>
#include <gtest/gtest.h>

using namespace vcl;

namespace {

// Sunday 6 December 2026, 07:05:09.
TDateTime Sample()
{
    return EncodeDate(2026, 12, 6) + EncodeTime(7, 5, 9, 0);
}

// Restores the process-wide table after a test that changes it.
class FormatTableGuard {
public:
    FormatTableGuard() : FSaved(FormatSettings()) {}
    ~FormatTableGuard() { FormatSettings() = FSaved; }

private:
    TFormatSettings FSaved;
};

} // namespace

TEST(DateTime, EncodeCountsDaysFromTheEndOf1899AndDecodeSplitsDayAndTime)
{
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(EncodeDate(1900, 1, 1), 2.0);
    EXPECT_EQ(EncodeDate(2000, 1, 1), 36526.0);
    EXPECT_EQ(EncodeDate(1899, 12, 29), -1.0);
    EXPECT_EQ(EncodeDate(2024, 3, 1) - EncodeDate(2024, 2, 28), 2.0);
    EXPECT_DOUBLE_EQ(EncodeTime(6, 0, 0, 0), 0.25);
    EXPECT_DOUBLE_EQ(EncodeTime(12, 0, 0, 0), 0.5);
    EXPECT_DOUBLE_EQ(EncodeTime(0, 0, 0, 1), 1.0 / 86400000.0);
    for (auto bad : {std::array{2023, 2, 29}, std::array{2024, 13, 1}, std::array{0, 1, 1}, std::array{10000, 1, 1}, std::array{2024, 4, 31}})
        EXPECT_THROW(EncodeDate(bad[0], bad[1], bad[2]), EConvertError) << bad[0] << "-" << bad[1] << "-" << bad[2];
    EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
    EXPECT_THROW(EncodeTime(0, 60, 0, 0), EConvertError);
    EXPECT_THROW(EncodeTime(0, 0, 0, 1000), EConvertError);

    // Decoding splits day and time, with negative values too.
    int y = 0, m = 0, d = 0, h = 0, n = 0, s = 0, z = 0;
    DecodeDate(-1.25, y, m, d);
    DecodeTime(-1.25, h, n, s, z);
    EXPECT_EQ(QDate(y, m, d), QDate(1899, 12, 29));
    EXPECT_EQ(h, 6);
    DecodeDate(Sample(), y, m, d);
    DecodeTime(Sample(), h, n, s, z);
    EXPECT_EQ(QDate(y, m, d), QDate(2026, 12, 6));
    EXPECT_EQ((std::array{h, n, s, z}), (std::array{7, 5, 9, 0}));
    EXPECT_EQ(DayOfWeek(0), 7);
    EXPECT_EQ(DayOfWeek(Sample()), 1);
    // A fraction a hair short of midnight rounds to the next day, date and time alike.
    EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn:ss.zzz", EncodeDate(2000, 1, 1) + 0.9999999999), QStringLiteral("2000-01-02 00:00:00.000"));
}

TEST(DateTime, DateTimeToStrUsesTheFixedEnglishTableAndStrToDateTimeReadsItBack)
{
    EXPECT_EQ(DateTimeToStr(Sample()), QStringLiteral("12/6/2026 7:05:09 AM"));
    EXPECT_EQ(DateTimeToStr(EncodeDate(2026, 12, 6)), QStringLiteral("12/6/2026"));
    EXPECT_EQ(DateTimeToStr(EncodeDate(2026, 1, 2) + EncodeTime(13, 0, 0, 0)), QStringLiteral("1/2/2026 1:00:00 PM"));
    EXPECT_EQ(DateTimeToStr(EncodeDate(2026, 1, 2) + EncodeTime(0, 30, 0, 0)), QStringLiteral("1/2/2026 12:30:00 AM"));
    EXPECT_EQ(DateTimeToStr(EncodeDate(2026, 1, 2) + EncodeTime(12, 0, 0, 0)), QStringLiteral("1/2/2026 12:00:00 PM"));
    EXPECT_EQ(DateToStr(Sample()), QStringLiteral("12/6/2026"));
    EXPECT_EQ(TimeToStr(Sample()), QStringLiteral("7:05:09 AM"));

    // StrToDateTime reads what DateTimeToStr writes.
    EXPECT_DOUBLE_EQ(StrToDateTime("12/6/2026 7:05:09 AM"), Sample());
    EXPECT_DOUBLE_EQ(StrToDateTime(DateTimeToStr(Sample())), Sample());
    EXPECT_EQ(StrToDateTime("12/6/2026"), EncodeDate(2026, 12, 6));
    EXPECT_DOUBLE_EQ(StrToDateTime(" 12/6/2026   19:05 "), EncodeDate(2026, 12, 6) + EncodeTime(19, 5, 0, 0));
    EXPECT_DOUBLE_EQ(StrToDateTime("12/6/2026 12:00 am"), EncodeDate(2026, 12, 6));
    EXPECT_DOUBLE_EQ(StrToDateTime("12/6/2026 12 PM"), EncodeDate(2026, 12, 6) + 0.5);
    EXPECT_DOUBLE_EQ(StrToDateTime("1/2/2026 1:02:03.456"), EncodeDate(2026, 1, 2) + EncodeTime(1, 2, 3, 456));
    EXPECT_DOUBLE_EQ(StrToTime("6:00 PM"), 0.75);
    // A two-digit year is the one nearest this year; a missing year is this year.
    int y = 0, m = 0, d = 0;
    DecodeDate(StrToDate("1/2/01"), y, m, d);
    EXPECT_EQ(y, 2001);
    DecodeDate(StrToDate("1/2"), y, m, d);
    EXPECT_EQ(y, QDate::currentDate().year());
    EXPECT_EQ(m, 1);
    for (const char* bad : {"", "abc", "13/1/2026", "2/30/2026", "12/6/2026 13:00 PM", "12/6/2026 0:00 AM",
                            "12/6/2026 7:05 xyz", "12-6-2026", "12/6/2026 25:00", "12/6/2026 7:60", "1/", "12/6/2026/1"})
        EXPECT_THROW(StrToDateTime(bad), EConvertError) << bad;
    try {
        StrToDateTime("nope");
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("'nope' is not a valid date and time"));
    }
    EXPECT_THROW(StrToDate("12/6/2026 7:00"), EConvertError);
    EXPECT_THROW(StrToTime("7:00 12/6/2026"), EConvertError);
}

TEST(DateTime, FormatDateTimePicturesAndASettableTable)
{
    const TDateTime afternoon = EncodeDate(2026, 3, 4) + EncodeTime(13, 5, 9, 42);
    struct Case {
        const char* fmt;
        TDateTime value;
        const char* expected;
    } const cases[] = {
        {"yyyy-mm-dd hh:nn:ss.zzz", Sample(), "2026-12-06 07:05:09.000"},
        {"dddd, mmmm d", Sample(), "Sunday, December 6"},
        {"ddd mmm yy", Sample(), "Sun Dec 26"},
        {"d/m/yy", afternoon, "4/3/26"},
        {"h:mm", afternoon, "13:05"},
        {"hh:mm:ss", afternoon, "13:05:09"},
        {"h:mm a/p", Sample(), "7:05 a"},
        {"hh:mm AM/PM", afternoon, "01:05 PM"},
        {"h:nn am/pm", afternoon, "1:05 pm"},
        {"h ampm", afternoon, "1 PM"},
        {"z zzz", afternoon, "42 042"},
        {"'month' m \"day\" d", afternoon, "month 3 day 4"},
        {"c", afternoon, "3/4/2026 1:05:09 PM"},
        {"ddddd t", afternoon, "3/4/2026 1:05 PM"},
        {"dddddd", afternoon, "Wednesday, March 4, 2026"},
        {"mm", afternoon, "03"},
        {"yyyy", EncodeDate(33, 1, 1), "0033"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatDateTime(c.fmt, c.value), QString::fromUtf8(c.expected)) << c.fmt;

    // The table is settable.
    FormatTableGuard guard;
    FormatSettings().ShortDateFormat = QStringLiteral("dd.mm.yyyy");
    FormatSettings().DateSeparator = u'.';
    FormatSettings().LongTimeFormat = QStringLiteral("hh:nn:ss");
    EXPECT_EQ(DateTimeToStr(Sample()), QStringLiteral("06.12.2026 07:05:09"));
    EXPECT_EQ(StrToDate("06.12.2026"), EncodeDate(2026, 12, 6));
    EXPECT_DOUBLE_EQ(StrToDateTime("6.12.2026 7:05:09"), Sample());
    // A picture that names itself does not loop.
    FormatSettings().ShortDateFormat = QStringLiteral("ddddd");
    EXPECT_EQ(FormatDateTime("ddddd", Sample()), QString());
}

TEST(DateTime, QDateTimeRoundTrip)
{
    const QDateTime qt(QDate(2026, 12, 6), QTime(7, 5, 9, 250));
    const TDateTime value = DateTimeFromQDateTime(qt);
    EXPECT_DOUBLE_EQ(value, Sample() + 250.0 / 86400000.0);
    EXPECT_EQ(DateTimeToQDateTime(value), qt);
    const QDateTime old(QDate(1899, 12, 29), QTime(6, 0));
    EXPECT_DOUBLE_EQ(DateTimeFromQDateTime(old), -1.25);
    EXPECT_EQ(DateTimeToQDateTime(-1.25), old);
    const double before = Now();
    EXPECT_GT(before, EncodeDate(2020, 1, 1));
}
