// Shell actions on real files in a temporary home: verbs, the default action, the
// context menu, properties, the trash (inside the test's own XDG data folder) and
// restoring from it. People are answered by the dialogs' responders.
#include "controls/waituntil.h"
#include "platform/shell/idlist.h"
#include "platform/shell/itemcontextmenu.h"
#include "platform/shell/shelluserinterface.h"
#include "platform/shell/trashcan.h"
#include "shell/itemprop.h"
#include "shell/pidlhelp.h"
#include "shell/shelltestkit.h"
#include "vcl/controls/dialogs.h"

#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMimeData>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

using namespace platform::shell;
using qvtest::Ref;

namespace {

class ItemActions : public qvtest::ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        BuildTree();
        FOwner = vcl::AllocateHWnd([](vcl::TMessage&) {});
        ShellUserInterface().OpenUrl = [this](const QUrl& url) {
            FOpened.append(url);
            return true;
        };
        vcl::SetMessageDlgResponder([this](const QString& msg, vcl::TMsgDlgType, vcl::TMsgDlgButtons) {
            FAsked.append(msg);
            return FAnswer;
        });
    }
    void TearDown() override
    {
        vcl::SetMessageDlgResponder(nullptr);
        vcl::SetInputQueryResponder(nullptr);
        vcl::DeallocateHWnd(FOwner);
        QGuiApplication::clipboard()->clear();
        ShellTest::TearDown();
    }
    QString Path(const QByteArray& relative) const { return NameFromBytes(Home() + '/' + relative); }
    QByteArray Read(const QByteArray& relative) const
    {
        // By bytes: Qt's file names lose bytes that are not UTF-8.
        const int fd = ::open((Home() + '/' + relative).constData(), O_RDONLY);
        if (fd < 0)
            return "<missing>";
        QByteArray contents(4096, '\0');
        const ssize_t got = ::read(fd, contents.data(), size_t(contents.size()));
        ::close(fd);
        contents.truncate(std::max<ssize_t>(got, 0));
        return contents;
    }
    // Runs Act on the pop-up menu once it is open: polled, not timed.
    static void WhenMenuOpen(std::function<void(QMenu*)> act)
    {
        WhenFound<QMenu>([]() -> QMenu* {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            return menu && menu->isVisible() ? menu : nullptr;
        }, std::move(act));
    }

    vcl::HWND FOwner;
    QList<QUrl> FOpened;
    QStringList FAsked;
    int FAnswer = vcl::mrYes;
};

} // namespace

TEST_F(ItemActions, DeleteMovesToTheTrashWithAnEscapedRecordAndRestores)
{
    ASSERT_TRUE(Itemprop::PerformVerb(QStringLiteral("delete"), Path("tree/plain.txt"), FOwner)) << qPrintable(Itemprop::LastErrorText());
    ASSERT_EQ(FAsked.size(), 1);
    EXPECT_TRUE(FAsked.front().contains("plain.txt"));
    EXPECT_FALSE(QFile::exists(Path("tree/plain.txt")));
    EXPECT_EQ(Read(".local/share/Trash/files/plain.txt"), QByteArray("hello"));
    const QByteArray record = Read(".local/share/Trash/info/plain.txt.trashinfo");
    EXPECT_TRUE(record.startsWith("[Trash Info]\nPath=" + Home() + "/tree/plain.txt\nDeletionDate=")) << record.constData();
    // A second item of the same name gets its own name in the trash.
    MakeFileBytes("tree/plain.txt", "second");
    ASSERT_TRUE(Itemprop::PerformVerb(QStringLiteral("delete"), Path("tree/plain.txt"), FOwner));
    EXPECT_EQ(Read(".local/share/Trash/files/plain.txt.2"), QByteArray("second"));
    QString error;
    ASSERT_TRUE(RestoreFromTrash("plain.txt", &error)) << qPrintable(error);
    EXPECT_EQ(Read("tree/plain.txt"), QByteArray("hello"));
    EXPECT_FALSE(QFile::exists(Path(".local/share/Trash/info/plain.txt.trashinfo")));
    // Restoring over an item that is back in its place replaces nothing.
    EXPECT_FALSE(RestoreFromTrash("plain.txt.2", &error));
    EXPECT_EQ(Read("tree/plain.txt"), QByteArray("hello"));
    EXPECT_FALSE(RestoreFromTrash("../escape", &error));
    // Names with newlines and invalid bytes go to the trash escaped in the record.
    for (const QByteArray& name : {QByteArray("new\nline.txt"), qvtest::InvalidUtf8Name}) {
        ASSERT_TRUE(Itemprop::PerformVerb(QStringLiteral("delete"), Path("tree/" + name), FOwner)) << qPrintable(Itemprop::LastErrorText());
        const QByteArray record = Read(".local/share/Trash/info/" + name + ".trashinfo");
        EXPECT_TRUE(record.contains("\nPath=" + (Home() + "/tree/" + name).toPercentEncoding("/") + '\n')) << record.constData();
        ASSERT_TRUE(RestoreFromTrash(name, nullptr));
        EXPECT_EQ(Read("tree/" + name), QByteArray("x"));
    }
}

