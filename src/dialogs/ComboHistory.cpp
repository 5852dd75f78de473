#include "dialogs/ComboHistory.h"

#include <algorithm>

#include "text/Sjis.h"

namespace zel {

void ComboHistory::enter(std::string_view text) {
    if (text.empty()) return;
    std::erase_if(entries_, [&](const std::string& entry) { return sameText(entry, text); });
    entries_.insert(entries_.begin(), std::string(text));
    if (entries_.size() > kLimit) entries_.resize(kLimit);
}

}  // namespace zel
