// The message layer: handles, window procedures, subclassing, posting and timers.
#include "vcl/controls/controls.h"
#include "vcl/controls/messages.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>
#include "waituntil.h"

#include <gtest/gtest.h>
#include <thread>
#include <vector>

using namespace vcl;

TEST(Messages, ClassicNumbers)
{
    // Stored forms and other units rely on the numbers themselves.
    EXPECT_EQ(CM_BASE, 0xB000u);
    EXPECT_EQ(CM_MOUSEENTER, 0xB012u);
    EXPECT_EQ(CM_MOUSELEAVE, 0xB013u);
    EXPECT_EQ(CM_ENABLEDCHANGED, 0xB00Bu);
    EXPECT_EQ(CM_TEXTCHANGED, 0xB011u);
    EXPECT_EQ(CN_BASE, 0xBC00u);
    EXPECT_EQ(CN_DRAWITEM, 0xBC2Bu);
    EXPECT_EQ(WM_NCPAINT, 0x85u);
    EXPECT_EQ(WM_NCACTIVATE, 0x86u);
    EXPECT_EQ(WM_SETTINGCHANGE, 0x1Au);
    EXPECT_EQ(WM_DROPFILES, 0x233u);
}

TEST(Messages, PackedCoordinatesKeepTheirSign)
{
    struct Case { int x, y; };
    for (const Case c : {Case{0, 0}, Case{-1, -1}, Case{32767, -32768}, Case{-200, 150}}) {
        const LPARAM packed = MAKELPARAM(c.x, c.y);
        EXPECT_EQ(GET_X_LPARAM(packed), c.x);
        EXPECT_EQ(GET_Y_LPARAM(packed), c.y);
    }
}

TEST(Messages, SendReachesTheProcedureAndSubclassesChainAndRestore)
{
    std::vector<unsigned> seen;
    const HWND wnd = AllocateHWnd([&](TMessage& m) {
        seen.push_back(m.Msg);
        m.Result = static_cast<LRESULT>(m.WParam + m.LParam);
    });
    EXPECT_TRUE(IsWindow(wnd));
    EXPECT_EQ(SendMessage(wnd, WM_USER + 1, 40, 2), 42);
    DeallocateHWnd(wnd);
    EXPECT_FALSE(IsWindow(wnd));
    EXPECT_EQ(SendMessage(wnd, WM_USER + 2, 1, 1), 0);
    EXPECT_EQ(seen, std::vector<unsigned>{WM_USER + 1});

    // A subclassed procedure chains to the one it replaced and can be restored.
    std::vector<QString> log;
    const HWND base = AllocateHWnd([&](TMessage& m) { log.push_back(QStringLiteral("base %1").arg(m.Msg)); });
    const TWndMethod previous = SetWindowProc(base, {});
    SetWindowProc(base, previous);
    // A subclasser handles one message itself and passes the rest on.
    TWndMethod saved;
    saved = SetWindowProc(base, [&](TMessage& m) {
        if (m.Msg == WM_NCPAINT) {
            log.push_back(QStringLiteral("hook"));
            m.Result = 7;
            return;
        }
        CallWindowProc(saved, m);
    });
    EXPECT_EQ(SendMessage(base, WM_NCPAINT, 0, 0), 7);
    SendMessage(base, WM_SIZE, 0, 0);
    SetWindowProc(base, saved);
    SendMessage(base, WM_NCPAINT, 0, 0);
    EXPECT_EQ(log, (std::vector<QString>{"hook", "base 5", "base 133"}));
    DeallocateHWnd(base);
    // A dead handle has no procedure to replace.
    EXPECT_FALSE(static_cast<bool>(SetWindowProc(base, [](TMessage&) {})));
}

TEST(Messages, PostedMessagesArriveLaterOnTheUiThreadAndNeverAtADeadWindow)
{
    std::vector<WPARAM> received;
    const HWND live = AllocateHWnd([&](TMessage& m) { received.push_back(m.WParam); });
    bool deadCalled = false;
    const HWND dead = AllocateHWnd([&](TMessage&) { deadCalled = true; });
    ASSERT_TRUE(PostMessage(live, WM_USER, 1, 0));
    ASSERT_TRUE(PostMessage(dead, WM_USER, 2, 0));
    ASSERT_TRUE(PostMessage(live, WM_USER, 3, 0));
    EXPECT_TRUE(received.empty());
    DeallocateHWnd(dead);
    ASSERT_TRUE(WaitUntil([&] { return received.size() == 2; }));
    EXPECT_EQ(received, (std::vector<WPARAM>{1, 3}));
    EXPECT_FALSE(deadCalled);
    DeallocateHWnd(live);
    EXPECT_FALSE(PostMessage(HWND(), WM_USER, 0, 0));

    // A message posted from a worker thread is delivered on the user-interface thread.
    Qt::HANDLE deliveredOn = nullptr;
    const HWND wnd = AllocateHWnd([&](TMessage&) { deliveredOn = QThread::currentThreadId(); });
    std::thread worker([wnd] { PostMessage(wnd, WM_APP, 0, 0); });
    worker.join();
    ASSERT_TRUE(WaitUntil([&] { return deliveredOn != nullptr; }));
    EXPECT_EQ(deliveredOn, QThread::currentThreadId());
    DeallocateHWnd(wnd);
}

TEST(Messages, TimersSendWmTimerUntilKilledOrTheWindowGoes)
{
    std::vector<WPARAM> ticks;
    const HWND wnd = AllocateHWnd([&](TMessage& m) {
        if (m.Msg == WM_TIMER)
            ticks.push_back(m.WParam);
    });
    ASSERT_TRUE(SetTimer(wnd, 77, 1));
    ASSERT_TRUE(WaitUntil([&] { return ticks.size() >= 3; }));
    EXPECT_EQ(ticks.front(), 77u);
    EXPECT_TRUE(KillTimer(wnd, 77));
    EXPECT_FALSE(KillTimer(wnd, 77));
    ASSERT_TRUE(SetTimer(wnd, 5, 1));
    DeallocateHWnd(wnd);
    // The window's timers went with it.
    EXPECT_FALSE(KillTimer(wnd, 5));
    EXPECT_FALSE(SetTimer(wnd, 5, 1));
}

TEST(Messages, Accelerators)
{
    struct Case { uint16_t key; const char* text; bool accel; };
    const Case cases[] = {
        {'F', "&File", true},
        {'F', "&file", true},
        {'I', "F&ile", true},
        {'F', "F&ile", false},
        {'A', "Save && &Add", true},
        {'S', "Save && &Add", false},
        {'X', "Exit&", false},
        {'X', "", false},
        {'1', "Item &1", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsAccel(c.key, QString::fromUtf8(c.text)), c.accel) << c.text;
}
