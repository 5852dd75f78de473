#pragma once
// The lowest layer of the main window: the busy protocol, the log hooks, the
// current holder and node, loading of memo files and holder files, the save
// question on close, the exit commands, idle auto save, the new-node
// primitive and the version report. Only the last layer is ever created.

#include <QDateTime>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/Prompter.h"
#include "app/Version.h"
#include "app/commands/CommandKit.h"
#include "app/window/MemoFileUI.h"
#include "model/HolderFile.h"
#include "model/MemoFileSave.h"
#include "object/Agents.h"
#include "object/Report.h"
#include "platform/FileLock.h"
#include "platform/Shell.h"
#include "platform/WriterLock.h"

namespace zel {

class DiskFollower;
class MemoHolder;
class MemoNode;
class NodeEditor;

// Kinds of `newNodeOfKind_`.
enum NodeKind { KindFile = 0, KindImage = 1, KindURL = 2, KindPoser = 3, KindPoserLike = 4 };

class TFormMainBase0007 : public QMainWindow, public MainWindowLink {
    Q_OBJECT
  public:
    explicit TFormMainBase0007(QWidget* parent = nullptr);
    ~TFormMainBase0007() override;

    // The agent's view of the window. Asking for Break also lets pending
    // window events through, so a long loop that polls it keeps the window
    // alive and the Break button pressable.
    bool isBreakRequested() const override;
    void showStatus(std::string_view text) override { messageDoing_(text); }
    bool internetEnabled() const override { return internetSource(); }

    Prompter& prompter() { return *prompter_; }
    void setPrompter(std::unique_ptr<Prompter> prompter);

    // Busy protocol.
    virtual void mouseCursor(Qt::CursorShape shape);
    virtual void startDoing_(std::string_view name);
    virtual void messageDoing_(std::string_view text);
    void doneDoing() { doneDoing_(""); }
    virtual void doneDoing_(std::string_view text);
    // True while a command runs (and then says so in the status bar).
    virtual bool nowDoing();
    // The first of `guards` that holds (see Guard), having said so: its code
    // from `codes`; 0 when the command may run.
    int refuse(Guards guards, RefusalCodes codes = {});
    bool isDoing() const { return doing_; }
    bool isBreakFlagSet() const { return break_; }
    // The commands of the busy protocol and the exit (Session.def).
#define ZEL_BASE_COMMAND(name, caption, result, parameters) result name parameters;
#include "app/commands/Commands.def"
    int shouldNotExecute_(std::string_view name);
    int notImplemented_(std::string_view name);
    // The last text of the status bar's message panel.
    const std::string& statusMessage() const {
        return statusMessage_;
    }

    // Log.
    virtual int addLog_(std::string_view text) = 0;
    int addLogDT_(std::string_view text);
    int logList_(const std::vector<std::string>& lines);
    virtual int showFormLog() = 0;

    // Current holder and node.
    MemoNode* getCurMemoNode() const {
        return aFile->currentNode;
    }
    MemoHolder* getCurHolder() const;
    void setCurMemoNode_(MemoNode* node);
    MemoHolder* changeHolder_(MemoHolder* holder);
    void _changeCurrentHolder_(MemoHolder* holder);
    void loadHolder_(MemoHolder* holder);
    // Writes the node editor into the current node: 0, or -1 when nothing was written.
    virtual int UI2Model();
    // Shows the current node in the node editor.
    virtual void Model2UI();
    bool checkUIReadOnly();
    bool checkHolderReadOnly();

    // The holder view, filled in by the view layers.
    virtual int setCheckListBox_(MemoHolder* holder);
    virtual void showHolderView(MemoHolder* holder);
    virtual void hideHolderView(MemoHolder* holder);
    virtual void refreshHolderList();
    virtual void refreshReadOnlyIndicator();
    virtual void showHolderCount();
    virtual NodeEditor* nodeEditor() const {
        return nullptr;
    }
    virtual void setCaption_();

    // Memo file and holders.
    virtual void newMemoFile_();
    virtual MemoHolder* newHolder_(int position);
    void openMemoFile_(std::string_view path);
    void readMemoFile_(std::string_view path);
    void decompressMemoFile_(std::string_view path);
    MemoHolder* openHolder_(std::string_view path);
    MemoHolder* openHolderFile_(std::string_view path);
    void attachHolderFile_(MemoHolder* holder, std::string_view path);
    int readHolderFile_(MemoHolder* holder, std::string_view path);
    // Writes, as one set under the writers' lock, the `holders` (each to its
    // own file in its format; one of another extension is left changed) and,
    // with `index`, the memo file's own file (the container with every holder
    // loaded for a .maz name), together with the container the memo file was
    // opened from: all of them or none. A holder not loaded is loaded first.
    // A failure is logged; with `askOnConflict`, a file another program wrote
    // since it was read is offered to be saved as a copy under another name,
    // while the window keeps the changes.
    MemoFileSaveResult saveTogether_(bool index, std::vector<MemoHolder*> holders,
                                     bool askOnConflict = true);
    // The memo file to its file name: the size written, or -1 (logged).
    long long writeMemoFileToItsName_();
    // Saves one holder to its own file in its format; false when not written.
    bool saveHolderToItsFile_(MemoHolder& holder);
    // After files of the memo file were read or written: what they hold is
    // what the window knows, and what other programs write to them from now
    // on is taken in (DiskFollower).
    void followDisk();
    DiskFollower& diskFollower() {
        return *diskFollower_;
    }

