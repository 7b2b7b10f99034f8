#include "ftptestserver.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <csignal>
#include <unistd.h>

namespace qvtest {

namespace {

constexpr int StartTimeoutMs = 15000;

QString ScriptPath()
{
    return QStringLiteral(QV_FTP_SERVER_SCRIPT);
}

int FreePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

bool Accepts(int port)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port));
    return socket.waitForConnected(200);
}

} // namespace

const char* FtpServerKindName(FtpServerKind kind)
{
    switch (kind) {
    case FtpServerKind::Pyftpdlib: return "pyftpdlib";
    case FtpServerKind::PyftpdlibWithoutMlsd: return "pyftpdlibNoMlsd";
    case FtpServerKind::Vsftpd: return "vsftpd";
    case FtpServerKind::VsftpdTls: return "vsftpdTls";
    }
    return "?";
}

FtpTestServer::FtpTestServer(FtpServerKind kind) : FKind(kind) {}

FtpTestServer::~FtpTestServer()
{
    Stop();
}

QByteArray FtpTestServer::User() const
{
    return IsVsftpd() ? "anonymous" : "qvuser";
}

QByteArray FtpTestServer::Password() const
{
    return "Pw-7f3k9-secret";
}

QByteArray FtpTestServer::RemoteWorkDir() const
{
    // vsftpd refuses a writable root for anonymous users; they write below it.
    const QByteArray base = IsVsftpd() ? "/pub" : "";
    if (FWorkSubdir.isEmpty())
        return base.isEmpty() ? "/" : base;
    return base + '/' + FWorkSubdir;
}

QString FtpTestServer::LocalWorkDir() const
{
    const QString base = FDir.filePath(IsVsftpd() ? "root/pub" : "root");
    return FWorkSubdir.isEmpty() ? base : base + '/' + QString::fromUtf8(FWorkSubdir);
}

void FtpTestServer::UseFreshWorkDir()
{
    FWorkSubdir = "test" + QByteArray::number(++FWorkDirCount);
    MakeDir("");
}

QString FtpTestServer::LocalPath(const QByteArray& remoteName) const
{
    return LocalWorkDir() + '/' + QString::fromUtf8(remoteName);
}

void FtpTestServer::MakeDir(const QByteArray& remoteName) const
{
    const QString path = LocalPath(remoteName);
    QDir().mkpath(path);
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                                    | QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup
                                    | QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther);
}

void FtpTestServer::WriteFile(const QByteArray& remoteName, const QByteArray& content) const
{
    QFile file(LocalPath(remoteName));
    if (file.open(QIODevice::WriteOnly))
        file.write(content);
}

void FtpTestServer::ReleaseListings() const
{
    QFile released(FDir.filePath("listings-released"));
    released.open(QIODevice::WriteOnly);
}

bool FtpTestServer::Start(int port)
{
    if (!FDir.isValid()) {
        FError = "no temporary folder";
        return false;
    }
    QDir(FDir.path()).mkpath("root");
    return IsVsftpd() ? StartVsftpd(port) : StartPyftpdlib(port);
}

bool FtpTestServer::StartPyftpdlib(int port)
{
    QStringList arguments{ScriptPath(), "--root", LocalWorkDir(), "--user", QString::fromUtf8(User()),
                          "--password", QString::fromUtf8(Password()), "--port", QString::number(port)};
    if (FKind == FtpServerKind::PyftpdlibWithoutMlsd)
        arguments << "--no-mlsd";
    if (FTransferLimit > 0)
        arguments << "--throttle" << QString::number(FTransferLimit);
    if (FOddNames)
        arguments << "--odd-names";
    if (FDieInListing)
        arguments << "--die-in-listing";
    if (FRefuseRenames)
        arguments << "--no-rename";
    if (FStallListings)
        arguments << "--stall-listings" << FDir.filePath("listings-released");
    FProcess = std::make_unique<QProcess>();
    FProcess->setStandardErrorFile(QProcess::nullDevice());
    FProcess->start("/usr/bin/python3", arguments);
    const QDeadlineTimer deadline(StartTimeoutMs);
    QByteArray output;
    while (!output.contains('\n') && !deadline.hasExpired()) {
        if (!FProcess->waitForReadyRead(static_cast<int>(std::max<qint64>(deadline.remainingTime(), 1))))
            break;
        output += FProcess->readAllStandardOutput();
    }
    if (!output.startsWith("PORT ")) {
        FError = "pyftpdlib did not start";
        Stop();
        return false;
    }
    FPort = output.mid(5).trimmed().toInt();
    return true;
}

