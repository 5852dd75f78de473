// Outline text on arbitrary lines: read with and without keywords, written
// back and read again. Every reading ends complete, every write of a tree
// that has items succeeds and opens and closes the whole tree.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "formats/Outline.h"

namespace {

std::vector<std::string> splitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\n') continue;
        lines.emplace_back(text.substr(start, i - start));
        start = i + 1;
    }
    if (start < text.size()) lines.emplace_back(text.substr(start));
    return lines;
}

std::vector<std::string> written(const zel::Outline& tree) {
    std::vector<std::string> lines;
    const int result = zel::writeOutline_(tree, &lines, nullptr);
    if (result != (tree.empty() ? -1 : 0)) std::abort();
    if (!tree.empty() && (lines.size() < 2 || lines.front() != "{" || lines.back() != "}"))
        std::abort();
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string> lines =
        splitLines(std::string_view(reinterpret_cast<const char*>(data), size));
    for (const std::vector<std::string>* keywords :
         {&zel::poserKeywords(), static_cast<const std::vector<std::string>*>(nullptr)}) {
        zel::Outline tree;
        zel::readWholeOutline(tree, lines, nullptr, keywords);
        if (!tree.complete) std::abort();
        zel::Outline again;
        zel::readWholeOutline(again, written(tree), nullptr, keywords);
        if (!again.complete) std::abort();
        written(again);
    }
    return 0;
}
