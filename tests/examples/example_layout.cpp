// A collapsible splitter between a side panel and the rest of a form.
#include "layout/qvsplitter.h"

#include "vcl/controls/extctrls.h"
#include "vcl/controls/forms.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    vcl::TForm form(nullptr);
    form.SetBounds(0, 0, 400, 300);
    auto* side = new vcl::TPanel(&form);
    side->SetParent(&form);
    side->SetAlign(vcl::alLeft);
    side->SetWidth(120);
    auto* splitter = new Qvsplitter::TqvSplitter(&form);
    splitter->SetParent(&form);
    splitter->SetAlign(vcl::alLeft); // docks against the side panel
    auto* rest = new vcl::TPanel(&form);
    rest->SetParent(&form);
    rest->SetAlign(vcl::alClient);
    form.Show();
    std::printf("side %d, splitter at %d, rest %d wide\n", side->Width(), splitter->Left(), rest->Width());
    return splitter->Left() == side->Width() ? 0 : 1;
}
