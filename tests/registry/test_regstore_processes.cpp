// The store under several processes: concurrent writers, a writer killed half-way, and
// damaged database files. The child processes are this test program itself, started
// with a gtest filter that selects one of the ChildRole tests and an environment
// variable that tells it to run. CTest runs the program with the ChildRole tests
// filtered out; run by hand without a filter, they skip.
#include "regtestenv.h"
#include "support/childprocess.h"

#include "vcl/core/strings.h"
#include "vcl/registry/registry.h"
#include "vcl/registry/regstore.h"

#include <QFile>
#include <QProcess>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sqlite3.h>
#include <thread>

using namespace vcl;
using regtest::FileBytes;
using regtest::RegistryTest;
using qvtest::ChildDeadlineMs;
using qvtest::Say;
using qvtest::WaitForLine;
using qvtest::WriteFile;

namespace {

const char* const ChildVariable = "QV_REGISTRY_CHILD";
constexpr int WritesPerChild = 1000;
constexpr int CrashValues = 20;
constexpr int CrashValueSize = 128 * 1024;

constexpr int DroppedValues = 60;

// Sizes up to several pages, so that some values span more than one frame.
QString DroppedText(int I) { return QString((I * 331) % 6000, QLatin1Char('a' + I % 26)); }

bool IsChild() { return qEnvironmentVariableIsSet(ChildVariable); }

// Starts this program as a child running the test named Role, in the registry folder
// of the calling test.
std::unique_ptr<QProcess> StartChild(const char* Role, const QString& Argument)
{
    return qvtest::StartChildRole(Role, ChildVariable, Argument);
}

// Every value of the crash test is CrashValueSize copies of one letter; a torn write
// would show as a mixture or a wrong size.
QByteArray CrashValue(char Letter) { return QByteArray(CrashValueSize, Letter); }

QString IntegrityCheck(const QString& FileName)
{
    sqlite3* db = nullptr;
    QString verdict = QStringLiteral("cannot open");
    if (sqlite3_open_v2(QFile::encodeName(FileName).constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &stmt, nullptr) == SQLITE_OK
            && sqlite3_step(stmt) == SQLITE_ROW)
            verdict = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
        sqlite3_finalize(stmt);
    }
    sqlite3_close(db);
    return verdict;
}

QString OpenError()
{
    try {
        TRegistry reg;
        reg.OpenKey("Software", true);
    } catch (const ERegistryException& e) {
        return e.Message();
    }
    return {};
}

} // namespace

// --- The child side -------------------------------------------------------------------

// Writes WritesPerChild values named after its argument once the parent says "go".
TEST(ChildRole, Writer)
{
    if (!IsChild())
        GTEST_SKIP() << "runs only as a child process";
    const QString prefix = qEnvironmentVariable(ChildVariable);
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Software\\Race", true));
    Say("ready\n");
    char go[16] = {};
    ASSERT_NE(std::fgets(go, sizeof go, stdin), nullptr);
    for (int i = 0; i < WritesPerChild; ++i)
        reg.WriteString(QStringLiteral("%1-%2").arg(prefix).arg(i), QStringLiteral("value %1 of %2").arg(i).arg(prefix));
}

// Rewrites the crash values over and over, each round with the next letter, until killed.
TEST(ChildRole, Rewriter)
{
    if (!IsChild())
        GTEST_SKIP() << "runs only as a child process";
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Software\\Crash", false));
    for (int round = 0;; ++round) {
        const QByteArray value = CrashValue(char('A' + round % 26));
        for (int i = 0; i < CrashValues; ++i) {
            reg.WriteBinaryData(QStringLiteral("v%1").arg(i), value);
            if (round == 0 && i == 0)
                Say("writing\n");
        }
    }
}

// Fills a store with enough values to span many database pages, then ends normally.
TEST(ChildRole, Filler)
{
    if (!IsChild())
        GTEST_SKIP() << "runs only as a child process";
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Software\\Filled", true));
    for (int i = 0; i < 400; ++i)
        reg.WriteString(QStringLiteral("name%1").arg(i), QString(100, QLatin1Char('a' + i % 26)));
}

// Changes what the parent has read: rewrites a value and deletes a key.
TEST(ChildRole, Changer)
{
    if (!IsChild())
        GTEST_SKIP() << "runs only as a child process";
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Software\\Seen", false));
    reg.WriteString("v", "new");
    ASSERT_TRUE(reg.DeleteKey("\\Software\\Gone"));
}

