#pragma once
// The SMTP client of the send window: one connection that stays open across
// sends. Connect reads the greeting and says HELO with the given name; Send
// resets the session and transmits one message; Disconnect says QUIT. With
// a security or a login set it speaks EHLO instead, switches to TLS and
// logs in with AUTH PLAIN or LOGIN; without them the exchange is the classic
// one, byte for byte. A reply that is missing, cut off or not a reply ends
// the step as a failure and closes the connection.

#include <string>
#include <vector>

#include "mail/MailConnection.h"
#include "mail/MailMessage.h"

namespace zel {

struct SmtpConnectRequest {
    std::string server;  // "host" or "host:port"
    std::string port;    // overrides the server's port when not empty
    std::string heloName;
    MailSecurity security = MailSecurity::None;
    // With a login the client authenticates; the password is asked for and
    // never kept beyond the call.
    std::string login;
    std::string password;
};

struct SmtpReply {
    int code = 0;
    std::vector<std::string> lines;  // as received, codes included
    // The lines joined by line breaks, as an error box shows them.
    std::string text() const;
};

class SmtpClient {
  public:
    explicit SmtpClient(ChannelFactory factory = openSocketChannel);

    bool isOpen() const { return channel_ && channel_->isOpen(); }
    // Closes an open connection first (with QUIT).
    MailResult connect(const SmtpConnectRequest& request);
    // QUIT and close; nothing when no connection is open.
    MailResult disconnect();
    // Closes without a word: after a failure, or when the program ends.
    void abandon();
    // One message, stamped `t` (local time) with the zone offset given.
    MailResult send(const OutgoingMail& mail, const DateTime& t, int offsetMinutes);

    // The lines the client sent and received, for tests (passwords masked).
    std::vector<std::string> transcript;
    bool keepTranscript = false;

  private:
    MailResult command(const std::string& line, SmtpReply& reply, bool secret = false);
    MailResult readReply(SmtpReply& reply);
    MailResult broken(const IoResult& why);
    MailResult authenticate(const SmtpConnectRequest& request, const SmtpReply& capabilities);

    ChannelFactory factory_;
    std::unique_ptr<LineChannel> channel_;
};

}  // namespace zel
