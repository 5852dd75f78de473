// The compiler's expressions: the three typed grammars, typing by the first
// token, and calls. Integers and reals share their levels; strings have
// their own concatenation.

#include "script/ScriptCompiler.h"

namespace zel::script {

namespace msg = script_messages;

namespace {

template <class T>
ExprPtr<T> fails(std::string message) {
    return std::make_unique<Fail<T>>(std::move(message));
}

template <class T>
ExprPtr<T> variable(const Variable* v) {
    if (v->hostBound) return std::make_unique<HostVarValue<T>>(v);
    return std::make_unique<VarValue<T>>(v);
}

// relation -> "=" | "<>" | "<" | "<=" | ">" | ">="
std::optional<Op> relation(const Token& t) {
    if (t.kind == TokenKind::Operator) {
        if (t.text == "<=") return Op::Le;
        if (t.text == "<>") return Op::Ne;
        if (t.text == ">=") return Op::Ge;
        return std::nullopt;
    }
    if (isSymbol(t, '=')) return Op::Eq;
    if (isSymbol(t, '<')) return Op::Lt;
    if (isSymbol(t, '>')) return Op::Gt;
    return std::nullopt;
}

// adding -> "+" | "-" | OR | XOR (integers); "+" | "-" (reals)
template <class T>
std::optional<Op> adding(const Token& t) {
    if (isSymbol(t, '+')) return Op::Add;
    if (isSymbol(t, '-')) return Op::Sub;
    if constexpr (kIsInt<T>) {
        if (t.word == Word::Or) return Op::Or;
        if (t.word == Word::Xor) return Op::Xor;
    }
    return std::nullopt;
}

// multiplying -> "*" | DIV | MOD | AND | SHL | SHR (integers); "*" | "/" (reals)
template <class T>
std::optional<Op> multiplying(const Token& t) {
    if (isSymbol(t, '*')) return Op::Mul;
    if constexpr (kIsInt<T>) {
        if (t.word == Word::Div) return Op::Div;
        if (t.word == Word::Mod) return Op::Mod;
        if (t.word == Word::And) return Op::And;
        if (t.word == Word::Shl) return Op::Shl;
        if (t.word == Word::Shr) return Op::Shr;
    } else {
        if (isSymbol(t, '/')) return Op::Slash;
    }
    return std::nullopt;
}

// The value of a literal of T's grammar; an integer literal is also a real
// one.
template <class T>
std::optional<T> literal(const Token& t) {
    if constexpr (kIsInt<T>) {
        if (t.kind == TokenKind::Integer) return integerLiteralValue(t.text);
    } else if constexpr (kIsReal<T>) {
        if (t.kind == TokenKind::Integer || t.kind == TokenKind::Real)
            return realLiteralValue(t.text);
    } else {
        if (t.kind == TokenKind::String || t.kind == TokenKind::CharCode)
            return stringLiteralValue(t.kind, t.text);
    }
    return std::nullopt;
}

// Whether a function of `result` type may stand in T's grammar: integer
// functions also in reals.
template <class T>
bool callableAs(TPPAType result) {
    return result == kTypeOf<T> || (kIsReal<T> && result == TPPAType::Integer);
}

}  // namespace

std::string syntaxError(std::string_view token) {
    return msg::bracketed(msg::kSyntax, token);
}

TPPAType Compiler::typeByFirstToken(const Token& t) const {
    switch (t.kind) {
        case TokenKind::String:
        case TokenKind::CharCode:
            return TPPAType::String;
        case TokenKind::Real:
            return TPPAType::Real;
        case TokenKind::Identifier:
            if (const Variable* v = m_.findVariable(t.text)) return v->type;
            if (const Routine* f = m_.findFunction(t.text)) return f->result;
            return TPPAType::Integer;
        default:
            return TPPAType::Integer;
    }
}

template <class T>
ExprPtr<T> Compiler::expression(std::uint32_t b, std::uint32_t e) {
    Cursor c{b, e};
    return comparison<T>(c);
}

// An expression typed by its first token.
AnyExpr Compiler::typed(std::uint32_t b, std::uint32_t e) {
    switch (typeByFirstToken(at(b, e))) {
        case TPPAType::Integer:
            return expression<std::int64_t>(b, e);
        case TPPAType::Real:
            return expression<double>(b, e);
        case TPPAType::String:
            break;
    }
    return expression<std::string>(b, e);
}

template <class T>
ExprPtr<T> Compiler::typedAs(std::uint32_t b, std::uint32_t e) {
    return std::visit(
        [](auto&& x) -> ExprPtr<T> {
            using From = std::remove_cvref_t<decltype(x->eval(std::declval<Machine&>()))>;
            if constexpr (std::is_same_v<From, T>) {
                return std::move(x);
            } else {
                return std::make_unique<Convert<T, From>>(std::move(x));
            }
        },
        typed(b, e));
}

template <class T>
std::vector<std::pair<Op, ExprPtr<T>>> Compiler::operands(Cursor& c,
                                                          ExprPtr<T> (Compiler::*next)(Cursor&),
                                                          std::optional<Op> (*opOf)(const Token&)) {
    std::vector<std::pair<Op, ExprPtr<T>>> rest;
    while (auto op = opOf(cur(c))) {
        ++c.pos;
        rest.emplace_back(*op, (this->*next)(c));
    }
    return rest;
}

// comparison -> simple {relation simple}, giving -1, -1.0 or "-1" for true
// (strings compare concatenations, byte by byte)
template <class T>
ExprPtr<T> Compiler::comparison(Cursor& c) {
    ExprPtr<T> (Compiler::*next)(Cursor&) = nullptr;
    if constexpr (kIsStr<T>) {
        next = &Compiler::concatenation;
    } else {
        next = &Compiler::simple<T>;
    }
    auto first = (this->*next)(c);
    return level<T>(std::move(first), operands<T>(c, next, relation));
}

// simple -> term {adding term}
template <class T>
ExprPtr<T> Compiler::simple(Cursor& c) {
    auto first = term<T>(c);
    return level<T>(std::move(first), operands<T>(c, &Compiler::term<T>, adding<T>));
}

// term -> [NOT] factor {multiplying factor}, NOT for integers only; it
// applies to the first factor alone
template <class T>
ExprPtr<T> Compiler::term(Cursor& c) {
    ExprPtr<T> first;
    if constexpr (kIsInt<T>) {
        if (cur(c).word == Word::Not) {
            // The bitwise complement: every bit flipped, as "xor -1" does.
            ++c.pos;
            first = makeBinary<T>(Op::Xor, factor<T>(c), std::make_unique<Const<T>>(-1));
        }
    }
    if (!first) first = factor<T>(c);
    return level<T>(std::move(first), operands<T>(c, &Compiler::factor<T>, multiplying<T>));
}

// factor -> "(" expression ")" | "+" term | "-" term | primary
// Numbers read the parenthesised text typed by its first token; strings in
// their own grammar, and have no signs.
template <class T>
ExprPtr<T> Compiler::factor(Cursor& c) {
    Depth depth(depth_);
    if (depth.tooDeep()) return fails<T>(std::string(msg::kTooDeep));
    const Token& t = cur(c);
    if (isSymbol(t, '(')) {
        auto close = closeParen(c.pos, c.end);
        if (!close) return fails<T>(std::string(msg::kNoRightParen));
        ExprPtr<T> inner;
        if constexpr (kIsStr<T>) {
            inner = expression<T>(c.pos + 1, *close);
        } else {
            inner = typedAs<T>(c.pos + 1, *close);
        }
        c.pos = *close + 1;
        return inner;
    }
    if (isSymbol(t, ')')) return fails<T>(syntaxError(")"));
    if constexpr (!kIsStr<T>) {
        if (isSymbol(t, '+')) {
            ++c.pos;
            return term<T>(c);
        }
        if (isSymbol(t, '-')) {
            ++c.pos;
            auto node = std::make_unique<Negate<T>>();
            node->a = term<T>(c);
            return node;
        }
    }
    return primary<T>(c);
}

// primary -> literal | variable | function call, of the expression's type;
// a real primary also takes integer ones
template <class T>
ExprPtr<T> Compiler::primary(Cursor& c) {
    const Token& t = cur(c);
    if (auto value = literal<T>(t)) {
        ++c.pos;
        return std::make_unique<Const<T>>(std::move(*value));
    }
    if (t.kind != TokenKind::Identifier) return fails<T>(syntaxError(t.text));
    if (const Variable* v = m_.findVariable(t.text)) {
        if (v->type == kTypeOf<T>) {
            ++c.pos;
            return variable<T>(v);
        }
        if constexpr (kIsReal<T>) {
            if (v->type == TPPAType::Integer) {
                ++c.pos;
                return std::make_unique<Convert<double, std::int64_t>>(variable<std::int64_t>(v));
            }
        }
        return fails<T>(msg::bracketed(msg::kVariableType, t.text));
    }
    if (const Routine* f = m_.findFunction(t.text)) {
        if (!callableAs<T>(f->result)) return fails<T>(msg::bracketed(msg::kResultType, t.text));
        auto node = std::make_unique<Call<T>>();
        node->site = call(f, c);
        return node;
    }
    return fails<T>(msg::bracketed(msg::kUndefined, t.text));
}

// concatenation -> factor {"+" factor | literal}
// A string literal or character code right after a factor joins it without "+".
ExprPtr<std::string> Compiler::concatenation(Cursor& c) {
    std::vector<ExprPtr<std::string>> parts;
    parts.push_back(factor<std::string>(c));
    for (;;) {
        const Token& t = cur(c);
        if (isSymbol(t, '+')) {
            ++c.pos;
        } else if (t.kind != TokenKind::String && t.kind != TokenKind::CharCode) {
            break;
        }
        parts.push_back(factor<std::string>(c));
    }
    if (parts.size() == 1) return std::move(parts[0]);
    auto node = std::make_unique<Concat>();
    node->parts = std::move(parts);
    return node;
}

// call -> name ["(" argument {"," argument} ")"]
// An argument is the tokens up to the next "," or ")" outside parentheses,
// read in the grammar of its parameter's type (integers typed by their first
// token).
CallSite Compiler::call(const Routine* routine, Cursor& c) {
    CallSite site;
    site.routine = routine;
    ++c.pos;  // the name
    const auto& params = routine->parameters;
    if (params.empty()) {
        // A routine without parameters takes no parentheses either.
        if (isSymbol(cur(c), '(')) site.before = syntaxError("(");
        return site;
    }
    if (!isSymbol(cur(c), '(')) {
        site.before = syntaxError(cur(c).text);
        return site;
    }
    ++c.pos;
    for (std::size_t k = 0; k < params.size(); ++k) {
        std::uint32_t q = c.pos;
        int depth = 0;
        for (; q < c.end; ++q) {
            const Token& t = t_[q];
            if (isSymbol(t, '(')) {
                ++depth;
            } else if (isSymbol(t, ')')) {
                if (depth == 0) break;
                --depth;
            } else if (isSymbol(t, ',') && depth == 0) {
                break;
            }
        }
        switch (params[k].type) {
            case TPPAType::Integer:
                site.arguments.emplace_back(typedAs<std::int64_t>(c.pos, q));
                break;
            case TPPAType::Real:
                site.arguments.emplace_back(expression<double>(c.pos, q));
                break;
            case TPPAType::String:
                site.arguments.emplace_back(expression<std::string>(c.pos, q));
                break;
        }
        c.pos = q;
        if (k + 1 < params.size() && q < c.end) ++c.pos;  // the delimiter
    }
    if (isSymbol(cur(c), ')')) {
        ++c.pos;
    } else {
        site.after = syntaxError(cur(c).text);
    }
    return site;
}

template ExprPtr<std::int64_t> Compiler::expression(std::uint32_t, std::uint32_t);
template ExprPtr<double> Compiler::expression(std::uint32_t, std::uint32_t);
template ExprPtr<std::string> Compiler::expression(std::uint32_t, std::uint32_t);
template ExprPtr<std::int64_t> Compiler::typedAs(std::uint32_t, std::uint32_t);

}  // namespace zel::script
