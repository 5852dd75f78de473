#include "script/HostPrototypes.h"

#include "text/Sjis.h"
#include "text/TextHelpers.h"

namespace zel {

const std::vector<std::string>& hostPrototypeLines() {
    static const std::vector<std::string> lines = {
        "procedure Print(S:String);Index 1;",
        "procedure PrintBuf(S:String);Index 2;",
        "procedure PrintBuf2(sName,s:String);Index 3;",
        "procedure PrintLog(S:String);Index 4;",
        "",
        "function UIHardcopy:Integer;Index 1012;",
        "function UIOpenCurrentDir:Integer;Index 1013;",
        "function UIOpenExeFileDir:Integer;Index 1014;",
        "function UIShellExecute_(S:String):Integer;Index 1015;",
        "function UIWidth_Height_(w,h:Integer):Integer;Index 1016;",
        "function UILeft_Top_(L,T:Integer):Integer;Index 1017;",
        "function UIFontSize_(SZ:Integer):Integer;Index 1018;",
        "function UIAddLog_(S:String):Integer;Index 1019;",
        "function UIAddLogDT_(S:String):Integer;Index 1020;",
        "",
        "function UINewNode:Integer;Index 1101;",
        "function UINewNode_(S:String):Integer;Index 1102;",
        "function UINewChild:Integer;Index 1103;",
        "function UINewChild_(S:String):Integer;Index 1104;",
        "",
        "function UIAddMemo_(S:String):Integer;Index 1111;",
        "function UIAddComment_(S:String):Integer;Index 1112;",
        "function UI2Model:Integer;Index 1113;",
        "function UIChangeCurrentNodeFirst:Integer;Index 1114;",
        "function UIChangeCurrentNodeNext:Integer;Index 1115;",
        "function UIChangeCurrentNodePre:Integer;Index 1116;",
        "function UIChangeCurrentNodeLast:Integer;Index 1117;",
        "function UIChangeCurrentNodeName_(S:String):Integer;Index 1118;",
        "",
        "function UIPPADefine2SEL:Integer;Index 1130;",
        "function UIVersion2SEL:Integer;Index 1131;",
        "function UIFileMXA2SEL:Integer;Index 1132;",
        "function UIFieldsList2SEL:Integer;Index 1133;",
        "function UIHolderList2SEL:Integer;Index 1134;",
        "function UIMarkList2SEL:Integer;Index 1135;",
        "function UINodesList2SEL:Integer;Index 1136;",
        "",
        "function UIPutName_(S:String):Integer;Index 1140;",
        "function UIPutField__(S,SV:String):Integer;Index 1141;",
        "function UIDeleteMemoNode:Integer;Index 1142;",
        "",
        "function UIChangeCheckListBox:Integer;Index 1150;",
        "function UIChangeTreeView:Integer;Index 1151;",
        "function UIChangeListView:Integer;Index 1152;",
        "",
        "function UIMNMemoCount2(sHolder,sNode:String):Integer;Index 1200;",
        "function UIMNCommentCount2(sHolder,sNode:String):Integer;Index 1201;",
        "function UIMNFieldsCount2(sHolder,sNode:String):Integer;Index 1202;",
        "function UIMNAddMemo3(sHolder,sNode,s:String):Integer;Index 1203;",
        "function UIMNAddComment3(sHolder,sNode,s:String):Integer;Index 1204;",
        "function UIMNPutField4(sHolder,sNode,sKey,sValue:String):Integer;Index 1205;",
        "",
        "function Sqrt(Var:Real):Real;Index 2001;",
        "",
        "function string_getS1(s:String):String;Index 3001;",
        "function string_getSX(s:String):String;Index 3002;",
        "function string_unquate(s:String):String;Index 3003;",
        "",
        "function UIGetName:String;Index 3101;",
        "function UIGetField_(S:String):String;Index 3102;",
        "function UIRemoveField_(S:String):String;Index 3103;",
        "function UIGetNameHolder:String;Index 3104;",
        "",
        "function UIMNMemoStrings3(sHolder,sNode:String;i:Integer):String;Index 3201;",
        "function UIMNCommentStrings3(sHolder,sNode:String;i:Integer):String;Index 3202;",
        "function UIMNFieldsStrings3(sHolder,sNode:String;i:Integer):String;Index 3203;",
        "function UIMNGetField3(sHolder,sNode,sKey:String):String;Index 3204;",
    };
    return lines;
}

std::string stringGetS1(const std::string& s) {
    std::size_t at = findAnySingleByte(s, " \t");
    return at == std::string::npos ? s : s.substr(0, at);
}

std::string stringGetSX(const std::string& s) {
    std::size_t at = findAnySingleByte(s, " \t");
    return at == std::string::npos ? std::string() : trimText(std::string_view(s).substr(at + 1));
}

std::string stringUnquate(const std::string& s) {
    return stripQuotes(s, '"');
}

}  // namespace zel
