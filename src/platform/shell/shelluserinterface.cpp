#include "platform/shell/shelluserinterface.h"

#include <QDesktopServices>

namespace platform::shell {

TShellUserInterface& ShellUserInterface()
{
    static TShellUserInterface seams{[](const QUrl& url) { return QDesktopServices::openUrl(url); }, {}, {}};
    return seams;
}

} // namespace platform::shell
