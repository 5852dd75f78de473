// The outgoing message byte for byte, and the SMTP exchange against a memory
// channel, a scripted fake and a real server (aiosmtpd).

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "mail/MailMessage.h"
#include "mail/MailServers.h"
#include "mail/MailTestSupport.h"
#include "mail/SmtpClient.h"
#include "support/TempFolder.h"

namespace zel {
namespace {

using test::FakeServer;
using test::MemoryServer;

const DateTime kSaturday{2023, 12, 9, 22, 38, 51, 0};
const std::string kKanji = "\x8a\xbf";  // 漢 in Shift_JIS

OutgoingMail sampleMail() {
    OutgoingMail mail;
    mail.from = "a@example.test";
    mail.to = {"Bob <b@example.test>"};
    mail.bcc = {"c@example.test"};
    mail.subject = "abc";
    mail.body = {".", kKanji, "a"};
    return mail;
}

const std::string kSampleData =
    "From: <a@example.test>\r\n"
    "To: Bob <b@example.test>\r\n"
    "Subject: =?iso-2022-jp?B?YWJj?=\r\n"
    "X-Mailer: zel.exe 001103\r\n"
    "Date: Sat, 9 Dec 2023  22:38:51 +0900\r\n"
    "Mime-Version: 1.0\r\n"
    "Content-Type: text/plain; charset=iso-2022-jp\r\n"
    "\r\n"
    "..\r\n"
    "\x1b$B4A\x1b(J\r\n"
    "a\r\n";

std::string greetingAndHelo() {
    return "220 test ESMTP\r\n250 hello\r\n";
}

SmtpConnectRequest request(const std::string& server = "mail.test") {
    SmtpConnectRequest r;
    r.server = server;
    r.heloName = "client.test";
    return r;
}

TEST(MailMessageTest, MessageIsByteForByteTheClassicOne) {
    test::ScopedTimeZone tokyo("Asia/Tokyo");
    const int offset = zoneOffsetMinutes(kSaturday);
    EXPECT_EQ(offset, 540);
    EXPECT_EQ(mailData(sampleMail(), kSaturday, offset), kSampleData);
}

TEST(MailMessageTest, DateCarriesTheTrueZoneAndSentStampEndsWithTheMonth) {
    {
        test::ScopedTimeZone utc("UTC");
        EXPECT_EQ(mailDate(kSaturday, zoneOffsetMinutes(kSaturday)),
                  "Sat, 9 Dec 2023  22:38:51 +0000");
    }
    {
        test::ScopedTimeZone newYork("America/New_York");
        EXPECT_EQ(mailDate(kSaturday, zoneOffsetMinutes(kSaturday)),
                  "Sat, 9 Dec 2023  22:38:51 -0500");
        const DateTime july{2024, 7, 1, 8, 5, 3, 0};
        EXPECT_EQ(mailDate(july, zoneOffsetMinutes(july)), "Mon, 1 Jul 2024  08:05:03 -0400");
    }
    EXPECT_EQ(sentStamp(kSaturday), "20231209 22385112");
}

TEST(MailMessageTest, SubjectIsAlwaysOneEncodedWord) {
    EXPECT_EQ(encodedWord(""), "=?iso-2022-jp?B?\?=");
    EXPECT_EQ(encodedWord(kKanji), "=?iso-2022-jp?B?GyRCNEEbKEo=?=");
    OutgoingMail mail = sampleMail();
    mail.subject.clear();
    auto header = mailHeaderLines(mail, kSaturday, 540);
    EXPECT_EQ(header[2], "Subject: =?iso-2022-jp?B?\?=");
}

TEST(MailMessageTest, OptionalRowsAndRecipientEntries) {
    OutgoingMail mail = sampleMail();
    mail.to = {"x@t", "y@t"};
    mail.cc = {"z@t"};
    mail.replyTo = "r@t";
    auto header = mailHeaderLines(mail, kSaturday, 540);
    ASSERT_EQ(header.size(), 9u);
    EXPECT_EQ(header[1], "To: x@t,y@t");
    EXPECT_EQ(header[2], "CC: z@t");
    EXPECT_EQ(header[5], "Reply-To: r@t");
    for (const auto& line : header) EXPECT_EQ(line.find("c@example.test"), std::string::npos);

    mail.to.clear();
    mail.cc.clear();
    mail.replyTo.clear();
    header = mailHeaderLines(mail, kSaturday, 540);
    EXPECT_EQ(header.size(), 6u);
    EXPECT_EQ(header[1].rfind("Subject: ", 0), 0u);

    EXPECT_EQ(mailEntries("a@t\r\n\r\nb@t\n"), (std::vector<std::string>{"a@t", "b@t"}));
    EXPECT_TRUE(mailEntries("").empty());
    EXPECT_EQ(envelopeAddress("Bob <b@t>"), "b@t");
    EXPECT_EQ(envelopeAddress("mailto:b@t"), "b@t");
    EXPECT_EQ(envelopeAddress("b@t"), "b@t");
    EXPECT_EQ(envelopeAddress("Bob <b@t"), "b@t");
}

TEST(MailMessageTest, EightBitDisplayNamesAreEncodedAndEightBitAddressesRefused) {
    OutgoingMail mail = sampleMail();
    mail.to = {kKanji + " <b@t>"};
    EXPECT_EQ(mailHeaderLines(mail, kSaturday, 540)[1], "To: =?iso-2022-jp?B?GyRCNEEbKEo=?= <b@t>");
    EXPECT_EQ(mailFieldProblem(mail), "");
    mail.to = {kKanji + "@t"};
    EXPECT_EQ(mailFieldProblem(mail), "The address in To is not plain ASCII");
}

TEST(MailMessageTest, LineBreaksAndNulInBoxesAreRefusedByName) {
    OutgoingMail mail = sampleMail();
    mail.from = "a@t\r\nRCPT TO:<evil@t>";
    EXPECT_EQ(mailFieldProblem(mail), "A line break or NUL in From");
    mail = sampleMail();
    mail.replyTo = "x\nBcc: evil@t";
    EXPECT_EQ(mailFieldProblem(mail), "A line break or NUL in ReplyTo");
    mail = sampleMail();
    mail.cc = {std::string("c@t\0x", 5)};
    EXPECT_EQ(mailFieldProblem(mail), "A line break or NUL in CC");
}

// Long lines are cut into pieces that fit the wire and together carry the
// whole line: pure ASCII, and kanji that must never be split in half.
TEST(MailMessageTest, LongLinesAreFoldedBetweenCharacters) {
    const std::string ascii(2500, 'x');
    auto pieces = mailBodyLines({ascii});
    ASSERT_GE(pieces.size(), 3u);
    std::string joined;
    for (const auto& p : pieces) {
        EXPECT_LE(p.size(), kMaxMailLine);
        joined += p;
    }
    EXPECT_EQ(joined, ascii);

    std::string kanji;
    for (int i = 0; i < 800; ++i) kanji += kKanji + "a";
    pieces = mailBodyLines({kanji});
    ASSERT_GE(pieces.size(), 2u);
    std::size_t pairs = 0;
    for (const auto& p : pieces) {
        EXPECT_LE(p.size(), kMaxMailLine);
        EXPECT_LT(p.rfind("\x1b$B"), p.rfind("\x1b(J")) << "every piece leaves kanji mode";
        for (std::size_t i = p.find("4A"); i != std::string::npos; i = p.find("4A", i + 2)) ++pairs;
    }
    EXPECT_EQ(pairs, 800u);

    // A line that fits, however close, stays one line.
    const std::string fits(kMaxMailLine, 'y');
    EXPECT_EQ(mailBodyLines({fits}), std::vector<std::string>{fits});
    // ... unless its doubled dot would push it over.
    EXPECT_EQ(mailBodyLines({"." + fits.substr(1)}).size(), 2u);
}

// ---- the exchange over memory ----

TEST(SmtpClientTest, ClassicExchangeAndTwoSendsInOneConnection) {
    test::ScopedTimeZone tokyo("Asia/Tokyo");
    MemoryServer server(greetingAndHelo() +
                        "250 reset\r\n250 ok\r\n250 ok\r\n250 ok\r\n354 go\r\n250 queued\r\n"
                        "250 reset\r\n250 ok\r\n250 ok\r\n250 ok\r\n354 go\r\n250 queued\r\n"
                        "221 bye\r\n");
    SmtpClient client(server.factory());
    ASSERT_TRUE(client.connect(request("mail.test")).ok);
    EXPECT_EQ(server.asked.host, "mail.test");
    EXPECT_EQ(server.asked.port, 25);
    ASSERT_TRUE(client.send(sampleMail(), kSaturday, 540).ok);
    ASSERT_TRUE(client.send(sampleMail(), kSaturday, 540).ok);
    EXPECT_TRUE(client.isOpen());
    MailResult quit = client.disconnect();
    EXPECT_TRUE(quit.ok);
    EXPECT_FALSE(client.isOpen());
    const std::string once =
        "RSET\r\nMAIL FROM:<a@example.test>\r\nRCPT TO:<b@example.test>\r\n"
        "RCPT TO:<c@example.test>\r\nDATA\r\n" +
        kSampleData + ".\r\n";
    EXPECT_EQ(server.sent(), "HELO client.test\r\n" + once + once + "QUIT\r\n");
}

TEST(SmtpClientTest, NothingIsSentBeforeConnectOrWithoutFromOrRecipients) {
    MemoryServer server(greetingAndHelo());
    SmtpClient client(server.factory());
    EXPECT_EQ(client.send(sampleMail(), kSaturday, 540).error, "Not Connected");
    ASSERT_TRUE(client.connect(request()).ok);
    OutgoingMail noFrom = sampleMail();
    noFrom.from.clear();
    EXPECT_EQ(client.send(noFrom, kSaturday, 540).error, "Incomplete Header");
    OutgoingMail nobody = sampleMail();
    nobody.to.clear();
    nobody.bcc.clear();
    EXPECT_EQ(client.send(nobody, kSaturday, 540).error, "Incomplete Header");
    OutgoingMail injected = sampleMail();
    injected.from = "a@t\rDATA";
    EXPECT_EQ(client.send(injected, kSaturday, 540).error, "A line break or NUL in From");
    EXPECT_EQ(server.sent(), "HELO client.test\r\n");
    EXPECT_TRUE(client.isOpen());
}

TEST(SmtpClientTest, GreetingAndHeloRefusalsCloseTheConnection) {
    {
        MemoryServer server("554-no service\r\n554 go away\r\n");
        SmtpClient client(server.factory());
        MailResult r = client.connect(request());
        EXPECT_FALSE(r.ok);
        EXPECT_TRUE(r.closed);
        EXPECT_EQ(r.error, "554-no service\n554 go away");
        EXPECT_FALSE(client.isOpen());
        EXPECT_EQ(server.sent(), "");
    }
    {
        MemoryServer server("220 hi\r\n501 bad name\r\n");
        SmtpClient client(server.factory());
        MailResult r = client.connect(request());
        EXPECT_EQ(r.error, "Authentication failed");
        EXPECT_FALSE(client.isOpen());
    }
}

// A reply that is not one, or none at all, must never pass for success.
TEST(SmtpClientTest, MissingOrMalformedRepliesAreFailures) {
    for (const std::string& after : {std::string("hello there\r\n"), std::string("25\r\n"),
                                     std::string(""), std::string("250")}) {
        MemoryServer server("220 hi\r\n" + after);
        SmtpClient client(server.factory());
        MailResult r = client.connect(request());
        EXPECT_FALSE(r.ok) << after;
        EXPECT_TRUE(r.closed);
        EXPECT_FALSE(client.isOpen());
    }
    // The message's own reply missing: no success, the connection closed.
    MemoryServer server(greetingAndHelo() + "250 r\r\n250 ok\r\n250 ok\r\n250 ok\r\n354 go\r\n");
    SmtpClient client(server.factory());
    ASSERT_TRUE(client.connect(request()).ok);
    MailResult r = client.send(sampleMail(), kSaturday, 540);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.closed);
}

TEST(SmtpClientTest, MultiLineRepliesAreReadToTheirLastLine) {
    MemoryServer server(
        "220-first\r\n220-second\r\n220 ready\r\n250-hello\r\n250 more\r\n"
        "250 r\r\n250 ok\r\n250 ok\r\n250 ok\r\n354 go\r\n250 queued\r\n");
    SmtpClient client(server.factory());
    ASSERT_TRUE(client.connect(request()).ok);
    EXPECT_TRUE(client.send(sampleMail(), kSaturday, 540).ok);
}

TEST(SmtpClientTest, RefusedRecipientsAreListedAndNoneAcceptedSendsNoData) {
    {
        MemoryServer server(greetingAndHelo() +
                            "250 r\r\n250 ok\r\n550 no such user\r\n250 ok\r\n354 go\r\n250 q\r\n");
        SmtpClient client(server.factory());
        ASSERT_TRUE(client.connect(request()).ok);
        MailResult r = client.send(sampleMail(), kSaturday, 540);
        EXPECT_TRUE(r.ok);
        EXPECT_EQ(r.refused, std::vector<std::string>{"b@example.test: 550 no such user"});
    }
    {
        MemoryServer server(greetingAndHelo() +
                            "250 r\r\n250 ok\r\n550 no b\r\n551 no c\r\n250 reset\r\n");
        SmtpClient client(server.factory());
        ASSERT_TRUE(client.connect(request()).ok);
        MailResult r = client.send(sampleMail(), kSaturday, 540);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.error, "551 no c");
        EXPECT_EQ(r.refused.size(), 2u);
        EXPECT_EQ(server.sent().find("DATA"), std::string::npos);
        EXPECT_TRUE(server.sent().ends_with("RCPT TO:<c@example.test>\r\nRSET\r\n"));
        EXPECT_TRUE(client.isOpen());
    }
}