    // Closing.
    virtual bool querySaveChanges_();
    // Ends the application at once, past every close question (UITerminate_'s
    // No). Tests put a recorder here, so no test ends the run it belongs to.
    std::function<void()> endApplication;
    // The idle notification: saves changed holders when the interval is due.
    void autoSaveOnIdle(const QDateTime& now);

    // Nodes and reports.
    MemoNode* newNodeOfKind_(std::string_view text, int kind);
    virtual void writeVersionTS_(std::vector<std::string>& lines);

    // Settings the start-up and the property dialog share.
    virtual std::string getTempDirectory() const;
    virtual void setTempDirectory(std::string_view directory);
    virtual int getAutoSaveTime() const {
        return autoSaveSeconds_;
    }
    virtual void putAutoSaveTime_(int seconds) {
        autoSaveSeconds_ = seconds < 0 ? 0 : seconds;
    }
    virtual std::string getDateFormat() const;
    virtual std::string getNumberFormat() const;
    // The tool bar switches; the menu layer owns the check boxes.
    virtual bool uiReadOnlySource() const {
        return false;
    }
    virtual bool internetSource() const {
        return true;
    }

    // The executable as the program sees it; tests point it into their folder.
    std::string exePath;
    std::string exeDirectory() const;

    std::unique_ptr<MemoFileUI> aFile;
    FileLock fileLock;
    bool flagFileLock = false;
    // The writers' lock of the open memo file, held from its opening to its
    // closing when FlagFileLock asks for it or `holdWriterLock` is set (a
    // batch run that saves: its whole run is one read-modify-write).
    WriterLock writerLock;
    // The same for the container the memo file was unpacked from.
    WriterLock containerLock;
    bool holdWriterLock = false;
    bool allYes = false;
    QDateTime lastAutoSaveTime;
    std::string userName;
    std::unique_ptr<AgentAPLZEL> agent;
    std::string defaultOpenFile;
    std::string LabeledEdit_Version = kVersionLabel;
    std::string LabeledEdit_ReleaseDate = kReleaseDateLabel;
    std::string LabeledEdit_CmURL = "https://zel.invalid/manual/";

  protected:
    void closeEvent(QCloseEvent* event) override;
    // Shows `text` in the message panel of the status bar.
    virtual void showMessageText(std::string_view text);

    // Drops every view's hold on the current holder and node before the
    // memo file or a holder is emptied.
    void releaseViews();
    // A consistency problem of the model: error box, log and status bar.
    void systemError(std::string_view text);

    // The start-up open runs inside its own busy state; a holder named on
    // the command line may open then.
    bool openingArgument_ = false;

    // What went wrong in the open under way, naming the file and the reason
    // (the first trouble of the open); an open ends with it as an "ERROR:"
    // status instead of "Done:". Each open clears it when it starts.
    void noteOpenTrouble(std::string_view path, std::string_view reason);
    std::string openTrouble_;

  private:
    friend class DiskFollower;

    Answer askSave(std::string_view question);
    // The writers' lock for one save, waiting (and saying so) while another
    // writer has it.
    IoResult lockForSaving(WriterLock& lock);
    void offerCopyAfterConflict(const std::string& path, MemoHolder* holder);
    bool loadMemoText(std::string_view path, std::string& text, FileStamp& stamp);
    void replaceByFreshMemoFile(std::string_view path, std::string_view why, std::string_view text);
    void logParseFailure(const std::vector<std::string>& errors,
                         const std::vector<std::string>& words);
    void ensureOneHolder();
    MemoHolder* appendHolderNamedAfter(std::string_view path);
    // The holder file opened into a new holder, which becomes current.
    MemoHolder* openAndShowHolder(std::string_view path);
    // Loads a holder about to be shown; one that came empty gets a node.
    void loadHolderForShowing(MemoHolder& holder);
    void fillImageNode(MemoHolder& holder, MemoNode& node, std::string_view text);

    std::unique_ptr<Prompter> prompter_;
    Reporter previousReporter_;
    LogSink previousLogSink_;
    ShellNotice previousShellNotice_;
    bool doing_ = false;
    bool break_ = false;
    std::string doingName_;
    std::string statusMessage_;
    std::string tempDirectory_;
    int autoSaveSeconds_ = 0;
    bool terminating_ = false;
    QTimer idleTimer_;
    mutable QElapsedTimer eventsClock_;
    // Declared last: it goes first, before anything it looks at.
    std::unique_ptr<DiskFollower> diskFollower_;
};

}  // namespace zel
