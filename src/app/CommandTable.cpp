#include "app/CommandTable.h"

#include <algorithm>
#include <limits>

#include "app/TFormMainScript.h"

namespace zel {

namespace {

// Sizes beyond the range of a command's result read as the largest one.
int sizeResult(long long size) {
    return static_cast<int>(std::min<long long>(size, std::numeric_limits<int>::max()));
}

}  // namespace

const std::vector<CommandEntry>& commandTable() {
    static const std::vector<CommandEntry> table = {
        {"UINewNode", "New", [](TFormMainScript& w) { return w.UINewNode(); }},
        {"UISaveHolderNoMSG", "Save(NoMessage)",
         [](TFormMainScript& w) { return sizeResult(w.UISaveHolderNoMSG()); }},
        {"UIShowReadWindow", "Read Window",
         [](TFormMainScript& w) { return w.UIShowReadWindow(); }},
        {"UIShowOtherWindow", "Other Window",
         [](TFormMainScript& w) { return w.UIShowOtherWindow(); }},
        {"Break", "Break", [](TFormMainScript& w) { return w.Break(); }},
        {"Done", "Done", [](TFormMainScript& w) { return w.Done(); }},
        {"UITerminate_", "Exit", [](TFormMainScript& w) { return w.UITerminate_(""); }},
        {"UIExit", "&Exit", [](TFormMainScript& w) { return w.UIExit(); }},
        {"UIExitAllYes", "Exit(All Yes)", [](TFormMainScript& w) { return w.UIExitAllYes(); }},
        {"UIShowVersion", "Version", [](TFormMainScript& w) { return w.UIShowVersion(); }},
        {"UIShowLog", "Log", [](TFormMainScript& w) { return w.UIShowLog(); }},
        {"UIShowAbout", "About", [](TFormMainScript& w) { return w.UIShowAbout(); }},
        {"UIOpenMXA", "&Open File", [](TFormMainScript& w) { return w.UIOpenMXA(); }},
        {"UIOpenURL", "Open URL", [](TFormMainScript& w) { return w.UIOpenURL(); }},
        {"UINewFile", "New", [](TFormMainScript& w) { return w.UINewFile(); }},
        {"UISaveFileWithMSG", "&Save(Message)",
         [](TFormMainScript& w) { return sizeResult(w.UISaveFileWithMSG()); }},
        {"UISaveFileWithoutMSG", "Save(No Message)",
         [](TFormMainScript& w) { return sizeResult(w.UISaveFileWithoutMSG()); }},
        {"UISaveAsMXA", "Save &As MXA",
         [](TFormMainScript& w) { return sizeResult(w.saveAsMemoFile_(".mxa")); }},
        {"UISaveAsMAZ", "Save As MAZ",
         [](TFormMainScript& w) { return sizeResult(w.saveAsMemoFile_(".maz")); }},
        {"UISaveAllHolders", "Save All Holders",
         [](TFormMainScript& w) { return w.UISaveAllHolders(); }},
        {"UIExplorerMemoFile", "Explorer",
         [](TFormMainScript& w) { return w.UIExplorerMemoFile(); }},
        {"UIPrinterSetup", "Printer Setup", [](TFormMainScript& w) { return w.UIPrinterSetup(); }},
        {"UIHardcopy", "Hardcopy", [](TFormMainScript& w) { return w.UIHardcopy(); }},
        {"UIOpenHolder", "&Open", [](TFormMainScript& w) { return w.UIOpenHolder(); }},
        {"UIOpenCSV", "Open CSV", [](TFormMainScript& w) { return w.UIOpenCSV(); }},
        {"UICSV2Holder", "CSV->Holder", [](TFormMainScript& w) { return w.UICSV2Holder(); }},
        {"UISaveHolderWithMSG", "&Save(Message)",
         [](TFormMainScript& w) { return sizeResult(w.UISaveHolderWithMSG()); }},
        {"UISaveAsMXH", "MXH(.mxh)",
         [](TFormMainScript& w) { return sizeResult(w.saveAsHolder_(".mxh")); }},
        {"UISaveAsMHZ", "MHZ(.mhz)",
         [](TFormMainScript& w) { return sizeResult(w.saveAsHolder_(".mhz")); }},
        {"UIRenameHolder", "Rename", [](TFormMainScript& w) { return w.UIRenameHolder(); }},
        {"UIRenameHolderOther", "Rename other",
         [](TFormMainScript& w) { return w.UIRenameHolderOther(); }},
        {"UIDeleteHolder", "Delete", [](TFormMainScript& w) { return w.UIDeleteHolder(); }},
        {"UICopyHolder", "Copy", [](TFormMainScript& w) { return w.UICopyHolder(); }},
        {"UINodesYear", "Any Year", [](TFormMainScript& w) { return w.UINodesYear(); }},
        {"UINodesNextYear", "Next Year", [](TFormMainScript& w) { return w.UINodesNextYear(); }},
        {"UINodesThisMonth", "This Month", [](TFormMainScript& w) { return w.UINodesThisMonth(); }},
        {"UINodesNextMonth", "Next Month", [](TFormMainScript& w) { return w.UINodesNextMonth(); }},
        {"UINodesMonth", "Any Month", [](TFormMainScript& w) { return w.UINodesMonth(); }},
        {"UINodesThisWeek", "This Week", [](TFormMainScript& w) { return w.UINodesThisWeek(); }},
        {"UINodesNextWeek", "Next Week", [](TFormMainScript& w) { return w.UINodesNextWeek(); }},
        {"UINodesPrevWeek", "Prev Week", [](TFormMainScript& w) { return w.UINodesPrevWeek(); }},
        {"UINumberNodes", "Numbers", [](TFormMainScript& w) { return w.UINumberNodes(); }},
        {"UINumbers10", "001-010", [](TFormMainScript& w) { return w.UINumbers10(); }},
        {"UINumbers100", "001-100", [](TFormMainScript& w) { return w.UINumbers100(); }},
        {"UINumbersPlus10", "+10", [](TFormMainScript& w) { return w.UINumbersPlus10(); }},
        {"UIClone", "Clone", [](TFormMainScript& w) { return w.UIClone_(1); }},
        {"UIDeleteMemoNode", "Delete", [](TFormMainScript& w) { return w.UIDeleteMemoNode(); }},
        {"UISetQuery", "Set Query", [](TFormMainScript& w) { return w.UISetQuery(); }},
        {"UIJumpQuery", "Jump Query", [](TFormMainScript& w) { return w.UIJumpQuery(); }},
        {"UIToggleNodeReadOnly", "ReadOnly",
         [](TFormMainScript& w) { return w.UIToggleNodeReadOnly(); }},
        {"UICopyNodeName", "Copy Name", [](TFormMainScript& w) { return w.UICopyNodeName(); }},
        {"UIFieldToName", "Field->Name", [](TFormMainScript& w) { return w.UIFieldToName(); }},
        {"UIFont", "Font", [](TFormMainScript& w) { return w.UIFont(); }},
        {"UIFontSizeInc", "FontSize+", [](TFormMainScript& w) { return w.UIFontSizeInc(); }},
        {"UIFontSizeDec", "FontSize-", [](TFormMainScript& w) { return w.UIFontSizeDec(); }},
        {"UIMarkAll", "Mark ALL", [](TFormMainScript& w) { return w.UIMarkAll(); }},
        {"UIUnMarkAll",
         "UnMark\x81\x40"
         "ALL",
         [](TFormMainScript& w) { return w.UIUnMarkAll(); }},
        {"UIReverseMarks", "Reverse", [](TFormMainScript& w) { return w.UIReverseMarks(); }},
        {"UIDeleteMarkNodes", "Delete", [](TFormMainScript& w) { return w.UIDeleteMarkNodes(); }},
        {"UICopyMarksTo", "Copy To", [](TFormMainScript& w) { return w.UICopyMarksTo(); }},
        {"UIMoveMarksTo", "Move To", [](TFormMainScript& w) { return w.UIMoveMarksTo(); }},
        {"UIMoveMarksToSelf", "Move To Self",
         [](TFormMainScript& w) { return w.UIMoveMarksToSelf(); }},
        {"UIAddHeadAny", "(Anything)", [](TFormMainScript& w) { return w.UIAddHeadAny(); }},
        {"UIAddTailAny", "(Anything)", [](TFormMainScript& w) { return w.UIAddTailAny(); }},
        {"UIDelHeadAny", "Any", [](TFormMainScript& w) { return w.UIDelHeadAny(); }},
        {"UIRemoveEmptyLine", "Remove Empty Line",
         [](TFormMainScript& w) { return w.UIRemoveEmptyLine(); }},
        {"UISortSEL", "Sort", [](TFormMainScript& w) { return w.UISortSEL(); }},
        {"UIReverseSEL", "Reverse", [](TFormMainScript& w) { return w.UIReverseSEL(); }},
        {"UISetNumberSELAuto", "Auto", [](TFormMainScript& w) { return w.UISetNumberSELAuto(); }},
        {"UIOneLine", "OneLine", [](TFormMainScript& w) { return w.UIOneLine(); }},
        {"UILFSEL", ",LF", [](TFormMainScript& w) { return w.UILFSEL(); }},
        {"UIAddName", "Add Name", [](TFormMainScript& w) { return w.UIAddName(); }},
        {"UIAddNamePlus", "Add Name+", [](TFormMainScript& w) { return w.UIAddNamePlus(); }},
        {"UIReplaceName", "Replace Name", [](TFormMainScript& w) { return w.UIReplaceName(); }},
        {"UISortMemo", "Sort", [](TFormMainScript& w) { return w.UISortMemo(); }},
        {"UINumberMemo", "Number", [](TFormMainScript& w) { return w.UINumberMemo(); }},
        {"UINoDupMemo", "NoDup", [](TFormMainScript& w) { return w.UINoDupMemo(); }},
        {"UIMarkDupMemo", "Mark Dup", [](TFormMainScript& w) { return w.UIMarkDupMemo(); }},
        {"UITrimSEL", "trim", [](TFormMainScript& w) { return w.UITrimSEL(); }},
        {"UITagWordListSEL", "TAGWordList",
         [](TFormMainScript& w) { return w.UITagWordListSEL(); }},
        {"UIStatus2SEL", "StatusBar", [](TFormMainScript& w) { return w.UIStatus2SEL(); }},
        {"UIClearMemo", "Clear", [](TFormMainScript& w) { return w.UIClearMemo(); }},
        {"UICountWords", "Count Word", [](TFormMainScript& w) { return w.UICountWords(); }},
        {"UISaveNodeAs", "Save As", [](TFormMainScript& w) { return w.UISaveNodeAs(); }},
        {"UIReloadNode", "ReLoad", [](TFormMainScript& w) { return w.UIReloadNode(); }},
        {"UIReloadMemoHolder", "ReLoad", [](TFormMainScript& w) { return w.UIReloadMemoHolder(); }},
        {"UIReLoadEach", "ReLoad Each", [](TFormMainScript& w) { return w.UIReLoadEach(); }},
        {"UINewNodeFile", "File", [](TFormMainScript& w) { return w.UINewNodeFile(); }},
        {"UINewNodeImage", "Image", [](TFormMainScript& w) { return w.UINewNodeImage(); }},
        {"UINewNodeImageScreen", "Image Screen",
         [](TFormMainScript& w) { return w.UINewNodeImageScreen(); }},
        {"UINewNodeURL", "URL", [](TFormMainScript& w) { return w.UINewNodeURL(); }},
        {"UINewNodeURLDir", "URL(Directory)",
         [](TFormMainScript& w) { return w.UINewNodeURLDir(); }},
        {"UINewNodeURLFile", "URL(File)", [](TFormMainScript& w) { return w.UINewNodeURLFile(); }},
        {"UINewNodePoser", "Poser", [](TFormMainScript& w) { return w.UINewNodePoser(); }},
        {"UINewNodePoserLike", "PoserLike",
         [](TFormMainScript& w) { return w.UINewNodePoserLike(); }},
        {"UINewChild", "Text", [](TFormMainScript& w) { return w.UINewChild(); }},
        {"UINewChildURL", "URL", [](TFormMainScript& w) { return w.UINewChildURL(); }},
        {"UINewChildImage", "Image", [](TFormMainScript& w) { return w.UINewChildImage(); }},
        {"UINewChildImageScreen", "Screen",
         [](TFormMainScript& w) { return w.UINewChildImageScreen(); }},
        {"UICloneNodeAndChild", "Clone",
         [](TFormMainScript& w) { return w.UICloneNodeAndChild(); }},
        {"UINewChildDumpText", "Bin->Text",
         [](TFormMainScript& w) { return w.UINewChildDumpText(); }},
        {"UINewChildDownloadeed", "URL->Download",
         [](TFormMainScript& w) { return w.UINewChildDownloadeed(); }},
        {"UINewChildCSV2HTML", "CSV->HTML",
         [](TFormMainScript& w) { return w.UINewChildCSV2HTML(); }},
        {"UIMove1To", "Move1To", [](TFormMainScript& w) { return w.UIMove1To(); }},
        {"UICopy1To", "Copy1To", [](TFormMainScript& w) { return w.UICopy1To(); }},
    };
    return table;
}

const CommandEntry* findCommand(std::string_view name) {
    for (const CommandEntry& entry : commandTable()) {
        if (entry.name == name) return &entry;
    }
    return nullptr;
}

}  // namespace zel
