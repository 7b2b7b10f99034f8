#include "regtestenv.h"

#include "vcl/core/strings.h"
#include "vcl/registry/regexport.h"
#include "vcl/registry/registry.h"
#include "vcl/registry/regstore.h"

#include <QFileInfo>
#include <climits>
#include <map>
#include <random>
#include <thread>
#include <vector>

using namespace vcl;
using regtest::RegistryTest;

namespace {

QStringList KeyNames(TRegistry& Reg)
{
    TStringList names;
    Reg.GetKeyNames(names);
    return names.ToQStringList();
}

QStringList ValueNames(TRegistry& Reg)
{
    TStringList names;
    Reg.GetValueNames(names);
    return names.ToQStringList();
}

// Runs Body and returns the message of the ERegistryException it raises ("" if none).
template <class F>
QString RegistryError(F&& Body)
{
    try {
        Body();
    } catch (const ERegistryException& e) {
        return e.Message();
    }
    return {};
}

} // namespace

struct StringCase {
    const char* Label;
    QString Text;
    int DataSize; // UTF-8 bytes + terminator, counted by hand
};

class RegistryStrings : public RegistryTest, public ::testing::WithParamInterface<StringCase> {};

TEST_P(RegistryStrings, RoundTripWithSize)
{
    const StringCase& c = GetParam();
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey("Software\\Types", true));
        reg.WriteString("s", c.Text);
        reg.WriteExpandString("e", c.Text);
    }
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Software\\Types", false));
    EXPECT_EQ(reg.ReadString("s"), c.Text);
    EXPECT_EQ(reg.ReadString("e"), c.Text);
    EXPECT_EQ(reg.GetDataType("s"), rdString);
    EXPECT_EQ(reg.GetDataType("e"), rdExpandString);
    EXPECT_EQ(reg.GetDataSize("s"), c.DataSize);
}

INSTANTIATE_TEST_SUITE_P(Values, RegistryStrings,
                         ::testing::Values(StringCase{"empty", QString(), 1}, StringCase{"ascii", "hello", 6},
                                           StringCase{"umlauts", QString::fromUtf8("Gr\xC3\xBC\xC3\x9F" "e"), 8},
                                           StringCase{"quotes_and_backslashes", "a\\\"b'", 6},
                                           StringCase{"line_breaks", "a\r\nb\tc", 7},
                                           StringCase{"long", QString(20000, QLatin1Char('x')), 20001}),
                         [](const auto& info) { return std::string(info.param.Label); });

class RegistryIntegers : public RegistryTest, public ::testing::WithParamInterface<int> {};

TEST_P(RegistryIntegers, RoundTrip)
{
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey("Software\\Types", true));
        reg.WriteInteger("i", GetParam());
    }
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Software\\Types", false));
    EXPECT_EQ(reg.ReadInteger("i"), GetParam());
    EXPECT_EQ(reg.GetDataType("i"), rdInteger);
    EXPECT_EQ(reg.GetDataSize("i"), 4);
    EXPECT_EQ(reg.ReadBool("i"), GetParam() != 0);
}

INSTANTIATE_TEST_SUITE_P(Values, RegistryIntegers, ::testing::Values(0, 1, -1, 4096, INT_MIN, INT_MAX));

