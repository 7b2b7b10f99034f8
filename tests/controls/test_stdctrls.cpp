// Standard controls: labels with accelerators, buttons and modal results, edits and
// their key handlers, check boxes, panels, shapes and bevels on pixels, speed
// button groups, scroll boxes and progress bars.
#include "vcl/controls/buttons.h"
#include "vcl/controls/comctrls.h"
#include "vcl/controls/extctrls.h"
#include "vcl/controls/forms.h"
#include "vcl/controls/scrollbox.h"
#include "vcl/controls/stdctrls.h"
#include "vcl/graphics/bitmap.h"
#include "vcl/graphics/canvas.h"

#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace vcl;

namespace {

QRgb Px(const TControl& c, int x, int y)
{
    return c.BackBuffer().pixel(x, y) | 0xFF000000u;
}

const QRgb Shadow = qRgb(128, 128, 128);
const QRgb Highlight = qRgb(255, 255, 255);
const QRgb Face = qRgb(192, 192, 192);

} // namespace

TEST(StdCtrls, LabelSizesToItsTextFocusesOnItsAcceleratorAndPaintsItsColour)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 300, 200);
    TLabel label(nullptr);
    label.SetParent(&form);
    TEdit edit(nullptr);
    edit.SetParent(&form);
    edit.SetTop(40);
    label.SetFocusControl(&edit);
    label.SetCaption(QStringLiteral("&Name"));
    const int oneWord = label.Width();
    label.SetCaption(QStringLiteral("&Name of the file"));
    EXPECT_GT(label.Width(), oneWord);
    EXPECT_GT(label.Height(), 5);
    form.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    TMessage alt{CM_DIALOGCHAR, 'N', 0, 0};
    form.Broadcast(alt);
    EXPECT_EQ(alt.Result, 1);
    EXPECT_TRUE(edit.Focused());
    TMessage other{CM_DIALOGCHAR, 'X', 0, 0};
    form.Broadcast(other);
    EXPECT_EQ(other.Result, 0);

    // Its colour is painted unless it is transparent.
    label.SetAutoSize(false);
    label.SetBounds(0, 0, 40, 20);
    label.SetColor(clYellow);
    label.SetCaption(QString());
    label.Repaint();
    EXPECT_EQ(Px(label, 30, 10), qRgb(255, 255, 0));
    label.SetTransparent(true);
    label.Repaint();
    EXPECT_EQ(qAlpha(label.BackBuffer().pixel(30, 10)), 0);
}

TEST(StdCtrls, ButtonClicksAndSetsTheFormsModalResult)
{
    TForm form(nullptr);
    TButton ok(nullptr);
    ok.SetParent(&form);
    ok.SetCaption(QStringLiteral("&OK"));
    ok.SetModalResult(mrOk);
    TButton cancel(nullptr);
    cancel.SetParent(&form);
    cancel.SetCancel(true);
    cancel.SetModalResult(mrCancel);
    int clicks = 0;
    ok.OnClick = [&](TObject*) { ++clicks; };
    QTimer::singleShot(0, [&] { QTest::mouseClick(ok.Button(), Qt::LeftButton); });
    EXPECT_EQ(form.ShowModal(), mrOk);
    EXPECT_EQ(clicks, 1);
    // Escape clicks the cancel button; Alt+O the OK button.
    QTimer::singleShot(0, [&] { QTest::keyClick(ok.Button(), Qt::Key_Escape); });
    EXPECT_EQ(form.ShowModal(), mrCancel);
    QTimer::singleShot(0, [&] { QTest::keyClick(cancel.Button(), Qt::Key_O, Qt::AltModifier); });
    EXPECT_EQ(form.ShowModal(), mrOk);
    EXPECT_EQ(clicks, 2);
}

