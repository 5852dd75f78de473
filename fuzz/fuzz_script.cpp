// Random scripts through the interpreter: whatever the text, a run ends
// (a step budget and a host that aborts every wait), with a status, and
// never traps. An input may begin with prototype lines ended by a line "#".

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "script/ScriptServices.h"
#include "script/TPoorPascal.h"

namespace {

class NullServices : public zel::ScriptServices {
  public:
    zel::TPoorPascal* pp = nullptr;
    void wait(int) override { pp->Abort(); }
    std::int64_t exec(const std::string&, const std::string&, bool,
                      const std::function<bool()>&) override {
        return 0;
    }
    int shell(const std::string&, const std::string&) override { return 2; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> prototypes{"procedure Print(S:String);Index 1;",
                                        "function Host(S:String;N:Integer;R:Real):Integer;Index 2;",
                                        "function Text(N:Integer):String;Index 3;",
                                        "function Num:Real;Index 4;"};
    std::size_t split = input.find("\n#\n");
    if (split != std::string_view::npos) {
        std::string_view head = input.substr(0, split);
        std::size_t start = 0;
        while (start <= head.size()) {
            std::size_t end = head.find('\n', start);
            if (end == std::string_view::npos) end = head.size();
            prototypes.emplace_back(head.substr(start, end - start));
            start = end + 1;
        }
        input.remove_prefix(split + 3);
    }
    zel::TPoorPascal pp;
    NullServices services;
    services.pp = &pp;
    pp.setServices(&services);
    pp.setStepLimit(20000);
    pp.setDeclarePrototype(prototypes);
    pp.setDefine({"", "X"});
    pp.AddStrObject("PPAID", "PPA00", 5000, true);
    pp.AddStrObject("Free", "f", 6, false);
    std::size_t printed = 0;
    pp.events.ProcParam = [&](const std::string&, std::int32_t index,
                              const zel::TArgumentList& args, std::int32_t& err) {
        if (index == 1) {
            printed += args[0].strValue.size();
        } else {
            err = -1;
        }
    };
    pp.events.IntFuncParam = [](const std::string&, std::int32_t index,
                                const zel::TArgumentList& args, std::int32_t& err,
                                std::int64_t& result) {
        if (index != 2 || args.size() != 3) {
            err = index;
            return;
        }
        result = args[1].intValue ^ static_cast<std::int64_t>(args[0].strValue.size());
    };
    pp.events.StrFuncParam = [](const std::string&, std::int32_t, const zel::TArgumentList& args,
                                std::int32_t&, std::string& result) {
        if (args.size() == 1) result.assign(static_cast<std::size_t>(args[0].intValue & 7), 'a');
    };
    pp.events.RealFuncParam = [](const std::string&, std::int32_t, const zel::TArgumentList&,
                                 std::int32_t&, double& result) { result = 0.5; };
    pp.events.ErrorProc = [](std::int32_t code, std::string& message) {
        message = "host error " + std::to_string(code);
    };
    pp.events.StrObjParam = [](const std::string&, std::int32_t index, std::uint8_t mode,
                               std::int32_t& err, std::string& value) {
        if (mode == 0 && index == 6) value += "+";
        if (value.size() > 64) err = 1;
    };
    pp.events.PauseProc = [&pp] { pp.Abort(); };
    pp.setSourceText(input);
    zel::TPPARunResult result = pp.Execute();
    // A second run on the same interpreter starts clean.
    if (!result.ok()) pp.Execute();
    return 0;
}
