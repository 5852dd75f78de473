#include "views/NodeRowModel.h"

#include <QIcon>
#include <charconv>
#include <optional>

#include "text/Sjis.h"
#include "text/TextHelpers.h"
#include "views/MemoHolderUI.h"
#include "views/ViewText.h"

namespace zel {

namespace {

std::optional<long long> wholeNumber(std::string_view text) {
    long long value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
    return value;
}

}  // namespace

NodeRowModel::NodeRowModel(MemoHolderUI& holder, Kind kind) : holder_(holder), kind_(kind) {}

int NodeRowModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || !active_) return 0;
    return static_cast<int>(holder_.nodes->childCount());
}

int NodeRowModel::columnCount(const QModelIndex& parent) const {
    if (parent.isValid()) return 0;
    return columns_.empty() ? 1 : static_cast<int>(columns_.size());
}

MemoNode* NodeRowModel::nodeAt(int row) const {
    if (!active_ || row < 0 || row >= static_cast<int>(holder_.nodes->childCount())) return nullptr;
    return static_cast<MemoNode*>(holder_.nodes->childAt(static_cast<std::size_t>(row)));
}

QVariant NodeRowModel::data(const QModelIndex& index, int role) const {
    MemoNode* node = nodeAt(index.row());
    if (!node) return {};
    const auto row = static_cast<std::size_t>(index.row());
    if (index.column() > 0) {
        if (role != Qt::DisplayRole || index.column() >= static_cast<int>(columns_.size()))
            return {};
        return toQt(node->getField_(columns_[static_cast<std::size_t>(index.column())].caption));
    }
    switch (role) {
        case Qt::DisplayRole:
        case Qt::ToolTipRole:
            return toQt(holder_.nodes->nameAt(row));
        case Qt::CheckStateRole:
            if (kind_ != Kind::CheckList) return {};
            return node->isMarked_() ? Qt::Checked : Qt::Unchecked;
        case Qt::DecorationRole: {
            if (kind_ != Kind::List) return {};
            QIcon icon = holder_.itemIcon(*node);
            return icon.isNull() ? QVariant() : QVariant(icon);
        }
        default:
            return {};
    }
}

bool NodeRowModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (kind_ != Kind::CheckList || role != Qt::CheckStateRole || !nodeAt(index.row()))
        return false;
    emit checkClicked(index.row(), value.toInt() == Qt::Checked);
    return true;
}

QVariant NodeRowModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    if (section < 0 || section >= static_cast<int>(columns_.size())) return {};
    return toQt(columns_[static_cast<std::size_t>(section)].caption);
}

Qt::ItemFlags NodeRowModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::ItemIsDropEnabled;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled |
                          Qt::ItemIsDropEnabled | Qt::ItemNeverHasChildren;
    if (kind_ == Kind::CheckList && index.column() == 0) flags |= Qt::ItemIsUserCheckable;
    return flags;
}

void NodeRowModel::setActive(bool active) {
    beginResetModel();
    active_ = active;
    endResetModel();
}

void NodeRowModel::refreshAll() {
    beginResetModel();
    endResetModel();
}

bool NodeRowModel::beginMove(int from, int to) {
    // Qt counts the destination before the line leaves its place.
    int destination = to > from ? to + 1 : to;
    return beginMoveRows({}, from, from, {}, destination);
}

void NodeRowModel::rowChanged(int row) {
    if (row < 0 || row >= rowCount()) return;
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

std::string NodeRowModel::sortText(int row, int column) const {
    MemoNode* node = nodeAt(row);
    if (!node) return {};
    if (column == 0) return holder_.nodes->nameAt(static_cast<std::size_t>(row));
    if (column < 0 || column >= static_cast<int>(columns_.size())) return {};
    return stripQuotes(node->getField_(columns_[static_cast<std::size_t>(column)].caption));
}

int NodeRowModel::compareRows(int left, int right, int column) const {
    const std::string a = sortText(left, column);
    const std::string b = sortText(right, column);
    const auto numberA = wholeNumber(a);
    const auto numberB = wholeNumber(b);
    // Numbers come before texts, so that the order stays one order for a
    // column that mixes them.
    if (numberA && numberB) return *numberA < *numberB ? -1 : *numberA > *numberB ? 1 : 0;
    if (numberA || numberB) return numberA ? -1 : 1;
    return compareText(a, b);
}

void NodeRowModel::setColumns(std::vector<ReportColumn> columns) {
    beginResetModel();
    columns_ = std::move(columns);
    endResetModel();
}

}  // namespace zel
