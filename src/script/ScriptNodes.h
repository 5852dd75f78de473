#pragma once
// The compiled program: expression nodes of the three value types and the
// statement nodes. Nodes that differ only in their value type (a constant, a
// variable read, a call, an assignment, an operator, a conversion) are one
// template over that type: std::int64_t for INTEGER, double for REAL and
// std::string for STRING.

#include <array>
#include <optional>
#include <type_traits>
#include <utility>
#include <variant>

#include "script/ScriptMachine.h"

namespace zel::script {

template <class T>
struct Expr {
    virtual ~Expr() = default;
    virtual T eval(Machine& m) const = 0;
};
template <class T>
using ExprPtr = std::unique_ptr<Expr<T>>;
// An expression of any type; its variant index is its TPPAType.
using AnyExpr = std::variant<ExprPtr<std::int64_t>, ExprPtr<double>, ExprPtr<std::string>>;

template <class T>
inline constexpr bool kIsInt = std::is_same_v<T, std::int64_t>;
template <class T>
inline constexpr bool kIsReal = std::is_same_v<T, double>;
template <class T>
inline constexpr bool kIsStr = std::is_same_v<T, std::string>;

template <class T>
inline constexpr TPPAType kTypeOf = kIsInt<T>    ? TPPAType::Integer
                                    : kIsReal<T> ? TPPAType::Real
                                                 : TPPAType::String;

// The field of a variable or argument record that holds a T.
template <class T, class Record>
auto& valueOf(Record& record) {
    if constexpr (kIsInt<T>) {
        return record.intValue;
    } else if constexpr (kIsReal<T>) {
        return record.realValue;
    } else {
        return record.strValue;
    }
}

// A value stored in a record: strings end at their first NUL.
template <class T>
void store(T& slot, T value) {
    if constexpr (kIsStr<T>) cutAtNul(value);
    slot = std::move(value);
}

// ---------------------------------------------------------------- failures

template <class T>
struct Fail final : Expr<T> {
    std::string message;
    explicit Fail(std::string m) : message(std::move(m)) {}
    T eval(Machine&) const override { fail(message); }
};
struct StmtFail final : Stmt {
    std::string message;
    explicit StmtFail(std::string m) : message(std::move(m)) {}
    void exec(Machine&) const override { fail(message); }
};

// ---------------------------------------------------------------- host values

// Ends the run with the message ErrorProc gives for `code`.
[[noreturn]] void raiseHostError(Machine& m, std::int32_t code);

// The event that reads and hears host-bound variables of type T.
template <class T>
auto& objectEvent(TPoorPascalEvents& events) {
    if constexpr (kIsInt<T>) {
        return events.IntObjParam;
    } else if constexpr (kIsReal<T>) {
        return events.RealObjParam;
    } else {
        return events.StrObjParam;
    }
}

// A host-bound variable is read through its event every time: the value the
// event leaves is this read's value and is not stored.
template <class T>
T readHost(Machine& m, const Variable& v) {
    T value = valueOf<T>(v);
    std::int32_t err = 0;
    if (auto& event = objectEvent<T>(m.events())) event(v.name, v.hostIndex, 0, err, value);
    if (err != 0) raiseHostError(m, err);
    if constexpr (kIsStr<T>) cutAtNul(value);
    return value;
}

// After an assignment the host hears the new value; its answer is not read.
template <class T>
void tellHost(Machine& m, const Variable& v) {
    T value = valueOf<T>(v);
    std::int32_t err = 0;
    if (auto& event = objectEvent<T>(m.events())) event(v.name, v.hostIndex, 1, err, value);
}

// ---------------------------------------------------------------- values

template <class T>
struct Const final : Expr<T> {
    T value;
    explicit Const(T v) : value(std::move(v)) {}
    T eval(Machine&) const override { return value; }
};
template <class T>
struct VarValue final : Expr<T> {
    const Variable* var;
    explicit VarValue(const Variable* v) : var(v) {}
    T eval(Machine&) const override { return valueOf<T>(*var); }
};
template <class T>
struct HostVarValue final : Expr<T> {
    const Variable* var;
    explicit HostVarValue(const Variable* v) : var(v) {}
    T eval(Machine& m) const override { return readHost<T>(m, *var); }
};

// Text typed by its first token, needed as another type: a real is truncated
// to an integer; a string is read as a number (-1 for no integer, 0 for no
// real).
template <class To, class From>
To convert(const From& value) {
    if constexpr (kIsStr<From>) {
        To number = 0;
        if constexpr (kIsInt<To>) {
            return readScriptInteger(value, number) ? number : -1;
        } else {
            return readScriptReal(value, number) ? number : 0.0;
        }
    } else if constexpr (kIsInt<To>) {
        return realToInteger(value);
    } else {
        return static_cast<double>(value);
    }
}
template <class To, class From>
struct Convert final : Expr<To> {
    ExprPtr<From> a;
    explicit Convert(ExprPtr<From> e) : a(std::move(e)) {}
    To eval(Machine& m) const override { return convert<To>(a->eval(m)); }
};

// ---------------------------------------------------------------- operators

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
    Ge,
};
inline constexpr std::size_t kOperatorCount = static_cast<std::size_t>(Op::Ge) + 1;