TEST_F(RegistryTest, BinaryRoundTripsIncludingEmptyAndZeroBytes)
{
    const QByteArray withZeros("\x00\x01\xFF\x00\x7F", 5);
    QByteArray large(100 * 1024, '\0');
    for (int i = 0; i < large.size(); ++i)
        large[i] = char(i * 7 + 3);
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey("Software\\Types", true));
        reg.WriteBinaryData("empty", QByteArray());
        reg.WriteBinaryData("zeros", withZeros.constData(), int(withZeros.size()));
        reg.WriteBinaryData("large", large);
    }
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Software\\Types", false));
    EXPECT_TRUE(reg.ValueExists("empty"));
    EXPECT_EQ(reg.GetDataType("empty"), rdBinary);
    EXPECT_EQ(reg.GetDataSize("empty"), 0);
    EXPECT_EQ(reg.ReadBinaryData("empty"), QByteArray());
    EXPECT_EQ(reg.ReadBinaryData("zeros"), withZeros);
    EXPECT_EQ(reg.GetDataSize("large"), 100 * 1024);
    EXPECT_EQ(reg.ReadBinaryData("large"), large);

    char buffer[8];
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(reg.ReadBinaryData("zeros", buffer, 5), 5);
    EXPECT_EQ(QByteArray(buffer, 5), withZeros);
    EXPECT_EQ(buffer[5], '#');
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(RegistryError([&] { reg.ReadBinaryData("zeros", buffer, 4); }), "Invalid data type for 'zeros'");
    EXPECT_EQ(QByteArray(buffer, 8), QByteArray(8, '#'));
    EXPECT_EQ(reg.ReadBinaryData("missing", buffer, 8), 0);
}

TEST_F(RegistryTest, BooleansMissingAndMistypedValues)
{
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Software\\Mixed", true));
    // Booleans are integers 0 and 1.
    reg.WriteBool("yes", true);
    reg.WriteBool("no", false);
    EXPECT_EQ(reg.GetDataType("yes"), rdInteger);
    EXPECT_EQ(reg.ReadInteger("yes"), 1);
    EXPECT_EQ(reg.ReadInteger("no"), 0);
    EXPECT_TRUE(reg.ReadBool("yes"));
    EXPECT_FALSE(reg.ReadBool("no"));

    // Missing values read as empty; typed reads of them fail naming the value.
    EXPECT_EQ(reg.ReadString("nothing"), QString());
    EXPECT_EQ(reg.ReadBinaryData("nothing"), QByteArray());
    EXPECT_EQ(reg.GetDataSize("nothing"), -1);
    EXPECT_EQ(reg.GetDataType("nothing"), rdUnknown);
    EXPECT_FALSE(reg.ValueExists("nothing"));
    EXPECT_EQ(RegistryError([&] { reg.ReadInteger("Height"); }), "Failed to get data for 'Height'");
    EXPECT_EQ(RegistryError([&] { reg.ReadBool("ShowHint"); }), "Failed to get data for 'ShowHint'");

    // Mistyped reads name the value too.
    reg.WriteString("text", "12");
    reg.WriteInteger("number", 12);
    reg.WriteBinaryData("bytes", QByteArray("ab"));
    EXPECT_EQ(RegistryError([&] { reg.ReadInteger("text"); }), "Invalid data type for 'text'");
    EXPECT_EQ(RegistryError([&] { reg.ReadBool("bytes"); }), "Invalid data type for 'bytes'");
    EXPECT_EQ(RegistryError([&] { reg.ReadString("number"); }), "Invalid data type for 'number'");
    EXPECT_EQ(RegistryError([&] { reg.ReadBinaryData("text"); }), "Invalid data type for 'text'");
    // Rewriting with another type replaces the value.
    reg.WriteInteger("text", 5);
    EXPECT_EQ(reg.ReadInteger("text"), 5);
}

