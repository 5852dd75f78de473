#include "views/TFormMemoNode.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <cmath>

#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "text/TextHelpers.h"
#include "views/MemoNodeUI.h"
#include "views/TFormCVTJpeg.h"
#include "views/ViewText.h"

namespace zel {

namespace {

constexpr int kDesignWidth = 568;
constexpr int kDesignHeight = 589;
constexpr int kTopPanelHeight = 41;
constexpr int kStatusPanelWidth = 50;
constexpr double kShareOfMainWindow = 0.96;

MemoHolder* holderOf(const MemoNode& node) {
    return dynamic_cast<MemoHolder*>(node.enclosingRecord_());
}

}  // namespace

TFormMemoNode::TFormMemoNode(NodeWindowHost* host, QWidget* parent)
    : QMainWindow(parent), host_(host), agent_(this) {
    setObjectName(QStringLiteral("FormMemoNode"));
    setWindowFlag(Qt::Window);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("MemoNode "));
    resize(kDesignWidth, kDesignHeight);
    FrameMemoNode1 = new TFrameMemoNode(this);
    setCentralWidget(FrameMemoNode1);
    buildTopPanel();
    buildMenus();
    StatusBar1 = statusBar();
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    statusPanel = new QLabel(StatusBar1);
    statusPanel->setMinimumWidth(kStatusPanelWidth);
    StatusBar1->addWidget(statusPanel, 1);
    StatusBar1->installEventFilter(this);
    statusPanel->installEventFilter(this);
    FrameMemoNode1->initialise();
    FrameMemoNode1->setOwner(this);
}

TFormMemoNode::~TFormMemoNode() = default;

void TFormMemoNode::buildTopPanel() {
    PanelTop = new QWidget(this);
    PanelTop->setObjectName(QStringLiteral("PanelTop"));
    PanelTop->setFixedHeight(kTopPanelHeight);
    auto* layout = new QHBoxLayout(PanelTop);
    layout->setContentsMargins(4, 2, 4, 2);
    ButtonClose = new QPushButton(QStringLiteral("Close"), PanelTop);
    ButtonSaveAs = new QPushButton(QStringLiteral("SaveAs"), PanelTop);
    auto* label = new QLabel(QStringLiteral("Holder"), PanelTop);
    StaticText_Holder = new QLabel(PanelTop);
    StaticText_Holder->setTextFormat(Qt::PlainText);
    StaticText_Holder->setFrameShape(QFrame::Panel);
    StaticText_Holder->setFrameShadow(QFrame::Sunken);
    CheckBox_UIReadOnly = new QCheckBox(QStringLiteral("UIReadOnly"), PanelTop);
    layout->addWidget(ButtonClose);
    layout->addWidget(ButtonSaveAs);
    layout->addWidget(label);
    layout->addWidget(StaticText_Holder, 1);
    layout->addWidget(CheckBox_UIReadOnly);
    connect(ButtonClose, &QPushButton::clicked, this, &QWidget::close);
    connect(ButtonSaveAs, &QPushButton::clicked, this, [this] { SaveAs(); });
    connect(CheckBox_UIReadOnly, &QCheckBox::toggled, FrameMemoNode1, &TFrameMemoNode::setReadOnly);
}

void TFormMemoNode::buildMenus() {
    // The menu bar and the top panel share the space above the view.
    auto* top = new QWidget(this);
    auto* layout = new QVBoxLayout(top);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* bar = new QMenuBar(top);
    layout->addWidget(bar);
    layout->addWidget(PanelTop);
    setMenuWidget(top);

    QMenu* form = bar->addMenu(QStringLiteral("Form"));
    form->addAction(QStringLiteral("SaveAs"), this, [this] { SaveAs(); });
    form->addAction(QStringLiteral("HardCopy"), this, [this] { HardCopy(); });
    form->addAction(QStringLiteral("Print"), this, [this] { Print(); });
    form->addAction(QStringLiteral("Close"), this, &QWidget::close);
    QMenu* show = bar->addMenu(QStringLiteral("Show"));
    actionComment = show->addAction(QStringLiteral("Comment"), this, [this] {
        FrameMemoNode1->setCommentOpen(!FrameMemoNode1->isCommentOpen());
    });
    actionField = show->addAction(QStringLiteral("Field"), this, [this] {
        FrameMemoNode1->setFieldsOpen(!FrameMemoNode1->isFieldsOpen());
    });
    actionComment->setCheckable(true);
    actionField->setCheckable(true);
    connect(show, &QMenu::aboutToShow, this, [this] {
        actionComment->setChecked(FrameMemoNode1->isCommentOpen());
        actionField->setChecked(FrameMemoNode1->isFieldsOpen());
    });
}

TFormMemoNode* TFormMemoNode::open(NodeWindowHost& host, MemoNode& node, bool readOnly) {
    auto* shown = dynamic_cast<MemoNodeUI*>(&node);
    // Two editors writing one node would undo each other's edits: a node
    // that cannot record its own window is only shown.
    if (!shown) readOnly = true;
    if (TFormMemoNode* own = readOnly ? nullptr : ownWindowOf(&node)) {
        own->raise();
        own->activateWindow();
        return own;
    }
    host.UI2Model();
    QWidget* main = host.hostWidget();
    TFormMemoNode* window =
        readOnly ? new TFormMemoNodeRO(&host, main) : new TFormMemoNode(&host, main);
    if (main) {
        window->setFont(main->font());
        window->resize(static_cast<int>(std::lround(main->width() * kShareOfMainWindow)),
                       static_cast<int>(std::lround(main->height() * kShareOfMainWindow)));
        window->move(main->geometry().center() - window->rect().center());
    }
    if (MemoHolder* holder = holderOf(node))
        window->StaticText_Holder->setText(toQt(holder->getName_()));
    window->FrameMemoNode1->setNode(&node);
    window->FrameMemoNode1->Model2UI();
    window->show();
    if (!readOnly) {
        shown->nodeWindow = window;
        host.Model2UI();
    }
    return window;
}

