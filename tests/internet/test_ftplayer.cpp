// The internet library's FTP functions against real servers on loopback.
#include "ftptesthelpers.h"
#include "platform/ftp/wininet.h"
#include "support/prerequisite.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLoggingCategory>
#include <QTcpServer>
#include <QThread>
#include <cstring>
#include <functional>
#include <map>
#include <mutex>
#include <thread>

using namespace platform::ftp;
using namespace qvtest;

namespace {

constexpr DWORD TestTimeoutMs = 10000;
// Short enough to keep the tests quick, long enough for a server on a busy machine.
constexpr DWORD StallTimeoutMs = 3000;

QDateTime FromFileTime(const FILETIME& time)
{
    const uint64_t ticks = (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    return QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(ticks / 10000) - 11644473600000LL, Qt::UTC);
}

QByteArray NameOf(const WIN32_FIND_DATAA& data)
{
    return QByteArray(data.cFileName);
}

// What follows the name's terminating zero: "-> target" for a link, else nothing.
QByteArray LinkPartOf(const WIN32_FIND_DATAA& data)
{
    const size_t nameLength = std::strlen(data.cFileName);
    return QByteArray(data.cFileName + nameLength + 1);
}

HINTERNET OpenRoot(DWORD timeoutMs)
{
    HINTERNET root = InternetOpenA("QvKit tests", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    InternetSetOptionA(root, INTERNET_OPTION_CONNECT_TIMEOUT, &timeoutMs, sizeof timeoutMs);
    InternetSetOptionA(root, INTERNET_OPTION_RECEIVE_TIMEOUT, &timeoutMs, sizeof timeoutMs);
    return root;
}

// A root handle and a connection made from it; the root, and the connection with it,
// close at the end of the scope.
class TestConnection {
public:
    TestConnection(HINTERNET root, HINTERNET connection) : Root(root), Connection(connection) {}
    ~TestConnection() { InternetCloseHandle(Root); }
    TestConnection(const TestConnection&) = delete;
    TestConnection& operator=(const TestConnection&) = delete;
    const HINTERNET Root;
    const HINTERNET Connection;
};

// A passive connection to a server on loopback, logged in as its user.
TestConnection ConnectTo(const FtpTestServer& server, DWORD timeoutMs = TestTimeoutMs)
{
    HINTERNET root = OpenRoot(timeoutMs);
    return TestConnection(root, InternetConnectA(root, "127.0.0.1", static_cast<INTERNET_PORT>(server.Port()),
                                                 server.User().constData(), server.Password().constData(),
                                                 INTERNET_SERVICE_FTP, INTERNET_FLAG_PASSIVE, 0));
}

class FtpLayer : public ::testing::TestWithParam<ServerMode> {
protected:
    void SetUp() override
    {
        QString reason;
        FServer = SharedFtpServer(GetParam().Kind, reason);
        if (!FServer)
            QV_PREREQUISITE_MISSING(reason.toStdString());
        FRoot = OpenRoot(TestTimeoutMs);
        ASSERT_NE(FRoot, nullptr);
    }

    void TearDown() override
    {
        if (FRoot) {
            EXPECT_TRUE(InternetCloseHandle(FRoot)); // closes the connection with it
        }
    }

    HINTERNET Connect(const QByteArray& user, const QByteArray& password)
    {
        return InternetConnectA(FRoot, "127.0.0.1", static_cast<INTERNET_PORT>(FServer->Port()), user.constData(),
                                password.constData(), INTERNET_SERVICE_FTP,
                                GetParam().Passive ? INTERNET_FLAG_PASSIVE : 0, 0);
    }

    // Connected and in the work folder.
    HINTERNET ConnectToWorkDir()
    {
        HINTERNET connection = Connect(FServer->User(), FServer->Password());
        EXPECT_NE(connection, nullptr) << LastResponse().toStdString();
        EXPECT_TRUE(FtpSetCurrentDirectoryA(connection, FServer->RemoteWorkDir().constData()));
        return connection;
    }

    std::map<QByteArray, WIN32_FIND_DATAA> List(HINTERNET connection, const char* search = nullptr)
    {
        std::map<QByteArray, WIN32_FIND_DATAA> entries;
        WIN32_FIND_DATAA data;
        HINTERNET find = FtpFindFirstFileA(connection, search, &data, INTERNET_FLAG_RELOAD, 0);
        if (!find)
            return entries;
        do
            entries[NameOf(data)] = data;
        while (InternetFindNextFileA(find, &data));
        EXPECT_EQ(GetLastError(), ERROR_NO_MORE_FILES);
        EXPECT_TRUE(InternetCloseHandle(find));
        return entries;
    }

    QByteArray CurrentDirectory(HINTERNET connection)
    {
        char buffer[2048] = {};
        DWORD length = sizeof buffer;
        return FtpGetCurrentDirectoryA(connection, buffer, &length) ? QByteArray(buffer, length) : QByteArray("?");
    }

    QByteArray WorkPath(const QByteArray& name) const
    {
        const QByteArray dir = FServer->RemoteWorkDir();
        return dir.endsWith('/') ? dir + name : dir + '/' + name;
    }

    bool UsesMlsd() const { return GetParam().Kind == FtpServerKind::Pyftpdlib; }

    static void TearDownTestSuite() { StopSharedFtpServers(); }

    FtpTestServer* FServer = nullptr;
    HINTERNET FRoot = nullptr;
};

TEST_P(FtpLayer, ListsFilesFoldersAndLinksWithSizesAndTimes)
{
    const QDateTime old(QDate(2020, 3, 4), QTime(5, 6, 7), Qt::UTC);
    const QDateTime older(QDate(2019, 11, 12), QTime(13, 14, 15), Qt::UTC);
    QDateTime recent = QDateTime::currentDateTimeUtc().addSecs(-3 * 3600);
    recent.setTime(QTime(recent.time().hour(), recent.time().minute(), 42));

    WriteAll(FServer->LocalPath("plain.txt"), PatternBytes(1536, 1));
    SetModificationTime(FServer->LocalPath("plain.txt"), old);
    WriteAll(FServer->LocalPath("empty file"), {});
    SetModificationTime(FServer->LocalPath("empty file"), recent);
    const QByteArray accented = "caf\xc3\xa9 \xc3\xbcn\xc3\xaf.txt";
    WriteAll(FServer->LocalPath(accented), "abc");
    SetModificationTime(FServer->LocalPath(accented), old);
    FServer->MakeDir("sub dir");
    SetModificationTime(FServer->LocalPath("sub dir"), older);
    ASSERT_TRUE(QFile::link("plain.txt", FServer->LocalPath("link to plain")));
    SetModificationTime(FServer->LocalPath("link to plain"), older);

    HINTERNET connection = ConnectToWorkDir();
    const std::map<QByteArray, WIN32_FIND_DATAA> entries = List(connection);
    ASSERT_EQ(entries.size(), 5u);

    // MLSD gives exact times; LIST gives old dates without a time and recent ones to the minute.
    auto expectedTime = [&](const QDateTime& when) {
        if (UsesMlsd())
            return when;
        if (when.daysTo(QDateTime::currentDateTimeUtc()) > 170)
            return QDateTime(when.date(), QTime(0, 0), Qt::UTC);
        return QDateTime(when.date(), QTime(when.time().hour(), when.time().minute()), Qt::UTC);
    };
    struct Expected {
        QByteArray Name;
        DWORD Attributes;
        uint64_t Size;
        QDateTime When;
    };
    std::vector<Expected> expected = {{"plain.txt", FILE_ATTRIBUTE_NORMAL, 1536, old},
                                      {"empty file", FILE_ATTRIBUTE_NORMAL, 0, recent},
                                      {accented, FILE_ATTRIBUTE_NORMAL, 3, old}};
    for (const Expected& e : expected) {
        ASSERT_TRUE(entries.count(e.Name)) << e.Name.toStdString();
        const WIN32_FIND_DATAA& data = entries.at(e.Name);
        EXPECT_EQ(data.dwFileAttributes, e.Attributes) << e.Name.toStdString();
        EXPECT_EQ((static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow, e.Size) << e.Name.toStdString();
        EXPECT_EQ(FromFileTime(data.ftLastWriteTime), expectedTime(e.When)) << e.Name.toStdString();
        EXPECT_EQ(LinkPartOf(data), QByteArray()) << e.Name.toStdString();
    }
    const WIN32_FIND_DATAA& folder = entries.at("sub dir");
    EXPECT_EQ(folder.dwFileAttributes, FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(FromFileTime(folder.ftLastWriteTime), expectedTime(older));

    const WIN32_FIND_DATAA& link = entries.at("link to plain");
    if (UsesMlsd()) {
        // MLSD follows links: the entry shows its target.
        EXPECT_EQ(link.nFileSizeLow, 1536u);
        EXPECT_EQ(FromFileTime(link.ftLastWriteTime), old);
        EXPECT_EQ(LinkPartOf(link), QByteArray());
    } else {
        EXPECT_EQ(link.nFileSizeLow, 9u); // the length of "plain.txt"
        EXPECT_EQ(FromFileTime(link.ftLastWriteTime), expectedTime(older));
        EXPECT_EQ(LinkPartOf(link), QByteArray("-> plain.txt"));
    }

    // A pattern keeps the matching names, from the current folder or a named one.
    const auto texts = List(connection, "*.txt");
    EXPECT_EQ(texts.size(), 2u);
    EXPECT_TRUE(texts.count("plain.txt") && texts.count(accented));
    const auto named = List(connection, WorkPath("p*").constData());
    EXPECT_EQ(named.size(), 1u);
    WIN32_FIND_DATAA data;
    EXPECT_EQ(FtpFindFirstFileA(connection, "*.none", &data, 0, 0), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_NO_MORE_FILES);
}

TEST_P(FtpLayer, EveryOperationChangesTheServerAsAsked)
{
    HINTERNET connection = ConnectToWorkDir();
    const QByteArray folder = "new folder \xc3\xa9";
    ASSERT_TRUE(FtpCreateDirectoryA(connection, folder.constData())) << LastResponse().toStdString();
    EXPECT_TRUE(QFileInfo(FServer->LocalPath(folder)).isDir());

    ASSERT_TRUE(FtpSetCurrentDirectoryA(connection, folder.constData()));
    EXPECT_EQ(CurrentDirectory(connection), WorkPath(folder));

    QTemporaryDir local;
    const QByteArray content = PatternBytes(300 * 1024 + 7, 2);
    WriteAll(local.filePath("source.bin"), content);
    ASSERT_TRUE(FtpPutFileA(connection, QFile::encodeName(local.filePath("source.bin")).constData(), "up \xc3\xa9.bin", 0, 0))
        << LastResponse().toStdString();
    EXPECT_EQ(ReadAll(FServer->LocalPath(folder + "/up \xc3\xa9.bin")), content);

    // Downloading over an existing local file replaces it.
    const QString target = local.filePath("target.bin");
    WriteAll(target, "old content that must go");
    ASSERT_TRUE(FtpGetFileA(connection, "up \xc3\xa9.bin", QFile::encodeName(target).constData(), false, 0, 0, 0));
    EXPECT_EQ(ReadAll(target), content);
    // ... unless asked to fail when it exists.
    WriteAll(target, "keep me");
    EXPECT_FALSE(FtpGetFileA(connection, "up \xc3\xa9.bin", QFile::encodeName(target).constData(), true, 0, 0, 0));
    EXPECT_EQ(GetLastError(), ERROR_FILE_EXISTS);
    EXPECT_EQ(ReadAll(target), "keep me");

    ASSERT_TRUE(FtpRenameFileA(connection, "up \xc3\xa9.bin", "renamed.bin")) << LastResponse().toStdString();
    EXPECT_FALSE(QFile::exists(FServer->LocalPath(folder + "/up \xc3\xa9.bin")));
    EXPECT_EQ(ReadAll(FServer->LocalPath(folder + "/renamed.bin")), content);

    ASSERT_TRUE(FtpDeleteFileA(connection, "renamed.bin"));
    EXPECT_FALSE(QFile::exists(FServer->LocalPath(folder + "/renamed.bin")));

    ASSERT_TRUE(FtpSetCurrentDirectoryA(connection, ".."));
    EXPECT_EQ(CurrentDirectory(connection), FServer->RemoteWorkDir());
    ASSERT_TRUE(FtpRemoveDirectoryA(connection, folder.constData()));
    EXPECT_FALSE(QFileInfo::exists(FServer->LocalPath(folder)));

    // Absolute names work from anywhere.
    FServer->MakeDir("a");
    WriteAll(FServer->LocalPath("a/x"), "x");
    ASSERT_TRUE(FtpDeleteFileA(connection, WorkPath("a/x").constData()));
    EXPECT_FALSE(QFile::exists(FServer->LocalPath("a/x")));
}

TEST_P(FtpLayer, FailuresCarryTheServerReplyAndChangeNothing)
{
    HINTERNET connection = ConnectToWorkDir();
    const QByteArray before = CurrentDirectory(connection);

    EXPECT_FALSE(FtpSetCurrentDirectoryA(connection, "no such folder"));
    EXPECT_EQ(GetLastError(), ERROR_INTERNET_EXTENDED_ERROR);
    EXPECT_TRUE(LastResponse().startsWith("550")) << LastResponse().toStdString();
    EXPECT_EQ(CurrentDirectory(connection), before);

    EXPECT_FALSE(FtpDeleteFileA(connection, "missing.txt"));
    EXPECT_EQ(GetLastError(), ERROR_INTERNET_EXTENDED_ERROR);
    EXPECT_TRUE(LastResponse().startsWith("550")) << LastResponse().toStdString();

    // A failed download leaves the local file as it was.
    QTemporaryDir local;
    const QString target = local.filePath("kept.txt");
    WriteAll(target, "precious");
    EXPECT_FALSE(FtpGetFileA(connection, "missing.txt", QFile::encodeName(target).constData(), false, 0, 0, 0));
    EXPECT_EQ(ReadAll(target), "precious");
    EXPECT_EQ(QDir(local.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"kept.txt"});

    FServer->MakeDir("full");
    WriteAll(FServer->LocalPath("full/f"), "f");
    EXPECT_FALSE(FtpRemoveDirectoryA(connection, "full"));
    EXPECT_TRUE(QFile::exists(FServer->LocalPath("full/f")));

    // Local failures: a missing source, an unwritable target folder.
    EXPECT_FALSE(FtpPutFileA(connection, QFile::encodeName(local.filePath("nope")).constData(), "nope", 0, 0));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(LastResponse(), QByteArray());
    WriteAll(FServer->LocalPath("f.txt"), "f");
    EXPECT_FALSE(FtpGetFileA(connection, "f.txt", QFile::encodeName(local.filePath("no/dir/f.txt")).constData(), false, 0, 0, 0));
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);

    // Names that would smuggle in commands are refused before they reach the server.
    WriteAll(FServer->LocalPath("victim"), "v");
    EXPECT_FALSE(FtpDeleteFileA(connection, "x\r\nDELE victim"));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_NAME);
    EXPECT_FALSE(FtpCreateDirectoryA(connection, "a\nb"));
    EXPECT_FALSE(FtpRenameFileA(connection, "victim", "y\rz"));
    EXPECT_FALSE(FtpCreateDirectoryA(connection, ""));
    EXPECT_TRUE(QFile::exists(FServer->LocalPath("victim")));
    EXPECT_TRUE(FtpDeleteFileA(connection, "victim"));
}

TEST_P(FtpLayer, RefusedLoginFailsWithTheServersReplyAndNoPassword)
{
    // vsftpd here takes anonymous users only; pyftpdlib takes one user with one password.
    const QByteArray user = GetParam().Kind == FtpServerKind::Vsftpd ? "somebody" : FServer->User();
    const QByteArray password = "wrong-" + FServer->Password();
    EXPECT_EQ(Connect(user, password), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INTERNET_LOGIN_FAILURE);
    const QByteArray reply = LastResponse();
    EXPECT_TRUE(reply.startsWith("530")) << reply.toStdString();
    // Servers may repeat a refused password, in any case.
    EXPECT_FALSE(reply.toLower().contains(password.toLower())) << reply.toStdString();
    EXPECT_FALSE(reply.toLower().contains(FServer->Password().toLower())) << reply.toStdString();
}

TEST_P(FtpLayer, SearchHandlesCloseWithTheirConnection)
{
    WriteAll(FServer->LocalPath("one"), "1");
    WriteAll(FServer->LocalPath("two"), "2");
    HINTERNET connection = ConnectToWorkDir();
    WIN32_FIND_DATAA data;
    HINTERNET find = FtpFindFirstFileA(connection, nullptr, &data, 0, 0);
    ASSERT_NE(find, nullptr);
    // A search is no connection and a connection no search.
    EXPECT_FALSE(FtpDeleteFileA(find, "one"));
    EXPECT_EQ(GetLastError(), ERROR_INTERNET_INCORRECT_HANDLE_TYPE);
    EXPECT_FALSE(InternetFindNextFileA(connection, &data));
    EXPECT_EQ(GetLastError(), ERROR_INTERNET_INCORRECT_HANDLE_TYPE);

    EXPECT_TRUE(InternetCloseHandle(connection));
    EXPECT_FALSE(InternetFindNextFileA(find, &data));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(InternetCloseHandle(connection));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

TEST_P(FtpLayer, AnUploadOnAnotherThreadAndListingsShareTheConnection)
{
    HINTERNET connection = ConnectToWorkDir();
    QTemporaryDir local;
    const QByteArray content = PatternBytes(8 * 1024 * 1024, 3);
    WriteAll(local.filePath("big.bin"), content);
    BOOL uploaded = 0;
    std::thread uploader([&] {
        uploaded = FtpPutFileA(connection, QFile::encodeName(local.filePath("big.bin")).constData(), "big.bin", 0, 0);
    });
    int listings = 0;
    for (int i = 0; i < 5; ++i) {
        WIN32_FIND_DATAA data;
        HINTERNET find = FtpFindFirstFileA(connection, nullptr, &data, 0, 0);
        if (find || GetLastError() == ERROR_NO_MORE_FILES)
            ++listings;
        if (find)
            InternetCloseHandle(find);
    }
    uploader.join();
    EXPECT_TRUE(uploaded);
    EXPECT_EQ(listings, 5);
    EXPECT_EQ(ReadAll(FServer->LocalPath("big.bin")), content);
}

INSTANTIATE_TEST_SUITE_P(Servers, FtpLayer, AllServerModes(), ServerModeName);

// Calls on handles that are null, closed or never were fail cleanly.
TEST(FtpLayerHandles, NullAndStaleHandlesFail)
{
    char buffer[64];
    DWORD length = sizeof buffer;
    WIN32_FIND_DATAA data;
    const BOOL results[] = {
        FtpSetCurrentDirectoryA(nullptr, "/"),
        FtpGetCurrentDirectoryA(nullptr, buffer, &length),
        FtpCreateDirectoryA(nullptr, "x"),
        FtpRemoveDirectoryA(nullptr, "x"),
        FtpGetFileA(nullptr, "x", "/nonexistent/x", false, 0, 0, 0),
        FtpPutFileA(nullptr, "/etc/hostname", "x", 0, 0),
        FtpRenameFileA(nullptr, "x", "y"),
        FtpDeleteFileA(nullptr, "x"),
        InternetFindNextFileA(nullptr, &data),
        InternetCloseHandle(nullptr),
    };
    for (BOOL result : results)
        EXPECT_FALSE(result);
    EXPECT_EQ(FtpFindFirstFileA(nullptr, nullptr, &data, 0, 0), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);

    HINTERNET root = InternetOpenA("x", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    ASSERT_NE(root, nullptr);
    EXPECT_FALSE(FtpDeleteFileA(root, "x"));
    EXPECT_EQ(GetLastError(), ERROR_INTERNET_INCORRECT_HANDLE_TYPE);
    EXPECT_EQ(InternetConnectA(root, "127.0.0.1", 21, "u", "p", 3 /* HTTP */, 0, 0), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    DWORD flags = 0;
    EXPECT_FALSE(InternetSetOptionA(root, 9999, &flags, sizeof flags));
    EXPECT_EQ(GetLastError(), ERROR_INTERNET_INVALID_OPTION);
    EXPECT_TRUE(InternetCloseHandle(root));
    EXPECT_FALSE(InternetCloseHandle(root));
}

TEST(FtpLayerHandles, ResponseBufferTooSmallTellsTheSizeNeeded)
{
    FtpTestServer server(FtpServerKind::Pyftpdlib);
    ASSERT_TRUE(server.Start()) << server.Error().toStdString();
    const TestConnection c = ConnectTo(server);
    ASSERT_NE(c.Connection, nullptr);
    EXPECT_FALSE(FtpDeleteFileA(c.Connection, "missing"));
    const QByteArray reply = LastResponse();
    ASSERT_FALSE(reply.isEmpty());

    DWORD code = 0;
    char small[4];
    DWORD length = sizeof small;
    EXPECT_FALSE(InternetGetLastResponseInfoA(&code, small, &length));
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(length, static_cast<DWORD>(reply.size() + 1));
    EXPECT_EQ(code, 550u);

    char directory[2];
    length = sizeof directory; // "/" and its zero fit exactly
    EXPECT_TRUE(FtpGetCurrentDirectoryA(c.Connection, directory, &length));
    EXPECT_EQ(length, 1u);
    EXPECT_STREQ(directory, "/");
}

// A server that lists names no folder can hold: with MLSD and with LIST, a search
// shows the real file alone (a NUL would make a name look like a link, a "/" a path).
TEST(FtpLayerListings, NamesWithNulOrSlashOrDotsAreDropped)
{
    for (const FtpServerKind kind : {FtpServerKind::Pyftpdlib, FtpServerKind::PyftpdlibWithoutMlsd}) {
        FtpTestServer server(kind);
        server.ListOddNames();
        ASSERT_TRUE(server.Start()) << server.Error().toStdString();
        WriteAll(server.LocalPath("real.txt"), "abc");
        const TestConnection c = ConnectTo(server);
        ASSERT_NE(c.Connection, nullptr) << LastResponse().toStdString();
        QList<QByteArray> names;
        WIN32_FIND_DATAA data;
        HINTERNET find = FtpFindFirstFileA(c.Connection, nullptr, &data, 0, 0);
        for (BOOL more = find != nullptr; more; more = InternetFindNextFileA(find, &data))
            names << QByteArray(data.cFileName, sizeof data.cFileName);
        ASSERT_EQ(names.size(), 1) << FtpServerKindName(kind);
        EXPECT_EQ(names[0], QByteArray("real.txt").leftJustified(MAX_PATH, '\0')) << FtpServerKindName(kind);
    }
}

// A server that accepts connections and never says a word times out; a closed port
// fails at once, with no server reply either way.
TEST(FtpLayerTimeouts, SilentServerTimesOutAndClosedPortFailsAtOnce)
{
    QTcpServer silent, closed;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost, 0));
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost, 0));
    const quint16 closedPort = closed.serverPort();
    closed.close();
    const struct {
        quint16 Port;
        DWORD Timeout, Error;
    } cases[] = {{silent.serverPort(), 1000, ERROR_INTERNET_TIMEOUT}, {closedPort, TestTimeoutMs, ERROR_INTERNET_CANNOT_CONNECT}};
    for (const auto& c : cases) {
        HINTERNET root = OpenRoot(c.Timeout);
        QElapsedTimer clock;
        clock.start();
        EXPECT_EQ(InternetConnectA(root, "127.0.0.1", c.Port, "u", "p", INTERNET_SERVICE_FTP, INTERNET_FLAG_PASSIVE, 0), nullptr);
        EXPECT_EQ(GetLastError(), c.Error);
        EXPECT_EQ(LastResponse(), QByteArray());
        EXPECT_LT(clock.elapsed(), 20000);
        InternetCloseHandle(root);
    }
}

// A server that answers at first and then freezes: the call fails instead of hanging,
// and once the server is back the same connection handle works again. Closing says
// goodbye to the server, but waits no longer than the time-out for it.
TEST(FtpLayerTimeouts, ServerThatStopsAnsweringTimesOutRecoversAndClosesInTime)
{
    FtpTestServer server(FtpServerKind::Pyftpdlib);
    ASSERT_TRUE(server.Start()) << server.Error().toStdString();
    const TestConnection c = ConnectTo(server, StallTimeoutMs);
    ASSERT_NE(c.Connection, nullptr);
    server.Pause();
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(FtpCreateDirectoryA(c.Connection, "frozen"));
    EXPECT_EQ(GetLastError(), ERROR_INTERNET_TIMEOUT);
    EXPECT_LT(clock.elapsed(), 20000);
    server.Resume();
    EXPECT_TRUE(FtpCreateDirectoryA(c.Connection, "thawed")) << LastResponse().toStdString();
    EXPECT_TRUE(QFileInfo(server.LocalPath("thawed")).isDir());

    server.Pause();
    clock.restart();
    EXPECT_TRUE(InternetCloseHandle(c.Root));
    EXPECT_LT(clock.elapsed(), 3 * StallTimeoutMs);
    server.Resume();
}

// A transfer whose server freezes half-way fails after the idle time-out; a download
// leaves the local file it was to replace as it was, and no partial file behind.
TEST(FtpLayerTimeouts, StalledTransfersTimeOutAndKeepTheLocalFile)
{
    FtpTestServer server(FtpServerKind::Pyftpdlib);
    server.SetTransferLimit(64 * 1024); // a megabyte takes 16 s: time enough to freeze it
    ASSERT_TRUE(server.Start()) << server.Error().toStdString();
    const QByteArray content = PatternBytes(1024 * 1024, 5);
    WriteAll(server.LocalPath("slow.bin"), content);
    QTemporaryDir local;
    const QString target = local.filePath("target.bin");
    WriteAll(target, "keep");
    WriteAll(local.filePath("source.bin"), content);
    const TestConnection c = ConnectTo(server, StallTimeoutMs);
    ASSERT_NE(c.Connection, nullptr);

    struct Direction {
        const char* Name;
        std::function<BOOL()> Transfer;
        std::function<bool()> DataFlows;
    };
    const Direction directions[] = {
        // The server reads the file in 64 KB pieces: a second piece means the first went out.
        {"download", [&] { return FtpGetFileA(c.Connection, "slow.bin", QFile::encodeName(target).constData(), false, 0, 0, 0); },
         [&, before = server.BytesRead()] { return server.BytesRead() - before > 64 * 1024; }},
        {"upload", [&] { return FtpPutFileA(c.Connection, QFile::encodeName(local.filePath("source.bin")).constData(), "up.bin", 0, 0); },
         // Uploads go to a temporary name first, renamed once complete.
         [&] { return QFileInfo(server.LocalPath(".qvpart-up.bin")).size() > 0; }},
    };
    for (const Direction& direction : directions) {
        BOOL result = 1;
        DWORD error = ERROR_SUCCESS;
        std::thread worker([&] {
            result = direction.Transfer();
            error = GetLastError();
        });
        const QDeadlineTimer deadline(10000);
        while (!deadline.hasExpired() && !direction.DataFlows())
            QThread::msleep(10);
        EXPECT_FALSE(deadline.hasExpired()) << direction.Name;
        server.Pause();
        QElapsedTimer clock;
        clock.start();
        worker.join();
        server.Resume();
        EXPECT_FALSE(result) << direction.Name;
        EXPECT_EQ(error, ERROR_INTERNET_TIMEOUT) << direction.Name;
        EXPECT_LT(clock.elapsed(), 20000) << direction.Name;
    }
    EXPECT_EQ(ReadAll(target), "keep");
    EXPECT_EQ(QDir(local.path()).entryList(QDir::Files | QDir::Hidden), (QStringList{"source.bin", "target.bin"}));
    EXPECT_FALSE(QFile::exists(server.LocalPath("up.bin"))) << "no partial upload under the real name";
}

// Closing a connection on one thread stops a transfer running on it on another within
// about a second, and the progress reports count up to the file's size.
TEST(FtpLayerTransfers, ClosingTheConnectionCancelsARunningUploadAndProgressIsReported)
{
    FtpTestServer server(FtpServerKind::Pyftpdlib);
    server.SetTransferLimit(128 * 1024); // two megabytes take 16 s
    ASSERT_TRUE(server.Start()) << server.Error().toStdString();
    QTemporaryDir local;
    WriteAll(local.filePath("small.bin"), PatternBytes(200000, 1));
    WriteAll(local.filePath("large.bin"), PatternBytes(2 * 1024 * 1024, 2));
    const TestConnection c = ConnectTo(server);
    HINTERNET connection = c.Connection;
    ASSERT_NE(connection, nullptr) << LastResponse().toStdString();
    std::mutex lock;
    std::vector<std::pair<int64_t, int64_t>> reports;
    ASSERT_TRUE(FtpSetProgressCallback(connection, [&](int64_t done, int64_t total) {
        std::lock_guard guard(lock);
        reports.emplace_back(done, total);
    }));
    ASSERT_TRUE(FtpPutFileA(connection, QFile::encodeName(local.filePath("small.bin")).constData(), "small.bin", 0, 0));
    {
        std::lock_guard guard(lock);
        ASSERT_FALSE(reports.empty());
        EXPECT_EQ(reports.back(), std::make_pair(int64_t(200000), int64_t(200000)));
        EXPECT_TRUE(std::is_sorted(reports.begin(), reports.end()));
        reports.clear();
    }

    BOOL result = 1;
    DWORD error = ERROR_SUCCESS;
    std::thread worker([&] {
        result = FtpPutFileA(connection, QFile::encodeName(local.filePath("large.bin")).constData(), "large.bin", 0, 0);
        error = GetLastError();
    });
    const QDeadlineTimer deadline(10000);
    const auto moving = [&] {
        std::lock_guard guard(lock);
        return !reports.empty() && reports.back().first > 0;
    };
    while (!deadline.hasExpired() && !moving())
        QThread::msleep(10);
    EXPECT_FALSE(deadline.hasExpired()) << "no progress";
    InternetCloseHandle(c.Root);
    worker.join();
    EXPECT_FALSE(result);
    EXPECT_EQ(error, ERROR_INTERNET_OPERATION_CANCELLED);
    EXPECT_EQ(ReadAll(server.LocalPath("small.bin")), PatternBytes(200000, 1));
    EXPECT_EQ(QDir(server.LocalPath("")).entryList(QDir::Files | QDir::Hidden), QStringList{"small.bin"})
        << "neither a partial file under the real name nor the temporary one";
}

// A server that refuses renames gets the file straight under its name.
TEST(FtpLayerTransfers, UploadsReachAServerThatRefusesRenames)
{
    FtpTestServer server(FtpServerKind::Pyftpdlib);
    server.RefuseRenames();
    ASSERT_TRUE(server.Start()) << server.Error().toStdString();
    QTemporaryDir local;
    WriteAll(local.filePath("up.bin"), PatternBytes(100000, 4));
    const TestConnection c = ConnectTo(server);
    ASSERT_NE(c.Connection, nullptr);
    EXPECT_TRUE(FtpPutFileA(c.Connection, QFile::encodeName(local.filePath("up.bin")).constData(), "up.bin", 0, 0))
        << LastResponse().toStdString();
    EXPECT_EQ(ReadAll(server.LocalPath("up.bin")), PatternBytes(100000, 4));
    EXPECT_EQ(QDir(server.LocalPath("")).entryList(QDir::Files | QDir::Hidden), QStringList{"up.bin"});
}

// The command exchange is logged on request, but never with the password.
TEST(FtpLayerSecrets, DebugLogNeverShowsThePassword)
{
    static QStringList messages;
    messages.clear();
    QLoggingCategory::setFilterRules("qvkit.ftp.debug=true");
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext&, const QString& text) { messages.append(text); });

    FtpTestServer server(FtpServerKind::Pyftpdlib);
    ASSERT_TRUE(server.Start()) << server.Error().toStdString();
    const TestConnection c = ConnectTo(server);
    EXPECT_NE(c.Connection, nullptr);
    EXPECT_FALSE(FtpDeleteFileA(c.Connection, "missing"));
    // The test server repeats a refused password in its reply.
    const QByteArray wrong = "Wrong-" + server.Password();
    EXPECT_EQ(InternetConnectA(c.Root, "127.0.0.1", static_cast<INTERNET_PORT>(server.Port()), server.User().constData(),
                               wrong.constData(), INTERNET_SERVICE_FTP, INTERNET_FLAG_PASSIVE, 0),
              nullptr);
    const QByteArray reply = LastResponse();
    InternetCloseHandle(c.Root); // says goodbye while the log is still caught

    qInstallMessageHandler(previous);
    QLoggingCategory::setFilterRules("qvkit.ftp.debug=false");
    const QString log = messages.join('\n');
    EXPECT_TRUE(log.contains("PASS ********")) << log.toStdString();
    EXPECT_TRUE(log.contains("DELE /missing")) << log.toStdString();
    EXPECT_FALSE(log.contains(QString::fromUtf8(server.Password()), Qt::CaseInsensitive)) << log.toStdString();
    EXPECT_TRUE(reply.startsWith("530 Login incorrect for qvuser/********")) << reply.toStdString();
}

