// The MIME reader on arbitrary messages: parse, copy, and walk the parts.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "formats/TContent.h"

namespace {

// Lines end at CR LF, LF or CR, as the readers of memo files cut them.
std::vector<std::string> splitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.emplace_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.emplace_back(text.substr(start));
    return lines;
}

std::size_t countParts(const zel::TContent& content) {
    std::size_t count = 0;
    std::vector<const zel::TContent*> pending{&content};
    while (!pending.empty()) {
        const zel::TContent* part = pending.back();
        pending.pop_back();
        for (std::size_t i = 0; i < part->partCount(); ++i) {
            if (part->partAt(i)->owner != part->parts.get()) std::abort();
            pending.push_back(part->partAt(i));
            ++count;
        }
    }
    return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> lines =
        splitLines(std::string_view(reinterpret_cast<const char*>(data), size));
    zel::TContent message;
    message.parse(lines);
    zel::TContent copy;
    copy.copyFrom_(message);
    if (countParts(copy) != countParts(message)) std::abort();
    return 0;
}
