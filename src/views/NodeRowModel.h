#pragma once
// The item model of the check list and of the list control: one row per node
// of the holder, in the holder's node order. The check list shows each node's
// mark as its check box; the list shows report columns of node fields.

#include <QAbstractItemModel>
#include <string>
#include <vector>

namespace zel {

class MemoHolderUI;
class MemoNode;

// A report column: its caption is the field key it shows.
struct ReportColumn {
    std::string caption;
    int width = 0;
};

class NodeRowModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    enum class Kind { CheckList, List };

    NodeRowModel(MemoHolderUI& holder, Kind kind);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    Qt::DropActions supportedDropActions() const override { return Qt::MoveAction; }
    Qt::DropActions supportedDragActions() const override { return Qt::MoveAction; }

    MemoNode* nodeAt(int row) const;
    // A row model lists nothing until its control is the one in force.
    bool isActive() const { return active_; }
    void setActive(bool active);
    void refreshAll();

    // What the holder tells the model about changes it makes to the node order.
    void beginInsert(int row) { beginInsertRows({}, row, row); }
    void endInsert() { endInsertRows(); }
    void beginRemove(int row) { beginRemoveRows({}, row, row); }
    // Around a change of many rows at once.
    void beginReset() { beginResetModel(); }
    void endReset() { endResetModel(); }
    void endRemove() { endRemoveRows(); }
    // `to` is the row the moved line ends at.
    bool beginMove(int from, int to);
    void endMove() { endMoveRows(); }
    void rowChanged(int row);

    // The order of two rows by a column, as the list sorts its view: the
    // texts without their quotes; whole numbers by value, before any other
    // text; other texts as the search folds letter case. Negative, zero or
    // positive.
    int compareRows(int left, int right, int column) const;

    // Report columns; the first one is always the node name.
    const std::vector<ReportColumn>& columns() const { return columns_; }
    void setColumns(std::vector<ReportColumn> columns);

  signals:
    // The user clicked a check box; nothing changes until someone marks the node.
    void checkClicked(int row, bool checked);

  private:
    std::string sortText(int row, int column) const;

    MemoHolderUI& holder_;
    Kind kind_;
    bool active_ = false;
    std::vector<ReportColumn> columns_;
};

}  // namespace zel
