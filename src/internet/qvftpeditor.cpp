#include "internet/qvftpeditor.h"

#include "internet/qvftp.h"

namespace Qvftpshell {

QString TqvFTPEditor::GetVerb(int Index)
{
    switch (Index) {
    case 0: return QStringLiteral("Connect");
    case 1: return QStringLiteral("Disconnect");
    default: return QString();
    }
}

void TqvFTPEditor::ExecuteVerb(int Index)
{
    auto* browser = dynamic_cast<TqvFTP*>(Component());
    if (browser == nullptr)
        return;
    // Connect raises for missing settings; the host shows that as the verb's error.
    if (Index == 0)
        browser->Connect();
    else if (Index == 1)
        browser->Disconnect();
}

} // namespace Qvftpshell
