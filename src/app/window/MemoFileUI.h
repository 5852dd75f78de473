#pragma once
// The memo file bound to the main window: it records the node the window
// shows and edits, asks its temporary folder and version from the window, and
// saves its changed holders for the close question and the idle auto save.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/MemoFile.h"

namespace zel {

class MemoNode;
class TFormMainBase0007;

class MemoFileUI : public MemoFile {
  public:
    explicit MemoFileUI(TFormMainBase0007* window) : mainWindow(window) {}

    const char* className() const override { return "MemoFileUI"; }
    int clear_() override;
    std::string getTempDir_() const override;
    // The Color field; without one the colour of the window's tool bar, or
    // the system's button face when there is no window.
    std::uint32_t getColor_() const override;
    // Records the current holder and the program's version before writing.
    int _writeTSL_deep_(std::vector<std::string>& lines, std::string_view indent) override;
    void announceNotLoaded_(const std::string& holderPath) override;
    // Holders shown in the holder view, with nodes that may open windows.
    std::unique_ptr<MemoHolder> newHolderObject_() override;

    // Saves every changed holder (every holder with `force`) to its own file
    // in its format, together as one set (the window's saveTogether_), and
    // clears their changed flags; when the set cannot be written every holder
    // stays changed and the reason is logged. The number of holders saved.
    int saveHolders_(bool force, bool askOnConflict = true);

    TFormMainBase0007* mainWindow;
    // The node the window shows; its owner is the current holder.
    MemoNode* currentNode = nullptr;
};

}  // namespace zel
