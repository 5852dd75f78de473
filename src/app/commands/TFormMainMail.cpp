// Mail from the window: the send window for the current node and the
// receive window for the current holder. Both windows reach the model only
// through the host below, so their changes keep the command protocol.

#include <QObject>

#include "app/window/MemoFileUI.h"
#include "app/window/TFormMainScript.h"
#include "mail/ui/MailHost.h"
#include "mail/ui/TFormReciveMail1.h"
#include "mail/ui/TFormSendMail2.h"
#include "model/MemoHolder.h"
#include "platform/Clock.h"

namespace zel {

namespace {

// The main window as the mail windows see it; a child of the window, so it
// lives exactly as long as the windows it serves.
class WindowMailHost : public QObject, public MailHost {
  public:
    explicit WindowMailHost(TFormMainScript& window) : QObject(&window), window_(window) {
        setObjectName("zelMailHost");
    }

    MemoFile* memoFile() const override { return window_.aFile.get(); }
    MemoHolder* getCurHolder() const override { return window_.getCurHolder(); }
    MemoNode* getCurMemoNode() const override { return window_.getCurMemoNode(); }
    bool nowDoing() override { return window_.nowDoing(); }
    void startDoing_(std::string_view name) override { window_.startDoing_(name); }
    void doneDoing_(std::string_view text) override { window_.doneDoing_(text); }
    bool checkUIReadOnly() override { return window_.checkUIReadOnly(); }
    bool checkHolderReadOnly() override { return window_.checkHolderReadOnly(); }
    int UI2Model() override { return window_.UI2Model(); }
    int Model2UI() override {
        window_.Model2UI();
        return 0;
    }
    void holderChanged(MemoHolder& holder) override {
        holder.changed = true;
        window_.refreshHolderList();
    }
    void memoFileChanged() override { window_.aFile->changed = true; }
    void messageDoing_(std::string_view text) override { window_.messageDoing_(text); }
    void errorBox(std::string_view text) override { window_.prompter().error(text); }
    bool askPassword(std::string_view prompt, std::string& password) override {
        return window_.prompter().passwordQuery("Password", prompt, password);
    }
    bool isBreakRequested() override { return window_.isBreakRequested(); }
    QFont windowFont() const override { return window_.font(); }

  private:
    TFormMainScript& window_;
};

MailHost& mailHost(TFormMainScript& window) {
    if (auto* host = window.findChild<WindowMailHost*>("zelMailHost", Qt::FindDirectChildrenOnly))
        return *host;
    return *new WindowMailHost(window);
}

// Shows a companion over the middle of the main window, not minimised.
void showCentred(QWidget& form, const QWidget& over) {
    form.setWindowState(form.windowState() & ~Qt::WindowMinimized);
    form.move(over.geometry().center() - form.rect().center());
    form.show();
    form.raise();
}

}  // namespace

int TFormMainScript::UISendMail() {
    if (refuse(Busy)) return kFailed;
    if (!getCurMemoNode()) return kNoNode;
    UI2Model();
    auto* form = companion<TFormSendMail2>();
    form->setMainForm(&mailHost(*this));
    form->fill();
    showCentred(*form, *this);
    return 0;
}

int TFormMainScript::UIReciveMail() {
    auto* form = companion<TFormReciveMail1>();
    form->setMainForm(&mailHost(*this));
    form->setFont(font());
    form->fill();
    showCentred(*form, *this);
    messageDoing_("Show FormReciveMail " + formatDateTime("yyyy/mm/dd hh:nn:ss:zzz", clockNow()));
    return 0;
}

}  // namespace zel
