#pragma once
// The command layer: every command of the window is a member under its
// described name (CommandTable.h lists them), plus the exchange between the
// node editor and the current node, and the window caption.

#include <QPointer>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <typeindex>
#include <unordered_map>
#include <vector>

#include "app/TFormMainBaseZEL.h"
#include "export/TextPrinter.h"
#include "model/MemoHolder.h"
#include "search/ui/SearchHost.h"
#include "text/DateTime.h"

class QPrinter;

namespace zel {
class ScriptHost;
class DialogHost;
class TFrameMemoNode;
enum class ListMode;
}  // namespace zel

namespace zel {

// Deleted nodes go into the holder of this name.
inline constexpr const char* kTrashHolderName = "Trush";

class TFormMainScript : public TFormMainBaseZEL {
    Q_OBJECT
  public:
    explicit TFormMainScript(QWidget* parent = nullptr);
    ~TFormMainScript() override;

    int UI2Model() override;
    // While a script runs in a hidden window, the node view is left behind
    // the current node instead of laying out every node a walk passes; it
    // catches up when asked for (nodeEditor()), when the window shows and
    // when the run ends.
    void Model2UI() override;
    // The node view showing the current node again, if it was left behind.
    void catchUpNodeEditor();
    void setCaption_() override;
    // The title the desktop shows for the application (task bar, icons).
    const std::string& applicationTitle() const { return applicationTitle_; }
    void setApplicationTitle(std::string_view title);

    // Commands.
    int UINewNode();

    // Memo file commands (File menu).
    int UIOpenMXA();
    int UIOpenURL();
    int UINewFile();
    long long UISaveFileWithMSG();
    long long UISaveFileWithoutMSG();
    // Writes the memo file to its own name; the size, or -1.
    long long UISaveMemoFile();
    // "Save As MXA" (".mxa") and "Save As MAZ" (".maz").
    long long saveAsMemoFile_(std::string_view extension);
    int UISaveAllHolders();
    int UIExplorerMemoFile();
    int UIPrinterSetup();
    int UIHardcopy();
    // Prints a picture of `window` scaled to one page of the printer; 0, or
    // -1 without a printer.
    int printPicture_(QWidget& window);
    // The printer the print commands use, with the settings last chosen.
    QPrinter& printer();
    // Printing node texts ("&Print1", "Print Format", [MemoNode] "Print",
    // [Holder] and MarkNode "Prints"): each node as its content type says,
    // the print settings read again from zelprint.ini before each; several
    // nodes in one print job.
    int UIPrintMemoNode();
    int UIPrintFormat();
    int UIPrintsMarkNode();
    int UIPrintsHolder();
    // `node` printed in a busy state of its own ("UIPrintMemoNode " + name).
    int printMemoNode_(MemoNode& node);
    // `node` printed as one job; 0, or -1 with the reason in the status bar.
    int printNode_(MemoNode& node);
    // The text printer StringsPrinter1, its settings read on first use.
    TStringsPrinter& stringsPrinter();

    // Holder commands ([Holder] menu and the tab pop-up).
    // A new holder after the current one, at the first place, at the last.
    int UINewHolder();
    int UINewHolderLeft();
    int UINewHolderRight();
    // The current holder one place right or left among the tabs.
    int UIMoveHolderRight();
    int UIMoveHolderLeft();
    // The holder order window.
    int UIShowHolders();
    // The [Holder] menu's list-mode radio items.
    int UIChangeCheckListBox();
    int UIChangeTreeView();
    int UIChangeListView();
    int UIOpenHolder();
    int UIOpenCSV();
    int UICSV2Holder();
    long long UISaveHolderWithMSG();
    // "SaveAs Force" > "MXH(.mxh)" and "MHZ(.mhz)".
    long long saveAsHolder_(std::string_view extension);
    int UIRenameHolder();
    int UIRenameHolderOther();
    int UIDeleteHolder();
    int UICopyHolder();

    // New nodes of every kind (NewNode menu, tool bar, pop-ups); 0 when made.
    int UINewNodeFile();
    int UINewNodeImage();
    int UINewNodeImageScreen();
    int UINewNodeURL();
    int UINewNodeURLDir();
    int UINewNodeURLFile();
    int UINewNodePoser();
    int UINewNodePoserLike();
    // Children of the current node (tree pop-up "New Child").
    int UINewChild();
    int UINewChildURL();
    int UINewChildImage();
    int UINewChildImageScreen();
    int UICloneNodeAndChild();
    int UINewChildDumpText();
    int UINewChildDownloadeed();
    int UINewChildCSV2HTML();

