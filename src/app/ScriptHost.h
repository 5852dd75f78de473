#pragma once
// The window's side of scripts: PP1, the pool of script runners, the host
// routines every interpreter of the window serves alike, and what stops a run
// from the window: Break, closing the window, another memo file.

#include <QObject>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/NodeRef.h"
#include "script/TPoorPascal.h"

namespace zel {

class MemoHolder;
class MemoNode;
class TFormMainScript;

class ScriptHost : public QObject {
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

    // Answers of the host routines that do not depend on the interpreter.
    void serveProc(TPoorPascal& pp, std::int32_t index, const TArgumentList& args,
                   std::int32_t& err);
    std::int64_t serveInt(TPoorPascal& pp, std::int32_t index, const TArgumentList& args,
                          std::int32_t& err);
    std::string serveStr(std::int32_t index, const TArgumentList& args, std::int32_t& err);

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

    void wire(TPoorPascal& pp);
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