TEST(StdCtrls, EditKeepsTextInStepAndHandlersCanChangeKeys)
{
    TEdit edit(nullptr);
    auto* line = static_cast<QLineEdit*>(edit.InnerWidget());
    int changes = 0;
    edit.OnChange = [&](TObject*) { ++changes; };
    edit.SetText(QStringLiteral("abc"));
    EXPECT_EQ(line->text(), QStringLiteral("abc"));
    EXPECT_EQ(changes, 1);
    line->clear();
    EXPECT_EQ(edit.Text(), QString());
    EXPECT_EQ(changes, 2);
    // Upper-case every letter, drop digits.
    edit.OnKeyPress = [](TObject*, QChar& key) {
        if (key.isDigit())
            key = QChar();
        else
            key = key.toUpper();
    };
    QTest::keyClicks(line, QStringLiteral("a1b2"));
    EXPECT_EQ(edit.Text(), QStringLiteral("AB"));
    edit.SetMaxLength(3);
    QTest::keyClicks(line, QStringLiteral("cde"));
    EXPECT_EQ(edit.Text(), QStringLiteral("ABC"));
}

TEST(StdCtrls, MemoLinesAndCheckBoxClicks)
{
    TMemo memo(nullptr);
    memo.Lines()->SetQStringList({QStringLiteral("one"), QStringLiteral("two")});
    EXPECT_EQ(memo.Editor()->toPlainText(), QStringLiteral("one\ntwo"));
    memo.Editor()->setPlainText(QStringLiteral("x\ny\n"));
    EXPECT_EQ(memo.Lines()->ToQStringList(), (QStringList{"x", "y"}));

    TCheckBox box(nullptr);
    int clicks = 0;
    box.OnClick = [&](TObject*) { ++clicks; };
    box.SetChecked(true);
    box.SetChecked(true);
    EXPECT_EQ(clicks, 1);
    QTest::mouseClick(box.InnerWidget(), Qt::LeftButton, {}, QPoint(5, 8));
    EXPECT_FALSE(box.Checked());
    EXPECT_EQ(clicks, 2);
}

TEST(StdCtrls, PanelBevelsWithChildrenInsideThemAndScrollBoxesGrowToHoldTheirs)
{
    TPanel panel(nullptr);
    panel.SetBounds(0, 0, 40, 30);
    panel.SetBevelInner(bvLowered);
    panel.SetBorderWidth(2);
    panel.Repaint();
    // Raised outer bevel, two pixels of face, lowered inner bevel.
    EXPECT_EQ(Px(panel, 0, 10), Highlight);
    EXPECT_EQ(Px(panel, 39, 10), Shadow);
    EXPECT_EQ(Px(panel, 1, 10), Face);
    EXPECT_EQ(Px(panel, 3, 10), Shadow);
    EXPECT_EQ(Px(panel, 36, 10), Highlight);
    EXPECT_EQ(Px(panel, 20, 15), Face);
    TPanel child(nullptr);
    child.SetParent(&panel);
    child.SetAlign(alClient);
    EXPECT_EQ(child.BoundsRect(), Rect(4, 4, 36, 26));

    // A scroll box grows its range to hold its children.
    TScrollBox box(nullptr);
    box.SetBounds(0, 0, 100, 80);
    TPanel far(nullptr);
    far.SetParent(&box);
    far.SetBounds(150, 200, 30, 30);
    const QSize range = box.ScrollRange();
    EXPECT_EQ(range.width(), 180);
    EXPECT_EQ(range.height(), 230);
    EXPECT_EQ(far.parentWidget(), box.ScrollArea()->widget());
}

