// Holder files: the settings lines, round trips through .mxh and .mhz, files
// written by other tools, paths and CSV import.

#include <filesystem>
#include <fstream>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "formats/TContent.h"
#include "formats/TTAGNode.h"
#include "model/HolderFile.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "platform/Environment.h"
#include "support/HolderTestSupport.h"
#include "support/TempFolder.h"
#include "text/Sjis.h"

namespace zel {
namespace {

using test::addTextNode;
using test::describeNodes;
using ::testing::ElementsAre;
using ::testing::MatchesRegex;

const DateTime kMarch1st{2006, 3, 1, 14, 25, 30, 0};

std::vector<std::string> names(const MemoHolder& holder) {
    std::vector<std::string> list;
    for (int i = 0; i < holder.count_(); ++i) list.push_back(holder.at_(i)->getName_());
    return list;
}

std::vector<std::string> fileLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

std::string readAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// A holder with every kind of setting and a few nodes, inside a memo file.
MemoHolder& configuredHolder(MemoFile& file) {
    MemoHolder& holder = *file.createHolder_(-1);
    holder.putName_as_("work");
    for (auto [key, value] : {std::pair{"FormatDate", "\"yyyy/mm/dd\""},
                              {"FormatNumber", "\"%5d\""},
                              {"FlagExtra", "\"true\""},
                              {"Filename", "\"/x/extra.mhz\""},
                              {"FlagSameName", "\"true\""},
                              {"FileExt", "\".mhz\""},
                              {"FlagReadOnly", "\"true\""},
                              {"NewNodeOption", "\"Current\""},
                              {"ModeNodesMngr", "\"TreeView\""},
                              {"Color", "\"clRed\""},
                              {"QueryNode", "\"Q&A\""}})
        holder.putField_(key, value);
    holder.setCurrent_(addTextNode(holder, "n1", {"one"}));
    holder.setSort_(true);
    holder.setAscending_(false);
    holder.flagAutoReLoad = true;
    holder.reloadMinutes = 5;
    holder.saveMinutes = 9;
    holder.countSave = 3;
    holder.timeReload = holder.timeSaved = kMarch1st;
    return holder;
}

TEST(HolderMarkup, SettingsLinesInOrderWithTheirConditions) {
    MemoFile file;
    MemoHolder& holder = configuredHolder(file);
    std::vector<std::string> lines;
    writeHolder_(holder, lines, "");
    EXPECT_THAT(
        lines,
        ElementsAre("<Holder name=\"work\">", "  <Field curIndex=\"n1\"/>",
                    "  <Field NewNodeName=\"Daily\"/>", "  <Field FormatDate=\"yyyy/mm/dd\"/>",
                    "  <Field FormatNumber=\"%5d\"/>", "  <Field FlagExtra=\"true\"/>",
                    "  <Field FlagSameName=\"true\"/>", "  <Field FileExt=\".mhz\"/>",
                    "  <Field FlagReadOnly=\"true\"/>", "  <Field NewNodeOption=\"Current\"/>",
                    "  <Field FileName=\"/x/extra.mhz\"/>", "  <Field ModeNodesMngr=\"TreeView\"/>",
                    "  <Field Color=\"clRed\"/>", "  <Field QueryNode=\"Q&amp;A\"/>",
                    "  <Field flagSort=\"true\"/>", "  <Field flagAscending=\"false\"/>",
                    "  <Field flagAccount=\"false\"/>", "  <Field flagAutoReLoad=\"true\"/>",
                    "  <Field ReloadMinutes=\"5\"/>", "  <Field TimeReLoad=\"20060301 142530\"/>",
                    "  <Field flagAutoSave=\"false\"/>", "  <Field SaveMinutes=\"9\"/>",
                    "  <Field TimeSaved=\"20060301 142530\"/>", "  <Field CountSave=\"3\"/>",
                    "  <Record name=\"n1\">", "one<BR/>", "  </Record>", "</Holder>"));
}

TEST(HolderMarkup, DefaultsAreLeftOutAndNamesEscaped) {
    MemoFile file;
    MemoHolder& holder = *file.createHolder_(-1);
    holder.putName_as_("R&D \"x\" <1>");
    holder.putField_("FormatNumber", "\"%.5d\"");
    holder.putField_("FormatDate", "\"YyyyMmDd\"");
    holder.putField_("ModeNodesMngr", "\"CheckListBox\"");
    holder.putField_("NewNodeOption", "\"normal\"");  // not exactly "Normal": written
    std::vector<std::string> lines;
    writeHolder_(holder, lines, "  ");
    EXPECT_EQ(lines[0], "  <Holder name=\"R&amp;D &quot;x&quot; &lt;1&gt;\">");
    EXPECT_EQ(lines[1], "    <Field NewNodeName=\"Daily\"/>");
    EXPECT_EQ(lines[2], "    <Field NewNodeOption=\"normal\"/>");
    EXPECT_EQ(lines[3], "    <Field flagSort=\"false\"/>");
}

class HolderFiles : public ::testing::Test {
  protected:
    // A holder with marks, comments, Japanese text and new-node settings.
    void fill(MemoHolder& holder) {
        holder.putField_("NewNodeName", "\"Number\"");
        holder.putField_("NewNodeOption", "\"Select\"");
        holder.putField_("FormatNumber", "\"%.3d\"");
        holder.putField_("SMTPServer", "\"mail.example\"");  // memory only
        holder.comment = {"not stored"};
        MemoNode* first = addTextNode(holder, "b-first", {"line <1> & \"2\"", "", "  indented"});
        first->setMarked_(true);
        first->comment = {"a comment"};
        addTextNode(holder, utf8ToSjis("日本語の名前"), {utf8ToSjis("表示と能力")});
        addTextNode(holder, "a-last");
        holder.setCurrent_(holder.at_(1));
        holder.setAscending_(false);
    }