TEST_F(ItemActions, RefusedConfirmationUnknownVerbAndVanishedItemChangeNothing)
{
    FAnswer = vcl::mrNo;
    EXPECT_FALSE(Itemprop::PerformVerb(QStringLiteral("delete"), Path("tree/plain.txt"), FOwner));
    EXPECT_EQ(Read("tree/plain.txt"), QByteArray("hello"));
    EXPECT_FALSE(Itemprop::PerformVerb(QStringLiteral("frobnicate"), Path("tree/plain.txt"), FOwner));
    EXPECT_TRUE(Itemprop::LastErrorText().contains("frobnicate"));
    EXPECT_FALSE(Itemprop::PerformVerb(QStringLiteral("open"), Path("tree/*.nomatch"), FOwner));
    vcl::TStringList none;
    EXPECT_FALSE(Itemprop::PerformVerb(QStringLiteral("open"), Path("tree"), &none, FOwner));
    // The item goes away between finding it and acting on it.
    IShellFolder* folder = nullptr;
    LPITEMIDLIST id = nullptr;
    ASSERT_TRUE(Itemprop::GetPIDLAndShellFolder(Path("tree/with space.txt"), folder, id, Pidlhelp::ShellMalloc(), FOwner));
    ASSERT_TRUE(QFile::remove(Path("tree/with space.txt")));
    LPCITEMIDLIST ids[] = {id};
    EXPECT_FALSE(Itemprop::PerformVerb(QStringLiteral("open"), folder, ids, 0, FOwner, 1));
    EXPECT_TRUE(Itemprop::LastErrorText().contains("with space.txt")) << qPrintable(Itemprop::LastErrorText());
    EXPECT_TRUE(FOpened.isEmpty());
    Pidlhelp::FreePIDL(id);
    folder->Release();
}

TEST_F(ItemActions, DefaultActionOpensThroughTheUrlHandlerAndRenameAsksForTheName)
{
    ASSERT_TRUE(Itemprop::PerformDefaultAction(Path("tree/" + qvtest::InvalidUtf8Name), FOwner));
    ASSERT_TRUE(Itemprop::PerformDefaultAction(QStringLiteral("/"), FOwner)); // a drive root
    ASSERT_EQ(FOpened.size(), 2);
    EXPECT_EQ(FOpened[0].toEncoded(QUrl::FullyEncoded), "file://" + (Home() + "/tree/" + qvtest::InvalidUtf8Name).toPercentEncoding("/"));
    EXPECT_EQ(FOpened[1], QUrl::fromLocalFile("/"));
    // Rename asks for the new name.
    vcl::SetInputQueryResponder([](const QString&, const QString&, QString& value) {
        value = QStringLiteral("new name.txt");
        return true;
    });
    ASSERT_TRUE(Itemprop::PerformVerb(QStringLiteral("rename"), Path("tree/plain.txt"), FOwner));
    EXPECT_EQ(Read("tree/new name.txt"), QByteArray("hello"));
}

