// Messages onto nodes, attachments into a folder, and the POP3 exchange
// against a memory channel, a scripted fake and a real server (Dovecot).

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "formats/Base64.h"
#include "mail/MailReceiver.h"
#include "mail/MailServers.h"
#include "mail/MailTestSupport.h"
#include "mail/Pop3Client.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "support/TempFolder.h"

namespace zel {
namespace {

namespace fs = std::filesystem;
using test::FakeServer;
using test::MemoryServer;

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::string fileText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

struct HolderFixture {
    HolderFixture() {
        holder = file.createHolder_(-1);
        holder->putName_as_("Inbox");
        holder->loaded = true;
    }
    MemoFile file;
    MemoHolder* holder;
};

const std::string kMultipart =
    "From: Ann <ann@t>\r\n"
    "Subject: Report\r\n"
    "Content-Type: multipart/mixed;\r\n"
    "\tboundary=\"XYZ\"\r\n"
    "\r\n"
    "preamble\r\n"
    "--XYZ\r\n"
    "Content-Type: text/plain\r\n"
    "\r\n"
    "see the file\r\n"
    "--XYZ\r\n"
    "Content-Type: text/plain;\r\n"
    " name=\"a.txt\"\r\n"
    "Content-Transfer-Encoding: base64\r\n"
    "\r\n"
    "aGVsbG8K\r\n"
    "--XYZ--\r\n";

// ---- mapping ----

TEST(ReceivedMailTest, SubjectAndSenderByFirstWordTheLaterWinning) {
    ReceivedMessage m = readReceivedMessage(linesOf(
        "subject: first\r\nFROM: a@t\r\nSubject: second\r\nSubject:glued\r\nX: y\r\n\r\nbody\r\n"));
    EXPECT_EQ(m.subject, "second");
    EXPECT_EQ(m.sender, "a@t");
    EXPECT_EQ(m.body, std::vector<std::string>{"body"});

    // At most 256 bytes, never half a character.
    std::string longSubject = "Subject: x" + std::string(300, '\x82') + "\r\n\r\nb\r\n";
    for (std::size_t i = 11; i < longSubject.size() - 7; i += 2) longSubject[i] = '\xa0';
    m = readReceivedMessage(linesOf(longSubject));
    EXPECT_EQ(m.subject.size(), 255u);
    EXPECT_TRUE(readReceivedMessage(linesOf("Subject: s\r\n\r\n")).body.empty());
}

TEST(ReceivedMailTest, MultipartOnAFoldedBoundaryGivesBodyAndAttachment) {
    ReceivedMessage m = readReceivedMessage(linesOf(kMultipart));
    EXPECT_EQ(m.subject, "Report");
    EXPECT_EQ(m.body, std::vector<std::string>{"see the file"});
    ASSERT_EQ(m.attachments.size(), 1u);
    EXPECT_EQ(m.attachments[0].name, "a.txt");
    EXPECT_EQ(attachmentBytes(m.attachments[0]), "hello\n");
}

TEST(ReceivedMailTest, AttachmentNamesDefaultAndCarryOverAndRawPartsKeepTheirLines) {
    ReceivedMessage m = readReceivedMessage(
        linesOf("Content-Type: Multipart/Mixed; boundary=b\r\n\r\n--b\r\n\r\ntext\r\n"
                "--b\r\nContent-Type: text/plain\r\n\r\nraw 1\r\nraw 2\r\n"
                "--b\r\nContent-Disposition: attachment; filename=c.bin\r\n\r\nx\r\n"
                "--b\r\nContent-Type: text/plain\r\n\r\ny\r\n"
                "--b\r\nContent-Type: text/plain\r\n\r\n--b--\r\n"));
    ASSERT_EQ(m.attachments.size(), 3u);
    EXPECT_EQ(m.attachments[0].name, "text.tmp");
    EXPECT_EQ(attachmentBytes(m.attachments[0]), "raw 1\r\nraw 2\r\n");
    EXPECT_EQ(m.attachments[1].name, "c.bin");
    EXPECT_EQ(m.attachments[2].name, "c.bin");
}

TEST(ReceivedMailTest, UuencodedAttachmentsAreDecoded) {
    MailAttachment a;
    a.transferEncoding = "X-UUENCODE";
    a.lines = {"begin 644 cat.txt", "#0V%T", "`", "end"};
    EXPECT_EQ(attachmentBytes(a), "Cat");
}

TEST(ReceivedMailTest, NodeStepNamesAndMarksAndRefusesTemplates) {
    HolderFixture f;
    f.holder->addNode_(f.holder->newNode_(), "Hello");
    ReceivedMessage m;
    m.subject = "Hello";
    m.sender = "Ann <ann@t>";
    m.body = {"line"};
    MemoNode* node = putMessageIntoHolder(*f.holder, m);
    EXPECT_NE(node->getName_(), "Hello");
    EXPECT_EQ(node->getName_().rfind("Hello", 0), 0u);
    EXPECT_EQ(node->getField_("From"), "\"Ann <ann@t>\"");
    EXPECT_EQ(node->memo, m.body);
    EXPECT_TRUE(f.holder->changed);

    m.subject = "*HTML Holder";
    EXPECT_EQ(putMessageIntoHolder(*f.holder, m)->getName_(), "_*HTML Holder");

    ReceivedMessage empty;
    empty.subject = "ignored";
    empty.sender = "x@t";
    MemoNode* bare = putMessageIntoHolder(*f.holder, empty);
    EXPECT_EQ(bare->getName_().find("ignored"), std::string::npos);
    EXPECT_EQ(bare->getField_("From"), "");
}

TEST(AttachmentTest, NamesStayInTheFolderAndNeverReplaceAFile) {
    test::TempFolder folder;
    fs::create_directories(folder.osPath("in"));
    const std::string in = folder.path("in");
    std::string stored;
    ASSERT_TRUE(storeAttachment(in, "a.txt", "one", stored));
    EXPECT_EQ(stored, "a.txt");
    ASSERT_TRUE(storeAttachment(in, "a.txt", "two", stored));
    EXPECT_EQ(stored, "a_1.txt");
    EXPECT_EQ(fileText(folder.osPath("in/a.txt")), "one");
    EXPECT_EQ(fileText(folder.osPath("in/a_1.txt")), "two");
    ASSERT_TRUE(storeAttachment(in, "README", "r", stored));
    ASSERT_TRUE(storeAttachment(in, "README", "r", stored));
    EXPECT_EQ(stored, "README_1");

    for (const std::string hostile : {"../../escape.txt", "/etc/passwd", "..", "a\x01\nb"}) {
        ASSERT_TRUE(storeAttachment(in, hostile, "x", stored)) << hostile;
        EXPECT_EQ(stored.find('/'), std::string::npos);
        EXPECT_TRUE(fs::exists(folder.osPath("in/" + stored))) << stored;
    }
    EXPECT_FALSE(fs::exists(folder.osPath("escape.txt")));
    // Nothing but the files themselves is left in the folder.
    int count = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(folder.osPath("in"))) ++count;
    EXPECT_EQ(count, 8);
}

TEST(AttachmentTest, AHugeNameIsShortenedOnceAndStillNumbered) {
    test::TempFolder folder;
    fs::create_directories(folder.osPath("in"));
    std::string message = kMultipart;
    const std::string huge(200'000, 'n');
    message.replace(message.find("a.txt"), 5, huge + ".txt");
    ReceivedMessage m = readReceivedMessage(linesOf(message));
    ASSERT_EQ(m.attachments.size(), 1u);
    std::string first;
    std::string second;
    ASSERT_TRUE(storeAttachment(folder.path("in"), m.attachments[0].name, "1", first));
    ASSERT_TRUE(storeAttachment(folder.path("in"), m.attachments[0].name, "2", second));
    EXPECT_EQ(first, std::string(251, 'n') + ".txt");
    EXPECT_EQ(second, std::string(249, 'n') + "_1.txt");
    EXPECT_EQ(fileText(folder.osPath("in/" + second)), "2");
}

// ---- the exchange over memory ----

Pop3ConnectRequest pop3Request(const std::string& server, const std::string& password = "secret") {
    Pop3ConnectRequest r;
    r.server = server;
    r.user = "tester";
    r.password = password;
    return r;
}

TEST(Pop3ClientTest, EmptyUserOrPasswordNeverContactsTheServer) {
    bool asked = false;
    Pop3Client client([&asked](const Endpoint&, IoResult& status) {
        asked = true;
        status = IoResult::failure("no");
        return std::unique_ptr<LineChannel>();
    });
    EXPECT_EQ(client.connect(pop3Request("h", "")).error, "Authentication failed");
    Pop3ConnectRequest noUser = pop3Request("h");
    noUser.user.clear();
    EXPECT_EQ(client.connect(noUser).error, "Authentication failed");
    EXPECT_FALSE(asked);
}

TEST(Pop3ClientTest, LoginCountAndRefusals) {
    {
        MemoryServer server("+OK hi\r\n+OK\r\n+OK in\r\n+OK 2 320\r\n");
        Pop3Client client(server.factory());
        ASSERT_TRUE(client.connect(pop3Request("h")).ok);
        EXPECT_EQ(server.asked.port, 110);
        EXPECT_EQ(client.messageCount(), 2);
        EXPECT_EQ(server.sent(), "USER tester\r\nPASS secret\r\nSTAT\r\n");
    }
    {
        MemoryServer server("+OK hi\r\n+OK\r\n-ERR wrong\r\n");
        Pop3Client client(server.factory());
        MailResult r = client.connect(pop3Request("h"));
        EXPECT_EQ(r.error, "Authentication failed");
        EXPECT_FALSE(client.isOpen());
    }
    {
        MemoryServer server("+OK hi\r\n+OK\r\n+OK\r\n+OK x\r\n");
        Pop3Client client(server.factory());
        ASSERT_TRUE(client.connect(pop3Request("h")).ok);
        EXPECT_EQ(client.messageCount(), 0);
    }
    {
        MemoryServer server("-ERR busy\r\n");
        Pop3Client client(server.factory());
        EXPECT_EQ(client.connect(pop3Request("h")).error, "-ERR busy");
    }
}

TEST(Pop3ClientTest, RetrieveUndoesDotStuffingOnAnyLineEnd) {
    MemoryServer server("+OK\r\n+OK\r\n+OK\r\n+OK 1 9\r\n+OK 9\r\n..x\r\n..\nplain\r.\r\n");
    server.channel->chunk = 3;
    Pop3Client client(server.factory());
    ASSERT_TRUE(client.connect(pop3Request("h")).ok);
    std::vector<std::string> lines;
    ASSERT_TRUE(client.retrieve(1, lines).ok);
    EXPECT_EQ(lines, (std::vector<std::string>{".x", ".", "plain"}));
}

// A 50 MB attachment goes through whole, and into a file, not the memo.
TEST(Pop3ClientTest, LargeAttachmentIsWrittenWhole) {
    test::TempFolder folder;
    std::string bytes(50u << 20, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7919 >> 3);
    std::vector<std::string> encoded;
    encodeBase64(bytes, encoded);
    std::string message =
        "Subject: big\r\nContent-Type: multipart/mixed; boundary=\"b\"\r\n\r\n--b\r\n\r\n"
        "text\r\n--b\r\nContent-Type: application/octet-stream; name=\"big.bin\"\r\n"
        "Content-Transfer-Encoding: base64\r\n\r\n";
    for (const auto& line : encoded) message += line + "\r\n";
    message += "--b--\r\n";
    MemoryServer server("+OK\r\n+OK\r\n+OK\r\n+OK 1 1\r\n+OK\r\n" + message + ".\r\n");
    Pop3Client client(server.factory());
    ASSERT_TRUE(client.connect(pop3Request("h")).ok);
    HolderFixture f;
    ReceiveOptions options;
    options.attachmentFolder = folder.path();
    ReceiveReport report = receiveMailbox(client, *f.holder, options);
    ASSERT_TRUE(report.ok()) << report.error;
    EXPECT_EQ(report.nodes[0]->memo,
              (std::vector<std::string>{"text", "", "File \"big.bin\" extracted"}));
    EXPECT_EQ(fs::file_size(folder.osPath("big.bin")), bytes.size());
    EXPECT_TRUE(fileText(folder.osPath("big.bin")) == bytes);
}

// ---- a scripted server on a real socket ----

// Serves `messages` after a login; each RETR is answered by `retr`.
FakeServer::Script mailbox(std::vector<std::string> messages, bool dropInSecond = false) {
    return [messages, dropInSecond](FakeServer::Connection& c) {
        std::string line;
        c.send("+OK ready\r\n");
        while (c.readLine(line)) {
            if (line.starts_with("USER") || line.starts_with("PASS") || line.starts_with("DELE")) {
                c.send("+OK\r\n");
            } else if (line == "STAT") {
                c.send("+OK " + std::to_string(messages.size()) + " 100\r\n");
            } else if (line.starts_with("RETR ")) {
                std::size_t n = std::stoul(line.substr(5));
                c.send("+OK\r\n" + messages[n - 1]);
                if (dropInSecond && n == 2) return c.close();
                c.send(".\r\n");
            } else if (line == "QUIT") {
                c.send("+OK bye\r\n");
                return;
            }
        }
    };
}

TEST(Pop3FaultTest, DeleteOnlyWhatWasStoredAndNoQuitAfterABrokenLink) {
    test::ScopedTimeouts quick(2000);
    test::TempFolder folder;
    FakeServer server(mailbox({"Subject: one\r\n\r\nfirst\r\n", "Subject: two\r\n\r\nsec"}, true));
    Pop3Client client;
    ASSERT_TRUE(client.connect(pop3Request(server.server())).ok);
    HolderFixture f;
    ReceiveOptions options;
    options.attachmentFolder = folder.path();
    options.deleteEach = true;
    ReceiveReport report = receiveMailbox(client, *f.holder, options);
    EXPECT_FALSE(report.ok());
    ASSERT_EQ(report.nodes.size(), 1u);
    EXPECT_EQ(report.nodes[0]->getName_(), "one");
    EXPECT_EQ(f.holder->count_(), 1);
    EXPECT_FALSE(client.isOpen());
    server.finish();
    const std::string wire = server.wire();
    EXPECT_NE(wire.find("RETR 1\r\nDELE 1\r\nRETR 2\r\n"), std::string::npos) << wire;
    EXPECT_EQ(wire.find("DELE 2"), std::string::npos);
    EXPECT_EQ(wire.find("QUIT"), std::string::npos);
}

TEST(Pop3FaultTest, HostileAttachmentNamesLandInsideTheFolder) {
    test::ScopedTimeouts quick(2000);
    test::TempFolder folder;
    fs::create_directories(folder.osPath("tmp"));
    std::string evil = kMultipart;
    evil.replace(evil.find("a.txt"), 5, "../../../evil.txt");
    FakeServer server(mailbox({evil}));
    Pop3Client client;
    ASSERT_TRUE(client.connect(pop3Request(server.server())).ok);
    HolderFixture f;
    ReceiveOptions options;
    options.attachmentFolder = folder.path("tmp");
    ReceiveReport report = receiveMailbox(client, *f.holder, options);
    ASSERT_TRUE(report.ok()) << report.error;
    EXPECT_EQ(fileText(folder.osPath("tmp/evil.txt")), "hello\n");
    EXPECT_FALSE(fs::exists(folder.osPath("evil.txt")));
    EXPECT_EQ(report.nodes[0]->memo,
              (std::vector<std::string>{"see the file", "", "File \"evil.txt\" extracted"}));
    client.quit();
}

// ---- a real server ----

class DovecotTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(folder.osPath("server"));
        fs::create_directories(folder.osPath("attachments"));
        server = std::make_unique<test::DovecotServer>(folder.path("server"));
    }
    void start() {
        std::string why;
        ASSERT_TRUE(server->start(why)) << why;
    }
    ReceiveReport fetch(bool deleteEach, Pop3Client& client) {
        ReceiveOptions options;
        options.attachmentFolder = folder.path("attachments");
        options.deleteEach = deleteEach;
        return receiveMailbox(client, *f.holder, options);
    }

