#include "regtestenv.h"

#include "vcl/core/strings.h"
#include "vcl/registry/inifiles.h"
#include "vcl/registry/reginifile.h"

#include <QDir>
#include <QFileInfo>
#include <functional>
#include <climits>

using namespace vcl;
using regtest::FileBytes;
using regtest::RegistryTest;
using qvtest::WriteFile;

namespace {

const QByteArray SampleIni = "; leading comment\n"
                             "stray line before any section\n"
                             "\n"
                             "[General]\n"
                             "# hash comment\n"
                             "Name = First\n"
                             "name=Second\n"
                             "garbage line without equals\n"
                             "Count=0x1F\n"
                             "\n"
                             "; about the empty section\n"
                             "[Empty]\n"
                             "\n"
                             "[Tips]\n"
                             "tip1=Hello\n"
                             "tip2=World\n";

class IniFiles : public RegistryTest {
protected:
    QString IniPath() const { return Dir() + QStringLiteral("/sample.ini"); }
};

QStringList Lines(const std::function<void(TStrings&)>& Fill)
{
    TStringList list;
    Fill(list);
    return list.ToQStringList();
}

} // namespace

TEST_F(IniFiles, ReadsSectionsKeysAndFirstOfDuplicates)
{
    WriteFile(IniPath(), SampleIni);
    TMemIniFile ini(IniPath());
    EXPECT_EQ(ini.ReadString("General", "Name", "?"), "First");
    EXPECT_EQ(ini.ReadString("GENERAL", "NAME", "?"), "First");
    EXPECT_EQ(ini.ReadString("General", "Missing", "dflt"), "dflt");
    EXPECT_EQ(ini.ReadInteger("General", "Count", 0), 31);
    EXPECT_EQ(Lines([&](TStrings& s) { ini.ReadSections(s); }), QStringList({"General", "Empty", "Tips"}));
    EXPECT_EQ(Lines([&](TStrings& s) { ini.ReadSection("General", s); }), QStringList({"Name", "Count"}));
    EXPECT_EQ(Lines([&](TStrings& s) { ini.ReadSectionValues("General", s); }),
              QStringList({"Name=First", "Count=0x1F"}));
    EXPECT_EQ(Lines([&](TStrings& s) { ini.ReadSection("Tips", s); }), QStringList({"tip1", "tip2"}));
    EXPECT_TRUE(ini.SectionExists("Empty"));
    EXPECT_FALSE(ini.SectionExists("Nowhere"));
    EXPECT_TRUE(ini.ValueExists("tips", "TIP2"));
    EXPECT_FALSE(ini.ValueExists("Tips", "tip3"));
    // Lines before the first section belong to no section.
    EXPECT_TRUE(Lines([&](TStrings& s) { ini.ReadSection("", s); }).isEmpty());
}

TEST_F(IniFiles, UnchangedFileRoundTripsByteForByte)
{
    const QByteArray crlf = QByteArray(SampleIni).replace("\n", "\r\n");
    // In a file of LF line ends a CR at the end of a line is the line's own.
    const QByteArray strayCr = QByteArray(SampleIni) + "[Odd]\nk=v\r\r\n\r\n";
    for (const QByteArray& original : {QByteArray(SampleIni), crlf, strayCr}) {
        WriteFile(IniPath(), original);
        TMemIniFile(IniPath()).UpdateFile();
        EXPECT_EQ(FileBytes(IniPath()), original);
    }
    // A last line without a line end gets one; nothing else changes.
    WriteFile(IniPath(), "[S]\nk=v");
    TMemIniFile(IniPath()).UpdateFile();
    EXPECT_EQ(FileBytes(IniPath()), QByteArray("[S]\nk=v\n"));
}

