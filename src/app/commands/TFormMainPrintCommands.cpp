// Printing node texts through the text printer: the current node ("&Print1",
// [MemoNode] "Print", the node window's "Print"), the print format dialog on
// its memo text ("Print Format"), the marked nodes and every node of the
// holder ("Prints"). Several nodes go into one print job, so printing to PDF
// gives one file with a page (or more) per node.

#include <QDialog>
#include <QPrinter>

#include "app/Prompter.h"
#include "app/window/TFormMainScript.h"
#include "export/PrintNode.h"
#include "export/ui/QtPrintStrings.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "platform/Clock.h"
#include "text/Sjis.h"
#include "text/TextHelpers.h"

namespace zel {

namespace {

// The printer's questions go through the window's Prompter.
class WindowPrintHost final : public QtPrintHost {
  public:
    explicit WindowPrintHost(TFormMainScript& window) : window_(window) {}
    int runModal(QDialog& dialog) override { return window_.prompter().printWindow(dialog); }
    void message(std::string_view text) override { window_.prompter().message(text); }
    bool pageSetup(QPrinter& printer) override { return window_.prompter().pageSetup(printer); }
    // Without a printer the pages go to a PDF file, offered beside the memo file.
    std::string pdfFileName(std::string_view proposal) override {
        std::string initial(proposal);
        if (window_.aFile)
            initial = std::string(folderOf(window_.aFile->getMemoFilePath_())) + initial;
        return window_.prompter().saveFileName("PDF(*.pdf)|*.pdf", initial);
    }
    QWidget* parentWidget() const override { return &window_; }

