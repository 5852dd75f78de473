#pragma once

#include <cstddef>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/SafeFileWriter.h"

namespace zel {

// Many files replaced at once, each on its own (a failure of one leaves the
// others to go ahead). A file is written to its temporary file when added,
// without a sync of its own; commit() syncs each file system concerned once,
// then renames every file over its target in the order added and syncs each
// folder once. So, as with a SafeFileWriter per file, a crash leaves every
// target either old or wholly new, but two syncs per file become a few per
// batch. The sync is of the whole file system, so it also waits for what
// other programs have written there.
class SafeFileBatch {
  public:
    explicit SafeFileBatch(LinkPolicy links = LinkPolicy::Follow);
    // Files not committed are dropped; their targets stay as they are.
    ~SafeFileBatch();
    SafeFileBatch(const SafeFileBatch&) = delete;
    SafeFileBatch& operator=(const SafeFileBatch&) = delete;

    // `bytes` as the whole new content of `path`; commit() tells how it went.
    void add(std::string_view path, std::string_view bytes);
    // Files added since the last commit.
    std::size_t size() const { return writers_.size(); }
    // So many files are open that commit() is due.
    bool full() const { return writers_.size() >= openLimit_; }
    // A file added since the last commit replaces the one `path` names.
    bool holds(std::string_view path) const;
    // Replaces the targets of the files added since the last commit; the
    // outcome of each, in the order they were added.
    std::vector<IoResult> commit();

  private:
    LinkPolicy links_;
    std::size_t openLimit_;
    std::vector<std::unique_ptr<SafeFileWriter>> writers_;
    std::set<std::string> targets_;  // absolute, links resolved
};

}  // namespace zel
