#include "dialogs/ui/TFormField.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "dialogs/ui/DialogHost.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "text/LineList.h"
#include "text/TextHelpers.h"
#include "views/MemoNodeUI.h"
#include "views/ViewText.h"

namespace zel {

namespace {

constexpr int kHolderRole = Qt::UserRole;

QGroupBox* radioGroup(const QString& caption, QRadioButton* first, QRadioButton* second,
                      QWidget* parent) {
    auto* group = new QGroupBox(caption, parent);
    auto* layout = new QHBoxLayout(group);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(first);
    layout->addWidget(second);
    first->setChecked(true);
    return group;
}

}  // namespace

TFormField::TFormField(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("FormField"));
    resize(552, 653);
    Panel_Top = new QWidget(this);
    Panel_Top->setMinimumHeight(241);
    Button_FieldName = dialogButton(QStringLiteral("Field Name"), Panel_Top);
    ComboBox_Field = new HistoryBox(Panel_Top);
    Button_Value = dialogButton(QStringLiteral("Value"), Panel_Top);
    ComboBox_Value = new HistoryBox(Panel_Top);
    Button_ReplaceVal = dialogButton(QStringLiteral("Replace Val"), Panel_Top);
    ComboBox_ReplaceValue = new HistoryBox(Panel_Top);
    RadioButton_Field = new QRadioButton(QStringLiteral("Field"), Panel_Top);
    RadioButton_Both = new QRadioButton(QStringLiteral("Both"), Panel_Top);
    RadioButton_Equal = new QRadioButton(QStringLiteral("Equal"), Panel_Top);
    RadioButton_Include = new QRadioButton(QStringLiteral("Include"), Panel_Top);
    CheckBox_Ignore = new QCheckBox(QStringLiteral("Ignore"), Panel_Top);
    CheckBox_Ignore->setChecked(true);
    auto* selectHolder = new QGroupBox(QStringLiteral("Select Holder"), Panel_Top);
    Button_Current = dialogButton(QStringLiteral("Current"), selectHolder);
    Button_ALL = dialogButton(QStringLiteral("ALL"), selectHolder);
    Button_UnSelect = dialogButton(QStringLiteral("UnSelect"), selectHolder);
    auto* selectLayout = new QHBoxLayout(selectHolder);
    selectLayout->setContentsMargins(4, 2, 4, 2);
    for (QPushButton* b : {Button_Current, Button_ALL, Button_UnSelect}) selectLayout->addWidget(b);

    Button_Close = dialogButton(QStringLiteral("Close"), Panel_Top);
    Button_EditSel = dialogButton(QStringLiteral("Edit Sel"), Panel_Top);
    Button_UpHolder = dialogButton(QStringLiteral("Up Holder"), Panel_Top);
    Button_NewNode = dialogButton(QStringLiteral("New Node"), Panel_Top);
    Button_Scan = dialogButton(QStringLiteral("Scan"), Panel_Top);
    Button_Replace = dialogButton(QStringLiteral("Replace"), Panel_Top);
    Button_Set = dialogButton(QStringLiteral("Set"), Panel_Top);
    Button_CopyHolder = dialogButton(QStringLiteral("CopyHolder"), Panel_Top);
    Button_Mark = dialogButton(QStringLiteral("Mark"), Panel_Top);
    Button_ScanNot = dialogButton(QStringLiteral("Scan Not"), Panel_Top);
    Button_Clear = dialogButton(QStringLiteral("Clear"), Panel_Top);
    Button_Delete = dialogButton(QStringLiteral("Delete"), Panel_Top);
    Button_MoveHolder = dialogButton(QStringLiteral("MoveHolder"), Panel_Top);
    Button_Unmark = dialogButton(QStringLiteral("Unmark"), Panel_Top);
    CheckListBox1 = new QListWidget(Panel_Top);
    CheckListBox1->setMinimumWidth(140);

