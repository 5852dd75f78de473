#include "dialogs/SaveEach.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <filesystem>
#include <fstream>

#include "dialogs/DialogTestSupport.h"
#include "platform/FileSystem.h"
#include "platform/SafeFileWriter.h"
#include "support/TempFolder.h"

namespace zel {
namespace {

using Lines = std::vector<std::string>;
using test::addHolder;
using test::nodeNamed;

class SaveEachTest : public ::testing::Test {
  protected:
    void SetUp() override {
        file_.setFilename(dir_.path("memo.mxa"));
        out_ = dir_.path("out") + "/";
        makeDirs(out_);
    }
    MemoHolder& holderOf(const std::vector<test::NodeSpec>& nodes) {
        MemoHolder& holder = addHolder(file_, "H", nodes);
        for (std::size_t i = 0; i < holder.nodes->childCount(); ++i) {
            auto* node = static_cast<MemoNode*>(holder.nodes->childAt(i));
            node->memo = {"body of " + holder.nodes->nameAt(i)};
        }
        return holder;
    }
    std::string read(const std::string& path) const {
        std::string text;
        readFile(path, text);
        return text;
    }
    SaveEachResult run(MemoHolder* holder, const SaveEachOptions& options,
                       std::vector<WriteOverAnswer> answers = {}) {
        SaveEachCalls calls;
        calls.askWriteOver = [this, answers](const std::string& question) mutable {
            questions_.push_back(question);
            if (answers.empty()) {
                ADD_FAILURE() << "unexpected question " << question;
                return WriteOverAnswer::Cancel;
            }
            WriteOverAnswer answer = answers.front();
            answers.erase(answers.begin());
            return answer;
        };
        log_.clear();
        return saveEach(holder, out_, options, calls, log_);
    }

