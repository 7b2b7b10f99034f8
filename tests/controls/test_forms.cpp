// Forms: closing and modal results, the drawn frame and its mouse handling, window
// procedure hooks across a re-created window, the application's window and timers.
#include "vcl/controls/application.h"
#include "vcl/controls/forms.h"
#include "vcl/controls/menus.h"
#include "vcl/controls/systemmetrics.h"
#include "vcl/controls/timers.h"
#include "vcl/controls/winuser.h"
#include "vcl/core/sysutils.h"
#include "vcl/graphics/canvas.h"

#include <QMenuBar>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include "waituntil.h"

#include <gtest/gtest.h>

using namespace vcl;

namespace {

QPoint Centre(const TRect& r)
{
    return QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
}

// The private message a title-bar component posts to the application to re-hook a
// form whose window was re-created.
constexpr unsigned RehookMessage = 0x498C;

} // namespace

TEST(Forms, CloseQueryAndCloseActionsDecideWhatHappens)
{
    struct Case { TCloseAction action; bool visible; bool alive; TWindowState state; };
    const Case cases[] = {
        {caNone, true, true, wsNormal},
        {caHide, false, true, wsNormal},
        {caMinimize, true, true, wsMinimized},
        {caFree, false, false, wsNormal},
    };
    for (const Case& c : cases) {
        auto* form = new TForm(nullptr);
        QPointer<TForm> watch(form);
        int closes = 0;
        form->OnClose = [&](TObject*, TCloseAction& action) {
            ++closes;
            EXPECT_EQ(action, caHide);
            action = c.action;
        };
        form->Show();
        form->Close();
        EXPECT_EQ(closes, 1);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(!watch.isNull(), c.alive) << int(c.action);
        if (watch) {
            EXPECT_EQ(form->Visible(), c.visible) << int(c.action);
            EXPECT_EQ(form->WindowState(), c.state) << int(c.action);
            delete form;
        }
    }
    // OnCloseQuery can refuse: then OnClose is not called.
    TForm form(nullptr);
    bool allow = false;
    int closes = 0;
    form.OnCloseQuery = [&](TObject*, bool& canClose) { canClose = allow; };
    form.OnClose = [&](TObject*, TCloseAction&) { ++closes; };
    form.Show();
    form.Close();
    EXPECT_TRUE(form.Visible());
    EXPECT_EQ(closes, 0);
    allow = true;
    form.Close();
    EXPECT_FALSE(form.Visible());
    EXPECT_EQ(closes, 1);
}

TEST(Forms, ShowModalReturnsTheModalResult)
{
    TForm form(nullptr);
    int queries = 0;
    form.OnCloseQuery = [&](TObject*, bool& canClose) { canClose = ++queries > 1; };
    std::vector<QString> shown;
    form.OnShow = [&](TObject*) { shown.push_back("show"); };
    form.OnHide = [&](TObject*) { shown.push_back("hide"); };
    // The first result is refused by OnCloseQuery, so the form stays up for the second.
    QTimer::singleShot(0, [&] {
        form.SetModalResult(mrYes);
        QTimer::singleShot(0, [&] {
            EXPECT_TRUE(form.Visible());
            EXPECT_EQ(form.ModalResult(), mrNone);
            form.SetModalResult(mrNo);
        });
    });
    EXPECT_EQ(form.ShowModal(), mrNo);
    EXPECT_FALSE(form.Visible());
    EXPECT_EQ(queries, 2);
    EXPECT_EQ(shown, (std::vector<QString>{"show", "hide"}));

    // Close while modal gives mrCancel; a visible form cannot be made modal.
    QTimer::singleShot(0, [&] { form.Close(); });
    EXPECT_EQ(form.ShowModal(), mrCancel);
    form.Show();
    EXPECT_THROW(form.ShowModal(), EInvalidOperation);
}

