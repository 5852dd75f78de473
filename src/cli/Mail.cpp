// mail-message, send and fetch over the mail engines. Passwords come from
// ZEL_MAIL_PASSWORD or are asked on the terminal, never from the command
// line, where every user of the machine could read them.

#include "cli/Mail.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <ostream>

#include "cli/Document.h"
#include "mail/MailReceiver.h"
#include "mail/MailSettings.h"
#include "model/HolderFile.h"
#include "model/MemoHolder.h"
#include "platform/Clock.h"
#include "text/TextHelpers.h"

namespace zel {

namespace {

constexpr const char* kPasswordVariable = "ZEL_MAIL_PASSWORD";

// The password: the environment's, else typed on the terminal without echo.
bool askPassword(const ToolOutput& io, const std::string& prompt, std::string& password) {
    if (const char* given = std::getenv(kPasswordVariable)) {
        password = given;
        return true;
    }
    int tty = ::open("/dev/tty", O_RDWR | O_CLOEXEC);
    if (tty < 0) {
        io.fail(std::string("No terminal to ask for the password: set ") + kPasswordVariable);
        return false;
    }
    termios saved{};
    const bool isTerminal = tcgetattr(tty, &saved) == 0;
    if (isTerminal) {
        termios quiet = saved;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        tcsetattr(tty, TCSAFLUSH, &quiet);
    }
    if (::write(tty, prompt.data(), prompt.size()) < 0) {
    }
    password.clear();
    char c;
    while (::read(tty, &c, 1) == 1 && c != '\n') password += c;
    if (isTerminal) tcsetattr(tty, TCSAFLUSH, &saved);
    if (::write(tty, "\n", 1) < 0) {
    }
    ::close(tty);
    return true;
}

// --time YYYYMMDDhhnnss, else the clock.
bool sendTime(const ToolOutput& io, const VerbArguments& split, DateTime& t) {
    const std::string stamp = split.value("--time");
    if (stamp.empty()) {
        t = clockNow();
        return true;
    }
    const std::optional<DateTime> given = readCompactDateTime(stamp);
    if (!given || stamp.size() != 14 || !isAllDigits(stamp)) {
        io.usageError("--time wants YYYYMMDDhhnnss, not " + stamp);
        return false;
    }
    t = *given;
    return true;
}

int openNode(const ToolOutput& io, const std::vector<std::string>& words, Document& document,
             MemoNode*& node) {
    std::string error;
    const std::string path = io.stored(words[0]);
    if (openDocument(path, document, error) != 0) return io.fail(error);
    const std::string holderName = words.size() == 3 ? io.stored(words[1]) : std::string();
    const std::string nodeName = io.stored(words.back());
    MemoHolder* holder = chooseHolder(document, holderName);
    if (!holder) return io.fail("No holder named " + holderName + " in " + path);
    if (!holder->loaded) return io.fail("The holder " + holder->getName_() + " could not be read");
    node = chooseNode(*holder, nodeName);
    if (!node) return io.fail("No node named " + nodeName + " in the holder " + holder->getName_());
    return 0;
}

// The words and options of mail-message and send; 0 or the usage error.
int splitNodeCall(const ToolOutput& io, const std::vector<std::string>& args, bool sending,
                  VerbArguments& split) {
    std::string error;
    bool parsed =
        sending ? splitVerbArguments(args, {}, {"--time", "--server", "--ca-file"}, split, error)
                : splitVerbArguments(args, {}, {"--time"}, split, error);
    if (!parsed) return io.usageError(error);
    if (split.words.size() < 2 || split.words.size() > 3)
        return io.usageError(std::string("wrong number of arguments for ") +
                             (sending ? "send" : "mail-message"));
    return 0;
}

int runMailMessage(const ToolOutput& io, const std::vector<std::string>& args) {
    VerbArguments split;
    if (int bad = splitNodeCall(io, args, false, split)) return bad;
    DateTime t;
    if (!sendTime(io, split, t)) return 1;
    VerbDocument held;
    Document& document = *held;
    MemoNode* node = nullptr;
    if (int bad = openNode(io, split.words, document, node)) return bad;
    const OutgoingMail mail = outgoingMailOf(sendSettingsOf(*node), node->memo);
    if (std::string problem = mailFieldProblem(mail); !problem.empty()) return io.fail(problem);
    io.out << mailData(mail, t, zoneOffsetMinutes(t));
    return 0;
}

int runSend(const ToolOutput& io, const std::vector<std::string>& args) {
    VerbArguments split;
    if (int bad = splitNodeCall(io, args, true, split)) return bad;
    DateTime t;
    if (!sendTime(io, split, t)) return 1;
    VerbDocument held;
    Document& document = *held;
    MemoNode* node = nullptr;
    if (int bad = openNode(io, split.words, document, node)) return bad;
    SendSettings settings = sendSettingsOf(*node);
    if (!split.value("--server").empty()) settings.smtpServer = io.stored(split.value("--server"));
    SmtpConnectRequest request;
    std::string error;
    if (!smtpRequestOf(settings, request, error)) return io.fail(error);
    if (!request.login.empty() &&
        !askPassword(io, "Password for " + request.login + ": ", request.password))
        return 1;
    setTlsTrustFile(split.value("--ca-file"));
    SmtpClient client;
    MailResult r = client.connect(request);
    request.password.clear();
    if (!r.ok) return io.fail(r.error);
    r = client.send(outgoingMailOf(settings, node->memo), t, zoneOffsetMinutes(t));
    for (const auto& refused : r.refused)
        io.err << "zel-tool: refused " << io.shown(refused) << '\n';
    if (!r.ok) {
        client.abandon();
        return io.fail(r.error);
    }
    client.disconnect();
    io.out << "Success\n";
    return 0;
}

int runFetch(const ToolOutput& io, const std::vector<std::string>& args) {
    VerbArguments split;
    std::string error;
    if (!splitVerbArguments(
            args, {"--delete"},
            {"--server", "--port", "--user", "--security", "--attachments", "--ca-file"}, split,
            error))
        return io.usageError(error);
    if (split.words.empty() || split.words.size() > 2)
        return io.usageError("wrong number of arguments for fetch");
    VerbDocument held;
    Document& document = *held;
    const std::string path = io.stored(split.words[0]);
    if (openDocument(path, document, error, true) != 0) return io.fail(error);
    if (document.kind == FileKind::Container)
        return io.fail("fetch saves into holder files; a container keeps its holders inside: " +
                       path);
    const std::string holderName = split.words.size() == 2 ? io.stored(split.words[1]) : "";
    MemoHolder* holder = chooseHolder(document, holderName);
    if (!holder) return io.fail("No holder named " + holderName + " in " + path);
    if (!holder->loaded) return io.fail("The holder " + holder->getName_() + " could not be read");
    if (holder->isReadOnlyEffective_())
        return io.fail("The holder " + holder->getName_() + " is read-only");

    ReceiveSettings settings = receiveSettingsOf(holder, nullptr, &document.file);
    if (!split.value("--server").empty()) settings.pop3Server = io.stored(split.value("--server"));
    if (!split.value("--port").empty()) settings.pop3Port = split.value("--port");
    if (!split.value("--user").empty()) settings.userID = io.stored(split.value("--user"));
    if (!split.value("--security").empty()) settings.pop3Security = split.value("--security");
    std::string password;
    if (!askPassword(io, "Password for " + settings.userID + ": ", password)) return 1;
    Pop3ConnectRequest request;
    if (!pop3RequestOf(settings, password, request, error)) return io.fail(error);
    password.clear();
    setTlsTrustFile(split.value("--ca-file"));

    Pop3Client client;
    MailResult r = client.connect(request);
    request.password.clear();
    if (!r.ok) return io.fail(r.error);
    ReceiveOptions options;
    options.attachmentFolder = split.value("--attachments").empty()
                                   ? holder->getTempDir_()
                                   : io.stored(split.value("--attachments"));
    // Nothing is deleted while receiving: first the holder is saved.
    ReceiveReport report = receiveMailbox(client, *holder, options);
    const int made = static_cast<int>(report.nodes.size());
    if (made > 0) {
        std::string saveError;
        if (saveHolderFile_(*holder, holderSource(document, *holder), &saveError) < 0) {
            client.abandon();
            return io.fail("Nothing was deleted: " + saveError);
        }
    }
    io.out << made << " of " << client.messageCount() << " messages into "
           << io.shown(holderSource(document, *holder)) << '\n';
    if (!report.ok()) {
        client.abandon();
        return io.fail(report.error);
    }
    if (split.has("--delete")) {
        for (int n = 1; n <= made; ++n) {
            if (MailResult d = client.remove(n); !d.ok) {
                client.abandon();
                return io.fail(d.error);
            }
        }
    }
    if (MailResult q = client.quit(); !q.ok) return io.fail(q.error);
    return 0;
}

}  // namespace

const ToolVerb kMailMessageVerb{
    "mail-message",
    "  mail-message FILE [HOLDER] NODE\n"
    "                            the exact message Send would transmit for the node\n"
    "                            (settings inherited as the send window reads them)\n"
    "    --time YYYYMMDDhhnnss   the send time (default now)\n",
    false, runMailMessage};

const ToolVerb kSendVerb{
    "send",
    "  send FILE [HOLDER] NODE    send the node over SMTP as the send window does;\n"
    "                            exit status 0 once the server accepted it\n"
    "    --server HOST[:PORT]    instead of the SMTPServer setting\n"
    "    --time YYYYMMDDhhnnss   the Date of the message (default now)\n"
    "    --ca-file PEM           trust these certificates besides the system's\n",
    false, runSend};

const ToolVerb kFetchVerb{
    "fetch",
    "  fetch FILE [HOLDER]        receive a POP3 mailbox into the holder, one node\n"
    "                            per message, and save the holder file; the\n"
    "                            password comes from ZEL_MAIL_PASSWORD or the terminal\n"
    "    --server HOST[:PORT] --port N --user NAME --security none|STLS|TLS\n"
    "                            instead of the holder's (memo file's) settings\n"
    "    --delete                delete the messages once the holder is saved\n"
    "    --attachments DIR       where attached files go (default the temporary folder)\n"
    "    --ca-file PEM           trust these certificates besides the system's\n",
    false, runFetch};

}  // namespace zel