    // Saving a node's content to a file and reading it again.
    int UISaveNodeAs();
    // Asks where the node's content goes and writes it there; 0 when written.
    int saveNodeAs_(MemoNode& node);
    // Writes the node's content to its own file for running it; the path
    // written, or empty text when nothing was written.
    std::string UISaveMemoNode_(MemoNode& node);
    int UIReloadNode();
    int UIReloadMemoHolder();
    int UIReLoadEach();

    // Series of nodes named by dates or numbers (NewNode menu), made in the
    // current holder. The dates make the last node current; the count made.
    int makeYearNodes_(int year);
    int makeMonthNodes_(int year, int month);
    // Monday to Sunday of the week that holds `date`.
    int makeWeekNodes_(const DateTime& date);
    // -9 without a current holder.
    int makeNumberNodes_(int first, int last);
    int UINodesYear();
    int UINodesNextYear();
    int UINodesThisMonth();
    int UINodesNextMonth();
    int UINodesMonth();
    int UINodesThisWeek();
    int UINodesNextWeek();
    int UINodesPrevWeek();
    int UINumberNodes();
    int UINumbers10();
    int UINumbers100();
    int UINumbersPlus10();

    // Node commands.
    // Copies the current node `count` times beside it; the number made.
    int UIClone_(int count);
    // Moves the current node (in a tree with its subtree) into the trash holder.
    int UIDeleteMemoNode();
    int UISetQuery();
    int UIJumpQuery();
    int UIToggleNodeReadOnly();
    int UICopyNodeName();
    // Renames every node of the holder after one of its fields.
    int UIFieldToName();
    int UIFont();
    int UIFontSizeInc();
    int UIFontSizeDec();

    // Mark commands (MarkNode menu).
    int UIMarkAll();
    int UIUnMarkAll();
    int UIReverseMarks();
    // Moves the checked nodes of a check list into the trash holder.
    int UIDeleteMarkNodes();
    int UICopyMarksTo();
    int UIMoveMarksTo();
    // Gathers the marked nodes as a block after the current node.
    int UIMoveMarksToSelf();
    // Writes each checked node's content over the file its Filename names.
    int UISaveMarksEach();

    // Holder order commands ([Holder] "Extra", holder view pop-ups).
    int UISortMemoHolder();
    int UIReverseMemoHolder();
    int UIMoveNodeTop();
    int UIMoveNodeUp();
    int UIMoveNodeDown();
    int UIMoveNodeBottom();
    int UIIndentNode();
    int UIOutdentNode();
    // Tree commands (tree pop-up).
    int UIListLevel0();
    int UIListLevel0Plus();
    int UIExpandAll();
    int UIUnexpand();
    int UIUpdateLevel();
    int UIListChild1();
    int UIListChild();
    int UISortChild1();
    int UIReverseChild1();
    int UINewRootNodeTV();
    int UINewRootNode();
    int UIExtractFilenameChild1();

    // File field commands: file names relative to the holder file, names
    // cut to their file-name part, the Update field from the bullet line.
    int UISetRelativePath();
    int UISetRelativePathHolder();
    int UIExtractFilenameHolder();
    int UISetUpdate();
    int UISetRelativepathChild1();

    // Text tools on the node editor ([MarkWord] and [MemoNode] menus).
    int UIAddHeadSEL_(std::string_view text);
    int UIAddHeadAny();
    int UIAddTailSEL_(std::string_view text);
    int UIAddTailAny();
    int UIDelHeadSEL_(long long count);
    // "DEL Head" > "Any": asks for the count.
    int UIDelHeadAny();
    int UIRemoveEmptyLine();
    int UISortSEL();
    int UIReverseSEL();
    int UISetNumberSEL_(std::string_view format);
    int UISetNumberSELAuto();
    int UIOneLine();
    int UILFSEL();
    int UIAddName();
    int UIAddNamePlus();
    int UIReplaceName();
    int UISortMemo();
    int UINumberMemo();
    int UINoDupMemo();
    int UIMarkDupMemo();
    int UITrimSEL();
    int UITagWordListSEL();
    int UIStatus2SEL();
    int UIClearMemo();
    int UICountWords();

