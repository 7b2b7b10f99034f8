#include "propertyinspector.h"

#include "vcl/controls/dialogs.h"
#include "vcl/core/sysutils.h"
#include "vcl/graphics/graphicsobjects.h"

#include <QBrush>
#include <QFontDialog>
#include <QInputDialog>
#include <algorithm>

namespace gallery {

namespace {
// Object-valued properties unfold into their own properties; an object that refers back
// to its holder would unfold without end, so the tree stops at this depth.
constexpr int MaxSubPropertyDepth = 4;

// A colour through the framework's colour dialog, preset with the present colour.
void EditColor(vcl::TPropertyEditor& Editor)
{
    vcl::TColorDialog dialog(nullptr);
    dialog.SetColor(Editor.Read().value<vcl::TColor>());
    if (dialog.Execute())
        Editor.Write(QVariant::fromValue(dialog.Color()));
}

void EditFont(vcl::TPropertyEditor& Editor)
{
    auto* font = Editor.Read().value<vcl::TFont*>();
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, font->ToQFont(), nullptr, Editor.GetName());
    if (!ok)
        return;
    font->AssignQFont(chosen);
    Editor.Modified();
}

// A list of lines in a text editor, one line each.
void EditLines(vcl::TPropertyEditor& Editor)
{
    bool ok = false;
    const QString text = QInputDialog::getMultiLineText(nullptr, Editor.GetName(), Editor.GetName(),
        Editor.Read().toStringList().join(u'\n'), &ok);
    if (ok)
        Editor.Write(text.split(u'\n'));
}

// The dialog of a paDialog property: colours, fonts and lines have the gallery's own,
// other properties their editor's Edit.
void RunDialog(vcl::TPropertyEditor& Editor)
{
    const QMetaProperty& property = Editor.Property();
    if (vcl::IsColorProperty(property))
        EditColor(Editor);
    else if (property.metaType() == QMetaType::fromType<vcl::TFont*>())
        EditFont(Editor);
    else if (property.metaType().id() == QMetaType::QStringList)
        EditLines(Editor);
    else
        Editor.Edit();
}

} // namespace

struct PropertyInspectorModel::Node {
    std::unique_ptr<vcl::TPropertyEditor> Editor;
    Node* Parent = nullptr;
    int Row = 0;
    Nodes Children;
};

PropertyInspectorModel::PropertyInspectorModel(QObject* Parent)
    : QAbstractItemModel(Parent)
{
}

PropertyInspectorModel::~PropertyInspectorModel() = default;

PropertyInspectorModel::Nodes PropertyInspectorModel::MakeNodes(
    std::vector<std::unique_ptr<vcl::TPropertyEditor>> Editors, Node* Parent, int Depth)
{
    Nodes nodes;
    for (auto& editor : Editors) {
        auto node = std::make_unique<Node>();
        node->Parent = Parent;
        node->Row = int(nodes.size());
        if (Depth < MaxSubPropertyDepth && editor->GetAttributes().testFlag(vcl::paSubProperties))
            node->Children = MakeNodes(editor->GetProperties(), node.get(), Depth + 1);
        node->Editor = std::move(editor);
        nodes.push_back(std::move(node));
    }
    return nodes;
}

void PropertyInspectorModel::SetComponent(vcl::TComponent* Component, vcl::IDesigner* Designer)
{
    beginResetModel();
    FComponent = Component;
    FNodes.clear();
    QObject* object = Component != nullptr ? Component->AsQObject() : nullptr;
    if (object != nullptr)
        FNodes = MakeNodes(vcl::GetComponentProperties(Designer, object), nullptr, 0);
    endResetModel();
}

void PropertyInspectorModel::RefreshValues()
{
    EmitValuesChanged({});
}

void PropertyInspectorModel::EmitValuesChanged(const QModelIndex& Parent)
{
    const int rows = rowCount(Parent);
    if (rows == 0)
        return;
    emit dataChanged(index(0, ValueColumn, Parent), index(rows - 1, ValueColumn, Parent));
    for (int row = 0; row < rows; ++row)
        EmitValuesChanged(index(row, NameColumn, Parent));
}

QModelIndex PropertyInspectorModel::FindProperty(const QString& Path) const
{
    QModelIndex found;
    for (const QString& name : Path.split(u'.')) {
        const Nodes& nodes = ChildrenOf(found);
        const auto it = std::find_if(nodes.begin(), nodes.end(),
            [&](const auto& node) { return node->Editor->GetName().compare(name, Qt::CaseInsensitive) == 0; });
        if (it == nodes.end())
            return {};
        found = index((*it)->Row, NameColumn, found);
    }
    return found;
}

