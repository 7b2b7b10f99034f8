// Shows the system information panel on the X display in $DISPLAY once its timer has
// filled the bars, and saves the screen's picture of the form.
// Usage: sysinfo_screenshot OUTPUT.png
#include "controls/waituntil.h"
#include "support/screenshot.h"
#include "system/qvsysinfo.h"
#include "vcl/controls/forms.h"

int main(int argc, char** argv)
{
    return qvtest::ScreenshotMain(argc, argv, "sysinfo_screenshot", [](vcl::TForm& Form, const QStringList&) {
        Form.SetBounds(40, 40, 320, 160);
        auto* info = new Qvsysinfo::TqvSysInfo(&Form);
        info->SetParent(&Form);
        info->SetBounds(0, 0, 300, 132);
        Form.Show();
        WaitUntil([info] { return info->ProgressBar1->Position() > 0; }, 30000);
    });
}
