// Batch mode: the window is built and never shown; the script runs in PP1 as
// [MemoNode] "Eval" runs it (or a script node runs as "New Child" >
// "Execute" runs it). Questions are answered from --answer in order, else
// cancelled, and each is written to standard error. Log lines go to standard
// output as they come, the final status to standard error. Files are written
// only with --save, as "Exit(All Yes)" would write them.

#include "app/scripting/BatchRun.h"
#include "app/commands/CommandNames.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "app/Prompter.h"
#include "app/commands/CommandTable.h"
#include "app/scripting/BatchPrompter.h"
#include "app/scripting/ScriptHost.h"
#include "app/window/TFormLog.h"
#include "app/window/TFormMainRegular14.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "platform/OsPath.h"
#include "platform/WriterLock.h"
#include "text/Sjis.h"
#include "text/TextHelpers.h"

namespace zel {

namespace {

constexpr const char* kBatchUsage =
    "Usage: zel --run SCRIPT [FILE] [--save] [--define WORD]... [--answer TEXT]...\n"
    "           [--timeout SECONDS] [--execute HOLDER NODE]\n"
    "Runs SCRIPT (Shift_JIS) in the window without showing it, on FILE (else an\n"
    "empty memo file), as [MemoNode] Eval runs it; with --execute, runs the script\n"
    "node NODE of HOLDER as New Child > Execute does instead. Questions take the\n"
    "--answer texts in order (Yes, No, OK, Cancel, YesToAll, Abort, Retry, Ignore,\n"
    "or the text typed), else Cancel (else No, else Abort, else OK). Log lines go\n"
    "to stdout, the final status to stderr. --save writes\n"
    "every changed holder and the memo file. Exit 0, or 1 on an error.\n";

std::string shown(std::string_view sjis) {
    return sjisToUtf8(sjis);
}

struct BatchCall {
    std::string script, file;
    bool save = false;
    std::vector<std::string> define, answers;
    int timeoutSeconds = 0;
    std::string executeHolder, executeNode;
    bool execute = false;
};

bool parseBatch(int argc, char** argv, BatchCall& call, std::string& error) {
    std::vector<std::string> words;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= argc) {
                error = arg + " needs a value";
                return false;
            }
            out = argv[++i];
            return true;
        };
        std::string v;
        if (arg == "--run") {
            if (!value(call.script)) return false;
        } else if (arg == "--save") {
            call.save = true;
        } else if (arg == "--define") {
            if (!value(v)) return false;
            call.define.push_back(utf8ToSjis(v));
        } else if (arg == "--answer") {
            if (!value(v)) return false;
            call.answers.push_back(utf8ToSjis(v));
        } else if (arg == "--timeout") {
            if (!value(v)) return false;
            auto seconds = readInteger(v);
            if (!seconds || *seconds <= 0 || *seconds > 86400) {
                error = "--timeout takes a number of seconds";
                return false;
            }
            call.timeoutSeconds = static_cast<int>(*seconds);
        } else if (arg == "--execute") {
            if (!value(call.executeHolder) || !value(call.executeNode)) return false;
            call.executeHolder = utf8ToSjis(call.executeHolder);
            call.executeNode = utf8ToSjis(call.executeNode);
            call.execute = true;
        } else if (arg.starts_with("--")) {
            error = "unknown option " + arg;
            return false;
        } else {
            words.push_back(arg);
        }
    }
    if (words.size() > 1) {
        error = "one FILE at most";
        return false;
    }
    if (!words.empty()) call.file = utf8ToSjis(words[0]);
    if (call.script.empty() && !call.execute) {
        error = "--run needs a SCRIPT";
        return false;
    }
    return true;
}

// Writes the log window's lines that are new since the last call.
class LogEcho {
  public:
    explicit LogEcho(TFormMainScript& window) : window_(window) {}
    void operator()() {
        QTextDocument* doc = window_.formLog()->MemoLog->document();
        if (doc->isEmpty()) return;
        const int count = doc->blockCount();
        for (int i = written_; i < count; ++i)
            std::cout << doc->findBlockByNumber(i).text().toStdString() << '\n';
        written_ = count;
        std::cout.flush();
    }

