#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>
#include <filesystem>

#include "NodeViewTestSupport.h"
#include "formats/ImageSamples.h"
#include "formats/TContent.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "support/LocalHttpServer.h"
#include "support/TempFolder.h"
#include "views/TFormWB.h"
#include "views/TFrameWB.h"

namespace zel::test {
namespace {

// Lets window events through until `done` holds or `ms` milliseconds pass
// (a browser that cannot start must not hang the test).
bool waitFor(const std::function<bool()>& done, int ms = 20000) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > ms) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}

// Counts the documents a browser finished.
struct Loads {
    explicit Loads(WebBrowser* browser) {
        QObject::connect(browser, &WebBrowser::documentComplete, browser, [this] { ++count; });
    }
    int count = 0;
};

// A page that asks the server for a picture, a style sheet, a script and a
// frame, and has a script of its own that would retitle it.
std::string pageAsking(const LocalHttpServer& server) {
    return "<html><head><title>x</title><link rel=\"stylesheet\" href=\"" + server.url("/s.css") +
           "\"><script src=\"" + server.url("/s.js") + "\"></script></head><body><img src=\"" +
           server.url("/a.png") + "\"><iframe src=\"" + server.url("/frame.html") +
           "\"></iframe><p>local</p><script>document.title = 'ran';</script></body></html>";
}

class WebView : public ::testing::Test {
  protected:
    void SetUp() override {
        holder = &main.addHolder({"site", "text"});
        holder->putField_("FlagExtra", "\"true\"");
        holder->putField_("Filename", "\"" + dir.path("h.mxh") + "\"");
    }
    void TearDown() override { setWebInternetAllowed(false); }
    MemoNode& webNode(const std::string& address) {
        MemoNode& node = main.node("site");
        node.putField_("Content-Transfer-Encoding", "\"URL\"");
        node.putField_("Filename", "\"" + address + "\"");
        main.select(main.node("text"));
        main.select(node);
        return node;
    }
    TFrameWB* web() { return main.view->webView(); }

    TempFolder dir;
    FakeMainWindow main;
    MemoHolderUI* holder = nullptr;
};

TEST_F(WebView, RelativeAddressesStartFromTheHoldersFolder) {
    std::filesystem::create_directories(dir.osPath("pages"));
    writeBytes(dir.path("pages/a.html"), "<html><body>a</body></html>");
    webNode(".\\pages\\a.html");
    ASSERT_EQ(main.view->body(), TFrameMemoNode::Body::Web);
    EXPECT_EQ(web()->resolvedAddress(".\\pages\\a.html"), dir.path("pages/a.html"));
    EXPECT_EQ(web()->resolvedAddress(""), dir.path() + "/");
    EXPECT_EQ(web()->resolvedAddress("https://example.test/"), "https://example.test/");
    // The page shown goes into the address line and out as a message.
    ASSERT_TRUE(waitFor([&] {
        return web()->currentAddress() == dir.path("pages/a.html") && !web()->WebBrowser1->isBusy();
    }));
    ASSERT_TRUE(waitFor([&] { return main.contains(dir.path("pages/a.html")); }));
    EXPECT_EQ(web()->StaticText1->text().toStdString(), dir.path("pages/a.html"));
    // Without a host nothing is shown.
    TFrameWB lonely;
    lonely.showAddress("/tmp");
    EXPECT_EQ(lonely.resolvedAddress("./x"), "");
}

TEST_F(WebView, InternetOffMakesNoRequestAtAllAndNoteHtmlRunsNoScript) {
    LocalHttpServer server;
    server.answer("/page.html", {200, pageAsking(server), "Content-Type: text/html\r\n"});
    server.answer("/a.png", {200, pngOf(gradientBitmap(2, 2, 3)), "Content-Type: image/png\r\n"});
    writeBytes(dir.path("page.html"), pageAsking(server));

    // A local page in the node view, and a web address swapped for the offline page.
    main.internet = false;
    webNode(dir.path("page.html"));
    WebBrowser* browser = web()->WebBrowser1;
    ASSERT_TRUE(waitFor([&] {
        return browser->currentUrl().fileName() == QStringLiteral("page.html") &&
               !browser->isBusy();
    }));
    EXPECT_EQ(browser->title(), QStringLiteral("x"));
    webNode(server.url("/page.html"));
    EXPECT_TRUE(main.contains("Disable Access Internet. site"));

    // The web browser window goes wherever it is sent: the switch stops it.
    TFormWB window;
    WebBrowser* other = window.FrameWB1->WebBrowser1;
    Loads loads(other);
    auto load = [&](const std::function<void()>& go) {
        const int before = loads.count;
        go();
        return waitFor([&] { return loads.count > before && !other->isBusy(); });
    };
    ASSERT_TRUE(load([&] { window.showPage(pageAsking(server)); }));
    EXPECT_EQ(other->title(), QStringLiteral("x"));
    ASSERT_TRUE(load([&] { window.FrameWB1->showAddress(server.url("/page.html")); }));
    // Time for late requests (frames, scripts) to reach the server, if any would.
    waitFor([] { return false; }, 500);
    EXPECT_EQ(server.requestCount(), 0);

    // With the switch on, the same address reaches the server, and a page
    // from the web may run its scripts; the text browser never goes out.
    setWebInternetAllowed(true);
    ASSERT_TRUE(load([&] { window.FrameWB1->showAddress(server.url("/page.html")); }));
    if (other->isFullBrowser()) {
        ASSERT_TRUE(waitFor([&] { return server.requestCount() >= 2; }));
        ASSERT_TRUE(waitFor([&] { return other->title() == QStringLiteral("ran"); }));
    } else {
        waitFor([] { return false; }, 200);
        EXPECT_EQ(server.requestCount(), 0);
    }
}

