// TqvTipDlg and its window: the order of tips in sequential and random mode (with a
// scripted random source, orders worked out by hand), line-break markers, tips from the
// registry (string values only) and from an INI section in file order, the picture on
// the panel colour, placement, and the design-time editors.
#include "utilities/qvtipdlgeditors.h"
#include "utilities/qvtipdlgu.h"
#include "utilities/qvtipfrmdlg.h"

#include "controls/waituntil.h"
#include "package/package.h"
#include "vcl/controls/application.h"
#include "vcl/controls/dialogs.h"
#include "vcl/controls/extctrls.h"
#include "vcl/controls/stdctrls.h"
#include "vcl/core/strings.h"
#include "vcl/graphics/bitmap.h"
#include "vcl/graphics/canvas.h"
#include "vcl/registry/registry.h"

#include <QFile>
#include <QMetaProperty>
#include <QTemporaryDir>
#include <deque>
#include <gtest/gtest.h>

using namespace vcl;
using namespace Qvtipdlgu;
using Qvtipfrmdlg::TqvTipsForm;

namespace {

// Runs Execute; Act runs on the shown window (the test clicks there), then OK closes it.
bool ExecuteWith(TqvTipDlg& Dialog, const std::function<void(TqvTipsForm&)>& Act)
{
    WhenFound<TqvTipsForm>([&Dialog] { return Dialog.Form(); }, [Act](TqvTipsForm* Form) {
        Act(*Form);
        Form->OKBtn->Click();
    });
    return Dialog.Execute();
}

// The captions shown: the first, then after each of Clicks ('n' Next, 'p' Previous).
QStringList Walk(TqvTipDlg& Dialog, const QString& Clicks)
{
    QStringList shown;
    ExecuteWith(Dialog, [&](TqvTipsForm& Form) {
        shown << Form.TipLbl->Caption();
        for (QChar c : Clicks) {
            (c == 'n' ? Form.NextBtn : Form.PrevBtn)->Click();
            shown << Form.TipLbl->Caption();
        }
    });
    return shown;
}

// Plays back Draws as the random numbers and records each range asked for.
struct ScriptedRandom {
    std::deque<int> Draws;
    QList<int> Ranges;
    explicit ScriptedRandom(std::deque<int> D) : Draws(std::move(D))
    {
        Qvtipfrmdlg::SetRandomSource([this](int Range) {
            Ranges << Range;
            const int r = Draws.empty() ? 0 : Draws.front();
            if (!Draws.empty())
                Draws.pop_front();
            return r;
        });
    }
    ~ScriptedRandom() { Qvtipfrmdlg::SetRandomSource({}); }
};

void SetTips(TqvTipDlg& Dialog, const QString& CommaText)
{
    TStringList tips;
    tips.SetCommaText(CommaText);
    Dialog.SetTipValues(&tips);
}

} // namespace

TEST(TipOrder, SequentialWrapsBothWays)
{
    TqvTipDlg dialog(nullptr);
    SetTips(dialog, "a,b,c");
    EXPECT_EQ(Walk(dialog, "nnnpppp"), (QStringList{"a", "b", "c", "a", "c", "b", "a", "c"}));
    // Each Execute starts again at the first tip.
    EXPECT_EQ(Walk(dialog, "n"), (QStringList{"a", "b"}));
    SetTips(dialog, "only");
    EXPECT_EQ(Walk(dialog, "npn"), (QStringList{"only", "only", "only", "only"}));
    SetTips(dialog, "x,y");
    EXPECT_EQ(Walk(dialog, "np"), (QStringList{"x", "y", "x"}));
}

TEST(TipOrder, RandomModeFollowsTheNotTheSameRule)
{
    TqvTipDlg dialog(nullptr);
    dialog.SetRandomTips(true);
    {
        // One tip: a draw from [0, 0) is 0 without asking the source, so it stays.
        ScriptedRandom random({5, 5, 5});
        SetTips(dialog, "only");
        EXPECT_EQ(Walk(dialog, "nn"), (QStringList{"only", "only", "only"}));
        EXPECT_TRUE(random.Ranges.isEmpty());
    }
    {
        // Two tips: draws are always 0; start 0, then 0 = i gives 1, 0 gives 0 ...
        ScriptedRandom random({});
        SetTips(dialog, "x,y");
        EXPECT_EQ(Walk(dialog, "nnn"), (QStringList{"y", "x", "y", "x"}));
    }
    {
        // Three tips, draws 1 (start), 1, 0, 0, 1: i = 1; r = 1 = i -> 2 (c); r = 0 -> 0
        // (a); r = 0 = i -> 1 (b); r = 1 = i -> 2 (c). Ranges are always count - 1 = 2.
        ScriptedRandom random({1, 1, 0, 0, 1});
        SetTips(dialog, "a,b,c");
        bool previousVisible = true;
        QStringList shown;
        ExecuteWith(dialog, [&](TqvTipsForm& Form) {
            previousVisible = Form.PrevBtn->Visible();
            shown << Form.TipLbl->Caption();
            for (int i = 0; i < 3; ++i) {
                Form.NextBtn->Click();
                shown << Form.TipLbl->Caption();
            }
        });
        EXPECT_EQ(shown, (QStringList{"c", "a", "b", "c"}));
        EXPECT_EQ(random.Ranges, (QList<int>{2, 2, 2, 2, 2}));
        EXPECT_FALSE(previousVisible);
    }
    // The real generator: never the same tip twice in a row, and the last tip only
    // right after the one before it.
    SetTips(dialog, "a,b,c");
    const QStringList shown = Walk(dialog, QString(200, 'n'));
    for (int i = 1; i < shown.size(); ++i) {
        EXPECT_NE(shown[i], shown[i - 1]);
        if (shown[i] == "c") {
            EXPECT_EQ(shown[i - 1], "b");
        }
    }
}