  private:
    TFormMainScript& window_;
    int written_ = 0;
};

bool readScript(const std::string& path, std::string& text) {
    std::ifstream in(path == "-" ? std::string("/dev/stdin") : toOsPath(utf8ToSjis(path)),
                     std::ios::binary);
    if (!in) return false;
    text.assign(std::istreambuf_iterator<char>(in), {});
    return true;
}

}  // namespace

int runBatch(int argc, char** argv) {
    BatchCall call;
    std::string error;
    if (!parseBatch(argc, argv, call, error)) {
        std::cerr << "zel: " << error << '\n' << kBatchUsage;
        return 1;
    }
    std::string script;
    if (!call.script.empty() && !readScript(call.script, script)) {
        std::cerr << "zel: cannot read " << call.script << '\n';
        return 1;
    }
    // A run that saves reads and writes back its file: other writers wait
    // until it ends, and it writes nothing when another writer keeps the file.
    WriterLock runLock;
    if (call.save && !call.file.empty()) {
        setWriterLockProgram("zel --run");
        if (IoResult locked = runLock.acquire(call.file); !locked) {
            std::cerr << "zel: " << shown(locked.message) << '\n';
            return 1;
        }
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    TFormMainRegular14 window;
    window.holdWriterLock = call.save;
    window.setApplicationTitle("zel.exe");
    window.setPrompter(std::make_unique<BatchPrompter>(call.answers));
    window.newMemoFile_();
    if (!call.file.empty()) window._open_(call.file);

    ScriptHost& host = window.scriptHost();
    std::vector<std::string> define = host.PP1().Define();
    define.insert(define.end(), call.define.begin(), call.define.end());
    host.PP1().setDefine(define);
    LogEcho echo(window);
    host.afterPump = [&echo] { echo(); };
    bool timedOut = false;
    QTimer timeout;
    if (call.timeoutSeconds > 0) {
        timeout.setSingleShot(true);
        QObject::connect(&timeout, &QTimer::timeout, [&] {
            timedOut = true;
            host.abortAll();
        });
        timeout.start(call.timeoutSeconds * 1000);
    }

    bool ok = true;
    std::string failure;
    if (call.execute) {
        MemoHolder* holder = window.aFile->holderByName_(call.executeHolder);
        if (holder) window.changeHolder_(holder);
        MemoNode* node = holder ? holder->byName_(call.executeNode) : nullptr;
        if (!node) {
            failure = "no node " + call.executeNode + " in holder " + call.executeHolder;
            ok = false;
        } else {
            window.setCurMemoNode_(node);
            const int result = runCommand(window, commands::UINewChildExecuted);
            ok = result >= 0 && window.statusMessage().starts_with("Done:");
            if (!ok) failure = window.statusMessage();
        }
    } else {
        const TPPARunResult result = host.runInPP1(trimText(script));
        window.messageDoing_(result.ok() ? "Done: Eval" : "ERROR: Eval");
        ok = result.ok();
        if (!ok) failure = result.message;
    }
    if (timedOut) {
        ok = false;
        failure = "timed out after " + std::to_string(call.timeoutSeconds) + " s";
    }
    host.flushLog();
    echo();
    std::cerr << "zel: " << shown(window.statusMessage()) << '\n';

    // Half-done work is not saved: only a run that ended normally writes.
    if (call.save && ok) {
        window.allYes = true;
        if (!window.querySaveChanges_()) {
            ok = false;
            failure = "could not save every change; nothing was written";
        }
        echo();
    } else if (call.save) {
        failure += "; nothing was saved";
    }
    if (!ok) std::cerr << "zel: " << shown(failure) << '\n';
    return ok ? 0 : 1;
}

}  // namespace zel