    test::TempFolder dir_;
    MemoFile file_;
    std::string out_;
    Lines log_;
    Lines questions_;
};

TEST_F(SaveEachTest, WritesEachBodyIntoTheFolderUnderItsFileName) {
    MemoHolder& holder =
        holderOf({{"a", {"Filename=\"/x/a.txt\""}}, {"b", {}}, {"c", {"Filename=\" /y/c.txt \""}}});
    const SaveEachResult done = run(&holder, {});
    EXPECT_EQ(done.saved, 2);
    EXPECT_EQ(log_, (Lines{"Save a : " + out_ + "a.txt", "Not Save name=b Filename=\"\"",
                           "Save c : " + out_ + "c.txt", "Done: count of the Files saved=2"}));
    EXPECT_EQ(read(out_ + "a.txt"), "body of a\r\n");
    EXPECT_FALSE(holder.changed);

    SaveEachOptions marked;
    marked.markedOnly = true;
    run(&holder, marked);
    EXPECT_EQ(log_, Lines{"Done: count of the Files saved=0"});
    EXPECT_EQ(run(nullptr, {}).finalText, "ERROR: SaveEach");
    EXPECT_EQ(log_, Lines{"ERROR: SaveEach"});
}

TEST_F(SaveEachTest, AnExistingFileIsWrittenOverOnlyWhenTheUserSaysSo) {
    MemoHolder& holder = holderOf({{"a", {"Filename=\"a.txt\""}},
                                   {"b", {"Filename=\"b.txt\""}},
                                   {"c", {"Filename=\"c.txt\""}}});
    for (const char* name : {"a.txt", "b.txt", "c.txt"})
        std::ofstream(dir_.osPath(std::string("out/") + name)) << "old";
    run(&holder, {}, {WriteOverAnswer::No, WriteOverAnswer::Yes, WriteOverAnswer::Cancel});
    EXPECT_EQ(questions_.front(), "Shall I Write Over \"" + out_ + "a.txt\" ?");
    EXPECT_EQ(log_,
              (Lines{"Should Not Save name=\"a\" Filename=\"" + out_ + "a.txt\"",
                     "*Write Over Filename=\"" + out_ + "b.txt\"", "Save b : " + out_ + "b.txt",
                     "*Cancel*", "Done: count of the Files saved=1"}));
    EXPECT_EQ(read(out_ + "a.txt"), "old");
    EXPECT_EQ(read(out_ + "c.txt"), "old");
}

TEST_F(SaveEachTest, HostileNamesStayInsideTheFolder) {
    MemoHolder& holder = holderOf({{"up", {"Filename=\"../../e1.txt\""}},
                                   {"web", {"Filename=\"http://h/../../e2.html\""}},
                                   {"abs", {"Filename=\"/etc/e3.txt\""}},
                                   {"win", {"Filename=\"C:\\..\\e4.txt\""}},
                                   {"bare", {"Filename=\"http://h/\""}},
                                   {"dots", {"Filename=\"/a/..\""}},
                                   {"ctl",
                                    {"Filename=\"/a/e\x01\x1b"
                                     "5.txt\""}}});
    run(&holder, {});
    EXPECT_EQ(log_.back(), "Done: count of the Files saved=5");
    Lines written;
    for (const auto& entry : std::filesystem::directory_iterator(dir_.osPath("out")))
        written.push_back(entry.path().filename().string());
    std::sort(written.begin(), written.end());
    EXPECT_EQ(written, (Lines{"e1.txt", "e2.html", "e3.txt", "e4.txt", "e5.txt"}));
    Lines outside;
    for (const auto& entry : std::filesystem::directory_iterator(dir_.osPath("")))
        outside.push_back(entry.path().filename().string());
    EXPECT_EQ(outside, Lines{"out"});
    EXPECT_NE(std::find(log_.begin(), log_.end(), "Not Save name=bare Filename=\"http://h/\""),
              log_.end());
}

TEST_F(SaveEachTest, WithoutAFolderNamesLieBesideTheHolderFile) {
    MemoHolder& holder = holderOf({{"rel", {"Filename=\"sub\\r.txt\""}},
                                   {"web", {"Filename=\"https://h/a.html\""}},
                                   {"abs", {"Filename=\"" + dir_.path("abs.txt") + "\""}}});
    SaveEachOptions options;
    options.defineDirectory = false;
    run(&holder, options);
    EXPECT_EQ(read(dir_.path("sub/r.txt")), "body of rel\r\n");
    EXPECT_EQ(read(dir_.path("abs.txt")), "body of abs\r\n");
    EXPECT_NE(
        std::find(log_.begin(), log_.end(), "Not Save name=web Filename=\"https://h/a.html\""),
        log_.end());
    EXPECT_EQ(log_.back(), "Done: count of the Files saved=2");
}

TEST_F(SaveEachTest, ALinkedBodyIsReadFirstAndNeverWrittenOverItsOwnFile) {
    std::ofstream(dir_.osPath("linked.txt")) << "linked text\n";
    const std::string linked = "Filename=\"" + dir_.path("linked.txt") + "\"";
    MemoHolder& holder =
        holderOf({{"l", {linked, "FlagLink=\"true\""}},
                  {"gone", {"Filename=\"/no/such/file.txt\"", "FlagLink=\"true\""}}});
    for (MemoNode* node : {&nodeNamed(holder, "l"), &nodeNamed(holder, "gone")}) node->memo.clear();
    SaveEachOptions options;
    options.defineDirectory = false;
    run(&holder, options);
    EXPECT_EQ(read(dir_.path("linked.txt")), "linked text\n");
    EXPECT_EQ(log_.back(), "Done: count of the Files saved=0");

    run(&holder, {});
    EXPECT_EQ(read(out_ + "linked.txt"), "linked text\r\n");
    EXPECT_FALSE(fileExists(out_ + "file.txt"));
    EXPECT_EQ(log_, (Lines{"Save l : " + out_ + "linked.txt",
                           "Not Save name=gone Filename=\"/no/such/file.txt\"",
                           "Done: count of the Files saved=1"}));
}

TEST_F(SaveEachTest, FailedWritesAreLoggedAndNotCounted) {
    MemoHolder& holder = holderOf({{"a", {"Filename=\"a.txt\""}}});
    std::ofstream(dir_.osPath("plain")) << "a file, not a folder";
    out_ = dir_.path("plain") + "/";
    run(&holder, {});
    EXPECT_EQ(log_, (Lines{"ERROR: could not write " + out_ + "a.txt",
                           "Done: count of the Files saved=0"}));
}

TEST_F(SaveEachTest, ChangeFilenameMarksTheHolderAndBreakEndsTheRun) {
    MemoHolder& holder =
        holderOf({{"a", {"Filename=\"/elsewhere/a.txt\""}}, {"b", {"Filename=\"b.txt\""}}});
    SaveEachOptions options;
    options.changeFilename = true;
    run(&holder, options);
    EXPECT_EQ(nodeNamed(holder, "a").getField_("Filename"), out_ + "a.txt");
    EXPECT_TRUE(holder.changed);

    holder.changed = false;
    std::filesystem::remove(dir_.osPath("out/a.txt"));
    std::filesystem::remove(dir_.osPath("out/b.txt"));
    SaveEachCalls calls;
    calls.breakRequested = [] { return true; };
    log_.clear();
    EXPECT_EQ(saveEach(&holder, out_, options, calls, log_).finalText, "ERROR: SaveEach");
    EXPECT_EQ(log_, (Lines{"*Break*", "ERROR: SaveEach"}));
    EXPECT_FALSE(holder.changed);
}

// The files of a run are written together and synced once; what the log,
// the counts and the questions say is still what writing them one by one
// would have said.
TEST_F(SaveEachTest, AWriteThatFailsInTheRunIsLoggedForItsNodeAndLeavesItsFile) {
    MemoHolder& holder = holderOf({{"a", {"Filename=\"a.txt\""}},
                                   {"b", {"Filename=\"/x/b.txt\""}},
                                   {"c", {"Filename=\"c.txt\""}}});
    std::ofstream(dir_.osPath("out/b.txt")) << "old";
    int writes = 0;
    WriteFaultHook previous = setWriteFaultHook(
        [&](WriteStep step) { return step == WriteStep::Write && ++writes == 2; });
    SaveEachOptions options;
    options.confirmWriteOver = false;
    options.changeFilename = true;
    const SaveEachResult done = run(&holder, options);
    setWriteFaultHook(previous);
    EXPECT_EQ(done.saved, 2);
    EXPECT_EQ(log_, (Lines{"Save a : " + out_ + "a.txt", "ERROR: could not write " + out_ + "b.txt",
                           "Save c : " + out_ + "c.txt", "Done: count of the Files saved=2"}));
    EXPECT_EQ(read(out_ + "b.txt"), "old");
    EXPECT_EQ(read(out_ + "c.txt"), "body of c\r\n");
    EXPECT_EQ(nodeNamed(holder, "a").getField_("Filename"), out_ + "a.txt");
    EXPECT_EQ(nodeNamed(holder, "b").getField_("Filename"), "\"/x/b.txt\"");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.osPath("out")), {}), 3)
        << "no temporary file stays";
}