// Writes values of many sizes, then dies without closing the store, leaving the WAL
// behind for the next connection to read back.
TEST(ChildRole, Dropper)
{
    if (!IsChild())
        GTEST_SKIP() << "runs only as a child process";
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Software\\Dropped", true));
    for (int i = 0; i < DroppedValues; ++i)
        reg.WriteString(QStringLiteral("d%1").arg(i), DroppedText(i));
    std::fflush(nullptr);
    std::_Exit(0);
}

// --- The parent side ------------------------------------------------------------------

class StoreProcesses : public RegistryTest {
protected:
    void SetUp() override
    {
        if (IsChild())
            GTEST_SKIP() << "parent tests do not run in a child";
        RegistryTest::SetUp();
    }
};

// Two connections that find a new, empty store both switch it to write-ahead logging;
// SQLite refuses one of them at once where they overlap. Threads overlap far more often
// than processes, so this shows the fault in a few rounds where the processes below
// need many.
TEST_F(StoreProcesses, ConnectionsCreatingOneStoreAtOnceAllSucceed)
{
    for (int round = 0; round < 40; ++round) {
        const QString file = Dir() + QStringLiteral("/new%1.sqlite").arg(round);
        std::atomic<int> starting{2};
        QString errors[2];
        const auto open = [&](int Index) {
            for (--starting; starting > 0;) {
            }
            try {
                TRegStore store(QStringLiteral("HKEY_CURRENT_USER"), file);
                store.CreateKey(store.RootKey(), {QStringLiteral("K")});
            } catch (const ERegistryException& e) {
                errors[Index] = e.Message();
            }
        };
        std::thread first(open, 0);
        std::thread second(open, 1);
        first.join();
        second.join();
        ASSERT_EQ(errors[0], QString()) << "round " << round;
        ASSERT_EQ(errors[1], QString()) << "round " << round;
    }
}

TEST_F(StoreProcesses, TwoWritersAtOnceLoseNothing)
{
    auto first = StartChild("Writer", "a");
    auto second = StartChild("Writer", "b");
    ASSERT_TRUE(WaitForLine(*first, "ready"));
    ASSERT_TRUE(WaitForLine(*second, "ready"));
    first->write("go\n");
    second->write("go\n");
    first->closeWriteChannel();
    second->closeWriteChannel();
    for (QProcess* child : {first.get(), second.get()}) {
        ASSERT_TRUE(child->waitForFinished(ChildDeadlineMs));
        EXPECT_EQ(child->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(child->exitCode(), 0);
    }

    TRegistry reg;
    ASSERT_TRUE(reg.OpenKeyReadOnly("Software\\Race"));
    TStringList names;
    reg.GetValueNames(names);
    EXPECT_EQ(names.Count(), 2 * WritesPerChild);
    for (const char* prefix : {"a", "b"})
        for (int i = 0; i < WritesPerChild; ++i)
            ASSERT_EQ(reg.ReadString(QStringLiteral("%1-%2").arg(prefix).arg(i)),
                      QStringLiteral("value %1 of %2").arg(i).arg(prefix));
}

TEST_F(StoreProcesses, AnotherProcessesWritesAreSeenAtTheNextRead)
{
    TRegistry seen;
    ASSERT_TRUE(seen.OpenKey("Software\\Seen", true));
    seen.WriteString("v", "old");
    TRegistry gone;
    ASSERT_TRUE(gone.OpenKey("Software\\Gone", true));
    gone.WriteString("x", "here");
    // Read once, so that the answers are cached.
    ASSERT_EQ(seen.ReadString("v"), "old");
    ASSERT_EQ(gone.ReadString("x"), "here");
    ASSERT_TRUE(seen.KeyExists("\\Software\\Gone"));

    auto child = StartChild("Changer", "x");
    ASSERT_TRUE(child->waitForFinished(ChildDeadlineMs));
    ASSERT_EQ(child->exitCode(), 0);
    EXPECT_EQ(seen.ReadString("v"), "new");
    EXPECT_FALSE(gone.ValueExists("x"));
    EXPECT_FALSE(seen.KeyExists("\\Software\\Gone"));
}

TEST_F(StoreProcesses, WriterKilledMidTransactionLeavesOldOrNewValues)
{
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey("Software\\Crash", true));
        for (int i = 0; i < CrashValues; ++i)
            reg.WriteBinaryData(QStringLiteral("v%1").arg(i), CrashValue('O'));
    }
    for (int attempt = 0; attempt < 3; ++attempt) {
        auto child = StartChild("Rewriter", "x");
        ASSERT_TRUE(WaitForLine(*child, "writing"));
        ::kill(pid_t(child->processId()), SIGKILL);
        ASSERT_TRUE(child->waitForFinished(ChildDeadlineMs));
        EXPECT_EQ(child->exitStatus(), QProcess::CrashExit);

        EXPECT_EQ(IntegrityCheck(StoreFile()), "ok");
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKeyReadOnly("Software\\Crash"));
        for (int i = 0; i < CrashValues; ++i) {
            const QByteArray value = reg.ReadBinaryData(QStringLiteral("v%1").arg(i));
            ASSERT_EQ(value.size(), CrashValueSize) << "value " << i;
            const char letter = value.front();
            EXPECT_TRUE(letter == 'O' || (letter >= 'A' && letter <= 'Z')) << "value " << i;
            EXPECT_EQ(value, CrashValue(letter)) << "value " << i << " is torn";
        }
    }
}

