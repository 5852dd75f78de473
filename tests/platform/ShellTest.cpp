#include "platform/Shell.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "platform/FileSystem.h"
#include "platform/Opener.h"
#include "support/TempFolder.h"

namespace zel {
namespace {

TEST(ShellAction, AddressesAndViewerFilesOpenEverythingElseExploresItsFolder) {
    test::TempFolder dir;
    std::string folder = dir.path() + "/";
    struct Case {
        std::string given;
        ShellAction::Verb verb;
        std::string target;
    } cases[] = {
        {"  https://host/a.pdf ", ShellAction::Open, "https://host/a.pdf"},
        {"HTTP://host", ShellAction::Open, "HTTP://host"},
        {"File:///x/y.doc", ShellAction::Open, "File:///x/y.doc"},
        {"/nowhere/readme.TXT", ShellAction::Open, "/nowhere/readme.TXT"},
        {"notes.Htm", ShellAction::Open, "notes.Htm"},
        {folder + "picture.png", ShellAction::Explore, folder},
        {folder + "missing.dir/a.ini.bak", ShellAction::NotExists,
         folder + "missing.dir/a.ini.bak not exists"},
        {"plain.pdf", ShellAction::NotExists, "plain.pdf not exists"},
        {"/nowhere.txt/file", ShellAction::NotExists, "/nowhere.txt/file not exists"},
    };
    for (const auto& c : cases) {
        ShellAction action = chooseShellAction(c.given);
        EXPECT_EQ(action.verb, c.verb) << c.given;
        EXPECT_EQ(action.target, c.target) << c.given;
    }
}

// Desktop tools replaced by scripts that record how they were called.
class FakeDesktop : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* path = std::getenv("PATH");
        savedPath_ = path ? path : "";
        ::setenv("PATH", (bin_.path() + ":" + savedPath_).c_str(), 1);
        log_ = bin_.path("calls.log");
    }
    void TearDown() override { ::setenv("PATH", savedPath_.c_str(), 1); }

    void tool(const std::string& name, const std::string& body) {
        std::ofstream(bin_.osPath(name)) << "#!/bin/sh\n" << body << "\n";
        ::chmod(bin_.osPath(name).c_str(), 0755);
    }
    // The detached tool runs on its own; wait for the line it writes.
    std::string awaitCall() {
        for (int i = 0; i < 500; ++i) {
            std::string bytes;
            if (readFile(log_, bytes) && !bytes.empty() && bytes.back() == '\n') return bytes;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return "no call";
    }

    test::TempFolder bin_;
    std::string log_;
    std::string savedPath_;
};

TEST_F(FakeDesktop, OpenWithShellRunsXdgOpenOrShowsTheNotice) {
    tool("xdg-open", "echo \"$@\" > '" + log_ + "'");
    std::vector<std::string> notices;
    ShellNotice previous =
        setShellNotice([&](const std::string& text) { notices.push_back(text); });

    openWithShell(bin_.path() + "/picture.png");
    EXPECT_EQ(awaitCall(), bin_.path() + "/\n");
    openWithShell("no-folder.png");
    EXPECT_EQ(notices, std::vector<std::string>{"no-folder.png not exists"});

    setShellNotice(previous);
}

TEST_F(FakeDesktop, OpenWithShellGoesThroughTheOpenerAndNoOptionReachesXdgOpen) {
    std::vector<std::string> opened;
    {
        ScopedDesktopOpener recorder([&](std::string_view target, std::string_view) {
            opened.emplace_back(target);
            return true;
        });
        openWithShell("https://host/a");
        openWithShell(bin_.path() + "/picture.png");
    }
    EXPECT_EQ(opened, (std::vector<std::string>{"https://host/a", bin_.path() + "/"}));

    tool("xdg-open", "echo \"$@\" > '" + log_ + "'");
    EXPECT_EQ(shellArgument("--help.txt"), "./--help.txt");
    ASSERT_TRUE(shellOpen("--help.txt", bin_.path()));
    EXPECT_EQ(awaitCall(), "./--help.txt\n");
}

TEST_F(FakeDesktop, FindProgramForAsksTheMimeDatabase) {
    tool("xdg-mime",
         "case \"$2\" in\n"
         "filetype) case \"$3\" in *.txt) echo text/plain ;; *) exit 2 ;; esac ;;\n"
         "default) [ \"$3\" = text/plain ] && echo editor.desktop ;;\n"
         "esac");
    EXPECT_EQ(findProgramFor("/x/notes.txt"), "editor.desktop");
    EXPECT_EQ(findProgramFor("/x/unknown.bin"), "");
}

}  // namespace
}  // namespace zel
