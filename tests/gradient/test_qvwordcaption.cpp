// TqvGradientCaption on real forms: the title bar's pixels (read from the form's back
// buffer after a non-client paint), the caption text rules, and the hooks across
// re-created windows and destruction orders. Expected pixels are worked out by hand
// from the forms' frame: a sizeable form W wide has its title bar at (4, 4)-(W-4, 24),
// buttons 18 wide in boxes inset by 2 (close at W-24, maximise W-42, minimise W-60),
// so the text area ends at W-66; the 16-pixel icon moves its left edge to 22.
#include "gradient/qvwordcaption.h"
#include "vcl/controls/application.h"
#include "vcl/controls/dialogs.h"
#include "vcl/controls/systemmetrics.h"
#include "controls/waituntil.h"
#include "vcl/core/sysutils.h"
#include "vcl/graphics/canvas.h"

#include <QFontMetrics>
#include <QPixmap>
#include <QPointer>
#include <gtest/gtest.h>

using namespace vcl;
using namespace Qvwordcaption;

namespace {

constexpr QRgb Red = 0xFFFF0000u, Green = 0xFF00FF00u, Blue = 0xFF0000FFu, Yellow = 0xFFFFFF00u;
constexpr QRgb Face = 0xFFC0C0C0u, Navy = 0xFF000080u, Grey = 0xFF808080u;
constexpr int BarTop = 4, BarBottom = 24, IconEnd = 22;

// A sizeable form with a yellow icon and a caption component, painted active.
struct CaptionForm {
    explicit CaptionForm(int Width = 300)
    {
        form.SetBounds(0, 0, Width, 100);
        QPixmap icon(16, 16);
        icon.fill(QColor(255, 255, 0));
        form.SetIcon(QIcon(icon));
        caption = new TqvGradientCaption(&form);
        caption->SetEnabled(geAlways);
        caption->SetColorLeftActive(clRed);
        caption->SetColorRightActive(clBlue);
    }
    void Paint(bool Active = true) { SendMessage(form.Handle(), WM_NCACTIVATE, Active ? 1 : 0, 0); }
    QRgb At(int X, int Y) const { return form.BackBuffer().pixel(X, Y) | 0xFF000000u; }
    int TextRight() const { return form.Width() - 66; }
    // How many pixels of the title bar's text area (right of the icon) have colour C.
    int Count(QRgb C, int From = IconEnd, int To = -1) const
    {
        int n = 0;
        for (int y = BarTop; y < BarBottom; ++y)
            for (int x = From; x < (To < 0 ? form.Width() - 4 : To); ++x)
                n += At(x, y) == C;
        return n;
    }
    // The leftmost and rightmost columns holding colour C in the title bar.
    std::pair<int, int> Extent(QRgb C) const
    {
        int first = -1, last = -1;
        for (int x = 0; x < form.Width(); ++x)
            for (int y = BarTop; y < BarBottom; ++y)
                if (At(x, y) == C) {
                    first = first < 0 ? x : first;
                    last = x;
                }
        return {first, last};
    }
    void SetTexts(const QString& Company, const QString& AppName, const QString& Caption)
    {
        caption->CompanyText()->SetCaption(Company);
        caption->CompanyText()->SetColorActive(clRed);
        caption->AppNameText()->SetCaption(AppName);
        caption->AppNameText()->SetColorActive(clLime);
        caption->CaptionText()->SetCaption(Caption);
        caption->CaptionText()->SetColorActive(clBlue);
    }

    TForm form{nullptr};
    TqvGradientCaption* caption;
};

} // namespace

