// The splitter window's pane arithmetic (sizes worked out by hand in the comments), bar
// drags through real mouse events, the inverted feedback checked on pixels, form-file
// round trips and the designer's verbs.
#include "layout/qvsplitterwindow.h"
#include "package/package.h"
#include "vcl/controls/forms.h"
#include "vcl/streaming/formfile.h"

#include <QApplication>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QTest>
#include <gtest/gtest.h>

using namespace vcl;
using namespace Qvsplitterwindow;

namespace {

std::vector<int> Sizes(const TqvSplitterWindow& W)
{
    std::vector<int> sizes;
    for (int i = 0; i < W.GetNumPanes(); ++i)
        sizes.push_back(W.GetPane(i)->PaneSize());
    return sizes;
}

// Panes that get their sizes before they join, as when read from a form file.
void AddPanes(TqvSplitterWindow& W, TComponent* Owner, std::initializer_list<int> Sizes)
{
    for (int size : Sizes) {
        auto* pane = new TPane(Owner);
        pane->SetPaneSize(quint16(size));
        pane->SetSplitterWnd(&W);
    }
    W.UpdatePaneRects();
}

// The automatic minimum: two scroll bar extents of the style.
int AutoMinimum()
{
    return 2 * QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
}

class Designer : public IDesigner {
public:
    explicit Designer(TComponent* Root) : FRoot(Root) {}
    TComponent* GetRoot() override { return FRoot; }
    QString UniqueName(const QString& BaseName) override { return DefaultUniqueName(FRoot, BaseName); }
    void SelectComponent(TComponent* Instance) override { Selected = Instance; }
    void Modified() override { ++ModifiedCount; }
    TComponent* Selected = nullptr;
    int ModifiedCount = 0;

private:
    TComponent* FRoot;
};

} // namespace

// Thickness 3: half a bar before a bar is Trunc(1.5) = 1, after it Round(1.5) = 2.
TEST(QvSplitterWindow, PanesFillTheWindowScaleOnResizeAndKeepTheirProportionsWhenTurned)
{
    TqvSplitterWindow w(nullptr);
    AddPanes(w, &w, {100, 100, 200});
    // Pane 0: 0 .. 99; pane 1 starts 3 later, 100 - 3 wide; pane 2: 202, 200 - 2 wide.
    EXPECT_EQ(w.GetPane(0)->BoundsRect(), Rect(0, 0, 99, 200));
    EXPECT_EQ(w.GetPane(1)->BoundsRect(), Rect(102, 0, 199, 200));
    EXPECT_EQ(w.GetPane(2)->BoundsRect(), Rect(202, 0, 400, 200));
    w.SetWidth(800);
    EXPECT_EQ(Sizes(w), (std::vector<int>{200, 200, 400}));
    EXPECT_EQ(w.GetPane(2)->BoundsRect(), Rect(402, 0, 800, 200));

    w.SetProportionalResize(false);
    w.SetWidth(900);
    EXPECT_EQ(Sizes(w), (std::vector<int>{200, 200, 500})) << "only the last pane changes";
    w.SetWidth(350);
    EXPECT_EQ(Sizes(w), (std::vector<int>{200, 200, 0})) << "the last pane shrinks to nothing, never wraps round";

    // A new orientation carries the proportions over.
    TqvSplitterWindow turned(nullptr);
    AddPanes(turned, &turned, {200, 200});
    // 200 / 400 * 200 = 100 each; now stacked: heights 100 - 1 and 100 - 2, 3 apart.
    turned.SetOrientation(swHorizontal);
    EXPECT_EQ(Sizes(turned), (std::vector<int>{100, 100}));
    EXPECT_EQ(turned.GetPane(0)->BoundsRect(), Rect(0, 0, 400, 99));
    EXPECT_EQ(turned.GetPane(1)->BoundsRect(), Rect(0, 102, 400, 200));
    EXPECT_EQ(turned.Cursor(), crVSplit);

    TqvSplitterWindow empty(nullptr);
    empty.SetOrientation(swHorizontal);
    EXPECT_EQ(empty.Cursor(), crVSplit) << "the cursor follows also without panes";
}

