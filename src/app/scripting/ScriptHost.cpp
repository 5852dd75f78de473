#include "app/scripting/ScriptHost.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <limits>

#include "app/commands/CommandKit.h"
#include "app/commands/CommandNames.h"
#include "app/commands/CommandTable.h"
#include "app/window/NodeEditor.h"
#include "app/window/TFormMainScript.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "platform/Environment.h"
#include "platform/Opener.h"
#include "script/ScriptMessages.h"
#include "script/ScriptServices.h"
#include "text/TextHelpers.h"
#include "views/MemoHolderUI.h"

namespace zel {

namespace {

namespace msg = script_messages;

bool fits32(std::int64_t v) {
    return v >= std::numeric_limits<std::int32_t>::min() &&
           v <= std::numeric_limits<std::int32_t>::max();
}

void markChanged(MemoNode& node) {
    auto* holder = dynamic_cast<MemoHolder*>(node.enclosingRecord_());
    if (!holder) return;
    holder->changed = true;
    if (auto* shown = dynamic_cast<MemoHolderUI*>(holder)) shown->nodeChanged_(&node);
}

}  // namespace

// The window as a script run sees it: events are let through at block
// entries and in waits, questions go to the window's Prompter.
class ScriptHost::Services : public ScriptServices {
  public:
    explicit Services(ScriptHost& host) : host_(host) {}
    void pump() override { host_.pumpEvents(); }
    void wait(int milliseconds) override {
        QEventLoop loop;
        QTimer::singleShot(std::max(milliseconds, 0), &loop, &QEventLoop::quit);
        loop.exec();
        host_.pumpEvents();
    }
    std::string inputBox(const std::string& caption, const std::string& prompt,
                         const std::string& initial) override {
        host_.flushLog();
        return host_.window_.prompter().inputBox(caption, prompt, initial);
    }
    // The classic flags and button codes over the window's message boxes,
    // titled with the caption.
    int messageBox(const std::string& text, const std::string& caption, int flags) override {
        host_.flushLog();
        unsigned buttons = ButtonOk;
        switch (flags & 0x0F) {
            case 1:
                buttons = ButtonOk | ButtonCancel;
                break;
            case 2:
                buttons = ButtonAbort | ButtonRetry | ButtonIgnore;
                break;
            case 3:
                buttons = ButtonYes | ButtonNo | ButtonCancel;
                break;
            case 4:
                buttons = ButtonYes | ButtonNo;
                break;
            case 5:
                buttons = ButtonRetry | ButtonCancel;
                break;
            default:
                break;
        }
        Tone tone = Tone::Information;
        switch (flags & 0xF0) {
            case 16:
                tone = Tone::Error;
                break;
            case 32:
                tone = Tone::Confirmation;
                break;
            case 48:
                tone = Tone::Warning;
                break;
            default:
                break;
        }
        switch (host_.window_.prompter().askTitled(tone, caption, text, buttons)) {
            case Answer::Ok:
                return 1;
            case Answer::Cancel:
                return 2;
            case Answer::Abort:
                return 3;
            case Answer::Retry:
                return 4;
            case Answer::Ignore:
                return 5;
            case Answer::Yes:
            case Answer::YesToAll:
                return 6;
            case Answer::No:
                return 7;
        }
        return 2;
    }

