#pragma once
// The launch steps: the launch line in the log, then the settings file
// beside the executable applied to the main window.

#include <string>
#include <string_view>

namespace zel {

class IniFile;
class TFormMainBaseZEL;

class TAPLInitialer {
  public:
    // `commandLine` is the whole process command line (may be empty).
    void initApplication(TFormMainBaseZEL& mainWindow, std::string_view commandLine);
    void _loadINIFile_(TFormMainBaseZEL* mainWindow);

    // Where the settings file is looked for: beside the executable, else in
    // the user's configuration folder.
    static std::string settingsPath(const TFormMainBaseZEL& mainWindow);

  private:
    static void applyTempDir(TFormMainBaseZEL& window, const IniFile& ini);
    static void applyFont(TFormMainBaseZEL& window, const IniFile& ini);
    static void applyGeometry(TFormMainBaseZEL& window, const IniFile& ini);
    static void applySplash(TFormMainBaseZEL& window, const IniFile& ini);
};

}  // namespace zel
