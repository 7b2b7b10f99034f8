// Shows a form with a background gradient and a gradient progress bar on the X
// display in $DISPLAY, grabs what the display shows of it and saves it as a PNG.
// Usage: form_screenshot OUTPUT.png
#include "gradient/qvbgrad.h"
#include "gradient/qvgprg.h"
#include "support/screenshot.h"
#include "vcl/controls/forms.h"

int main(int argc, char** argv)
{
    return qvtest::ScreenshotMain(argc, argv, "form_screenshot", [](vcl::TForm& form) {
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
    });
}