TEST_F(RegistryTest, OpenKeyCreatesLevelByLevelOnlyWhenAllowed)
{
    TRegistry reg;
    EXPECT_FALSE(reg.OpenKey("Software\\Company\\App", false));
    EXPECT_FALSE(reg.KeyExists("Software"));
    EXPECT_FALSE(reg.HasCurrentKey());

    ASSERT_TRUE(reg.OpenKey("Software\\Company\\App", true));
    EXPECT_EQ(reg.CurrentPath(), "Software\\Company\\App");
    EXPECT_TRUE(reg.KeyExists("\\Software"));
    EXPECT_TRUE(reg.KeyExists("\\Software\\Company"));

    // Relative paths start at the open key, absolute ones at the root.
    ASSERT_TRUE(reg.OpenKey("Form1", true));
    EXPECT_EQ(reg.CurrentPath(), "Software\\Company\\App\\Form1");
    ASSERT_TRUE(reg.OpenKey("\\Software\\Company", false));
    EXPECT_EQ(reg.CurrentPath(), "Software\\Company");
    EXPECT_EQ(KeyNames(reg), QStringList({"App"}));
    EXPECT_TRUE(reg.HasSubKeys());

    reg.CloseKey();
    EXPECT_TRUE(reg.KeyExists("Software\\Company\\App\\Form1"));
    EXPECT_TRUE(reg.CreateKey("Software\\Other\\Deep"));
    EXPECT_FALSE(reg.HasCurrentKey());
    EXPECT_TRUE(reg.KeyExists("Software\\Other\\Deep"));
}

TEST_F(RegistryTest, InvalidKeyPathsCreateNothing)
{
    TRegistry reg;
    EXPECT_FALSE(reg.OpenKey("A\\\\B", true));
    EXPECT_FALSE(reg.KeyExists("A"));
    EXPECT_EQ(RegistryError([&] { reg.CreateKey("A\\\\B"); }), "Failed to create key A\\\\B");
    EXPECT_FALSE(reg.OpenKey("line\nbreak", true));
    EXPECT_FALSE(reg.OpenKey(QString(256, QLatin1Char('k')), true));
    EXPECT_TRUE(reg.OpenKey(QString(255, QLatin1Char('k')), true));
    // A trailing delimiter is harmless.
    EXPECT_TRUE(reg.OpenKey("\\Trailing\\", true));
    EXPECT_EQ(reg.CurrentPath(), "Trailing");
}

TEST_F(RegistryTest, DeleteKeyTakesItsSubkeysAndValues)
{
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Root\\Gone\\Child\\Grandchild", true));
    reg.WriteString("v", "deep");
    ASSERT_TRUE(reg.OpenKey("\\Root\\Gone", false));
    reg.WriteInteger("n", 1);
    ASSERT_TRUE(reg.OpenKey("\\Root\\Kept", true));
    reg.WriteString("v", "kept");
    reg.CloseKey();

    EXPECT_TRUE(reg.DeleteKey("Root\\Gone"));
    EXPECT_FALSE(reg.KeyExists("Root\\Gone"));
    EXPECT_FALSE(reg.KeyExists("Root\\Gone\\Child\\Grandchild"));
    ASSERT_TRUE(reg.OpenKey("Root", false));
    EXPECT_EQ(KeyNames(reg), QStringList({"Kept"}));
    ASSERT_TRUE(reg.OpenKey("Kept", false));
    EXPECT_EQ(reg.ReadString("v"), "kept");

    // Re-creating the deleted key brings back none of its old contents.
    ASSERT_TRUE(reg.OpenKey("\\Root\\Gone", true));
    EXPECT_TRUE(ValueNames(reg).isEmpty());
    EXPECT_TRUE(KeyNames(reg).isEmpty());

    EXPECT_FALSE(reg.DeleteKey("\\Root\\Missing"));
    EXPECT_FALSE(reg.DeleteKey(""));
    EXPECT_FALSE(reg.DeleteKey("\\"));
}

