#include "search/ui/TFormScanNode.h"

#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QTextCursor>
#include <QVBoxLayout>

#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "search/HolderScan.h"
#include "search/KeywordHistory.h"
#include "search/ui/SearchHost.h"
#include "text/LineList.h"
#include "views/ViewText.h"

namespace zel {

namespace {

QPushButton* button(const char* caption, QWidget* parent) {
    return new QPushButton(QString::fromLatin1(caption), parent);
}

QString linesForEditor(const std::vector<std::string>& lines) {
    QStringList shown;
    shown.reserve(static_cast<qsizetype>(lines.size()));
    for (const std::string& line : lines) shown << toQt(line);
    return shown.join(QLatin1Char('\n'));
}

std::vector<std::string> fieldLines(const FieldList& fields) {
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < fields.size(); ++i) lines.push_back(fields[i]);
    return lines;
}

}  // namespace

TFormScanNode::TFormScanNode(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("FormScanNode"));
    resize(640, 480);
    Panel_Top = new QWidget(this);
    ComboBox_KeyWord = makeKeywordBox(Panel_Top);
    Button_Update = button("Update", Panel_Top);
    Button_Set = button("Set", Panel_Top);
    Button_Close = button("Close", Panel_Top);
    CheckBox_Ignore = new QCheckBox(QStringLiteral("Ignore"), Panel_Top);
    auto* top = new QHBoxLayout(Panel_Top);
    top->addWidget(ComboBox_KeyWord, 1);
    for (QWidget* w : {static_cast<QWidget*>(Button_Update), static_cast<QWidget*>(Button_Set),
                       static_cast<QWidget*>(Button_Close), static_cast<QWidget*>(CheckBox_Ignore)})
        top->addWidget(w);

    PageControl1 = new QTabWidget(this);
    TabSheet_Name = makeNameTab();
    PageControl1->addTab(TabSheet_Name, QStringLiteral("Name"));
    const char* captions[] = {"Memo", "Comment", "Field"};
    for (int i = 0; i < 3; ++i) {
        tabs[i] = makeEditorTab(captions[i]);
        PageControl1->addTab(tabs[i].sheet, QString::fromLatin1(captions[i]));
        const auto section = static_cast<Section>(i);
        connect(tabs[i].Button_Scan, &QPushButton::clicked, this,
                [this, section] { Scan(section); });
        connect(tabs[i].Button_Replace, &QPushButton::clicked, this,
                [this, section] { Replace(section); });
        connect(tabs[i].FindDialog, &TFindDialog::findNext, this,
                [this, section] { FindNext(section); });
        connect(tabs[i].ReplaceDialog, &TReplaceDialog::findNext, this,
                [this, section] { FindNext(section); });
        connect(tabs[i].ReplaceDialog, &TReplaceDialog::replace, this,
                [this, section] { ReplaceOnce(section); });
        // Replace All does what Replace does: one occurrence per press.
        connect(tabs[i].ReplaceDialog, &TReplaceDialog::replaceAll, this,
                [this, section] { ReplaceOnce(section); });
    }
    TabSheet_Grep = makeGrepTab();
    PageControl1->addTab(TabSheet_Grep, QStringLiteral("Grep"));
    StatusBar1 = new StatusPanel(this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(Panel_Top);
    layout->addWidget(PageControl1, 1);
    layout->addWidget(StatusBar1);

    connect(Button_Update, &QPushButton::clicked, this, &TFormScanNode::Update);
    connect(Button_Close, &QPushButton::clicked, this, &QWidget::close);
    connect(Button_Grep, &QPushButton::clicked, this, &TFormScanNode::Grep);
    connect(Button_GrepClear, &QPushButton::clicked, this, &TFormScanNode::ClearGrep);
    connect(Button_NewNode, &QPushButton::clicked, this, &TFormScanNode::NewNode);
}

QWidget* TFormScanNode::makeNameTab() {
    auto* sheet = new QWidget(this);
    Edit_Name = new QLineEdit(sheet);
    Button_NameScan = button("Scan", sheet);
    Button_NameReplace = button("Replace", sheet);
    ComboBox_NameReplace = makeKeywordBox(sheet);
    CheckBox_NameIgnore = new QCheckBox(QStringLiteral("Ignore"), sheet);
    auto* row = new QHBoxLayout;
    row->addWidget(Button_NameScan);
    row->addWidget(Button_NameReplace);
    row->addWidget(ComboBox_NameReplace, 1);
    row->addWidget(CheckBox_NameIgnore);
    auto* layout = new QVBoxLayout(sheet);
    layout->addLayout(row);
    layout->addWidget(Edit_Name);
    layout->addStretch();
    return sheet;
}

