#include "search/ui/ResultListModel.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QPalette>
#include <algorithm>

#include "views/ViewText.h"

namespace zel {

ResultListModel::ResultListModel(QObject* parent) : QAbstractListModel(parent) {}

void ResultListModel::replace(ScanResults results) {
    beginResetModel();
    results_ = std::move(results);
    endResetModel();
}

void ResultListModel::clear() {
    beginResetModel();
    results_.clear();
    endResetModel();
}

int ResultListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(results_.size());
}

QVariant ResultListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || static_cast<std::size_t>(index.row()) >= results_.size()) return {};
    const auto row = static_cast<std::size_t>(index.row());
    if (role == Qt::DisplayRole) return toQt(results_.text(row));
    if (role == Qt::ForegroundRole && !results_.nodeRef(row).alive())
        return QApplication::palette().color(QPalette::Disabled, QPalette::Text);
    return {};
}

ResultListView::ResultListView(QWidget* parent) : QListView(parent) {
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
}

void ResultListView::keyPressEvent(QKeyEvent* event) {
    if (!event->matches(QKeySequence::Copy) || !model()) {
        QListView::keyPressEvent(event);
        return;
    }
    QModelIndexList rows = selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    QStringList lines;
    for (const QModelIndex& row : rows) lines << row.data().toString();
    QApplication::clipboard()->setText(lines.join(QLatin1Char('\n')));
}

}  // namespace zel
