// The nodes whose evaluation is more than a line: calls, and the statements
// that loop or choose.

#include "script/ScriptNodes.h"

namespace zel::script {

namespace msg = script_messages;

void raiseHostError(Machine& m, std::int32_t code) {
    std::string message;
    if (m.events().ErrorProc) m.events().ErrorProc(code, message);
    fail(std::move(message));
}

std::string Concat::eval(Machine& m) const {
    std::string value = parts[0]->eval(m);
    for (std::size_t i = 1; i < parts.size(); ++i) {
        value += parts[i]->eval(m);
        checkLength(value);
    }
    return value;
}

// ---------------------------------------------------------------- calls

namespace {

template <class T>
void evalInto(Machine& m, const ExprPtr<T>& e, TPPAArgument& slot) {
    store(valueOf<T>(slot), e->eval(m));
}

// The routine event of a function whose result is a T.
template <class T>
auto& functionEvent(TPoorPascalEvents& events) {
    if constexpr (kIsInt<T>) {
        return events.IntFuncParam;
    } else if constexpr (kIsReal<T>) {
        return events.RealFuncParam;
    } else {
        return events.StrFuncParam;
    }
}

template <class T>
void callFunction(Machine& m, const Routine& r, const TArgumentList& list, std::int32_t& err,
                  TPPAArgument& result) {
    T& value = valueOf<T>(result);
    value = T();
    if (auto& event = functionEvent<T>(m.events())) event(r.name, r.index, list, err, value);
    if constexpr (kIsStr<T>) {
        cutAtNul(value);
        checkLength(value);
    }
}

void callHost(Machine& m, const Routine& r, TPPAArgument* frame, TPPAArgument& result) {
    TArgumentList list(r.parameters, frame);
    std::int32_t err = 0;
    if (!r.function) {
        if (auto& event = m.events().ProcParam) event(r.name, r.index, list, err);
    } else {
        switch (r.result) {
            case TPPAType::Integer:
                callFunction<std::int64_t>(m, r, list, err, result);
                break;
            case TPPAType::Real:
                callFunction<double>(m, r, list, err, result);
                break;
            case TPPAType::String:
                callFunction<std::string>(m, r, list, err, result);
                break;
        }
    }
    if (err != 0) raiseHostError(m, err);
}

}  // namespace

void CallSite::invoke(Machine& m, TPPAArgument& result) const {
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
        TPPAArgument& slot = frame[k];
        const AnyExpr& argument = arguments[k];
        slot.type = static_cast<TPPAType>(argument.index());
        switch (slot.type) {
            case TPPAType::Integer:
                evalInto(m, *std::get_if<0>(&argument), slot);
                break;
            case TPPAType::Real:
                evalInto(m, *std::get_if<1>(&argument), slot);
                break;
            case TPPAType::String:
                evalInto(m, *std::get_if<2>(&argument), slot);
                break;
        }
    }
    if (after) fail(*after);
    result.type = routine->result;
    if (routine->permanent) {
        callBuiltin(m, *routine, frame, result);
    } else {
        callHost(m, *routine, frame, result);
    }
}

// ---------------------------------------------------------------- statements

void Append::exec(Machine& m) const {
    std::string tail;
    for (const auto& p : parts) {
        tail += p->eval(m);
        if (tail.size() + var->strValue.size() > kMaxString) fail(std::string(msg::kTooLong));
    }
    cutAtNul(tail);
    var->strValue += tail;
}

void IfStmt::exec(Machine& m) const {
    const std::int64_t c = condition->eval(m);
    if (c != 0) m.execBlock(*thenPart);
    if (elsePart && c == 0) m.execBlock(*elsePart);
}

namespace {

constexpr std::uint8_t kEndsLoop = kExit | kBreak | kAbort;

void clearContinue(Machine& m) {
    m.stop &= static_cast<std::uint8_t>(~kContinue);
}
// A loop that ended leaves no break or continue behind.
void leaveLoop(Machine& m) {
    m.stop &= static_cast<std::uint8_t>(~(kBreak | kContinue));
}

}  // namespace

// The loop counts on the low 32 bits, as signed numbers.
void ForStmt::exec(Machine& m) const {
    start->exec(m);
    const std::int64_t from = static_cast<std::int32_t>(var->intValue);
    const std::int64_t to = static_cast<std::int32_t>(last->eval(m));
    const std::int64_t step = down ? -1 : 1;
    const std::int64_t turns = (to - from) * step + 1;  // none when below 1
    std::int64_t v = from;
    for (std::int64_t turn = 0; turn < turns; ++turn, v += step) {
        var->intValue = v;
        clearContinue(m);
        m.execBlock(*body);
        if (m.stop & kEndsLoop) break;
    }
    leaveLoop(m);
}

void WhileStmt::exec(Machine& m) const {
    for (;;) {
        if (m.stop & kAbort) break;
        if (condition->eval(m) == 0) break;
        clearContinue(m);
        m.execBlock(*body);
        if (m.stop & kEndsLoop) break;
    }
    leaveLoop(m);
}

void RepeatStmt::exec(Machine& m) const {
    for (;;) {
        if (m.stop & kAbort) break;
        clearContinue(m);
        m.execBlock(*body);
        if (m.stop & kEndsLoop) break;
        if (condition->eval(m) != 0) break;
    }
    leaveLoop(m);
}

// Every arm whose labels hold the selector runs, in order.
void CaseStmt::exec(Machine& m) const {
    const std::int64_t s = selector->eval(m);
    bool matched = false;
    for (const CaseArm& arm : arms) {
        bool hit = false;
        for (const CaseLabel& label : arm.labels) {
            const std::int64_t low = label.low->eval(m);
            if (!label.high) {
                hit = low == s;
            } else {
                const std::int64_t high = label.high->eval(m);
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

}  // namespace zel::script