TEST(QvSplitterWindow, PaneSizeArithmetic)
{
    const int m = AutoMinimum();
    struct Case { const char* Name; int Pane; int Value; std::vector<int> Expected; };
    const Case cases[] = {
        {"the last pane's size is not settable", 2, 50, {100, 100, 200}},
        // Room of pane 2: 200 - 3 - m; pane 1 stops at 100 + room, pane 2 keeps m + 3.
        {"a middle pane stops at its neighbour's minimum plus the bar", 1, 350, {100, 297 - m, m + 3}},
        {"a pane below its minimum is raised to it", 0, 5, {m, 200 - m, 200}},
        {"a size within the room is taken", 0, 150, {150, 50, 200}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TqvSplitterWindow w(nullptr);
        AddPanes(w, &w, {100, 100, 200});
        w.GetPane(c.Pane)->SetPaneSize(quint16(c.Value));
        EXPECT_EQ(Sizes(w), c.Expected);
    }

    TqvSplitterWindow w(nullptr);
    w.SetThickness(0);
    EXPECT_EQ(w.Thickness(), 1);
    AddPanes(w, &w, {10});
    w.GetPane(0)->SetPaneSize(10);
    EXPECT_EQ(Sizes(w), std::vector<int>{400}) << "a lone pane takes the whole window";
}

TEST(QvSplitterWindow, EqualizeRemoveMoveAndZeroSizes)
{
    TqvSplitterWindow w(nullptr);
    AddPanes(w, &w, {100, 100, 200});
    // Round(400 / 3) = 133 twice, the last takes 134.
    w.ResetPaneSizes();
    EXPECT_EQ(Sizes(w), (std::vector<int>{133, 133, 134}));

    // 133 and 134 scaled to 400: Round(133 * 400 / 267) = 199, the last takes 201.
    TPane* middle = w.GetPane(1);
    delete middle;
    EXPECT_EQ(Sizes(w), (std::vector<int>{199, 201}));
    EXPECT_EQ(w.GetPane(1)->PaneIndex(), 1);

    w.GetPane(1)->SetPaneIndex(0);
    EXPECT_EQ(Sizes(w), (std::vector<int>{201, 199}));
    EXPECT_THROW(w.MovePane(0, 5), EInvalidOperation);

    TqvSplitterWindow zero(nullptr);
    AddPanes(zero, &zero, {0, 0, 0});
    zero.RecalculatePaneSizes(true);
    EXPECT_EQ(Sizes(zero), (std::vector<int>{0, 0, 400})) << "no proportions to keep, no division by zero";
}

// A shown 400 x 200 window with panes 100, 100, 200 and bars at x = 100 and 200.
class WindowDrag : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form.SetBounds(0, 0, 420, 240);
        Form.SetClientWidth(400);
        Form.SetClientHeight(200);
        Window = new TqvSplitterWindow(&Form);
        Window->SetParent(&Form);
        AddPanes(*Window, &Form, {100, 100, 200});
        for (int i = 0; i < 3; ++i)
            Window->GetPane(i)->SetColor(i == 1 ? clWhite : clNavy);
        Form.Show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Form));
    }

    QImage Grab() { return Window->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    TForm Form{nullptr};
    TqvSplitterWindow* Window = nullptr;
};

