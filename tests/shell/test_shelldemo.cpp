// The gallery's shell demo: a window with the linked system tree view, list view and
// combo box on sample files that it makes in a temporary folder and removes when it
// closes.
#include "controls/waituntil.h"
#include "shell/systemcombobox.h"
#include "shell/systemlistview.h"
#include "shell/systemtreeview.h"
#include "shelldemo.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QWidget>
#include <gtest/gtest.h>

TEST(ShellDemo, ListsItsOwnSampleFolderAndCleansUp)
{
    const int recordsBefore = Systemlistview::LiveRecordCount();
    const int nodesBefore = Systemtreeview::LiveRecordCount();
    ShowShellControlsDemo(nullptr);
    QWidget* window = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->windowTitle() == "Shell: tree, list and combo box")
            window = top;
    ASSERT_NE(window, nullptr);
    auto* view = window->findChild<Systemlistview::TSystemListView*>();
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(view->Items()->Count(), 8) << "six sample files and two folders";
    QString first = view->GetFullPath(view->Items()->Item(0));
    if (first.endsWith(u'/')) // a folder's path
        first.chop(1);
    const QString folder = QFileInfo(first).path();
    EXPECT_TRUE(folder.startsWith(QDir::tempPath())) << folder.toStdString();
    EXPECT_NE(folder, QDir::homePath());
    // The tree shows the sample folder with its two folders, and the combo box names it.
    auto* tree = window->findChild<Systemtreeview::TSystemTreeView*>();
    auto* combo = window->findChild<Systemcombobox::TSystemComboBox*>();
    ASSERT_TRUE(tree && combo);
    EXPECT_EQ(tree->Selection(), folder);
    EXPECT_EQ(tree->Items()->GetFirstNode()->Count(), 2);
    EXPECT_TRUE(WaitUntil([&] { return combo->GetActiveFolderName() == folder; }))
        << combo->GetActiveFolderName().toStdString();
    QPointer<QWidget> guard(window);
    window->close();
    EXPECT_TRUE(WaitUntil([&] {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return guard.isNull();
    }));
    EXPECT_FALSE(QDir(folder).exists()) << "the samples go with the window";
    EXPECT_EQ(Systemlistview::LiveRecordCount(), recordsBefore);
    EXPECT_EQ(Systemtreeview::LiveRecordCount(), nodesBefore);
}