TEST_F(RegistryTest, KeysNestAtMost512Deep)
{
    QStringList levels;
    for (int i = 0; i < TRegistry::MaxKeyDepth; ++i)
        levels << QStringLiteral("L%1").arg(i);
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(levels.join('\\'), true));
    reg.WriteString("leaf", "x");
    // One level more is refused, whether the path counts from the open key or the root.
    EXPECT_FALSE(reg.OpenKey("L512", true));
    EXPECT_EQ(RegistryError([&] { reg.CreateKey("L512"); }), "Failed to create key L512");
    EXPECT_FALSE(reg.OpenKey('\\' + levels.join('\\') + "\\L512", true));
    reg.CloseKey();
    // A hostile path of 100,000 levels is refused without creating anything.
    const QString huge = QStringLiteral("k\\").repeated(100000) + 'k';
    EXPECT_FALSE(reg.OpenKey(huge, true));
    EXPECT_FALSE(reg.KeyExists(huge));
    EXPECT_FALSE(reg.DeleteKey(huge));
    EXPECT_FALSE(reg.KeyExists("k"));

    // The deepest tree allowed exports whole, then deletes whole.
    const QString text = ExportRegistryKey({HKEY_CURRENT_USER, "L0"});
    EXPECT_EQ(text.count("\n["), TRegistry::MaxKeyDepth);
    EXPECT_TRUE(text.endsWith('\\' + levels.join('\\') + "]\n\"leaf\"=\"x\"\n")) << text.right(80).toStdString();
    EXPECT_TRUE(reg.DeleteKey("L0"));
    EXPECT_FALSE(reg.KeyExists("L0"));
}

TEST_F(RegistryTest, ValuesAndKeysEnumerateInFirstWrittenOrder)
{
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Order", true));
    for (const char* name : {"zeta", "alpha", "Mid", "beta"})
        reg.WriteString(name, "1");
    reg.WriteInteger("alpha", 2); // a rewrite keeps the place
    EXPECT_EQ(ValueNames(reg), QStringList({"zeta", "alpha", "Mid", "beta"}));
    EXPECT_TRUE(reg.DeleteValue("alpha"));
    EXPECT_FALSE(reg.DeleteValue("alpha"));
    reg.WriteString("alpha", "back"); // a deleted value comes back at the end
    EXPECT_EQ(ValueNames(reg), QStringList({"zeta", "Mid", "beta", "alpha"}));

    for (const char* name : {"Yankee", "Bravo", "X-ray"})
        reg.CreateKey(name);
    EXPECT_EQ(KeyNames(reg), QStringList({"Yankee", "Bravo", "X-ray"}));
}

TEST_F(RegistryTest, NamesMatchWithoutCaseButKeepTheirSpellingAndTheDefaultIsEmpty)
{
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Software\\MixedCase", true));
    reg.WriteString("FormStyle", "fsNormal");
    reg.WriteString("FORMSTYLE", "fsStayOnTop");
    EXPECT_EQ(reg.ReadString("formstyle"), "fsStayOnTop");
    EXPECT_EQ(ValueNames(reg), QStringList({"FormStyle"}));
    ASSERT_TRUE(reg.OpenKey("\\SOFTWARE\\mixedcase", true));
    reg.CloseKey();
    ASSERT_TRUE(reg.OpenKey("Software", false));
    EXPECT_EQ(KeyNames(reg), QStringList({"MixedCase"}));

    // The default value has the empty name.
    ASSERT_TRUE(reg.OpenKey("\\.qvtest", true));
    reg.WriteString("Other", "x");
    reg.WriteString("", "the default");
    EXPECT_EQ(reg.ReadString(""), "the default");
    EXPECT_EQ(ValueNames(reg), QStringList({"Other", ""}));
}

TEST_F(RegistryTest, ReadOnlyKeysAndClosedRegistriesRefuseWrites)
{
    TRegistry reg;
    EXPECT_EQ(RegistryError([&] { reg.WriteString("x", "y"); }), "Failed to set data for 'x'");
    EXPECT_EQ(reg.ReadString("x"), QString());

    ASSERT_TRUE(reg.OpenKey("Locked", true));
    reg.WriteString("v", "original");
    EXPECT_FALSE(reg.OpenKeyReadOnly("\\Missing"));
    ASSERT_TRUE(reg.OpenKeyReadOnly("\\Locked"));
    EXPECT_EQ(RegistryError([&] { reg.WriteString("v", "changed"); }), "Failed to set data for 'v'");
    EXPECT_FALSE(reg.DeleteValue("v"));
    EXPECT_FALSE(reg.OpenKey("Sub", true));
    EXPECT_EQ(reg.ReadString("v"), "original");
}

