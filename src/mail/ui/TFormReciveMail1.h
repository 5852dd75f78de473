#pragma once
// The receive window: log into a POP3 mailbox, see how many messages wait,
// and fetch them all into the current holder, one node per message, their
// attachments written into the temporary folder. Made once and kept;
// "Hide" and closing only hide it. The password is typed here each time and
// is never stored.

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>

#include "mail/MailReceiver.h"
#include "mail/MailSettings.h"
#include "mail/Pop3Client.h"
#include "mail/ui/MailWidgets.h"

namespace zel {

class MailHost;

class TFormReciveMail1 : public QWidget {
    Q_OBJECT
  public:
    explicit TFormReciveMail1(QWidget* parent = nullptr);
    ~TFormReciveMail1() override;

    void setMainForm(MailHost* host) { mainForm_ = host; }
    MailHost* mainForm() const { return mainForm_; }
    // The settings of the current holder (else memo file); the password stays.
    void fill();

    // The buttons. Connect toggles: on an open connection it says QUIT.
    void ConnectBtnClick();
    void ReciveMailBtnClick();
    void SetHolderBtnClick();
    void SetMemoFileBtnClick();
    void HideBtnClick();

    // What the connection reports.
    void NMPOP31Connect();
    void NMPOP31Disconnect();

    ReceiveSettings boxes() const;
    // The count the last successful Connect reported.
    int messageCount() const { return count_; }

    QLineEdit* Edit_POP3Server;
    QLineEdit* Edit_UserID;
    QLineEdit* Edit_Password;
    QCheckBox* CheckBox_DeleteOnRead;
    // Beyond the classic window: port and TLS.
    QLineEdit* Edit_POP3Port;
    QLineEdit* Edit_Security;
    QPushButton* Button_Hide;
    QPushButton* Button_Connect;
    QPushButton* Button_Recive;
    QPushButton* Button_SetHolder;
    QPushButton* Button_SetMemoFile;
    QPlainTextEdit* Memo1;
    MailStatusBar* StatusBar1;

    Pop3Client NMPOP31;

  private:
    bool beginChange(const char* name, bool holderGuard);

    MailHost* mainForm_ = nullptr;
    int count_ = 0;
    bool deleteOnRead_ = false;
};

}  // namespace zel
