#include "shelldemo.h"

#include "shell/pidlhelp.h"
#include "shell/systemlistview.h"
#include "vcl/controls/forms.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <QWidget>

namespace {

constexpr int DemoWidth = 640;
constexpr int DemoHeight = 360;

// The window owns the sample folder, so the files go when the window does.
class ShellDemoWindow : public QWidget {
public:
    explicit ShellDemoWindow(QWidget* Parent) : QWidget(Parent, Qt::Window)
    {
        setAttribute(Qt::WA_DeleteOnClose);
        setWindowTitle(QStringLiteral("Shell: TSystemListView"));
        MakeSamples();
        FForm = new vcl::TForm(nullptr);
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        auto* view = new Systemlistview::TSystemListView(FForm);
        view->setParent(this);
        layout->addWidget(view);
        view->SetViewStyle(vcl::vsReport);
        view->HandleNeeded();
        Show(view);
        resize(DemoWidth, DemoHeight);
    }
    ~ShellDemoWindow() override { delete FForm; }

private:
    void MakeSamples()
    {
        const struct { const char* Name; int Size; } samples[] = {
            {"readme.txt", 1}, {"photo.png", 1025}, {"report.pdf", 250000}, {"notes.md", 4096},
            {"main.cpp", 12000}, {"archive.tar.gz", 3000000},
        };
        for (const auto& sample : samples) {
            QFile file(FFolder.filePath(QString::fromLatin1(sample.Name)));
            if (file.open(QIODevice::WriteOnly))
                file.write(QByteArray(sample.Size, 'q'));
        }
        QDir(FFolder.path()).mkdir(QStringLiteral("Pictures"));
        QDir(FFolder.path()).mkdir(QStringLiteral("Projects"));
    }
    void Show(Systemlistview::TSystemListView* View)
    {
        platform::shell::IShellFolder* desktop = nullptr;
        if (platform::shell::SHGetDesktopFolder(&desktop) != platform::shell::S_OK)
            return;
        platform::shell::LPITEMIDLIST id = nullptr;
        if (Pidlhelp::GetPIDLFromPath(nullptr, desktop, FFolder.path(), id))
            View->LinkedReset(desktop, id, true);
        Pidlhelp::FreePIDL(id);
        desktop->Release();
    }

    QTemporaryDir FFolder;
    vcl::TForm* FForm = nullptr;
};

} // namespace

void ShowShellListDemo(QWidget* Parent)
{
    (new ShellDemoWindow(Parent))->show();
}