TEST_F(WindowDrag, DragsStopAtTheMinimumOfBothPanesAndNeedAllowSizing)
{
    const int m = AutoMinimum();
    // Bar 0 dragged far left stops at D(-1) + min = m.
    QTest::mousePress(Window, Qt::LeftButton, {}, QPoint(100, 50));
    QTest::mouseMove(Window, QPoint(2, 50));
    QTest::mouseRelease(Window, Qt::LeftButton, {}, QPoint(2, 50));
    EXPECT_EQ(Sizes(*Window), (std::vector<int>{m, 200 - m, 200}));

    // Bar 1 (now at 200) dragged to the far right: the clamp stops at 400 - m, and the
    // size rule keeps the bar's thickness for pane 2 as well: 400 - m - 3.
    QTest::mousePress(Window, Qt::LeftButton, {}, QPoint(200, 50));
    QTest::mouseMove(Window, QPoint(399, 50));
    QTest::mouseRelease(Window, Qt::LeftButton, {}, QPoint(399, 50));
    EXPECT_EQ(Sizes(*Window), (std::vector<int>{m, 397 - 2 * m, m + 3}));
    for (int i = 0; i < 3; ++i)
        EXPECT_GE(Window->GetPane(i)->PaneSize(), Window->GetMinimumPaneSize(i));
    // Without AllowSizing no drag starts.
    Window->SetAllowSizing(false);
    QTest::mousePress(Window, Qt::LeftButton, {}, QPoint(m + 1, 50));
    EXPECT_EQ(Window->DraggedBar(), -1);
    QTest::mouseRelease(Window, Qt::LeftButton, {}, QPoint(m + 1, 50));
}

// Bar 0's feedback at x = 150 covers 149 .. 152 (1 before, 2 after, and the far edge);
// a checkered bar inverts the pixels whose x + y is odd.
TEST_F(WindowDrag, FeedbackIsInvertedOverThePanesAndGoneAfterwards)
{
    const QImage before = Grab();
    std::vector<TRect> drawn;
    Window->OnDrawDragRect = [&](TObject*, const TRect& R, bool&) { drawn.push_back(R); };
    QTest::mousePress(Window, Qt::LeftButton, {}, QPoint(100, 50));
    QTest::mouseMove(Window, QPoint(150, 50));
    const QImage during = Grab();
    for (int x = 147; x < 155; ++x) {
        for (int y = 20; y < 23; ++y) {
            const bool inverted = x >= 149 && x < 153 && (x + y) % 2 == 1;
            EXPECT_EQ(during.pixel(x, y), inverted ? before.pixel(x, y) ^ 0x00FFFFFFu : before.pixel(x, y)) << x << "," << y;
        }
    }
    // Back to the start: nothing changes, and not one pixel differs from before.
    QTest::mouseMove(Window, QPoint(100, 50));
    QTest::mouseRelease(Window, Qt::LeftButton, {}, QPoint(100, 50));
    EXPECT_EQ(Sizes(*Window), (std::vector<int>{100, 100, 200}));
    EXPECT_EQ(Grab(), before);
    EXPECT_EQ(drawn, (std::vector<TRect>{Rect(99, 0, 103, 200), Rect(149, 0, 153, 200), Rect(99, 0, 103, 200)}));

    // Solid feedback inverts every pixel; a press beside the bars draws nothing.
    Window->SetBarStyle(sbSolid);
    QTest::mousePress(Window, Qt::LeftButton, {}, QPoint(200, 50));
    QTest::mouseMove(Window, QPoint(250, 50));
    EXPECT_EQ(Grab().pixel(250, 21), before.pixel(250, 21) ^ 0x00FFFFFFu);
    EXPECT_EQ(Grab().pixel(250, 22), before.pixel(250, 22) ^ 0x00FFFFFFu);
    QTest::mouseRelease(Window, Qt::LeftButton, {}, QPoint(250, 50));
    EXPECT_EQ(Sizes(*Window), (std::vector<int>{100, 150, 150}));
    drawn.clear();
    QTest::mouseClick(Window->GetPane(0), Qt::LeftButton, {}, QPoint(50, 50));
    EXPECT_TRUE(drawn.empty());
}

TEST_F(WindowDrag, EmptyPanesShowNoScrollBarsAndDesignedPanesSnapBack)
{
    // Each pane started as a 185 x 41 scroll box and shrank: no room is left to scroll.
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(Window->GetPane(i)->ScrollArea()->horizontalScrollBar()->isVisible()) << i;
        EXPECT_FALSE(Window->GetPane(i)->ScrollArea()->verticalScrollBar()->isVisible()) << i;
    }
    const TRect placed = Window->GetPane(1)->BoundsRect();
    Window->GetPane(1)->SetBounds(5, 5, 20, 20);
    EXPECT_EQ(Window->GetPane(1)->BoundsRect(), Rect(5, 5, 25, 25)) << "at run time a pane goes where it is put";
    Form.SetDesigning(true);
    Window->GetPane(1)->SetBounds(5, 5, 20, 20);
    EXPECT_EQ(Window->GetPane(1)->BoundsRect(), placed) << "in a designer it snaps back";
}

