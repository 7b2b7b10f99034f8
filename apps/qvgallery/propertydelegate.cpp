#include "propertydelegate.h"

#include "propertyinspector.h"

#include <QComboBox>
#include <QLineEdit>

namespace gallery {

QWidget* PropertyDelegate::createEditor(QWidget* Parent, const QStyleOptionViewItem&, const QModelIndex& Index) const
{
    const QStringList values = Index.data(PropertyInspectorModel::ValuesRole).toStringList();
    if (values.isEmpty())
        return new QLineEdit(Parent);
    auto* combo = new QComboBox(Parent);
    // Editable, because a value list need not be complete: a colour may also be typed
    // as a number ("$0080FF").
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->addItems(values);
    // Picking an entry from the list is the edit; no Enter needed.
    auto* self = const_cast<PropertyDelegate*>(this);
    connect(combo, &QComboBox::activated, self, [self, combo] {
        emit self->commitData(combo);
        emit self->closeEditor(combo);
    });
    return combo;
}

void PropertyDelegate::setEditorData(QWidget* Editor, const QModelIndex& Index) const
{
    const QString value = Index.data(Qt::EditRole).toString();
    if (auto* combo = qobject_cast<QComboBox*>(Editor))
        combo->setCurrentText(value);
    else if (auto* line = qobject_cast<QLineEdit*>(Editor))
        line->setText(value);
}

void PropertyDelegate::setModelData(QWidget* Editor, QAbstractItemModel* Model, const QModelIndex& Index) const
{
    if (auto* combo = qobject_cast<QComboBox*>(Editor))
        Model->setData(Index, combo->currentText());
    else if (auto* line = qobject_cast<QLineEdit*>(Editor))
        Model->setData(Index, line->text());
}

} // namespace gallery