TEST(SmtpClientTest, ServerPortAndPortFieldChooseTheEndpoint) {
    MemoryServer server(greetingAndHelo());
    SmtpClient client(server.factory());
    ASSERT_TRUE(client.connect(request("mail.test:2525")).ok);
    EXPECT_EQ(server.asked.port, 2525);
    SmtpConnectRequest r = request("mail.test:2525");
    r.port = "587";
    MemoryServer second(greetingAndHelo());
    SmtpClient other(second.factory());
    ASSERT_TRUE(other.connect(r).ok);
    EXPECT_EQ(second.asked.port, 587);
    r.port = "x";
    MailResult bad = other.connect(r);
    EXPECT_TRUE(bad.connectFailed);
}

TEST(SmtpClientTest, LoginsUseEhloAndAuthAndNeverTravelInClearToOtherHosts) {
    MemoryServer server(
        "220 hi\r\n250-hello\r\n250-AUTH LOGIN PLAIN\r\n250 8BITMIME\r\n"
        "235 welcome\r\n");
    SmtpClient client(server.factory());
    SmtpConnectRequest r = request("127.0.0.1");
    r.login = "user";
    r.password = "pw";
    ASSERT_TRUE(client.connect(r).ok);
    EXPECT_EQ(server.sent(), "EHLO client.test\r\nAUTH PLAIN AHVzZXIAcHc=\r\n");

    MemoryServer remote(greetingAndHelo());
    SmtpClient again(remote.factory());
    r.server = "mail.example.test";
    MailResult refused = again.connect(r);
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(remote.sent(), "");
}