TEST(StdCtrls, ShapesBevelsPaintBoxesAndImagesOnPixels)
{
    TShape circle(nullptr);
    circle.SetBounds(0, 0, 40, 20);
    circle.SetShape(stCircle);
    circle.Brush()->SetColor(clRed);
    circle.Repaint();
    // A circle 20 across, centred: (10..30) x (0..20).
    EXPECT_EQ(Px(circle, 20, 10), qRgb(255, 0, 0));
    EXPECT_EQ(Px(circle, 20, 0), qRgb(0, 0, 0));
    EXPECT_EQ(qAlpha(circle.BackBuffer().pixel(5, 10)), 0);

    TBevel bevel(nullptr);
    bevel.SetBounds(0, 0, 20, 10);
    bevel.SetShape(bsBottomLine);
    bevel.Repaint();
    EXPECT_EQ(Px(bevel, 10, 8), Shadow);
    EXPECT_EQ(Px(bevel, 10, 9), Highlight);
    bevel.SetStyle(bsRaised);
    bevel.SetShape(bsBox);
    bevel.Repaint();
    EXPECT_EQ(Px(bevel, 0, 5), Highlight);
    EXPECT_EQ(Px(bevel, 19, 5), Shadow);

    TPaintBox box(nullptr);
    box.SetBounds(0, 0, 10, 10);
    box.OnPaint = [&](TObject*) {
        box.Canvas()->Brush()->SetColor(clLime);
        box.Canvas()->FillRect(Rect(0, 0, 5, 5));
    };
    box.Repaint();
    EXPECT_EQ(Px(box, 2, 2), qRgb(0, 255, 0));

    TImage image(nullptr);
    image.SetBounds(0, 0, 8, 8);
    image.Picture()->SetSize(2, 2);
    image.Picture()->Canvas()->SetPixels(1, 1, clBlue);
    image.Repaint();
    EXPECT_EQ(Px(image, 1, 1), qRgb(0, 0, 255));
    EXPECT_EQ(qAlpha(image.BackBuffer().pixel(5, 5)), 0);
    image.SetStretch(true);
    image.Repaint();
    // Stretched four times: the blue pixel covers (4..8, 4..8).
    EXPECT_EQ(Px(image, 6, 6), qRgb(0, 0, 255));
    EXPECT_EQ(Px(image, 2, 2), qRgb(255, 255, 255));
}

TEST(StdCtrls, SpeedButtonsOfAGroupStayDownOneAtATime)
{
    TPanel bar(nullptr);
    bar.SetBounds(0, 0, 100, 30);
    TSpeedButton a(nullptr), b(nullptr), solo(nullptr);
    for (TSpeedButton* button : {&a, &b, &solo})
        button->SetParent(&bar);
    a.SetGroupIndex(1);
    b.SetGroupIndex(1);
    b.SetLeft(30);
    int clicks = 0;
    a.OnClick = [&](TObject*) { ++clicks; };
    a.SetDown(true);
    EXPECT_TRUE(a.Down());
    b.SetDown(true);
    EXPECT_FALSE(a.Down());
    // Without AllowAllUp the down button stays down when clicked again.
    QTest::mouseClick(&b, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(b.Down());
    QTest::mouseClick(&a, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(a.Down());
    EXPECT_FALSE(b.Down());
    EXPECT_EQ(clicks, 1);
    solo.SetDown(true);
    EXPECT_FALSE(solo.Down());
    a.Repaint();
    // Down: a sunken edge (shadow top-left).
    EXPECT_EQ(Px(a, 0, 10), Shadow);

    // The accelerator mark is not drawn: "&Yes" paints as "Yes" does.
    a.SetCaption(QStringLiteral("&Yes"));
    a.Repaint();
    const QImage marked = a.BackBuffer().copy();
    a.SetCaption(QStringLiteral("Yes"));
    a.Repaint();
    EXPECT_EQ(marked, a.BackBuffer());
}

TEST(StdCtrls, ProgressAndScrollBars)
{
    TProgressBar bar(nullptr);
    bar.SetPosition(250);
    EXPECT_EQ(bar.Position(), 100);
    bar.SetPosition(95);
    bar.StepIt();
    EXPECT_EQ(bar.Position(), 0);
    bar.StepBy(30);
    EXPECT_EQ(bar.Position(), 30);

    TScrollBar scroll(nullptr);
    int changes = 0;
    scroll.OnChange = [&](TObject*) { ++changes; };
    scroll.SetParams(40, 0, 50);
    EXPECT_EQ(scroll.Position(), 40);
    EXPECT_EQ(changes, 1);
    scroll.SetPosition(70);
    EXPECT_EQ(scroll.Position(), 50);
}
