#include <QVBoxLayout>

#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "search/ui/SearchHost.h"
#include "search/ui/TFormScanHolder.h"
#include "views/ViewText.h"

namespace zel {

namespace {

// Rows carry the holder's name as stored, so no conversion can change it.
constexpr int kNameRole = Qt::UserRole;

std::string rowName(const QListWidgetItem* item) {
    return item->data(kNameRole).toByteArray().toStdString();
}

}  // namespace

TFormScanHolders::TFormScanHolders(QWidget* parent) : TFormScanBase(parent, true) {
    setObjectName(QStringLiteral("FormScanHolders"));
    auto* side = new QWidget(this);
    CheckListBox_Holders = new QListWidget(side);
    Button_Update = new QPushButton(QStringLiteral("Update"), side);
    Button_Current = new QPushButton(QStringLiteral("Current"), side);
    Button_ALL = new QPushButton(QStringLiteral("ALL"), side);
    Button_UnSelect = new QPushButton(QStringLiteral("UnSelect"), side);
    auto* layout = new QVBoxLayout(side);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(CheckListBox_Holders, 1);
    for (QPushButton* b : {Button_Update, Button_Current, Button_ALL, Button_UnSelect})
        layout->addWidget(b);
    side->setMaximumWidth(200);
    body_->insertWidget(0, side);
    connect(Button_Update, &QPushButton::clicked, this, &TFormScanHolders::UpdateHolders);
    connect(Button_Current, &QPushButton::clicked, this, &TFormScanHolders::CheckCurrent);
    connect(Button_ALL, &QPushButton::clicked, this, &TFormScanHolders::CheckAll);
    connect(Button_UnSelect, &QPushButton::clicked, this, &TFormScanHolders::UncheckAll);
}

bool TFormScanHolders::open(SearchHost& host) {
    link(host);
    const MemoFile* file = host.memoFile();
    setWindowTitle(toQt("FormScanHolder " + (file ? file->getName_() : std::string())));
    UpdateHolders();
    CheckCurrent();
    showWindow();
    return true;
}

std::vector<std::string> TFormScanHolders::checkedNames() const {
    std::vector<std::string> names;
    for (int row = 0; row < CheckListBox_Holders->count(); ++row) {
        const QListWidgetItem* item = CheckListBox_Holders->item(row);
        if (item->checkState() == Qt::Checked) names.push_back(rowName(item));
    }
    return names;
}

void TFormScanHolders::UpdateHolders() {
    const std::vector<std::string> checked = checkedNames();
    const std::set<std::string> remembered(checked.begin(), checked.end());
    CheckListBox_Holders->clear();
    const MemoFile* file = host_ ? host_->memoFile() : nullptr;
    if (!file) return;
    HolderList holders;
    for (const auto& [name, holder] : file->listHolders_(holders)) {
        auto* item = new QListWidgetItem(toQt(name));
        item->setData(kNameRole, QByteArray::fromStdString(name));
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(remembered.count(name) ? Qt::Checked : Qt::Unchecked);
        CheckListBox_Holders->addItem(item);
    }
}

void TFormScanHolders::CheckCurrent() {
    const MemoHolder* current = host_ ? host_->getCurHolder() : nullptr;
    if (!current) return;
    const std::string name = current->getName_();
    for (int row = 0; row < CheckListBox_Holders->count(); ++row) {
        QListWidgetItem* item = CheckListBox_Holders->item(row);
        if (rowName(item) == name) item->setCheckState(Qt::Checked);
    }
}

void TFormScanHolders::setAllChecked(bool checked) {
    for (int row = 0; row < CheckListBox_Holders->count(); ++row)
        CheckListBox_Holders->item(row)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

void TFormScanHolders::CheckAll() {
    setAllChecked(true);
}
void TFormScanHolders::UncheckAll() {
    setAllChecked(false);
}

}  // namespace zel