TEST_F(StoreProcesses, GarbageFileIsReportedAndLeftAlone)
{
    const QByteArray garbage = QByteArray("this is not a database, but a user's precious file\n").repeated(100);
    WriteFile(StoreFile(), garbage);
    const QString error = OpenError();
    EXPECT_TRUE(error.contains(StoreFile())) << error.toStdString();
    EXPECT_TRUE(error.contains("damaged")) << error.toStdString();
    // A second attempt fails the same way: the failed store is not remembered as good.
    EXPECT_EQ(OpenError(), error);
    EXPECT_EQ(FileBytes(StoreFile()), garbage);
}

TEST_F(StoreProcesses, DamagedPagesAreReportedAndLeftAlone)
{
    auto filler = StartChild("Filler", "x");
    ASSERT_TRUE(filler->waitForFinished(ChildDeadlineMs));
    ASSERT_EQ(filler->exitCode(), 0);
    QByteArray bytes = FileBytes(StoreFile());
    ASSERT_GT(bytes.size(), 8 * 4096);
    // Overwrite the middle of the file, leaving the header intact.
    bytes.replace(bytes.size() / 2, 4096, QByteArray(4096, '\xA5'));
    WriteFile(StoreFile(), bytes);

    const QString error = OpenError();
    EXPECT_TRUE(error.contains("damaged")) << error.toStdString();
    EXPECT_EQ(FileBytes(StoreFile()), bytes);
}

TEST_F(StoreProcesses, ForeignDatabaseIsNotTakenOver)
{
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(StoreFile()).constData(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "CREATE TABLE notes(text); INSERT INTO notes VALUES('mine')", nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
    const QByteArray before = FileBytes(StoreFile());

    const QString error = OpenError();
    EXPECT_TRUE(error.contains("is not a registry store")) << error.toStdString();
    EXPECT_EQ(FileBytes(StoreFile()), before);
}

// --- The store beside plain SQLite connections ----------------------------------------

namespace {

// A connection through SQLite's default file layer, as another program or an older
// version of this one opens the store; every answer it gives is SQLite's own.
class PlainConnection {
public:
    explicit PlainConnection(const QString& FileName)
    {
        EXPECT_EQ(sqlite3_open(QFile::encodeName(FileName).constData(), &FDb), SQLITE_OK);
        sqlite3_busy_timeout(FDb, 10000);
    }
    ~PlainConnection() { sqlite3_close(FDb); }
    PlainConnection(const PlainConnection&) = delete;
    PlainConnection& operator=(const PlainConnection&) = delete;

    // The first column of the first row, as text; "(none)" without a row.
    QString Text(const QString& Sql)
    {
        sqlite3_stmt* stmt = nullptr;
        QString result = QStringLiteral("(none)");
        if (sqlite3_prepare_v2(FDb, Sql.toUtf8().constData(), -1, &stmt, nullptr) != SQLITE_OK)
            return QStringLiteral("error: ") + QString::fromUtf8(sqlite3_errmsg(FDb));
        if (sqlite3_step(stmt) == SQLITE_ROW)
            result = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)),
                                       sqlite3_column_bytes(stmt, 0));
        sqlite3_finalize(stmt);
        return result;
    }
    void Exec(const char* Sql) { ASSERT_EQ(sqlite3_exec(FDb, Sql, nullptr, nullptr, nullptr), SQLITE_OK) << Sql; }

private:
    sqlite3* FDb = nullptr;
};

