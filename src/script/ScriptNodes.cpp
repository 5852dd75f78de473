// The compiler and the compiled nodes. A statement is compiled the first time
// its block runs, over the tokens the run lexed once. Compiling never fails:
// where a re-reading interpreter would stop with an error, the compiler puts
// a node that raises that error when it is evaluated, so errors come exactly
// when and where the statement is reached, after every effect to their left.

#include <array>
#include <optional>
#include <type_traits>

#include "script/ScriptCore.h"

namespace zel::script {

namespace {

namespace msg = script_messages;
using std::int64_t;
using std::uint64_t;
using std::unique_ptr;

std::string syntaxError(std::string_view token) {
    return msg::bracketed(msg::kSyntax, token);
}

// ---------------------------------------------------------------- failures

struct IntFail final : IntExpr {
    std::string message;
    explicit IntFail(std::string m) : message(std::move(m)) {}
    int64_t eval(Machine&) const override { fail(message); }
};
struct RealFail final : RealExpr {
    std::string message;
    explicit RealFail(std::string m) : message(std::move(m)) {}
    double eval(Machine&) const override { fail(message); }
};
struct StrFail final : StrExpr {
    std::string message;
    explicit StrFail(std::string m) : message(std::move(m)) {}
    std::string eval(Machine&) const override { fail(message); }
};
struct StmtFail final : Stmt {
    std::string message;
    explicit StmtFail(std::string m) : message(std::move(m)) {}
    void exec(Machine&) const override { fail(message); }
};

// ---------------------------------------------------------------- host values

void raiseHostError(Machine& m, std::int32_t code) {
    std::string message;
    if (m.events().ErrorProc) m.events().ErrorProc(code, message);
    fail(std::move(message));
}

// A host-bound variable is read through its event every time: the value the
// event leaves is this read's value and is not stored.
int64_t readHost(Machine& m, const Variable& v, int64_t) {
    int64_t value = v.intValue;
    std::int32_t err = 0;
    if (m.events().IntObjParam) m.events().IntObjParam(v.name, v.hostIndex, 0, err, value);
    if (err != 0) raiseHostError(m, err);
    return value;
}
double readHost(Machine& m, const Variable& v, double) {
    double value = v.realValue;
    std::int32_t err = 0;
    if (m.events().RealObjParam) m.events().RealObjParam(v.name, v.hostIndex, 0, err, value);
    if (err != 0) raiseHostError(m, err);
    return value;
}
std::string readHost(Machine& m, const Variable& v, const std::string&) {
    std::string value = v.strValue;
    std::int32_t err = 0;
    if (m.events().StrObjParam) m.events().StrObjParam(v.name, v.hostIndex, 0, err, value);
    if (err != 0) raiseHostError(m, err);
    cutAtNul(value);
    return value;
}

// After an assignment the host hears the new value; its answer is not read.
void tellHost(Machine& m, Variable& v) {
    std::int32_t err = 0;
    switch (v.type) {
        case TPPAType::Integer: {
            int64_t value = v.intValue;
            if (m.events().IntObjParam) m.events().IntObjParam(v.name, v.hostIndex, 1, err, value);
            break;
        }
        case TPPAType::Real: {
            double value = v.realValue;
            if (m.events().RealObjParam)
                m.events().RealObjParam(v.name, v.hostIndex, 1, err, value);
            break;
        }
        case TPPAType::String: {
            std::string value = v.strValue;
            if (m.events().StrObjParam) m.events().StrObjParam(v.name, v.hostIndex, 1, err, value);
            break;
        }
    }
}

// ---------------------------------------------------------------- calls

struct ArgumentExpr {
    TPPAType type = TPPAType::Integer;
    unique_ptr<IntExpr> i;
    unique_ptr<RealExpr> r;
    unique_ptr<StrExpr> s;
};

// One call of a routine. Every call has a frame of its own, so a call inside
// an argument never touches the arguments of the call around it.
struct CallSite {
    const Routine* routine = nullptr;
    std::optional<std::string> before;  // raised before any argument
    std::vector<ArgumentExpr> arguments;
    std::optional<std::string> after;  // raised after the arguments

    void invoke(Machine& m, TPPAArgument& result) const {
        if (before) fail(*before);
        const std::size_t n = arguments.size();
        std::array<TPPAArgument, 4> small;
        std::vector<TPPAArgument> large;
        TPPAArgument* frame = small.data();
        if (n > small.size()) {
            large.resize(n);
            frame = large.data();
        }
        for (std::size_t k = 0; k < n; ++k) {
            const ArgumentExpr& a = arguments[k];
            TPPAArgument& slot = frame[k];
            slot.type = a.type;
            switch (a.type) {
                case TPPAType::Integer:
                    slot.intValue = a.i->eval(m);
                    break;
                case TPPAType::Real:
                    slot.realValue = a.r->eval(m);
                    break;
                case TPPAType::String:
                    slot.strValue = a.s->eval(m);
                    cutAtNul(slot.strValue);
                    break;
            }
        }
        if (after) fail(*after);
        result.type = routine->result;
        if (routine->permanent) {
            callBuiltin(m, *routine, frame, result);
        } else {
            callHost(m, frame, result);
        }
    }

