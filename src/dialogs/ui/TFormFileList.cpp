#include "dialogs/ui/TFormFileList.h"

#include <QApplication>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMimeData>
#include <QUrl>
#include <QVBoxLayout>

#include "dialogs/FileListNodes.h"
#include "dialogs/ui/FileListHost.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "search/ui/SearchWidgets.h"
#include "text/LineList.h"
#include "text/TextHelpers.h"
#include "views/ViewText.h"

namespace zel {

TFormFileList::TFormFileList(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("FormFileList"));
    setWindowTitle(QStringLiteral("FormFileList"));
    resize(537, 619);
    PageControl1 = new QTabWidget(this);

    auto* listPage = new QWidget(PageControl1);
    Panel_Top = new QWidget(listPage);
    Panel_Top->setMinimumHeight(105);
    Panel_Top->setAutoFillBackground(true);
    Button_Close = dialogButton(QStringLiteral("Close"), Panel_Top);
    Button_CopyAll = dialogButton(QStringLiteral("CopyAll"), Panel_Top);
    Button_Clear = dialogButton(QStringLiteral("Clear"), Panel_Top);
    Button_Break = dialogButton(QStringLiteral("Break"), Panel_Top);
    Button_AddHead = dialogButton(QStringLiteral("Add Head"), Panel_Top);
    Button_DelHead = dialogButton(QStringLiteral("DEL Head"), Panel_Top);
    Button_Num = dialogButton(QStringLiteral("Num"), Panel_Top);
    Button_Sort = dialogButton(QStringLiteral("Sort"), Panel_Top);
    Button_AddTail = dialogButton(QStringLiteral("Add Tail"), Panel_Top);
    Button_LinkHTML = dialogButton(QStringLiteral("Link HTML"), Panel_Top);
    // The blanks inside the captions belong to them.
    RadioGroup_DragAndDrop = new RadioGroup(
        QStringLiteral("DragAndDrop"),
        {QStringLiteral("FileName           (C:\\zel\\noname.mxa)"),
         QStringLiteral("Extract FileName (noname.mxa)"), QStringLiteral("Expand Sub Dir    "),
         QStringLiteral("Directory Only"), QStringLiteral("Poser")},
        Panel_Top);
    RadioGroup_DragAndDrop->setItemIndex(static_cast<int>(FileDropMode::FileName));
    auto* buttons = new QGridLayout;
    QPushButton* const grid[3][4] = {{Button_Close, Button_CopyAll, Button_Clear, Button_Break},
                                     {Button_AddHead, Button_DelHead, Button_Num, Button_Sort},
                                     {Button_AddTail, Button_LinkHTML, nullptr, nullptr}};
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 4; ++column)
            if (grid[row][column]) buttons->addWidget(grid[row][column], row, column);
    auto* top = new QHBoxLayout(Panel_Top);
    top->setContentsMargins(4, 4, 4, 4);
    top->addLayout(buttons);
    top->addWidget(RadioGroup_DragAndDrop);
    Memo1 = new QPlainTextEdit(listPage);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto* listLayout = new QVBoxLayout(listPage);
    listLayout->setContentsMargins(0, 0, 0, 0);
    listLayout->addWidget(Panel_Top);
    listLayout->addWidget(Memo1, 1);
    PageControl1->addTab(listPage, QStringLiteral("File List"));

    auto* nodesPage = new QWidget(PageControl1);
    CheckBox_Name = new QCheckBox(QStringLiteral("Name:=ExtractFilename()"), nodesPage);
    CheckBox_Name->setChecked(true);
    CheckBox_Filename = new QCheckBox(QStringLiteral("Filename"), nodesPage);
    CheckBox_Filename->setChecked(true);
    CheckBox_Link = new QCheckBox(QStringLiteral("Link"), nodesPage);
    RadioGroup_Holder =
        new RadioGroup(QStringLiteral("Holder"),
                       {QStringLiteral("New Holder"), QStringLiteral("Current Holder")}, nodesPage);
    RadioGroup_Holder->setItemIndex(0);
    Button_MakeNodes = dialogButton(QStringLiteral("Make Nodes"), nodesPage);
    Button_CloseForm = dialogButton(QStringLiteral("Close Form"), nodesPage);
    Button_ClearTemplate = dialogButton(QStringLiteral("Clear"), nodesPage);
    Memo2 = new QPlainTextEdit(nodesPage);
    Memo2->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo2->setPlainText(linesToQt(defaultFileListTemplate()));
    auto* boxes = new QVBoxLayout;
    for (QCheckBox* box : {CheckBox_Name, CheckBox_Filename, CheckBox_Link}) boxes->addWidget(box);
    auto* actions = new QVBoxLayout;
    for (QPushButton* b : {Button_MakeNodes, Button_CloseForm, Button_ClearTemplate})
        actions->addWidget(b);
    auto* options = new QHBoxLayout;
    options->addLayout(boxes);
    options->addWidget(RadioGroup_Holder);
    options->addLayout(actions);
    auto* nodesLayout = new QVBoxLayout(nodesPage);
    nodesLayout->setContentsMargins(4, 4, 4, 4);
    nodesLayout->addLayout(options);
    nodesLayout->addWidget(Memo2, 1);
    PageControl1->addTab(nodesPage, QStringLiteral("Make Nodes"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(PageControl1);
    PageControl1->setCurrentIndex(0);

    connect(Button_Close, &QPushButton::clicked, this, &QWidget::hide);
    connect(Button_CloseForm, &QPushButton::clicked, this, &QWidget::hide);
    connect(Button_CopyAll, &QPushButton::clicked, this, &TFormFileList::CopyAll);
    connect(Button_Clear, &QPushButton::clicked, this, &TFormFileList::Clear);
    connect(Button_Break, &QPushButton::clicked, this, &TFormFileList::Break);
    connect(Button_AddHead, &QPushButton::clicked, this, &TFormFileList::AddHead);
    connect(Button_DelHead, &QPushButton::clicked, this, &TFormFileList::DelHead);
    connect(Button_Num, &QPushButton::clicked, this, &TFormFileList::Num);
    connect(Button_Sort, &QPushButton::clicked, this, &TFormFileList::Sort);
    connect(Button_AddTail, &QPushButton::clicked, this, &TFormFileList::AddTail);
    connect(Button_LinkHTML, &QPushButton::clicked, this, &TFormFileList::LinkHTML);
    connect(Button_MakeNodes, &QPushButton::clicked, this, &TFormFileList::MakeNodes);
    connect(Button_ClearTemplate, &QPushButton::clicked, this, &TFormFileList::ClearTemplate);
    setAcceptDrops(true);
}

void TFormFileList::open(FileListHost& host) {
    host_ = &host;
    setFont(host.windowFont());
    const MemoFile* file = host.memoFile();
    paintPanel(Panel_Top, file ? recordColour(*file, host.panelColour()) : host.panelColour());
    placeOverParent(this);
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
}

FileDropMode TFormFileList::dropMode() const {
    const int index = RadioGroup_DragAndDrop->itemIndex();
    return index < 0 ? FileDropMode::Poser : static_cast<FileDropMode>(index);
}

std::vector<std::string> TFormFileList::lines() const {
    return textLines(fromQt(Memo1->toPlainText()));
}

void TFormFileList::setLines(const std::vector<std::string>& lines) {
    // One change of the whole text: 100,000 appends would take minutes.
    Memo1->setPlainText(linesToQt(lines));
}

std::vector<std::string> TFormFileList::templateLines() const {
    return textLines(fromQt(Memo2->toPlainText()));
}

bool TFormFileList::breakPressed() {
    QCoreApplication::processEvents();
    return break_;
}

void TFormFileList::dropPaths(const std::vector<std::string>& paths) {
    if (dropping_) return;
    dropping_ = true;
    break_ = false;
    std::vector<std::string> added;
    addDroppedPaths(paths, dropMode(), added, [this] { return breakPressed(); });
    if (!added.empty()) {
        std::vector<std::string> all = lines();
        all.insert(all.end(), std::make_move_iterator(added.begin()),
                   std::make_move_iterator(added.end()));
        setLines(all);
    }
    dropping_ = false;
}

void TFormFileList::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

std::vector<std::string> TFormFileList::droppedPaths(const QMimeData& data) {
    // Whole local paths: nothing is cut to a buffer's length.
    std::vector<std::string> paths;
    for (const QUrl& url : data.urls())
        if (url.isLocalFile()) paths.push_back(fromQt(url.toLocalFile()));
    return paths;
}

void TFormFileList::dropEvent(QDropEvent* event) {
    event->acceptProposedAction();
    dropPaths(droppedPaths(*event->mimeData()));
}

void TFormFileList::applyToLines(void (*change)(std::vector<std::string>&)) {
    std::vector<std::string> all = lines();
    change(all);
    setLines(all);
}

void TFormFileList::CopyAll() {
    QApplication::clipboard()->setText(Memo1->toPlainText());
}

void TFormFileList::Clear() {
    Memo1->clear();
}

void TFormFileList::Break() {
    break_ = true;
}

void TFormFileList::addWord(const char* caption, const char* prompt, bool head) {
    if (!host_) return;
    // The box proposes a blank; a cancelled or unchanged answer adds nothing.
    const std::string word = host_->inputBox(caption, prompt, " ");
    if (word.empty() || word == " ") return;
    std::vector<std::string> all = lines();
    if (head)
        addHeadToLines(all, word);
    else
        addTailToLines(all, word);
    setLines(all);
}

void TFormFileList::AddHead() {
    addWord("Add Head", "Head word", true);
}

void TFormFileList::AddTail() {
    addWord("Add Tail", "Tail word", false);
}

void TFormFileList::DelHead() {
    applyToLines(deleteHeadOfLines);
}

void TFormFileList::Num() {
    applyToLines(numberLines);
}

void TFormFileList::Sort() {
    applyToLines(sortLines);
}

void TFormFileList::LinkHTML() {
    applyToLines(linkLinesAsHTML);
}

void TFormFileList::ClearTemplate() {
    Memo2->clear();
}

void TFormFileList::MakeNodes() {
    const std::vector<std::string> list = lines();
    if (!host_ || trimText(linesText(list)).empty() || host_->nowDoing()) return;
    const bool intoCurrent = RadioGroup_Holder->itemIndex() == 1;
    // Nodes go into the current holder only as far as the guards allow.
    if (intoCurrent && (host_->checkUIReadOnly() || host_->checkHolderReadOnly())) return;
    host_->UI2Model();
    MemoHolder* holder = intoCurrent ? host_->getCurHolder() : host_->newHolder();
    if (!holder) return;
    host_->startDoing_("Make Nodes");
    FileListNodeOptions options;
    options.nameFromFileName = CheckBox_Name->isChecked();
    options.setFilename = CheckBox_Filename->isChecked();
    options.setLink = CheckBox_Link->isChecked();
    options.templateLines = templateLines();
    FileListNodeRun run;
    if (intoCurrent) run.pattern = holder->byName_("*");
    run.breakRequested = [this] { return host_->isBreakRequested(); };
    run.reorder = [this](MemoHolder& sorted) { host_->holderNodesChanged(sorted); };
    const FileListNodesMade made = makeNodesFromLines(*holder, list, options, run);
    MemoNode* last = made.last;
    // A new holder that got no node still shows with one.
    if (!last && !intoCurrent) last = holder->makeNode_();
    if (MemoFile* file = host_->memoFile()) file->changed = true;
    if (last) host_->showNode(*holder, *last);
    host_->doneDoing_((made.broken ? "Break: count=" : "Done: count=") +
                      std::to_string(made.count));
}

}  // namespace zel
