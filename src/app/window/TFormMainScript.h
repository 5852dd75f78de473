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

#include "app/window/TFormMainBaseZEL.h"
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

    // The commands, one member each, as the families of app/commands/ list
    // them (Commands.def).
#define ZEL_COMMAND(name, caption, result, parameters) result name parameters;
#include "app/commands/Commands.def"

    // The memo file written to its own name; the size, or -1.
    long long UISaveMemoFile();
    // The current holder saved to its own file; the size written, or a
    // negative code.
    long long UISaveHolder();
    // Asks where the node's content goes and writes it there; 0 when written.
    int saveNodeAs_(MemoNode& node);
    // Writes the node's content to its own file for running it; the path
    // written, or empty text when nothing was written.
    std::string UISaveMemoNode_(MemoNode& node);

    // Printing. A picture of `window` scaled to one page of the printer; 0,
    // or -1 without a printer.
    int printPicture_(QWidget& window);
    // The printer the print commands use, with the settings last chosen.
    QPrinter& printer();
    // `node` printed in a busy state of its own ("UIPrintMemoNode " + name).
    int printMemoNode_(MemoNode& node);
    // `node` printed as one job; 0, or -1 with the reason in the status bar.
    int printNode_(MemoNode& node);
    // The text printer StringsPrinter1, its settings read on first use.
    TStringsPrinter& stringsPrinter();

    // Series of nodes named by dates or numbers, made in the current holder.
    // The dates make the last node current; the count made.
    int makeYearNodes_(int year);
    int makeMonthNodes_(int year, int month);
    // Monday to Sunday of the week that holds `date`.
    int makeWeekNodes_(const DateTime& date);
    // -9 without a current holder.
    int makeNumberNodes_(int first, int last);

    // show-page: `html` shown from memory in the web browser window.
    int showPage_(std::string_view html);
    // A new web node of `address` (a web view's "NewNode"); 0 when made.
    int newWebNode_(std::string_view address);

    // Runs a script node's memo text in a runner of the pool, appending its
    // printed output to `lines`; negative when the run failed, and
    // kScriptRunsAlready (nothing run) while PP1 runs, which is asked to stop.
    virtual int runScriptNode_(MemoNode& node, std::vector<std::string>& lines);
    static constexpr int kScriptRunsAlready = -103;
    // PP1, the pool of script runners and the host routines they call.
    ScriptHost& scriptHost();

    // The selected-nodes editor with (line text, node) pairs, as the search
    // windows' "Edit Select" hands them over; 0.
    int editSelectedNodes_(const std::vector<std::pair<std::string, NodeRef>>& nodes);
    // The name dialog loaded with `node`: true with the name confirmed. A
    // separate node window dates names with "YYYYMMDD".
    bool askNodeName_(MemoNode& node, std::string& name, bool separateWindow);
    // What the editing dialogs ask of this window.
    DialogHost& dialogHost();
    // What the search windows ask of this window.
    SearchHost& searchHost();

    // The desktop opens a path with its program (0, or -1 when nothing could
    // be started; the memo file's folder as working folder) or shows a folder.
    int ShellExecuteOpen_(std::string_view path);
    int explorePath_(std::string_view path);

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
    virtual bool hasHolderView() const {
        return false;
    }

  protected:
    // The tool bar's colour follows the memo file's Color field.
    virtual void refreshColor() {}
    void showEvent(QShowEvent* event) override;
    // The node view shows another node than the current one (see Model2UI).
    bool nodeEditorBehind() const {
        return nodeEditorBehind_;
    }

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
