#pragma once
// TqvFTPButton: a speed button that uploads one local file on each click, through a
// connection of its own that lasts for that click.
#include "internet/qvftp.h"
#include "vcl/controls/buttons.h"

namespace Qvftpshell {

// A speed button that uploads LocalFile to the server its settings name when clicked.
class TqvFTPButton : public vcl::TSpeedButton, public TFtpServerSettings {
    Q_OBJECT
    Q_PROPERTY(Qvftpshell::TqvFTP* qvDragDropFTP READ qvDragDropFTP WRITE SetqvDragDropFTP)
    Q_PROPERTY(QString LocalFile READ LocalFile WRITE SetLocalFile)
    QV_FTP_SERVER_PROPERTIES

public:
    // A button without a file or browser; the server settings have their defaults.
    explicit TqvFTPButton(vcl::TComponent* AOwner);

    // The browser to refresh after an upload.
    TqvFTP* qvDragDropFTP() const { return FBrowser; }
    void SetqvDragDropFTP(TqvFTP* Value);
    // The local path uploaded on each click.
    QString LocalFile() const { return FLocalFile; }
    void SetLocalFile(const QString& Value) { FLocalFile = Value; }

    // Published for form files; the button raises it nowhere.
    TDisplayMessageEvent OnDisplayMessage;

    // Runs the click event, then uploads LocalFile (vcl::EFOpenError when it names no
    // file) on a worker thread, serving the user interface meanwhile, and refreshes the
    // browser. Results are not reported.
    void Click() override;

protected:
    void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;

private:
    TqvFTP* FBrowser = nullptr;
    QString FLocalFile;
    // A click's upload is under way (a second click meanwhile is ignored).
    bool FUploading = false;
};

} // namespace Qvftpshell
