#include "mail/MailServers.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

extern char** environ;

namespace zel::test {

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

std::string readWhole(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeWhole(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

pid_t spawn(const std::vector<std::string>& argv, const std::string& logFile) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, logFile.c_str(), O_WRONLY | O_CREAT | O_APPEND,
                                     0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

// Ends a server we started: politely, then for good.
void stopProcess(pid_t& pid) {
    if (pid <= 0) return;
    kill(pid, SIGTERM);
    const auto deadline = Clock::now() + std::chrono::seconds(5);
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (Clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    pid = -1;
}

bool exited(pid_t pid) {
    int status = 0;
    return waitpid(pid, &status, WNOHANG) == pid;
}

// Connects and reads the first bytes: true once they begin with `greeting`.
bool answers(int port, const std::string& greeting) {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bool ok = false;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
        pollfd p{fd, POLLIN, 0};
        char buffer[64];
        if (poll(&p, 1, 2000) > 0) {
            ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
            ok = greeting.empty() || (n >= static_cast<ssize_t>(greeting.size()) &&
                                      std::string(buffer, greeting.size()) == greeting);
        }
    }
    ::close(fd);
    return ok;
}

bool listening(int port) {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return ok;
}

const char* const kRecorderScript = R"PY(
import asyncio, base64, os, sys
from aiosmtpd.smtp import SMTP, AuthResult

folder, auth, cert, key = sys.argv[1], sys.argv[2] == "1", sys.argv[3], sys.argv[4]
count = 0

def record(line):
    with open(os.path.join(folder, "events"), "a") as f:
        f.write(line + "\n")

class Recorder:
    async def handle_HELO(self, server, session, envelope, hostname):
        session.host_name = hostname
        record("HELO " + hostname)
        return "250 recorder"
    async def handle_EHLO(self, server, session, envelope, hostname, responses):
        session.host_name = hostname
        record("EHLO " + hostname)
        return responses
    async def handle_MAIL(self, server, session, envelope, address, options):
        record("MAIL " + address)
        envelope.mail_from = address
        return "250 OK"
    async def handle_RCPT(self, server, session, envelope, address, options):
        if address.startswith("refuse"):
            record("REFUSED " + address)
            return "550 5.1.1 not here"
        record("RCPT " + address)
        envelope.rcpt_tos.append(address)
        return "250 OK"
    async def handle_DATA(self, server, session, envelope):
        global count
        count += 1
        with open(os.path.join(folder, "message-%d" % count), "wb") as f:
            f.write(envelope.original_content)
        record("DATA %d" % count)
        return "250 accepted"

def check(server, session, envelope, mechanism, data):
    ok = data.login == b"user" and data.password == b"pw"
    if ok:
        record("AUTH " + data.login.decode())
    return AuthResult(success=ok, handled=False)

async def main():
    context = None
    if cert:
        import ssl
        context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
        context.load_cert_chain(cert, key)
    def factory():
        return SMTP(Recorder(), decode_data=False, hostname="recorder",
                    authenticator=check if auth else None, auth_require_tls=False,
                    tls_context=context, require_starttls=False)
    server = await asyncio.get_running_loop().create_server(factory, "127.0.0.1", 0)
    port = server.sockets[0].getsockname()[1]
    with open(os.path.join(folder, "port.tmp"), "w") as f:
        f.write(str(port))
    os.rename(os.path.join(folder, "port.tmp"), os.path.join(folder, "port"))
    await server.serve_forever()

asyncio.run(main())
)PY";

}  // namespace

int freeLoopbackPort() {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), length);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
}

bool makeTestCertificate(const std::string& folder, std::string& certFile, std::string& keyFile,
                         std::string& why) {
    certFile = folder + "/cert.pem";
    keyFile = folder + "/key.pem";
    pid_t pid = spawn({"/usr/bin/openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes",
                       "-keyout", keyFile, "-out", certFile, "-days", "2", "-subj", "/CN=localhost",
                       "-addext", "subjectAltName=IP:127.0.0.1,DNS:localhost"},
                      folder + "/openssl.log");
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
        why = "openssl could not make a certificate: " + readWhole(folder + "/openssl.log");
        return false;
    }
    chmod(keyFile.c_str(), 0644);
    return true;
}

// ---- Dovecot ----

DovecotServer::DovecotServer(std::string folder) : folder_(std::move(folder)) {
    maildir_ = folder_ + "/home/tester/Maildir";
    for (const char* sub : {"new", "cur", "tmp"}) fs::create_directories(maildir_ + "/" + sub);
}

