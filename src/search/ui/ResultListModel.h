#pragma once
// A list of search results for a list view: one text store behind it, each
// row converted for display only when the view asks for it, so a million
// lines cost no widget item each. A row whose node has gone shows grey.

#include <QAbstractListModel>
#include <QListView>
#include <string>
#include <vector>

#include "search/ScanResults.h"

namespace zel {

class ResultListModel : public QAbstractListModel {
    Q_OBJECT
  public:
    explicit ResultListModel(QObject* parent = nullptr);

    const ScanResults& results() const { return results_; }
    // Shows `results` instead of what the list held.
    void replace(ScanResults results);
    void clear();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

  private:
    ScanResults results_;
};

// A list view made for result lists: uniform rows, several rows selectable,
// the selected rows copied as text with the copy key.
class ResultListView : public QListView {
    Q_OBJECT
  public:
    explicit ResultListView(QWidget* parent = nullptr);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace zel
