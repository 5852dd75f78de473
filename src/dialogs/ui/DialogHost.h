#pragma once
// What the editing dialogs need from the main window beyond every
// companion's share: the node view's fields editor and text editor, holder
// settings that take effect, the selected-nodes editor, the application
// settings, and the questions beyond a message box.

#include <QColor>
#include <QFont>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "dialogs/ChangedHolders.h"
#include "model/NodeRef.h"
#include "views/CompanionHost.h"

namespace zel {

class DialogHost : public CompanionHost {
  public:
    // The node view's fields editor alone, written into `node` and loaded from it.
    virtual void saveFieldsEditor(MemoNode& node) = 0;
    virtual void reloadFieldsEditor(MemoNode& node) = 0;
    // The holder's settings or its nodes' names changed: it is sorted as its
    // list mode says, and its view follows.
    virtual void holderSettingsChanged(MemoHolder& holder) = 0;

    // `text` is inserted at the cursor of the node view's text editor.
    virtual void insertIntoNodeEditor(std::string_view text) = 0;
    // The selected-nodes editor opened with (line text, node) pairs; false
    // when it could not be made.
    virtual bool editSelectedNodes(const std::vector<std::pair<std::string, NodeRef>>& nodes) = 0;

    // The tool bar's "ReadOnly" box is ticked (the node view written back, the
    // editing entries disabled) and its indicator refreshed.
    virtual void switchUIReadOnly() = 0;
    virtual void refreshReadOnlyIndicator() = 0;
    // The user name, in double quotes.
    virtual std::string userName() const = 0;
    // The current holder's date format as stored; empty when none.
    virtual std::string dateFormat() const = 0;

    // Application settings.
    virtual std::string getTempDirectory() const = 0;
    virtual void setTempDirectory(std::string_view directory) = 0;
    virtual int dropMode() const = 0;
    virtual void setDropMode(int mode) = 0;
    virtual int getAutoSaveTime() const = 0;
    virtual void putAutoSaveTime_(int seconds) = 0;
    // The font command ("UIFont"); the main window's font afterwards.
    virtual QFont UIFont() = 0;

    // Questions (texts and paths are Shift_JIS).
    virtual std::optional<QColor> chooseColor(const QColor& initial) = 0;
    // The path chosen, or empty when cancelled.
    virtual std::string openFileName(std::string_view filter, std::string_view initialPath) = 0;
    virtual std::string directoryName(std::string_view caption, std::string_view start) = 0;
    // Shows a folder on the desktop; false when nothing could be started.
    virtual bool explore(std::string_view folder) = 0;

    // A mass edit that left a read-only holder alone says so in the status bar.
    void reportReadOnly(const ChangedHolders& changed) {
        if (const std::string why = changed.refusal(); !why.empty()) messageDoing_(why);
    }
};

}  // namespace zel
