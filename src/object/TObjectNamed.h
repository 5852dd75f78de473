#pragma once
// A named object does not store its own name: its owner keeps it, so the owner
// is the one place that keeps sibling names unique and sibling order.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace zel {

class TObjectNamed {
  public:
    explicit TObjectNamed(TObjectNamed* owner = nullptr);
    virtual ~TObjectNamed();
    TObjectNamed(const TObjectNamed&) = delete;
    TObjectNamed& operator=(const TObjectNamed&) = delete;

    virtual const char* className() const { return "TObjectNamed"; }

    virtual int clear_();
    virtual std::string getNameChild_(const TObjectNamed* child) const;
    virtual std::string putNameChild_as_(TObjectNamed* child, std::string_view wantedName);
    virtual std::string getName_() const;
    virtual std::string putName_as_(std::string_view wantedName);
    // A new object of the same class and owner, not entered in the owner's list.
    virtual std::unique_ptr<TObjectNamed> deepCopy() const;
    virtual void copyFrom_(const TObjectNamed& source);
    virtual int moveUp_();
    virtual int moveDown_();

    TObjectNamed* owner = nullptr;

  protected:
    // Subclasses build the copy of their own class and fill it with copyFrom_.
    template <class T>
    std::unique_ptr<TObjectNamed> copyAs() const {
        auto copy = std::make_unique<T>(owner);
        copy->copyFrom_(*this);
        return copy;
    }

  private:
    friend class TObjectParent;
    // The place in the owner's child list, kept there so that finding a
    // child's index needs neither a search nor a table.
    std::size_t slot_ = 0;
};

// For an absent object, reports "TObjectNamed.checkNIL" and yields true.
bool checkNIL(const TObjectNamed* object);

}  // namespace zel
