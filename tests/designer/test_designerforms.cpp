// A form with one component of each palette page (allpages.ui, written in the form
// Designer saves) read at run time through QUiLoader with the plugin, and compiled in
// with uic: both give the real components with the values the form sets.
#include "qvdesigner/componenthost.h"
#include "qvdesigner/widgets.h"
#include "ui_allpages.h"

#include <QFile>
#include <QUiLoader>
#include <gtest/gtest.h>
#include <memory>

namespace {

struct TExpectedValue {
    const char* ObjectName;
    const char* ClassName;  // of the component the widget stands for
    const char* Property;   // read on the component itself
    QVariant Value;         // as the form sets it; enumerations by number
};

// The values are the ones written in allpages.ui; the enumeration numbers are the
// positions of mtError, swHorizontal and ewReboot in their declarations, the set is
// mbYes (0x001) and mbNo (0x002).
const TExpectedValue Expected[] = {
    {"msgDlg", "TqvMsgDlg", "Msg", QStringLiteral("Saved from Designer")},
    {"msgDlg", "TqvMsgDlg", "HelpContextID", 42},
    {"msgDlg", "TqvMsgDlg", "DialogType", 1},
    {"msgDlg", "TqvMsgDlg", "DialogButtons", 0x001 | 0x002},
    {"coolLabel", "TqvCoolLabel", "Caption", QStringLiteral("Cool caption")},
    {"coolLabel", "TqvCoolLabel", "ShadowWidth", 3},
    {"colorMixer", "TqvColorMixer", "Hint", QStringLiteral("Mix a colour")},
    {"colorMixer", "TqvColorMixer", "ShowHint", true},
    {"splitterWindow", "TqvSplitterWindow", "Orientation", 0},
    {"splitterWindow", "TqvSplitterWindow", "AllowSizing", false},
    {"memoEdTab", "TqvMemoEdTab", "RightMargin", 70},
    {"colorCombo", "TqvColorCombo", "ShowColorNames", false},
    {"ftpButton", "TqvFTPButton", "Caption", QStringLiteral("Upload")},
    {"ftpButton", "TqvFTPButton", "HostName", QStringLiteral("ftp.example.org")},
    {"ftpButton", "TqvFTPButton", "Port", 2121},
    {"exitWin", "TqvExitWin", "ExitWinType", 1},
};

void CheckForm(QWidget& Form)
{
    for (const TExpectedValue& row : Expected) {
        SCOPED_TRACE(QStringLiteral("%1.%2").arg(row.ObjectName, row.Property).toStdString());
        auto* widget = Form.findChild<QWidget*>(row.ObjectName);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->parentWidget(), &Form);
        vcl::TComponent* component = Qvdesigner::ComponentOf(widget);
        ASSERT_NE(component, nullptr);
        EXPECT_EQ(component->ClassName(), row.ClassName);
        EXPECT_EQ(component->Name(), row.ObjectName) << "the component takes the widget's name";
        const QVariant actual = component->AsQObject()->property(row.Property);
        if (row.Value.typeId() == QMetaType::Int)
            EXPECT_EQ(actual.toInt(), row.Value.toInt());
        else
            EXPECT_EQ(actual, row.Value);
    }
}

TEST(DesignerForms, UicCompiledFormMakesTheComponents)
{
    QWidget form;
    Ui::AllPagesForm ui;
    ui.setupUi(&form);
    CheckForm(form);
    // The generated members have the generated classes' types: the component is at hand.
    EXPECT_EQ(ui.msgDlg->Component()->Msg(), "Saved from Designer");
    EXPECT_EQ(ui.splitterWindow->geometry(), QRect(10, 200, 200, 120));
    EXPECT_FALSE(ui.splitterWindow->ComponentState() & vcl::csDesigning);
}

TEST(DesignerForms, QUiLoaderWithThePluginMakesTheComponents)
{
    QUiLoader loader;
    loader.clearPluginPaths();
    loader.addPluginPath(QStringLiteral(QV_DESIGNER_PLUGIN_DIR));
    ASSERT_TRUE(loader.availableWidgets().contains("Qvdesigner::TqvMsgDlg")) << "the plugin is not loaded";
    QFile file(qEnvironmentVariable("QV_TEST_SOURCE_DIR") + QStringLiteral("/allpages.ui"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const std::unique_ptr<QWidget> form(loader.load(&file));
    ASSERT_NE(form, nullptr) << loader.errorString().toStdString();
    CheckForm(*form);
    EXPECT_FALSE(Qvdesigner::ComponentOf(form->findChild<QWidget*>("ftpButton"))->ComponentState() & vcl::csDesigning);
}

// Components from a compiled form run as ones made in code: a pane joins the splitter
// window, and the host's setters reach the component.
TEST(DesignerForms, ComponentsFromAFormWork)
{
    QWidget form;
    Ui::AllPagesForm ui;
    ui.setupUi(&form);
    auto* pane = new Qvsplitterwindow::TPane(nullptr);
    pane->SetSplitterWnd(ui.splitterWindow);
    EXPECT_EQ(ui.splitterWindow->GetNumPanes(), 1);
    EXPECT_EQ(pane->parentWidget(), ui.splitterWindow);
    EXPECT_EQ(ui.exitWin->ExitWinType(), Qvexitwin::ewReboot);
    ui.exitWin->setExitWinType(Qvexitwin::ewPowerOff);
    EXPECT_EQ(ui.exitWin->Component()->ExitWinType(), Qvexitwin::ewPowerOff);
}

} // namespace
