// TqvFTPConnection against real servers on loopback.
#include "ftptesthelpers.h"
#include "internet/qvftpshell.h"
#include "support/prerequisite.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTcpServer>

using namespace Qvftpshell;
using namespace qvtest;
namespace ftp = platform::ftp;

namespace {

class FtpConnection : public ::testing::TestWithParam<ServerMode> {
protected:
    void SetUp() override
    {
        QString reason;
        FServer = SharedFtpServer(GetParam().Kind, reason);
        if (!FServer)
            QV_PREREQUISITE_MISSING(reason.toStdString());
        FConnection.SetTimeout(10000);
    }

    void TearDown() override
    {
        FConnection.Disconnect();
    }

    bool ConnectTo(const QString& directory, int port = 0)
    {
        return FConnection.ConnectTo("127.0.0.1", QString::fromUtf8(FServer->User()), QString::fromUtf8(FServer->Password()),
                                     directory, GetParam().Passive, port ? port : FServer->Port());
    }

    QString WorkDir() const { return QString::fromUtf8(FServer->RemoteWorkDir()); }

    QByteArray CurrentDirectory() const
    {
        char buffer[2048] = {};
        ftp::DWORD length = sizeof buffer;
        return ftp::FtpGetCurrentDirectoryA(FConnection.Handle(), buffer, &length) ? QByteArray(buffer, length) : QByteArray();
    }

    static void TearDownTestSuite() { StopSharedFtpServers(); }

