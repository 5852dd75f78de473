#pragma once
// The servers the mail tests talk to, all on 127.0.0.1 and on free ports,
// started by the test in its own folder and stopped when the object goes:
// Dovecot as a real POP3 server, aiosmtpd as a real SMTP server that records
// what it was sent, and a scripted fake for the faults real servers do not
// make. None of them can hang a test: each start gives up after a few
// seconds and says why.

#include <sys/types.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace zel::test {

// A port nobody listens on right now.
int freeLoopbackPort();

// A certificate and key for 127.0.0.1 and localhost, made with openssl in
// `folder`; the certificate file also serves as the trusted authority.
bool makeTestCertificate(const std::string& folder, std::string& certFile, std::string& keyFile,
                         std::string& why);

class DovecotServer {
  public:
    // `folder` must be empty; the server keeps its files and the mailbox of
    // user "tester" (password "secret") there.
    explicit DovecotServer(std::string folder);
    ~DovecotServer();
    DovecotServer(const DovecotServer&) = delete;
    DovecotServer& operator=(const DovecotServer&) = delete;

    // With a certificate the port speaks TLS from the first byte.
    bool start(std::string& why, const std::string& certFile = {}, const std::string& keyFile = {});
    void stop();
    int port() const { return port_; }
    std::string server() const { return "127.0.0.1:" + std::to_string(port_); }
    // Drops a message into the mailbox, exactly these bytes.
    void addMessage(const std::string& bytes);
    // Messages left in the mailbox.
    int messageCount() const;
    std::string log() const;

  private:
    std::string folder_;
    std::string maildir_;
    int port_ = 0;
    pid_t pid_ = -1;
    int added_ = 0;
};

// aiosmtpd recording each session: "HELO name", "EHLO name", "AUTH login",
// "MAIL address", "RCPT address", "REFUSED address" and "DATA n" lines in
// events(), the n-th message's bytes in message(n). Addresses beginning
// "refuse" get 550.
class SmtpRecorder {
  public:
    struct Options {
        // Logins are offered (over plain text too) and "user"/"pw" accepted.
        bool auth = false;
        // STARTTLS offered with this certificate.
        std::string certFile;
        std::string keyFile;
    };
    explicit SmtpRecorder(std::string folder);
    ~SmtpRecorder();
    SmtpRecorder(const SmtpRecorder&) = delete;
    SmtpRecorder& operator=(const SmtpRecorder&) = delete;

    bool start(std::string& why, const Options& options);
    bool start(std::string& why) { return start(why, Options{}); }
    void stop();
    int port() const { return port_; }
    std::string server() const { return "127.0.0.1:" + std::to_string(port_); }
    std::vector<std::string> events() const;
    std::string message(int n) const;

  private:
    std::string folder_;
    int port_ = 0;
    pid_t pid_ = -1;
};

// A scripted server: each connection accepted is handed to the script on the
// server's thread; everything received is kept in wire().
class FakeServer {
  public:
    class Connection {
      public:
        explicit Connection(int fd, FakeServer& server) : fd_(fd), server_(server) {}
        void send(const std::string& bytes);
        // The next line without its CR LF; false when the client closed the
        // connection or said nothing for five seconds.
        bool readLine(std::string& line);
        // Reads lines up to and including ".", as DATA sends them.
        bool readData(std::vector<std::string>& lines);
        // Waits until the client closes (five seconds at most).
        void waitForClose();
        void close();

      private:
        int fd_;
        FakeServer& server_;
        std::string pending_;
    };
    using Script = std::function<void(Connection&)>;

    explicit FakeServer(Script script, int connections = 1);
    ~FakeServer();
    FakeServer(const FakeServer&) = delete;
    FakeServer& operator=(const FakeServer&) = delete;

    int port() const { return port_; }
    std::string server() const { return "127.0.0.1:" + std::to_string(port_); }
    // Every byte the clients sent, in order.
    std::string wire() const;
    // Waits until the script has run for every connection (five seconds at most).
    void finish();

  private:
    void serve(int connections);

    Script script_;
    int listener_ = -1;
    int port_ = 0;
    std::thread thread_;
    mutable std::mutex mutex_;
    std::string wire_;
    std::atomic<bool> stopping_{false};
};

}  // namespace zel::test
