// Framework pieces the painted buttons lean on: the left-button-down state, Tab
// moving the focus in tab order, the pointer's position, and dragging one control
// onto another.
#include "vcl/controls/controls.h"
#include "vcl/controls/dragdrop.h"
#include "vcl/controls/mouse.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>
#include <vector>

using namespace vcl;

namespace {

// A windowed control that can take the focus.
class TFocusable : public TCustomControl {
public:
    explicit TFocusable(TWinControl* Parent, int Left)
        : TCustomControl(nullptr)
    {
        SetParent(Parent);
        SetBounds(Left, 0, 30, 30);
        SetTabStop(true);
    }
};

bool ShowAndActivate(QWidget& Window)
{
    Window.show();
    Window.activateWindow();
    return QTest::qWaitForWindowActive(&Window);
}

} // namespace

TEST(ControlState, LeftButtonDownLastsFromPressToRelease)
{
    TWinControl form(nullptr);
    form.SetBounds(0, 0, 100, 50);
    TFocusable probe(&form, 10);
    std::vector<bool> seen;
    probe.OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) {
        seen.push_back(probe.ControlState().testFlag(csLButtonDown));
    };
    probe.OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) {
        seen.push_back(probe.ControlState().testFlag(csLButtonDown));
    };
    QTest::mousePress(&probe, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(probe.ControlState().testFlag(csLButtonDown));
    QTest::mouseRelease(&probe, Qt::LeftButton, {}, QPoint(60, 5));
    EXPECT_FALSE(probe.ControlState().testFlag(csLButtonDown));
    // A right press leaves it alone.
    QTest::mouseClick(&probe, Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_EQ(seen, (std::vector<bool>{true, false, false, false}));
}

TEST(TabOrder, TabAndShiftTabFollowTheOrderNotTheCreation)
{
    TWinControl form(nullptr);
    form.SetBounds(0, 0, 200, 50);
    TFocusable a(&form, 0), b(&form, 40), c(&form, 80);
    // Created a, b, c; tabbed c, a, b.
    c.SetTabOrder(0);
    EXPECT_EQ(a.TabOrder(), 1);
    EXPECT_EQ(b.TabOrder(), 2);
    ASSERT_TRUE(ShowAndActivate(form));
    c.SetFocus();
    ASSERT_TRUE(c.Focused());
    std::vector<TWinControl*> order;
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        order.push_back(dynamic_cast<TWinControl*>(QApplication::focusWidget()));
    }
    EXPECT_EQ(order, (std::vector<TWinControl*>{&a, &b, &c}));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(b.Focused());
    // A control that is no tab stop is passed over.
    a.SetTabStop(false);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_TRUE(b.Focused());
}

TEST(Mouse, CursorPosIsWherePointerWasPut)
{
    ASSERT_TRUE(SetCursorPos(37, 21));
    TPoint p;
    ASSERT_TRUE(GetCursorPos(&p));
    EXPECT_EQ(p, Point(37, 21));
    EXPECT_EQ(Mouse()->CursorPos(), Point(37, 21));
    EXPECT_FALSE(GetCursorPos(nullptr));
}

TEST(DragSession, TargetAcceptsOrRefusesAndTheSourceHearsWhere)
{
    TWinControl form(nullptr);
    form.SetBounds(0, 0, 200, 100);
    TFocusable source(&form, 0), target(&form, 100);
    ASSERT_TRUE(ShowAndActivate(form));
    std::vector<TDragState> states;
    bool welcome = false;
    target.OnDragOver = [&](TObject*, TObject* from, int, int, TDragState state, bool& accept) {
        EXPECT_EQ(from, &source);
        states.push_back(state);
        accept = welcome;
    };
    TObject* droppedFrom = nullptr;
    TPoint droppedAt;
    target.OnDragDrop = [&](TObject*, TObject* from, int x, int y) {
        droppedFrom = from;
        droppedAt = Point(x, y);
    };
    std::vector<TObject*> ends;
    source.OnEndDrag = [&](TObject*, TObject* to, int, int) { ends.push_back(to); };
    const TPoint onTarget = target.ClientToScreen(Point(7, 9));

    {
        // Refused: nothing dropped, the source hears "nowhere".
        TDragSession drag(&source);
        EXPECT_FALSE(drag.MoveTo(onTarget));
        drag.Drop(onTarget);
    }
    EXPECT_EQ(droppedFrom, nullptr);
    EXPECT_EQ(ends, std::vector<TObject*>{nullptr});

    states.clear();
    welcome = true;
    TDragSession drag(&source);
    EXPECT_TRUE(drag.MoveTo(onTarget));
    EXPECT_EQ(drag.Target(), &target);
    // Over the source itself, which takes no drops.
    EXPECT_FALSE(drag.MoveTo(source.ClientToScreen(Point(5, 5))));
    EXPECT_EQ(drag.Target(), &source);
    EXPECT_TRUE(drag.MoveTo(onTarget));
    drag.Drop(onTarget);
    EXPECT_EQ(states, (std::vector<TDragState>{dsDragEnter, dsDragLeave, dsDragEnter, dsDragMove}));
    EXPECT_EQ(droppedFrom, &source);
    EXPECT_EQ(droppedAt, Point(7, 9));
    EXPECT_EQ(ends, (std::vector<TObject*>{nullptr, &target}));
}

