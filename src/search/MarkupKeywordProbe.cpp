#include "search/MarkupKeywordProbe.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "model/HolderFile.h"
#include "platform/Compression.h"
#include "text/LineMatcher.h"
#include "text/Sjis.h"

namespace zel {

namespace {

// Bytes that may appear in a node's line without standing in the markup, or
// stand in the markup without reaching the line: blanks and control bytes
// (a text run of blanks alone is dropped, "&nbsp;" is a blank), quotes and
// "=" (attributes become "key=value" lines).
bool passedOver(char c) {
    return static_cast<unsigned char>(c) <= 0x20 || c == '"' || c == '\'' || c == '=';
}

// Bytes a name made unique or dated may gain, and bytes an entity stands for.
bool mayBeMadeUp(char c) {
    return (c >= '0' && c <= '9') || c == '_' || c == '&' || c == '<' || c == '>';
}

bool inSet(const std::array<std::uint64_t, 4>& set, unsigned char b) {
    return (set[b >> 6] >> (b & 63)) & 1;
}

constexpr std::string_view kLineBreakTag = "<BR/>";
constexpr std::string_view kDecodedBodyField = "Content-Transfer-Encoding=\"binary\"";

bool isLineBreakTag(std::string_view from) {
    return from.substr(0, kLineBreakTag.size()) == kLineBreakTag;
}

// Whether the value of a Record tag at `open` may hold the place `at`: a
// quoted value, or one without quotes (the tag ends at the first ">" outside
// quotes). Only a value can reach a name.
bool recordValueHolds(std::string_view markup, std::size_t open, std::size_t at) {
    bool quoted = false;
    bool bareValue = false;
    for (std::size_t p = open; p < at; ++p) {
        const char c = markup[p];
        if (c == '"') quoted = !quoted;
        if (quoted) continue;
        if (c == '>') return false;
        if (c == '=') {
            std::size_t next = p + 1;
            while (next < at && static_cast<unsigned char>(markup[next]) <= 0x20) ++next;
            bareValue |= next < at && markup[next] != '"';
        }
    }
    return quoted || bareValue;
}

// Whether the place `at` may lie in the name of a Record tag, which the
// reader may make unique or date. A "<" met going back may itself stand in
// a quoted value; a few such are passed, more count as a name.
bool mayLieInRecordName(std::string_view markup, std::size_t at) {
    std::size_t before = at;
    for (int tries = 0; tries < 8; ++tries) {
        const void* found = memrchr(markup.data(), '<', before);
        if (!found) return false;
        const std::size_t open = static_cast<const char*>(found) - markup.data();
        std::size_t p = open + 1;
        while (p < at && static_cast<unsigned char>(markup[p]) <= 0x20) ++p;
        if (markup.substr(p, 6) == "Record") return recordValueHolds(markup, p + 6, at);
        if (markup.substr(open, at - open).find('"') == std::string_view::npos) return false;
        before = open;
    }
    return true;
}

// A whole file, mapped rather than copied; empty when it cannot be.
class MappedFile {
  public:
    explicit MappedFile(const std::string& path) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) return;
        struct stat info {};
        if (::fstat(fd, &info) == 0 && info.st_size > 0) {
            void* at = ::mmap(nullptr, static_cast<std::size_t>(info.st_size), PROT_READ,
                              MAP_PRIVATE | MAP_POPULATE, fd, 0);
            if (at != MAP_FAILED) {
                data_ = static_cast<const char*>(at);
                size_ = static_cast<std::size_t>(info.st_size);
            }
        }
        ::close(fd);
    }
    ~MappedFile() {
        if (data_) ::munmap(const_cast<char*>(data_), size_);
    }
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    bool mapped() const { return data_ != nullptr; }
    std::string_view bytes() const { return {data_, size_}; }

  private:
    const char* data_ = nullptr;
    std::size_t size_ = 0;
};

}  // namespace

