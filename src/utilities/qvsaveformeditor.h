#pragma once
// TDialogComponent: the component editor of TqvSaveForm, whose verbs run the
// component's design-time operations.
#include "vcl/streaming/designintf.h"

namespace Qvsaveform {

// Eight verbs, each calling the TqvSaveForm operation of the same place in this list:
// RefreshFormName, DelRegistry, DelDefault, RefreshFormValues, StoreFixedSettings,
// StoreDesignSettings, SetFixedBounds, SetFormDesignBounds. A double-click runs the
// first. After each verb the designer is told that the design may have changed.
class TDialogComponent : public vcl::TComponentEditor {
public:
    using TComponentEditor::TComponentEditor;

    // Runs verb Index (see above).
    void ExecuteVerb(int Index) override;
    QString GetVerb(int Index) override; // The verb's caption.
    int GetVerbCount() override; // Eight verbs.
};

} // namespace Qvsaveform