    void callHost(Machine& m, TPPAArgument* frame, TPPAArgument& result) const {
        const Routine& r = *routine;
        TArgumentList list(r.parameters, frame);
        std::int32_t err = 0;
        auto& ev = m.events();
        if (!r.function) {
            if (ev.ProcParam) ev.ProcParam(r.name, r.index, list, err);
        } else {
            switch (r.result) {
                case TPPAType::Integer:
                    result.intValue = 0;
                    if (ev.IntFuncParam)
                        ev.IntFuncParam(r.name, r.index, list, err, result.intValue);
                    break;
                case TPPAType::Real:
                    result.realValue = 0;
                    if (ev.RealFuncParam)
                        ev.RealFuncParam(r.name, r.index, list, err, result.realValue);
                    break;
                case TPPAType::String:
                    result.strValue.clear();
                    if (ev.StrFuncParam)
                        ev.StrFuncParam(r.name, r.index, list, err, result.strValue);
                    cutAtNul(result.strValue);
                    checkLength(result.strValue);
                    break;
            }
        }
        if (err != 0) raiseHostError(m, err);
    }
};

struct IntCall final : IntExpr {
    CallSite site;
    int64_t eval(Machine& m) const override {
        TPPAArgument result;
        site.invoke(m, result);
        return result.intValue;
    }
};
struct RealCall final : RealExpr {
    CallSite site;
    double eval(Machine& m) const override {
        TPPAArgument result;
        site.invoke(m, result);
        return result.type == TPPAType::Integer ? static_cast<double>(result.intValue)
                                                : result.realValue;
    }
};
struct StrCall final : StrExpr {
    CallSite site;
    std::string eval(Machine& m) const override {
        TPPAArgument result;
        site.invoke(m, result);
        return std::move(result.strValue);
    }
};
struct CallStmt final : Stmt {
    CallSite site;
    void exec(Machine& m) const override {
        TPPAArgument result;
        site.invoke(m, result);
    }
};

// ---------------------------------------------------------------- integers

struct IntConst final : IntExpr {
    int64_t value;
    explicit IntConst(int64_t v) : value(v) {}
    int64_t eval(Machine&) const override { return value; }
};
struct IntVar final : IntExpr {
    const Variable* var;
    explicit IntVar(const Variable* v) : var(v) {}
    int64_t eval(Machine&) const override { return var->intValue; }
};
struct IntHostVar final : IntExpr {
    const Variable* var;
    explicit IntHostVar(const Variable* v) : var(v) {}
    int64_t eval(Machine& m) const override { return readHost(m, *var, int64_t{}); }
};
struct IntNeg final : IntExpr {
    unique_ptr<IntExpr> a;
    int64_t eval(Machine& m) const override {
        return static_cast<int64_t>(0 - static_cast<uint64_t>(a->eval(m)));
    }
};
struct IntNot final : IntExpr {
    unique_ptr<IntExpr> a;
    int64_t eval(Machine& m) const override { return ~a->eval(m); }
};

enum class Op : std::uint8_t {
    Add,
    Sub,
    Or,
    Xor,
    Mul,
    Div,
    Mod,
    And,
    Shl,
    Shr,
    Slash,
    Eq,
    Ne,
    Lt,
    Le,
    Gt,
    Ge
};

// 64-bit arithmetic that wraps around; division by zero ends the run instead
// of trapping, and the one quotient that does not fit wraps too.
template <Op op>
inline int64_t intApply(int64_t a, int64_t b) {
    const auto ua = static_cast<uint64_t>(a), ub = static_cast<uint64_t>(b);
    if constexpr (op == Op::Add) return static_cast<int64_t>(ua + ub);
    if constexpr (op == Op::Sub) return static_cast<int64_t>(ua - ub);
    if constexpr (op == Op::Mul) return static_cast<int64_t>(ua * ub);
    if constexpr (op == Op::Or) return a | b;
    if constexpr (op == Op::Xor) return a ^ b;
    if constexpr (op == Op::And) return a & b;
    if constexpr (op == Op::Div) {
        if (b == 0) fail(std::string(msg::kDivisionByZero));
        if (b == -1) return static_cast<int64_t>(0 - ua);
        return a / b;
    }
    if constexpr (op == Op::Mod) {
        if (b == 0) fail(std::string(msg::kDivisionByZero));
        if (b == -1) return 0;
        return a % b;
    }
    if constexpr (op == Op::Shl || op == Op::Shr) {
        const unsigned count = static_cast<unsigned>(ub & 0xFF);
        if (count >= 64) return 0;
        return static_cast<int64_t>(op == Op::Shl ? ua << count : ua >> count);
    }
    if constexpr (op == Op::Eq) return a == b ? -1 : 0;
    if constexpr (op == Op::Ne) return a != b ? -1 : 0;
    if constexpr (op == Op::Lt) return a < b ? -1 : 0;
    if constexpr (op == Op::Le) return a <= b ? -1 : 0;
    if constexpr (op == Op::Gt) return a > b ? -1 : 0;
    if constexpr (op == Op::Ge) return a >= b ? -1 : 0;
    return 0;
}

int64_t intApply(Op op, int64_t a, int64_t b) {
    switch (op) {
        case Op::Add:
            return intApply<Op::Add>(a, b);
        case Op::Sub:
            return intApply<Op::Sub>(a, b);
        case Op::Or:
            return intApply<Op::Or>(a, b);
        case Op::Xor:
            return intApply<Op::Xor>(a, b);
        case Op::Mul:
            return intApply<Op::Mul>(a, b);
        case Op::Div:
            return intApply<Op::Div>(a, b);
        case Op::Mod:
            return intApply<Op::Mod>(a, b);
        case Op::And:
            return intApply<Op::And>(a, b);
        case Op::Shl:
            return intApply<Op::Shl>(a, b);
        case Op::Shr:
            return intApply<Op::Shr>(a, b);
        case Op::Eq:
            return intApply<Op::Eq>(a, b);
        case Op::Ne:
            return intApply<Op::Ne>(a, b);
        case Op::Lt:
            return intApply<Op::Lt>(a, b);
        case Op::Le:
            return intApply<Op::Le>(a, b);
        case Op::Gt:
            return intApply<Op::Gt>(a, b);
        case Op::Ge:
            return intApply<Op::Ge>(a, b);
        case Op::Slash:
            break;
    }
    return 0;
}

template <Op op>
struct IntBinary final : IntExpr {
    unique_ptr<IntExpr> a, b;
    int64_t eval(Machine& m) const override {
        const int64_t x = a->eval(m);
        const int64_t y = b->eval(m);
        return intApply<op>(x, y);
    }
};

// A longer run of operators of one level, evaluated left to right without
// recursion, so "1+1+...+1" of any length needs no deep stack.
struct IntChain final : IntExpr {
    unique_ptr<IntExpr> first;
    std::vector<std::pair<Op, unique_ptr<IntExpr>>> rest;
    int64_t eval(Machine& m) const override {
        int64_t value = first->eval(m);
        for (const auto& [op, e] : rest) value = intApply(op, value, e->eval(m));
        return value;
    }
};

template <Op op>
unique_ptr<IntExpr> makeIntBinary(unique_ptr<IntExpr> a, unique_ptr<IntExpr> b) {
    auto node = std::make_unique<IntBinary<op>>();
    node->a = std::move(a);
    node->b = std::move(b);
    return node;
}

unique_ptr<IntExpr> intBinary(Op op, unique_ptr<IntExpr> a, unique_ptr<IntExpr> b) {
    switch (op) {
        case Op::Add:
            return makeIntBinary<Op::Add>(std::move(a), std::move(b));
        case Op::Sub:
            return makeIntBinary<Op::Sub>(std::move(a), std::move(b));
        case Op::Or:
            return makeIntBinary<Op::Or>(std::move(a), std::move(b));
        case Op::Xor:
            return makeIntBinary<Op::Xor>(std::move(a), std::move(b));
        case Op::Mul:
            return makeIntBinary<Op::Mul>(std::move(a), std::move(b));
        case Op::Div:
            return makeIntBinary<Op::Div>(std::move(a), std::move(b));
        case Op::Mod:
            return makeIntBinary<Op::Mod>(std::move(a), std::move(b));
        case Op::And:
            return makeIntBinary<Op::And>(std::move(a), std::move(b));
        case Op::Shl:
            return makeIntBinary<Op::Shl>(std::move(a), std::move(b));
        case Op::Shr:
            return makeIntBinary<Op::Shr>(std::move(a), std::move(b));
        case Op::Eq:
            return makeIntBinary<Op::Eq>(std::move(a), std::move(b));
        case Op::Ne:
            return makeIntBinary<Op::Ne>(std::move(a), std::move(b));
        case Op::Lt:
            return makeIntBinary<Op::Lt>(std::move(a), std::move(b));
        case Op::Le:
            return makeIntBinary<Op::Le>(std::move(a), std::move(b));
        case Op::Gt:
            return makeIntBinary<Op::Gt>(std::move(a), std::move(b));
        case Op::Ge:
            return makeIntBinary<Op::Ge>(std::move(a), std::move(b));
        case Op::Slash:
            break;
    }
    return nullptr;
}

unique_ptr<IntExpr> intLevel(unique_ptr<IntExpr> first,
                             std::vector<std::pair<Op, unique_ptr<IntExpr>>> rest) {
    if (rest.empty()) return first;
    if (rest.size() == 1)
        return intBinary(rest[0].first, std::move(first), std::move(rest[0].second));
    auto chain = std::make_unique<IntChain>();
    chain->first = std::move(first);
    chain->rest = std::move(rest);
    return chain;
}

// ---------------------------------------------------------------- reals

struct RealConst final : RealExpr {
    double value;
    explicit RealConst(double v) : value(v) {}
    double eval(Machine&) const override { return value; }
};
struct RealVar final : RealExpr {
    const Variable* var;
    explicit RealVar(const Variable* v) : var(v) {}
    double eval(Machine&) const override { return var->realValue; }
};
struct RealHostVar final : RealExpr {
    const Variable* var;
    explicit RealHostVar(const Variable* v) : var(v) {}
    double eval(Machine& m) const override { return readHost(m, *var, double{}); }
};
struct RealNeg final : RealExpr {
    unique_ptr<RealExpr> a;
    double eval(Machine& m) const override { return -a->eval(m); }
};

double realApply(Op op, double a, double b) {
    switch (op) {
        case Op::Add:
            return checkedReal(a + b, false);
        case Op::Sub:
            return checkedReal(a - b, false);
        case Op::Mul:
            return checkedReal(a * b, false);
        case Op::Slash:
            if (b == 0) {
                if (a == 0 || a != a) fail(std::string(msg::kInvalidReal));
                fail(std::string(msg::kDivisionByZero));
            }
            return checkedReal(a / b, true);
        case Op::Eq:
            return a == b ? -1.0 : 0.0;
        case Op::Ne:
            return a != b ? -1.0 : 0.0;
        case Op::Lt:
            return a < b ? -1.0 : 0.0;
        case Op::Le:
            return a <= b ? -1.0 : 0.0;
        case Op::Gt:
            return a > b ? -1.0 : 0.0;
        case Op::Ge:
            return a >= b ? -1.0 : 0.0;
        default:
            break;
    }
    return 0;
}

struct RealChain final : RealExpr {
    unique_ptr<RealExpr> first;
    std::vector<std::pair<Op, unique_ptr<RealExpr>>> rest;
    double eval(Machine& m) const override {
        double value = first->eval(m);
        for (const auto& [op, e] : rest) value = realApply(op, value, e->eval(m));
        return value;
    }
};

unique_ptr<RealExpr> realLevel(unique_ptr<RealExpr> first,
                               std::vector<std::pair<Op, unique_ptr<RealExpr>>> rest) {
    if (rest.empty()) return first;
    auto chain = std::make_unique<RealChain>();
    chain->first = std::move(first);
    chain->rest = std::move(rest);
    return chain;
}

// ---------------------------------------------------------------- strings

struct StrConst final : StrExpr {
    std::string value;
    explicit StrConst(std::string v) : value(std::move(v)) {}
    std::string eval(Machine&) const override { return value; }
};
struct StrVar final : StrExpr {
    const Variable* var;
    explicit StrVar(const Variable* v) : var(v) {}
    std::string eval(Machine&) const override { return var->strValue; }
};
struct StrHostVar final : StrExpr {
    const Variable* var;
    explicit StrHostVar(const Variable* v) : var(v) {}
    std::string eval(Machine& m) const override { return readHost(m, *var, std::string{}); }
};
struct StrConcat final : StrExpr {
    std::vector<unique_ptr<StrExpr>> parts;
    std::string eval(Machine& m) const override {
        std::string value = parts[0]->eval(m);
        for (std::size_t i = 1; i < parts.size(); ++i) {
            value += parts[i]->eval(m);
            checkLength(value);
        }
        return value;
    }
};

bool strCompare(Op op, const std::string& a, const std::string& b) {
    const int c = a.compare(b);
    switch (op) {
        case Op::Eq:
            return c == 0;
        case Op::Ne:
            return c != 0;
        case Op::Lt:
            return c < 0;
        case Op::Le:
            return c <= 0;
        case Op::Gt:
            return c > 0;
        case Op::Ge:
            return c >= 0;
        default:
            return false;
    }
}

struct StrCompareChain final : StrExpr {
    unique_ptr<StrExpr> first;
    std::vector<std::pair<Op, unique_ptr<StrExpr>>> rest;
    std::string eval(Machine& m) const override {
        std::string value = first->eval(m);
        for (const auto& [op, e] : rest) {
            std::string right = e->eval(m);
            value = strCompare(op, value, right) ? "-1" : "0";
        }
        return value;
    }
};

// ---------------------------------------------------------------- conversions

struct IntFromReal final : IntExpr {
    unique_ptr<RealExpr> a;
    int64_t eval(Machine& m) const override { return realToInteger(a->eval(m)); }
};
struct IntFromStr final : IntExpr {
    unique_ptr<StrExpr> a;
    int64_t eval(Machine& m) const override {
        int64_t value = 0;
        return readScriptInteger(a->eval(m), value) ? value : -1;
    }
};
struct RealFromInt final : RealExpr {
    unique_ptr<IntExpr> a;
    double eval(Machine& m) const override { return static_cast<double>(a->eval(m)); }
};
struct RealFromStr final : RealExpr {
    unique_ptr<StrExpr> a;
    double eval(Machine& m) const override {
        double value = 0;
        return readScriptReal(a->eval(m), value) ? value : 0.0;
    }
};

// ---------------------------------------------------------------- statements

struct AssignInt final : Stmt {
    Variable* var;
    unique_ptr<IntExpr> value;
    AssignInt(Variable* v, unique_ptr<IntExpr> e) : var(v), value(std::move(e)) {}
    void exec(Machine& m) const override {
        var->intValue = value->eval(m);
        if (var->hostBound) tellHost(m, *var);
    }
};
struct AssignReal final : Stmt {
    Variable* var;
    unique_ptr<RealExpr> value;
    AssignReal(Variable* v, unique_ptr<RealExpr> e) : var(v), value(std::move(e)) {}
    void exec(Machine& m) const override {
        var->realValue = value->eval(m);
        if (var->hostBound) tellHost(m, *var);
    }
};
struct AssignStr final : Stmt {
    Variable* var;
    unique_ptr<StrExpr> value;
    AssignStr(Variable* v, unique_ptr<StrExpr> e) : var(v), value(std::move(e)) {}
    void exec(Machine& m) const override {
        std::string v = value->eval(m);
        cutAtNul(v);
        var->strValue = std::move(v);
        if (var->hostBound) tellHost(m, *var);
    }
};
// "s := s + ..." appends in place: the same value, without copying s.
struct AppendStr final : Stmt {
    Variable* var;
    std::vector<unique_ptr<StrExpr>> parts;
    void exec(Machine& m) const override {
        std::string tail;
        for (const auto& p : parts) {
            tail += p->eval(m);
            if (tail.size() + var->strValue.size() > kMaxString) fail(std::string(msg::kTooLong));
        }
        cutAtNul(tail);
        var->strValue += tail;
    }
};

struct BlockStmt final : Stmt {
    unique_ptr<Block> block;
    void exec(Machine& m) const override { m.execBlock(*block); }
};
struct FlagStmt final : Stmt {
    std::uint8_t bit;
    explicit FlagStmt(std::uint8_t b) : bit(b) {}
    void exec(Machine& m) const override { m.stop |= bit; }
};
struct IfStmt final : Stmt {
    unique_ptr<IntExpr> condition;
    unique_ptr<Block> thenPart;
    unique_ptr<Block> elsePart;
    void exec(Machine& m) const override {
        const int64_t c = condition->eval(m);
        if (c != 0) m.execBlock(*thenPart);
        if (elsePart && c == 0) m.execBlock(*elsePart);
    }
};
struct ForStmt final : Stmt {
    Variable* var;
    unique_ptr<Stmt> start;
    unique_ptr<IntExpr> last;
    bool down = false;
    unique_ptr<Block> body;
    // The loop counts on the low 32 bits, as signed numbers.
    void exec(Machine& m) const override {
        start->exec(m);
        const auto from = static_cast<std::int32_t>(var->intValue);
        const auto to = static_cast<std::int32_t>(last->eval(m));
        const std::uint8_t ends = kExit | kBreak | kAbort;
        if (!down) {
            for (int64_t v = from; v <= to; ++v) {
                var->intValue = v;
                m.stop &= static_cast<std::uint8_t>(~kContinue);
                m.execBlock(*body);
                if (m.stop & ends) break;
            }
        } else {
            for (int64_t v = from; v >= to; --v) {
                var->intValue = v;
                m.stop &= static_cast<std::uint8_t>(~kContinue);
                m.execBlock(*body);
                if (m.stop & ends) break;
            }
        }
        m.stop &= static_cast<std::uint8_t>(~(kBreak | kContinue));
    }
};
struct WhileStmt final : Stmt {
    unique_ptr<IntExpr> condition;
    unique_ptr<Block> body;
    void exec(Machine& m) const override {
        for (;;) {
            if (m.stop & kAbort) break;
            if (condition->eval(m) == 0) break;
            m.stop &= static_cast<std::uint8_t>(~kContinue);
            m.execBlock(*body);
            if (m.stop & (kExit | kBreak | kAbort)) break;
        }
        m.stop &= static_cast<std::uint8_t>(~(kBreak | kContinue));
    }
};
struct RepeatStmt final : Stmt {
    unique_ptr<Block> body;
    unique_ptr<IntExpr> condition;
    void exec(Machine& m) const override {
        for (;;) {
            if (m.stop & kAbort) break;
            m.stop &= static_cast<std::uint8_t>(~kContinue);
            m.execBlock(*body);
            if (m.stop & (kExit | kBreak | kAbort)) break;
            if (condition->eval(m) != 0) break;
        }
        m.stop &= static_cast<std::uint8_t>(~(kBreak | kContinue));
    }
};
struct CaseLabel {
    unique_ptr<IntExpr> low;
    unique_ptr<IntExpr> high;  // null for a single value
};
struct CaseArm {
    std::vector<CaseLabel> labels;
    unique_ptr<Block> part;
};
// Every arm whose labels hold the selector runs, in order.
struct CaseStmt final : Stmt {
    unique_ptr<IntExpr> selector;
    std::vector<CaseArm> arms;
    std::optional<std::string> error;  // where reading the arms stopped
    unique_ptr<Block> elsePart;
    void exec(Machine& m) const override {
        const int64_t s = selector->eval(m);
        bool matched = false;
        for (const CaseArm& arm : arms) {
            bool hit = false;
            for (const CaseLabel& label : arm.labels) {
                const int64_t low = label.low->eval(m);
                if (!label.high) {
                    hit = low == s;
                } else {
                    const int64_t high = label.high->eval(m);
                    hit = low <= s && s <= high;
                }
                if (hit) break;
            }
            if (hit) {
                matched = true;
                m.execBlock(*arm.part);
            }
        }
        if (error) fail(*error);
        if (!matched && elsePart) m.execBlock(*elsePart);
    }
};

// ---------------------------------------------------------------- compiler

struct Typed {
    TPPAType type = TPPAType::Integer;
    unique_ptr<IntExpr> i;
    unique_ptr<RealExpr> r;
    unique_ptr<StrExpr> s;
};

struct Cursor {
    std::uint32_t pos;
    std::uint32_t end;
};

const Token kEndToken{};

class Compiler {
  public:
    Compiler(Machine& m, const std::vector<Token>& tokens) : m_(m), t_(tokens) {}

