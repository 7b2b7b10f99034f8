#include "internet/qvftpshell.h"

#include "vcl/core/unitstartup.h"

#include <QFileInfo>

using namespace platform::ftp;

namespace Qvftpshell {

// The unit needs nothing set up or torn down.
static const vcl::TUnitRegistration UnitRegistration(QStringLiteral("Qvftpshell"), {});

namespace {

constexpr char AgentName[] = "QvKit FTP";

// Texts go to the library as UTF-8; an empty text as an empty array, never as null.
QByteArray A(const QString& text)
{
    QByteArray bytes = text.toUtf8();
    if (bytes.isNull())
        bytes = QByteArray("");
    return bytes;
}

} // namespace

bool TqvFTPConnection::ConnectTo(const QString& HostName, const QString& UserName, const QString& Password,
                                 const QString& Directory, bool Passive, int Port)
{
    const TFtpHandles handles = Open(Login(HostName, UserName, Password, Passive, Port));
    if (!handles.Connection)
        return false;
    Adopt(handles);
    return Directory.isEmpty() || SetCurrentDirectory(Directory);
}

TFtpLogin TqvFTPConnection::Login(const QString& HostName, const QString& UserName, const QString& Password, bool Passive,
                                  int Port) const
{
    return {HostName, UserName, Password, Passive, Port, FUseTLS, FTimeout};
}

TFtpHandles TqvFTPConnection::Open(const TFtpLogin& Login)
{
    HINTERNET root = InternetOpenA(AgentName, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    if (!root)
        return {};
    DWORD timeout = static_cast<DWORD>(std::max(Login.Timeout, 1));
    InternetSetOptionA(root, INTERNET_OPTION_CONNECT_TIMEOUT, &timeout, sizeof timeout);
    InternetSetOptionA(root, INTERNET_OPTION_RECEIVE_TIMEOUT, &timeout, sizeof timeout);

    DWORD flags = Login.Passive ? INTERNET_FLAG_PASSIVE : 0;
    if (Login.UseTLS)
        flags |= INTERNET_FLAG_SECURE;
    const auto port = static_cast<INTERNET_PORT>(static_cast<uint32_t>(Login.Port) & 0xFFFF);
    HINTERNET connection = InternetConnectA(root, A(Login.HostName).constData(), port, A(Login.UserName).constData(),
                                            A(Login.Password).constData(), INTERNET_SERVICE_FTP, flags, 0);
    if (!connection) {
        // Keep the reason of the failed connect for the caller, not the close's.
        const DWORD reason = GetLastError();
        InternetCloseHandle(root);
        SetLastError(reason);
        return {};
    }
    return {root, connection};
}

void TqvFTPConnection::Adopt(const TFtpHandles& Handles)
{
    // An earlier connection, if any, stays open: another thread may still use it.
    FHandle = Handles.Connection;
    FRoots.push_back(Handles.Root);
}

void TqvFTPConnection::Disconnect()
{
    InternetCloseHandle(FHandle);
    FHandle = nullptr;
    const DWORD reason = GetLastError();
    for (HINTERNET root : FRoots)
        InternetCloseHandle(root);
    FRoots.clear();
    SetLastError(reason);
}

bool TqvFTPConnection::SetCurrentDirectory(const QString& Directory)
{
    return FtpSetCurrentDirectoryA(FHandle, A(Directory).constData());
}

bool TqvFTPConnection::CreateDirectory(const QString& Directory)
{
    return FtpCreateDirectoryA(FHandle, A(Directory).constData());
}

bool TqvFTPConnection::RemoveDirectory(const QString& Directory)
{
    return FtpRemoveDirectoryA(FHandle, A(Directory).constData());
}

bool TqvFTPConnection::GetFile(const QString& RemoteName, const QString& LocalFileName)
{
    return FtpGetFileA(FHandle, A(RemoteName).constData(), A(LocalFileName).constData(), false, 0, 0, 0);
}

bool TqvFTPConnection::DeleteFile(const QString& RemoteName)
{
    return FtpDeleteFileA(FHandle, A(RemoteName).constData());
}

bool TqvFTPConnection::RenameFile(const QString& ExistingName, const QString& NewName)
{
    return FtpRenameFileA(FHandle, A(ExistingName).constData(), A(NewName).constData());
}

bool TqvFTPConnection::Upload(const QString& LocalPath)
{
    // The file-name part: the text after the last path delimiter.
    const QString remoteName = QFileInfo(LocalPath).fileName();
    return FtpPutFileA(FHandle, A(LocalPath).constData(), A(remoteName).constData(), 0, 0);
}

} // namespace Qvftpshell
