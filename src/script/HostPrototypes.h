#pragma once
// The host routines scripts call into the program: one declaration line each,
// blank lines between groups. The window declares them in its interpreters and
// lists them ("List" > "PPADefine"); zel-tool run declares the same lines, so
// a script reads alike in both.

#include <cstdint>
#include <string>
#include <vector>

namespace zel {

const std::vector<std::string>& hostPrototypeLines();

// The Index numbers of the host routines, as the lines above give them.
namespace host_index {
enum : std::int32_t {
    Print = 1,
    PrintBuf = 2,
    PrintBuf2 = 3,
    PrintLog = 4,
    UIHardcopy = 1012,
    UIOpenCurrentDir = 1013,
    UIOpenExeFileDir = 1014,
    UIShellExecute_ = 1015,
    UIWidth_Height_ = 1016,
    UILeft_Top_ = 1017,
    UIFontSize_ = 1018,
    UIAddLog_ = 1019,
    UIAddLogDT_ = 1020,
    UINewNode = 1101,
    UINewNode_ = 1102,
    UINewChild = 1103,
    UINewChild_ = 1104,
    UIAddMemo_ = 1111,
    UIAddComment_ = 1112,
    UI2Model = 1113,
    UIChangeCurrentNodeFirst = 1114,
    UIChangeCurrentNodeNext = 1115,
    UIChangeCurrentNodePre = 1116,
    UIChangeCurrentNodeLast = 1117,
    UIChangeCurrentNodeName_ = 1118,
    UIPPADefine2SEL = 1130,
    UIVersion2SEL = 1131,
    UIFileMXA2SEL = 1132,
    UIFieldsList2SEL = 1133,
    UIHolderList2SEL = 1134,
    UIMarkList2SEL = 1135,
    UINodesList2SEL = 1136,
    UIPutName_ = 1140,
    UIPutField__ = 1141,
    UIDeleteMemoNode = 1142,
    UIChangeCheckListBox = 1150,
    UIChangeTreeView = 1151,
    UIChangeListView = 1152,
    UIMNMemoCount2 = 1200,
    UIMNCommentCount2 = 1201,
    UIMNFieldsCount2 = 1202,
    UIMNAddMemo3 = 1203,
    UIMNAddComment3 = 1204,
    UIMNPutField4 = 1205,
    Sqrt = 2001,
    string_getS1 = 3001,
    string_getSX = 3002,
    string_unquate = 3003,
    UIGetName = 3101,
    UIGetField_ = 3102,
    UIRemoveField_ = 3103,
    UIGetNameHolder = 3104,
    UIMNMemoStrings3 = 3201,
    UIMNCommentStrings3 = 3202,
    UIMNFieldsStrings3 = 3203,
    UIMNGetField3 = 3204,
    // The host-bound variable of a pool runner: its name.
    PPAID = 5000,
};
}  // namespace host_index

// The string routines every host serves alike.
// The text before the first blank or tab.
std::string stringGetS1(const std::string& s);
// The text after the first blank or tab, trimmed; empty when there is none.
std::string stringGetSX(const std::string& s);
// One layer of double quotes removed.
std::string stringUnquate(const std::string& s);

}  // namespace zel
