// The token rules, seen through the tokenizer itself.

#include <gtest/gtest.h>

#include "script/TPPAParser.h"

namespace zel {
namespace {

std::vector<std::pair<TokenKind, std::string>> tokens(std::string_view text) {
    std::vector<std::pair<TokenKind, std::string>> out;
    TPPAParser p(text);
    for (p.next(); !p.atEnd(); p.next()) out.emplace_back(p.kind(), std::string(p.token()));
    return out;
}

using K = TokenKind;

TEST(Tokenizer, NumbersRangesAndTheDotAfterDigits) {
    EXPECT_EQ(tokens("1..5"),
              (decltype(tokens("")){{K::Real, "1"}, {K::Operator, ".."}, {K::Integer, "5"}}));
    EXPECT_EQ(tokens("1.5e3 2E-2 3.e 7e"),
              (decltype(tokens("")){
                  {K::Real, "1.5e3"}, {K::Real, "2E-2"}, {K::Real, "3.e"}, {K::Real, "7e"}}));
    EXPECT_EQ(tokens("5. x"),
              (decltype(tokens("")){{K::Real, "5"}, {K::Symbol, "."}, {K::Identifier, "x"}}));
    EXPECT_EQ(tokens("$1fz $"),
              (decltype(tokens("")){{K::Integer, "$1f"}, {K::Identifier, "z"}, {K::Integer, "$"}}));
}

TEST(Tokenizer, StringsCodesCommentsAndSymbols) {
    EXPECT_EQ(tokens("'it''s'x"),
              (decltype(tokens("")){{K::String, "'it''s'"}, {K::Identifier, "x"}}));
    EXPECT_EQ(tokens("'open\r\nmore"), (decltype(tokens("")){{K::String, "'open\r\nmore"}}));
    EXPECT_EQ(tokens("#13#$0a#x"), (decltype(tokens("")){{K::CharCode, "#13"},
                                                         {K::CharCode, "#$0a"},
                                                         {K::CharCode, "#"},
                                                         {K::Identifier, "x"}}));
    EXPECT_EQ(
        tokens("a//b c\nd"),
        (decltype(tokens("")){{K::Identifier, "a"}, {K::Comment, "//b c"}, {K::Identifier, "d"}}));
    EXPECT_EQ(tokens(":=<=<>>=<\x83\x41"), (decltype(tokens("")){{K::Operator, ":="},
                                                                 {K::Operator, "<="},
                                                                 {K::Operator, "<>"},
                                                                 {K::Operator, ">="},
                                                                 {K::Symbol, "<"},
                                                                 {K::Symbol, "\x83"},
                                                                 {K::Identifier, "A"}}));
    // Every byte from 1 to 32 separates; a NUL ends the text.
    EXPECT_EQ(tokens(std::string("a\x01\x1f"
                                 "b\0c",
                                 6)),
              (decltype(tokens("")){{K::Identifier, "a"}, {K::Identifier, "b"}}));
}

TEST(Tokenizer, AcceptIgnoresLetterCaseAndMovesOn) {
    TPPAParser p("Begin end");
    p.next();
    EXPECT_FALSE(p.accept("END"));
    EXPECT_TRUE(p.accept("BEGIN"));
    EXPECT_TRUE(p.accept("End"));
    EXPECT_TRUE(p.atEnd());
}

TEST(Tokenizer, LiteralValues) {
    EXPECT_EQ(integerLiteralValue("$FF"), 255);
    EXPECT_EQ(integerLiteralValue("$8000000000000000"), INT64_MIN);
    EXPECT_EQ(integerLiteralValue("$10000000000000000"), 0);
    EXPECT_EQ(integerLiteralValue("9223372036854775808"), 0);
    EXPECT_EQ(realLiteralValue("$FF"), 0.0);
    EXPECT_EQ(stringLiteralValue(K::String, "'a''b'"), "a'b");
    EXPECT_EQ(stringLiteralValue(K::CharCode, "#0065"), std::string(1, '\x06'));
    EXPECT_EQ(stringLiteralValue(K::CharCode, "#$41"), "A");
    EXPECT_EQ(stringLiteralValue(K::CharCode, "#300"), "");
    EXPECT_EQ(stringLiteralValue(K::CharCode, "#"), "");
    std::int64_t v = 0;
    EXPECT_TRUE(readScriptInteger(" -$10", v));
    EXPECT_EQ(v, -16);
    EXPECT_FALSE(readScriptInteger("12 ", v));
    EXPECT_FALSE(readScriptInteger("", v));
    double r = 0;
    EXPECT_FALSE(readScriptReal("inf", r));
    EXPECT_FALSE(readScriptReal("1e999", r));
    EXPECT_TRUE(readScriptReal(" -1.5e1 ", r));
    EXPECT_EQ(r, -15.0);
}

}  // namespace
}  // namespace zel
