#pragma once
// The design host that component editors see inside Qt Designer: the form being edited,
// its selection and its modified mark.
#include "vcl/streaming/designintf.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

namespace Qvdesigner {

// Owns what editors create on a form (a splitter window's new panes): Designer's form
// is a plain widget, not a component, so each form gets one of these as its root.
class TFormRoot : public QObject, public vcl::TComponent {
    Q_OBJECT
public:
    explicit TFormRoot(QObject* Parent);
};

class TFormDesigner : public vcl::IDesigner {
public:
    // The host for the form that Widget (a component's widget) is on.
    explicit TFormDesigner(QWidget* Widget);

    vcl::TComponent* GetRoot() override;
    QString UniqueName(const QString& BaseName) override;
    void SelectComponent(vcl::TComponent* Instance) override;
    void Modified() override;

private:
    QWidget* FormWidget() const;

    QPointer<QWidget> FWidget;
};

} // namespace Qvdesigner
