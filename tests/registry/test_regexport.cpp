#include "regtestenv.h"

#include "vcl/core/strings.h"
#include "vcl/registry/regexport.h"
#include "vcl/registry/registry.h"

#include <QProcess>

using namespace vcl;
using regtest::RegistryTest;

namespace {

QString ImportError(const QString& Text)
{
    try {
        ImportRegistryText(Text);
    } catch (const ERegistryException& e) {
        return e.Message();
    }
    return {};
}

void FillSample()
{
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Software\\Vendor", true));
    reg.WriteString("", "default");
    reg.WriteString("Tricky", QString::fromUtf8("a \"q\" \\ b\nc\r\td\x01 \xE2\x98\x83"));
    reg.WriteString("Empty", "");
    reg.WriteExpandString("Path", "$HOME/x");
    reg.WriteInteger("Min", INT_MIN);
    reg.WriteBinaryData("Blob", QByteArray("\x00\xFF\x10", 3));
    reg.WriteBinaryData("NoBytes", QByteArray());
    reg.CreateKey("EmptyKey");
    ASSERT_TRUE(reg.OpenKey("Child", true));
    reg.WriteInteger("@", 7); // a value really named "@"
}

} // namespace

struct FormatCase {
    const char* Label;
    QString Name;
    TRegValue Value;
    const char* Expected; // worked out by hand from the format description
};

class RegValueFormat : public ::testing::TestWithParam<FormatCase> {};

TEST_P(RegValueFormat, WritesTheExpectedLine)
{
    EXPECT_EQ(FormatRegValue(GetParam().Name, GetParam().Value), QString::fromUtf8(GetParam().Expected));
}

INSTANTIATE_TEST_SUITE_P(
    Lines, RegValueFormat,
    ::testing::Values(FormatCase{"default", "", TRegValue::FromString("x"), "@=\"x\""},
                      FormatCase{"escapes", "a\"b", TRegValue::FromString("\\\n\r\t\x1f"), "\"a\\\"b\"=\"\\\\\\n\\r\\t\\x1f\""},
                      FormatCase{"expand", "P", TRegValue::FromString("%x%", rdExpandString), "\"P\"=expand:\"%x%\""},
                      FormatCase{"dword", "N", TRegValue::FromInteger(42), "\"N\"=dword:0000002a"},
                      FormatCase{"negative", "N", TRegValue::FromInteger(-1), "\"N\"=dword:ffffffff"},
                      FormatCase{"binary", "B", TRegValue::FromBinary(QByteArray("\x00\xab", 2)), "\"B\"=hex:00,ab"},
                      FormatCase{"no_bytes", "B", TRegValue::FromBinary({}), "\"B\"=hex:"}),
    [](const auto& info) { return std::string(info.param.Label); });

TEST_F(RegistryTest, ExportImportRoundTripsEveryType)
{
    FillSample();
    const QString text = ExportRegistryKey(ParseRegKeyName("HKCU\\Software\\Vendor"));
    EXPECT_TRUE(text.startsWith("QvKit Registry Export 1\n\n[HKEY_CURRENT_USER\\Software\\Vendor]\n@=\"default\"\n"))
        << text.toStdString();

    TRegistry reg;
    ASSERT_TRUE(reg.DeleteKey("Software\\Vendor"));
    const TRegImportCount count = ImportRegistryText(text);
    EXPECT_EQ(count.Keys, 3);
    EXPECT_EQ(count.Values, 8);
    EXPECT_EQ(ExportRegistryKey(ParseRegKeyName("Software\\Vendor")), text);

    ASSERT_TRUE(reg.OpenKey("Software\\Vendor", false));
    EXPECT_EQ(reg.ReadString("Tricky"), QString::fromUtf8("a \"q\" \\ b\nc\r\td\x01 \xE2\x98\x83"));
    EXPECT_EQ(reg.GetDataType("Path"), rdExpandString);
    EXPECT_EQ(reg.ReadInteger("Min"), INT_MIN);
    EXPECT_EQ(reg.ReadBinaryData("Blob"), QByteArray("\x00\xFF\x10", 3));
    EXPECT_TRUE(reg.ValueExists("NoBytes"));
    EXPECT_TRUE(reg.KeyExists("EmptyKey"));
    ASSERT_TRUE(reg.OpenKey("Child", false));
    EXPECT_EQ(reg.ReadInteger("@"), 7);
}

struct BadImport {
    const char* Label;
    const char* Text;
    const char* Error;
};

class RegImportErrors : public RegistryTest, public ::testing::WithParamInterface<BadImport> {};