TEST(Forms, ClientAreaSitsInsideTheFrameAndAlertsBeep)
{
    TForm form(nullptr);
    form.SetBounds(10, 20, 300, 200);
    EXPECT_EQ(form.ClientAreaRect(), Rect(4, 24, 296, 196));
    EXPECT_EQ(form.ClientWidth(), 292);
    EXPECT_EQ(form.ClientHeight(), 172);
    TRect client = Rect(-1, -1, -1, -1);
    ASSERT_TRUE(GetClientRect(form.Handle(), client));
    EXPECT_EQ(client, Rect(0, 0, 292, 172)); // 300 - 2 * 4 wide, 200 - 24 - 4 high
    TRect untouched = Rect(1, 2, 3, 4);
    EXPECT_FALSE(GetClientRect(HWND(), untouched));
    EXPECT_EQ(untouched, Rect(1, 2, 3, 4));
    TCustomControl child(nullptr);
    child.SetParent(&form);
    child.SetAlign(alClient);
    EXPECT_EQ(child.BoundsRect(), Rect(0, 0, 292, 172));
    form.SetBorderStyle(bsNone);
    EXPECT_EQ(form.ClientAreaRect(), Rect(0, 0, 300, 200));
    EXPECT_EQ(child.BoundsRect(), Rect(0, 0, 300, 200));
    form.SetClientWidth(100);
    EXPECT_EQ(form.Width(), 100);

    std::vector<UINT> beeps;
    const TBeepHandler previous = SetBeepHandler([&](UINT type) { beeps.push_back(type); });
    EXPECT_TRUE(MessageBeep(MB_ICONEXCLAMATION));
    EXPECT_TRUE(MessageBeep(MB_SIMPLEBEEP));
    SetBeepHandler(previous);
    EXPECT_EQ(beeps, (std::vector<UINT>{MB_ICONEXCLAMATION, MB_SIMPLEBEEP}));
}

TEST(Forms, GetDCExInvertsAboveTheChildControls)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 200, 150);
    TCustomControl panel(nullptr), child(nullptr);
    panel.SetParent(&form);
    panel.SetBounds(0, 0, 100, 100);
    panel.SetColor(clWhite);
    child.SetParent(&panel);
    child.SetBounds(10, 10, 20, 20);
    child.SetColor(clRed);
    form.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    auto pixel = [&](int x, int y) { return panel.grab().toImage().pixel(x, y) & 0xFFFFFF; };

    HDC dc = GetDCEx(panel.Handle(), nullptr, DCX_CACHE | DCX_PARENTCLIP);
    ASSERT_NE(dc, nullptr);
    PatBlt(dc, 0, 0, 50, 50, DSTINVERT);
    EXPECT_EQ(ReleaseDC(panel.Handle(), dc), 1);
    EXPECT_EQ(pixel(15, 15), 0x00FFFFu); // red of the child, inverted
    EXPECT_EQ(pixel(5, 5), 0x000000u);   // white of the panel, inverted
    EXPECT_EQ(pixel(60, 60), 0xFFFFFFu); // outside the figure
    // The same figure again gives back what was there.
    dc = GetDCEx(panel.Handle(), nullptr, DCX_CACHE | DCX_PARENTCLIP);
    PatBlt(dc, 0, 0, 50, 50, DSTINVERT);
    EXPECT_EQ(ReleaseDC(panel.Handle(), dc), 1);
    EXPECT_EQ(pixel(15, 15), 0xFF0000u);
    EXPECT_EQ(pixel(5, 5), 0xFFFFFFu);
    EXPECT_EQ(GetDCEx(HWND(), nullptr, 0), nullptr);
}