constexpr bool isRelation(Op op) {
    return op >= Op::Eq;
}

// Integers have every operator but "/", reals "+ - * /", strings none; all
// three have the relations.
template <class T>
constexpr bool hasOperator(Op op) {
    if (isRelation(op)) return true;
    if constexpr (kIsInt<T>) {
        return op != Op::Slash;
    } else if constexpr (kIsReal<T>) {
        return op == Op::Add || op == Op::Sub || op == Op::Mul || op == Op::Slash;
    } else {
        return false;
    }
}

// A comparison's result: -1 or 0, -1.0 or 0.0, "-1" or "0".
template <class T>
T truth(bool holds) {
    if constexpr (kIsStr<T>) {
        return holds ? "-1" : "0";
    } else {
        return holds ? -1 : 0;
    }
}

template <Op op, class T>
bool holds(const T& a, const T& b) {
    if constexpr (op == Op::Eq) return a == b;
    if constexpr (op == Op::Ne) return a != b;
    if constexpr (op == Op::Lt) return a < b;
    if constexpr (op == Op::Le) return a <= b;
    if constexpr (op == Op::Gt) return a > b;
    if constexpr (op == Op::Ge) return a >= b;
}

// 64-bit arithmetic that wraps around; division by zero ends the run instead
// of trapping, and the one quotient that does not fit wraps too.
template <Op op>
std::int64_t intArithmetic(std::int64_t a, std::int64_t b) {
    const auto ua = static_cast<std::uint64_t>(a), ub = static_cast<std::uint64_t>(b);
    if constexpr (op == Op::Add) return static_cast<std::int64_t>(ua + ub);
    if constexpr (op == Op::Sub) return static_cast<std::int64_t>(ua - ub);
    if constexpr (op == Op::Mul) return static_cast<std::int64_t>(ua * ub);
    if constexpr (op == Op::Or) return a | b;
    if constexpr (op == Op::Xor) return a ^ b;
    if constexpr (op == Op::And) return a & b;
    if constexpr (op == Op::Div) {
        if (b == 0) fail(std::string(script_messages::kDivisionByZero));
        if (b == -1) return static_cast<std::int64_t>(0 - ua);
        return a / b;
    }
    if constexpr (op == Op::Mod) {
        if (b == 0) fail(std::string(script_messages::kDivisionByZero));
        if (b == -1) return 0;
        return a % b;
    }
    if constexpr (op == Op::Shl || op == Op::Shr) {
        const unsigned count = static_cast<unsigned>(ub & 0xFF);
        if (count >= 64) return 0;
        return static_cast<std::int64_t>(op == Op::Shl ? ua << count : ua >> count);
    }
}

