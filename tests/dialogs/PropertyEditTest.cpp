#include "dialogs/PropertyEdit.h"

#include <gtest/gtest.h>

#include "dialogs/DialogTestSupport.h"

namespace zel {
namespace {

using test::addHolder;
using test::nodeNamed;

TEST(HolderSettingsTest, LoadingShowsTheChoicesAndDefaults) {
    MemoFile file;
    MemoHolder& h = addHolder(file, "H", {{"a"}, {"b"}});
    HolderSettings shown = loadHolderSettings(h);
    EXPECT_EQ(shown.newNodeName, "Daily");
    EXPECT_EQ(shown.newNodeOption, "Normal");
    EXPECT_EQ(shown.fileExt, ".mxh");
    EXPECT_EQ(shown.formatDate, "YYYYMMDD");
    EXPECT_EQ(shown.formatNumber, "%.5d");
    EXPECT_FALSE(shown.colour);
    EXPECT_EQ(shown.countOfNodes, 2);
    EXPECT_EQ(shown.name, "H");

    h.putField_("FileExt", "\".MXH\"");
    h.putField_("NewNodeName", "\"Number\"");
    h.putField_("NewNodeOption", "\"plain\"");
    h.putField_("FlagSameName", "\"true\"");
    h.putField_("CC", "\"cc@example.org\"");
    h.putField_("Color", "\"clRed\"");
    shown = loadHolderSettings(h);
    EXPECT_EQ(shown.fileExt, ".mhz");
    EXPECT_EQ(shown.newNodeName, "Number");
    EXPECT_EQ(shown.newNodeOption, "Plain");
    EXPECT_TRUE(shown.sameName);
    EXPECT_EQ(shown.mail[3], "cc@example.org");
    ASSERT_TRUE(shown.colour);
    EXPECT_EQ(*shown.colour, 0x0000FFu);
}

TEST(HolderSettingsTest, StoringWritesOnlyWhatChanged) {
    MemoFile file;
    MemoHolder& h = addHolder(file, "H", {{"a"}});
    h.putField_("FileExt", "\".MXH\"");
    h.putField_("SelectNodeName", "\"pick\"");
    h.putField_("CC", "\"cc@example.org\"");
    h.putField_("FlagSameName", "\"true\"");
    const FieldList before = h.fields;
    const HolderSettings loaded = loadHolderSettings(h);

    EXPECT_EQ(storeHolderSettings(h, loaded, loaded), 0);
    EXPECT_TRUE(h.fields == before) << "a plain OK changes nothing";
    EXPECT_FALSE(h.changed);

    HolderSettings edited = loaded;
    edited.mail[3] = "  ";
    edited.selectNodeName = "";
    edited.mail[0] = " smtp.example.org ";
    edited.memo = {"about"};
    int readOnlyAnnounced = 0;
    edited.readOnly = true;
    EXPECT_EQ(storeHolderSettings(h, loaded, edited, {[&] {
                                      ++readOnlyAnnounced;
                                      EXPECT_FALSE(h.isReadOnly_()) << "announced first";
                                  }}),
              5);
    EXPECT_TRUE(h.changed);
    EXPECT_EQ(readOnlyAnnounced, 1);
    EXPECT_TRUE(h.isReadOnly_());
    EXPECT_EQ(h.getField_("CC"), "");
    EXPECT_EQ(h.getField_("SelectNodeName"), "");
    EXPECT_EQ(h.getField_("SMTPServer"), "\"smtp.example.org\"");
    EXPECT_EQ(h.getField_("FileExt"), "\".MXH\"") << "not converted by an unrelated OK";
    EXPECT_EQ(h.getField_("FlagSameName"), "\"true\"");
    EXPECT_EQ(h.memo, Lines{"about"});

    HolderSettings choices = loadHolderSettings(h);
    HolderSettings changedChoices = choices;
    changedChoices.sameName = false;
    changedChoices.newNodeOption = "Select";
    changedChoices.formatNumber = "%3d";
    changedChoices.sort = true;
    changedChoices.colour = 0x00FF00;
    storeHolderSettings(h, choices, changedChoices);
    EXPECT_EQ(h.getField_("FlagSameName"), "");
    EXPECT_EQ(h.getField_("NewNodeOption"), "\"Select\"");
    EXPECT_EQ(h.getField_("FormatNumber"), "\"%3d\"");
    EXPECT_TRUE(h.getSort_());
    EXPECT_EQ(h.getField_("Color"), "\"clLime\"");
}

TEST(HolderSettingsTest, AHolderWithoutColourGetsNoneFromOK) {
    MemoFile file;
    MemoHolder& coloured = addHolder(file, "C", {});
    coloured.putField_("Color", "\"clRed\"");
    MemoHolder& plain = addHolder(file, "P", {});
    EXPECT_TRUE(loadHolderSettings(coloured).colour);
    const HolderSettings loaded = loadHolderSettings(plain);
    EXPECT_FALSE(loaded.colour);
    storeHolderSettings(plain, loaded, loaded);
    EXPECT_EQ(plain.getField_("Color"), "");
}

TEST(MemoFileSettingsTest, StoringMarksTheMemoFileOnlyWhenSomethingChanged) {
    MemoFile file;
    file.memo = {"m"};
    const MemoFileSettings loaded = loadMemoFileSettings(file);
    EXPECT_EQ(storeMemoFileSettings(file, loaded, loaded), 0);
    EXPECT_FALSE(file.changed);
    MemoFileSettings edited = loaded;
    edited.colour = 0xFF0000;
    edited.memo = {"m", "n"};
    EXPECT_EQ(storeMemoFileSettings(file, loaded, edited), 2);
    EXPECT_TRUE(file.changed);
    EXPECT_EQ(file.getField_("Color"), "\"clBlue\"");
    EXPECT_EQ(file.memo, (Lines{"m", "n"}));
}

class NodePropertiesTest : public ::testing::Test {
  protected:
    NodePropertiesTest() {
        h = &addHolder(file, "H",
                       {{"cur",
                         {"FlagLink=\"true\"", "Filename=\"/t/a.txt\"", "Color=\"clRed\"",
                          "Created=\"20200101 000000\""}},
                        {"plain", {}},
                        {"linked", {"FlagLink=\"true\"", "Filename=\"/t/b.txt\""}},
                        {"white", {}}});
        other = &addHolder(file, "O", {{"o", {}}});
        later = &addHolder(file, "L", {}, false);
        current = &nodeNamed(*h, "cur");
    }