TEST_F(IniFiles, RewriteKeepsEverythingElseInPlace)
{
    WriteFile(IniPath(), SampleIni);
    TMemIniFile ini(IniPath());
    ini.WriteString("general", "NAME", "Changed");
    ini.WriteInteger("General", "Added", -3);
    ini.WriteBool("Empty", "Flag", true);
    ini.WriteString("Tips", "tip3", "Again");
    ini.WriteString("New Section", "key", " padded ");
    EXPECT_EQ(FileBytes(IniPath()), SampleIni) << "TMemIniFile writes only on UpdateFile";
    ini.UpdateFile();
    EXPECT_EQ(FileBytes(IniPath()), QByteArray("; leading comment\n"
                                               "stray line before any section\n"
                                               "\n"
                                               "[General]\n"
                                               "# hash comment\n"
                                               "Name=Changed\n"
                                               "name=Second\n"
                                               "garbage line without equals\n"
                                               "Count=0x1F\n"
                                               "Added=-3\n"
                                               "\n"
                                               "; about the empty section\n"
                                               "[Empty]\n"
                                               "Flag=1\n"
                                               "\n"
                                               "[Tips]\n"
                                               "tip1=Hello\n"
                                               "tip2=World\n"
                                               "tip3=Again\n"
                                               "\n"
                                               "[New Section]\n"
                                               "key=padded\n"));
    EXPECT_EQ(QDir(Dir()).entryList(QDir::Files), QStringList({"sample.ini"})) << "no temporary file is left";
}

TEST_F(IniFiles, DeleteKeyAndEraseSection)
{
    WriteFile(IniPath(), SampleIni);
    TMemIniFile ini(IniPath());
    ini.DeleteKey("General", "name"); // both duplicates go
    EXPECT_FALSE(ini.ValueExists("General", "Name"));
    ini.EraseSection("Empty");
    ini.EraseSection("Tips");
    ini.EraseSection("Missing");
    ini.UpdateFile();
    EXPECT_EQ(FileBytes(IniPath()), QByteArray("; leading comment\n"
                                               "stray line before any section\n"
                                               "\n"
                                               "[General]\n"
                                               "# hash comment\n"
                                               "garbage line without equals\n"
                                               "Count=0x1F\n"
                                               "\n"
                                               "; about the empty section\n"));
}

TEST_F(IniFiles, IniFileWritesAtOnceAndSeesOthersChanges)
{
    TIniFile ini(IniPath());
    EXPECT_FALSE(QFileInfo::exists(IniPath()));
    ini.WriteString("A", "x", "1");
    EXPECT_EQ(FileBytes(IniPath()), QByteArray("[A]\nx=1\n"));

    TIniFile other(IniPath());
    EXPECT_EQ(other.ReadString("A", "x", ""), "1");
    other.WriteString("A", "y", "2");
    // The first object picks up the other's change before its own next write.
    EXPECT_EQ(ini.ReadString("A", "y", ""), "2");
    ini.WriteString("B", "z", "3");
    EXPECT_EQ(FileBytes(IniPath()), QByteArray("[A]\nx=1\ny=2\n\n[B]\nz=3\n"));
    ini.UpdateFile();
    EXPECT_EQ(FileBytes(IniPath()), QByteArray("[A]\nx=1\ny=2\n\n[B]\nz=3\n"));
}

TEST_F(IniFiles, KeepsLineEndsByteOrderMarkAndLatin1)
{
    const QString crlf = Dir() + "/crlf.ini";
    WriteFile(crlf, "\xEF\xBB\xBF[S]\r\nk=v\r\n");
    TIniFile(crlf).WriteString("S", "k2", QString::fromUtf8("\xE2\x98\x83"));
    EXPECT_EQ(FileBytes(crlf), QByteArray("\xEF\xBB\xBF[S]\r\nk=v\r\nk2=\xE2\x98\x83\r\n"));

    const QString latin1 = Dir() + "/latin1.ini";
    WriteFile(latin1, "[S]\nname=Gr\xFC\xDF" "e\n");
    TIniFile ini(latin1);
    EXPECT_EQ(ini.ReadString("S", "name", ""), QString::fromUtf8("Gr\xC3\xBC\xC3\x9F" "e"));
    ini.WriteString("S", "city", QString::fromUtf8("K\xC3\xB6ln"));
    EXPECT_EQ(FileBytes(latin1), QByteArray("[S]\nname=Gr\xFC\xDF" "e\ncity=K\xF6ln\n"));
}

