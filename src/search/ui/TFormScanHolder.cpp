#include "search/ui/TFormScanHolder.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "search/ui/SearchHost.h"
#include "views/ViewText.h"

namespace zel {

namespace {

QPushButton* button(const char* caption, QWidget* parent) {
    return new QPushButton(QString::fromLatin1(caption), parent);
}

QCheckBox* section(const char* caption, QWidget* parent) {
    return new QCheckBox(QString::fromLatin1(caption), parent);
}

// What a run asks of its surroundings, answered by the main window and the
// window's own status panel.
class WindowScanHost : public ScanHost {
  public:
    WindowScanHost(SearchHost& host, StatusPanel& panel) : host_(host), panel_(panel) {}
    void loadHolder(MemoHolder& holder) override { host_.loadHolder_(holder); }
    void status(std::string_view text) override { panel_.setStatus(text); }
    bool breakRequested() override { return host_.isBreakRequested(); }
    void log(std::string_view text) override { host_.addLog_(text); }
    void holderReplaced(MemoHolder& holder) override { host_.holderReplaced(holder); }

  private:
    SearchHost& host_;
    StatusPanel& panel_;
};

QWidget* listSheet(QWidget* parent, QPushButton* first, QPushButton* second, QListView* list) {
    auto* sheet = new QWidget(parent);
    auto* row = new QHBoxLayout;
    for (QPushButton* b : {first, second})
        if (b) row->addWidget(b);
    row->addStretch();
    auto* layout = new QVBoxLayout(sheet);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addLayout(row);
    layout->addWidget(list, 1);
    return sheet;
}

}  // namespace

TFormScanBase::TFormScanBase(QWidget* parent, bool several)
    : QWidget(parent, Qt::Window), several_(several) {
    resize(720, 520);
    Panel_Top = new QWidget(this);
    ComboBox_KeyWord = makeKeywordBox(Panel_Top);
    ComboBox_ReplaceWord = makeKeywordBox(Panel_Top);
    CheckBox_Name = section("Name", Panel_Top);
    CheckBox_Memo = section("Memo", Panel_Top);
    CheckBox_Comment = section("Comment", Panel_Top);
    CheckBox_Field = section("Field", Panel_Top);
    CheckBox_Ignore = section("Ignore", Panel_Top);
    Button_AllOn = button("ALL ON", Panel_Top);
    Button_AllOff = button("ALL OFF", Panel_Top);
    auto* words = new QHBoxLayout;
    words->addWidget(new QLabel(QStringLiteral("KeyWord"), Panel_Top));
    words->addWidget(ComboBox_KeyWord, 1);
    words->addWidget(new QLabel(QStringLiteral("ReplaceWord"), Panel_Top));
    words->addWidget(ComboBox_ReplaceWord, 1);
    auto* switches = new QHBoxLayout;
    for (QCheckBox* box : {CheckBox_Name, CheckBox_Memo, CheckBox_Comment, CheckBox_Field})
        switches->addWidget(box);
    switches->addWidget(Button_AllOn);
    switches->addWidget(Button_AllOff);
    switches->addSpacing(12);
    switches->addWidget(CheckBox_Ignore);
    switches->addStretch();
    auto* top = new QVBoxLayout(Panel_Top);
    top->setContentsMargins(4, 4, 4, 4);
    top->addLayout(words);
    top->addLayout(switches);

    PageControl1 = new QTabWidget(this);
    listModel = new ResultListModel(this);
    grepModel = new ResultListModel(this);
    ListBox_List = new ResultListView(this);
    ListBox_List->setModel(listModel);
    ListBox_Grep = new ResultListView(this);
    ListBox_Grep->setModel(grepModel);
    Button_Scan = button("Scan", this);
    Button_Replace = button("Replace", this);
    Button_Grep = button("Grep", this);
    TabSheet_List = listSheet(this, Button_Scan, Button_Replace, ListBox_List);
    TabSheet_Grep = listSheet(this, Button_Grep, nullptr, ListBox_Grep);
    PageControl1->addTab(TabSheet_List, QStringLiteral("List"));
    PageControl1->addTab(TabSheet_Grep, QStringLiteral("Grep"));

    Button_Mark = button("Mark", this);
    Button_Unmark = button("Unmark", this);
    Button_EditSelect = button("Edit Select", this);
    Button_NewNode = button("New Node", this);
    Button_Clear = button("Clear", this);
    Button_CopyHolder = button(several ? "Copy Holder" : "CopyHolder", this);
    Button_MoveHolder = button(several ? "Move Holder" : "MoveHolder", this);
    Button_Close = button("Close", this);
    Button_EditSelect->setEnabled(false);
    auto* actions = new QHBoxLayout;
    for (QPushButton* b : {Button_Mark, Button_Unmark, Button_EditSelect, Button_NewNode,
                           Button_Clear, Button_CopyHolder, Button_MoveHolder})
        actions->addWidget(b);
    actions->addStretch();
    actions->addWidget(Button_Close);
    StatusBar1 = new StatusPanel(this);

    body_ = new QHBoxLayout;
    body_->addWidget(PageControl1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(Panel_Top);
    layout->addLayout(body_, 1);
    layout->addLayout(actions);
    layout->addWidget(StatusBar1);

    CheckBox_Name->setChecked(true);
    for (QCheckBox* box : {CheckBox_Memo, CheckBox_Comment, CheckBox_Field})
        box->setChecked(several);
    CheckBox_Ignore->setChecked(true);
    PageControl1->setCurrentWidget(several ? TabSheet_Grep : TabSheet_List);

    connect(Button_Scan, &QPushButton::clicked, this, &TFormScanBase::Scan);
    connect(Button_Replace, &QPushButton::clicked, this, &TFormScanBase::Replace);
    connect(Button_Grep, &QPushButton::clicked, this, &TFormScanBase::Grep);
    connect(Button_Mark, &QPushButton::clicked, this, &TFormScanBase::Mark);
    connect(Button_Unmark, &QPushButton::clicked, this, &TFormScanBase::Unmark);
    connect(Button_EditSelect, &QPushButton::clicked, this, &TFormScanBase::EditSelect);
    connect(Button_NewNode, &QPushButton::clicked, this, &TFormScanBase::NewNode);
    connect(Button_Clear, &QPushButton::clicked, this, &TFormScanBase::Clear);
    connect(Button_AllOn, &QPushButton::clicked, this, &TFormScanBase::AllOn);
    connect(Button_AllOff, &QPushButton::clicked, this, &TFormScanBase::AllOff);
    connect(Button_Close, &QPushButton::clicked, this, &QWidget::hide);
    connect(ListBox_List, &QListView::clicked, this,
            [this](const QModelIndex& index) { clickLine(false, index.row()); });
    connect(ListBox_Grep, &QListView::clicked, this,
            [this](const QModelIndex& index) { clickLine(true, index.row()); });
    auto notImplemented = [this](CompanionBox box, const char* text) {
        if (host_) host_->messageBox(box, text);
    };
    connect(Button_CopyHolder, &QPushButton::clicked, this, [this, notImplemented] {
        notImplemented(several_ ? CompanionBox::Confirmation : CompanionBox::Information,
                       several_ ? "Still  Not Impliment" : "Still Not Impliment");
    });
    connect(Button_MoveHolder, &QPushButton::clicked, this, [this, notImplemented] {
        notImplemented(several_ ? CompanionBox::Confirmation : CompanionBox::Information,
                       "Still Not Impliment");
    });
}

void TFormScanBase::link(SearchHost& host) {
    host_ = &host;
    setFont(host.windowFont());
    const MemoFile* file = host.memoFile();
    paintPanel(Panel_Top, file ? recordColour(*file, host.panelColour()) : host.panelColour());
    listHistory(ComboBox_KeyWord, host.keywordHistory());
    Button_EditSelect->setEnabled(host.hasSelectedNodesEditor());
}

void TFormScanBase::showWindow() {
    placeOverParent(this);
    showNormal();
    raise();
    activateWindow();
}

void TFormScanBase::status(std::string_view text) {
    StatusBar1->setStatus(text);
}

bool TFormScanBase::takeKeyword(std::string& keyword) {
    if (!storedText(ComboBox_KeyWord->currentText(), keyword)) {
        host_->messageBox(CompanionBox::Warning, kLossyKeyword);
        status(kLossyKeyword);
        return false;
    }
    if (keyword.empty()) {
        host_->messageBox(CompanionBox::Warning, "KeyWord is Empty.");
        status("KeyWord is Empty.");
        return false;
    }
    return true;
}

bool TFormScanBase::takeReplacement(std::string& replacement) {
    if (storedText(ComboBox_ReplaceWord->currentText(), replacement)) return true;
    host_->messageBox(CompanionBox::Warning, kLossyKeyword);
    status(kLossyKeyword);
    return false;
}

void TFormScanBase::setRunning(bool running) {
    running_ = running;
    for (QWidget* part : {static_cast<QWidget*>(Panel_Top), static_cast<QWidget*>(PageControl1)})
        part->setEnabled(!running);
    for (QPushButton* b : {Button_Mark, Button_Unmark, Button_NewNode, Button_Clear,
                           Button_CopyHolder, Button_MoveHolder})
        b->setEnabled(!running);
    Button_EditSelect->setEnabled(!running && host_ && host_->hasSelectedNodesEditor());
}

void TFormScanBase::run(ScanKind kind) {
    if (running_ || !host_ || host_->nowDoing()) return;
    ScanRequest request;
    request.kind = kind;
    if (!takeKeyword(request.keyword)) return;
    if (kind == ScanKind::Replace && !takeReplacement(request.replacement)) return;
    host_->keywordHistory().add(request.keyword);
    listHistory(ComboBox_KeyWord, host_->keywordHistory());
    if (kind == ScanKind::Replace) {
        if (host_->isUIReadOnly()) {
            host_->messageDoing_("UI ReadOnly");
            status("UI ReadOnly");
            return;
        }
        replaceWords_.add(request.replacement);
        listHistory(ComboBox_ReplaceWord, replaceWords_);
        // Node windows would otherwise write their old text back later.
        host_->UI2Model();
    }
    request.sections = {CheckBox_Name->isChecked(), CheckBox_Memo->isChecked(),
                        CheckBox_Comment->isChecked(), CheckBox_Field->isChecked()};
    request.ignoreCase = CheckBox_Ignore->isChecked();
    request.severalHolders = several_;

    ResultListModel* target = kind == ScanKind::Grep ? grepModel : listModel;
    target->clear();
    PageControl1->setCurrentWidget(kind == ScanKind::Grep ? TabSheet_Grep : TabSheet_List);
    static constexpr const char* kDoing[] = {"Scan Holder", "Replace Holder", "Grep Holder"};
    host_->startDoing_(std::string(kDoing[static_cast<int>(kind)]) + (several_ ? "s" : ""));
    setRunning(true);
    ScanResults results;
    WindowScanHost scanHost(*host_, *StatusBar1);
    ScanOutcome outcome;
    if (MemoFile* file = host_->memoFile())
        outcome = runScan(*file, holderNames(), request, scanHost, results);
    target->replace(std::move(results));
    setRunning(false);
    status(outcome.status);
    if (outcome.box != ScanOutcome::Box::None)
        host_->messageBox(outcome.box == ScanOutcome::Box::Warning ? CompanionBox::Warning
                                                                   : CompanionBox::Confirmation,
                          outcome.status);
    if (kind == ScanKind::Replace && outcome.entries > 0) host_->Model2UI();
    host_->doneDoing_(outcome.status);
}

void TFormScanBase::Scan() {
    run(ScanKind::Scan);
}
void TFormScanBase::Replace() {
    run(ScanKind::Replace);
}
void TFormScanBase::Grep() {
    run(ScanKind::Grep);
}

ResultListModel* TFormScanBase::visibleModel() const {
    return PageControl1->currentWidget() == TabSheet_Grep ? grepModel : listModel;
}

void TFormScanBase::markAll(bool marked) {
    if (running_ || !host_) return;
    const ScanResults& results = visibleModel()->results();
    std::vector<MemoNode*> nodes;
    nodes.reserve(results.size());
    for (std::size_t row = 0; row < results.size(); ++row)
        if (MemoNode* node = results.node(row)) nodes.push_back(node);
    host_->markNodes(nodes, marked);
    status(std::string(marked ? "Done: Mark count=" : "Done: Unmark count=") +
           std::to_string(nodes.size()));
}

void TFormScanBase::Mark() {
    markAll(true);
}
void TFormScanBase::Unmark() {
    markAll(false);
}

void TFormScanBase::EditSelect() {
    if (!host_) {
        status(several_ ? "ERROR: self.aForm = nil." : "self.aForm = nil");
        return;
    }
    const ScanResults& results = visibleModel()->results();
    std::vector<std::pair<std::string, NodeRef>> pairs;
    for (std::size_t row = 0; row < results.size(); ++row)
        if (results.nodeRef(row).alive())
            pairs.emplace_back(std::to_string(row), results.nodeRef(row));
    if (pairs.empty()) {
        status("No MemoNode selected.");
        return;
    }
    if (!host_->editSelectedNodes(pairs))
        status(several_ ? "ERROR: FormEditSelNode = nil in TFormScanHolders."
                        : "ERROR: FormEditSelNode = nil.");
}

void TFormScanBase::NewNode() {
    if (running_ || !host_) return;
    const std::vector<std::string> lines = visibleModel()->results().lines();
    if (!host_->newMemoNode()) return;
    host_->putEditorMemo(lines);
}

void TFormScanBase::Clear() {
    visibleModel()->clear();
}

void TFormScanBase::AllOn() {
    for (QCheckBox* box : {CheckBox_Name, CheckBox_Memo, CheckBox_Comment, CheckBox_Field})
        box->setChecked(true);
}

void TFormScanBase::AllOff() {
    for (QCheckBox* box : {CheckBox_Name, CheckBox_Memo, CheckBox_Comment, CheckBox_Field})
        box->setChecked(false);
}

void TFormScanBase::clickLine(bool grep, int row) {
    if (running_ || !host_ || row < 0) return;
    const ScanResults& results = (grep ? grepModel : listModel)->results();
    if (static_cast<std::size_t>(row) >= results.size()) return;
    MemoNode* node = results.node(static_cast<std::size_t>(row));
    if (!node) return;
    // The node's holder as it is now: the node may have moved since.
    auto* holder = dynamic_cast<MemoHolder*>(node->enclosingRecord_());
    if (!holder) return;
    if (holder != host_->getCurHolder()) host_->changeHolder_(holder);
    host_->setCurMemoNode_(node);
}

TFormScanHolder::TFormScanHolder(QWidget* parent) : TFormScanBase(parent, false) {
    setObjectName(QStringLiteral("FormScanHolder"));
}

bool TFormScanHolder::open(SearchHost& host) {
    MemoHolder* holder = host.getCurHolder();
    if (!holder) return false;
    link(host);
    const MemoFile* file = host.memoFile();
    setWindowTitle(toQt("FormScanHolder " + (file ? file->getName_() : std::string()) + " : " +
                        holder->getName_()));
    showWindow();
    return true;
}

std::vector<std::string> TFormScanHolder::holderNames() const {
    const MemoHolder* holder = host_ ? host_->getCurHolder() : nullptr;
    if (!holder) return {};
    return {holder->getName_()};
}

}  // namespace zel
