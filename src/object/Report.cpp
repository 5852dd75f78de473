#include "object/Report.h"

#include <iostream>

#include "text/Sjis.h"

namespace zel {
namespace {

Reporter& currentReporter() {
    // Reports are Shift_JIS like every model text; the terminal reads UTF-8.
    static Reporter reporter = [](const std::string& text) {
        std::cerr << sjisToUtf8(text) << '\n';
    };
    return reporter;
}

}  // namespace

Reporter setReporter(Reporter reporter) {
    Reporter previous = std::move(currentReporter());
    currentReporter() = std::move(reporter);
    return previous;
}

void report(std::string_view text) {
    if (currentReporter()) currentReporter()(std::string(text));
}

void reportShouldNotExecute(std::string_view text) {
    report(std::string("Should not execute. ").append(text));
}

void reportNotImplemented(std::string_view text) {
    report(std::string("Still not implemented. ").append(text));
}

}  // namespace zel
