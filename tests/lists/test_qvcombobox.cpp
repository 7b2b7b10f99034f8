// The package's combo box: type-ahead in the list styles and completion in the editable
// style, driven with real key events (non-ASCII names, Backspace after a completion, the
// search pause), the refused keys' beeps, and the flat frame on pixels in its cold and
// hot states.
#include "lists/qvcolorcombobox.h"
#include "vcl/controls/forms.h"
#include "vcl/controls/winuser.h"
#include "vcl/streaming/formfile.h"

#include "../controls/itempixels.h"
#include "../controls/waituntil.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

using namespace vcl;
using Qvcolorcombobox::TqvComboBox;

namespace {

using namespace itempixels;

const QRgb Gray = qRgb(128, 128, 128);

struct ComboForm {
    TForm Form{nullptr};
    TqvComboBox Combo{nullptr};
    int Beeps = 0;
    int Matches = 0;
    int Changes = 0;
    TBeepHandler Previous;

    ComboForm(TComboBoxStyle Style, const QString& Entries)
    {
        Previous = SetBeepHandler([this](UINT) { ++Beeps; });
        Form.SetBounds(0, 0, 300, 200);
        Combo.SetParent(&Form);
        Combo.SetBounds(10, 10, 150, 0);
        Combo.SetStyle(Style);
        Combo.Items()->SetCommaText(Entries);
        Combo.OnMatch = [this](TObject*) { ++Matches; };
        Combo.OnChange = [this](TObject*) { ++Changes; };
    }
    ~ComboForm() { SetBeepHandler(Previous); }
    void Show()
    {
        Form.Show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Form));
        Combo.SetFocus();
        ASSERT_TRUE(WaitUntil([&] { return Combo.Focused(); }));
    }
    // The widget that takes the keys: the edit part's line in the editable style.
    QWidget* KeyTarget() { return QApplication::focusWidget(); }
    void Type(const QString& Text)
    {
        for (const QChar c : Text)
            QTest::sendKeyEvent(QTest::Click, KeyTarget(), Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    void Press(Qt::Key Key) { QTest::keyClick(KeyTarget(), Key); }
    QString Selected() { return Combo.ItemIndex() < 0 ? QString() : Combo.Items()->Strings(Combo.ItemIndex()); }
    QString SelectedText() { return Combo.Text().mid(Combo.SelStart(), Combo.SelLength()); }
};

} // namespace

TEST(QvComboBox, TypeAheadExtendsTheSearchAndBeepsOnAKeyThatContinuesNoEntry)
{
    ComboForm f(csDropDownList, QStringLiteral("Apple,Apricot,Banana"));
    f.Show();
    f.Type(QStringLiteral("ap"));
    EXPECT_EQ(f.Selected(), "Apple");
    f.Type(QStringLiteral("r"));
    EXPECT_EQ(f.Selected(), "Apricot");
    EXPECT_EQ(f.Beeps, 0);
    f.Type(QStringLiteral("x"));
    EXPECT_EQ(f.Beeps, 1);
    EXPECT_EQ(f.Selected(), "Apricot");
    EXPECT_EQ(f.Combo.SearchString(), "apr") << "a refused key is dropped from the search";
    // After the pause the search starts again, so b is a new search.
    ASSERT_TRUE(WaitUntil([&] { return f.Combo.SearchString().isEmpty(); }));
    f.Type(QStringLiteral("b"));
    EXPECT_EQ(f.Selected(), "Banana");
}

TEST(QvComboBox, TypeAheadFindsNonAsciiNamesIgnoringCase)
{
    ComboForm f(csOwnerDrawFixed, QString::fromUtf8("Zebra,Ärger,Äpfel,Öl,Übel"));
    f.Show();
    f.Type(QString::fromUtf8("äp"));
    EXPECT_EQ(f.Selected(), QString::fromUtf8("Äpfel"));
    f.Press(Qt::Key_Down);
    EXPECT_TRUE(f.Combo.SearchString().isEmpty()) << "navigation keys end the search";
    f.Type(QString::fromUtf8("Ü"));
    EXPECT_EQ(f.Selected(), QString::fromUtf8("Übel"));
    EXPECT_EQ(f.Beeps, 0);
}

