// Shows the three combo boxes of the list page on a form on the X display in $DISPLAY,
// drops the one named on the command line down, and saves the form's area (the list
// lies inside it) as a PNG.
// Usage: lists_screenshot OUTPUT.png combo|color|font
#include "lists/qvcolorcombo.h"
#include "lists/qvfontcombo.h"
#include "support/screenshot.h"
#include "vcl/controls/forms.h"

#include <QApplication>
#include <cstdio>

namespace {

vcl::TCustomComboBox* BuildForm(vcl::TForm& Form, const QString& Which)
{
    Form.SetCaption(QStringLiteral("QvKit combo boxes"));
    Form.SetBounds(40, 20, 520, 450);
    auto* plain = new Qvcolorcombobox::TqvComboBox(&Form);
    plain->SetParent(&Form);
    plain->SetBounds(10, 10, 150, 0);
    plain->Items()->SetCommaText(QString::fromUtf8("Apple,Apricot,Banana,Cherry,Äpfel,Øre"));
    plain->SetBorderFrameVisible(true);
    plain->SetItemIndex(1);
    auto* colors = new Qvcolorcombobox::TqvColorCombo(&Form);
    colors->SetParent(&Form);
    colors->SetBounds(180, 10, 150, 0);
    colors->SetDropDownCount(19);
    colors->SetSelectedColor(vcl::clRed);
    auto* fonts = new Qvfontcombo::TqvFontCombo(&Form);
    fonts->SetParent(&Form);
    fonts->SetBounds(350, 10, 160, 0);
    fonts->SetDropDownCount(12);
    fonts->SetFontName(QStringLiteral("DejaVu Sans"));
    if (Which == u"color")
        return colors;
    if (Which == u"font")
        return fonts;
    return plain;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: lists_screenshot OUTPUT.png combo|color|font\n");
        return 2;
    }
    QApplication app(argc, argv);
    vcl::TForm form(nullptr);
    vcl::TCustomComboBox* combo = BuildForm(form, QString::fromLocal8Bit(argv[2]));
    qvtest::WaitUntilShown(form);
    combo->SetFocus();
    combo->SetDroppedDown(true);
    qvtest::WaitUntilShown(*combo->DropDownList());
    if (!qvtest::SaveScreenArea(form.geometry(), QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "lists_screenshot: could not grab or save the screen\n");
        return 1;
    }
    return 0;
}
