#pragma once
// The send window: the current node as a plain-text mail. Filled from the
// node (settings inherited from holder and memo file, the memo text as the
// body), it connects to an SMTP server, sends, and stores its settings back
// into the node or the holder. Made once and kept; "Hide" and closing only
// hide it, and the connection stays open across sends and hiding.

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>

#include "mail/MailSettings.h"
#include "mail/SmtpClient.h"
#include "mail/ui/MailWidgets.h"

namespace zel {

class MailHost;

class TFormSendMail2 : public QWidget {
    Q_OBJECT
  public:
    explicit TFormSendMail2(QWidget* parent = nullptr);
    ~TFormSendMail2() override;

    // The main window the window works for; set by UISendMail.
    void setMainForm(MailHost* host) { mainForm_ = host; }
    MailHost* mainForm() const { return mainForm_; }
    // Shows the current node; without a main window nothing happens.
    void fill();

    // The buttons.
    void ConnectBtnClick();
    void DisconnectBtnClick();
    void SendMailBtnClick();
    void SetNodeBtnClick();
    void SetHolderBtnClick();
    void HideBtnClick();

    // What the connection reports.
    void NMSMTP1Connect();
    void NMSMTP1Disconnect();
    void NMSMTP1ConnectionFailed();
    void NMSMTP1Success();

    // The boxes as they stand.
    SendSettings boxes() const;
    std::vector<std::string> body() const;

    QLineEdit* Edit_SMTPServer;
    QLineEdit* Edit_Subject;
    QLineEdit* Edit_To;
    QLineEdit* Edit_CC;
    QLineEdit* Edit_BCC;
    QLineEdit* Edit_From;
    QLineEdit* Edit_ReplyTo;
    QLineEdit* Edit_UserID;
    QLineEdit* Edit_DateTimeSended;
    // Beyond the classic window: port, TLS and login.
    QLineEdit* Edit_SMTPPort;
    QComboBox* ComboBox_Security;
    QLineEdit* Edit_Login;
    QPushButton* Button_Connect;
    QPushButton* Button_Disconnect;
    QPushButton* Button_Send;
    QPushButton* Button_SetNode;
    QPushButton* Button_SetHolder;
    QPushButton* Button_Hide;
    QPlainTextEdit* Memo1;
    MailStatusBar* StatusBar1;

    SmtpClient NMSMTP1;

  private:
    void showBoxes(const SendSettings& settings);
    // The busy protocol and the guards for a change of the model; false
    // when the change must not run.
    bool beginChange(const char* name);
    void showFailure(const MailResult& result);

    MailHost* mainForm_ = nullptr;
};

}  // namespace zel