TEST_F(ItemActions, CopyAndCutPutFileUrlsOnTheClipboardAndPasteUsesThem)
{
    ASSERT_TRUE(Itemprop::PerformVerb(QStringLiteral("copy"), Path("tree/*.txt"), FOwner));
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->urls().size(), 4); // plain, with space, new line, the invalid name
    EXPECT_TRUE(data->data("x-special/gnome-copied-files").startsWith("copy\nfile://"));
    ASSERT_TRUE(Itemprop::PerformVerb(QStringLiteral("paste"), Path("tree/sub"), FOwner)) << qPrintable(Itemprop::LastErrorText());
    EXPECT_EQ(Read("tree/sub/plain.txt"), QByteArray("hello"));
    EXPECT_EQ(Read("tree/plain.txt"), QByteArray("hello"));
    // Pasting again would replace the copies: refused.
    EXPECT_FALSE(Itemprop::PerformVerb(QStringLiteral("paste"), Path("tree/sub"), FOwner));
    vcl::TStringList names;
    names.Add(QStringLiteral("listed"));
    ASSERT_TRUE(Itemprop::PerformVerb(QStringLiteral("cut"), Path("tree"), &names, FOwner));
    EXPECT_TRUE(QGuiApplication::clipboard()->mimeData()->data("x-special/gnome-copied-files").startsWith("cut\n"));
    ASSERT_TRUE(Itemprop::PerformVerb(QStringLiteral("paste"), Path("tree/sub"), FOwner));
    EXPECT_FALSE(QFile::exists(Path("tree/listed")));
    EXPECT_EQ(Read("tree/sub/listed"), QByteArray("x"));
}

// A second file system is not at hand in a test, so the move is made to fail as a
// rename across volumes does (EXDEV), which takes the copy-then-remove path.
TEST_F(ItemActions, CutItemsMoveAcrossVolumesByCopyingThenRemoving)
{
    const TMoveFunction saved = ItemMoveFunction();
    ItemMoveFunction() = [](const QByteArray&, const QByteArray&) {
        errno = EXDEV;
        return -1;
    };
    ASSERT_EQ(::mkdir((Home() + "/tree/sub/deep").constData(), 0755), 0);
    MakeFileBytes("tree/sub/deep/leaf.txt", "leaf");
    MakeFolderBytes("target");
    vcl::TStringList names;
    names.Add(QStringLiteral("plain.txt"));
    names.Add(QStringLiteral("sub"));
    ASSERT_TRUE(Itemprop::PerformVerb(QStringLiteral("cut"), Path("tree"), &names, FOwner));
    ASSERT_TRUE(Itemprop::PerformVerb(QStringLiteral("paste"), Path("target"), FOwner)) << qPrintable(Itemprop::LastErrorText());
    EXPECT_EQ(Read("target/plain.txt"), QByteArray("hello"));
    EXPECT_EQ(Read("target/sub/deep/leaf.txt"), QByteArray("leaf"));
    EXPECT_FALSE(QFile::exists(Path("tree/plain.txt")));
    EXPECT_FALSE(QFileInfo::exists(Path("tree/sub")));
    // A folder holding a link cannot be copied whole: the half-made copy goes, the
    // source stays as it was, and an item already at the target is never touched.
    MakeFolderBytes("tree/withlink");
    MakeFileBytes("tree/withlink/file.txt", "kept");
    ASSERT_EQ(::symlink("file.txt", (Home() + "/tree/withlink/link").constData()), 0);
    MakeFileBytes("target/with space.txt", "theirs");
    for (const QString& name : {QStringLiteral("withlink"), QStringLiteral("with space.txt")}) {
        names.Clear();
        names.Add(name);
        ASSERT_TRUE(Itemprop::PerformVerb(QStringLiteral("cut"), Path("tree"), &names, FOwner));
        EXPECT_FALSE(Itemprop::PerformVerb(QStringLiteral("paste"), Path("target"), FOwner)) << name.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(Path("target/withlink")));
    EXPECT_EQ(Read("tree/withlink/file.txt"), QByteArray("kept"));
    EXPECT_TRUE(QFileInfo(Path("tree/withlink/link")).isSymLink());
    EXPECT_EQ(Read("target/with space.txt"), QByteArray("theirs"));
    EXPECT_EQ(Read("tree/with space.txt"), QByteArray("x"));
    ItemMoveFunction() = saved;
}

