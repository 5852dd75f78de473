// The container reader on arbitrary messages: the input is the message, which
// is compressed and read back as a container is, part by part, into holders.
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "model/Container.h"
#include "model/HolderFile.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "object/Report.h"
#include "platform/Compression.h"

#include "FuzzCheck.h"

namespace {

// The fastest level: the stream's form is all that matters here.
std::string compressed(std::string_view plain) {
    uLongf size = compressBound(plain.size());
    std::string out(size, '\0');
    if (compress2(reinterpret_cast<Bytef*>(out.data()), &size,
                  reinterpret_cast<const Bytef*>(plain.data()), plain.size(), 1) != Z_OK)
        std::abort();
    out.resize(size);
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // The first byte chooses: the rest as the message, or as the raw file.
    std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::string bytes = data[0] & 1 ? std::string(rest) : compressed(rest);
    zel::MemoFile file;
    std::string error;
    const int read = zel::loadContainerBytes_(file, bytes, "/fuzz/memo.maz", &error);
    check(read == 0 || read == -1);
    check(read == 0 || !error.empty());
    if (read != 0) return 0;
    check(file.getMemoFilePath_().rfind("/fuzz/", 0) == 0);
    for (int i = 0; i < file.countOfHolders_(); ++i) {
        const std::string path = zel::holderFilePath_(*file.holderAt_(i));
        check(path.rfind("/fuzz/", 0) == 0 && path.find('/', 6) == std::string::npos);
    }
    return 0;
}
