#include "formats/MarkupTree.h"

#include <span>

#include "object/Report.h"
#include "text/Sjis.h"
#include "text/TextHelpers.h"

namespace zel {

namespace {

bool isQuote(char c) {
    return c == '"' || c == '\'';
}
bool beginsWithQuote(std::string_view s) {
    return !s.empty() && isQuote(s.front());
}
bool endsWithQuote(std::string_view s) {
    return !s.empty() && isQuote(s.back());
}
bool hasEquals(std::string_view s) {
    return findSingleByte(s, '=') != std::string_view::npos;
}
bool endsWithEquals(std::string_view s) {
    return !s.empty() && s.back() == '=';
}

// A token the pairing hands over as it stands, whatever follows it: a quoted
// one, or one with "=" that ends in a quote or a value. Tags as the program
// writes them hold only such tokens.
bool standsAlone(std::string_view token) {
    return beginsWithQuote(token) ||
           (hasEquals(token) && (endsWithQuote(token) || !endsWithEquals(token)));
}

const std::string& unexpectedEndTagText() {
    static const std::string text = utf8ToSjis("いきなり終了タグがあらわれた。");
    return text;
}
const std::string& mismatchedTagText() {
    static const std::string text = utf8ToSjis(" タグの開始と終了が一致しない。");
    return text;
}
// The end-tag errors name the builder with its historical spelling.
constexpr char kEndTagErrorSuffix[] = " in TTAGNode._fromXMLWorldList_aOUT_";

}  // namespace

// Pairs trimmed tokens: D is the pending text; `a = "x"` gives a="x", a bare
// `a` before another token gives a="", the last bare token stays as it is.
void pairTrimmedAttributes(std::span<const std::string_view> tokens,
                           std::vector<std::string>& lines) {
    lines.clear();
    std::string pending;
    std::size_t i = 0;
    while (i < tokens.size()) {
        if (pending.empty()) pending = tokens[i];
        if (i + 1 == tokens.size()) {
            lines.push_back(std::move(pending));
            break;
        }
        if (beginsWithQuote(pending)) {
            lines.push_back(std::move(pending));
            pending.clear();
            ++i;
            continue;
        }
        std::string_view next = tokens[i + 1];
        bool equals = hasEquals(pending);
        if (equals && (endsWithQuote(pending) || !endsWithEquals(pending))) {
            i += 1;
        } else if (equals && beginsWithQuote(next)) {
            // `a=` followed by its quoted value
            pending += next;
            i += 2;
        } else if (equals) {
            pending += "\"\"";
            i += 1;
        } else if (!next.empty() && next.front() == '=') {
            // `a` followed by `=...`: joined, then looked at again with the token after
            pending += next;
            i += 1;
            continue;
        } else {
            pending += "=\"\"";
            i += 1;
        }
        lines.push_back(std::move(pending));
        pending.clear();
    }
}

void MarkupTag::read(std::string_view word) {
    word_ = word;
    parsed_ = false;
    selfClosing_ = closing_ = blanks_ = false;
    name_ = {};
    std::string_view rest = trimmedView(word);
    if (rest.starts_with('<')) rest.remove_prefix(1);
    if (rest.ends_with('>')) rest.remove_suffix(1);
    if (rest.ends_with('/')) {
        selfClosing_ = true;
        rest.remove_suffix(1);
    }
    rest_ = rest;
    std::string_view name;
    if (rest.find_first_of(" \t") == std::string_view::npos) {
        // One token, as in most tags (<BR/>, </Record>): no split needed.
        name = trimmedView(rest);
    } else {
        blanks_ = true;
        splitQuotedViews(rest, " \t", tokens_);
        for (auto& token : tokens_) token = trimmedView(token);
        std::erase_if(tokens_, [](std::string_view token) { return token.empty(); });
        if (!tokens_.empty()) name = tokens_.front();
    }
    if (!name.empty() && name.front() == '/') {
        closing_ = true;
        name.remove_prefix(1);
    }
    name_ = name;
}

const std::vector<std::string>& MarkupTag::attributes() const {
    if (parsed_) return attributes_;
    parsed_ = true;
    if (!blanks_ || tokens_.size() < 2) {
        attributes_.clear();
        return attributes_;
    }
    const std::span<const std::string_view> tokens = std::span(tokens_).subspan(1);
    bool alone = true;
    for (std::size_t i = 0; i + 1 < tokens.size() && alone; ++i) alone = standsAlone(tokens[i]);
    if (alone) {
        // Each token is a line: the room of earlier lines is reused.
        attributes_.resize(tokens.size());
        for (std::size_t i = 0; i < tokens.size(); ++i) attributes_[i].assign(tokens[i]);
    } else {
        pairTrimmedAttributes(tokens, attributes_);
    }
    // "&" lies below 0x40, so it is never the second byte of a character.
    for (auto& line : attributes_)
        if (line.find('&') != std::string::npos) line = unescapeMarkup(line);
    return attributes_;
}

std::string_view attributeValue(const std::vector<std::string>& lines, std::string_view key) {
    for (const auto& line : lines) {
        std::size_t eq = findSingleByte(line, '=');
        if (eq == std::string::npos) continue;
        if (sameText(trimmedView(std::string_view(line).substr(0, eq)), key))
            return std::string_view(line).substr(eq + 1);
    }
    return {};
}

std::string textWithoutElementError(std::string_view lastTagName) {
    return std::string(lastTagName) + " aTTNC = nil in TTAGNode._FromXMLWordList_aOUT_";
}

std::string unexpectedEndTagError(std::string_view name) {
    return unexpectedEndTagText() + std::string(name) + " " + kEndTagErrorSuffix;
}

std::string mismatchedEndTagError(std::string_view open, std::string_view close) {
    return mismatchedTagText() + std::string(open) + " " + std::string(close) + kEndTagErrorSuffix;
}

std::string openTagWithoutElementError(std::size_t word, std::string_view text) {
    return "ERROR Current TAG is nil. Probabry TAG's ireko not matichline number = " +
           std::to_string(word) + " word=" + std::string(text) + " in  _FromXMLWordList_aOUT_ ";
}

void reportElementWithoutParent(std::string_view word) {
    report("ERROR: self = nil word = " + std::string(word) + " in TTAGNode.addNew___ ");
}

}  // namespace zel