    unique_ptr<Stmt> statement(std::uint32_t b, std::uint32_t e);

  private:
    const Token& at(std::uint32_t p, std::uint32_t end) const {
        return p < end ? t_[p] : kEndToken;
    }
    const Token& cur(const Cursor& c) const { return at(c.pos, c.end); }

    // Scans for the ")" that closes the "(" at `p`.
    std::optional<std::uint32_t> closeParen(std::uint32_t p, std::uint32_t end) const;
    std::optional<std::uint32_t> firstWord(std::uint32_t p, std::uint32_t end, Word w) const;
    std::optional<std::uint32_t> matchEnd(std::uint32_t p, std::uint32_t end) const;
    std::optional<std::uint32_t> matchUntil(std::uint32_t p, std::uint32_t end) const;
    struct Part {
        std::uint32_t begin, end, next;
    };
    Part readPart(std::uint32_t p, std::uint32_t end) const;
    unique_ptr<Block> block(std::uint32_t b, std::uint32_t e) const {
        auto blk = std::make_unique<Block>();
        blk->begin = b;
        blk->end = e;
        return blk;
    }
    unique_ptr<Block> block(const Part& part) const { return block(part.begin, part.end); }

    TPPAType typeOf(const Token& t) const;
    Typed typed(std::uint32_t b, std::uint32_t e);
    unique_ptr<IntExpr> intTyped(std::uint32_t b, std::uint32_t e);
    unique_ptr<RealExpr> realTyped(std::uint32_t b, std::uint32_t e);
    unique_ptr<IntExpr> intExpr(std::uint32_t b, std::uint32_t e) {
        Cursor c{b, e};
        return intComparison(c);
    }
    unique_ptr<RealExpr> realExpr(std::uint32_t b, std::uint32_t e) {
        Cursor c{b, e};
        return realComparison(c);
    }
    unique_ptr<StrExpr> strExpr(std::uint32_t b, std::uint32_t e) {
        Cursor c{b, e};
        return strComparison(c);
    }

