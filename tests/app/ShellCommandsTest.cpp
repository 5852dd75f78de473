#include <sys/stat.h>

#include <QApplication>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <map>

#include "app/AppTestSupport.h"
#include "app/commands/CommandTable.h"
#include "app/commands/Shortcuts.h"
#include "app/window/TFormMainMenu.h"
#include "dialogs/ui/TFormFileList.h"
#include "dialogs/ui/TFormSaveEach.h"
#include "model/MemoNode.h"
#include "platform/Clock.h"
#include "platform/DesktopAssociation.h"
#include "platform/DesktopPrograms.h"
#include "platform/Opener.h"

namespace zel {
namespace {

using Lines = std::vector<std::string>;

// Nothing is started for real: the opener and the program starter record
// what they were given. The desktop folders lie in the test's folder.
class ShellCommandsTest : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        // A test before may have asked the application to quit, which makes
        // every later dialog's event loop return at once.
        QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
        QCoreApplication::exec();
        for (const char* name : {"HOME", "XDG_DATA_HOME", "XDG_CURRENT_DESKTOP", "PATH"})
            if (const char* value = std::getenv(name)) saved_[name] = value;
        ::setenv("HOME", dir.c_str(), 1);
        ::setenv("XDG_DATA_HOME", (dir + "/data").c_str(), 1);
        ::unsetenv("XDG_CURRENT_DESKTOP");
    }
    void TearDown() override {
        for (const char* name : {"HOME", "XDG_DATA_HOME", "XDG_CURRENT_DESKTOP", "PATH"}) {
            const auto found = saved_.find(name);
            if (found == saved_.end())
                ::unsetenv(name);
            else
                ::setenv(name, found->second.c_str(), 1);
        }
        AppTest::TearDown();
    }
    MemoNode* current() const { return window->getCurMemoNode(); }
    int run(const char* command, std::string_view argument = {}) {
        return runCommand(*window, command, argument);
    }
    void executable(const std::string& name, const std::string& text) {
        writeText(name, text);
        ::chmod(path(name).c_str(), 0755);
    }
    void pathOnly(const std::string& folder) { ::setenv("PATH", path(folder).c_str(), 1); }

    std::vector<std::pair<std::string, std::string>> opened;
    std::vector<Lines> started;
    ScopedDesktopOpener opener{[this](std::string_view target, std::string_view folder) {
        opened.emplace_back(target, folder);
        return true;
    }};
    ScopedProgramStarter starter{[this](const Lines& argv, std::string_view folder) {
        Lines call = argv;
        call.emplace_back(folder);
        started.push_back(call);
        return true;
    }};
    ScopedClock clock{[] { return DateTime{2024, 5, 6, 7, 8, 9, 10}; }};
    std::map<std::string, std::string> saved_;
};

TEST_F(ShellCommandsTest, EveryShellItemOfTheMenusIsEnabled) {
    openMemoFile({{"A", {"a1"}}});
    for (const char* item :
         {"[Install]/Associate \"mxa\", \"maz\"", "[Install]/Unassociate",
          "[Install]/Make ShortCutLink", "[Install]/Open ini file", "Window/Calc", "Window/cmd.exe",
          "Window/FileList", "&Help/Manual(Internet J)", "&Help/CurrentDir", "&Help/ExeFileDir",
          "[MemoNode]/Extra/Explorer Filename", "[MemoNode]/Extra/Explorer Link",
          "[MemoNode]/Extra/Open Filename", "[MemoNode]/Extra/Open Link",
          "[MemoNode]/Extra/Execute", "[Holder]/Extra/Explorer", "[Holder]/Each/Show FormSaveEach",
          "MarkNode/Show FormSaveEach"}) {
        QAction* action = window->menuAction(item);
        ASSERT_NE(action, nullptr) << item;
        EXPECT_TRUE(action->isEnabled()) << item;
    }
}

