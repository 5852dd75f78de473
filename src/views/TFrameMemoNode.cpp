// The node view: its layout, the editors' heights, and the exchange between
// the node and the view (Model2UI, UI2Model).

#include "views/TFrameMemoNode.h"

#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <cmath>
#include <numeric>

#include "formats/ImageCodecs.h"
#include "formats/TContent.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "object/Agents.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "text/Sjis.h"
#include "text/TextHelpers.h"
#include "views/MemoHolderUI.h"
#include "views/NodeViewText.h"
#include "views/OutlineTree.h"
#include "views/TFrameImage.h"
#include "views/ViewText.h"
#include "views/WebBrowser.h"

namespace zel {

namespace {

constexpr int kDesignWidth = 652;
constexpr int kDesignHeight = 595;
constexpr int kNameHeight = 16;
constexpr int kBoxHeight = 120;
constexpr int kSplitterWidth = 6;
constexpr int kCaretPanelWidth = 50;
// The text editor's background, 16773119 as the design stores it.
const QColor kMemoBackground(255, 239, 255);
constexpr double kReopenShare = 0.2;

constexpr std::string_view kEncodingKey = "Content-Transfer-Encoding";
constexpr std::string_view kStampFormat = "yyyymmdd hhnnsszzz";

bool allBlank(const std::vector<std::string>& lines) {
    for (const std::string& line : lines)
        if (!trimmedView(line).empty()) return false;
    return true;
}

std::vector<std::string> fieldLines(const FieldList& fields) {
    std::vector<std::string> lines;
    lines.reserve(fields.size());
    for (std::size_t i = 0; i < fields.size(); ++i) lines.push_back(fields[i]);
    return lines;
}

bool isImageType(std::string_view type) {
    return type == "\"image/jpeg\"" || type == "\"image/bmp\"" || type == "\"image/ico\"" ||
           type == "\"image/png\"";
}

void styleSplitter(QSplitter* splitter, const char* colour) {
    splitter->setHandleWidth(kSplitterWidth);
    splitter->setChildrenCollapsible(false);
    splitter->setStyleSheet(QStringLiteral("QSplitter::handle { background: %1;"
                                           " border-top: 1px solid palette(light);"
                                           " border-bottom: 1px solid palette(dark); }")
                                .arg(QLatin1String(colour)));
}

QPlainTextEdit* makeEditor(QWidget* parent, const char* name) {
    auto* editor = new QPlainTextEdit(parent);
    editor->setObjectName(QLatin1String(name));
    editor->setLineWrapMode(QPlainTextEdit::NoWrap);
    editor->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    editor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    editor->setContextMenuPolicy(Qt::CustomContextMenu);
    editor->setMinimumHeight(1);
    return editor;
}

}  // namespace

// --- The collapsible editors ----------------------------------------------

void NodeViewBox::collapse() {
    if (height_ != 1) remembered_ = height_;
    height_ = 1;
    apply();
}

void NodeViewBox::reopen(int fallback) {
    height_ = remembered_ > 1 ? remembered_ : std::max(fallback, 2);
    apply();
}

void NodeViewBox::apply() {
    if (!splitter_) return;
    const QList<int> sizes = splitter_->sizes();
    const int total = std::accumulate(sizes.begin(), sizes.end(), 0);
    // Before its first layout the splitter has no room to share; the next
    // resize applies the height.
    if (total <= 0 || sizes.value(1) == height_) return;
    splitter_->setSizes({std::max(total - height_, 0), height_});
}

void NodeViewBox::follow() {
    if (splitter_) height_ = splitter_->sizes().value(1, height_);
}

// --- Building ------------------------------------------------------------------

TFrameMemoNode::TFrameMemoNode(QWidget* parent)
    : QWidget(parent), commentBox_(kBoxHeight), fieldsBox_(kBoxHeight) {
    setObjectName(QStringLiteral("FrameMemoNode1"));
    resize(kDesignWidth, kDesignHeight);
    buildLayout();
    buildMenus();
    initialise();
}

void TFrameMemoNode::buildLayout() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    StaticText_name = new QLabel(this);
    StaticText_name->setObjectName(QStringLiteral("StaticText_name"));
    // Plain text shows "&" as it stands.
    StaticText_name->setTextFormat(Qt::PlainText);
    StaticText_name->setFrameShape(QFrame::Panel);
    StaticText_name->setFrameShadow(QFrame::Sunken);
    StaticText_name->setFixedHeight(std::max(kNameHeight, fontMetrics().height() + 2));
    StaticText_name->setContextMenuPolicy(Qt::CustomContextMenu);
    StaticText_name->installEventFilter(this);
    layout->addWidget(StaticText_name);

