#pragma once
// The designer's verbs for the FTP browser: 0 "Connect", 1 "Disconnect". The browser
// never connects by itself at design time, only when the verb is chosen.
#include "vcl/streaming/designintf.h"

namespace Qvftpshell {

// The component editor of TqvFTP: its verbs connect and disconnect the browser.
class TqvFTPEditor : public vcl::TComponentEditor {
public:
    using TComponentEditor::TComponentEditor;
    // A double-click selects the browser and nothing more: connecting is asked for by name.
    void Edit() override {}
    // Verb 0 connects (raising as TqvFTP::Connect does), verb 1 disconnects; other
    // indexes, or a component that is no TqvFTP, do nothing.
    void ExecuteVerb(int Index) override;
    // "Connect" for 0, "Disconnect" for 1, empty for any other index.
    QString GetVerb(int Index) override;
    // Two verbs.
    int GetVerbCount() override { return 2; }
};

} // namespace Qvftpshell
