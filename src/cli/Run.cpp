// zel-tool run SCRIPT: runs a script with a console host. Print and the log
// routines write lines to standard output; questions are answered from the
// options; routines that need the window end the run and say so. The same
// host routine declarations as the window's are in force, so a script reads
// alike here and there.

#include "cli/Run.h"

#include <signal.h>

#include <csignal>
#include <fstream>
#include <iostream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <ostream>

#include "platform/OsPath.h"
#include "script/BaseScriptHost.h"
#include "script/ScriptServices.h"
#include "script/TPoorPascal.h"
#include "text/LineList.h"
#include "text/Sjis.h"

namespace zel {

namespace {

volatile std::sig_atomic_t interrupted = 0;
void onInterrupt(int) {
    interrupted = 1;
}

// Ctrl-C aborts the run (the next block or wait slice sees it) instead of
// killing the process, for as long as this lives.
class InterruptGuard {
  public:
    InterruptGuard() {
        interrupted = 0;
        struct sigaction action {};
        action.sa_handler = onInterrupt;
        sigemptyset(&action.sa_mask);
        ::sigaction(SIGINT, &action, &previous_);
    }
    ~InterruptGuard() { ::sigaction(SIGINT, &previous_, nullptr); }
    InterruptGuard(const InterruptGuard&) = delete;
    InterruptGuard& operator=(const InterruptGuard&) = delete;

  private:
    struct sigaction previous_ {};
};

struct RunOptions {
    std::string script;  // Shift_JIS
    std::vector<std::string> define, declare, inputs;
    std::vector<int> answers;
    bool noExec = false;
};

class ConsoleServices : public ScriptServices {
  public:
    ConsoleServices(const ToolOutput& io, RunOptions& options, TPoorPascal& pp)
        : io_(io), options_(options), pp_(pp) {}

    void pump() override {
        if (interrupted) pp_.Abort();
    }
    void wait(int milliseconds) override {
        if (interrupted) {
            pp_.Abort();
            return;
        }
        ScriptServices::wait(milliseconds);
    }
    std::string inputBox(const std::string&, const std::string&,
                         const std::string& initial) override {
        if (nextInput_ >= options_.inputs.size()) return initial;
        return options_.inputs[nextInput_++];
    }
    int messageBox(const std::string& text, const std::string& caption, int) override {
        io_.err << io_.shown(caption) << ": " << io_.shown(text) << '\n';
        if (nextAnswer_ >= options_.answers.size()) return 1;
        return options_.answers[nextAnswer_++];
    }
    std::int64_t exec(const std::string& path, const std::string& commandLine, bool wait,
                      const std::function<bool()>& keepWaiting) override {
        if (options_.noExec) return 0;
        return ScriptServices::exec(path, commandLine, wait, keepWaiting);
    }
    int shell(const std::string& path, const std::string& commandLine) override {
        if (options_.noExec) return 2;
        return ScriptServices::shell(path, commandLine);
    }

  private:
    const ToolOutput& io_;
    RunOptions& options_;
    TPoorPascal& pp_;
    std::size_t nextInput_ = 0, nextAnswer_ = 0;
};

class ConsoleHost : public BaseScriptHost {
  public:
    ConsoleHost(const ToolOutput& io, RunOptions& options) : io_(io), services_(io, options, pp_) {
        std::vector<std::string> prototypes = hostPrototypeLines();
        prototypes.insert(prototypes.end(), options.declare.begin(), options.declare.end());
        pp_.setDeclarePrototype(std::move(prototypes));
        pp_.setDefine(options.define);
        pp_.setSourceText(options.script);
        pp_.setName("PPA00");
        pp_.setServices(&services_);
        pp_.AddStrObject("PPAID", "PPA00", kPPAIDIndex, true);
        wire(pp_);
        // Nothing could resume a paused run here.
        pp_.events.PauseProc = [this] { pp_.Abort(); };
    }

    int run() {
        TPPARunResult result;
        {
            InterruptGuard guard;
            result = pp_.Execute();
        }
        if (io_.json) return writeJson(result);
        if (result.ok()) return 0;
        if (!windowRoutine_.empty())
            io_.err << "zel-tool: " << io_.shown(windowRoutine_)
                    << " needs the window (zel --run)\n";
        return io_.fail(result.message);
    }

