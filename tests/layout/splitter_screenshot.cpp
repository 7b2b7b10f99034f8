// Shows a form holding a splitter window with three panes (navy, white, teal) and a
// collapsible splitter above a bottom panel on the X display in $DISPLAY, grabs it from
// the screen and saves it as a PNG.
// Usage: splitter_screenshot OUTPUT.png
#include "layout/qvsplitter.h"
#include "layout/qvsplitterwindow.h"
#include "support/screenshot.h"
#include "vcl/controls/extctrls.h"
#include "vcl/controls/forms.h"

int main(int argc, char** argv)
{
    return qvtest::ScreenshotMain(argc, argv, "splitter_screenshot", [](vcl::TForm& form, const QStringList&) {
        form.SetCaption(QStringLiteral("QvKit splitters"));
        form.SetBounds(40, 30, 408, 268);

        auto* bottom = new vcl::TPanel(&form);
        bottom->SetParent(&form);
        bottom->SetHeight(40);
        bottom->SetAlign(vcl::alBottom);
        auto* splitter = new Qvsplitter::TqvSplitter(&form);
        splitter->SetParent(&form);
        splitter->SetAlign(vcl::alBottom);

        auto* window = new Qvsplitterwindow::TqvSplitterWindow(&form);
        window->SetParent(&form);
        window->SetAlign(vcl::alClient);
        const vcl::TColor colors[] = {vcl::clNavy, vcl::clWhite, vcl::clTeal};
        for (int i = 0; i < 3; ++i) {
            auto* pane = new Qvsplitterwindow::TPane(&form);
            pane->SetPaneSize(quint16(i == 2 ? 200 : 100));
            pane->SetColor(colors[i]);
            pane->SetSplitterWnd(window);
        }
    });
}
