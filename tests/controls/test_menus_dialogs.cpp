// Menus (items, radio groups, pop-up with a responder) and the framework dialogs
// answered by their responders.
#include "vcl/controls/dialogs.h"
#include "vcl/controls/menus.h"
#include "vcl/core/sysutils.h"

#include <QMenu>
#include <gtest/gtest.h>
#include <memory>

using namespace vcl;

namespace {

TMenuItem* Item(TComponent* owner, const char* caption)
{
    auto* item = new TMenuItem(owner);
    item->SetCaption(QString::fromUtf8(caption));
    return item;
}

} // namespace

TEST(Menus, HotkeysAreStripped)
{
    struct Case { const char* in; const char* out; };
    for (const Case c : {Case{"&File", "File"}, Case{"Save && Exit", "Save & Exit"}, Case{"E&xit&", "Exit"},
             Case{"&&&Tools", "&Tools"}, Case{"", ""}})
        EXPECT_EQ(StripHotkey(QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.in;
}

TEST(Menus, RadioItemsOfAGroupCheckOneAtATime)
{
    TPopupMenu menu(nullptr);
    TMenuItem* a = Item(&menu, "&Large");
    TMenuItem* b = Item(&menu, "&Small");
    TMenuItem* other = Item(&menu, "&Other");
    for (TMenuItem* item : {a, b, other}) {
        item->SetRadioItem(true);
        menu.Items()->Add(item);
    }
    other->SetGroupIndex(2);
    a->SetChecked(true);
    other->SetChecked(true);
    b->SetChecked(true);
    EXPECT_FALSE(a->Checked());
    EXPECT_TRUE(b->Checked());
    EXPECT_TRUE(other->Checked());
    EXPECT_EQ(menu.Items()->Find(QStringLiteral("small")), b);
    EXPECT_EQ(b->MenuIndex(), 1);
}

TEST(Menus, PopupRunsOnPopupThenTheChosenItem)
{
    TPopupMenu menu(nullptr);
    std::vector<QString> log;
    TMenuItem* open = Item(&menu, "&Open");
    TMenuItem* line = Item(&menu, "-");
    TMenuItem* off = Item(&menu, "&Disabled");
    off->SetEnabled(false);
    for (TMenuItem* item : {open, line, off})
        menu.Items()->Add(item);
    open->OnClick = [&](TObject* sender) { log.push_back(sender == open ? "open" : "?"); };
    off->OnClick = [&](TObject*) { log.push_back("disabled ran"); };
    menu.OnPopup = [&](TObject*) { log.push_back("popup"); };
    EXPECT_TRUE(line->IsLine());

    TMenuItem* choice = open;
    TPopupMenu::SetResponder([&](TPopupMenu* m, int x, int y) {
        EXPECT_EQ(m, &menu);
        EXPECT_EQ(x, 10);
        EXPECT_EQ(y, 20);
        return choice;
    });
    menu.Popup(10, 20);
    choice = off;
    menu.Popup(10, 20);
    choice = nullptr;
    menu.Popup(10, 20);
    TPopupMenu::SetResponder({});
    EXPECT_EQ(log, (std::vector<QString>{"popup", "open", "popup", "popup"}));

    // The Qt menu mirrors the items: an action, a separator, a disabled action.
    std::unique_ptr<QMenu> built(menu.Items()->BuildMenu(nullptr));
    ASSERT_EQ(built->actions().size(), 3);
    EXPECT_TRUE(built->actions()[1]->isSeparator());
    EXPECT_FALSE(built->actions()[2]->isEnabled());
    built->actions()[0]->trigger();
    EXPECT_EQ(log.back(), QStringLiteral("open"));
}

TEST(Menus, FreeingAnItemTakesItOutOfItsMenu)
{
    TPopupMenu menu(nullptr);
    TMenuItem* a = Item(&menu, "a");
    TMenuItem* b = Item(&menu, "b");
    menu.Items()->Add(a);
    menu.Items()->Add(b);
    EXPECT_THROW(menu.Items()->Add(a), EInvalidOperation);
    delete a;
    ASSERT_EQ(menu.Items()->Count(), 1);
    EXPECT_EQ(menu.Items()->Items(0), b);
}

TEST(Dialogs, MessageDlgAndInputQueryAnswerThroughResponders)
{
    SetMessageDlgResponder([](const QString& msg, TMsgDlgType type, TMsgDlgButtons buttons) {
        EXPECT_EQ(msg, QStringLiteral("Save changes?"));
        EXPECT_EQ(type, mtConfirmation);
        EXPECT_EQ(buttons, mbYesNoCancel);
        return int(mrNo);
    });
    EXPECT_EQ(MessageDlg(QStringLiteral("Save changes?"), mtConfirmation, mbYesNoCancel), mrNo);
    SetMessageDlgResponder({});

    QString value = QStringLiteral("old");
    SetInputQueryResponder([](const QString& caption, const QString& prompt, QString& v) {
        EXPECT_EQ(caption, QStringLiteral("Rename"));
        EXPECT_EQ(prompt, QStringLiteral("New name:"));
        EXPECT_EQ(v, QStringLiteral("old"));
        v = QStringLiteral("new");
        return true;
    });
    EXPECT_TRUE(InputQuery(QStringLiteral("Rename"), QStringLiteral("New name:"), value));
    EXPECT_EQ(value, QStringLiteral("new"));
    SetInputQueryResponder({});

    EXPECT_EQ(MsgDlgCaption(mtWarning), QStringLiteral("Warning"));
    EXPECT_EQ(MsgDlgCaption(mtConfirmation), QStringLiteral("Confirm"));
    EXPECT_EQ(ModalResultOf(mbAll), mrAll);
    EXPECT_EQ(ModalResultOf(mbIgnore), mrIgnore);
}

TEST(Dialogs, FileDialogsTranslateFiltersAndAddTheDefaultExtension)
{
    TSaveDialog save(nullptr);
    save.SetFilter(QStringLiteral("Text files (*.txt)|*.txt|Pictures|*.bmp;*.gif|All files|*.*"));
    EXPECT_EQ(save.QtFilters(),
        (QStringList{"Text files (*.txt) (*.txt)", "Pictures (*.bmp *.gif)", "All files (*)"}));
    save.SetDefaultExt(QStringLiteral("txt"));
    int shows = 0, closes = 0;
    save.OnShow = [&](TObject*) { ++shows; };
    save.OnClose = [&](TObject*) { ++closes; };
    TOpenDialog::SetResponder([](TOpenDialog* d) {
        d->SetFileName(QStringLiteral("/tmp/notes"));
        return true;
    });
    ASSERT_TRUE(save.Execute());
    EXPECT_EQ(save.FileName(), QStringLiteral("/tmp/notes.txt"));
    EXPECT_EQ(save.Files(), QStringList{"/tmp/notes.txt"});
    EXPECT_EQ(shows, 1);
    EXPECT_EQ(closes, 1);

    TOpenDialog open(nullptr);
    open.SetOptions(ofAllowMultiSelect);
    TOpenDialog::SetResponder([](TOpenDialog* d) {
        d->SetFiles({QStringLiteral("/a.gif"), QStringLiteral("/b.pcx")});
        return true;
    });
    ASSERT_TRUE(open.Execute());
    EXPECT_EQ(open.FileName(), QStringLiteral("/a.gif"));
    EXPECT_EQ(open.Files().size(), 2);
    TOpenDialog::SetResponder([](TOpenDialog*) { return false; });
    EXPECT_FALSE(open.Execute());
    TOpenDialog::SetResponder({});
}

TEST(Dialogs, ColorDialogReturnsTheChosenColour)
{
    TColorDialog dialog(nullptr);
    dialog.SetColor(clRed);
    TColorDialog::SetResponder([](TColorDialog* d) {
        EXPECT_EQ(d->Color(), clRed);
        d->SetColor(clTeal);
        return true;
    });
    EXPECT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.Color(), clTeal);
    TColorDialog::SetResponder({});
}