TEST_F(RegistryTest, KeyDeletedByAnotherRegistryObject)
{
    TRegistry first;
    ASSERT_TRUE(first.OpenKey("Shared\\Victim", true));
    first.WriteString("v", "x");
    TRegistry second;
    ASSERT_TRUE(second.DeleteKey("Shared\\Victim"));
    EXPECT_EQ(first.ReadString("v"), QString());
    EXPECT_FALSE(first.ValueExists("v"));
    EXPECT_THROW(first.WriteString("v", "y"), ERegistryException);
    EXPECT_FALSE(second.KeyExists("Shared\\Victim"));
}

TEST_F(RegistryTest, HivesAreSeparateFilesInTheChosenFolder)
{
    TRegistry user;
    ASSERT_TRUE(user.OpenKey("Software\\Where", true));
    user.WriteString("hive", "user");
    TRegistry machine;
    machine.SetRootKey(HKEY_LOCAL_MACHINE);
    EXPECT_FALSE(machine.KeyExists("Software\\Where"));
    ASSERT_TRUE(machine.OpenKey("Software\\Where", true));
    machine.WriteString("hive", "machine");
    EXPECT_EQ(user.ReadString("hive"), "user");
    EXPECT_TRUE(QFileInfo::exists(StoreFile("HKEY_CURRENT_USER")));
    EXPECT_TRUE(QFileInfo::exists(StoreFile("HKEY_LOCAL_MACHINE")));

    TRegistry unknown;
    unknown.SetRootKey(0x80000042u);
    EXPECT_THROW(unknown.OpenKey("x", true), ERegistryException);
}

TEST_F(RegistryTest, KeyInfoCountsAndMeasures)
{
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Info", true));
    reg.CreateKey("Sub");
    reg.CreateKey("LongerSub");
    reg.WriteString("name", "abc");       // 4 bytes
    reg.WriteBinaryData("blob", QByteArray(9, 'b'));
    TRegKeyInfo info;
    ASSERT_TRUE(reg.GetKeyInfo(info));
    EXPECT_EQ(info.NumSubKeys, 2);
    EXPECT_EQ(info.MaxSubKeyLen, 9);
    EXPECT_EQ(info.NumValues, 2);
    EXPECT_EQ(info.MaxValueLen, 4);
    EXPECT_EQ(info.MaxDataLen, 9);
    reg.CloseKey();
    EXPECT_FALSE(reg.GetKeyInfo(info));
}

TEST_F(RegistryTest, ThreadsShareOneStoreSafely)
{
    constexpr int Threads = 4;
    constexpr int PerThread = 250;
    std::vector<std::thread> workers;
    for (int t = 0; t < Threads; ++t)
        workers.emplace_back([t] {
            TRegistry reg;
            if (!reg.OpenKey("Threads", true))
                return;
            for (int i = 0; i < PerThread; ++i)
                reg.WriteInteger(QStringLiteral("t%1-%2").arg(t).arg(i), t * 1000 + i);
        });
    for (auto& worker : workers)
        worker.join();
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Threads", false));
    EXPECT_EQ(ValueNames(reg).size(), Threads * PerThread);
    for (int t = 0; t < Threads; ++t)
        for (int i = 0; i < PerThread; ++i)
            ASSERT_EQ(reg.ReadInteger(QStringLiteral("t%1-%2").arg(t).arg(i)), t * 1000 + i);
}

// Two connections to one store, each with its own cache, as two processes have them: a
// long random run of writes, value and key deletions through either, checked after each
// step against a plain model of what the store holds. A stale cached answer shows as a
// difference at the next read.
class StoreCache : public RegistryTest {
protected:
    using Model = std::map<QString, std::map<QString, TRegValue>>; // key -> folded name -> value

