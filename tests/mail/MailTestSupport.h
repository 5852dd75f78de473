#pragma once
// Pieces the mail tests share: a time zone set for one test, channels over
// memory handed to the clients, and short time-outs so a silent server fails
// a test quickly instead of hanging it.

#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>

#include "mail/MailConnection.h"
#include "mail/SocketChannel.h"

namespace zel::test {

class ScopedTimeZone {
  public:
    explicit ScopedTimeZone(const char* zone) {
        if (const char* old = std::getenv("TZ")) old_ = old, had_ = true;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ScopedTimeZone() {
        if (had_)
            setenv("TZ", old_.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

  private:
    std::string old_;
    bool had_ = false;
};

class ScopedTimeouts {
  public:
    explicit ScopedTimeouts(int ms) : old_(setChannelTimeouts({ms, ms, ms})) {}
    ~ScopedTimeouts() { setChannelTimeouts(old_); }

  private:
    ChannelTimeouts old_;
};

// A factory that hands out one memory channel with the server's side of the
// exchange; `channel` stays readable after the client is done with it.
struct MemoryServer {
    explicit MemoryServer(std::string replies)
        : channel(std::make_shared<MemoryChannel>(std::move(replies))) {}

    ChannelFactory factory() {
        return [this](const Endpoint& endpoint, IoResult& status) -> std::unique_ptr<LineChannel> {
            asked = endpoint;
            status = IoResult::success();
            return std::make_unique<Forward>(channel);
        };
    }
    const std::string& sent() const { return channel->output; }

    // The client owns what the factory gives; the test keeps the channel.
    struct Forward : LineChannel {
        explicit Forward(std::shared_ptr<MemoryChannel> c) : to(std::move(c)) {}
        bool isOpen() const override { return to->isOpen(); }
        void close() override { to->close(); }
        IoResult write(std::string_view bytes) override { return to->write(bytes); }

      protected:
        IoResult receive(char* buffer, std::size_t size, std::size_t& got) override {
            return to->receive(buffer, size, got);
        }
        std::shared_ptr<MemoryChannel> to;
    };

    std::shared_ptr<MemoryChannel> channel;
    Endpoint asked;
};

}  // namespace zel::test