    Splitter2 = new QSplitter(Qt::Vertical, this);
    Splitter2->setObjectName(QStringLiteral("Splitter2"));
    styleSplitter(Splitter2, "palette(button)");
    layout->addWidget(Splitter2, 1);

    Panel1 = new QWidget(Splitter2);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    auto* panelLayout = new QVBoxLayout(Panel1);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    Splitter1 = new QSplitter(Qt::Vertical, Panel1);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    styleSplitter(Splitter1, "#ff00ff");
    panelLayout->addWidget(Splitter1);

    auto* bodies = new QWidget(Splitter1);
    auto* bodyLayout = new QVBoxLayout(bodies);
    bodyLayout_ = bodyLayout;
    bodyLayout->setContentsMargins(0, 0, 0, 0);
    bodyLayout->setSpacing(0);
    PanelMemo = new QWidget(bodies);
    PanelMemo->setObjectName(QStringLiteral("PanelMemo"));
    auto* memoLayout = new QVBoxLayout(PanelMemo);
    memoLayout->setContentsMargins(0, 0, 0, 0);
    memoLayout->setSpacing(0);
    MemoNode0 = makeEditor(PanelMemo, "MemoNode0");
    QPalette palette = MemoNode0->palette();
    palette.setColor(QPalette::Base, kMemoBackground);
    MemoNode0->setPalette(palette);
    MemoNode0->installEventFilter(this);
    MemoNode0->viewport()->installEventFilter(this);
    memoLayout->addWidget(MemoNode0, 1);
    StatusBar1 = new QStatusBar(PanelMemo);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    caretPanel = new QLabel(StatusBar1);
    caretPanel->setMinimumWidth(kCaretPanelWidth);
    StatusBar1->addWidget(caretPanel);
    memoLayout->addWidget(StatusBar1);
    bodyLayout->addWidget(PanelMemo, 1);

    Memo_comment = makeEditor(Splitter1, "Memo_comment");
    Splitter1->addWidget(bodies);
    Splitter1->addWidget(Memo_comment);
    Memo_Fields = makeEditor(Splitter2, "Memo_Fields");
    Splitter2->addWidget(Panel1);
    Splitter2->addWidget(Memo_Fields);
    for (QSplitter* splitter : {Splitter1, Splitter2}) {
        // The editor at the bottom keeps its height when the view grows.
        splitter->setStretchFactor(0, 1);
        splitter->setStretchFactor(1, 0);
        splitter->installEventFilter(this);
    }
    commentBox_.bind(Splitter1);
    fieldsBox_.bind(Splitter2);
    connect(Splitter1, &QSplitter::splitterMoved, this, [this] { commentBox_.follow(); });
    connect(Splitter2, &QSplitter::splitterMoved, this, [this] { fieldsBox_.follow(); });
}

void TFrameMemoNode::initialise() {
    StaticText_name->clear();
    MemoNode0->clear();
    Memo_comment->clear();
    shownName_.clear();
    shownMemo_.clear();
    shownComment_.clear();
    insertionBuffer.clear();
}

void TFrameMemoNode::setNode(MemoNode* node) {
    node_ = node;
}

MemoNode* TFrameMemoNode::liveNode() {
    if (node_ && owner_ && !owner_->isNodeAlive(node_)) releaseNode();
    return node_;
}

void TFrameMemoNode::releaseNode() {
    node_ = nullptr;
    initialise();
    Memo_Fields->clear();
    shownFields_.clear();
    showOnly(Body::None);
}

// --- Model2UI ------------------------------------------------------------------