// ---- a scripted server on a real socket ----

TEST(SmtpFaultTest, SilentServerTimesOutInsteadOfHanging) {
    test::ScopedTimeouts quick(300);
    FakeServer server([](FakeServer::Connection& c) { c.waitForClose(); });
    SmtpClient client;
    MailResult r = client.connect(request(server.server()));
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("in time"), std::string::npos) << r.error;
    EXPECT_FALSE(client.isOpen());
}

TEST(SmtpFaultTest, ClosedPortFailsToConnect) {
    SmtpClient client;
    MailResult r = client.connect(request("127.0.0.1:" + std::to_string(test::freeLoopbackPort())));
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.connectFailed);
}

// Dropped after 354, and dropped between two sends: failures, never
// "Success", and no SIGPIPE ends the process.
TEST(SmtpFaultTest, DroppedConnectionsFailTheSend) {
    test::ScopedTimeouts quick(2000);
    FakeServer midData([](FakeServer::Connection& c) {
        std::string line;
        c.send("220 hi\r\n");
        for (const char* reply : {"250 hello\r\n", "250 r\r\n", "250 ok\r\n", "250 ok\r\n",
                                  "250 ok\r\n", "354 go\r\n"}) {
            if (!c.readLine(line)) return;
            c.send(reply);
        }
        c.readLine(line);
        c.close();
    });
    SmtpClient client;
    ASSERT_TRUE(client.connect(request(midData.server())).ok);
    MailResult r = client.send(sampleMail(), kSaturday, 540);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.closed);
    midData.finish();
    // The dot of the body went out doubled on the wire.
    EXPECT_NE(midData.wire().find("\r\n\r\n..\r\n"), std::string::npos);

    FakeServer gone([](FakeServer::Connection& c) {
        std::string line;
        c.send("220 hi\r\n");
        if (c.readLine(line)) c.send("250 hello\r\n");
        c.close();
    });
    SmtpClient second;
    ASSERT_TRUE(second.connect(request(gone.server())).ok);
    gone.finish();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    MailResult late = second.send(sampleMail(), kSaturday, 540);
    EXPECT_FALSE(late.ok);
    EXPECT_FALSE(second.isOpen());
}

