#pragma once
// Runs a component editor's verbs and its double-click action for a design host.
#include "vcl/streaming/designintf.h"

#include <QString>
#include <functional>

class QMenu;

namespace gallery {

// Where a host shows an editor's failure (a status bar, a message box).
using ErrorSink = std::function<void(const QString& Message)>;

// Adds one action per verb of the component's editor to Menu, captioned with the verb
// ("&" marks the accelerator); triggering it runs ExecuteVerb with the verb's index.
// Returns the number of verbs.
int AddVerbActions(QMenu& Menu, vcl::TComponent* Component, vcl::IDesigner* Designer, ErrorSink OnError);

// The double-click action: the editor's Edit (its first verb, where it has verbs).
void EditComponent(vcl::TComponent* Component, vcl::IDesigner* Designer, const ErrorSink& OnError);

} // namespace gallery
