// Shows the FTP browser listing a folder of a pyftpdlib server on loopback in report
// view, grabs it from the X display in $DISPLAY and saves it as a PNG.
// Usage: ftp_screenshot OUTPUT.png
#include "ftptestserver.h"
#include "internet/qvftp.h"
#include "support/screenshot.h"
#include "vcl/controls/forms.h"

#include <cstdio>
#include <memory>

int main(int argc, char** argv)
{
    std::unique_ptr<qvtest::FtpTestServer> server;
    return qvtest::ScreenshotMain(argc, argv, "ftp_screenshot", [&server](vcl::TForm& form, const QStringList&) {
        form.SetBounds(40, 30, 480, 240);
        form.SetCaption(QStringLiteral("QvKit FTP browser"));
        server = std::make_unique<qvtest::FtpTestServer>(qvtest::FtpServerKind::Pyftpdlib);
        if (!server->Start()) {
            std::fprintf(stderr, "ftp_screenshot: %s\n", qPrintable(server->Error()));
            return;
        }
        server->UseFreshWorkDir();
        server->MakeDir("docs");
        server->WriteFile("alpha.txt", QByteArray(1536, 'a'));
        server->WriteFile("beta.txt", QByteArray(100, 'b'));
        server->WriteFile("gamma.txt", QByteArray(5000000, 'c'));
        auto* browser = new Qvftpshell::TqvFTP(&form);
        browser->SetAlign(vcl::alClient);
        browser->Loaded();
        browser->SetHostName(QStringLiteral("127.0.0.1"));
        browser->SetPort(server->Port());
        browser->SetLoginName(QString::fromUtf8(server->User()));
        browser->SetPassword(QString::fromUtf8(server->Password()));
        browser->SetRemoteDir(QString::fromUtf8(server->RemoteWorkDir()));
        if (!browser->Connect())
            std::fprintf(stderr, "ftp_screenshot: could not connect\n");
    });
}
