#include "mail/SmtpClient.h"

#include "formats/Base64.h"
#include "text/Sjis.h"
#include "text/TextHelpers.h"

namespace zel {

namespace {

constexpr int kSmtpPort = 25;
constexpr int kSmtpsPort = 465;

bool breaksLine(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

// The words after the code of each EHLO line, upper-cased: "AUTH PLAIN LOGIN".
bool offers(const SmtpReply& capabilities, std::string_view keyword, std::string* rest = nullptr) {
    for (const auto& line : capabilities.lines) {
        if (line.size() < 4) continue;
        std::string words = upperText(trimmedView(std::string_view(line).substr(4)));
        if (words == keyword || words.starts_with(std::string(keyword) + " ") ||
            words.starts_with(std::string(keyword) + "=")) {
            if (rest) *rest = words.substr(keyword.size());
            return true;
        }
    }
    return false;
}

bool hasWord(const std::string& words, std::string_view word) {
    for (const auto& piece : splitText(words, " ="))
        if (piece == word) return true;
    return false;
}

}  // namespace

std::string SmtpReply::text() const {
    std::string joined;
    for (const auto& line : lines) {
        if (!joined.empty()) joined += '\n';
        joined += line;
    }
    return joined;
}

SmtpClient::SmtpClient(ChannelFactory factory) : factory_(std::move(factory)) {}

void SmtpClient::abandon() {
    if (channel_) channel_->close();
    channel_.reset();
}

MailResult SmtpClient::broken(const IoResult& why) {
    abandon();
    return MailResult::failure(why.message, true);
}

MailResult SmtpClient::readReply(SmtpReply& reply) {
    reply = {};
    std::string line;
    for (;;) {
        if (IoResult r = channel_->readLine(line); !r) return broken(r);
        if (keepTranscript) transcript.push_back("S: " + line);
        const bool digits = line.size() >= 3 && isAllDigits(std::string_view(line).substr(0, 3));
        const char after = line.size() > 3 ? line[3] : ' ';
        if (!digits || (after != ' ' && after != '-')) {
            abandon();
            return MailResult::failure("The server sent no valid reply: " + line, true);
        }
        reply.lines.push_back(line);
        if (after == ' ') {
            reply.code = std::stoi(line.substr(0, 3));
            return MailResult::success();
        }
        if (reply.lines.size() > 10000) {
            abandon();
            return MailResult::failure("The server's reply does not end", true);
        }
    }
}

MailResult SmtpClient::command(const std::string& line, SmtpReply& reply, bool secret) {
    if (!isOpen()) return MailResult::failure("Not Connected", true);
    if (keepTranscript) transcript.push_back("C: " + (secret ? std::string("***") : line));
    if (IoResult r = channel_->write(line + "\r\n"); !r) return broken(r);
    return readReply(reply);
}

MailResult SmtpClient::connect(const SmtpConnectRequest& request) {
    if (isOpen()) disconnect();
    if (breaksLine(request.server)) return MailResult::failure("A line break or NUL in SMTPServer");
    if (breaksLine(request.heloName)) return MailResult::failure("A line break or NUL in UserID");
    if (breaksLine(request.login)) return MailResult::failure("A line break or NUL in the login");
    Endpoint endpoint;
    std::string error;
    const int defaultPort = request.security == MailSecurity::Tls ? kSmtpsPort : kSmtpPort;
    if (!mailEndpoint(request.server, request.port, defaultPort, endpoint, error)) {
        MailResult failed = MailResult::failure(error, true);
        failed.connectFailed = true;
        return failed;
    }
    const bool esmtp = request.security != MailSecurity::None || !request.login.empty();
    if (!request.login.empty() && request.security == MailSecurity::None &&
        !isLoopbackHost(endpoint.host))
        return MailResult::failure("A password is sent only over TLS: choose STARTTLS or TLS for " +
                                   endpoint.host);

    IoResult opened;
    channel_ = factory_(endpoint, opened);
    if (!channel_ || !opened) {
        channel_.reset();
        MailResult failed =
            MailResult::failure(opened.message.empty() ? "Connect Faile" : opened.message, true);
        failed.connectFailed = true;
        return failed;
    }
    if (request.security == MailSecurity::Tls) {
        if (IoResult r = channel_->startTls(endpoint.host); !r) return broken(r);
    }
    SmtpReply reply;
    if (MailResult r = readReply(reply); !r.ok) return r;
    if (reply.code >= 400) {
        abandon();
        return MailResult::failure(reply.text(), true);
    }
    if (!esmtp) {
        if (MailResult r = command("HELO " + request.heloName, reply); !r.ok) return r;
        if (reply.code >= 300) {
            abandon();
            return MailResult::failure("Authentication failed", true);
        }
        return MailResult::success();
    }
    if (MailResult r = command("EHLO " + request.heloName, reply); !r.ok) return r;
    if (reply.code >= 300) {
        abandon();
        return MailResult::failure("Authentication failed", true);
    }
    if (request.security == MailSecurity::StartTls) {
        if (!offers(reply, "STARTTLS")) {
            abandon();
            return MailResult::failure("The server offers no STARTTLS", true);
        }
        SmtpReply ready;
        if (MailResult r = command("STARTTLS", ready); !r.ok) return r;
        if (ready.code != 220) {
            abandon();
            return MailResult::failure(ready.text(), true);
        }
        if (IoResult r = channel_->startTls(endpoint.host); !r) return broken(r);
        // What the server offered before TLS no longer counts (RFC 3207).
        if (MailResult r = command("EHLO " + request.heloName, reply); !r.ok) return r;
        if (reply.code >= 300) {
            abandon();
            return MailResult::failure("Authentication failed", true);
        }
    }
    if (!request.login.empty()) return authenticate(request, reply);
    return MailResult::success();
}

MailResult SmtpClient::authenticate(const SmtpConnectRequest& request,
                                    const SmtpReply& capabilities) {
    std::string mechanisms;
    if (!offers(capabilities, "AUTH", &mechanisms)) {
        abandon();
        return MailResult::failure("The server offers no AUTH", true);
    }
    SmtpReply reply;
    if (hasWord(mechanisms, "PLAIN")) {
        std::string token =
            std::string(1, '\0') + request.login + std::string(1, '\0') + request.password;
        if (MailResult r = command("AUTH PLAIN " + base64Encode_(token), reply, true); !r.ok)
            return r;
    } else if (hasWord(mechanisms, "LOGIN")) {
        if (MailResult r = command("AUTH LOGIN", reply); !r.ok) return r;
        if (reply.code == 334) {
            if (MailResult r = command(base64Encode_(request.login), reply); !r.ok) return r;
        }
        if (reply.code == 334) {
            if (MailResult r = command(base64Encode_(request.password), reply, true); !r.ok)
                return r;
        }
    } else {
        abandon();
        return MailResult::failure("The server offers neither AUTH PLAIN nor AUTH LOGIN", true);
    }
    if (reply.code != 235) {
        abandon();
        return MailResult::failure("Authentication failed\n" + reply.text(), true);
    }
    return MailResult::success();
}

MailResult SmtpClient::disconnect() {
    if (!isOpen()) {
        channel_.reset();
        return MailResult::success();
    }
    SmtpReply reply;
    MailResult r = command("QUIT", reply);
    abandon();
    if (!r.ok) return r;
    if (reply.code >= 340) return MailResult::failure(reply.text(), true);
    MailResult done;
    done.closed = true;
    return done;
}

MailResult SmtpClient::send(const OutgoingMail& mail, const DateTime& t, int offsetMinutes) {
    if (!isOpen()) return MailResult::failure("Not Connected");
    if (mail.from.empty() || (mail.to.empty() && mail.cc.empty() && mail.bcc.empty()))
        return MailResult::failure("Incomplete Header");
    if (std::string problem = mailFieldProblem(mail); !problem.empty())
        return MailResult::failure(problem);
    // Built before the exchange starts, so nothing is sent for a message that
    // cannot be made.
    std::string data = mailData(mail, t, offsetMinutes);
    data += ".\r\n";

    SmtpReply reply;
    if (MailResult r = command("RSET", reply); !r.ok) return r;
    if (reply.code >= 400) return MailResult::failure(reply.text());
    if (MailResult r = command("MAIL FROM:<" + mail.from + ">", reply); !r.ok) return r;
    if (reply.code >= 400) return MailResult::failure(reply.text());

    MailResult outcome;
    int accepted = 0;
    std::string lastRefusal;
    for (const auto* box : {&mail.to, &mail.cc, &mail.bcc}) {
        for (const auto& entry : *box) {
            std::string address = envelopeAddress(entry);
            if (address.empty()) continue;
            if (MailResult r = command("RCPT TO:<" + address + ">", reply); !r.ok) return r;
            if (reply.code >= 400) {
                outcome.refused.push_back(address + ": " + reply.text());
                lastRefusal = reply.text();
            } else {
                ++accepted;
            }
        }
    }
    if (accepted == 0) {
        // DATA would only be refused; the session is left clean instead.
        SmtpReply reset;
        if (MailResult r = command("RSET", reset); !r.ok) return r;
        MailResult none =
            MailResult::failure(lastRefusal.empty() ? "No recipient was accepted" : lastRefusal);
        none.refused = std::move(outcome.refused);
        return none;
    }
    if (MailResult r = command("DATA", reply); !r.ok) return r;
    if (reply.code >= 400 || reply.code < 300) return MailResult::failure(reply.text());
    if (keepTranscript) transcript.push_back("C: <" + std::to_string(data.size()) + " bytes>");
    if (IoResult w = channel_->write(data); !w) return broken(w);
    if (MailResult r = readReply(reply); !r.ok) return r;
    if (reply.code >= 400) {
        MailResult refused = MailResult::failure(reply.text());
        refused.refused = std::move(outcome.refused);
        return refused;
    }
    return outcome;
}

}  // namespace zel
