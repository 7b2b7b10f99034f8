// A colour combo box: choosing a colour selects its named entry.
#include "lists/qvcolorcombo.h"

#include "vcl/controls/forms.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    vcl::TForm form(nullptr);
    auto* colours = new Qvcolorcombobox::TqvColorCombo(&form);
    colours->SetParent(&form);
    colours->SetSelectedColor(vcl::clRed);
    std::printf("%d entries, selected \"%s\"\n", colours->Items()->Count(), qPrintable(colours->Text()));
    return colours->SelectedColor() == vcl::clRed ? 0 : 1;
}
