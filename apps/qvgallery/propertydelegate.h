#pragma once
// Edits the inspector's values in place: a drop-down of the editor's values for
// value-list properties, a line of text for the others, and beside them a "..." button
// that opens the property's dialog (a colour dialog, a text editor) where it has one.
#include <QStyledItemDelegate>

namespace gallery {

class PropertyDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* Parent, const QStyleOptionViewItem& Option, const QModelIndex& Index) const override;
    void setEditorData(QWidget* Editor, const QModelIndex& Index) const override;
    void setModelData(QWidget* Editor, QAbstractItemModel* Model, const QModelIndex& Index) const override;

private:
    QWidget* CreateValueEditor(QWidget* Parent, const QModelIndex& Index) const;
    // The value editor with the dialog button of a paDialog property.
    QWidget* WithDialogButton(QWidget* Parent, QWidget* ValueEditor, const QModelIndex& Index) const;
};

} // namespace gallery
