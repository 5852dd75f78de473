// The NewNode menu's commands and the tree's "New Child" commands: new nodes
// of every kind (text, file, web address, directory, image, screen capture,
// Poser), and children made from the current node (a copy, a hexadecimal
// dump, a download, an HTML table).

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QThread>
#include <functional>

#include "app/window/NodeEditor.h"
#include "app/window/TFormMainScript.h"
#include "formats/TContent.h"
#include "model/HolderFile.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "model/NodeRef.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/Process.h"
#include "platform/SafeFileWriter.h"
#include "text/LineList.h"
#include "text/Sjis.h"
#include "text/TextHelpers.h"
#include "views/MemoHolderUI.h"
#include "views/NodeViewOwner.h"

namespace zel {

namespace {

// The address questions start with this text; left as it is, it means the
// manual's address.
constexpr const char* kAddressStart = "http://";
constexpr const char* kAnyFileFilter = "All(*.*)|*.*";
constexpr int kHexDumpWidth = 16;
// The desktop needs a moment to take the hidden window off the screen.
constexpr unsigned long kCapturePauseMilliseconds = 90;

// The answer to an address question; empty or unchanged means the manual's
// address. Empty only when there is no manual address either.
std::string askAddress(Prompter& prompter, std::string_view caption, std::string_view prompt,
                       const std::string& manual) {
    const std::string answer = trimText(prompter.inputBox(caption, prompt, kAddressStart));
    return answer.empty() || answer == kAddressStart ? manual : answer;
}

bool hasEncoding(const MemoNode& node, std::string_view encoding) {
    return node.getField_("Content-Transfer-Encoding") == encoding;
}

std::function<std::string(const MemoNode&)> namedAfter(std::string prefix) {
    return
        [prefix = std::move(prefix)](const MemoNode& child) { return prefix + child.getName_(); };
}

// Hides the window for the lifetime of the object; it shows again only when
// it was shown before.
class HiddenWindow {
  public:
    explicit HiddenWindow(QWidget& window) : window_(window), wasVisible_(window.isVisible()) {
        window_.hide();
        QCoreApplication::processEvents();
    }
    ~HiddenWindow() {
        if (wasVisible_) window_.show();
    }
    HiddenWindow(const HiddenWindow&) = delete;
    HiddenWindow& operator=(const HiddenWindow&) = delete;

