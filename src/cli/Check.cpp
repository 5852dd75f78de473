#include <ostream>

#include "cli/Document.h"
#include "cli/Tool.h"

namespace zel {

int checkCommand(const ToolOutput& io, const std::string& path) {
    VerbDocument held;
    Document& document = *held;
    std::string error;
    std::vector<std::string> problems;
    if (openDocument(path, document, error) != 0) problems.push_back(error);
    problems.insert(problems.begin(), document.problems.begin(), document.problems.end());
    if (problems.empty()) {
        io.out << io.shown(path) << ": OK\n";
        return 0;
    }
    io.out << io.shown(path) << ": " << problems.size() << " problem line(s)\n";
    for (const auto& line : problems) io.out << "  " << io.shown(line) << '\n';
    return 1;
}

}  // namespace zel
