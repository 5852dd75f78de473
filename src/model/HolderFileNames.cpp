#include "model/HolderFileNames.h"

#include <algorithm>
#include <unordered_set>
#include <vector>

#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "platform/ExternalNames.h"
#include "text/NumberFormat.h"
#include "text/Sjis.h"
#include "text/TextHelpers.h"

namespace zel {

namespace {

std::string withoutExtension(std::string_view name) {
    return std::string(name.substr(0, name.size() - extensionOf(name).size()));
}

// The first whole characters of `text` within `most` bytes.
std::string cutTo(std::string_view text, std::size_t most) {
    std::size_t end = 0;
    while (end < text.size()) {
        std::size_t next = end + charLength(text, end);
        if (next > most) break;
        end = next;
    }
    return std::string(text.substr(0, end));
}

// FileExt comes from files too: only its last extension counts (".mxh" of
// "/../../x.mxh"), made safe and short, so that every name made with it
// keeps it whole and splits from it again. A FileExt without a dot is taken
// as the extension it names ("mhz" as ".mhz").
std::string safeExtension(const MemoHolder& holder) {
    const std::string raw = stripQuotes(holder.getFileExt_());
    if (raw.empty()) return {};
    const std::size_t dot = raw.rfind('.');
    std::string body = safeFileName(dot == std::string::npos ? raw : raw.substr(dot + 1));
    // Safe names may keep dots; an extension has none after its first.
    std::replace(body.begin(), body.end(), '.', '_');
    return "." + cutTo(body, 15);
}

std::string plainName(std::string_view stem, const std::string& extension) {
    return plainFileName(std::string(stem) + extension, "noname" + extension);
}

}  // namespace

std::string holderNameFileName(const MemoHolder& holder) {
    return plainName(withoutExtension(safeFileName(holder.getName_())), safeExtension(holder));
}

std::string wantedHolderFileName(const MemoHolder& holder) {
    // A Filename from content counts by its plain name only, and like any
    // other wish it may not take another holder's file; as a recorded name,
    // it takes the holder's FileExt, so that the index can carry it.
    std::string recorded;
    if (holder.isFlagExtra_()) {
        const std::string raw = holder.getField_("Filename");
        if (raw == holder.filenameFromContent) recorded = stripQuotes(raw);
    }
    if (recorded.empty()) recorded = stripQuotes(holder.getField_(kHolderFileNameKey));
    if (recorded.empty()) return holderNameFileName(holder);
    // The recorded name is one given here: its extension is the holder's, or
    // the holder has none and every dot belongs to the stem.
    const std::string extension = safeExtension(holder);
    const std::string plain = plainFileName(recorded);
    return plainName(extension.empty() ? plain : withoutExtension(plain), extension);
}

// The memo file's own index is never a holder's file, else saving the holder
// would write over the index (a holder named like it, with FileExt ".mxa").
static std::string indexFileName(const MemoFile& file) {
    return lowerText(fileNameOf(file.getMemoFilePath_()));
}

std::string HolderFileNames::nameOf(const MemoFile& file, const MemoHolder& holder) {
    const std::string wanted = wantedHolderFileName(holder);
    auto found = claims_.find(&holder);
    if (found == claims_.end() || found->second.wanted != wanted ||
        lowerText(found->second.given) == indexFileName(file)) {
        rebuild(file);
        found = claims_.find(&holder);
        // A holder asked about before it joined the list has no claim yet.
        if (found == claims_.end()) return wanted;
    }
    return found->second.given;
}

void HolderFileNames::forget(const MemoHolder* holder) {
    claims_.erase(holder);
}

void HolderFileNames::clear() {
    claims_.clear();
}

// Holders keep the files they held while they want the same; then each takes
// the file it wants in tab order; the rest get names no holder wants.
// File names are compared folded, for folders on file systems that ignore case.
void HolderFileNames::rebuild(const MemoFile& file) {
    const int count = file.countOfHolders_();
    std::vector<const MemoHolder*> holders;
    std::vector<std::string> wanted;
    std::unordered_set<std::string> wantedByAny;
    holders.reserve(count);
    wanted.reserve(count);
    for (int i = 0; i < count; ++i) {
        holders.push_back(file.holderAt_(i));
        wanted.push_back(wantedHolderFileName(*holders.back()));
        wantedByAny.insert(lowerText(wanted.back()));
    }
    std::unordered_map<const MemoHolder*, Claim> previous = std::move(claims_);
    claims_.clear();
    std::unordered_set<std::string> taken{indexFileName(file)};
    std::vector<bool> placed(count, false);
    auto give = [&](int i, std::string name) {
        taken.insert(lowerText(name));
        claims_[holders[i]] = {wanted[i], std::move(name)};
        placed[i] = true;
    };
    for (int i = 0; i < count; ++i) {
        auto before = previous.find(holders[i]);
        if (before != previous.end() && before->second.wanted == wanted[i] &&
            !taken.count(lowerText(before->second.given)))
            give(i, before->second.given);
    }
    for (int i = 0; i < count; ++i)
        if (!placed[i] && !taken.count(lowerText(wanted[i]))) give(i, wanted[i]);
    std::unordered_map<std::string, long long> nextNumber;
    for (int i = 0; i < count; ++i) {
        if (placed[i]) continue;
        // A numbered variant must fit the file system with its number intact:
        // 70 + 16 bytes of Shift_JIS stay well below 255 bytes of UTF-8.
        const std::string extension = cutTo(extensionOf(wanted[i]), 16);
        const std::string stem = cutTo(withoutExtension(wanted[i]), 70);
        long long& number = nextNumber[lowerText(stem)];
        std::string name;
        do {
            name = plainName(stem + "_" + formatNumber("%.2d", ++number), extension);
        } while (taken.count(lowerText(name)) || wantedByAny.count(lowerText(name)));
        give(i, std::move(name));
    }
}

}  // namespace zel
