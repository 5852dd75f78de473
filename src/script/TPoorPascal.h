#pragma once
// The script language's interpreter. A run takes the script of `Source`,
// declares the host's routines from `DeclarePrototype`, and executes the
// statements; everything it does to the rest of the program goes through the
// events and the services the host installs. A run's result is a status and
// a message: no exception leaves the interpreter.
//
// The language is defined by how a re-tokenizing interpreter would run it: a
// statement's error comes only when the statement is reached, effects happen
// left to right, host values are read at every evaluation, and the user
// interface gets its events at block entries. This one compiles each block
// and statement on first use within a run and keeps all of that.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zel {

class ScriptServices;

enum class TPPAType : std::uint8_t { Integer, Real, String };

// A value passed to a routine (one per parameter), or a variable's value.
struct TPPAArgument {
    TPPAType type = TPPAType::Integer;
    std::int64_t intValue = 0;
    double realValue = 0;
    std::string strValue;
};

struct TPPAParameter {
    std::string name;  // upper case
    TPPAType type = TPPAType::Integer;
};

// The arguments of one call, one entry per declared parameter in order: the
// parameter's name and the record that holds its value.
class TArgumentList {
  public:
    TArgumentList(const std::vector<TPPAParameter>& parameters, const TPPAArgument* values)
        : parameters_(&parameters), values_(values) {}
    std::size_t size() const { return parameters_->size(); }
    const std::string& name(std::size_t i) const { return (*parameters_)[i].name; }
    const TPPAArgument& operator[](std::size_t i) const { return values_[i]; }

  private:
    const std::vector<TPPAParameter>* parameters_;
    const TPPAArgument* values_;
};

// The host events; an event left empty is not assigned. `Err_CD` is 0 on
// entry; a routine event that leaves it non-zero ends the run with the
// message ErrorProc gives for it.
using TProcParam = std::function<void(const std::string& ProcName, std::int32_t Index,
                                      const TArgumentList& Argument, std::int32_t& Err_CD)>;
using TIntFuncParam = std::function<void(const std::string& FuncName, std::int32_t Index,
                                         const TArgumentList& Argument, std::int32_t& Err_CD,
                                         std::int64_t& ResultValue)>;
using TRealFuncParam =
    std::function<void(const std::string& FuncName, std::int32_t Index,
                       const TArgumentList& Argument, std::int32_t& Err_CD, double& ResultValue)>;
using TStrFuncParam = std::function<void(const std::string& FuncName, std::int32_t Index,
                                         const TArgumentList& Argument, std::int32_t& Err_CD,
                                         std::string& ResultValue)>;
using TErrorProc = std::function<void(std::int32_t Error_CD, std::string& Err_Message)>;
// GS_Mode is 0 for reading a host-bound variable, 1 after assigning it.
using TIntObjParam =
    std::function<void(const std::string& ObjName, std::int32_t Index, std::uint8_t GS_Mode,
                       std::int32_t& Err_CD, std::int64_t& Value)>;
using TRealObjParam =
    std::function<void(const std::string& ObjName, std::int32_t Index, std::uint8_t GS_Mode,
                       std::int32_t& Err_CD, double& Value)>;
using TStrObjParam =
    std::function<void(const std::string& ObjName, std::int32_t Index, std::uint8_t GS_Mode,
                       std::int32_t& Err_CD, std::string& Value)>;
using TPauseProc = std::function<void()>;

struct TPoorPascalEvents {
    TProcParam ProcParam;
    TIntFuncParam IntFuncParam;
    TRealFuncParam RealFuncParam;
    TStrFuncParam StrFuncParam;
    TErrorProc ErrorProc;
    TIntObjParam IntObjParam;
    TRealObjParam RealObjParam;
    TStrObjParam StrObjParam;
    TPauseProc PauseProc;
};

struct TPPARunResult {
    enum Status { Done, Failed, Refused };
    Status status = Done;
    std::string message;  // the error text (Shift_JIS) when not Done
    bool ok() const { return status == Done; }
};

// A variable as a listing shows it.
struct TPPAVariableInfo {
    std::string name;
    TPPAType type = TPPAType::Integer;
    TPPAArgument value;
    bool permanent = false;
    bool readOnly = false;
    bool hostBound = false;
};

class TPoorPascal {
  public:
    TPoorPascal();
    ~TPoorPascal();
    TPoorPascal(const TPoorPascal&) = delete;
    TPoorPascal& operator=(const TPoorPascal&) = delete;

    // The script, the host routine declarations (one a line) and the words
    // IsDefine knows; each is copied when set.
    void setSource(std::vector<std::string> lines);
    void setSourceText(std::string_view text);  // split at CR LF, LF or CR
    const std::vector<std::string>& Source() const;
    void setDeclarePrototype(std::vector<std::string> lines);
    const std::vector<std::string>& DeclarePrototype() const;
    void setDefine(std::vector<std::string> lines);
    const std::vector<std::string>& Define() const;

    // The name the host knows this interpreter by.
    void setName(std::string name);
    const std::string& name() const;

    TPoorPascalEvents events;
    // Not owned; null means the defaults of ScriptServices.
    void setServices(ScriptServices* services);
    ScriptServices& services() const;

    // Runs `Source`. Refused while a run of this interpreter is going on.
    TPPARunResult Execute();
    // Stops the run going on: it ends with "実行を中断しました" at its next
    // statement, loop turn or wait slice. True when there was a run.
    bool Abort();
    bool IsRunning() const;
    bool IsAborted() const;

    // A permanent, host-bound string variable; false with `error` set when
    // the name exists.
    bool AddStrObject(const std::string& name, const std::string& value, std::int32_t index,
                      bool readOnly, std::string* error = nullptr);
    // Declares one routine line permanently, as the built-ins are; false with
    // `error` set when the line is not a declaration or the name exists.
    bool DeclareRoutine(const std::string& line, std::string* error = nullptr);

    // Stops a run after this many statements as if aborted (0: no limit), for
    // runs that must end whatever the script does.
    void setStepLimit(std::uint64_t steps);

    // Every variable, sorted by name: the constants, the host-bound ones and
    // those the last run declared, with their values.
    std::vector<TPPAVariableInfo> variables() const;

    struct Impl;

  private:
    std::unique_ptr<Impl> impl_;
};

// The text of a value as Print would show it: integers in decimal, reals as
// FloatToStr formats them, strings as they are.
std::string formatScriptReal(double value);

}  // namespace zel
