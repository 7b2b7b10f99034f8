// The tray icon's messages, events and menus, through its hidden window (the
// notification area's own protocol is driven in test_trayicon_protocol).
#include "system/qvtrayicon.h"
#include "controls/waituntil.h"
#include "vcl/controls/application.h"
#include "vcl/controls/forms.h"

#include <gtest/gtest.h>

using namespace Qvscontrols;
using vcl::TMouseButton;

namespace {

// Records every event of a tray icon as a word, in order.
struct TEventLog {
    QStringList Events;

    void Attach(TqvTrayIcon& Icon)
    {
        const auto button = [](TMouseButton b) { return b == vcl::mbLeft ? "left" : b == vcl::mbRight ? "right" : "middle"; };
        Icon.OnMouseDown = [this, button](vcl::TObject*, TMouseButton b, vcl::TShiftState, int, int) { Events << QString("down ") + button(b); };
        Icon.OnMouseUp = [this, button](vcl::TObject*, TMouseButton b, vcl::TShiftState, int, int) { Events << QString("up ") + button(b); };
        Icon.OnClick = [this](vcl::TObject*) { Events << "click"; };
        Icon.OnDblClick = [this](vcl::TObject*) { Events << "dblclick"; };
        Icon.OnRightClick = [this](vcl::TObject*, TMouseButton, vcl::TShiftState s, int, int) {
            Events << (s.testFlag(vcl::ssRight) ? "rightclick" : "rightclick without ssRight");
        };
        Icon.OnMidClick = [this](vcl::TObject*, TMouseButton, vcl::TShiftState, int, int) { Events << "midclick"; };
        Icon.OnRightDblClick = [this](vcl::TObject*, TMouseButton, vcl::TShiftState, int, int) { Events << "rightdblclick"; };
        Icon.OnleftMenu = [this](vcl::TObject*) { Events << "leftmenu"; };
        Icon.OnRightMenu = [this](vcl::TObject*) { Events << "rightmenu"; };
        Icon.OnMouseMove = [this](vcl::TObject*, vcl::TShiftState, int, int) { Events << "move"; };
    }
};

class TrayIcon : public ::testing::Test {
protected:
    void SetUp() override
    {
        vcl::Application()->SetMainForm(&Form);
        vcl::TPopupMenu::SetResponder([this](vcl::TPopupMenu* Menu, int, int) {
            Log.Events << (Menu == Left ? "popup left" : "popup right");
            return nullptr;
        });
        Icon = new TqvTrayIcon(&Form);
        Left = new vcl::TPopupMenu(&Form);
        Right = new vcl::TPopupMenu(&Form);
        Icon->SetLeftPopupMenu(Left);
        Icon->SetPopupMenu(Right);
        Log.Attach(*Icon);
    }
    void TearDown() override
    {
        vcl::TPopupMenu::SetResponder(nullptr);
        vcl::Application()->SetMainForm(nullptr);
    }
    void Mouse(std::initializer_list<unsigned> Messages)
    {
        for (unsigned message : Messages)
            vcl::SendMessage(Icon->Handle(), TqvTrayIcon::WM_TRAYCALLBACK, 0, message);
    }
    vcl::TMenuItem* AddItem(const QString& Caption, bool Default)
    {
        auto* item = new vcl::TMenuItem(&Form);
        item->SetCaption(Caption);
        item->SetDefault(Default);
        item->OnClick = [this, Caption](vcl::TObject*) { Log.Events << "item " + Caption; };
        Right->Items()->Add(item);
        return item;
    }

