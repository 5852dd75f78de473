// Writes the desktop entry and the MIME type package an installation puts
// under <prefix>/share, from the same words the program's Associate uses, so
// the two never drift apart.
// Usage: zel-desktop-files FOLDER  (writes FOLDER/zel.desktop and FOLDER/zel.xml)

#include <cstdio>
#include <fstream>
#include <string>

#include "platform/DesktopAssociation.h"

namespace {

bool writeWhole(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (out) return true;
    std::fprintf(stderr, "zel-desktop-files: cannot write %s\n", path.c_str());
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: zel-desktop-files FOLDER\n", stderr);
        return 2;
    }
    const std::string folder = std::string(argv[1]) + "/";
    const bool ok =
        writeWhole(folder + std::string(zel::kDesktopEntryName), zel::installedDesktopEntry()) &&
        writeWhole(folder + "zel.xml", zel::installedMimeXml());
    return ok ? 0 : 1;
}
