// The mail commands in the window: their menu items, the send and receive
// windows filled from the current node and holder, and their changes of the
// model under the window's busy protocol and read-only guards.

#include "app/AppTestSupport.h"
#include "app/commands/CommandTable.h"
#include "mail/ui/TFormReciveMail1.h"
#include "mail/ui/TFormSendMail2.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "platform/Clock.h"

namespace zel {
namespace {

using MailCommandsTest = AppTest;

TEST_F(MailCommandsTest, MenuItemsRunTheCommands) {
    openMemoFile({{"A", {"a1", "a2"}}});
    QAction* send = window->menuAction("[MemoNode]/Extra/Send Mail");
    QAction* receive = window->menuAction("[Holder]/Extra/Recive Mail");
    ASSERT_NE(send, nullptr);
    ASSERT_NE(receive, nullptr);
    EXPECT_TRUE(send->isEnabled());
    EXPECT_TRUE(receive->isEnabled());
    send->trigger();
    auto* form = window->existingCompanion<TFormSendMail2>();
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->Edit_Subject->text(),
              QString::fromStdString(window->getCurMemoNode()->getName_()));
}

TEST_F(MailCommandsTest, SendMailRefusesWhileBusyAndWithoutNode) {
    openMemoFile({{"A", {"a1"}}});
    window->startDoing_("Other");
    EXPECT_EQ(runCommand(*window, "UISendMail"), -1);
    window->doneDoing_("");
    window->setCurMemoNode_(nullptr);
    EXPECT_EQ(runCommand(*window, "UISendMail"), -8);
    EXPECT_EQ(window->existingCompanion<TFormSendMail2>(), nullptr);
}

TEST_F(MailCommandsTest, SetNodeWritesTheNodeAndMarksItsHolder) {
    openMemoFile({{"A", {"a1", "a2"}}});
    MemoNode* node = window->getCurMemoNode();
    ASSERT_EQ(runCommand(*window, "UISendMail"), 0);
    auto* form = window->existingCompanion<TFormSendMail2>();
    holder("A")->changed = false;
    form->Edit_To->setText("b@example.test");
    form->Memo1->setPlainText("the mail");
    form->Button_SetNode->click();
    EXPECT_EQ(node->getField_("To"), "\"b@example.test\"");
    EXPECT_EQ(node->memo, std::vector<std::string>{"the mail"});
    EXPECT_TRUE(holder("A")->changed);
    EXPECT_EQ(window->statusMessage(), "Done: Set Node");

    // Under the read-only switch nothing is written.
    window->CheckBox_UIReadOnly->setChecked(true);
    form->Edit_To->setText("c@example.test");
    form->Button_SetNode->click();
    EXPECT_EQ(node->getField_("To"), "\"b@example.test\"");
    EXPECT_EQ(window->statusMessage(), "UI ReadOnly");
}

TEST_F(MailCommandsTest, SendWithoutConnectionShowsAnErrorBox) {
    openMemoFile({{"A", {"a1"}}});
    ASSERT_EQ(runCommand(*window, "UISendMail"), 0);
    auto* form = window->existingCompanion<TFormSendMail2>();
    form->Edit_From->setText("a@example.test");
    form->Edit_To->setText("b@example.test");
    prompter->answer(Answer::Ok, "Not Connected");
    form->Button_Send->click();
}

// The SMTP login's password is asked in a masked box; cancelling it connects
// to nothing.
TEST_F(MailCommandsTest, ConnectWithALoginAsksForThePasswordMasked) {
    openMemoFile({{"A", {"a1"}}});
    ASSERT_EQ(runCommand(*window, "UISendMail"), 0);
    auto* form = window->existingCompanion<TFormSendMail2>();
    form->Edit_SMTPServer->setText("127.0.0.1");
    form->Edit_Login->setText("ann");
    prompter->input("", false);
    form->Button_Connect->click();
    EXPECT_EQ(prompter->askedMasked, std::vector<std::string>{"Password for ann"});
    EXPECT_FALSE(form->NMSMTP1.isOpen());
}

TEST_F(MailCommandsTest, ReciveMailShowsTheWindowWithTheHolderSettings) {
    ScopedClock clock([] { return DateTime{2024, 3, 5, 14, 7, 9, 12}; });
    openMemoFile({{"A", {"a1"}}});
    holder("A")->putField_("POP3Server", "\"pop.example.test\"");
    EXPECT_EQ(runCommand(*window, "UIReciveMail"), 0);
    EXPECT_EQ(window->statusMessage(), "Show FormReciveMail 2024/03/05 14:07:09:012");
    auto* form = window->existingCompanion<TFormReciveMail1>();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->Edit_POP3Server->text(), "pop.example.test");
    EXPECT_EQ(form->font(), window->font());
    form->Button_Recive->click();
    EXPECT_EQ(form->StatusBar1->panel(1), "No Message to Get");

    form->Edit_UserID->setText("ann");
    form->Button_SetMemoFile->click();
    EXPECT_EQ(window->aFile->getField_("UserID"), "\"ann\"");
    EXPECT_TRUE(window->aFile->changed);
}

}  // namespace
}  // namespace zel
