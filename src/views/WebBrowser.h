#pragma once
// The embedded browser of the web views: Qt WebEngine where it can start,
// else a text browser with the same operations that shows local pages,
// files and folders and never fetches anything from the network.
//
// Plain text files (.txt and the like) without a declared encoding are read
// as the program's own text, Shift_JIS, unless they are valid UTF-8.
//
// All WebEngine views share one profile. While the "Internet" switch is off,
// its request interceptor blocks every request that would leave the machine
// (http, https, ws, wss, ftp and any other network scheme), whatever page
// or link asks for it. Scripts run only in pages fetched from the web while
// the switch is on: never in note HTML or in local files.

#include <QUrl>
#include <QWidget>

namespace zel {

class WebBrowser : public QWidget {
    Q_OBJECT
  public:
    using QWidget::QWidget;

    virtual void navigate(const QUrl& url) = 0;
    // HTML text from memory; relative references resolve against `base`.
    virtual void showHtml(const QString& html, const QUrl& base) = 0;
    // False when there is no page to go to.
    virtual bool goBack() = 0;
    virtual bool goForward() = 0;
    virtual void goHome() = 0;
    virtual void refresh() = 0;
    virtual void stop() = 0;
    virtual QUrl currentUrl() const = 0;
    // The title of the document shown.
    virtual QString title() const = 0;
    virtual bool isBusy() const = 0;
    virtual bool canGoBack() const = 0;
    virtual bool canGoForward() const = 0;
    // True for the WebEngine browser, false for the text browser.
    virtual bool isFullBrowser() const = 0;

  signals:
    // A command's availability changed: -1 a general update (the enabled
    // flag then tells whether the browser is busy), 1 going forward, 2 going
    // back.
    void commandStateChanged(int command, bool enabled);
    // A document has been loaded (or failed to load).
    void documentComplete();
};

// A browser for a web view: the full one when WebEngine can start.
WebBrowser* makeWebBrowser(QWidget* parent);
// WebEngine is built in, its helper program is installed, the sandbox
// question is settled (as root it needs --no-sandbox) and ZEL_WEB_VIEW is
// not "text".
bool webEngineCanStart();
// Why WebEngine cannot start, for the text browser's notices; empty when it can.
QString webEngineUnavailableReason();

// The "Internet" switch every browser obeys; off until the window says.
void setWebInternetAllowed(bool allowed);
bool webInternetAllowed();

}  // namespace zel
