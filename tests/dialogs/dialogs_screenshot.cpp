// Shows the message dialog with four buttons and the colour window on each of its three
// pages on the X display in $DISPLAY and saves what the display shows as PNG files:
// msgdlg.png, ring.png, gradient.png, mixer.png.
// Usage: dialogs_screenshot OUTPUT_FOLDER
#include "dialogs/qvcolorsort.h"
#include "dialogs/qvmsgdlg.h"
#include "support/screenshot.h"

#include <QApplication>
#include <QDir>
#include <QTimer>
#include <cstdio>

namespace {

// Lets the display map and paint Form, then saves the screen's picture of it.
bool Grab(vcl::TCustomForm* Form, const QString& Path)
{
    qvtest::WaitUntilShown(*Form);
    return qvtest::SaveScreenArea(Form->geometry(), Path);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: dialogs_screenshot OUTPUT_FOLDER\n");
        return 2;
    }
    QApplication app(argc, argv);
    const QDir out(QString::fromLocal8Bit(argv[1]));
    bool ok = true;

    Qvmsgdlg::TqvMsgDlg message(nullptr);
    message.SetDialogType(vcl::mtConfirmation);
    message.SetDialogButtons(vcl::TMsgDlgButtons(vcl::mbYes) | vcl::mbNo | vcl::mbCancel | vcl::mbHelp);
    message.SetMsg(QStringLiteral("Save the changes to the document?"));
    QTimer::singleShot(0, [&] {
        vcl::TCustomForm* form = Qvmsgdlg::CurrentMsgDlgForm();
        ok = form != nullptr && Grab(form, out.filePath(QStringLiteral("msgdlg.png"))) && ok;
        if (form != nullptr)
            form->Close();
    });
    message.Execute();

    Qvcolorsort::TqvSelectColorDlg colors(nullptr);
    colors.SetColor(vcl::RGB(10, 200, 30));
    Qvcolorsort::TColorSotForm* form = colors.Form();
    form->SetBounds(40, 30, 186, 265);
    const std::pair<Qvcolorsort::TColorSotForm::TPage, const char*> pages[] = {
        {Qvcolorsort::TColorSotForm::pgRing, "ring.png"}, {Qvcolorsort::TColorSotForm::pgGradient, "gradient.png"},
        {Qvcolorsort::TColorSotForm::pgMixer, "mixer.png"}};
    for (const auto& [page, name] : pages) {
        form->SetActivePage(page);
        ok = Grab(form, out.filePath(QString::fromLatin1(name))) && ok;
    }
    if (!ok)
        std::fprintf(stderr, "dialogs_screenshot: could not grab or save the screen\n");
    return ok ? 0 : 1;
}
