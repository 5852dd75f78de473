// The script engine beside Lua 5.4 and Python on the same loops
// (bench/interp): a 10-million-step FOR loop, and 600,000 built-in calls.
// The peers run as processes and are timed by their processor time; the
// engine runs in this process on the same script zel-tool run would run.

#include <sys/resource.h>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "script/TPoorPascal.h"

namespace {

const std::string kInterp = ZEL_BENCH_INTERP;

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void runEngine(benchmark::State& state, const std::string& file, const std::string& expected) {
    zel::TPoorPascal pp;
    pp.setDeclarePrototype({"procedure Print(S:String);Index 1;"});
    std::string printed;
    pp.events.ProcParam = [&](const std::string&, std::int32_t, const zel::TArgumentList& args,
                              std::int32_t&) { printed = args[0].strValue; };
    pp.setSourceText(readFile(kInterp + "/" + file));
    for (auto _ : state) {
        zel::TPPARunResult result = pp.Execute();
        if (!result.ok() || printed != expected) {
            state.SkipWithError(("wrong result: " + printed + result.message).c_str());
            return;
        }
    }
}

double childSeconds() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void runPeer(benchmark::State& state, const std::string& program, const std::string& file) {
    const std::string probe = "command -v " + program + " > /dev/null";
    if (std::system(probe.c_str()) != 0) {
        state.SkipWithError((program + " is not installed (scripts/deps)").c_str());
        return;
    }
    const std::string line = program + " '" + kInterp + "/" + file + "' > /dev/null";
    for (auto _ : state) {
        const double before = childSeconds();
        if (std::system(line.c_str()) != 0) {
            state.SkipWithError((program + " failed").c_str());
            return;
        }
        state.SetIterationTime(childSeconds() - before);
    }
}

void BM_ScriptLoop(benchmark::State& state) {
    runEngine(state, "loop.ppa", "50000005000000 10000");
}
void BM_PeerLuaLoop(benchmark::State& state) {
    runPeer(state, "lua5.4", "loop.lua");
}
void BM_PeerPythonLoop(benchmark::State& state) {
    runPeer(state, "python3", "loop.py");
}
void BM_ScriptCalls(benchmark::State& state) {
    runEngine(state, "calls.ppa", "599892");
}
void BM_PeerLuaCalls(benchmark::State& state) {
    runPeer(state, "lua5.4", "calls.lua");
}

// A loop body that reads host-bound and host-served values at every turn.
void BM_ScriptHostCalls(benchmark::State& state) {
    zel::TPoorPascal pp;
    pp.setDeclarePrototype({"function Twice(N:Integer):Integer;Index 7;"});
    pp.events.IntFuncParam = [](const std::string&, std::int32_t, const zel::TArgumentList& args,
                                std::int32_t&,
                                std::int64_t& result) { result = 2 * args[0].intValue; };
    pp.setSourceText("var i, n: integer; begin for i := 1 to 1000000 do n := n + Twice(i) end.");
    for (auto _ : state) {
        if (!pp.Execute().ok()) state.SkipWithError("run failed");
    }
}

}  // namespace

BENCHMARK(BM_ScriptLoop)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_PeerLuaLoop)->Unit(benchmark::kMillisecond)->Iterations(5)->UseManualTime();
BENCHMARK(BM_PeerPythonLoop)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();
BENCHMARK(BM_ScriptCalls)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_PeerLuaCalls)->Unit(benchmark::kMillisecond)->Iterations(5)->UseManualTime();
BENCHMARK(BM_ScriptHostCalls)->Unit(benchmark::kMillisecond)->Iterations(5);
