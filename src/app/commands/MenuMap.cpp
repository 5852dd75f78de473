#include "app/commands/MenuMap.h"

#include "app/commands/CommandNames.h"
#include "app/commands/CommandTable.h"

namespace zel {

namespace {

using K = MenuItemKind;
using namespace commands;

// Shift_JIS marks the "Add Head" items pass.
#define ZEL_BLACK_CIRCLE "\x81\x9C"
#define ZEL_BULLSEYE "\x81\x9D"
#define ZEL_WHITE_CIRCLE "\x81\x9B"

MenuItem separator(std::string_view menu) {
    return {menu, {}, {}, K::Separator};
}

// An item whose place names it otherwise than the command lists do.
MenuItem labelled(std::string_view menu, std::string_view label, std::string_view command,
                  std::string_view then = {}) {
    return {menu, command, {}, K::Item, then, label};
}

ToolBarItem toolSwitch(std::string_view label) {
    return {{}, {}, false, label};
}

}  // namespace

const std::vector<MenuItem>& mainMenuMap() {
    static const std::vector<MenuItem> items = {
        {"&File", UIOpenMXA},
        {"&File", UIOpenURL},
        {"&File", UINewFile},
        {"&File", UISaveFileWithMSG},
        {"&File", UISaveFileWithoutMSG},
        {"&File", saveAsMemoFile_, ".mxa"},
        {"&File", saveAsMemoFile_, ".maz"},
        separator("&File"),
        {"&File", UISaveFileWithoutMSG, {}, K::Item, UISaveAllHolders},
        {"&File", UIShowPropatyMXA2},
        {"&File", UIShowHolders},
        {"&File", UIExplorerMemoFile},
        separator("&File"),
        {"&File", UIPrinterSetup},
        {"&File", UIPrintFormat},
        {"&File", UIPrintMemoNode},
        {"&File", UIHardcopy},
        separator("&File"),
        {"&File", UIExit},
        {"&File", UIExitAllYes},
        separator("&File"),
        {"&File", UISaveEverything},

        {"[Holder]", UIOpenHolder},
        {"[Holder]", UIOpenCSV},
        {"[Holder]", UINewHolder},
        {"[Holder]", UISaveHolderWithMSG},
        {"[Holder]", UISaveHolderNoMSG},
        {"[Holder]/SaveAs Force", saveAsHolder_, ".mxh"},
        {"[Holder]/SaveAs Force", saveAsHolder_, ".mhz"},
        separator("[Holder]"),
        {"[Holder]/Extra", UIExplorerMemoHolder},
        {"[Holder]/Extra", UIEditAllMemoNode},
        separator("[Holder]/Extra"),
        {"[Holder]/Extra", UISortMemoHolder},
        {"[Holder]/Extra", UISortField},
        {"[Holder]/Extra", UIReverseMemoHolder},
        {"[Holder]/Extra", UIGroupTree},
        separator("[Holder]/Extra"),
        {"[Holder]/Extra", UIFieldToName},
        {"[Holder]/Extra", UISetUpdate},
        separator("[Holder]/Extra"),
        {"[Holder]/Extra", UIReloadMemoHolder},
        separator("[Holder]/Extra"),
        {"[Holder]/Extra", UISaveHolderHTML},
        {"[Holder]/Extra", UISaveHolderListHTML},
        {"[Holder]/Extra", UISaveHolderHTMLCalendar},
        {"[Holder]/Extra", UIReciveMail},
        {"[Holder]/Each", UISetRelativePathHolder},
        {"[Holder]/Each", UIExtractFilenameHolder},
        {"[Holder]/Each", UIReLoadEach},
        {"[Holder]/Each", UIShowFormSaveEach_, "0"},
        separator("[Holder]"),
        {"[Holder]", UIRenameHolder},
        {"[Holder]", UIPrintsHolder},
        {"[Holder]", UIShowHolderPropaty},
        {"[Holder]", UIShowHolderFields},
        separator("[Holder]"),
        {"[Holder]", UIDeleteHolder},
        {"[Holder]", UICopyHolder},
        separator("[Holder]"),
        {"[Holder]", UIChangeCheckListBox, {}, K::Radio},
        {"[Holder]", UIChangeTreeView, {}, K::Radio},
        {"[Holder]", UIChangeListView, {}, K::Radio},
        separator("[Holder]"),
        {"[Holder]", UIPreviousHolder},
        {"[Holder]", UINextHolder},

        {"MarkNode", UIMarkAll},
        {"MarkNode", UIUnMarkAll},
        {"MarkNode", UIReverseMarks},
        separator("MarkNode"),
        {"MarkNode", UIDeleteMarkNodes},
        {"MarkNode", UICopyMarksTo},
        {"MarkNode", UIMoveMarksTo},
        {"MarkNode", UIMoveMarksToSelf},
        separator("MarkNode"),
        {"MarkNode", UIPrintsMarkNode},
        {"MarkNode", UISaveMarksEach},
        {"MarkNode", UIShowFormSaveEach_, "1"},

        {"[MemoNode]", UINewNode},
        {"[MemoNode]", UIRenameNode},
        {"[MemoNode]", UIClone_, "1"},
        {"[MemoNode]", UICopy1To},
        {"[MemoNode]", UIMove1To},
        {"[MemoNode]", UIDeleteMemoNode},
        {"[MemoNode]", UISaveNodeAs},
        labelled("[MemoNode]", "Save As && Explorer", UISaveNodeAs, UIExplorerFilename),
        labelled("[MemoNode]", "Print", UIPrintMemoNode),
        {"[MemoNode]/Extra", UIExplorerFilename},
        {"[MemoNode]/Extra", UIExplorerLink},
        {"[MemoNode]/Extra", UIOpenFilename},
        {"[MemoNode]/Extra", UIOpenLink},
        separator("[MemoNode]/Extra"),
        {"[MemoNode]/Extra", UIShowField},
        {"[MemoNode]/Extra", UISaveMemoNodeHTML},
        labelled("[MemoNode]/Extra", "HTML Calender", UINothing),
        labelled("[MemoNode]/Extra", "HTML Page", UINothing),
        {"[MemoNode]/Extra", UISendMail},
        separator("[MemoNode]/Extra"),
        {"[MemoNode]/Extra", UISetRelativePath},
        {"[MemoNode]/Extra", UIReloadNode},
        {"[MemoNode]/Extra", UIExecuteMemoNode},
        separator("[MemoNode]"),
        {"[MemoNode]", UIShowScanMemoNode},
        {"[MemoNode]", UIShowReadWindow},
        {"[MemoNode]", UIShowOtherWindow},
        {"[MemoNode]", UIToggleNodeReadOnly, {}, K::Check},
        separator("[MemoNode]"),
        {"[MemoNode]", UIClearMemo},
        {"[MemoNode]", UICountWords},
        {"[MemoNode]", UISortMemo},
        {"[MemoNode]", UINumberMemo},
        {"[MemoNode]", UINoDupMemo},
        {"[MemoNode]", UIMarkDupMemo},
        separator("[MemoNode]"),
        {"[MemoNode]", UIMemo2WB},
        {"[MemoNode]", UIEvalMemo},

        {"NewNode", UINewNodeFile},
        {"NewNode", UINewNodeImage},
        {"NewNode", UINewNodeImageScreen},
        {"NewNode", UINewNodeURL},
        {"NewNode", UINewNodeURLDir},
        {"NewNode", UINewNodeURLFile},
        {"NewNode", UINewNodePoser},
        {"NewNode", UINewNodePoserLike},
        separator("NewNode"),
        {"NewNode", UIMemoNode2NewNodes},
        {"NewNode", UIMemoNode2Holder},
        {"NewNode/Numbers", UINumbersPlus10},
        {"NewNode/Numbers", UINumbers10},
        {"NewNode/Numbers", UINumbers100},
        {"NewNode/Numbers", UINumberNodes},
        {"NewNode/Days of Week", UINodesThisWeek},
        {"NewNode/Days of Week", UINodesNextWeek},
        {"NewNode/Days of Week", UINodesPrevWeek},
        {"NewNode/Days of Month", UINodesThisMonth},
        {"NewNode/Days of Month", UINodesNextMonth},
        {"NewNode/Days of Month", UINodesMonth},
        labelled("NewNode/Days of Year", "This Year", UINodesYear),
        {"NewNode/Days of Year", UINodesNextYear},
        {"NewNode/Days of Year", UINodesYear},
        {"NewNode", UICSV2Holder},

        {"[MarkWord]", UITrimSEL},
        {"[MarkWord]/Add Head", UIAddHeadSEL_, ">"},
        {"[MarkWord]/Add Head", UIAddHeadSEL_, " "},
        {"[MarkWord]/Add Head", UIAddHeadSEL_, "*"},
        {"[MarkWord]/Add Head", UIAddHeadSEL_, ZEL_BLACK_CIRCLE},
        {"[MarkWord]/Add Head", UIAddHeadSEL_, ZEL_BULLSEYE},
        {"[MarkWord]/Add Head", UIAddHeadSEL_, ZEL_WHITE_CIRCLE},
        {"[MarkWord]/Add Head", UIAddHeadAny},
        {"[MarkWord]/Add Tail", UIAddTailSEL_, "<BR>"},
        {"[MarkWord]/Add Tail", UIAddTailAny},
        {"[MarkWord]/DEL Head", UIDelHeadSEL_, "1"},
        {"[MarkWord]/DEL Head", UIDelHeadSEL_, "2"},
        {"[MarkWord]/DEL Head", UIDelHeadSEL_, "3"},
        {"[MarkWord]/DEL Head", UIDelHeadSEL_, "4"},
        {"[MarkWord]/DEL Head", UIDelHeadSEL_, "5"},
        {"[MarkWord]/DEL Head", UIDelHeadSEL_, "6"},
        {"[MarkWord]/DEL Head", UIDelHeadAny},
        {"[MarkWord]", UILFSEL},
        {"[MarkWord]", UIOneLine},
        {"[MarkWord]", UISortSEL},
        {"[MarkWord]", UIReverseSEL},
        {"[MarkWord]/Set Number", UISetNumberSELAuto},
        {"[MarkWord]/Set Number", UISetNumberSEL_, "%2d"},
        {"[MarkWord]/Set Number", UISetNumberSEL_, "%.2d"},
        {"[MarkWord]/Set Number", UISetNumberSEL_, "%3d"},
        {"[MarkWord]/Set Number", UISetNumberSEL_, "%.3d"},
        {"[MarkWord]", UIRemoveEmptyLine},
        separator("[MarkWord]"),
        {"[MarkWord]", UIAddName},
        {"[MarkWord]", UIAddNamePlus},
        {"[MarkWord]", UIReplaceName},
        {"[MarkWord]", UIStatus2SEL},
        separator("[MarkWord]"),
        {"[MarkWord]/List", UINodesList2SEL},
        {"[MarkWord]/List", UIMarkList2Sel},
        {"[MarkWord]/List", UIHolderList2Sel},
        {"[MarkWord]/List", UIFieldsList2Sel},
        {"[MarkWord]/List", UIFunctionList2Sel},
        separator("[MarkWord]/List"),
        {"[MarkWord]/List", UIMakeListNameValue, "0"},
        {"[MarkWord]/List", UIMakeListNameValue, "1"},
        {"[MarkWord]", UIVersion2SEL},
        {"[MarkWord]", UIFileMXA2Sel},
        {"[MarkWord]", UICSV2Sel},
        {"[MarkWord]", UICheckHolder},
        {"[MarkWord]", UITagWordListSEL},
        separator("[MarkWord]"),
        {"[MarkWord]", UISel2WB},
        {"[MarkWord]", UIEvalSEL},

        labelled("Jump", "Prev", UINotImplemented),
        labelled("Jump/List", "List010", UINotImplemented),
        labelled("Jump/List", "List011", UINotImplemented),
        labelled("Jump/List", "List012", UINotImplemented),
        labelled("Jump/List", "List013", UINotImplemented),
        {"Jump/List", UINotImplemented},
        separator("Jump"),
        labelled("Jump", "Set", UINothing),
        labelled("Jump", "Jump", UINotImplemented),
        separator("Jump"),
        labelled("Jump", "Push", UINotImplemented),
        labelled("Jump", "Pop", UINotImplemented),
        labelled("Jump", "List FIFO", UINotImplemented),
        separator("Jump"),
        {"Jump", UIGoToNode},

        {"Scan", UIShowScanMemoHolders},
        {"Scan", UIShowScanMemoHolder},
        labelled("Scan", "Node", UIShowScanMemoNode),
        {"Scan", UIShowScanField},

        {"[Form]", UIShowApplicationPropaty},
        {"[Form]/Size&&Pos", UISizePos_, "1600"},
        {"[Form]/Size&&Pos", UISizePos_, "1280"},
        {"[Form]/Size&&Pos", UISizePos_, "1152"},
        {"[Form]/Size&&Pos", UISizePos_, "1024"},
        {"[Form]/Size&&Pos", UISizePos_, "800"},
        {"[Form]/Size&&Pos", UISizePos_, "640"},
        separator("[Form]"),
        {"[Form]", UIFont},
        {"[Form]", UIFontSizeInc},
        {"[Form]", UIFontSizeDec},
        separator("[Form]"),
        {"[Form]", UIToggleCommentBox, {}, K::Check},
        {"[Form]", UIToggleFieldsBox, {}, K::Check},

        {"Window", UIOpenCalc},
        {"Window", UIOpenCmd},
        {"Window", UIShowLog},
        {"Window", UIShowFileList},
        {"Window", UIShowFormWB},

        {"[Install]", UIAssociate},
        {"[Install]", UIUnassociate},
        {"[Install]", UIMakeShortCutLink},
        {"[Install]", UIOpenIniFile},

        {"&Help", UIShowManualInternet},
        {"&Help", UIShowVersion},
        {"&Help", UIShowAbout},
        separator("&Help"),
        {"&Help", UIOpenCurrentDir},
        {"&Help", UIOpenExeFileDir},
    };
    return items;
}

const std::vector<MenuItem>& tabPopupMap() {
    static const std::vector<MenuItem> items = {
        {"", UIRenameHolder}, {"", UIRenameHolderOther}, separator(""),
        {"", UINewHolder},    {"", UINewHolderLeft},     {"", UINewHolderRight},
        separator(""),        {"", UIMoveHolderRight},   {"", UIMoveHolderLeft},
        separator(""),        {"", UIDeleteHolder},
    };
    return items;
}

const std::vector<ToolBarItem>& toolBarMap() {
    static const std::vector<ToolBarItem> items = {
        toolSwitch("ReadOnly"),
        {UIShowScanMemoHolders, "Make the List of MemoNode matched by keyword. ", false, "Scan"},
        {UISaveHolderNoMSG, "Save Current Holder.", false, "SAVE"},
        {Break, "Break ", true},
        {UINewNode, "Create New MemoNode. ( text type )"},
        {UINewNodeURL, "Create New MemoNode. ( URL Type)"},
        {UINewNodeImage, "Create New MemoNode. ( Image Type )"},
        {Done, "Break force.", true},
        {UITerminate_, "Exit force. not save files.", true},
        {UINewHolder, {}, true, "Holder"},
        toolSwitch("Internet"),
        {UIChangeCurrentNodePre},
        {UIChangeCurrentNodeNext},
    };
    return items;
}

std::string_view itemCaption(const MenuItem& item) {
    if (item.kind == K::Separator) return "-";
    if (!item.label.empty()) return item.label;
    if (!item.then.empty()) return commandCaption(item.then);
    return commandCaption(item.command, item.argument);
}

std::string itemPath(const MenuItem& item) {
    const std::string caption(itemCaption(item));
    return item.menu.empty() ? caption : std::string(item.menu) + "/" + caption;
}

std::string_view toolCaption(const ToolBarItem& item) {
    return item.label.empty() ? commandCaption(item.command) : item.label;
}

}  // namespace zel
