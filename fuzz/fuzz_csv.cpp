// The CSV import on arbitrary tables: one node per row after the header, and
// the holder made saves to markup that reads back to as many nodes.
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
#include "text/LineList.h"

#include "FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string> lines =
        zel::textLines(std::string_view(reinterpret_cast<const char*>(data), size));
    zel::MemoFile file;
    const int before = file.countOfHolders_();
    zel::MemoHolder* holder = zel::csvToHolder_(file, lines);
    if (!holder) {
        check(file.countOfHolders_() == before);
        return 0;
    }
    check(file.countOfHolders_() == before + 1);
    check(holder->count_() == static_cast<int>(lines.size()) - 2);
    zel::MemoHolder back;
    check(zel::readHolderText_(back, zel::holderFileText_(*holder), "csv") == 0);
    check(back.count_() == holder->count_());
    return 0;
}
