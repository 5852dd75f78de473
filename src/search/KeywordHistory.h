#pragma once
// A keyword box's list: most recent first, no duplicates. Adding a keyword
// takes out its earlier entry and puts it at the top. The main window keeps
// one shared by the search windows; other boxes keep one each.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zel {

class KeywordHistory {
  public:
    // The oldest entries fall off beyond this many.
    static constexpr std::size_t kLimit = 200;

    // An empty keyword is not kept.
    void add(std::string_view keyword);
    const std::vector<std::string>& entries() const { return entries_; }
    void clear() { entries_.clear(); }

  private:
    std::vector<std::string> entries_;
};

}  // namespace zel