void TFrameMemoNode::Model2UI() {
    if (!liveNode()) return;
    // Without an owner no body is shown, and no other node's text lingers
    // in the editor to be written into this one.
    if (owner_)
        showBody();
    else
        showOnly(Body::None);
    loadBox(Memo_Fields, shownFields_, fieldLines(node_->fields), fieldsBox_);
    loadBox(Memo_comment, shownComment_, node_->comment, commentBox_);
    showNodeName(node_->getName_());
}

void TFrameMemoNode::showBody() {
    loadLinkedContent();
    const std::string encoding = node_->getField_(kEncodingKey);
    if (encoding == "\"binary\"")
        showBinaryBody();
    else if (encoding == "\"URL\"")
        showWebAddress();
    else if (encoding == "\"Poser\"" || encoding == "\"PoserLike\"")
        showOutline(encoding == "\"Poser\"");
    else
        showTextBody();
}

void TFrameMemoNode::loadLinkedContent() {
    if (node_->isURL_() || !node_->isLinked_() || node_->loaded) return;
    const std::string name = node_->getName_();
    const std::string file = trimText(stripQuotes(node_->getField_("Filename")));
    if (file.empty()) {
        message("FlagLink=\"true\" but not found Filename=\"\" name=" + name);
        return;
    }
    if (node_->loadLinkedBody_() != 1)
        message("FlagLink=\"true\" but not found Filename=\"" + file + "\" name=" + name);
}

void TFrameMemoNode::showBinaryBody() {
    const std::string type = node_->getField_("Content-Type");
    const bool hasContent = node_->content && node_->content->stream;
    if (hasContent && isImageType(type)) {
        showOnly(Body::Image);
        ensureImageView()->show(imageFormatOfType(type), *node_->content->stream);
    } else if (hasContent && type == "\"image/gif\"") {
        showGif(*node_->content->stream);
    } else {
        showOnly(Body::None);
    }
}

void TFrameMemoNode::showGif(const std::string& bytes) {
    // A file of its own: never a name the user's files could have.
    auto file =
        std::make_unique<QTemporaryFile>(toQt(tempDirectory()) + QStringLiteral("zel-XXXXXX.gif"));
    if (!file->open() ||
        file->write(bytes.data(), static_cast<qint64>(bytes.size())) !=
            static_cast<qint64>(bytes.size()) ||
        !file->flush()) {
        showOnly(Body::None);
        message("ERROR: the picture could not be written to " + tempDirectory());
        return;
    }
    file->close();
    showOnly(Body::Web);
    gifFile_ = std::move(file);
    webView_->showAddress(fromQt(gifFile_->fileName()));
}

void TFrameMemoNode::showWebAddress() {
    std::string address = trimText(stripQuotes(node_->getField_("Filename")));
    AgentAPLAbs* agent = owner_->nodeViewAgent();
    const bool online = agent && agent->query_("getUIInternet") == "true";
    // Every browser obeys the window's switch, not only for this address.
    setWebInternetAllowed(online);
    showOnly(Body::Web);
    if (!online && isWebAddress(address)) {
        address = owner_->programDirectory() + "Offinternet.html";
        message("Disable Access Internet. " + node_->getName_());
        if (!fileExists(address)) {
            webView_->showHtml(
                "<html><body><h3>Disable Access Internet.</h3>"
                "<p>The switch \"Internet\" is off.</p></body></html>");
            return;
        }
    }
    webView_->showAddress(address);
}

void TFrameMemoNode::showOutline(bool poser) {
    showOnly(Body::Outline);
    MemoNode* shown = node_;
    OutlineTree* tree = ensureOutline();
    tree->fill(*shown, poser, owner_->nodeViewAgent());
    if (tree->node() == shown && !tree->isReading() && !tree->isComplete())
        message("Break: the outline shows only part of the memo text and is not written back.");
}

void TFrameMemoNode::showTextBody() {
    showOnly(Body::Text);
    loadEditor(MemoNode0, shownMemo_, editorText(node_->memo));
}

