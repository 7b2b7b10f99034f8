#include "shelldemo.h"

#include "shell/systemcombobox.h"
#include "shell/systemlistview.h"
#include "shell/systemtreeview.h"
#include "vcl/controls/forms.h"

#include <QDir>
#include <QFile>
#include <QSplitter>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <QWidget>

namespace {

constexpr int DemoWidth = 760;
constexpr int DemoHeight = 420;
constexpr int TreeWidth = 220;

// The window owns the sample folder, so the files go when the window does.
class ShellDemoWindow : public QWidget {
public:
    explicit ShellDemoWindow(QWidget* Parent) : QWidget(Parent, Qt::Window)
    {
        setAttribute(Qt::WA_DeleteOnClose);
        setWindowTitle(QStringLiteral("Shell: tree, list and combo box"));
        MakeSamples();
        // Owned by one form, the three controls link themselves to each other.
        FForm = new vcl::TForm(nullptr);
        auto* combo = new Systemcombobox::TSystemComboBox(FForm);
        auto* tree = new Systemtreeview::TSystemTreeView(FForm);
        auto* list = new Systemlistview::TSystemListView(FForm);
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        auto* splitter = new QSplitter(this);
        combo->setParent(this);
        tree->setParent(splitter);
        list->setParent(splitter);
        layout->addWidget(combo);
        layout->addWidget(splitter, 1);
        splitter->addWidget(tree);
        splitter->addWidget(list);
        splitter->setSizes({TreeWidth, DemoWidth - TreeWidth});
        list->SetViewStyle(vcl::vsReport);
        tree->SetRootFolder(Systemtreeview::rfCustom);
        tree->SetCustomDir(FFolder.path());
        tree->SetSelection(FFolder.path());
        combo->HandleNeeded();
        list->HandleNeeded();
        tree->HandleNeeded();
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
        QDir(FFolder.path()).mkpath(QStringLiteral("Projects/qvkit/src"));
    }
    QTemporaryDir FFolder;
    vcl::TForm* FForm = nullptr;
};

} // namespace

void ShowShellControlsDemo(QWidget* Parent)
{
    (new ShellDemoWindow(Parent))->show();
}
