// The message dialog: layout arithmetic, results by button, key and closing, the
// prompt and notice variants, help, and the component's properties left alone.
#include "dialogs/qvmsgdlg.h"

#include "vcl/controls/application.h"

#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace vcl;
using namespace Qvmsgdlg;
using Qvfrmmsgdlg::ButtonPressed;

namespace {

// Runs Action on the dialog once it is shown (the modal loop is running then).
void WhenShown(std::function<void(TfrmMsgDlg*)> Action)
{
    QTimer::singleShot(0, [Action] {
        TfrmMsgDlg* form = CurrentMsgDlgForm();
        ASSERT_NE(form, nullptr);
        Action(form);
    });
}

std::vector<int> ButtonLefts(TfrmMsgDlg* Form)
{
    std::vector<int> lefts;
    for (TSpeedButton* button : Form->ShownButtons())
        lefts.push_back(button->Left());
    return lefts;
}

} // namespace

TEST(MsgDlg, TheDefaultComponentShowsItsMessageWithOneOkButton)
{
    TqvMsgDlg dlg(nullptr);
    WhenShown([](TfrmMsgDlg* f) {
        EXPECT_EQ(f->dlgLabel->Caption(), "Here's my Message...");
        EXPECT_EQ(f->Caption(), "Information");
        EXPECT_TRUE(f->expInfo->Visible());
        EXPECT_FALSE(f->expWarn->Visible());
        ASSERT_EQ(f->ShownButtons(), std::vector<TSpeedButton*>{f->cmdOk});
        f->cmdOk->Click();
    });
    EXPECT_EQ(dlg.Execute(), 1);
    EXPECT_EQ(CurrentMsgDlgForm(), nullptr) << "the form is freed after the call";
}

// Worked by hand: a short text leaves the form narrower than 3 x 100, so it widens
// to 308; 308 / 4 = 77, and the buttons sit at 77 k - 45. Seven buttons widen the form
// to 708; 708 / 8 = 88.5 goes to the even 88 (rounding halves up would give 89), so
// the first button sits at 43.
TEST(MsgDlg, ButtonsSpreadOverTheWidenedFormWithTheSpacingRoundedHalfToEven)
{
    TqvMsgDlg dlg(nullptr);
    dlg.SetMsg("Go?");
    dlg.SetDialogButtons(mbYesNoCancel);
    WhenShown([](TfrmMsgDlg* f) {
        EXPECT_EQ(f->Width(), 308);
        EXPECT_EQ(ButtonLefts(f), (std::vector<int>{32, 109, 186}));
        EXPECT_EQ(f->cmdYes->Top(), f->Height() - 60);
        EXPECT_EQ(LastMsgDlgLayout().Spacing, 77);
        f->cmdNo->Click();
    });
    EXPECT_EQ(dlg.Execute(), 7);

    dlg.SetDialogButtons(TMsgDlgButtons(mbYes) | mbNo | mbOK | mbCancel | mbAbort | mbRetry | mbIgnore);
    WhenShown([](TfrmMsgDlg* f) {
        EXPECT_EQ(f->Width(), 708);
        EXPECT_EQ(LastMsgDlgLayout().Spacing, 88);
        EXPECT_EQ(ButtonLefts(f).front(), 43);
        EXPECT_EQ(ButtonLefts(f).back(), 7 * 88 - 45);
        f->cmdIgnore->Click();
    });
    EXPECT_EQ(dlg.Execute(), 5);

    // Yes to all counts for the spacing but takes no slot.
    dlg.SetDialogButtons(TMsgDlgButtons(mbYes) | mbNo | mbYesToAll);
    WhenShown([](TfrmMsgDlg* f) {
        EXPECT_EQ(LastMsgDlgLayout().ButtonCount, 3);
        EXPECT_EQ(LastMsgDlgLayout().NextSlot, 3);
        EXPECT_EQ(ButtonLefts(f), (std::vector<int>{32, 109}));
        f->cmdYes->Click();
    });
    EXPECT_EQ(dlg.Execute(), 6);
}

struct ResultCase {
    const char* Name;
    TMsgDlgButtons Buttons;
    std::function<void(TfrmMsgDlg*)> Act;
    uint16_t Expected;
};

class MsgDlgResults : public ::testing::TestWithParam<ResultCase> {};

TEST_P(MsgDlgResults, GiveTheButtonCode)
{
    const ResultCase& c = GetParam();
    ButtonPressed = 6; // an earlier dialog's button must not leak into this result
    TqvMsgDlg dlg(nullptr);
    dlg.SetDialogButtons(c.Buttons);
    WhenShown(c.Act);
    EXPECT_EQ(dlg.Execute(), c.Expected);
}

const TMsgDlgButtons AllButtons = TMsgDlgButtons(mbYes) | mbNo | mbOK | mbCancel | mbAbort | mbRetry | mbIgnore | mbAll;