  private:
    TFormMainScript& window_;
};

PrintSettingsFiles settingsFiles(const TFormMainScript& window) {
    return printSettingsFiles("zelprint.ini", window.exeDirectory());
}

// Reads the stored settings into `printer`; a damaged store changes nothing
// and is logged once.
void loadSettings(TFormMainScript& window, TStringsPrinter& printer) {
    const PrintSettingsFiles files = settingsFiles(window);
    const StoreLoad loaded = loadPrintSettings_(printer, files);
    if (loaded == StoreLoad::Invalid || loaded == StoreLoad::Unreadable)
        window.addLog_("The print settings in " + files.readPath() +
                       " could not be read; the settings stay as they were.");
}

std::string holderNameOf(const MemoNode& node) {
    const auto* holder = dynamic_cast<const MemoHolder*>(node.owner);
    return holder ? holder->getName_() : std::string();
}

// Prints `node` into `job` with the settings read again; what was not
// printed says why in the status bar.
PrintReport printNodeInto(TFormMainScript& window, MemoNode& node, QtPrintJob& job,
                          QtPrintHost& host) {
    TStringsPrinter& printer = window.stringsPrinter();
    loadSettings(window, printer);
    const NodePrint print = nodePrintOf(node, holderNameOf(node), clockNow());
    const QImage picture = print.kind == NodePrintKind::Image ? nodePicture(node) : QImage();
    PrintReport report = printNodePrint_(print, picture, printer, job, host);
    if (!report.message.empty()) window.messageDoing_(report.message);
    return report;
}

// Prints `nodes` in one job in a busy state named `doing`, telling i/n
// before each and polling Break between them. A node with nothing to print
// is passed over; a cancel, a text area too small or a failed job end the
// run. The count printed, or -1.
int printNodes(TFormMainScript& window, const NodeList& nodes, const std::string& doing,
               const std::string& breakHead, const std::string& doneText) {
    const std::string count = std::to_string(nodes.size());
    CommandScope scope(window, doing);
    WindowPrintHost host(window);
    QtPrintJob job(window.printer(), host);
    std::string stop;
    for (std::size_t i = 0; i < nodes.size() && stop.empty(); ++i) {
        if (window.isBreakRequested()) {
            if (!job.finish()) {
                scope.endWith(job.failure());
                return kFailed;
            }
            scope.endWith(breakHead + std::to_string(i) + "/" + count);
            return static_cast<int>(i);
        }
        window.messageDoing_(std::to_string(i + 1) + "/" + count);
        const PrintReport report = printNodeInto(window, *nodes[i].second, job, host);
        if (report.outcome == PrintOutcome::Cancelled) stop = "Cancel: " + doing;
        if (report.outcome == PrintOutcome::TooSmall || report.outcome == PrintOutcome::Failed)
            stop = report.message;
    }
    if (!job.finish() && stop.empty()) stop = job.failure();
    if (!stop.empty()) {
        scope.endWith(stop);
        return kFailed;
    }
    scope.endWith(doneText);
    return static_cast<int>(nodes.size());
}

}  // namespace

TStringsPrinter& TFormMainScript::stringsPrinter() {
    if (!stringsPrinter_) {
        stringsPrinter_ = std::make_unique<TStringsPrinter>();
        loadSettings(*this, *stringsPrinter_);
    }
    return *stringsPrinter_;
}

int TFormMainScript::printNode_(MemoNode& node) {
    WindowPrintHost host(*this);
    QtPrintJob job(printer(), host);
    const bool printed = printNodeInto(*this, node, job, host).ok();
    if (!job.finish()) {
        messageDoing_(job.failure());
        return kFailed;
    }
    return printed ? 0 : kFailed;
}

int TFormMainScript::printMemoNode_(MemoNode& node) {
    CommandScope scope(*this, "UIPrintMemoNode " + node.getName_());
    const int result = printNode_(node);
    if (result != 0) scope.endWith(statusMessage());
    return result;
}

int TFormMainScript::UIPrintMemoNode() {
    if (refuse(Busy)) return kFailed;
    UI2Model();
    MemoNode* node = getCurMemoNode();
    if (!node) return kNoNode;
    return printMemoNode_(*node);
}

int TFormMainScript::UIPrintFormat() {
    if (refuse(Busy)) return kFailed;
    UI2Model();
    MemoNode* node = getCurMemoNode();
    if (!node) return kNoNode;
    if (lowerText(node->getContentType_()).find("text") == std::string::npos) {
        messageDoing_("Could not open Print Dialog. Because you select text Memo Node! ");
        return kFailed;
    }
    CommandScope scope(*this, "print1");
    TStringsPrinter& text = stringsPrinter();
    text.settings.setFileName(printTitle(holderNameOf(*node), node->getName_()));
    WindowPrintHost host(*this);
    const Lines memo = node->memo;
    if (editPrintSettings_(text, printer(), &memo, host)) {
        const IoResult saved = savePrintSettings_(text, settingsFiles(*this));
        if (!saved) {
            scope.endWith("Failure: print settings not saved. " + saved.message);
            return kFailed;
        }
    }
    return 0;
}

int TFormMainScript::UIPrintsMarkNode() {
    if (refuse(Busy)) return kFailed;
    MemoHolder* holder = getCurHolder();
    if (!holder) return kNoHolder;
    UI2Model();
    NodeList marked;
    holder->collectMarked_(marked);
    if (marked.empty()) {
        messageDoing_("Count of Node marked is 0");
        return 0;
    }
    return printNodes(*this, marked, "Prints MarkNode", "Break: Prints MarkNode ", "");
}

int TFormMainScript::UIPrintsHolder() {
    if (refuse(Busy)) return kFailed;
    MemoHolder* holder = getCurHolder();
    if (!holder) return kNoHolder;
    UI2Model();
    NodeList nodes;
    holder->setNodeList_(nodes);
    const std::string count = std::to_string(nodes.size());
    if (prompter().ask(Tone::Confirmation, "Shall I print " + count + " Pages ?.",
                       ButtonOk | ButtonCancel) != Answer::Ok) {
        messageDoing_("Cannel: Holder prints.");
        return 0;
    }
    return printNodes(*this, nodes, "Prints Holder", "Break: Holder Prints ",
                      "Done: Holder prints " + count + " Pages.");
}

}  // namespace zel
