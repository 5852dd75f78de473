#include "platform/DesktopAssociation.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <map>

#include "platform/DesktopEntry.h"
#include "platform/DesktopPrograms.h"
#include "platform/FileSystem.h"
#include "platform/Process.h"
#include "platform/SafeFileWriter.h"
#include "support/TempFolder.h"
#include "text/TextHelpers.h"

namespace zel {
namespace {

// A home of its own with XDG folders inside, so the real desktop tools
// (update-mime-database, xdg-mime, desktop-file-validate) work on it alone.
class DesktopHome : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* name : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CURRENT_DESKTOP",
                                 "XDG_DATA_DIRS", "PATH", "TERMINAL"}) {
            const char* value = std::getenv(name);
            if (value) saved_[name] = value;
        }
        ::setenv("HOME", home_.path().c_str(), 1);
        ::setenv("XDG_DATA_HOME", home_.path("data").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", home_.path("config").c_str(), 1);
        // xdg-mime answers from the MIME database through gio on this desktop.
        ::setenv("XDG_CURRENT_DESKTOP", "GNOME", 1);
        ::unsetenv("TERMINAL");
    }
    void TearDown() override {
        for (const char* name : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CURRENT_DESKTOP",
                                 "XDG_DATA_DIRS", "PATH", "TERMINAL"}) {
            auto found = saved_.find(name);
            if (found == saved_.end())
                ::unsetenv(name);
            else
                ::setenv(name, found->second.c_str(), 1);
        }
    }

    std::string read(const std::string& path) const {
        std::string text;
        readFile(path, text);
        return text;
    }
    void write(const std::string& path, const std::string& text) const {
        makeDirs(folderOf(path));
        ASSERT_TRUE(writeFileSafely(path, text));
    }
    static std::string firstLine(const std::vector<std::string>& argv) {
        FinishedRun run = runToEnd(argv);
        return run.lines.empty() ? std::string() : trimText(run.lines.front());
    }
    static void expectValid(const std::string& path) {
        FinishedRun run = runToEnd({"desktop-file-validate", path});
        ASSERT_TRUE(run.started) << "desktop-file-validate is missing (desktop-file-utils)";
        EXPECT_EQ(run.exitCode, 0) << path;
        EXPECT_TRUE(run.lines.empty()) << run.lines.front();
    }
    // A program in PATH, first, that fails.
    void failingTool(const std::string& name) {
        const std::string bin = home_.path("bin");
        makeDirs(bin);
        write(bin + "/" + name, "#!/bin/sh\necho broken >&2\nexit 3\n");
        ::chmod(home_.osPath("bin/" + name).c_str(), 0755);
        ::setenv("PATH", (bin + ":" + saved_["PATH"]).c_str(), 1);
    }
    std::string memoFile(const std::string& name) const {
        const std::string path = home_.path(name);
        std::ofstream(home_.osPath(name)) << "<MemoFile>\r\n";
        return path;
    }

    test::TempFolder home_;
    std::map<std::string, std::string> saved_;
};

TEST_F(DesktopHome, AssociateRegistersBothTypesAndUnassociateTakesItAllBack) {
    const std::string program = home_.path("my programs/zel");
    write(userConfigHome() + "mimeapps.list",
          "[Default Applications]\ntext/plain=editor.desktop\n"
          "[Added Associations]\napplication/x-zel-memo-index=viewer.desktop;\n");

    DesktopOutcome done = associateMemoFiles(program);
    ASSERT_TRUE(done.ok) << done.reason;
    expectValid(associationDesktopFile());
    EXPECT_EQ(desktopExecArguments(*desktopEntryValue(read(associationDesktopFile()), "Exec")),
              std::vector<std::string>{program});
    EXPECT_NE(read(userDataHome() + "mime/globs2").find("application/x-zel-memo-index:*.mxa"),
              std::string::npos);
    const std::string index = memoFile("x.mxa");
    const std::string container = memoFile("x.maz");
    EXPECT_EQ(firstLine({"xdg-mime", "query", "filetype", index}), kMemoIndexType);
    EXPECT_EQ(firstLine({"xdg-mime", "query", "filetype", container}), kMemoContainerType);
    EXPECT_EQ(firstLine({"xdg-mime", "query", "default", std::string(kMemoContainerType)}),
              kDesktopEntryName);

    done = unassociateMemoFiles();
    ASSERT_TRUE(done.ok) << done.reason;
    EXPECT_FALSE(pathExists(associationDesktopFile()));
    EXPECT_FALSE(pathExists(associationMimeFile()));
    EXPECT_NE(firstLine({"xdg-mime", "query", "filetype", index}), kMemoIndexType);
    const std::string defaults = read(userConfigHome() + "mimeapps.list");
    EXPECT_EQ(defaults.find("zel.desktop"), std::string::npos) << defaults;
    EXPECT_NE(defaults.find("text/plain=editor.desktop"), std::string::npos);
    EXPECT_NE(defaults.find("application/x-zel-memo-index=viewer.desktop;"), std::string::npos);
}

