#include "package/package.h"
#include "package/palettepages.h"
#include "gradient/qvbgrad.h"
#include "gradient/qvwordcaption.h"
#include "support/testsupport.h"
#include "vcl/controls/forms.h"
#include "vcl/core/unitstartup.h"
#include "vcl/streaming/designintf.h"
#include "vcl/streaming/formfile.h"

#include <gtest/gtest.h>

using namespace vcl;

namespace {

std::vector<std::pair<QString, QStringList>> Palette()
{
    std::vector<std::pair<QString, QStringList>> pages;
    for (const TPalettePage& page : PalettePages()) {
        QStringList names;
        for (TComponentClass c : page.Classes)
            names.push_back(c->ClassName());
        pages.emplace_back(page.Caption, names);
    }
    return pages;
}

} // namespace

TEST(Package, RegistersTheExistingClassesOnTheirPagesInProcedureOrder)
{
    ClearDesignRegistries();
    Package::LoadPackage();
    const std::vector<std::pair<QString, QStringList>> expected = {
        {"<Velnor Software Dialogs>", {"TqvTipDlg", "TqvMsgDlg"}},
        {"<Velnor Software ZiruRode>",
            {"TqvBackGradient", "TqvGradientBtn", "TqvCoolLabel", "TqvCoolButton", "TqvCoolWallpaper",
                "TqvCoolGradientButton"}},
        {"<Velnor Software Misc>", {"TqvSelectColorDlg", "TqvColorMixer", "TqvColorSelector"}},
        {"<Velnor Software Win32>", {"TqvGradientProgress", "TqvSaveForm", "TqvSysInfo", "TqvGradientCaption",
                                        "TqvSplitter", "TqvFileListView", "TqvFolderCombo", "TqvFilenameEdit",
                                        "TqvSplitterWindow"}},
        {"<Velnor Software Edit>", {"TqvMemoEdTab", "TqvRichEdTab", "TqvLinkParser"}},
        {"<Velnor Software List && Combos>", {"TqvComboBox", "TqvColorCombo", "TqvFontCombo"}},
        {"<Velnor Software Internet>", {"TqvFTP", "TqvFTPButton"}},
        {"<Velnor Software System>", {"TqvTrayIcon", "TqvMySystem", "TqvExitWin"}},
    };
    EXPECT_EQ(Palette(), expected);
    EXPECT_LT(UnitStartupCounter("Partthreereg"), 0) << "loading the package starts its units";

    // A host that loads the package again gets the same palette, not doubled entries.
    ClearDesignRegistries();
    Package::LoadPackage();
    EXPECT_EQ(Palette(), expected);
    Package::UnloadPackage();
    Package::UnloadPackage();
    EXPECT_EQ(UnitStartupCounter("Partthreereg"), 0);
}

TEST(Package, ControlsStreamInsideTheirParentControls)
{
    Package::LoadPackage();
    TForm form(nullptr);
    form.SetName("Form1");
    auto* gradient = new Qvbgrad::TqvBackGradient(&form);
    gradient->SetName("Back");
    gradient->SetParent(&form);
    const QString text = ComponentToText(&form);
    ASSERT_TRUE(text.contains("  object Back: TqvBackGradient\n")) << text.toStdString();

    TForm copy(nullptr);
    TextToComponent(text, &copy);
    auto* read = dynamic_cast<Qvbgrad::TqvBackGradient*>(copy.FindComponent("Back"));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->Parent(), &copy) << "the reader sets the parent control, not only the widget";
    EXPECT_EQ(ComponentToText(&copy), text);
    Package::UnloadPackage();
}

TEST(Package, GradientCaptionTextsUnfoldAndStreamWithTheForm)
{
    ClearDesignRegistries();
    Package::LoadPackage();
    const QMetaObject* meta = &Qvwordcaption::TqvGradientCaption::staticMetaObject;
    for (const char* name : {"AppNameText", "CaptionText", "CompanyText"})
        EXPECT_EQ(GetEditorClass(meta, meta->property(meta->indexOfProperty(name))), ClassPropertyEditor()) << name;

    TForm form(nullptr);
    form.SetName("Form1");
    auto* caption = new Qvwordcaption::TqvGradientCaption(&form);
    caption->SetName("Caption1");
    caption->CompanyText()->SetCaption("Velnor");
    caption->CaptionText()->SetCaption("Doc");
    caption->AppNameText()->SetFontKind(Qvwordcaption::fkSystemB);
    caption->CompanyText()->Font()->SetHeight(-20);
    caption->CompanyText()->SetFontKind(Qvwordcaption::fkCustom);
    const QString text = ComponentToText(&form);
    // The system font kinds are not stored with a font; a custom font is.
    EXPECT_TRUE(text.contains("CompanyText.Font.Height = -20")) << text.toStdString();
    EXPECT_FALSE(text.contains("AppNameText.Font.")) << text.toStdString();

    TForm copy(nullptr);
    TextToComponent(text, &copy);
    auto* read = dynamic_cast<Qvwordcaption::TqvGradientCaption*>(copy.FindComponent("Caption1"));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(copy.Caption(), "Velnor Doc");
    EXPECT_EQ(read->CaptionText()->GetCaption(), "Doc");
    EXPECT_EQ(read->CompanyText()->Font()->Height(), -20);
    EXPECT_EQ(ComponentToText(&copy), text);
    Package::UnloadPackage();
}