template <class F>
bool PropertyInspectorModel::Guarded(F&& Action)
{
    try {
        Action();
        return true;
    } catch (const vcl::Exception& e) {
        emit ErrorRaised(e.Message());
        return false;
    }
}

void PropertyInspectorModel::EditWithDialog(const QModelIndex& Index)
{
    Node* node = NodeOf(Index);
    if (node == nullptr || !node->Editor->GetAttributes().testFlag(vcl::paDialog))
        return;
    if (Guarded([&] { RunDialog(*node->Editor); }))
        RefreshValues();
}

const PropertyInspectorModel::Nodes& PropertyInspectorModel::ChildrenOf(const QModelIndex& Parent) const
{
    Node* node = NodeOf(Parent);
    return node != nullptr ? node->Children : FNodes;
}

PropertyInspectorModel::Node* PropertyInspectorModel::NodeOf(const QModelIndex& Index) const
{
    return Index.isValid() ? static_cast<Node*>(Index.internalPointer()) : nullptr;
}

QModelIndex PropertyInspectorModel::index(int Row, int Column, const QModelIndex& Parent) const
{
    const Nodes& nodes = ChildrenOf(Parent);
    if (Row < 0 || Row >= int(nodes.size()) || Column < 0 || Column >= ColumnCount)
        return {};
    return createIndex(Row, Column, nodes[Row].get());
}

QModelIndex PropertyInspectorModel::parent(const QModelIndex& Index) const
{
    Node* node = NodeOf(Index);
    if (node == nullptr || node->Parent == nullptr)
        return {};
    return createIndex(node->Parent->Row, NameColumn, node->Parent);
}

int PropertyInspectorModel::rowCount(const QModelIndex& Parent) const
{
    if (Parent.isValid() && Parent.column() != NameColumn)
        return 0;
    return int(ChildrenOf(Parent).size());
}

int PropertyInspectorModel::columnCount(const QModelIndex&) const
{
    return ColumnCount;
}

QVariant PropertyInspectorModel::data(const QModelIndex& Index, int Role) const
{
    Node* node = NodeOf(Index);
    if (node == nullptr)
        return {};
    vcl::TPropertyEditor& editor = *node->Editor;
    switch (Role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return Index.column() == NameColumn ? editor.GetName() : editor.GetValue();
    case Qt::DecorationRole:
        // A colour shows a swatch beside its name.
        if (Index.column() == ValueColumn && vcl::IsColorProperty(editor.Property()))
            return vcl::ToQColor(editor.Read().value<vcl::TColor>());
        return {};
    case Qt::ForegroundRole:
        if (Index.column() == ValueColumn && editor.GetAttributes().testFlag(vcl::paReadOnly) && node->Children.empty())
            return QBrush(Qt::darkGray);
        return {};
    case ValuesRole:
        return editor.GetAttributes().testFlag(vcl::paValueList) ? editor.GetValues() : QStringList();
    case AttributesRole:
        return int(editor.GetAttributes());
    default:
        return {};
    }
}

bool PropertyInspectorModel::setData(const QModelIndex& Index, const QVariant& Value, int Role)
{
    Node* node = NodeOf(Index);
    if (node == nullptr || Index.column() != ValueColumn || Role != Qt::EditRole || !(flags(Index) & Qt::ItemIsEditable))
        return false;
    const QString text = Value.toString();
    if (text == node->Editor->GetValue())
        return true;
    if (!Guarded([&] { node->Editor->SetValue(text); }))
        return false;
    // One property may change others (Width through SetBounds, Caption through Text).
    RefreshValues();
    return true;
}

Qt::ItemFlags PropertyInspectorModel::flags(const QModelIndex& Index) const
{
    Node* node = NodeOf(Index);
    if (node == nullptr)
        return Qt::NoItemFlags;
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (Index.column() == ValueColumn && !node->Editor->GetAttributes().testFlag(vcl::paReadOnly))
        result |= Qt::ItemIsEditable;
    return result;
}

QVariant PropertyInspectorModel::headerData(int Section, Qt::Orientation Orientation, int Role) const
{
    if (Orientation != Qt::Horizontal || Role != Qt::DisplayRole)
        return {};
    return Section == NameColumn ? QStringLiteral("Property") : QStringLiteral("Value");
}

} // namespace gallery
