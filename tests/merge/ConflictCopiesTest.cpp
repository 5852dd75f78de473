#include "merge/ConflictCopies.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/FileSystem.h"
#include "support/TempFolder.h"

namespace zel {
namespace {

TEST(ConflictCopyNames, EachEnginesNamesGiveTheFileAndWhoMadeTheCopy) {
    struct Case {
        const char* name;
        SyncEngine engine;
        const char* original;
        const char* origin;
    } cases[] = {
        {"notes.sync-conflict-20240301-142530-ABCDEF1.mxh", SyncEngine::Syncthing, "notes.mxh",
         "ABCDEF1"},
        {"a.b.sync-conflict-20240301-142530-XYZ0123.mhz", SyncEngine::Syncthing, "a.b.mhz",
         "XYZ0123"},
        {"diary.sync-conflict-20240301-142530-ABCDEF1.sync-conflict-20240302-080000-QQQQQQQ.mxa",
         SyncEngine::Syncthing, "diary.mxa", "ABCDEF1"},
        {"notes (conflicted copy 2024-03-01 142530).mxh", SyncEngine::Nextcloud, "notes.mxh",
         "2024-03-01 142530"},
        {"my notes (conflicted copy alice 2024-03-01 142530).mhz", SyncEngine::Nextcloud,
         "my notes.mhz", "alice 2024-03-01 142530"},
        {"notes (laptop's conflicted copy 2024-03-01).mxh", SyncEngine::Dropbox, "notes.mxh",
         "laptop"},
        {"notes (laptop's conflicted copy 2024-03-01 (1)).mxh", SyncEngine::Dropbox, "notes.mxh",
         "laptop"},
    };
    for (const Case& c : cases) {
        const auto copy = parseConflictCopyName(c.name);
        ASSERT_TRUE(copy) << c.name;
        EXPECT_EQ(copy->engine, c.engine) << c.name;
        EXPECT_EQ(copy->original, c.original) << c.name;
        EXPECT_EQ(copy->origin, c.origin) << c.name;
    }
    for (const char* name : {"notes.mxh", "notes.sync-conflict-2024-ABC.mxh",
                             "notes.sync-conflict-20240301-142530-.mxh", "notes (copy).mxh",
                             "notes (conflicted copy 2024-03-01.mxh", "conflicted copy.mxh"})
        EXPECT_FALSE(parseConflictCopyName(name)) << name;
}

void touch(const test::TempFolder& folder, const std::string& name) {
    std::ofstream(folder.osPath(name)) << "x";
}

TEST(ConflictCopies, AreFoundBesideTheirFileAndMovedIntoConflicts) {
    test::TempFolder folder;
    for (const char* name : {"notes.mxh", "notes.sync-conflict-20240302-080000-BBBBBBB.mxh",
                             "notes.sync-conflict-20240301-080000-AAAAAAA.mxh",
                             "notes (laptop's conflicted copy 2024-03-01).mxh",
                             "other.sync-conflict-20240301-080000-AAAAAAA.mxh",
                             "notes.sync-conflict-20240301-080000-AAAAAAA.mhz"})
        touch(folder, name);
    const std::string notes = folder.path("notes.mxh");
    EXPECT_EQ(
        findConflictCopies(notes),
        (std::vector<std::string>{folder.path("notes (laptop's conflicted copy 2024-03-01).mxh"),
                                  folder.path("notes.sync-conflict-20240301-080000-AAAAAAA.mxh"),
                                  folder.path("notes.sync-conflict-20240302-080000-BBBBBBB.mxh")}));

    const std::string copy = folder.path("notes.sync-conflict-20240301-080000-AAAAAAA.mxh");
    std::string movedTo;
    ASSERT_TRUE(moveToConflictsFolder(copy, &movedTo));
    EXPECT_EQ(movedTo, folder.path("conflicts/notes.sync-conflict-20240301-080000-AAAAAAA.mxh"));
    EXPECT_FALSE(fileExists(copy));
    touch(folder, "notes.sync-conflict-20240301-080000-AAAAAAA.mxh");
    ASSERT_TRUE(moveToConflictsFolder(copy, &movedTo));
    EXPECT_EQ(movedTo,
              folder.path("conflicts/notes.sync-conflict-20240301-080000-AAAAAAA (2).mxh"));
    EXPECT_EQ(findConflictCopies(notes).size(), 2u);
}

}  // namespace
}  // namespace zel
