// Parsing of MLSD and LIST lines, checked against values read off the lines by hand.
#include "platform/ftp/ftplisting.h"

#include <gtest/gtest.h>


using namespace platform::ftp;

namespace {

const QDateTime Now(QDate(2024, 3, 10), QTime(12, 0), Qt::UTC);

QDateTime Utc(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s, ms), Qt::UTC);
}

struct LineCase {
    const char* Line;
    const char* Name;
    bool IsDirectory;
    bool IsLink;
    const char* Target;
    int64_t Size;
    QDateTime When;
};

void ExpectEntry(const std::optional<FtpEntry>& entry, const LineCase& expected)
{
    ASSERT_TRUE(entry.has_value()) << expected.Line;
    EXPECT_EQ(entry->Name, QByteArray(expected.Name)) << expected.Line;
    EXPECT_EQ(entry->IsDirectory, expected.IsDirectory) << expected.Line;
    EXPECT_EQ(entry->IsLink, expected.IsLink) << expected.Line;
    EXPECT_EQ(entry->LinkTarget, QByteArray(expected.Target)) << expected.Line;
    EXPECT_EQ(entry->Size, expected.Size) << expected.Line;
    EXPECT_EQ(entry->LastWrite, expected.When) << expected.Line;
}

} // namespace

TEST(FtpListing, UnixAndDosLines)
{
    const LineCase cases[] = {
        // vsftpd: numeric owners, padded columns, recent date with a time.
        {"-rw-r--r--    1 0        0               6 Mar 06 07:34 a.txt", "a.txt", false, false, "", 6, Utc(2024, 3, 6, 7, 34)},
        // A date more than a day ahead of now belongs to the year before.
        {"-rw-r--r--    1 0        0             100 Dec 24 23:59 xmas", "xmas", false, false, "", 100, Utc(2023, 12, 24, 23, 59)},
        // Old files give the year instead of the time.
        {"drwxr-xr-x   2 user group      4096 Jan  5  2020 old dir", "old dir", true, false, "", 4096, Utc(2020, 1, 5)},
        // Blanks inside and at the end of a name are kept; only the one separator goes.
        {"-rw-r--r-- 1 u g 1 Mar 01 10:00  two  blanks ", " two  blanks ", false, false, "", 1, Utc(2024, 3, 1, 10, 0)},
        {"lrwxrwxrwx 1 u g 5 Mar 06 07:34 lnk -> a.txt", "lnk", false, true, "a.txt", 5, Utc(2024, 3, 6, 7, 34)},
        {"lrwxrwxrwx 1 u g 12 Mar 06 07:34 my link -> /x/y z", "my link", false, true, "/x/y z", 12, Utc(2024, 3, 6, 7, 34)},
        // Without a group column, and with a size beyond 32 bits.
        {"-rw-r--r-- 1 owner 5000000000 Feb 29 2024 big.iso", "big.iso", false, false, "", 5000000000LL, Utc(2024, 2, 29)},
        // UTF-8 names pass through as bytes.
        {"-rw-r--r-- 1 u g 3 Mar 01 10:00 \xc3\xa9t\xc3\xa9.txt", "\xc3\xa9t\xc3\xa9.txt", false, false, "", 3, Utc(2024, 3, 1, 10, 0)},
        // DOS lines: 12-hour clock, two- and four-digit years, sizes with separators.
        {"03-05-24  12:34PM       <DIR>          Some Folder", "Some Folder", true, false, "", 0, Utc(2024, 3, 5, 12, 34)},
        {"03-05-24  12:05AM                 1234 file.bin", "file.bin", false, false, "", 1234, Utc(2024, 3, 5, 0, 5)},
        {"11-30-1999  09:01PM            1,234,567 report 1999.doc", "report 1999.doc", false, false, "", 1234567, Utc(1999, 11, 30, 21, 1)},
        {"01-02-70  01:00AM                    0 epoch", "epoch", false, false, "", 0, Utc(1970, 1, 2, 1, 0)},
    };
    for (const LineCase& c : cases)
        ExpectEntry(ParseListLine(c.Line, Now), c);
}

