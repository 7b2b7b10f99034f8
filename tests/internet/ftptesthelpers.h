#pragma once
// Small helpers of the FTP tests: local files, times and the layer's last reply.
#include "ftptestserver.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <gtest/gtest.h>

namespace qvtest {

QByteArray ReadAll(const QString& path);
void WriteAll(const QString& path, const QByteArray& content);
// Sets the modification time of a file, folder or link (the link itself).
void SetModificationTime(const QString& path, const QDateTime& when);
// Bytes that differ from run to run only through Seed.
QByteArray PatternBytes(qsizetype size, int seed);
// The calling thread's last server reply, as InternetGetLastResponseInfoA gives it.
QByteArray LastResponse();

// Servers shared by the tests of a suite: started on first use, stopped by StopAll
// (call it from TearDownTestSuite). Each Get moves the server to a fresh work folder.
// Null when the server cannot run here; Reason then tells why.
FtpTestServer* SharedFtpServer(FtpServerKind kind, QString& reason);
void StopSharedFtpServers();

// One server in one transfer mode, the parameter of the integration tests.
struct ServerMode {
    FtpServerKind Kind;
    bool Passive;
};
void PrintTo(const ServerMode& mode, std::ostream* out);
std::string ServerModeName(const ::testing::TestParamInfo<ServerMode>& info);
// pyftpdlib with and without MLSD, and vsftpd, each passive and active.
::testing::internal::ParamGenerator<ServerMode> AllServerModes();

} // namespace qvtest
