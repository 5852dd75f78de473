#pragma once
// The poppler tools that read PDF files back, for tests of printing.

#include <cstdio>
#include <string>

namespace zel::test {

// The standard output of a shell command.
inline std::string commandOutput(const std::string& command) {
    std::string out;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return out;
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
    ::pclose(pipe);
    return out;
}

// The page count pdfinfo reports; -1 when it cannot read the file.
inline int pdfPages(const std::string& path) {
    const std::string info = commandOutput("pdfinfo '" + path + "' 2>/dev/null");
    const std::size_t at = info.find("Pages:");
    return at == std::string::npos ? -1 : std::stoi(info.substr(at + 6));
}

// The text of pages first to last (from 1; 0 for all), UTF-8.
inline std::string pdfText(const std::string& path, int first = 0, int last = 0) {
    std::string range;
    if (first > 0) range = " -f " + std::to_string(first) + " -l " + std::to_string(last);
    return commandOutput("pdftotext" + range + " '" + path + "' - 2>/dev/null");
}

}  // namespace zel::test
