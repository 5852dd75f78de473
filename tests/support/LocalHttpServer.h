#pragma once
// A small HTTP/1.0 server on 127.0.0.1 for download tests: it answers each
// GET from a table of paths (status, extra header lines, body) and 404 for
// anything else, one request per connection, on a thread of its own until it
// is destroyed.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>

namespace zel::test {

class LocalHttpServer {
  public:
    struct Answer {
        int status = 200;
        std::string body;
        std::string headers;  // extra lines, each ending in "\r\n"
    };

    LocalHttpServer() {
        listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (listener_ < 0 ||
            ::bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            ::listen(listener_, 16) != 0 ||
            ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
            throw std::runtime_error("cannot listen on 127.0.0.1");
        }
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { serve(); });
    }
    ~LocalHttpServer() {
        running_ = false;
        thread_.join();
        ::close(listener_);
    }
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    void answer(const std::string& path, Answer reply) {
        std::lock_guard lock(mutex_);
        answers_[path] = std::move(reply);
    }
    std::string url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(port_) + path;
    }
    int requestCount() const { return requests_; }

  private:
    void serve() {
        while (running_) {
            pollfd waiting{listener_, POLLIN, 0};
            if (::poll(&waiting, 1, 50) <= 0) continue;
            int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            if (client < 0) continue;
            handle(client);
            ::close(client);
        }
    }

    void handle(int client) {
        std::string request;
        char buffer[4096];
        while (request.find("\r\n\r\n") == std::string::npos) {
            pollfd waiting{client, POLLIN, 0};
            if (::poll(&waiting, 1, 2000) <= 0) return;
            ssize_t n = ::recv(client, buffer, sizeof buffer, 0);
            if (n <= 0) return;
            request.append(buffer, static_cast<std::size_t>(n));
        }
        ++requests_;
        std::size_t start = request.find(' ') + 1;
        std::string path = request.substr(start, request.find(' ', start) - start);
        Answer reply{404, "not here", ""};
        {
            std::lock_guard lock(mutex_);
            if (auto found = answers_.find(path); found != answers_.end()) reply = found->second;
        }
        std::string response = "HTTP/1.0 " + std::to_string(reply.status) + " Answer\r\n" +
                               "Content-Length: " + std::to_string(reply.body.size()) + "\r\n" +
                               reply.headers + "Connection: close\r\n\r\n" + reply.body;
        for (std::size_t sent = 0; sent < response.size();) {
            ssize_t n =
                ::send(client, response.data() + sent, response.size() - sent, MSG_NOSIGNAL);
            if (n <= 0) return;
            sent += static_cast<std::size_t>(n);
        }
    }

    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> running_{true};
    std::atomic<int> requests_{0};
    std::mutex mutex_;
    std::map<std::string, Answer> answers_;
    std::thread thread_;
};

}  // namespace zel::test
