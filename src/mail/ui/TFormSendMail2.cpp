#include "mail/ui/TFormSendMail2.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "mail/ui/MailHost.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "platform/Clock.h"
#include "text/LineList.h"
#include "views/ViewText.h"

namespace zel {

TFormSendMail2::TFormSendMail2(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("FormSendMail2");
    setWindowTitle("FormSendMail2");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 0);

    auto* panel = new QWidget(this);
    panel->setObjectName("Panel1");
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(0, 0, 0, 0);
    Edit_SMTPServer = addBox(grid, 0, 0, "SMTPServer", "Edit_SMTPServer");
    Edit_Subject = addBox(grid, 1, 0, "Subject", "Edit_Subject");
    Edit_To = addBox(grid, 2, 0, "To", "Edit_To");
    Edit_CC = addBox(grid, 3, 0, "CC", "Edit_CC");
    Edit_BCC = addBox(grid, 4, 0, "BCC", "Edit_BCC");
    Edit_From = addBox(grid, 0, 1, "From", "Edit_From");
    Edit_ReplyTo = addBox(grid, 1, 1, "ReplyTo", "Edit_ReplyTo");
    Edit_UserID = addBox(grid, 2, 1, "UserID", "Edit_UserID");
    Edit_DateTimeSended = addBox(grid, 3, 1, "DateTimeSended", "Edit_DateTimeSended");
    auto* extras = new QHBoxLayout;
    Edit_SMTPPort = new QLineEdit;
    Edit_SMTPPort->setObjectName("Edit_SMTPPort");
    Edit_SMTPPort->setPlaceholderText("25");
    Edit_SMTPPort->setMaximumWidth(60);
    ComboBox_Security = new QComboBox;
    ComboBox_Security->setObjectName("ComboBox_Security");
    ComboBox_Security->setEditable(true);
    ComboBox_Security->addItems({"", "STARTTLS", "TLS"});
    Edit_Login = new QLineEdit;
    Edit_Login->setObjectName("Edit_Login");
    Edit_Login->setPlaceholderText("no login");
    auto* securityLabel = new QLabel("Security");
    securityLabel->setBuddy(ComboBox_Security);
    auto* loginLabel = new QLabel("Login");
    loginLabel->setBuddy(Edit_Login);
    extras->addWidget(Edit_SMTPPort);
    for (QWidget* w :
         std::initializer_list<QWidget*>{securityLabel, ComboBox_Security, loginLabel, Edit_Login})
        extras->addWidget(w);
    auto* portLabel = new QLabel("SMTPPort");
    portLabel->setBuddy(Edit_SMTPPort);
    extras->addStretch();
    grid->addWidget(portLabel, 5, 0);
    grid->addLayout(extras, 5, 1, 1, 3);
    // Both columns of boxes share the width.
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    layout->addWidget(panel);

    auto* buttons = new QHBoxLayout;
    Button_Connect =
        addButton(this, buttons, "Connect", "Button_Connect", &TFormSendMail2::ConnectBtnClick);
    Button_Disconnect = addButton(this, buttons, "Disconnect", "Button_Disconnect",
                                  &TFormSendMail2::DisconnectBtnClick);
    Button_Send =
        addButton(this, buttons, "Send", "Button_Send", &TFormSendMail2::SendMailBtnClick);
    Button_SetNode =
        addButton(this, buttons, "Set Node", "Button_SetNode", &TFormSendMail2::SetNodeBtnClick);
    Button_SetHolder = addButton(this, buttons, "Set Holder", "Button_SetHolder",
                                 &TFormSendMail2::SetHolderBtnClick);
    Button_Hide = addButton(this, buttons, "Hide", "Button_Hide", &TFormSendMail2::HideBtnClick);
    buttons->addStretch();
    layout->addLayout(buttons);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName("Memo1");
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    layout->addWidget(Memo1, 1);

    StatusBar1 = new MailStatusBar(this);
    StatusBar1->setObjectName("StatusBar1");
    layout->addWidget(StatusBar1);
    StatusBar1->setPanel(0, "Disconnect");
    resize(680, 480);
}

TFormSendMail2::~TFormSendMail2() {
    // The program ends: no QUIT that could keep it waiting for a server.
    NMSMTP1.abandon();
}

void TFormSendMail2::showBoxes(const SendSettings& s) {
    setBoxText(Edit_SMTPServer, s.smtpServer);
    setBoxText(Edit_Subject, s.subject);
    setBoxText(Edit_To, s.to);
    setBoxText(Edit_CC, s.cc);
    setBoxText(Edit_BCC, s.bcc);
    setBoxText(Edit_From, s.from);
    setBoxText(Edit_ReplyTo, s.replyTo);
    setBoxText(Edit_UserID, s.userID);
    setBoxText(Edit_DateTimeSended, s.dateTimeSended);
    setBoxText(Edit_SMTPPort, s.smtpPort);
    ComboBox_Security->setEditText(toQt(s.smtpSecurity));
    setBoxText(Edit_Login, s.smtpLogin);
}

