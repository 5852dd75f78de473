#pragma once
// What the holder frame needs from the main window it sits in: the current
// node, the busy protocol and read-only guards, the node view's editors, the
// questions to the user and the commands its pop-up menus forward.

#include <string>
#include <string_view>

class QWidget;

namespace zel {

class MemoFile;
class MemoHolder;
class MemoNode;

class HolderFrameHost {
  public:
    virtual ~HolderFrameHost() = default;

    virtual MemoFile* memoFile() const = 0;
    virtual MemoNode* getCurMemoNode() const = 0;
    virtual void setCurMemoNode_(MemoNode* node) = 0;
    virtual MemoHolder* changeHolder_(MemoHolder* holder) = 0;

    // True while a command runs (the window says so in its status line).
    virtual bool nowDoing() = 0;
    // The tool bar's "ReadOnly" box, asked without a message.
    virtual bool isUIReadOnly() const = 0;
    virtual void messageDoing_(std::string_view text) = 0;
    virtual void startDoing_(std::string_view name) = 0;
    virtual void doneDoing_(std::string_view text) = 0;
    virtual int UI2Model() = 0;

    // The node view's fields editor: written into the node, and read again.
    virtual void saveFieldsEditor(MemoNode& node) = 0;
    virtual void reloadFieldsEditor(MemoNode& node) = 0;
    // The node view's name line.
    virtual void showNodeName(std::string_view name) = 0;
    // Whether `widget` is the embedded web browser.
    virtual bool isWebBrowser(const QWidget* widget) const = 0;

    // Questions (texts are Shift_JIS): a message box with OK, an input box
    // (false when cancelled), a save dialog (empty when cancelled).
    virtual void messageBox(std::string_view text) = 0;
    virtual bool inputQuery(std::string_view caption, std::string_view prompt,
                            std::string& value) = 0;
    virtual std::string saveFileName(std::string_view filter, std::string_view initialPath) = 0;

    // Runs the command `name` of the command layer's table with `argument`
    // (a text, or a number written as text); what the command yields.
    virtual int runCommand(std::string_view name, std::string_view argument) = 0;
    // True when the command layer has built the command `name`; entries of
    // a command not built yet are disabled.
    virtual bool hasCommand(std::string_view name) const = 0;
};

// The property under which a menu entry carries the command it runs, and its
// argument, so that listings of the menus can name them.
inline constexpr const char* kCommandProperty = "zelCommand";
inline constexpr const char* kArgumentProperty = "zelArgument";

}  // namespace zel
