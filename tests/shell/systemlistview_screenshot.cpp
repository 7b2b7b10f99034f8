// Shows the system list view in report view on a folder of sample files it makes
// (or on an empty folder, with the argument "empty") and grabs it from the screen.
#include "shell/pidlhelp.h"
#include "shell/systemlistview.h"
#include "support/screenshot.h"
#include "vcl/controls/forms.h"

#include <QFile>
#include <QTemporaryDir>

int main(int argc, char** argv)
{
    QTemporaryDir folder;
    return qvtest::ScreenshotMain(argc, argv, "systemlistview_screenshot", [&](vcl::TForm& Form, const QStringList& Args) {
        if (!Args.contains(QStringLiteral("empty")))
            for (const char* name : {"alpha.txt", "beta.png", "gamma.cpp", "delta.pdf", "epsilon"}) {
                QFile file(folder.filePath(QString::fromLatin1(name)));
                file.open(QIODevice::WriteOnly);
                file.write(QByteArray(3000, 'x'));
            }
        Form.SetBounds(0, 0, 560, 260);
        auto* view = new Systemlistview::TSystemListView(&Form);
        view->SetParent(&Form);
        view->SetAlign(vcl::alClient);
        view->SetViewStyle(vcl::vsReport);
        view->HandleNeeded();
        platform::shell::IShellFolder* desktop = nullptr;
        platform::shell::SHGetDesktopFolder(&desktop);
        platform::shell::LPITEMIDLIST id = nullptr;
        Pidlhelp::GetPIDLFromPath(nullptr, desktop, folder.path(), id);
        view->LinkedReset(desktop, id, true);
        Pidlhelp::FreePIDL(id);
        desktop->Release();
    });
}
