#include "internet/qvftpbutton.h"

#include "vcl/core/sysutils.h"
#include "vcl/streaming/formfile.h"

#include <QFileInfo>
#include <QScopeGuard>

using namespace vcl;

namespace Qvftpshell {

static const bool EventsPublished = RegisterEvent(&TqvFTPButton::OnDisplayMessage, "OnDisplayMessage");

TqvFTPButton::TqvFTPButton(TComponent* AOwner)
    : TSpeedButton(AOwner), FHostName(QStringLiteral("localhost")), FLoginName(QStringLiteral("anonymous"))
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
    if (FLocalFile.isEmpty() || !QFileInfo(FLocalFile).isFile())
        throw EFOpenError(QStringLiteral("Localfile '") + FLocalFile + QStringLiteral("' not found"));
    TqvFTPConnection connection;
    if (connection.ConnectTo(FHostName, FLoginName, FPassword, FRemoteDir, FPassive, FPort))
        connection.Upload(FLocalFile);
    // The connection is closed however the refresh ends.
    const auto close = qScopeGuard([&connection] { connection.Disconnect(); });
    if (FBrowser)
        FBrowser->RefreshFileList(this);
}

} // namespace Qvftpshell
