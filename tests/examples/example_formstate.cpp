// A form that comes back where the user left it: TqvSaveForm writes the form's bounds
// and state to the registry store when it closes and restores them when it shows.
#include "utilities/qvsaveform.h"

#include "vcl/controls/forms.h"

#include <QApplication>
#include <QPointer>
#include <cstdio>

void ShowMovedAndClose(int Left)
{
    QPointer<vcl::TForm> form = new vcl::TForm(nullptr);
    form->SetName("MainForm");
    auto* saver = new Qvsaveform::TqvSaveForm(form);
    saver->SetRegCompanyNameString("Example Company");
    saver->SetRegAppNameString("Example");
    saver->SetRegFormNameString("MainForm");
    form->Show();
    std::printf("shown at %d\n", form->Left());
    form->SetBounds(Left, 50, 320, 200);
    form->Close(); // saves, then frees the form
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    ShowMovedAndClose(120); // first run: shown where designed
    ShowMovedAndClose(40);  // second run: shown at 120, where the first one closed
    return 0;
}
