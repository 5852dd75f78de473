// The tag reader on arbitrary text: split, parse, and walk every accessor.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "formats/TTAGNode.h"
#include "object/Report.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

void walk(const zel::TTAGNode& root) {
    std::vector<const zel::TTAGNode*> pending{&root};
    while (!pending.empty()) {
        const zel::TTAGNode* node = pending.back();
        pending.pop_back();
        std::string key, value;
        for (int i = -1; i <= node->attrCount_(); ++i) {
            node->attrPair_(i, key, value);
            node->getAttr_(node->attrLine_(i));
        }
        node->attrText_();
        node->getElement_(node->name);
        for (std::size_t i = 0; i < node->count(); ++i) {
            if (const zel::TTAGNode* child = node->itemObject(i)) {
                check(child->parent == node);
                pending.push_back(child);
            }
        }
    }
}

}  // namespace

// addNew___ reports a missing parent; the report is expected here, not news.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    zel::setReporter([](const std::string&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    bool keepLineBreaks = data[0] & 1;
    std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);

    zel::WordList words;
    zel::splitWords(text, words, keepLineBreaks);
    for (std::string_view word : words) {
        check(!word.empty());
        if (word.front() == '<') check(word.back() == '>');
    }
    zel::TTAGNode root;
    std::vector<std::string> errors;
    int result = zel::parseMarkup(root, words, errors);
    check(result == 0 || result == -1);
    check(result == -1 || errors.empty());
    walk(root);
    return 0;
}
