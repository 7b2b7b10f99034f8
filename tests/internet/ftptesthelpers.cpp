#include "ftptesthelpers.h"

#include "platform/ftp/wininet.h"

#include <QFile>
#include <fcntl.h>
#include <map>
#include <memory>
#include <sys/stat.h>

namespace qvtest {

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& content)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(file.write(content), content.size());
}

void SetModificationTime(const QString& path, const QDateTime& when)
{
    const qint64 ms = when.toMSecsSinceEpoch();
    const timespec times[2] = {{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000},
                               {static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000}};
    ASSERT_EQ(utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, AT_SYMLINK_NOFOLLOW), 0);
}

QByteArray PatternBytes(qsizetype size, int seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    uint32_t state = 2463534242u ^ static_cast<uint32_t>(seed);
    for (qsizetype i = 0; i < size; ++i) {
        state ^= state << 13; // xorshift32
        state ^= state >> 17;
        state ^= state << 5;
        bytes[i] = static_cast<char>(state);
    }
    return bytes;
}

QByteArray LastResponse()
{
    using namespace platform::ftp;
    DWORD code = 0;
    char buffer[4096] = {};
    DWORD length = sizeof buffer;
    return InternetGetLastResponseInfoA(&code, buffer, &length) ? QByteArray(buffer, length) : QByteArray();
}

namespace {

std::map<FtpServerKind, std::unique_ptr<FtpTestServer>>& SharedServers()
{
    static std::map<FtpServerKind, std::unique_ptr<FtpTestServer>> servers;
    return servers;
}

} // namespace

FtpTestServer* SharedFtpServer(FtpServerKind kind, QString& reason)
{
    std::unique_ptr<FtpTestServer>& server = SharedServers()[kind];
    if (!server) {
        server = std::make_unique<FtpTestServer>(kind);
        server->Start();
    }
    reason = server->Error();
    if (server->Port() == 0 || !reason.isEmpty())
        return nullptr;
    server->UseFreshWorkDir();
    return server.get();
}

void StopSharedFtpServers()
{
    SharedServers().clear();
}

void PrintTo(const ServerMode& mode, std::ostream* out)
{
    *out << FtpServerKindName(mode.Kind) << (mode.Passive ? "Passive" : "Active");
}

std::string ServerModeName(const ::testing::TestParamInfo<ServerMode>& info)
{
    return ::testing::PrintToString(info.param);
}

::testing::internal::ParamGenerator<ServerMode> AllServerModes()
{
    return ::testing::Values(ServerMode{FtpServerKind::Pyftpdlib, true}, ServerMode{FtpServerKind::Pyftpdlib, false},
                             ServerMode{FtpServerKind::PyftpdlibWithoutMlsd, true},
                             ServerMode{FtpServerKind::PyftpdlibWithoutMlsd, false},
                             ServerMode{FtpServerKind::Vsftpd, true}, ServerMode{FtpServerKind::Vsftpd, false});
}

} // namespace qvtest
