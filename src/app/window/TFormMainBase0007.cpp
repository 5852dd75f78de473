#include "app/window/TFormMainBase0007.h"

#include <QCoreApplication>
#include <cstdlib>
#include <ctime>

#include "app/window/DiskFollower.h"
#include "app/window/NodeEditor.h"
#include "app/window/Stamps.h"
#include "model/HolderFile.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "object/Report.h"
#include "platform/Environment.h"
#include "text/TextHelpers.h"

namespace zel {

namespace {

// Pending window events are let through at most this often while a loop polls.
constexpr qint64 kEventsIntervalMs = 50;
// How often the window looks whether an auto save is due.
constexpr int kIdleCheckMs = 1000;

}  // namespace

TFormMainBase0007::TFormMainBase0007(QWidget* parent) : QMainWindow(parent) {
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    userName = zel::userName();
    exePath = executablePath();
    lastAutoSaveTime = QDateTime::currentDateTime();
    agent = std::make_unique<AgentAPLZEL>(this);
    aFile = std::make_unique<MemoFileUI>(this);
    prompter_ = std::make_unique<QtPrompter>(this);
    endApplication = [] { QCoreApplication::exit(0); };
    previousReporter_ = setReporter([this](const std::string& text) { prompter_->message(text); });
    previousLogSink_ = setLogSink([this](std::string_view line) { addLog_(line); });
    previousShellNotice_ =
        setShellNotice([this](const std::string& text) { prompter_->message(text); });
    connect(&idleTimer_, &QTimer::timeout, this,
            [this] { autoSaveOnIdle(QDateTime::currentDateTime()); });
    idleTimer_.start(kIdleCheckMs);
    diskFollower_ = std::make_unique<DiskFollower>(*this);
}

TFormMainBase0007::~TFormMainBase0007() {
    setReporter(std::move(previousReporter_));
    setLogSink(std::move(previousLogSink_));
    setShellNotice(std::move(previousShellNotice_));
}

bool TFormMainBase0007::isBreakRequested() const {
    if (!eventsClock_.isValid() || eventsClock_.elapsed() >= kEventsIntervalMs) {
        QCoreApplication::processEvents();
        eventsClock_.restart();
    }
    return break_;
}

void TFormMainBase0007::setPrompter(std::unique_ptr<Prompter> prompter) {
    prompter_ = std::move(prompter);
}

void TFormMainBase0007::mouseCursor(Qt::CursorShape shape) {
    setCursor(shape);
}

void TFormMainBase0007::startDoing_(std::string_view name) {
    doingName_ = name;
    messageDoing_("*Doing* " + doingName_);
    break_ = false;
    doing_ = true;
    // The first poll of a new operation always lets pending events through.
    eventsClock_.invalidate();
    mouseCursor(Qt::WaitCursor);
}

void TFormMainBase0007::doneDoing_(std::string_view text) {
    std::string final = trimText(text);
    if (final.empty()) final = (break_ ? "Break: " : "Done: ") + doingName_;
    break_ = false;
    doing_ = false;
    messageDoing_(final);
    mouseCursor(Qt::ArrowCursor);
}

bool TFormMainBase0007::nowDoing() {
    if (doing_) messageDoing_("Now Doing " + longStamp());
    return doing_;
}

int TFormMainBase0007::refuse(Guards guards, RefusalCodes codes) {
    if ((guards & Busy) && nowDoing()) return codes.busy;
    if ((guards & UIReadOnly) && checkUIReadOnly()) return codes.uiReadOnly;
    if ((guards & HolderReadOnly) && checkHolderReadOnly()) return codes.holderReadOnly;
    return 0;
}

void TFormMainBase0007::messageDoing_(std::string_view text) {
    statusMessage_ = text;
    showMessageText(text);
    repaint();
}

void TFormMainBase0007::showMessageText(std::string_view) {}

int TFormMainBase0007::Break() {
    break_ = true;
    doing_ = false;
    messageDoing_("Break " + compactStamp());
    return 0;
}

int TFormMainBase0007::Done() {
    doneDoing();
    return 0;
}

int TFormMainBase0007::shouldNotExecute_(std::string_view name) {
    prompter_->message("Should not execute. " + std::string(name));
    return kShouldNotExecute;
}

int TFormMainBase0007::notImplemented_(std::string_view name) {
    prompter_->message("Still not implemented. " + std::string(name));
    return kCommandNotBuilt;
}

int TFormMainBase0007::addLogDT_(std::string_view text) {
    return addLog_(compactStamp() + " :" + std::string(text));
}

int TFormMainBase0007::logList_(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) addLog_(line);
    return static_cast<int>(lines.size());
}

