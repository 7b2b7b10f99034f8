#include "extensionfactory.h"

namespace Qvdesigner {

TExtensionFactory::TExtensionFactory(QExtensionManager* Parent, const QString& Iid, TMake Make)
    : QExtensionFactory(Parent), FIid(Iid), FMake(std::move(Make))
{
}

QObject* TExtensionFactory::createExtension(QObject* Object, const QString& Iid, QObject* Parent) const
{
    return Iid == FIid ? FMake(Object, Parent) : nullptr;
}

} // namespace Qvdesigner