TEST_F(IniFiles, RefusesWhatCannotBeReadBack)
{
    WriteFile(IniPath(), SampleIni);
    TIniFile ini(IniPath());
    EXPECT_THROW(ini.WriteString("General", "Name", "two\nlines"), EIniFileException);
    EXPECT_THROW(ini.WriteString("General", "a=b", "x"), EIniFileException);
    EXPECT_THROW(ini.WriteString("General", "", "x"), EIniFileException);
    EXPECT_THROW(ini.WriteString("General", ";comment", "x"), EIniFileException);
    EXPECT_THROW(ini.WriteString("Bad]Section", "k", "x"), EIniFileException);
    EXPECT_THROW(ini.WriteString("", "k", "x"), EIniFileException);
    EXPECT_EQ(FileBytes(IniPath()), SampleIni);

    TIniFile nowhere(Dir() + "/missing-folder/x.ini");
    EXPECT_THROW(nowhere.WriteString("S", "k", "v"), EIniFileException);
}

struct IntegerCase {
    const char* Text;
    int Expected;
};

class IniIntegers : public IniFiles, public ::testing::WithParamInterface<IntegerCase> {};

TEST_P(IniIntegers, ParsesOrFallsBack)
{
    WriteFile(IniPath(), QByteArray("[N]\nv=") + GetParam().Text + "\n");
    TMemIniFile ini(IniPath());
    EXPECT_EQ(ini.ReadInteger("N", "v", 777), GetParam().Expected) << GetParam().Text;
    EXPECT_EQ(ini.ReadBool("N", "v", true), GetParam().Expected != 0);
}

INSTANTIATE_TEST_SUITE_P(Texts, IniIntegers,
                         ::testing::Values(IntegerCase{"42", 42}, IntegerCase{" -7 ", -7}, IntegerCase{"+5", 5},
                                           IntegerCase{"$1F", 31}, IntegerCase{"0x1f", 31},
                                           IntegerCase{"$FFFFFFFF", -1}, IntegerCase{"2147483647", INT_MAX},
                                           IntegerCase{"-2147483648", INT_MIN}, IntegerCase{"2147483648", 777},
                                           IntegerCase{"$100000000", 777}, IntegerCase{"12abc", 777},
                                           IntegerCase{"", 777}, IntegerCase{"- 5", 777}, IntegerCase{"yes", 777},
                                           IntegerCase{"0", 0}));

TEST_F(RegistryTest, RegIniFileKeepsSectionsAsSubkeys)
{
    {
        TRegIniFile ini("Software\\Vendor\\Tips");
        ini.WriteString("Second", "b", "2");
        ini.WriteString("First", "a", "1");
        ini.WriteInteger("First", "count", 12);
        ini.WriteBool("First", "on", true);
        EXPECT_EQ(Lines([&](TStrings& s) { ini.ReadSections(s); }), QStringList({"Second", "First"}));
        EXPECT_EQ(Lines([&](TStrings& s) { ini.ReadSection("First", s); }), QStringList({"a", "count", "on"}));
        EXPECT_EQ(Lines([&](TStrings& s) { ini.ReadSectionValues("First", s); }),
                  QStringList({"a=1", "count=12", "on=1"}));
        EXPECT_TRUE(ini.SectionExists("First"));
        EXPECT_FALSE(ini.SectionExists("Third"));
        EXPECT_TRUE(Lines([&](TStrings& s) { ini.ReadSection("Third", s); }).isEmpty());
        EXPECT_FALSE(ini.SectionExists("Third")) << "reading creates nothing";
    }

    // Integers are string values, as the original stores them; integer values written
    // through TRegistry read too.
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Software\\Vendor\\Tips\\First", false));
    EXPECT_EQ(reg.GetDataType("count"), rdString);
    EXPECT_EQ(reg.ReadString("count"), "12");
    reg.WriteInteger("dword", 99);

    TRegIniFile ini("Software\\Vendor\\Tips");
    EXPECT_EQ(ini.ReadInteger("First", "dword", 0), 99);
    EXPECT_EQ(ini.ReadString("First", "dword", ""), "99");
    EXPECT_TRUE(ini.ReadBool("First", "on", false));
    EXPECT_EQ(ini.ReadInteger("First", "missing", -4), -4);
    ini.DeleteKey("First", "a");
    EXPECT_FALSE(ini.ValueExists("First", "a"));
    ini.EraseSection("Second");
    EXPECT_EQ(Lines([&](TStrings& s) { ini.ReadSections(s); }), QStringList({"First"}));
    EXPECT_EQ(ini.Registry().CurrentPath(), "Software\\Vendor\\Tips");
}