TEST_P(RegImportErrors, NameTheLineAndWriteNothing)
{
    EXPECT_EQ(ImportError(QString::fromUtf8(GetParam().Text)), QString::fromUtf8(GetParam().Error));
    TRegistry reg;
    EXPECT_FALSE(reg.KeyExists("Written"));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, RegImportErrors,
    ::testing::Values(
        BadImport{"empty", "", "not a registry export: the text is empty"},
        BadImport{"no_signature", "[HKCU\\Written]\n", "line 1: not a registry export (expected \"QvKit Registry Export 1\")"},
        BadImport{"value_first", "QvKit Registry Export 1\n\"a\"=\"b\"\n", "line 2: a value before the first [key] line"},
        BadImport{"open_quote", "QvKit Registry Export 1\n[Written]\n\"a\"=\"b\n", "line 3: a quoted string is not closed"},
        BadImport{"bad_escape", "QvKit Registry Export 1\n[Written]\n\"a\"=\"\\q\"\n", "line 3: unknown escape \\q"},
        BadImport{"short_x", "QvKit Registry Export 1\n[Written]\n\"a\"=\"\\x4\"\n", "line 3: \\x needs two hexadecimal digits"},
        BadImport{"long_dword", "QvKit Registry Export 1\n[Written]\n\"a\"=dword:123456789\n",
                  "line 3: dword: needs 1 to 8 hexadecimal digits"},
        BadImport{"bad_hex", "QvKit Registry Export 1\n[Written]\n\"a\"=hex:01,2\n",
                  "line 3: hex: needs bytes of two hexadecimal digits, separated by commas"},
        BadImport{"trailing", "QvKit Registry Export 1\n[Written]\n\"a\"=\"b\" x\n", "line 3: unexpected text after the value"},
        BadImport{"no_equals", "QvKit Registry Export 1\n[Written]\n\"a\" \"b\"\n", "line 3: expected \"=\" after the value name"},
        BadImport{"bad_path", "QvKit Registry Export 1\n[Written]\n[HKCU\\a\\\\b]\n", "line 3: invalid key path \"a\\\\b\""},
        BadImport{"classes_root", "QvKit Registry Export 1\n[Written]\n[HKEY_CLASSES_ROOT\\.zip]\n",
                  "line 3: HKEY_CLASSES_ROOT is read-only"}),
    [](const auto& info) { return std::string(info.param.Label); });

TEST_F(RegistryTest, ImportRefusesKeysDeeperThan512Levels)
{
    const auto text = [](int Depth) {
        return QStringLiteral("QvKit Registry Export 1\n\n[HKCU\\") + QStringLiteral("k\\").repeated(Depth - 1)
               + QStringLiteral("k]\n\"v\"=dword:00000001\n");
    };
    for (const int depth : {513, 20000, 100000})
        EXPECT_EQ(ImportError(text(depth)), "line 3: the key path is deeper than 512 levels") << depth;
    TRegistry reg;
    EXPECT_FALSE(reg.KeyExists("k"));
    EXPECT_EQ(ImportRegistryText(text(512)).Keys, 1);
    EXPECT_TRUE(reg.KeyExists(QStringLiteral("k\\").repeated(511) + 'k'));
}

// The qvreg tool, run as a separate program on the test's own store.
class QvregTool : public RegistryTest {
protected:
    struct Result {
        int ExitCode = -1;
        QString Out;
        QString Err;
    };
    Result Run(const QStringList& Arguments, const QByteArray& Input = {})
    {
        QProcess process;
        process.start(qEnvironmentVariable("QVREG"), Arguments);
        EXPECT_TRUE(process.waitForStarted());
        process.write(Input);
        process.closeWriteChannel();
        EXPECT_TRUE(process.waitForFinished(30000));
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }
};

TEST_F(QvregTool, ListExportImportDelete)
{
    FillSample();
    const Result list = Run({"list", "HKEY_CURRENT_USER\\Software\\Vendor"});
    EXPECT_EQ(list.ExitCode, 0) << list.Err.toStdString();
    EXPECT_TRUE(list.Out.startsWith("EmptyKey\\\nChild\\\n@=\"default\"\n")) << list.Out.toStdString();
    EXPECT_TRUE(list.Out.contains("\"Min\"=dword:80000000\n"));

    EXPECT_EQ(Run({"list", "\\Software"}).Out, "Vendor\\\n");

    const Result exported = Run({"export", "Software\\Vendor"});
    ASSERT_EQ(exported.ExitCode, 0) << exported.Err.toStdString();
    EXPECT_EQ(Run({"delete", "HKCU\\Software\\Vendor"}).ExitCode, 0);
    EXPECT_FALSE(TRegistry().KeyExists("Software\\Vendor"));
    const Result imported = Run({"import", "-"}, exported.Out.toUtf8());
    EXPECT_EQ(imported.ExitCode, 0) << imported.Err.toStdString();
    EXPECT_EQ(imported.Out, "imported 3 keys and 8 values\n");
    EXPECT_EQ(Run({"export", "Software\\Vendor"}).Out, exported.Out);
}

TEST_F(QvregTool, ClearErrorsAndExitCodes)
{
    EXPECT_EQ(Run({}).ExitCode, 2);
    EXPECT_EQ(Run({"frobnicate", "x"}).ExitCode, 2);
    EXPECT_EQ(Run({"list"}).ExitCode, 2);
    EXPECT_EQ(Run({"--help"}).ExitCode, 0);

    const Result missing = Run({"list", "HKLM\\Software\\Nothing"});
    EXPECT_EQ(missing.ExitCode, 1);
    EXPECT_EQ(missing.Err, "qvreg: key HKEY_LOCAL_MACHINE\\Software\\Nothing does not exist\n");
    EXPECT_EQ(Run({"delete", "HKCU"}).ExitCode, 1);
    EXPECT_EQ(Run({"delete", "Software\\Nothing"}).ExitCode, 1);
    const Result bad = Run({"import", "-"}, "QvKit Registry Export 1\n\"x\"=\"y\"\n");
    EXPECT_EQ(bad.ExitCode, 1);
    EXPECT_EQ(bad.Err, "qvreg: line 2: a value before the first [key] line\n");
    const Result noFile = Run({"import", Dir() + "/none.txt"});
    EXPECT_EQ(noFile.ExitCode, 1);
    EXPECT_TRUE(noFile.Err.startsWith("qvreg: cannot read")) << noFile.Err.toStdString();

    const Result classes = Run({"list", "HKCR\\.zip"});
    EXPECT_EQ(classes.Out, "@=\"application/zip\"\n");
}
