// HTML export from the window: the current holder's page, the current node's
// page, the holder list and the month calendar, written by the export engine
// and opened with the desktop. A page that cannot be written ends the
// command with "Failure:" (or the list page's "ERROR") and opens nothing.

#include <functional>

#include "app/commands/CommandNames.h"
#include "app/window/TFormMainScript.h"
#include "export/CalendarPages.h"
#include "export/HtmlOutput.h"
#include "export/HtmlPages.h"
#include "model/HolderFile.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "platform/Clock.h"
#include "platform/Environment.h"
#include "platform/Opener.h"
#include "text/TextHelpers.h"
#include "views/MemoHolderUI.h"
#include "views/MemoNodeUI.h"

namespace zel {

namespace {

constexpr const char* kPageFilter = "HTML(*.html)|*.html;*.htm|All(*.*)|*.*";

// The holder's nodes as its view shows them, once: display order, and the
// tree level of each line while the holder is shown as a tree.
PageNodes shownNodes(const MemoHolder& holder) {
    NodeList list;
    holder.setNodeList_(list);
    const auto* shown = dynamic_cast<const MemoHolderUI*>(&holder);
    const bool tree = shown && shown->listMode() == ListMode::Tree;
    PageNodes nodes;
    nodes.reserve(list.size());
    for (auto& [name, node] : list) {
        const auto* line = tree ? dynamic_cast<const MemoNodeUI*>(node) : nullptr;
        nodes.push_back({node, std::move(name), line ? line->level_() : -1});
    }
    return nodes;
}

using PageScope = CommandScope<TFormMainScript>;

// The node views written back, and the current holder for its page; none:
// the command ends with "Exit:".
MemoHolder* holderForPage(TFormMainScript& window, PageScope& scope) {
    window.UI2Model();
    MemoHolder* holder = window.getCurHolder();
    if (!holder) scope.endWith("Exit: Current MemoHolder is nil.");
    return holder;
}

// Writes the page, then hands it to the desktop. `failure` is the status of
// a page that could not be written (empty: the reason it could not).
int writeAndOpen(TFormMainScript& window, PageScope& scope, const std::string& path,
                 const std::vector<std::string>& dataFiles,
                 const std::function<void(PageSink&)>& produce, std::string_view done,
                 std::string_view failure = {}) {
    window.messageDoing_("Saving " + path);
    const IoResult saved = savePage(path, dataFiles, produce);
    if (!saved) {
        const std::string reason = pageFailureText(path, saved);
        window.addLog_(reason);
        scope.endWith(failure.empty() ? reason : std::string(failure));
        return kFailed;
    }
    window.messageDoing_("Opening " + path);
    openOnDesktop(path, currentDirectory());
    scope.endWith(done.empty() ? "Done: Make & Save & Open HTML File " + path : std::string(done));
    return 0;
}

}  // namespace

int TFormMainScript::UISaveHolderHTML() {
    if (refuse(Busy)) return kFailed;
    PageScope scope(*this, commands::UISaveHolderHTML);
    MemoHolder* holder = holderForPage(*this, scope);
    if (!holder) return 0;
    const PageNodes nodes = shownNodes(*holder);
    const DateTime now = clockNow();
    return writeAndOpen(*this, scope, holderPagePath(holderFilePath_(*holder)),
                        dataFilesOf(*holder),
                        [&](PageSink& sink) { writeHolderPage(sink, *holder, nodes, now); }, {});
}

int TFormMainScript::UISaveMemoNodeHTML() {
    if (refuse(Busy)) return kFailed;
    PageScope scope(*this, commands::UISaveMemoNodeHTML);
    UI2Model();
    MemoNode* node = getCurMemoNode();
    MemoHolder* holder = node ? dynamic_cast<MemoHolder*>(node->enclosingRecord_()) : nullptr;
    if (!node || !holder) {
        scope.endWith("Exit: Current MemoNode is nul.");
        return 0;
    }
    // The node names the page it offers, never the folder: that is the
    // holder's, unless the user picks another in the dialog.
    const std::string holderFile = holderFilePath_(*holder);
    const std::string path =
        prompter().saveFileName(kPageFilter, nodePagePath(folderOf(holderFile), *node));
    if (path.empty()) {
        scope.endWith("Cancel: UISaveMemoNodeHTML");
        return 0;
    }
    // Taken after the question: the dialog lets other events through.
    const PageNodes nodes = shownNodes(*holder);
    const PageNode* entry = nullptr;
    for (const PageNode& listed : nodes)
        if (listed.node == node) entry = &listed;
    if (!entry) {
        scope.endWith("Exit: Current MemoNode is nul.");
        return 0;
    }
    const DateTime now = clockNow();
    return writeAndOpen(*this, scope, path, dataFilesOf(*holder),
                        [&](PageSink& sink) { writeNodePage(sink, *holder, nodes, *entry, now); },
                        {});
}

int TFormMainScript::UISaveHolderListHTML() {
    if (refuse(Busy) || aFile->countOfHolders_() == 0) return kFailed;
    UI2Model();
    PageScope scope(*this, commands::UISaveHolderListHTML);
    const std::string path = holderListPagePath(*aFile, currentDirectory());
    const std::string done = "Done: " + formatDateTime("yyyy/mm/dd hh:nn:ss:zzz", clockNow());
    return writeAndOpen(
        *this, scope, path, dataFilesOf(*aFile),
        [&](PageSink& sink) { writeHolderListPage(sink, *aFile); }, done,
        "ERROR UISaveHolderListHTML");
}

int TFormMainScript::UISaveHolderHTMLCalendar() {
    if (refuse(Busy)) return kFailed;
    const CalendarChoice choice = prompter().htmlCalendar();
    if (choice.kind != CalendarChoice::Kind::Chosen) {
        messageDoing_("Cancel");
        return kCalendarCancelled;
    }
    PageScope scope(*this, "UISaveHolderHTML Calender");
    MemoHolder* holder = holderForPage(*this, scope);
    if (!holder) return 0;
    const PageNodes nodes = shownNodes(*holder);
    const DateTime now = clockNow();
    const std::string path = calendarPagePath(holderFilePath_(*holder), choice.date, choice.layout);
    return writeAndOpen(*this, scope, path, dataFilesOf(*holder),
                        [&](PageSink& sink) {
                            if (choice.layout == CalendarLayout::Week)
                                writeListPage(sink, *holder, nodes, now);
                            else
                                writeMonthPage(sink, *holder, nodes, choice.date, now);
                        },
                        {});
}

}  // namespace zel
