#include "mail/Pop3Client.h"

#include "text/TextHelpers.h"

namespace zel {

namespace {

constexpr int kPop3Port = 110;
constexpr int kPop3sPort = 995;

bool breaksLine(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

std::string_view firstWord(std::string_view reply) {
    return reply.substr(0, reply.find(' '));
}

}  // namespace

bool isPositive(std::string_view reply) {
    return firstWord(reply).find("+OK") != std::string_view::npos;
}

Pop3Client::Pop3Client(ChannelFactory factory) : factory_(std::move(factory)) {}

void Pop3Client::abandon() {
    if (channel_) channel_->close();
    channel_.reset();
}

MailResult Pop3Client::broken(const IoResult& why) {
    abandon();
    return MailResult::failure(why.message, true);
}

MailResult Pop3Client::readStatus(std::string& reply) {
    if (IoResult r = channel_->readLine(reply); !r) return broken(r);
    if (keepTranscript) transcript.push_back("S: " + reply);
    return MailResult::success();
}

MailResult Pop3Client::command(const std::string& line, std::string& reply, bool secret) {
    if (!isOpen()) return MailResult::failure("Not Connected", true);
    if (keepTranscript) transcript.push_back("C: " + (secret ? std::string("PASS ***") : line));
    if (IoResult r = channel_->write(line + "\r\n"); !r) return broken(r);
    return readStatus(reply);
}

MailResult Pop3Client::connect(const Pop3ConnectRequest& request) {
    if (isOpen()) quit();
    if (request.user.empty() || request.password.empty())
        return MailResult::failure("Authentication failed");
    if (breaksLine(request.server)) return MailResult::failure("A line break or NUL in POP3Server");
    if (breaksLine(request.user)) return MailResult::failure("A line break or NUL in UserID");
    if (breaksLine(request.password)) return MailResult::failure("A line break or NUL in Password");
    Endpoint endpoint;
    std::string error;
    const int defaultPort = request.security == MailSecurity::Tls ? kPop3sPort : kPop3Port;
    if (!mailEndpoint(request.server, request.port, defaultPort, endpoint, error)) {
        MailResult failed = MailResult::failure(error, true);
        failed.connectFailed = true;
        return failed;
    }
    IoResult opened;
    channel_ = factory_(endpoint, opened);
    if (!channel_ || !opened) {
        channel_.reset();
        MailResult failed = MailResult::failure(opened.message, true);
        failed.connectFailed = true;
        return failed;
    }
    if (request.security == MailSecurity::Tls) {
        if (IoResult r = channel_->startTls(endpoint.host); !r) return broken(r);
    }
    std::string reply;
    if (MailResult r = readStatus(reply); !r.ok) return r;
    auto refuse = [this](std::string why) {
        abandon();
        return MailResult::failure(std::move(why), true);
    };
    if (!isPositive(reply)) return refuse(reply);
    if (request.security == MailSecurity::StartTls) {
        if (MailResult r = command("STLS", reply); !r.ok) return r;
        if (!isPositive(reply)) return refuse(reply);
        if (IoResult r = channel_->startTls(endpoint.host); !r) return broken(r);
    }
    if (MailResult r = command("USER " + request.user, reply); !r.ok) return r;
    if (!isPositive(reply)) return refuse("Authentication failed");
    if (MailResult r = command("PASS " + request.password, reply, true); !r.ok) return r;
    if (!isPositive(reply)) return refuse("Authentication failed");
    if (MailResult r = command("STAT", reply); !r.ok) return r;
    if (!isPositive(reply)) return refuse(reply);
    auto words = splitText(reply, " ");
    std::optional<long long> count;
    if (words.size() >= 2 && isAllDigits(words[1])) count = readInteger(words[1]);
    count_ = count && *count <= 0x7fffffff ? static_cast<int>(*count) : 0;
    return MailResult::success();
}

MailResult Pop3Client::quit() {
    if (!isOpen()) {
        channel_.reset();
        return MailResult::success();
    }
    std::string reply;
    MailResult r = command("QUIT", reply);
    abandon();
    if (!r.ok) return r;
    if (!isPositive(reply)) return MailResult::failure(reply, true);
    MailResult done;
    done.closed = true;
    return done;
}

MailResult Pop3Client::retrieve(int number, std::vector<std::string>& lines) {
    lines.clear();
    if (!isOpen()) return MailResult::failure("Not Connected", true);
    std::string reply;
    if (MailResult r = command("RETR " + std::to_string(number), reply); !r.ok) return r;
    if (!isPositive(reply)) return MailResult::failure(reply);
    std::size_t total = 0;
    std::string line;
    for (;;) {
        if (IoResult r = channel_->readLine(line); !r) {
            lines.clear();
            return broken(IoResult::failure(r.message + " (message " + std::to_string(number) +
                                            " was not received completely)"));
        }
        if (!line.empty() && line[0] == '.') {
            if (line.size() == 1) return MailResult::success();
            line.erase(0, 1);
        }
        total += line.size() + 2;
        if (total > maxMessageBytes) {
            lines.clear();
            return broken(IoResult::failure("Message " + std::to_string(number) +
                                            " is larger than " + std::to_string(maxMessageBytes) +
                                            " bytes"));
        }
        lines.push_back(std::move(line));
        line = std::string();
    }
}

MailResult Pop3Client::remove(int number) {
    if (!isOpen()) return MailResult::failure("Not Connected", true);
    std::string reply;
    if (MailResult r = command("DELE " + std::to_string(number), reply); !r.ok) return r;
    if (firstWord(reply) == "-ERR" || !isPositive(reply)) return MailResult::failure(reply);
    return MailResult::success();
}

}  // namespace zel
