#include "views/WebBrowser.h"

#include <unistd.h>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QStringDecoder>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <atomic>
#include <cstdlib>
#include <vector>

#include "views/ViewText.h"

#ifdef ZEL_HAVE_WEBENGINE
#include <QPointer>
#include <QTemporaryFile>
#include <QWebEngineHistory>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineView>
#endif

namespace zel {

namespace {

std::atomic<bool> internetAllowed{false};

// Schemes that never leave the machine.
[[maybe_unused]] bool isLocalScheme(const QString& scheme) {
    return scheme == QLatin1String("file") || scheme == QLatin1String("data") ||
           scheme == QLatin1String("about") || scheme == QLatin1String("blob") ||
           scheme == QLatin1String("qrc");
}

[[maybe_unused]] bool isWebScheme(const QString& scheme) {
    return scheme == QLatin1String("http") || scheme == QLatin1String("https");
}

QString escaped(const QString& text) {
    return text.toHtmlEscaped();
}

QString noticePage(const QString& title, const QString& text, const QUrl& link = {}) {
    QString page =
        QStringLiteral("<html><body><h3>%1</h3><p>%2</p>").arg(escaped(title), escaped(text));
    if (link.isValid())
        page += QStringLiteral("<p><a href=\"%1\">%2</a></p>")
                    .arg(escaped(link.toString()), escaped(link.toDisplayString()));
    return page + QStringLiteral("</body></html>");
}

// A folder as a page of links, parent first.
QString folderPage(const QString& path) {
    QDir folder(path);
    QString page =
        QStringLiteral("<html><body><h3>%1</h3><ul>").arg(escaped(folder.absolutePath()));
    page += QStringLiteral("<li><a href=\"%1\">..</a></li>")
                .arg(escaped(
                    QUrl::fromLocalFile(folder.absoluteFilePath(QStringLiteral(".."))).toString()));
    const QFileInfoList entries =
        folder.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::DirsFirst | QDir::Name);
    for (const QFileInfo& entry : entries) {
        QString name = entry.fileName();
        if (entry.isDir()) name += QLatin1Char('/');
        page += QStringLiteral("<li><a href=\"%1\">%2</a></li>")
                    .arg(escaped(QUrl::fromLocalFile(entry.absoluteFilePath()).toString()),
                         escaped(name));
    }
    return page + QStringLiteral("</ul></body></html>");
}

bool isPicture(const QString& suffix) {
    static const QStringList pictures = {QStringLiteral("gif"), QStringLiteral("png"),
                                         QStringLiteral("jpg"), QStringLiteral("jpeg"),
                                         QStringLiteral("bmp"), QStringLiteral("ico")};
    return pictures.contains(suffix.toLower());
}

bool isPlainText(const QString& suffix) {
    static const QStringList texts = {QStringLiteral("txt"), QStringLiteral("md"),
                                      QStringLiteral("ini"), QStringLiteral("log"),
                                      QStringLiteral("csv")};
    return texts.contains(suffix.toLower());
}

bool isMarkup(const QString& suffix) {
    static const QStringList markup = {QStringLiteral("html"), QStringLiteral("htm"),
                                       QStringLiteral("xml")};
    return markup.contains(suffix.toLower());
}

// A text file's characters: UTF-8 when its bytes are valid UTF-8, else
// Shift_JIS, the program's own text.
QString fileText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray bytes = file.readAll();
    auto decoder = QStringDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (!decoder.hasError()) return text;
    return toQt(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

// --- The text browser --------------------------------------------------------------

class TextWebBrowser : public WebBrowser {
  public:
    explicit TextWebBrowser(QWidget* parent) : WebBrowser(parent) {
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        view_ = new QTextBrowser(this);
        view_->setOpenLinks(false);
        view_->setOpenExternalLinks(false);
        layout->addWidget(view_);
        connect(view_, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
            navigate(url.isRelative() ? view_->source().resolved(url) : url);
        });
    }

    void navigate(const QUrl& url) override { push({url, {}, {}}); }
    void showHtml(const QString& html, const QUrl& base) override { push({{}, html, base}); }
    bool goBack() override { return step(-1); }
    bool goForward() override { return step(1); }
    void goHome() override { navigate(QUrl(QStringLiteral("about:blank"))); }
    void refresh() override {
        if (at_ >= 0) display();
    }
    void stop() override {}
    QUrl currentUrl() const override {
        return at_ >= 0 ? pages_[static_cast<std::size_t>(at_)].url : QUrl();
    }
    QString title() const override { return view_->documentTitle(); }
    bool isBusy() const override { return false; }
    bool canGoBack() const override { return at_ > 0; }
    bool canGoForward() const override { return at_ + 1 < static_cast<int>(pages_.size()); }
    bool isFullBrowser() const override { return false; }

  private:
    struct Page {
        QUrl url;
        QString html;
        QUrl base;
    };

    void push(Page page) {
        pages_.resize(static_cast<std::size_t>(at_ + 1));
        pages_.push_back(std::move(page));
        at_ = static_cast<int>(pages_.size()) - 1;
        display();
    }

    bool step(int by) {
        const int next = at_ + by;
        if (next < 0 || next >= static_cast<int>(pages_.size())) return false;
        at_ = next;
        display();
        return true;
    }

    void display() {
        const Page& page = pages_[static_cast<std::size_t>(at_)];
        view_->document()->setBaseUrl(page.base);
        if (!page.url.isValid() || page.url.isEmpty())
            view_->setHtml(page.html);
        else
            displayAddress(page.url);
        emit commandStateChanged(2, canGoBack());
        emit commandStateChanged(1, canGoForward());
        emit commandStateChanged(-1, false);
        emit documentComplete();
    }

    void displayAddress(const QUrl& url) {
        if (url.scheme() == QLatin1String("about")) {
            view_->clear();
            return;
        }
        if (!url.isLocalFile()) {
            view_->setHtml(noticePage(
                QStringLiteral("Not shown here"),
                QStringLiteral("This view shows local pages only, since the full browser "
                               "could not start: %1. \"WebBrowser\" opens the address outside.")
                    .arg(webEngineUnavailableReason()),
                url));
            return;
        }
        const QFileInfo file(url.toLocalFile());
        view_->document()->setBaseUrl(url);
        if (file.isDir()) {
            view_->setHtml(folderPage(file.absoluteFilePath()));
        } else if (!file.exists()) {
            view_->setHtml(noticePage(QStringLiteral("Not found"), file.absoluteFilePath()));
        } else if (isPicture(file.suffix())) {
            view_->setHtml(QStringLiteral("<img src=\"%1\">").arg(escaped(url.toString())));
        } else if (isPlainText(file.suffix())) {
            view_->setPlainText(fileText(file.absoluteFilePath()));
        } else if (isMarkup(file.suffix())) {
            view_->setSource(url);
        } else {
            view_->setHtml(noticePage(QStringLiteral("Not shown here"), file.absoluteFilePath()));
        }
    }

    QTextBrowser* view_;
    std::vector<Page> pages_;
    int at_ = -1;
};

// --- The WebEngine browser ---------------------------------------------------------

#ifdef ZEL_HAVE_WEBENGINE

// Every request of every page goes through here.
class InternetGate : public QWebEngineUrlRequestInterceptor {
  public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
    void interceptRequest(QWebEngineUrlRequestInfo& info) override {
        if (!webInternetAllowed() && !isLocalScheme(info.requestUrl().scheme())) info.block(true);
    }
};

QWebEngineProfile* sharedProfile() {
    static QPointer<QWebEngineProfile> profile;
    if (profile) return profile;
    // Off the record: nothing of the pages is kept on disk.
    profile = new QWebEngineProfile(qApp);
    profile->setUrlRequestInterceptor(new InternetGate(profile));
    profile->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
    profile->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    QWebEngineSettings* settings = profile->settings();
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    settings->setAttribute(QWebEngineSettings::DnsPrefetchEnabled, false);
    settings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    settings->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, false);
    settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    settings->setAttribute(QWebEngineSettings::ScreenCaptureEnabled, false);
    settings->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
    settings->setDefaultTextEncoding(QStringLiteral("Shift_JIS"));
    return profile;
}