TEST(Forms, SystemMetricsMatchTheDrawnFrame)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 300, 200);
    form.SetColor(RGB(1, 2, 3));
    form.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    const QImage window = form.GrabWindow().convertToFormat(QImage::Format_RGB32);
    const QRgb client = qRgb(1, 2, 3);
    // Measured on the pixels: the left frame, the title bar's rows in the middle
    // column (the bar's colour changes along a row, never down a column), and the
    // close button's extent in the bar.
    int left = 0;
    while (window.pixel(left, 100) != client)
        ++left;
    int clientTop = 0;
    while (window.pixel(150, clientTop) != client)
        ++clientTop;
    int barTop = clientTop - 1;
    while (window.pixel(150, barTop - 1) == window.pixel(150, clientTop - 1))
        --barTop;
    const int barRow = barTop + (clientTop - barTop) / 2;
    const QRgb bar = window.pixel(150, barRow);
    int buttonRight = window.width() - left - 1;
    while (window.pixel(buttonRight, barRow) == bar)
        --buttonRight;
    int buttonLeft = buttonRight;
    while (window.pixel(buttonLeft - 1, barRow) != bar)
        --buttonLeft;
    int buttonTop = barRow, buttonBottom = barRow;
    while (window.pixel(buttonLeft, buttonTop - 1) != bar)
        --buttonTop;
    while (window.pixel(buttonLeft, buttonBottom + 1) != bar)
        ++buttonBottom;

    EXPECT_EQ(left, GetSystemMetrics(SM_CXFRAME));
    EXPECT_EQ(barTop, GetSystemMetrics(SM_CYFRAME));
    // The caption metric counts the line below the bar, which here is the bar's last row.
    EXPECT_EQ(clientTop - barTop, GetSystemMetrics(SM_CYCAPTION) - 1);
    EXPECT_EQ(buttonRight - buttonLeft + 1, GetSystemMetrics(SM_CXSIZE) - 2);
    EXPECT_EQ(buttonBottom - buttonTop + 1, GetSystemMetrics(SM_CYSIZE));
}

TEST(Forms, HitTestFindsButtonsCaptionAndEdges)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 300, 200);
    const TRect close = form.CaptionButtonRect(HTCLOSE);
    const TRect max = form.CaptionButtonRect(HTMAXBUTTON);
    const TRect min = form.CaptionButtonRect(HTMINBUTTON);
    ASSERT_FALSE(close.IsEmpty());
    EXPECT_LT(max.Right, close.Left + 1);
    EXPECT_LE(min.Right, max.Left);
    struct Case { TPoint p; int hit; };
    const Case cases[] = {
        {TPoint::FromQPoint(Centre(close)), HTCLOSE},
        {TPoint::FromQPoint(Centre(max)), HTMAXBUTTON},
        {TPoint::FromQPoint(Centre(min)), HTMINBUTTON},
        {Point(100, 10), HTCAPTION},
        {Point(100, 100), HTCLIENT},
        {Point(1, 100), HTLEFT},
        {Point(298, 100), HTRIGHT},
        {Point(100, 1), HTTOP},
        {Point(100, 199), HTBOTTOM},
        {Point(0, 0), HTTOPLEFT},
        {Point(299, 199), HTBOTTOMRIGHT},
        {Point(2, 190), HTBOTTOMLEFT},
        {Point(290, 2), HTTOPRIGHT},
        {Point(300, 100), HTNOWHERE},
    };
    for (const Case& c : cases)
        EXPECT_EQ(form.HitTest(c.p), c.hit) << c.p.X << "," << c.p.Y;
    // A dialog frame has a close button only and cannot be sized.
    form.SetBorderStyle(bsDialog);
    EXPECT_TRUE(form.CaptionButtonRect(HTMAXBUTTON).IsEmpty());
    EXPECT_EQ(form.HitTest(Point(1, 100)), HTBORDER);
    form.SetBorderIcons(TBorderIcons());
    EXPECT_TRUE(form.CaptionButtonRect(HTCLOSE).IsEmpty());
}

