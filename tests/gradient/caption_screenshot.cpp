// Shows two forms with a gradient caption on the X display in $DISPLAY, the first
// active and the second inactive, grabs the screen area holding both and saves it.
// Usage: caption_screenshot OUTPUT.png
#include "gradient/qvwordcaption.h"
#include "support/screenshot.h"
#include "vcl/controls/forms.h"

#include <QApplication>
#include <cstdio>

namespace {

vcl::TForm* CaptionForm(int Top, const QString& Caption)
{
    auto* form = new vcl::TForm(nullptr);
    form->SetBounds(20, Top, 360, 100);
    auto* caption = new Qvwordcaption::TqvGradientCaption(form);
    caption->CompanyText()->SetCaption(QStringLiteral("Velnor"));
    caption->CompanyText()->SetFontKind(Qvwordcaption::fkSystemBI);
    caption->AppNameText()->SetCaption(QStringLiteral("Program -"));
    caption->CaptionText()->SetCaption(Caption);
    form->Show();
    return form;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: caption_screenshot OUTPUT.png\n");
        return 2;
    }
    QApplication app(argc, argv);
    std::unique_ptr<vcl::TForm> inactive(CaptionForm(140, QStringLiteral("Inactive")));
    std::unique_ptr<vcl::TForm> active(CaptionForm(20, QStringLiteral("Active")));
    qvtest::WaitUntilShown(*active);
    if (!qvtest::SaveScreenArea(QRect(0, 0, 400, 260), QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "caption_screenshot: could not grab or save the screen\n");
        return 1;
    }
    return 0;
}
