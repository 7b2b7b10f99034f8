#pragma once
// A Designer extension factory for one extension interface, made from a function: the
// plugin's task menus and pane containers each need one.
#include <QtDesigner/QExtensionFactory>

#include <QObject>
#include <functional>

namespace Qvdesigner {

class TExtensionFactory : public QExtensionFactory {
    Q_OBJECT
public:
    // Make returns the extension for an object (with the given parent), or null when the
    // object has none; it is asked only for interface Iid.
    using TMake = std::function<QObject*(QObject* Object, QObject* Parent)>;
    TExtensionFactory(QExtensionManager* Parent, const QString& Iid, TMake Make);

protected:
    QObject* createExtension(QObject* Object, const QString& Iid, QObject* Parent) const override;

private:
    QString FIid;
    TMake FMake;
};

} // namespace Qvdesigner