TEST(FtpListing, MlsdLines)
{
    const LineCase cases[] = {
        {"type=file;size=6;modify=20240306073412;perm=r; a.txt", "a.txt", false, false, "", 6, Utc(2024, 3, 6, 7, 34, 12)},
        {"Type=DIR;Modify=20200105000000.250; old dir", "old dir", true, false, "", 0, Utc(2020, 1, 5, 0, 0, 0, 250)},
        {"type=OS.unix=slink:/srv/target;size=11;modify=20240306073412; lnk", "lnk", false, true, "/srv/target", 11, Utc(2024, 3, 6, 7, 34, 12)},
        {"type=OS.unix=symlink;modify=20240306073412; bare", "bare", false, true, "", 0, Utc(2024, 3, 6, 7, 34, 12)},
        // A name may hold semicolons and blanks; only the first blank ends the facts.
        {"type=file;size=1; a;b c", "a;b c", false, false, "", 1, QDateTime()},
    };
    for (const LineCase& c : cases)
        ExpectEntry(ParseMlsdLine(c.Line), c);
}

TEST(FtpListing, LinesThatNameNoEntryAreSkipped)
{
    const char* lines[] = {
        "", "total 20", "garbage", "drwxr-xr-x 2 u g 4096 Mar 06 07:34 .", "drwxr-xr-x 2 u g 4096 Mar 06 07:34 ..",
        "-rw-r--r-- 1 u g 12 Foo 06 07:34 badmonth", "-rw-r--r-- 1 u g 12 Mar 32 07:34 badday",
        "-rw-r--r-- 1 u g 12 Mar 06 25:61 badtime", "-rw-r--r-- 1 u g -3 Mar 06 07:34 negative",
        "-rw-r--r-- 1 u g 12 Mar 06 07:34", "02-30-24  10:00AM  5 february30", "03-05-24  13:00PM  5 badclock",
        "03-05-24  10:00AM  5x notasize", "-rw-r--r-- 1 u g 3 Mar 06 07:34 a/b",
        "03-05-24  10:00AM  5 ../up", "lrwxrwxrwx 1 u g 5 Mar 06 07:34 sub/lnk -> a.txt",
    };
    for (const char* line : lines)
        EXPECT_FALSE(ParseListLine(line, Now).has_value()) << line;
    const char* mlsd[] = {"type=cdir; /pub", "type=pdir; ..", "size=5; notype", "type=file;size=5;", "no facts",
                          "type=file;modify=2024; badtime", "type=file; .", "type=dir; ..", "type=file; a/b",
                          "type=file; /etc/passwd", "type=file; a\rb"};
    for (const char* line : mlsd) {
        const std::optional<FtpEntry> entry = ParseMlsdLine(line);
        if (QByteArray(line).endsWith("badtime")) {
            ASSERT_TRUE(entry.has_value());
            EXPECT_FALSE(entry->LastWrite.isValid());
        } else {
            EXPECT_FALSE(entry.has_value()) << line;
        }
    }
}

// Whole listings: CR LF or LF line ends, "." and the current folder left out, and a
// NUL (which would end a name early where entries go on as C strings) drops the line.
TEST(FtpListing, WholeListings)
{
    static const char list[] = "total 8\r\n"
                               "drwxr-xr-x 2 u g 4096 Mar 06 07:34 .\r\n"
                               "drwxr-xr-x 2 u g 4096 Mar 06 07:34 sub\r\n"
                               "-rw-r--r-- 1 u g 3 Mar 06 07:34 a\0b\n"
                               "lrwxrwxrwx 1 u g 3 Mar 06 07:34 lnk -> a\0b\n"
                               "-rw-r--r-- 1 u g 3 Mar 06 07:34 f\n";
    static const char mlsd[] = "type=cdir;modify=20240306073412; /\r\ntype=file;size=3; a\0b\ntype=file;size=2; x\r\n";
    const struct {
        QByteArray Data;
        ListingFormat Format;
        QList<QByteArray> Names;
    } cases[] = {
        {QByteArray(list, sizeof list - 1), ListingFormat::List, {"sub", "f"}},
        {QByteArray(mlsd, sizeof mlsd - 1), ListingFormat::Mlsd, {"x"}},
    };
    for (const auto& c : cases) {
        QList<QByteArray> names;
        for (const FtpEntry& entry : ParseListing(c.Data, c.Format, Now))
            names << entry.Name;
        EXPECT_EQ(names, c.Names) << c.Data.constData();
    }
}
