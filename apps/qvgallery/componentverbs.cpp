#include "componentverbs.h"

#include "vcl/core/sysutils.h"

#include <QMenu>

namespace gallery {

namespace {
// An editor's action may fail (a dialog that cannot open its file); the design session
// goes on and the host shows why.
template <class F>
void Guarded(const ErrorSink& OnError, F&& Action)
{
    try {
        Action();
    } catch (const vcl::Exception& e) {
        if (OnError)
            OnError(e.Message());
    }
}
} // namespace

int AddVerbActions(QMenu& Menu, vcl::TComponent* Component, vcl::IDesigner* Designer, ErrorSink OnError)
{
    const std::unique_ptr<vcl::TComponentEditor> editor = vcl::GetComponentEditor(Component, Designer);
    const int count = editor->GetVerbCount();
    for (int i = 0; i < count; ++i) {
        // A fresh editor runs the verb: the menu may outlive the selection it was made for.
        Menu.addAction(editor->GetVerb(i), [Component, Designer, OnError, i] {
            Guarded(OnError, [&] { vcl::GetComponentEditor(Component, Designer)->ExecuteVerb(i); });
        });
    }
    return count;
}

void EditComponent(vcl::TComponent* Component, vcl::IDesigner* Designer, const ErrorSink& OnError)
{
    Guarded(OnError, [&] { vcl::GetComponentEditor(Component, Designer)->Edit(); });
}

} // namespace gallery
