#include "propertydelegate.h"

#include "propertyinspector.h"

#include "vcl/streaming/designintf.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPersistentModelIndex>
#include <QToolButton>

namespace gallery {

namespace {
// Marks the editor that holds a value editor and a dialog button.
const char* const DialogEditorTag = "qvDialogEditor";

// The value editor inside an editor that may also hold a dialog button. A drop-down
// is looked for first: an editable one holds a line edit of its own.
QComboBox* ComboOf(QWidget* Editor)
{
    auto* combo = qobject_cast<QComboBox*>(Editor);
    return combo != nullptr ? combo : Editor->findChild<QComboBox*>();
}

QLineEdit* LineOf(QWidget* Editor)
{
    auto* line = qobject_cast<QLineEdit*>(Editor);
    return line != nullptr ? line : Editor->findChild<QLineEdit*>();
}
} // namespace

QWidget* PropertyDelegate::createEditor(QWidget* Parent, const QStyleOptionViewItem&, const QModelIndex& Index) const
{
    const auto attributes = vcl::TPropertyAttributes::fromInt(Index.data(PropertyInspectorModel::AttributesRole).toInt());
    if (!attributes.testFlag(vcl::paDialog))
        return CreateValueEditor(Parent, Index);
    return WithDialogButton(Parent, CreateValueEditor(nullptr, Index), Index);
}

QWidget* PropertyDelegate::CreateValueEditor(QWidget* Parent, const QModelIndex& Index) const
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
        // The view knows the editor that holds the drop-down beside a dialog button.
        QWidget* holder = combo->parentWidget();
        QWidget* editor = holder != nullptr && holder->property(DialogEditorTag).toBool() ? holder : combo;
        emit self->commitData(editor);
        emit self->closeEditor(editor);
    });
    return combo;
}

QWidget* PropertyDelegate::WithDialogButton(QWidget* Parent, QWidget* ValueEditor, const QModelIndex& Index) const
{
    auto* editor = new QWidget(Parent);
    editor->setProperty(DialogEditorTag, true);
    auto* layout = new QHBoxLayout(editor);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(ValueEditor, 1);
    auto* button = new QToolButton(editor);
    button->setText(QStringLiteral("..."));
    layout->addWidget(button);
    editor->setFocusProxy(ValueEditor);
    // The dialog sets the value itself; the in-place editor closes without writing.
    auto* self = const_cast<PropertyDelegate*>(this);
    const QPersistentModelIndex index(Index);
    auto* model = qobject_cast<PropertyInspectorModel*>(const_cast<QAbstractItemModel*>(Index.model()));
    connect(button, &QToolButton::clicked, self, [self, editor, model, index] {
        emit self->closeEditor(editor);
        if (model != nullptr && index.isValid())
            model->EditWithDialog(index);
    });
    return editor;
}

void PropertyDelegate::setEditorData(QWidget* Editor, const QModelIndex& Index) const
{
    const QString value = Index.data(Qt::EditRole).toString();
    if (QComboBox* combo = ComboOf(Editor))
        combo->setCurrentText(value);
    else if (QLineEdit* line = LineOf(Editor))
        line->setText(value);
}

void PropertyDelegate::setModelData(QWidget* Editor, QAbstractItemModel* Model, const QModelIndex& Index) const
{
    if (QComboBox* combo = ComboOf(Editor))
        Model->setData(Index, combo->currentText());
    else if (QLineEdit* line = LineOf(Editor))
        Model->setData(Index, line->text());
}

} // namespace gallery
