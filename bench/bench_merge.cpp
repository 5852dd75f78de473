// Merging holders node by node: a holder of 10,000 and one of 1,000,000
// nodes, each side changing 1 % of the nodes (memo lines, fields, a few
// added and deleted), merged in memory as the window merges; the same
// 10,000-node merge from file bytes as git's driver does it (three parses,
// the merge and the text written); and the window's reload of a holder
// without unsaved changes when its 10,000-node file changed.
#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <string>

#include "merge/DiskUpdate.h"
#include "merge/FileMerge.h"
#include "merge/HolderMerge.h"
#include "model/HolderFile.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"

namespace {

using namespace zel;

// A holder in a memo file of its own, as the window holds one.
struct BenchHolder {
    MemoFile file;
    MemoHolder* holder = file.createHolder_(-1);
};

void fill(MemoHolder& holder, int count) {
    for (int i = 0; i < count; ++i) {
        auto node = holder.newNode_();
        const std::string number = std::to_string(i);
        node->putField_("UID", "\"20240301_142530000_" + number + "\"");
        node->putField_("Created", "\"20240301 142530000\"");
        node->memo = {"memo of node " + number, "second line", "", "fourth line " + number};
        holder.addNode_(std::move(node), "node " + number);
    }
}

// One side's edits: every hundredth node from `offset` on, so the two sides
// touch different nodes; a tenth of those edits delete the node or add one.
void editOnePercent(MemoHolder& holder, int offset) {
    const int count = holder.count_();
    for (int i = offset, edit = 0; i < count; i += 100, ++edit) {
        MemoNode* node = holder.at_(i);
        if (edit % 10 == 9) {
            holder.removeNode_(node);
            continue;
        }
        node->memo.setLine(1, "changed line " + std::to_string(offset));
        node->putField_("Color", "\"clRed\"");
        if (edit % 10 == 8) {
            auto added = holder.newNode_();
            added->putField_("UID",
                             "\"added_" + std::to_string(offset) + "_" + std::to_string(i) + "\"");
            holder.insertNode_(std::move(added), "added " + std::to_string(i), i);
        }
    }
}

struct Versions {
    BenchHolder base, ours, theirs;
};

const Versions& versions(int count) {
    static std::map<int, std::unique_ptr<Versions>> made;
    auto& slot = made[count];
    if (!slot) {
        slot = std::make_unique<Versions>();
        fill(*slot->base.holder, count);
        slot->ours.holder->copyFrom_(*slot->base.holder);
        slot->theirs.holder->copyFrom_(*slot->base.holder);
        editOnePercent(*slot->ours.holder, 3);
        editOnePercent(*slot->theirs.holder, 53);
    }
    return *slot;
}

void BM_MergeHolderInMemory(benchmark::State& state) {
    const Versions& v = versions(static_cast<int>(state.range(0)));
    std::size_t conflicts = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto ours = std::make_unique<BenchHolder>();
        ours->holder->copyFrom_(*v.ours.holder);
        state.ResumeTiming();
        conflicts +=
            mergeIntoHolder(*ours->holder, v.base.holder, *v.theirs.holder).conflicts.size();
        benchmark::DoNotOptimize(ours->holder->count_());
        state.PauseTiming();
        ours.reset();
        state.ResumeTiming();
    }
    state.counters["nodes"] = static_cast<double>(state.range(0));
    state.counters["conflicts"] = static_cast<double>(conflicts) / state.iterations();
}
BENCHMARK(BM_MergeHolderInMemory)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MergeHolderInMemory)->Arg(1000000)->Iterations(3)->Unit(benchmark::kMillisecond);

struct FileTexts {
    std::string base, ours, theirs;
};

const FileTexts& fileTexts() {
    static FileTexts texts = [] {
        const Versions& v = versions(10000);
        return FileTexts{holderFileText_(*v.base.holder), holderFileText_(*v.ours.holder),
                         holderFileText_(*v.theirs.holder)};
    }();
    return texts;
}

void BM_MergeHolderFileBytes(benchmark::State& state) {
    const FileTexts& texts = fileTexts();
    for (auto _ : state) {
        const FileMerge merged = mergeFileBytes(texts.base, texts.ours, texts.theirs);
        benchmark::DoNotOptimize(merged.bytes.size());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(texts.ours.size()));
}
BENCHMARK(BM_MergeHolderFileBytes)->Unit(benchmark::kMillisecond);

// The window's holder, unchanged since read, and its file rewritten by
// another program: read again in place.
void BM_ReloadChangedFileIntoUnchangedHolder(benchmark::State& state) {
    const FileTexts& texts = fileTexts();
    for (auto _ : state) {
        state.PauseTiming();
        auto shown = std::make_unique<BenchHolder>();
        std::string error;
        readHolderText_(*shown->holder, texts.base, "base", &error);
        state.ResumeTiming();
        const HolderUpdate update = updateHolderFromDisk(texts.base, *shown->holder, texts.theirs);
        benchmark::DoNotOptimize(update.kind);
        state.PauseTiming();
        shown.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ReloadChangedFileIntoUnchangedHolder)->Unit(benchmark::kMillisecond);

}  // namespace
