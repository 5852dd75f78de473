// zel-tool run: lines on stdout, errors on stderr with exit 1, the questions
// answered from options, and the routines only the window can serve.

#include <fstream>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli/CliTestSupport.h"
#include "text/Sjis.h"

namespace zel {
namespace {

using ::testing::HasSubstr;

class RunVerb : public test::VerbTest {
  protected:
    // The script stored as Shift_JIS, as scripts are.
    std::string script(std::string_view utf8, std::string_view name = "s.ppa") {
        std::ofstream(folder.osPath(name), std::ios::binary) << utf8ToSjis(utf8);
        return folder.osPath(name).string();
    }
};

TEST_F(RunVerb, PrintsLinesAsUtf8AndEndsWithTheErrorOnStderr) {
    Outcome ok = run({"run", script("Print('日本'); PrintLog('b'); PrintBuf2(PPAID, 'c'); "
                                    "Print(string_getSX('a  b ') + string_unquate('\"q\"'))")});
    EXPECT_EQ(ok.status, 0) << ok.err;
    EXPECT_EQ(ok.out, "日本\nb\nc\nbq\n");

    Outcome bad = run({"run", script("var x: integer; begin x := 0; Print('a'); x := 1 div x; "
                                     "Print('b') end.")});
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.out, "a\n");
    EXPECT_EQ(bad.err, "zel-tool: Division by zero\n");

    Outcome raw = run({"--raw", "run", script("Print('日本')")});
    EXPECT_EQ(raw.out, utf8ToSjis("日本") + "\n");
}

TEST_F(RunVerb, WindowRoutinesEndTheRunAndSaySo) {
    Outcome r = run({"run", script("Print('a'); UINewNode_('x'); Print('c')")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "a\n");
    EXPECT_EQ(r.err,
              "zel-tool: UINewNode_ needs the window (zel --run)\n"
              "zel-tool: ユーザー定義手続き/関数の内部エラーです。\n");
}

TEST_F(RunVerb, QuestionsDefinesAndDeclarationsComeFromOptions) {
    std::ofstream(folder.osPath("decl.txt")) << "procedure Twice(S:String);Index 77;\n";
    Outcome r =
        run({"run",
             script("Print(InputBox('c', 'p', 'd') + InputBox('c', 'p', 'd'));"
                    "Print(IntToStr(MessageBox('Save?', 'Title', 4)));"
                    "Print(IntToStr(IsDefine('fast')));"
                    "Print(IntToStr(Exec('/bin/true', '', -1)) + IntToStr(Shell('x', '')))"),
             "--input", "typed", "--answer", "7", "--define", "FAST", "--no-exec"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "typedd\n7\n-1\n02\n");
    EXPECT_EQ(r.err, "Title: Save?\n");

    Outcome declared =
        run({"run", script("Twice('x')"), "--declare", folder.osPath("decl.txt").string()});
    EXPECT_EQ(declared.status, 1);
    EXPECT_EQ(declared.err, "zel-tool: ユーザー定義手続き/関数の内部エラーです。\n");

    Outcome badDecl =
        run({"run", script("Print('x')"), "--declare", folder.osPath("decl.txt").string(),
             "--declare", folder.osPath("decl.txt").string()});
    EXPECT_EQ(badDecl.err, "zel-tool: 手続き/関数の重複宣言[TWICE]\n");
}

TEST_F(RunVerb, JsonTellsStatusOutputAndVariables) {
    Outcome r =
        run({"--json", "run",
             script("var n: integer; r: real; s: string; begin n := 2; r := 0.5; s := 'ア'; "
                    "Print('x'); Pause; Print('y') end.")});
    EXPECT_EQ(r.status, 1);
    auto doc = nlohmann::json::parse(r.out);
    EXPECT_EQ(doc["status"], "error");
    EXPECT_EQ(doc["message"], "実行を中断しました");
    EXPECT_EQ(doc["output"], nlohmann::json::array({"x"}));
    std::map<std::string, nlohmann::json> values;
    for (const auto& v : doc["variables"]) values[v["name"]] = v["value"];
    EXPECT_EQ(values["n"], 2);
    EXPECT_EQ(values["r"], 0.5);
    EXPECT_EQ(values["s"], "ア");
    EXPECT_EQ(values["PPAID"], "PPA00");
}

TEST_F(RunVerb, UsageAndMissingFiles) {
    EXPECT_EQ(run({"run"}).status, 1);
    Outcome missing = run({"run", folder.osPath("none.ppa").string()});
    EXPECT_EQ(missing.status, 1);
    EXPECT_THAT(missing.err, HasSubstr("cannot read"));
    EXPECT_EQ(run({"run", script("Print('a')"), "--answer", "x"}).status, 1);
}

}  // namespace
}  // namespace zel
