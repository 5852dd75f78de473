#include "app/ScriptHost.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <cmath>
#include <limits>

#include "app/CommandTable.h"
#include "app/NodeEditor.h"
#include "app/Stamps.h"
#include "app/TFormMainScript.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "platform/Environment.h"
#include "platform/Opener.h"
#include "script/HostPrototypes.h"
#include "script/ScriptMessages.h"
#include "script/ScriptServices.h"
#include "text/TextHelpers.h"
#include "views/MemoHolderUI.h"

namespace zel {

namespace {

namespace hi = host_index;
namespace msg = script_messages;

// ErrorProc's codes: -1 for a routine the host does not know, -2 for an
// integer argument that does not fit in 32 bits.
constexpr std::int32_t kUnknownRoutine = -1;
constexpr std::int32_t kRangeError = -2;

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

// The command of a host routine that inserts into the node editor.
const char* listCommandOf(std::int32_t index) {
    switch (index) {
        case hi::UIPPADefine2SEL:
            return "UIFunctionList2Sel";
        case hi::UIVersion2SEL:
            return "UIVersion2SEL";
        case hi::UIFileMXA2SEL:
            return "UIFileMXA2Sel";
        case hi::UIFieldsList2SEL:
            return "UIFieldsList2Sel";
        case hi::UIHolderList2SEL:
            return "UIHolderList2Sel";
        case hi::UIMarkList2SEL:
            return "UIMarkList2Sel";
        case hi::UINodesList2SEL:
            return "UINodesList2SEL";
        default:
            return nullptr;
    }
}

// The host routines that are commands of the window under the same name.
const char* sameNamedCommand(std::int32_t index) {
    switch (index) {
        case hi::UIHardcopy:
            return "UIHardcopy";
        case hi::UIOpenCurrentDir:
            return "UIOpenCurrentDir";
        case hi::UIOpenExeFileDir:
            return "UIOpenExeFileDir";
        case hi::UINewNode:
            return "UINewNode";
        case hi::UINewChild:
            return "UINewChild";
        case hi::UIChangeCurrentNodeNext:
            return "UIChangeCurrentNodeNext";
        case hi::UIChangeCurrentNodePre:
            return "UIChangeCurrentNodePre";
        case hi::UIDeleteMemoNode:
            return "UIDeleteMemoNode";
        case hi::UIChangeCheckListBox:
            return "UIChangeCheckListBox";
        case hi::UIChangeTreeView:
            return "UIChangeTreeView";
        case hi::UIChangeListView:
            return "UIChangeListView";
        default:
            return nullptr;
    }
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
    wire(*pp1_);
    window_.installEventFilter(this);
}

ScriptHost::~ScriptHost() = default;

void ScriptHost::wire(TPoorPascal& pp) {
    TPoorPascal* self = &pp;
    pp.setServices(services_.get());
    auto& ev = pp.events;
    // An aborted run (Break, closing, another memo file) touches nothing more.
    ev.ProcParam = [this, self](const std::string&, std::int32_t index, const TArgumentList& args,
                                std::int32_t& err) {
        if (!self->IsAborted()) serveProc(*self, index, args, err);
    };
    ev.IntFuncParam = [this, self](const std::string&, std::int32_t index,
                                   const TArgumentList& args, std::int32_t& err,
                                   std::int64_t& result) {
        if (!self->IsAborted()) result = serveInt(*self, index, args, err);
    };
    ev.RealFuncParam = [](const std::string&, std::int32_t index, const TArgumentList& args,
                          std::int32_t&, double& result) {
        if (index == hi::Sqrt) result = std::sqrt(args[0].realValue);
    };
    ev.StrFuncParam = [this, self](const std::string&, std::int32_t index,
                                   const TArgumentList& args, std::int32_t& err,
                                   std::string& result) {
        if (!self->IsAborted()) result = serveStr(index, args, err);
    };
    ev.ErrorProc = [](std::int32_t code, std::string& message) {
        if (code == kUnknownRoutine) message = std::string(msg::kHostRoutineFailed);
        if (code == kRangeError) message = std::string(msg::kRangeCheck);
    };
    // Index 1 is the window's font colour (0x00BBGGRR); 2 is accepted as is.
    ev.IntObjParam = [this](const std::string&, std::int32_t index, std::uint8_t mode,
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
    // Host-bound strings keep their stored values.
    ev.StrObjParam = [](const std::string&, std::int32_t, std::uint8_t, std::int32_t&,
                        std::string&) {};
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
    wire(*runner->pp);
    runner->pp->AddStrObject("PPAID", runner->name, hi::PPAID, true);
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
    return -1;
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

void ScriptHost::serveProc(TPoorPascal&, std::int32_t index, const TArgumentList& args,
                           std::int32_t& err) {
    switch (index) {
        case hi::Print:
        case hi::PrintLog:
            log(args[0].strValue);
            return;
        case hi::PrintBuf:
            if (pool_.empty()) {
                log(args[0].strValue);
            } else {
                pool_.front()->buffer.push_back(args[0].strValue);
            }
            return;
        case hi::PrintBuf2:
            if (Runner* runner = runnerNamed(args[0].strValue)) {
                runner->buffer.push_back(args[1].strValue);
            } else {
                log(args[1].strValue);
            }
            return;
        default:
            err = kUnknownRoutine;
    }
}

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
    if (!node) return -1;
    if (refusesWrite(node)) return -1;
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
    if (!node) return -1;
    if (refusesWrite(node)) return -1;
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
    if (!node || !holder) return -1;
    window_.setCurMemoNode_(node);
    return holder->indexOf_(node);
}

int ScriptHost::shellExecute(const std::string& command) {
    const std::string target = trimText(command);
    if (target.empty()) {
        window_.messageDoing_("Warrning: Command is empty in UIShellExecute_.");
        return -1;
    }
    std::string folder(folderOf(window_.aFile->getMemoFilePath_()));
    if (folder.empty()) folder = currentDirectory();
    const bool opened = openOnDesktop(target, folder);
    window_.messageDoing_(command);
    return opened ? 0 : -1;
}

std::int64_t ScriptHost::serveInt(TPoorPascal&, std::int32_t index, const TArgumentList& args,
                                  std::int32_t& err) {
    auto text = [&](std::size_t i) -> const std::string& { return args[i].strValue; };
    if (index != hi::UIAddLog_ && index != hi::UIAddLogDT_) flushLog();
    if (const char* name = sameNamedCommand(index)) return runCommand(window_, name);
    if (const char* name = listCommandOf(index)) return runCommand(window_, name);
    MemoHolder* holder = window_.getCurHolder();
    MemoNode* current = window_.getCurMemoNode();
    NodeEditor* editor = window_.nodeEditor();
    switch (index) {
        case hi::UIShellExecute_:
            if (isCommandBuilt("UIShellExecute_"))
                return runCommand(window_, "UIShellExecute_", text(0));
            return shellExecute(text(0));
        case hi::UIWidth_Height_:
        case hi::UILeft_Top_: {
            if (!fits32(args[0].intValue) || !fits32(args[1].intValue)) {
                err = kRangeError;
                return 0;
            }
            const int a = static_cast<int>(args[0].intValue);
            const int b = static_cast<int>(args[1].intValue);
            if (index == hi::UILeft_Top_) {
                window_.move(a, b);
            } else {
                // Never smaller than the window can be used at.
                const QSize least = window_.minimumSizeHint();
                window_.resize(std::max(a, std::max(least.width(), 100)),
                               std::max(b, std::max(least.height(), 100)));
            }
            return 0;
        }
        case hi::UIFontSize_: {
            if (!fits32(args[0].intValue)) {
                err = kRangeError;
                return 0;
            }
            QFont font = window_.font();
            font.setPointSize(std::clamp(static_cast<int>(args[0].intValue), 1, 200));
            window_.setFont(font);
            return args[0].intValue;
        }
        case hi::UIAddLog_:
            log(text(0));
            return 0;
        case hi::UIAddLogDT_:
            log(compactStamp() + " :" + text(0));
            return 0;
        case hi::UINewNode_: {
            const int made = runCommand(window_, "UINewNode");
            return renameNew(made, current, text(0));
        }
        case hi::UINewChild_: {
            const int made = runCommand(window_, "UINewChild");
            return renameNew(made, current, text(0));
        }
        case hi::UIAddMemo_:
        case hi::UIAddComment_:
            if (!current || !editor) return -1;
            return appendTo("", current->getName_(), text(0), index == hi::UIAddComment_) < 0 ? -1
                                                                                              : 0;
        case hi::UI2Model:
            return window_.UI2Model();
        case hi::UIChangeCurrentNodeFirst:
            return changeCurrentTo(holder ? holder->first_() : nullptr);
        case hi::UIChangeCurrentNodeLast:
            return changeCurrentTo(holder ? holder->last_() : nullptr);
        case hi::UIChangeCurrentNodeName_:
            return changeCurrentTo(holder ? holder->byName_(text(0)) : nullptr);
        case hi::UIPutName_:
            if (!current || refusesWrite(current)) return -1;
            window_.UI2Model();
            current->putName_as_(text(0));
            if (editor) editor->showName(current->getName_());
            markChanged(*current);
            return 0;
        case hi::UIPutField__:
            if (!current || !editor) return -1;
            return putFieldOf("", current->getName_(), text(0), wrapQuotes(text(1)));
        case hi::UIMNMemoCount2:
        case hi::UIMNCommentCount2:
        case hi::UIMNFieldsCount2: {
            MemoNode* node = addressed(text(0), text(1));
            if (!node) return -1;
            if (index == hi::UIMNMemoCount2) return static_cast<std::int64_t>(node->memo.size());
            if (index == hi::UIMNCommentCount2)
                return static_cast<std::int64_t>(node->comment.size());
            return static_cast<std::int64_t>(node->fields.size());
        }
        case hi::UIMNAddMemo3:
            return appendTo(text(0), text(1), text(2), false);
        case hi::UIMNAddComment3:
            return appendTo(text(0), text(1), text(2), true);
        case hi::UIMNPutField4:
            return putFieldOf(text(0), text(1), text(2), text(3));
        default:
            return 0;
    }
}

std::string ScriptHost::serveStr(std::int32_t index, const TArgumentList& args, std::int32_t&) {
    auto text = [&](std::size_t i) -> const std::string& { return args[i].strValue; };
    flushLog();
    MemoNode* current = window_.getCurMemoNode();
    if (isCurrentShown(current) &&
        (index == hi::UIGetName || index == hi::UIGetField_ || index == hi::UIRemoveField_))
        window_.UI2Model();
    switch (index) {
        case hi::string_getS1:
            return stringGetS1(text(0));
        case hi::string_getSX:
            return stringGetSX(text(0));
        case hi::string_unquate:
            return stringUnquate(text(0));
        case hi::UIGetName:
            return current ? current->getName_() : std::string();
        case hi::UIGetField_:
            return current ? stripQuotes(current->getField_(text(0))) : std::string();
        case hi::UIRemoveField_: {
            if (refusesWrite(current)) return {};
            std::string line = current->removeField_(text(0));
            if (line.empty()) return line;
            markChanged(*current);
            if (NodeEditor* editor = window_.nodeEditor(); editor && isCurrentShown(current))
                editor->showFields(*current);
            return line;
        }
        case hi::UIGetNameHolder: {
            MemoHolder* holder = window_.getCurHolder();
            return holder ? holder->getName_() : std::string();
        }
        case hi::UIMNMemoStrings3:
        case hi::UIMNCommentStrings3:
        case hi::UIMNFieldsStrings3: {
            MemoNode* node = addressed(text(0), text(1));
            if (!node) return {};
            const std::int64_t i = args[2].intValue;
            if (i < 0) return {};
            const auto at = static_cast<std::size_t>(i);
            if (index == hi::UIMNMemoStrings3)
                return at < node->memo.size() ? std::string(node->memo[at]) : "";
            if (index == hi::UIMNCommentStrings3)
                return at < node->comment.size() ? node->comment[at] : "";
            return at < node->fields.size() ? node->fields[at] : "";
        }
        case hi::UIMNGetField3: {
            MemoNode* node = addressed(text(0), text(1));
            return node ? node->getField_(text(2)) : std::string();
        }
        default:
            return {};
    }
}

}  // namespace zel
