// The holder reader on arbitrary markup: records become nodes with unique
// names, and what was read writes and reads back to the same nodes.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "model/HolderFile.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "object/Report.h"
#include "platform/Compression.h"
#include "text/Sjis.h"

#include "FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    zel::MemoFile file;
    file.setFilename("/fuzz/memo.mxa");
    zel::MemoHolder& holder = *file.createHolder_(-1);
    std::string error;
    const int read = zel::readHolderBytes_(holder, text, "fuzz", &error);
    check(read == 0 || read == -1 || read == -2);
    if (read != 0) {
        check(holder.count_() == 0 && !error.empty());
        return 0;
    }
    // Without FlagSameName every name is unique, letter case ignored.
    for (int i = 0; i < holder.count_(); ++i) {
        zel::MemoNode* node = holder.at_(i);
        check(holder.indexOf_(node) == i);
        if (!holder.isSameName_()) check(holder.byName_(node->getName_()) == node);
    }
    const std::string path = zel::holderFilePath_(holder);
    check(path.rfind("/fuzz/", 0) == 0 && path.find('/', 6) == std::string::npos);
    zel::MemoHolder back;
    check(zel::readHolderText_(back, zel::holderFileText_(holder), "again") == 0);
    check(back.count_() == holder.count_());
    return 0;
}
