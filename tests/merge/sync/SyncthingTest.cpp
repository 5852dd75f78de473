// Syncthing as the sync engine: two instances on 127.0.0.1, each with its own
// home, ports and device id, share one folder holding a holder file. Paused,
// each side edits other nodes; resumed, Syncthing leaves a conflict copy;
// zel-tool merge-copy merges it on one side, and once Syncthing settles both
// sides hold both sides' edits. Nothing leaves the loopback: discovery,
// relays, NAT, usage reports and upgrades are off, and each instance knows
// the other's address.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <thread>

#include "mail/MailServers.h"
#include "merge/ConflictCopies.h"
#include "merge/FileMerge.h"
#include "model/HolderFile.h"
#include "model/MemoHolder.h"
#include "platform/FileSystem.h"
#include "support/TempFolder.h"

namespace zel {
namespace {

using namespace std::chrono_literals;

// A command's standard output and its exit status.
struct CommandResult {
    int status = -1;
    std::string out;
};

CommandResult runCommand(const std::string& command) {
    CommandResult result;
    FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r");
    if (!pipe) return result;
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) result.out.append(buffer, n);
    const int status = ::pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::string trimmed(std::string text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.pop_back();
    return text;
}

// Waits up to `most` for `done`, asking twice a second.
bool waitFor(const std::function<bool()>& done, std::chrono::seconds most) {
    const auto until = std::chrono::steady_clock::now() + most;
    while (std::chrono::steady_clock::now() < until) {
        if (done()) return true;
        std::this_thread::sleep_for(500ms);
    }
    return done();
}

std::string bytesOf(const std::string& path) {
    std::string bytes;
    readFile(path, bytes);
    return bytes;
}

// One Syncthing with its own home (configuration, keys, database) and data
// folder, in a process group of its own so that stopping it ends all of it.
class Syncthing {
  public:
    Syncthing(const test::TempFolder& folder, std::string name)
        : name_(std::move(name)),
          home_(folder.osPath(name_).string()),
          data_(folder.path(name_ + "/data")),
          log_(folder.osPath(name_ + ".log").string()),
          listenPort_(test::freeLoopbackPort()),
          guiPort_(test::freeLoopbackPort()) {
        std::filesystem::create_directories(std::filesystem::path(home_));
        std::filesystem::create_directories(std::filesystem::path(sjisToUtf8(data_)) / ".stfolder");
        runCommand("syncthing generate --no-default-folder --home='" + home_ + "'");
        deviceId_ = trimmed(runCommand("syncthing serve --device-id --home='" + home_ + "'").out);
    }
    ~Syncthing() { stop(); }

    const std::string& deviceId() const { return deviceId_; }
    // A file of the shared folder (Shift_JIS model path).
    std::string file(std::string_view name) const { return data_ + "/" + std::string(name); }

    void configure(const Syncthing& peer) {
        std::ofstream(home_ + "/config.xml")
            << "<configuration version=\"36\">\n"
               "  <folder id=\"memo\" label=\"memo\" path=\""
            << sjisToUtf8(data_)
            << "\" type=\"sendreceive\" rescanIntervalS=\"2\" fsWatcherEnabled=\"true\" "
               "fsWatcherDelayS=\"1\">\n"
               "    <device id=\""
            << deviceId_ << "\"></device>\n    <device id=\"" << peer.deviceId_
            << "\"></device>\n"
               "    <maxConflicts>10</maxConflicts>\n  </folder>\n"
            << deviceElement() << peer.deviceElement()
            << "  <gui enabled=\"true\" tls=\"false\"><address>127.0.0.1:" << guiPort_
            << "</address><apikey>zel-test-" << name_
            << "</apikey></gui>\n"
               "  <options>\n    <listenAddress>tcp://127.0.0.1:"
            << listenPort_
            << "</listenAddress>\n"
               "    <globalAnnounceEnabled>false</globalAnnounceEnabled>\n"
               "    <localAnnounceEnabled>false</localAnnounceEnabled>\n"
               "    <relaysEnabled>false</relaysEnabled>\n"
               "    <natEnabled>false</natEnabled>\n"
               "    <stunKeepaliveStartS>0</stunKeepaliveStartS>\n"
               "    <announceLANAddresses>false</announceLANAddresses>\n"
               "    <urAccepted>-1</urAccepted>\n"
               "    <crashReportingEnabled>false</crashReportingEnabled>\n"
               "    <autoUpgradeIntervalH>0</autoUpgradeIntervalH>\n"
               "    <startBrowser>false</startBrowser>\n"
               "    <reconnectionIntervalS>1</reconnectionIntervalS>\n"
               "  </options>\n</configuration>\n";
    }