TFormMemoNode* TFormMemoNode::ownWindowOf(const MemoNode* node) {
    const auto* shown = dynamic_cast<const MemoNodeUI*>(node);
    return shown ? qobject_cast<TFormMemoNode*>(shown->nodeWindow.data()) : nullptr;
}

bool TFormMemoNode::isOwnWindow() const {
    return isNodeAlive(node()) && ownWindowOf(node()) == this;
}

bool TFormMemoNode::isNodeAlive(const MemoNode* shown) const {
    if (!shown) return false;
    const MemoFile* file = host_ ? host_->memoFile() : nullptr;
    if (!file) return !host_;
    for (int i = 0; i < file->countOfHolders_(); ++i)
        if (file->holderAt_(i)->nodes->indexOfChild(shown) >= 0) return true;
    return false;
}

void TFormMemoNode::setReadOnly(bool readOnly) {
    CheckBox_UIReadOnly->setChecked(readOnly);
    FrameMemoNode1->setReadOnly(readOnly);
}

void TFormMemoNode::status(std::string_view text) {
    statusPanel->setText(toQt(text));
}

void TFormMemoNode::closeEvent(QCloseEvent* event) {
    if (isOwnWindow()) {
        MemoNode* shown = node();
        FrameMemoNode1->UI2Model();
        static_cast<MemoNodeUI*>(shown)->nodeWindow = nullptr;
        if (host_ && host_->getCurMemoNode() == shown) host_->Model2UI();
    }
    FrameMemoNode1->releaseNode();
    QMainWindow::closeEvent(event);
}

bool TFormMemoNode::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == StatusBar1 || watched == statusPanel) &&
        event->type() == QEvent::MouseButtonPress)
        statusPanel->clear();
    return QMainWindow::eventFilter(watched, event);
}

// --- Menu and buttons ------------------------------------------------------------

long long TFormMemoNode::SaveAs() {
    if (!isNodeAlive(node())) return -1;
    MemoNode& shown = *node();
    if (host_) return host_->saveNodeAs(shown);
    std::string offered = trimText(stripQuotes(shown.getField_("Filename")));
    if (offered.empty()) offered = shown.getName_();
    const QString chosen = QFileDialog::getSaveFileName(this, QString(), toQt(offered));
    if (chosen.isEmpty()) return -1;
    return shown.saveBody_(fromQt(chosen));
}

void TFormMemoNode::HardCopy() {
    if (host_ && host_->hardCopy(*this)) status("Done: HardCopy. Check Printer.");
}

void TFormMemoNode::Print() {
    if (!host_ || !isNodeAlive(node())) return;
    if (host_->mainViewOwner().isBusy()) {
        status("ERROR: Now doing other work. ");
        return;
    }
    std::string operation;
    if (host_->printNode(*node(), operation)) status("Printed " + operation);
}

// --- NodeViewOwner -----------------------------------------------------------------

void TFormMemoNode::mainWindowMessage(std::string_view text) {
    if (host_) host_->mainViewOwner().mainWindowMessage(text);
}

void TFormMemoNode::nodeViewBox(BoxTone tone, std::string_view text) {
    if (host_)
        host_->mainViewOwner().nodeViewBox(tone, text);
    else
        QMessageBox::warning(this, QString(), toQt(text));
}

bool TFormMemoNode::isBusy() {
    return host_ && host_->mainViewOwner().isBusy();
}

std::string TFormMemoNode::programDirectory() const {
    return host_ ? host_->mainViewOwner().programDirectory() : std::string();
}

bool TFormMemoNode::pasteImageAsNewNode(const QImage& image) {
    return host_ && host_->mainViewOwner().pasteImageAsNewNode(image);
}

bool TFormMemoNode::askNodeName(MemoNode& shown, std::string& name) {
    return host_ && host_->mainViewOwner().askNodeName(shown, name);
}

bool TFormMemoNode::askJpegSettings(JpegOptions& options) {
    if (host_) return host_->mainViewOwner().askJpegSettings(options);
    return TFormCVTJpeg::shared(this).ask(options);
}

bool TFormMemoNode::askYesNo(std::string_view text) {
    if (host_) return host_->mainViewOwner().askYesNo(text);
    return QMessageBox::question(this, QString(), toQt(text)) == QMessageBox::Yes;
}

bool TFormMemoNode::newMemoNodeWithText(std::string_view text) {
    return host_ && host_->mainViewOwner().newMemoNodeWithText(text);
}

bool TFormMemoNode::newWebNode(std::string_view address) {
    return host_ && host_->mainViewOwner().newWebNode(address);
}

MainWindowLink* TFormMemoNode::mainWindowLink() const {
    return host_ ? host_->windowLink() : nullptr;
}

// --- The read-only window ----------------------------------------------------------

TFormMemoNodeRO::TFormMemoNodeRO(NodeWindowHost* host, QWidget* parent)
    : TFormMemoNode(host, parent) {
    setObjectName(QStringLiteral("FormMemoNodeRO"));
    setReadOnly(true);
    CheckBox_UIReadOnly->setEnabled(false);
    CheckBox_UIReadOnly->hide();
}

}  // namespace zel
