// The index reader on arbitrary markup: holders made unique, every holder's
// file a plain name in the memo file's folder, distinct from every other's,
// and the index written again reads back to the same holders and files.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "model/HolderFile.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "object/Report.h"
#include "platform/Compression.h"
#include "text/LineList.h"
#include "text/Sjis.h"

#include "FuzzCheck.h"

namespace {

std::vector<std::string> holderFiles(const zel::MemoFile& file) {
    std::vector<std::string> files;
    std::set<std::string> seen;
    for (int i = 0; i < file.countOfHolders_(); ++i) {
        const std::string path = zel::holderFilePath_(*file.holderAt_(i));
        check(path.rfind("/fuzz/", 0) == 0 && path.find('/', 6) == std::string::npos);
        const std::string name = path.substr(6);
        check(!name.empty() && name != "." && name != "..");
        check(seen.insert(zel::lowerText(name)).second);
        files.push_back(path);
    }
    return files;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    zel::MemoFile file;
    std::vector<std::string> errors;
    if (zel::readIndexText_(file, text, errors) != 0) return 0;
    file.setFilename("/fuzz/memo.mxa");
    for (int i = 0; i < file.countOfHolders_(); ++i)
        check(file.holderByName_(file.holderAt_(i)->getName_()) == file.holderAt_(i));
    const std::vector<std::string> files = holderFiles(file);

    std::vector<std::string> lines;
    file.writeMemoFile_(lines);
    zel::MemoFile back;
    errors.clear();
    check(zel::readIndexText_(back, zel::linesText(lines), errors) == 0);
    back.setFilename("/fuzz/memo.mxa");
    check(back.countOfHolders_() == file.countOfHolders_());
    check(holderFiles(back) == files);
    return 0;
}