// Real arithmetic: a result that is not a number, or a division by zero,
// ends the run.
template <Op op>
double realArithmetic(double a, double b) {
    if constexpr (op == Op::Add) return checkedReal(a + b);
    if constexpr (op == Op::Sub) return checkedReal(a - b);
    if constexpr (op == Op::Mul) return checkedReal(a * b);
    if constexpr (op == Op::Slash) {
        if (b == 0) {
            if (a == 0 || a != a) fail(std::string(script_messages::kInvalidReal));
            fail(std::string(script_messages::kDivisionByZero));
        }
        return checkedReal(a / b);
    }
}

template <class T, Op op>
T apply(const T& a, const T& b) {
    static_assert(hasOperator<T>(op));
    if constexpr (isRelation(op)) {
        return truth<T>(holds<op>(a, b));
    } else if constexpr (kIsInt<T>) {
        return intArithmetic<op>(a, b);
    } else {
        return realArithmetic<op>(a, b);
    }
}

// How a binary operator reaches an operand: through the operand's node, or,
// for the constants and plain variables most operands are, straight to the
// value without a call. Those two only read, so nothing evaluated after them
// can change what they gave.
template <class T>
struct NodeOperand {
    static constexpr bool kOnlyReads = false;
    ExprPtr<T> node;
    T get(Machine& m) const { return node->eval(m); }
};
template <class T>
struct ConstOperand {
    static constexpr bool kOnlyReads = true;
    T value;
    const T& get(Machine&) const { return value; }
};
template <class T>
struct VarOperand {
    static constexpr bool kOnlyReads = true;
    const Variable* var;
    const T& get(Machine&) const { return valueOf<T>(*var); }
};

// A constant divisor of DIV or MOD, 2 to 2^32-1 in magnitude. A dividend
// below 2^32 in magnitude is divided by multiplying with the divisor's
// reciprocal, exact for every such pair, instead of by a slow division
// instruction; larger ones are divided as usual.
struct ConstDivisor {
    static constexpr bool kOnlyReads = true;
    std::int64_t value;
    std::uint64_t magnitude;
    std::uint64_t reciprocal;  // ceil(2^64 / magnitude)

    static bool takes(std::int64_t d) {
        const std::uint64_t u = d < 0 ? 0 - static_cast<std::uint64_t>(d) : d;
        return u >= 2 && u <= 0xFFFFFFFFu;
    }
    explicit ConstDivisor(std::int64_t d)
        : value(d),
          magnitude(d < 0 ? 0 - static_cast<std::uint64_t>(d) : d),
          reciprocal(~std::uint64_t{0} / magnitude + 1) {}

    template <Op op>
    std::int64_t divide(std::int64_t a) const {
        const bool negative = a < 0;
        const std::uint64_t u = negative ? 0 - static_cast<std::uint64_t>(a) : a;
        if (u >> 32 != 0) return intArithmetic<op>(a, value);
        using Wide = unsigned __int128;
        if constexpr (op == Op::Mod) {
            // The remainder takes the dividend's sign.
            const std::uint64_t fraction = reciprocal * u;
            const auto r = static_cast<std::int64_t>((Wide{fraction} * magnitude) >> 64);
            return negative ? -r : r;
        } else {
            const auto q = static_cast<std::int64_t>((Wide{reciprocal} * u) >> 64);
            return negative != (value < 0) ? -q : q;
        }
    }
};

template <class T, Op op, class A, class B>
struct Binary final : Expr<T> {
    A a;
    B b;
    Binary(A x, B y) : a(std::move(x)), b(std::move(y)) {}
    T eval(Machine& m) const override {
        if constexpr (std::is_same_v<B, ConstDivisor>) {
            return b.template divide<op>(a.get(m));
        } else if constexpr (B::kOnlyReads) {
            // Reading b changes nothing, so a's value may stay where it is.
            const T& x = a.get(m);
            return apply<T, op>(x, b.get(m));
        } else {
            const T x = a.get(m);
            const T y = b.get(m);
            return apply<T, op>(x, y);
        }
    }
};

