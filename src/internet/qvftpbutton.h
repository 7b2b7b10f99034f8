#pragma once
// TqvFTPButton: a speed button that uploads one local file on each click, through a
// connection of its own that lasts for that click.
#include "internet/qvftp.h"
#include "vcl/controls/buttons.h"

namespace Qvftpshell {

class TqvFTPButton : public vcl::TSpeedButton, public TFtpServerSettings {
    Q_OBJECT
    Q_PROPERTY(Qvftpshell::TqvFTP* qvDragDropFTP READ qvDragDropFTP WRITE SetqvDragDropFTP)
    Q_PROPERTY(QString LocalFile READ LocalFile WRITE SetLocalFile)
    QV_FTP_SERVER_PROPERTIES

public:
    explicit TqvFTPButton(vcl::TComponent* AOwner);

    // The browser to refresh after an upload.
    TqvFTP* qvDragDropFTP() const { return FBrowser; }
    void SetqvDragDropFTP(TqvFTP* Value);
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
