#pragma once
// What the node view asks of the window it belongs to (the main window, or a
// node window of its own), and what a node window asks of the main window.
// The views never see the application layer: the windows implement these.

#include <string>
#include <string_view>

class QImage;
class QWidget;

namespace zel {

class AgentAPLAbs;
class MainWindowLink;
class MemoFile;
class MemoNode;
struct JpegOptions;

enum class BoxTone { Information, Confirmation, Warning };

class NodeViewOwner {
  public:
    virtual ~NodeViewOwner() = default;

    // The view's messages: the main window's status line, or a node window's
    // status bar.
    virtual void nodeViewMessage(std::string_view text) = 0;
    // The main window's status line, wherever the view sits (none: nothing).
    virtual void mainWindowMessage(std::string_view text) = 0;
    virtual void nodeViewBox(BoxTone tone, std::string_view text) = 0;
    virtual AgentAPLAbs* nodeViewAgent() = 0;
    virtual bool isMainWindow() const = 0;
    // Who reads and edits, in double quotes, for the stamps of written nodes.
    virtual std::string readerName() const = 0;
    // The main window's date format as stored (quotes included); empty for a
    // node window.
    virtual std::string dateFormat() const = 0;
    // True while the main window runs a command.
    virtual bool isBusy() = 0;
    // The folder of the program's own files, ending in "/".
    virtual std::string programDirectory() const = 0;
    // A bitmap pasted into the text editor becomes a new image node; false
    // when the owner cannot make one.
    virtual bool pasteImageAsNewNode(const QImage& image) = 0;
    // The name dialog loaded with `node`: true with the name confirmed.
    virtual bool askNodeName(MemoNode& node, std::string& name) = 0;
    // Whether `node` still exists; a node window may outlive its node. Only
    // the address is compared.
    virtual bool isNodeAlive(const MemoNode* node) const = 0;

    // What the image and web views ask; an owner that cannot answers no.
    // The JPEG settings of "->JPEG" ("Mono", quality): false when cancelled.
    virtual bool askJpegSettings(JpegOptions&) { return false; }
    // A question with Yes and No: true for Yes.
    virtual bool askYesNo(std::string_view) { return false; }
    // The window's own read-only switch: true, with its message, when the
    // user interface may not change nodes.
    virtual bool refusesEdits() { return false; }
    // "New MemoNode" in the main window with `text` inserted into its text
    // editor; false when no node was made.
    virtual bool newMemoNodeWithText(std::string_view) { return false; }
    // The main window's "MemoNode SaveAs" for `node`; negative when nothing
    // was saved.
    virtual long long saveNodeAsFromView(MemoNode&) { return -1; }
    // A new web node for `address` in the main window; false when none.
    virtual bool newWebNode(std::string_view) { return false; }
};

// The main window as its node windows see it.
class NodeWindowHost {
  public:
    virtual ~NodeWindowHost() = default;

    virtual QWidget* hostWidget() = 0;
    virtual MainWindowLink* windowLink() = 0;
    // The main window as the owner of its own node view: its status line,
    // boxes, busy state, program folder, image nodes and name dialog.
    virtual NodeViewOwner& mainViewOwner() = 0;
    virtual MemoFile* memoFile() const = 0;
    virtual MemoNode* getCurMemoNode() const = 0;
    virtual int UI2Model() = 0;
    virtual void Model2UI() = 0;
    // "MemoNode SaveAs" for `node`: 0 when written, or a negative code.
    virtual long long saveNodeAs(MemoNode& node) = 0;
    // Prints `node`: true with the operation text the printing left.
    virtual bool printNode(MemoNode& node, std::string& operation) = 0;
    // Prints an image of `window` scaled to one page; false when it did not.
    virtual bool hardCopy(QWidget& window) = 0;
};

}  // namespace zel
