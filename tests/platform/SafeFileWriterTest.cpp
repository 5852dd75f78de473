#include "platform/SafeFileBatch.h"
#include "platform/SafeFileSet.h"
#include "platform/SafeFileWriter.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>

#include "platform/FileLock.h"
#include "platform/FileSystem.h"
#include "support/TempFolder.h"

namespace zel {
namespace {

std::string contentOf(const std::string& path) {
    std::string bytes;
    EXPECT_TRUE(readFile(path, bytes)) << path;
    return bytes;
}

// Only the target itself: no temporary file may stay behind.
std::size_t entriesIn(const test::TempFolder& dir) {
    std::vector<FolderEntry> entries;
    listFolder(dir.path(), entries);
    return entries.size();
}

// Files may grow to `bytes` at most while it lives; writing past that fails
// as on a full disk.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited{bytes, saved_.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }

  private:
    rlimit saved_{};
    void (*previous_)(int) = nullptr;
};

TEST(SafeFileWriter, ReplacesTheWholeFileAndKeepsItsPermissions) {
    test::TempFolder dir;
    std::string path = dir.path("memo.mxa");
    ASSERT_TRUE(writeFileSafely(path, std::string(100000, 'o')));
    ::chmod(dir.osPath("memo.mxa").c_str(), 0640);

    SafeFileWriter writer(path);
    for (int i = 0; i < 1000; ++i) writer.append("line " + std::to_string(i) + "\r\n");
    EXPECT_EQ(contentOf(path), std::string(100000, 'o'));  // untouched until commit
    ASSERT_TRUE(writer.commit());

    std::string expected;
    for (int i = 0; i < 1000; ++i) expected += "line " + std::to_string(i) + "\r\n";
    EXPECT_EQ(contentOf(path), expected);
    EXPECT_EQ(std::filesystem::status(dir.osPath("memo.mxa")).permissions(),
              std::filesystem::perms(0640));
    EXPECT_EQ(entriesIn(dir), 1u);
}

TEST(SafeFileWriter, FailedWriteLeavesTheOldFileAndNoTemporary) {
    test::TempFolder dir;
    std::string path = dir.path("holder.mxh");
    ASSERT_TRUE(writeFileSafely(path, "old"));
    IoResult result;
    {
        FileSizeLimit limit(4096);
        result = writeFileSafely(path, std::string(1 << 20, 'n'));
    }
    EXPECT_FALSE(result);
    EXPECT_NE(result.message.find("holder.mxh"), std::string::npos) << result.message;
    EXPECT_EQ(contentOf(path), "old");
    EXPECT_EQ(entriesIn(dir), 1u);
}

TEST(SafeFileWriter, AbandonedWriterAndMissingFolderChangeNothing) {
    test::TempFolder dir;
    std::string path = dir.path("a.txt");
    ASSERT_TRUE(writeFileSafely(path, "keep"));
    {
        SafeFileWriter writer(path);
        writer.append("lost");
    }
    EXPECT_EQ(contentOf(path), "keep");
    EXPECT_EQ(entriesIn(dir), 1u);

    IoResult result = writeFileSafely(dir.path("no/such/folder.txt"), "x");
    EXPECT_FALSE(result);
    EXPECT_NE(result.message.find("folder.txt"), std::string::npos);
}

TEST(SafeFileWriter, WritesThroughALinkAndKeepsIt) {
    test::TempFolder dir;
    ASSERT_TRUE(writeFileSafely(dir.path("real.txt"), "old"));
    std::filesystem::create_symlink(dir.osPath("real.txt"), dir.osPath("link.txt"));
    ASSERT_TRUE(writeFileSafely(dir.path("link.txt"), "new"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.osPath("link.txt")));
    EXPECT_EQ(contentOf(dir.path("real.txt")), "new");
}

TEST(SafeFileWriter, NamesFromContentAreNotWrittenThroughLinksOutOfTheirFolder) {
    test::TempFolder outside, dir;
    ASSERT_TRUE(writeFileSafely(outside.path("victim.mxh"), "theirs"));
    ASSERT_TRUE(writeFileSafely(dir.path("real.mxh"), "old"));
    std::filesystem::create_symlink(outside.osPath("victim.mxh"), dir.osPath("out.mxh"));
    std::filesystem::create_symlink(dir.osPath("real.mxh"), dir.osPath("in.mxh"));
    std::filesystem::create_symlink(dir.osPath("gone.mxh"), dir.osPath("dangling.mxh"));

    IoResult refused = writeFileSafely(dir.path("out.mxh"), "mine", LinkPolicy::StayInFolder);
    EXPECT_FALSE(refused);
    EXPECT_NE(refused.message.find("symbolic link"), std::string::npos) << refused.message;
    EXPECT_EQ(contentOf(outside.path("victim.mxh")), "theirs");
    EXPECT_TRUE(std::filesystem::is_symlink(dir.osPath("out.mxh")));
    EXPECT_FALSE(writeFileSafely(dir.path("dangling.mxh"), "x", LinkPolicy::StayInFolder));
    EXPECT_FALSE(std::filesystem::exists(dir.osPath("gone.mxh")));

    ASSERT_TRUE(writeFileSafely(dir.path("in.mxh"), "new", LinkPolicy::StayInFolder));
    EXPECT_EQ(contentOf(dir.path("real.mxh")), "new");
    ASSERT_TRUE(writeFileSafely(dir.path("out.mxh"), "chosen")) << "the user's own path";
    EXPECT_EQ(contentOf(outside.path("victim.mxh")), "chosen");
}

// Each step of a save fails in turn: the old file stays whole and nothing
// is left behind, except after the rename, when the new file is in place.
TEST(SafeFileWriter, EveryFailingStepLeavesTheOldFileOrTheWholeNewOne) {
    for (WriteStep step : {WriteStep::Create, WriteStep::Write, WriteStep::Sync, WriteStep::Rename,
                           WriteStep::SyncFolder}) {
        test::TempFolder dir;
        const std::string path = dir.path("memo.mxh");
        ASSERT_TRUE(writeFileSafely(path, "old"));
        WriteFaultHook previous = setWriteFaultHook([step](WriteStep now) { return now == step; });
        IoResult result = writeFileSafely(path, std::string(200000, 'n'));
        setWriteFaultHook(previous);
        EXPECT_FALSE(result) << static_cast<int>(step);
        EXPECT_NE(result.message.find("memo.mxh"), std::string::npos) << result.message;
        EXPECT_EQ(contentOf(path),
                  step == WriteStep::SyncFolder ? std::string(200000, 'n') : "old");
        EXPECT_EQ(entriesIn(dir), 1u);
    }
}

// Without a handler of its own, a process over its file-size limit would be
// killed by SIGXFSZ; the writer makes that an ordinary write error.
TEST(SafeFileWriter, ASizeLimitIsAWriteErrorNotASilentKill) {
    test::TempFolder dir;
    const std::string path = dir.path("big.mxh");
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_DFL);
        rlimit limited{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limited);
        IoResult result = writeFileSafely(path, std::string(1 << 20, 'x'));
        ::_exit(!result && result.message.find("big.mxh") != std::string::npos ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "killed by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_FALSE(std::filesystem::exists(dir.osPath("big.mxh")));
    EXPECT_EQ(entriesIn(dir), 0u);
}

pid_t deadProcess() {
    pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

// Written behind the writer's back, as a killed run leaves them.
void plant(const test::TempFolder& dir, const std::string& name, std::string_view bytes) {
    std::ofstream(dir.osPath(name), std::ios::binary) << bytes;
}

TEST(SafeFileWriter, TheNextWriteCleansUpAfterAKilledRunAndFinishesItsJournal) {
    test::TempFolder dir;
    const std::string dead = std::to_string(deadProcess());
    plant(dir, "a.mxh", "old a");
    plant(dir, ".a.mxh." + dead + "-1-1.tmp", "new a");
    plant(dir, "b.mxh", "old b");
    plant(dir, ".b.mxh." + dead + "-1-2.tmp", "stale b");
    plant(dir, ".c.mxh." + dead + "-1-3.tmp", "planted c");
    const std::string live = ".d.mxh." + std::to_string(::getppid()) + "-1-4.tmp";
    plant(dir, live, "someone is writing");
    // The killed run had journalled a.mxh; it names c.mxh's temporary for
    // b.mxh too, which no run would have made, so that rename is not done.
    using namespace std::string_literals;
    plant(dir, ".zel-journal." + dead + "-1-5.log",
          ".a.mxh." + dead + "-1-1.tmp\0a.mxh\0"s + ".c.mxh." + dead + "-1-3.tmp\0b.mxh\0"s);

    ASSERT_TRUE(writeFileSafely(dir.path("other.mxh"), "x"));
    EXPECT_EQ(contentOf(dir.path("a.mxh")), "new a");
    EXPECT_EQ(contentOf(dir.path("b.mxh")), "old b");
    std::vector<FolderEntry> entries;
    listFolder(dir.path(), entries);
    std::set<std::string> names;
    for (const auto& entry : entries) names.insert(entry.name);
    EXPECT_EQ(names, (std::set<std::string>{"a.mxh", "b.mxh", "other.mxh", live}));
}

TEST(SafeFileSet, ReplacesAllFilesOrNone) {
    test::TempFolder dir;
    for (auto name : {"a.mxh", "b.mxh", "c.mxh"}) plant(dir, name, "old");
    {
        FileSizeLimit limit(100000);
        SafeFileSet set;
        set.add(dir.path("a.mxh")).append("new");
        set.add(dir.path("b.mxh")).append("new");
        set.add(dir.path("c.mxh")).append(std::string(200000, 'n'));  // the disk is full
        EXPECT_FALSE(set.commit());
    }
    for (auto name : {"a.mxh", "b.mxh", "c.mxh"}) EXPECT_EQ(contentOf(dir.path(name)), "old");
    EXPECT_EQ(entriesIn(dir), 3u);

    for (WriteStep step : {WriteStep::Sync, WriteStep::Rename}) {
        int calls = 0;
        // The third file's sync, or the journal's rename, fails.
        WriteFaultHook previous = setWriteFaultHook([&](WriteStep now) {
            return now == step && ++calls == (step == WriteStep::Sync ? 3 : 1);
        });
        SafeFileSet set;
        for (auto name : {"a.mxh", "b.mxh", "c.mxh"}) set.add(dir.path(name)).append("new");
        EXPECT_FALSE(set.commit());
        setWriteFaultHook(previous);
        for (auto name : {"a.mxh", "b.mxh", "c.mxh"}) EXPECT_EQ(contentOf(dir.path(name)), "old");
        EXPECT_EQ(entriesIn(dir), 3u);
    }

    SafeFileSet set;
    for (auto name : {"a.mxh", "b.mxh", "c.mxh", "d.mxh"}) set.add(dir.path(name)).append(name);
    ASSERT_TRUE(set.commit());
    for (auto name : {"a.mxh", "b.mxh", "c.mxh", "d.mxh"})
        EXPECT_EQ(contentOf(dir.path(name)), name);
    EXPECT_EQ(entriesIn(dir), 4u) << "no journal or temporary file stays";
}

// Each file of a batch is its own replacement: a step that fails for one
// file leaves that file's old bytes and no temporary, and the rest go ahead.
TEST(SafeFileBatch, AStepThatFailsForOneFileLeavesThatFileOldAndTheOthersNew) {
    struct Case {
        WriteStep step;
        std::set<int> failingCalls;  // empty: every call
        std::vector<bool> replaced;
    };
    // The first sync is the file system's; when it fails, each file is
    // synced on its own and only a file that cannot be stays old.
    const std::vector<Case> cases{
        {WriteStep::Create, {2}, {true, false, true}},
        {WriteStep::Write, {2}, {true, false, true}},
        {WriteStep::Sync, {1}, {true, true, true}},
        {WriteStep::Sync, {1, 3}, {true, false, true}},
        {WriteStep::Sync, {}, {false, false, false}},
        {WriteStep::Rename, {3}, {true, true, false}},
    };
    const std::vector<std::string> names{"a.txt", "b.txt", "c.txt"};
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.step));
        test::TempFolder dir;
        for (const auto& name : names) plant(dir, name, "old");
        int calls = 0;
        WriteFaultHook previous = setWriteFaultHook([&](WriteStep now) {
            return now == c.step && (c.failingCalls.empty() || c.failingCalls.contains(++calls));
        });
        SafeFileBatch batch;
        for (const auto& name : names) batch.add(dir.path(name), "new " + name);
        for (const auto& name : names) EXPECT_EQ(contentOf(dir.path(name)), "old");
        const std::vector<IoResult> outcomes = batch.commit();
        setWriteFaultHook(previous);
        ASSERT_EQ(outcomes.size(), names.size());
        for (std::size_t i = 0; i < names.size(); ++i) {
            EXPECT_EQ(outcomes[i].ok, c.replaced[i]) << names[i];
            if (!outcomes[i]) {
                EXPECT_NE(outcomes[i].message.find(names[i]), std::string::npos);
            }
            EXPECT_EQ(contentOf(dir.path(names[i])), c.replaced[i] ? "new " + names[i] : "old");
        }
        EXPECT_EQ(entriesIn(dir), names.size()) << "no temporary file stays";
    }
}

