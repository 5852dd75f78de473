#pragma once
// The lexer of a run: the prepared program text cut into tokens once, each
// identifier tagged with the grammar word it is. The compiler reads only
// these tokens, so one set of token rules (TPPAParser's) holds everywhere.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "script/TPPAParser.h"

namespace zel::script {

// Words the grammar looks for, found once per token when a run is lexed.
enum class Word : std::uint8_t {
    None,
    Begin,
    End,
    Repeat,
    Until,
    Case,
    Of,
    If,
    Then,
    Else,
    For,
    To,
    Downto,
    Do,
    While,
    Break,
    Continue,
    Exit,
    Var,
    Not,
    Div,
    Mod,
    And,
    Or,
    Xor,
    Shl,
    Shr,
    Integer,
    Real,
    String,
    Index,
};

struct Token {
    TokenKind kind = TokenKind::End;
    Word word = Word::None;  // identifiers only
    std::string_view text;
};

// The symbol a one-byte or two-byte token is, for quick tests.
inline bool isSymbol(const Token& t, char c) {
    return t.kind == TokenKind::Symbol && t.text[0] == c;
}
inline bool isOperator(const Token& t, std::string_view op) {
    return t.kind == TokenKind::Operator && t.text == op;
}

Word wordOf(std::string_view identifier);
// Every token of `text`, comments dropped, then one End token.
std::vector<Token> lexAll(std::string_view text);
// The program text a run executes: every line tokenized alone, comments
// dropped, tokens joined by single blanks, empty lines dropped.
std::string preparedText(const std::vector<std::string>& lines);

}  // namespace zel::script
