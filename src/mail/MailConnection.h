#pragma once
// What the SMTP and POP3 clients share: how a connection is secured, where
// their channels come from, and the outcome of one step of an exchange.

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "mail/LineChannel.h"
#include "mail/SocketChannel.h"

namespace zel {

enum class MailSecurity {
    None,      // plain text, as the classic exchange
    StartTls,  // plain connect, then STARTTLS (SMTP) or STLS (POP3)
    Tls,       // TLS from the first byte (ports 465 and 995)
};

// "" and "none" are None; "starttls" and "stls" StartTls; "tls" and "ssl"
// Tls (any case). False for anything else.
bool parseSecurity(std::string_view text, MailSecurity& security);
std::string_view securityName(MailSecurity security);

// The outcome of a step. `closed` tells that the step ended the connection
// (a failed greeting, a broken link): the window then shows it closed.
struct MailResult {
    bool ok = true;
    std::string error;
    bool closed = false;
    // No connection could be made at all (unknown host, refused, timed out).
    bool connectFailed = false;
    // Recipients the server refused, each with its reply, in the order sent.
    std::vector<std::string> refused;

    static MailResult success() { return {}; }
    static MailResult failure(std::string why, bool closed = false) {
        MailResult r;
        r.ok = false;
        r.error = std::move(why);
        r.closed = closed;
        return r;
    }
};

// Makes the channel of a new connection; tests hand in channels of their own.
using ChannelFactory =
    std::function<std::unique_ptr<LineChannel>(const Endpoint& endpoint, IoResult& status)>;
// The real one: a TCP connection (SocketChannel).
std::unique_ptr<LineChannel> openSocketChannel(const Endpoint& endpoint, IoResult& status);

// 127.0.0.0/8, ::1 and "localhost": where a password may travel unencrypted.
bool isLoopbackHost(std::string_view host);

// Where to connect: the server text ("host" or "host:port"), the port text
// when it is not empty, else the server's own port, else the default of the
// security. False with `error` set when either does not make an endpoint.
bool mailEndpoint(std::string_view server, std::string_view port, int defaultPort,
                  Endpoint& endpoint, std::string& error);

}  // namespace zel
