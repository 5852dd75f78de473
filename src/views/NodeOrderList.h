#pragma once
// The node list of a shown holder. Every control lists the holder's nodes in
// this list's order, so a control that moves lines moves entries here; the
// list keeps owning the nodes and their names in every list mode.

#include <cstddef>
#include <vector>

#include "object/TObjectParent.h"

namespace zel {

class NodeOrderList : public TObjectParentEX {
  public:
    using TObjectParentEX::TObjectParentEX;

    const char* className() const override { return "NodeOrderList"; }

    // Puts the children in the order given; children not named keep their
    // relative order after the named ones.
    void arrangeAs(const std::vector<const TObjectNamed*>& order);
    // Reverses the entries from `first` up to, not including, `last`.
    void reverseRange(std::size_t first, std::size_t last);
};

}  // namespace zel