// ---- a real server ----

class SmtpServerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string why;
        ASSERT_TRUE(recorder.start(why, options())) << why;
    }
    virtual test::SmtpRecorder::Options options() { return {}; }

    test::TempFolder folder;
    test::SmtpRecorder recorder{folder.path()};
};

TEST_F(SmtpServerTest, MessageArrivesAsSentAndBccOnlyInTheEnvelope) {
    test::ScopedTimeZone tokyo("Asia/Tokyo");
    SmtpClient client;
    ASSERT_TRUE(client.connect(request(recorder.server())).ok);
    OutgoingMail mail = sampleMail();
    mail.to.push_back("refused <refuse@example.test>");
    MailResult r = client.send(mail, kSaturday, 540);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.refused.size(), 1u);
    EXPECT_TRUE(client.disconnect().ok);
    recorder.stop();
    const std::vector<std::string> expected = {"HELO client.test",    "MAIL a@example.test",
                                               "RCPT b@example.test", "REFUSED refuse@example.test",
                                               "RCPT c@example.test", "DATA 1"};
    EXPECT_EQ(recorder.events(), expected);
    std::string data = kSampleData;
    data.replace(data.find("To: Bob <b@example.test>"), 24,
                 "To: Bob <b@example.test>,refused <refuse@example.test>");
    // The server takes the doubled dot off again.
    data.replace(data.find("\r\n\r\n..\r\n"), 8, "\r\n\r\n.\r\n");
    EXPECT_EQ(recorder.message(1), data);
}