    static TRegValue RandomValue(std::mt19937& Random)
    {
        const int n = int(Random() % 1000);
        switch (Random() % 4) {
        case 0: return TRegValue::FromString(QStringLiteral("text %1").arg(n));
        case 1: return TRegValue::FromString(QStringLiteral("$HOME/%1").arg(n), rdExpandString);
        case 2: return TRegValue::FromInteger(n - 500);
        default: return TRegValue::FromBinary(QByteArray(n % 7, char(n)));
        }
    }

    static void Step(TRegStore& Store, Model& Expected, std::mt19937& Random)
    {
        const QString key = QStringLiteral("K%1").arg(Random() % 3);
        // Spellings differ in case only: the store must fold them to one name.
        const QString name = (Random() % 2 ? QStringLiteral("Name%1") : QStringLiteral("NAME%1")).arg(Random() % 4);
        const TRegKeyId root = Store.RootKey();
        switch (Random() % 6) {
        case 0:
            Store.DeleteKey(root, {key});
            Expected.erase(key);
            break;
        case 1:
            if (const auto id = Store.FindKey(root, {key}))
                Store.DeleteValue(*id, name);
            if (Expected.count(key))
                Expected[key].erase(name.toCaseFolded());
            break;
        default: {
            const TRegValue value = RandomValue(Random);
            Store.WriteValue(Store.CreateKey(root, {key}), name, value);
            Expected[key][name.toCaseFolded()] = value;
        }
        }
    }

    static void Compare(TRegStore& Store, const Model& Expected, int StepNumber)
    {
        for (const QString key : {"K0", "K1", "K2"}) {
            const auto id = Store.FindKey(Store.RootKey(), {key});
            const auto known = Expected.find(key);
            ASSERT_EQ(id.has_value(), known != Expected.end()) << "step " << StepNumber << " key " << key.toStdString();
            if (!id)
                continue;
            for (int n = 0; n < 4; ++n) {
                const QString name = QStringLiteral("name%1").arg(n);
                const auto value = known->second.find(name);
                const auto read = Store.ReadValue(*id, name);
                ASSERT_EQ(read.has_value(), value != known->second.end()) << "step " << StepNumber;
                if (read) {
                    ASSERT_EQ(*read, value->second) << "step " << StepNumber;
                }
            }
        }
    }
};

TEST_F(StoreCache, TwoConnectionsAgreeWithAModelAtEveryStep)
{
    const QString file = StoreFile();
    TRegStore first(QStringLiteral("HKEY_CURRENT_USER"), file);
    TRegStore second(QStringLiteral("HKEY_CURRENT_USER"), file);
    Model expected;
    std::mt19937 random(16);
    for (int step = 0; step < 1500; ++step) {
        Step(random() % 2 ? first : second, expected, random);
        Compare(first, expected, step);
        Compare(second, expected, step);
        if (HasFatalFailure())
            return;
    }
}

TEST_F(StoreCache, WriteToADeletedKeyFailsAndIsNotRemembered)
{
    const QString file = StoreFile();
    TRegStore first(QStringLiteral("HKEY_CURRENT_USER"), file);
    TRegStore second(QStringLiteral("HKEY_CURRENT_USER"), file);
    const TRegKeyId key = first.CreateKey(first.RootKey(), {"Gone"});
    first.WriteValue(key, "v", TRegValue::FromInteger(1));
    ASSERT_TRUE(second.DeleteKey(second.RootKey(), {"Gone"}));
    EXPECT_EQ(RegistryError([&] { first.WriteValue(key, "v", TRegValue::FromInteger(2)); }),
              "Failed to set data for 'v': its key was deleted");
    EXPECT_FALSE(first.ReadValue(key, "v").has_value());
    EXPECT_FALSE(first.FindKey(first.RootKey(), {"Gone"}).has_value());
}
