#pragma once
// The inspector's second tab: the events the selected component publishes, each with
// the name of the page method it is bound to. A binding is chosen from the methods
// the page offers (its IMethodProvider); one that does not fit the event is refused
// and reported by ErrorRaised, leaving the old binding.
#include "vcl/core/classes.h"

#include <QAbstractTableModel>
#include <QStringList>

namespace gallery {

class EventInspectorModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { EventColumn, HandlerColumn, ColumnCount };

    explicit EventInspectorModel(QObject* Parent = nullptr);

    // Shows the events of Component, bound to methods of Root (null: none).
    void SetComponent(vcl::TComponent* Component, vcl::TComponent* Root);
    // The row of an event by name, or invalid.
    QModelIndex FindEvent(const QString& Event) const;

    int rowCount(const QModelIndex& Parent = {}) const override;
    int columnCount(const QModelIndex& Parent = {}) const override;
    QVariant data(const QModelIndex& Index, int Role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& Index, const QVariant& Value, int Role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& Index) const override;
    QVariant headerData(int Section, Qt::Orientation Orientation, int Role = Qt::DisplayRole) const override;

signals:
    void ErrorRaised(const QString& Message);
    void Bound();

private:
    vcl::TComponent* FComponent = nullptr;
    vcl::TComponent* FRoot = nullptr;
    QStringList FEvents;
};

} // namespace gallery
