// The run cycle: a run clears the last one's declarations, declares the host
// routines, lexes and reads the program, and executes its statement list as
// a block; a block compiles itself on first use and lets the user interface
// in at its entry.

#include "script/ScriptMachine.h"

#include <limits>
#include <new>

#include "script/ScriptCompiler.h"
#include "text/TextHelpers.h"

namespace zel::script {

namespace msg = script_messages;

void fail(std::string message) {
    throw ScriptError{std::move(message)};
}

std::int64_t realToInteger(double value) {
    // Beyond the 64-bit range (and NaN) there is no integer to give.
    if (!(value >= -9223372036854775808.0 && value < 9223372036854775808.0))
        fail(std::string(msg::kInvalidReal));
    return static_cast<std::int64_t>(value);
}

double checkedReal(double value) {
    if (value != value) fail(std::string(msg::kInvalidReal));
    if (value == std::numeric_limits<double>::infinity() ||
        value == -std::numeric_limits<double>::infinity())
        fail(std::string(msg::kRealOverflow));
    return value;
}

namespace {

void addConstant(Machine& m, std::string_view name, TPPAType type, std::int64_t value) {
    Variable& v = m.addVariable(name, type);
    v.intValue = value;
    v.permanent = true;
    v.readOnly = true;
}

template <class Table>
void removeTransient(Table& table) {
    for (auto it = table.begin(); it != table.end();) {
        it = it->second->permanent ? std::next(it) : table.erase(it);
    }
}

}  // namespace

Machine::Machine(TPoorPascal& owner) : owner(&owner) {
    addConstant(*this, "True", TPPAType::Integer, -1);
    addConstant(*this, "False", TPPAType::Integer, 0);
    addConstant(*this, "Nil", TPPAType::String, 0);
    declareBuiltins(*this);
}

Variable* Machine::findVariable(std::string_view name) const {
    auto it = variables.find(upperWord(name));
    return it == variables.end() ? nullptr : it->second.get();
}
Routine* Machine::findProcedure(std::string_view name) const {
    auto it = procedures.find(upperWord(name));
    return it == procedures.end() ? nullptr : it->second.get();
}
Routine* Machine::findFunction(std::string_view name) const {
    auto it = functions.find(upperWord(name));
    return it == functions.end() ? nullptr : it->second.get();
}

Variable& Machine::addVariable(std::string_view name, TPPAType type) {
    auto v = std::make_unique<Variable>();
    v->name = std::string(name);
    v->type = type;
    Variable& added = *v;
    variables.emplace(upperWord(name), std::move(v));
    ++generation;
    return added;
}

const Routine* Machine::builtinShape(std::int32_t index) const {
    auto it = builtins.find(index);
    return it == builtins.end() ? nullptr : it->second;
}

bool Machine::waitSlice(int milliseconds) {
    if (stop & kAbort) return false;
    host().pump();
    if (stop & kAbort) return false;
    host().wait(milliseconds);
    return !(stop & kAbort);
}

void Machine::execBlock(Block& block) {
    if (depth >= kMaxDepth) fail(std::string(msg::kTooDeep));
    struct Leave {
        int& d;
        ~Leave() { --d; }
    } leave{++depth};
    breathe();
    countStep();
    if (block.generation != generation) compileBlock(*this, block);
    for (const auto& statement : block.statements) {
        if (stop) return;
        countStep();
        statement->exec(*this);
    }
}

TPPARunResult Machine::run() {
    TPPARunResult result;
    if (running) {
        result.status = TPPARunResult::Refused;
        result.message = std::string(msg::kBusy);
        return result;
    }
    stop = 0;
    paused = false;
    stepsLeft = stepLimit;
    depth = 0;
    removeTransient(variables);
    removeTransient(procedures);
    removeTransient(functions);
    ++generation;
    program.reset();
    try {
        for (const std::string& line : prototypes)
            if (!trimmedView(line).empty()) declareRoutine(*this, line, false);
        program = std::make_unique<Program>();
        program->text = preparedText(source);
        program->tokens = lexAll(program->text);
        running = true;
        pumpCountdown = 1;
        lastPump = {};
        readProgram(*this, *program);
        execBlock(program->root);
        if (stop & kAbort) fail(std::string(msg::kAborted));
    } catch (const ScriptError& error) {
        result.status = TPPARunResult::Failed;
        result.message = error.message;
    } catch (const std::bad_alloc&) {
        result.status = TPPARunResult::Failed;
        result.message = "Out of memory";
    } catch (const std::exception& error) {
        result.status = TPPARunResult::Failed;
        result.message = error.what();
    } catch (...) {
        result.status = TPPARunResult::Failed;
        result.message = "Unknown error";
    }
    running = false;
    depth = 0;
    program.reset();
    return result;
}

}  // namespace zel::script
