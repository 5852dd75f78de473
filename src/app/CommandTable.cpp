#include "app/CommandTable.h"

#include <algorithm>
#include <concepts>
#include <limits>
#include <new>
#include <string>
#include <unordered_map>

#include "app/TFormMainScript.h"
#include "text/TextHelpers.h"

namespace zel {

namespace {

using Window = TFormMainScript;

// Sizes beyond the range of a command's result read as the largest one.
int toResult(long long value) {
    return static_cast<int>(std::clamp<long long>(value, std::numeric_limits<int>::min(),
                                                  std::numeric_limits<int>::max()));
}

long long numberOf(std::string_view argument) {
    return readInteger(argument).value_or(0);
}

// The entry of a built command; the argument kind follows the member's signature.
template <class R, class C>
requires std::derived_from<Window, C> CommandEntry command(std::string_view name,
                                                           std::string_view caption,
                                                           R (C::*member)()) {
    return {name, caption, CommandArgument::None,
            [member](Window& w, std::string_view) { return toResult((w.*member)()); }};
}

template <class R, class C>
requires std::derived_from<Window, C> CommandEntry command(std::string_view name,
                                                           std::string_view caption,
                                                           R (C::*member)(std::string_view)) {
    return {name, caption, CommandArgument::Text,
            [member](Window& w, std::string_view text) { return toResult((w.*member)(text)); }};
}

template <class R, class C, std::integral N>
requires std::derived_from<Window, C> CommandEntry command(std::string_view name,
                                                           std::string_view caption,
                                                           R (C::*member)(N)) {
    return {name, caption, CommandArgument::Number, [member](Window& w, std::string_view text) {
                const long long value = numberOf(text);
                const N bounded = static_cast<N>(std::clamp<long long>(
                    value, std::numeric_limits<N>::min(), std::numeric_limits<N>::max()));
                return toResult((w.*member)(bounded));
            }};
}

}  // namespace

const std::vector<CommandEntry>& commandTable() {
    static const std::vector<CommandEntry> table = {
        // Busy protocol and exit.
        command("Break", "Break", &Window::Break),
        command("Done", "Done", &Window::Done),
        command("UITerminate_", "Exit", &Window::UITerminate_),
        command("UIExit", "&Exit", &Window::UIExit),
        command("UIExitAllYes", "Exit(All Yes)", &Window::UIExitAllYes),
        command("UIShowVersion", "Version", &Window::UIShowVersion),
        // Memo file ("&File").
        command("UIOpenMXA", "&Open File", &Window::UIOpenMXA),
        command("UIOpenURL", "Open URL", &Window::UIOpenURL),
        command("UINewFile", "New", &Window::UINewFile),
        command("UISaveFileWithMSG", "&Save(Message)", &Window::UISaveFileWithMSG),
        command("UISaveFileWithoutMSG", "Save(No Message)", &Window::UISaveFileWithoutMSG),
        command("saveAsMemoFile_", "Save &As MXA", &Window::saveAsMemoFile_),
        command("UISaveAllHolders", "Save All Holders", &Window::UISaveAllHolders),
        command("UIShowPropatyMXA2", "Propaty", &Window::UIShowPropatyMXA2),
        command("UIShowHolders", "Holders Propaty", &Window::UIShowHolders),
        command("UIExplorerMemoFile", "Explorer", &Window::UIExplorerMemoFile),
        command("UIPrinterSetup", "Printer Setup", &Window::UIPrinterSetup),
        command("UIPrintFormat", "Print Format", &Window::UIPrintFormat),
        command("UIPrintMemoNode", "&Print1", &Window::UIPrintMemoNode),
        command("UIHardcopy", "Hardcopy", &Window::UIHardcopy),
        // Holders ("[Holder]", the tab pop-up, the tool bar).
        command("UIOpenHolder", "&Open", &Window::UIOpenHolder),
        command("UIOpenCSV", "Open CSV", &Window::UIOpenCSV),
        command("UICSV2Holder", "CSV->Holder", &Window::UICSV2Holder),
        command("UINewHolder", "New", &Window::UINewHolder),
        command("UINewHolderLeft", "New Left", &Window::UINewHolderLeft),
        command("UINewHolderRight", "New Right", &Window::UINewHolderRight),
        command("UIMoveHolderRight", "->", &Window::UIMoveHolderRight),
        command("UIMoveHolderLeft", "<-", &Window::UIMoveHolderLeft),
        command("UISaveHolderWithMSG", "&Save(Message)", &Window::UISaveHolderWithMSG),
        command("UISaveHolderNoMSG", "Save(NoMessage)", &Window::UISaveHolderNoMSG),
        command("saveAsHolder_", "MXH(.mxh)", &Window::saveAsHolder_),
        command("UIShowHolderPropaty", "&Propaty", &Window::UIShowHolderPropaty),
        command("UIRenameHolder", "Rename", &Window::UIRenameHolder),
        command("UIRenameHolderOther", "Rename other", &Window::UIRenameHolderOther),
        command("UIDeleteHolder", "Delete", &Window::UIDeleteHolder),
        command("UICopyHolder", "Copy", &Window::UICopyHolder),
        command("UIExplorerMemoHolder", "Explorer", &Window::UIExplorerMemoHolder),
        command("UIEditAllMemoNode", "Edit All MemoNode", &Window::UIEditAllMemoNode),
        command("UISortMemoHolder", "Sort Name", &Window::UISortMemoHolder),
        command("UISortField", "Sort Field", &Window::UISortField),
        command("UIReverseMemoHolder", "Reverse", &Window::UIReverseMemoHolder),
        command("UIGroupTree", "Group Tree", &Window::UIGroupTree),
        command("UIFieldToName", "Field->Name", &Window::UIFieldToName),
        command("UISetUpdate", "Set Update", &Window::UISetUpdate),
        command("UIReloadMemoHolder", "ReLoad", &Window::UIReloadMemoHolder),
        command("UISaveHolderHTML", "HTML", &Window::UISaveHolderHTML),
        command("UISaveHolderListHTML", "HTML List", &Window::UISaveHolderListHTML),
        command("UISaveHolderHTMLCalendar", "HTML Calendar", &Window::UISaveHolderHTMLCalendar),
        command("UIReciveMail", "Recive Mail", &Window::UIReciveMail),
        command("UISetRelativePathHolder", "Set Relative Path", &Window::UISetRelativePathHolder),
        command("UIExtractFilenameHolder", "ExtractFilename", &Window::UIExtractFilenameHolder),
        command("UIReLoadEach", "ReLoad Each", &Window::UIReLoadEach),
        command("UIShowFormSaveEach_", "Show FormSaveEach", &Window::UIShowFormSaveEach_),
        command("UIPrintsHolder", "Prints", &Window::UIPrintsHolder),
        command("UIShowHolderFields", "Fields", &Window::UIShowHolderFields),
        command("UIChangeCheckListBox", "CheckListBox", &Window::UIChangeCheckListBox),
        command("UIChangeTreeView", "TreeView", &Window::UIChangeTreeView),
        command("UIChangeListView", "ListView", &Window::UIChangeListView),
        // Marks ("MarkNode").
        command("UIMarkAll", "Mark ALL", &Window::UIMarkAll),
        command("UIUnMarkAll",
                "UnMark\x81\x40"
                "ALL",
                &Window::UIUnMarkAll),
        command("UIReverseMarks", "Reverse", &Window::UIReverseMarks),
        command("UIDeleteMarkNodes", "Delete", &Window::UIDeleteMarkNodes),
        command("UICopyMarksTo", "Copy To", &Window::UICopyMarksTo),
        command("UIMoveMarksTo", "Move To", &Window::UIMoveMarksTo),
        command("UIMoveMarksToSelf", "Move To Self", &Window::UIMoveMarksToSelf),
        command("UIPrintsMarkNode", "Prints", &Window::UIPrintsMarkNode),
        command("UISaveMarksEach", "Save Each Over", &Window::UISaveMarksEach),
        // The current node ("[MemoNode]").
        command("UINewNode", "New", &Window::UINewNode),
        command("UIRenameNode", "Rename", &Window::UIRenameNode),
        command("UIClone_", "Clone", &Window::UIClone_),
        command("UICopy1To", "Copy1To", &Window::UICopy1To),
        command("UIMove1To", "Move1To", &Window::UIMove1To),
        command("UIDeleteMemoNode", "Delete", &Window::UIDeleteMemoNode),
        command("UISaveNodeAs", "Save As", &Window::UISaveNodeAs),
        command("UIExplorerFilename", "Explorer Filename", &Window::UIExplorerFilename),
        command("UIExplorerLink", "Explorer Link", &Window::UIExplorerLink),
        command("UIOpenFilename", "Open Filename", &Window::UIOpenFilename),
        command("UIOpenLink", "Open Link", &Window::UIOpenLink),
        command("UIShowField", "Field2", &Window::UIShowField),
        command("UISaveMemoNodeHTML", "HTML", &Window::UISaveMemoNodeHTML),
        command("UISendMail", "Send Mail", &Window::UISendMail),
        command("UISetRelativePath", "Set Relative Path", &Window::UISetRelativePath),
        command("UIReloadNode", "ReLoad", &Window::UIReloadNode),
        command("UIExecuteMemoNode", "Execute", &Window::UIExecuteMemoNode),
        command("UIShowScanMemoNode", "Scan", &Window::UIShowScanMemoNode),
        command("UIShowReadWindow", "Read Window", &Window::UIShowReadWindow),
        command("UIShowOtherWindow", "Other Window", &Window::UIShowOtherWindow),
        command("UIToggleNodeReadOnly", "ReadOnly", &Window::UIToggleNodeReadOnly),
        command("UIClearMemo", "Clear", &Window::UIClearMemo),
        command("UICountWords", "Count Word", &Window::UICountWords),
        command("UISortMemo", "Sort", &Window::UISortMemo),
        command("UINumberMemo", "Number", &Window::UINumberMemo),
        command("UINoDupMemo", "NoDup", &Window::UINoDupMemo),
        command("UIMarkDupMemo", "Mark Dup", &Window::UIMarkDupMemo),
        command("UIMemo2WB", "->Web Browser", &Window::UIMemo2WB),
        command("UIEvalMemo", "Eval", &Window::UIEvalMemo),
        command("UINothing", "", &Window::UINothing),
        // New nodes ("NewNode", the tool bar, the pop-ups).
        command("UINewNodeFile", "File", &Window::UINewNodeFile),
        command("UINewNodeImage", "Image", &Window::UINewNodeImage),
        command("UINewNodeImageScreen", "Image Screen", &Window::UINewNodeImageScreen),
        command("UINewNodeURL", "URL", &Window::UINewNodeURL),
        command("UINewNodeURLDir", "URL(Directory)", &Window::UINewNodeURLDir),
        command("UINewNodeURLFile", "URL(File)", &Window::UINewNodeURLFile),
        command("UINewNodePoser", "Poser", &Window::UINewNodePoser),
        command("UINewNodePoserLike", "PoserLike", &Window::UINewNodePoserLike),
        command("UIMemoNode2NewNodes", "Memo->Current Holder", &Window::UIMemoNode2NewNodes),
        command("UIMemoNode2Holder", "Memo->New Holder", &Window::UIMemoNode2Holder),
        command("UINumbersPlus10", "+10", &Window::UINumbersPlus10),
        command("UINumbers10", "001-010", &Window::UINumbers10),
        command("UINumbers100", "001-100", &Window::UINumbers100),
        command("UINumberNodes", "Numbers", &Window::UINumberNodes),
        command("UINodesThisWeek", "This Week", &Window::UINodesThisWeek),
        command("UINodesNextWeek", "Next Week", &Window::UINodesNextWeek),
        command("UINodesPrevWeek", "Prev Week", &Window::UINodesPrevWeek),
        command("UINodesThisMonth", "This Month", &Window::UINodesThisMonth),
        command("UINodesNextMonth", "Next Month", &Window::UINodesNextMonth),
        command("UINodesMonth", "Any Month", &Window::UINodesMonth),
        command("UINodesYear", "Any Year", &Window::UINodesYear),
        command("UINodesNextYear", "Next Year", &Window::UINodesNextYear),
        // Text tools and generated text ("[MarkWord]").
        command("UITrimSEL", "trim", &Window::UITrimSEL),
        command("UIAddHeadSEL_", "Add Head", &Window::UIAddHeadSEL_),
        command("UIAddHeadAny", "(Anything)", &Window::UIAddHeadAny),
        command("UIAddTailSEL_", "Add Tail", &Window::UIAddTailSEL_),
        command("UIAddTailAny", "(Anything)", &Window::UIAddTailAny),
        command("UIDelHeadSEL_", "DEL Head", &Window::UIDelHeadSEL_),
        command("UIDelHeadAny", "Any", &Window::UIDelHeadAny),
        command("UILFSEL", ",LF", &Window::UILFSEL),
        command("UIOneLine", "OneLine", &Window::UIOneLine),
        command("UISortSEL", "Sort", &Window::UISortSEL),
        command("UIReverseSEL", "Reverse", &Window::UIReverseSEL),
        command("UISetNumberSELAuto", "Auto", &Window::UISetNumberSELAuto),
        command("UISetNumberSEL_", "Set Number", &Window::UISetNumberSEL_),
        command("UIRemoveEmptyLine", "Remove Empty Line", &Window::UIRemoveEmptyLine),
        command("UIAddName", "Add Name", &Window::UIAddName),
        command("UIAddNamePlus", "Add Name+", &Window::UIAddNamePlus),
        command("UIReplaceName", "Replace Name", &Window::UIReplaceName),
        command("UIStatus2SEL", "StatusBar", &Window::UIStatus2SEL),
        command("UINodesList2SEL", "All Nodes ", &Window::UINodesList2SEL),
        command("UIMarkList2Sel", "Mark Nodes", &Window::UIMarkList2Sel),
        command("UIHolderList2Sel", "Holders", &Window::UIHolderList2Sel),
        command("UIFieldsList2Sel", "Fields", &Window::UIFieldsList2Sel),
        command("UIFunctionList2Sel", "PPADefine", &Window::UIFunctionList2Sel),
        command("UIMakeListNameValue", "Name,Value", &Window::UIMakeListNameValue),
        command("UIVersion2SEL", "Version", &Window::UIVersion2SEL),
        command("UIFileMXA2Sel", "File(MXA)", &Window::UIFileMXA2Sel),
        command("UICSV2Sel", "CSV", &Window::UICSV2Sel),
        command("UICheckHolder", "Check Holder", &Window::UICheckHolder),
        command("UITagWordListSEL", "TAGWordList", &Window::UITagWordListSEL),
        command("UISel2WB", "->Web Browser", &Window::UISel2WB),
        command("UIEvalSEL", "Eval", &Window::UIEvalSEL),
        // "Jump" and the other placeholders of the menus.
        command("UINotImplemented", "", &Window::UINotImplemented),
        // "Scan".
        command("UIShowScanMemoHolders", "Holders", &Window::UIShowScanMemoHolders),
        command("UIShowScanMemoHolder", "Holder", &Window::UIShowScanMemoHolder),
        command("UIShowScanField", "Field", &Window::UIShowScanField),
        // The window ("[Form]", "Window", "[Install]", "&Help").
        command("UIShowApplicationPropaty", "Propaty", &Window::UIShowApplicationPropaty),
        command("UISizePos_", "Size&&Pos", &Window::UISizePos_),
        command("UIFont", "Font", &Window::UIFont),
        command("UIFontSizeInc", "FontSize+", &Window::UIFontSizeInc),
        command("UIFontSizeDec", "FontSize-", &Window::UIFontSizeDec),
        command("UIToggleCommentBox", "Comment", &Window::UIToggleCommentBox),
        command("UIToggleFieldsBox", "Field", &Window::UIToggleFieldsBox),
        command("UIOpenCalc", "Calc", &Window::UIOpenCalc),
        command("UIOpenCmd", "cmd.exe", &Window::UIOpenCmd),
        command("UIShowLog", "Log", &Window::UIShowLog),
        command("UIShowFileList", "FileList", &Window::UIShowFileList),
        command("UIShowFormWB", "Web Browser", &Window::UIShowFormWB),
        command("UIAssociate", "Associate \"mxa\", \"maz\"", &Window::UIAssociate),
        command("UIUnassociate", "Unassociate", &Window::UIUnassociate),
        command("UIMakeShortCutLink", "Make ShortCutLink", &Window::UIMakeShortCutLink),
        command("UIOpenIniFile", "Open ini file", &Window::UIOpenIniFile),
        command("UIShowManualInternet", "Manual(Internet J)", &Window::UIShowManualInternet),
        command("UIShowAbout", "About", &Window::UIShowAbout),
        command("UIOpenCurrentDir", "CurrentDir", &Window::UIOpenCurrentDir),
        command("UIOpenExeFileDir", "ExeFileDir", &Window::UIOpenExeFileDir),
        // Scripts: the desktop opens a path or an address.
        command("UIShellExecute_", "ShellExecute", &Window::UIShellExecute_),
        // The tool bar's "UP" and "DOWN".
        command("UIChangeCurrentNodePre", "UP", &Window::UIChangeCurrentNodePre),
        command("UIChangeCurrentNodeNext", "DOWN", &Window::UIChangeCurrentNodeNext),
        // The holder view's pop-ups.
        command("UISetQuery", "Set Query", &Window::UISetQuery),
        command("UIJumpQuery", "Jump Query", &Window::UIJumpQuery),
        command("UICopyNodeName", "Copy Name", &Window::UICopyNodeName),
        command("UINewChild", "Text", &Window::UINewChild),
        command("UINewChildURL", "URL", &Window::UINewChildURL),
        command("UINewChildImage", "Image", &Window::UINewChildImage),
        command("UINewChildImageScreen", "Screen", &Window::UINewChildImageScreen),
        command("UICloneNodeAndChild", "Clone", &Window::UICloneNodeAndChild),
        command("UINewChildDumpText", "Bin->Text", &Window::UINewChildDumpText),
        command("UINewChildDownloadeed", "URL->Download", &Window::UINewChildDownloadeed),
        command("UINewChildCSV2HTML", "CSV->HTML", &Window::UINewChildCSV2HTML),
        command("UINewChildExecuted", "Execute", &Window::UINewChildExecuted),
        command("UINewChildGrep5", "Grep", &Window::UINewChildGrep5),
        command("UIMoveNodeTop", "Top", &Window::UIMoveNodeTop),
        command("UIMoveNodeUp", "UP", &Window::UIMoveNodeUp),
        command("UIMoveNodeDown", "Down", &Window::UIMoveNodeDown),
        command("UIMoveNodeBottom", "Bottom", &Window::UIMoveNodeBottom),
        command("UIIndentNode", "->", &Window::UIIndentNode),
        command("UIOutdentNode", "<-", &Window::UIOutdentNode),
        command("UIListLevel0", "List Level=0", &Window::UIListLevel0),
        command("UIListLevel0Plus", "List Level=0+", &Window::UIListLevel0Plus),
        command("UIExpandAll", "Expand All", &Window::UIExpandAll),
        command("UIUnexpand", "Unexpand", &Window::UIUnexpand),
        command("UIUpdateLevel", "Update Level", &Window::UIUpdateLevel),
        command("UIListChild1", "List", &Window::UIListChild1),
        command("UIListChild", "List", &Window::UIListChild),
        command("UISortChild1", "Sort", &Window::UISortChild1),
        command("UIReverseChild1", "Reverse", &Window::UIReverseChild1),
        command("UISetRelativepathChild1", "Set Relative Path", &Window::UISetRelativepathChild1),
        command("UIExtractFilenameChild1", "ExtractFilename", &Window::UIExtractFilenameChild1),
        command("UINewRootNodeTV", "New RootNode", &Window::UINewRootNodeTV),
        command("UINewRootNode", "New RootNode", &Window::UINewRootNode),
    };
    return table;
}

const CommandEntry* findCommand(std::string_view name) {
    static const auto index = [] {
        std::unordered_map<std::string_view, const CommandEntry*> byName;
        for (const CommandEntry& entry : commandTable()) byName.emplace(entry.name, &entry);
        return byName;
    }();
    const auto found = index.find(name);
    return found == index.end() ? nullptr : found->second;
}

bool isCommandBuilt(std::string_view name) {
    const CommandEntry* entry = findCommand(name);
    return entry && entry->built();
}

int runCommand(TFormMainScript& window, std::string_view name, std::string_view argument) {
    const CommandEntry* entry = findCommand(name);
    if (!entry) return kUnknownCommand;
    if (!entry->built()) {
        window.notImplemented_(name);
        return kCommandNotBuilt;
    }
    if (entry->argument == CommandArgument::Number && !readInteger(argument)) {
        window.messageDoing_("ERROR: " + std::string(name) + " needs a number, not \"" +
                             std::string(argument) + "\"");
        return kBadCommandArgument;
    }
    try {
        return entry->run(window, argument);
    } catch (const std::bad_alloc&) {
        // What the command was building has gone with its stack, which gave
        // the memory back; the window goes on.
        window.addLogDT_("ERROR: not enough memory in " + std::string(name));
        window.doneDoing_("ERROR: not enough memory");
        return kNotEnoughMemory;
    }
}

}  // namespace zel