    auto* rows = new QGridLayout;
    rows->addWidget(Button_FieldName, 0, 0);
    rows->addWidget(ComboBox_Field, 0, 1, 1, 4);
    rows->addWidget(Button_Value, 1, 0);
    rows->addWidget(ComboBox_Value, 1, 1, 1, 4);
    rows->addWidget(Button_ReplaceVal, 2, 0);
    rows->addWidget(ComboBox_ReplaceValue, 2, 1, 1, 4);
    auto* switches = new QHBoxLayout;
    switches->addWidget(
        radioGroup(QStringLiteral("Scan Op"), RadioButton_Field, RadioButton_Both, Panel_Top));
    switches->addWidget(
        radioGroup(QStringLiteral("Value Op"), RadioButton_Equal, RadioButton_Include, Panel_Top));
    switches->addWidget(CheckBox_Ignore);
    switches->addWidget(selectHolder);
    switches->addStretch();
    rows->addLayout(switches, 3, 0, 1, 5);
    const QList<QList<QPushButton*>> buttonRows = {
        {Button_Close, Button_EditSel, Button_UpHolder, Button_NewNode, nullptr},
        {Button_Scan, Button_Replace, Button_Set, Button_CopyHolder, Button_Mark},
        {Button_ScanNot, Button_Clear, Button_Delete, Button_MoveHolder, Button_Unmark}};
    for (int r = 0; r < buttonRows.size(); ++r)
        for (int c = 0; c < buttonRows[r].size(); ++c)
            if (QPushButton* b = buttonRows[r][c]) rows->addWidget(b, 4 + r, c);
    auto* top = new QHBoxLayout(Panel_Top);
    top->setContentsMargins(4, 4, 4, 4);
    top->addLayout(rows, 1);
    top->addWidget(CheckListBox1);

