#include "object/TObjectNamed.h"

#include "object/Report.h"
#include "object/TObjectParent.h"
#include "text/Sjis.h"

namespace zel {

TObjectNamed::TObjectNamed(TObjectNamed* owner_) : owner(owner_) {
    TObjectNamed::clear_();
}

TObjectNamed::~TObjectNamed() = default;

int TObjectNamed::clear_() {
    return 0;
}

std::string TObjectNamed::getNameChild_(const TObjectNamed*) const {
    reportShouldNotExecute(std::string("self.classname=") + className() +
                           " in TObjectNamed.getNameChild_ ");
    return {};
}

std::string TObjectNamed::putNameChild_as_(TObjectNamed*, std::string_view) {
    reportShouldNotExecute("TObjectNamed.putNameChild_as_ ");
    return {};
}

std::string TObjectNamed::getName_() const {
    return owner ? owner->getNameChild_(this) : std::string("noname");
}

std::string TObjectNamed::putName_as_(std::string_view wantedName) {
    return owner ? owner->putNameChild_as_(this, wantedName) : std::string("noname");
}

std::unique_ptr<TObjectNamed> TObjectNamed::deepCopy() const {
    report(utf8ToSjis("このメソッドは実行できない。") + "in TObjectNamed.deepCopy ");
    return std::make_unique<TObjectNamed>(owner);
}

void TObjectNamed::copyFrom_(const TObjectNamed&) {}

int TObjectNamed::moveUp_() {
    auto* parent = dynamic_cast<TObjectParent*>(owner);
    return parent ? parent->moveChildUp_(this) : -1;
}

int TObjectNamed::moveDown_() {
    auto* parent = dynamic_cast<TObjectParent*>(owner);
    return parent ? parent->moveChildDown_(this) : -1;
}

bool checkNIL(const TObjectNamed* object) {
    if (object) return false;
    report("TObjectNamed.checkNIL");
    return true;
}

}  // namespace zel