TEST_F(ItemActions, ContextMenuDismissedOrChosen)
{
    WhenMenuOpen([](QMenu* menu) { menu->close(); });
    EXPECT_TRUE(Itemprop::DisplayContextMenu(Path("tree/plain.txt"), FOwner, QPoint(10, 10)));
    EXPECT_TRUE(FOpened.isEmpty());
    WhenMenuOpen([](QMenu* menu) {
        for (QAction* action : menu->actions())
            if (action->text() == QStringLiteral("&Open"))
                menu->setActiveAction(action);
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(menu, &enter);
    });
    EXPECT_TRUE(Itemprop::DisplayContextMenu(Path("tree/plain.txt"), FOwner, QPoint(10, 10))) << qPrintable(Itemprop::LastErrorText());
    ASSERT_EQ(FOpened.size(), 1);
    EXPECT_EQ(FOpened.front(), QUrl::fromLocalFile(Path("tree/plain.txt")));
}

TEST_F(ItemActions, PropertiesNeedThePropertySheetAttributeAndGetPIDLWalksToTheParent)
{
    IShellFolder* folder = nullptr;
    LPITEMIDLIST id = nullptr;
    ASSERT_TRUE(Itemprop::GetPIDLAndShellFolder(Path("tree/plain.txt"), folder, id, Pidlhelp::ShellMalloc(), FOwner));
    LPCITEMIDLIST ids[] = {id};
    const qsizetype windows = QApplication::topLevelWidgets().count();
    EXPECT_FALSE(Itemprop::DisplayPropertiesDialog(folder, ids, 0, FOwner, 1));
    EXPECT_EQ(QApplication::topLevelWidgets().count(), windows) << "no window opened";
    ASSERT_TRUE(Itemprop::DisplayPropertiesDialog(Path("tree/plain.txt"), FOwner));
    QWidget* window = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == QStringLiteral("ItemPropertiesWindow") && widget->isVisible())
            window = widget;
    ASSERT_NE(window, nullptr);
    auto* size = window->findChild<QLabel*>(QStringLiteral("Size"));
    ASSERT_NE(size, nullptr);
    EXPECT_EQ(size->text(), QLocale().formattedDataSize(5));
    EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("Permissions"))->text(), QStringLiteral("rw-r--r-- (0644)"));
    delete window;
    Pidlhelp::FreePIDL(id);
    folder->Release();

    // GetPIDLAndShellFolder walks to the item's parent folder.
    ASSERT_TRUE(Itemprop::GetPIDLAndShellFolder(Path("tree/sub/inner.c"), folder, id, Pidlhelp::ShellMalloc(), FOwner));
    EXPECT_EQ(Pidlhelp::PIDLCount(id), 1);
    EXPECT_EQ(Pidlhelp::GetDisplayName(folder, id, Pidlhelp::dntForParsing), Path("tree/sub/inner.c"));
    Pidlhelp::FreePIDL(id);
    folder->Release();
    // An item right under the desktop: false, but the desktop and the item are given.
    ASSERT_FALSE(Itemprop::GetPIDLAndShellFolder(Path(""), folder, id, Pidlhelp::ShellMalloc(), FOwner));
    ASSERT_NE(folder, nullptr);
    EXPECT_EQ(Pidlhelp::GetDisplayName(folder, id, Pidlhelp::dntNormal), QStringLiteral("Home"));
    Pidlhelp::FreePIDL(id);
    folder->Release();
    LPITEMIDLIST untouched = nullptr;
    EXPECT_FALSE(Itemprop::GetPIDLAndShellFolder(Path("no/such/thing"), folder, untouched, Pidlhelp::ShellMalloc(), FOwner));
    EXPECT_EQ(folder, nullptr);
    EXPECT_EQ(untouched, nullptr);
}