    // Generated text into the node editor's selection ([MarkWord] "List" and others).
    int UINodesList2SEL();
    int UIMarkList2Sel();
    int UIHolderList2Sel();
    // "Name,Value" (false) and "Value,Name" (true): a CSV table of one field.
    int UIMakeListNameValue(bool valueFirst);
    int UIVersion2SEL();
    int UIFileMXA2Sel();
    int UICSV2Sel();
    // The names of the fields the current holder's nodes use.
    int UIFieldsList2Sel();
    // Which holder files exist, and which holder files under the memo
    // file's folder the memo file does not include.
    int UICheckHolder();
    // One node per line of the memo text, in the current holder or a new one.
    int UIMemoNode2NewNodes();
    int UIMemoNode2Holder();

    // Moving or copying the current node (with its subtree in a tree) to a
    // holder the user picks.
    int UIMove1To();
    int UICopy1To();
    // Writes the node editor back and saves the current holder to its own
    // file ("SAVE"); the size written, or a negative code.
    long long UISaveHolderNoMSG();
    long long UISaveHolder();
    // The current node in a node window of its own, or in a read-only one.
    int UIShowOtherWindow();
    int UIShowReadWindow();
    int UIShowVersion();
    int UIShowLog();
    int UIShowAbout();
    // The web browser window (Window "Web Browser"); a web node's address,
    // an image node's file or the memo text in it ([MemoNode] "->Web
    // Browser"); the node editor's selection as a page ([MarkWord]).
    int UIShowFormWB();
    int UIMemo2WB();
    int UISel2WB();
    // show-page: `html` shown from memory in the web browser window; 0, or
    // -1 when the window could not be made.
    int showPage_(std::string_view html);
    // A new web node of `address` (a web view's "NewNode"); 0 when made.
    int newWebNode_(std::string_view address);

    // The tool bar's "UP" and "DOWN": the node before or after the current
    // one in display order becomes current; its position, or -1 at an end.
    int UIChangeCurrentNodePre();
    int UIChangeCurrentNodeNext();
    // Runs the current node (its file, or its script for ".ppa") and keeps
    // the output in a new child node.
    int UINewChildExecuted();
    // Runs a script node's memo text in a runner of the pool, appending its
    // printed output to `lines`; negative when the run failed, and
    // kScriptRunsAlready (nothing run) while PP1 runs, which is asked to stop.
    virtual int runScriptNode_(MemoNode& node, std::vector<std::string>& lines);
    static constexpr int kScriptRunsAlready = -103;

    // Scripts: Eval of the memo text ([MemoNode]) and of the selection
    // ([MarkWord]), the prototype list into the editor ("List" > "PPADefine").
    int UIEvalMemo();
    int UIEvalSEL();
    int UIFunctionList2Sel();
    // PP1, the pool of script runners and the host routines they call.
    ScriptHost& scriptHost();
    // [Form] "Size&&Pos": the window at left 3, top 3 with the preset of
    // that width, fitted to the screen.
    int UISizePos_(int width);
    // [Form] "Comment" and "Field": hide the box, or show it again.
    int UIToggleCommentBox();
    int UIToggleFieldsBox();
    // Menu entries the program carries without a function: "Sort Field" and
    // "Group Tree" (under the guards) and the "Jump" items say so; "Set" and
    // the node's "HTML Calender" and "HTML Page" do nothing.
    int UISortField();
    int UIGroupTree();
    int UINotImplemented();
    int UINothing() { return 0; }

    // Editing dialogs: the field window (Scan "Field"), the holder fields
    // dialog, the selected-nodes editor over every node of the holder, the
    // holder, memo file, node and application properties, and the name
    // dialog of the node view.
    int UIShowScanField();
    int UIShowHolderFields();
    int UIEditAllMemoNode();
    int UIShowHolderPropaty();
    int UIShowPropatyMXA2();
    int UIShowField();
    int UIShowApplicationPropaty();
    int UIRenameNode();
    // The selected-nodes editor with (line text, node) pairs, as the search
    // windows' "Edit Select" hands them over: 0, or -1 when it could not be made.
    int editSelectedNodes_(const std::vector<std::pair<std::string, NodeRef>>& nodes);
    // The name dialog loaded with `node`: true with the name confirmed. A
    // separate node window dates names with "YYYYMMDD".
    bool askNodeName_(MemoNode& node, std::string& name, bool separateWindow);
    // What the editing dialogs ask of this window.
    DialogHost& dialogHost();

