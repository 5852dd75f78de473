#include "script/ScriptLexer.h"

namespace zel::script {

Word wordOf(std::string_view id) {
    static constexpr std::pair<std::string_view, Word> words[] = {
        {"BEGIN", Word::Begin},     {"END", Word::End},
        {"REPEAT", Word::Repeat},   {"UNTIL", Word::Until},
        {"CASE", Word::Case},       {"OF", Word::Of},
        {"IF", Word::If},           {"THEN", Word::Then},
        {"ELSE", Word::Else},       {"FOR", Word::For},
        {"TO", Word::To},           {"DOWNTO", Word::Downto},
        {"DO", Word::Do},           {"WHILE", Word::While},
        {"BREAK", Word::Break},     {"CONTINUE", Word::Continue},
        {"EXIT", Word::Exit},       {"VAR", Word::Var},
        {"NOT", Word::Not},         {"DIV", Word::Div},
        {"MOD", Word::Mod},         {"AND", Word::And},
        {"OR", Word::Or},           {"XOR", Word::Xor},
        {"SHL", Word::Shl},         {"SHR", Word::Shr},
        {"INTEGER", Word::Integer}, {"REAL", Word::Real},
        {"STRING", Word::String},   {"INDEX", Word::Index},
    };
    if (id.size() < 2 || id.size() > 8) return Word::None;
    for (const auto& [text, word] : words)
        if (sameWord(id, text)) return word;
    return Word::None;
}

std::vector<Token> lexAll(std::string_view text) {
    std::vector<Token> tokens;
    TPPAParser parser(text);
    for (;;) {
        parser.next();
        if (parser.kind() == TokenKind::End) break;
        if (parser.kind() == TokenKind::Comment) continue;
        Token t;
        t.kind = parser.kind();
        t.text = text.substr(parser.start(), parser.end() - parser.start());
        if (t.kind == TokenKind::Identifier) t.word = wordOf(t.text);
        tokens.push_back(t);
    }
    tokens.push_back(Token{});
    return tokens;
}

std::string preparedText(const std::vector<std::string>& lines) {
    std::string text;
    TPPAParser parser;
    std::string line;
    for (const std::string& source : lines) {
        parser.reset(source);
        line.clear();
        for (;;) {
            parser.next();
            if (parser.kind() == TokenKind::End) break;
            if (parser.kind() == TokenKind::Comment) continue;
            line += parser.token();
            line += ' ';
        }
        std::string_view kept = line;
        while (!kept.empty() && static_cast<unsigned char>(kept.back()) <= 32)
            kept.remove_suffix(1);
        if (kept.empty()) continue;
        if (!text.empty()) text += "\r\n";
        text += kept;
    }
    return text;
}

}  // namespace zel::script