    void start() {
        pid_ = ::fork();
        if (pid_ != 0) return;
        ::setpgid(0, 0);
        const int log = ::open(log_.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
        ::dup2(log, 1);
        ::dup2(log, 2);
        const std::string home = "--home=" + home_;
        ::execlp("syncthing", "syncthing", "serve", home.c_str(), "--no-browser", "--no-restart",
                 "--no-upgrade", static_cast<char*>(nullptr));
        ::_exit(127);
    }

    // Pausing the peer device closes the connection: each side goes on alone.
    bool setPeerPaused(const Syncthing& peer, bool paused) const {
        return runCommand("syncthing cli --home='" + home_ + "' config devices " + peer.deviceId_ +
                          " paused set " + (paused ? "true" : "false"))
                   .status == 0;
    }

    void stop() {
        if (pid_ <= 0) return;
        ::kill(-pid_, SIGTERM);
        for (int i = 0; i < 100 && ::waitpid(pid_, nullptr, WNOHANG) == 0; ++i)
            std::this_thread::sleep_for(100ms);
        ::kill(-pid_, SIGKILL);
        ::waitpid(pid_, nullptr, WNOHANG);
        pid_ = -1;
    }

  private:
    std::string deviceElement() const {
        return "  <device id=\"" + deviceId_ + "\" name=\"" + name_ +
               "\"><address>tcp://127.0.0.1:" + std::to_string(listenPort_) +
               "</address></device>\n";
    }

    std::string name_;
    std::string home_;  // OS paths
    std::string data_;  // model path
    std::string log_;
    int listenPort_;
    int guiPort_;
    std::string deviceId_;
    pid_t pid_ = -1;
};

std::unique_ptr<HolderCopy> readHolder(const std::string& path) {
    auto copy = std::make_unique<HolderCopy>();
    std::string error;
    EXPECT_TRUE(readHolderCopy(bytesOf(path), path, *copy, error)) << error;
    return copy;
}

void writeHolder(MemoHolder& holder, const std::string& path) {
    std::ofstream(sjisToUtf8(path), std::ios::binary) << holderFileText_(holder);
}

void addNode(MemoHolder& holder, const std::string& name, const std::string& uid,
             std::vector<std::string> memo) {
    auto node = holder.newNode_();
    node->putField_("UID", "\"" + uid + "\"");
    node->memo = std::move(memo);
    holder.addNode_(std::move(node), name);
}

// Each side's edit: a line added to one node and a node of its own.
void editSide(const std::string& path, const std::string& node, const std::string& side) {
    auto copy = readHolder(path);
    copy->holder->byName_(node)->memo.push_back("edited on " + side);
    addNode(*copy->holder, "from " + side, "U-" + side, {"made on " + side});
    writeHolder(*copy->holder, path);
}

// Every memo line of the holder file, one text.
std::string allMemoText(const std::string& path) {
    auto copy = readHolder(path);
    std::string text;
    for (int i = 0; i < copy->holder->count_(); ++i)
        for (std::string_view line : copy->holder->at_(i)->memo) text += std::string(line) + "\n";
    return text;
}

int tool(const std::string& arguments) {
    return runCommand(std::string(ZEL_TOOL_PATH) + " " + arguments).status;
}

TEST(Syncthing, AConflictCopyMergedByZelToolGivesBothSidesEditsOnBothDevices) {
    ASSERT_EQ(runCommand("syncthing --help").status, 0) << "syncthing is missing: run scripts/deps";
    test::TempFolder folder;
    Syncthing one(folder, "one"), two(folder, "two");
    ASSERT_FALSE(one.deviceId().empty());
    ASSERT_NE(one.deviceId(), two.deviceId());
    one.configure(two);
    two.configure(one);
    {
        HolderCopy notes;
        notes.holder = notes.file.createHolder_(-1);
        notes.holder->putName_as_("notes");
        addNode(*notes.holder, "a", "U1", {"a1"});
        addNode(*notes.holder, "b", "U2", {"b1"});
        addNode(*notes.holder, "c", "U3", {"c1"});
        writeHolder(*notes.holder, one.file("notes.mxh"));
    }
    one.start();
    two.start();
    const std::string first = one.file("notes.mxh"), second = two.file("notes.mxh");
    ASSERT_TRUE(waitFor([&] { return bytesOf(second) == bytesOf(first); }, 30s))
        << "the holder file never reached the second device";

    ASSERT_TRUE(one.setPeerPaused(two, true));
    ASSERT_TRUE(two.setPeerPaused(one, true));
    std::this_thread::sleep_for(2s);
    editSide(first, "a", "one");
    std::this_thread::sleep_for(1100ms);
    editSide(second, "c", "two");
    // Both rescan (the watcher, else every two seconds) before they meet again.
    std::this_thread::sleep_for(4s);
    ASSERT_TRUE(one.setPeerPaused(two, false));
    ASSERT_TRUE(two.setPeerPaused(one, false));

    auto settledWithCopy = [&] {
        return findConflictCopies(first).size() == 1 && findConflictCopies(second).size() == 1 &&
               bytesOf(first) == bytesOf(second);
    };
    ASSERT_TRUE(waitFor(settledWithCopy, 45s)) << "no conflict copy on both devices";

    const int merged = tool("merge-copy '" + sjisToUtf8(first) + "'");
    EXPECT_TRUE(merged == 0 || merged == 1) << "merge-copy failed: " << merged;
    EXPECT_TRUE(findConflictCopies(first).empty());

    auto settledMerged = [&] {
        return findConflictCopies(second).empty() && bytesOf(first) == bytesOf(second);
    };
    ASSERT_TRUE(waitFor(settledMerged, 30s)) << "the merge never reached the second device";
    one.stop();
    two.stop();

    for (const std::string& side : {first, second}) {
        const std::string file = "'" + sjisToUtf8(side) + "'";
        EXPECT_EQ(tool("check " + file), 0);
        EXPECT_EQ(tool("cat " + file + " 'from one'"), 0);
        EXPECT_EQ(tool("cat " + file + " 'from two'"), 0);
        const std::string text = allMemoText(side);
        EXPECT_NE(text.find("edited on one"), std::string::npos) << text;
        EXPECT_NE(text.find("edited on two"), std::string::npos) << text;
    }
    // The merged copy lies in conflicts/ on both devices.
    for (const Syncthing* device : {&one, &two})
        EXPECT_EQ(findConflictCopies(device->file("conflicts/notes.mxh")).size(), 1u);
}

}  // namespace
}  // namespace zel
