#include "script/ScriptTestSupport.h"

#include "text/Sjis.h"

namespace zel::test {

ScriptRun runScript(TPoorPascal& pp, const std::string& utf8Script,
                    const std::vector<std::string>& prototypes) {
    ScriptRun run;
    std::vector<std::string> declared{"procedure Print(S:String);Index 1;"};
    declared.insert(declared.end(), prototypes.begin(), prototypes.end());
    pp.setDeclarePrototype(declared);
    pp.events.ProcParam = [&run](const std::string&, std::int32_t index, const TArgumentList& args,
                                 std::int32_t& err) {
        if (index == 1) {
            run.lines.push_back(sjisToUtf8(args[0].strValue));
        } else {
            err = -1;
        }
    };
    if (!pp.events.ErrorProc)
        pp.events.ErrorProc = [](std::int32_t code, std::string& message) {
            if (code == -1) message = utf8ToSjis("ユーザー定義手続き/関数の内部エラーです。");
        };
    pp.setSourceText(utf8ToSjis(utf8Script));
    TPPARunResult result = pp.Execute();
    run.ok = result.ok();
    run.error = sjisToUtf8(result.message);
    return run;
}

ScriptRun runScript(const std::string& utf8Script, const std::vector<std::string>& prototypes) {
    TPoorPascal pp;
    return runScript(pp, utf8Script, prototypes);
}

}  // namespace zel::test