    // HTML export: pages of the current holder, the current node and the
    // holder list, and the holder's month calendar, each opened once written.
    int UISaveHolderHTML();
    int UISaveMemoNodeHTML();
    int UISaveHolderListHTML();
    int UISaveHolderHTMLCalendar();

    // Search ("Scan" menu and tool bar, the holder view's pop-ups): the node,
    // holder and holders search windows; New Child Grep ("" asks the grep
    // dialog, a keyword uses the dialog's last settings).
    int UIShowScanMemoNode();
    int UIShowScanMemoHolder();
    int UIShowScanMemoHolders();
    int UINewChildGrep5(std::string_view keyword);
    // What the search windows ask of this window.
    SearchHost& searchHost();

    // Mail: the send window for the current node, the receive window for
    // the current holder (made once and kept, refilled at each showing).
    int UISendMail();
    int UIReciveMail();

    // Shell integration: the desktop opens a path with its program (0, or -1
    // when nothing could be started; the memo file's folder as working
    // folder) or shows a folder; the node's file and link, the holder's,
    // working and program folders, Execute, the calculator and terminal, the
    // manual, the settings file, the file type association and the desktop
    // shortcut ([MemoNode] "Extra", [Holder] "Extra", Window, [Install], Help).
    int ShellExecuteOpen_(std::string_view path);
    int explorePath_(std::string_view path);
    int UIShellExecute_(std::string_view command);
    int UIExplorerFilename();
    int UIExplorerLink();
    int UIOpenFilename();
    int UIOpenLink();
    int UIExplorerMemoHolder();
    int UIOpenCurrentDir();
    int UIOpenExeFileDir();
    int UIOpenCalc();
    int UIOpenCmd();
    int UIShowManualInternet();
    int UIOpenIniFile();
    int UIExecuteMemoNode();
    int UIAssociate();
    int UIUnassociate();
    int UIMakeShortCutLink();
    // The file list window (Window "FileList") and the save-each window
    // (MarkNode with 1, [Holder] "Each" with 0 for "Mark Node Only").
    int UIShowFileList();
    int UIShowFormSaveEach_(int markNodeOnly);

    // A companion window of type W (constructible from its parent widget):
    // made on first use with this window as its owner, and kept until this
    // window goes. Callers give it the font and state they need each time.
    template <class W>
    W* companion() {
        QPointer<QWidget>& slot = companions_[std::type_index(typeid(W))];
        if (!slot) slot = new W(this);
        return static_cast<W*>(slot.data());
    }
    // The companion of type W when it was made, else none.
    template <class W>
    W* existingCompanion() const {
        const auto found = companions_.find(std::type_index(typeid(W)));
        return found == companions_.end() ? nullptr : static_cast<W*>(found->second.data());
    }

    // Replaces the selection of the node editor's active box (or of the
    // memo box) by `lines` and leaves them selected; false without an editor.
    bool writeIntoSelection(const std::vector<std::string>& lines, bool memoBox = false);
    // The same into the active box for the …2SEL routines: the lines joined
    // by line breaks, none after the last.
    bool writeListIntoSelection(const std::vector<std::string>& lines);
    // Shows the current holder in `mode`; the view layer does it.
    virtual void showListMode(ListMode /*mode*/) {}
    // True when the holder view shows a holder.
    virtual bool hasHolderView() const { return false; }

  protected:
    // The tool bar's colour follows the memo file's Color field.
    virtual void refreshColor() {}
    void showEvent(QShowEvent* event) override;
    // The node view shows another node than the current one (see Model2UI).
    bool nodeEditorBehind() const { return nodeEditorBehind_; }