INSTANTIATE_TEST_SUITE_P(ByButtonKeyAndClose, MsgDlgResults,
    ::testing::Values(ResultCase{"Ok", AllButtons, [](TfrmMsgDlg* f) { f->cmdOk->Click(); }, 1},
        ResultCase{"Cancel", AllButtons, [](TfrmMsgDlg* f) { f->cmdCancel->Click(); }, 2},
        ResultCase{"Abort", AllButtons, [](TfrmMsgDlg* f) { f->cmdAbort->Click(); }, 3},
        ResultCase{"Retry", AllButtons, [](TfrmMsgDlg* f) { f->cmdRetry->Click(); }, 4},
        ResultCase{"Ignore", AllButtons, [](TfrmMsgDlg* f) { f->cmdIgnore->Click(); }, 5},
        ResultCase{"All", AllButtons, [](TfrmMsgDlg* f) { f->cmdAll->Click(); }, 8},
        ResultCase{"CloseWindow", mbOK, [](TfrmMsgDlg* f) { f->Close(); }, 2},
        ResultCase{"EnterPressesTheFirstButton", TMsgDlgButtons(mbNo) | mbRetry,
            [](TfrmMsgDlg* f) { QTest::keyClick(f, Qt::Key_Return); }, 7},
        ResultCase{"EscapePressesCancel", mbOKCancel, [](TfrmMsgDlg* f) { QTest::keyClick(f, Qt::Key_Escape); }, 2},
        ResultCase{"EscapeWithoutCancelCloses", TMsgDlgButtons(mbYes) | mbNo,
            [](TfrmMsgDlg* f) { QTest::keyClick(f, Qt::Key_Escape); }, 2}),
    [](const ::testing::TestParamInfo<ResultCase>& info) { return std::string(info.param.Name); });

TEST(MsgDlg, MessageDlgLeavesThePropertiesAsTheyWere)
{
    TqvMsgDlg dlg(nullptr);
    dlg.SetMsg("kept");
    dlg.SetDialogType(mtWarning);
    dlg.SetDialogButtons(mbOKCancel);
    dlg.SetHelpContextID(12);
    WhenShown([](TfrmMsgDlg* f) {
        EXPECT_EQ(f->dlgLabel->Caption(), "Erase all?");
        EXPECT_EQ(f->Caption(), "Error");
        EXPECT_EQ(f->HelpContext(), 99);
        f->cmdRetry->Click();
    });
    EXPECT_EQ(dlg.MessageDlg("Erase all?", mtError, mbAbortRetryIgnore, 99), 4);
    EXPECT_EQ(dlg.Msg(), "kept");
    EXPECT_EQ(dlg.DialogType(), mtWarning);
    EXPECT_EQ(dlg.DialogButtons(), mbOKCancel);
    EXPECT_EQ(dlg.HelpContextID(), 12);
}

TEST(MsgDlg, HelpAsksForTheContextAndKeepsTheDialogOpen)
{
    std::vector<int> asked;
    Application()->SetHelpHandler([&](int context) { asked.push_back(context); return true; });
    TqvMsgDlg dlg(nullptr);
    dlg.SetHelpContextID(42);
    dlg.SetDialogButtons(TMsgDlgButtons(mbOK) | mbHelp);
    ButtonPressed = 5;
    WhenShown([](TfrmMsgDlg* f) {
        f->cmdHelp->Click();
        EXPECT_TRUE(f->Visible());
        EXPECT_EQ(ButtonPressed, 5) << "help is not a result";
        f->cmdOk->Click();
    });
    EXPECT_EQ(dlg.Execute(), 1);
    EXPECT_EQ(asked, std::vector<int>{42});
    Application()->SetHelpHandler(nullptr);
}

TEST(MsgDlg, InputQueryPromptsAndKeepsTheValueOnAnEmptyEntry)
{
    Application()->SetTitle("QvKit tests");
    TqvMsgDlg dlg(nullptr);
    dlg.SetMsg("own message");
    QString value = "old";
    WhenShown([](TfrmMsgDlg* f) {
        EXPECT_EQ(f->dlgLabel->Caption(), "own message") << "an empty prompt shows Msg";
        EXPECT_EQ(f->Caption(), "QvKit tests");
        EXPECT_TRUE(f->txtEdit->Visible());
        EXPECT_EQ(f->txtEdit->Text(), "old");
        EXPECT_EQ(f->txtEdit->Width(), f->Width() - 50);
        f->txtEdit->SetText("");
        f->cmdOk->Click();
    });
    EXPECT_EQ(dlg.InputQuery("", "", value), 1);
    EXPECT_EQ(value, "old");

    WhenShown([](TfrmMsgDlg* f) {
        EXPECT_EQ(f->Caption(), "Name");
        EXPECT_EQ(f->dlgLabel->Caption(), "Your name:");
        f->txtEdit->SetText("Ada");
        QTest::keyClick(f, Qt::Key_Return);
    });
    EXPECT_EQ(dlg.InputQuery("Name", "Your name:", value), 1);
    EXPECT_EQ(value, "Ada");

    WhenShown([](TfrmMsgDlg* f) {
        f->txtEdit->SetText("dropped");
        f->cmdCancel->Click();
    });
    EXPECT_EQ(dlg.InputQuery("Name", "Your name:", value), 2);
    EXPECT_EQ(value, "Ada");
    EXPECT_EQ(dlg.Msg(), "own message");
    EXPECT_EQ(dlg.DialogType(), mtInformation);
    EXPECT_EQ(dlg.DialogButtons(), TMsgDlgButtons(mbOK));
}

TEST(MsgDlg, ShowMessageCentresOneOkButton)
{
    Application()->SetTitle("QvKit tests");
    TqvMsgDlg dlg(nullptr);
    WhenShown([](TfrmMsgDlg* f) {
        EXPECT_EQ(f->Caption(), "QvKit tests");
        EXPECT_TRUE(f->expInfo->Visible());
        EXPECT_EQ(f->Width(), f->dlgLabel->Width() + 100);
        EXPECT_EQ(f->cmdOk->Left(), f->Width() / 2 - 65 / 2);
        EXPECT_EQ(f->ShownButtons().size(), 1u);
        f->cmdOk->Click();
    });
    dlg.ShowMessage("Saved.");
    EXPECT_EQ(dlg.Msg(), "Here's my Message...");
}
