#pragma once
// The panes of a splitter window as Designer, uic and QUiLoader handle them: the pages of
// a container that Designer saves with the form and that a loaded form adds back.
#include <QList>

class QWidget;

namespace Qvdesigner {

// Makes Pane (a splitter window's pane) the last pane of Window (a splitter window).
// Anything else is refused with a warning and left where it is: a form that puts another
// widget into a splitter window has nothing to lose by it.
void AddPane(QWidget* Window, QWidget* Pane);

// The splitter window that Widget is or is a pane of, or null.
QWidget* SplitterWindowOf(QWidget* Widget);

// The panes of Window (a splitter window) in order; empty for other widgets.
QList<QWidget*> PanesOf(QWidget* Window);

} // namespace Qvdesigner
