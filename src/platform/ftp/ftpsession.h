#pragma once
// One FTP session over libcurl: one easy handle kept for the session's life, so that
// every operation reuses the control connection, and a current directory of its own.
#include "platform/ftp/ftperrors.h"
#include "platform/ftp/ftplisting.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <mutex>
#include <vector>

namespace platform::ftp {

struct FtpSessionOptions {
    QByteArray Host;
    uint16_t Port = 21;
    QByteArray User;
    QByteArray Password;
    bool Passive = true;
    // Explicit TLS (AUTH TLS) on the control connection, with protected data connections.
    bool ExplicitTls = false;
    // Check the server's certificate against the system's authorities (TLS only).
    bool VerifyPeer = true;
    // Time allowed for the TCP connect.
    int ConnectTimeoutMs = 30000;
    // Time allowed for the server to answer a command, or to move any data during a
    // transfer, before the operation fails with ERROR_INTERNET_TIMEOUT.
    int ResponseTimeoutMs = 30000;
};

// What an operation left behind: an error code (ERROR_SUCCESS when it worked) and the
// server's last reply, all its lines joined by CR LF, with the password masked.
struct FtpOutcome {
    DWORD Error = ERROR_SUCCESS;
    QByteArray Reply;
    bool Ok() const { return Error == ERROR_SUCCESS; }
};

// Remote paths are bytes as the server spells them. Relative paths are resolved
// against the session's current directory and every command names a path absolutely,
// so a reconnect after a dropped control connection changes nothing. Names holding
// CR, LF or NUL are refused (ERROR_INVALID_NAME): they would smuggle in commands.
//
// The operations are serialised by the session, so one thread may upload while another
// asks for a listing; the second call waits for the first.
class FtpSession {
public:
    explicit FtpSession(FtpSessionOptions options);
    ~FtpSession();
    FtpSession(const FtpSession&) = delete;
    FtpSession& operator=(const FtpSession&) = delete;

    // Connects and logs in; the current directory becomes the one the server starts in.
    FtpOutcome Open();

    QByteArray CurrentDirectory() const;
    // Changes directory on the server and keeps the path the server then reports.
    FtpOutcome SetCurrentDirectory(const QByteArray& directory);
    FtpOutcome CreateDirectory(const QByteArray& directory);
    FtpOutcome RemoveDirectory(const QByteArray& directory);
    FtpOutcome DeleteFile(const QByteArray& name);
    FtpOutcome RenameFile(const QByteArray& existingName, const QByteArray& newName);
    // Downloads into a temporary file beside LocalFile that replaces it only when the
    // whole file arrived; a failed download leaves an existing local file as it was.
    FtpOutcome GetFile(const QByteArray& remoteName, const QString& localFile, bool failIfExists, bool ascii);
    FtpOutcome PutFile(const QString& localFile, const QByteArray& remoteName, bool ascii);
    // Lists a directory (MLSD, or LIST when the server refuses MLSD).
    FtpOutcome List(const QByteArray& directory, std::vector<FtpEntry>& entries);

    // Name resolved against the current directory, "." and ".." folded, always absolute.
    QByteArray AbsolutePath(const QByteArray& name) const;

private:
    struct Transfer;

    FtpOutcome Run(Transfer& transfer);
    // Sends commands on the control connection alone; Replies receives every reply.
    FtpOutcome RunCommands(const QList<QByteArray>& commands, QList<QByteArray>* replies = nullptr);
    FtpOutcome ListLocked(const QByteArray& absolutePath, bool mlsd, QByteArray& data);
    QByteArray UrlFor(const QByteArray& absolutePath, bool directory) const;
    QByteArray Scrub(QByteArray text) const;

    FtpSessionOptions FOptions;
    void* FCurl = nullptr; // the CURL easy handle, kept so the connection is reused
    QByteArray FCurrentDirectory = "/";
    bool FMlsdRefused = false;
    mutable std::recursive_mutex FLock;
};

} // namespace platform::ftp