MarkupKeywordProbe::MarkupKeywordProbe(std::string_view keyword, bool ignoreCase) {
    const std::string needle = ignoreCase ? lowerText(keyword) : std::string(keyword);
    for (char c : needle)
        if (!passedOver(c)) core_ += c;
    images_.resize(core_.size());
    unsigned rarest = ~0u;
    for (std::size_t i = 0; i < core_.size(); ++i) {
        char images[3] = {core_[i]};
        const int count =
            ignoreCase ? foldPreimages(static_cast<unsigned char>(core_[i]), images) : 1;
        unsigned cost = 0;
        for (int k = 0; k < count; ++k) {
            const auto b = static_cast<unsigned char>(images[k]);
            images_[i][b >> 6] |= std::uint64_t{1} << (b & 63);
            cost += byteFrequency(b);
        }
        if (mayBeMadeUp(core_[i]) || cost >= rarest) continue;
        rarest = cost;
        anchor_ = i;
        anchorImageCount_ = count;
        std::memcpy(anchorImages_, images, sizeof images);
        selective_ = true;
    }
    // The one line the reader makes up: a Base64 body, once decoded, is
    // marked so in the node's fields.
    if (selective_ && mayHold(kDecodedBodyField)) selective_ = false;
}

bool MarkupKeywordProbe::mayStandFor(char raw, std::size_t keywordIndex) const {
    return inSet(images_[keywordIndex], static_cast<unsigned char>(raw));
}

std::size_t MarkupKeywordProbe::nextAnchor(std::string_view markup, std::size_t at) const {
    std::size_t first = std::string_view::npos;
    for (int k = 0; k < anchorImageCount_ && at < markup.size(); ++k) {
        const std::size_t span = (first == std::string_view::npos ? markup.size() : first) - at;
        if (const void* found = std::memchr(markup.data() + at, anchorImages_[k], span))
            first = static_cast<const char*>(found) - markup.data();
    }
    return first;
}

bool MarkupKeywordProbe::mayHold(std::string_view markup) const {
    if (!selective_) return true;
    for (std::size_t at = nextAnchor(markup, 0); at != std::string_view::npos;
         at = nextAnchor(markup, at + 1))
        if (mayLieAround(markup, at)) return true;
    return false;
}

bool MarkupKeywordProbe::mayLieAround(std::string_view markup, std::size_t anchorAt) const {
    return (restMayFollow(markup, anchorAt + 1) && restMayPrecede(markup, anchorAt)) ||
           mayLieInRecordName(markup, anchorAt);
}

// The keyword's bytes after the anchor against the markup from `at` on.
bool MarkupKeywordProbe::restMayFollow(std::string_view markup, std::size_t at) const {
    for (std::size_t i = anchor_ + 1; i < core_.size();) {
        if (at >= markup.size()) return false;
        const char raw = markup[at];
        // An entity may stand for anything the keyword goes on with.
        if (raw == '&') return true;
        if (raw == '<') {
            // A line break ends the line; any other tag may stand between two
            // text runs that join, holding what the reader passes over.
            return mayStandFor(raw, i) || !isLineBreakTag(markup.substr(at));
        }
        if (mayStandFor(raw, i)) {
            ++i;
            ++at;
        } else if (passedOver(raw)) {
            ++at;
        } else {
            return false;
        }
    }
    return true;
}

// The keyword's bytes before the anchor against the markup before `at`.
bool MarkupKeywordProbe::restMayPrecede(std::string_view markup, std::size_t at) const {
    for (std::size_t i = anchor_; i > 0;) {
        if (at == 0) return false;
        const char raw = markup[at - 1];
        // The end of an entity, which may stand for the keyword's byte.
        if (raw == ';') return true;
        if (raw == '>') {
            return mayStandFor(raw, i - 1) ||
                   !(at >= kLineBreakTag.size() &&
                     isLineBreakTag(markup.substr(at - kLineBreakTag.size())));
        }
        if (mayStandFor(raw, i - 1)) {
            --i;
            --at;
        } else if (passedOver(raw)) {
            --at;
        } else {
            return false;
        }
    }
    return true;
}

bool MarkupKeywordProbe::fileMayHold(const std::string& path) const {
    if (!selective_) return true;
    const MappedFile file(path);
    if (!file.mapped()) return true;
    if (!looksCompressed(file.bytes())) return mayHold(file.bytes());
    std::string plain;
    if (!inflateBytes(file.bytes(), plain)) return true;
    return mayHold(plain);
}

}  // namespace zel