bool FtpTestServer::StartVsftpd(int port)
{
    if (geteuid() != 0) {
        FError = "vsftpd runs only as root";
        return false;
    }
    if (!QFile::exists("/usr/sbin/vsftpd")) {
        FError = "vsftpd is not installed";
        return false;
    }
    // The anonymous root must not be writable; "pub" below it is.
    QDir(FDir.path()).mkpath("empty");
    QFile::setPermissions(FDir.filePath("root"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                                                     | QFileDevice::ReadGroup | QFileDevice::ExeGroup
                                                     | QFileDevice::ReadOther | QFileDevice::ExeOther);
    MakeDir("");
    QString tls;
    if (FKind == FtpServerKind::VsftpdTls) {
        // A self-signed certificate: clients must be told to accept it.
        const QString cert = FDir.filePath("cert.pem");
        QProcess openssl;
        openssl.setProcessChannelMode(QProcess::MergedChannels);
        openssl.start("openssl", {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj",
                                  "/CN=127.0.0.1", "-keyout", cert, "-out", cert});
        if (!openssl.waitForFinished(StartTimeoutMs) || openssl.exitCode() != 0) {
            FError = "openssl could not make a certificate";
            return false;
        }
        tls = QStringLiteral("ssl_enable=YES\nrsa_cert_file=%1\nrsa_private_key_file=%1\nallow_anon_ssl=YES\n"
                             "force_anon_logins_ssl=YES\nforce_anon_data_ssl=YES\nrequire_ssl_reuse=NO\n")
                  .arg(cert);
    }
    for (int attempt = 0; attempt < 3; ++attempt) {
        FPort = port ? port : FreePort();
        const QString config = FDir.filePath("vsftpd.conf");
        QFile file(config);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return false;
        file.write(QStringLiteral("listen=YES\nlisten_ipv6=NO\nlisten_address=127.0.0.1\nlisten_port=%1\n"
                                  "background=NO\nanonymous_enable=YES\nlocal_enable=NO\nno_anon_password=NO\n"
                                  "anon_root=%2\nwrite_enable=YES\nanon_upload_enable=YES\n"
                                  "anon_mkdir_write_enable=YES\nanon_other_write_enable=YES\n"
                                  "anon_world_readable_only=NO\nanon_umask=022\nsecure_chroot_dir=%3\n"
                                  "seccomp_sandbox=NO\nisolate=NO\nisolate_network=NO\nconnect_from_port_20=NO\n"
                                  "utf8_filesystem=YES\nxferlog_enable=NO\nhide_ids=NO\n")
                       .arg(FPort)
                       .arg(FDir.filePath("root"), FDir.filePath("empty"))
                       .toUtf8()
                   + tls.toUtf8());
        file.close();
        FProcess = std::make_unique<QProcess>();
        FProcess->setProcessChannelMode(QProcess::MergedChannels);
        FProcess->setStandardOutputFile(QProcess::nullDevice());
        FProcess->start("/usr/sbin/vsftpd", {config});
        FProcess->waitForStarted(StartTimeoutMs);
        const QDeadlineTimer deadline(StartTimeoutMs);
        while (!deadline.hasExpired() && FProcess->state() == QProcess::Running) {
            if (Accepts(FPort))
                return true;
            FProcess->waitForFinished(50);
        }
        Stop();
        if (port)
            break;
    }
    FError = "vsftpd did not start";
    return false;
}

void FtpTestServer::Stop()
{
    if (!FProcess)
        return;
    Resume();
    FProcess->kill();
    FProcess->waitForFinished(5000);
    FProcess.reset();
}

qint64 FtpTestServer::BytesRead() const
{
    if (!FProcess)
        return 0;
    QFile io(QStringLiteral("/proc/%1/io").arg(FProcess->processId()));
    if (!io.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : io.readAll().split('\n'))
        if (line.startsWith("rchar:"))
            return line.mid(6).trimmed().toLongLong();
    return 0;
}

void FtpTestServer::Pause()
{
    if (FProcess && FProcess->processId() > 0)
        ::kill(static_cast<pid_t>(FProcess->processId()), SIGSTOP);
}

void FtpTestServer::Resume()
{
    if (FProcess && FProcess->processId() > 0)
        ::kill(static_cast<pid_t>(FProcess->processId()), SIGCONT);
}

} // namespace qvtest