TEST(TipWindow, MarkersCaptionsAndNoTips)
{
    TqvTipDlg dialog(nullptr);
    const std::pair<const char*, const char*> markers[] = {{"|", "a\r\nb"}, {"", "a|b"}, {"||", "a|b"}};
    for (const auto& [marker, expected] : markers) {
        SCOPED_TRACE(marker);
        SetTips(dialog, "a|b");
        dialog.SetCRLFSubstitute(marker);
        EXPECT_EQ(Walk(dialog, ""), QStringList{expected});
    }
    // Left to right, each occurrence once: "<br><br>x" has two markers.
    TStringList tips;
    tips.Add("1<br><br>2<br");
    dialog.SetTipValues(&tips);
    dialog.SetCRLFSubstitute("<br>");
    EXPECT_EQ(Walk(dialog, ""), QStringList{"1\r\n\r\n2<br"});

    dialog.Tips()->Clear();
    QString caption, title, tip;
    bool nextEnabled = true, prevEnabled = true;
    dialog.SetShowAtStartup(true);
    const bool result = ExecuteWith(dialog, [&](TqvTipsForm& Form) {
        caption = Form.Caption();
        title = Form.TipTitleLbl->Caption();
        tip = Form.TipLbl->Caption();
        nextEnabled = Form.NextBtn->Enabled();
        prevEnabled = Form.PrevBtn->Enabled();
        Form.ShowChk->SetChecked(false);
    });
    EXPECT_FALSE(result);
    EXPECT_FALSE(dialog.ShowAtStartup());
    EXPECT_EQ(caption, "Tip of the day");
    EXPECT_EQ(title, "Did you know...");
    EXPECT_EQ(tip, "");
    EXPECT_FALSE(nextEnabled);
    EXPECT_FALSE(prevEnabled);
}

TEST(TipWindow, PictureShowsThePanelColourThroughItsKeyAndTheWindowIsCentred)
{
    TqvTipDlg dialog(nullptr);
    dialog.SetPanelColor(TColorOf(0x00C08040));
    dialog.SetDlgCaption("Hints");
    TColor corner = clNone, glass = clNone, panel = clNone;
    int width = 0;
    ExecuteWith(dialog, [&](TqvTipsForm& Form) {
        TBitmap* face = Form.Image1->Picture();
        width = face->Width();
        corner = face->Canvas()->Pixels(0, 0);
        // Row 5, column 10 of the bulb is its yellow glass (255, 240, 0).
        glass = face->Canvas()->Pixels(10, 5);
        panel = Form.TipPanel->Color();
    });
    EXPECT_EQ(width, 32);
    EXPECT_EQ(corner, TColorOf(0x00C08040));
    EXPECT_EQ(glass, RGB(255, 240, 0));
    EXPECT_EQ(panel, TColorOf(0x00C08040));

    // The window is centred on the main form.
    TForm main(nullptr);
    main.SetBounds(101, 51, 401, 301);
    TCustomForm* oldMain = Application()->MainForm();
    Application()->SetMainForm(&main);
    dialog.SetPosition(posFormCenter);
    int left = 0, top = 0, height = 0;
    ExecuteWith(dialog, [&](TqvTipsForm& Form) {
        left = Form.Left(), top = Form.Top(), width = Form.Width(), height = Form.Height();
    });
    Application()->SetMainForm(oldMain);
    // Centres agree to within the halving: 101 + 200 = 301 across, 51 + 150 = 201 down.
    EXPECT_LE(std::abs(left + width / 2 - 301), 1);
    EXPECT_LE(std::abs(top + height / 2 - 201), 1);
}

