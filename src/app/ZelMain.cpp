#include "app/ZelMain.h"

#include <unistd.h>

#include <QApplication>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "app/Version.h"
#include "app/commands/CommandListing.h"
#include "app/commands/KeyMap.h"
#include "app/scripting/BatchRun.h"
#include "app/window/TAPLInitialer.h"
#include "app/window/TFormAbout.h"
#include "app/window/TFormMainRegular14.h"
#include "app/window/WindowState.h"
#include "cli/ui/PrintPdf.h"
#include "views/ViewText.h"

namespace zel {

namespace {

constexpr const char* kUsage =
    "Usage: zel [FILE]\n"
    "A desktop manager for personal memo cards.\n"
    "\n"
    "FILE is opened at start: a memo file (.mxa index or .maz container), a holder\n"
    "(.mxh, .mhz), a compressed .z file, a folder, a web address or any other file.\n"
    "Without FILE the DefaultOpenFile of zel.ini is opened (noname.mxa by default).\n"
    "\n"
    "Settings are read from zel.ini beside the executable, else from\n"
    "$XDG_CONFIG_HOME/zel/zel.ini.\n"
    "\n"
    "  --help      show this text and exit\n"
    "  --version   show the version and exit\n"
    "  --run SCRIPT [FILE] [--save] [--define WORD]... [--answer TEXT]...\n"
    "              [--timeout SECONDS] [--execute HOLDER NODE]\n"
    "              run a script in the window without showing it, then exit\n"
    "  --commands  list the command table, every menu item, pop-up entry and tool bar\n"
    "              control with the command it runs and its state, and exit (no\n"
    "              display needed); with --json as one JSON document\n"
    "  --print ARGUMENTS\n"
    "              zel-tool's print verb (zel-tool print hands over to it), then exit\n"
    "\n"
    "Keys:\n";

// Answers "--help" and "--version"; false when the window should start.
bool answeredOnTerminal(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            std::fputs(kUsage, stdout);
            std::fputs(keyHelpText().c_str(), stdout);
            return true;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("zel %s (%s)\n", kVersionLabel, kReleaseDateLabel);
            return true;
        }
    }
    return false;
}

bool hasArgument(int argc, char** argv, const char* wanted) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], wanted) == 0) return true;
    return false;
}

// "--commands": the window is built off screen and listed, never shown.
int listCommands(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    TFormMainRegular14 window;
    window.newMemoFile_();
    std::fputs(commandListing(window, hasArgument(argc, argv, "--json")).c_str(), stdout);
    return 0;
}

std::string commandLineOf(const QStringList& arguments) {
    return fromQt(arguments.join(QLatin1Char(' ')));
}

// Before any Qt object exists: the browser reads its flags once, at start.
void allowWebViewAsRoot() {
    const std::string flags =
        chromiumFlags(qgetenv("QTWEBENGINE_CHROMIUM_FLAGS").toStdString(), ::geteuid() == 0);
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", QByteArray::fromStdString(flags));
}

}  // namespace

std::string chromiumFlags(std::string_view given, bool asRoot) {
    std::string flags(given);
    if (!asRoot || flags.find("--no-sandbox") != std::string::npos) return flags;
    return flags.empty() ? "--no-sandbox" : flags + " --no-sandbox";
}

int runZel(int argc, char** argv) {
    // First and alone: the words after it are the verb's, --help among them.
    if (argc > 1 && std::strcmp(argv[1], "--print") == 0) return runPrintVerb(argc - 2, argv + 2);
    if (answeredOnTerminal(argc, argv)) return 0;
    allowWebViewAsRoot();
    if (hasArgument(argc, argv, "--commands")) return listCommands(argc, argv);
    if (hasArgument(argc, argv, "--run")) return runBatch(argc, argv);
    QApplication application(argc, argv);
    TFormMainRegular14 window;
    window.setApplicationTitle("zel.exe");
    window.show();
    // Painted before the start-up open, which lets no event through until
    // the memo file is read.
    paintAtOnce(window);
    window.newMemoFile_();
    TAPLInitialer initialer;
    initialer.initApplication(window, commandLineOf(QApplication::arguments()));
    restoreMainWindow(window);
    std::vector<std::string> arguments;
    for (const QString& argument : QApplication::arguments().mid(1)) {
        arguments.push_back(fromQt(argument));
    }
    window.openArg1(arguments);
    restorePlace(window);
    window.setWindowFlag(Qt::WindowStaysOnTopHint, false);
    window.show();
    try {
        const int status = QApplication::exec();
        rememberWindows(window);
        return status;
    } catch (const std::exception&) {
        window.prompter().error("ERROR zelstart");
        return 1;
    }
}

}  // namespace zel
