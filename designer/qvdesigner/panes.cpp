#include "qvdesigner/panes.h"

#include "layout/qvsplitterwindow.h"

#include <QtGlobal>

namespace Qvdesigner {

using Qvsplitterwindow::TPane;
using Qvsplitterwindow::TqvSplitterWindow;

void AddPane(QWidget* Window, QWidget* Pane)
{
    auto* window = dynamic_cast<TqvSplitterWindow*>(Window);
    auto* pane = dynamic_cast<TPane*>(Pane);
    if (window == nullptr || pane == nullptr) {
        qWarning("QvKit: only a pane can be added to a splitter window (got %s)",
            Pane != nullptr ? Pane->metaObject()->className() : "nothing");
        return;
    }
    pane->SetSplitterWnd(window);
}

QWidget* SplitterWindowOf(QWidget* Widget)
{
    if (auto* pane = dynamic_cast<TPane*>(Widget))
        return pane->SplitterWnd();
    return dynamic_cast<TqvSplitterWindow*>(Widget);
}

QList<QWidget*> PanesOf(QWidget* Window)
{
    QList<QWidget*> panes;
    if (auto* window = dynamic_cast<TqvSplitterWindow*>(Window))
        for (int i = 0; i < window->GetNumPanes(); ++i)
            panes << window->GetPane(i);
    return panes;
}

} // namespace Qvdesigner
