#include "vcl/core/resstrings.h"
#include "support/testsupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vcl;
using qvtest::WriteFile;

TEST(ResStrings, TablesAreFoundByIdMissingIdsGiveEmptyTextAndMalformedLinesAreRefused)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // Two tables: the shell captions' range and one language block of the file list.
    WriteFile(dir.filePath("shell.txt"), "# captions\n65522\tName\n65504\t KB\r\n\n65535\tUser defined\n");
    WriteFile(dir.filePath("lang.txt"), "900\tLANG_ENGLISH Header\n911\tName\n912\tTab\\there\\nand \\\\ back\n"
                                        "700\t\n1232\tEffac\xC3\xA9\n");
    WriteFile(dir.filePath("notes.md"), "not a table");
    TStringTable table;
    table.AddFolder(dir.path());
    EXPECT_EQ(table.Count(), 8);
    const struct { int Id; QString Text; bool Present; } cases[] = {
        {65522, "Name", true}, {65504, " KB", true}, {65535, "User defined", true},
        {911, "Name", true}, {912, "Tab\there\nand \\ back", true}, {700, "", true},
        {1232, QString::fromUtf8("Effac\xC3\xA9"), true},
        {901, "", false}, {0, "", false}, {-1, "", false}, {70000, "", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(table.Find(c.Id), c.Text) << c.Id;
        EXPECT_EQ(table.Contains(c.Id), c.Present) << c.Id;
    }
    // LoadString's copy: cut to the buffer less one for the ending null.
    const struct { unsigned Id; int Max; int Count; std::u16string Text; } copies[] = {
        {65535, 13, 12, u"User defined"}, {65535, 5, 4, u"User"}, {65535, 1, 0, u""},
        {901, 8, 0, u""}, {65536 + 65522, 8, 0, u""},
    };
    for (const auto& c : copies) {
        char16_t buffer[16];
        std::fill(std::begin(buffer), std::end(buffer), u'x');
        EXPECT_EQ(table.Copy(c.Id, buffer, c.Max), c.Count) << c.Id << " " << c.Max;
        EXPECT_EQ(std::u16string(buffer), c.Text);
    }

    // Malformed lines are refused naming the line and add nothing.
    const struct { const char* Text; const char* Why; } malformed[] = {
        {"1\tone\n2 two\n", "line 2: expected"},
        {"x\tone\n", "line 1: the id \"x\""},
        {"+1\tone\n", "line 1: the id \"+1\""},
        {"65536\tbig\n", "the id \"65536\""},
        {"\tno id\n", "the id \"\""},
        {"5\tfive\n5\tagain\n", "line 2: the id 5 appears twice"},
        {"1\tbad \\q escape\n", "line 1: unknown escape"},
        {"1\ttrailing \\", "line 1: unknown escape"},
    };
    for (const auto& c : malformed) {
        TStringTable small;
        small.AddTable("base", "9\tnine\n");
        try {
            small.AddTable("broken.txt", QString::fromUtf8(c.Text));
            ADD_FAILURE() << "accepted: " << c.Text;
        } catch (const EResStringError& e) {
            EXPECT_TRUE(e.Message().contains("broken.txt")) << e.what();
            EXPECT_TRUE(e.Message().contains(c.Why)) << e.what();
        }
        EXPECT_EQ(small.Count(), 1) << c.Text;
        EXPECT_EQ(small.Find(9), "nine");
    }
}

TEST(ResStrings, CompiledInTablesLoadAndAnUnknownIdIsEmpty)
{
    EXPECT_NO_THROW(ResStringTable());
    EXPECT_EQ(LoadResString(1), QString());
    char16_t buffer[4] = {u'x', u'x', u'x', u'x'};
    EXPECT_EQ(LoadString(nullptr, 1, buffer, 4), 0);
    EXPECT_EQ(buffer[0], u'\0');
    EXPECT_EQ(LoadString(nullptr, 1, nullptr, 4), 0);
}
