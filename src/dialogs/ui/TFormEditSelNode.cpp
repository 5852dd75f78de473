#include "dialogs/ui/TFormEditSelNode.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "dialogs/FieldEdit.h"
#include "dialogs/ui/DialogHost.h"
#include "model/MemoHolder.h"
#include "views/ViewText.h"

namespace zel {

namespace {

QPlainTextEdit* pageEditor(QWidget* parent) {
    auto* editor = new QPlainTextEdit(parent);
    editor->setLineWrapMode(QPlainTextEdit::NoWrap);
    editor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    editor->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    return editor;
}

// A page of three buttons in a column beside its editor.
QWidget* textPage(QWidget* parent, QPlainTextEdit*& editor, QPushButton*& head,
                  QPushButton*& replace, QPushButton*& tail) {
    auto* page = new QWidget(parent);
    head = dialogButton(QStringLiteral("Insert Head"), page);
    replace = dialogButton(QStringLiteral("Replace"), page);
    tail = dialogButton(QStringLiteral("Add Tail"), page);
    editor = pageEditor(page);
    auto* column = new QVBoxLayout;
    for (QPushButton* b : {head, replace, tail}) column->addWidget(b);
    column->addStretch();
    auto* layout = new QHBoxLayout(page);
    layout->addLayout(column);
    layout->addWidget(editor, 1);
    return page;
}

}  // namespace

TFormEditSelNode::TFormEditSelNode(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("FormEditSelNode"));
    setWindowTitle(QStringLiteral("FormEditSelNode"));
    resize(579, 625);
    auto* topPanel = new QWidget(this);
    topPanel->setFixedHeight(49);
    Button_Close = dialogButton(QStringLiteral("Close"), topPanel);
    auto* topLayout = new QHBoxLayout(topPanel);
    topLayout->addWidget(Button_Close);
    topLayout->addStretch();

    PageControl1 = new QTabWidget(this);
    PageControl1->setFixedHeight(153);
    auto* namePage = new QWidget(PageControl1);
    ComboBox_name = new HistoryBox(namePage);
    Button_NameInsertHead = dialogButton(QStringLiteral("Insert Head"), namePage);
    Button_NameReplace = dialogButton(QStringLiteral("Replace"), namePage);
    Button_NameAddTail = dialogButton(QStringLiteral("Add Tail"), namePage);
    Button_NameInsertHeadPlus = dialogButton(QStringLiteral("Insert Head+"), namePage);
    Button_NameAddTailPlus = dialogButton(QStringLiteral("Add Tail+"), namePage);
    auto* nameLayout = new QGridLayout(namePage);
    nameLayout->addWidget(ComboBox_name, 0, 0, 1, 3);
    nameLayout->addWidget(Button_NameInsertHead, 1, 0);
    nameLayout->addWidget(Button_NameReplace, 1, 1);
    nameLayout->addWidget(Button_NameAddTail, 1, 2);
    nameLayout->addWidget(Button_NameInsertHeadPlus, 2, 0);
    nameLayout->addWidget(Button_NameAddTailPlus, 2, 2);
    PageControl1->addTab(namePage, QStringLiteral("Name"));
    PageControl1->addTab(textPage(PageControl1, Memo_Memo, Button_MemoInsertHead,
                                  Button_MemoReplace, Button_MemoAddTail),
                         QStringLiteral("Memo"));
    PageControl1->addTab(textPage(PageControl1, Memo_Comment, Button_CommentInsertHead,
                                  Button_CommentReplace, Button_CommentAddTail),
                         QStringLiteral("Comment"));
    auto* fieldPage = new QWidget(PageControl1);
    ComboBox_Field = new HistoryBox(fieldPage);
    ComboBox_Value = new HistoryBox(fieldPage);
    Button_UpdateField = dialogButton(QStringLiteral("Update Field"), fieldPage);
    Button_Set = dialogButton(QStringLiteral("Set"), fieldPage);
    Button_Delete = dialogButton(QStringLiteral("Delete"), fieldPage);
    auto* fieldLayout = new QGridLayout(fieldPage);
    fieldLayout->addWidget(new QLabel(QStringLiteral("Field"), fieldPage), 0, 0);
    fieldLayout->addWidget(ComboBox_Field, 0, 1);
    fieldLayout->addWidget(Button_UpdateField, 0, 2);
    fieldLayout->addWidget(new QLabel(QStringLiteral("Value"), fieldPage), 1, 0);
    fieldLayout->addWidget(ComboBox_Value, 1, 1);
    auto* fieldButtons = new QHBoxLayout;
    fieldButtons->addWidget(Button_Set);
    fieldButtons->addWidget(Button_Delete);
    fieldButtons->addStretch();
    fieldLayout->addLayout(fieldButtons, 2, 1);
    PageControl1->addTab(fieldPage, QStringLiteral("Field"));

