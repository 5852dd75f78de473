#include "views/TFormHolders.h"

#include <QDropEvent>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "model/MemoFile.h"
#include "views/HolderTabs.h"
#include "views/ViewText.h"

namespace zel {

namespace {

// Drops of one entry onto another, from this list only.
class OrderList : public QListWidget {
  public:
    OrderList(QWidget* parent, TFormHolders& window) : QListWidget(parent), window_(window) {}

  protected:
    void dragMoveEvent(QDragMoveEvent* event) override {
        if (event->source() == this)
            event->acceptProposedAction();
        else
            event->ignore();
    }
    void dropEvent(QDropEvent* event) override {
        const QModelIndex target = indexAt(event->position().toPoint());
        if (event->source() != this || !target.isValid() || currentRow() < 0)
            return event->ignore();
        event->setDropAction(Qt::IgnoreAction);
        event->accept();
        window_.dropEntry(currentRow(), target.row());
    }

  private:
    TFormHolders& window_;
};

}  // namespace

TFormHolders::TFormHolders(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormHolders"));
    setWindowTitle(QStringLiteral("Holders Order"));
    resize(320, 360);
    ListBox1 = new OrderList(this, *this);
    ListBox1->setDragDropMode(QAbstractItemView::DragDrop);
    ListBox1->setDefaultDropAction(Qt::MoveAction);
    ListBox1->setContextMenuPolicy(Qt::CustomContextMenu);
    PopupMenu1 = new QMenu(this);
    connect(PopupMenu1->addAction(QStringLiteral("Top")), &QAction::triggered, this,
            &TFormHolders::moveTop);
    connect(PopupMenu1->addAction(QStringLiteral("UP")), &QAction::triggered, this,
            &TFormHolders::moveUp);
    connect(PopupMenu1->addAction(QStringLiteral("Down")), &QAction::triggered, this,
            &TFormHolders::moveDown);
    connect(PopupMenu1->addAction(QStringLiteral("Bottom")), &QAction::triggered, this,
            &TFormHolders::moveBottom);
    connect(ListBox1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PopupMenu1->popup(ListBox1->viewport()->mapToGlobal(at)); });

    auto* buttons = new QVBoxLayout;
    auto addButton = [&](const char* caption) {
        auto* button = new QPushButton(QString::fromUtf8(caption), this);
        buttons->addWidget(button);
        return button;
    };
    connect(addButton("OK"), &QPushButton::clicked, this, &QDialog::accept);
    connect(addButton("CANCEL"), &QPushButton::clicked, this, &QDialog::reject);
    // Kept for their place in the window; sorting holders is not offered.
    addButton("UP SORT");
    addButton("Down SORT");
    buttons->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(ListBox1, 1);
    layout->addLayout(buttons);
}

void TFormHolders::fill(MemoFile& file) {
    file_ = &file;
    ListBox1->clear();
    HolderList holders;
    file.listHolders_(holders);
    for (const auto& entry : holders) ListBox1->addItem(toQt(entry.first));
}

int TFormHolders::moveEntry(int from, int to) {
    QListWidgetItem* item = ListBox1->takeItem(from);
    ListBox1->insertItem(to, item);
    ListBox1->setCurrentRow(to);
    // The order is saved in the memo file: unmarked, a new order made here
    // would be lost at closing without a question.
    if (file_) file_->changed = true;
    if (file_ && file_->getDisplayMode_() == "\"TabControl\"") HolderTabs::refreshTabsOf(*file_);
    return to;
}

int TFormHolders::moveTop() {
    const int row = ListBox1->currentRow();
    if (!file_ || row <= 0) return -1;
    file_->moveHolderFirst_(row);
    return moveEntry(row, 0);
}

int TFormHolders::moveUp() {
    const int row = ListBox1->currentRow();
    if (!file_ || row <= 0) return -1;
    file_->moveHolderLeft_(row);
    return moveEntry(row, row - 1);
}

int TFormHolders::moveDown() {
    const int row = ListBox1->currentRow();
    if (!file_ || row < 0 || row >= ListBox1->count() - 1) return -1;
    file_->moveHolderRight_(row);
    return moveEntry(row, row + 1);
}

int TFormHolders::moveBottom() {
    const int row = ListBox1->currentRow();
    const int last = ListBox1->count() - 1;
    if (!file_ || row < 0 || row >= last) return -1;
    file_->moveHolderLast_(row);
    return moveEntry(row, last);
}

void TFormHolders::dropEntry(int from, int to) {
    const int count = ListBox1->count();
    if (!file_ || from == to || from < 0 || to < 0 || from >= count || to >= count) return;
    file_->moveHolder_(from, to);
    moveEntry(from, to);
}

}  // namespace zel