    // The operands after the first of one level: {op next}, with op as
    // `opOf` reads it from a token, left to right.
    template <class Expr>
    std::vector<std::pair<Op, unique_ptr<Expr>>> operands(
        Cursor& c, unique_ptr<Expr> (Compiler::*next)(Cursor&),
        std::optional<Op> (*opOf)(const Token&));
    // factor -> "(" expression ")" | primary, and unless Neg is void also
    // "+" term | "-" term. `inner` reads the parenthesised expression.
    template <class Fail, class Neg, class Expr>
    unique_ptr<Expr> factor(Cursor& c,
                            unique_ptr<Expr> (Compiler::*inner)(std::uint32_t, std::uint32_t),
                            unique_ptr<Expr> (Compiler::*term)(Cursor&),
                            unique_ptr<Expr> (Compiler::*primary)(Cursor&));

    unique_ptr<IntExpr> intComparison(Cursor& c);
    unique_ptr<IntExpr> intSimple(Cursor& c);
    unique_ptr<IntExpr> intTerm(Cursor& c);
    unique_ptr<IntExpr> intFactor(Cursor& c);
    unique_ptr<IntExpr> intPrimary(Cursor& c);
    unique_ptr<RealExpr> realComparison(Cursor& c);
    unique_ptr<RealExpr> realSimple(Cursor& c);
    unique_ptr<RealExpr> realTerm(Cursor& c);
    unique_ptr<RealExpr> realFactor(Cursor& c);
    unique_ptr<RealExpr> realPrimary(Cursor& c);
    unique_ptr<StrExpr> strComparison(Cursor& c);
    unique_ptr<StrExpr> strConcat(Cursor& c);
    unique_ptr<StrExpr> strFactor(Cursor& c);
    unique_ptr<StrExpr> strPrimary(Cursor& c);