// The point of a batch: every file is on disk before any rename, with one
// sync for them all and one for their folder, however many files there are.
TEST(SafeFileBatch, SyncsOnceBeforeTheRenamesAndTheFolderOnceAfter) {
    test::TempFolder dir;
    plant(dir, "twice.txt", "old");
    std::vector<WriteStep> steps;
    WriteFaultHook previous = setWriteFaultHook([&](WriteStep now) {
        if (now != WriteStep::Create && now != WriteStep::Write) steps.push_back(now);
        return false;
    });
    SafeFileBatch batch;
    for (int i = 0; i < 20; ++i) batch.add(dir.path("f" + std::to_string(i)), "x");
    batch.add(dir.path("twice.txt"), "first");
    batch.add(dir.path("twice.txt"), "second");
    EXPECT_TRUE(batch.holds(dir.path("twice.txt")));
    EXPECT_FALSE(batch.holds(dir.path("other.txt")));
    EXPECT_EQ(batch.size(), 22u);
    const std::vector<IoResult> outcomes = batch.commit();
    setWriteFaultHook(previous);
    for (const IoResult& outcome : outcomes) EXPECT_TRUE(outcome) << outcome.message;
    std::vector<WriteStep> expected{WriteStep::Sync};
    expected.insert(expected.end(), 22, WriteStep::Rename);
    expected.push_back(WriteStep::SyncFolder);
    EXPECT_EQ(steps, expected);
    EXPECT_EQ(contentOf(dir.path("twice.txt")), "second") << "renamed in the order added";
    EXPECT_FALSE(batch.holds(dir.path("twice.txt")));
    EXPECT_EQ(batch.size(), 0u);
    EXPECT_EQ(entriesIn(dir), 21u);
}