TEST(QvComboBox, BackspaceShortensTheSearchAndTheLastOneOrEscapeSelectsTheFirstEntry)
{
    ComboForm f(csDropDownList, QStringLiteral("Apple,Apricot,Banana"));
    f.Show();
    f.Press(Qt::Key_Backspace);
    EXPECT_EQ(f.Beeps, 1) << "Backspace with nothing typed";
    f.Type(QStringLiteral("apr"));
    f.Press(Qt::Key_Backspace);
    EXPECT_EQ(f.Combo.SearchString(), "ap");
    EXPECT_EQ(f.Selected(), "Apple");
    f.Combo.SetItemIndex(2);
    f.Press(Qt::Key_Backspace);
    f.Press(Qt::Key_Backspace);
    EXPECT_TRUE(f.Combo.SearchString().isEmpty());
    EXPECT_EQ(f.Combo.ItemIndex(), 0);
    EXPECT_EQ(f.Beeps, 1);
    // Escape on the closed list goes back to the first entry.
    f.Type(QStringLiteral("b"));
    ASSERT_EQ(f.Selected(), "Banana");
    const int changes = f.Changes;
    f.Press(Qt::Key_Escape);
    EXPECT_EQ(f.Combo.ItemIndex(), 0);
    EXPECT_EQ(f.Changes, changes + 1);
}

TEST(QvComboBox, TypingCompletesToTheFirstEntryWithTheTailSelectedAndEscapeSelectsNothing)
{
    ComboForm f(csDropDown, QStringLiteral("Apple,Apricot,Banana"));
    f.Show();
    f.Type(QStringLiteral("ap"));
    EXPECT_EQ(f.Combo.Text(), "Apple");
    EXPECT_EQ(f.SelectedText(), "ple");
    f.Type(QStringLiteral("r"));
    EXPECT_EQ(f.Combo.Text(), "Apricot");
    EXPECT_EQ(f.SelectedText(), "icot");
    EXPECT_EQ(f.Combo.ItemIndex(), 1);
    EXPECT_EQ(f.Matches, 3) << "OnMatch on every completion";
    EXPECT_EQ(f.Beeps, 0);
    // Escape in the edit field selects nothing.
    f.Press(Qt::Key_Escape);
    EXPECT_EQ(f.Combo.ItemIndex(), -1);
    EXPECT_TRUE(f.Combo.SearchString().isEmpty());
}

TEST(QvComboBox, CompletionOfNonAsciiNamesAndBackspaceAfterACompletion)
{
    ComboForm f(csDropDown, QString::fromUtf8("Straße,Strand,Öffnung,Ökonom"));
    f.Show();
    f.Type(QString::fromUtf8("ök"));
    EXPECT_EQ(f.Combo.Text(), QString::fromUtf8("Ökonom"));
    EXPECT_EQ(f.SelectedText(), "onom");
    f.Type(QString::fromUtf8("stra"));
    // The completed tail is replaced by what is typed: "ök" + "stra" starts no entry.
    EXPECT_EQ(f.Combo.Text(), QString::fromUtf8("ökstra"));

    f.Combo.SetText(QString());
    f.Combo.ClearSearchString();
    f.Type(QString::fromUtf8("straß"));
    EXPECT_EQ(f.Combo.Text(), QString::fromUtf8("Straße"));
    EXPECT_EQ(f.SelectedText(), "e");
    // Backspace after a completion takes the last typed letter back and completes
    // again: "stra" completes to the first entry starting with it.
    f.Press(Qt::Key_Backspace);
    EXPECT_EQ(f.Combo.SearchString(), "stra");
    EXPECT_EQ(f.Combo.Text(), QString::fromUtf8("Straße"));
    EXPECT_EQ(f.SelectedText(), QString::fromUtf8("ße"));
    f.Press(Qt::Key_Backspace);
    f.Press(Qt::Key_Backspace);
    f.Press(Qt::Key_Backspace);
    f.Press(Qt::Key_Backspace);
    EXPECT_TRUE(f.Combo.SearchString().isEmpty());
    EXPECT_EQ(f.Combo.ItemIndex(), -1) << "emptying the search selects nothing";
    EXPECT_EQ(f.Beeps, 0);
}

