#pragma once
// Screenshots of real windows on an X server (Xvfb): a small program shows a form and
// grabs it from the screen, and a test runs that program under xvfb-run.
#include <QString>
#include <functional>

class QWidget;

namespace vcl {
class TForm;
} // namespace vcl

namespace qvtest {

// Program side: the whole main() of a screenshot program called Program. It takes the
// output path as its one argument, creates the application and a form, lets Build put
// the controls on the form and returns what GrabShownWindow returns (2 for bad usage).
int ScreenshotMain(int argc, char** argv, const char* Program, const std::function<void(vcl::TForm&)>& Build);

// Program side: shows Window, waits until the display has mapped and painted it, grabs
// its area from the screen and saves it as Output (PNG). Returns the program's exit
// code: 0, or 1 after printing why it failed.
int GrabShownWindow(QWidget& Window, const char* Output);

// Test side: runs Program (in the test's build folder) with an output path under a
// fresh X server; Output is the picture's path. Empty on success, else what went wrong.
// The caller checks first that xvfb-run exists (XvfbRunPath).
QString RunScreenshotProgram(const QString& Program, QString& Output);

// The path of xvfb-run, empty when it is not installed.
QString XvfbRunPath();

} // namespace qvtest
