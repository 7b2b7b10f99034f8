// Controls: ownership and parents, messages translated from Qt events, mouse and
// keyboard, alignment, inherited colour and font, painting into the back buffer.
#include "vcl/controls/controls.h"
#include "vcl/controls/dropfiles.h"
#include "vcl/core/sysutils.h"
#include "vcl/graphics/canvas.h"

#include <QApplication>
#include <QEnterEvent>
#include <QMimeData>
#include <QPointer>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

using namespace vcl;

QT_BEGIN_NAMESPACE
// Readable failure messages for Qt strings.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE

namespace {

// A windowed control that records what reaches its WndProc and paints a fixed square.
class TProbe : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    std::vector<unsigned> Seen;
    int Paints = 0;
    bool TakeDialogChar = false;
    using TControl::dragEnterEvent;
    using TControl::dropEvent;

protected:
    void WndProc(TMessage& Message) override
    {
        Seen.push_back(Message.Msg);
        TCustomControl::WndProc(Message);
    }
    void CMDialogChar(TMessage& Message) override
    {
        if (TakeDialogChar && IsAccel(static_cast<uint16_t>(Message.WParam), Caption()))
            Message.Result = 1;
    }
    void Paint() override
    {
        ++Paints;
        Canvas()->Brush()->SetColor(clRed);
        Canvas()->FillRect(Rect(2, 2, 4, 4));
    }

public:
    int Count(unsigned msg) const { return static_cast<int>(std::count(Seen.begin(), Seen.end(), msg)); }
};

class TGraphicProbe : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
    std::vector<unsigned> Seen;
    bool Opaque = false;

protected:
    void WndProc(TMessage& Message) override
    {
        Seen.push_back(Message.Msg);
        TGraphicControl::WndProc(Message);
    }
    void CMDialogChar(TMessage& Message) override
    {
        if (IsAccel(static_cast<uint16_t>(Message.WParam), Caption()))
            Message.Result = 1;
    }
};

QRgb Px(const QImage& image, int x, int y)
{
    return image.pixel(x, y) | 0xFF000000u;
}

} // namespace

TEST(Controls, OwnersAndParentsFreeWhatTheyHold)
{
    auto owner = std::make_unique<TWinControl>(nullptr);
    auto* panel = new TWinControl(owner.get());
    panel->SetParent(owner.get());
    // Owned by the owner, shown on the panel; the panel is freed first.
    auto* child = new TGraphicControl(owner.get());
    child->SetParent(panel);
    QPointer<TGraphicControl> watch(child);
    EXPECT_EQ(panel->ControlCount(), 1);
    EXPECT_EQ(owner->ComponentCount(), 2);

    delete panel;
    // The child's widget went with its parent's, and its owner forgot it.
    EXPECT_TRUE(watch.isNull());
    EXPECT_EQ(owner->ComponentCount(), 0);

    // A parent that owns nothing still frees its child's widget.
    auto unowning = std::make_unique<TWinControl>(nullptr);
    QPointer<TProbe> orphan(new TProbe(nullptr));
    orphan->SetParent(unowning.get());
    unowning.reset();
    EXPECT_TRUE(orphan.isNull());

    // Freeing an owned child leaves its parent, and its owner.
    auto* first = new TProbe(owner.get());
    first->SetParent(owner.get());
    auto* second = new TProbe(owner.get());
    second->SetParent(owner.get());
    delete first;
    ASSERT_EQ(owner->ControlCount(), 1);
    EXPECT_EQ(owner->Controls(0), second);
    EXPECT_EQ(owner->ComponentCount(), 1);
    EXPECT_THROW(owner->Controls(1), EInvalidOperation);
}