    vcl::TForm Form{nullptr};
    TqvTrayIcon* Icon = nullptr;
    vcl::TPopupMenu* Left = nullptr;
    vcl::TPopupMenu* Right = nullptr;
    TEventLog Log;
};

TEST_F(TrayIcon, PressAndReleaseGiveEventsInOrder)
{
    const struct {
        const char* Name;
        std::initializer_list<unsigned> Messages;
        QStringList Events;
    } cases[] = {
        {"left", {vcl::WM_LBUTTONDOWN, vcl::WM_LBUTTONUP}, {"down left", "click", "leftmenu", "popup left", "up left"}},
        {"left release alone", {vcl::WM_LBUTTONUP}, {"up left"}},
        {"right", {vcl::WM_RBUTTONDOWN, vcl::WM_RBUTTONUP}, {"down right", "rightclick", "rightmenu", "popup right", "up right"}},
        {"middle", {vcl::WM_MBUTTONDOWN, vcl::WM_MBUTTONUP}, {"down middle", "midclick", "up middle"}},
        {"right double click", {vcl::WM_RBUTTONDBLCLK}, {"rightdblclick"}},
        {"move", {vcl::WM_MOUSEMOVE}, {"move"}},
        {"other", {vcl::WM_KEYDOWN}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Log.Events.clear();
        Mouse(c.Messages);
        EXPECT_EQ(Log.Events, c.Events);
    }
    // A menu whose automatic popup is off is not shown, and neither is its event.
    Left->SetAutoPopup(false);
    Log.Events.clear();
    Mouse({vcl::WM_LBUTTONDOWN, vcl::WM_LBUTTONUP});
    EXPECT_EQ(Log.Events, (QStringList{"down left", "click", "up left"}));
    EXPECT_EQ(Right->PopupComponent(), Icon);
}

TEST_F(TrayIcon, DoubleClickRunsTheDefaultItemUnlessVetoed)
{
    AddItem("Open", false);
    AddItem("Show", true);
    Icon->SetDoDefaultMenu(true);
    // Not active: no default item runs.
    Mouse({vcl::WM_LBUTTONDBLCLK});
    EXPECT_EQ(Log.Events, QStringList{"dblclick"});
    Icon->SetActive(true);
    const struct {
        const char* Name;
        std::function<void(bool&)> Veto; // none: OnDefaultMenu unassigned
        QStringList Events;
    } cases[] = {
        {"no handler", {}, {"item Show"}},
        {"handler agrees", [](bool&) {}, {"item Show"}},
        {"handler vetoes", [](bool& DoDefault) { DoDefault = false; }, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Icon->OnDefaultMenu = nullptr;
        if (c.Veto)
            Icon->OnDefaultMenu = [&c](vcl::TObject*, bool& DoDefault) { c.Veto(DoDefault); };
        Log.Events.clear();
        Mouse({vcl::WM_LBUTTONDBLCLK});
        EXPECT_EQ(Log.Events, c.Events);
    }
    Right->Items()->Items(1)->SetDefault(false);
    Log.Events.clear();
    Mouse({vcl::WM_LBUTTONDBLCLK});
    EXPECT_EQ(Log.Events, QStringList{"dblclick"});
    Icon->SetActive(false);
}

TEST_F(TrayIcon, ToolTipMenusOwnersAndIconDataAsPngBytes)
{
    Icon->SetToolTip(QString(70, 't'));
    EXPECT_EQ(Icon->ToolTip(), QString(62, 't'));
    delete Right;
    EXPECT_EQ(Icon->PopupMenu(), nullptr);
    EXPECT_EQ(Icon->LeftPopupMenu(), Left);
    delete Left;
    EXPECT_EQ(Icon->LeftPopupMenu(), nullptr);

    vcl::TComponent loose(nullptr);
    EXPECT_THROW(TqvTrayIcon{&loose}, vcl::EComponentError);
    EXPECT_THROW(TqvTrayIcon{nullptr}, vcl::EComponentError);

    // Icon data streams as PNG bytes: the eight signature bytes, and the same icon gives
    // the same bytes every time.
    TTrayIconImage image;
    QImage picture(16, 16, QImage::Format_ARGB32);
    picture.fill(qRgba(255, 0, 0, 255));
    image.AssignImage(picture);
    const QByteArray data = image.Data();
    EXPECT_EQ(data.left(8), QByteArray("\x89PNG\r\n\x1a\n", 8));
    EXPECT_EQ(image.Data(), data);
    TTrayIconImage copy;
    copy.SetData(data);
    EXPECT_EQ(copy.ToQImage().pixel(5, 5), qRgba(255, 0, 0, 255));
    EXPECT_ANY_THROW(copy.SetData("not an icon"));
    EXPECT_EQ(copy.Width(), 16);
    copy.SetData({});
    EXPECT_TRUE(copy.Empty());
}

TEST_F(TrayIcon, EndOfSessionIsAskedAndHideParentFormActsOnlyOffTheMainForm)
{
    EXPECT_EQ(vcl::SendMessage(Icon->Handle(), vcl::WM_QUERYENDSESSION, 0, 0), 1);
    Icon->OnAskEndSession = [](bool& DoEnd) { DoEnd = false; };
    EXPECT_EQ(vcl::SendMessage(Icon->Handle(), vcl::WM_QUERYENDSESSION, 0, 0), 0);
    vcl::TForm other(nullptr);
    TqvTrayIcon second(&other);
    second.OnAskEndSession = [](bool& DoEnd) { DoEnd = false; };
    // Not on the main form: not handled, the result stays 0 whatever the handler says.
    EXPECT_EQ(vcl::SendMessage(second.Handle(), vcl::WM_QUERYENDSESSION, 0, 0), 0);

    // HideParentForm acts on a secondary form. The constructor posts the hide-form
    // message: a secondary form is shown then.
    ASSERT_TRUE(WaitUntil([&] { return other.Visible(); }));
    second.SetHideParentForm(true);
    ASSERT_TRUE(WaitUntil([&] { return !other.Visible(); }));
    // The main form is never hidden.
    Form.Show();
    Icon->SetHideParentForm(true);
    vcl::Application()->ProcessMessages();
    EXPECT_TRUE(Form.Visible());
}

} // namespace
