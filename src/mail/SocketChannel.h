#pragma once
// The line channel over a TCP connection: host names and IPv4 or IPv6
// addresses, a time-out on connecting and on every read and write, no
// SIGPIPE when the server has gone, and TLS (implicit or switched on by
// STARTTLS / STLS) through OpenSSL with the server's certificate checked.

#include <memory>
#include <string>
#include <string_view>

#include "mail/LineChannel.h"

namespace zel {

struct ChannelTimeouts {
    int connectMs = 30000;
    int readMs = 60000;
    int writeMs = 60000;
};

// The time-outs of new connections; tests shorten them. Yields the old ones.
ChannelTimeouts setChannelTimeouts(const ChannelTimeouts& timeouts);
ChannelTimeouts channelTimeouts();

// Certificates that TLS connections trust besides the system's: a PEM file
// (a test's own authority, a company's). Empty: the system's only.
void setTlsTrustFile(std::string path);

// "host", "host:port", "[v6 address]:port" or a bare IPv6 address.
struct Endpoint {
    std::string host;
    int port = 0;
};
// False when the port is not a number from 1 to 65535 or the host is empty.
bool parseEndpoint(std::string_view text, int defaultPort, Endpoint& endpoint);

class SocketChannel : public LineChannel {
  public:
    SocketChannel();
    ~SocketChannel() override;
    SocketChannel(const SocketChannel&) = delete;
    SocketChannel& operator=(const SocketChannel&) = delete;

    // Connects to the first address of `host` that answers.
    IoResult connect(const Endpoint& endpoint);

    bool isOpen() const override { return fd_ >= 0; }
    void close() override;
    IoResult write(std::string_view bytes) override;
    IoResult startTls(const std::string& host) override;
    bool isSecure() const override { return tls_ != nullptr; }

  protected:
    IoResult receive(char* buffer, std::size_t size, std::size_t& got) override;

  private:
    struct Tls;
    // Waits until the socket can be read (`forWrite` false) or written.
    IoResult waitFor(bool forWrite, int timeoutMs);
    IoResult fail(std::string why);

    int fd_ = -1;
    ChannelTimeouts timeouts_;
    std::unique_ptr<Tls> tls_;
};

}  // namespace zel