  private:
    ScriptHost& host_;
};

ScriptHost::ScriptHost(TFormMainScript& window)
    : window_(window),
      services_(std::make_unique<Services>(*this)),
      pp1_(std::make_unique<TPoorPascal>()) {
    pp1_->setName("PP1");
    pp1_->setDeclarePrototype(hostPrototypeLines());
    pp1_->setDefine({""});
    serveWindowRoutines();
    attach(*pp1_);
    window_.installEventFilter(this);
}

ScriptHost::~ScriptHost() = default;

void ScriptHost::attach(TPoorPascal& pp) {
    pp.setServices(services_.get());
    wire(pp);
    // Index 1 is the window's font colour (0x00BBGGRR); 2 is accepted as is.
    pp.events.IntObjParam = [this](const std::string&, std::int32_t index, std::uint8_t mode,
                                   std::int32_t& err, std::int64_t& value) {
        if (index == 2) return;
        if (index != 1) {
            err = kUnknownRoutine;
            return;
        }
        QPalette palette = window_.palette();
        if (mode == 0) {
            const QColor c = palette.color(QPalette::WindowText);
            value = c.red() | (c.green() << 8) | (c.blue() << 16);
        } else {
            palette.setColor(QPalette::WindowText, QColor(static_cast<int>(value & 0xFF),
                                                          static_cast<int>((value >> 8) & 0xFF),
                                                          static_cast<int>((value >> 16) & 0xFF)));
            window_.setPalette(palette);
        }
    };
}

bool ScriptHost::ignoresCalls(const TPoorPascal& pp) const {
    return pp.IsAborted();
}

TPPARunResult ScriptHost::runInPP1(std::string_view script) {
    if (pp1_->IsRunning()) {
        TPPARunResult refused;
        refused.status = TPPARunResult::Refused;
        refused.message = std::string(msg::kBusy);
        return refused;
    }
    pp1_->setSourceText(script);
    beginRun();
    TPPARunResult result = pp1_->Execute();
    if (!result.ok()) log(result.message);
    endRun();
    return result;
}

ScriptHost::Runner* ScriptHost::idleRunner() {
    for (auto& runner : pool_)
        if (!runner->pp->IsRunning()) return runner.get();
    auto runner = std::make_unique<Runner>();
    char name[16];
    std::snprintf(name, sizeof name, "PPA%02d", static_cast<int>(pool_.size()) % 100);
    runner->name = name;
    runner->pp = std::make_unique<TPoorPascal>();
    runner->pp->setDeclarePrototype(pp1_->DeclarePrototype());
    runner->pp->setDefine(pp1_->Define());
    runner->pp->setName(runner->name);
    attach(*runner->pp);
    runner->pp->AddStrObject("PPAID", runner->name, kPPAIDIndex, true);
    pool_.push_back(std::move(runner));
    return pool_.back().get();
}

ScriptHost::Runner* ScriptHost::runnerNamed(std::string_view name) {
    for (auto& runner : pool_)
        if (runner->name == name) return runner.get();
    return pool_.empty() ? nullptr : pool_.front().get();
}

int ScriptHost::runNode(MemoNode& node, std::vector<std::string>& lines) {
    Runner* runner = idleRunner();
    runner->node = NodeRef(&node);
    runner->buffer.clear();
    runner->pp->setSource(node.memo);
    beginRun();
    TPPARunResult result = runner->pp->Execute();
    if (!result.ok()) log(result.message);
    endRun();
    lines.insert(lines.end(), std::make_move_iterator(runner->buffer.begin()),
                 std::make_move_iterator(runner->buffer.end()));
    runner->buffer.clear();
    runner->node = NodeRef();
    if (result.ok()) return 0;
    window_.prompter().error(result.message);
    return kFailed;
}

bool ScriptHost::isAnyRunning() const {
    if (pp1_->IsRunning()) return true;
    for (const auto& runner : pool_)
        if (runner->pp->IsRunning()) return true;
    return false;
}

void ScriptHost::abortAll() {
    pp1_->Abort();
    for (auto& runner : pool_) runner->pp->Abort();
}

std::vector<std::string> ScriptHost::runnerNames() const {
    std::vector<std::string> names;
    for (const auto& runner : pool_) names.push_back(runner->name);
    return names;
}

void ScriptHost::log(std::string line) {
    pendingLog_.push_back(std::move(line));
}

void ScriptHost::printLine(const std::string& line) {
    log(line);
}

// PrintBuf names no runner and so goes to the first, as a name that is not
// in the pool does.
void ScriptHost::printToRunner(const std::string& runner, const std::string& line) {
    if (Runner* named = runnerNamed(runner)) {
        named->buffer.push_back(line);
    } else {
        log(line);
    }
}

// Lines go into the log window in one append per pump: a script printing
// 100,000 lines does not redraw the log 100,000 times.
void ScriptHost::flushLog() {
    if (pendingLog_.empty()) return;
    std::string text;
    for (std::size_t i = 0; i < pendingLog_.size(); ++i) {
        if (i > 0) text += '\n';
        text += pendingLog_[i];
    }
    pendingLog_.clear();
    window_.addLog_(text);
}

void ScriptHost::beginRun() {
    if (runDepth_++ > 0) return;
    closeWanted_ = false;
    breakAtStart_ = window_.isBreakFlagSet();
    memoFileAtStart_ = window_.aFile->getMemoFilePath_();
}

void ScriptHost::endRun() {
    if (--runDepth_ > 0) return;
    flushLog();
    window_.catchUpNodeEditor();
    if (afterPump) afterPump();
    if (closeWanted_) {
        closeWanted_ = false;
        QTimer::singleShot(0, &window_, [window = &window_] { window->close(); });
    }
}

void ScriptHost::pumpEvents() {
    flushLog();
    QCoreApplication::processEvents();
    // Break pressed, or another memo file opened, during the run stops it.
    if (!window_.isBreakFlagSet()) breakAtStart_ = false;
    if ((window_.isBreakFlagSet() && !breakAtStart_) ||
        window_.aFile->getMemoFilePath_() != memoFileAtStart_)
        abortAll();
    if (afterPump) afterPump();
}

bool ScriptHost::eventFilter(QObject* watched, QEvent* event) {
    // Closing during a run stops the run first; the close (with its
    // questions) comes once the run has unwound.
    if (watched == &window_ && event->type() == QEvent::Close && isAnyRunning()) {
        abortAll();
        closeWanted_ = true;
        event->ignore();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

// ------------------------------------------------------------------ routines

bool ScriptHost::isCurrentShown(const MemoNode* node) const {
    return node && node == window_.getCurMemoNode() && window_.nodeEditor();
}

bool ScriptHost::refusesWrite(const MemoNode* node) {
    return !node || window_.checkUIReadOnly() || node->isReadOnlyEffective_();
}

MemoNode* ScriptHost::addressed(const std::string& holderName, const std::string& nodeName) {
    MemoHolder* holder =
        holderName.empty() ? window_.getCurHolder() : window_.aFile->holderByName_(holderName);
    if (!holder) return nullptr;
    MemoNode* node = holder->byName_(nodeName);
    // The current node is read as the editor shows it.
    if (isCurrentShown(node)) window_.UI2Model();
    return node;
}

int ScriptHost::renameNew(int made, MemoNode* before, const std::string& name) {
    MemoNode* node = window_.getCurMemoNode();
    if (made < 0 || !node || node == before) return made;
    node->putName_as_(name);
    if (NodeEditor* editor = window_.nodeEditor()) editor->showName(node->getName_());
    markChanged(*node);
    return made;
}

int ScriptHost::appendTo(const std::string& holderName, const std::string& nodeName,
                         const std::string& line, bool comment) {
    MemoNode* node = addressed(holderName, nodeName);
    if (!node) return kFailed;
    if (refusesWrite(node)) return kFailed;
    if (isCurrentShown(node)) {
        NodeEditor* editor = window_.nodeEditor();
        if (comment) {
            editor->appendCommentLines({line});
        } else {
            editor->appendMemoLine(line);
        }
        window_.UI2Model();
    } else {
        if (comment)
            node->comment.push_back(line);
        else
            node->memo.push_back(line);
    }
    markChanged(*node);
    return static_cast<int>(comment ? node->comment.size() : node->memo.size());
}

int ScriptHost::putFieldOf(const std::string& holderName, const std::string& nodeName,
                           const std::string& key, const std::string& value) {
    MemoNode* node = addressed(holderName, nodeName);
    if (!node) return kFailed;
    if (refusesWrite(node)) return kFailed;
    int position = 0;
    if (isCurrentShown(node)) {
        window_.nodeEditor()->setFieldsBoxValue(key, value);
        window_.UI2Model();
        position = node->fields.indexOf(key);
    } else {
        position = node->putField_(key, value);
    }
    markChanged(*node);
    return position;
}

int ScriptHost::changeCurrentTo(MemoNode* node) {
    MemoHolder* holder = window_.getCurHolder();
    if (!node || !holder) return kFailed;
    window_.setCurMemoNode_(node);
    return holder->indexOf_(node);
}

int ScriptHost::shellExecute(const std::string& command) {
    const std::string target = trimText(command);
    if (target.empty()) {
        window_.messageDoing_("Warrning: Command is empty in UIShellExecute_.");
        return kFailed;
    }
    std::string folder(folderOf(window_.aFile->getMemoFilePath_()));
    if (folder.empty()) folder = currentDirectory();
    const bool opened = openOnDesktop(target, folder);
    window_.messageDoing_(command);
    return opened ? 0 : kFailed;
}

template <class Handler>
void ScriptHost::serveWindow(std::string_view name, Handler handler) {
    serve(name, [this, handler = std::move(handler)](HostCall& call) {
        flushLog();
        return handler(call);
    });
}

void ScriptHost::serveCommand(std::string_view name, std::string_view command) {
    std::string run(command.empty() ? name : command);
    serveWindow(name, [this, run = std::move(run)](HostCall&) { return runCommand(window_, run); });
}

// The log routines, Sqrt and the string routines are the base host's.
void ScriptHost::serveWindowRoutines() {
    for (std::string_view same :
         {commands::UIHardcopy, commands::UIOpenCurrentDir, commands::UIOpenExeFileDir,
          commands::UINewNode, commands::UINewChild, commands::UIChangeCurrentNodeNext,
          commands::UIChangeCurrentNodePre, commands::UIDeleteMemoNode,
          commands::UIChangeCheckListBox, commands::UIChangeTreeView, commands::UIChangeListView,
          commands::UIVersion2SEL, commands::UINodesList2SEL})
        serveCommand(same);
    // The list commands whose names differ in letter case from the routines'.
    serveCommand("UIPPADefine2SEL", commands::UIFunctionList2Sel);
    serveCommand("UIFileMXA2SEL", commands::UIFileMXA2Sel);
    serveCommand("UIFieldsList2SEL", commands::UIFieldsList2Sel);
    serveCommand("UIHolderList2SEL", commands::UIHolderList2Sel);
    serveCommand("UIMarkList2SEL", commands::UIMarkList2Sel);

    serveWindow("UIShellExecute_", [this](HostCall& c) {
        if (isCommandBuilt(commands::UIShellExecute_))
            return runCommand(window_, commands::UIShellExecute_, c.text(0));
        return shellExecute(c.text(0));
    });
    serveWindow("UIWidth_Height_", [this](HostCall& c) { return resizeOrMove(c, false); });
    serveWindow("UILeft_Top_", [this](HostCall& c) { return resizeOrMove(c, true); });
    serveWindow("UIFontSize_", [this](HostCall& c) { return setFontSize(c); });
    serveWindow("UINewNode_", [this](HostCall& c) {
        MemoNode* before = window_.getCurMemoNode();
        return renameNew(runCommand(window_, commands::UINewNode), before, c.text(0));
    });
    serveWindow("UINewChild_", [this](HostCall& c) {
        MemoNode* before = window_.getCurMemoNode();
        return renameNew(runCommand(window_, commands::UINewChild), before, c.text(0));
    });
    serveWindow("UIAddMemo_", [this](HostCall& c) { return appendToCurrent(c.text(0), false); });
    serveWindow("UIAddComment_", [this](HostCall& c) { return appendToCurrent(c.text(0), true); });
    serveWindow("UI2Model", [this](HostCall&) { return window_.UI2Model(); });
    serveWindow("UIChangeCurrentNodeFirst", [this](HostCall&) {
        MemoHolder* holder = window_.getCurHolder();
        return changeCurrentTo(holder ? holder->first_() : nullptr);
    });
    serveWindow("UIChangeCurrentNodeLast", [this](HostCall&) {
        MemoHolder* holder = window_.getCurHolder();
        return changeCurrentTo(holder ? holder->last_() : nullptr);
    });
    serveWindow("UIChangeCurrentNodeName_", [this](HostCall& c) {
        MemoHolder* holder = window_.getCurHolder();
        return changeCurrentTo(holder ? holder->byName_(c.text(0)) : nullptr);
    });
    serveWindow("UIPutName_", [this](HostCall& c) { return putName(c.text(0)); });
    serveWindow("UIPutField__", [this](HostCall& c) {
        MemoNode* current = window_.getCurMemoNode();
        if (!current || !window_.nodeEditor()) return int{kFailed};
        return putFieldOf("", current->getName_(), c.text(0), wrapQuotes(c.text(1)));
    });
    serveWindow("UIMNMemoCount2", [this](HostCall& c) { return lineCount(c, NodeList::Memo); });
    serveWindow("UIMNCommentCount2",
                [this](HostCall& c) { return lineCount(c, NodeList::Comment); });
    serveWindow("UIMNFieldsCount2", [this](HostCall& c) { return lineCount(c, NodeList::Fields); });
    serveWindow("UIMNAddMemo3",
                [this](HostCall& c) { return appendTo(c.text(0), c.text(1), c.text(2), false); });
    serveWindow("UIMNAddComment3",
                [this](HostCall& c) { return appendTo(c.text(0), c.text(1), c.text(2), true); });
    serveWindow("UIMNPutField4", [this](HostCall& c) {
        return putFieldOf(c.text(0), c.text(1), c.text(2), c.text(3));
    });

    serveWindow("UIGetName", [this](HostCall&) {
        MemoNode* current = shownCurrent();
        return current ? current->getName_() : std::string();
    });
    serveWindow("UIGetField_", [this](HostCall& c) {
        MemoNode* current = shownCurrent();
        return current ? stripQuotes(current->getField_(c.text(0))) : std::string();
    });
    serveWindow("UIRemoveField_", [this](HostCall& c) { return removeField(c.text(0)); });
    serveWindow("UIGetNameHolder", [this](HostCall&) {
        MemoHolder* holder = window_.getCurHolder();
        return holder ? holder->getName_() : std::string();
    });
    serveWindow("UIMNMemoStrings3", [this](HostCall& c) { return lineOf(c, NodeList::Memo); });
    serveWindow("UIMNCommentStrings3",
                [this](HostCall& c) { return lineOf(c, NodeList::Comment); });
    serveWindow("UIMNFieldsStrings3", [this](HostCall& c) { return lineOf(c, NodeList::Fields); });
    serveWindow("UIMNGetField3", [this](HostCall& c) {
        MemoNode* node = addressed(c.text(0), c.text(1));
        return node ? node->getField_(c.text(2)) : std::string();
    });
}

// Values beyond 32 bits end the run; the window never gets smaller than it
// can be used at.
int ScriptHost::resizeOrMove(HostCall& call, bool move) {
    if (!fits32(call.number(0)) || !fits32(call.number(1))) {
        call.err = kRangeError;
        return 0;
    }
    const int a = static_cast<int>(call.number(0));
    const int b = static_cast<int>(call.number(1));
    if (move) {
        window_.move(a, b);
    } else {
        const QSize least = window_.minimumSizeHint();
        window_.resize(std::max(a, std::max(least.width(), 100)),
                       std::max(b, std::max(least.height(), 100)));
    }
    return 0;
}

std::int64_t ScriptHost::setFontSize(HostCall& call) {
    if (!fits32(call.number(0))) {
        call.err = kRangeError;
        return 0;
    }
    QFont font = window_.font();
    font.setPointSize(std::clamp(static_cast<int>(call.number(0)), 1, 200));
    window_.setFont(font);
    return call.number(0);
}

int ScriptHost::appendToCurrent(const std::string& line, bool comment) {
    MemoNode* current = window_.getCurMemoNode();
    if (!current || !window_.nodeEditor()) return kFailed;
    return appendTo("", current->getName_(), line, comment) < 0 ? -1 : 0;
}

int ScriptHost::putName(const std::string& name) {
    MemoNode* current = window_.getCurMemoNode();
    if (!current || refusesWrite(current)) return kFailed;
    window_.UI2Model();
    current->putName_as_(name);
    if (NodeEditor* editor = window_.nodeEditor()) editor->showName(current->getName_());
    markChanged(*current);
    return 0;
}

MemoNode* ScriptHost::shownCurrent() {
    MemoNode* current = window_.getCurMemoNode();
    if (isCurrentShown(current)) window_.UI2Model();
    return current;
}

std::string ScriptHost::removeField(const std::string& key) {
    MemoNode* current = shownCurrent();
    if (refusesWrite(current)) return {};
    std::string line = current->removeField_(key);
    if (line.empty()) return line;
    markChanged(*current);
    if (NodeEditor* editor = window_.nodeEditor(); editor && isCurrentShown(current))
        editor->showFields(*current);
    return line;
}

std::int64_t ScriptHost::lineCount(const HostCall& call, NodeList list) {
    MemoNode* node = addressed(call.text(0), call.text(1));
    if (!node) return kFailed;
    switch (list) {
        case NodeList::Memo:
            return static_cast<std::int64_t>(node->memo.size());
        case NodeList::Comment:
            return static_cast<std::int64_t>(node->comment.size());
        case NodeList::Fields:
            break;
    }
    return static_cast<std::int64_t>(node->fields.size());
}

std::string ScriptHost::lineOf(const HostCall& call, NodeList list) {
    MemoNode* node = addressed(call.text(0), call.text(1));
    if (!node || call.number(2) < 0) return {};
    const auto at = static_cast<std::size_t>(call.number(2));
    switch (list) {
        case NodeList::Memo:
            return at < node->memo.size() ? std::string(node->memo[at]) : "";
        case NodeList::Comment:
            return at < node->comment.size() ? node->comment[at] : "";
        case NodeList::Fields:
            break;
    }
    return at < node->fields.size() ? node->fields[at] : "";
}

}  // namespace zel
