// zel-tool's mail verbs over the same engines: the message printed, a send
// to aiosmtpd and a fetch from Dovecot that saves before it deletes.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "cli/Document.h"
#include "cli/Tool.h"
#include "mail/MailServers.h"
#include "mail/MailTestSupport.h"
#include "model/HolderFile.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "support/TempFolder.h"

namespace zel {
namespace {

namespace fs = std::filesystem;

struct ToolRun {
    int status;
    std::string out, err;
};

ToolRun tool(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    int status = runTool(args, out, err);
    return {status, out.str(), err.str()};
}

// A holder file with one node "note" carrying mail settings.
std::string writeHolder(test::TempFolder& folder, const std::string& server) {
    MemoFile file;
    MemoHolder* holder = file.createHolder_(-1);
    holder->putName_as_("mail");
    holder->loaded = true;
    auto node = holder->newNode_();
    node->putField_("From", "\"a@example.test\"");
    node->putField_("To", "\"b@example.test\"");
    node->putField_("SMTPServer", "\"" + server + "\"");
    node->putField_("UserID", "\"client.test\"");
    node->memo = {"hello", ".dot"};
    holder->addNode_(std::move(node), "note");
    const std::string path = folder.path("mail.mxh");
    EXPECT_GT(saveHolderFile_(*holder, path), 0);
    return path;
}

const std::string kNoteMessage =
    "From: <a@example.test>\r\n"
    "To: b@example.test\r\n"
    "Subject: =?iso-2022-jp?B?bm90ZQ==?=\r\n"
    "X-Mailer: zel.exe 001103\r\n"
    "Date: Mon, 1 Jan 2024  09:30:00 +0900\r\n"
    "Mime-Version: 1.0\r\n"
    "Content-Type: text/plain; charset=iso-2022-jp\r\n"
    "\r\n"
    "hello\r\n"
    "..dot\r\n";

TEST(MailToolTest, MailMessagePrintsWhatSendWouldTransmit) {
    test::ScopedTimeZone tokyo("Asia/Tokyo");
    test::TempFolder folder;
    const std::string path = writeHolder(folder, "smtp.test");
    ToolRun run = tool({"mail-message", path, "note", "--time", "20240101093000"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, kNoteMessage);
    EXPECT_EQ(tool({"mail-message", path, "missing"}).status, 1);
    EXPECT_EQ(tool({"mail-message", path, "note", "--time", "soon"}).status, 1);
}

TEST(MailToolTest, SendDeliversTheNode) {
    test::ScopedTimeZone tokyo("Asia/Tokyo");
    test::TempFolder folder;
    fs::create_directories(folder.osPath("smtp"));
    test::SmtpRecorder recorder(folder.path("smtp"));
    std::string why;
    ASSERT_TRUE(recorder.start(why)) << why;
    const std::string path = writeHolder(folder, "127.0.0.1:1");
    ToolRun run =
        tool({"send", path, "note", "--server", recorder.server(), "--time", "20240101093000"});
    EXPECT_EQ(run.status, 0) << run.err;
    recorder.stop();
    std::string expected = kNoteMessage;
    expected.replace(expected.find("..dot"), 5, ".dot");
    EXPECT_EQ(recorder.message(1), expected);

    // Nobody listening: a failure with the reason, not a success.
    run = tool({"send", path, "note"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("127.0.0.1:1"), std::string::npos) << run.err;
}

TEST(MailToolTest, FetchSavesTheHolderBeforeDeleting) {
    test::TempFolder folder;
    fs::create_directories(folder.osPath("pop"));
    fs::create_directories(folder.osPath("files"));
    test::DovecotServer server(folder.path("pop"));
    server.addMessage("Subject: first\r\nFrom: x@t\r\n\r\none\r\n");
    server.addMessage("Subject: second\r\nFrom: y@t\r\n\r\ntwo\r\n");
    std::string why;
    ASSERT_TRUE(server.start(why)) << why;
    const std::string path = writeHolder(folder, "smtp.test");

    setenv("ZEL_MAIL_PASSWORD", "secret", 1);
    ToolRun run = tool({"fetch", path, "--server", server.server(), "--user", "tester", "--delete",
                        "--attachments", folder.path("files")});
    unsetenv("ZEL_MAIL_PASSWORD");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "2 of 2 messages into " + path + "\n");

    Document document;
    std::string error;
    ASSERT_EQ(openDocument(path, document, error), 0) << error;
    MemoHolder* holder = document.onlyHolder();
    EXPECT_EQ(holder->count_(), 3);
    ASSERT_NE(holder->byName_("second"), nullptr);
    EXPECT_EQ(holder->byName_("second")->memo, std::vector<std::string>{"two"});
    for (int i = 0; i < 50 && server.messageCount() != 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(server.messageCount(), 0);
}

}  // namespace
}  // namespace zel
