#pragma once
// The window's side of scripts: PP1, the pool of script runners, the host
// routines every interpreter of the window serves alike (every routine of the
// table), and what stops a run from the window: Break, closing the window,
// another memo file.

#include <QObject>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/NodeRef.h"
#include "script/BaseScriptHost.h"
#include "script/TPoorPascal.h"

namespace zel {

class MemoHolder;
class MemoNode;
class TFormMainScript;

class ScriptHost : public QObject, public BaseScriptHost {
  public:
    explicit ScriptHost(TFormMainScript& window);
    ~ScriptHost() override;

    TPoorPascal& PP1() { return *pp1_; }
    // Runs `script` (Shift_JIS) in PP1; refused while PP1 runs. A failed
    // run's message also goes to the log.
    TPPARunResult runInPP1(std::string_view script);
    // Runs `node`'s memo text in an idle runner of the pool (made when none
    // is idle) and appends the runner's output to `lines`: 0, or -1 when the
    // run failed (after the error box).
    int runNode(MemoNode& node, std::vector<std::string>& lines);

    bool isAnyRunning() const;
    // Asks every running interpreter to stop.
    void abortAll();
    // The pool's runners, in order ("PPA00", "PPA01", ...).
    std::vector<std::string> runnerNames() const;

    // Writes the lines Print and the log routines buffered into the log window.
    void flushLog();
    // Called after every pump of a run (batch mode echoes the log there).
    std::function<void()> afterPump;

    void pumpEvents();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Runner {
        std::string name;
        std::unique_ptr<TPoorPascal> pp;
        std::vector<std::string> buffer;
        NodeRef node;
    };
    class Services;

    // Wires `pp` to this host and the window's services.
    void attach(TPoorPascal& pp);
    void printLine(const std::string& line) override;
    void printToRunner(const std::string& runner, const std::string& line) override;
    // An aborted run (Break, closing, another memo file) touches nothing more.
    bool ignoresCalls(const TPoorPascal& pp) const override;

    // The routines of the window. Each writes the log lines printed so far
    // first, so the log keeps the order of events.
    template <class Handler>
    void serveWindow(std::string_view name, Handler handler);
    void serveWindowRoutines();
    // The routine runs the command `command` (its own name when empty).
    void serveCommand(std::string_view name, std::string_view command = {});
    int resizeOrMove(HostCall& call, bool move);
    std::int64_t setFontSize(HostCall& call);
    int appendToCurrent(const std::string& line, bool comment);
    int putName(const std::string& name);
    // The current node, as the node editor shows it.
    MemoNode* shownCurrent();
    std::string removeField(const std::string& key);
    // The lines of an addressed node (holder and node name in the first two
    // arguments): how many, and the one the third argument numbers.
    enum class NodeList { Memo, Comment, Fields };
    std::int64_t lineCount(const HostCall& call, NodeList list);
    std::string lineOf(const HostCall& call, NodeList list);
    Runner* idleRunner();
    Runner* runnerNamed(std::string_view name);
    void log(std::string line);
    // A run starts: Break pressed before it is forgotten; ends: a close asked
    // for during the run is carried out.
    void beginRun();
    void endRun();

    // Node addressing: holder by name ('' is the current one), first node of
    // that name; the current node's editor is written back first.
    MemoNode* addressed(const std::string& holderName, const std::string& nodeName);
    bool isCurrentShown(const MemoNode* node) const;
    bool refusesWrite(const MemoNode* node);
    int renameNew(int made, MemoNode* before, const std::string& name);
    int putFieldOf(const std::string& holderName, const std::string& nodeName,
                   const std::string& key, const std::string& value);
    int appendTo(const std::string& holderName, const std::string& nodeName,
                 const std::string& line, bool comment);
    int changeCurrentTo(MemoNode* node);
    int shellExecute(const std::string& command);

    TFormMainScript& window_;
    std::unique_ptr<Services> services_;
    std::unique_ptr<TPoorPascal> pp1_;
    std::vector<std::unique_ptr<Runner>> pool_;
    std::vector<std::string> pendingLog_;
    int runDepth_ = 0;
    bool closeWanted_ = false;
    bool breakAtStart_ = false;
    std::string memoFileAtStart_;
};

}  // namespace zel