    nodeModel = new ResultListModel(this);
    ListBox2 = new ResultListView(this);
    ListBox2->setModel(nodeModel);
    StatusBar1 = new StatusPanel(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(topPanel);
    layout->addWidget(PageControl1);
    layout->addWidget(ListBox2, 1);
    layout->addWidget(StatusBar1);

    connect(Button_Close, &QPushButton::clicked, this, &QWidget::hide);
    const std::pair<QPushButton*, NameEdit> names[] = {
        {Button_NameInsertHead, NameEdit::InsertHead},
        {Button_NameInsertHeadPlus, NameEdit::InsertHeadPlus},
        {Button_NameReplace, NameEdit::Replace},
        {Button_NameAddTail, NameEdit::AddTail},
        {Button_NameAddTailPlus, NameEdit::AddTailPlus}};
    for (const auto& [button, edit] : names)
        connect(button, &QPushButton::clicked, this, [this, edit = edit] { editName(edit); });
    const std::pair<QPushButton*, TextEdit> memos[] = {
        {Button_MemoInsertHead, TextEdit::InsertHead},
        {Button_MemoReplace, TextEdit::Replace},
        {Button_MemoAddTail, TextEdit::AddTail}};
    for (const auto& [button, edit] : memos)
        connect(button, &QPushButton::clicked, this, [this, edit = edit] { editMemo(edit); });
    const std::pair<QPushButton*, TextEdit> comments[] = {
        {Button_CommentInsertHead, TextEdit::InsertHead},
        {Button_CommentReplace, TextEdit::Replace},
        {Button_CommentAddTail, TextEdit::AddTail}};
    for (const auto& [button, edit] : comments)
        connect(button, &QPushButton::clicked, this, [this, edit = edit] { editComment(edit); });
    connect(Button_Set, &QPushButton::clicked, this, &TFormEditSelNode::SetField);
    connect(Button_Delete, &QPushButton::clicked, this, &TFormEditSelNode::DeleteField);
    connect(Button_UpdateField, &QPushButton::clicked, this, &TFormEditSelNode::UpdateField);
}

void TFormEditSelNode::open(DialogHost& host,
                            const std::vector<std::pair<std::string, NodeRef>>& nodes) {
    host_ = &host;
    setFont(host.windowFont());
    showNormal();
    raise();
    activateWindow();
    ScanResults lines;
    for (const auto& [text, ref] : nodes) lines.add(ref.get(), {text});
    nodeModel->replace(std::move(lines));
}

std::vector<NodeRef> TFormEditSelNode::nodeRefs() const {
    const ScanResults& lines = nodeModel->results();
    std::vector<NodeRef> refs;
    refs.reserve(lines.size());
    for (std::size_t row = 0; row < lines.size(); ++row) refs.push_back(lines.nodeRef(row));
    return refs;
}

SelEditHooks TFormEditSelNode::hooks() {
    SelEditHooks hooks;
    if (!host_) return hooks;
    hooks.before = [this] { host_->UI2Model(); };
    hooks.after = [this] { host_->Model2UI(); };
    // The window sorts a shown holder as its list mode says, and its list follows.
    hooks.resort = [this](MemoHolder& holder) { host_->holderSettingsChanged(holder); };
    return hooks;
}

void TFormEditSelNode::report(const SelEditOutcome& outcome) {
    if (outcome.emptyKeyBox && host_) host_->messageBox(CompanionBox::Warning, outcome.status);
    if (host_) host_->reportReadOnly(outcome.changed);
    StatusBar1->setStatus(outcome.status);
}

void TFormEditSelNode::editName(NameEdit edit) {
    std::string text;
    if (!storedText(ComboBox_name->currentText(), text)) {
        StatusBar1->setStatus(kLossyKeyword);
        return;
    }
    const SelEditOutcome outcome = editNames(nodeRefs(), edit, text, hooks());
    if (!outcome.refused) ComboBox_name->enter(text);
    report(outcome);
}

void TFormEditSelNode::editMemo(TextEdit edit) {
    report(editMemos(nodeRefs(), edit, fromQt(Memo_Memo->toPlainText()), hooks()));
}

void TFormEditSelNode::editComment(TextEdit edit) {
    report(editComments(nodeRefs(), edit, fromQt(Memo_Comment->toPlainText()), hooks()));
}

void TFormEditSelNode::SetField() {
    if (!host_) return;
    std::string key, value;
    if (!storedText(ComboBox_Field->currentText(), key) ||
        !storedText(ComboBox_Value->currentText(), value)) {
        StatusBar1->setStatus(kLossyKeyword);
        return;
    }
    const SelEditOutcome outcome = setFieldOfNodes(nodeRefs(), key, value, hooks());
    if (!outcome.refused) {
        ComboBox_Field->enter(key);
        ComboBox_Value->enter(value);
    }
    report(outcome);
}

void TFormEditSelNode::DeleteField() {
    if (!host_) return;
    std::string key;
    if (!storedText(ComboBox_Field->currentText(), key)) {
        StatusBar1->setStatus(kLossyKeyword);
        return;
    }
    const std::string value = ComboBox_Value->text();
    const SelEditOutcome outcome = deleteFieldOfNodes(nodeRefs(), key, hooks());
    if (!outcome.refused) {
        ComboBox_Field->enter(key);
        ComboBox_Value->enter(value);
    }
    report(outcome);
}

void TFormEditSelNode::UpdateField() {
    if (!host_) return;
    MemoHolder* holder = host_->getCurHolder();
    if (!holder) return;
    const QString typed = ComboBox_Field->currentText();
    ComboBox_Field->setEntries(fieldKeysOf(*holder));
    ComboBox_Field->setEditText(typed);
}

}  // namespace zel
