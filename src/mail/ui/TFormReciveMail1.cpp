#include "mail/ui/TFormReciveMail1.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QProxyStyle>
#include <QVBoxLayout>

#include "mail/ui/MailHost.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "object/Agents.h"

namespace zel {

namespace {

// The password box shows "#" for every character typed.
class HashPasswordStyle : public QProxyStyle {
  public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* data) const override {
        if (hint == SH_LineEdit_PasswordCharacter) return '#';
        return QProxyStyle::styleHint(hint, option, widget, data);
    }
};

// Receiving asks the window for Break and shows its progress there.
class ReceiveAgent : public AgentAPLAbs {
  public:
    ReceiveAgent(MailHost& host, MailStatusBar& status) : host_(host), status_(status) {}
    bool isBreak_() override { return host_.isBreakRequested(); }
    int message_(std::string_view text) override {
        status_.setPanel(1, text);
        return 0;
    }

  private:
    MailHost& host_;
    MailStatusBar& status_;
};

}  // namespace

TFormReciveMail1::TFormReciveMail1(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("FormReciveMail1");
    setWindowTitle("FormReciveMail1");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 0);

    auto* grid = new QGridLayout;
    Edit_POP3Server = addBox(grid, 0, 0, "POP3Server", "Edit_POP3Server");
    Edit_UserID = addBox(grid, 1, 0, "UserID", "Edit_UserID");
    Edit_Password = addBox(grid, 2, 0, "Password", "Edit_Password");
    Edit_Password->setEchoMode(QLineEdit::Password);
    auto* hashes = new HashPasswordStyle;
    hashes->setParent(this);
    Edit_Password->setStyle(hashes);
    Edit_POP3Port = addBox(grid, 0, 1, "POP3Port", "Edit_POP3Port");
    Edit_POP3Port->setPlaceholderText("110");
    Edit_Security = addBox(grid, 1, 1, "Security", "Edit_Security");
    Edit_Security->setPlaceholderText("none, STLS or TLS");
    CheckBox_DeleteOnRead = new QCheckBox("DeleteOnRead", this);
    CheckBox_DeleteOnRead->setObjectName("CheckBox_DeleteOnRead");
    grid->addWidget(CheckBox_DeleteOnRead, 2, 3);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    layout->addLayout(grid);

    auto* buttons = new QHBoxLayout;
    Button_Hide = addButton(this, buttons, "Hide", "Button_Hide", &TFormReciveMail1::HideBtnClick);
    Button_Connect =
        addButton(this, buttons, "Connect", "Button_Connect", &TFormReciveMail1::ConnectBtnClick);
    Button_Recive =
        addButton(this, buttons, "Recive", "Button_Recive", &TFormReciveMail1::ReciveMailBtnClick);
    Button_SetHolder = addButton(this, buttons, "Set Holder", "Button_SetHolder",
                                 &TFormReciveMail1::SetHolderBtnClick);
    Button_SetMemoFile = addButton(this, buttons, "Set MemoFile", "Button_SetMemoFile",
                                   &TFormReciveMail1::SetMemoFileBtnClick);
    buttons->addStretch();
    layout->addLayout(buttons);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName("Memo1");
    layout->addWidget(Memo1, 1);
    StatusBar1 = new MailStatusBar(this);
    StatusBar1->setObjectName("StatusBar1");
    layout->addWidget(StatusBar1);
    StatusBar1->setPanel(0, "Disconect");
    resize(520, 320);
}

TFormReciveMail1::~TFormReciveMail1() {
    // Without QUIT the server keeps the messages marked for deletion.
    NMPOP31.abandon();
}

void TFormReciveMail1::fill() {
    if (!mainForm_) return;
    MemoHolder* holder = mainForm_->getCurHolder();
    ReceiveSettings s =
        receiveSettingsOf(holder, mainForm_->getCurMemoNode(), mainForm_->memoFile());
    setBoxText(Edit_POP3Server, s.pop3Server);
    setBoxText(Edit_UserID, s.userID);
    setBoxText(Edit_POP3Port, s.pop3Port);
    setBoxText(Edit_Security, s.pop3Security);
    CheckBox_DeleteOnRead->setChecked(s.deleteOnRead);
}

ReceiveSettings TFormReciveMail1::boxes() const {
    ReceiveSettings s;
    s.pop3Server = boxText(Edit_POP3Server);
    s.userID = boxText(Edit_UserID);
    s.pop3Port = boxText(Edit_POP3Port);
    s.pop3Security = boxText(Edit_Security);
    s.deleteOnRead = CheckBox_DeleteOnRead->isChecked();
    return s;
}

