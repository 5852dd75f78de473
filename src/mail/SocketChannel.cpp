#include "mail/SocketChannel.h"

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

#include "text/TextHelpers.h"

namespace zel {

namespace {

ChannelTimeouts& currentTimeouts() {
    static ChannelTimeouts timeouts;
    return timeouts;
}

std::string& trustFile() {
    static std::string path;
    return path;
}

std::string systemReason(int error) {
    return std::strerror(error);
}

std::string tlsReason() {
    unsigned long code = ERR_get_error();
    if (code == 0) return "TLS failure";
    char text[256];
    ERR_error_string_n(code, text, sizeof text);
    ERR_clear_error();
    return text;
}

bool setNonBlocking(int fd) {
    int flags = fcntl(fd, F_GETFL, 0);
    return flags >= 0 && fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0;
}

int millisecondsLeft(std::chrono::steady_clock::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    return left.count() < 0 ? 0 : static_cast<int>(left.count());
}

}  // namespace

ChannelTimeouts setChannelTimeouts(const ChannelTimeouts& timeouts) {
    ChannelTimeouts old = currentTimeouts();
    currentTimeouts() = timeouts;
    return old;
}

ChannelTimeouts channelTimeouts() {
    return currentTimeouts();
}

void setTlsTrustFile(std::string path) {
    trustFile() = std::move(path);
}

bool parseEndpoint(std::string_view text, int defaultPort, Endpoint& endpoint) {
    std::string_view rest = trimmedView(text);
    std::string_view port;
    if (!rest.empty() && rest.front() == '[') {
        std::size_t close = rest.find(']');
        if (close == std::string_view::npos) return false;
        endpoint.host = std::string(rest.substr(1, close - 1));
        std::string_view after = rest.substr(close + 1);
        if (!after.empty()) {
            if (after.front() != ':') return false;
            port = after.substr(1);
        }
    } else if (std::count(rest.begin(), rest.end(), ':') == 1) {
        std::size_t colon = rest.find(':');
        endpoint.host = std::string(rest.substr(0, colon));
        port = rest.substr(colon + 1);
    } else {
        // No colon, or several: a bare IPv6 address.
        endpoint.host = std::string(rest);
    }
    endpoint.port = defaultPort;
    if (!port.empty()) {
        if (!isAllDigits(port) || port.size() > 5) return false;
        endpoint.port = std::stoi(std::string(port));
    }
    return !endpoint.host.empty() && endpoint.port >= 1 && endpoint.port <= 65535;
}

struct SocketChannel::Tls {
    SSL_CTX* context = nullptr;
    SSL* session = nullptr;
    ~Tls() {
        if (session) SSL_free(session);
        if (context) SSL_CTX_free(context);
    }
};

SocketChannel::SocketChannel() : timeouts_(currentTimeouts()) {}

SocketChannel::~SocketChannel() {
    close();
}

void SocketChannel::close() {
    // No TLS close notify: the server learns of the end from the socket, and
    // a peer that has gone cannot stall us.
    tls_.reset();
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

IoResult SocketChannel::fail(std::string why) {
    close();
    return IoResult::failure(std::move(why));
}

IoResult SocketChannel::connect(const Endpoint& endpoint) {
    close();
    dropBuffer();
    timeouts_ = currentTimeouts();
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const std::string port = std::to_string(endpoint.port);
    int resolved = getaddrinfo(endpoint.host.c_str(), port.c_str(), &hints, &found);
    if (resolved != 0)
        return IoResult::failure("Unknown host " + endpoint.host + ": " + gai_strerror(resolved));
    const std::string where = endpoint.host + ":" + port;
    std::string lastError = "no address";
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(timeouts_.connectMs);
    for (addrinfo* a = found; a; a = a->ai_next) {
        int fd = socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC, a->ai_protocol);
        if (fd < 0) {
            lastError = systemReason(errno);
            continue;
        }
        if (!setNonBlocking(fd)) {
            lastError = systemReason(errno);
            ::close(fd);
            continue;
        }
        int started = ::connect(fd, a->ai_addr, a->ai_addrlen);
        if (started != 0 && errno != EINPROGRESS) {
            lastError = systemReason(errno);
            ::close(fd);
            continue;
        }
        if (started != 0) {
            pollfd p{fd, POLLOUT, 0};
            int ready;
            do {
                ready = poll(&p, 1, millisecondsLeft(deadline));
            } while (ready < 0 && errno == EINTR);
            if (ready <= 0) {
                lastError = ready == 0 ? "timed out" : systemReason(errno);
                ::close(fd);
                continue;
            }
            int error = 0;
            socklen_t length = sizeof error;
            getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length);
            if (error != 0) {
                lastError = systemReason(error);
                ::close(fd);
                continue;
            }
        }
        int one = 1;
        setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        fd_ = fd;
        freeaddrinfo(found);
        return IoResult::success();
    }
    freeaddrinfo(found);
    return IoResult::failure("Cannot connect to " + where + ": " + lastError);
}

