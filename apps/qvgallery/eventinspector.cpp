#include "eventinspector.h"

#include "propertyinspector.h"

#include "vcl/core/sysutils.h"
#include "vcl/streaming/formfile.h"

namespace gallery {

EventInspectorModel::EventInspectorModel(QObject* Parent)
    : QAbstractTableModel(Parent)
{
}

void EventInspectorModel::SetComponent(vcl::TComponent* Component, vcl::TComponent* Root)
{
    beginResetModel();
    FComponent = Component;
    FRoot = Root;
    QObject* object = Component != nullptr ? Component->AsQObject() : nullptr;
    FEvents = object != nullptr ? vcl::PublishedEvents(object->metaObject()) : QStringList();
    endResetModel();
}

QModelIndex EventInspectorModel::FindEvent(const QString& Event) const
{
    const qsizetype row = FEvents.indexOf(Event);
    return row >= 0 ? index(int(row), EventColumn) : QModelIndex();
}

int EventInspectorModel::rowCount(const QModelIndex& Parent) const
{
    return Parent.isValid() ? 0 : int(FEvents.size());
}

int EventInspectorModel::columnCount(const QModelIndex& Parent) const
{
    return Parent.isValid() ? 0 : ColumnCount;
}

QVariant EventInspectorModel::data(const QModelIndex& Index, int Role) const
{
    if (!Index.isValid() || Index.row() >= FEvents.size())
        return {};
    const QString& event = FEvents[Index.row()];
    switch (Role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return Index.column() == EventColumn ? event : vcl::BoundMethod(FComponent, event);
    case PropertyInspectorModel::ValuesRole: {
        // The page's methods, and an empty entry that unbinds.
        auto* provider = dynamic_cast<vcl::IMethodProvider*>(FRoot);
        QStringList methods{QString()};
        if (provider != nullptr)
            methods += provider->MethodNames();
        return Index.column() == HandlerColumn ? methods : QStringList();
    }
    default:
        return {};
    }
}

bool EventInspectorModel::setData(const QModelIndex& Index, const QVariant& Value, int Role)
{
    if (!Index.isValid() || Index.column() != HandlerColumn || Role != Qt::EditRole)
        return false;
    try {
        vcl::BindEvent(FComponent, FEvents[Index.row()], Value.toString().trimmed(), FRoot);
    } catch (const vcl::Exception& e) {
        emit ErrorRaised(e.Message());
        return false;
    }
    emit dataChanged(Index, Index);
    emit Bound();
    return true;
}

Qt::ItemFlags EventInspectorModel::flags(const QModelIndex& Index) const
{
    if (!Index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (Index.column() == HandlerColumn)
        result |= Qt::ItemIsEditable;
    return result;
}

QVariant EventInspectorModel::headerData(int Section, Qt::Orientation Orientation, int Role) const
{
    if (Orientation != Qt::Horizontal || Role != Qt::DisplayRole)
        return {};
    return Section == EventColumn ? QStringLiteral("Event") : QStringLiteral("Handler");
}

} // namespace gallery