void TFrameMemoNode::showOnly(Body body) {
    body_ = body;
    PanelMemo->setVisible(body == Body::Text);
    if (imageView_) {
        imageView_->setVisible(body == Body::Image);
        if (body != Body::Image) imageView_->clearPicture();
    }
    if (body == Body::Web)
        ensureWebView()->setVisible(true);
    else if (webView_ && webView_->isVisible()) {
        webView_->WebBrowser1->stop();
        webView_->hide();
    }
    if (outlineView_) {
        outlineView_->setVisible(body == Body::Outline);
        // A tree of another node is never written back into this one.
        if (body != Body::Outline) outlineView_->release();
    }
    if (body != Body::Web) gifFile_.reset();
    // Commands read the text editor: it never keeps another node's text.
    if (body != Body::Text && !MemoNode0->document()->isEmpty())
        loadEditor(MemoNode0, shownMemo_, QString());
}

void TFrameMemoNode::placeBody(QWidget* view) {
    bodyLayout_->addWidget(view, 1);
}

TFrameImage* TFrameMemoNode::ensureImageView() {
    if (!imageView_) {
        imageView_ = new TFrameImage(this, PanelMemo->parentWidget());
        placeBody(imageView_);
    }
    imageView_->setVisible(body_ == Body::Image);
    return imageView_;
}

TFrameWB* TFrameMemoNode::ensureWebView() {
    if (!webView_) {
        webView_ = new TFrameWB(PanelMemo->parentWidget());
        webView_->setObjectName(QStringLiteral("FrameWB1"));
        webView_->setHost(this);
        placeBody(webView_);
    }
    return webView_;
}

OutlineTree* TFrameMemoNode::ensureOutline() {
    if (!outlineView_) {
        outlineView_ = new OutlineTree(this, PanelMemo->parentWidget());
        placeBody(outlineView_);
    }
    outlineView_->setVisible(body_ == Body::Outline);
    return outlineView_;
}

void TFrameMemoNode::showBodyAgain() {
    if (liveNode() && owner_) showBody();
}

bool TFrameMemoNode::webHome() {
    if (!owner_ || !liveNode()) return false;
    UI2Model();
    Model2UI();
    return true;
}

bool TFrameMemoNode::webNewNode(std::string_view address) {
    return owner_ && owner_->newWebNode(address);
}

void TFrameMemoNode::loadBox(QPlainTextEdit* editor, QString& shown,
                             const std::vector<std::string>& lines, NodeViewBox& box) {
    loadEditor(editor, shown, editorText(lines));
    if (allBlank(lines))
        box.collapse();
    else if (!box.isOpen())
        box.reopen(reopenHeight());
}

void TFrameMemoNode::loadEditor(QPlainTextEdit* editor, QString& shown, const QString& text) {
    editor->setPlainText(text);
    // Text from Shift_JIS holds none of the characters the editor would
    // give back otherwise (no-break spaces, paragraph separators).
    shown = text;
    editor->document()->setModified(false);
}

int TFrameMemoNode::reopenHeight() const {
    return static_cast<int>(std::lround(MemoNode0->height() * kReopenShare));
}

void TFrameMemoNode::setCommentOpen(bool open) {
    if (open == commentBox_.isOpen()) return;
    if (open)
        commentBox_.reopen(reopenHeight());
    else
        commentBox_.collapse();
}

void TFrameMemoNode::setFieldsOpen(bool open) {
    if (open == fieldsBox_.isOpen()) return;
    if (open)
        fieldsBox_.reopen(reopenHeight());
    else
        fieldsBox_.collapse();
}

// --- UI2Model ------------------------------------------------------------------

void TFrameMemoNode::UI2Model() {
    if (!liveNode() || node_->isReadOnlyEffective_()) return;
    const bool memoChanged = writeMemo();
    const bool commentChanged = writeComment();
    const bool fieldsChanged = writeFields();
    const bool nameChanged = writeName();
    const bool changed = memoChanged || commentChanged || fieldsChanged || nameChanged;
    if (changed) markHolderChanged();
    stamp(changed);
}

