#pragma once
// The compiler: reads routine declarations and the program's VAR groups into
// the tables, raising their errors at once, and a block's tokens into
// statement nodes the first time the block runs. Compiling a statement never
// fails: where a re-reading interpreter would stop with an error, the
// compiler puts a node that raises that error when it is evaluated, so errors
// come exactly when and where the statement is reached, after every effect to
// their left.
//
// Declarations, statements and blocks are in ScriptCompiler.cpp, expressions
// and calls in ScriptExpressions.cpp; each grammar function opens with its rule.

#include <optional>

#include "script/ScriptNodes.h"

namespace zel::script {

// Declares one routine line (permanent: the built-ins and the host's own
// lines); raises the declaration's error.
Routine& declareRoutine(Machine& m, const std::string& line, bool permanent);
// Declares the program's VAR groups and finds its statement list.
void readProgram(Machine& m, Program& program);
// Compiles `block` over the run's tokens, in place of what it held.
void compileBlock(Machine& m, Block& block);

class Compiler {
  public:
    Compiler(Machine& m, const std::vector<Token>& tokens) : m_(m), t_(tokens) {}

    std::unique_ptr<Stmt> statement(std::uint32_t b, std::uint32_t e);

  private:
    // Where an expression is read: the next token and the end of its text.
    struct Cursor {
        std::uint32_t pos;
        std::uint32_t end;
    };
    // The statements of an IF, loop or CASE arm, and where reading goes on.
    struct Part {
        std::uint32_t begin, end, next;
    };

    const Token& at(std::uint32_t p, std::uint32_t end) const;
    const Token& cur(const Cursor& c) const { return at(c.pos, c.end); }

    // Scans for the ")" that closes the "(" at `p`.
    std::optional<std::uint32_t> closeParen(std::uint32_t p, std::uint32_t end) const;
    std::optional<std::uint32_t> firstWord(std::uint32_t p, std::uint32_t end, Word w) const;
    std::optional<std::uint32_t> closing(std::uint32_t p, std::uint32_t end, Word closer) const;
    Part readPart(std::uint32_t p, std::uint32_t end) const;
    std::unique_ptr<Block> block(std::uint32_t b, std::uint32_t e) const;
    std::unique_ptr<Block> block(const Part& part) const { return block(part.begin, part.end); }

    // Statements (ScriptCompiler.cpp).
    std::unique_ptr<Stmt> assignment(Variable* var, std::uint32_t b, std::uint32_t e);
    std::unique_ptr<Stmt> appendTo(Variable* var, ExprPtr<std::string>& value);
    std::unique_ptr<Stmt> beginStatement(std::uint32_t b, std::uint32_t e);
    std::unique_ptr<Stmt> ifStatement(std::uint32_t b, std::uint32_t e);
    std::unique_ptr<Stmt> forStatement(std::uint32_t b, std::uint32_t e);
    std::unique_ptr<Stmt> whileStatement(std::uint32_t b, std::uint32_t e);
    std::unique_ptr<Stmt> repeatStatement(std::uint32_t b, std::uint32_t e);
    std::unique_ptr<Stmt> caseStatement(std::uint32_t b, std::uint32_t e);
    std::vector<CaseLabel> caseLabels(std::uint32_t b, std::uint32_t colon);

    // Expressions (ScriptExpressions.cpp).
    // The text from `b` to `e` in T's grammar.
    template <class T>
    ExprPtr<T> expression(std::uint32_t b, std::uint32_t e);
    // The text typed by its first token, converted to T.
    template <class T>
    ExprPtr<T> typedAs(std::uint32_t b, std::uint32_t e);
    TPPAType typeByFirstToken(const Token& t) const;
    AnyExpr typed(std::uint32_t b, std::uint32_t e);
    // The operands after the first of one level: {op next}, with op as
    // `opOf` reads it from a token, left to right.
    template <class T>
    std::vector<std::pair<Op, ExprPtr<T>>> operands(Cursor& c,
                                                    ExprPtr<T> (Compiler::*next)(Cursor&),
                                                    std::optional<Op> (*opOf)(const Token&));
    template <class T>
    ExprPtr<T> comparison(Cursor& c);
    template <class T>
    ExprPtr<T> simple(Cursor& c);
    template <class T>
    ExprPtr<T> term(Cursor& c);
    template <class T>
    ExprPtr<T> factor(Cursor& c);
    template <class T>
    ExprPtr<T> primary(Cursor& c);
    ExprPtr<std::string> concatenation(Cursor& c);
    CallSite call(const Routine* routine, Cursor& c);

    // Counts the nesting of factors, so a script cannot exhaust the stack.
    struct Depth {
        int& d;
        explicit Depth(int& depth) : d(depth) { ++d; }
        ~Depth() { --d; }
        bool tooDeep() const { return d > kMaxDepth; }
    };

    Machine& m_;
    const std::vector<Token>& t_;
    int depth_ = 0;
};

std::string syntaxError(std::string_view token);

}  // namespace zel::script
