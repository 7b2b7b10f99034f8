// Shows the system tree view, list view and combo box linked on one form (combo box on
// top, tree left, list right) on a sample folder it makes, with the folder "docs"
// selected, and grabs the form from the screen. With the argument "apart" the three
// controls are shown on the same folder without linking, so only the tree shows it.
#include "shell/systemcombobox.h"
#include "shell/systemlistview.h"
#include "shell/systemtreeview.h"
#include "support/screenshot.h"
#include "vcl/controls/forms.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

int main(int argc, char** argv)
{
    QTemporaryDir folder;
    return qvtest::ScreenshotMain(argc, argv, "shelllinks_screenshot", [&](vcl::TForm& Form, const QStringList& Args) {
        QDir root(folder.path());
        for (const char* sub : {"docs", "music", "photos"})
            root.mkdir(QString::fromLatin1(sub));
        for (const char* name : {"docs/letter.txt", "docs/plan.pdf", "docs/budget.ods", "docs/notes.md"}) {
            QFile file(root.filePath(QString::fromLatin1(name)));
            file.open(QIODevice::WriteOnly);
            file.write(QByteArray(2000, 'x'));
        }
        Form.SetBounds(0, 0, 600, 320);
        auto* combo = new Systemcombobox::TSystemComboBox(&Form);
        auto* tree = new Systemtreeview::TSystemTreeView(&Form);
        auto* list = new Systemlistview::TSystemListView(&Form);
        if (Args.contains(QStringLiteral("apart"))) {
            tree->SetListView(nullptr);
            tree->SetComboBox(nullptr);
            list->SetComboBox(nullptr);
            list->SetTreeView(nullptr);
            combo->SetTreeView(nullptr);
            combo->SetListView(nullptr);
        }
        combo->SetParent(&Form);
        combo->SetBounds(4, 4, 592, 24);
        tree->SetParent(&Form);
        tree->SetBounds(4, 34, 200, 282);
        tree->SetReadDelay(0);
        tree->SetRootFolder(Systemtreeview::rfCustom);
        tree->SetCustomDir(folder.path());
        tree->SetSelection(root.filePath(QStringLiteral("docs")));
        list->SetParent(&Form);
        list->SetBounds(210, 34, 386, 282);
        list->SetViewStyle(vcl::vsReport);
    });
}