template <class T>
ExprPtr<T> makeBinary(Op op, ExprPtr<T> a, ExprPtr<T> b);

// A longer run of operators of one level, evaluated left to right without
// recursion, so "1+1+...+1" of any length needs no deep stack.
template <class T>
struct Chain final : Expr<T> {
    ExprPtr<T> first;
    std::vector<std::pair<Op, ExprPtr<T>>> rest;
    T eval(Machine& m) const override;
};

// What each operator is for T, found by the operator at run time: the
// function that applies it and the node that applies it to two operands.
template <class T>
struct OperatorOf {
    T (*apply)(const T&, const T&) = nullptr;
    ExprPtr<T> (*binary)(ExprPtr<T>, ExprPtr<T>) = nullptr;
};
template <class T, Op op, class A>
ExprPtr<T> binaryWithLeft(A a, ExprPtr<T> b) {
    const auto* c = dynamic_cast<const Const<T>*>(b.get());
    if constexpr (kIsInt<T> && (op == Op::Div || op == Op::Mod)) {
        if (c && ConstDivisor::takes(c->value))
            return std::make_unique<Binary<T, op, A, ConstDivisor>>(std::move(a),
                                                                    ConstDivisor(c->value));
    }
    if (c)
        return std::make_unique<Binary<T, op, A, ConstOperand<T>>>(std::move(a),
                                                                   ConstOperand<T>{c->value});
    if (const auto* v = dynamic_cast<const VarValue<T>*>(b.get()))
        return std::make_unique<Binary<T, op, A, VarOperand<T>>>(std::move(a),
                                                                 VarOperand<T>{v->var});
    return std::make_unique<Binary<T, op, A, NodeOperand<T>>>(std::move(a),
                                                              NodeOperand<T>{std::move(b)});
}
template <class T, Op op>
ExprPtr<T> binaryNode(ExprPtr<T> a, ExprPtr<T> b) {
    if (const auto* v = dynamic_cast<const VarValue<T>*>(a.get()))
        return binaryWithLeft<T, op>(VarOperand<T>{v->var}, std::move(b));
    return binaryWithLeft<T, op>(NodeOperand<T>{std::move(a)}, std::move(b));
}
template <class T, Op op>
constexpr OperatorOf<T> operatorOf() {
    if constexpr (hasOperator<T>(op)) {
        return {&apply<T, op>, &binaryNode<T, op>};
    } else {
        return {};
    }
}
template <class T, std::size_t... ops>
constexpr std::array<OperatorOf<T>, kOperatorCount> operatorTable(std::index_sequence<ops...>) {
    return {operatorOf<T, static_cast<Op>(ops)>()...};
}
template <class T>
inline constexpr auto kOperators = operatorTable<T>(std::make_index_sequence<kOperatorCount>());

template <class T>
ExprPtr<T> makeBinary(Op op, ExprPtr<T> a, ExprPtr<T> b) {
    return kOperators<T>[static_cast<std::size_t>(op)].binary(std::move(a), std::move(b));
}
template <class T>
T Chain<T>::eval(Machine& m) const {
    T value = first->eval(m);
    for (const auto& [op, e] : rest)
        value = kOperators<T>[static_cast<std::size_t>(op)].apply(value, e->eval(m));
    return value;
}

// One level of a grammar: its first operand alone, one operator as a
// Binary node, more as a Chain.
template <class T>
ExprPtr<T> level(ExprPtr<T> first, std::vector<std::pair<Op, ExprPtr<T>>> rest) {
    if (rest.empty()) return first;
    if (rest.size() == 1)
        return makeBinary<T>(rest[0].first, std::move(first), std::move(rest[0].second));
    auto chain = std::make_unique<Chain<T>>();
    chain->first = std::move(first);
    chain->rest = std::move(rest);
    return chain;
}

