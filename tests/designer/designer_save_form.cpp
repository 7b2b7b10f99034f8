// Run as "designer_save_form PLUGIN_DIR OUTPUT.ui": in Qt Designer's own form editor (in
// this process, offscreen), places one component of each palette page on a form, sets
// values through Designer's property sheets, adds two panes to the splitter window with
// its "New Pane" verb from the task menu, and writes the form as Designer saves it. The
// build compiles the result with uic for test_designerforms, which also loads it through
// QUiLoader. Exit code 0, 1 on failure, 2 for bad usage.
#include "designersession.h"
#include "system/qvexitwin.h"
#include "layout/qvsplitterwindow.h"
#include "vcl/controls/dialogs.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFont>
#include <QtDesigner/QDesignerFormWindowInterface>
#include <QtDesigner/QDesignerTaskMenuExtension>
#include <cstdio>
#include <stdexcept>

namespace {

using Qvdesignertest::TDesignerSession;

struct TPlacedValue {
    const char* Property;
    QVariant Value;
};

struct TPlaced {
    const char* ClassName;
    const char* Name;
    QRect Geometry;
    std::vector<TPlacedValue> Values;
};

// DejaVu Serif, 11 points, bold, italic, underlined and struck out.
QFont SerifFont()
{
    QFont font;
    font.setFamily(QStringLiteral("DejaVu Serif"));
    font.setPointSize(11);
    font.setBold(true);
    font.setItalic(true);
    font.setUnderline(true);
    font.setStrikeOut(true);
    return font;
}

// One class of each page, in page order, and a tip dialog for a component's font;
// test_designerforms checks these values.
std::vector<TPlaced> Components()
{
    using namespace vcl::Dialogs;
    return {
        {"TqvMsgDlg", "msgDlg", {10, 10, 96, 48},
            {{"Msg", QStringLiteral("Saved from Designer")}, {"HelpContextID", 42},
                {"DialogType", QVariant::fromValue(mtError)},
                {"DialogButtons", QVariant::fromValue(TMsgDlgButtons(mbYes) | mbNo)}}},
        {"TqvCoolLabel", "coolLabel", {120, 10, 160, 40}, {{"Caption", QStringLiteral("Cool caption")}, {"ShadowWidth", 3}, {"Font", SerifFont()}}},
        {"TqvColorMixer", "colorMixer", {300, 10, 160, 120}, {{"Hint", QStringLiteral("Mix a colour")}, {"ShowHint", true}}},
        {"TqvSplitterWindow", "splitterWindow", {10, 200, 200, 120},
            {{"Orientation", QVariant::fromValue(Qvsplitterwindow::swHorizontal)}, {"AllowSizing", false}}},
        {"TqvMemoEdTab", "memoEdTab", {220, 200, 160, 120}, {{"RightMargin", 70}}},
        {"TqvColorCombo", "colorCombo", {400, 200, 140, 24}, {{"ShowColorNames", false}}},
        {"TqvFTPButton", "ftpButton", {400, 240, 100, 30},
            {{"Caption", QStringLiteral("Upload")}, {"HostName", QStringLiteral("ftp.example.org")}, {"Port", 2121}}},
        {"TqvExitWin", "exitWin", {520, 10, 96, 48}, {{"ExitWinType", QVariant::fromValue(Qvexitwin::ewReboot)}}},
        {"TqvTipDlg", "tipDlg", {520, 80, 96, 48}, {{"TipFont", SerifFont()}}},
    };
}

QString SavedForm(const QString& PluginDir)
{
    TDesignerSession session(PluginDir);
    if (!session.PluginLoaded())
        throw std::runtime_error("Designer did not load the QvKit plugin");
    QDesignerFormWindowInterface* form = session.NewForm(QStringLiteral("SavedForm"), {640, 360});
    for (const TPlaced& placed : Components()) {
        QWidget* widget = session.Place(form, QStringLiteral("Qvdesigner::") + placed.ClassName, placed.Name, placed.Geometry);
        for (const TPlacedValue& value : placed.Values)
            session.SetProperty(widget, value.Property, value.Value);
    }
    QDesignerTaskMenuExtension* menu = session.TaskMenu(form->mainContainer()->findChild<QWidget*>("splitterWindow"));
    if (menu == nullptr)
        throw std::runtime_error("the splitter window has no task menu");
    menu->taskActions().at(0)->trigger();
    menu->preferredEditAction()->trigger();
    return form->contents();
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: designer_save_form PLUGIN_DIR OUTPUT.ui\n");
        return 2;
    }
    try {
        const QByteArray ui = SavedForm(QString::fromLocal8Bit(argv[1])).toUtf8();
        QFile file(QString::fromLocal8Bit(argv[2]));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(ui) != ui.size())
            throw std::runtime_error("cannot write " + std::string(argv[2]));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "designer_save_form: %s\n", e.what());
        return 1;
    }
    return 0;
}
