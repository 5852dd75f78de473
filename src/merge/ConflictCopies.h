#pragma once
// The conflict copies sync engines leave beside a file both devices changed:
// Syncthing's "NAME.sync-conflict-YYYYMMDD-HHMMSS-DEVICE.EXT", Nextcloud's
// "NAME (conflicted copy [USER ]YYYY-MM-DD HHMMSS).EXT" and Dropbox's
// "NAME (HOST's conflicted copy YYYY-MM-DD).EXT". Once merged, a copy is
// moved into the folder "conflicts" beside it, out of the engines' way.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/IoResult.h"

namespace zel {

enum class SyncEngine { Syncthing, Nextcloud, Dropbox };

struct ConflictCopyName {
    SyncEngine engine = SyncEngine::Syncthing;
    // The name of the file it is a copy of (a copy of a copy: of the first file).
    std::string original;
    // Who made it, as the name says: the device (Syncthing), host or user; may be empty.
    std::string origin;
};

inline constexpr std::string_view kConflictsFolder = "conflicts";

// What a file name says when it is a conflict copy's; none otherwise.
std::optional<ConflictCopyName> parseConflictCopyName(std::string_view fileName);

// The conflict copies of the file at `path` found beside it, in name order
// (for each engine, oldest first). Paths are Shift_JIS model paths.
std::vector<std::string> findConflictCopies(std::string_view path);

// Moves a merged copy into "conflicts/" in its folder, made when missing; a
// name taken there gets " (2)", " (3)" ... before its extension. `movedTo`
// receives the new path.
IoResult moveToConflictsFolder(std::string_view copyPath, std::string* movedTo = nullptr);

}  // namespace zel
