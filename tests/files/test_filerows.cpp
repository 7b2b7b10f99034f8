// The rows of the file list apart from the control: directory reading, the column texts,
// the sort comparison and the choice of language table. Expected texts and orders are
// worked out by hand in the comments beside them.
#include "filelisttestfolder.h"
#include "files/qvfilectrls.h"
#include "files/qvfilerows.h"
#include "support/testsupport.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace Qvfilectrls;

namespace {

QStringList NamesOf(const std::vector<TFileEntry>& Entries)
{
    QStringList names;
    for (const TFileEntry& e : Entries)
        names << e.Name;
    return names;
}

// Sets the locale variables for one test and puts the old values back.
class TLocaleEnvironment {
public:
    explicit TLocaleEnvironment(const QByteArray& Locale)
    {
        for (const char* name : Names) {
            FSaved.append(qgetenv(name));
            qputenv(name, Locale);
        }
    }
    ~TLocaleEnvironment()
    {
        for (int i = 0; i < FSaved.size(); ++i)
            qputenv(Names[i], FSaved[i]);
    }

private:
    static constexpr const char* Names[] = {"LC_ALL", "LC_MESSAGES", "LANG", "LANGUAGE"};
    QList<QByteArray> FSaved;
};

} // namespace

TEST(FileRows, SizeDriveSizeAndAttributeTexts)
{
    // Thousands separated by ",", nothing but a space for an empty file; sizes past
    // 32 bits keep every digit.
    const std::pair<int64_t, const char*> sizes[] = {{0, " "}, {987, "987"}, {1234, "1,234"},
        {5'000'000'000, "5,000,000,000"}, {1'099'511'627'776, "1,099,511,627,776"}};
    for (const auto& [size, text] : sizes) {
        SCOPED_TRACE(text);
        EXPECT_EQ(FileSizeText(size), QString::fromLatin1(text));
        if (size > 0) {
            EXPECT_EQ(SizeOfText(QString::fromLatin1(text)), size);
        }
    }
    EXPECT_EQ(SizeOfText(QStringLiteral("12 Kb")), 12);
    EXPECT_EQ(SizeOfText(QStringLiteral("abc")), -1);
    EXPECT_EQ(SizeOfText(QStringLiteral(" ")), -1);

    // Drive sizes: 10,240,000 bytes are 10000 KB exactly (still in KB); one KB more is
    // 10001 KB = 9 MB rounded down; 2^40 bytes are 2^20 MB = 1,048,576 MB.
    const std::pair<int64_t, const char*> driveSizes[] = {{0, "0 Kb"}, {1023, "0 Kb"}, {2048, "2 Kb"},
        {10'240'000, "10,000 Kb"}, {10'241'024, "9 Mb"}, {1'099'511'627'776, "1,048,576 Mb"}};
    for (const auto& [bytes, text] : driveSizes)
        EXPECT_EQ(DriveSizeText(bytes), QString::fromLatin1(text)) << bytes;

    // Attributes.
    EXPECT_EQ(AttributeText(0), QStringLiteral(" "));
    EXPECT_EQ(AttributeText(faHidden), QStringLiteral("h "));
    EXPECT_EQ(AttributeText(faArchive | faSystem | faHidden | faReadOnly | faDirectory), QStringLiteral("drhsa "));
    EXPECT_EQ(AttributeText(faReadOnly | faArchive), QStringLiteral("ra "));
}

TEST(FileRows, ComparisonIsAStrictWeakOrderingForEveryKey)
{
    const QDateTime t1({2020, 1, 1}, {0, 0}, Qt::UTC), t2({2021, 1, 1}, {0, 0}, Qt::UTC);
    const std::vector<TRowKey> keys = {
        {"a", 5, "Text", t1, " "}, {"a", 5, "Text", t1, " "}, {"B", 7, "text", t2, "h "}, {"b", 7, "Zip", QDateTime(), " "},
        {"c", -1, "Text", QDateTime(), "r "}, {"dir", 0, "Folder", t2, "d "}, {"Dir2", 0, "Folder", t1, "d "},
        {"Home", 0, "Folder", QDateTime(), "X"}, {"link", 3, "Text", t2, "L"}};
    for (int by = sbName; by <= sbAttrInv; ++by) {
        SCOPED_TRACE(by);
        const auto cmp = [by](const TRowKey& a, const TRowKey& b) { return CompareRows(a, b, TSortedBy(by)); };
        for (const TRowKey& a : keys)
            for (const TRowKey& b : keys) {
                EXPECT_EQ((cmp(a, b) > 0) - (cmp(a, b) < 0), -((cmp(b, a) > 0) - (cmp(b, a) < 0)))
                    << a.Caption.toStdString() << " " << b.Caption.toStdString();
                for (const TRowKey& c : keys)
                    if (cmp(a, b) <= 0 && cmp(b, c) <= 0) {
                        EXPECT_LE(cmp(a, c), 0);
                    }
            }
    }
}

TEST(FileRows, DesktopRowsThenFoldersFirstDatesNewestFirstAndSizesAsNumbers)
{
    const TRowKey desktop{"zz", 0, "", QDateTime(), "X"};
    const TRowKey folder{"zz", 0, "", QDateTime(), "d "};
    const TRowKey file{"aa", 99, "", QDateTime::currentDateTimeUtc(), " "};
    for (int by = sbName; by <= sbAttrInv; ++by) {
        EXPECT_LT(CompareRows(desktop, folder, TSortedBy(by)), 0) << by;
        EXPECT_LT(CompareRows(folder, file, TSortedBy(by)), 0) << by;
    }
    // Dates newest first, unknown dates last both ways.
    const TRowKey older{"a", 0, "", QDateTime({2019, 1, 1}, {0, 0}, Qt::UTC), " "};
    const TRowKey newer{"b", 0, "", QDateTime({2020, 1, 1}, {0, 0}, Qt::UTC), " "};
    const TRowKey unknown{"c", 0, "", QDateTime(), " "};
    EXPECT_LT(CompareRows(newer, older, sbDate), 0);
    EXPECT_GT(CompareRows(newer, older, sbDateInv), 0);
    EXPECT_EQ(CompareRows(older, older, sbDate), 0); // equal dates tie both ways
    for (TSortedBy by : {sbDate, sbDateInv}) {
        EXPECT_GT(CompareRows(unknown, older, by), 0);
        EXPECT_LT(CompareRows(newer, unknown, by), 0);
    }
    // Sizes compare as numbers past 32 bits. As text "1,234" < "987"; as 32-bit numbers 5,000,000,000 wraps below 987.
    const TRowKey small{"a", 987, "", QDateTime(), " "}, middle{"b", 1234, "", QDateTime(), " "};
    const TRowKey huge{"c", 5'000'000'000, "", QDateTime(), " "};
    EXPECT_LT(CompareRows(small, middle, sbSize), 0);
    EXPECT_LT(CompareRows(middle, huge, sbSize), 0);
    EXPECT_GT(CompareRows(small, huge, sbSizeInv), 0);
}

TEST(FileRows, ReadsFoldersThenFilesFiltersByAttributeAndKeepsLinkTargets)
{
    qvtest::TFileListFolder folder;
    ASSERT_TRUE(folder.IsValid());
    const std::vector<TFileEntry> all = ReadDirectory(folder.Path(), QStringLiteral("*.*"), flvAll);
    EXPECT_EQ(NamesOf(all), (QStringList{"Beta", "alpha", ".hidden", "A.log", "b.txt", "big.bin", "c.dat"}));
    const auto big = std::find_if(all.begin(), all.end(), [](const TFileEntry& e) { return e.Name == "big.bin"; });
    ASSERT_NE(big, all.end());
    EXPECT_EQ(big->Size, 5'000'000'000);
    EXPECT_EQ(big->Modified, QDateTime({2018, 3, 3}, {12, 0}, Qt::UTC));
    EXPECT_EQ(all[0].Attributes, faDirectory);

    const struct {
        TFileListViewAttrs Allowed;
        QStringList Files;
    } filters[] = {
        {flvAll, {".hidden", "A.log", "b.txt", "big.bin", "c.dat"}},
        {TFileListViewAttrs(flvReadOnly) | flvSystem, {"A.log", "b.txt", "big.bin", "c.dat"}},
        {TFileListViewAttrs(flvHidden), {".hidden", "A.log", "b.txt", "big.bin"}},
        {TFileListViewAttrs(), {"A.log", "b.txt", "big.bin"}},
    };
    for (const auto& f : filters) {
        QStringList names = NamesOf(ReadDirectory(folder.Path(), QStringLiteral("*.*"), f.Allowed));
        names.removeAll(QStringLiteral("alpha"));
        names.removeAll(QStringLiteral("Beta"));
        EXPECT_EQ(names, f.Files) << int(f.Allowed);
    }
    EXPECT_TRUE(ReadDirectory(folder.File("missing"), QStringLiteral("*.*"), flvAll).empty());

    // Links to files keep their target; a dangling link has none.
    ASSERT_TRUE(QFile::link(folder.File("b.txt"), folder.File("link.txt")));
    ASSERT_TRUE(QFile::link(folder.File("gone"), folder.File("dead.txt")));
    for (const TFileEntry& e : ReadDirectory(folder.Path(), QStringLiteral("*.txt"), flvAll)) {
        if (e.Name == QLatin1String("link.txt")) {
            EXPECT_EQ(e.LinkTarget, folder.File("b.txt"));
        } else {
            EXPECT_TRUE(e.LinkTarget.isEmpty()) << e.Name.toStdString();
        }
    }
}

TEST(FileRows, MasksTestTheNameOnceEach)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // The folder's own name matches "*.txt": a mask tested on the path would list "plain".
    const QString inner = dir.filePath(QStringLiteral("notes.txt"));
    ASSERT_TRUE(QDir().mkdir(inner));
    for (const char* name : {"plain", "b.txt", "c.tab", "d.log"})
        qvtest::WriteFile(inner + '/' + QString::fromLatin1(name), "x");
    // "*.t*" matches b.txt again: listed once, under the first mask.
    EXPECT_EQ(NamesOf(ReadDirectory(inner, QStringLiteral("*.txt;*.t*"), flvAll)), (QStringList{"b.txt", "c.tab"}));
    EXPECT_EQ(NamesOf(ReadDirectory(inner, QStringLiteral("*.log;*.txt"), flvAll)), (QStringList{"d.log", "b.txt"}));
}

TEST(FileRows, DriveTypesAndTextBasesFallingBackToEnglishWithoutAHeader)
{
    const struct {
        const char* Type;
        const char* Mount;
        int Code;
    } drives[] = {{"ext4", "/", 3}, {"tmpfs", "/tmp", 6}, {"ramfs", "/r", 6}, {"iso9660", "/media/cd", 5},
        {"nfs4", "/net", 4}, {"cifs", "/share", 4}, {"vfat", "/media/ann/STICK", 2}, {"ext4", "/run/media/x", 2}};
    for (const auto& d : drives)
        EXPECT_EQ(DriveTypeOf(d.Type, QString::fromLatin1(d.Mount)), d.Code) << d.Type << " " << d.Mount;

    // The text base falls back to English without a header.
    vcl::TStringTable table;
    table.AddTable(QStringLiteral("test"), QStringLiteral("900\tLANG_ENGLISH Header\n700\t\n1200\tLANG_FRENCH Header\n"));
    EXPECT_EQ(TextBaseOf(lnEnglish, table), 900);
    EXPECT_EQ(TextBaseOf(lnGerman, table), 900);  // header present but empty
    EXPECT_EQ(TextBaseOf(lnItalian, table), 900); // no header at 1600
    EXPECT_EQ(TextBaseOf(lnFrench, table), 1200);
    // The library's own tables hold all five.
    const std::pair<TFileViewLanguage, int> bases[]
        = {{lnEnglish, 900}, {lnGerman, 700}, {lnSpanish, 1000}, {lnFrench, 1200}, {lnItalian, 1600}};
    for (const auto& [language, base] : bases)
        EXPECT_EQ(TextBaseOf(language), base) << language;
}

TEST(FileRows, DefaultLanguagesComeFromTheLocale)
{
    {
        // Japanese (primary language 0x11) has no table: English texts.
        TLocaleEnvironment japanese("ja_JP.UTF-8");
        EXPECT_EQ(TextBaseOf(lnSystemDefault), 900);
        EXPECT_EQ(TextBaseOf(lnUserDefault), 900);
        EXPECT_EQ(FileListText(TextBaseOf(lnSystemDefault), txColumnName), QStringLiteral("Name"));
    }
    {
        TLocaleEnvironment german("de_DE.UTF-8");
        EXPECT_EQ(TextBaseOf(lnUserDefault), 700);
        EXPECT_EQ(FileListText(TextBaseOf(lnSystemDefault), txColumnName), QStringLiteral("Benennen"));
        EXPECT_EQ(DriveTypeText(700, 5), QStringLiteral("CD-ROM Formation"));
        EXPECT_EQ(DriveTypeText(700, 42), QStringLiteral("Namenlos"));
    }
}
