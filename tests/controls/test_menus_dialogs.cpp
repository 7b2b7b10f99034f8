// Menus (items, radio groups, pop-up with a responder), the framework dialogs answered
// by their responders and by clicks on the real dialogs, and F1 help.
#include "controls/waituntil.h"
#include "vcl/controls/application.h"
#include "vcl/controls/dialogs.h"
#include "vcl/controls/extctrls.h"
#include "vcl/controls/forms.h"
#include "vcl/controls/menus.h"
#include "vcl/controls/stdctrls.h"
#include "vcl/core/sysutils.h"
#include "vcl/graphics/bitmap.h"

#include <QActionGroup>
#include <QApplication>
#include <QColorDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest/QTest>
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

// Acts on the next modal dialog of type Dialog once it shows.
template <class Dialog>
void WhenShown(std::function<void(Dialog*)> Act)
{
    WhenFound<Dialog>([] { return qobject_cast<Dialog*>(QApplication::activeModalWidget()); }, std::move(Act));
}

QAbstractButton* ButtonCaptioned(QMessageBox* box, const char* caption)
{
    for (QAbstractButton* button : box->buttons())
        if (button->text() == QString::fromUtf8(caption))
            return button;
    ADD_FAILURE() << "no button " << caption;
    return nullptr;
}

} // namespace

TEST(Menus, HotkeysAreStripped)
{
    struct Case { const char* in; const char* out; };
    for (const Case c : {Case{"&File", "File"}, Case{"Save && Exit", "Save & Exit"}, Case{"E&xit&", "Exit"},
             Case{"&&&Tools", "&Tools"}, Case{"", ""}})
        EXPECT_EQ(StripHotkey(QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.in;
}

TEST(Menus, RadioItemsOfAGroupCheckOneAtATimeAndAFreedItemLeavesItsMenu)
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
    // An item is in one menu once; freed, it leaves its menu.
    EXPECT_THROW(menu.Items()->Add(a), EInvalidOperation);
    delete a;
    ASSERT_EQ(menu.Items()->Count(), 2);
    EXPECT_EQ(menu.Items()->Items(0), b);
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

TEST(Menus, RadioItemsShowTheRadioMarkAndBitmapsTheirOpaquePixels)
{
    TPopupMenu popup(nullptr);
    TMenuItem* radio = Item(nullptr, "Large");
    radio->SetRadioItem(true);
    popup.Items()->Add(radio);
    TMenuItem* pictured = Item(nullptr, "Print");
    // 4 x 4 picture: bottom-left colour (white) is transparent, one red pixel is not.
    pictured->Bitmap()->SetSize(4, 4);
    pictured->Bitmap()->Canvas()->Brush()->SetColor(clWhite);
    pictured->Bitmap()->Canvas()->FillRect(TRect(0, 0, 4, 4));
    pictured->Bitmap()->Canvas()->SetPixels(1, 1, clRed);
    popup.Items()->Add(pictured);
    std::unique_ptr<QMenu> menu(popup.Items()->BuildMenu(nullptr));
    const QList<QAction*> actions = menu->actions();
    ASSERT_EQ(actions.size(), 2);
    ASSERT_NE(actions[0]->actionGroup(), nullptr);
    EXPECT_TRUE(actions[0]->actionGroup()->isExclusive());
    const QImage icon = actions[1]->icon().pixmap(4, 4).toImage();
    EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0);
    EXPECT_EQ(icon.pixel(1, 1), qRgb(255, 0, 0));
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

TEST(Dialogs, HelpLeavesTheBoxOpenAndTheToAllButtonsAnswer)
{
    std::vector<int> topics;
    Application()->SetHelpHandler([&](int context) { topics.push_back(context); return true; });
    WhenShown<QMessageBox>([](QMessageBox* box) {
        ASSERT_EQ(box->buttons().size(), 4);
        ButtonCaptioned(box, "&Help")->click();
        WhenShown<QMessageBox>([](QMessageBox* again) { ButtonCaptioned(again, "Yes to &All")->click(); });
    });
    EXPECT_EQ(MessageDlg(QStringLiteral("Replace?"), mtConfirmation, TMsgDlgButtons(mbYesToAll) | mbNoToAll | mbHelp | mbCancel, 7),
        mrYesToAll);
    EXPECT_EQ(topics, std::vector<int>{7});
    WhenShown<QMessageBox>([](QMessageBox* box) { ButtonCaptioned(box, "N&o to All")->click(); });
    EXPECT_EQ(MessageDlg(QStringLiteral("Replace?"), mtConfirmation, TMsgDlgButtons(mbYesToAll) | mbNoToAll, 0), mrNoToAll);
    Application()->SetHelpHandler({});
}

TEST(Dialogs, ColorDialogReturnsTheColourAndCustomColoursInColourValueOrder)
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

    // Colour values are 0x00BBGGRR: "0000FF" is red, "FF0000" blue. A bad value is ignored.
    dialog.SetCustomColors({QStringLiteral("ColorA=0000FF"), QStringLiteral("ColorB=zz"), QStringLiteral("colorc=FF0000")});
    QColorDialog::setCustomColor(1, Qt::white);
    WhenShown<QColorDialog>([](QColorDialog* shown) {
        EXPECT_EQ(QColorDialog::customColor(0), QColor(255, 0, 0));
        EXPECT_EQ(QColorDialog::customColor(1), QColor(Qt::white));
        EXPECT_EQ(QColorDialog::customColor(2), QColor(0, 0, 255));
        QColorDialog::setCustomColor(1, QColor(0, 255, 0));
        shown->reject();
    });
    EXPECT_FALSE(dialog.Execute());
    const QStringList colours = dialog.CustomColors();
    ASSERT_EQ(colours.size(), 16);
    EXPECT_EQ(colours[0], QStringLiteral("ColorA=0000FF"));
    EXPECT_EQ(colours[1], QStringLiteral("ColorB=00FF00"));
    EXPECT_EQ(colours[2], QStringLiteral("ColorC=FF0000"));
    EXPECT_TRUE(colours[15].startsWith(QStringLiteral("ColorP=")));
}

TEST(Help, F1AsksForTheNearestTopicAndOnHelpMayKeepItFromTheHandler)
{
    TForm form(nullptr);
    auto* panel = new TPanel(&form);
    panel->SetParent(&form);
    panel->SetHelpContext(42);
    auto* edit = new TEdit(&form);
    edit->SetParent(panel);
    form.Show();
    edit->SetFocus();
    ASSERT_TRUE(WaitUntil([&] { return edit->Focused(); }));

    std::vector<int> shown;
    Application()->SetHelpHandler([&](int context) { shown.push_back(context); return true; });
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
    EXPECT_EQ(shown, std::vector<int>{42});

    std::vector<intptr_t> asked;
    Application()->OnHelp = [&](uint16_t command, intptr_t data, bool& callHelp) {
        EXPECT_EQ(command, HELP_CONTEXT);
        asked.push_back(data);
        callHelp = false;
        return true;
    };
    edit->SetHelpContext(5);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
    EXPECT_EQ(asked, std::vector<intptr_t>{5});
    EXPECT_EQ(shown.size(), 1u);
    Application()->OnHelp = {};
    Application()->SetHelpHandler({});
}