TEST(QvComboBox, WithoutAllowEditOrRoomAKeyThatContinuesNoEntryBeepsAndChangesNothing)
{
    struct Case {
        bool AllowEdit;
        const char* Expected;
        int Beeps;
    } cases[] = {{false, "Apple", 1}, {true, "apx", 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.AllowEdit);
        ComboForm f(csDropDown, QStringLiteral("Apple,Apricot,Banana"));
        f.Combo.SetAllowEdit(c.AllowEdit);
        f.Show();
        f.Type(QStringLiteral("ap"));
        f.Type(QStringLiteral("x"));
        EXPECT_EQ(f.Combo.Text(), c.Expected);
        EXPECT_EQ(f.Beeps, c.Beeps);
    }
    // A full field refuses another character with a beep.
    ComboForm f(csDropDown, QStringLiteral("Apple"));
    f.Combo.SetMaxLength(3);
    f.Show();
    f.Type(QStringLiteral("abc"));
    EXPECT_EQ(f.Combo.Text(), "abc");
    f.Type(QStringLiteral("d"));
    EXPECT_EQ(f.Combo.Text(), "abc");
    EXPECT_EQ(f.Beeps, 1);
}

TEST(QvComboBox, PastingCompletesUnlessEditingIsOff)
{
    struct Case {
        bool AllowEdit;
        const char* Text;
    } cases[] = {{true, "Banana"}, {false, ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.AllowEdit);
        ComboForm f(csDropDown, QStringLiteral("Apple,Banana"));
        f.Combo.SetAllowEdit(c.AllowEdit);
        f.Show();
        QApplication::clipboard()->setText(QStringLiteral("ban"));
        QTest::keyClick(f.KeyTarget(), Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(f.Combo.Text(), c.Text);
    }
}

TEST(QvComboBox, FindIgnoresCaseDropDownWidthSurvivesANewWindowAndFramePropertiesStreamByName)
{
    struct Probe : TqvComboBox {
        using TqvComboBox::TqvComboBox;
        void Recreate() { RecreateWnd(); }
    } combo(nullptr);
    combo.Items()->SetCommaText(QString::fromUtf8("Äpfel,Apfelmus,Öl"));
    EXPECT_EQ(combo.FindClosest(QString::fromUtf8("äP")), 0);
    EXPECT_EQ(combo.FindClosest(QStringLiteral("apf")), 1);
    EXPECT_EQ(combo.FindClosest(QStringLiteral("x")), -1);
    EXPECT_TRUE(combo.FindItem(QString::fromUtf8("öL")));
    EXPECT_EQ(combo.ItemIndex(), 2);
    EXPECT_FALSE(combo.FindItem(QStringLiteral("Apfel")));
    EXPECT_EQ(combo.ItemIndex(), 2) << "a failed look-up keeps the selection";

    combo.HandleNeeded();
    combo.SetDropDownWidth(400);
    combo.Recreate();
    EXPECT_EQ(combo.Perform(CB_GETDROPPEDWIDTH), 400);
    EXPECT_EQ(combo.DropDownWidth(), 400);

    EXPECT_FALSE(ComponentToText(&combo).contains("AllowEdit")) << "defaults are not written";
    combo.SetBorderFrameSides(Qvcombobox::TFrameSides(Qvcombobox::sdLeft | Qvcombobox::sdBottom));
    combo.SetBorderFrameStyle(Qvutils::fsGroove);
    const QString text = ComponentToText(&combo);
    EXPECT_TRUE(text.contains("BorderFrameSides = [sdLeft, sdBottom]")) << text.toStdString();
    EXPECT_TRUE(text.contains("BorderFrameStyle = fsGroove")) << text.toStdString();
}

// The flat frame of a drop-down list 150 x h with the button b = 17 pixels wide:
// outermost ring the frame colour (fsFlat: BorderFrameColor on all sides), the next
// pixel the control's colour (the ring hiding the framework's border). Cold, the button
// strip (150-17-2 .. 148) is the control's colour with a black arrow whose tip is at
// (cx, cy) = (17/2 + 131 - 1, h/2 + 2) = (138, h/2 + 2); hot, the framework's button
// face (clBtnFace) shows there.
TEST(QvComboBox, FlatFrameAndButtonFollowFocusAndHover)
{
    ComboForm f(csDropDownList, QStringLiteral("Apple,Banana"));
    f.Combo.SetColor(clWhite);
    f.Combo.SetBorderFrameVisible(true);
    f.Combo.SetBorderFrameColor(clRed);
    f.Combo.Repaint();
    const int h = f.Combo.Height();
    QImage face = f.Combo.BackBuffer();
    const QRgb red = qRgb(255, 0, 0);
    EXPECT_EQ(Px(face, 0, h / 2), red);
    EXPECT_EQ(Px(face, 149, h / 2), red);
    EXPECT_EQ(Px(face, 75, 0), red);
    EXPECT_EQ(Px(face, 75, h - 1), red);
    EXPECT_EQ(Px(face, 1, h / 2), White) << "the ring in the control's colour";
    EXPECT_EQ(Px(face, 138, h / 2 + 2), Black) << "arrow tip";
    EXPECT_EQ(Px(face, 138, h / 2 + 4), White) << "below the tip";
    EXPECT_EQ(Px(face, 133, h / 2 - 3), Black) << "arrow's left corner";
    EXPECT_EQ(Px(face, 132, h / 2 - 3), White);
    EXPECT_EQ(Px(face, 135, 5), White) << "no button face while cold";

    f.Combo.Perform(CM_MOUSEENTER);
    EXPECT_TRUE(f.Combo.MouseInControl());
    face = f.Combo.BackBuffer();
    EXPECT_EQ(Px(face, 135, 5), Face) << "the button face while hot";
    f.Combo.Perform(CM_MOUSELEAVE);
    face = f.Combo.BackBuffer();
    EXPECT_EQ(Px(face, 135, 5), White);
}

// With BorderFrameFlat the style follows hover: fsStatus cold (shadow upper-left,
// highlight lower-right), fsLowered hot (two rings: shadow/highlight outside, text
// colour/3-D light inside).
TEST(QvComboBox, FlatFrameStyleFollowsHover)
{
    ComboForm f(csDropDownList, QStringLiteral("Apple"));
    f.Combo.SetColor(clWhite);
    f.Combo.SetBorderFrameVisible(true);
    f.Combo.SetBorderFrameFlat(true);
    f.Combo.SetBorderFrameStyle(Qvutils::fsStatus);
    f.Combo.Repaint();
    const int h = f.Combo.Height();
    QImage face = f.Combo.BackBuffer();
    EXPECT_EQ(Px(face, 0, h / 2), Gray);
    EXPECT_EQ(Px(face, 149, h / 2), White);
    EXPECT_EQ(Px(face, 1, h / 2), White);

    f.Combo.Perform(CM_MOUSEENTER);
    EXPECT_EQ(f.Combo.BorderFrameStyle(), Qvutils::fsLowered);
    face = f.Combo.BackBuffer();
    EXPECT_EQ(Px(face, 0, h / 2), Gray);
    EXPECT_EQ(Px(face, 1, h / 2), Black) << "inner upper-left ring (button text)";
    f.Combo.Perform(CM_MOUSELEAVE);
    EXPECT_EQ(f.Combo.BorderFrameStyle(), Qvutils::fsStatus);
}
