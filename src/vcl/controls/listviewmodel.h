#pragma once
// The Qt model behind a list view: one row per item, column 0 the caption and one
// column per further report column for the sub-items. The model holds no data of its
// own; it reads the items, and tells the views of changes. Inside Items.BeginUpdate
// the views see the row count of the moment the update began, and learn of the
// changes at the last EndUpdate in one step.
#include <QAbstractTableModel>
#include <QPixmap>
#include <functional>

namespace vcl {

class TCustomListView;
class TListItem;

class TListViewModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TListViewModel(TCustomListView* ListView);

    int rowCount(const QModelIndex& Parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& Parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& Index, int Role) const override;
    bool setData(const QModelIndex& Index, const QVariant& Value, int Role) override;
    Qt::ItemFlags flags(const QModelIndex& Index) const override;
    QVariant headerData(int Section, Qt::Orientation Orientation, int Role) const override;
    // With owner data the rows are not at hand: OnDataFind looks (typing in the view
    // finds a caption this way).
    QModelIndexList match(const QModelIndex& Start, int Role, const QVariant& Value, int Hits,
        Qt::MatchFlags Flags) const override;

    // Each runs Change, which alters the items, between the notifications the views
    // need (or, inside an update, notes what the last EndUpdate has to tell).
    void InsertRows(int Row, int Count, const std::function<void()>& Change);
    void RemoveRows(int Row, int Count, const std::function<void()>& Change);
    // A new order of the same items; selection and current item follow their items.
    void Reorder(const std::function<void()>& Change);
    void Reset(const std::function<void()>& Change);
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();
    void RowChanged(int Row);
    void ColumnsChanged();
    // The image shown for Item: its state image, then its image with overlay.
    QPixmap ItemImage(TListItem* Item, bool Large, bool Selected) const;

private:
    int ItemCount() const;

    TCustomListView* FListView;
    int FShownRows = 0;
    int FShownColumns = 1;
    int FUpdateCount = 0;
    // Inside an update: something other than appending happened.
    bool FStructureChanged = false;
};

} // namespace vcl