TEST(GradientCaption, RampBandsStartAndEndWithTheirColours)
{
    struct Case { int width, numColors; int x; QRgb expected; const char* why; };
    // A 300-wide form: the ramp covers x 4..233 (230 pixels), the icon then 6..21.
    // A 100-wide form: x 4..33 (30 pixels), fewer than 256 bands.
    const Case cases[] = {
        {300, 1, 4, Red, "one band: all left colour"},
        {300, 1, 233, Red, "one band: all left colour"},
        {300, 2, 118, Red, "two bands: 4 + MulDiv(1, 230, 2) = 119 starts the right half"},
        {300, 2, 119, Blue, "two bands"},
        {100, 256, 4, Red, "first pixel is the left colour"},
        {100, 256, 33, Blue, "last pixel is the right colour"},
        // One band per pixel: pixel 4 + 15 has R = 255 + MulDiv(15, -255, 29) = 123,
        // B = MulDiv(15, 255, 29) = 132.
        {100, 256, 19, qRgb(123, 0, 132), "bands of one pixel"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        CaptionForm f(c.width);
        f.caption->SetNumColors(c.numColors);
        f.Paint();
        EXPECT_EQ(f.At(c.x, BarBottom - 2), c.expected) << c.x;
    }
}

TEST(GradientCaption, ButtonsAndIconAreNotCoveredByTheRamp)
{
    CaptionForm f;
    f.Paint();
    EXPECT_EQ(f.At(8, 8), Yellow) << "the form's icon at (6, 5)";
    // Inside the minimise (240..258), maximise (258..276) and close (276..294) buttons,
    // away from their glyphs.
    EXPECT_EQ(f.At(244, 8), Face);
    EXPECT_EQ(f.At(266, 13), Face);
    EXPECT_EQ(f.At(278, 8), Face);
    // Between the text area and the buttons: the right colour.
    EXPECT_EQ(f.At(236, 12), Blue);
    // A press on the close button sinks it (dark outer edge top-left), a release raises it.
    SendMessage(f.form.Handle(), WM_NCLBUTTONDOWN, HTCLOSE, 0);
    EXPECT_EQ(f.At(276, 6), ToQColor(cl3DDkShadow).rgb());
    EXPECT_EQ(f.At(258, 6), ToQColor(cl3DLight).rgb()) << "the maximise button stays up";
    SendMessage(f.form.Handle(), WM_NCLBUTTONUP, HTNOWHERE, 0);
    EXPECT_EQ(f.At(276, 6), ToQColor(cl3DLight).rgb());
    // The frame outside the title bar is the form's own.
    EXPECT_EQ(f.At(150, 2), Face);
}

TEST(GradientCaption, TextsThatDoNotFitDropCompanyFirstThenApplication)
{
    struct Case { int width; bool company, appName; const char* why; };
    // Bold 12-pixel texts: "WWWWWWWWWWWW" is well over 120 pixels, "App" and "Doc"
    // about 25 each; the text area is width - 88 pixels wide.
    const Case cases[] = {
        {500, true, true, "412 pixels: all three fit"},
        {220, false, true, "132 pixels: the company text goes"},
        {120, false, false, "32 pixels: only the caption, cut with an ellipsis"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        CaptionForm f(c.width);
        f.caption->SetEnabled(geNever);
        f.SetTexts("WWWWWWWWWWWW", "App", "Doc");
        f.Paint();
        EXPECT_EQ(f.Count(Red) > 0, c.company);
        EXPECT_EQ(f.Count(Green) > 0, c.appName);
        EXPECT_GT(f.Count(Blue), 0);
        EXPECT_EQ(f.Count(Blue, f.TextRight()), 0) << "nothing beyond the text area";
    }
}

TEST(GradientCaption, JustificationPlacesTheTexts)
{
    // The text's advance as Qt measures it; the text fills advance + 3 of the area, and
    // its first inked column keeps its distance from where the text starts.
    struct Case { TJustification justification; bool newStyle; int shiftHalves; };
    // shiftHalves: how many halves of the free width (area - advance - 3) go before it.
    const Case cases[] = {
        {jLeft, true, 0}, {jAuto, true, 0}, {jCenter, true, 1}, {jRight, true, 2}, {jAuto, false, 1}, {jLeft, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(int(c.justification)) + (c.newStyle ? " new" : " old"));
        SetNewStyleCaptions(c.newStyle);
        auto probe = [&](TJustification j) {
            CaptionForm f;
            f.caption->SetEnabled(geNever);
            f.caption->SetJustification(j);
            f.SetTexts("", "", "Doc");
            // Hidden: a visible empty text still takes its 3 pixels of the width.
            f.caption->CompanyText()->SetVisible(false);
            f.caption->AppNameText()->SetVisible(false);
            f.Paint();
            return f.Extent(Blue).first;
        };
        CaptionForm f;
        const int advance = QFontMetrics(f.caption->SystemFont().ToQFont()).horizontalAdvance(QStringLiteral("Doc"));
        // The old look has no icon and no close button: a 20-pixel menu box on the
        // left and two buttons on the right leave 24..256.
        const int area = c.newStyle ? f.TextRight() - IconEnd : 256 - 24;
        const int free = area - advance - 3;
        EXPECT_EQ(probe(c.justification) - probe(jLeft), free * c.shiftHalves / 2);
        // Left: the text starts 3 pixels into the area (its ink a pixel or so later).
        EXPECT_NEAR(probe(jLeft), (c.newStyle ? IconEnd : 24) + 3, 2);
    }
    SetNewStyleCaptions(true);
}

TEST(GradientCaption, SmartGradientOnAn8BitDisplayIsSolidWhileInactive)
{
    SetDisplayBitsPerPixel(8);
    CaptionForm f;
    f.caption->SetEnabled(geSmart);
    f.caption->SetColorLeftInActive(clRed);
    f.caption->SetColorRightInActive(clBlue);
    f.Paint(true);
    EXPECT_EQ(f.At(4, BarBottom - 2), Red);
    f.Paint(false);
    EXPECT_EQ(f.At(4, BarBottom - 2), Grey);
    EXPECT_EQ(f.At(200, BarBottom - 2), Grey);
    EXPECT_EQ(f.At(236, 12), Grey);
    SetDisplayBitsPerPixel(24);
    f.Paint(false);
    EXPECT_EQ(f.At(4, BarBottom - 2), Red);
    SetDisplayBitsPerPixel(0);
}

TEST(GradientCaption, DrawCaptionEventSeesTheTextAreaAndMovesIt)
{
    CaptionForm f;
    f.caption->SetEnabled(geNever);
    f.SetTexts("", "", "Doc");
    TRect seen;
    f.caption->OnDrawCaption = [&](TObject* Sender, TCanvas* Canvas, TRect& R) {
        EXPECT_EQ(Sender, f.caption);
        seen = R;
        Canvas->Brush()->SetColor(clYellow);
        Canvas->FillRect(Rect(R.Left, R.Top, R.Left + 10, R.Bottom));
        R.Left += 100;
    };
    f.Paint();
    EXPECT_EQ(seen, Rect(IconEnd, BarTop, f.TextRight(), BarBottom));
    EXPECT_EQ(f.At(IconEnd + 5, 12), Yellow);
    EXPECT_NEAR(f.Extent(Blue).first, IconEnd + 103, 2);
}

TEST(GradientCaption, CaptionIsReadBackWithoutCompanyAndApplicationTexts)
{
    auto* form = new TForm(nullptr);
    QPointer<TForm> alive(form);
    auto* caption = new TqvGradientCaption(form);
    caption->CompanyText()->SetCaption("Velnor");
    caption->AppNameText()->SetCaption("Prog -");
    caption->CaptionText()->SetCaption("Doc");
    EXPECT_EQ(form->Caption(), "Velnor Prog - Doc");
    form->SetCaption("Velnor Prog - Report");
    EXPECT_EQ(caption->CaptionText()->GetCaption(), "Report");
    // Only texts in front count: a company name later in the caption stays.
    form->SetCaption("Report by Velnor");
    EXPECT_EQ(caption->CaptionText()->GetCaption(), "Report by Velnor");
    form->SetCaption("Velnor Prog - Report");

    // A hidden caption text keeps its text through a paint, and comes back.
    caption->CaptionText()->SetVisible(false);
    EXPECT_EQ(form->Caption(), "Velnor Prog -");
    SendMessage(form->Handle(), WM_NCACTIVATE, 1, 0);
    EXPECT_EQ(caption->CaptionText()->Caption(), "Report");
    caption->CaptionText()->SetVisible(true);
    EXPECT_EQ(form->Caption(), "Velnor Prog - Report");
    caption->CompanyText()->SetVisible(false);
    EXPECT_EQ(form->Caption(), "Prog - Report");

    delete caption;
    EXPECT_EQ(form->Caption(), "Report");
    delete form;
}

TEST(GradientCaption, DroppedInTheDesignerItStartsWithSampleTextsAndRemovalRestores)
{
    TForm form(nullptr);
    form.SetDesigning(true);
    form.SetCaption("Form1");
    auto* caption = new TqvGradientCaption(&form);
    EXPECT_EQ(form.Caption(), "<Velnor Software>'s Program - Form1");
    EXPECT_EQ(caption->CompanyText()->FontKind(), fkSystemBI);
    EXPECT_EQ(caption->AppNameText()->FontKind(), fkSystemB);
    EXPECT_EQ(caption->CaptionText()->FontKind(), fkSystem);
    // While designing, a change is painted at once (the form is not active).
    caption->SetColorLeftInActive(clRed);
    EXPECT_EQ(form.BackBuffer().pixel(4, BarBottom - 2) | 0xFF000000u, Red);
    delete caption;
    EXPECT_EQ(form.Caption(), "Form1");
}

TEST(GradientCaption, BorderStyleChangeRehooksTheNewWindow)
{
    CaptionForm f;
    f.Paint();
    const HWND before = f.form.Handle();
    f.form.SetBorderStyle(bsSingle);
    EXPECT_NE(f.form.Handle(), before);
    ASSERT_TRUE(WaitUntil([&] { return f.caption->Hooked(); }));
    f.Paint();
    // A single border is 3 wide: the ramp's first column is now x = 3.
    EXPECT_EQ(f.At(3, BarBottom - 3), Red);
    EXPECT_EQ(f.At(150, 2), Face);
}

TEST(GradientCaption, ASecondCaptionOnTheSameFormIsRefused)
{
    CaptionForm f;
    const int count = f.form.ComponentCount();
    EXPECT_THROW(new TqvGradientCaption(&f.form), EComponentError);
    EXPECT_EQ(f.form.ComponentCount(), count);
    f.Paint();
    EXPECT_EQ(f.At(4, BarBottom - 2), Red);
    TComponent notAForm(nullptr);
    EXPECT_THROW(new TqvGradientCaption(&notAForm), EInvalidCast);
}

TEST(GradientCaption, NoHookOutlivesTheFormOrTheComponent)
{
    // The form goes first, the component having been taken out of its ownership.
    {
        auto* form = new TForm(nullptr);
        auto* caption = new TqvGradientCaption(form);
        form->RemoveComponent(caption);
        delete form;
        EXPECT_EQ(caption->Form(), nullptr);
        EXPECT_FALSE(caption->Hooked());
        PostMessage(Application()->Handle(), TqvGradientCaption::RehookMessage, 0, reinterpret_cast<LPARAM>(caption));
        Application()->ProcessMessages();
        EXPECT_FALSE(caption->Hooked());
        delete caption;
    }
    // The component goes while the form re-creates its window (the re-hook is posted).
    {
        CaptionForm f;
        f.form.SetCaption("Plain");
        f.form.SetBorderStyle(bsDialog);
        delete f.caption;
        Application()->ProcessMessages();
        f.form.RedrawFrame();
        EXPECT_EQ(f.At(150, 12), Grey) << "the form paints its own (inactive) title bar again";
        EXPECT_EQ(f.form.Caption(), "Plain");
    }
    // A later subclasser still calls through the component's procedure after it went.
    {
        CaptionForm f;
        int seen = 0;
        TWndMethod previous;
        previous = SetWindowProc(f.form.Handle(), [&](TMessage& m) {
            seen += m.Msg == WM_NCPAINT;
            CallWindowProc(previous, m);
        });
        delete f.caption;
        f.form.RedrawFrame();
        EXPECT_GT(seen, 0);
        EXPECT_EQ(f.At(150, 12), Grey);
        SetWindowProc(f.form.Handle(), previous);
    }
}

TEST(GradientCaption, NumColorsIsKeptInRange)
{
    std::vector<QString> messages;
    SetMessageDlgResponder([&](const QString& Msg, TMsgDlgType, TMsgDlgButtons) {
        messages.push_back(Msg);
        return int(mrOk);
    });
    CaptionForm f;
    struct Case { bool designing; int value, expected; size_t messages; };
    const Case cases[] = {
        {false, 0, 64, 0}, {false, 300, 256, 0}, {false, 1, 1, 0},
        {true, -5, 1, 1}, {true, 257, 256, 2}, {true, INT_MAX, 256, 3}, {true, 256, 256, 3},
    };
    for (const Case& c : cases) {
        f.caption->SetDesigning(c.designing);
        f.caption->SetNumColors(c.value);
        EXPECT_EQ(f.caption->NumColors(), c.expected) << c.value;
        EXPECT_EQ(messages.size(), c.messages) << c.value;
    }
    EXPECT_EQ(messages[0], TqvGradientCaption::TooFewColorsError);
    EXPECT_EQ(messages[1], TqvGradientCaption::TooManyColorsError);
    SetMessageDlgResponder({});
}

TEST(GradientCaption, FontKindsFollowTheSystemCaptionFont)
{
    CaptionForm f;
    TCompanyText* text = f.caption->CompanyText();
    const TFont& system = f.caption->SystemFont();
    EXPECT_EQ(system.Height(), -12) << "a little over half of the 20-pixel caption bar";
    EXPECT_EQ(system.Style(), TFontStyles(fsBold));
    text->SetFontKind(fkSystemBI);
    EXPECT_EQ(text->Font()->Style(), TFontStyles(fsBold) | fsItalic);
    EXPECT_FALSE(text->IsFontStored());
    TFont big;
    big.SetHeight(-30);
    text->SetFont(&big);
    EXPECT_EQ(text->FontKind(), fkCustom);
    EXPECT_TRUE(text->IsFontStored());
    // A negative height is the character height: -30 + 30 - 12 = -12.
    text->SetFontKind(fkAutoHeight);
    EXPECT_EQ(text->Font()->Height(), -12);
}

TEST(GradientCaption, TitleBarGeometryFollowsBorderStyleAndIcons)
{
    struct Case { TFormBorderStyle style; TBorderIcons icons; TRect text; };
    const TBorderIcons all = TBorderIcons(biSystemMenu) | biMinimize | biMaximize;
    // 200 x 100 forms. Fixed borders are 3, sizing ones 4; tool captions 17 - 1 high
    // with 16-pixel button cells, normal ones 21 - 1 with 20-pixel cells; the close
    // and help buttons take 2 more.
    const Case cases[] = {
        {bsSizeable, all, Rect(4, 4, 196 - 62, 24)},
        {bsSingle, TBorderIcons(biSystemMenu), Rect(3, 3, 197 - 22, 23)},
        {bsDialog, TBorderIcons(biSystemMenu) | biHelp, Rect(3, 3, 197 - 44, 23)},
        {bsSingle, TBorderIcons(biSystemMenu) | biHelp | biMinimize, Rect(3, 3, 197 - 62, 23)},
        {bsToolWindow, all, Rect(3, 3, 197 - 18, 19)},
        {bsSizeToolWin, TBorderIcons(), Rect(4, 4, 196, 20)},
        {bsNone, all, Rect(0, 0, 2, 0)},
    };
    for (const Case& c : cases) {
        TForm form(nullptr);
        form.SetBounds(0, 0, 200, 100);
        form.SetBorderStyle(c.style);
        form.SetBorderIcons(c.icons);
        TqvGradientCaption caption(&form);
        EXPECT_EQ(caption.GetTextRect(), c.text) << int(c.style);
    }
}