TEST_F(DesktopHome, FilesOfOtherProgramsAreNeitherReplacedNorRemoved) {
    const std::string foreign = "[Desktop Entry]\nType=Application\nName=Mine\nExec=mine\n";
    write(associationDesktopFile(), foreign);

    DesktopOutcome refused = associateMemoFiles("/usr/bin/zel");
    EXPECT_FALSE(refused.ok);
    EXPECT_NE(refused.reason.find("zel.desktop"), std::string::npos) << refused.reason;
    EXPECT_EQ(read(associationDesktopFile()), foreign);
    EXPECT_FALSE(pathExists(associationMimeFile()));

    write(userConfigHome() + "mimeapps.list",
          "[Default Applications]\napplication/x-zel-memo-index=zel.desktop;viewer.desktop;\n"
          "text/x-other=zel.desktop\n");
    EXPECT_TRUE(unassociateMemoFiles().ok);
    EXPECT_EQ(read(associationDesktopFile()), foreign);
    // Only our entry leaves, and only from our types.
    EXPECT_EQ(read(userConfigHome() + "mimeapps.list"),
              "[Default Applications]\napplication/x-zel-memo-index=viewer.desktop;\n"
              "text/x-other=zel.desktop\n");
}

// What a package installs beside what a user registers: the installed files
// alone give both types and the program, and registering and removing the
// user's own files over them leaves the installed ones working.
TEST_F(DesktopHome, InstalledFilesWorkAloneAndOutliveTheUsersAssociation) {
    const std::string system = home_.path("usr/share/");
    ::setenv("XDG_DATA_DIRS", system.c_str(), 1);
    write(system + "applications/zel.desktop", installedDesktopEntry());
    write(system + "mime/packages/zel.xml", installedMimeXml());
    ASSERT_EQ(runToEnd({"update-mime-database", system + "mime"}).exitCode, 0);
    expectValid(system + "applications/zel.desktop");
    const std::string index = memoFile("x.mxa");
    const std::string container = memoFile("x.maz");
    EXPECT_EQ(firstLine({"xdg-mime", "query", "filetype", index}), kMemoIndexType);
    EXPECT_EQ(firstLine({"xdg-mime", "query", "filetype", container}), kMemoContainerType);

    // The installed entry runs the program found in PATH with the same
    // field code, icon and types as the one Associate writes.
    const std::string installed = installedDesktopEntry();
    const std::string registered = *associationDesktopEntry("/opt/zel/zel");
    const std::string exec = *desktopEntryValue(installed, "Exec");
    EXPECT_EQ(desktopExecArguments(exec), std::vector<std::string>{"zel"});
    EXPECT_TRUE(exec.ends_with(" %f")) << exec;
    EXPECT_TRUE(desktopEntryValue(registered, "Exec")->ends_with(" %f"));
    for (const char* key : {"Icon", "MimeType", "Type", "Name", "Categories"})
        EXPECT_EQ(desktopEntryValue(installed, key), desktopEntryValue(registered, key)) << key;

    ASSERT_TRUE(associateMemoFiles("/opt/zel/zel").ok);
    ASSERT_TRUE(unassociateMemoFiles().ok);
    EXPECT_EQ(firstLine({"xdg-mime", "query", "filetype", index}), kMemoIndexType);
    EXPECT_EQ(read(system + "applications/zel.desktop"), installed);

    // A copy of the installed files in the user's folders is the user's own:
    // Unassociate leaves it and Associate does not write over it.
    write(associationDesktopFile(), installed);
    write(associationMimeFile(), installedMimeXml());
    EXPECT_TRUE(unassociateMemoFiles().ok);
    EXPECT_EQ(read(associationDesktopFile()), installed);
    EXPECT_TRUE(pathExists(associationMimeFile()));
    EXPECT_FALSE(associateMemoFiles("/opt/zel/zel").ok);
    EXPECT_EQ(read(associationDesktopFile()), installed);
}

