// Start-up: the settings file with each key's default and bound, and the
// choice of the file opened at start.

#include <filesystem>

#include "app/AppTestSupport.h"
#include "app/IniFile.h"
#include "app/window/TAPLInitialer.h"
#include "app/window/TFormAbout.h"
#include "app/window/TFormLog.h"
#include "model/MemoHolder.h"

namespace zel {
namespace {

TEST(IniFileTest, KeysIgnoreCaseFirstLineWinsValuesAreUnquotedOnce) {
    IniFile ini("[zel]\r\ntempdir= \"/tmp/x\" \r\nTempDir=/second\nFontName=\"Sans\nNoEquals\n");
    EXPECT_EQ(ini.normalised("TempDir"), "/tmp/x");
    EXPECT_EQ(ini.raw("TEMPDIR"), " \"/tmp/x\" ");
    EXPECT_EQ(ini.normalised("FontName"), "Sans");
    EXPECT_EQ(ini.raw("Missing"), "");
}

TEST(IniFileTest, IntegersReadTheirLeadingNumber) {
    EXPECT_EQ(leadingInteger("800px"), 800);
    EXPECT_EQ(leadingInteger("  -40"), -40);
    EXPECT_EQ(leadingInteger("$1F"), 31);
    EXPECT_EQ(leadingInteger("0x10"), 16);
    EXPECT_EQ(leadingInteger("wide"), 0);
    EXPECT_EQ(leadingInteger("99999999999"), INT_MAX);
}

class StartupTest : public AppTest {
  protected:
    void start(const std::string& ini) {
        makeWindow();
        if (!ini.empty()) writeText("bin/zel.ini", ini);
        TAPLInitialer().initApplication(*window, "zel --test");
    }
};

TEST_F(StartupTest, WithoutSettingsFileDefaultsStayAndTheSplashShowsBriefly) {
    start("");
    EXPECT_TRUE(logContains(" :Launch zel --test"));
    EXPECT_TRUE(logContains("Not found ini file " + path("config/zel/zel.ini")));
    EXPECT_EQ(window->formAbout()->remainingMilliseconds(), 1800);
    EXPECT_FALSE(window->flagFileLock);
    EXPECT_EQ(window->getAutoSaveTime(), 0);
    EXPECT_EQ(window->getTempDirectory(), path("bin/"));
}

TEST_F(StartupTest, SettingsFileInTheConfigFolderIsReadWhenNoneIsBesideTheProgram) {
    writeText("config/zel/zel.ini", "AutoSaveTime=120\r\n");
    start("");
    EXPECT_TRUE(logContains("Load ini file = " + path("config/zel/zel.ini")));
    EXPECT_EQ(window->getAutoSaveTime(), 120);
}

TEST_F(StartupTest, NumbersAreBoundedAndPlacementBecomesExplicit) {
    start(
        "FontSize=3\r\nFormWidth=120\r\nFormHeight=800px\r\nFormLeft=-40\r\nFormTop=17\r\n"
        "AutoSaveTime=-5\r\n");
    EXPECT_EQ(window->font().pointSize(), 5);
    EXPECT_EQ(window->width(), 300);
    EXPECT_EQ(window->height(), 800);
    EXPECT_EQ(window->pos(), QPoint(0, 17));
    EXPECT_EQ(window->getAutoSaveTime(), 0);
}

TEST_F(StartupTest, AbsentSizesGiveTheDesignSize) {
    start("FontName=\"IPAGothic\"\r\n");
    EXPECT_EQ(window->size(), QSize(592, 650));
    EXPECT_EQ(window->font().family(), QStringLiteral("IPAGothic"));
}

TEST_F(StartupTest, FileLockNeedsTheQuotedTrueExactly) {
    for (auto [value, on] : {std::pair{"true", false}, {"\"true\"", true}, {" \"true\"", false}}) {
        start(std::string("FlagFileLock=") + value + "\r\n");
        EXPECT_EQ(window->flagFileLock, on) << value;
    }
}

TEST_F(StartupTest, SplashPeriodAndFlag) {
    struct Case {
        const char* ini;
        bool shown;
        int period;
    };
    for (Case c :
         {Case{"PeriodShowAbout=400\r\n", true, 2000}, Case{"PeriodShowAbout=501\r\n", true, 501},
          Case{"X=1\r\n", true, 3000}, Case{"FlagShowAbout=\r\n", true, 3000},
          Case{"FlagShowAbout= \"true\" \r\n", true, 3000},
          Case{"FlagShowAbout=false\r\nPeriodShowAbout=9000\r\n", false, 0}}) {
        start(c.ini);
        TFormAbout* about = window->formAbout();
        EXPECT_EQ(about->isVisible(), c.shown) << c.ini;
        if (c.shown) {
            EXPECT_EQ(about->remainingMilliseconds(), c.period) << c.ini;
        }
    }
}

TEST_F(StartupTest, MissingTempDirIsLoggedAndTheMemoFileFolderUsed) {
    makeWindow();
    window->aFile->setFilename(path("memo/work.mxa"));
    writeText("bin/zel.ini", "TempDir=" + path("nowhere") + "\r\n");
    TAPLInitialer().initApplication(*window, "");
    EXPECT_TRUE(logContains("Not found Temp Directory: " + path("nowhere")));
    EXPECT_EQ(window->getTempDirectory(), path("memo/"));

    writeText("bin/zel.ini", "tempdir=\"" + dir + "\"\r\nTempDir=/elsewhere\r\n");
    TAPLInitialer().initApplication(*window, "");
    EXPECT_EQ(window->getTempDirectory(), dir + "/");
}

TEST_F(StartupTest, DefaultOpenFilePrefersTheContainerAndIsAlwaysAMemoFile) {
    makeWindow();
    EXPECT_EQ(window->getDefaultOpenFile(), path("noname.mxa"));
    window->defaultOpenFile = path("memo/work");
    EXPECT_EQ(window->getDefaultOpenFile(), path("memo/work.mxa"));
    writeText("memo/work.maz", "x");
    EXPECT_EQ(window->getDefaultOpenFile(), path("memo/work.maz"));
    window->defaultOpenFile = "notes.txt";
    EXPECT_EQ(window->getDefaultOpenFile(), path("notes.mxa"));
}

TEST_F(StartupTest, ArgumentWithoutExtensionPrefersTheIndex) {
    writeMemoFile("report.mxa", {{"work", {"a"}}});
    writeMemoFile("report.maz", {{"other", {"b"}}});
    makeWindow();
    window->openArg1({"report"});
    EXPECT_EQ(window->aFile->getMemoFilePath_(), path("report.mxa"));
    EXPECT_EQ(holderNames(), std::vector<std::string>{"work"});
    EXPECT_EQ(window->statusMessage(), "Done: Loaded " + path("report.mxa"));
}

TEST_F(StartupTest, MissingArgumentGivesANamedChangedMemoFileAndShowsTheLog) {
    makeWindow();
    window->openArg1({"new.mxa"});
    EXPECT_EQ(window->aFile->getName_(), "new");
    EXPECT_EQ(window->aFile->getMemoFilePath_(), path("new.mxa"));
    EXPECT_TRUE(window->aFile->changed);
    EXPECT_TRUE(window->formLog()->isVisible());
    EXPECT_TRUE(logContains("Not found \"" + path("new.mxa") + "\""));
    EXPECT_EQ(window->statusMessage(), "Done: Not Found " + path("new.mxa"));
}

TEST_F(StartupTest, HolderNamedOnTheCommandLineOpensDespiteTheStartUpBusyState) {
    writeMemoFile("base.mxa", {{"notes", {"n1", "n2"}}});
    makeWindow();
    window->openArg1({path("notes.mxh")});
    EXPECT_EQ(window->getCurHolder()->getName_(), "notes");
    EXPECT_EQ(currentNodeNames(), (std::vector<std::string>{"n1", "n2"}));
}

}  // namespace
}  // namespace zel
