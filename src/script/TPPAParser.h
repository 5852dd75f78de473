#pragma once
// The script language's tokenizer. It works on its own NUL-ended copy of the
// text (a NUL byte ends the text) and knows one token at a time: its kind and
// where it starts and ends. Every other part of the interpreter reads text
// through it, so one set of token rules holds everywhere.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zel {

enum class TokenKind : std::uint8_t {
    End,         // the end of the text
    Comment,     // "//" up to the line end
    String,      // a quoted literal (an unterminated one runs to the end)
    CharCode,    // "#65", "#$41", or "#" alone: a string of one byte
    Integer,     // decimal digits, or "$" and hexadecimal digits
    Real,        // digits with a fraction or an exponent
    Operator,    // ":=" "<=" "<>" ">=" ".."
    Identifier,  // a letter or "_", then letters, digits and "_"
    Symbol,      // any other single byte
};

class TPPAParser {
  public:
    explicit TPPAParser(std::string_view text = {});

    // Starts over on `text`.
    void reset(std::string_view text);
    // Moves to the next token; the first call finds the first one.
    void next();

    TokenKind kind() const { return kind_; }
    std::string_view token() const { return std::string_view(text_).substr(start_, end_ - start_); }
    std::size_t start() const { return start_; }
    std::size_t end() const { return end_; }
    bool atEnd() const { return kind_ == TokenKind::End; }

    // True when the current token is `name`, letter case ignored; the parser
    // then moves on to the next token.
    bool accept(std::string_view name);

  private:
    std::string text_;
    std::size_t start_ = 0;
    std::size_t end_ = 0;
    TokenKind kind_ = TokenKind::End;
};

// ASCII letter case ignored (script words and names are ASCII).
bool sameWord(std::string_view a, std::string_view b);
// ASCII upper case.
std::string upperWord(std::string_view word);

// A literal's value. An integer token that does not convert is 0; a real
// token (or an integer token read as a real) that does not convert is 0.0.
std::int64_t integerLiteralValue(std::string_view token);
double realLiteralValue(std::string_view token);
// The bytes a string or character-code token stands for.
std::string stringLiteralValue(TokenKind kind, std::string_view token);

// A text read as a number the way scripts read them: blanks before it, an
// optional sign, then decimal digits or "$" and hexadecimal digits (at most
// sixteen, taken as a 64-bit pattern). False when the text is not that.
bool readScriptInteger(std::string_view text, std::int64_t& value);
// A decimal real number, blanks around it allowed. False when it is not one.
bool readScriptReal(std::string_view text, double& value);

}  // namespace zel
