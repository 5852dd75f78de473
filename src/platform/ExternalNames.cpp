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

// Cuts whole characters from the end of the stem until the name fits; the
// extension stays when it is short enough to leave room for a stem.
std::string fitted(std::string name) {
    if (osLength(name) <= kMaxNameBytes) return name;
    std::size_t dot = name.rfind('.');
    std::string extension =
        dot != std::string::npos && name.size() - dot <= 16 ? name.substr(dot) : "";
    std::string stem = name.substr(0, name.size() - extension.size());
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < stem.size(); i += pairedLength(stem, i)) starts.push_back(i);
    while (!starts.empty() && osLength(stem) + osLength(extension) > kMaxNameBytes) {
        stem.resize(starts.back());
        starts.pop_back();
    }
    return stem + extension;
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

std::string joinInsideFolder(std::string_view folder, std::string_view name) {
    std::string joined(folder);
    if (joined.empty() || joined.back() != '/') joined += '/';
    return joined + plainFileName(name);
}

}  // namespace zel
