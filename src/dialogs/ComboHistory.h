#pragma once
// The drop-down list of a dialog's text box: the texts used, most recent
// first. Entering a text takes out an entry equal to it, letter case ignored,
// and puts the text as entered at the top.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zel {

class ComboHistory {
  public:
    // The oldest entries fall off beyond this many.
    static constexpr std::size_t kLimit = 100;

    // An empty text is not kept.
    void enter(std::string_view text);
    // The list becomes `entries` (a drop-down filled from the model).
    void assign(std::vector<std::string> entries) { entries_ = std::move(entries); }
    const std::vector<std::string>& entries() const { return entries_; }

  private:
    std::vector<std::string> entries_;
};

}  // namespace zel
