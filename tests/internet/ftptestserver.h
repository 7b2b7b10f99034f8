#pragma once
// FTP servers on loopback for the tests and the benchmark: pyftpdlib (with or without
// MLSD) and vsftpd (optionally with explicit TLS), each in a temporary folder of its own.
#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <memory>

namespace qvtest {

enum class FtpServerKind { Pyftpdlib, PyftpdlibWithoutMlsd, Vsftpd, VsftpdTls };

const char* FtpServerKindName(FtpServerKind kind);

class FtpTestServer {
public:
    explicit FtpTestServer(FtpServerKind kind);
    ~FtpTestServer();
    FtpTestServer(const FtpTestServer&) = delete;
    FtpTestServer& operator=(const FtpTestServer&) = delete;

    // Limits every transfer of a pyftpdlib server to so many bytes a second (before Start).
    void SetTransferLimit(int bytesPerSecond) { FTransferLimit = bytesPerSecond; }
    // Makes a pyftpdlib server list, after the real entries, files whose names hold a
    // NUL or "/", or are "." or ".." (before Start).
    void ListOddNames() { FOddNames = true; }
    // Makes a pyftpdlib server refuse to rename anything (before Start).
    void RefuseRenames() { FRefuseRenames = true; }
    // Makes a pyftpdlib server exit half way through its first listing (before Start).
    void DieInListing() { FDieInListing = true; }
    // Makes a pyftpdlib server hold every listing until ReleaseListings (before Start).
    void StallListings() { FStallListings = true; }
    void ReleaseListings() const;
    // Starts the server on a free port; false with Error() set when it cannot run here
    // (vsftpd needs root). Port: a fixed port instead of a free one (0).
    bool Start(int port = 0);
    void Stop();
    // Freezes and thaws the server process: a server that stops answering.
    void Pause();
    void Resume();

    // Bytes the server process has read from files so far (and from pipes, not sockets).
    qint64 BytesRead() const;

    FtpServerKind Kind() const { return FKind; }
    int Port() const { return FPort; }
    QString Error() const { return FError; }
    QByteArray User() const;
    QByteArray Password() const;
    // Moves the work folder to a new empty folder below the server's own, so that tests
    // can share one server.
    void UseFreshWorkDir();
    // The folder the tests work in, as the server names it and on the local disk.
    QByteArray RemoteWorkDir() const;
    QString LocalWorkDir() const;
    // A local path for a remote name relative to the work folder.
    QString LocalPath(const QByteArray& remoteName) const;
    // Makes a folder under the work folder that the server may write into.
    void MakeDir(const QByteArray& remoteName) const;
    void WriteFile(const QByteArray& remoteName, const QByteArray& content) const;

private:
    bool IsVsftpd() const { return FKind == FtpServerKind::Vsftpd || FKind == FtpServerKind::VsftpdTls; }
    bool StartPyftpdlib(int port);
    bool StartVsftpd(int port);

    FtpServerKind FKind;
    QTemporaryDir FDir;
    std::unique_ptr<QProcess> FProcess;
    int FPort = 0;
    QString FError;
    QByteArray FWorkSubdir;
    int FWorkDirCount = 0;
    int FTransferLimit = 0;
    bool FOddNames = false;
    bool FDieInListing = false;
    bool FRefuseRenames = false;
    bool FStallListings = false;
};

} // namespace qvtest
