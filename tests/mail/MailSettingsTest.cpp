// What the send and receive windows read from and store into nodes, holders
// and the memo file.

#include <gtest/gtest.h>

#include "mail/MailSettings.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"

namespace zel {
namespace {

struct Records {
    Records() {
        holder = file.createHolder_(-1);
        holder->putName_as_("H");
        holder->loaded = true;
        holder->addNode_(holder->newNode_(), "first");
        holder->addNode_(holder->newNode_(), "second");
        node = holder->byName_("first");
    }
    MemoFile file;
    MemoHolder* holder;
    MemoNode* node;
};

TEST(MailSettingsTest, BareNodeGivesItsNameAsSubjectAndNothingElse) {
    Records r;
    SendSettings s = sendSettingsOf(*r.node);
    EXPECT_EQ(s.subject, "first");
    for (const std::string* box : {&s.smtpServer, &s.to, &s.cc, &s.bcc, &s.from, &s.replyTo,
                                   &s.userID, &s.dateTimeSended, &s.smtpPort, &s.smtpSecurity})
        EXPECT_EQ(*box, "");
}

TEST(MailSettingsTest, SettingsAreInheritedAndTheNodesOwnSubjectWins) {
    Records r;
    r.file.putField_("SMTPServer", "\"file.test\"");
    r.file.putField_("Subject", "\"from file\"");
    r.holder->putField_("To", "\"Bob <b@t>\"");
    r.holder->putField_("DateTimeSended", "\"20000101 00000001\"");
    SendSettings s = sendSettingsOf(*r.node);
    EXPECT_EQ(s.smtpServer, "file.test");
    EXPECT_EQ(s.to, "Bob <b@t>");
    EXPECT_EQ(s.subject, "from file");
    EXPECT_EQ(s.dateTimeSended, "") << "DateTimeSended is the node's own";
    r.holder->putField_("Subject", "\"from holder\"");
    EXPECT_EQ(sendSettingsOf(*r.node).subject, "from holder");
    r.node->putField_("Subject", "\"own\"");
    EXPECT_EQ(sendSettingsOf(*r.node).subject, "own");
}

TEST(MailSettingsTest, SetNodeStoresTrimmedRemovesEmptiedAndRenamesUniquely) {
    Records r;
    r.node->putField_("CC", "\"old@t\"");
    SendSettings s = sendSettingsOf(*r.node);
    s.smtpServer = "  smtp.test ";
    s.cc = "";
    s.subject = "second";
    s.dateTimeSended = "20231209 22385112";
    storeSendSettingsInNode(*r.node, s);
    EXPECT_EQ(r.node->getField_("SMTPServer"), "\"smtp.test\"");
    EXPECT_EQ(r.node->getField_("CC"), "");
    EXPECT_EQ(r.node->getField_("DateTimeSended"), "\"20231209 22385112\"");
    EXPECT_NE(r.node->getName_(), "second");
    EXPECT_EQ(r.node->getName_().rfind("second", 0), 0u);
    EXPECT_EQ(r.node->getField_("Subject"), "") << "the subject is the name, not a field";

    storeSendSettingsInHolder(*r.holder, s);
    EXPECT_EQ(r.holder->getField_("SMTPServer"), "\"smtp.test\"");
    EXPECT_EQ(r.holder->getField_("DateTimeSended"), "");
}

TEST(MailSettingsTest, ReceiveSettingsAndDeleteOnReadExactlyQuotedTrue) {
    Records r;
    r.file.putField_("POP3Server", "\"pop.file\"");
    r.file.putField_("UserID", "\"ann\"");
    r.file.putField_("DeleteOnRead", "\"true\"");
    ReceiveSettings s = receiveSettingsOf(r.holder, r.node, &r.file);
    EXPECT_EQ(s.pop3Server, "pop.file");
    EXPECT_EQ(s.userID, "ann");
    EXPECT_TRUE(s.deleteOnRead);
    r.holder->putField_("DeleteOnRead", "true");
    EXPECT_FALSE(receiveSettingsOf(r.holder, r.node, &r.file).deleteOnRead);
    r.node->putField_("DeleteOnRead", "\"true\"");
    EXPECT_TRUE(receiveSettingsOf(r.holder, r.node, &r.file).deleteOnRead);
    EXPECT_TRUE(receiveSettingsOf(nullptr, nullptr, nullptr).pop3Server.empty());

    s.pop3Server = "";
    s.userID = " bob ";
    storeReceiveSettings(*r.holder, s);
    EXPECT_EQ(r.holder->getField_("POP3Server"), "\"\"");
    EXPECT_EQ(r.holder->getField_("UserID"), "\" bob \"");
    EXPECT_EQ(r.holder->getField_("POP3Port"), "");
}

TEST(MailSettingsTest, RequestsCarryTheExtrasAndRefuseUnknownSecurity) {
    SendSettings s;
    s.smtpServer = "smtp.test";
    s.userID = "me";
    s.smtpSecurity = "starttls";
    s.smtpPort = "587";
    SmtpConnectRequest request;
    std::string error;
    ASSERT_TRUE(smtpRequestOf(s, request, error));
    EXPECT_EQ(request.security, MailSecurity::StartTls);
    EXPECT_EQ(request.port, "587");
    s.smtpSecurity = "maybe";
    EXPECT_FALSE(smtpRequestOf(s, request, error));
    EXPECT_FALSE(error.empty());
    OutgoingMail mail = outgoingMailOf(s, {"x"});
    EXPECT_TRUE(mail.to.empty());
}

}  // namespace
}  // namespace zel
