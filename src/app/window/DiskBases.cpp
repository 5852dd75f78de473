#include "app/window/DiskBases.h"

#include <unordered_set>

#include "platform/Compression.h"
#include "platform/FileSystem.h"

namespace zel {

void DiskBases::remember(const std::string& path, const FileStamp& stamp) {
    if (knows(path, stamp)) return;
    std::string bytes;
    if (!stamp.known || !readFile(path, bytes) || contentHash(bytes) != stamp.hash) {
        // Another program was quicker: what the window read is gone.
        bases_.erase(path);
        return;
    }
    keep(path, stamp, bytes);
}

void DiskBases::keep(const std::string& path, const FileStamp& stamp, std::string_view bytes) {
    bases_[path] = Base{stamp.hash, std::string(bytes), false};
}

void DiskBases::compressPending() {
    for (auto it = bases_.begin(); it != bases_.end();) {
        Base& base = it->second;
        if (!base.deflated) {
            std::string deflated;
            if (!deflateBytes(base.bytes, deflated, DeflateEffort::Fastest)) {
                it = bases_.erase(it);
                continue;
            }
            base.bytes = std::move(deflated);
            base.deflated = true;
        }
        ++it;
    }
}

bool DiskBases::knows(const std::string& path, const FileStamp& stamp) const {
    const auto found = bases_.find(path);
    return stamp.known && found != bases_.end() && found->second.hash == stamp.hash;
}

std::string DiskBases::bytes(const std::string& path, const FileStamp& stamp) const {
    if (!knows(path, stamp)) return {};
    const Base& base = bases_.at(path);
    if (!base.deflated) return base.bytes;
    std::string plain;
    if (!inflateBytes(base.bytes, plain)) return {};
    return plain;
}

void DiskBases::keepOnly(const std::vector<std::string>& paths) {
    const std::unordered_set<std::string> wanted(paths.begin(), paths.end());
    std::erase_if(bases_, [&wanted](const auto& entry) { return !wanted.contains(entry.first); });
}

}  // namespace zel