TFormScanNode::EditorTab TFormScanNode::makeEditorTab(const char* caption) {
    EditorTab tab{};
    tab.sheet = new QWidget(this);
    tab.sheet->setObjectName(QStringLiteral("TabSheet_") + QString::fromLatin1(caption));
    tab.Button_Replace = button("Replace", tab.sheet);
    tab.ComboBox_ReplaceWord = makeKeywordBox(tab.sheet);
    tab.ComboBox_ReplaceWord->setToolTip(QStringLiteral("ReplaceWord"));
    tab.Button_Scan = button("Scan", tab.sheet);
    tab.Memo = new QPlainTextEdit(tab.sheet);
    tab.Memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    tab.FindDialog = new TFindDialog(this);
    tab.ReplaceDialog = new TReplaceDialog(this);
    auto* row = new QHBoxLayout;
    row->addWidget(tab.Button_Replace);
    row->addWidget(new QLabel(QStringLiteral("ReplaceWord"), tab.sheet));
    row->addWidget(tab.ComboBox_ReplaceWord, 1);
    row->addWidget(tab.Button_Scan);
    auto* layout = new QVBoxLayout(tab.sheet);
    layout->addLayout(row);
    layout->addWidget(tab.Memo, 1);
    return tab;
}

QWidget* TFormScanNode::makeGrepTab() {
    auto* sheet = new QWidget(this);
    Button_Grep = button("Grep", sheet);
    Button_GrepClear = button("Clear", sheet);
    Button_NewNode = button("New Node", sheet);
    Memo_Grep = new QPlainTextEdit(sheet);
    Memo_Grep->setReadOnly(true);
    Memo_Grep->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto* row = new QHBoxLayout;
    for (QPushButton* b : {Button_Grep, Button_GrepClear, Button_NewNode}) row->addWidget(b);
    row->addStretch();
    auto* layout = new QVBoxLayout(sheet);
    layout->addLayout(row);
    layout->addWidget(Memo_Grep, 1);
    return sheet;
}

bool TFormScanNode::open(SearchHost& host) {
    MemoHolder* holder = host.getCurHolder();
    MemoNode* node = host.getCurMemoNode();
    if (!holder || !node) return false;
    host_ = &host;
    const MemoFile* file = host.memoFile();
    setFont(host.windowFont());
    setWindowTitle(toQt("FormScanNode " + (file ? file->getName_() : std::string()) + " : " +
                        holder->getName_() + " : " + node->getName_()));
    paintPanel(Panel_Top, toQColor(node->getColor_()));
    Update();
    setWindowModality(Qt::ApplicationModal);
    placeOverParent(this);
    show();
    raise();
    return true;
}

void TFormScanNode::hideEvent(QHideEvent* event) {
    for (EditorTab& tab : tabs) {
        tab.FindDialog->hide();
        tab.ReplaceDialog->hide();
    }
    QWidget::hideEvent(event);
}

void TFormScanNode::status(std::string_view text) {
    StatusBar1->setStatus(text);
}

bool TFormScanNode::keyword(std::string& text) {
    if (storedText(ComboBox_KeyWord->currentText(), text)) return true;
    status(kLossyKeyword);
    if (host_) host_->messageBox(CompanionBox::Warning, kLossyKeyword);
    return false;
}

void TFormScanNode::Update() {
    const MemoNode* node = host_ ? host_->getCurMemoNode() : nullptr;
    if (!node) return;
    Edit_Name->setText(toQt(node->getName_()));
    // An attached file's memo lines are only scratch space for its Base64.
    if (node->getField_("Content-Transfer-Encoding") == "\"binary\"")
        tabs[SectionMemo].Memo->clear();
    else
        tabs[SectionMemo].Memo->setPlainText(linesForEditor(node->memo));
    tabs[SectionComment].Memo->setPlainText(linesForEditor(node->comment));
    tabs[SectionField].Memo->setPlainText(linesForEditor(fieldLines(node->fields)));
    Memo_Grep->clear();
}