    test::TempFolder folder;
    std::unique_ptr<test::DovecotServer> server;
    HolderFixture f;
};

TEST_F(DovecotTest, EmptyMailboxAndWrongPassword) {
    start();
    Pop3Client client;
    MailResult connected = client.connect(pop3Request(server->server()));
    ASSERT_TRUE(connected.ok) << connected.error << "\n" << server->log();
    EXPECT_EQ(client.messageCount(), 0);
    EXPECT_TRUE(client.quit().ok);
    Pop3Client wrong;
    EXPECT_EQ(wrong.connect(pop3Request(server->server(), "nope")).error, "Authentication failed");
}

TEST_F(DovecotTest, MessagesBecomeNodesAndAreDeletedOnlyAtQuit) {
    const std::string japanese =
        "Subject: =?ISO-2022-JP?B?GyRCNEEbKEI=?=\r\nFrom: j@t\r\n\r\n"
        "\x1b$B4A\x1b(B\r\n";
    server->addMessage("Subject: Hello\r\nFrom: ann@t\r\n\r\n.hidden dot\r\nline two\r\n");
    server->addMessage(japanese);
    server->addMessage(kMultipart);
    start();
    {
        Pop3Client client;
        ASSERT_TRUE(client.connect(pop3Request(server->server())).ok);
        EXPECT_EQ(client.messageCount(), 3);
        ReceiveReport report = fetch(true, client);
        ASSERT_TRUE(report.ok()) << report.error;
        ASSERT_EQ(report.nodes.size(), 3u);
        EXPECT_EQ(report.nodes[0]->getName_(), "Hello");
        EXPECT_EQ(report.nodes[0]->memo, (std::vector<std::string>{".hidden dot", "line two"}));
        EXPECT_EQ(report.nodes[0]->getField_("From"), "\"ann@t\"");
        EXPECT_EQ(report.nodes[1]->getName_(), "=?ISO-2022-JP?B?GyRCNEEbKEI=?=");
        EXPECT_EQ(report.nodes[1]->memo, std::vector<std::string>{"\x1b$B4A\x1b(B"});
        EXPECT_EQ(report.nodes[2]->memo,
                  (std::vector<std::string>{"see the file", "", "File \"a.txt\" extracted"}));
        EXPECT_EQ(fileText(folder.osPath("attachments/a.txt")), "hello\n");
        // Abandoned without QUIT: the server keeps every message.
        client.abandon();
    }
    EXPECT_EQ(server->messageCount(), 3);
    {
        Pop3Client client;
        ASSERT_TRUE(client.connect(pop3Request(server->server())).ok);
        EXPECT_EQ(client.messageCount(), 3);
        ReceiveReport report = fetch(true, client);
        ASSERT_TRUE(report.ok()) << report.error;
        EXPECT_EQ(report.nodes[2]->memo.back(), "File \"a_1.txt\" extracted");
        EXPECT_TRUE(client.quit().ok);
    }
    std::string why;
    for (int i = 0; i < 50 && server->messageCount() != 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(server->messageCount(), 0);
    EXPECT_EQ(f.holder->count_(), 6);
}

TEST_F(DovecotTest, ImplicitTlsWithATrustedCertificate) {
    std::string cert, key, why;
    ASSERT_TRUE(test::makeTestCertificate(folder.path(), cert, key, why)) << why;
    ASSERT_TRUE(server->start(why, cert, key)) << why;
    server->addMessage("Subject: secure\r\n\r\nover tls\r\n");
    Pop3ConnectRequest r = pop3Request(server->server());
    r.security = MailSecurity::Tls;
    {
        Pop3Client untrusting;
        MailResult refused = untrusting.connect(r);
        EXPECT_FALSE(refused.ok);
    }
    setTlsTrustFile(cert);
    Pop3Client client;
    MailResult connected = client.connect(r);
    setTlsTrustFile({});
    ASSERT_TRUE(connected.ok) << connected.error;
    EXPECT_EQ(client.messageCount(), 1);
    ReceiveReport report = fetch(false, client);
    ASSERT_TRUE(report.ok()) << report.error;
    EXPECT_EQ(report.nodes[0]->memo, std::vector<std::string>{"over tls"});
    client.quit();
}

}  // namespace
}  // namespace zel