TEST_F(SaveEachTest, AFileWrittenEarlierInTheRunIsThereForTheNodesAfterIt) {
    // The second node's file is the first one's: it is asked about.
    MemoHolder& same =
        holderOf({{"a", {"Filename=\"/p/same.txt\""}}, {"b", {"Filename=\"/q/same.txt\""}}});
    run(&same, {}, {WriteOverAnswer::No});
    EXPECT_EQ(questions_, Lines{"Shall I Write Over \"" + out_ + "same.txt\" ?"});
    EXPECT_EQ(read(out_ + "same.txt"), "body of a\r\n");
    EXPECT_EQ(log_.back(), "Done: count of the Files saved=1");

    // A file stands where the next node needs a folder.
    MemoHolder& nested = holderOf(
        {{"f", {"Filename=\"" + out_ + "x\""}}, {"g", {"Filename=\"" + out_ + "x/y.txt\""}}});
    SaveEachOptions beside;
    beside.defineDirectory = false;
    run(&nested, beside);
    EXPECT_EQ(log_, (Lines{"Save f : " + out_ + "x", "ERROR: could not write " + out_ + "x/y.txt",
                           "Done: count of the Files saved=1"}));
    EXPECT_EQ(read(out_ + "x"), "body of f\r\n");
}

// Many more nodes than the descriptors a run may keep open at once.
TEST_F(SaveEachTest, ARunOfManyNodesKeepsFewFilesOpen) {
    std::vector<test::NodeSpec> specs;
    for (int i = 0; i < 300; ++i)
        specs.push_back({"n" + std::to_string(i), {"Filename=\"n" + std::to_string(i) + ".txt\""}});
    MemoHolder& holder = holderOf(specs);
    rlimit saved{};
    ::getrlimit(RLIMIT_NOFILE, &saved);
    rlimit few{128, saved.rlim_max};
    ::setrlimit(RLIMIT_NOFILE, &few);
    const SaveEachResult done = run(&holder, {});
    ::setrlimit(RLIMIT_NOFILE, &saved);
    EXPECT_EQ(done.saved, 300);
    EXPECT_EQ(log_.size(), 301u);
    EXPECT_EQ(log_[299], "Save n299 : " + out_ + "n299.txt");
    EXPECT_EQ(read(out_ + "n150.txt"), "body of n150\r\n");
}

}  // namespace
}  // namespace zel
