// A form with one component of each palette page and a splitter window with two panes,
// saved by Qt Designer's own writer when the tests are built (designer_save_form), read
// at run time through QUiLoader with the plugin and compiled in with uic: both give the
// real components with the values set in Designer, the panes in their window.
#include "qvdesigner/componenthost.h"
#include "qvdesigner/widgets.h"
#include "ui_savedform.h"
#include "utilities/qvtipdlgu.h"
#include "vcl/graphics/colors.h"

#include <QDomDocument>
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

// The values are the ones designer_save_form sets; the enumeration numbers are the
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

// The "New Pane" verb run twice in Designer: panes Pane1 and Pane2, in that order.
void CheckPanes(QWidget& Form)
{
    auto* window = dynamic_cast<Qvsplitterwindow::TqvSplitterWindow*>(Form.findChild<QWidget*>("splitterWindow"));
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(window->GetNumPanes(), 2);
    for (int i = 0; i < 2; ++i) {
        Qvsplitterwindow::TPane* pane = window->GetPane(i);
        EXPECT_EQ(pane->objectName(), QStringLiteral("Pane%1").arg(i + 1));
        EXPECT_EQ(pane->parentWidget(), window);
        EXPECT_EQ(pane->PaneIndex(), i);
        EXPECT_TRUE(pane->isVisibleTo(window));
    }
}

// The fonts designer_save_form picked: DejaVu Serif, 11 points (11 * 96 / 72 = 14.67
// pixels, so Height -15), bold, italic, underlined and struck out, the colour untouched.
void CheckFonts(QWidget& Form)
{
    auto* label = dynamic_cast<vcl::TControl*>(Qvdesigner::ComponentOf(Form.findChild<QWidget*>("coolLabel")));
    auto* tipDlg = dynamic_cast<Qvtipdlgu::TqvTipDlg*>(Qvdesigner::ComponentOf(Form.findChild<QWidget*>("tipDlg")));
    ASSERT_NE(label, nullptr);
    ASSERT_NE(tipDlg, nullptr);
    for (const vcl::TFont* font : {label->Font(), tipDlg->TipFont()}) {
        EXPECT_EQ(font->Name(), "DejaVu Serif");
        EXPECT_EQ(font->Height(), -15);
        EXPECT_EQ(font->Style(), vcl::TFontStyles(vcl::fsBold | vcl::fsItalic | vcl::fsUnderline | vcl::fsStrikeOut));
        EXPECT_EQ(font->Color(), vcl::clWindowText);
    }
    // The control draws with its TFont: the widget's own font follows it.
    EXPECT_EQ(label->font().family(), "DejaVu Serif");
    EXPECT_EQ(label->font().pixelSize(), 15);
    EXPECT_EQ(tipDlg->TipTitleFont()->Name(), vcl::TFont::DefaultName()) << "the other font keeps its default";
}

void CheckForm(QWidget& Form)
{
    CheckPanes(Form);
    CheckFonts(Form);
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
    Ui::SavedForm ui;
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
    QFile file(QStringLiteral(QV_SAVED_FORM));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const std::unique_ptr<QWidget> form(loader.load(&file));
    ASSERT_NE(form, nullptr) << loader.errorString().toStdString();
    CheckForm(*form);
    EXPECT_FALSE(Qvdesigner::ComponentOf(form->findChild<QWidget*>("ftpButton"))->ComponentState() & vcl::csDesigning);
}

// Designer wrote the panes inside their window and named the method that adds them.
TEST(DesignerForms, DesignerSavedThePanesInTheirWindow)
{
    QFile file(QStringLiteral(QV_SAVED_FORM));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QDomDocument dom;
    ASSERT_TRUE(dom.setContent(&file));
    QStringList panes;
    const QDomNodeList widgets = dom.elementsByTagName("widget");
    for (int i = 0; i < widgets.size(); ++i) {
        const QDomElement widget = widgets.at(i).toElement();
        if (widget.attribute("class") == "Qvdesigner::TPane")
            panes << widget.parentNode().toElement().attribute("name") + '/' + widget.attribute("name");
    }
    EXPECT_EQ(panes, QStringList({"splitterWindow/Pane1", "splitterWindow/Pane2"}));
    const QDomNodeList methods = dom.elementsByTagName("addpagemethod");
    ASSERT_EQ(methods.size(), 1);
    EXPECT_EQ(methods.at(0).toElement().text(), "addPane");
}

// Components from a compiled form run as ones made in code: a third pane joins the
// splitter window, and the host's setters reach the component.
TEST(DesignerForms, ComponentsFromAFormWork)
{
    QWidget form;
    Ui::SavedForm ui;
    ui.setupUi(&form);
    auto* pane = new Qvsplitterwindow::TPane(nullptr);
    pane->SetSplitterWnd(ui.splitterWindow);
    EXPECT_EQ(ui.splitterWindow->GetNumPanes(), 3);
    EXPECT_EQ(pane->parentWidget(), ui.splitterWindow);
    EXPECT_EQ(ui.exitWin->ExitWinType(), Qvexitwin::ewReboot);
    ui.exitWin->setExitWinType(Qvexitwin::ewPowerOff);
    EXPECT_EQ(ui.exitWin->Component()->ExitWinType(), Qvexitwin::ewPowerOff);
}

} // namespace
