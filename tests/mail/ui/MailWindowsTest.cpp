// The send and receive windows driven as a user would, against a host that
// records what they ask of the main window, and real servers.

#include <gtest/gtest.h>

#include <QApplication>
#include <QStyle>
#include <filesystem>
#include <regex>

#include "mail/MailServers.h"
#include "mail/MailTestSupport.h"
#include "mail/ui/MailHost.h"
#include "mail/ui/TFormReciveMail1.h"
#include "mail/ui/TFormSendMail2.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "support/TempFolder.h"

namespace zel {
namespace {

namespace fs = std::filesystem;

class FakeMailHost : public MailHost {
  public:
    FakeMailHost() {
        holder = file.createHolder_(-1);
        holder->putName_as_("H");
        holder->loaded = true;
        holder->addNode_(holder->newNode_(), "note");
        holder->addNode_(holder->newNode_(), "other");
        node = holder->byName_("note");
    }
    MemoFile* memoFile() const override { return const_cast<MemoFile*>(&file); }
    MemoHolder* getCurHolder() const override { return holder; }
    MemoNode* getCurMemoNode() const override { return node; }
    bool nowDoing() override { return busy; }
    void startDoing_(std::string_view name) override {
        log.push_back("start " + std::string(name));
    }
    void doneDoing_(std::string_view text) override { log.push_back("done " + std::string(text)); }
    bool checkUIReadOnly() override { return readOnly; }
    bool checkHolderReadOnly() override { return !holder || holder->isReadOnlyEffective_(); }
    int UI2Model() override {
        log.push_back("UI2Model");
        return 0;
    }
    int Model2UI() override {
        log.push_back("Model2UI");
        return 0;
    }
    void holderChanged(MemoHolder& h) override {
        h.changed = true;
        log.push_back("changed " + h.getName_());
    }
    void memoFileChanged() override { log.push_back("memo file changed"); }
    void messageDoing_(std::string_view text) override { log.emplace_back(text); }
    void errorBox(std::string_view text) override { errors.emplace_back(text); }
    bool askPassword(std::string_view, std::string& password) override {
        password = "pw";
        return true;
    }
    bool isBreakRequested() override { return false; }
    QFont windowFont() const override { return QApplication::font(); }