TEST(DragSession, APressOnAnAutomaticControlDragsItWithTheMouse)
{
    TWinControl form(nullptr);
    form.SetBounds(0, 0, 200, 100);
    TFocusable source(&form, 0), target(&form, 100);
    ASSERT_TRUE(ShowAndActivate(form));
    source.SetDragMode(dmAutomatic);
    source.SetDragCursor(crHandPoint);
    int presses = 0;
    source.OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++presses; };
    TObject offered; // what OnStartDrag hands the targets instead of the control
    source.OnStartDrag = [&](TObject*, TObject*& dragObject) { dragObject = &offered; };
    target.OnDragOver = [&](TObject*, TObject* from, int x, int, TDragState, bool& accept) {
        EXPECT_EQ(from, &offered);
        accept = x >= 15;
    };
    TPoint droppedAt;
    target.OnDragDrop = [&](TObject*, TObject*, int x, int y) { droppedAt = Point(x, y); };
    std::vector<TObject*> ends;
    source.OnEndDrag = [&](TObject*, TObject* to, int, int) { ends.push_back(to); };
    auto pointer = [] { return QGuiApplication::overrideCursor() ? QGuiApplication::overrideCursor()->shape() : Qt::BlankCursor; };

    QTest::mousePress(&source, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(source.Dragging());
    EXPECT_EQ(presses, 0); // the press started the drag and is not seen as a press
    QTest::mouseMove(&target, QPoint(5, 10));
    EXPECT_EQ(pointer(), Qt::ForbiddenCursor); // refused: the no-drop pointer
    QTest::mouseMove(&target, QPoint(20, 10));
    EXPECT_EQ(pointer(), Qt::PointingHandCursor); // taken: the source's drag cursor
    QTest::mouseRelease(&target, Qt::LeftButton, {}, QPoint(21, 12));
    EXPECT_FALSE(source.Dragging());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(droppedAt, Point(21, 12));
    EXPECT_EQ(ends, std::vector<TObject*>{&target});

    // Escape cancels; a drag that waits for its threshold offers nothing until then.
    source.SetDragMode(dmManual);
    int offers = 0;
    target.OnDragOver = [&](TObject*, TObject*, int, int, TDragState, bool& accept) { ++offers, accept = true; };
    QCursor::setPos(source.ClientToScreen(Point(5, 5)).ToQPoint());
    source.BeginDrag(false, 50);
    QTest::mouseMove(&source, QPoint(25, 5)); // 20 pixels: below the threshold
    EXPECT_EQ(offers, 0);
    QTest::keyClick(&source, Qt::Key_Escape);
    EXPECT_FALSE(source.Dragging());
    EXPECT_EQ(ends, (std::vector<TObject*>{&target, nullptr}));
}

TEST(ControlStyle, NoStdEventsSilencesMouseAndKeysButNotClicks)
{
    TWinControl form(nullptr);
    form.SetBounds(0, 0, 200, 100);
    TFocusable control(&form, 0);
    ASSERT_TRUE(ShowAndActivate(form));
    control.SetControlStyle(control.ControlStyle() | csNoStdEvents);
    int events = 0, clicks = 0;
    control.OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++events; };
    control.OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) { ++events; };
    control.OnMouseMove = [&](TObject*, TShiftState, int, int) { ++events; };
    control.OnKeyDown = [&](TObject*, uint16_t&, TShiftState) { ++events; };
    control.OnKeyPress = [&](TObject*, QChar&) { ++events; };
    control.OnClick = [&](TObject*) { ++clicks; };
    QTest::mouseMove(&control, QPoint(3, 3));
    QTest::mouseClick(&control, Qt::LeftButton, {}, QPoint(4, 4));
    QTest::keyClick(&control, Qt::Key_A);
    EXPECT_EQ(events, 0);
    EXPECT_EQ(clicks, 1);
}