TEST_F(ShellCommandsTest, ShellExecuteOpensInTheMemoFilesFolder) {
    openMemoFile({{"A", {"a1"}}});
    EXPECT_EQ(run("UIShellExecute_", "   "), -1);
    EXPECT_EQ(window->statusMessage(), "Warrning: Command is empty in UIShellExecute_.");
    EXPECT_TRUE(opened.empty());
    EXPECT_EQ(run("UIShellExecute_", " https://host/x "), 0);
    EXPECT_EQ(window->statusMessage(), " https://host/x ");
    window->LabeledEdit_CmURL = "https://manual.invalid/";
    EXPECT_EQ(run("UIShowManualInternet"), 0);
    EXPECT_EQ(opened, (std::vector<std::pair<std::string, std::string>>{
                          {"https://host/x", dir + "/"}, {"https://manual.invalid/", dir + "/"}}));
}

TEST_F(ShellCommandsTest, OpenFilenameAndLinkFindRelativeNamesWhereTheShellLooks) {
    openMemoFile({{"A", {"a1"}}});
    EXPECT_EQ(run("UIOpenFilename"), -7);
    EXPECT_EQ(window->statusMessage(), "Do not open. because Filename is empty. ");
    EXPECT_EQ(run("UIOpenLink"), -7);
    EXPECT_EQ(window->statusMessage(), "Do not open. because Link is empty. ");

    writeText("docs/r.txt", "r");
    current()->putField_("Filename", "\"/T/x.pdf\"");
    current()->putField_("Link", "\"./docs/r.txt\"");
    window->Model2UI();
    EXPECT_EQ(run("UIOpenFilename"), 0);
    EXPECT_EQ(window->statusMessage(), "ShellExecuteOpen_ /T/x.pdf");
    EXPECT_EQ(run("UIOpenLink"), 0);
    EXPECT_EQ(window->statusMessage(), "ShellExecuteOpen_ " + path("docs/r.txt"));
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[0], (std::pair<std::string, std::string>{"/T/x.pdf", dir + "/"}));
}

TEST_F(ShellCommandsTest, ExplorerShowsTheFolderOrOpensTheAddress) {
    openMemoFile({{"A", {"a1"}}});
    writeText("l/a.html", "<p>");
    current()->putField_("Filename", "\"http://h/a\"");
    current()->putField_("FilenameLocal", "\"" + path("l/a.html") + "\"");
    window->Model2UI();
    EXPECT_EQ(run("UIExplorerFilename"), 0);
    EXPECT_EQ(window->statusMessage(), "Done: Explore " + path("l"));
    current()->removeField_("FilenameLocal");
    window->Model2UI();
    EXPECT_EQ(run("UIExplorerFilename"), 0);
    EXPECT_EQ(window->statusMessage(), "Done: Open http://h/a");

    EXPECT_EQ(run("UIExplorerLink"), -7);
    EXPECT_EQ(window->statusMessage(), "Do not open directory. because Link is empty.");
    current()->putField_("Link", "\"/none/a.txt\"");
    window->Model2UI();
    EXPECT_EQ(run("UIExplorerLink"), -1);
    EXPECT_EQ(window->statusMessage(), "Not found Directory /none");

    EXPECT_EQ(run("UIExplorerMemoHolder"), 0);
    EXPECT_EQ(window->statusMessage(), "Done:UIExplorerMemoHolder " + dir + "/");
    EXPECT_EQ(run("UIOpenExeFileDir"), 0);
    EXPECT_EQ(window->statusMessage(), "Done: Explorer " + path("bin/"));
    EXPECT_EQ(opened.size(), 4u);
    EXPECT_EQ(opened[0].first, path("l"));
    EXPECT_EQ(opened[1].first, "http://h/a");
    EXPECT_EQ(opened[3].first, path("bin/"));
}

TEST_F(ShellCommandsTest, OpenIniFileShowsTheProgramsFolderWhenThereIsNone) {
    openMemoFile({{"A", {"a1"}}});
    const std::string settings = dir + "/config/zel/zel.ini";
    EXPECT_EQ(run("UIOpenIniFile"), 0);
    EXPECT_EQ(window->statusMessage(), "Explorer \"zel.exe\". Becaouse Not Found " + settings);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].first, path("bin/"));
    writeText("bin/zel.ini", "Font=x\r\n");
    EXPECT_EQ(run("UIOpenIniFile"), 0);
    EXPECT_EQ(window->statusMessage(), "Open " + path("bin/zel.ini"));
    EXPECT_EQ(opened.back().first, path("bin/zel.ini"));
}