TEST(Forms, CaptionButtonsWorkOnReleaseAndMoveAndResizeStartWithTheFirstMovement)
{
    TForm form(nullptr);
    form.SetBounds(50, 60, 300, 200);
    form.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    // A double click on the caption maximises; the maximise button then restores.
    const QPoint caption(100, 10);
    QTest::mousePress(&form, Qt::LeftButton, {}, caption);
    QTest::mouseRelease(&form, Qt::LeftButton, {}, caption);
    QTest::mouseDClick(&form, Qt::LeftButton, {}, caption);
    QTest::mouseRelease(&form, Qt::LeftButton, {}, caption);
    EXPECT_EQ(form.WindowState(), wsMaximized);
    QTest::mouseClick(&form, Qt::LeftButton, {}, Centre(form.CaptionButtonRect(HTMAXBUTTON)));
    EXPECT_EQ(form.WindowState(), wsNormal);
    QTest::mouseClick(&form, Qt::LeftButton, {}, Centre(form.CaptionButtonRect(HTMAXBUTTON)));
    EXPECT_EQ(form.WindowState(), wsMaximized) << "the same button maximises";
    QTest::mouseClick(&form, Qt::LeftButton, {}, Centre(form.CaptionButtonRect(HTMAXBUTTON)));
    EXPECT_EQ(form.WindowState(), wsNormal);
    // Moving and sizing start with the first movement. The offscreen platform cannot
    // move windows itself: the form follows the mouse.
    QTest::mousePress(&form, Qt::LeftButton, {}, QPoint(100, 10));
    EXPECT_EQ(form.Left(), 50);
    QMouseEvent move(QEvent::MouseMove, QPointF(100, 10), form.mapToGlobal(QPointF(130, 50)), Qt::NoButton,
        Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&form, &move);
    EXPECT_EQ(form.Left(), 80);
    EXPECT_EQ(form.Top(), 100);
    QTest::mouseRelease(&form, Qt::LeftButton, {}, QPoint(100, 10));

    // The right edge: the width follows, never below the smallest width.
    const QPoint edge(298, 100);
    QTest::mousePress(&form, Qt::LeftButton, {}, edge);
    QMouseEvent wider(QEvent::MouseMove, QPointF(edge), form.mapToGlobal(QPointF(edge + QPoint(40, 0))), Qt::NoButton,
        Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&form, &wider);
    EXPECT_EQ(form.Width(), 340);
    QMouseEvent narrow(QEvent::MouseMove, QPointF(edge), form.mapToGlobal(QPointF(edge - QPoint(1000, 0))),
        Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&form, &narrow);
    EXPECT_GT(form.Width(), 100);
    QTest::mouseRelease(&form, Qt::LeftButton, {}, edge);

    // Pressed on close but released elsewhere (the caption, at the first size): nothing happens.
    form.SetBounds(50, 60, 300, 200);
    bool closed = false;
    form.OnClose = [&](TObject*, TCloseAction&) { closed = true; };
    QTest::mousePress(&form, Qt::LeftButton, {}, Centre(form.CaptionButtonRect(HTCLOSE)));
    QTest::mouseRelease(&form, Qt::LeftButton, {}, QPoint(100, 10));
    EXPECT_FALSE(closed);
    QTest::mouseClick(&form, Qt::LeftButton, {}, Centre(form.CaptionButtonRect(HTCLOSE)));
    EXPECT_TRUE(closed);
    EXPECT_FALSE(form.Visible());
}

