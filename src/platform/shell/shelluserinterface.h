#pragma once
// The points where the namespace's verbs meet a person: opening a URL with the
// desktop's handler, confirming a delete, asking for a new name, showing properties.
// Each is a replaceable function, so tests and the framework layer above can answer
// in place of the desktop.
#include <QList>
#include <QString>
#include <QUrl>
#include <functional>

namespace platform::shell {

struct TShellUserInterface {
    // Opens the URL with the desktop's handler; false when nothing could open it.
    std::function<bool(const QUrl& url)> OpenUrl;
    // Asks whether the items (by display name) may go to the trash. Without an answer
    // installed, nothing is deleted.
    std::function<bool(const QStringList& names)> ConfirmDelete;
    // Asks for a new name, starting from the current one; false when cancelled.
    std::function<bool(QString& name)> AskNewName;
};

// The functions in use; OpenUrl starts out as the desktop's handler and the others
// empty until the framework layer installs its dialogs.
TShellUserInterface& ShellUserInterface();

} // namespace platform::shell
