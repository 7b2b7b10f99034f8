#pragma once
// The property inspector's model: one row per published property of the selected
// component (name, value), with the sub-properties of paSubProperties editors as child
// rows. Values are edited as text through the registered property editors; a value
// the editor refuses leaves the property as it was and is reported by ErrorRaised.
#include "vcl/streaming/designintf.h"

#include <QAbstractItemModel>
#include <memory>
#include <vector>

namespace gallery {

class PropertyInspectorModel : public QAbstractItemModel {
    Q_OBJECT
public:
    enum Column { NameColumn, ValueColumn, ColumnCount };
    enum Role {
        // QStringList: the choices of a paValueList property (empty for others).
        ValuesRole = Qt::UserRole + 1,
        // int: the editor's TPropertyAttributes.
        AttributesRole,
    };

    explicit PropertyInspectorModel(QObject* Parent = nullptr);
    ~PropertyInspectorModel() override;

    // Shows the published properties of Component (null: none).
    void SetComponent(vcl::TComponent* Component, vcl::IDesigner* Designer);
    vcl::TComponent* Component() const { return FComponent; }
    // Reads every shown value again, after a change made elsewhere.
    void RefreshValues();
    // The row of a property by its path ("Font.Name" for a sub-property), or invalid.
    QModelIndex FindProperty(const QString& Path) const;
    // Runs the dialog of a paDialog property: the framework's colour dialog for a
    // colour, a font dialog for a font, a text editor for lines; else its editor's Edit.
    void EditWithDialog(const QModelIndex& Index);

    QModelIndex index(int Row, int Column, const QModelIndex& Parent = {}) const override;
    QModelIndex parent(const QModelIndex& Index) const override;
    int rowCount(const QModelIndex& Parent = {}) const override;
    int columnCount(const QModelIndex& Parent = {}) const override;
    QVariant data(const QModelIndex& Index, int Role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& Index, const QVariant& Value, int Role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& Index) const override;
    QVariant headerData(int Section, Qt::Orientation Orientation, int Role = Qt::DisplayRole) const override;

signals:
    void ErrorRaised(const QString& Message);

private:
    struct Node;
    using Nodes = std::vector<std::unique_ptr<Node>>;

    static Nodes MakeNodes(std::vector<std::unique_ptr<vcl::TPropertyEditor>> Editors, Node* Parent, int Depth);
    const Nodes& ChildrenOf(const QModelIndex& Parent) const;
    Node* NodeOf(const QModelIndex& Index) const;
    void EmitValuesChanged(const QModelIndex& Parent);
    // Runs an editor action; a refused value or failed dialog is reported, not thrown.
    template <class F>
    bool Guarded(F&& Action);

    vcl::TComponent* FComponent = nullptr;
    Nodes FNodes;
};

} // namespace gallery
