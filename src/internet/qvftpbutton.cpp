#include "internet/qvftpbutton.h"

#include "vcl/core/sysutils.h"
#include "vcl/streaming/formfile.h"

#include <QFileInfo>
#include <QPointer>

using namespace vcl;

namespace Qvftpshell {

static const bool EventsPublished = RegisterEvent(&TqvFTPButton::OnDisplayMessage, "OnDisplayMessage");

TqvFTPButton::TqvFTPButton(TComponent* AOwner) : TSpeedButton(AOwner)
{
}

void TqvFTPButton::SetqvDragDropFTP(TqvFTP* Value)
{
    if (FBrowser == Value)
        return;
    if (FBrowser)
        FBrowser->RemoveFreeNotification(this);
    FBrowser = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TqvFTPButton::Notification(TComponent* AComponent, TOperation Operation)
{
    TSpeedButton::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FBrowser)
        FBrowser = nullptr;
}

void TqvFTPButton::Click()
{
    TSpeedButton::Click();
    if (LocalFile().isEmpty() || !QFileInfo(LocalFile()).isFile())
        throw EFOpenError(QStringLiteral("Localfile '") + LocalFile() + QStringLiteral("' not found"));
    // One upload per button at a time: a click while one runs does nothing more.
    if (FUploading)
        return;
    FUploading = true;
    const QPointer<TqvFTPButton> alive(this);
    // The worker gets copies of the settings and a connection of its own, closed before
    // the browser lists again.
    RunFtpCall([login = TqvFTPConnection().Login(HostName(), LoginName(), Password(), Passive(), Port()),
                   directory = RemoteDir(), local = LocalFile()] {
        TqvFTPConnection connection;
        const TFtpHandles handles = TqvFTPConnection::Open(login);
        if (!handles.Connection)
            return false;
        connection.Adopt(handles);
        const bool uploaded = (directory.isEmpty() || connection.SetCurrentDirectory(directory)) && connection.Upload(local);
        connection.Disconnect();
        return uploaded;
    });
    if (!alive)
        return;
    FUploading = false;
    if (FBrowser)
        FBrowser->RefreshFileList(this);
}

} // namespace Qvftpshell