TEST_F(WebView, TheTextBrowserShowsLocalPagesAndNeverGoesOut) {
    LocalHttpServer server;
    server.answer("/page.html", {200, pageAsking(server), "Content-Type: text/html\r\n"});
    writeBytes(dir.path("page.html"), pageAsking(server));
    qputenv("ZEL_WEB_VIEW", "text");
    TFormWB window;
    qunsetenv("ZEL_WEB_VIEW");
    WebBrowser* browser = window.FrameWB1->WebBrowser1;
    ASSERT_FALSE(browser->isFullBrowser());
    // Even with the switch on: this browser has no way to the network.
    setWebInternetAllowed(true);
    window.FrameWB1->showAddress(dir.path("page.html"));
    EXPECT_EQ(browser->title(), QStringLiteral("x"));
    window.showPage(pageAsking(server));
    EXPECT_EQ(browser->title(), QStringLiteral("x"));
    window.FrameWB1->showAddress(server.url("/page.html"));
    EXPECT_EQ(browser->currentUrl().toString().toStdString(), server.url("/page.html"));
    EXPECT_NE(browser->title(), QStringLiteral("x"));
    waitFor([] { return false; }, 300);
    EXPECT_EQ(server.requestCount(), 0);
    // Its history moves like the full browser's.
    EXPECT_TRUE(browser->canGoBack());
    window.FrameWB1->GoBack();
    EXPECT_EQ(window.statusPanel->text(), QStringLiteral("GoBack"));
    EXPECT_TRUE(browser->currentUrl().isEmpty());
}

TEST_F(WebView, NavigationMessagesAndTheWindowsOwnBar) {
    TFormWB window;
    EXPECT_EQ(window.windowTitle(), QStringLiteral("FormWB"));
    EXPECT_TRUE(window.FrameWB1->Button_NewNode->isHidden());
    QPushButton* back = window.FrameWB1->Button_Back;
    QPushButton* forward = window.FrameWB1->Button_Forward;
    EXPECT_FALSE(back->isEnabled());
    EXPECT_FALSE(forward->isEnabled());
    window.FrameWB1->GoBack();
    EXPECT_EQ(window.statusPanel->text(), QStringLiteral("Can not Go Back."));
    window.FrameWB1->GoForward();
    EXPECT_EQ(window.statusPanel->text(), QStringLiteral("Can not Go Forward."));

    writeBytes(dir.path("one.html"), "<html><body>1</body></html>");
    writeBytes(dir.path("two.html"), "<html><body>2</body></html>");
    WebBrowser* browser = window.FrameWB1->WebBrowser1;
    window.FrameWB1->showAddress(dir.path("one.html"));
    ASSERT_TRUE(waitFor(
        [&] { return browser->currentUrl().fileName() == "one.html" && !browser->isBusy(); }));
    // The first page: nowhere to go either way.
    EXPECT_FALSE(back->isEnabled());
    EXPECT_FALSE(forward->isEnabled());
    window.FrameWB1->showAddress(dir.path("two.html"));
    ASSERT_TRUE(waitFor(
        [&] { return browser->currentUrl().fileName() == "two.html" && !browser->isBusy(); }));
    ASSERT_TRUE(waitFor([&] { return window.FrameWB1->Button_Back->isEnabled(); }));
    window.FrameWB1->GoBack();
    EXPECT_EQ(window.statusPanel->text(), QStringLiteral("GoBack"));
    ASSERT_TRUE(waitFor(
        [&] { return browser->currentUrl().fileName() == "one.html" && !browser->isBusy(); }));
    ASSERT_TRUE(waitFor([&] { return forward->isEnabled() && !back->isEnabled(); }));

    // In a node view "NewNode" makes a web node of the page shown.
    webNode(dir.path("one.html"));
    EXPECT_FALSE(web()->Button_NewNode->isHidden());
    ASSERT_TRUE(waitFor([&] { return web()->currentAddress() == dir.path("one.html"); }));
    web()->NewNode();
    EXPECT_EQ(main.webNodes, std::vector<std::string>{dir.path("one.html")});
}

TEST_F(WebView, GifBodiesGoThroughAFileOfTheirOwn) {
    MemoNode& node = main.node("site");
    node.putField_("Content-Transfer-Encoding", "\"binary\"");
    node.putField_("Content-Type", "\"image/gif\"");
    node.content = std::make_unique<TContent>();
    node.content->stream = std::string("GIF89a\x01\x00\x01\x00\x00\x00\x00;", 14);
    main.select(node);
    ASSERT_EQ(main.view->body(), TFrameMemoNode::Body::Web);
    ASSERT_TRUE(waitFor([&] { return web()->WebBrowser1->currentUrl().isLocalFile(); }));
    const QFileInfo file(web()->WebBrowser1->currentUrl().toLocalFile());
    EXPECT_NE(file.fileName(), QStringLiteral("tmp.gif"));
    EXPECT_TRUE(file.fileName().endsWith(QStringLiteral(".gif")));
    EXPECT_TRUE(file.exists());
    main.select(main.node("text"));
    EXPECT_FALSE(QFileInfo::exists(file.absoluteFilePath()));
}

}  // namespace
}  // namespace zel::test