    resultModel = new ResultListModel(this);
    ListBox2 = new ResultListView(this);
    ListBox2->setModel(resultModel);
    StatusBar1 = new StatusPanel(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(Panel_Top);
    layout->addWidget(ListBox2, 1);
    layout->addWidget(StatusBar1);

    connect(Button_Scan, &QPushButton::clicked, this, &TFormField::Scan);
    connect(Button_ScanNot, &QPushButton::clicked, this, &TFormField::ScanNot);
    connect(Button_Set, &QPushButton::clicked, this, &TFormField::Set);
    connect(Button_Replace, &QPushButton::clicked, this, &TFormField::Replace);
    connect(Button_Delete, &QPushButton::clicked, this, &TFormField::Delete);
    connect(Button_Mark, &QPushButton::clicked, this, &TFormField::Mark);
    connect(Button_Unmark, &QPushButton::clicked, this, &TFormField::Unmark);
    connect(Button_NewNode, &QPushButton::clicked, this, &TFormField::NewNode);
    connect(Button_EditSel, &QPushButton::clicked, this, &TFormField::EditSel);
    connect(Button_FieldName, &QPushButton::clicked, this, &TFormField::FieldName);
    connect(Button_Value, &QPushButton::clicked, this, &TFormField::ValueList);
    connect(Button_ReplaceVal, &QPushButton::clicked, this, &TFormField::ReplaceValueList);
    connect(Button_UpHolder, &QPushButton::clicked, this, &TFormField::UpHolder);
    connect(Button_Current, &QPushButton::clicked, this, &TFormField::CheckCurrent);
    connect(Button_ALL, &QPushButton::clicked, this, &TFormField::CheckAll);
    connect(Button_UnSelect, &QPushButton::clicked, this, &TFormField::UncheckAll);
    connect(Button_Clear, &QPushButton::clicked, this, &TFormField::Clear);
    connect(Button_Close, &QPushButton::clicked, this, &QWidget::hide);
    connect(ListBox2, &QListView::clicked, this,
            [this](const QModelIndex& index) { clickLine(index.row()); });
    for (QPushButton* b : {Button_CopyHolder, Button_MoveHolder})
        connect(b, &QPushButton::clicked, this, [this] {
            if (host_) host_->messageBox(CompanionBox::Information, "Should Not Implemented");
        });
}

void TFormField::open(DialogHost& host) {
    host_ = &host;
    setFont(host.windowFont());
    const MemoFile* file = host.memoFile();
    setWindowTitle(toQt("FormScanField " + (file ? file->getName_() : std::string())));
    paintPanel(Panel_Top, file ? recordColour(*file, host.panelColour()) : host.panelColour());
    UpHolder();
    showNormal();
    raise();
    activateWindow();
}

void TFormField::status(std::string_view text) {
    StatusBar1->setStatus(text);
}

void TFormField::run(FieldAction action) {
    if (!host_ || running_ || host_->nowDoing()) return;
    FieldQuery query;
    std::string replacement;
    if (!storedText(ComboBox_Field->currentText(), query.key) ||
        !storedText(ComboBox_Value->currentText(), query.value) ||
        !storedText(ComboBox_ReplaceValue->currentText(), replacement)) {
        status(kLossyKeyword);
        return;
    }
    query.valueOnly = RadioButton_Both->isChecked();
    query.include = RadioButton_Include->isChecked();
    query.ignoreCase = CheckBox_Ignore->isChecked();
    const std::vector<MemoHolder*> holders = checkedHolders();
    if (std::string_view refusal = fieldRunRefusal(query, holders.size()); !refusal.empty()) {
        if (refusal == kFieldIsEmpty) host_->messageBox(CompanionBox::Warning, refusal);
        status(refusal);
        return;
    }
    ComboBox_Field->enter(query.key);
    ComboBox_Value->enter(query.value);
    host_->UI2Model();

    running_ = true;
    host_->startDoing_("Scan Field");
    HolderAccess access;
    access.load = [this](MemoHolder& holder) { host_->loadHolder_(holder); };
    access.breakRequested = [this] { return host_->isBreakRequested(); };
    ScanResults lines;
    const FieldOutcome outcome = runFieldEdit(action, query, replacement, holders, access, lines);
    resultModel->replace(std::move(lines));
    host_->doneDoing_(outcome.status);
    host_->reportReadOnly(outcome.changed);
    running_ = false;

    if (outcome.usedReplacement) ComboBox_ReplaceValue->enter(replacement);
    status(outcome.status);
    const bool edits = action == FieldAction::Set || action == FieldAction::Replace ||
                       action == FieldAction::Delete;
    if (edits && outcome.result >= 0) host_->Model2UI();
}

void TFormField::Scan() {
    run(FieldAction::Scan);
}
void TFormField::ScanNot() {
    run(FieldAction::ScanNot);
}
void TFormField::Set() {
    run(FieldAction::Set);
}
void TFormField::Replace() {
    run(FieldAction::Replace);
}
void TFormField::Delete() {
    run(FieldAction::Delete);
}

void TFormField::markAll(bool marked) {
    if (!host_ || running_ || host_->nowDoing()) return;
    const FieldOutcome outcome = markListed(resultModel->results(), marked, setNodeMark);
    status(outcome.status);
}

void TFormField::Mark() {
    markAll(true);
}
void TFormField::Unmark() {
    markAll(false);
}

void TFormField::NewNode() {
    if (!host_ || running_) return;
    const std::vector<std::string> lines = resultModel->results().lines();
    // The list goes only into the node made for it: a refused "New MemoNode"
    // leaves another node current.
    MemoNode* made = host_->newMemoNode();
    if (!made || host_->getCurMemoNode() != made) return;
    std::string text;
    for (const std::string& line : lines) text.append(line).append("\n");
    host_->insertIntoNodeEditor(text);
}

void TFormField::EditSel() {
    if (!host_) {
        status("ERROR: self.aForm = nil in TFormField.");
        return;
    }
    const auto nodes = listedNodes(resultModel->results());
    if (nodes.empty()) {
        status(kNoMemoNodeSelected);
        return;
    }
    if (!host_->editSelectedNodes(nodes)) status("ERROR: FromEditSelNode = nil in TFormField.");
}

void TFormField::FieldName() {
    if (!host_) return;
    MemoHolder* holder = host_->getCurHolder();
    if (!holder) return;
    ComboBox_Field->setEntries(fieldKeysOf(*holder));
    if (ComboBox_Field->count() > 0) ComboBox_Field->setCurrentIndex(0);
}

void TFormField::listValues(HistoryBox* box) {
    if (!host_) return;
    const std::string key = ComboBox_Field->text();
    if (key.empty()) {
        status("Field name is empty.");
        return;
    }
    MemoHolder* holder = host_->getCurHolder();
    if (!holder) return;
    box->setEntries(fieldValuesOf(*holder, key));
    if (box->count() > 0) box->setCurrentIndex(0);
}

void TFormField::ValueList() {
    listValues(ComboBox_Value);
}
void TFormField::ReplaceValueList() {
    listValues(ComboBox_ReplaceValue);
}

void TFormField::UpHolder() {
    CheckListBox1->clear();
    if (!host_ || !host_->memoFile()) return;
    HolderList holders;
    for (const auto& [name, holder] : host_->memoFile()->listHolders_(holders)) {
        // Flags and check state first, then the insertion.
        auto* item = new QListWidgetItem(toQt(name));
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
        item->setData(kHolderRole, QVariant::fromValue(reinterpret_cast<quintptr>(holder)));
        CheckListBox1->addItem(item);
    }
    CheckCurrent();
}

void TFormField::CheckCurrent() {
    if (!host_) return;
    const MemoHolder* current = host_->getCurHolder();
    for (int row = 0; row < CheckListBox1->count(); ++row) {
        QListWidgetItem* item = CheckListBox1->item(row);
        if (item->data(kHolderRole).value<quintptr>() == reinterpret_cast<quintptr>(current))
            item->setCheckState(Qt::Checked);
    }
}

void TFormField::setAllChecked(bool checked) {
    for (int row = 0; row < CheckListBox1->count(); ++row)
        CheckListBox1->item(row)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

void TFormField::CheckAll() {
    setAllChecked(true);
}
void TFormField::UncheckAll() {
    setAllChecked(false);
}

std::vector<MemoHolder*> TFormField::checkedHolders() const {
    std::vector<MemoHolder*> holders;
    const MemoFile* file = host_ ? host_->memoFile() : nullptr;
    if (!file) return holders;
    for (int row = 0; row < CheckListBox1->count(); ++row) {
        const QListWidgetItem* item = CheckListBox1->item(row);
        if (item->checkState() != Qt::Checked) continue;
        // A line is only an address and a name: it counts while the memo file
        // still holds a holder there of that name.
        const auto* remembered =
            reinterpret_cast<const MemoHolder*>(item->data(kHolderRole).value<quintptr>());
        const int index = file->indexOfHolder_(remembered);
        MemoHolder* holder = index < 0 ? nullptr : file->holderAt_(index);
        if (holder && toQt(holder->getName_()) == item->text()) holders.push_back(holder);
    }
    return holders;
}

void TFormField::Clear() {
    resultModel->clear();
}

void TFormField::clickLine(int row) {
    if (!host_ || running_ || row < 0) return;
    const ScanResults& results = resultModel->results();
    if (static_cast<std::size_t>(row) >= results.size()) return;
    MemoNode* node = results.node(static_cast<std::size_t>(row));
    if (!node) return;
    MemoHolder* holder = holderOf(*node);
    if (!holder) return;
    if (holder != host_->getCurHolder()) host_->changeHolder_(holder);
    host_->setCurMemoNode_(node);
}

// --- TFormHolderFields -------------------------------------------------------------

TFormHolderFields::TFormHolderFields(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormHolderFields"));
    resize(420, 360);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Button_OK = dialogButton(QStringLiteral("OK"), this);
    Button_Cancel = dialogButton(QStringLiteral("Cancel"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button_OK);
    buttons->addWidget(Button_Cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Memo1, 1);
    layout->addLayout(buttons);
    connect(Button_OK, &QPushButton::clicked, this, [this] {
        if (store()) accept();
    });
    connect(Button_Cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TFormHolderFields::load(MemoHolder& holder, DialogHost& host) {
    holder_ = &holder;
    host_ = &host;
    setFont(host.windowFont());
    setWindowTitle(toQt("FormHolderFields  " + holder.getName_()));
    std::string text;
    for (std::size_t i = 0; i < holder.fields.size(); ++i)
        text.append(holder.fields[i]).append("\n");
    Memo1->setPlainText(toQt(text));
}

bool TFormHolderFields::store() {
    if (!holder_) return true;
    FieldList edited;
    for (const std::string& line : textLines(fromQt(Memo1->toPlainText()))) {
        if (trimText(line).empty()) continue;
        edited.append(line);
        const std::size_t last = edited.size() - 1;
        if (edited.hasKeyAt(last) && !isStorableFieldKey(trimText(edited.keyAt(last)))) {
            if (host_)
                host_->messageBox(CompanionBox::Warning, std::string(kBadFieldKey) + "\n" + line);
            return false;
        }
    }
    if (edited == holder_->fields) return true;
    holder_->fields = std::move(edited);
    // The sort and save state live beside the fields and are written from
    // there; they follow the edited lines. The current node stays.
    MemoNode* current = holder_->currentNode;
    holder_->takeSettingsFromFields();
    holder_->currentNode = current;
    holder_->changed = true;
    if (host_) host_->holderSettingsChanged(*holder_);
    return true;
}

}  // namespace zel
