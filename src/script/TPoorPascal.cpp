#include "script/TPoorPascal.h"

#include <algorithm>
#include <limits>
#include <new>

#include "script/ScriptCompiler.h"
#include "text/Sjis.h"
#include "text/TextHelpers.h"

namespace zel {

namespace script {

namespace msg = script_messages;

void fail(std::string message) {
    throw ScriptError{std::move(message)};
}

int64_t realToInteger(double value) {
    // Beyond the 64-bit range (and NaN) there is no integer to give.
    if (!(value >= -9223372036854775808.0 && value < 9223372036854775808.0))
        fail(std::string(msg::kInvalidReal));
    return static_cast<int64_t>(value);
}

double checkedReal(double value) {
    if (value != value) fail(std::string(msg::kInvalidReal));
    if (value == std::numeric_limits<double>::infinity() ||
        value == -std::numeric_limits<double>::infinity())
        fail(std::string(msg::kRealOverflow));
    return value;
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

namespace {

bool typeWord(const TPPAParser& p, TPPAType& type) {
    switch (wordOf(p.token())) {
        case Word::Integer:
            type = TPPAType::Integer;
            return true;
        case Word::Real:
            type = TPPAType::Real;
            return true;
        case Word::String:
            type = TPPAType::String;
            return true;
        default:
            return false;
    }
}

}  // namespace

// declaration -> (PROCEDURE | FUNCTION) name ["(" group {";" group} ")"]
//                [":" type] [";" INDEX number] ";"
// group -> name {"," name} ":" type
void Machine::declareRoutine(const std::string& given, bool permanent) {
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
    if (findProcedure(routine->name) || findFunction(routine->name))
        fail(msg::bracketed(msg::kDuplicateRoutine, routine->name));
    p.next();
    if (p.token() == "(") {
        if (line.find(')') == std::string::npos) fail(decl);
        p.next();
        for (;;) {
            std::vector<std::string> names;
            for (;;) {
                if (p.kind() != TokenKind::Identifier)
                    fail(msg::bracketed(msg::kSyntax, p.token()));
                std::string name(p.token());
                bool twice = std::find(names.begin(), names.end(), name) != names.end();
                for (const auto& param : routine->parameters) twice = twice || param.name == name;
                if (twice) fail(msg::bracketed(msg::kDuplicateParameter, name));
                names.push_back(std::move(name));
                p.next();
                if (p.token() != ",") break;
                p.next();
            }
            if (p.token() != ":") fail(msg::bracketed(msg::kSyntax, p.token()));
            p.next();
            TPPAType type;
            if (!typeWord(p, type)) fail(msg::bracketed(msg::kSyntax, p.token()));
            p.next();
            for (auto& name : names) routine->parameters.push_back({std::move(name), type});
            if (p.token() == ";") {
                p.next();
                continue;
            }
            if (p.token() == ")") {
                p.next();
                break;
            }
            fail(msg::bracketed(msg::kSyntax, p.token()));
        }
    }
    if (isFunction) {
        if (p.token() != ":") fail(decl);
        p.next();
        if (!typeWord(p, routine->result)) fail(decl);
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
    auto& table = isFunction ? functions : procedures;
    std::string key = routine->name;
    table.emplace(std::move(key), std::move(routine));
    ++generation;
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

namespace {

// The VAR groups: name {"," name} ":" type ";", up to BEGIN or the end.
void declareVariables(Machine& m, const std::vector<Token>& t, std::uint32_t& p) {
    auto syntax = [&](std::uint32_t q) { fail(msg::bracketed(msg::kSyntax, t[q].text)); };
    while (t[p].kind != TokenKind::End && t[p].word != Word::Begin) {
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
        TPPAType type;
        switch (t[p].word) {
            case Word::Integer:
                type = TPPAType::Integer;
                break;
            case Word::Real:
                type = TPPAType::Real;
                break;
            case Word::String:
                type = TPPAType::String;
                break;
            default:
                syntax(p);
        }
        ++p;
        if (!isSymbol(t[p], ';')) syntax(p);
        ++p;
        for (auto name : names) {
            auto v = std::make_unique<Variable>();
            v->name = std::string(name);
            v->type = type;
            m.variables.emplace(upperWord(name), std::move(v));
        }
        ++m.generation;
    }
}

template <class Table>
void removeTransient(Table& table) {
    for (auto it = table.begin(); it != table.end();) {
        it = it->second->permanent ? std::next(it) : table.erase(it);
    }
}

}  // namespace

TPPARunResult Machine::run() {
    TPPARunResult result;
    if (running) {
        result.status = TPPARunResult::Refused;
        result.message = std::string(msg::kBusy);
        return result;
    }
    stop = 0;
    paused = false;
    steps = 0;
    depth = 0;
    removeTransient(variables);
    removeTransient(procedures);
    removeTransient(functions);
    ++generation;
    program.reset();
    try {
        for (const std::string& line : prototypes)
            if (!trimmedView(line).empty()) declareRoutine(line, false);
        program = std::make_unique<Program>();
        program->text = preparedText(source);
        program->tokens = lexAll(program->text);
        running = true;
        pumpCountdown = 1;
        lastPump = {};
        const auto& t = program->tokens;
        const auto size = static_cast<std::uint32_t>(t.size() - 1);
        if (t[0].word == Word::Var) {
            std::uint32_t p = 1;
            declareVariables(*this, t, p);
            std::uint32_t first = t[p].word == Word::Begin ? p + 1 : p;
            std::optional<std::uint32_t> last;
            for (std::uint32_t q = 0; q < size; ++q)
                if (t[q].word == Word::End) last = q;
            if (!last) fail(msg::bracketed(msg::kNoEnd, "Block"));
            program->root.begin = first;
            program->root.end = std::max(first, *last);
        } else {
            program->root.begin = 0;
            program->root.end = size;
        }
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

}  // namespace script

using script::Machine;

struct TPoorPascal::Impl : Machine {};

namespace {

// The built-ins, declared at creation in this order with exactly these lines.
constexpr std::string_view kBuiltins[] = {
    "procedure ProcessMessages;Index $0001;",
    "procedure Sleep(Milliseconds:Integer);Index $0002;",
    "procedure Pause;Index $0003;",
    "function Copy(S:String;Start,Length:Integer):String;Index $1001;",
    "function Delete(S:String;Index,Count:Integer):String;Index $1002;",
    "function InputBox(ACaption,APrompt,ADefault:String):String;Index $1003;",
    "function Insert(Source:String;S:String;Index:Integer):String;Index $1004;",
    "function IntToStr(Value:Integer):String;Index $1005;",
    "function LowerCase(S:String):String;Index $1006;",
    "function Trim(S:String):String;Index $1007;",
    "function TrimLeft(S:String):String;Index $1008;",
    "function TrimRight(S:String):String;Index $1009;",
    "function UpperCase(S:String):String;Index $100A;",
    "function FloatToStr(Value:Real):String;Index $100B;",
    "function CompareStr(S1,S2:String):Integer;Index $2001;",
    "function Exec(Path,CmdLine:String;Wait:Integer):Integer;Index $2002;",
    "function Length(S:String):Integer;Index $2003;",
    "function MessageBox(Text,Caption:String;Flags:Integer):Integer;Index $2004;",
    "function Pos(Substr:String;S:String): Integer;Index $2005;",
    "function Shell(Path,CmdLine:String):Integer;Index $2006;",
    "function StrToInt(S: String):Integer;Index $2007;",
    "function IsDefine(S:String):Integer;Index $2008;",
    "function Trunc(X:Real):Integer;Index $2009;",
    "function Round(X:Real):Integer;Index $200A;",
    "function Frac(X:Real):Real;Index $3001;",
    "function Int(X:Real):Real;Index $3002;",
    "function StrToFloat(S:String):Real;Index $3003;",
};

void addConstant(Machine& m, std::string name, TPPAType type, std::int64_t value) {
    auto v = std::make_unique<script::Variable>();
    v->name = name;
    v->type = type;
    v->intValue = value;
    v->permanent = true;
    v->readOnly = true;
    m.variables.emplace(upperWord(name), std::move(v));
}

std::vector<std::string> splitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            lines.emplace_back(text.substr(start, i - start));
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            start = i + 1;
        }
    }
    if (start < text.size()) lines.emplace_back(text.substr(start));
    return lines;
}

}  // namespace

TPoorPascal::TPoorPascal() : impl_(std::make_unique<Impl>()) {
    impl_->owner = this;
    addConstant(*impl_, "True", TPPAType::Integer, -1);
    addConstant(*impl_, "False", TPPAType::Integer, 0);
    addConstant(*impl_, "Nil", TPPAType::String, 0);
    for (std::string_view line : kBuiltins) impl_->declareRoutine(std::string(line), true);
}

TPoorPascal::~TPoorPascal() = default;

void TPoorPascal::setSource(std::vector<std::string> lines) {
    impl_->source = std::move(lines);
}
void TPoorPascal::setSourceText(std::string_view text) {
    impl_->source = splitLines(text);
}
const std::vector<std::string>& TPoorPascal::Source() const {
    return impl_->source;
}
void TPoorPascal::setDeclarePrototype(std::vector<std::string> lines) {
    impl_->prototypes = std::move(lines);
}
const std::vector<std::string>& TPoorPascal::DeclarePrototype() const {
    return impl_->prototypes;
}
void TPoorPascal::setDefine(std::vector<std::string> lines) {
    impl_->define = std::move(lines);
}
const std::vector<std::string>& TPoorPascal::Define() const {
    return impl_->define;
}
void TPoorPascal::setName(std::string name) {
    impl_->name = std::move(name);
}
const std::string& TPoorPascal::name() const {
    return impl_->name;
}
void TPoorPascal::setServices(ScriptServices* services) {
    impl_->services = services;
}
ScriptServices& TPoorPascal::services() const {
    return impl_->host();
}

TPPARunResult TPoorPascal::Execute() {
    return impl_->run();
}

bool TPoorPascal::Abort() {
    if (!impl_->running) return false;
    impl_->abort();
    return true;
}
bool TPoorPascal::IsRunning() const {
    return impl_->running;
}
bool TPoorPascal::IsAborted() const {
    return (impl_->stop & script::kAbort) != 0;
}

bool TPoorPascal::AddStrObject(const std::string& name, const std::string& value,
                               std::int32_t index, bool readOnly, std::string* error) {
    if (impl_->findVariable(name)) {
        if (error) *error = script_messages::bracketed(script_messages::kDuplicateVariable, name);
        return false;
    }
    auto v = std::make_unique<script::Variable>();
    v->name = name;
    v->type = TPPAType::String;
    v->strValue = value;
    script::cutAtNul(v->strValue);
    v->permanent = true;
    v->readOnly = readOnly;
    v->hostBound = true;
    v->hostIndex = index;
    impl_->variables.emplace(upperWord(name), std::move(v));
    ++impl_->generation;
    return true;
}

bool TPoorPascal::DeclareRoutine(const std::string& line, std::string* error) {
    try {
        impl_->declareRoutine(line, true);
        return true;
    } catch (const script::ScriptError& e) {
        if (error) *error = e.message;
        return false;
    }
}

void TPoorPascal::setStepLimit(std::uint64_t steps) {
    impl_->stepLimit = steps;
}

std::vector<TPPAVariableInfo> TPoorPascal::variables() const {
    std::vector<TPPAVariableInfo> list;
    for (const auto& [key, v] : impl_->variables) {
        TPPAVariableInfo info;
        info.name = v->name;
        info.type = v->type;
        info.value.type = v->type;
        info.value.intValue = v->intValue;
        info.value.realValue = v->realValue;
        info.value.strValue = v->strValue;
        info.permanent = v->permanent;
        info.readOnly = v->readOnly;
        info.hostBound = v->hostBound;
        list.push_back(std::move(info));
    }
    return list;
}

}  // namespace zel