IoResult SocketChannel::waitFor(bool forWrite, int timeoutMs) {
    pollfd p{fd_, static_cast<short>(forWrite ? POLLOUT : POLLIN), 0};
    int ready;
    do {
        ready = poll(&p, 1, timeoutMs);
    } while (ready < 0 && errno == EINTR);
    if (ready == 0) return fail("The server did not answer in time");
    if (ready < 0) return fail(systemReason(errno));
    return IoResult::success();
}

IoResult SocketChannel::write(std::string_view bytes) {
    if (fd_ < 0) return IoResult::failure("Not Connected");
    while (!bytes.empty()) {
        long sent;
        if (tls_) {
            std::size_t written = 0;
            int ok = SSL_write_ex(tls_->session, bytes.data(), bytes.size(), &written);
            if (ok <= 0) {
                int why = SSL_get_error(tls_->session, ok);
                if (why == SSL_ERROR_WANT_WRITE || why == SSL_ERROR_WANT_READ) {
                    if (IoResult w = waitFor(why == SSL_ERROR_WANT_WRITE, timeouts_.writeMs); !w)
                        return w;
                    continue;
                }
                return fail("TLS write failed: " + tlsReason());
            }
            sent = static_cast<long>(written);
        } else {
            sent = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
            if (sent < 0) {
                if (errno == EINTR) continue;
                if (errno == EAGAIN || errno == EWOULDBLOCK) {
                    if (IoResult w = waitFor(true, timeouts_.writeMs); !w) return w;
                    continue;
                }
                return fail("Sending failed: " + systemReason(errno));
            }
        }
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return IoResult::success();
}

IoResult SocketChannel::receive(char* buffer, std::size_t size, std::size_t& got) {
    got = 0;
    if (fd_ < 0) return IoResult::failure("Not Connected");
    for (;;) {
        if (tls_) {
            int ok = SSL_read_ex(tls_->session, buffer, size, &got);
            if (ok > 0) return IoResult::success();
            int why = SSL_get_error(tls_->session, ok);
            if (why == SSL_ERROR_ZERO_RETURN) return IoResult::success();
            if (why == SSL_ERROR_WANT_READ || why == SSL_ERROR_WANT_WRITE) {
                if (IoResult w = waitFor(why == SSL_ERROR_WANT_WRITE, timeouts_.readMs); !w)
                    return w;
                continue;
            }
            if (why == SSL_ERROR_SYSCALL && ERR_peek_error() == 0) return IoResult::success();
            return fail("TLS read failed: " + tlsReason());
        }
        long n = ::recv(fd_, buffer, size, 0);
        if (n >= 0) {
            got = static_cast<std::size_t>(n);
            return IoResult::success();
        }
        if (errno == EINTR) continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK) {
            if (IoResult w = waitFor(false, timeouts_.readMs); !w) return w;
            continue;
        }
        return fail("Receiving failed: " + systemReason(errno));
    }
}

IoResult SocketChannel::startTls(const std::string& host) {
    if (fd_ < 0) return IoResult::failure("Not Connected");
    if (tls_) return IoResult::success();
    dropBuffer();
    auto tls = std::make_unique<Tls>();
    tls->context = SSL_CTX_new(TLS_client_method());
    if (!tls->context) return fail("TLS: " + tlsReason());
    SSL_CTX_set_min_proto_version(tls->context, TLS1_2_VERSION);
    SSL_CTX_set_verify(tls->context, SSL_VERIFY_PEER, nullptr);
    SSL_CTX_set_default_verify_paths(tls->context);
    if (!trustFile().empty() &&
        SSL_CTX_load_verify_locations(tls->context, trustFile().c_str(), nullptr) != 1)
        return fail("TLS: cannot read the certificates of " + trustFile() + ": " + tlsReason());
    tls->session = SSL_new(tls->context);
    if (!tls->session) return fail("TLS: " + tlsReason());
    SSL_set_fd(tls->session, fd_);
    SSL_set_tlsext_host_name(tls->session, host.c_str());
    X509_VERIFY_PARAM* check = SSL_get0_param(tls->session);
    X509_VERIFY_PARAM_set_hostflags(check, X509_CHECK_FLAG_NO_PARTIAL_WILDCARDS);
    // An address given as digits is checked as an address, not as a name.
    if (X509_VERIFY_PARAM_set1_ip_asc(check, host.c_str()) != 1 &&
        X509_VERIFY_PARAM_set1_host(check, host.c_str(), 0) != 1)
        return fail("TLS: cannot check a certificate for " + host);
    for (;;) {
        int ok = SSL_connect(tls->session);
        if (ok == 1) break;
        int why = SSL_get_error(tls->session, ok);
        if (why == SSL_ERROR_WANT_READ || why == SSL_ERROR_WANT_WRITE) {
            if (IoResult w = waitFor(why == SSL_ERROR_WANT_WRITE, timeouts_.readMs); !w) return w;
            continue;
        }
        long verified = SSL_get_verify_result(tls->session);
        if (verified != X509_V_OK)
            return fail(std::string("TLS: the server's certificate is not trusted: ") +
                        X509_verify_cert_error_string(verified));
        return fail("TLS handshake failed: " + tlsReason());
    }
    tls_ = std::move(tls);
    return IoResult::success();
}

}  // namespace zel