TEST(SafeFileBatch, AFolderThatCannotBeSyncedIsReportedForItsFilesOnly) {
    test::TempFolder dir;
    makeDirs(dir.path("one"));
    makeDirs(dir.path("two"));
    int calls = 0;
    WriteFaultHook previous = setWriteFaultHook(
        [&](WriteStep now) { return now == WriteStep::SyncFolder && ++calls == 1; });
    SafeFileBatch batch;
    batch.add(dir.path("one/a.txt"), "a");
    batch.add(dir.path("two/b.txt"), "b");
    batch.add(dir.path("none/c.txt"), "c");  // no such folder
    const std::vector<IoResult> outcomes = batch.commit();
    setWriteFaultHook(previous);
    ASSERT_EQ(outcomes.size(), 3u);
    // Written, but not known to be lasting: reported as a single writer does.
    EXPECT_FALSE(outcomes[0]);
    EXPECT_EQ(contentOf(dir.path("one/a.txt")), "a");
    EXPECT_TRUE(outcomes[1]) << outcomes[1].message;
    EXPECT_FALSE(outcomes[2]);
    EXPECT_NE(outcomes[2].message.find("c.txt"), std::string::npos);

    {
        SafeFileBatch gone;
        gone.add(dir.path("one/a.txt"), "never");
        gone.add(dir.path("one/d.txt"), "never");
    }
    std::vector<FolderEntry> left;
    listFolder(dir.path("one"), left);
    EXPECT_EQ(left.size(), 1u) << "nor a temporary file";
    EXPECT_EQ(contentOf(dir.path("one/a.txt")), "a") << "a batch dropped changes nothing";
    EXPECT_FALSE(fileExists(dir.path("one/d.txt")));
}

