#include "platform/ExternalNames.h"

#include <vector>

#include "text/Sjis.h"

namespace zel {
namespace {

// Most Linux file systems take at most 255 bytes of UTF-8 in one name.
constexpr std::size_t kMaxNameBytes = 255;

bool isControl(unsigned char c) {
    return c < 0x20 || c == 0x7F;
}

// Outside names may be malformed Shift_JIS; a lead byte pairs only with a
// byte that can follow it, so a lead byte cannot hide the "/" after it.
std::size_t pairedLength(std::string_view name, std::size_t i) {
    if (charLength(name, i) == 1) return 1;
    return isTrailByte(static_cast<unsigned char>(name[i + 1])) ? 2 : 1;
}

std::string_view lastComponent(std::string_view name) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < name.size(); i += pairedLength(name, i)) {
        if (name[i] == '/' || name[i] == '\\') start = i + 1;
    }
    return name.substr(start);
}

// No control byte can be part of a double-byte character, so every one goes.
std::string withoutControls(std::string_view name) {
    std::string out;
    out.reserve(name.size());
    for (char c : name) {
        if (!isControl(static_cast<unsigned char>(c))) out += c;
    }
    return out;
}

bool onlyDots(std::string_view name) {
    return name.find_first_not_of('.') == std::string::npos;
}

std::size_t osLength(std::string_view name) {
    return sjisToUtf8(name).size();
}

// The part from the last "." when it is short enough to stay whole while a
// long name is cut, else nothing.
std::string_view shortExtension(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    return dot != std::string_view::npos && name.size() - dot <= 16 ? name.substr(dot)
                                                                    : std::string_view();
}

// `stem` + `tail`, whole characters cut from the end of the stem until the
// name fits. Every character takes at least one byte of UTF-8, so the stem
// that fits has at most kMaxNameBytes characters: only those are weighed, so
// a name of megabytes costs one pass over it and the cut is made once.
std::string fittedStem(std::string_view stem, std::string_view tail) {
    std::vector<std::size_t> starts;
    std::size_t end = 0;
    while (end < stem.size() && starts.size() <= kMaxNameBytes) {
        starts.push_back(end);
        end += pairedLength(stem, end);
    }
    std::string kept(stem.substr(0, end));
    const std::size_t tailLength = osLength(tail);
    while (!starts.empty() && osLength(kept) + tailLength > kMaxNameBytes) {
        kept.resize(starts.back());
        starts.pop_back();
    }
    return kept.append(tail);
}

// The name as it is when it fits, else with its stem cut; a short extension
// stays.
std::string fitted(std::string name) {
    if (osLength(name) <= kMaxNameBytes) return name;
    const std::string_view extension = shortExtension(name);
    return fittedStem(std::string_view(name).substr(0, name.size() - extension.size()), extension);
}

}  // namespace

std::string plainFileName(std::string_view name, std::string_view fallback) {
    std::string plain = withoutControls(lastComponent(name));
    if (plain.empty() || onlyDots(plain)) {
        plain = withoutControls(lastComponent(fallback));
        if (plain.empty() || onlyDots(plain)) plain = "noname";
    }
    return fitted(std::move(plain));
}

std::string numberedFileName(std::string_view plain, int number) {
    if (number == 0) return std::string(plain);
    const std::string mark = "_" + std::to_string(number);
    const std::size_t dot = plain.rfind('.');
    const std::string_view stem = plain.substr(0, dot);
    const std::string_view extension =
        dot == std::string_view::npos ? std::string_view() : plain.substr(dot);
    std::string numbered = std::string(stem) + mark + std::string(extension);
    if (osLength(numbered) <= kMaxNameBytes) return numbered;
    const std::string_view kept = shortExtension(plain);
    return fittedStem(plain.substr(0, plain.size() - kept.size()), mark + std::string(kept));
}

std::string joinInsideFolder(std::string_view folder, std::string_view name) {
    std::string joined(folder);
    if (joined.empty() || joined.back() != '/') joined += '/';
    return joined + plainFileName(name);
}

}  // namespace zel