TEST_F(DesktopHome, AFailingStepReportsWhyAndLeavesNothingRegistered) {
    failingTool("xdg-mime");
    DesktopOutcome failed = associateMemoFiles("/usr/bin/zel");
    EXPECT_FALSE(failed.ok);
    EXPECT_NE(failed.reason.find("xdg-mime failed (exit 3): broken"), std::string::npos)
        << failed.reason;
    EXPECT_FALSE(pathExists(associationDesktopFile()));
    EXPECT_FALSE(pathExists(associationMimeFile()));
    EXPECT_EQ(read(userDataHome() + "mime/globs2").find("*.mxa"), std::string::npos);

    failingTool("update-mime-database");
    EXPECT_FALSE(associateMemoFiles("/usr/bin/zel").ok);
    EXPECT_FALSE(pathExists(associationMimeFile()));
    EXPECT_FALSE(associateMemoFiles("/x/\x82\xA0/zel").ok);  // not UTF-8
}

TEST_F(DesktopHome, TheShortcutRunsTheProgramInItsFolder) {
    write(userConfigHome() + "user-dirs.dirs", "XDG_DESKTOP_DIR=\"$HOME/My Desk\"\n");
    EXPECT_EQ(desktopFolder(), "") << "the folder does not exist yet";
    EXPECT_FALSE(makeDesktopShortcut(desktopFolder(), "/usr/bin/zel").ok);
    makeDirs(home_.path("My Desk"));
    const std::string desk = desktopFolder();
    ASSERT_EQ(desk, home_.path("My Desk") + "/");

    // The "program" writes where it ran and what it was given.
    const std::string program = home_.path("bin $dir/zel \"x\"");
    write(program, "#!/bin/sh\npwd > \"$HOME/ran\"\necho \"$#\" >> \"$HOME/ran\"\n");
    ::chmod(home_.osPath("bin $dir/zel \"x\"").c_str(), 0755);
    std::string written;
    DesktopOutcome made = makeDesktopShortcut(desk, program, &written);
    ASSERT_TRUE(made.ok) << made.reason;
    EXPECT_EQ(written, desk + "zel.desktop");
    expectValid(written);
    struct stat info {};
    ASSERT_EQ(::stat(home_.osPath("My Desk/zel.desktop").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0755u);

    const std::string entry = read(written);
    const std::vector<std::string> argv = desktopExecArguments(*desktopEntryValue(entry, "Exec"));
    ASSERT_EQ(argv, std::vector<std::string>{program});
    FinishedRun run = runToEnd(argv, *desktopEntryValue(entry, "Path"));
    ASSERT_TRUE(run.started);
    EXPECT_EQ(read(home_.path("ran")), home_.path("bin $dir") + "\n0\n");

    write(desk + "zel.desktop", "[Desktop Entry]\nType=Link\nURL=file:///x\nName=x\n");
    EXPECT_FALSE(makeDesktopShortcut(desk, program).ok) << "another shortcut stays";
}

TEST_F(DesktopHome, CalculatorAndTerminalAreTheFirstFoundInPath) {
    const std::string bin = home_.path("bin");
    makeDirs(bin);
    ::setenv("PATH", bin.c_str(), 1);
    EXPECT_EQ(findCalculator(), "");
    EXPECT_EQ(findTerminal(), "");
    for (const char* name : {"xcalc", "kcalc", "my-term"}) {
        write(bin + "/" + name, "#!/bin/sh\n");
        ::chmod((home_.osPath("bin") / name).c_str(), 0755);
    }
    write(bin + "/gnome-calculator", "not executable");
    EXPECT_EQ(findCalculator(), bin + "/kcalc");
    ::setenv("TERMINAL", "my-term", 1);
    EXPECT_EQ(findTerminal(), bin + "/my-term");
    EXPECT_EQ(findOnPath(bin + "/xcalc"), bin + "/xcalc");
    EXPECT_EQ(findOnPath("missing"), "");
}

}  // namespace
}  // namespace zel
