// The nodes' fast paths against the plain operations they stand for: a
// constant divisor's multiplication against the division instruction, and
// the step limit counted down against the steps a run really takes.

#include <gtest/gtest.h>

#include <limits>
#include <random>

#include "script/ScriptNodes.h"
#include "script/ScriptTestSupport.h"

namespace zel {
namespace {

using script::ConstDivisor;
using script::intArithmetic;
using script::Op;

std::vector<std::int64_t> dividendsAround(std::int64_t d) {
    constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    const std::int64_t edge = 0xFFFFFFFF;
    std::vector<std::int64_t> list{0, 1, -1, kMin, kMax, edge, -edge, edge + 1, -edge - 1};
    for (std::int64_t k : {std::int64_t{1}, std::int64_t{2}, std::int64_t{3}, edge / d}) {
        for (std::int64_t delta : {-1, 0, 1}) {
            list.push_back(k * d + delta);
            list.push_back(-(k * d + delta));
        }
    }
    return list;
}

TEST(ScriptConstDivisor, GivesWhatDivisionGivesForEverySignAndSize) {
    std::mt19937_64 random(31);
    std::vector<std::int64_t> divisors{2,     3,          7,          10,        1000,
                                       65536, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF};
    for (int i = 0; i < 40; ++i)
        divisors.push_back(2 + static_cast<std::int64_t>(random() % 0xFFFFFFFE));
    for (std::size_t i = 0, n = divisors.size(); i < n; ++i) divisors.push_back(-divisors[i]);
    for (std::int64_t d : divisors) {
        ASSERT_TRUE(ConstDivisor::takes(d)) << d;
        const ConstDivisor divisor(d);
        auto dividends = dividendsAround(d);
        for (int i = 0; i < 200; ++i)
            dividends.push_back(static_cast<std::int64_t>(random() % (std::uint64_t{1} << 34)) -
                                (std::int64_t{1} << 33));
        for (std::int64_t a : dividends) {
            ASSERT_EQ(divisor.divide<Op::Div>(a), intArithmetic<Op::Div>(a, d))
                << a << " div " << d;
            ASSERT_EQ(divisor.divide<Op::Mod>(a), intArithmetic<Op::Mod>(a, d))
                << a << " mod " << d;
        }
    }
}

TEST(ScriptConstDivisor, LeavesZeroOneMinusOneAndWideDivisorsToDivision) {
    for (std::int64_t d : {0LL, 1LL, -1LL, 0x100000000LL, -0x100000000LL,
                           static_cast<long long>(std::numeric_limits<std::int64_t>::min())})
        EXPECT_FALSE(ConstDivisor::takes(d)) << d;
    // Through the language: those keep their errors and wrap-arounds.
    EXPECT_EQ(test::runScript("var x: integer; begin x := 5 mod 0 end.").error, "Division by zero");
    auto run = test::runScript(
        "var x: integer; begin x := 10000000000 div 4294967296; Print(IntToStr(x));"
        " x := -10000000000 mod 4294967296; Print(IntToStr(x));"
        " x := -10000000000 div -3; Print(IntToStr(x)) end.");
    EXPECT_EQ(run.lines, (std::vector<std::string>{"2", "-1410065408", "3333333333"}));
}

// A host function the script calls at every turn; its first call sets the
// limit, as a host may from an event.
TEST(ScriptStepLimit, CountsFromEachRunsStartAndAcrossAChangeInTheRun) {
    TPoorPascal pp;
    int ticks = 0;
    pp.events.IntFuncParam = [&](const std::string&, std::int32_t, const TArgumentList&,
                                 std::int32_t&, std::int64_t&) {
        if (++ticks == 1) pp.setStepLimit(500);
    };
    auto run =
        test::runScript(pp, "var i, n: integer; begin for i := 1 to 100000 do n := Tick end.",
                        {"function Tick: Integer;Index 2;"});
    EXPECT_EQ(run.error, "実行を中断しました");
    EXPECT_GT(ticks, 100);
    EXPECT_LT(ticks, 500);
    // Each run starts with the whole limit again: 100 turns fit in it.
    for (int i = 0; i < 2; ++i)
        EXPECT_TRUE(test::runScript(pp, "var i: integer; begin for i := 1 to 100 do ; end.").ok);
}

}  // namespace
}  // namespace zel
