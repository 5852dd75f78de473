// The interpreter as its hosts see it: the events and their records, the run
// cycle (Abort, Pause, Sleep, re-entry, what survives a run), the limits that
// keep a script from taking the program down, and Exec.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "script/ScriptServices.h"
#include "script/ScriptTestSupport.h"
#include "text/Sjis.h"

namespace zel {
namespace {

using ::testing::ElementsAre;

// Services whose pump and wait run a hook, so a test can act "from the user
// interface" in the middle of a run.
class HookedServices : public ScriptServices {
  public:
    std::function<void()> onPump, onWait;
    int pumps = 0, waits = 0;
    void pump() override {
        ++pumps;
        if (onPump) onPump();
    }
    void wait(int) override {
        ++waits;
        if (onWait) onWait();
    }
};

TEST(ScriptEvents, RoutinesGetUpperCaseNamesTheirIndexAndTypedRecords) {
    TPoorPascal pp;
    std::vector<std::string> seen;
    pp.events.IntFuncParam = [&](const std::string& name, std::int32_t index,
                                 const TArgumentList& args, std::int32_t&, std::int64_t& result) {
        seen.push_back(name + " " + std::to_string(index) + " " + args.name(0) + "=" +
                       args[0].strValue + " " + args.name(1) + "=" +
                       std::to_string(args[1].intValue) + " " + args.name(2) + "=" +
                       formatScriptReal(args[2].realValue));
        result = 40 + args[1].intValue;
    };
    pp.events.RealFuncParam = [&](const std::string& name, std::int32_t index,
                                  const TArgumentList& args, std::int32_t&, double& result) {
        seen.push_back(name + " " + std::to_string(index) + " " + std::to_string(args.size()));
        result = 0.5;
    };
    auto run = test::runScript(pp,
                               "Print(IntToStr(Host('a'#0'b', 2, 1.5))); Print(FloatToStr(Half)); "
                               "Print(FloatToStr(Host('', 1, 0)))",
                               {"function Host(sText:String;n:Integer;r:Real):Integer;Index $10;",
                                "function Half:Real:Index 7;"});
    ASSERT_TRUE(run.ok) << run.error;
    EXPECT_THAT(run.lines, ElementsAre("42", "0.5", "41"));
    // The string argument is stored NUL-ended; ":" before Index gives index 0.
    EXPECT_THAT(seen,
                ElementsAre("HOST 16 STEXT=a N=2 R=1.5", "HALF 0 0", "HOST 16 STEXT= N=1 R=0"));
}

TEST(ScriptEvents, AnErrorCodeEndsTheRunWithTheMessageErrorProcGives) {
    TPoorPascal pp;
    auto run = test::runScript(pp, "Print('a'); Nope('b'); Print('c')",
                               {"procedure Nope(S:String);Index 99;"});
    EXPECT_THAT(run.lines, ElementsAre("a"));
    EXPECT_EQ(run.error, "ユーザー定義手続き/関数の内部エラーです。");

    // No ErrorProc: the run still ends, with an empty message.
    TPoorPascal bare;
    bare.events.ErrorProc = [](std::int32_t, std::string&) {};
    auto quiet = test::runScript(bare, "Nope; Print('never')", {"procedure Nope;Index 5;"});
    EXPECT_FALSE(quiet.ok);
    EXPECT_EQ(quiet.error, "");
    EXPECT_TRUE(quiet.lines.empty());
}

TEST(ScriptEvents, UnassignedEventsGiveEmptyResults) {
    TPoorPascal pp;
    auto run = test::runScript(
        pp, "Print('[' + S + ']' + IntToStr(I)); Print(FloatToStr(R))",
        {"function S:String;Index 1;", "function I:Integer;Index 2;", "function R:Real;Index 3;"});
    ASSERT_TRUE(run.ok) << run.error;
    EXPECT_THAT(run.lines, ElementsAre("[]0", "0"));
}

TEST(ScriptEvents, HostBoundVariablesAreAskedAtEveryReadAndToldAfterAssignment) {
    TPoorPascal pp;
    ASSERT_TRUE(pp.AddStrObject("Shown", "start", 9, false));
    ASSERT_TRUE(pp.AddStrObject("PPAID", "PPA00", 5000, true));
    std::string error;
    EXPECT_FALSE(pp.AddStrObject("ppaid", "x", 1, true, &error));
    EXPECT_EQ(sjisToUtf8(error), "変数/定数名の重複定義[ppaid]");
    int reads = 0;
    std::vector<std::string> told;
    pp.events.StrObjParam = [&](const std::string& name, std::int32_t index, std::uint8_t mode,
                                std::int32_t& err, std::string& value) {
        if (mode == 1) {
            told.push_back(name + " " + std::to_string(index) + " " + value);
            err = -1;  // not examined after an assignment
            return;
        }
        if (name == "Shown") value += std::to_string(++reads);
    };
    auto run = test::runScript(
        pp, "Print(Shown); Print(Shown); Shown := 'new'; Print(Shown); Print(PPAID)");
    ASSERT_TRUE(run.ok) << run.error;
    EXPECT_THAT(run.lines, ElementsAre("start1", "start2", "new3", "PPA00"));
    EXPECT_THAT(told, ElementsAre("Shown 9 new"));

    auto readOnly = test::runScript(pp, "PPAID := 'x'");
    EXPECT_EQ(readOnly.error, "読取専用オブジェクトには代入できません[PPAID]");

    pp.events.StrObjParam = [](const std::string&, std::int32_t, std::uint8_t, std::int32_t& err,
                               std::string&) { err = -1; };
    auto failing = test::runScript(pp, "Print('a'); Print(Shown)");
    EXPECT_THAT(failing.lines, ElementsAre("a"));
    EXPECT_EQ(failing.error, "ユーザー定義手続き/関数の内部エラーです。");
}

TEST(ScriptRunCycle, VarValuesSurviveTheRunAndGoAtTheNext) {
    TPoorPascal pp;
    auto run =
        test::runScript(pp, "var n: integer; s: string; begin n := 7; s := 'x'; exit; n := 8 end.");
    ASSERT_TRUE(run.ok) << run.error;
    EXPECT_FALSE(pp.IsAborted());
    std::vector<std::string> names;
    for (const auto& v : pp.variables()) {
        names.push_back(v.name);
        if (v.name == "n") {
            EXPECT_EQ(v.value.intValue, 7);
        }
    }
    EXPECT_THAT(names, ElementsAre("False", "n", "Nil", "s", "True"));
    // The same names again: the last run's variables and routines are gone,
    // and its EXIT flag does not stop this one.
    auto again = test::runScript(pp, "var n: integer; begin Print(IntToStr(n)) end.");
    ASSERT_TRUE(again.ok) << again.error;
    EXPECT_THAT(again.lines, ElementsAre("0"));
}

TEST(ScriptRunCycle, AbortFromAnEventEndsTheRunAtItsNextStatement) {
    TPoorPascal pp;
    HookedServices services;
    pp.setServices(&services);
    EXPECT_FALSE(pp.Abort());  // no run
    pp.events.IntFuncParam = [&](const std::string&, std::int32_t, const TArgumentList&,
                                 std::int32_t&, std::int64_t& result) {
        EXPECT_TRUE(pp.Abort());
        result = 1;
    };
    auto run = test::runScript(
        pp, "var n: integer; begin while 1 do begin n := n + Stop; Print(IntToStr(n)) end end.",
        {"function Stop:Integer;Index 1;"});
    EXPECT_FALSE(run.ok);
    EXPECT_EQ(run.error, "実行を中断しました");
    EXPECT_TRUE(run.lines.empty());
    EXPECT_TRUE(pp.IsAborted());
    EXPECT_FALSE(pp.IsRunning());
}

TEST(ScriptRunCycle, PauseWaitsForEventsUntilAborted) {
    TPoorPascal pp;
    HookedServices services;
    pp.setServices(&services);
    int paused = 0;
    pp.events.PauseProc = [&] { ++paused; };
    services.onWait = [&] {
        if (services.waits == 3) pp.Abort();
    };
    auto run = test::runScript(pp, "Print('a'); Pause; Print('b')");
    EXPECT_THAT(run.lines, ElementsAre("a"));
    EXPECT_EQ(run.error, "実行を中断しました");
    EXPECT_EQ(paused, 1);
    EXPECT_EQ(services.waits, 3);
}

TEST(ScriptRunCycle, SleepWaitsInSlicesThatNoticeAbort) {
    TPoorPascal pp;
    HookedServices services;
    pp.setServices(&services);
    services.onWait = [&] { pp.Abort(); };
    // -1 is 4294967295 ms as 32 bits: only Abort ends it.
    auto run = test::runScript(pp, "Sleep(-1); Print('never')");
    EXPECT_EQ(run.error, "実行を中断しました");
    EXPECT_EQ(services.waits, 1);
    EXPECT_TRUE(run.lines.empty());
}

TEST(ScriptRunCycle, ExecuteIsRefusedWhileTheRunGoesOn) {
    TPoorPascal pp;
    HookedServices services;
    pp.setServices(&services);
    TPPARunResult inner;
    services.onPump = [&] {
        if (pp.IsRunning()) inner = pp.Execute();
    };
    auto run = test::runScript(pp, "ProcessMessages; Print('done')");
    ASSERT_TRUE(run.ok) << run.error;
    EXPECT_EQ(inner.status, TPPARunResult::Refused);
    EXPECT_THAT(run.lines, ElementsAre("done"));
}

TEST(ScriptRunCycle, BlocksLetTheUserInterfaceIn) {
    TPoorPascal pp;
    HookedServices services;
    pp.setServices(&services);
    auto run = test::runScript(pp, "Print('a')");
    ASSERT_TRUE(run.ok);
    EXPECT_EQ(services.pumps, 1);  // the first block entry
}

TEST(ScriptRunCycle, AStepLimitStopsAnEndlessLoop) {
    TPoorPascal pp;
    pp.setStepLimit(10000);
    auto run = test::runScript(pp, "while 1 do ;");
    EXPECT_EQ(run.error, "実行を中断しました");
}

TEST(ScriptLimits, DeepNestingAndHugeStringsEndTheRunWithAMessage) {
    std::string deep = "var x: integer; begin x := " + std::string(2000, '(') + "1" +
                       std::string(2000, ')') + " end.";
    EXPECT_EQ(test::runScript(deep).error, "Nesting too deep");
    std::string blocks;
    for (int i = 0; i < 1500; ++i) blocks += "begin ";
    for (int i = 0; i < 1500; ++i) blocks += "end ";
    EXPECT_EQ(test::runScript(blocks).error, "Nesting too deep");
    // A long flat expression needs no deep stack.
    std::string flat = "Print(IntToStr(1";
    for (int i = 0; i < 200000; ++i) flat += "+1";
    flat += "))";
    auto sum = test::runScript(flat);
    ASSERT_TRUE(sum.ok) << sum.error;
    EXPECT_THAT(sum.lines, ElementsAre("200001"));
    auto grow = test::runScript("var s: string; begin s := 'x'; while 1 do s := s + s end.");
    EXPECT_EQ(grow.error, "String too long");
    auto grow2 = test::runScript(
        "var s: string; begin s := 'x'; while 1 do s := Copy(s, 1, 1) + s + s end.");
    EXPECT_EQ(grow2.error, "String too long");
}

TEST(ScriptLimits, ManyAppendsStayLinear) {
    auto run = test::runScript(
        "var s: string; i: integer; begin for i := 1 to 1000000 do s := s + 'ab'; "
        "Print(IntToStr(Length(s))) end.");
    ASSERT_TRUE(run.ok) << run.error;
    EXPECT_THAT(run.lines, ElementsAre("2000000"));
}

TEST(ScriptExec, StartsProgramsWithoutAShellAndWaitsWhenAsked) {
    auto run = test::runScript(
        "Print(IntToStr(Exec('/bin/sh', '-c ''exit 3''', -1)));"
        "Print(IntToStr(Exec('/bin/true', '', 0)));"
        "Print(IntToStr(Exec('/no/such/program', '', -1)));"
        "Print(IntToStr(Exec('/bin/echo', '; exit 7', -1)))");
    ASSERT_TRUE(run.ok) << run.error;
    EXPECT_THAT(run.lines, ElementsAre("3", "-1", "0", "0"));
}

}  // namespace
}  // namespace zel
