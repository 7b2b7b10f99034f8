// Shows the tip dialog and a memo tab editor with three documents on the X display in
// $DISPLAY and saves what the display shows as PNG files: tipdlg.png, edtab.png.
// Usage: utilities_screenshot OUTPUT_FOLDER
#include "support/screenshot.h"
#include "utilities/qvmemobrowser.h"
#include "utilities/qvtipdlgu.h"
#include "utilities/qvtipfrmdlg.h"

#include "vcl/controls/forms.h"
#include "vcl/controls/stdctrls.h"
#include "vcl/core/strings.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTimer>
#include <cstdio>

namespace {

bool Grab(vcl::TCustomForm* Form, const QString& Path)
{
    qvtest::WaitUntilShown(*Form);
    return qvtest::SaveScreenArea(Form->geometry(), Path);
}

bool GrabTipDialog(const QDir& Out)
{
    Qvtipdlgu::TqvTipDlg tips(nullptr);
    vcl::TStringList lines;
    lines.Add(QStringLiteral("Tabs below the editor|show which documents are unsaved."));
    tips.SetTipValues(&lines);
    tips.SetCRLFSubstitute(QStringLiteral("|"));
    tips.SetPanelColor(vcl::RGB(255, 255, 225));
    bool ok = false;
    QTimer::singleShot(0, [&] {
        Qvtipfrmdlg::TqvTipsForm* form = tips.Form();
        ok = form != nullptr && Grab(form, Out.filePath(QStringLiteral("tipdlg.png")));
        if (form != nullptr)
            form->OKBtn->Click();
    });
    tips.Execute();
    return ok;
}

bool GrabEditor(const QDir& Out)
{
    vcl::TForm form(nullptr);
    form.SetBounds(40, 30, 360, 240);
    form.SetCaption(QStringLiteral("Documents"));
    auto* editor = new Qvmemobrowser::TqvMemoEdTab(&form);
    editor->SetParent(&form);
    editor->SetAlign(vcl::alClient);
    const QString path = Out.filePath(QStringLiteral("readme.txt"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write("A document read from a file.\n");
    file.close();
    editor->AddNewFile(path, false);
    editor->AddNewBlank(QStringLiteral("draft"), true);
    editor->GetCurrentEditor()->Lines()->Add(QStringLiteral("An unsaved draft."));
    form.Show();
    return Grab(&form, Out.filePath(QStringLiteral("edtab.png")));
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: utilities_screenshot OUTPUT_FOLDER\n");
        return 2;
    }
    QApplication app(argc, argv);
    const QDir out(QString::fromLocal8Bit(argv[1]));
    const bool ok = GrabTipDialog(out) && GrabEditor(out);
    if (!ok)
        std::fprintf(stderr, "utilities_screenshot: could not grab or save the screen\n");
    return ok ? 0 : 1;
}
