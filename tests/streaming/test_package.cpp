#include "package/package.h"
#include "package/palettepages.h"
#include "gradient/qvbgrad.h"
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
        {"<Velnor Software ZiruRode>", {"TqvBackGradient"}},
        {"<Velnor Software Win32>", {"TqvGradientProgress", "TqvSaveForm", "TqvSplitter", "TqvSplitterWindow"}},
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
