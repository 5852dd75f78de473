#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "platform/SafeFileWriter.h"

namespace zel {

// Several files replaced together: each is written to its own temporary file,
// and only when every one of them is complete and synced are they renamed
// into place, in the order added. A failure before that leaves every old file
// as it was. The renames are recorded first in a journal beside the file
// added last (add a memo file's index last), so a run killed among them is
// completed by the next write into that folder or by a reader that tidies it
// (tidyFolderOf) before reading.
class SafeFileSet {
  public:
    SafeFileSet() = default;
    ~SafeFileSet();
    SafeFileSet(const SafeFileSet&) = delete;
    SafeFileSet& operator=(const SafeFileSet&) = delete;

    // A writer for one more file; its failures are the set's failures.
    SafeFileWriter& add(std::string_view path, LinkPolicy links = LinkPolicy::StayInFolder);
    // The first failure of any file, else success.
    IoResult status() const;
    // Replaces every target, or none when any file failed (then the reason).
    IoResult commit();
    // After a successful commit: the stamp of each file, in the order added.
    const std::vector<FileStamp>& written() const { return written_; }

  private:
    IoResult commitAll();

    std::vector<std::unique_ptr<SafeFileWriter>> writers_;
    std::vector<FileStamp> written_;
};

}  // namespace zel
