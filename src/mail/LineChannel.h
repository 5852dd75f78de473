#pragma once
// A byte stream to a mail server read as lines: the one channel the SMTP and
// POP3 clients talk through. Lines end in CR LF, LF or CR; a line longer than
// the channel's limit, a stream that ends inside a line and every transport
// failure come back as failures, never as a short line, so a client cannot
// mistake a broken exchange for a reply.

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/IoResult.h"

namespace zel {

class LineChannel {
  public:
    virtual ~LineChannel() = default;

    virtual bool isOpen() const = 0;
    // Ends the connection at once, without a word to the server.
    virtual void close() = 0;
    virtual IoResult write(std::string_view bytes) = 0;
    // Switches the open connection to TLS, checking the server's certificate
    // against `host`. Channels that cannot do so refuse.
    virtual IoResult startTls(const std::string& host);
    virtual bool isSecure() const { return false; }

    // The next line, without its end.
    IoResult readLine(std::string& line);

    // The longest line accepted; longer ones fail the read.
    std::size_t maxLineLength = 16 * 1024 * 1024;

  protected:
    // Up to `size` bytes into `buffer`; `got` 0 means the stream ended.
    virtual IoResult receive(char* buffer, std::size_t size, std::size_t& got) = 0;
    // Forgets buffered bytes (a new connection, or the switch to TLS).
    void dropBuffer();

  private:
    std::string buffer_;
    std::size_t start_ = 0;
    // The last line ended in CR: an LF right after it belongs to that end.
    bool skipLineFeed_ = false;
};

// A channel over bytes held in memory, for tests and benchmarks: reads take
// `input` in order (then the stream ends), writes are recorded in `output`.
class MemoryChannel : public LineChannel {
  public:
    explicit MemoryChannel(std::string input = {}) : input(std::move(input)) {}

    bool isOpen() const override { return open_; }
    void close() override { open_ = false; }
    IoResult write(std::string_view bytes) override;

    std::string input;
    std::string output;
    // The largest piece one receive hands over, so tests can cut lines apart.
    std::size_t chunk = 64 * 1024;

    // Public here, so a channel handed to a client can be read through.
    IoResult receive(char* buffer, std::size_t size, std::size_t& got) override;

  private:
    std::size_t read_ = 0;
    bool open_ = true;
};

}  // namespace zel