  private:
    // The node view on the current node, or hidden beside its own window.
    void showCurrentNode();
    int showNodeWindow(bool readOnly);
    // Asks to make the folder of `path` when it is missing; false when the
    // user refuses or it cannot be made.
    bool ensureFolderFor(std::string_view path);
    void markEveryHolderChanged();
    // Loads every holder not yet loaded; a missing file leaves it empty.
    void loadEveryHolder();
    // Makes a holder of CSV lines named `name` and shows it; false for none.
    bool holderFromCSV(const std::vector<std::string>& lines, std::string_view name);
    // The holder shown after `index` was deleted: the one now there, or the last.
    MemoHolder* holderAfterDeleting(int index) const;
    // The holder selection window over every holder but `left`, "Current"
    // picking the one at `currentIndex` (none when negative).
    HolderChoice askTargetHolder(const MemoHolder* left, int currentIndex);
    // The holder chosen, or a new one appended for "New Holder"; none when
    // the name names no holder.
    MemoHolder* targetHolderOf(const HolderChoice& choice);
    // A copy or move never writes into a read-only holder: true (and says
    // so) for one.
    bool refusesReadOnlyTarget(const MemoHolder& target);
    // Loads a target holder not read yet, in a busy state of its own.
    void loadForTransfer(MemoHolder& target);
    // Sets every node's mark of the current holder by `mark` (given its old
    // state); the number of nodes.
    int markEveryNode(bool (*mark)(bool wasMarked));
    // Runs a text tool of the node view unless one of `guards` refuses;
    // kFailed without a node view.
    int runTextTool(Guards guards, const std::function<int(TFrameMemoNode&)>& tool);
    // Adds a word asked for (caption `caption`) at the head or tail of each
    // selected line; `end` ("Head", "Tail") names it in the messages.
    int addAskedWord(std::string_view caption, std::string_view end,
                     int (TFrameMemoNode::*add)(std::string_view));
    // Makes a node per non-blank memo line in `holder` (copies of its node
    // "*" when there is one); the first node made.
    MemoNode* nodesFromMemoLines(MemoHolder& holder, const MemoHolder& templates, int& made);
    // Applies `change` to every node of the current holder inside a busy
    // state named `doing` + the node count; the count.
    int changeEveryNode(std::string_view doing, const std::function<void(MemoNode&)>& change);
    // Makes one node per date in the current holder, named by its date format.
    int makeDateNodes(const DateTime& first, int count);
    // The deletion outside and inside a tree; the status text ("" when done).
    std::string deleteOneNode1_();
    std::string deleteTreeNode_();
    // Takes the nodes `leaving` out of `holder` at once, each with its name,
    // in holder order, their own windows closed.
    std::vector<std::pair<std::string, std::unique_ptr<MemoNode>>> takeNodes(
        MemoHolder& holder, const NodeList& leaving);
    // Takes `node` out of its holder and closes its own window; its name.
    std::unique_ptr<MemoNode> takeNode(MemoHolder& holder, MemoNode& node, std::string& name);
    // The trash holder receives `node` under `name`; it is made on first use.
    void moveToTrash_(std::unique_ptr<MemoNode> node, std::string_view name);
    // Grows or shrinks the window font by a tenth (at least one point).
    int stepFontSize(int direction);

    // The save dialog is shared: it keeps the filter last set.
    std::string saveDialogFilter_ =
        "All(*.*)|*.*|Text(*.txt)|*.txt|JPEG(*.jpg)|*.jpg;*.jpe;*.jpeg|MemoHolder(*.mxh)|*.mxh|"
        "MemoFile(*.mxa)|*.mxa|HTML(*.html)|*.html;*.htm|XML(*.xml)|*.xml;*.xsl";

    // A new holder at `position` with one new node, shown.
    int newHolderAt(int position, std::string_view announce, bool namedInDone);
    int moveCurrentHolder(int delta);
    int changeListMode(ListMode mode, std::string_view status);
    int toggleNodeBox(bool comment);
    int stepCurrentNode(bool forward);

    std::string applicationTitle_;
    std::unique_ptr<QPrinter> printer_;
    std::unique_ptr<TStringsPrinter> stringsPrinter_;
    std::unordered_map<std::type_index, QPointer<QWidget>> companions_;
    std::unique_ptr<SearchHost> searchHost_;
    std::shared_ptr<ScriptHost> scriptHost_;
    bool nodeEditorBehind_ = false;
};

}  // namespace zel