    std::vector<MemoNode*> targets(PropertyTarget target) {
        std::vector<MemoNode*> nodes;
        HolderAccess access;
        access.load = [](MemoHolder& holder) {
            test::addNode(holder, {"l", {}});
            holder.loaded = true;
        };
        EXPECT_TRUE(collectPropertyTargets(target, &file, *h, *current, access, nodes));
        return nodes;
    }

    MemoFile file;
    MemoHolder* h = nullptr;
    MemoHolder* other = nullptr;
    MemoHolder* later = nullptr;
    MemoNode* current = nullptr;
    const std::string stamp = propertyStamp({2024, 1, 5, 9, 8, 7, 0});
};

TEST_F(NodePropertiesTest, BindingShowsTheNodesValues) {
    const NodeProperties shown = bindNodeProperties(*h, *current);
    EXPECT_EQ(shown.holderName, "H");
    EXPECT_EQ(shown.nodeName, "cur");
    EXPECT_EQ(shown.colour, 0x0000FFu);
    EXPECT_EQ(shown.flagLink, 1);
    EXPECT_TRUE(shown.created);
    EXPECT_FALSE(shown.creater);
    EXPECT_EQ(shown.filename, "\"/t/a.txt\"");
    EXPECT_EQ(bindNodeProperties(*h, nodeNamed(*h, "plain")).flagLink, -1);
    EXPECT_EQ(stamp, "\"20240105 090807\"");
}

TEST_F(NodePropertiesTest, OkOnTheCurrentNodeWritesEveryShownValueButKeepsStamps) {
    NodeProperties shown = bindNodeProperties(*h, *current);
    shown.flagLink = 0;
    shown.created = shown.modified = shown.creater = true;
    std::vector<std::string> hooks;
    const ChangedHolders changed = applyNodeProperties(
        targets(PropertyTarget::CurrentNode), *current, current, shown, stamp, "\"me\"",
        {[&](MemoNode&) { hooks.push_back("save"); }, [&](MemoNode&) { hooks.push_back("load"); }});
    EXPECT_EQ(hooks, (std::vector<std::string>{"save", "load"}));
    EXPECT_EQ(current->getField_("FlagLink"), "\"false\"");
    EXPECT_EQ(current->getField_("Created"), "\"20200101 000000\"") << "never replaced";
    EXPECT_EQ(current->getField_("Modified"), stamp);
    EXPECT_EQ(current->getField_("Creater"), "\"me\"");
    EXPECT_EQ(current->getField_("Filename"), "\"/t/a.txt\"");
    EXPECT_EQ(current->getField_("Color"), "\"clRed\"");
    EXPECT_TRUE(changed.contains(h));
    EXPECT_TRUE(h->changed);
}

TEST_F(NodePropertiesTest, OkOnManyNodesCopiesOnlyWhatTheUserChanged) {
    NodeProperties shown = bindNodeProperties(*h, *current);
    applyNodeProperties(targets(PropertyTarget::CurrentHolder), *current, current, shown, stamp,
                        "\"me\"");
    MemoNode& plain = nodeNamed(*h, "plain");
    MemoNode& linked = nodeNamed(*h, "linked");
    EXPECT_EQ(plain.getField_("FlagLink"), "\"false\"");
    EXPECT_EQ(plain.getField_("Filename"), "") << "the current node's file is not copied";
    EXPECT_EQ(plain.getField_("Color"), "");
    EXPECT_EQ(linked.getField_("FlagLink"), "\"true\"");
    EXPECT_EQ(linked.getField_("Filename"), "\"/t/b.txt\"");
    EXPECT_EQ(nodeNamed(*h, "white").getField_("Color"), "");

    shown.colour = 0x00FF00;
    shown.colourPicked = true;
    shown.flagLink = 0;
    shown.flagLinkChanged = true;
    shown.filename = " /t/c.txt ";
    shown.filenameChosen = true;
    applyNodeProperties(targets(PropertyTarget::CurrentHolder), *current, current, shown, stamp,
                        "\"me\"");
    EXPECT_EQ(linked.getField_("FlagLink"), "\"false\"");
    EXPECT_EQ(linked.getField_("Filename"), "/t/c.txt") << "stored as shown, not quoted";
    EXPECT_EQ(plain.getField_("Color"), "\"clLime\"");
}

TEST_F(NodePropertiesTest, AWhiteNodeGetsNoColourAndAnUnchangedOkMarksNothing) {
    MemoNode& white = nodeNamed(*h, "white");
    white.putField_("FlagLink", "\"false\"");
    const NodeProperties shown = bindNodeProperties(*h, white);
    const ChangedHolders changed =
        applyNodeProperties({&white}, white, &white, shown, stamp, "\"me\"");
    EXPECT_EQ(white.getField_("Color"), "");
    EXPECT_TRUE(changed.empty());
    EXPECT_FALSE(h->changed);
}

TEST_F(NodePropertiesTest, TargetsAndBasicPutOverAllHolders) {
    nodeNamed(*h, "plain").setMarked_(true);
    const auto marked = targets(PropertyTarget::MarkedNodes);
    ASSERT_EQ(marked.size(), 1u);
    EXPECT_EQ(marked[0]->getName_(), "plain");
    EXPECT_EQ(targets(PropertyTarget::CurrentHolder).size(), 4u);
    EXPECT_FALSE(later->loaded);

    const auto all = targets(PropertyTarget::AllHolders);
    EXPECT_EQ(all.size(), 6u);
    EXPECT_TRUE(later->loaded);
    const ChangedHolders changed = putFieldIntoNodes(all, current, " K ", " \"abc\" ");
    for (MemoNode* node : all) EXPECT_EQ(node->getField_("K"), "\"abc\"");
    EXPECT_EQ(changed.holders(), (std::vector<MemoHolder*>{h, other, later}));
    EXPECT_TRUE(putFieldIntoNodes(all, current, "  ", "x").empty());
}

}  // namespace
}  // namespace zel
