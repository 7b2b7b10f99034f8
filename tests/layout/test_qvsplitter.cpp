// The collapsible splitter on a shown form, driven by real mouse and key events: drags
// clamped to MinSize, the inverted drag line (checked on pixels), Escape, and the
// one-click collapse and restore of its neighbour.
#include "layout/qvsplitter.h"
#include "vcl/controls/extctrls.h"
#include "vcl/controls/forms.h"
#include "vcl/controls/stdctrls.h"
#include "vcl/core/sysutils.h"
#include "vcl/graphics/canvas.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace vcl;
using Qvsplitter::TqvSplitter;

namespace {

// A 400 x 300 client area: a 100-pixel panel docked at Side, the splitter beside it, a
// panel filling the rest with an edit box holding the focus.
struct SplitterForm {
    TForm Form{nullptr};
    TPanel* Neighbour;
    TqvSplitter* Splitter;
    TPanel* Rest;
    TEdit* Edit;

    explicit SplitterForm(TAlign Side = alLeft)
    {
        Form.SetBounds(0, 0, 420, 340);
        Form.SetClientWidth(400);
        Form.SetClientHeight(300);
        Neighbour = new TPanel(&Form);
        Neighbour->SetParent(&Form);
        Neighbour->SetBounds(0, 0, 100, 100);
        Neighbour->SetAlign(Side);
        Splitter = new TqvSplitter(&Form);
        Splitter->SetParent(&Form);
        Splitter->SetAlign(Side);
        Rest = new TPanel(&Form);
        Rest->SetParent(&Form);
        Rest->SetAlign(alClient);
        Rest->SetColor(clWhite);
        Edit = new TEdit(&Form);
        Edit->SetParent(Rest);
        Edit->SetBounds(150, 10, 80, 20);
        Form.Show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&Form));
        Edit->SetFocus();
    }

    QImage Grab() { return Splitter->parentWidget()->grab().toImage().convertToFormat(QImage::Format_RGB32); }
};

QPoint Mid(const TqvSplitter* S, int Along)
{
    return S->Align() == alLeft || S->Align() == alRight ? QPoint(S->Width() / 2, Along) : QPoint(Along, S->Height() / 2);
}

void Drag(TqvSplitter* S, QPoint From, QPoint To)
{
    QTest::mousePress(S, Qt::LeftButton, {}, From);
    QTest::mouseMove(S, To);
    QTest::mouseRelease(S, Qt::LeftButton, {}, To);
}

} // namespace

// Expected sizes worked out by hand. Client width 400; the splitter is 7 wide; the
// largest size is 400 - MinSize 30 - (100 + 7) + 100 = 363.
TEST(QvSplitter, DragsResizeTheNeighbourWithinMinSizeAndTheRoom)
{
    struct Case { const char* Name; TAlign Side; int Move; int Expected; };
    const Case cases[] = {
        {"left, wider", alLeft, 50, 150},
        {"left, narrower than MinSize", alLeft, -90, 30},
        {"left, past the room", alLeft, 500, 363},
        {"right side grows leftward", alRight, -40, 140},
        {"top, taller", alTop, 60, 160},
        {"bottom, shorter than MinSize", alBottom, 95, 30},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        SplitterForm f(c.Side);
        const bool vertical = c.Side == alLeft || c.Side == alRight;
        const QPoint from = Mid(f.Splitter, 10);
        const QPoint to = from + (vertical ? QPoint(c.Move, 0) : QPoint(0, c.Move));
        Drag(f.Splitter, from, to);
        EXPECT_EQ(vertical ? f.Neighbour->Width() : f.Neighbour->Height(), c.Expected);
        EXPECT_FALSE(f.Splitter->Sizing());
    }
}

// The line is the splitter's rectangle moved by the drag, with every pixel whose x + y is
// odd inverted (rows of the pattern alternate 0x55 and 0xAA; a set bit inverts); when
// the drag ends, or Escape ends it, not one pixel differs from before.
TEST(QvSplitter, TheDragLineIsInvertedOverTheNeighbourAndLeavesNoTraceAfterReleaseOrEscape)
{
    SplitterForm f;
    const QImage before = f.Grab();
    QTest::mousePress(f.Splitter, Qt::LeftButton, {}, QPoint(3, 10));
    QTest::mouseMove(f.Splitter, QPoint(3 + 60, 10));
    const QImage during = f.Grab();
    // The line lies over x = 160 .. 166, on the white panel.
    for (int x = 158; x < 169; ++x) {
        for (int y = 40; y < 44; ++y) {
            const bool inverted = x >= 160 && x < 167 && (x + y) % 2 == 1;
            const QRgb expected = inverted ? (before.pixel(x, y) ^ 0x00FFFFFFu) : before.pixel(x, y);
            EXPECT_EQ(during.pixel(x, y), expected) << x << "," << y;
        }
    }
    QTest::mouseMove(f.Splitter, QPoint(3, 10));
    QTest::mouseRelease(f.Splitter, Qt::LeftButton, {}, QPoint(3, 10));
    EXPECT_EQ(f.Neighbour->Width(), 100);
    EXPECT_EQ(f.Grab(), before);

    // Escape ends the drag and gives the focused control its keys back.
    int seen = 0;
    f.Edit->OnKeyDown = [&](TObject*, uint16_t&, TShiftState) { ++seen; };
    QTest::mousePress(f.Splitter, Qt::LeftButton, {}, QPoint(3, 10));
    QTest::mouseMove(f.Splitter, QPoint(53, 10));
    QTest::keyClick(f.Edit, Qt::Key_A);
    EXPECT_EQ(seen, 1) << "other keys reach the edit's own handler during the drag";
    QTest::keyClick(f.Edit, Qt::Key_Escape);
    EXPECT_FALSE(f.Splitter->Sizing());
    EXPECT_EQ(f.Grab(), before);
    QTest::mouseRelease(f.Splitter, Qt::LeftButton, {}, QPoint(53, 10));
    EXPECT_EQ(f.Neighbour->Width(), 100);
    QTest::keyClick(f.Edit, Qt::Key_Escape);
    EXPECT_EQ(seen, 2) << "after the drag Escape is the edit's again";
}