void TFormReciveMail1::ConnectBtnClick() {
    if (NMPOP31.isOpen()) {
        MailResult r = NMPOP31.quit();
        NMPOP31Disconnect();
        if (!r.ok && mainForm_) mainForm_->errorBox(r.error);
        return;
    }
    const ReceiveSettings s = boxes();
    deleteOnRead_ = s.deleteOnRead;
    Pop3ConnectRequest request;
    std::string error;
    if (!pop3RequestOf(s, boxText(Edit_Password), request, error)) {
        if (mainForm_) mainForm_->errorBox(error);
        return;
    }
    MailResult r = NMPOP31.connect(request);
    request.password.assign(request.password.size(), '\0');
    if (!r.ok) {
        if (!NMPOP31.isOpen()) NMPOP31Disconnect();
        if (mainForm_) mainForm_->errorBox(r.error);
        return;
    }
    count_ = NMPOP31.messageCount();
    NMPOP31Connect();
}

void TFormReciveMail1::NMPOP31Connect() {
    StatusBar1->setPanel(0, "Conect");
    StatusBar1->setPanel(1, count_ <= 0 ? std::string("No message waiting")
                                        : std::to_string(count_) + " message in your mailbox");
}

void TFormReciveMail1::NMPOP31Disconnect() {
    StatusBar1->setPanel(0, "Disconect");
}

bool TFormReciveMail1::beginChange(const char* name, bool holderGuard) {
    if (!mainForm_ || mainForm_->nowDoing()) return false;
    if (mainForm_->checkUIReadOnly()) return false;
    if (holderGuard && mainForm_->checkHolderReadOnly()) return false;
    mainForm_->UI2Model();
    mainForm_->startDoing_(name);
    return true;
}

void TFormReciveMail1::ReciveMailBtnClick() {
    if (count_ < 1) {
        StatusBar1->setPanel(1, "No Message to Get");
        return;
    }
    if (!NMPOP31.isOpen()) {
        if (mainForm_) mainForm_->errorBox("Not Connected");
        return;
    }
    // Every message needs a holder to go into before it is fetched, let
    // alone deleted.
    if (!mainForm_ || !mainForm_->getCurHolder()) return;
    if (!beginChange("Recive Mail", true)) return;
    MemoHolder& holder = *mainForm_->getCurHolder();
    ReceiveAgent agent(*mainForm_, *StatusBar1);
    ReceiveOptions options;
    options.attachmentFolder = holder.getTempDir_();
    options.deleteEach = deleteOnRead_;
    options.agent = &agent;
    ReceiveReport report = receiveMailbox(NMPOP31, holder, options);
    const std::string done =
        "Recive " + std::to_string(report.nodes.size()) + "/" + std::to_string(count_);
    if (!report.nodes.empty()) mainForm_->holderChanged(holder);
    mainForm_->Model2UI();
    if (!NMPOP31.isOpen()) NMPOP31Disconnect();
    StatusBar1->setPanel(1, done);
    if (report.ok()) {
        mainForm_->doneDoing_("Done: " + done);
        return;
    }
    mainForm_->doneDoing_((report.stoppedByBreak ? "" : "Failure: ") +
                          (report.stoppedByBreak ? report.error : done));
    if (!report.stoppedByBreak) mainForm_->errorBox(report.error);
}

void TFormReciveMail1::SetHolderBtnClick() {
    if (!mainForm_ || !mainForm_->getCurHolder()) return;
    if (!beginChange("Set Holder", true)) return;
    MemoHolder& holder = *mainForm_->getCurHolder();
    storeReceiveSettings(holder, boxes());
    mainForm_->holderChanged(holder);
    mainForm_->Model2UI();
    mainForm_->doneDoing_("Done: Set Holder");
}

void TFormReciveMail1::SetMemoFileBtnClick() {
    if (!mainForm_ || !mainForm_->memoFile()) return;
    if (!beginChange("Set MemoFile", false)) return;
    storeReceiveSettings(*mainForm_->memoFile(), boxes());
    mainForm_->memoFileChanged();
    mainForm_->Model2UI();
    mainForm_->doneDoing_("Done: Set MemoFile");
}

void TFormReciveMail1::HideBtnClick() {
    hide();
}

}  // namespace zel
