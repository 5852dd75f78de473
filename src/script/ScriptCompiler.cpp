// The compiler's declarations, program structure, statements and blocks. A
// block is split into statements at every ";" outside nested blocks; each
// statement is read by the word or the name it begins with.

#include "script/ScriptCompiler.h"

#include <algorithm>

#include "text/Sjis.h"
#include "text/TextHelpers.h"

namespace zel::script {

namespace msg = script_messages;

namespace {

// BEGIN, REPEAT and CASE open a nest that END or UNTIL closes.
bool opensNest(const Token& t) {
    return t.word == Word::Begin || t.word == Word::Repeat || t.word == Word::Case;
}
bool closesNest(const Token& t) {
    return t.word == Word::End || t.word == Word::Until;
}

std::unique_ptr<Stmt> fails(std::string message) {
    return std::make_unique<StmtFail>(std::move(message));
}

const Token kEndToken{};

std::optional<TPPAType> typeNamed(Word word) {
    switch (word) {
        case Word::Integer:
            return TPPAType::Integer;
        case Word::Real:
            return TPPAType::Real;
        case Word::String:
            return TPPAType::String;
        default:
            return std::nullopt;
    }
}

// params -> "(" group {";" group} ")";  group -> name {"," name} ":" type
void readParameters(TPPAParser& p, Routine& routine) {
    for (;;) {
        std::vector<std::string> names;
        for (;;) {
            if (p.kind() != TokenKind::Identifier) fail(syntaxError(p.token()));
            std::string name(p.token());
            bool twice = std::find(names.begin(), names.end(), name) != names.end();
            for (const auto& param : routine.parameters) twice = twice || param.name == name;
            if (twice) fail(msg::bracketed(msg::kDuplicateParameter, name));
            names.push_back(std::move(name));
            p.next();
            if (p.token() != ",") break;
            p.next();
        }
        if (p.token() != ":") fail(syntaxError(p.token()));
        p.next();
        auto type = typeNamed(wordOf(p.token()));
        if (!type) fail(syntaxError(p.token()));
        p.next();
        for (auto& name : names) routine.parameters.push_back({std::move(name), *type});
        if (p.token() == ";") {
            p.next();
            continue;
        }
        if (p.token() == ")") {
            p.next();
            return;
        }
        fail(syntaxError(p.token()));
    }
}

// vargroup -> name {"," name} ":" type ";"
void declareVariables(Machine& m, const std::vector<Token>& t, std::uint32_t& p) {
    auto syntax = [&](std::uint32_t q) { fail(syntaxError(t[q].text)); };
    std::vector<std::string_view> names;
    for (;;) {
        if (t[p].kind != TokenKind::Identifier) syntax(p);
        std::string_view name = t[p].text;
        bool twice = m.findVariable(name) != nullptr;
        for (auto other : names) twice = twice || sameWord(other, name);
        if (twice) fail(msg::bracketed(msg::kDuplicateVariable, name));
        names.push_back(name);
        ++p;
        if (!isSymbol(t[p], ',')) break;
        ++p;
    }
    if (!isSymbol(t[p], ':')) syntax(p);
    ++p;
    auto type = typeNamed(t[p].word);
    if (!type) syntax(p);
    ++p;
    if (!isSymbol(t[p], ';')) syntax(p);
    ++p;
    for (auto name : names) m.addVariable(name, *type);
}

}  // namespace

// declaration -> (PROCEDURE | FUNCTION) name [params] [":" type] [";" INDEX number] ";"
// The line is read in upper case; anything after the result type but
// ";" INDEX number is ignored, the index then being 0.
Routine& declareRoutine(Machine& m, const std::string& given, bool permanent) {
    const std::string decl(msg::kDeclaration);
    std::string line = upperText(trimText(given));
    const bool isProcedure = line.starts_with("PROCEDURE ");
    const bool isFunction = line.starts_with("FUNCTION ");
    if ((!isProcedure && !isFunction) || line.empty() || line.back() != ';') fail(decl);
    line.pop_back();
    while (!line.empty() && static_cast<unsigned char>(line.back()) <= 32) line.pop_back();
    TPPAParser p(std::string_view(line).substr(isProcedure ? 10 : 9));
    p.next();
    if (p.kind() != TokenKind::Identifier) fail(decl);
    auto routine = std::make_unique<Routine>();
    routine->name = std::string(p.token());
    routine->permanent = permanent;
    routine->function = isFunction;
    if (m.findProcedure(routine->name) || m.findFunction(routine->name))
        fail(msg::bracketed(msg::kDuplicateRoutine, routine->name));
    p.next();
    if (p.token() == "(") {
        if (line.find(')') == std::string::npos) fail(decl);
        p.next();
        readParameters(p, *routine);
    }
    if (isFunction) {
        if (p.token() != ":") fail(decl);
        p.next();
        auto type = typeNamed(wordOf(p.token()));
        if (!type) fail(decl);
        routine->result = *type;
        p.next();
    }
    if (p.token() == ";") {
        p.next();
        if (p.token() == "INDEX") {
            p.next();
            routine->index = p.kind() == TokenKind::Integer
                                 ? static_cast<std::int32_t>(integerLiteralValue(p.token()))
                                 : 0;
        }
    }
    Routine& declared = *routine;
    auto& table = isFunction ? m.functions : m.procedures;
    table.emplace(declared.name, std::move(routine));
    ++m.generation;
    return declared;
}

// program -> VAR {vargroup} [BEGIN] statements END ... | statements
// With VAR, the statements run up to the last END of the text.
void readProgram(Machine& m, Program& program) {
    const auto& t = program.tokens;
    const auto size = static_cast<std::uint32_t>(t.size() - 1);
    if (t[0].word != Word::Var) {
        program.root.begin = 0;
        program.root.end = size;
        return;
    }
    std::uint32_t p = 1;
    while (t[p].kind != TokenKind::End && t[p].word != Word::Begin) declareVariables(m, t, p);
    std::uint32_t first = t[p].word == Word::Begin ? p + 1 : p;
    std::optional<std::uint32_t> last;
    for (std::uint32_t q = 0; q < size; ++q)
        if (t[q].word == Word::End) last = q;
    if (!last) fail(msg::bracketed(msg::kNoEnd, "Block"));
    program.root.begin = first;
    program.root.end = std::max(first, *last);
}

// block -> statement {";" statement}
void compileBlock(Machine& m, Block& block) {
    if (block.generation != 0 && !block.statements.empty())
        m.program->retired.push_back(std::move(block.statements));
    block.statements.clear();
    Compiler compiler(m, m.program->tokens);
    const auto& t = m.program->tokens;
    int depth = 0;
    std::uint32_t start = block.begin;
    auto emit = [&](std::uint32_t from, std::uint32_t to) {
        if (from < to) block.statements.push_back(compiler.statement(from, to));
    };
    for (std::uint32_t q = block.begin; q < block.end; ++q) {
        if (opensNest(t[q])) {
            ++depth;
        } else if (closesNest(t[q])) {
            --depth;
        } else if (depth == 0 && isSymbol(t[q], ';')) {
            emit(start, q);
            start = q + 1;
        }
    }
    emit(start, block.end);
    block.generation = m.generation;
}

const Token& Compiler::at(std::uint32_t p, std::uint32_t end) const {
    return p < end ? t_[p] : kEndToken;
}

std::optional<std::uint32_t> Compiler::closeParen(std::uint32_t p, std::uint32_t end) const {
    int depth = 0;
    for (std::uint32_t q = p; q < end; ++q) {
        if (isSymbol(t_[q], '(')) {
            ++depth;
        } else if (isSymbol(t_[q], ')')) {
            if (--depth == 0) return q;
        }
    }
    return std::nullopt;
}

std::optional<std::uint32_t> Compiler::firstWord(std::uint32_t p, std::uint32_t end, Word w) const {
    for (std::uint32_t q = p; q < end; ++q)
        if (t_[q].word == w) return q;
    return std::nullopt;
}

// The END or UNTIL (`closer`) that closes the nest open at `p`.
std::optional<std::uint32_t> Compiler::closing(std::uint32_t p, std::uint32_t end,
                                               Word closer) const {
    int depth = 0;
    for (std::uint32_t q = p; q < end; ++q) {
        if (opensNest(t_[q])) {
            ++depth;
        } else if (closesNest(t_[q])) {
            if (depth == 0 && t_[q].word == closer) return q;
            --depth;
        }
    }
    return std::nullopt;
}

// part -> BEGIN statements END | statement
// A single statement ends at ";", at an END or UNTIL that closes an outer
// construct, or at an ELSE that no IF inside the part is waiting for.
Compiler::Part Compiler::readPart(std::uint32_t p, std::uint32_t end) const {
    if (p < end && t_[p].word == Word::Begin) {
        if (auto m = closing(p + 1, end, Word::End)) return {p + 1, *m, *m + 1};
        return {p + 1, end, end};
    }
    int depth = 0, pendingIf = 0;
    std::uint32_t q = p;
    for (; q < end; ++q) {
        const Token& t = t_[q];
        if (depth == 0) {
            if (isSymbol(t, ';') || closesNest(t)) break;
            if (t.word == Word::Else) {
                if (pendingIf == 0) break;
                --pendingIf;
                continue;
            }
            if (t.word == Word::If) ++pendingIf;
        }
        if (opensNest(t)) {
            ++depth;
        } else if (closesNest(t)) {
            --depth;
        }
    }
    return {p, q, q};
}

std::unique_ptr<Block> Compiler::block(std::uint32_t b, std::uint32_t e) const {
    auto blk = std::make_unique<Block>();
    blk->begin = b;
    blk->end = e;
    return blk;
}

// statement -> procedure call | function call | assignment | BEGIN ... | IF ...
//            | FOR ... | WHILE ... | REPEAT ... | CASE ... | BREAK | CONTINUE | EXIT
std::unique_ptr<Stmt> Compiler::statement(std::uint32_t b, std::uint32_t e) {
    const Token& t = at(b, e);
    if (t.kind != TokenKind::Identifier) return fails(syntaxError(t.text));
    const Routine* routine = m_.findProcedure(t.text);
    if (!routine) routine = m_.findFunction(t.text);
    if (routine) {
        Cursor c{b, e};
        auto node = std::make_unique<CallStmt>();
        node->site = call(routine, c);
        return node;
    }
    if (Variable* v = m_.findVariable(t.text)) return assignment(v, b, e);
    switch (t.word) {
        case Word::Begin:
            return beginStatement(b, e);
        case Word::Break:
            return std::make_unique<FlagStmt>(kBreak);
        case Word::Continue:
            return std::make_unique<FlagStmt>(kContinue);
        case Word::Exit:
            return std::make_unique<FlagStmt>(kExit);
        case Word::If:
            return ifStatement(b, e);
        case Word::For:
            return forStatement(b, e);
        case Word::While:
            return whileStatement(b, e);
        case Word::Repeat:
            return repeatStatement(b, e);
        case Word::Case:
            return caseStatement(b, e);
        default:
            return fails(syntaxError(t.text));
    }
}

// assignment -> variable ":=" expression (in the variable's type)
std::unique_ptr<Stmt> Compiler::assignment(Variable* var, std::uint32_t b, std::uint32_t e) {
    if (var->readOnly) return fails(msg::bracketed(msg::kReadOnly, t_[b].text));
    if (!isOperator(at(b + 1, e), ":=")) return fails(syntaxError(at(b + 1, e).text));
    switch (var->type) {
        case TPPAType::Integer:
            return std::make_unique<Assign<std::int64_t>>(var, expression<std::int64_t>(b + 2, e));
        case TPPAType::Real:
            return std::make_unique<Assign<double>>(var, expression<double>(b + 2, e));
        case TPPAType::String:
            break;
    }
    auto value = expression<std::string>(b + 2, e);
    if (auto append = appendTo(var, value)) return append;
    return std::make_unique<Assign<std::string>>(var, std::move(value));
}

// "s := s + ...", for a variable the host does not hear, appends to s in
// place: null when `value` is not that.
std::unique_ptr<Stmt> Compiler::appendTo(Variable* var, ExprPtr<std::string>& value) {
    if (var->hostBound) return nullptr;
    auto* concat = dynamic_cast<Concat*>(value.get());
    if (!concat) return nullptr;
    auto* head = dynamic_cast<VarValue<std::string>*>(concat->parts[0].get());
    if (!head || head->var != var) return nullptr;
    auto node = std::make_unique<Append>();
    node->var = var;
    for (std::size_t i = 1; i < concat->parts.size(); ++i)
        node->parts.push_back(std::move(concat->parts[i]));
    return node;
}

// beginstat -> BEGIN statements END
std::unique_ptr<Stmt> Compiler::beginStatement(std::uint32_t b, std::uint32_t e) {
    auto node = std::make_unique<BlockStmt>();
    auto end = closing(b + 1, e, Word::End);
    node->block = block(b + 1, end ? *end : e);
    return node;
}

// ifstat -> IF condition THEN part [ELSE part]
std::unique_ptr<Stmt> Compiler::ifStatement(std::uint32_t b, std::uint32_t e) {
    auto then = firstWord(b + 1, e, Word::Then);
    if (!then) return fails(syntaxError("if"));
    auto node = std::make_unique<IfStmt>();
    node->condition = typedAs<std::int64_t>(b + 1, *then);
    Part thenPart = readPart(*then + 1, e);
    node->thenPart = block(thenPart);
    if (thenPart.next < e && t_[thenPart.next].word == Word::Else)
        node->elsePart = block(readPart(thenPart.next + 1, e));
    return node;
}

// forstat -> FOR variable ":=" start (TO | DOWNTO) end DO part
std::unique_ptr<Stmt> Compiler::forStatement(std::uint32_t b, std::uint32_t e) {
    auto bad = [] { return fails(syntaxError("for")); };
    const Token& name = at(b + 1, e);
    Variable* var = name.kind == TokenKind::Identifier ? m_.findVariable(name.text) : nullptr;
    if (!var || var->type != TPPAType::Integer || var->readOnly) return bad();
    std::optional<std::uint32_t> to;
    bool down = false;
    for (std::uint32_t q = b + 1; q < e && !to; ++q) {
        if (t_[q].word == Word::To || t_[q].word == Word::Downto) {
            to = q;
            down = t_[q].word == Word::Downto;
        }
    }
    if (!to) return bad();
    bool assigns = false;
    for (std::uint32_t q = b + 1; q < *to; ++q) assigns = assigns || isOperator(t_[q], ":=");
    if (!assigns) return bad();
    auto doAt = firstWord(*to + 1, e, Word::Do);
    if (!doAt) return bad();
    auto node = std::make_unique<ForStmt>();
    node->var = var;
    node->start = statement(b + 1, *to);
    node->last = typedAs<std::int64_t>(*to + 1, *doAt);
    node->down = down;
    node->body = block(readPart(*doAt + 1, e));
    return node;
}

// whilestat -> WHILE condition DO part
std::unique_ptr<Stmt> Compiler::whileStatement(std::uint32_t b, std::uint32_t e) {
    auto doAt = firstWord(b + 1, e, Word::Do);
    if (!doAt) return fails(syntaxError("while"));
    auto node = std::make_unique<WhileStmt>();
    node->condition = typedAs<std::int64_t>(b + 1, *doAt);
    node->body = block(readPart(*doAt + 1, e));
    return node;
}

// repeatstat -> REPEAT statements UNTIL condition
std::unique_ptr<Stmt> Compiler::repeatStatement(std::uint32_t b, std::uint32_t e) {
    auto until = closing(b + 1, e, Word::Until);
    auto node = std::make_unique<RepeatStmt>();
    node->body = block(b + 1, until ? *until : e);
    node->condition = until ? typedAs<std::int64_t>(*until + 1, e) : typedAs<std::int64_t>(e, e);
    return node;
}

// casestat -> CASE selector OF arm {arm} [ELSE statements] END
// arm -> labels ":" part [";"]
std::unique_ptr<Stmt> Compiler::caseStatement(std::uint32_t b, std::uint32_t e) {
    auto of = firstWord(b + 1, e, Word::Of);
    if (!of) return fails(msg::bracketed(msg::kNoOf, "case"));
    auto node = std::make_unique<CaseStmt>();
    node->selector = typedAs<std::int64_t>(b + 1, *of);
    std::uint32_t p = *of + 1;
    for (;;) {
        if (p >= e) {
            node->error = msg::bracketed(msg::kNoEnd, "case");
            break;
        }
        if (t_[p].word == Word::End) break;
        if (t_[p].word == Word::Else) {
            auto end = closing(p + 1, e, Word::End);
            node->elsePart = block(p + 1, end ? *end : e);
            if (!end) node->error = msg::bracketed(msg::kNoEnd, "case");
            break;
        }
        std::optional<std::uint32_t> colon;
        for (std::uint32_t q = p; q < e && !colon; ++q)
            if (isSymbol(t_[q], ':')) colon = q;
        if (!colon) {
            node->error = msg::bracketed(msg::kBadExpression, "case");
            break;
        }
        CaseArm arm;
        arm.labels = caseLabels(p, *colon);
        Part part = readPart(*colon + 1, e);
        arm.part = block(part);
        node->arms.push_back(std::move(arm));
        p = part.next;
        if (p < e && isSymbol(t_[p], ';')) ++p;
    }
    return node;
}

// labels -> label {"," label};  label -> value [".." value]
// A "," or ".." inside parentheses belongs to the value.
std::vector<CaseLabel> Compiler::caseLabels(std::uint32_t b, std::uint32_t colon) {
    std::vector<CaseLabel> labels;
    std::uint32_t item = b;
    int depth = 0;
    for (std::uint32_t q = b; q <= colon; ++q) {
        if (q < colon && isSymbol(t_[q], '(')) ++depth;
        if (q < colon && isSymbol(t_[q], ')')) --depth;
        if (q != colon && (depth != 0 || !isSymbol(t_[q], ','))) continue;
        CaseLabel label;
        std::optional<std::uint32_t> range;
        int inner = 0;
        for (std::uint32_t r = item; r < q && !range; ++r) {
            if (isSymbol(t_[r], '(')) ++inner;
            if (isSymbol(t_[r], ')')) --inner;
            if (inner == 0 && isOperator(t_[r], "..")) range = r;
        }
        if (range) {
            label.low = typedAs<std::int64_t>(item, *range);
            label.high = typedAs<std::int64_t>(*range + 1, q);
        } else {
            label.low = typedAs<std::int64_t>(item, q);
        }
        labels.push_back(std::move(label));
        item = q + 1;
    }
    return labels;
}

}  // namespace zel::script
