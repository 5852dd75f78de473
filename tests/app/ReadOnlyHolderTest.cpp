// A read-only holder loses nothing: every command, pop-up entry, dialog edit
// and script routine that would delete, move out, rename, reorder or rewrite
// its nodes refuses, so its nodes stay in memory and its file keeps its
// bytes through Save All Holders and `zel --run ... --save`.

#include <algorithm>
#include <filesystem>
#include <map>

#include <gtest/gtest.h>

#include "app/AppTestSupport.h"
#include "app/commands/CommandTable.h"
#include "dialogs/FieldEdit.h"
#include "dialogs/PropertyEdit.h"
#include "dialogs/SelNodeEdit.h"
#include "model/HolderFile.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "platform/Process.h"
#include "text/LineList.h"
#include "views/TFrameMemoHolder.h"

namespace zel {
namespace {

using Names = std::vector<std::string>;

// "●2024 memo": a bullet line, so "Set Update" would find its word.
const std::string kBulletMemo =
    "\x81\x9C"
    "2024 memo";

// Commands that take nodes out of the current holder, rename them, reorder
// them or rewrite their fields, with the argument a command needs.
const std::vector<std::pair<std::string, std::string>> kListCommands = {
    {"UIDeleteMemoNode", ""},
    {"UIDeleteMarkNodes", ""},
    {"UIMoveMarksTo", ""},
    {"UIMoveMarksToSelf", ""},
    {"UIMove1To", ""},
    {"UIFieldToName", ""},
    {"UIExtractFilenameHolder", ""},
    {"UISetRelativePathHolder", ""},
    {"UISetRelativePath", ""},
    {"UISetUpdate", ""},
    {"UISortMemoHolder", ""},
    {"UIReverseMemoHolder", ""},
    {"UIMoveNodeTop", ""},
    {"UIMoveNodeUp", ""},
    {"UIMoveNodeDown", ""},
    {"UIMoveNodeBottom", ""},
    {"UIMemoNode2NewNodes", ""},
    {"UIToggleNodeReadOnly", ""},
    {"UISetQuery", ""},
    {"UIReloadNode", ""},
    {"UIReLoadEach", ""},
    {"UIClone_", "1"},
    {"UIEditAllMemoNode", ""},
    {"UIShowHolderFields", ""},
};
const std::vector<std::pair<std::string, std::string>> kTreeCommands = {
    {"UIDeleteMemoNode", ""},
    {"UIMove1To", ""},
    {"UIIndentNode", ""},
    {"UIOutdentNode", ""},
    {"UIUpdateLevel", ""},
    {"UINewRootNodeTV", ""},
    {"UINewRootNode", ""},
    {"UISortChild1", ""},
    {"UIReverseChild1", ""},
    {"UIExtractFilenameChild1", ""},
    {"UISetRelativepathChild1", ""},
    {"UIMoveNodeDown", ""},
};

class ReadOnlyHolderTest : public AppTest {
  protected:
    // memo.mxa with "RO" (a check list r1..r4, r2 and r3 marked), "ROT" (a
    // tree t1(t2 t3) t4), both read-only by their own files alone, and the
    // writable "W" (w1).
    void writeFiles() {
        MemoFile file;
        file.setFilename(path("memo.mxa"));
        MemoHolder* list = addHolder(file, "RO", {"r1", "r2", "r3", "r4"});
        list->at_(1)->setMarked_(true);
        list->at_(2)->setMarked_(true);
        list->at_(0)->putField_("Filename", "\"" + path("r1.txt") + "\"");
        writeText("r1.txt", "other text\r\n");
        MemoHolder* tree = addHolder(file, "ROT", {"t1", "t2", "t3", "t4"});
        tree->putField_("ModeNodesMngr", "\"TreeView\"");
        tree->at_(1)->setParentNode_(*tree->at_(0));
        tree->at_(2)->setParentNode_(*tree->at_(0));
        addHolder(file, "W", {"w1"});
        file.currentHolder = list;
        ASSERT_GE(file.saveMemoFile_(path("memo.mxa")), 0) << file.lastError();
        list->setReadOnly_(true);
        tree->setReadOnly_(true);
        for (MemoHolder* holder : {list, tree, file.holderByName_("W")}) {
            const std::string where = holderFilePath_(*holder);
            ASSERT_GE(saveHolderFile_(*holder, where), 0);
            files_[holder->getName_()] = std::filesystem::path(where).filename().string();
        }
    }