TEST_F(ShellCommandsTest, CalculatorAndTerminalNameTheProgramStarted) {
    openMemoFile({{"A", {"a1"}}});
    pathOnly("tools");
    EXPECT_EQ(run("UIOpenCalc"), -1);
    EXPECT_EQ(window->statusMessage().rfind("Failure: Open a calculator", 0), 0u);
    executable("tools/galculator", "#!/bin/sh\n");
    executable("tools/x-terminal-emulator", "#!/bin/sh\n");
    EXPECT_EQ(run("UIOpenCalc"), 0);
    EXPECT_EQ(window->statusMessage(), "Open galculator 2024/05/06 07:08:09:010");
    EXPECT_EQ(run("UIOpenCmd"), 0);
    EXPECT_EQ(started, (std::vector<Lines>{{path("tools/galculator"), dir + "/"},
                                           {path("tools/x-terminal-emulator"), dir + "/"}}));
}

TEST_F(ShellCommandsTest, ExecuteWritesTheNodeOpensItAndKeepsAWebNodesAddress) {
    openMemoFile({{"A", {"a1", "web", "script"}}});
    holder("A")->changed = false;
    prompter->input(path("run.txt"));
    EXPECT_EQ(run("UIExecuteMemoNode"), 0);
    EXPECT_EQ(readText("run.txt"), "memo of a1\r\n");
    EXPECT_EQ(window->statusMessage(), "Done: Exeute " + path("run.txt"));
    EXPECT_EQ(current()->getField_("Filename"), "\"" + path("run.txt") + "\"");
    EXPECT_TRUE(holder("A")->changed);
    EXPECT_FALSE(window->isDoing());

    window->setCurMemoNode_(holder("A")->byName_("web"));
    current()->putField_("Filename", "\"http://h/page.html\"");
    window->Model2UI();
    EXPECT_EQ(run("UIExecuteMemoNode"), 0);
    EXPECT_EQ(current()->getField_("Filename"), "\"http://h/page.html\"");
    EXPECT_EQ(current()->getField_("FilenameLocal"), "\"" + path("page.html") + "\"");
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[1], (std::pair<std::string, std::string>{path("page.html"), ""}));

    // No file name: the save dialog is cancelled, and nothing happens.
    window->setCurMemoNode_(holder("A")->byName_("script"));
    prompter->input("", false);
    EXPECT_EQ(run("UIExecuteMemoNode"), -1);
    EXPECT_FALSE(window->isDoing());
    // A desktop entry would run a program: only when the user says so.
    current()->putField_("Filename", "\"" + path("launch.desktop") + "\"");
    window->Model2UI();
    prompter->answer(Answer::No, "is a program");
    EXPECT_EQ(run("UIExecuteMemoNode"), -1);
    EXPECT_EQ(opened.size(), 2u);
}

TEST_F(ShellCommandsTest, AssociationAndShortcutSayWhetherTheyWorked) {
    openMemoFile({{"A", {"a1"}}});
    EXPECT_EQ(run("UIAssociate"), 0);
    EXPECT_EQ(window->statusMessage(), "Done: Associate FileName Extentions. \".mxa\", \".maz\"");
    EXPECT_TRUE(exists("data/applications/zel.desktop"));
    EXPECT_TRUE(exists("data/mime/packages/zel.xml"));
    EXPECT_EQ(run("UIUnassociate"), 0);
    EXPECT_EQ(window->statusMessage(), "Done: Unassociate FileName Extentions. \".mxa\", \".maz\"");
    EXPECT_FALSE(exists("data/applications/zel.desktop"));

    executable("tools/update-mime-database", "#!/bin/sh\nexit 1\n");
    ::setenv("PATH", (path("tools") + ":" + saved_["PATH"]).c_str(), 1);
    EXPECT_EQ(run("UIAssociate"), -1);
    EXPECT_EQ(window->statusMessage().rfind("Failure: Associate FileName Extentions. ", 0), 0u);
    EXPECT_TRUE(logContains("update-mime-database failed"));
    EXPECT_FALSE(exists("data/applications/zel.desktop"));

    writeText("config/user-dirs.dirs", "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n");
    EXPECT_EQ(run("UIMakeShortCutLink"), -1) << "no desktop folder yet";
    EXPECT_EQ(window->statusMessage().rfind("Failure: Make ShortCutLink, ", 0), 0u);
    std::filesystem::create_directories(path("Desktop"));
    EXPECT_EQ(run("UIMakeShortCutLink"), 0);
    EXPECT_EQ(window->statusMessage(), "Done: Make ShortCutLink, Look DeskTop!");
    // Opening the shortcut in zel leads to the program it starts.
    EXPECT_EQ(shortcutTarget(path("Desktop/zel.desktop")), path("bin/zel"));
}

