// The host routine table and the base host: the prototype text the rows make,
// and the routines every host serves alike, dispatched by Index and answer.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "platform/Clock.h"
#include "script/BaseScriptHost.h"
#include "text/Sjis.h"

namespace zel {
namespace {

using ::testing::ElementsAre;

TEST(HostRoutines, PrototypeTextIsThePinnedOne) {
    std::ifstream in(std::filesystem::path(ZEL_TEST_DATA) / "script" / "host-prototypes.txt",
                     std::ios::binary);
    const std::string pinned(std::istreambuf_iterator<char>(in), {});
    std::string made;
    for (const std::string& line : hostPrototypeLines()) made += line + "\n";
    EXPECT_EQ(made, pinned);
}

TEST(HostRoutines, EveryRowDeclaresUnderItsOwnIndexAndName) {
    TPoorPascal pp;
    std::set<std::int32_t> indexes;
    std::set<std::string_view> names;
    for (const HostRoutine& row : hostRoutines()) {
        std::string error;
        EXPECT_TRUE(pp.DeclareRoutine(row.prototype(), &error)) << row.prototype() << ": " << error;
        EXPECT_TRUE(indexes.insert(row.index).second) << row.index << " twice";
        EXPECT_TRUE(names.insert(row.name()).second) << row.name() << " twice";
        EXPECT_EQ(findHostRoutine(row.index), &row);
        EXPECT_EQ(findHostRoutine(row.name()), &row);
    }
    EXPECT_EQ(names.size(), 56u);
    EXPECT_EQ(findHostRoutine(5000), nullptr);
    EXPECT_EQ(findHostRoutine("Nope"), nullptr);
    EXPECT_EQ(findHostRoutine("PrintBuf2")->answer(), HostAnswer::None);
    EXPECT_EQ(findHostRoutine("UIMNMemoCount2")->answer(), HostAnswer::Integer);
    EXPECT_EQ(findHostRoutine("Sqrt")->answer(), HostAnswer::Real);
    EXPECT_EQ(findHostRoutine("UIMNMemoStrings3")->answer(), HostAnswer::String);
}

// The base host alone, printing into a list.
class ListHost : public BaseScriptHost {
  public:
    explicit ListHost(const std::vector<std::string>& extra = {}) {
        std::vector<std::string> prototypes = hostPrototypeLines();
        prototypes.insert(prototypes.end(), extra.begin(), extra.end());
        pp.setDeclarePrototype(prototypes);
        wire(pp);
    }
    TPPARunResult run(const std::string& utf8) {
        pp.setSourceText(utf8ToSjis(utf8));
        return pp.Execute();
    }
    TPoorPascal pp;
    std::vector<std::string> lines;

  private:
    void printLine(const std::string& line) override { lines.push_back(sjisToUtf8(line)); }
};

TEST(BaseScriptHost, ServesTheLogSqrtAndStringRoutines) {
    ScopedClock clock([] { return DateTime{2024, 3, 9, 7, 5, 4}; });
    ListHost host;
    const TPPARunResult result = host.run(
        "Print(string_getS1('ab cd') + '|' + string_getS1('abc') + '|' + string_getSX('abc') + "
        "'|' + string_getSX('ab'#9'cd  ef ') + '|' + string_unquate('\"q') + '|' + "
        "string_unquate('\"q\"') + '|' + string_unquate('q\"'));"
        "PrintLog('log'); PrintBuf('buf'); PrintBuf2('PPA00', 'buf2');"
        "Print(FloatToStr(Sqrt(2.25))); Print(IntToStr(UIAddLog_('add')));"
        "UIAddLogDT_('stamped')");
    ASSERT_TRUE(result.ok()) << sjisToUtf8(result.message);
    EXPECT_THAT(host.lines, ElementsAre("ab|abc||cd  ef|q|q|q\"", "log", "buf", "buf2", "1.5",
                                        "add", "0", "20240309 070504 :stamped"));
    std::set<std::string_view> served;
    for (const HostRoutine& row : hostRoutines())
        if (host.serves(row)) served.insert(row.name());
    EXPECT_THAT(served,
                ElementsAre("Print", "PrintBuf", "PrintBuf2", "PrintLog", "Sqrt", "UIAddLogDT_",
                            "UIAddLog_", "string_getS1", "string_getSX", "string_unquate"));
}

// A routine is found by its Index and the answer its call wants: a function
// declared under a procedure's Index is not that procedure.
TEST(BaseScriptHost, UnservedProceduresEndTheRunAndFunctionsAnswerEmpty) {
    ListHost host(
        {"function NotPrint(S:String):Integer;Index 1;", "procedure Nope(S:String);Index 99;"});
    TPPARunResult result = host.run(
        "Print(IntToStr(NotPrint('x')) + '[' + UIGetName + ']' + IntToStr(UIHardcopy)); "
        "Nope('y'); Print('never')");
    EXPECT_THAT(host.lines, ElementsAre("0[]0"));
    EXPECT_EQ(sjisToUtf8(result.message), "ユーザー定義手続き/関数の内部エラーです。");
}

}  // namespace
}  // namespace zel
