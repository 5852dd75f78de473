// The program in the desktop: opening a node's file or link with the
// desktop's program and showing folders in the file manager, "executing" a
// node, the calculator and the terminal, the manual and the settings file,
// the file type association and the desktop shortcut; and the file list and
// save-each windows. Everything that starts a program goes through the
// replaceable opener and starter of the platform layer.

#include <QObject>
#include <functional>

#include "app/window/TAPLInitialer.h"
#include "app/window/TFormMainScript.h"
#include "dialogs/ui/DialogHost.h"
#include "dialogs/ui/FileListHost.h"
#include "dialogs/ui/TFormFileList.h"
#include "dialogs/ui/TFormSaveEach.h"
#include "model/HolderFile.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "platform/Clock.h"
#include "platform/DesktopAssociation.h"
#include "platform/DesktopPrograms.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/Opener.h"
#include "text/DateTime.h"
#include "text/TextHelpers.h"
#include "views/BodyPaths.h"
#include "views/MemoHolderUI.h"

namespace zel {

namespace {

// "yyyy/mm/dd hh:nn:ss:zzz" of the installed clock.
std::string timeStamp() {
    return formatDateTime("yyyy/mm/dd hh:nn:ss:zzz", clockNow());
}

std::string unquoted(const MemoNode& node, std::string_view key) {
    return stripQuotes(node.getField_(key));
}

bool isRemoteAddress(std::string_view path) {
    // Compared with letter case, as the shell's own test was.
    return path.starts_with("ftp:") || path.starts_with("http:") || path.starts_with("https:");
}

// The folder part of `path`, without its last separator; empty without one.
std::string folderPart(std::string_view path) {
    const std::string slashed = withSlashes(path);
    const std::size_t slash = slashed.rfind('/');
    if (slash == std::string::npos) return {};
    return slash == 0 ? std::string("/") : slashed.substr(0, slash);
}

void setField(MemoNode& node, std::string_view key, std::string_view value, bool& changed) {
    if (node.getField_(key) == value) return;
    node.putField_(key, value);
    changed = true;
}

// The main window as the file list and save-each windows see it; a child of
// the window, so it lives exactly as long as the windows it serves.
class WindowFileListHost : public QObject, public FileListHost {
  public:
    explicit WindowFileListHost(TFormMainScript& window) : QObject(&window), window_(window) {
        setObjectName("zelFileListHost");
    }

    MemoFile* memoFile() const override { return window_.aFile.get(); }
    MemoHolder* getCurHolder() const override { return window_.getCurHolder(); }
    bool nowDoing() override { return window_.nowDoing(); }
    void startDoing_(std::string_view name) override { window_.startDoing_(name); }
    void doneDoing_(std::string_view text) override { window_.doneDoing_(text); }
    void messageDoing_(std::string_view text) override { window_.messageDoing_(text); }
    bool isBreakRequested() override { return window_.isBreakRequested(); }
    bool checkUIReadOnly() override { return window_.checkUIReadOnly(); }
    bool checkHolderReadOnly() override { return window_.checkHolderReadOnly(); }
    int UI2Model() override { return window_.UI2Model(); }
    void Model2UI() override { window_.Model2UI(); }
    MemoHolder* newHolder() override {
        MemoHolder* holder = window_.newHolder_(-1);
        window_.refreshHolderList();
        return holder;
    }
    void holderNodesChanged(MemoHolder& holder) override {
        // Sorting as the list mode says is the editing dialogs' rule too.
        window_.dialogHost().holderSettingsChanged(holder);
    }
    void showNode(MemoHolder& holder, MemoNode& node) override {
        if (&holder == window_.getCurHolder()) {
            window_.setCurMemoNode_(&node);
        } else {
            holder.setCurrent_(&node);
            window_.changeHolder_(&holder);
        }
        window_.refreshHolderList();
    }
    void nodeFieldsChanged(MemoHolder& holder) override {
        holder.changed = true;
        if (auto* shown = dynamic_cast<MemoHolderUI*>(&holder)) shown->refreshControls_();
        if (&holder == window_.getCurHolder()) window_.Model2UI();
    }
    std::string inputBox(std::string_view caption, std::string_view prompt,
                         std::string_view initial) override {
        return window_.prompter().inputBox(caption, prompt, initial);
    }
    HostAnswer askYesNoCancel(std::string_view text) override {
        switch (
            window_.prompter().ask(Tone::Confirmation, text, ButtonYes | ButtonNo | ButtonCancel)) {
            case Answer::Yes:
                return HostAnswer::Yes;
            case Answer::No:
                return HostAnswer::No;
            default:
                return HostAnswer::Cancel;
        }
    }
    std::string directoryName(std::string_view caption, std::string_view start) override {
        return window_.prompter().directoryName(caption, start);
    }
    QFont windowFont() const override { return window_.font(); }
    QColor panelColour() const override { return window_.dialogHost().panelColour(); }

