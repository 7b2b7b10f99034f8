// Shows a form with a background gradient and a gradient progress bar on the X
// display in $DISPLAY, grabs what the display shows of it and saves it as a PNG.
// Usage: form_screenshot OUTPUT.png
#include "gradient/qvbgrad.h"
#include "gradient/qvgprg.h"
#include "vcl/controls/forms.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QScreen>
#include <QTimer>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: form_screenshot OUTPUT.png\n");
        return 2;
    }
    QApplication app(argc, argv);
    vcl::TForm form(nullptr);
    form.SetCaption(QStringLiteral("QvKit gradients"));
    form.SetBounds(40, 30, 360, 240);

    auto* background = new Qvbgrad::TqvBackGradient(&form);
    background->SetParent(&form);
    background->SetAlign(vcl::alClient);
    background->SetCtl3D(true);

    auto* progress = new Qvgprg::TqvGradientProgress(&form);
    progress->SetParent(&form);
    progress->SetAlign(vcl::alBottom);
    progress->SetPosition(60);

    form.Show();
    form.activateWindow();
    // Give the display time to map and paint the window, then grab the screen.
    QDeadlineTimer deadline(3000);
    while (!form.isActiveWindow() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
    QDeadlineTimer settle(300);
    while (!settle.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);

    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0, form.x(), form.y(), form.width(), form.height());
    if (shot.isNull() || !shot.save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "form_screenshot: could not grab or save the screen\n");
        return 1;
    }
    return 0;
}