TEST(Forms, AHookPaintsTheTitleBarAndFollowsARecreatedWindow)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 200, 100);
    form.SetCaption(QStringLiteral("Hooked"));
    form.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));

    std::vector<unsigned> seen;
    TWndMethod previous;
    HWND hooked;
    // Subclasses the form's current window: paints the title bar red and re-hooks
    // through the application's window when the form's window is destroyed.
    std::function<void()> hook = [&] {
        hooked = form.Handle();
        previous = SetWindowProc(hooked, [&](TMessage& m) {
            seen.push_back(m.Msg);
            if (m.Msg == WM_NCPAINT) {
                CallWindowProc(previous, m);
                TCanvas* canvas = form.WindowCanvas();
                canvas->Brush()->SetColor(clRed);
                canvas->FillRect(form.CaptionRect());
                return;
            }
            if (m.Msg == WM_DESTROY)
                PostMessage(Application()->Handle(), RehookMessage, 0, 0);
            CallWindowProc(previous, m);
        });
    };
    const int appHook = Application()->HookMainWindow([&](TMessage& m) {
        if (m.Msg != RehookMessage)
            return false;
        hook();
        return true;
    });
    hook();
    form.RedrawFrame();
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), static_cast<unsigned>(WM_NCPAINT));
    const QImage painted = form.GrabWindow();
    EXPECT_EQ(painted.pixel(100, 10) | 0xFF000000u, qRgb(255, 0, 0));
    // The client area is the form's own.
    EXPECT_EQ(painted.pixel(100, 60) | 0xFF000000u, qRgb(192, 192, 192));

    const HWND before = form.Handle();
    seen.clear();
    form.SetBorderStyle(bsToolWindow);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front(), static_cast<unsigned>(WM_DESTROY));
    EXPECT_FALSE(IsWindow(before));
    // The posted message re-hooks the new window before it paints its frame.
    ASSERT_TRUE(WaitUntil([&] { return hooked == form.Handle(); }));
    ASSERT_TRUE(WaitUntil([&] { return std::count(seen.begin(), seen.end(), WM_NCPAINT) > 0; }));
    const QImage repainted = form.GrabWindow();
    EXPECT_EQ(repainted.pixel(100, 8) | 0xFF000000u, qRgb(255, 0, 0));
    Application()->UnhookMainWindow(appHook);
    SetWindowProc(form.Handle(), previous);
}

TEST(Forms, ActivationAndDesktopChangesReachTheWindowProcedure)
{
    TForm form(nullptr);
    TForm other(nullptr);
    form.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    form.activateWindow();
    ASSERT_TRUE(WaitUntil([&] { return form.Active(); }));
    std::vector<WPARAM> activations;
    std::vector<unsigned> seen;
    TWndMethod previous;
    previous = SetWindowProc(form.Handle(), [&](TMessage& m) {
        seen.push_back(m.Msg);
        if (m.Msg == WM_NCACTIVATE)
            activations.push_back(m.WParam);
        CallWindowProc(previous, m);
    });
    int activated = 0, deactivated = 0;
    form.OnActivate = [&](TObject*) { ++activated; };
    form.OnDeactivate = [&](TObject*) { ++deactivated; };
    other.Show();
    other.activateWindow();
    ASSERT_TRUE(WaitUntil([&] { return !form.Active(); }));
    form.activateWindow();
    ASSERT_TRUE(WaitUntil([&] { return form.Active(); }));
    EXPECT_EQ(activations, (std::vector<WPARAM>{0, 1}));
    EXPECT_EQ(activated, 1);
    EXPECT_EQ(deactivated, 1);
    // Desktop changes reach the window procedure too.
    QEvent palette(QEvent::ApplicationPaletteChange);
    QCoreApplication::sendEvent(&form, &palette);
    QEvent font(QEvent::ApplicationFontChange);
    QCoreApplication::sendEvent(&form, &font);
    EXPECT_NE(std::find(seen.begin(), seen.end(), WM_SYSCOLORCHANGE), seen.end());
    EXPECT_NE(std::find(seen.begin(), seen.end(), CM_SYSCOLORCHANGE), seen.end());
    EXPECT_NE(std::find(seen.begin(), seen.end(), WM_SETTINGCHANGE), seen.end());
    SetWindowProc(form.Handle(), previous);
}

