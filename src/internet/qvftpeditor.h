#pragma once
// The designer's verbs for the FTP browser: 0 "Connect", 1 "Disconnect". The browser
// never connects by itself at design time, only when the verb is chosen.
#include "vcl/streaming/designintf.h"

namespace Qvftpshell {

class TqvFTPEditor : public vcl::TComponentEditor {
public:
    using TComponentEditor::TComponentEditor;
    // A double-click selects the browser and nothing more: connecting is asked for by name.
    void Edit() override {}
    void ExecuteVerb(int Index) override;
    QString GetVerb(int Index) override;
    int GetVerbCount() override { return 2; }
};

} // namespace Qvftpshell
