#pragma once
// The keys of the key map (KeyMap.h) put on the main menus' items.

class QMenuBar;
class QWidget;

namespace zel {

// Gives each key to the first item of `menus` that runs its command with its
// argument. A key of the node list acts only while `nodeList` (or a control
// in it) has the focus.
void bindCommandKeys(QMenuBar& menus, QWidget& nodeList);

}  // namespace zel
