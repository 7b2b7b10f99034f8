#pragma once
// FTP connection object of the internet components.
#include "platform/ftp/wininet.h"
#include "vcl/core/types.h"

#include <QString>
#include <vector>

namespace Qvftpshell {

// What opening a connection needs.
struct TFtpLogin {
    QString HostName; // The server's name or address.
    QString UserName; // The login name.
    QString Password; // The login password.
    bool Passive = true; // Passive mode (the client opens the data connections).
    int Port = 21; // Its low 16 bits are the port.
    bool UseTLS = false; // Explicit TLS (AUTH TLS).
    int Timeout = 30000; // Milliseconds for connecting and for each answer (at least 1).
};

// The handles of an opened connection: the library's root and the connection made from
// it (closing the root closes both). Null when the connection failed.
struct TFtpHandles {
    platform::ftp::HINTERNET Root = nullptr; // The library's root handle.
    platform::ftp::HINTERNET Connection = nullptr; // The FTP connection made from Root.
};

// One FTP connection with one call per operation. Every operation returns whether
// the server carried it out and raises nothing; why it failed is in the thread's
// platform::ftp::GetLastError() and InternetGetLastResponseInfoA().
// Destroying the object does not close the connection: owners call Disconnect first.
class TqvFTPConnection : public vcl::TObject {
public:
    // Connects and logs in; with a Directory, changes to it. Port: its low 16 bits
    // are the port (0 means 21). When the change of directory fails the result is
    // false and the connection stays open. A connection already held is not closed
    // (another thread may still use its handle); Disconnect closes it with the new one.
    bool ConnectTo(const QString& HostName, const QString& UserName, const QString& Password, const QString& Directory,
                   bool Passive, int Port);
    // The two steps of ConnectTo, for callers that connect on a worker thread: Login
    // takes this object's TLS and time-out settings, Open touches no object (so any
    // thread may call it), Adopt makes the handles this object's current connection.
    TFtpLogin Login(const QString& HostName, const QString& UserName, const QString& Password, bool Passive, int Port) const;
    // Opens and logs in as Login says; null handles on failure, with the reason in the
    // thread's last error.
    static TFtpHandles Open(const TFtpLogin& Login);
    // Makes Handles the current connection; a connection held before stays open until
    // Disconnect.
    void Adopt(const TFtpHandles& Handles);
    // Whether a connection is current.
    bool Connected() const { return FHandle != nullptr; }
    // Closes every connection the object has opened.
    void Disconnect();

    // Changes the server's current directory.
    bool SetCurrentDirectory(const QString& Directory);
    // Makes a directory on the server.
    bool CreateDirectory(const QString& Directory);
    // Removes an empty directory on the server.
    bool RemoveDirectory(const QString& Directory);
    // Downloads RemoteName, replacing LocalFileName when it exists.
    bool GetFile(const QString& RemoteName, const QString& LocalFileName);
    // Deletes a file on the server.
    bool DeleteFile(const QString& RemoteName);
    // Renames or moves a file or directory on the server.
    bool RenameFile(const QString& ExistingName, const QString& NewName);
    // Stores LocalPath in the server's current directory under its own file name.
    bool Upload(const QString& LocalPath);

    // The connection handle, for calls of the internet library made by the owner.
    platform::ftp::HINTERNET Handle() const { return FHandle; }

    // Explicit TLS (AUTH TLS) for the next ConnectTo; off by default. The server's
    // certificate must be trusted by the system.
    bool UseTLS() const { return FUseTLS; }
    void SetUseTLS(bool Value) { FUseTLS = Value; }
    // Milliseconds allowed for connecting and for each answer of the server before an
    // operation fails, from the next ConnectTo on.
    int Timeout() const { return FTimeout; }
    void SetTimeout(int Value) { FTimeout = Value; }

private:
    platform::ftp::HINTERNET FHandle = nullptr;
    // The root handles of every connection opened since the last Disconnect, the
    // current one last; closing a root closes its connection.
    std::vector<platform::ftp::HINTERNET> FRoots;
    bool FUseTLS = false;
    int FTimeout = 30000;
};

} // namespace Qvftpshell
