#include "views/TFormSelectHolder.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "views/ViewText.h"

namespace zel {

TFormSelectHolder::TFormSelectHolder(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormSelectHolder"));
    setWindowTitle(QStringLiteral("Select Holder"));
    resize(300, 320);
    ListBox1 = new QListWidget(this);
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    // A double click picks the entry as "OK" would.
    connect(ListBox1, &QListWidget::itemDoubleClicked, this, &QDialog::accept);

    auto* buttons = new QVBoxLayout;
    auto addButton = [&](const char* caption) {
        auto* button = new QPushButton(QString::fromUtf8(caption), this);
        button->setAutoDefault(false);
        buttons->addWidget(button);
        return button;
    };
    ButtonOK = addButton("OK");
    ButtonCancel = addButton("CANCEL");
    ButtonNewHolder = addButton("New Holder");
    ButtonCurrent = addButton("Current");
    buttons->addStretch(1);
    connect(ButtonOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ButtonNewHolder, &QPushButton::clicked, this, &TFormSelectHolder::chooseNewHolder);
    connect(ButtonCurrent, &QPushButton::clicked, this, &TFormSelectHolder::chooseCurrent);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(ListBox1, 1);
    layout->addLayout(buttons);
}

void TFormSelectHolder::fill(const std::vector<std::string>& names, int currentIndex) {
    ListBox1->clear();
    for (const std::string& name : names) ListBox1->addItem(toQt(name));
    ListBox1->setCurrentRow(-1);
    ListBox1->clearSelection();
    currentIndex_ = currentIndex >= 0 && currentIndex < ListBox1->count() ? currentIndex : -1;
    ButtonCurrent->setEnabled(currentIndex_ >= 0);
}

int TFormSelectHolder::selectedRow() const {
    const QList<QListWidgetItem*> chosen = ListBox1->selectedItems();
    return chosen.isEmpty() ? -1 : ListBox1->row(chosen.first());
}

void TFormSelectHolder::chooseNewHolder() {
    ListBox1->clearSelection();
    accept();
}

void TFormSelectHolder::chooseCurrent() {
    ListBox1->setCurrentRow(currentIndex_);
    accept();
}

}  // namespace zel