DovecotServer::~DovecotServer() {
    stop();
}

void DovecotServer::stop() {
    stopProcess(pid_);
}

bool DovecotServer::start(std::string& why, const std::string& certFile,
                          const std::string& keyFile) {
    if (!fs::exists("/usr/sbin/dovecot")) {
        why = "dovecot is not installed (scripts/deps installs dovecot-pop3d)";
        return false;
    }
    // Mail users cannot be root: as root the mailbox belongs to nobody, and
    // every folder on the way must let that user through.
    const bool root = getuid() == 0;
    const uid_t uid = root ? 65534 : getuid();
    const gid_t gid = root ? 65534 : getgid();
    // Dovecot's own users must reach the files, through every folder of the
    // test on the way.
    const fs::path temp = fs::temp_directory_path();
    for (fs::path p = folder_; !p.empty() && p != temp && p != p.parent_path();
         p = p.parent_path()) {
        std::error_code ignored;
        fs::permissions(p, fs::perms::group_exec | fs::perms::others_exec | fs::perms::owner_all,
                        fs::perm_options::add, ignored);
    }
    if (root) {
        for (const auto& entry : fs::recursive_directory_iterator(folder_ + "/home"))
            if (lchown(entry.path().c_str(), uid, gid) != 0) {
            }
        if (lchown((folder_ + "/home").c_str(), uid, gid) != 0) {
        }
    }
    port_ = freeLoopbackPort();
    writeWhole(folder_ + "/passwd", "tester:{PLAIN}secret::::::\n");
    std::ostringstream conf;
    conf << "protocols = pop3\n"
         << "listen = 127.0.0.1\n"
         << "base_dir = " << folder_ << "/run\n"
         << "state_dir = " << folder_ << "/state\n"
         << "log_path = " << folder_ << "/dovecot.log\n"
         << "info_log_path = " << folder_ << "/dovecot.log\n"
         << "disable_plaintext_auth = no\n"
         << "auth_mechanisms = plain\n";
    if (certFile.empty()) {
        conf << "ssl = no\n";
    } else {
        conf << "ssl = required\nssl_cert = <" << certFile << "\nssl_key = <" << keyFile << "\n";
    }
    if (!root) {
        const std::string me = std::to_string(getuid());
        conf << "default_internal_user = " << (getenv("USER") ? getenv("USER") : me) << "\n"
             << "default_login_user = " << (getenv("USER") ? getenv("USER") : me) << "\n";
    }
    conf << "passdb {\n  driver = passwd-file\n  args = scheme=PLAIN " << folder_ << "/passwd\n}\n"
         << "userdb {\n  driver = static\n  args = uid=" << uid << " gid=" << gid
         << " home=" << folder_ << "/home/%u\n}\n"
         << "mail_location = maildir:~/Maildir\n"
         << "service pop3-login {\n  inet_listener pop3 {\n    port = 0\n  }\n"
         << "  inet_listener pop3s {\n    address = 127.0.0.1\n    port = " << port_
         << "\n    ssl = " << (certFile.empty() ? "no" : "yes") << "\n  }\n}\n";
    writeWhole(folder_ + "/dovecot.conf", conf.str());
    pid_ = spawn({"/usr/sbin/dovecot", "-F", "-c", folder_ + "/dovecot.conf"},
                 folder_ + "/dovecot.out");
    if (pid_ < 0) {
        why = "dovecot could not be started";
        return false;
    }
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (Clock::now() < deadline) {
        if (exited(pid_)) {
            pid_ = -1;
            why = "dovecot stopped: " + readWhole(folder_ + "/dovecot.out") + log();
            return false;
        }
        if (certFile.empty() ? answers(port_, "+OK") : listening(port_)) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    stop();
    why = "dovecot did not answer on port " + std::to_string(port_) + ": " + log();
    return false;
}

void DovecotServer::addMessage(const std::string& bytes) {
    // Maildir order is the order of the names, so numbered names keep the
    // order in which the test added them.
    char name[32];
    std::snprintf(name, sizeof name, "%08d.test", ++added_);
    const std::string temp = maildir_ + "/tmp/" + name;
    writeWhole(temp, bytes);
    if (getuid() == 0 && lchown(temp.c_str(), 65534, 65534) != 0) {
    }
    fs::rename(temp, maildir_ + "/new/" + name);
}

int DovecotServer::messageCount() const {
    int count = 0;
    for (const char* sub : {"/new", "/cur"})
        for ([[maybe_unused]] const auto& entry : fs::directory_iterator(maildir_ + sub)) ++count;
    return count;
}

std::string DovecotServer::log() const {
    return readWhole(folder_ + "/dovecot.log");
}

// ---- aiosmtpd ----

SmtpRecorder::SmtpRecorder(std::string folder) : folder_(std::move(folder)) {}

SmtpRecorder::~SmtpRecorder() {
    stop();
}

void SmtpRecorder::stop() {
    stopProcess(pid_);
}

bool SmtpRecorder::start(std::string& why, const Options& options) {
    // Debian's own Python: that is where python3-aiosmtpd installs.
    const std::string python = "/usr/bin/python3";
    writeWhole(folder_ + "/recorder.py", kRecorderScript);
    pid_ = spawn({python, folder_ + "/recorder.py", folder_, options.auth ? "1" : "0",
                  options.certFile, options.keyFile},
                 folder_ + "/recorder.log");
    if (pid_ < 0) {
        why = "python3 could not be started";
        return false;
    }
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (Clock::now() < deadline) {
        if (exited(pid_)) {
            pid_ = -1;
            why = "aiosmtpd stopped (scripts/deps installs python3-aiosmtpd): " +
                  readWhole(folder_ + "/recorder.log");
            return false;
        }
        if (fs::exists(folder_ + "/port")) {
            port_ = std::stoi(readWhole(folder_ + "/port"));
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
    }
    stop();
    why = "aiosmtpd did not start: " + readWhole(folder_ + "/recorder.log");
    return false;
}

std::vector<std::string> SmtpRecorder::events() const {
    std::vector<std::string> lines;
    std::istringstream in(readWhole(folder_ + "/events"));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::string SmtpRecorder::message(int n) const {
    return readWhole(folder_ + "/message-" + std::to_string(n));
}

// ---- the scripted fake ----

void FakeServer::Connection::send(const std::string& bytes) {
    std::string_view rest = bytes;
    while (!rest.empty()) {
        ssize_t n = ::send(fd_, rest.data(), rest.size(), MSG_NOSIGNAL);
        if (n <= 0) return;
        rest.remove_prefix(static_cast<std::size_t>(n));
    }
}

bool FakeServer::Connection::readLine(std::string& line) {
    for (;;) {
        std::size_t end = pending_.find("\r\n");
        if (end != std::string::npos) {
            line = pending_.substr(0, end);
            pending_.erase(0, end + 2);
            return true;
        }
        pollfd p{fd_, POLLIN, 0};
        if (poll(&p, 1, 5000) <= 0) return false;
        char buffer[65536];
        ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
        if (n <= 0) return false;
        {
            std::lock_guard lock(server_.mutex_);
            server_.wire_.append(buffer, static_cast<std::size_t>(n));
        }
        pending_.append(buffer, static_cast<std::size_t>(n));
    }
}

bool FakeServer::Connection::readData(std::vector<std::string>& lines) {
    std::string line;
    while (readLine(line)) {
        lines.push_back(line);
        if (line == ".") return true;
    }
    return false;
}

void FakeServer::Connection::waitForClose() {
    std::string line;
    while (readLine(line)) {
    }
}

void FakeServer::Connection::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

FakeServer::FakeServer(Script script, int connections) : script_(std::move(script)) {
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(listener_, reinterpret_cast<sockaddr*>(&address), length);
    ::listen(listener_, 8);
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this, connections] { serve(connections); });
}

FakeServer::~FakeServer() {
    stopping_ = true;
    if (thread_.joinable()) thread_.join();
    ::close(listener_);
}

void FakeServer::serve(int connections) {
    // A client that never comes is given up after ten seconds.
    auto deadline = Clock::now() + std::chrono::seconds(10);
    for (int i = 0; i < connections && !stopping_ && Clock::now() < deadline;) {
        pollfd p{listener_, POLLIN, 0};
        if (poll(&p, 1, 50) <= 0) continue;
        deadline = Clock::now() + std::chrono::seconds(10);
        int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) continue;
        Connection connection(fd, *this);
        script_(connection);
        connection.close();
        ++i;
    }
}

void FakeServer::finish() {
    if (thread_.joinable()) thread_.join();
}

std::string FakeServer::wire() const {
    std::lock_guard lock(mutex_);
    return wire_;
}

}  // namespace zel::test