class GuardedPage : public QWebEnginePage {
  public:
    explicit GuardedPage(QObject* parent) : QWebEnginePage(sharedProfile(), parent) {}

  protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame) override {
        if (isMainFrame)
            settings()->setAttribute(QWebEngineSettings::JavascriptEnabled,
                                     webInternetAllowed() && isWebScheme(url.scheme()));
        return true;
    }
    // Links meant for a new window open in this one.
    QWebEnginePage* createWindow(WebWindowType) override { return this; }
};

class FullWebBrowser : public WebBrowser {
  public:
    explicit FullWebBrowser(QWidget* parent) : WebBrowser(parent) {
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        view_ = new QWebEngineView(this);
        view_->setPage(new GuardedPage(view_));
        layout->addWidget(view_);
        connect(view_, &QWebEngineView::loadStarted, this, [this] {
            busy_ = true;
            emit commandStateChanged(-1, true);
        });
        connect(view_, &QWebEngineView::loadFinished, this, [this] {
            busy_ = false;
            emit commandStateChanged(-1, false);
            emit documentComplete();
        });
        const std::pair<QWebEnginePage::WebAction, int> moves[] = {{QWebEnginePage::Back, 2},
                                                                   {QWebEnginePage::Forward, 1}};
        for (const auto& [action, command] : moves) {
            QAction* move = view_->pageAction(action);
            connect(move, &QAction::changed, this, [this, move, command = command] {
                emit commandStateChanged(command, move->isEnabled());
            });
        }
    }

