#pragma once
// TqvFTPButton: a speed button that uploads one local file on each click, through a
// connection of its own that lasts for that click.
#include "internet/qvftp.h"
#include "vcl/controls/buttons.h"

namespace Qvftpshell {

class TqvFTPButton : public vcl::TSpeedButton {
    Q_OBJECT
    Q_PROPERTY(Qvftpshell::TqvFTP* qvDragDropFTP READ qvDragDropFTP WRITE SetqvDragDropFTP)
    Q_PROPERTY(QString LocalFile READ LocalFile WRITE SetLocalFile)
    Q_PROPERTY(QString HostName READ HostName WRITE SetHostName)
    Q_PROPERTY(QString LoginName READ LoginName WRITE SetLoginName)
    Q_PROPERTY(QString Password READ Password WRITE SetPassword)
    Q_PROPERTY(int Port READ Port WRITE SetPort)
    Q_PROPERTY(bool Passive READ Passive WRITE SetPassive)
    Q_PROPERTY(QString RemoteDir READ RemoteDir WRITE SetRemoteDir)

public:
    explicit TqvFTPButton(vcl::TComponent* AOwner);

    // The browser to refresh after an upload.
    TqvFTP* qvDragDropFTP() const { return FBrowser; }
    void SetqvDragDropFTP(TqvFTP* Value);
    QString LocalFile() const { return FLocalFile; }
    void SetLocalFile(const QString& Value) { FLocalFile = Value; }
    QString HostName() const { return FHostName; }
    void SetHostName(const QString& Value) { FHostName = Value; }
    QString LoginName() const { return FLoginName; }
    void SetLoginName(const QString& Value) { FLoginName = Value; }
    QString Password() const { return FPassword; }
    void SetPassword(const QString& Value) { FPassword = Value; }
    int Port() const { return FPort; }
    void SetPort(int Value) { FPort = Value; }
    bool Passive() const { return FPassive; }
    void SetPassive(bool Value) { FPassive = Value; }
    QString RemoteDir() const { return FRemoteDir; }
    void SetRemoteDir(const QString& Value) { FRemoteDir = Value; }

    // Published for form files; the button raises it nowhere.
    TDisplayMessageEvent OnDisplayMessage;

    // Runs the click event, then uploads LocalFile (vcl::EFOpenError when it names no
    // file) and refreshes the browser. Results are not reported.
    void Click() override;

protected:
    void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;

private:
    TqvFTP* FBrowser = nullptr;
    QString FLocalFile;
    QString FHostName;
    QString FLoginName;
    QString FPassword;
    int FPort = 21;
    bool FPassive = true;
    QString FRemoteDir;
};

} // namespace Qvftpshell