void TFormSendMail2::fill() {
    if (!mainForm_) return;
    MemoNode* node = mainForm_->getCurMemoNode();
    if (!node) return;
    showBoxes(sendSettingsOf(*node));
    QStringList lines;
    for (const auto& line : node->memo) lines << toQt(line);
    Memo1->setPlainText(lines.join('\n'));
}

SendSettings TFormSendMail2::boxes() const {
    SendSettings s;
    s.smtpServer = boxText(Edit_SMTPServer);
    s.subject = boxText(Edit_Subject);
    s.to = boxText(Edit_To);
    s.cc = boxText(Edit_CC);
    s.bcc = boxText(Edit_BCC);
    s.from = boxText(Edit_From);
    s.replyTo = boxText(Edit_ReplyTo);
    s.userID = boxText(Edit_UserID);
    s.dateTimeSended = boxText(Edit_DateTimeSended);
    s.smtpPort = boxText(Edit_SMTPPort);
    s.smtpSecurity = fromQt(ComboBox_Security->currentText());
    s.smtpLogin = boxText(Edit_Login);
    return s;
}

std::vector<std::string> TFormSendMail2::body() const {
    const QString text = Memo1->toPlainText();
    if (text.isEmpty()) return {};
    std::vector<std::string> lines;
    for (const QString& line : text.split('\n')) lines.push_back(fromQt(line));
    return lines;
}

void TFormSendMail2::showFailure(const MailResult& result) {
    if (result.connectFailed) NMSMTP1ConnectionFailed();
    if (result.closed && !NMSMTP1.isOpen()) NMSMTP1Disconnect();
    if (mainForm_) mainForm_->errorBox(result.error);
}

void TFormSendMail2::ConnectBtnClick() {
    if (NMSMTP1.isOpen()) DisconnectBtnClick();
    SmtpConnectRequest request;
    std::string error;
    if (!smtpRequestOf(boxes(), request, error)) {
        if (mainForm_) mainForm_->errorBox(error);
        return;
    }
    if (!request.login.empty()) {
        if (!mainForm_ ||
            !mainForm_->askPassword("Password for " + request.login, request.password))
            return;
    }
    MailResult r = NMSMTP1.connect(request);
    request.password.assign(request.password.size(), '\0');
    if (!r.ok) return showFailure(r);
    NMSMTP1Connect();
}

void TFormSendMail2::DisconnectBtnClick() {
    if (!NMSMTP1.isOpen()) return;
    MailResult r = NMSMTP1.disconnect();
    NMSMTP1Disconnect();
    if (!r.ok && mainForm_) mainForm_->errorBox(r.error);
}

void TFormSendMail2::SendMailBtnClick() {
    if (mainForm_ && mainForm_->nowDoing()) return;
    const SendSettings settings = boxes();
    const DateTime t = clockNow();
    MailResult r = NMSMTP1.send(outgoingMailOf(settings, body()), t, zoneOffsetMinutes(t));
    if (!r.ok) {
        if (!r.refused.empty()) r.error += "\nRefused:\n" + linesText(r.refused);
        return showFailure(r);
    }
    NMSMTP1Success();
    setBoxText(Edit_DateTimeSended, sentStamp(t));
    if (!r.refused.empty() && mainForm_) {
        std::string text = "Sent, but the server refused:";
        for (const auto& refused : r.refused) text += "\n" + refused;
        mainForm_->errorBox(text);
    }
}

bool TFormSendMail2::beginChange(const char* name) {
    if (!mainForm_ || mainForm_->nowDoing()) return false;
    if (mainForm_->checkUIReadOnly() || mainForm_->checkHolderReadOnly()) return false;
    mainForm_->UI2Model();
    mainForm_->startDoing_(name);
    return true;
}

void TFormSendMail2::SetNodeBtnClick() {
    if (!mainForm_ || !mainForm_->getCurMemoNode()) return;
    if (!beginChange("Set Node")) return;
    MemoNode* node = mainForm_->getCurMemoNode();
    storeSendSettingsInNode(*node, boxes());
    node->memo = body();
    if (MemoHolder* holder = mainForm_->getCurHolder()) mainForm_->holderChanged(*holder);
    mainForm_->Model2UI();
    mainForm_->doneDoing_("Done: Set Node");
}

void TFormSendMail2::SetHolderBtnClick() {
    if (!mainForm_ || !mainForm_->getCurHolder()) return;
    if (!beginChange("Set Holder")) return;
    MemoHolder* holder = mainForm_->getCurHolder();
    storeSendSettingsInHolder(*holder, boxes());
    mainForm_->holderChanged(*holder);
    mainForm_->Model2UI();
    mainForm_->doneDoing_("Done: Set Holder");
}

void TFormSendMail2::HideBtnClick() {
    hide();
}

void TFormSendMail2::NMSMTP1Connect() {
    StatusBar1->setPanel(0, "Connect");
}

void TFormSendMail2::NMSMTP1Disconnect() {
    StatusBar1->setPanel(0, "Disconnect");
}

void TFormSendMail2::NMSMTP1ConnectionFailed() {
    StatusBar1->setPanel(1, "Connect Faile");
}

void TFormSendMail2::NMSMTP1Success() {
    StatusBar1->setPanel(1, "Success");
}

}  // namespace zel