    static MemoHolder* addHolder(MemoFile& file, const std::string& name, const Names& nodes) {
        MemoHolder* holder = file.createHolder_(-1);
        holder->putName_as_(name);
        for (const std::string& nodeName : nodes) {
            MemoNode* node = holder->makeNode_();
            node->putName_as_(nodeName);
            node->memo = {kBulletMemo};
        }
        holder->loaded = true;
        return holder;
    }

    std::string bytesOf(const std::string& holderName) const {
        return readText(files_.at(holderName));
    }
    Names namesOf(const std::string& holderName) const {
        Names names;
        const MemoHolder* shown = holder(holderName);
        for (int i = 0; shown && i < shown->count_(); ++i)
            names.push_back(shown->at_(i)->getName_());
        return names;
    }
    void show(const std::string& holderName, const std::string& nodeName) {
        window->changeHolder_(holder(holderName));
        window->setCurMemoNode_(holder(holderName)->byName_(nodeName));
    }

    std::map<std::string, std::string> files_;
};

TEST_F(ReadOnlyHolderTest, NothingTakesRenamesOrReordersTheNodesOfAReadOnlyHolder) {
    writeFiles();
    makeWindow();
    ASSERT_EQ(window->_open_(path("memo.mxa")), 0);
    show("ROT", "t2");
    show("RO", "r2");
    ASSERT_TRUE(holder("RO")->isReadOnlyEffective_()) << "read from the holder's file";
    const std::map<std::string, std::string> bytes = {
        {"RO", bytesOf("RO")}, {"ROT", bytesOf("ROT")}, {"W", bytesOf("W")}};
    const std::map<std::string, Names> names = {
        {"RO", namesOf("RO")}, {"ROT", namesOf("ROT")}, {"W", namesOf("W")}};
    const std::string listRefusal = "This MemoHolder is Read Only. (RO)";
    const std::string treeRefusal = "This MemoHolder is Read Only. (ROT)";

    // Each refusal leaves the nodes in memory and, saved, the file's bytes.
    auto expectKept = [&](const std::string& holderName, const std::string& what) {
        EXPECT_EQ(namesOf(holderName), names.at(holderName)) << what;
        EXPECT_FALSE(holder(holderName)->changed) << what;
        window->UISaveAllHolders();
        EXPECT_EQ(bytesOf(holderName), bytes.at(holderName)) << what;
    };
    auto run = [&](const std::string& holderName, const std::string& node,
                   const std::pair<std::string, std::string>& command, const std::string& refusal) {
        show(holderName, node);
        window->messageDoing_("");
        runCommand(*window, command.first, command.second);
        EXPECT_EQ(window->statusMessage(), refusal) << command.first << " in " << holderName;
        expectKept(holderName, command.first + " in " + holderName);
    };
    for (const auto& command : kListCommands) run("RO", "r2", command, listRefusal);
    for (const auto& command : kTreeCommands) run("ROT", "t2", command, treeRefusal);

    // The holder view's renames and the name dialog.
    show("RO", "r2");
    TFrameMemoHolder* frame = window->FrameMemoHolder1;
    frame->renameWithMark("*");
    EXPECT_EQ(window->statusMessage(), listRefusal);
    frame->renameCut1();
    frame->renameCounted(true);
    frame->renameExtractFilename();
    EXPECT_EQ(window->UIRenameNode(), -1);
    EXPECT_EQ(window->statusMessage(), "flagReadOnly=\"true\"");
    expectKept("RO", "renames");

    // Copies out of it are allowed: the source keeps what was copied.
    prompter->chooseHolder("W").chooseHolder("W");
    EXPECT_EQ(window->UICopy1To(), 1);
    show("RO", "r2");
    EXPECT_EQ(window->UICopyMarksTo(), 2);
    expectKept("RO", "copies");
    EXPECT_EQ(holder("W")->count_(), 4) << "the copies reached W";

    // The dialogs' mass edits leave its nodes alone and say why.
    std::vector<NodeRef> refs;
    std::vector<MemoNode*> nodes;
    for (int i = 0; i < holder("RO")->count_(); ++i) {
        refs.emplace_back(holder("RO")->at_(i));
        nodes.push_back(holder("RO")->at_(i));
    }
    FieldQuery query;
    query.key = "flagMarked";
    ScanResults lines;
    for (FieldAction action : {FieldAction::Set, FieldAction::Replace, FieldAction::Delete}) {
        query.value = "true";
        const FieldOutcome outcome =
            runFieldEdit(action, query, "x", {holder("RO")}, HolderAccess{}, lines);
        EXPECT_EQ(outcome.changed.refusal(), listRefusal);
        EXPECT_TRUE(outcome.changed.empty());
    }
    EXPECT_EQ(editNames(refs, NameEdit::Replace, "z").changed.refusal(), listRefusal);
    EXPECT_EQ(editMemos(refs, TextEdit::Replace, "gone").changed.refusal(), listRefusal);
    EXPECT_EQ(editComments(refs, TextEdit::AddTail, "more").changed.refusal(), listRefusal);
    EXPECT_EQ(setFieldOfNodes(refs, "k", "v").changed.refusal(), listRefusal);
    EXPECT_EQ(deleteFieldOfNodes(refs, "flagMarked").changed.refusal(), listRefusal);
    EXPECT_TRUE(putFieldIntoNodes(nodes, nullptr, "k", "v").empty());
    for (MemoNode* node : nodes) EXPECT_EQ(node->memo, Lines{kBulletMemo});
    expectKept("RO", "dialog edits");

    // The window's read-only box keeps a writable holder the same way.
    show("W", "w1");
    const Names copied = namesOf("W");
    window->CheckBox_UIReadOnly->setChecked(true);
    for (const auto& command : kListCommands) {
        window->messageDoing_("");
        runCommand(*window, command.first, command.second);
        EXPECT_EQ(window->statusMessage(), "UI ReadOnly") << command.first;
    }
    EXPECT_EQ(namesOf("W"), copied);
    EXPECT_EQ(holderNames(), (Names{"RO", "ROT", "W"})) << "nothing went into a trash holder";
    EXPECT_FALSE(exists("Trush.mxh"));
}

// The script routines that delete, rename and write nodes, run by
// `zel --run ... --save` over a read-only holder: its file keeps its bytes.
TEST_F(ReadOnlyHolderTest, ScriptRoutinesLeaveTheReadOnlyHoldersFileAsItWas) {
    writeFiles();
    const std::string before = bytesOf("RO");
    writeText("s.ppa",
              "Print('deleted ' + IntToStr(UIDeleteMemoNode));"
              "UIChangeCurrentNodeLast; Print('deleted ' + IntToStr(UIDeleteMemoNode));"
              "UIPutName_('renamed'); UIPutField__('k', 'v'); UIRemoveField_('flagMarked');"
              "UIMNPutField4('RO', 'r1', 'k', 'v'); UIMNAddMemo3('RO', 'r1', 'more');"
              "UIMNAddComment3('RO', 'r3', 'more'); UIAddMemo_('more'); UIAddComment_('more');"
              "UINewNode_('made'); UINewChild_('child')");
    const FinishedRun run =
        runToEnd({builtProgram("zel"), "--run", path("s.ppa"), path("memo.mxa"), "--save"}, dir);
    ASSERT_TRUE(run.started);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(std::count(run.lines.begin(), run.lines.end(), "deleted -7"), 2);
    EXPECT_EQ(bytesOf("RO"), before);
    EXPECT_FALSE(exists("Trush.mxh"));
}

}  // namespace
}  // namespace zel
