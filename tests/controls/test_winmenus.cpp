// Menu handles: building, finding, checks and defaults, bad handles; tracking a real
// menu with the keyboard and the mouse, WM_INITMENUPOPUP before each menu opens, and
// the choice returned or posted as WM_COMMAND.
#include "controls/waituntil.h"
#include "vcl/controls/messages.h"
#include "vcl/controls/winmenus.h"

#include <QApplication>
#include <QMenu>
#include <QtTest/QTest>
#include <gtest/gtest.h>

using namespace vcl;

namespace {

// File(1) Edit(2) --- Recent> [A(10) B(11)] Close(3)
HMENU SampleMenu()
{
    HMENU menu = CreatePopupMenu();
    AppendMenu(menu, MF_STRING, 1, QStringLiteral("File"));
    AppendMenu(menu, MF_STRING, 2, QStringLiteral("Edit"));
    AppendMenu(menu, MF_SEPARATOR, 0, QString());
    HMENU recent = CreatePopupMenu();
    AppendMenu(recent, MF_STRING, 10, QStringLiteral("A"));
    AppendMenu(recent, MF_STRING, 11, QStringLiteral("B"));
    AppendMenu(menu, MF_POPUP, reinterpret_cast<uintptr_t>(recent), QStringLiteral("Recent"));
    AppendMenu(menu, MF_STRING, 3, QStringLiteral("Close"));
    return menu;
}

// A window that records the messages it gets.
struct Owner {
    Owner()
        : Wnd(AllocateHWnd([this](TMessage& m) {
            Messages.push_back(m);
            if (Hook)
                Hook(m);
        }))
    {
    }
    ~Owner() { DeallocateHWnd(Wnd); }
    std::function<void(TMessage&)> Hook;
    std::vector<TMessage> Messages;
    HWND Wnd;
    std::vector<TMessage> Of(unsigned msg) const
    {
        std::vector<TMessage> found;
        for (const TMessage& m : Messages)
            if (m.Msg == msg)
                found.push_back(m);
        return found;
    }
};

// Runs Act on the open pop-up menu (the innermost) once one shows.
void WhenMenuOpen(std::function<void(QMenu*)> Act, QMenu* NotThis = nullptr)
{
    WhenFound<QMenu>([NotThis]() -> QMenu* {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        return menu != nullptr && menu != NotThis && menu->isVisible() ? menu : nullptr;
    }, std::move(Act));
}

QAction* ActionNamed(QMenu* menu, const char* text)
{
    for (QAction* a : menu->actions())
        if (a->text() == QLatin1String(text))
            return a;
    return nullptr;
}

} // namespace

TEST(MenuHandles, FindByPositionOrCommandAndReportState)
{
    HMENU menu = SampleMenu();
    ASSERT_EQ(GetMenuItemCount(menu), 5);
    EXPECT_EQ(GetMenuItemID(menu, 1), 2u);
    EXPECT_EQ(GetMenuItemID(menu, 3), MenuNotFound); // a sub-menu has no command
    EXPECT_EQ(GetMenuItemID(menu, 9), MenuNotFound);
    HMENU recent = GetSubMenu(menu, 3);
    ASSERT_TRUE(IsMenu(recent));
    // Sub-menu state: its entry count in the high byte, MF_POPUP in the low.
    EXPECT_EQ(GetMenuState(menu, 3, MF_BYPOSITION), (2u << 8) | MF_POPUP);
    EXPECT_EQ(GetMenuState(menu, 2, MF_BYPOSITION), UINT(MF_SEPARATOR));

    // By command, entries of sub-menus are found too.
    EXPECT_EQ(CheckMenuItem(menu, 11, MF_BYCOMMAND | MF_CHECKED), 0u);
    EXPECT_EQ(CheckMenuItem(menu, 11, MF_BYCOMMAND | MF_UNCHECKED), UINT(MF_CHECKED));
    EXPECT_EQ(EnableMenuItem(menu, 2, MF_BYCOMMAND | MF_GRAYED), 0u);
    EXPECT_EQ(GetMenuState(menu, 2, MF_BYCOMMAND), UINT(MF_GRAYED));
    QString text;
    EXPECT_EQ(GetMenuString(menu, 10, text, MF_BYCOMMAND), 1);
    EXPECT_EQ(text, QStringLiteral("A"));

    InsertMenu(menu, 3, MF_BYCOMMAND, 4, QStringLiteral("Save")); // before Close
    EXPECT_EQ(GetMenuItemID(menu, 4), 4u);
    EXPECT_TRUE(DeleteMenu(menu, 3, MF_BYPOSITION)); // Recent and its sub-menu go
    EXPECT_FALSE(IsMenu(recent));
    EXPECT_EQ(GetMenuItemCount(menu), 5);
    EXPECT_EQ(CheckMenuItem(menu, 10, MF_CHECKED), MenuNotFound);
    DestroyMenu(menu);
}