// A run killed at any moment leaves each set whole: all files of one
// generation, once the next write has finished what the journal recorded.
TEST(SafeFileSet, AKilledRunLeavesNoMixedSet) {
    std::mt19937 random(12);
    for (int round = 0; round < 12; ++round) {
        test::TempFolder dir;
        const std::vector<std::string> names{"a.mxh", "b.mxh", "c.mxh", "index.mxa"};
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int generation = 0;; ++generation) {
                SafeFileSet set;
                for (const auto& name : names)
                    set.add(dir.path(name))
                        .append(std::to_string(generation) + std::string(20000, '.'));
                if (!set.commit()) ::_exit(1);
            }
        }
        ::usleep(2000 + random() % 30000);
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        tidyFolderOf(dir.path("a.mxh"));
        std::set<std::string> generations;
        for (const auto& name : names) {
            std::string bytes;
            if (readFile(dir.path(name), bytes)) generations.insert(bytes);
        }
        EXPECT_LE(generations.size(), 1u) << "round " << round;
        std::vector<FolderEntry> entries;
        listFolder(dir.path(), entries);
        EXPECT_LE(entries.size(), names.size()) << "round " << round;
    }
}

// Holders may live in another folder than their index: the journal beside
// the index (added last) completes the renames there too.
TEST(SafeFileSet, AKilledRunAcrossFoldersLeavesNoMixedSetOnceItsIndexFolderIsTidied) {
    std::mt19937 random(7);
    for (int round = 0; round < 8; ++round) {
        test::TempFolder dir;
        ASSERT_TRUE(makeDirs(dir.path("elsewhere")));
        const std::vector<std::string> names{"elsewhere/a.mxh", "b.mxh", "elsewhere/c.mxh",
                                             "index.mxa"};
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int generation = 0;; ++generation) {
                SafeFileSet set;
                for (const auto& name : names)
                    set.add(dir.path(name))
                        .append(std::to_string(generation) + std::string(20000, '.'));
                if (!set.commit()) ::_exit(1);
            }
        }
        ::usleep(2000 + random() % 30000);
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        tidyFolderOf(dir.path("index.mxa"));
        std::set<std::string> generations;
        for (const auto& name : names) {
            std::string bytes;
            if (readFile(dir.path(name), bytes)) generations.insert(bytes);
        }
        EXPECT_LE(generations.size(), 1u) << "round " << round;
    }
}

TEST(FileLock, HoldsTheFileAgainstOthersAcrossItsOwnWrites) {
    test::TempFolder dir;
    std::string path = dir.path("memo.mxa");
    ASSERT_TRUE(writeFileSafely(path, "first"));

    FileLock mine;
    ASSERT_TRUE(mine.open(path));
    FileLock other;
    IoResult refused = other.open(path);
    EXPECT_FALSE(refused);
    EXPECT_NE(refused.message.find("locked"), std::string::npos);
    EXPECT_FALSE(writeFileSafely(path, "theirs"));

    ASSERT_TRUE(mine.write("second"));
    std::string bytes;
    ASSERT_TRUE(mine.read(bytes));
    EXPECT_EQ(bytes, "second");
    EXPECT_EQ(contentOf(path), "second");
    EXPECT_FALSE(other.open(path));  // the lock moved to the new file
    EXPECT_EQ(entriesIn(dir), 1u);

    mine.close();
    EXPECT_TRUE(other.open(path));
    EXPECT_FALSE(FileLock().open(dir.path("missing.mxa")));
}

}  // namespace
}  // namespace zel