  private:
    TFormMainScript& window_;
};

FileListHost& fileListHost(TFormMainScript& window) {
    if (auto* host =
            window.findChild<WindowFileListHost*>("zelFileListHost", Qt::FindDirectChildrenOnly))
        return *host;
    return *new WindowFileListHost(window);
}

// Where the shell opens things: the memo file's folder when it exists.
std::string shellFolder(const TFormMainScript& window) {
    const std::string folder = window.aFile->getMemoFileDir_();
    return !folder.empty() && dirExists(folder) ? folder : currentDirectory();
}

// A node's path as the shell will meet it: names beginning with "." lie
// beside the holder's file, other relative names in the folder the shell
// opens them in, so the existence test looks where the shell will.
std::string nodeLocalPath(const TFormMainScript& window, const MemoNode& node,
                          std::string_view path) {
    if (path.starts_with('.')) return holderRelativePath(node, path);
    if (path.starts_with('/') || isWebAddress(path)) return std::string(path);
    return shellFolder(window) + std::string(path);
}

int openNodeField(TFormMainScript& window, std::string_view key, std::string_view missing,
                  std::string_view empty) {
    if (window.refuse(Busy)) return kFailed;
    MemoNode* node = window.getCurMemoNode();
    if (!node) return kNoNode;
    window.UI2Model();
    const std::string path = unquoted(*node, key);
    if (path.empty()) {
        window.messageDoing_(empty);
        return kMissingField;
    }
    const std::string local = nodeLocalPath(window, *node, path);
    if (!isWebAddress(local) && !pathExists(local))
        window.messageDoing_(std::string(missing) + path);
    return window.ShellExecuteOpen_(local);
}

int exploreFolder(TFormMainScript& window, const std::string& folder) {
    if (!openOnDesktop(folder, currentDirectory())) {
        window.messageDoing_("Failure: Explorer " + folder);
        return kFailed;
    }
    window.messageDoing_("Done: Explorer " + folder);
    return 0;
}

// The status names the program really started.
int startDesktopProgram(TFormMainScript& window, const std::string& program,
                        std::string_view what) {
    if (program.empty()) {
        window.messageDoing_("Failure: Open " + std::string(what) + ": none is installed");
        return kFailed;
    }
    if (!startProgram({program}, currentDirectory())) {
        window.messageDoing_("Failure: Open " + program);
        return kFailed;
    }
    window.messageDoing_("Open " + fileNameOf(program) + " " + timeStamp());
    return 0;
}

// A change to the desktop in a busy state named `doing`: it ends with
// "Failure: " + `failure` and the reason (also logged), or with `done`.
int changeDesktop(TFormMainScript& window, std::string_view doing,
                  const std::function<DesktopOutcome()>& change, std::string_view failure,
                  std::string_view done) {
    CommandScope scope(window, doing);
    const DesktopOutcome outcome = change();
    if (!outcome.ok) {
        const std::string text = "Failure: " + std::string(failure) + outcome.reason;
        window.addLog_(text);
        scope.endWith(text);
        return kFailed;
    }
    scope.endWith(done);
    return 0;
}

}  // namespace

int TFormMainScript::ShellExecuteOpen_(std::string_view path) {
    messageDoing_("ShellExecuteOpen_ " + std::string(path));
    return openOnDesktop(path, shellFolder(*this)) ? 0 : kFailed;
}

int TFormMainScript::explorePath_(std::string_view path) {
    CommandScope scope(*this, "Explorer " + std::string(path));
    if (isRemoteAddress(path)) {
        const bool opened = openOnDesktop(path, currentDirectory());
        scope.endWith((opened ? "Done: Open " : "Failure: Open ") + std::string(path));
        return opened ? 0 : kFailed;
    }
    const std::string folder = folderPart(path);
    if (folder.empty() || !dirExists(folder)) {
        scope.endWith("Not found Directory " + folder);
        return kFailed;
    }
    const bool opened = openOnDesktop(folder, currentDirectory());
    scope.endWith((opened ? "Done: Explore " : "Failure: Explore ") + folder);
    return opened ? 0 : kFailed;
}

int TFormMainScript::UIShellExecute_(std::string_view command) {
    const std::string target = trimText(command);
    if (target.empty()) {
        messageDoing_("Warrning: Command is empty in UIShellExecute_.");
        return kFailed;
    }
    const int result = ShellExecuteOpen_(target);
    messageDoing_(command);
    return result;
}

int TFormMainScript::UIExplorerFilename() {
    if (refuse(Busy)) return kFailed;
    MemoNode* node = getCurMemoNode();
    if (!node) return kNoNode;
    UI2Model();
    std::string path = unquoted(*node, "FilenameLocal");
    if (path.empty()) path = unquoted(*node, "Filename");
    if (path.empty()) {
        messageDoing_("Do not open directory. because filename is empty.");
        return kMissingField;
    }
    return explorePath_(nodeLocalPath(*this, *node, path));
}

int TFormMainScript::UIExplorerLink() {
    if (refuse(Busy)) return kFailed;
    MemoNode* node = getCurMemoNode();
    if (!node) return kNoNode;
    UI2Model();
    const std::string path = unquoted(*node, "Link");
    if (path.empty()) {
        messageDoing_("Do not open directory. because Link is empty.");
        return kMissingField;
    }
    const std::string local = nodeLocalPath(*this, *node, path);
    if (!isRemoteAddress(local) && !pathExists(local))
        messageDoing_("WARRNING: File not exists on Local. " + path);
    return explorePath_(local);
}

int TFormMainScript::UIOpenFilename() {
    return openNodeField(*this, "Filename", "WARRNING: File does not exists on Local. ",
                         "Do not open. because Filename is empty. ");
}

int TFormMainScript::UIOpenLink() {
    return openNodeField(*this, "Link", "WARRNING: Link does not exists on Local. ",
                         "Do not open. because Link is empty. ");
}

int TFormMainScript::UIExplorerMemoHolder() {
    if (refuse(Busy)) return kFailed;
    MemoHolder* holder = getCurHolder();
    if (!holder) {
        messageDoing_("");
        return kNoHolder;
    }
    // A holder's own Filename may be a bare name beside the memo file; the
    // path it is read from is the one to show.
    const std::string path = stripQuotes(holder->getField_("Filename")).empty()
                                 ? aFile->getMemoFileDir_()
                                 : holderFilePath_(*holder);
    const std::string folder(folderOf(path));
    if (!openOnDesktop(folder, currentDirectory())) {
        messageDoing_("Failure:UIExplorerMemoHolder " + folder);
        return kFailed;
    }
    messageDoing_("Done:UIExplorerMemoHolder " + folder);
    return 0;
}

int TFormMainScript::UIOpenCurrentDir() {
    return exploreFolder(*this, currentDirectory());
}

int TFormMainScript::UIOpenExeFileDir() {
    return exploreFolder(*this, exeDirectory());
}

int TFormMainScript::UIOpenCalc() {
    return startDesktopProgram(*this, findCalculator(),
                               "a calculator (gnome-calculator, kcalc, galculator, xcalc)");
}

int TFormMainScript::UIOpenCmd() {
    return startDesktopProgram(*this, findTerminal(),
                               "a terminal (x-terminal-emulator, $TERMINAL)");
}

int TFormMainScript::UIShowManualInternet() {
    return UIShellExecute_(LabeledEdit_CmURL);
}

int TFormMainScript::UIOpenIniFile() {
    const std::string path = TAPLInitialer::settingsPath(*this);
    if (fileExists(path)) {
        const int result = ShellExecuteOpen_(path);
        messageDoing_("Open " + path);
        return result;
    }
    UIOpenExeFileDir();
    messageDoing_("Explorer \"zel.exe\". Becaouse Not Found " + path);
    return 0;
}

int TFormMainScript::UIExecuteMemoNode() {
    if (refuse(Busy)) return kFailed;
    MemoNode* node = getCurMemoNode();
    if (!node) return kNoNode;
    UI2Model();
    const NodeRef kept(node);
    const std::string path = UISaveMemoNode_(*node);
    node = kept.get();
    if (path.empty() || !node) return kFailed;
    // A file the desktop would run as a program, not open, is run only when
    // the user says so: node texts come from mail and foreign holders too.
    if (isProgramFile(path) &&
        prompter().ask(Tone::Confirmation, "\"" + path + "\" is a program. Shall I run it?",
                       ButtonYes | ButtonNo) != Answer::Yes) {
        messageDoing_("Cancel: MemoNode Execute " + path);
        return kFailed;
    }
    CommandScope scope(*this, "MemoNode Execute " + path);
    int result = 0;
    if (fileExists(path)) {
        if (openOnDesktop(path)) {
            scope.endWith("Done: Exeute " + path);
        } else {
            const std::string failure = "ERROR: ShellExecute on ExecuteNode1Click.";
            prompter().error(failure);
            addLog_(failure);
            scope.endWith("Done: Could not Execute " + path);
            result = kFailed;
        }
    } else {
        scope.endWith("Done: Not found " + path);
        result = kFailed;
    }
    // A web node keeps its address; the local copy is named beside it.
    const std::string filename = unquoted(*node, "Filename");
    bool changed = false;
    setField(*node, isWebAddress(filename) ? "FilenameLocal" : "Filename", wrapQuotes(path),
             changed);
    if (changed)
        if (auto* holder = dynamic_cast<MemoHolder*>(node->enclosingRecord_()))
            holder->changed = true;
    Model2UI();
    return result;
}

int TFormMainScript::UIAssociate() {
    if (refuse(Busy)) return kFailed;
    return changeDesktop(
        *this, "Associate", [this] { return associateMemoFiles(programOsPath(exePath)); },
        "Associate FileName Extentions. ",
        "Done: Associate FileName Extentions. \".mxa\", \".maz\"");
}

int TFormMainScript::UIUnassociate() {
    if (refuse(Busy)) return kFailed;
    return changeDesktop(*this, "Unassociate", unassociateMemoFiles,
                         "Unassociate FileName Extentions. ",
                         "Done: Unassociate FileName Extentions. \".mxa\", \".maz\"");
}

int TFormMainScript::UIMakeShortCutLink() {
    if (refuse(Busy)) return kFailed;
    return changeDesktop(
        *this, "Make ShortCutLink",
        [this] { return makeDesktopShortcut(desktopFolder(), programOsPath(exePath)); },
        "Make ShortCutLink, ", "Done: Make ShortCutLink, Look DeskTop!");
}

int TFormMainScript::UIShowFileList() {
    companion<TFormFileList>()->open(fileListHost(*this));
    messageDoing_("Show FormFileList " + timeStamp());
    return 0;
}

int TFormMainScript::UIShowFormSaveEach_(int markNodeOnly) {
    if (refuse(Busy)) return kModalWindowResult;
    messageDoing_("Open FormSaveEach");
    auto* form = companion<TFormSaveEach>();
    form->open(fileListHost(*this), markNodeOnly != 0);
    form->exec();
    messageDoing_("Done: UIShowFormSaveEach_ ");
    return 0;
}

}  // namespace zel