TEST(MenuHandles, RadioChecksTheDefaultEntryAndDeadOrForeignHandles)
{
    HMENU menu = SampleMenu();
    CheckMenuItem(menu, 1, MF_CHECKED);
    ASSERT_TRUE(CheckMenuRadioItem(menu, 0, 1, 1, MF_BYPOSITION));
    EXPECT_EQ(GetMenuState(menu, 1, MF_BYCOMMAND), 0u);
    EXPECT_EQ(GetMenuState(menu, 2, MF_BYCOMMAND), UINT(MF_CHECKED | MF_RADIOCHECK));
    EXPECT_FALSE(CheckMenuRadioItem(menu, 0, 1, 4, MF_BYPOSITION)); // outside the range
    EXPECT_FALSE(CheckMenuRadioItem(menu, 1, 10, 10, MF_BYCOMMAND)); // not one menu

    EXPECT_EQ(GetMenuDefaultItem(menu, false, 0), MenuNotFound);
    ASSERT_TRUE(SetMenuDefaultItem(menu, 3, false));
    EXPECT_EQ(GetMenuDefaultItem(menu, false, 0), 3u);
    EXPECT_EQ(GetMenuDefaultItem(menu, true, 0), 4u);
    ASSERT_TRUE(SetMenuDefaultItem(menu, 1, true)); // moves, never two
    EXPECT_EQ(GetMenuDefaultItem(menu, false, 0), 2u);
    EnableMenuItem(menu, 2, MF_GRAYED);
    EXPECT_EQ(GetMenuDefaultItem(menu, false, 0), MenuNotFound);
    EXPECT_EQ(GetMenuDefaultItem(menu, false, GMDI_USEDISABLED), 2u);
    EXPECT_FALSE(SetMenuDefaultItem(menu, 10, false)); // only this menu's own entries
    ASSERT_TRUE(SetMenuDefaultItem(menu, MenuNotFound, false));
    EXPECT_EQ(GetMenuDefaultItem(menu, false, GMDI_USEDISABLED), MenuNotFound);

    // Dead or foreign handles are refused.
    HMENU recent = GetSubMenu(menu, 3);
    ASSERT_TRUE(DestroyMenu(recent)); // destroyed on its own: the entry goes with it
    EXPECT_EQ(GetMenuItemCount(menu), 4);
    EXPECT_FALSE(AppendMenu(menu, MF_POPUP, reinterpret_cast<uintptr_t>(recent), QStringLiteral("x")));
    EXPECT_FALSE(AppendMenu(menu, MF_POPUP, reinterpret_cast<uintptr_t>(menu), QStringLiteral("self")));
    ASSERT_TRUE(DestroyMenu(menu));
    EXPECT_FALSE(DestroyMenu(menu));
    EXPECT_FALSE(IsMenu(menu));
    EXPECT_EQ(GetMenuItemCount(menu), -1);
    EXPECT_FALSE(AppendMenu(menu, MF_STRING, 1, QStringLiteral("x")));
    EXPECT_EQ(GetMenuState(menu, 0, MF_BYPOSITION), MenuNotFound);
    EXPECT_EQ(GetMenuDefaultItem(nullptr, false, 0), MenuNotFound);
    Owner owner;
    EXPECT_EQ(TrackPopupMenuEx(menu, TPM_RETURNCMD, 0, 0, owner.Wnd, nullptr), 0);
}

TEST(TrackPopupMenu, TheOwnerPreparesEachMenuAndTheChosenCommandComesBack)
{
    HMENU menu = SampleMenu();
    Owner owner;
    // The owner adds an entry while the menu is being prepared; the menu is not yet up.
    owner.Hook = [&](TMessage& m) {
        if (m.Msg == WM_INITMENUPOPUP && reinterpret_cast<HMENU>(m.WParam) == menu) {
            EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
            AppendMenu(menu, MF_STRING, 7, QStringLiteral("Added late"));
        }
    };
    WhenMenuOpen([](QMenu* shown) {
        ASSERT_NE(ActionNamed(shown, "Added late"), nullptr);
        QMenu* top = shown;
        // Into the sub-menu with the keys, then choose its second entry.
        top->setActiveAction(top->actions().at(3));
        QTest::keyClick(top, Qt::Key_Right);
        // Opened from the keyboard, the sub-menu starts on its first entry.
        WhenMenuOpen([](QMenu* sub) {
            QTest::keyClick(sub, Qt::Key_Down);
            QTest::keyClick(sub, Qt::Key_Return);
        }, top);
    });
    EXPECT_EQ(TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, 50, 50, owner.Wnd, nullptr), 11);
    const auto inits = owner.Of(WM_INITMENUPOPUP);
    ASSERT_EQ(inits.size(), 2u);
    EXPECT_EQ(reinterpret_cast<HMENU>(inits[1].WParam), GetSubMenu(menu, 3));
    EXPECT_EQ(LOWORD(uintptr_t(inits[1].LParam)), 3);
    EXPECT_TRUE(owner.Of(WM_COMMAND).empty());
    DestroyMenu(menu);
}

TEST(TrackPopupMenu, WithoutReturnCmdTheChoiceIsPostedAndRightClicksNeedTheFlag)
{
    HMENU menu = SampleMenu();
    Owner owner;
    // A right click without TPM_RIGHTBUTTON chooses nothing; Escape then dismisses.
    WhenMenuOpen([](QMenu* shown) {
        QAction* close = ActionNamed(shown, "Close");
        QTest::mouseClick(shown, Qt::RightButton, {}, shown->actionGeometry(close).center());
        QTest::keyClick(shown, Qt::Key_Escape);
    });
    EXPECT_EQ(TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_NONOTIFY, 10, 10, owner.Wnd, nullptr), 0);
    EXPECT_TRUE(owner.Of(WM_INITMENUPOPUP).empty());

    WhenMenuOpen([](QMenu* shown) {
        QAction* close = ActionNamed(shown, "Close");
        QTest::mouseClick(shown, Qt::RightButton, {}, shown->actionGeometry(close).center());
    });
    EXPECT_EQ(TrackPopupMenuEx(menu, TPM_RIGHTBUTTON, 10, 10, owner.Wnd, nullptr), 1);
    ASSERT_TRUE(WaitUntil([&] { return !owner.Of(WM_COMMAND).empty(); }));
    EXPECT_EQ(owner.Of(WM_COMMAND)[0].WParam, 3u);
    DestroyMenu(menu);
}
