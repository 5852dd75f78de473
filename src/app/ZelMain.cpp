#include "app/ZelMain.h"

#include <QApplication>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "app/TAPLInitialer.h"
#include "app/TFormMainRegular14.h"
#include "app/Version.h"
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
    "  --help     show this text and exit\n"
    "  --version  show the version and exit\n";

// Answers "--help" and "--version"; false when the window should start.
bool answeredOnTerminal(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            std::fputs(kUsage, stdout);
            return true;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("zel %s (%s)\n", kVersionLabel, kReleaseDateLabel);
            return true;
        }
    }
    return false;
}

std::string commandLineOf(const QStringList& arguments) {
    return fromQt(arguments.join(QLatin1Char(' ')));
}

}  // namespace

int runZel(int argc, char** argv) {
    if (answeredOnTerminal(argc, argv)) return 0;
    QApplication application(argc, argv);
    TFormMainRegular14 window;
    window.setApplicationTitle("zel.exe");
    window.show();
    window.newMemoFile_();
    TAPLInitialer initialer;
    initialer.initApplication(window, commandLineOf(QApplication::arguments()));
    std::vector<std::string> arguments;
    for (const QString& argument : QApplication::arguments().mid(1)) {
        arguments.push_back(fromQt(argument));
    }
    window.openArg1(arguments);
    window.setWindowFlag(Qt::WindowStaysOnTopHint, false);
    window.show();
    try {
        return QApplication::exec();
    } catch (const std::exception&) {
        window.prompter().error("ERROR zelstart");
        return 1;
    }
}

}  // namespace zel