    FtpTestServer* FServer = nullptr;
    TqvFTPConnection FConnection;
    QTemporaryDir FLocal;
};

TEST_P(FtpConnection, StartDirectoryAndPort)
{
    // A missing start directory fails but leaves a usable connection.
    EXPECT_FALSE(ConnectTo("/no/such/folder"));
    EXPECT_TRUE(FConnection.Connected());
    EXPECT_EQ(ftp::GetLastError(), ftp::ERROR_INTERNET_EXTENDED_ERROR);
    EXPECT_TRUE(LastResponse().startsWith("550")) << LastResponse().toStdString();
    EXPECT_TRUE(FConnection.SetCurrentDirectory(WorkDir()));
    FConnection.Disconnect();
    // An empty one stays where the server starts; only the low 16 bits of the port count.
    EXPECT_TRUE(ConnectTo("", FServer->Port() + 65536));
    EXPECT_TRUE(FConnection.Connected());
    EXPECT_EQ(CurrentDirectory(), "/");
}

TEST_P(FtpConnection, EveryOperationChangesTheServerAsAsked)
{
    ASSERT_TRUE(ConnectTo(WorkDir()));
    const QString folder = QString::fromUtf8("Ordner mit Leerzeichen \xc3\xa4\xc3\xb6\xc3\xbc");
    ASSERT_TRUE(FConnection.CreateDirectory(folder));
    EXPECT_TRUE(QFileInfo(FServer->LocalPath(folder.toUtf8())).isDir());
    ASSERT_TRUE(FConnection.SetCurrentDirectory(folder));

    // Upload stores the file under its own name in the current directory.
    QDir(FLocal.path()).mkpath("deep/er");
    const QString source = FLocal.filePath(QString::fromUtf8("deep/er/r\xc3\xa9sum\xc3\xa9 2024.txt"));
    const QByteArray content = PatternBytes(70000, 4);
    WriteAll(source, content);
    ASSERT_TRUE(FConnection.Upload(source)) << LastResponse().toStdString();
    const QByteArray remote = folder.toUtf8() + "/r\xc3\xa9sum\xc3\xa9 2024.txt";
    EXPECT_EQ(ReadAll(FServer->LocalPath(remote)), content);
    EXPECT_EQ(QDir(FServer->LocalPath(folder.toUtf8())).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 1);

    // GetFile replaces an existing local file.
    const QString target = FLocal.filePath("copy.txt");
    WriteAll(target, "stale");
    ASSERT_TRUE(FConnection.GetFile(QString::fromUtf8("r\xc3\xa9sum\xc3\xa9 2024.txt"), target));
    EXPECT_EQ(ReadAll(target), content);

    ASSERT_TRUE(FConnection.RenameFile(QString::fromUtf8("r\xc3\xa9sum\xc3\xa9 2024.txt"), "cv.txt"));
    EXPECT_EQ(ReadAll(FServer->LocalPath(folder.toUtf8() + "/cv.txt")), content);
    ASSERT_TRUE(FConnection.DeleteFile("cv.txt"));
    EXPECT_FALSE(QFile::exists(FServer->LocalPath(folder.toUtf8() + "/cv.txt")));

    ASSERT_TRUE(FConnection.SetCurrentDirectory(".."));
    ASSERT_TRUE(FConnection.RemoveDirectory(folder));
    EXPECT_FALSE(QFileInfo::exists(FServer->LocalPath(folder.toUtf8())));

    // Failures are a false result and nothing else.
    EXPECT_FALSE(FConnection.DeleteFile("cv.txt"));
    EXPECT_FALSE(FConnection.RemoveDirectory(folder));
    EXPECT_FALSE(FConnection.RenameFile("cv.txt", "x.txt"));
    EXPECT_FALSE(FConnection.GetFile("cv.txt", target));
    EXPECT_EQ(ReadAll(target), content);
    EXPECT_FALSE(FConnection.Upload(FLocal.filePath("missing.txt")));
    EXPECT_FALSE(FConnection.Upload(FLocal.path() + '/'));
}

TEST_P(FtpConnection, RefusedLoginFailsAndLeavesTheServersReply)
{
    const QString user = GetParam().Kind == FtpServerKind::Vsftpd ? "somebody" : QString::fromUtf8(FServer->User());
    EXPECT_FALSE(FConnection.ConnectTo("127.0.0.1", user, "not-the-password", "", GetParam().Passive, FServer->Port()));
    EXPECT_FALSE(FConnection.Connected());
    EXPECT_EQ(ftp::GetLastError(), ftp::ERROR_INTERNET_LOGIN_FAILURE);
    const QByteArray reply = LastResponse();
    EXPECT_TRUE(reply.startsWith("530")) << reply.toStdString();
    EXPECT_FALSE(reply.toLower().contains("not-the-password")) << reply.toStdString();
}

TEST_P(FtpConnection, DisconnectClosesEveryConnectionTheObjectMade)
{
    ASSERT_TRUE(ConnectTo(WorkDir()));
    const ftp::HINTERNET first = FConnection.Handle();
    // Connecting again leaves the earlier connection open (another thread may use it)...
    ASSERT_TRUE(ConnectTo(WorkDir()));
    EXPECT_NE(FConnection.Handle(), first);
    EXPECT_TRUE(ftp::FtpSetCurrentDirectoryA(first, FServer->RemoteWorkDir().constData()));
    // ... and Disconnect closes both.
    FConnection.Disconnect();
    EXPECT_FALSE(FConnection.Connected());
    EXPECT_FALSE(FConnection.SetCurrentDirectory(WorkDir()));
    EXPECT_EQ(ftp::GetLastError(), ftp::ERROR_INVALID_HANDLE);
    EXPECT_FALSE(ftp::FtpSetCurrentDirectoryA(first, FServer->RemoteWorkDir().constData()));
    EXPECT_EQ(ftp::GetLastError(), ftp::ERROR_INVALID_HANDLE);
    // And it can connect again.
    EXPECT_TRUE(ConnectTo(WorkDir()));
}

INSTANTIATE_TEST_SUITE_P(Servers, FtpConnection, AllServerModes(), ServerModeName);

TEST(FtpConnectionAlone, NeverConnectedObjectFailsEveryOperationAndChangesNothing)
{
    QTemporaryDir local;
    const QString existing = local.filePath("existing.txt");
    WriteAll(existing, "unchanged");
    TqvFTPConnection connection;
    EXPECT_FALSE(connection.Connected());
    EXPECT_FALSE(connection.SetCurrentDirectory("/"));
    EXPECT_FALSE(connection.CreateDirectory("x"));
    EXPECT_FALSE(connection.RemoveDirectory("x"));
    EXPECT_FALSE(connection.GetFile("x", existing));
    EXPECT_FALSE(connection.GetFile("x", local.filePath("new.txt")));
    EXPECT_FALSE(connection.DeleteFile("x"));
    EXPECT_FALSE(connection.RenameFile("x", "y"));
    EXPECT_FALSE(connection.Upload(existing));
    EXPECT_EQ(ftp::GetLastError(), ftp::ERROR_INVALID_HANDLE);
    connection.Disconnect();
    EXPECT_FALSE(connection.Connected());
    EXPECT_EQ(ReadAll(existing), "unchanged");
    EXPECT_EQ(QDir(local.path()).entryList(QDir::Files), QStringList{"existing.txt"});
}

TEST(FtpConnectionAlone, Port65557MeansPort21)
{
    FtpTestServer server(FtpServerKind::Pyftpdlib);
    if (!server.Start(21))
        QV_PREREQUISITE_MISSING("port 21 free on loopback, and root to listen on it");
    TqvFTPConnection connection;
    EXPECT_TRUE(connection.ConnectTo("127.0.0.1", QString::fromUtf8(server.User()), QString::fromUtf8(server.Password()), "/",
                                     true, 65557));
    EXPECT_TRUE(connection.Connected());
    connection.Disconnect();
}

TEST(FtpConnectionAlone, TlsIsOffByDefaultAndRefusedByAPlainServerAndASilentServerTimesOut)
{
    FtpTestServer server(FtpServerKind::Pyftpdlib);
    ASSERT_TRUE(server.Start()) << server.Error().toStdString();
    TqvFTPConnection connection;
    EXPECT_FALSE(connection.UseTLS());
    const QString user = QString::fromUtf8(server.User());
    const QString password = QString::fromUtf8(server.Password());
    EXPECT_TRUE(connection.ConnectTo("127.0.0.1", user, password, "", true, server.Port()));
    connection.Disconnect();
    connection.SetUseTLS(true);
    EXPECT_FALSE(connection.ConnectTo("127.0.0.1", user, password, "", true, server.Port()));
    EXPECT_FALSE(connection.Connected());
    EXPECT_EQ(ftp::GetLastError(), ftp::ERROR_INTERNET_SECURITY_CHANNEL_ERROR);

    // A server that accepts and never answers times out.
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost, 0));
    connection.SetUseTLS(false);
    connection.SetTimeout(1000);
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(connection.ConnectTo("127.0.0.1", "u", "p", "", true, silent.serverPort()));
    EXPECT_LT(clock.elapsed(), 20000);
    EXPECT_FALSE(connection.Connected());
    EXPECT_EQ(ftp::GetLastError(), ftp::ERROR_INTERNET_TIMEOUT);
}

} // namespace
