#pragma once
// The web view: an embedded browser under a navigation bar. It shows a web
// node's address, a local file or a folder in the node view, and pages,
// files and web nodes in the web browser window (TFormWB).

#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QWidget>
#include <string>
#include <string_view>

#include "views/WebBrowser.h"

namespace zel {

class MemoNode;

// What the web view asks of the node view or window it sits in.
class TFrameWBHost {
  public:
    virtual ~TFrameWBHost() = default;
    virtual void webMessage(std::string_view text) = 0;
    // The node whose address is shown: relative addresses start from its
    // holder's folder. None in the web browser window.
    virtual MemoNode* webNode() = 0;
    // "Home": the node view written back and shown again; false when the
    // host has no node (the browser then goes to its home page).
    virtual bool webHome() { return false; }
    // "NewNode": a new web node of `address`; false when none was made.
    virtual bool webNewNode(std::string_view) { return false; }
};

class TFrameWB : public QWidget {
    Q_OBJECT
  public:
    explicit TFrameWB(QWidget* parent = nullptr);

    void setHost(TFrameWBHost* host) { host_ = host; }
    TFrameWBHost* host() const { return host_; }

    // Navigates to `address` (Shift_JIS: a web address, a file or a
    // folder); a relative path starts from the host node's holder folder,
    // an empty one is that folder. Nothing without a host.
    void showAddress(std::string_view address);
    // The host node's Filename as the address.
    void showNodeAddress();
    // The full address showAddress goes to (empty without a host).
    std::string resolvedAddress(std::string_view address) const;
    // HTML text (Shift_JIS) from memory, shown without scripts.
    void showHtml(std::string_view html);
    void message(std::string_view text);
    void setCursorShape(Qt::CursorShape shape);
    // The browser's current address, as the address line shows it.
    std::string currentAddress() const;

    // The navigation bar's buttons.
    void GoBack();
    void GoForward();
    void Reload();
    void Stop();
    void Home();
    void NewNode();
    void WebBrowserButton();
    void IE();

    QWidget* PanelTop;
    QPushButton* Button_Back;
    QPushButton* Button_Forward;
    QPushButton* Button_Reload;
    QPushButton* Button_Stop;
    QPushButton* Button_Home;
    QPushButton* Button_NewNode;
    QPushButton* Button_WebBrowser;
    QPushButton* Button_IE;
    QLabel* StaticText1;
    QMenu* PopupMenuAddress;
    WebBrowser* WebBrowser1;

  protected:
    void wheelEvent(QWheelEvent* event) override;

  private:
    void commandStateChange(int command, bool enabled);
    void enableMoves();
    void documentComplete();

    TFrameWBHost* host_ = nullptr;
};

}  // namespace zel