bool TFrameMemoNode::editedLines(QPlainTextEdit* editor, QString& shown,
                                 const std::vector<std::string>& original,
                                 std::vector<std::string>& lines, std::size_t& replaced) {
    replaced = 0;
    if (!editor->document()->isModified()) return false;
    editor->document()->setModified(false);
    QString now = editor->toPlainText();
    if (now == shown) return false;
    lines = mergeEditedLines(original, shown, now, replaced);
    shown = std::move(now);
    reportReplaced(replaced);
    return true;
}

void TFrameMemoNode::showWritten(QPlainTextEdit* editor, QString& shown,
                                 const std::vector<std::string>& lines) {
    // The editor shows "?" where the node now holds one.
    const int caret = editor->textCursor().position();
    loadEditor(editor, shown, editorText(lines));
    QTextCursor cursor = editor->textCursor();
    cursor.setPosition(std::min(caret, static_cast<int>(shown.size())));
    editor->setTextCursor(cursor);
}

bool TFrameMemoNode::writeMemo() {
    if (body_ == Body::Outline) return writeOutlineBack();
    std::vector<std::string> lines;
    std::size_t replaced = 0;
    if (body_ != Body::Text || !editedLines(MemoNode0, shownMemo_, node_->memo, lines, replaced))
        return false;
    if (lines == node_->memo) return false;
    node_->memo = std::move(lines);
    if (replaced > 0) showWritten(MemoNode0, shownMemo_, node_->memo);
    return true;
}

bool TFrameMemoNode::writeOutlineBack() {
    OutlineTree* tree = outlineView_;
    if (!tree || tree->node() != node_ || !tree->isEdited() || !tree->isComplete() ||
        tree->isReading())
        return false;
    // An emptied tree empties the memo text.
    std::vector<std::string> lines;
    tree->outlineText(lines, owner_ ? owner_->nodeViewAgent() : nullptr);
    tree->setEdited(false);
    if (lines == node_->memo) return false;
    node_->memo = std::move(lines);
    return true;
}

bool TFrameMemoNode::writeComment() {
    std::vector<std::string> lines;
    std::size_t replaced = 0;
    if (!editedLines(Memo_comment, shownComment_, node_->comment, lines, replaced)) return false;
    if (allBlank(lines)) lines.clear();
    if (lines == node_->comment) return false;
    node_->comment = std::move(lines);
    if (replaced > 0) showWritten(Memo_comment, shownComment_, node_->comment);
    return true;
}

bool TFrameMemoNode::writeFields() {
    std::vector<std::string> lines;
    std::size_t replaced = 0;
    if (!editedLines(Memo_Fields, shownFields_, fieldLines(node_->fields), lines, replaced))
        return false;
    FieldList fields;
    fields.reserve(lines.size());
    for (const std::string& line : lines) fields.append(line);
    if (fields == node_->fields) return false;
    node_->fields = std::move(fields);
    if (replaced > 0) showWritten(Memo_Fields, shownFields_, lines);
    return true;
}

bool TFrameMemoNode::writeName() {
    if (StaticText_name->text() == shownName_) return false;
    const std::string wanted = trimText(fromQt(StaticText_name->text()));
    if (wanted.empty()) {
        message(kEmptyName);
        return false;
    }
    if (wanted == node_->getName_()) return false;
    node_->putName_as_(wanted);
    showNodeName(node_->getName_());
    return true;
}

void TFrameMemoNode::stamp(bool changed) {
    const std::string reader = owner_ ? owner_->readerName() : "\"noname\"";
    const std::string now = wrapQuotes(formatDateTime(kStampFormat, clock()));
    bool stamped = false;
    auto put = [this, &stamped](std::string_view key, const std::string& value) {
        if (node_->fields.indexOf(key) < 0) return;
        node_->putField_(key, value);
        stamped = true;
    };
    if (changed) {
        put("Authors", reader);
        put("LastModified", now);
    }
    put("LastAccessed", now);
    put("LastReader", reader);
    if (!stamped) return;
    markHolderChanged();
    // A later write-back must not put the old stamps back.
    loadEditor(Memo_Fields, shownFields_, editorText(fieldLines(node_->fields)));
}

bool TFrameMemoNode::fieldsToModel() {
    if (!liveNode() || node_->isReadOnlyEffective_()) return false;
    return writeFields();
}