TEST(Controls, QtEventsArriveAsMessages)
{
    TWinControl parent(nullptr);
    TProbe probe(nullptr);
    probe.SetParent(&parent);
    probe.SetBounds(0, 0, 20, 20);

    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QCoreApplication::sendEvent(&probe, &enter);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&probe, &leave);
    EXPECT_EQ(probe.Count(CM_MOUSEENTER), 1);
    EXPECT_EQ(probe.Count(CM_MOUSELEAVE), 1);

    probe.SetEnabled(false);
    EXPECT_EQ(probe.Count(CM_ENABLEDCHANGED), 1);
    probe.SetEnabled(false);
    EXPECT_EQ(probe.Count(CM_ENABLEDCHANGED), 1);
    // Enabling under a disabled parent changes nothing Qt sees, yet the control is told.
    parent.SetEnabled(false);
    probe.SetEnabled(true);
    EXPECT_EQ(probe.Count(CM_ENABLEDCHANGED), 2);
    parent.SetEnabled(true);
    EXPECT_EQ(probe.Count(CM_ENABLEDCHANGED), 3);

    probe.SetCaption(QStringLiteral("x"));
    probe.SetCaption(QStringLiteral("x"));
    EXPECT_EQ(probe.Count(CM_TEXTCHANGED), 1);
    const int fontChanges = probe.Count(CM_FONTCHANGED);
    probe.Font()->SetSize(14);
    EXPECT_EQ(probe.Count(CM_FONTCHANGED), fontChanges + 1);

    QEvent palette(QEvent::ApplicationPaletteChange);
    QCoreApplication::sendEvent(&probe, &palette);
    EXPECT_EQ(probe.Count(CM_SYSCOLORCHANGE), 1);
}

TEST(Controls, TranslatedMessagesPassTheSubclassedWindowProcedure)
{
    TProbe probe(nullptr);
    const HWND first = probe.Handle();
    std::vector<unsigned> hooked;
    TWndMethod previous;
    previous = SetWindowProc(first, [&](TMessage& m) {
        hooked.push_back(m.Msg);
        CallWindowProc(previous, m);
    });
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QCoreApplication::sendEvent(&probe, &enter);
    EXPECT_EQ(hooked, std::vector<unsigned>{CM_MOUSEENTER});
    EXPECT_EQ(probe.Count(CM_MOUSEENTER), 1);
    // Perform goes to the control itself, not through the window.
    probe.Perform(CM_MOUSELEAVE);
    EXPECT_EQ(hooked.size(), 1u);

    probe.RecreateWnd();
    EXPECT_EQ(hooked.back(), static_cast<unsigned>(WM_DESTROY));
    EXPECT_FALSE(IsWindow(first));
    EXPECT_TRUE(probe.HandleAllocated());
    EXPECT_NE(probe.Handle(), first);
    EXPECT_EQ(FindControl(probe.Handle()), &probe);
    EXPECT_EQ(FindControl(first), nullptr);
}