MemoHolder* TFormMainBase0007::getCurHolder() const {
    MemoNode* node = getCurMemoNode();
    return node ? dynamic_cast<MemoHolder*>(node->owner) : nullptr;
}

void TFormMainBase0007::setCurMemoNode_(MemoNode* node) {
    if (node == getCurMemoNode()) return;
    UI2Model();
    aFile->currentNode = node;
    if (MemoHolder* holder = getCurHolder()) holder->setCurrent_(node);
    Model2UI();
    refreshHolderList();
}

MemoHolder* TFormMainBase0007::changeHolder_(MemoHolder* holder) {
    MemoHolder* previous = getCurHolder();
    if (holder == previous) return holder;
    if (!holder || aFile->indexOfHolder_(holder) < 0) return nullptr;
    UI2Model();
    if (previous) {
        hideHolderView(previous);
        previous->setCurrent_(getCurMemoNode());
    }
    _changeCurrentHolder_(holder);
    aFile->changed = true;
    return holder;
}

void TFormMainBase0007::followDisk() {
    if (diskFollower_) diskFollower_->follow();
}

int TFormMainBase0007::UI2Model() {
    return kFailed;
}

void TFormMainBase0007::Model2UI() {
    refreshReadOnlyIndicator();
}

bool TFormMainBase0007::checkUIReadOnly() {
    if (!uiReadOnlySource()) return false;
    messageDoing_("UI ReadOnly");
    return true;
}

bool TFormMainBase0007::checkHolderReadOnly() {
    MemoHolder* holder = getCurHolder();
    if (!holder) return true;
    if (!holder->isReadOnlyEffective_()) return false;
    messageDoing_("This MemoHolder is Read Only. (" + holder->getName_() + ")");
    return true;
}

int TFormMainBase0007::setCheckListBox_(MemoHolder*) {
    messageDoing_("Abstract Method: TFormMainBase0007.setCheckListBox_");
    return kFailed;
}

void TFormMainBase0007::showHolderView(MemoHolder* holder) {
    setCheckListBox_(holder);
}
void TFormMainBase0007::hideHolderView(MemoHolder*) {}
void TFormMainBase0007::refreshHolderList() {}
void TFormMainBase0007::refreshReadOnlyIndicator() {}
void TFormMainBase0007::showHolderCount() {}
void TFormMainBase0007::setCaption_() {}

std::string TFormMainBase0007::exeDirectory() const {
    std::size_t slash = exePath.rfind('/');
    return slash == std::string::npos ? std::string() : exePath.substr(0, slash + 1);
}

std::string TFormMainBase0007::getTempDirectory() const {
    if (tempDirectory_.empty()) return exeDirectory();
    // File names are joined straight onto this folder.
    return tempDirectory_.ends_with('/') ? tempDirectory_ : tempDirectory_ + '/';
}

void TFormMainBase0007::setTempDirectory(std::string_view directory) {
    tempDirectory_ = trimText(directory);
}

std::string TFormMainBase0007::getDateFormat() const {
    MemoHolder* holder = getCurHolder();
    return holder ? holder->getFormatDate_() : "\"yyyymmdd\"";
}

std::string TFormMainBase0007::getNumberFormat() const {
    MemoHolder* holder = getCurHolder();
    return holder ? holder->getFormatNumber_() : "\"%.5d\"";
}

}  // namespace zel