TEST_F(ShellCommandsTest, TheFileListMakesAHolderThatIsSavedLikeAnyOther) {
    openMemoFile({{"A", {"a1"}}});
    ASSERT_EQ(run("UIShowFileList"), 0);
    EXPECT_EQ(window->statusMessage(), "Show FormFileList 2024/05/06 07:08:09:010");
    auto* form = window->existingCompanion<TFormFileList>();
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->isVisible());
    form->setLines({path("f/one.txt"), path("f/two.txt")});
    form->Button_MakeNodes->click();
    EXPECT_EQ(window->statusMessage(), "Done: count=2");
    ASSERT_EQ(holderNames().size(), 2u);
    MemoHolder* made = window->getCurHolder();
    EXPECT_EQ(made, window->aFile->holderAt_(1));
    EXPECT_EQ(currentNodeNames(), (Lines{"one.txt", "two.txt"}));
    EXPECT_EQ(current()->getName_(), "two.txt");
    EXPECT_TRUE(made->changed);
    EXPECT_GE(run("UISaveAllHolders"), 1);
    EXPECT_FALSE(made->changed);
    EXPECT_TRUE(std::filesystem::exists(holderFilePath_(*made)));
}

TEST_F(ShellCommandsTest, SaveEachFromTheMarkNodeMenuSavesTheMarkedNodes) {
    openMemoFile({{"A", {"a1", "a2"}}});
    for (MemoNode* node : {holder("A")->byName_("a1"), holder("A")->byName_("a2")})
        node->putField_("Filename", "\"/elsewhere/" + node->getName_() + ".txt\"");
    holder("A")->byName_("a2")->setMarked_(true);
    QTimer::singleShot(0, window.get(), [] {
        auto* form = qobject_cast<TFormSaveEach*>(QApplication::activeModalWidget());
        if (!form) {
            ADD_FAILURE() << "no save-each window";
            return;
        }
        EXPECT_TRUE(form->CheckBox_MarkNodeOnly->isChecked());
        form->Button_SaveEach->click();
        form->Button_Close->click();
    });
    window->menuAction("MarkNode/Show FormSaveEach")->trigger();
    EXPECT_EQ(window->statusMessage(), "Done: UIShowFormSaveEach_ ");
    EXPECT_EQ(readText("a2.txt"), "memo of a2\r\n");
    EXPECT_FALSE(exists("a1.txt"));
    EXPECT_EQ(window->existingCompanion<TFormSaveEach>()->logLines(),
              (Lines{"Save a2 : " + path("a2.txt"), "Done: count of the Files saved=1"}));
}

TEST_F(ShellCommandsTest, AScriptNodeRunsWithLineFeedsAndBreakStopsIt) {
    openMemoFile({{"A", {"a1"}}});
    current()->putField_("Filename", "\"job.sh\"");
    current()->memo = {"echo started", "while :; do sleep 0.05; done"};
    window->Model2UI();
    QTimer::singleShot(300, window.get(), [this] { window->Break(); });
    EXPECT_EQ(run("UINewChildExecuted"), 0);
    EXPECT_EQ(readText("job.sh"), "echo started\nwhile :; do sleep 0.05; done\n");
    MemoNode* child = current();
    ASSERT_NE(child->getName_(), "a1");
    EXPECT_EQ(child->memo, (Lines{"started", "*Break*"}));
}

}  // namespace
}  // namespace zel
