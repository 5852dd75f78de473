// The facade: the interpreter as its hosts see it, over the machine.

#include "script/TPoorPascal.h"

#include "script/ScriptCompiler.h"
#include "text/LineList.h"

namespace zel {

struct TPoorPascal::Impl : script::Machine {
    using Machine::Machine;
};

TPoorPascal::TPoorPascal() : impl_(std::make_unique<Impl>(*this)) {}

TPoorPascal::~TPoorPascal() = default;

void TPoorPascal::setSource(std::vector<std::string> lines) {
    impl_->source = std::move(lines);
}
void TPoorPascal::setSourceText(std::string_view text) {
    impl_->source = textLines(text);
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
    script::Variable& v = impl_->addVariable(name, TPPAType::String);
    script::store(v.strValue, value);
    v.permanent = true;
    v.readOnly = readOnly;
    v.hostBound = true;
    v.hostIndex = index;
    return true;
}

bool TPoorPascal::DeclareRoutine(const std::string& line, std::string* error) {
    try {
        script::declareRoutine(*impl_, line, true);
        return true;
    } catch (const script::ScriptError& e) {
        if (error) *error = e.message;
        return false;
    }
}

void TPoorPascal::setStepLimit(std::uint64_t steps) {
    impl_->setStepLimit(steps);
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