const QString Hive = QStringLiteral("HKEY_CURRENT_USER");

// Text of Size characters that differs from round to round; long ones span several
// pages, so their frames are written in pieces.
QString RoundText(int Round, int Size) { return QString(Size, QLatin1Char('a' + Round % 26)); }

} // namespace

// Each write of the store is seen by a plain connection at once, and each write of the
// plain connection by the store at its next read, also across checkpoints that start
// the WAL over. A frame written wrongly shows as an old value or a damaged WAL.
TEST_F(StoreProcesses, WritesAreSeenByAPlainConnectionAndTheOtherWayRound)
{
    TRegStore store(Hive, StoreFile());
    const TRegKeyId key = store.CreateKey(store.RootKey(), {"Plain"});
    PlainConnection plain(StoreFile());
    const QString select = QStringLiteral("SELECT data FROM vals WHERE folded = 'v'");
    for (int round = 0; round < 120; ++round) {
        const int size = (round * 797) % 5000;
        store.WriteValue(key, "V", TRegValue::FromString(RoundText(round, size)));
        ASSERT_EQ(plain.Text(select), RoundText(round, size)) << "round " << round;
        plain.Exec(QStringLiteral("UPDATE vals SET data = 'plain %1' WHERE folded = 'v'").arg(round).toUtf8().constData());
        const auto read = store.ReadValue(key, "v");
        ASSERT_TRUE(read.has_value());
        ASSERT_EQ(read->Text, QStringLiteral("plain %1").arg(round)) << "round " << round;
        if (round % 40 == 39)
            plain.Exec("PRAGMA wal_checkpoint(TRUNCATE)");
    }
    EXPECT_EQ(plain.Text("PRAGMA integrity_check"), "ok");
}

// The WAL left by a process that died is read back by the next connection, which checks
// every frame's header and checksum as it goes: a frame written wrongly ends the log
// there, and the values behind it would be missing.
TEST_F(StoreProcesses, WritesOfAProcessThatDiedAreReadBackFromTheWal)
{
    auto child = StartChild("Dropper", "x");
    ASSERT_TRUE(child->waitForFinished(ChildDeadlineMs));
    ASSERT_EQ(child->exitCode(), 0);
    ASSERT_GT(QFile(StoreFile() + QStringLiteral("-wal")).size(), 0) << "the child left no WAL behind";
    PlainConnection plain(StoreFile());
    for (int i = 0; i < DroppedValues; ++i)
        ASSERT_EQ(plain.Text(QStringLiteral("SELECT data FROM vals WHERE folded = 'd%1'").arg(i)), DroppedText(i)) << i;
    EXPECT_EQ(plain.Text("PRAGMA integrity_check"), "ok");
}

// A store with SQLite's default 4 KiB pages, as earlier versions made every store, opens,
// reads back what it holds, takes new writes and keeps its page size.
TEST_F(StoreProcesses, StoreWithLargerPagesOpensAndReadsBack)
{
    {
        TRegStore store(Hive, StoreFile());
        const TRegKeyId key = store.CreateKey(store.RootKey(), {"Old", "Values"});
        for (int i = 0; i < 50; ++i)
            store.WriteValue(key, QStringLiteral("n%1").arg(i), TRegValue::FromString(RoundText(i, i * 90)));
    }
    {
        PlainConnection plain(StoreFile());
        plain.Exec("PRAGMA journal_mode = DELETE; PRAGMA page_size = 4096; VACUUM; PRAGMA journal_mode = WAL");
        ASSERT_EQ(plain.Text("PRAGMA page_size"), "4096");
    }
    TRegStore store(Hive, StoreFile());
    const auto key = store.FindKey(store.RootKey(), {"old", "VALUES"});
    ASSERT_TRUE(key.has_value());
    for (int i = 0; i < 50; ++i) {
        const auto read = store.ReadValue(*key, QStringLiteral("N%1").arg(i));
        ASSERT_TRUE(read.has_value()) << i;
        ASSERT_EQ(read->Text, RoundText(i, i * 90)) << i;
    }
    store.WriteValue(*key, "added", TRegValue::FromInteger(7));
    PlainConnection plain(StoreFile());
    EXPECT_EQ(plain.Text("SELECT data FROM vals WHERE folded = 'added'"), "7");
    EXPECT_EQ(plain.Text("PRAGMA page_size"), "4096");
    EXPECT_EQ(plain.Text("PRAGMA integrity_check"), "ok");
}