    MemoFile file;
    MemoHolder* holder;
    MemoNode* node;
    bool busy = false;
    bool readOnly = false;
    std::vector<std::string> log, errors;
};

TEST(SendWindowTest, FillsFromTheNodeAndRefillsForAnother) {
    FakeMailHost host;
    host.holder->putField_("Subject", "\"holder subject\"");
    host.node->memo = {"line 1", "line 2"};
    TFormSendMail2 window;
    window.setMainForm(&host);
    window.fill();
    EXPECT_EQ(window.Edit_Subject->text(), "holder subject");
    EXPECT_EQ(window.Edit_To->text(), "");
    EXPECT_EQ(window.Memo1->toPlainText(), "line 1\nline 2");
    EXPECT_EQ(window.windowTitle(), "FormSendMail2");
    EXPECT_EQ(window.StatusBar1->panel(0), "Disconnect");

    host.holder->removeField_("Subject");
    host.node = host.holder->byName_("other");
    window.fill();
    EXPECT_EQ(window.Edit_Subject->text(), "other");
    EXPECT_EQ(window.Memo1->toPlainText(), "");
}

TEST(SendWindowTest, SetNodeAndSetHolderFollowTheCommandProtocol) {
    FakeMailHost host;
    host.node->putField_("CC", "\"old@t\"");
    TFormSendMail2 window;
    window.setMainForm(&host);
    window.fill();
    window.Edit_CC->clear();
    window.Edit_To->setText(" b@t ");
    window.Edit_Subject->setText("other");
    window.Memo1->setPlainText("mail text");
    window.SetNodeBtnClick();
    EXPECT_EQ(host.node->getField_("CC"), "");
    EXPECT_EQ(host.node->getField_("To"), "\"b@t\"");
    EXPECT_NE(host.node->getName_(), "other");
    EXPECT_EQ(host.node->memo, std::vector<std::string>{"mail text"});
    EXPECT_TRUE(host.holder->changed);
    EXPECT_EQ(host.log, (std::vector<std::string>{"UI2Model", "start Set Node", "changed H",
                                                  "Model2UI", "done Done: Set Node"}));

    // A busy window or a read-only holder changes nothing.
    host.log.clear();
    host.busy = true;
    window.Edit_To->setText("c@t");
    window.SetHolderBtnClick();
    host.busy = false;
    host.holder->setReadOnly_(true);
    window.SetNodeBtnClick();
    EXPECT_EQ(host.node->getField_("To"), "\"b@t\"");
    EXPECT_EQ(host.holder->getField_("To"), "");
    EXPECT_TRUE(host.log.empty());
    host.holder->setReadOnly_(false);
    window.SetHolderBtnClick();
    EXPECT_EQ(host.holder->getField_("To"), "\"c@t\"");
}

TEST(SendWindowTest, FailuresShowInPanelsAndBoxes) {
    FakeMailHost host;
    TFormSendMail2 window;
    window.setMainForm(&host);
    window.fill();
    window.Edit_From->setText("a@t");
    window.Edit_To->setText("b@t");
    window.SendMailBtnClick();
    EXPECT_EQ(host.errors, std::vector<std::string>{"Not Connected"});
    window.Edit_SMTPServer->setText(
        QString::fromStdString("127.0.0.1:" + std::to_string(test::freeLoopbackPort())));
    window.ConnectBtnClick();
    EXPECT_EQ(window.StatusBar1->panel(1), "Connect Faile");
    EXPECT_EQ(window.StatusBar1->panel(0), "Disconnect");
    EXPECT_EQ(host.errors.size(), 2u);
}

TEST(SendWindowTest, ConnectSendAndDisconnectAgainstARealServer) {
    test::TempFolder folder;
    test::SmtpRecorder recorder(folder.path());
    std::string why;
    ASSERT_TRUE(recorder.start(why)) << why;
    FakeMailHost host;
    host.node->putField_("SMTPServer", "\"" + recorder.server() + "\"");
    host.holder->putField_("From", "\"a@t\"");
    host.node->putField_("To", "\"b@t\"");
    host.node->putField_("UserID", "\"client.test\"");
    host.node->memo = {"hello"};
    TFormSendMail2 window;
    window.setMainForm(&host);
    window.fill();
    window.ConnectBtnClick();
    EXPECT_EQ(window.StatusBar1->panel(0), "Connect");
    window.Button_Send->click();
    EXPECT_EQ(window.StatusBar1->panel(1), "Success");
    EXPECT_TRUE(std::regex_match(window.Edit_DateTimeSended->text().toStdString(),
                                 std::regex(R"(\d{8} \d{6}(0[1-9]|1[0-2]))")))
        << window.Edit_DateTimeSended->text().toStdString();
    EXPECT_EQ(host.node->getField_("DateTimeSended"), "") << "stored only by Set Node";
    window.DisconnectBtnClick();
    EXPECT_EQ(window.StatusBar1->panel(0), "Disconnect");
    EXPECT_TRUE(host.errors.empty());
    recorder.stop();
    EXPECT_NE(recorder.message(1).find("\r\n\r\nhello\r\n"), std::string::npos);
}

TEST(ReceiveWindowTest, FillsAndStoresSettingsButNeverThePassword) {
    FakeMailHost host;
    host.file.putField_("POP3Server", "\"pop.file\"");
    host.holder->putField_("UserID", "\"ann\"");
    host.node->putField_("DeleteOnRead", "\"true\"");
    TFormReciveMail1 window;
    window.setMainForm(&host);
    window.Edit_Password->setText("kept");
    window.fill();
    EXPECT_EQ(window.Edit_POP3Server->text(), "pop.file");
    EXPECT_EQ(window.Edit_UserID->text(), "ann");
    EXPECT_TRUE(window.CheckBox_DeleteOnRead->isChecked());
    EXPECT_EQ(window.Edit_Password->text(), "kept");
    EXPECT_EQ(window.Edit_Password->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter,
                                                       nullptr, window.Edit_Password),
              '#');
    window.SetHolderBtnClick();
    EXPECT_EQ(host.holder->getField_("POP3Server"), "\"pop.file\"");
    window.SetMemoFileBtnClick();
    EXPECT_EQ(host.file.getField_("UserID"), "\"ann\"");
    for (MemoBasic* record : std::initializer_list<MemoBasic*>{host.holder, &host.file})
        for (std::size_t i = 0; i < record->fields.size(); ++i)
            EXPECT_EQ(record->fields[i].find("kept"), std::string::npos);
}

TEST(ReceiveWindowTest, StatusTextsOfTheMailbox) {
    FakeMailHost host;
    TFormReciveMail1 window;
    window.setMainForm(&host);
    window.ReciveMailBtnClick();
    EXPECT_EQ(window.StatusBar1->panel(1), "No Message to Get");
    window.Edit_POP3Server->setText("127.0.0.1:1");
    window.Edit_UserID->setText("tester");
    window.ConnectBtnClick();
    EXPECT_EQ(host.errors, std::vector<std::string>{"Authentication failed"});
}

TEST(ReceiveWindowTest, ReceivesFromDovecotIntoTheHolder) {
    test::TempFolder folder;
    fs::create_directories(folder.osPath("server"));
    test::DovecotServer server(folder.path("server"));
    server.addMessage("Subject: Hello\r\nFrom: ann@t\r\n\r\nhi\r\n");
    server.addMessage("Subject: Again\r\nFrom: bob@t\r\n\r\nho\r\n");
    std::string why;
    ASSERT_TRUE(server.start(why)) << why;
    FakeMailHost host;
    TFormReciveMail1 window;
    window.setMainForm(&host);
    window.Edit_POP3Server->setText(QString::fromStdString(server.server()));
    window.Edit_UserID->setText("tester");
    window.Edit_Password->setText("secret");

    // A read-only holder takes nothing, and nothing is fetched.
    host.holder->setReadOnly_(true);
    window.ConnectBtnClick();
    ASSERT_EQ(window.StatusBar1->panel(0), "Conect") << (host.errors.empty() ? "" : host.errors[0]);
    EXPECT_EQ(window.StatusBar1->panel(1), "2 message in your mailbox");
    window.ReciveMailBtnClick();
    EXPECT_EQ(host.holder->count_(), 2);
    host.holder->setReadOnly_(false);

    window.ReciveMailBtnClick();
    ASSERT_EQ(host.holder->count_(), 4);
    ASSERT_NE(host.holder->byName_("Hello"), nullptr);
    EXPECT_EQ(host.holder->byName_("Hello")->getField_("From"), "\"ann@t\"");
    EXPECT_NE(std::find(host.log.begin(), host.log.end(), "changed H"), host.log.end());
    // Without DeleteOnRead a second Recive fetches the same messages again.
    window.ReciveMailBtnClick();
    EXPECT_EQ(host.holder->count_(), 6);
    window.ConnectBtnClick();
    EXPECT_EQ(window.StatusBar1->panel(0), "Disconect");
    EXPECT_EQ(server.messageCount(), 2);
    EXPECT_TRUE(host.errors.empty());
}

}  // namespace
}  // namespace zel