void TFrameMemoNode::fieldsToView() {
    if (liveNode()) loadBox(Memo_Fields, shownFields_, fieldLines(node_->fields), fieldsBox_);
}

void TFrameMemoNode::reportReplaced(std::size_t count) {
    if (count == 0) return;
    message("Warning: " + std::to_string(count) +
            " character(s) that Shift_JIS cannot hold were replaced by \"?\".");
}

void TFrameMemoNode::nodeChanged() {
    if (liveNode()) markHolderChanged();
}

bool TFrameMemoNode::refusesNodeChange() {
    if (!liveNode()) return true;
    if (owner_ && (owner_->isBusy() || owner_->refusesEdits())) return true;
    if (readOnly_) {
        message("Read Only Mode!");
        return true;
    }
    const auto* holder = dynamic_cast<const MemoHolder*>(node_->enclosingRecord_());
    if (holder && holder->isReadOnlyEffective_()) {
        message("This MemoHolder is Read Only. (" + holder->getName_() + ")");
        return true;
    }
    if (node_->isReadOnly_()) {
        message("flagReadOnly=\"true\"");
        return true;
    }
    return false;
}

void TFrameMemoNode::markHolderChanged() {
    auto* holder = dynamic_cast<MemoHolder*>(node_->enclosingRecord_());
    if (!holder) return;
    holder->changed = true;
    // Marks and icons in the list follow the node's fields.
    if (auto* shown = dynamic_cast<MemoHolderUI*>(holder)) shown->nodeChanged_(node_);
}

// --- Owner, read-only, cursor ----------------------------------------------------

void TFrameMemoNode::setReadOnly(bool readOnly) {
    readOnly_ = readOnly;
    for (QPlainTextEdit* editor : {MemoNode0, Memo_comment, Memo_Fields})
        editor->setReadOnly(readOnly);
}

void TFrameMemoNode::message(std::string_view text) {
    if (owner_)
        owner_->nodeViewMessage(text);
    else
        QMessageBox::warning(this, QString(), toQt(text));
}

void TFrameMemoNode::setCursorShape(Qt::CursorShape shape) {
    for (QWidget* widget :
         std::initializer_list<QWidget*>{MemoNode0, Memo_comment, Memo_Fields, StaticText_name})
        widget->setCursor(shape);
    if (imageView_) imageView_->setCursorShape(shape);
    if (webView_) webView_->setCursorShape(shape);
    if (outlineView_) outlineView_->setCursor(shape);
}

bool TFrameMemoNode::isOverComment(const QPoint& global) const {
    return Memo_comment->isVisible() &&
           Memo_comment->rect().contains(Memo_comment->mapFromGlobal(global));
}

bool TFrameMemoNode::isOverFields(const QPoint& global) const {
    return Memo_Fields->isVisible() &&
           Memo_Fields->rect().contains(Memo_Fields->mapFromGlobal(global));
}

// --- Events ----------------------------------------------------------------------

void TFrameMemoNode::showCaret() {
    const QTextCursor cursor = MemoNode0->textCursor();
    caretPanel->setText(QStringLiteral("%1:%2")
                            .arg(cursor.blockNumber() + 1, 9)
                            .arg(cursor.positionInBlock() + 1, 4));
}

bool TFrameMemoNode::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == StaticText_name && type == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        nameDialog();
    } else if (watched == MemoNode0 && type == QEvent::KeyRelease) {
        showCaret();
    } else if (watched == MemoNode0->viewport() && type == QEvent::MouseButtonPress) {
        // The caret moves while the press is handled: look afterwards.
        QTimer::singleShot(0, this, [this] { showCaret(); });
    } else if ((watched == Splitter1 || watched == Splitter2) &&
               (type == QEvent::Resize || type == QEvent::Show)) {
        QTimer::singleShot(0, this, [this] {
            commentBox_.apply();
            fieldsBox_.apply();
        });
    }
    return QWidget::eventFilter(watched, event);
}

void TFrameMemoNode::wheelEvent(QWheelEvent* event) {
    // The wheel over the node view never reaches the holder view.
    event->accept();
}

}  // namespace zel