TEST(TipSources, RegistryStringValuesOnly)
{
    const QString key = "\\Software\\QvTest\\Tips";
    {
        TRegistry registry;
        registry.DeleteKey(key);
        ASSERT_TRUE(registry.OpenKey(key, true));
        registry.WriteString("first", "tip one");
        registry.WriteInteger("count", 7);
        registry.WriteString("second", "tip two");
        registry.CloseKey();
    }
    TqvTipDlg dialog(nullptr);
    dialog.SetRegistryKey(key);
    SetTips(dialog, "kept");
    EXPECT_TRUE(dialog.ReadFromRegistry());
    EXPECT_EQ(dialog.Tips()->CommaText(), "kept,\"tip one\",\"tip two\"") << "appended, not replaced";

    dialog.SetTipsLocation(locRegistry);
    EXPECT_EQ(Walk(dialog, "n"), (QStringList{"tip one", "tip two"}));
    dialog.SetRegistryKey("\\Software\\QvTest\\NoSuchKey");
    EXPECT_FALSE(dialog.ReadFromRegistry());
    EXPECT_EQ(Walk(dialog, ""), QStringList{""});
}

TEST(TipSources, IniSectionInFileOrder)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("tips.ini");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Other]\nz=not this\n[Tips]\nzeta=last name, first tip\nalpha=second\nempty=\nmid=fourth\n");
    file.close();
    TqvTipDlg dialog(nullptr);
    dialog.SetINIFile(path);
    dialog.SetINISection("Tips");
    SetTips(dialog, "kept");
    EXPECT_TRUE(dialog.ReadFromINIFile());
    EXPECT_EQ(dialog.Tips()->Count(), 5);
    EXPECT_EQ(dialog.Tips()->Strings(1), "last name, first tip");
    EXPECT_EQ(dialog.Tips()->Strings(2), "second");
    EXPECT_EQ(dialog.Tips()->Strings(3), "");
    EXPECT_EQ(dialog.Tips()->Strings(4), "fourth");

    dialog.SetTipsLocation(locINIFile);
    EXPECT_EQ(Walk(dialog, "n").first(), "last name, first tip");
    dialog.SetINISection("Missing");
    EXPECT_TRUE(dialog.ReadFromINIFile()) << "a missing section still reads the file";
    dialog.SetINIFile(dir.filePath("none.ini"));
    EXPECT_FALSE(dialog.ReadFromINIFile());
    dialog.SetINIFile("");
    EXPECT_FALSE(dialog.ReadFromINIFile());
}

TEST(TipEditors, VerbAndFileNameProperty)
{
    Package::LoadPackage();
    TqvTipDlg dialog(nullptr);
    SetTips(dialog, "\"from the verb\"");
    const std::unique_ptr<TComponentEditor> editor = GetComponentEditor(&dialog, nullptr);
    ASSERT_NE(dynamic_cast<TTipDialogEditor*>(editor.get()), nullptr);
    EXPECT_EQ(editor->GetVerbCount(), 1);
    EXPECT_EQ(editor->GetVerb(0), "Test Tips Dialog");
    QString shown;
    WhenFound<TqvTipsForm>([&dialog] { return dialog.Form(); }, [&](TqvTipsForm* Form) {
        shown = Form->TipLbl->Caption();
        Form->OKBtn->Click();
    });
    editor->Edit();
    EXPECT_EQ(shown, "from the verb");

    const QMetaObject* meta = dialog.metaObject();
    const QMetaProperty ini = meta->property(meta->indexOfProperty("INIFile"));
    std::unique_ptr<TPropertyEditor> property = CreatePropertyEditor(nullptr, &dialog, ini);
    ASSERT_NE(dynamic_cast<TFileNameProperty*>(property.get()), nullptr);
    EXPECT_EQ(property->GetAttributes(), TPropertyAttributes(paDialog));
    // Another string property of the dialog keeps the plain editor.
    const QMetaProperty section = meta->property(meta->indexOfProperty("INISection"));
    EXPECT_EQ(dynamic_cast<TFileNameProperty*>(CreatePropertyEditor(nullptr, &dialog, section).get()), nullptr);

    dialog.SetINIFile("/old/tips.ini");
    QString preset, filter;
    TOpenOptions options;
    bool confirm = false;
    TOpenDialog::SetResponder([&](TOpenDialog* Open) {
        preset = Open->FileName();
        filter = Open->Filter();
        options = Open->Options();
        Open->SetFileName("/new/tips.ini");
        return confirm;
    });
    property->Edit();
    EXPECT_EQ(dialog.INIFile(), "/old/tips.ini") << "cancelled";
    confirm = true;
    property->Edit();
    TOpenDialog::SetResponder({});
    EXPECT_EQ(dialog.INIFile(), "/new/tips.ini");
    EXPECT_EQ(preset, "/old/tips.ini");
    EXPECT_EQ(filter, "All files|*.*");
    EXPECT_TRUE(options.testFlag(ofPathMustExist) && options.testFlag(ofFileMustExist));
    Package::UnloadPackage();
}