  private:
    void printLine(const std::string& sjis) override {
        if (io_.json) {
            output_.push_back(sjis);
        } else {
            io_.out << io_.shown(sjis) << '\n';
        }
    }

    // A routine this host cannot serve ends the run with the host error; the
    // first of the window's routines among them is named at the end.
    void unserved(std::int32_t index, HostAnswer, HostCall& call) override {
        const HostRoutine* routine = findHostRoutine(index);
        if (routine && windowRoutine_.empty()) windowRoutine_ = routine->name();
        call.err = kUnknownRoutine;
    }

    int writeJson(const TPPARunResult& result) {
        using Json = nlohmann::ordered_json;
        Json doc;
        doc["status"] = result.ok() ? "ok" : "error";
        doc["message"] = sjisToUtf8(result.message);
        Json lines = Json::array();
        for (const auto& l : output_) lines.push_back(sjisToUtf8(l));
        doc["output"] = lines;
        Json vars = Json::array();
        for (const TPPAVariableInfo& v : pp_.variables()) {
            Json entry;
            entry["name"] = sjisToUtf8(v.name);
            switch (v.type) {
                case TPPAType::Integer:
                    entry["type"] = "integer";
                    entry["value"] = v.value.intValue;
                    break;
                case TPPAType::Real:
                    entry["type"] = "real";
                    entry["value"] = v.value.realValue;
                    break;
                case TPPAType::String:
                    entry["type"] = "string";
                    entry["value"] = sjisToUtf8(v.value.strValue);
                    break;
            }
            vars.push_back(entry);
        }
        doc["variables"] = vars;
        io_.out << doc.dump(2) << '\n';
        return result.ok() ? 0 : 1;
    }

    const ToolOutput& io_;
    TPoorPascal pp_;
    ConsoleServices services_;
    std::string windowRoutine_;
    std::vector<std::string> output_;
};

bool readAll(std::istream& in, std::string& text) {
    text.assign(std::istreambuf_iterator<char>(in), {});
    return !in.bad();
}

bool readFileText(const ToolOutput& io, const std::string& argument, std::string& text) {
    if (argument == "-") return readAll(std::cin, text);
    std::ifstream in(toOsPath(io.stored(argument)), std::ios::binary);
    return in && readAll(in, text);
}

int runScriptVerb(const ToolOutput& io, const std::vector<std::string>& args) {
    VerbArguments split;
    std::string error;
    if (!splitVerbArguments(args, {"--no-exec", "--utf8"},
                            {"--define", "--declare", "--input", "--answer"}, split, error))
        return io.usageError(error);
    if (split.words.size() != 1) return io.usageError("run takes one SCRIPT (or - for stdin)");
    RunOptions options;
    options.noExec = split.has("--no-exec");
    std::string text;
    if (!readFileText(io, split.words[0], text))
        return io.fail("cannot read " + io.stored(split.words[0]));
    options.script = split.has("--utf8") ? utf8ToSjis(text) : text;
    for (const auto& word : split.all("--define")) options.define.push_back(io.stored(word));
    for (const auto& input : split.all("--input")) options.inputs.push_back(io.stored(input));
    for (const auto& answer : split.all("--answer")) {
        try {
            options.answers.push_back(std::stoi(answer));
        } catch (const std::exception&) {
            return io.usageError("--answer takes a number: " + answer);
        }
    }
    for (const auto& file : split.all("--declare")) {
        std::string declared;
        if (!readFileText(io, file, declared)) return io.fail("cannot read " + io.stored(file));
        for (auto& l : textLines(declared)) options.declare.push_back(std::move(l));
    }
    ConsoleHost host(io, options);
    return host.run();
}

}  // namespace

const ToolVerb kRunVerb = {
    "run",
    "  run SCRIPT|-              runs a script (Shift_JIS as stored; --utf8 when not)\n"
    "                            without the window: Print and the log routines\n"
    "                            write to stdout, the error to stderr (exit 1);\n"
    "                            --define WORD, --declare FILE (prototype lines),\n"
    "                            --input TEXT (input boxes), --answer N (message\n"
    "                            boxes), --no-exec (Exec gives 0, Shell 2), --json\n",
    true,
    runScriptVerb,
};

}  // namespace zel