  private:
    QWidget& window_;
    bool wasVisible_;
};

void settle() {
    QThread::msleep(kCapturePauseMilliseconds);
    QCoreApplication::processEvents();
}

// The whole screen, also left on the clipboard; a null image when the
// platform grants no capture. The grabbed picture itself is handed back, so
// older clipboard content can never pass for the capture.
QImage captureScreen(bool withPauses) {
    if (withPauses) settle();
    QScreen* screen = QGuiApplication::primaryScreen();
    const QPixmap shot = screen ? screen->grabWindow(0) : QPixmap();
    if (shot.isNull()) return {};
    QGuiApplication::clipboard()->setPixmap(shot);
    QCoreApplication::processEvents();
    if (withPauses) settle();
    return shot.toImage();
}

// An image node holding a capture of the whole screen, taken while the
// window is hidden; none when the screen could not be captured.
MemoNode* newImageNodeOfScreen(TFormMainScript& window, bool withPauses) {
    auto* view = dynamic_cast<NodeViewOwner*>(window.nodeEditor());
    if (!view) return nullptr;
    HiddenWindow hidden(window);
    const QImage shot = captureScreen(withPauses);
    if (shot.isNull()) return nullptr;
    // The node view makes the image node and pastes the picture into it.
    MemoNode* before = window.getCurMemoNode();
    view->pasteImageAsNewNode(shot);
    MemoNode* made = window.getCurMemoNode();
    return made != before ? made : nullptr;
}

// A text node holding `lines`; none when refused.
MemoNode* newTextNode(TFormMainScript& window, std::vector<std::string> lines) {
    MemoNode* node = window.newNodeOfKind_("", KindFile);
    if (node) node->memo = std::move(lines);
    return node;
}

// One child command: `make` makes the new node (which makes it current), and
// it becomes a child of `parent`. The status bar ends with `done` of the
// child, or with `failure` when no node was made.
int makeChildOf(TFormMainScript& window, MemoNode& parent, std::string_view doing,
                const std::function<MemoNode*()>& make,
                const std::function<std::string(const MemoNode&)>& done, std::string_view failure) {
    CommandScope scope(window, doing);
    MemoNode* child = make();
    if (!child) {
        scope.endWith(failure);
        return kFailed;
    }
    child->setParentNode_(parent);
    window.Model2UI();
    scope.endWith(done(*child));
    return 0;
}

// The words of a node's command line, split at blanks and tabs outside
// quotes; a word "%Name" or "%Name%" becomes the node's field Name (unquoted)
// as one word of its own, so a field value never turns into more arguments.
std::vector<std::string> commandWords(const MemoNode& node, std::string_view commandLine) {
    std::vector<std::string> words;
    for (const std::string& cell : splitQuoted(commandLine, " \t")) {
        const std::string word = trimText(cell);
        if (word.empty()) continue;
        if (word.size() > 1 && word.front() == '%') {
            std::string key = word.substr(1);
            if (key.ends_with('%')) key.pop_back();
            if (!key.empty()) {
                words.push_back(stripQuotes(node.getField_(key)));
                continue;
            }
        }
        words.push_back(stripQuotes(word));
    }
    return words;
}

// The output of a program run by Execute kept in its child node, at most.
constexpr std::size_t kExecutedOutputLimit = 16 * 1024 * 1024;

// A node's file run as `sh FILE` gets line feeds: sh reads the CR of a
// CR LF line as part of the command. Only a file holding exactly the node's
// text as written is rewritten; a file the user chose to keep stays as it is.
void writeForShell(const MemoNode& node, const std::string& path) {
    std::string bytes;
    if (node.isBinary_() || !readFile(path, bytes) || bytes != linesText(node.memo) ||
        bytes.find('\r') == std::string::npos)
        return;
    std::string withLineFeeds;
    withLineFeeds.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i)
        if (!(bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n'))
            withLineFeeds += bytes[i];
    writeFileSafely(path, withLineFeeds);
}

// The output of `argv` run in `folder`, in a busy state of its own, with a
// line for a program that did not start or was stopped at the limit or by
// Break. The window stays alive while the program runs: Break stops it, and
// a program that writes without end is stopped at the limit.
std::vector<std::string> executedOutput(TFormMainScript& window,
                                        const std::vector<std::string>& argv,
                                        const std::string& folder) {
    CommandScope scope(window, "New Child Executed");
    CapturedRun run = argv.empty() ? CapturedRun{}
                                   : runCaptured(argv, folder, kExecutedOutputLimit,
                                                 [&window] { return window.isBreakRequested(); });
    std::vector<std::string> lines = std::move(run.lines);
    if (!run.started)
        lines.push_back("Failure: could not start " +
                        (argv.empty() ? std::string() : argv.front()));
    if (run.cut)
        lines.push_back("*Cut* the output reached " + std::to_string(kExecutedOutputLimit) +
                        " bytes; the program was stopped");
    if (run.broken) lines.push_back("*Break*");
    return lines;
}

// Ends a command that makes one node in `scope`: with `done` (empty: the
// usual "Done: ") when it was made, else with `failure`.
int endNewNode(CommandScope<TFormMainScript>& scope, const MemoNode* node, std::string_view done,
               std::string_view failure, int failureCode = kFailed) {
    scope.endWith(node ? done : failure);
    return node ? 0 : failureCode;
}

// New Child Execute's own refusals and failures.
enum ExecuteResult : int {
    kExecuteNoScript = -104,
    kExecuteBinaryNode = -105,
    kExecuteNoNode = -106,
    kExecuteHolderReadOnly = -107,
    kExecuteUIReadOnly = -108,
};
constexpr RefusalCodes kExecuteRefusals{kFailed, kExecuteUIReadOnly, kExecuteHolderReadOnly};

}  // namespace

// --- New nodes ------------------------------------------------------------------

int TFormMainScript::UINewNodeFile() {
    if (refuse(Busy | UIReadOnly | HolderReadOnly)) return kFailed;
    const std::string path = prompter().openFileName(kAnyFileFilter, aFile->getMemoFileDir_());
    if (path.empty()) {
        messageDoing_("Cancel: New MemoNode File");
        return kFailed;
    }
    CommandScope scope(*this, "New MemoNode File " + path);
    return endNewNode(scope, newNodeOfKind_(path, KindFile), "Done: New MemoNode File " + path,
                      "Failure: New MemoNode File " + path);
}

int TFormMainScript::UINewNodeImage() {
    if (const int refused = refuse(Busy | UIReadOnly | HolderReadOnly, kReadOnlyApart))
        return refused;
    CommandScope scope(*this, "New Node Image");
    return endNewNode(scope, newNodeOfKind_("", KindImage), "", "failure: New Node Image");
}

int TFormMainScript::UINewNodeImageScreen() {
    if (const int refused = refuse(Busy | UIReadOnly | HolderReadOnly, kReadOnlyApart))
        return refused;
    CommandScope scope(*this, "New Node Image Screen");
    return endNewNode(scope, newImageNodeOfScreen(*this, true), "Done: New Node Image Screen",
                      "failure: New Node Image Screen", kNoScreenCapture);
}

int TFormMainScript::UINewNodeURL() {
    if (refuse(Busy | UIReadOnly | HolderReadOnly)) return kFailed;
    const std::string address =
        askAddress(prompter(), "New MemoNode URL", "Input URL", LabeledEdit_CmURL);
    if (address.empty()) {
        messageDoing_("Cancel \"New MemoNode URL\"");
        return kFailed;
    }
    CommandScope scope(*this, "New MemoNode URL");
    return endNewNode(scope, newNodeOfKind_(address, KindURL), "Done: New MemoNode URL " + address,
                      "Failure: New MemoNode URL " + address);
}

int TFormMainScript::UINewNodeURLDir() {
    if (refuse(Busy | UIReadOnly | HolderReadOnly)) return kFailed;
    std::string directory = prompter().directoryName("Directory", currentDirectory());
    if (directory.empty()) {
        messageDoing_("Cancel \"New MemoNode URL Directory\"");
        return kFailed;
    }
    if (!directory.ends_with('/')) directory += '/';
    CommandScope scope(*this, "New MemoNode URL");
    return endNewNode(scope, newNodeOfKind_(directory, KindURL),
                      "Done: New MemoNode URL " + directory,
                      "Failure: New MemoNode URL " + directory);
}

int TFormMainScript::UINewNodeURLFile() {
    if (refuse(Busy | UIReadOnly | HolderReadOnly)) return kFailed;
    const std::string path = prompter().openFileName(kAnyFileFilter, aFile->getMemoFileDir_());
    if (path.empty()) {
        messageDoing_("Cancel \"New MemoNode URL Directory\"");
        return kFailed;
    }
    CommandScope scope(*this, "New MemoNode URL File");
    return endNewNode(scope, newNodeOfKind_(path, KindURL), "Done: New MemoNode URL File " + path,
                      "Failure: New MemoNode URL File " + path);
}

int TFormMainScript::UINewNodePoser() {
    if (refuse(Busy | UIReadOnly | HolderReadOnly)) return kFailed;
    CommandScope scope(*this, "New MemoNode Poser");
    return endNewNode(scope, newNodeOfKind_("", KindPoser), "", "Failure: New MemoNode Poser");
}

int TFormMainScript::UINewNodePoserLike() {
    if (refuse(Busy | UIReadOnly | HolderReadOnly)) return kFailed;
    CommandScope scope(*this, "New MemoNode PoserLike");
    return endNewNode(scope, newNodeOfKind_("", KindPoserLike), "",
                      "Failure: New MemoNode PoserLike");
}

// --- Children of the current node -------------------------------------------------

int TFormMainScript::UINewChild() {
    MemoNode* parent = getCurMemoNode();
    if (refuse(Busy | UIReadOnly | HolderReadOnly) || !parent) return kFailed;
    return makeChildOf(
        *this, *parent, "New Child", [this] { return newNodeOfKind_("", KindFile); },
        namedAfter("Done: New Child : "), "Failure: New Child");
}

int TFormMainScript::UINewChildURL() {
    MemoNode* parent = getCurMemoNode();
    if (refuse(Busy | UIReadOnly | HolderReadOnly) || !parent) return kFailed;
    const std::string address =
        askAddress(prompter(), "New Child URL MemoNode", "URL", LabeledEdit_CmURL);
    if (address.empty()) {
        messageDoing_("Cancel \"New MemoNode URL\"");
        return kFailed;
    }
    return makeChildOf(
        *this, *parent, "New Child URL", [&] { return newNodeOfKind_(address, KindURL); },
        [&](const MemoNode&) { return "Done: New Child URL " + address; },
        "Failure: New Child URL");
}

int TFormMainScript::UINewChildImage() {
    MemoNode* parent = getCurMemoNode();
    if (refuse(Busy | UIReadOnly | HolderReadOnly) || !parent) return kFailed;
    return makeChildOf(
        *this, *parent, "New Child Image", [this] { return newNodeOfKind_("", KindImage); },
        [](const MemoNode&) { return std::string(); }, "Failure: New Child Image");
}

int TFormMainScript::UINewChildImageScreen() {
    MemoNode* parent = getCurMemoNode();
    if (refuse(Busy | UIReadOnly | HolderReadOnly) || !parent) return kFailed;
    return makeChildOf(
        *this, *parent, "New Child Image Screen",
        [this] { return newImageNodeOfScreen(*this, false); },
        [](const MemoNode&) { return std::string(); }, "Failure: New Child Image Screen");
}

int TFormMainScript::UICloneNodeAndChild() {
    MemoNode* parent = getCurMemoNode();
    if (refuse(Busy | UIReadOnly | HolderReadOnly) || !parent) return kFailed;
    auto* holder = dynamic_cast<MemoHolderUI*>(getCurHolder());
    if (!holder) return kFailed;
    UI2Model();
    return makeChildOf(
        *this, *parent, "Clone MemoNode And Child",
        [&]() -> MemoNode* {
            MemoNode* copy = holder->addCopyOfNode_(*parent);
            if (copy) setCurMemoNode_(copy);
            return copy;
        },
        [](const MemoNode&) { return std::string("Done: Clone MemoNode And Child"); },
        "failure: Clone MemoNode And Child");
}

int TFormMainScript::UINewChildDumpText() {
    MemoNode* parent = getCurMemoNode();
    if (refuse(Busy | UIReadOnly | HolderReadOnly) || !parent) return kFailed;
    UI2Model();
    if (!hasEncoding(*parent, "\"binary\"")) {
        messageDoing_("Current MemoNode did not have binary content.");
        return kFailed;
    }
    return makeChildOf(
        *this, *parent, "New Child Bin->DumpText",
        [&]() -> MemoNode* {
            // A binary node whose bytes are not at hand has nothing to dump.
            if (!parent->content || !parent->content->stream) return nullptr;
            std::vector<std::string> dump;
            hexDump(dump, *parent->content->stream, kHexDumpWidth);
            return newTextNode(*this, std::move(dump));
        },
        namedAfter("Done: New Child Bin->DumpText : "), "Failure: New Child Bin->DumpText");
}

int TFormMainScript::UINewChildDownloadeed() {
    MemoNode* parent = getCurMemoNode();
    MemoHolder* holder = getCurHolder();
    if (refuse(Busy | UIReadOnly | HolderReadOnly) || !parent) return kFailed;
    UI2Model();
    if (!hasEncoding(*parent, "\"URL\"")) {
        messageDoing_("Current MemoNode does not have binary content.");
        return kFailed;
    }
    const std::string filename = stripQuotes(parent->getField_("Filename"));
    if (filename.empty()) {
        messageDoing_("ERROR: filename=\"\"");
        return kFailed;
    }
    // Local files must be there; addresses are fetched by the node's load.
    if (filename.starts_with('.')) {
        const std::string full = std::string(folderOf(holderFilePath_(*holder))) + filename;
        if (!pathExists(full)) {
            messageDoing_("ERROR: Not Found 10 " + full);
            return kFailed;
        }
    } else if (filename.starts_with('/') && !pathExists(filename)) {
        messageDoing_("ERROR: Not Found 20 " + filename);
        return kFailed;
    }
    return makeChildOf(
        *this, *parent, "New Child DownLoaded", [&] { return newNodeOfKind_(filename, KindFile); },
        namedAfter("Done: New Child DownLoaded : "), "ERROR: aMC=nil in UINewChildDownloadeed");
}

int TFormMainScript::UINewChildCSV2HTML() {
    MemoNode* parent = getCurMemoNode();
    if (refuse(Busy | UIReadOnly | HolderReadOnly) || !parent) return kFailed;
    UI2Model();
    if (hasEncoding(*parent, "\"binary\"")) {
        messageDoing_("Stop: Current MemoNode is binary.");
        return kFailed;
    }
    return makeChildOf(
        *this, *parent, "New Child CSV->HTML",
        [&] {
            std::vector<std::string> page;
            csvToHTMLPage(parent->memo, page, parent->getName_(), "zel.exe " + LabeledEdit_Version);
            return newTextNode(*this, std::move(page));
        },
        namedAfter("Done: New Child Executed : "), "Failure: New Child CSV->HTML");
}

int TFormMainScript::UINewChildExecuted() {
    if (const int refused = refuse(Busy | UIReadOnly | HolderReadOnly, kExecuteRefusals))
        return refused;
    UI2Model();
    MemoNode* parent = getCurMemoNode();
    if (!parent) return kExecuteNoNode;
    if (hasEncoding(*parent, "\"binary\"")) {
        messageDoing_("Stop: Current MemoNode is binary.");
        return kExecuteBinaryNode;
    }
    std::vector<std::string> lines;
    if (lowerText(extensionOf(stripQuotes(parent->getField_("Filename")))) == ".ppa") {
        messageDoing_("New Child Executed PPA");
        if (trimText(linesText(parent->memo)).empty()) {
            messageDoing_("Abort: No script ");
            return kExecuteNoScript;
        }
        const NodeRef script(parent);
        const int ran = runScriptNode_(*parent, lines);
        if (ran == kScriptRunsAlready) return ran;
        if (ran < 0) lines.push_back("Trap ERROR UINewChildExecuted");
        // The script node may have gone while its script ran: the output
        // still becomes a node, of no parent.
        parent = script.get();
        if (!parent) {
            CommandScope scope(*this, "New Child Executed");
            MemoNode* made = newTextNode(*this, std::move(lines));
            Model2UI();
            scope.endWith(made ? "Done: New Child Executed : " + made->getName_()
                               : std::string("Failure: New Child Executed"));
            return made ? 0 : kFailed;
        }
    } else {
        const std::string path = UISaveMemoNode_(*parent);
        if (path.empty()) {
            messageDoing_("Cancel: could not save. ");
            return kFailed;
        }
        std::string folder = stripQuotes(parent->getField_("CurrentDir"));
        if (folder.empty()) folder = std::string(folderOf(path));
        const std::string given = stripQuotes(parent->getField_("CommandLine"));
        // Without a command line the written file runs as a shell script.
        const std::vector<std::string> argv =
            given.empty() ? std::vector<std::string>{"sh", path} : commandWords(*parent, given);
        if (given.empty()) writeForShell(*parent, path);
        lines = executedOutput(*this, argv, folder);
    }
    return makeChildOf(
        *this, *parent, "New Child Executed", [&] { return newTextNode(*this, std::move(lines)); },
        namedAfter("Done: New Child Executed : "), "Failure: New Child Executed");
}

}  // namespace zel