TEST(Forms, PaintAndMenuBarUseTheClientArea)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 200, 150);
    form.SetColor(clWhite);
    form.OnPaint = [&](TObject*) {
        form.Canvas()->Brush()->SetColor(clBlue);
        form.Canvas()->FillRect(Rect(0, 0, 10, 10));
    };
    form.Update();
    EXPECT_EQ(form.ClientBackBuffer().pixel(5, 5) | 0xFF000000u, qRgb(0, 0, 255));
    EXPECT_EQ(form.ClientBackBuffer().pixel(50, 50) | 0xFF000000u, qRgb(255, 255, 255));

    TMainMenu menu(nullptr);
    auto* file = new TMenuItem(&menu);
    file->SetCaption(QStringLiteral("&File"));
    auto* quit = new TMenuItem(&menu);
    quit->SetCaption(QStringLiteral("E&xit"));
    int clicks = 0;
    quit->OnClick = [&](TObject*) { ++clicks; };
    file->Add(quit);
    menu.Items()->Add(file);
    const int clientBefore = form.ClientHeight();
    form.SetMenu(&menu);
    const int barHeight = menu.MenuBar()->sizeHint().height();
    EXPECT_GT(barHeight, 0);
    EXPECT_EQ(form.ClientHeight(), clientBefore - barHeight);
    ASSERT_EQ(menu.MenuBar()->actions().size(), 1);
    QMenu* sub = menu.MenuBar()->actions()[0]->menu();
    ASSERT_NE(sub, nullptr);
    sub->actions()[0]->trigger();
    EXPECT_EQ(clicks, 1);
    form.SetMenu(nullptr);
    EXPECT_EQ(form.ClientHeight(), clientBefore);
}

TEST(Application, HooksSeePostedMessagesAndCanBeRemoved)
{
    std::vector<WPARAM> first, second;
    const int a = Application()->HookMainWindow([&](TMessage& m) {
        if (m.Msg == WM_APP)
            first.push_back(m.WParam);
        return false;
    });
    const int b = Application()->HookMainWindow([&](TMessage& m) {
        if (m.Msg == WM_APP)
            second.push_back(m.WParam);
        return m.WParam == 2; // handled: the hooks before it do not see it
    });
    PostMessage(Application()->Handle(), WM_APP, 1, 0);
    PostMessage(Application()->Handle(), WM_APP, 2, 0);
    ASSERT_TRUE(WaitUntil([&] { return second.size() == 2; }));
    EXPECT_EQ(first, std::vector<WPARAM>{1});
    Application()->UnhookMainWindow(b);
    SendMessage(Application()->Handle(), WM_APP, 3, 0);
    EXPECT_EQ(second.size(), 2u);
    EXPECT_EQ(first.back(), 3u);
    Application()->UnhookMainWindow(a);
    EXPECT_EQ(SendMessage(Application()->Handle(), WM_QUERYENDSESSION, 0, 0), 1);
}

TEST(Application, TimersTickOnTheUiThread)
{
    TTimer timer(nullptr);
    int ticks = 0;
    timer.SetInterval(5);
    timer.OnTimer = [&](TObject* sender) {
        EXPECT_EQ(sender, &timer);
        if (++ticks == 3)
            timer.SetEnabled(false);
    };
    ASSERT_TRUE(WaitUntil([&] { return ticks >= 3; }));
    // A second timer of the same interval ticking twice leaves the first one time to
    // tick again, were it still on.
    TTimer witness(nullptr);
    int witnessTicks = 0;
    witness.SetInterval(5);
    witness.OnTimer = [&](TObject*) { ++witnessTicks; };
    ASSERT_TRUE(WaitUntil([&] { return witnessTicks >= 2; }));
    EXPECT_EQ(ticks, 3);
}

// Last: closing the main form ends the application.
TEST(Application, ClosingTheMainFormTerminates)
{
    int created = 0;
    struct TMyForm : TForm {
        using TForm::TForm;
    };
    TMyForm* form = Application()->CreateForm<TMyForm>();
    EXPECT_EQ(Application()->MainForm(), form);
    form->OnCreate = [&](TObject*) { ++created; };
    form->AfterConstruction();
    EXPECT_EQ(created, 0); // OnCreate ran once already, inside CreateForm
    form->Show();
    form->Close();
    EXPECT_TRUE(Application()->Terminated());
    delete form;
    EXPECT_EQ(Application()->MainForm(), nullptr);
}
