// A message dialog with Yes and No; here a timer answers for the user.
#include "dialogs/qvfrmmsgdlg.h"
#include "dialogs/qvmsgdlg.h"

#include <QApplication>
#include <QTimer>
#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    Qvmsgdlg::TqvMsgDlg dialog(nullptr);
    QTimer::singleShot(0, [] {
        if (Qvfrmmsgdlg::TfrmMsgDlg* shown = Qvmsgdlg::CurrentMsgDlgForm())
            shown->cmdYes->Click();
    });
    const int answer = dialog.MessageDlg("Save the changes?", vcl::mtConfirmation,
                                         vcl::TMsgDlgButtons(vcl::mbYes) | vcl::mbNo, 0);
    std::printf("answer %d (6 is Yes, 7 is No)\n", answer);
    return answer == vcl::mrYes ? 0 : 1;
}
