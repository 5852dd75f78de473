#pragma once
// The node view: one memo node's name, body, comment and fields. It never
// writes into the node while the user types: Model2UI fills the view from the
// node, UI2Model writes back what the user changed. It sits in the holder
// frame (the main window's current node) or in a node window of its own.

#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QStatusBar>
#include <QString>
#include <QTemporaryFile>
#include <QVBoxLayout>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "text/DateTime.h"
#include "views/NodeViewOwner.h"
#include "views/TFrameWB.h"

namespace zel {

class MemoNode;
class OutlineTree;
class TFrameImage;

// The comment or fields editor at the bottom of a splitter: it collapses to
// one pixel when it has nothing to show and reopens at its remembered height.
class NodeViewBox {
  public:
    explicit NodeViewBox(int height) : height_(height) {}
    void bind(QSplitter* splitter) { splitter_ = splitter; }

    int height() const { return height_; }
    bool isOpen() const { return height_ > 1; }
    void collapse();
    // At the remembered height, else at `fallback`.
    void reopen(int fallback);
    // Puts the splitter in step with the height (after any resize).
    void apply();
    // Takes the height the user dragged the splitter to.
    void follow();

  private:
    QSplitter* splitter_ = nullptr;
    int height_;
    int remembered_ = 0;
};

// The body views (image, web, outline tree) are made on first need and kept;
// at most one of them shows at a time.
class TFrameMemoNode : public QWidget, public TFrameWBHost {
    Q_OBJECT
  public:
    explicit TFrameMemoNode(QWidget* parent = nullptr);

    // Empties the name line and the editors and the insertion buffer.
    void initialise();
    void setNode(MemoNode* node);
    MemoNode* node() const { return node_; }
    void setOwner(NodeViewOwner* owner) { owner_ = owner; }
    NodeViewOwner* owner() const { return owner_; }

    // Fills the view from the node: body, fields, comment, name.
    void Model2UI();
    // Writes what the user changed back into the node (never into a
    // read-only node), then stamps the node's reader fields.
    void UI2Model();
    // Forgets the node without writing anything back.
    void releaseNode();
    // The body shown again from the node (after a body view changed it).
    void showBodyAgain();
    // The node changed under the view: its holder is marked changed.
    void nodeChanged();
    // True, with the reason in a message, when the node may not be changed
    // from the view now: a command runs, the window's or the view's
    // read-only switch is on, or the node or its holder is read-only.
    bool refusesNodeChange();
    // UI2Model, the node's Content-Transfer-Encoding set, Model2UI.
    void changeEncoding(std::string_view encoding);

    // The body views, once made (none before their first use).
    TFrameImage* imageView() const { return imageView_; }
    TFrameWB* webView() const { return webView_; }
    OutlineTree* outlineTree() const { return outlineView_; }
    // The view that shows the body now.
    enum class Body { None, Text, Image, Web, Outline };
    Body body() const { return body_; }

    // The web view's host.
    void webMessage(std::string_view text) override { message(text); }
    MemoNode* webNode() override { return liveNode(); }
    bool webHome() override;
    bool webNewNode(std::string_view address) override;
    // The fields editor alone: written into the node when it differs
    // (true when written) / loaded again from the node.
    bool fieldsToModel();
    void fieldsToView();

    void setReadOnly(bool readOnly);
    bool isReadOnly() const { return readOnly_; }
    // To the owner's status line; a warning box without owner.
    void message(std::string_view text);
    void setCursorShape(Qt::CursorShape shape);

    // The editor with the keyboard focus, else the text body editor.
    QPlainTextEdit* activeEditor() const;
    // Gives the keyboard focus to the editor a user types a new node's
    // words into: the text body, or for a picture, a page or an outline
    // the comment (else the fields) when it is open.
    void focusEditor();
    // Replaces the editor's selection by `text` (Shift_JIS) and leaves it
    // selected; the editor's former text goes to the insertion buffer.
    void insertAtCursor(QPlainTextEdit* editor, std::string_view text);
    // The text body editor's text as lines (Shift_JIS); the body replaced
    // as one undoable edit.
    std::vector<std::string> memoLines();
    void setMemoLines(const std::vector<std::string>& lines);
    void appendMemoLines(const std::vector<std::string>& lines);
    void appendCommentLines(const std::vector<std::string>& lines);
    // Sets `key` in the fields editor: the line's value replaced, else the
    // line appended.
    void setFieldsEditorValue(std::string_view key, std::string_view value);
    bool isOverComment(const QPoint& global) const;
    bool isOverFields(const QPoint& global) const;

    // The comment and fields editors open (higher than one pixel) or collapsed.
    bool isCommentOpen() const { return commentBox_.isOpen(); }
    bool isFieldsOpen() const { return fieldsBox_.isOpen(); }
    void setCommentOpen(bool open);
    void setFieldsOpen(bool open);

