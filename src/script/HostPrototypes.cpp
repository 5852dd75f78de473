#include "script/HostPrototypes.h"

#include <algorithm>

namespace zel {

namespace {

constexpr bool kGroup = true;

constexpr HostRoutine kRoutines[] = {
    {1, "procedure Print(S:String)"},
    {2, "procedure PrintBuf(S:String)"},
    {3, "procedure PrintBuf2(sName,s:String)"},
    {4, "procedure PrintLog(S:String)"},

    {1012, "function UIHardcopy:Integer", kGroup},
    {1013, "function UIOpenCurrentDir:Integer"},
    {1014, "function UIOpenExeFileDir:Integer"},
    {1015, "function UIShellExecute_(S:String):Integer"},
    {1016, "function UIWidth_Height_(w,h:Integer):Integer"},
    {1017, "function UILeft_Top_(L,T:Integer):Integer"},
    {1018, "function UIFontSize_(SZ:Integer):Integer"},
    {1019, "function UIAddLog_(S:String):Integer"},
    {1020, "function UIAddLogDT_(S:String):Integer"},

    {1101, "function UINewNode:Integer", kGroup},
    {1102, "function UINewNode_(S:String):Integer"},
    {1103, "function UINewChild:Integer"},
    {1104, "function UINewChild_(S:String):Integer"},

    {1111, "function UIAddMemo_(S:String):Integer", kGroup},
    {1112, "function UIAddComment_(S:String):Integer"},
    {1113, "function UI2Model:Integer"},
    {1114, "function UIChangeCurrentNodeFirst:Integer"},
    {1115, "function UIChangeCurrentNodeNext:Integer"},
    {1116, "function UIChangeCurrentNodePre:Integer"},
    {1117, "function UIChangeCurrentNodeLast:Integer"},
    {1118, "function UIChangeCurrentNodeName_(S:String):Integer"},

    {1130, "function UIPPADefine2SEL:Integer", kGroup},
    {1131, "function UIVersion2SEL:Integer"},
    {1132, "function UIFileMXA2SEL:Integer"},
    {1133, "function UIFieldsList2SEL:Integer"},
    {1134, "function UIHolderList2SEL:Integer"},
    {1135, "function UIMarkList2SEL:Integer"},
    {1136, "function UINodesList2SEL:Integer"},

    {1140, "function UIPutName_(S:String):Integer", kGroup},
    {1141, "function UIPutField__(S,SV:String):Integer"},
    {1142, "function UIDeleteMemoNode:Integer"},

    {1150, "function UIChangeCheckListBox:Integer", kGroup},
    {1151, "function UIChangeTreeView:Integer"},
    {1152, "function UIChangeListView:Integer"},

    {1200, "function UIMNMemoCount2(sHolder,sNode:String):Integer", kGroup},
    {1201, "function UIMNCommentCount2(sHolder,sNode:String):Integer"},
    {1202, "function UIMNFieldsCount2(sHolder,sNode:String):Integer"},
    {1203, "function UIMNAddMemo3(sHolder,sNode,s:String):Integer"},
    {1204, "function UIMNAddComment3(sHolder,sNode,s:String):Integer"},
    {1205, "function UIMNPutField4(sHolder,sNode,sKey,sValue:String):Integer"},

    {2001, "function Sqrt(Var:Real):Real", kGroup},

    {3001, "function string_getS1(s:String):String", kGroup},
    {3002, "function string_getSX(s:String):String"},
    {3003, "function string_unquate(s:String):String"},

    {3101, "function UIGetName:String", kGroup},
    {3102, "function UIGetField_(S:String):String"},
    {3103, "function UIRemoveField_(S:String):String"},
    {3104, "function UIGetNameHolder:String"},

    {3201, "function UIMNMemoStrings3(sHolder,sNode:String;i:Integer):String", kGroup},
    {3202, "function UIMNCommentStrings3(sHolder,sNode:String;i:Integer):String"},
    {3203, "function UIMNFieldsStrings3(sHolder,sNode:String;i:Integer):String"},
    {3204, "function UIMNGetField3(sHolder,sNode,sKey:String):String"},
};

}  // namespace

std::string_view HostRoutine::name() const {
    const std::size_t begin = declaration.find(' ') + 1;
    return declaration.substr(begin, declaration.find_first_of("(:", begin) - begin);
}

HostAnswer HostRoutine::answer() const {
    if (declaration.starts_with("procedure")) return HostAnswer::None;
    const std::string_view type = declaration.substr(declaration.rfind(':') + 1);
    if (type == "Integer") return HostAnswer::Integer;
    if (type == "Real") return HostAnswer::Real;
    return HostAnswer::String;
}

std::string HostRoutine::prototype() const {
    return std::string(declaration) + ";Index " + std::to_string(index) + ";";
}

std::span<const HostRoutine> hostRoutines() {
    return kRoutines;
}

const HostRoutine* findHostRoutine(std::int32_t index) {
    auto it = std::find_if(std::begin(kRoutines), std::end(kRoutines),
                           [index](const HostRoutine& r) { return r.index == index; });
    return it == std::end(kRoutines) ? nullptr : &*it;
}

const HostRoutine* findHostRoutine(std::string_view name) {
    auto it = std::find_if(std::begin(kRoutines), std::end(kRoutines),
                           [name](const HostRoutine& r) { return r.name() == name; });
    return it == std::end(kRoutines) ? nullptr : &*it;
}

const std::vector<std::string>& hostPrototypeLines() {
    static const std::vector<std::string> lines = [] {
        std::vector<std::string> text;
        for (const HostRoutine& routine : kRoutines) {
            if (routine.opensGroup) text.emplace_back();
            text.push_back(routine.prototype());
        }
        return text;
    }();
    return lines;
}

}  // namespace zel