TEST(Controls, MouseClicksAndDoubleClicks)
{
    TWinControl parent(nullptr);
    parent.SetBounds(0, 0, 100, 100);
    TProbe probe(nullptr);
    probe.SetParent(&parent);
    probe.SetBounds(10, 10, 30, 30);
    parent.QWidget::show();
    std::vector<QString> log;
    probe.OnMouseDown = [&](TObject*, TMouseButton b, TShiftState s, int x, int y) {
        log.push_back(QStringLiteral("down %1 %2 %3,%4").arg(int(b)).arg(s.testFlag(ssDouble)).arg(x).arg(y));
    };
    probe.OnMouseUp = [&](TObject*, TMouseButton b, TShiftState, int x, int y) {
        log.push_back(QStringLiteral("up %1 %2,%3").arg(int(b)).arg(x).arg(y));
    };
    probe.OnClick = [&](TObject* sender) { log.push_back(sender == &probe ? "click" : "click?"); };
    probe.OnDblClick = [&](TObject*) { log.push_back("dblclick"); };

    QTest::mouseClick(&probe, Qt::LeftButton, {}, QPoint(5, 6));
    QTest::mouseClick(&probe, Qt::RightButton, {}, QPoint(1, 2));
    // As the window system delivers a double-click: press, release, press, double-click, release.
    QTest::mouseClick(&probe, Qt::LeftButton, {}, QPoint(3, 3));
    QTest::mousePress(&probe, Qt::LeftButton, {}, QPoint(3, 3));
    QTest::mouseDClick(&probe, Qt::LeftButton, {}, QPoint(3, 3));
    QTest::mouseRelease(&probe, Qt::LeftButton, {}, QPoint(3, 3));
    // The release that ends a double-click is no click of its own.
    EXPECT_EQ(log, (std::vector<QString>{"down 0 0 5,6", "up 0 5,6", "click", "down 1 0 1,2", "up 1 1,2",
                       "down 0 0 3,3", "up 0 3,3", "click", "down 0 0 3,3", "dblclick", "down 0 1 3,3", "up 0 3,3"}));

    // Released outside the control: no click.
    log.clear();
    QTest::mousePress(&probe, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(&probe, Qt::LeftButton, {}, QPoint(50, 5));
    EXPECT_EQ(log, (std::vector<QString>{"down 0 0 5,5", "up 0 50,5"}));
}

TEST(Controls, AltLetterIsOfferedAsDialogCharAndKeysReachHandlersOrAreSwallowed)
{
    TWinControl form(nullptr);
    form.SetBounds(0, 0, 200, 100);
    TProbe edit(nullptr);
    edit.SetParent(&form);
    edit.SetBounds(0, 0, 50, 20);
    TGraphicProbe label(nullptr);
    label.SetParent(&form);
    label.SetCaption(QStringLiteral("&Name"));
    std::vector<uint16_t> keys;
    edit.OnKeyDown = [&](TObject*, uint16_t& key, TShiftState) { keys.push_back(key); };

    QTest::keyClick(&edit, Qt::Key_N, Qt::AltModifier);
    ASSERT_FALSE(label.Seen.empty());
    EXPECT_EQ(label.Seen.back(), static_cast<unsigned>(CM_DIALOGCHAR));
    // The label took it, so the focused control saw the Alt key only.
    EXPECT_EQ(keys, std::vector<uint16_t>{VK_MENU});
    QTest::keyClick(&edit, Qt::Key_Q, Qt::AltModifier);
    EXPECT_EQ(keys, (std::vector<uint16_t>{VK_MENU, VK_MENU, 'Q'}));

    // Keys reach the handlers, and a key-down handler can swallow the character.
    QString typed;
    edit.OnKeyDown = [&](TObject*, uint16_t& key, TShiftState shift) {
        if (key == VK_LEFT && shift.testFlag(ssShift))
            typed += QStringLiteral("<S");
        if (key == 'X')
            key = 0; // swallowed: no character follows
    };
    edit.OnKeyPress = [&](TObject*, QChar& key) { typed += key; };
    QTest::keyClicks(&edit, QStringLiteral("abx"));
    QTest::keyClick(&edit, Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(typed, QStringLiteral("ab<S"));
}

TEST(Controls, AlignLaysOutChildrenInOrder)
{
    TWinControl parent(nullptr);
    parent.SetBounds(0, 0, 200, 100);
    TProbe top(nullptr), bottom(nullptr), left(nullptr), client(nullptr);
    top.SetHeight(10);
    bottom.SetHeight(20);
    left.SetWidth(30);
    for (TControl* c : std::initializer_list<TControl*>{&client, &left, &bottom, &top})
        c->SetParent(&parent);
    top.SetAlign(alTop);
    bottom.SetAlign(alBottom);
    left.SetAlign(alLeft);
    client.SetAlign(alClient);
    EXPECT_EQ(top.BoundsRect(), Rect(0, 0, 200, 10));
    EXPECT_EQ(bottom.BoundsRect(), Rect(0, 80, 200, 100));
    EXPECT_EQ(left.BoundsRect(), Rect(0, 10, 30, 80));
    EXPECT_EQ(client.BoundsRect(), Rect(30, 10, 200, 80));

    parent.SetBounds(0, 0, 100, 50);
    EXPECT_EQ(client.BoundsRect(), Rect(30, 10, 100, 30));
    top.SetVisible(false);
    EXPECT_EQ(client.BoundsRect(), Rect(30, 0, 100, 30));
}

TEST(Controls, ParentColorAndFontFollowTheParentUntilSet)
{
    TWinControl parent(nullptr);
    TProbe child(nullptr);
    child.SetParent(&parent);
    parent.SetColor(clYellow);
    EXPECT_EQ(child.Color(), clYellow);
    EXPECT_TRUE(child.ParentColor());
    child.SetColor(clRed);
    EXPECT_FALSE(child.ParentColor());
    parent.SetColor(clBlue);
    EXPECT_EQ(child.Color(), clRed);
    child.SetParentColor(true);
    EXPECT_EQ(child.Color(), clBlue);

    parent.Font()->SetSize(20);
    EXPECT_EQ(child.Font()->Size(), 20);
    EXPECT_TRUE(child.ParentFont());
    child.Font()->SetSize(9);
    EXPECT_FALSE(child.ParentFont());
    parent.Font()->SetSize(11);
    EXPECT_EQ(child.Font()->Size(), 9);
}

TEST(Controls, PaintGoesIntoTheBackBufferAfterTheEraseAndGraphicControlsAreSeeThrough)
{
    TProbe probe(nullptr);
    probe.SetBounds(0, 0, 6, 6);
    probe.SetColor(clBlue);
    probe.Repaint();
    ASSERT_EQ(probe.BackBuffer().size(), QSize(6, 6));
    EXPECT_EQ(Px(probe.BackBuffer(), 0, 0), qRgb(0, 0, 255));
    EXPECT_EQ(Px(probe.BackBuffer(), 2, 2), qRgb(255, 0, 0));
    EXPECT_EQ(Px(probe.BackBuffer(), 4, 4), qRgb(0, 0, 255));
    EXPECT_EQ(probe.Count(WM_ERASEBKGND), 1);
    EXPECT_EQ(probe.Paints, 1);
    // Nothing marked: Update paints nothing again.
    probe.Update();
    EXPECT_EQ(probe.Paints, 1);
    // A new size paints again.
    probe.SetBounds(0, 0, 8, 6);
    probe.Update();
    EXPECT_EQ(probe.Paints, 2);
    EXPECT_EQ(probe.BackBuffer().size(), QSize(8, 6));

    // An opaque control is not erased first.
    probe.SetControlStyle(probe.ControlStyle() | csOpaque);
    probe.Repaint();
    EXPECT_EQ(probe.Count(WM_ERASEBKGND), 2);
    EXPECT_EQ(probe.Paints, 3);

    // A graphic control is see-through where it does not paint.
    TGraphicProbe graphic(nullptr);
    graphic.SetBounds(0, 0, 4, 4);
    graphic.Repaint();
    EXPECT_EQ(qAlpha(graphic.BackBuffer().pixel(1, 1)), 0);
}

TEST(Controls, DroppedFilesArriveAsWmDropFiles)
{
    TProbe probe(nullptr);
    DragAcceptFiles(probe.Handle(), true);
    EXPECT_TRUE(probe.acceptDrops());
    QStringList names;
    TPoint where;
    HDROP seenDrop;
    TWndMethod previous;
    previous = SetWindowProc(probe.Handle(), [&](TMessage& m) {
        if (m.Msg == WM_DROPFILES) {
            seenDrop = DropFromWParam(m.WParam);
            const unsigned count = DragQueryFileCount(seenDrop);
            for (unsigned i = 0; i <= count; ++i) {
                QString name;
                if (DragQueryFile(seenDrop, i, name) != 0)
                    names.append(name);
            }
            DragQueryPoint(seenDrop, where);
        }
        CallWindowProc(previous, m);
    });
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile("/tmp/a.txt"), QUrl(QStringLiteral("https://example.org/x")),
        QUrl::fromLocalFile("/tmp/b c.gif")});
    // Qt routes drops only during a real drag; the handlers are called as Qt would.
    QDragEnterEvent enter(QPoint(7, 9), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    probe.dragEnterEvent(&enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(7, 9), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    probe.dropEvent(&drop);
    EXPECT_EQ(names, (QStringList{"/tmp/a.txt", "/tmp/b c.gif"}));
    EXPECT_EQ(where, Point(7, 9));
    // The drop is freed once the message was handled.
    EXPECT_EQ(DragQueryFileCount(seenDrop), 0u);
}