    // The active editor's selected text, and its number of lines.
    std::string selectedText();
    int selectedLineCount();
    // Selection operations on the active editor; the result stays selected.
    int addHeadSEL_(std::string_view text);
    int addTailSEL_(std::string_view text);
    int delHeadSEL_(long long count);
    int removeEmptyLineSEL();
    int trimSEL();
    int sortSEL();
    // The line count before numbering.
    int setNumberSEL_(std::string_view format);
    int reverseSEL();
    // The resulting line count.
    int lfSEL();
    int oneLineSEL();
    int tagWordListSEL();
    int replaceNameSEL();
    int addNameSEL(bool withBlank);
    // Operations on the whole text body.
    int sortMemo();
    int numberMemo();
    int noDupMemo();
    int markDupMemo();
    int countWords_(std::string_view word);

    // Renames the node; the name line shows the name it finally has. False
    // (with a message) for a name that is empty after trimming.
    bool renameNode(std::string_view wanted);
    // The name dialog, refused for a read-only node or view.
    void nameDialog();
    // The name line's text (Shift_JIS).
    std::string shownName() const;
    // The name line shows `name`, the name the node was given elsewhere.
    void showNodeName(std::string_view name);

    QLabel* StaticText_name;
    QWidget* Panel1;
    QWidget* PanelMemo;
    QPlainTextEdit* MemoNode0;
    QStatusBar* StatusBar1;
    QLabel* caretPanel;
    QSplitter* Splitter1;
    QPlainTextEdit* Memo_comment;
    QSplitter* Splitter2;
    QPlainTextEdit* Memo_Fields;
    QMenu* PopupMenu1;
    QMenu* PopupMenuMemo;
    QMenu* PopupMenuComment;
    QMenu* PopupMenuFields;
    // The text an insertion last replaced.
    QString insertionBuffer;
    // The clock of dates and stamps; tests set a fixed one.
    std::function<DateTime()> clock = currentDateTime;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    // The node, unless it went away under the view (which then lets go of it).
    MemoNode* liveNode();
    static constexpr std::string_view kEmptyName = "Do not rename Empty characters.";

    void buildLayout();
    void buildMenus();
    void buildNameMenu();
    void buildMemoMenu();
    void buildCommentMenu();
    void buildFieldsMenu();
    QAction* addEntry(QMenu* menu, std::string_view path, std::function<void()> action);

    // Model2UI's steps.
    void showBody();
    void loadLinkedContent();
    void showBinaryBody();
    void showWebAddress();
    void showGif(const std::string& bytes);
    void showOutline(bool poser);
    void showTextBody();
    void showOnly(Body body);
    TFrameImage* ensureImageView();
    TFrameWB* ensureWebView();
    OutlineTree* ensureOutline();
    void placeBody(QWidget* view);
    void loadBox(QPlainTextEdit* editor, QString& shown, const std::vector<std::string>& lines,
                 NodeViewBox& box);
    void loadEditor(QPlainTextEdit* editor, QString& shown, const QString& text);
    // UI2Model's steps; each yields whether it changed the node.
    bool writeMemo();
    // The outline tree's text into the node it was read from, when edited.
    bool writeOutlineBack();
    bool writeComment();
    bool writeFields();
    bool writeName();
    void stamp(bool changed);
    // The editor's lines as the user left them: nothing when unchanged.
    // `shown` follows the editor when it was.
    bool editedLines(QPlainTextEdit* editor, QString& shown,
                     const std::vector<std::string>& original, std::vector<std::string>& lines,
                     std::size_t& replaced);
    void showWritten(QPlainTextEdit* editor, QString& shown, const std::vector<std::string>& lines);
    void reportReplaced(std::size_t count);
    void markHolderChanged();
    int reopenHeight() const;

    // The active editor's selection as lines, and the edited lines put back.
    struct Selection {
        QPlainTextEdit* editor;
        std::vector<std::string> lines;
        bool endsWithLineBreak;
    };
    Selection selection(QPlainTextEdit* editor);
    void replaceSelection(const Selection& selection, const std::vector<std::string>& lines);
    // Selects the whole text body and edits its lines; yields what `edit` does.
    int editMemo(const std::function<int(std::vector<std::string>&)>& edit);
    void insertText(QPlainTextEdit* editor, QString text);

    // Menu handlers.
    void paste();
    void insertIntoActive(const std::string& text);
    std::string today() const;
    std::string stampNow() const;
    void copyNodeText(bool withFields);
    void explorer();
    void shell();
    void memoToFields();
    void fieldsToMemo();
    void sortActiveEditor();
    void renameFromClipboard(bool append, bool withBlank);
    void showCaret();

    MemoNode* node_ = nullptr;
    NodeViewOwner* owner_ = nullptr;
    bool readOnly_ = false;
    Body body_ = Body::None;
    // The texts the editors were given, to tell what the user changed.
    QString shownMemo_, shownComment_, shownFields_, shownName_;
    NodeViewBox commentBox_;
    NodeViewBox fieldsBox_;
    QVBoxLayout* bodyLayout_ = nullptr;
    TFrameImage* imageView_ = nullptr;
    TFrameWB* webView_ = nullptr;
    OutlineTree* outlineView_ = nullptr;
    // A GIF body as a file for the web view, while it is shown.
    std::unique_ptr<QTemporaryFile> gifFile_;
};

}  // namespace zel
