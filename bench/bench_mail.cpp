// Mail on loopback beside Python's own clients on the same servers and bytes:
// a POP3 mailbox fetched into a holder (poplib's RETR loop as the peer), a
// large memo sent to aiosmtpd (smtplib), the message reader over memory, and
// the ISO-2022-JP conversion beside iconv.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "formats/JisCode.h"
#include "mail/MailMessage.h"
#include "mail/MailReceiver.h"
#include "mail/MailServers.h"
#include "mail/SmtpClient.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "support/TempFolder.h"

namespace {

namespace fs = std::filesystem;
using namespace zel;

constexpr int kMessages = 5000;
constexpr std::size_t kMessageBody = 1000;

std::string smallMessage(int n) {
    std::string body;
    while (body.size() < kMessageBody)
        body += "a line of a small message, number " + std::to_string(n) + "\r\n";
    return "Subject: message " + std::to_string(n) + "\r\nFrom: sender@example.test\r\n\r\n" + body;
}

// One Dovecot with kMessages messages for the whole run.
struct Mailbox {
    Mailbox() {
        fs::create_directories(folder.osPath("server"));
        server = std::make_unique<test::DovecotServer>(folder.path("server"));
        for (int n = 1; n <= kMessages; ++n) server->addMessage(smallMessage(n));
        ok = server->start(why);
        if (ok) {
            // Dovecot indexes the mailbox at the first login; keep that out.
            Pop3Client warm;
            Pop3ConnectRequest r{server->server(), "", "tester", "secret"};
            ok = warm.connect(r).ok;
            warm.quit();
        }
    }
    test::TempFolder folder;
    std::unique_ptr<test::DovecotServer> server;
    bool ok = false;
    std::string why;
};

Mailbox& mailbox() {
    static Mailbox box;
    return box;
}

void BM_Pop3FetchIntoHolder(benchmark::State& state) {
    Mailbox& box = mailbox();
    if (!box.ok) return state.SkipWithError(box.why.c_str());
    for (auto _ : state) {
        MemoFile file;
        MemoHolder* holder = file.createHolder_(-1);
        holder->loaded = true;
        Pop3Client client;
        Pop3ConnectRequest r{box.server->server(), "", "tester", "secret"};
        if (!client.connect(r).ok) return state.SkipWithError("connect failed");
        ReceiveOptions options;
        options.attachmentFolder = box.folder.path();
        ReceiveReport report = receiveMailbox(client, *holder, options);
        if (!report.ok()) return state.SkipWithError(report.error.c_str());
        client.quit();
        benchmark::DoNotOptimize(holder->count_());
    }
    state.SetItemsProcessed(state.iterations() * kMessages);
}
BENCHMARK(BM_Pop3FetchIntoHolder)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Pop3FetchPoplib(benchmark::State& state) {
    Mailbox& box = mailbox();
    if (!box.ok) return state.SkipWithError(box.why.c_str());
    const std::string script = box.folder.path("peer_poplib.py");
    std::ofstream(script) << "import poplib, sys\n"
                             "p = poplib.POP3('127.0.0.1', int(sys.argv[1]))\n"
                             "p.user('tester'); p.pass_('secret')\n"
                             "n = p.stat()[0]\n"
                             "for i in range(1, n + 1): p.retr(i)\n"
                             "p.quit()\n";
    const std::string command =
        "/usr/bin/python3 " + script + " " + std::to_string(box.server->port());
    for (auto _ : state)
        if (std::system(command.c_str()) != 0) return state.SkipWithError("poplib failed");
    state.SetItemsProcessed(state.iterations() * kMessages);
}
BENCHMARK(BM_Pop3FetchPoplib)->Unit(benchmark::kMillisecond)->UseRealTime();

// The reader alone: RETR answers from memory, 100 MB of messages.
void BM_Pop3ReadFromMemory(benchmark::State& state) {
    const int count = 10000;
    std::string replies = "+OK\r\n+OK\r\n+OK\r\n+OK " + std::to_string(count) + " 0\r\n";
    const std::string padding = "..stuffed line of the body to make it ten kilobytes\r\n";
    for (int n = 0; n < count; ++n) {
        std::string one = smallMessage(n);
        while (one.size() < 10000) one += padding;
        replies += "+OK\r\n" + one + ".\r\n";
    }
    for (auto _ : state) {
        state.PauseTiming();
        auto prepared = std::make_unique<MemoryChannel>(replies);
        state.ResumeTiming();
        Pop3Client client([&prepared](const Endpoint&, IoResult& status) {
            status = IoResult::success();
            return std::unique_ptr<LineChannel>(std::move(prepared));
        });
        Pop3ConnectRequest r{"memory", "", "u", "p"};
        client.connect(r);
        MemoFile file;
        MemoHolder* holder = file.createHolder_(-1);
        holder->loaded = true;
        ReceiveOptions options;
        ReceiveReport report = receiveMailbox(client, *holder, options);
        if (!report.ok()) return state.SkipWithError(report.error.c_str());
        benchmark::DoNotOptimize(holder->count_());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(replies.size()));
}
BENCHMARK(BM_Pop3ReadFromMemory)->Unit(benchmark::kMillisecond);

struct SmtpSink {
    SmtpSink() { ok = recorder.start(why); }
    test::TempFolder folder;
    test::SmtpRecorder recorder{folder.path()};
    bool ok = false;
    std::string why;
};

SmtpSink& smtpSink() {
    static SmtpSink sink;
    return sink;
}

std::vector<std::string> tenMegabytes() {
    std::vector<std::string> lines;
    std::size_t size = 0;
    const std::string line = "A memo line of a large node, sent as mail \x8a\xbf\x8e\x9a.";
    while (size < (10u << 20)) {
        lines.push_back(line);
        size += line.size() + 2;
    }
    return lines;
}

void BM_SmtpSendTenMegabytes(benchmark::State& state) {
    SmtpSink& sink = smtpSink();
    if (!sink.ok) return state.SkipWithError(sink.why.c_str());
    OutgoingMail mail;
    mail.from = "a@example.test";
    mail.to = {"b@example.test"};
    mail.subject = "large";
    mail.body = tenMegabytes();
    for (auto _ : state) {
        SmtpClient client;
        SmtpConnectRequest r;
        r.server = sink.recorder.server();
        r.heloName = "bench";
        if (!client.connect(r).ok) return state.SkipWithError("connect failed");
        MailResult sent = client.send(mail, DateTime{2024, 1, 1}, 0);
        if (!sent.ok) return state.SkipWithError(sent.error.c_str());
        client.disconnect();
    }
    state.SetBytesProcessed(state.iterations() * (10 << 20));
}
BENCHMARK(BM_SmtpSendTenMegabytes)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SmtpSendSmtplib(benchmark::State& state) {
    SmtpSink& sink = smtpSink();
    if (!sink.ok) return state.SkipWithError(sink.why.c_str());
    // The same bytes our client sends, handed to smtplib as they are.
    OutgoingMail mail;
    mail.from = "a@example.test";
    mail.to = {"b@example.test"};
    mail.subject = "large";
    mail.body = tenMegabytes();
    const std::string data = sink.folder.path("message.eml");
    std::ofstream(data, std::ios::binary) << mailData(mail, DateTime{2024, 1, 1}, 0);
    const std::string script = sink.folder.path("peer_smtplib.py");
    std::ofstream(script) << "import smtplib, sys\n"
                             "data = open(sys.argv[2], 'rb').read()\n"
                             "s = smtplib.SMTP('127.0.0.1', int(sys.argv[1]))\n"
                             "s.helo('bench')\n"
                             "s.sendmail('a@example.test', ['b@example.test'], data)\n"
                             "s.quit()\n";
    const std::string command =
        "/usr/bin/python3 " + script + " " + std::to_string(sink.recorder.port()) + " " + data;
    for (auto _ : state)
        if (std::system(command.c_str()) != 0) return state.SkipWithError("smtplib failed");
    state.SetBytesProcessed(state.iterations() * (10 << 20));
}
BENCHMARK(BM_SmtpSendSmtplib)->Unit(benchmark::kMillisecond)->UseRealTime();

const std::string& sjisText() {
    static const std::string text = [] {
        std::string t;
        const std::string line =
            "Mixed text \x8a\xbf\x8e\x9a\x82\xa0\x82\xa2 and more ASCII text\r\n";
        while (t.size() < (50u << 20)) t += line;
        return t;
    }();
    return text;
}

void BM_SjisToJis(benchmark::State& state) {
    const std::string& text = sjisText();
    for (auto _ : state) benchmark::DoNotOptimize(sjisToJis_(text).size());
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_SjisToJis)->Unit(benchmark::kMillisecond);

void BM_SjisToJisIconv(benchmark::State& state) {
    static test::TempFolder folder;
    const std::string input = folder.path("sjis.txt");
    std::ofstream(input, std::ios::binary) << sjisText();
    const std::string command =
        "iconv -f CP932 -t ISO-2022-JP " + input + " > " + folder.path("jis.txt");
    for (auto _ : state)
        if (std::system(command.c_str()) != 0) return state.SkipWithError("iconv failed");
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(sjisText().size()));
}
BENCHMARK(BM_SjisToJisIconv)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