class SmtpAuthTest : public SmtpServerTest {
    test::SmtpRecorder::Options options() override {
        test::SmtpRecorder::Options o;
        o.auth = true;
        return o;
    }
};

TEST_F(SmtpAuthTest, AuthPlainLogsIn) {
    SmtpClient client;
    SmtpConnectRequest r = request(recorder.server());
    r.login = "user";
    r.password = "pw";
    MailResult connected = client.connect(r);
    ASSERT_TRUE(connected.ok) << connected.error;
    ASSERT_TRUE(client.send(sampleMail(), kSaturday, 540).ok);
    client.disconnect();

    SmtpClient wrong;
    r.password = "nope";
    MailResult refused = wrong.connect(r);
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.error.rfind("Authentication failed", 0), 0u) << refused.error;
    recorder.stop();
    auto events = recorder.events();
    ASSERT_GE(events.size(), 2u);
    EXPECT_EQ(events[0], "EHLO client.test");
    EXPECT_EQ(events[1], "AUTH user");
    EXPECT_EQ(std::count(events.begin(), events.end(), "AUTH user"), 1);
}

class SmtpTlsTest : public SmtpServerTest {
  protected:
    void SetUp() override {
        std::string why;
        ASSERT_TRUE(test::makeTestCertificate(folder.path(), cert, key, why)) << why;
        SmtpServerTest::SetUp();
    }
    test::SmtpRecorder::Options options() override {
        test::SmtpRecorder::Options o;
        o.auth = true;
        o.certFile = cert;
        o.keyFile = key;
        return o;
    }
    std::string cert, key;
};

TEST_F(SmtpTlsTest, StartTlsChecksTheCertificate) {
    SmtpConnectRequest r = request(recorder.server());
    r.security = MailSecurity::StartTls;
    r.login = "user";
    r.password = "pw";
    {
        SmtpClient untrusting;
        MailResult refused = untrusting.connect(r);
        EXPECT_FALSE(refused.ok);
        EXPECT_NE(refused.error.find("not trusted"), std::string::npos) << refused.error;
    }
    setTlsTrustFile(cert);
    SmtpClient client;
    MailResult connected = client.connect(r);
    setTlsTrustFile({});
    ASSERT_TRUE(connected.ok) << connected.error;
    ASSERT_TRUE(client.send(sampleMail(), kSaturday, 540).ok);
    client.disconnect();
    recorder.stop();
    auto events = recorder.events();
    // EHLO before and after the switch to TLS.
    ASSERT_GE(events.size(), 3u);
    EXPECT_EQ(events[events.size() - 5], "AUTH user");
}

}  // namespace
}  // namespace zel
