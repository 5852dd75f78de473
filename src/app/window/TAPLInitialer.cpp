#include "app/window/TAPLInitialer.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

#include "app/IniFile.h"
#include "app/window/TFormMainBaseZEL.h"
#include "app/window/TFormMainRegular14.h"
#include "object/Report.h"
#include "platform/Compression.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "text/LineList.h"
#include "text/TextHelpers.h"
#include "views/ViewText.h"

namespace zel {

namespace {

// Bounds and defaults of the settings.
constexpr int kSmallestFontSize = 5;
constexpr int kSmallestSide = 300;
constexpr int kDefaultSplashMs = 3000;
constexpr int kShortestSplashMs = 500;
constexpr int kShortSplashReplacementMs = 2000;
constexpr int kSplashWithoutSettingsMs = 1800;

int atLeast(int value, int bound, int replacement) {
    return value <= bound ? replacement : value;
}

bool present(const IniFile& ini, std::string_view key) {
    return !ini.normalised(key).empty();
}

std::string defaultSplashImage(const TFormMainBaseZEL& window) {
    for (const char* extension : {".jpg", ".bmp"}) {
        std::string candidate = withExtension(window.exePath, extension);
        if (fileExists(candidate)) return candidate;
    }
    return {};
}

}  // namespace

void TAPLInitialer::initApplication(TFormMainBaseZEL& mainWindow, std::string_view commandLine) {
    mainWindow.addLogDT_("Launch " +
                         (commandLine.empty() ? mainWindow.exePath : std::string(commandLine)));
    mainWindow.repaint();
    _loadINIFile_(&mainWindow);
}

std::string TAPLInitialer::settingsPath(const TFormMainBaseZEL& mainWindow) {
    return configFilePath(fileNameOf(withExtension(mainWindow.exePath, ".ini")),
                          mainWindow.exeDirectory());
}

void TAPLInitialer::_loadINIFile_(TFormMainBaseZEL* mainWindow) {
    if (!mainWindow) {
        report("SYSTEM ERROR: aForm = nil in _loadINIFile_");
        return;
    }
    TFormMainBaseZEL& window = *mainWindow;
    window.setAboutImage(defaultSplashImage(window));
    const std::string path = settingsPath(window);
    std::string text;
    if (!fileExists(path) || !readFile(path, text)) {
        window.showAbout(kSplashWithoutSettingsMs);
        window.addLog_("Not found ini file " + path);
        return;
    }
    window.addLog_("Load ini file = " + path);
    const IniFile ini(text);
    setInflateLimits(
        inflateLimitsFromSettings([&ini](std::string_view key) { return ini.normalised(key); }));
    applyTempDir(window, ini);
    applyFont(window, ini);
    applyGeometry(window, ini);
    window.flagFileLock = ini.raw("FlagFileLock") == "\"true\"";
    window.defaultOpenFile = ini.normalised("DefaultOpenFile");
    applySplash(window, ini);
    int autoSave = ini.integer("AutoSaveTime");
    window.putAutoSaveTime_(autoSave < 1 ? 0 : autoSave);
}

void TAPLInitialer::applyTempDir(TFormMainBaseZEL& window, const IniFile& ini) {
    std::string directory = ini.normalised("TempDir");
    const std::string memoFileDirectory =
        std::string(folderOf(stripQuotes(window.aFile->getField_("Filename"))));
    if (!directory.empty()) {
        if (!dirExists(directory)) {
            window.addLog_("Not found Temp Directory: " + directory);
            directory = memoFileDirectory;
        }
    } else if (window.getTempDirectory().empty()) {
        directory = memoFileDirectory;
    }
    window.setTempDirectory(directory);
}

void TAPLInitialer::applyFont(TFormMainBaseZEL& window, const IniFile& ini) {
    QFont font = window.font();
    if (std::string name = ini.normalised("FontName"); !name.empty()) {
        font.setFamily(toQt(name));
    }
    if (present(ini, "FontSize")) {
        font.setPointSize(atLeast(ini.integer("FontSize"), kSmallestFontSize, kSmallestFontSize));
    }
    window.setFont(font);
}

void TAPLInitialer::applyGeometry(TFormMainBaseZEL& window, const IniFile& ini) {
    int width = present(ini, "FormWidth") ? ini.integer("FormWidth") : kMainWindowWidth;
    int height = present(ini, "FormHeight") ? ini.integer("FormHeight") : kMainWindowHeight;
    window.resize(atLeast(width, kSmallestSide, kSmallestSide),
                  atLeast(height, kSmallestSide, kSmallestSide));
    QPoint place = window.pos();
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        place = screen->availableGeometry().center() - window.rect().center();
    }
    if (present(ini, "FormTop")) place.setY(std::max(ini.integer("FormTop"), 0));
    if (present(ini, "FormLeft")) place.setX(std::max(ini.integer("FormLeft"), 0));
    window.move(place);
}

void TAPLInitialer::applySplash(TFormMainBaseZEL& window, const IniFile& ini) {
    int period =
        present(ini, "PeriodShowAbout")
            ? atLeast(ini.integer("PeriodShowAbout"), kShortestSplashMs, kShortSplashReplacementMs)
            : kDefaultSplashMs;
    if (std::string image = ini.normalised("AboutImage"); !image.empty() && fileExists(image)) {
        window.setAboutImage(image);
    }
    std::string flag = trimText(ini.raw("FlagShowAbout"));
    if (flag.empty() || flag == "\"true\"") window.showAbout(period);
}

}  // namespace zel
