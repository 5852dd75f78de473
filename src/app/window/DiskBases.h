#pragma once
// The bytes each watched file held when the window last read or wrote it:
// the common version a merge needs when another program changed the file
// while the window holds unsaved changes to it. Kept compressed, since a
// memo file's holders may be large and the window keeps one per file.

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/FileStamp.h"

namespace zel {

class DiskBases {
  public:
    // Keeps what the file at `path` holds now as its base when those are the
    // bytes `stamp` records; forgets the base otherwise (it is then unknown).
    // Nothing is read when the base kept already is the one of `stamp`.
    void remember(const std::string& path, const FileStamp& stamp);
    // Keeps `bytes` as the base of `path`, recorded by `stamp`. They stay as
    // they are until compressPending(), so that taking a file in is not held
    // up by compressing it.
    void keep(const std::string& path, const FileStamp& stamp, std::string_view bytes);
    void compressPending();
    // Whether the base kept for `path` is the version `stamp` records.
    bool knows(const std::string& path, const FileStamp& stamp) const;
    // The base of `path` as the file held it, when it is the version `stamp`
    // records; empty when unknown.
    std::string bytes(const std::string& path, const FileStamp& stamp) const;
    // Drops the bases of every file but `paths`.
    void keepOnly(const std::vector<std::string>& paths);

  private:
    struct Base {
        std::uint64_t hash = 0;
        std::string bytes;
        bool deflated = false;
    };
    std::unordered_map<std::string, Base> bases_;
};

}  // namespace zel