    void expectSameHolder(const MemoHolder& read, const MemoHolder& written) {
        EXPECT_EQ(describeNodes(read), describeNodes(written));
        EXPECT_EQ(read.indexOf_(read.getCurrent_()), 1);
        EXPECT_EQ(read.getSort_(), written.getSort_());
        EXPECT_EQ(read.getAscending_(), written.getAscending_());
        EXPECT_EQ(read.getNewNodeName_(), "\"Number\"");
        EXPECT_EQ(read.getNewNodeOption_(), "\"Select\"");
        EXPECT_EQ(read.getFormatNumber_(), "\"%.3d\"");
        EXPECT_EQ(read.getField_("SMTPServer"), "");
        EXPECT_TRUE(read.comment.empty());
        EXPECT_EQ(read.countSave, written.countSave);
        EXPECT_EQ(formatDateTime("yyyymmddhhnnss", read.timeSaved),
                  formatDateTime("yyyymmddhhnnss", written.timeSaved));
    }

    test::TempFolder folder;
};

TEST_F(HolderFiles, PlainAndCompressedRoundTripsKeepEverythingStored) {
    for (const char* name : {"h.mxh", "h.MHZ"}) {
        SCOPED_TRACE(name);
        MemoHolder written;
        fill(written);
        written.countSave = 4;
        ASSERT_GT(saveHolderFile_(written, folder.path(name)), 0);
        EXPECT_EQ(written.countSave, 5);

        MemoHolder read;
        ASSERT_EQ(readHolderFile_(read, folder.path(name)), 0);
        expectSameHolder(read, written);
    }
    EXPECT_NE(readAll(folder.osPath("h.MHZ")).substr(0, 5), "<?xml");
}

TEST_F(HolderFiles, SavingAReadHolderAgainChangesOnlyTheSaveStamps) {
    MemoHolder original;
    fill(original);
    ASSERT_GT(saveHolderFile_(original, folder.path("a.mxh")), 0);
    MemoHolder read;
    ASSERT_EQ(readHolderFile_(read, folder.path("a.mxh")), 0);
    ASSERT_GT(saveHolderFile_(read, folder.path("b.mxh")), 0);

    std::vector<std::string> first = fileLines(readAll(folder.osPath("a.mxh")));
    std::vector<std::string> second = fileLines(readAll(folder.osPath("b.mxh")));
    ASSERT_EQ(first.size(), second.size());
    for (std::size_t i = 0; i < first.size(); ++i) {
        if (first[i] == second[i]) continue;
        EXPECT_THAT(first[i], MatchesRegex("<!-- .* -->|  <Field (TimeSaved|CountSave)=.*"));
    }
    EXPECT_THAT(first, ::testing::Contains("  <Field CountSave=\"1\"/>"));
    EXPECT_THAT(second, ::testing::Contains("  <Field CountSave=\"2\"/>"));
}

TEST_F(HolderFiles, AnotherExtensionWritesNothingAndCountsNoSave) {
    MemoHolder holder;
    std::string error;
    EXPECT_EQ(saveHolderFile_(holder, folder.path("h.txt"), &error), -1);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(holder.countSave, 0);
    EXPECT_FALSE(std::filesystem::exists(folder.osPath("h.txt")));
}

TEST(HolderReading, FileOfAnotherToolWithLooseLayout) {
    MemoHolder holder;
    ASSERT_EQ(readHolderFile_(holder, test::fixture("foreign/tasks.mxh")), 0);
    std::vector<std::string> read = names(holder);
    ASSERT_EQ(read.size(), 5u);
    EXPECT_EQ(read[0], "write report");
    EXPECT_THAT(read[1], MatchesRegex("[0-9]{8} [0-9]{6} "));  // a Record without name
    EXPECT_EQ(read[2], "call");
    EXPECT_EQ(read[3], "call_02");  // duplicate names are made unique
    EXPECT_EQ(sjisToUtf8(read[4]), "電話");
    EXPECT_THAT(holder.at_(0)->memo, ElementsAre("draft the summary", "  indented line", ""));
    EXPECT_TRUE(holder.at_(0)->isMarked_());
    EXPECT_EQ(holder.getCurrent_(), holder.at_(0));
}

TEST(HolderReading, SameNameKeepsDuplicatesAndPlainTextUnderMhzReads) {
    MemoHolder same;
    ASSERT_EQ(readHolderText_(same,
                              "<Holder><Field FlagSameName=\"true\"/><Record name=\"x\"></Record>"
                              "<Record name=\"x\"></Record></Holder>",
                              "text"),
              0);
    EXPECT_THAT(names(same), ElementsAre("x", "x"));

    MemoHolder unpacked;
    ASSERT_EQ(readHolderFile_(unpacked, test::fixture("foreign/archive.mhz")), 0);
    EXPECT_THAT(names(unpacked), ElementsAre("kept"));
}

TEST(HolderReading, SortingAppliesAsSetWhenTheRecordsArrive) {
    const std::string text =
        "<Holder><Field flagSort=\"true\"/><Field flagAscending=\"true\"/>"
        "<Record name=\"c\"></Record><Record name=\"a\"></Record><Record name=\"b\"></Record>"
        "</Holder>";
    MemoHolder fresh;
    ASSERT_EQ(readHolderText_(fresh, text, "t"), 0);
    EXPECT_THAT(names(fresh), ElementsAre("c", "a", "b"));  // the file's order
    EXPECT_TRUE(fresh.getSort_());

    MemoHolder sorted;
    sorted.setSort_(true);
    ASSERT_EQ(readHolderText_(sorted, text, "t"), 0);
    EXPECT_THAT(names(sorted), ElementsAre("a", "b", "c"));
}

// The file's bytes are read in one pass; a Holder element of a tree already
// built (as an index carries them) is read by the same rules.
TEST(HolderReading, BytesAndTreeReadAlike) {
    const std::string text =
        "<?xml?><Holder name=\"h\"><Field FlagSameName=\"false\" curIndex=\"b\"/>"
        "<Record name=\"a\"><Field x=\"1\"/>one &lt;1&gt;<X>hidden<BR/></X> more<BR/>"
        "<Comment>c1<BR/>c2</Comment>dropped</Record>after a<BR/>"
        "<Record><Field Content-Transfer-Encoding=\"base64\"/>QUJD<BR/></Record>"
        "<Record name=\"A\"/><Record name='b'>x<BR/><BR></BR>y<BR/></Record></Holder>";
    MemoHolder fromBytes;
    ASSERT_EQ(readHolderText_(fromBytes, text, "t.mxh"), 0);
    WordList words;
    splitWords(text, words, false);
    TTAGNode root;
    std::vector<std::string> errors;
    ASSERT_EQ(parseMarkup(root, words, errors), 0);
    MemoHolder fromTree;
    fromTree.readTag_(*root.getElement_("Holder"));

    std::vector<std::string> facts = test::describeNodes(fromBytes);
    ASSERT_EQ(fromBytes.count_(), 4);
    // The nameless record is named by the clock; the rest must agree.
    facts.erase(facts.begin() + 5);
    std::vector<std::string> tree = test::describeNodes(fromTree);
    tree.erase(tree.begin() + 5);
    EXPECT_EQ(facts, tree);
    EXPECT_EQ(facts, (std::vector<std::string>{
                         "node a", "  field x=\"1\"", "  comment c1", "  memo one <1> more",
                         "  memo after a", "  field Content-Transfer-Encoding=\"binary\"",
                         "node A_00", "node 'b'", "  memo x", "  memo ", "  memo y"}));
    EXPECT_EQ(fromBytes.at_(1)->content->stream, "ABC");
    EXPECT_EQ(fromBytes.getField_("curIndex"), fromTree.getField_("curIndex"));
}

TEST(HolderReading, MarkupErrorsGoToTheLogAndLeaveTheHolderAlone) {
    MemoHolder holder;
    addTextNode(holder, "before");
    test::CapturedLog log;
    EXPECT_EQ(readHolderText_(holder, "<Holder><Record name=\"a\"></Holder>", "broken.mxh"), -1);
    EXPECT_THAT(names(holder), ElementsAre("before"));
    ASSERT_GE(log.lines.size(), 2u);
    EXPECT_EQ(log.lines[0], "Markup error in broken.mxh");
    EXPECT_EQ(readHolderText_(holder, "<File></File>", "other"), -2);
}

TEST(HolderPaths, DerivedFromTheMemoFileFolderAndTheSafeName) {
    MemoFile file;
    file.setFilename("/m/diary.mxa");
    MemoHolder& holder = *file.createHolder_(-1);
    holder.putName_as_("notes.old");
    EXPECT_EQ(holderFilePath_(holder), "/m/notes.mxh");
    holder.putName_as_("a/b:c");
    holder.putField_("FileExt", "\".mhz\"");
    EXPECT_EQ(holderFilePath_(holder), "/m/a_b_c.mhz");
    holder.putField_("Filename", "\"/else/x.mxh\"");
    EXPECT_EQ(holderFilePath_(holder), "/m/a_b_c.mhz");  // only with FlagExtra
    holder.setFlagExtra_(true);
    EXPECT_EQ(holderFilePath_(holder), "/else/x.mxh");

    MemoHolder alone;
    EXPECT_EQ(holderFilePath_(alone), currentDirectory() + "noname.mxh");
}

TEST(CsvImport, HeaderColumnsBecomeFieldKeys) {
    MemoFile file;
    MemoHolder* holder = csvToHolder_(
        file, {"# exported", "Name,,\"Price, net\"", "pen,x,\"1,20\"", "a,b,c,extra", "only"});
    ASSERT_NE(holder, nullptr);
    EXPECT_EQ(file.holderAt_(0), holder);
    ASSERT_EQ(holder->count_(), 3);
    EXPECT_EQ(holder->at_(0)->fields.size(), 3u);
    EXPECT_EQ(holder->at_(0)->getField_("Name"), "\"pen\"");
    EXPECT_EQ(holder->at_(0)->getField_("02"), "\"x\"");
    EXPECT_EQ(holder->at_(0)->fields[2], "\"Price, net\"=\"1,20\"");
    EXPECT_EQ(holder->at_(1)->fields.size(), 3u);
    EXPECT_EQ(holder->at_(2)->fields.size(), 1u);

    EXPECT_EQ(csvToHolder_(file, {"# c", "Name"}), nullptr);
    EXPECT_EQ(csvToHolder_(file, {"# c", "  ", "x"}), nullptr);
    EXPECT_EQ(file.countOfHolders_(), 1);
}

}  // namespace
}  // namespace zel