void TFormScanNode::Scan(Section section) {
    EditorTab& tab = tabs[section];
    const QString text = ComboBox_KeyWord->currentText();
    putOnTop(ComboBox_KeyWord, text);
    tab.FindDialog->Edit_Find->setText(text);
    const QPoint edge = tab.Memo->mapToGlobal(QPoint(tab.Memo->width(), 0));
    tab.FindDialog->move(edge);
    tab.FindDialog->show();
    tab.FindDialog->raise();
}

void TFormScanNode::Replace(Section section) {
    EditorTab& tab = tabs[section];
    const QString find = ComboBox_KeyWord->currentText();
    const QString replacement = tab.ComboBox_ReplaceWord->currentText();
    putOnTop(ComboBox_KeyWord, find);
    putOnTop(tab.ComboBox_ReplaceWord, replacement);
    tab.ReplaceDialog->Edit_Find->setText(find);
    tab.ReplaceDialog->Edit_Replace->setText(replacement);
    if (section == SectionMemo)
        tab.ReplaceDialog->CheckBox_MatchCase->setChecked(!CheckBox_Ignore->isChecked());
    tab.ReplaceDialog->show();
    tab.ReplaceDialog->raise();
}

void TFormScanNode::FindNext(Section section) {
    EditorTab& tab = tabs[section];
    const QString find = tab.FindDialog->Edit_Find->text();
    if (find.isEmpty()) return;
    QTextCursor cursor = tab.Memo->textCursor();
    const int from = cursor.hasSelection() ? cursor.selectionEnd() : 0;
    // Characters, not bytes: a hit never begins inside a double-byte character.
    const int hit = tab.Memo->toPlainText().indexOf(find, from, Qt::CaseSensitive);
    if (hit < 0) return;
    cursor.setPosition(hit);
    cursor.setPosition(hit + static_cast<int>(find.size()), QTextCursor::KeepAnchor);
    tab.Memo->setTextCursor(cursor);
    tab.Memo->setFocus();
}

void TFormScanNode::ReplaceOnce(Section section) {
    EditorTab& tab = tabs[section];
    const QString find = tab.ReplaceDialog->Edit_Find->text();
    const int hit =
        find.isEmpty() ? -1 : tab.Memo->toPlainText().indexOf(find, 0, Qt::CaseSensitive);
    if (hit < 0) {
        if (host_)
            host_->messageBox(CompanionBox::Error,
                              "Could not find \"" + fromQt(find) + "\" in Memo1.");
        return;
    }
    QTextCursor cursor = tab.Memo->textCursor();
    cursor.setPosition(hit);
    cursor.setPosition(hit + static_cast<int>(find.size()), QTextCursor::KeepAnchor);
    cursor.insertText(tab.ReplaceDialog->Edit_Replace->text());
    tab.Memo->setTextCursor(cursor);
}

void TFormScanNode::Grep() {
    if (!host_) return;
    std::string text;
    if (!keyword(text)) return;
    if (text.empty()) {
        host_->messageBox(CompanionBox::Warning, "KeyWord is Empty.");
        status("KeyWord is Empty.");
        return;
    }
    Memo_Grep->clear();
    PageControl1->setCurrentWidget(TabSheet_Grep);
    status("*Grep* " + text);
    host_->keywordHistory().add(text);
    listHistory(ComboBox_KeyWord, host_->keywordHistory());
    const MemoNode* node = host_->getCurMemoNode();
    const MemoHolder* holder = host_->getCurHolder();
    if (!node || !holder) return;
    ScanResults lines;
    const ScanOutcome outcome =
        grepNode(*node, holder->getName_(), text, CheckBox_Ignore->isChecked(), lines);
    QStringList shown;
    for (std::size_t row = 0; row < lines.size(); ++row) shown << toQt(lines.text(row));
    Memo_Grep->setPlainText(shown.join(QLatin1Char('\n')));
    if (outcome.box != ScanOutcome::Box::None)
        host_->messageBox(CompanionBox::Confirmation, outcome.status);
    status(outcome.status);
}

void TFormScanNode::ClearGrep() {
    Memo_Grep->clear();
}

void TFormScanNode::NewNode() {
    if (!host_ || !host_->newMemoNode()) return;
    const QString text = Memo_Grep->toPlainText();
    host_->putEditorMemo(text.isEmpty() ? Lines{} : textLines(fromQt(text)));
}

}  // namespace zel