// Explicit TLS: off by default, on with INTERNET_FLAG_SECURE.
TEST(FtpLayerTls, ExplicitTlsIsUsedOnlyWhenAsked)
{
    FtpTestServer server(FtpServerKind::VsftpdTls);
    if (!server.Start())
        QV_PREREQUISITE_MISSING(server.Error().toStdString());
    HINTERNET root = OpenRoot(TestTimeoutMs);
    const auto port = static_cast<INTERNET_PORT>(server.Port());
    auto connect = [&](DWORD flags) {
        return InternetConnectA(root, "127.0.0.1", port, server.User().constData(), server.Password().constData(),
                                INTERNET_SERVICE_FTP, INTERNET_FLAG_PASSIVE | flags, 0);
    };
    // This server insists on TLS, so a plain login is refused...
    EXPECT_EQ(connect(0), nullptr);
    EXPECT_TRUE(LastResponse().startsWith("530")) << LastResponse().toStdString();
    // ... and its self-made certificate is not trusted unless the caller says so.
    EXPECT_EQ(connect(INTERNET_FLAG_SECURE), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INTERNET_SECURITY_CHANNEL_ERROR);

    DWORD flags = SECURITY_FLAG_IGNORE_UNKNOWN_CA;
    ASSERT_TRUE(InternetSetOptionA(root, INTERNET_OPTION_SECURITY_FLAGS, &flags, sizeof flags));
    HINTERNET connection = connect(INTERNET_FLAG_SECURE);
    ASSERT_NE(connection, nullptr) << LastResponse().toStdString();
    QTemporaryDir local;
    WriteAll(local.filePath("secret.txt"), "over tls");
    ASSERT_TRUE(FtpSetCurrentDirectoryA(connection, server.RemoteWorkDir().constData()));
    EXPECT_TRUE(FtpPutFileA(connection, QFile::encodeName(local.filePath("secret.txt")).constData(), "secret.txt", 0, 0));
    EXPECT_EQ(ReadAll(server.LocalPath("secret.txt")), "over tls");
    EXPECT_TRUE(FtpGetFileA(connection, "secret.txt", QFile::encodeName(local.filePath("back.txt")).constData(), false, 0, 0, 0));
    EXPECT_EQ(ReadAll(local.filePath("back.txt")), "over tls");
    WIN32_FIND_DATAA data;
    HINTERNET find = FtpFindFirstFileA(connection, nullptr, &data, 0, 0);
    ASSERT_NE(find, nullptr);
    EXPECT_STREQ(data.cFileName, "secret.txt");
    InternetCloseHandle(root);
}

} // namespace