TEST(QvSplitterWindowStreaming, AFormSavesAndReloadsItsPanesInPaneOrder)
{
    Package::LoadPackage();
    {
        TForm form(nullptr);
        form.SetName(QStringLiteral("Form1"));
        auto* window = new TqvSplitterWindow(&form);
        window->SetName(QStringLiteral("Splitter"));
        window->SetParent(&form);
        AddPanes(*window, &form, {100, 100, 200});
        for (int i = 0; i < 3; ++i)
            window->GetPane(i)->SetName(QStringLiteral("Pane%1").arg(i + 1));
        // Pane3 first: the file holds the panes in pane order, not creation order.
        window->SetChildOrder(window->GetPane(2), 0);
        ASSERT_EQ(window->GetPane(0)->Name(), QStringLiteral("Pane3"));
        const QString text = ComponentToText(&form);
        EXPECT_LT(text.indexOf(QStringLiteral("object Pane3")), text.indexOf(QStringLiteral("object Pane1")));

        TForm copy(nullptr);
        TextToComponent(text, &copy);
        auto* read = dynamic_cast<TqvSplitterWindow*>(copy.FindComponent(QStringLiteral("Splitter")));
        ASSERT_NE(read, nullptr);
        EXPECT_EQ(Sizes(*read), (std::vector<int>{200, 100, 100}));
        EXPECT_EQ(read->GetPane(0)->Name(), QStringLiteral("Pane3"));
        EXPECT_EQ(read->GetPane(0)->Parent(), read);
        EXPECT_EQ(read->GetPane(2)->BoundsRect(), window->GetPane(2)->BoundsRect());
        EXPECT_EQ(ComponentToText(&copy), text);
    }
    Package::UnloadPackage();
}

TEST(QvSplitterWindowEditor, NewPaneAndEqualizePanes)
{
    Package::LoadPackage();
    {
        TForm form(nullptr);
        auto* window = new TqvSplitterWindow(&form);
        window->SetParent(&form);
        window->HandleNeeded();
        Designer designer(&form);
        auto editor = GetComponentEditor(window, &designer);
        ASSERT_EQ(editor->GetVerbCount(), 2);
        EXPECT_EQ(editor->GetVerb(0), QStringLiteral("New Pane"));
        EXPECT_EQ(editor->GetVerb(1), QStringLiteral("Equalize Panes"));
        // The first pane takes the window; later ones 75, the others scaled to the rest:
        // 400 - 75 = 325; then 325 and 75 scaled by 325 / 400 give 264 and 61.
        editor->ExecuteVerb(0);
        EXPECT_EQ(Sizes(*window), std::vector<int>{400});
        editor->ExecuteVerb(0);
        EXPECT_EQ(Sizes(*window), (std::vector<int>{325, 75}));
        auto paneEditor = GetComponentEditor(window->GetPane(1), &designer);
        paneEditor->ExecuteVerb(0);
        EXPECT_EQ(Sizes(*window), (std::vector<int>{264, 61, 75}));
        EXPECT_EQ(window->GetPane(2)->Name(), QStringLiteral("Pane3"));
        EXPECT_EQ(window->GetPane(2)->Owner(), &form);
        EXPECT_EQ(designer.Selected, window->GetPane(2));
        EXPECT_EQ(designer.ModifiedCount, 3);
        paneEditor->ExecuteVerb(1);
        EXPECT_EQ(Sizes(*window), (std::vector<int>{133, 133, 134}));

        // A pane outside any window: the verbs do nothing.
        TPane loose(&form);
        GetComponentEditor(&loose, &designer)->ExecuteVerb(0);
        EXPECT_EQ(window->GetNumPanes(), 3);
        EXPECT_EQ(designer.ModifiedCount, 3);
    }
    Package::UnloadPackage();
}
