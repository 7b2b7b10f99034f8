#pragma once
// One FTP session over libcurl: one easy and one multi handle kept for the session's
// life, so that every operation reuses the control connection, and a current directory
// of its own.
#include "platform/ftp/ftperrors.h"
#include "platform/ftp/ftplisting.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <atomic>
#include <cstdint>
#include <functional>
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

// Bytes moved so far by the running upload or download, and its whole size (0 when
// the server did not say). Called on the thread that runs the transfer.
using FtpProgress = std::function<void(int64_t done, int64_t total)>;

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
    // Uploads under a temporary name beside RemoteName and renames it when the whole
    // file arrived, so a broken or cancelled upload never leaves a partial file under
    // the real name. A server that refuses the rename gets the file straight under its
    // name; a cancel then deletes the partial file as far as the server lets it.
    FtpOutcome PutFile(const QString& localFile, const QByteArray& remoteName, bool ascii);
    // Lists a directory (MLSD, or LIST when the server refuses MLSD).
    FtpOutcome List(const QByteArray& directory, std::vector<FtpEntry>& entries);

    // For a session being closed, from any thread: the running operation stops within
    // about a second, and it and every later one fail with ERROR_INTERNET_OPERATION_CANCELLED.
    void Cancel();
    // Receives the progress of every later upload and download; null for none.
    void SetProgress(FtpProgress progress);

    // Name resolved against the current directory, "." and ".." folded, always absolute.
    QByteArray AbsolutePath(const QByteArray& name) const;

private:
    struct Transfer;

    FtpOutcome Run(Transfer& transfer);
    // Sends commands on the control connection alone; Replies receives every reply.
    FtpOutcome RunCommands(const QList<QByteArray>& commands, QList<QByteArray>* replies = nullptr);
    // AfterwardsRefused: the data arrived, and a command of Afterwards was refused.
    FtpOutcome Upload(QFile& file, const QByteArray& absolutePath, bool ascii, const QList<QByteArray>& afterwards,
                      bool* afterwardsRefused = nullptr);
    // Deletes a partial upload; bounded in time, its result does not matter.
    void RemoveLeftover(const QByteArray& absolutePath);
    FtpOutcome ListLocked(const QByteArray& absolutePath, bool mlsd, QByteArray& data);
    QByteArray UrlFor(const QByteArray& absolutePath, bool directory) const;
    QByteArray Scrub(QByteArray text) const;

    FtpSessionOptions FOptions;
    // Drives one operation to its end through the session's multi handle.
    int Perform();

    void* FCurl = nullptr;  // the CURL easy handle
    void* FMulti = nullptr; // the CURLM handle whose connection cache keeps the connection for the next operation
    QByteArray FCurrentDirectory = "/";
    bool FMlsdRefused = false;
    std::atomic<bool> FCancelled = false;
    std::mutex FProgressLock;
    FtpProgress FProgress;
    mutable std::recursive_mutex FLock;
};

} // namespace platform::ftp