// A sign before a term: integers wrap around, so -MIN is MIN.
template <class T>
struct Negate final : Expr<T> {
    ExprPtr<T> a;
    T eval(Machine& m) const override {
        if constexpr (kIsInt<T>) {
            return static_cast<std::int64_t>(0 - static_cast<std::uint64_t>(a->eval(m)));
        } else {
            return -a->eval(m);
        }
    }
};
struct Concat final : Expr<std::string> {
    std::vector<ExprPtr<std::string>> parts;
    std::string eval(Machine& m) const override;
};

// ---------------------------------------------------------------- calls

// One call of a routine. Every call has a frame of its own, so a call inside
// an argument never touches the arguments of the call around it.
struct CallSite {
    const Routine* routine = nullptr;
    std::optional<std::string> before;  // raised before any argument
    std::vector<AnyExpr> arguments;
    std::optional<std::string> after;  // raised after the arguments

    void invoke(Machine& m, TPPAArgument& result) const;
};

// A call's result as a T; an integer function read as a real gives a real.
template <class T>
T resultAs(TPPAArgument& result) {
    if constexpr (kIsReal<T>) {
        return result.type == TPPAType::Integer ? static_cast<double>(result.intValue)
                                                : result.realValue;
    } else {
        return std::move(valueOf<T>(result));
    }
}
template <class T>
struct Call final : Expr<T> {
    CallSite site;
    T eval(Machine& m) const override {
        TPPAArgument result;
        site.invoke(m, result);
        return resultAs<T>(result);
    }
};
struct CallStmt final : Stmt {
    CallSite site;
    void exec(Machine& m) const override {
        TPPAArgument result;
        site.invoke(m, result);
    }
};

// ---------------------------------------------------------------- statements

template <class T>
struct Assign final : Stmt {
    Variable* var;
    ExprPtr<T> value;
    Assign(Variable* v, ExprPtr<T> e) : var(v), value(std::move(e)) {}
    void exec(Machine& m) const override {
        store(valueOf<T>(*var), value->eval(m));
        if (var->hostBound) tellHost<T>(m, *var);
    }
};
// "s := s + ..." appends in place: the same value, without copying s.
struct Append final : Stmt {
    Variable* var;
    std::vector<ExprPtr<std::string>> parts;
    void exec(Machine& m) const override;
};

struct BlockStmt final : Stmt {
    std::unique_ptr<Block> block;
    void exec(Machine& m) const override { m.execBlock(*block); }
};
struct FlagStmt final : Stmt {
    std::uint8_t bit;
    explicit FlagStmt(std::uint8_t b) : bit(b) {}
    void exec(Machine& m) const override { m.stop |= bit; }
};
struct IfStmt final : Stmt {
    ExprPtr<std::int64_t> condition;
    std::unique_ptr<Block> thenPart;
    std::unique_ptr<Block> elsePart;
    void exec(Machine& m) const override;
};
struct ForStmt final : Stmt {
    Variable* var;
    std::unique_ptr<Stmt> start;
    ExprPtr<std::int64_t> last;
    bool down = false;
    std::unique_ptr<Block> body;
    void exec(Machine& m) const override;
};
struct WhileStmt final : Stmt {
    ExprPtr<std::int64_t> condition;
    std::unique_ptr<Block> body;
    void exec(Machine& m) const override;
};
struct RepeatStmt final : Stmt {
    std::unique_ptr<Block> body;
    ExprPtr<std::int64_t> condition;
    void exec(Machine& m) const override;
};
struct CaseLabel {
    ExprPtr<std::int64_t> low;
    ExprPtr<std::int64_t> high;  // null for a single value
};
struct CaseArm {
    std::vector<CaseLabel> labels;
    std::unique_ptr<Block> part;
};
struct CaseStmt final : Stmt {
    ExprPtr<std::int64_t> selector;
    std::vector<CaseArm> arms;
    std::optional<std::string> error;  // where reading the arms stopped
    std::unique_ptr<Block> elsePart;
    void exec(Machine& m) const override;
};

}  // namespace zel::script
