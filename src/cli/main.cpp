#include <iostream>
#include <string>
#include <vector>

#include "cli/Document.h"
#include "cli/Tool.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    zel::leaveDocumentsToProcessEnd();
    return zel::runTool(args, std::cout, std::cerr);
}
