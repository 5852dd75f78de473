#pragma once
// The POP3 client of the receive window: log in, learn how many messages
// wait, fetch them one by one and mark them deleted. Deletions take effect
// only when the session ends with QUIT; a connection that breaks or is
// abandoned ends without it, so the server keeps every message.

#include <string>
#include <vector>

#include "mail/MailConnection.h"

namespace zel {

struct Pop3ConnectRequest {
    std::string server;  // "host" or "host:port"
    std::string port;    // overrides the server's port when not empty
    std::string user;
    std::string password;
    MailSecurity security = MailSecurity::None;
};

class Pop3Client {
  public:
    explicit Pop3Client(ChannelFactory factory = openSocketChannel);

    bool isOpen() const { return channel_ && channel_->isOpen(); }
    // Logs in and reads the message count (STAT).
    MailResult connect(const Pop3ConnectRequest& request);
    // QUIT (the server then deletes what was marked) and close.
    MailResult quit();
    // Closes without QUIT: the server forgets the deletions.
    void abandon();
    // The number STAT gave at the last successful connect; 0 before.
    int messageCount() const { return count_; }
    // Message `number`, its lines without their ends and dot-stuffing.
    MailResult retrieve(int number, std::vector<std::string>& lines);
    // Marks message `number` deleted (DELE).
    MailResult remove(int number);

    // Messages larger than this are refused while they arrive.
    std::size_t maxMessageBytes = std::size_t(1) << 30;

    // Commands sent (passwords masked) and first reply lines, for tests.
    std::vector<std::string> transcript;
    bool keepTranscript = false;

  private:
    // Sends `line` and reads the one-line reply.
    MailResult command(const std::string& line, std::string& reply, bool secret = false);
    MailResult readStatus(std::string& reply);
    MailResult broken(const IoResult& why);

    ChannelFactory factory_;
    std::unique_ptr<LineChannel> channel_;
    int count_ = 0;
};

// Whether a reply's first word (the text up to its first blank) holds "+OK".
bool isPositive(std::string_view reply);

}  // namespace zel
