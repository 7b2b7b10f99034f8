#pragma once
// A splitter window as a Designer container whose pages are its panes: Designer saves the
// panes with the form (and what they hold) and puts them back when it loads the form.
#include <QtDesigner/QDesignerContainerExtension>

#include <QObject>
#include <QPointer>

class QDesignerFormWindowInterface;

namespace Qvdesigner {

class TPaneContainer : public QObject, public QDesignerContainerExtension {
    Q_OBJECT
    Q_INTERFACES(QDesignerContainerExtension)
public:
    TPaneContainer(QWidget* Window, QObject* Parent);

    int count() const override;
    QWidget* widget(int Index) const override;
    int currentIndex() const override;
    void setCurrentIndex(int Index) override;
    // Panes come from the window's "New Pane" verb, never as Designer's plain pages.
    bool canAddWidget() const override { return false; }
    void addWidget(QWidget* Page) override;
    void insertWidget(int Index, QWidget* Page) override;
    bool canRemove(int) const override { return true; }
    void remove(int Index) override;

private:
    QPointer<QWidget> FWindow;
    int FCurrent = 0;
};

// The pane container of Object when it is a splitter window, or null.
QObject* CreatePaneContainer(QObject* Object, QObject* Parent);

// Gives Form the panes of the splitter window Widget is or belongs to that an editor made
// and Designer does not know yet: each is swapped for its designer class (the class a
// saved form names) and entered in the form's meta database, so Designer's writer saves it.
void AdoptNewPanes(QDesignerFormWindowInterface* Form, QWidget* Widget);

} // namespace Qvdesigner