    CallSite call(const Routine* routine, Cursor& c);

    unique_ptr<Stmt> assignment(Variable* var, std::uint32_t b, std::uint32_t e);
    unique_ptr<Stmt> ifStatement(std::uint32_t b, std::uint32_t e);
    unique_ptr<Stmt> forStatement(std::uint32_t b, std::uint32_t e);
    unique_ptr<Stmt> whileStatement(std::uint32_t b, std::uint32_t e);
    unique_ptr<Stmt> repeatStatement(std::uint32_t b, std::uint32_t e);
    unique_ptr<Stmt> caseStatement(std::uint32_t b, std::uint32_t e);

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

bool opensNest(const Token& t) {
    return t.word == Word::Begin || t.word == Word::Repeat || t.word == Word::Case;
}
bool closesNest(const Token& t) {
    return t.word == Word::End || t.word == Word::Until;
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

std::optional<std::uint32_t> Compiler::matchEnd(std::uint32_t p, std::uint32_t end) const {
    int depth = 0;
    for (std::uint32_t q = p; q < end; ++q) {
        if (opensNest(t_[q])) {
            ++depth;
        } else if (t_[q].word == Word::End) {
            if (depth == 0) return q;
            --depth;
        } else if (t_[q].word == Word::Until) {
            --depth;
        }
    }
    return std::nullopt;
}

std::optional<std::uint32_t> Compiler::matchUntil(std::uint32_t p, std::uint32_t end) const {
    int depth = 0;
    for (std::uint32_t q = p; q < end; ++q) {
        if (opensNest(t_[q])) {
            ++depth;
        } else if (t_[q].word == Word::Until) {
            if (depth == 0) return q;
            --depth;
        } else if (t_[q].word == Word::End) {
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
        if (auto m = matchEnd(p + 1, end)) return {p + 1, *m, *m + 1};
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

TPPAType Compiler::typeOf(const Token& t) const {
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

// An expression typed by its first token.
Typed Compiler::typed(std::uint32_t b, std::uint32_t e) {
    Typed out;
    out.type = typeOf(at(b, e));
    switch (out.type) {
        case TPPAType::Integer:
            out.i = intExpr(b, e);
            break;
        case TPPAType::Real:
            out.r = realExpr(b, e);
            break;
        case TPPAType::String:
            out.s = strExpr(b, e);
            break;
    }
    return out;
}

unique_ptr<IntExpr> Compiler::intTyped(std::uint32_t b, std::uint32_t e) {
    Typed x = typed(b, e);
    if (x.type == TPPAType::Integer) return std::move(x.i);
    if (x.type == TPPAType::Real) {
        auto node = std::make_unique<IntFromReal>();
        node->a = std::move(x.r);
        return node;
    }
    auto node = std::make_unique<IntFromStr>();
    node->a = std::move(x.s);
    return node;
}

unique_ptr<RealExpr> Compiler::realTyped(std::uint32_t b, std::uint32_t e) {
    Typed x = typed(b, e);
    if (x.type == TPPAType::Real) return std::move(x.r);
    if (x.type == TPPAType::Integer) {
        auto node = std::make_unique<RealFromInt>();
        node->a = std::move(x.i);
        return node;
    }
    auto node = std::make_unique<RealFromStr>();
    node->a = std::move(x.s);
    return node;
}

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

std::optional<Op> intAdding(const Token& t) {
    if (isSymbol(t, '+')) return Op::Add;
    if (isSymbol(t, '-')) return Op::Sub;
    if (t.word == Word::Or) return Op::Or;
    if (t.word == Word::Xor) return Op::Xor;
    return std::nullopt;
}

std::optional<Op> intMultiplying(const Token& t) {
    if (isSymbol(t, '*')) return Op::Mul;
    if (t.word == Word::Div) return Op::Div;
    if (t.word == Word::Mod) return Op::Mod;
    if (t.word == Word::And) return Op::And;
    if (t.word == Word::Shl) return Op::Shl;
    if (t.word == Word::Shr) return Op::Shr;
    return std::nullopt;
}

std::optional<Op> realAdding(const Token& t) {
    if (isSymbol(t, '+')) return Op::Add;
    if (isSymbol(t, '-')) return Op::Sub;
    return std::nullopt;
}

std::optional<Op> realMultiplying(const Token& t) {
    if (isSymbol(t, '*')) return Op::Mul;
    if (isSymbol(t, '/')) return Op::Slash;
    return std::nullopt;
}

template <class Expr>
std::vector<std::pair<Op, unique_ptr<Expr>>> Compiler::operands(
    Cursor& c, unique_ptr<Expr> (Compiler::*next)(Cursor&),
    std::optional<Op> (*opOf)(const Token&)) {
    std::vector<std::pair<Op, unique_ptr<Expr>>> rest;
    while (auto op = opOf(cur(c))) {
        ++c.pos;
        rest.emplace_back(*op, (this->*next)(c));
    }
    return rest;
}

template <class Fail, class Neg, class Expr>
unique_ptr<Expr> Compiler::factor(Cursor& c,
                                  unique_ptr<Expr> (Compiler::*inner)(std::uint32_t, std::uint32_t),
                                  unique_ptr<Expr> (Compiler::*term)(Cursor&),
                                  unique_ptr<Expr> (Compiler::*primary)(Cursor&)) {
    Depth depth(depth_);
    if (depth.tooDeep()) return std::make_unique<Fail>(std::string(msg::kTooDeep));
    const Token& t = cur(c);
    if (isSymbol(t, '(')) {
        auto close = closeParen(c.pos, c.end);
        if (!close) return std::make_unique<Fail>(std::string(msg::kNoRightParen));
        auto expression = (this->*inner)(c.pos + 1, *close);
        c.pos = *close + 1;
        return expression;
    }
    if (isSymbol(t, ')')) return std::make_unique<Fail>(syntaxError(")"));
    if constexpr (!std::is_void_v<Neg>) {
        if (isSymbol(t, '+')) {
            ++c.pos;
            return (this->*term)(c);
        }
        if (isSymbol(t, '-')) {
            ++c.pos;
            auto node = std::make_unique<Neg>();
            node->a = (this->*term)(c);
            return node;
        }
    }
    return (this->*primary)(c);
}

// comparison -> simple {relation simple}
unique_ptr<IntExpr> Compiler::intComparison(Cursor& c) {
    auto first = intSimple(c);
    return intLevel(std::move(first), operands(c, &Compiler::intSimple, relation));
}

// simple -> term {("+" | "-" | OR | XOR) term}
unique_ptr<IntExpr> Compiler::intSimple(Cursor& c) {
    auto first = intTerm(c);
    return intLevel(std::move(first), operands(c, &Compiler::intTerm, intAdding));
}

// term -> [NOT] factor {("*" | DIV | MOD | AND | SHL | SHR) factor}
unique_ptr<IntExpr> Compiler::intTerm(Cursor& c) {
    unique_ptr<IntExpr> first;
    if (cur(c).word == Word::Not) {
        ++c.pos;
        auto node = std::make_unique<IntNot>();
        node->a = intFactor(c);
        first = std::move(node);
    } else {
        first = intFactor(c);
    }
    return intLevel(std::move(first), operands(c, &Compiler::intFactor, intMultiplying));
}

// factor -> "(" typed expression ")" | "+" term | "-" term | primary
unique_ptr<IntExpr> Compiler::intFactor(Cursor& c) {
    return factor<IntFail, IntNeg>(c, &Compiler::intTyped, &Compiler::intTerm,
                                   &Compiler::intPrimary);
}

// primary -> integer literal | integer variable | integer function call
unique_ptr<IntExpr> Compiler::intPrimary(Cursor& c) {
    const Token& t = cur(c);
    if (t.kind == TokenKind::Integer) {
        ++c.pos;
        return std::make_unique<IntConst>(integerLiteralValue(t.text));
    }
    if (t.kind != TokenKind::Identifier) return std::make_unique<IntFail>(syntaxError(t.text));
    if (const Variable* v = m_.findVariable(t.text)) {
        if (v->type != TPPAType::Integer)
            return std::make_unique<IntFail>(msg::bracketed(msg::kVariableType, t.text));
        ++c.pos;
        if (v->hostBound) return std::make_unique<IntHostVar>(v);
        return std::make_unique<IntVar>(v);
    }
    if (const Routine* f = m_.findFunction(t.text)) {
        if (f->result != TPPAType::Integer)
            return std::make_unique<IntFail>(msg::bracketed(msg::kResultType, t.text));
        auto node = std::make_unique<IntCall>();
        node->site = call(f, c);
        return node;
    }
    return std::make_unique<IntFail>(msg::bracketed(msg::kUndefined, t.text));
}

// comparison -> simple {relation simple}, giving -1.0 or 0.0
unique_ptr<RealExpr> Compiler::realComparison(Cursor& c) {
    auto first = realSimple(c);
    return realLevel(std::move(first), operands(c, &Compiler::realSimple, relation));
}

// simple -> term {("+" | "-") term}
unique_ptr<RealExpr> Compiler::realSimple(Cursor& c) {
    auto first = realTerm(c);
    return realLevel(std::move(first), operands(c, &Compiler::realTerm, realAdding));
}

// term -> factor {("*" | "/") factor}
unique_ptr<RealExpr> Compiler::realTerm(Cursor& c) {
    auto first = realFactor(c);
    return realLevel(std::move(first), operands(c, &Compiler::realFactor, realMultiplying));
}

// factor -> "(" typed expression ")" | "+" term | "-" term | primary
unique_ptr<RealExpr> Compiler::realFactor(Cursor& c) {
    return factor<RealFail, RealNeg>(c, &Compiler::realTyped, &Compiler::realTerm,
                                     &Compiler::realPrimary);
}

// primary -> integer or real literal | integer or real variable | call
unique_ptr<RealExpr> Compiler::realPrimary(Cursor& c) {
    const Token& t = cur(c);
    if (t.kind == TokenKind::Integer || t.kind == TokenKind::Real) {
        ++c.pos;
        return std::make_unique<RealConst>(realLiteralValue(t.text));
    }
    if (t.kind != TokenKind::Identifier) return std::make_unique<RealFail>(syntaxError(t.text));
    if (const Variable* v = m_.findVariable(t.text)) {
        ++c.pos;
        if (v->type == TPPAType::Real) {
            if (v->hostBound) return std::make_unique<RealHostVar>(v);
            return std::make_unique<RealVar>(v);
        }
        if (v->type == TPPAType::Integer) {
            auto node = std::make_unique<RealFromInt>();
            if (v->hostBound) {
                node->a = std::make_unique<IntHostVar>(v);
            } else {
                node->a = std::make_unique<IntVar>(v);
            }
            return node;
        }
        return std::make_unique<RealFail>(msg::bracketed(msg::kVariableType, t.text));
    }
    if (const Routine* f = m_.findFunction(t.text)) {
        if (f->result == TPPAType::String)
            return std::make_unique<RealFail>(msg::bracketed(msg::kResultType, t.text));
        auto node = std::make_unique<RealCall>();
        node->site = call(f, c);
        return node;
    }
    return std::make_unique<RealFail>(msg::bracketed(msg::kUndefined, t.text));
}

// comparison -> concatenation {relation concatenation}, giving "-1" or "0"
unique_ptr<StrExpr> Compiler::strComparison(Cursor& c) {
    auto first = strConcat(c);
    auto rest = operands(c, &Compiler::strConcat, relation);
    if (rest.empty()) return first;
    auto chain = std::make_unique<StrCompareChain>();
    chain->first = std::move(first);
    chain->rest = std::move(rest);
    return chain;
}

// concatenation -> factor {"+" factor | literal}
unique_ptr<StrExpr> Compiler::strConcat(Cursor& c) {
    std::vector<unique_ptr<StrExpr>> parts;
    parts.push_back(strFactor(c));
    for (;;) {
        const Token& t = cur(c);
        if (isSymbol(t, '+')) {
            ++c.pos;
        } else if (t.kind != TokenKind::String && t.kind != TokenKind::CharCode) {
            break;
        }
        parts.push_back(strFactor(c));
    }
    if (parts.size() == 1) return std::move(parts[0]);
    auto node = std::make_unique<StrConcat>();
    node->parts = std::move(parts);
    return node;
}

// factor -> "(" string expression ")" | primary
unique_ptr<StrExpr> Compiler::strFactor(Cursor& c) {
    return factor<StrFail, void, StrExpr>(c, &Compiler::strExpr, nullptr, &Compiler::strPrimary);
}

// primary -> string literal | string variable | string function call
unique_ptr<StrExpr> Compiler::strPrimary(Cursor& c) {
    const Token& t = cur(c);
    if (t.kind == TokenKind::String || t.kind == TokenKind::CharCode) {
        ++c.pos;
        return std::make_unique<StrConst>(stringLiteralValue(t.kind, t.text));
    }
    if (t.kind != TokenKind::Identifier) return std::make_unique<StrFail>(syntaxError(t.text));
    if (const Variable* v = m_.findVariable(t.text)) {
        if (v->type != TPPAType::String)
            return std::make_unique<StrFail>(msg::bracketed(msg::kVariableType, t.text));
        ++c.pos;
        if (v->hostBound) return std::make_unique<StrHostVar>(v);
        return std::make_unique<StrVar>(v);
    }
    if (const Routine* f = m_.findFunction(t.text)) {
        if (f->result != TPPAType::String)
            return std::make_unique<StrFail>(msg::bracketed(msg::kResultType, t.text));
        auto node = std::make_unique<StrCall>();
        node->site = call(f, c);
        return node;
    }
    return std::make_unique<StrFail>(msg::bracketed(msg::kUndefined, t.text));
}

// call -> name ["(" argument {"," argument} ")"]
// An argument is the tokens up to the next "," or ")" outside parentheses,
// read with the grammar of its parameter's type.
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
        ArgumentExpr arg;
        arg.type = params[k].type;
        switch (arg.type) {
            case TPPAType::Integer:
                arg.i = intTyped(c.pos, q);
                break;
            case TPPAType::Real:
                arg.r = realExpr(c.pos, q);
                break;
            case TPPAType::String:
                arg.s = strExpr(c.pos, q);
                break;
        }
        site.arguments.push_back(std::move(arg));
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

// statement -> procedure call | function call | assignment | BEGIN ... | IF ...
//            | FOR ... | WHILE ... | REPEAT ... | CASE ... | BREAK | CONTINUE | EXIT
unique_ptr<Stmt> Compiler::statement(std::uint32_t b, std::uint32_t e) {
    const Token& t = at(b, e);
    if (t.kind != TokenKind::Identifier) return std::make_unique<StmtFail>(syntaxError(t.text));
    if (const Routine* p = m_.findProcedure(t.text)) {
        Cursor c{b, e};
        auto node = std::make_unique<CallStmt>();
        node->site = call(p, c);
        return node;
    }
    if (const Routine* f = m_.findFunction(t.text)) {
        Cursor c{b, e};
        auto node = std::make_unique<CallStmt>();
        node->site = call(f, c);
        return node;
    }
    if (Variable* v = m_.findVariable(t.text)) return assignment(v, b, e);
    switch (t.word) {
        case Word::Begin: {
            auto node = std::make_unique<BlockStmt>();
            auto m = matchEnd(b + 1, e);
            node->block = block(b + 1, m ? *m : e);
            return node;
        }
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
            return std::make_unique<StmtFail>(syntaxError(t.text));
    }
}

// assignment -> variable ":=" expression (in the variable's type)
unique_ptr<Stmt> Compiler::assignment(Variable* var, std::uint32_t b, std::uint32_t e) {
    if (var->readOnly)
        return std::make_unique<StmtFail>(msg::bracketed(msg::kReadOnly, t_[b].text));
    if (!isOperator(at(b + 1, e), ":="))
        return std::make_unique<StmtFail>(syntaxError(at(b + 1, e).text));
    switch (var->type) {
        case TPPAType::Integer:
            return std::make_unique<AssignInt>(var, intExpr(b + 2, e));
        case TPPAType::Real:
            return std::make_unique<AssignReal>(var, realExpr(b + 2, e));
        case TPPAType::String:
            break;
    }
    auto value = strExpr(b + 2, e);
    if (!var->hostBound) {
        if (auto* concat = dynamic_cast<StrConcat*>(value.get())) {
            auto* head = dynamic_cast<StrVar*>(concat->parts[0].get());
            if (head && head->var == var) {
                auto node = std::make_unique<AppendStr>();
                node->var = var;
                for (std::size_t i = 1; i < concat->parts.size(); ++i)
                    node->parts.push_back(std::move(concat->parts[i]));
                return node;
            }
        }
    }
    return std::make_unique<AssignStr>(var, std::move(value));
}

// ifstat -> IF condition THEN part [ELSE part]
unique_ptr<Stmt> Compiler::ifStatement(std::uint32_t b, std::uint32_t e) {
    auto then = firstWord(b + 1, e, Word::Then);
    if (!then) return std::make_unique<StmtFail>(syntaxError("if"));
    auto node = std::make_unique<IfStmt>();
    node->condition = intTyped(b + 1, *then);
    Part thenPart = readPart(*then + 1, e);
    node->thenPart = block(thenPart);
    if (thenPart.next < e && t_[thenPart.next].word == Word::Else)
        node->elsePart = block(readPart(thenPart.next + 1, e));
    return node;
}

// forstat -> FOR variable ":=" start (TO | DOWNTO) end DO part
unique_ptr<Stmt> Compiler::forStatement(std::uint32_t b, std::uint32_t e) {
    auto bad = [] { return std::make_unique<StmtFail>(syntaxError("for")); };
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
    node->last = intTyped(*to + 1, *doAt);
    node->down = down;
    node->body = block(readPart(*doAt + 1, e));
    return node;
}

// whilestat -> WHILE condition DO part
unique_ptr<Stmt> Compiler::whileStatement(std::uint32_t b, std::uint32_t e) {
    auto doAt = firstWord(b + 1, e, Word::Do);
    if (!doAt) return std::make_unique<StmtFail>(syntaxError("while"));
    auto node = std::make_unique<WhileStmt>();
    node->condition = intTyped(b + 1, *doAt);
    node->body = block(readPart(*doAt + 1, e));
    return node;
}

// repeatstat -> REPEAT statements UNTIL condition
unique_ptr<Stmt> Compiler::repeatStatement(std::uint32_t b, std::uint32_t e) {
    auto until = matchUntil(b + 1, e);
    auto node = std::make_unique<RepeatStmt>();
    node->body = block(b + 1, until ? *until : e);
    node->condition = until ? intTyped(*until + 1, e) : intTyped(e, e);
    return node;
}

// casestat -> CASE selector OF arm {arm} [ELSE statements] END
// arm -> label {"," label} ":" part [";"];  label -> value [".." value]
unique_ptr<Stmt> Compiler::caseStatement(std::uint32_t b, std::uint32_t e) {
    auto of = firstWord(b + 1, e, Word::Of);
    if (!of) return std::make_unique<StmtFail>(msg::bracketed(msg::kNoOf, "case"));
    auto node = std::make_unique<CaseStmt>();
    node->selector = intTyped(b + 1, *of);
    std::uint32_t p = *of + 1;
    for (;;) {
        if (p >= e) {
            node->error = msg::bracketed(msg::kNoEnd, "case");
            break;
        }
        if (t_[p].word == Word::End) break;
        if (t_[p].word == Word::Else) {
            auto end = matchEnd(p + 1, e);
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
        std::uint32_t item = p;
        int depth = 0;
        for (std::uint32_t q = p; q <= *colon; ++q) {
            if (q < *colon && isSymbol(t_[q], '(')) ++depth;
            if (q < *colon && isSymbol(t_[q], ')')) --depth;
            if (q == *colon || (depth == 0 && isSymbol(t_[q], ','))) {
                CaseLabel label;
                std::optional<std::uint32_t> range;
                int inner = 0;
                for (std::uint32_t r = item; r < q && !range; ++r) {
                    if (isSymbol(t_[r], '(')) ++inner;
                    if (isSymbol(t_[r], ')')) --inner;
                    if (inner == 0 && isOperator(t_[r], "..")) range = r;
                }
                if (range) {
                    label.low = intTyped(item, *range);
                    label.high = intTyped(*range + 1, q);
                } else {
                    label.low = intTyped(item, q);
                }
                arm.labels.push_back(std::move(label));
                item = q + 1;
            }
        }
        Part part = readPart(*colon + 1, e);
        arm.part = block(part);
        node->arms.push_back(std::move(arm));
        p = part.next;
        if (p < e && isSymbol(t_[p], ';')) ++p;
    }
    return node;
}

}  // namespace

void Machine::compileBlock(Block& block) {
    if (block.generation != 0 && !block.statements.empty())
        program->retired.push_back(std::move(block.statements));
    block.statements.clear();
    Compiler compiler(*this, program->tokens);
    const auto& t = program->tokens;
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
    block.generation = generation;
}

}  // namespace zel::script