    void navigate(const QUrl& url) override {
        page_.reset();
        view_->load(url);
    }
    void showHtml(const QString& html, const QUrl& base) override {
        view_->page()->settings()->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
        const QByteArray bytes = html.toUtf8();
        // setHtml takes at most 2 MB; larger pages are read from a file.
        constexpr qsizetype kMostInline = 1'500'000;
        if (bytes.size() <= kMostInline) {
            page_.reset();
            view_->setHtml(html, base);
            return;
        }
        page_ = std::make_unique<QTemporaryFile>(QDir::tempPath() +
                                                 QStringLiteral("/zel-page-XXXXXX.html"));
        if (!page_->open() || page_->write(bytes) != bytes.size() || !page_->flush()) {
            view_->setHtml(noticePage(QStringLiteral("Not shown"), page_->errorString()));
            return;
        }
        view_->load(QUrl::fromLocalFile(page_->fileName()));
    }
    bool goBack() override {
        if (!view_->history()->canGoBack()) return false;
        view_->back();
        return true;
    }
    bool goForward() override {
        if (!view_->history()->canGoForward()) return false;
        view_->forward();
        return true;
    }
    void goHome() override { navigate(QUrl(QStringLiteral("about:blank"))); }
    void refresh() override { view_->reload(); }
    void stop() override { view_->stop(); }
    QUrl currentUrl() const override { return view_->url(); }
    QString title() const override { return view_->title(); }
    bool isBusy() const override { return busy_; }
    bool canGoBack() const override { return view_->history()->canGoBack(); }
    bool canGoForward() const override { return view_->history()->canGoForward(); }
    bool isFullBrowser() const override { return true; }

  private:
    QWebEngineView* view_;
    bool busy_ = false;
    // The file a large page is read from, kept while it is shown.
    std::unique_ptr<QTemporaryFile> page_;
};

#endif

}  // namespace

void setWebInternetAllowed(bool allowed) {
    internetAllowed = allowed;
}

bool webInternetAllowed() {
    return internetAllowed;
}

bool webEngineCanStart() {
    return webEngineUnavailableReason().isEmpty();
}

QString webEngineUnavailableReason() {
#ifdef ZEL_HAVE_WEBENGINE
    if (qEnvironmentVariable("ZEL_WEB_VIEW") == QLatin1String("text"))
        return QStringLiteral("ZEL_WEB_VIEW=text asks for the text view");
    QString helper = qEnvironmentVariable("QTWEBENGINE_PROCESS_PATH");
    if (helper.isEmpty())
        helper = QLibraryInfo::path(QLibraryInfo::LibraryExecutablesPath) +
                 QStringLiteral("/QtWebEngineProcess");
    if (!QFileInfo(helper).isExecutable())
        return QStringLiteral("its helper program %1 is missing").arg(helper);
    // As root, Chromium ends the whole process unless its sandbox is off.
    if (::geteuid() == 0) {
        const bool noSandbox = qEnvironmentVariable("QTWEBENGINE_CHROMIUM_FLAGS")
                                   .contains(QLatin1String("--no-sandbox")) ||
                               qEnvironmentVariableIntValue("QTWEBENGINE_DISABLE_SANDBOX") == 1;
        if (!noSandbox)
            return QStringLiteral(
                "the program runs as root and QTWEBENGINE_CHROMIUM_FLAGS lacks --no-sandbox");
    }
    return {};
#else
    return QStringLiteral("this program was built without Qt WebEngine");
#endif
}

WebBrowser* makeWebBrowser(QWidget* parent) {
    WebBrowser* browser = nullptr;
#ifdef ZEL_HAVE_WEBENGINE
    if (webEngineCanStart()) browser = new FullWebBrowser(parent);
#endif
    if (!browser) browser = new TextWebBrowser(parent);
    browser->setObjectName(QStringLiteral("WebBrowser1"));
    return browser;
}

}  // namespace zel
