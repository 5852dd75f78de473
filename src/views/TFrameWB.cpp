#include "views/TFrameWB.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "model/MemoNode.h"
#include "platform/Environment.h"
#include "platform/Opener.h"
#include "platform/Shell.h"
#include "text/TextHelpers.h"
#include "views/BodyPaths.h"
#include "views/ViewText.h"

namespace zel {

namespace {

constexpr int kDesignWidth = 548;
constexpr int kDesignHeight = 305;
constexpr int kPanelHeight = 65;

// "scheme:..." is an address; anything else a path of this machine.
bool hasScheme(const QString& text) {
    const int colon = text.indexOf(QLatin1Char(':'));
    if (colon < 2) return false;  // "c:" is no scheme here either
    for (int i = 0; i < colon; ++i) {
        const QChar c = text[i];
        const bool allowed =
            c.isLetter() || (i > 0 && (c.isDigit() || c == QLatin1Char('+') ||
                                       c == QLatin1Char('.') || c == QLatin1Char('-')));
        if (!allowed || c.unicode() > 0x7F) return false;
    }
    return true;
}

QUrl urlOf(const std::string& address) {
    const QString text = toQt(address);
    return hasScheme(text) ? QUrl(text) : QUrl::fromLocalFile(text);
}

}  // namespace

TFrameWB::TFrameWB(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("FrameWB"));
    resize(kDesignWidth, kDesignHeight);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    PanelTop = new QWidget(this);
    PanelTop->setObjectName(QStringLiteral("PanelTop"));
    PanelTop->setFixedHeight(kPanelHeight);
    auto* panel = new QVBoxLayout(PanelTop);
    panel->setContentsMargins(2, 2, 2, 2);
    auto* buttons = new QHBoxLayout;
    auto button = [this, buttons](const char* caption, void (TFrameWB::*handler)()) {
        auto* made = new QPushButton(QLatin1String(caption), PanelTop);
        buttons->addWidget(made);
        connect(made, &QPushButton::clicked, this, handler);
        return made;
    };
    Button_Back = button("<<", &TFrameWB::GoBack);
    Button_Forward = button(">>", &TFrameWB::GoForward);
    Button_Reload = button("Reload", &TFrameWB::Reload);
    Button_Stop = button("Stop", &TFrameWB::Stop);
    Button_Home = button("Home", &TFrameWB::Home);
    Button_NewNode = button("NewNode", &TFrameWB::NewNode);
    Button_WebBrowser = button("WebBrowser", &TFrameWB::WebBrowserButton);
    Button_IE = button("IE", &TFrameWB::IE);
    buttons->addStretch(1);
    panel->addLayout(buttons);
    StaticText1 = new QLabel(PanelTop);
    StaticText1->setObjectName(QStringLiteral("StaticText1"));
    StaticText1->setTextFormat(Qt::PlainText);
    StaticText1->setFrameShape(QFrame::Panel);
    StaticText1->setFrameShadow(QFrame::Sunken);
    StaticText1->setContextMenuPolicy(Qt::CustomContextMenu);
    // A long address must not widen the window.
    StaticText1->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    panel->addWidget(StaticText1);
    layout->addWidget(PanelTop);

    PopupMenuAddress = new QMenu(this);
    PopupMenuAddress->addAction(QStringLiteral("Copy"), this, [this] {
        QApplication::clipboard()->setText(StaticText1->text());
    });
    connect(StaticText1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PopupMenuAddress->popup(StaticText1->mapToGlobal(at)); });

    WebBrowser1 = makeWebBrowser(this);
    layout->addWidget(WebBrowser1, 1);
    connect(WebBrowser1, &WebBrowser::commandStateChanged, this, &TFrameWB::commandStateChange);
    connect(WebBrowser1, &WebBrowser::documentComplete, this, &TFrameWB::documentComplete);
    Button_Stop->setEnabled(false);
    enableMoves();
}

// --- Showing -----------------------------------------------------------------------

std::string TFrameWB::resolvedAddress(std::string_view given) const {
    if (!host_) return {};
    MemoNode* node = host_->webNode();
    if (!node) return std::string(given);
    // An empty address shows the holder's folder.
    if (given.empty()) return holderFolderOfNode(*node);
    return holderRelativePath(*node, given);
}

void TFrameWB::showAddress(std::string_view address) {
    if (!host_) return;
    const std::string target = resolvedAddress(address);
    if (WebBrowser1->isBusy()) WebBrowser1->stop();
    WebBrowser1->navigate(urlOf(target));
}

void TFrameWB::showNodeAddress() {
    MemoNode* node = host_ ? host_->webNode() : nullptr;
    if (!node) return;
    showAddress(trimText(stripQuotes(node->getField_("Filename"))));
}

void TFrameWB::showHtml(std::string_view html) {
    if (WebBrowser1->isBusy()) WebBrowser1->stop();
    WebBrowser1->showHtml(toQt(html), QUrl::fromLocalFile(toQt(currentDirectory())));
}

std::string TFrameWB::currentAddress() const {
    const QUrl url = WebBrowser1->currentUrl();
    // A page from memory: its text is no address to show.
    if (url.scheme() == QLatin1String("data")) return "data:";
    if (url.isLocalFile()) return fromQt(url.toLocalFile());
    return fromQt(url.toDisplayString());
}

void TFrameWB::message(std::string_view text) {
    if (host_)
        host_->webMessage(text);
    else
        QMessageBox::information(this, QString(), toQt(text));
}

void TFrameWB::setCursorShape(Qt::CursorShape shape) {
    PanelTop->setCursor(shape);
    WebBrowser1->setCursor(shape);
}

// --- Events of the browser ---------------------------------------------------------

void TFrameWB::commandStateChange(int command, bool enabled) {
    if (command == -1)
        Button_Stop->setEnabled(WebBrowser1->isBusy());
    else if (command == 1)
        Button_Forward->setEnabled(enabled);
    else if (command == 2)
        Button_Back->setEnabled(enabled);
}

// The browser tells only changes of where it can go, and not every browser
// tells the first state: the buttons ask it before the first page and after
// every page.
void TFrameWB::enableMoves() {
    Button_Back->setEnabled(WebBrowser1->canGoBack());
    Button_Forward->setEnabled(WebBrowser1->canGoForward());
}

void TFrameWB::documentComplete() {
    enableMoves();
    const std::string address = currentAddress();
    StaticText1->setText(toQt(address));
    message(address);
}

// --- The navigation bar --------------------------------------------------------------

void TFrameWB::GoBack() {
    if (WebBrowser1->goBack())
        message("GoBack");
    else
        message("Can not Go Back.");
}

void TFrameWB::GoForward() {
    if (WebBrowser1->goForward())
        message("GoForward");
    else
        message("Can not Go Forward.");
}

void TFrameWB::Reload() {
    if (WebBrowser1->isBusy()) WebBrowser1->stop();
    WebBrowser1->refresh();
}

void TFrameWB::Stop() {
    WebBrowser1->stop();
}

void TFrameWB::Home() {
    if (!host_ || !host_->webHome()) WebBrowser1->goHome();
}

void TFrameWB::NewNode() {
    if (host_) host_->webNewNode(currentAddress());
}

void TFrameWB::WebBrowserButton() {
    openWithShell(currentAddress());
}

void TFrameWB::IE() {
    const std::string address = currentAddress();
    if (address.empty() || address == "data:") {
        message("No address to open.");
        return;
    }
    openOnDesktop(address);
}

void TFrameWB::wheelEvent(QWheelEvent* event) {
    // The wheel never reaches the holder view behind.
    event->accept();
}

}  // namespace zel