// The handle of a 300-pixel splitter is 80 long and centred: 110 .. 190.
TEST(QvSplitter, OneClickOnTheHandleCollapsesTheNextRestores)
{
    SplitterForm f;
    int moved = 0;
    f.Splitter->OnMoved = [&](TObject*) { ++moved; };
    QTest::mouseClick(f.Splitter, Qt::LeftButton, {}, QPoint(3, 150));
    EXPECT_EQ(f.Neighbour->Width(), 0);
    EXPECT_EQ(f.Splitter->Left(), 0);
    EXPECT_EQ(f.Splitter->ClickOrientation(), Qvsplitter::coRight);
    EXPECT_EQ(moved, 2) << "once for the resize, once as sizing stops";
    QTest::mouseClick(f.Splitter, Qt::LeftButton, {}, QPoint(3, 150));
    EXPECT_EQ(f.Neighbour->Width(), 100);
    EXPECT_EQ(f.Splitter->ClickOrientation(), Qvsplitter::coLeft);

    // A drag out of the collapsed state points the arrows back to the docked side.
    QTest::mouseClick(f.Splitter, Qt::LeftButton, {}, QPoint(3, 150));
    ASSERT_EQ(f.Neighbour->Width(), 0);
    Drag(f.Splitter, QPoint(3, 10), QPoint(83, 10));
    EXPECT_EQ(f.Neighbour->Width(), 80);
    EXPECT_EQ(f.Splitter->ClickOrientation(), Qvsplitter::coLeft);
}

TEST(QvSplitter, CanResizeMayVetoOrShrinkButNotBelowMinSize)
{
    SplitterForm f;
    f.Splitter->OnCanResize = [](TObject*, int& NewSize, bool&) { NewSize = 5; };
    Drag(f.Splitter, QPoint(3, 10), QPoint(60, 10));
    EXPECT_EQ(f.Neighbour->Width(), 30);
    f.Splitter->OnCanResize = [](TObject*, int&, bool& Accept) { Accept = false; };
    Drag(f.Splitter, QPoint(3, 10), QPoint(60, 10));
    EXPECT_EQ(f.Neighbour->Width(), 30) << "a vetoed drag keeps the size from the press";
}

TEST(QvSplitter, PaintsTheRaisedHandleWithGripLinesWhereHandleAlignPutsIt)
{
    SplitterForm f;
    f.Splitter->Repaint();
    const QImage& image = f.Splitter->BackBuffer();
    const QRgb face = qRgb(192, 192, 192), shadow = qRgb(128, 128, 128), white = qRgb(255, 255, 255);
    // Handle 110 .. 190 on a 7-pixel strip: shadow outline at x = 0 and x = 6, highlight at
    // x = 1, grip lines at x = 3 (shadow) and x = 4 (highlight) from 122 to 177.
    EXPECT_EQ(image.pixel(3, 50) | 0xFF000000u, face);
    EXPECT_EQ(image.pixel(0, 150) | 0xFF000000u, shadow);
    EXPECT_EQ(image.pixel(6, 150) | 0xFF000000u, shadow);
    EXPECT_EQ(image.pixel(1, 150) | 0xFF000000u, white);
    EXPECT_EQ(image.pixel(3, 150) | 0xFF000000u, shadow);
    EXPECT_EQ(image.pixel(4, 150) | 0xFF000000u, white);
    EXPECT_EQ(image.pixel(4, 121) | 0xFF000000u, face) << "grip lines start 12 inside the handle";

    // Splitter length 300, handle 80: haLeft 2 .. 82, haCenter 150 - 40 = 110 .. 190,
    // haRight 300 - 80 - 2 = 218 .. 298.
    const std::pair<Qvsplitter::THandleAlign, TRect> cases[] = {
        {Qvsplitter::haLeft, Rect(0, 2, 7, 82)},
        {Qvsplitter::haCenter, Rect(0, 110, 7, 190)},
        {Qvsplitter::haRight, Rect(0, 218, 7, 298)},
    };
    for (const auto& [align, expected] : cases) {
        f.Splitter->SetHandleAlign(align);
        EXPECT_EQ(f.Splitter->HandleRect(), expected);
    }
}

TEST(QvSplitter, RefusesAlignmentsItCannotSplitAndSizesBelowOne)
{
    TqvSplitter splitter(nullptr);
    splitter.SetAlign(alTop);
    EXPECT_EQ(splitter.Cursor(), crVSplit);
    EXPECT_EQ(splitter.ClickOrientation(), Qvsplitter::coUp);
    EXPECT_EQ(splitter.Height(), 7) << "turned to the other axis it keeps its thickness";
    for (TAlign bad : {alNone, alClient}) {
        try {
            splitter.SetAlign(bad);
            ADD_FAILURE() << "accepted " << bad;
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), QStringLiteral("Value not allowed for TqvSplitter component."));
        }
        EXPECT_EQ(splitter.Align(), alTop);
    }
    EXPECT_THROW(splitter.SetMinSize(0), EInvalidOperation);
    EXPECT_THROW(splitter.SetHandleSize(-3), EInvalidOperation);
    EXPECT_EQ(splitter.MinSize(), 30);
    EXPECT_EQ(splitter.HandleSize(), 80);
}
