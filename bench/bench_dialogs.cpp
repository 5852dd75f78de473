// The dialogs' mass edits, beside their peers in the same run.
//
// FieldScan: the field window's Scan of one key, letter case ignored, over 5
// holders of 20,000 nodes with 10 fields each; the peer is `LC_ALL=C grep
// -aciF KEY` over the same field lines, each node's fields on one line of
// fields.txt. Both sides count processor time; bytes per second of both are
// the field text's size, so their ratio is the speed ratio.
// FieldSet: Set of one key across 20 holders x 10,000 nodes (scan included).
// FieldDelete: Delete over the 100,000 nodes of FieldScan's holders.
// RenameSorted: the selected-nodes editor's "Add Tail" over the 100,000
// nodes of a sorted holder; the peer is `sort -f` of the same names.
// NodeRefAlive: 100,000 weak references tested, as a result list does.

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "dialogs/FieldEdit.h"
#include "dialogs/SelNodeEdit.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"

namespace {

const char* const kKeys[] = {"Title", "Created", "Modified", "Creater", "Filename",
                             "Color", "Tag",     "Priority", "Owner",   "Remark"};

// One holder of `nodes` nodes, each with ten fields; about one node in ten
// has the key "Status" too.
void fillHolder(zel::MemoHolder& holder, int nodes, std::mt19937& random) {
    holder.loaded = true;
    for (int i = 0; i < nodes; ++i) {
        auto node = holder.newNode_();
        for (const char* key : kKeys) {
            std::string value = "\"";
            const int length = 6 + static_cast<int>(random() % 20);
            for (int c = 0; c < length; ++c) value += static_cast<char>('a' + random() % 26);
            node->fields.append(std::string(key) + "=" + value + "\"");
        }
        if (random() % 10 == 0) node->fields.append("Status=\"open\"");
        holder.addNode_(std::move(node), "node" + std::to_string(i));
    }
}

class Corpus {
  public:
    static Corpus& get() {
        static Corpus corpus;
        return corpus;
    }

    std::vector<zel::MemoHolder*> scanHolders;
    std::vector<zel::MemoHolder*> setHolders;
    std::size_t fieldBytes = 0;
    std::filesystem::path fields;
    std::filesystem::path names;
    std::filesystem::path scratch;

    ~Corpus() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }

  private:
    Corpus() {
        root_ = std::filesystem::temp_directory_path() /
                ("zel-bench-dialogs-" + std::to_string(::getpid()));
        std::filesystem::create_directories(root_);
        fields = root_ / "fields.txt";
        names = root_ / "names.txt";
        scratch = root_ / "peer.out";
        std::mt19937 random(7);
        for (int h = 0; h < 5; ++h) {
            zel::MemoHolder* holder = scanFile_.createHolder_(-1);
            fillHolder(*holder, 20000, random);
            scanHolders.push_back(holder);
        }
        for (int h = 0; h < 20; ++h) {
            zel::MemoHolder* holder = setFile_.createHolder_(-1);
            fillHolder(*holder, 10000, random);
            setHolders.push_back(holder);
        }
        std::ofstream out(fields, std::ios::binary);
        for (zel::MemoHolder* holder : scanHolders) {
            for (int i = 0; i < holder->count_(); ++i) {
                const zel::FieldList& list = holder->at_(i)->fields;
                for (std::size_t f = 0; f < list.size(); ++f) {
                    out << list[f] << (f + 1 < list.size() ? "\t" : "\n");
                    fieldBytes += list[f].size() + 1;
                }
            }
        }
        std::ofstream namesOut(names, std::ios::binary);
        for (int i = 0; i < 100000; ++i) namesOut << "node" << (i * 7919 % 100000) << "x\n";
    }

    std::filesystem::path root_;
    zel::MemoFile scanFile_;
    zel::MemoFile setFile_;
};

double childSeconds() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void runPeer(benchmark::State& state, const std::string& command, std::size_t bytes) {
    const std::string line = command + " > '" + Corpus::get().scratch.string() + "'";
    if (std::system(line.c_str()) == -1) std::abort();
    for (auto _ : state) {
        const double before = childSeconds();
        if (std::system(line.c_str()) == -1) std::abort();
        state.SetIterationTime(childSeconds() - before);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

void FieldScan(benchmark::State& state) {
    Corpus& corpus = Corpus::get();
    zel::FieldQuery query;
    query.key = "status";
    std::size_t listed = 0;
    for (auto _ : state) {
        zel::ScanResults lines;
        zel::runFieldEdit(zel::FieldAction::Scan, query, "", corpus.scanHolders, {}, lines);
        listed = lines.size();
        benchmark::DoNotOptimize(listed);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * corpus.fieldBytes));
    state.counters["listed"] = static_cast<double>(listed);
}

void PeerGrepCount(benchmark::State& state) {
    Corpus& corpus = Corpus::get();
    runPeer(state, "LC_ALL=C grep -aciF status '" + corpus.fields.string() + "'",
            corpus.fieldBytes);
}

void FieldSet(benchmark::State& state) {
    Corpus& corpus = Corpus::get();
    zel::FieldQuery query;
    query.key = "Tag";
    query.ignoreCase = false;
    int round = 0;
    for (auto _ : state) {
        zel::ScanResults lines;
        const zel::FieldOutcome outcome = zel::runFieldEdit(
            zel::FieldAction::Set, query, std::to_string(++round), corpus.setHolders, {}, lines);
        benchmark::DoNotOptimize(outcome.result);
    }
    state.counters["nodes"] = 200000;
}

void FieldDelete(benchmark::State& state) {
    Corpus& corpus = Corpus::get();
    zel::FieldQuery query;
    query.key = "Remark";
    query.ignoreCase = false;
    for (auto _ : state) {
        state.PauseTiming();
        for (zel::MemoHolder* holder : corpus.scanHolders)
            for (int i = 0; i < holder->count_(); ++i) holder->at_(i)->putField_("Remark", "\"r\"");
        state.ResumeTiming();
        zel::ScanResults lines;
        const zel::FieldOutcome outcome =
            zel::runFieldEdit(zel::FieldAction::Delete, query, "", corpus.scanHolders, {}, lines);
        benchmark::DoNotOptimize(outcome.result);
    }
}

void RenameSorted(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto file = std::make_unique<zel::MemoFile>();
        zel::MemoHolder* holder = file->createHolder_(-1);
        holder->loaded = true;
        holder->setSort_(true);
        std::vector<zel::NodeRef> refs;
        refs.reserve(100000);
        for (int i = 0; i < 100000; ++i) {
            auto node = holder->newNode_();
            zel::MemoNode* made = node.get();
            refs.emplace_back(made);
            holder->nodes->addChildRaw_(std::move(node),
                                        "node" + std::to_string(i * 7919 % 100000));
            // A node answers to its holder, as the holder's own entry sets it.
            made->owner = holder;
        }
        holder->nodes->keepOrder_();
        state.ResumeTiming();
        const zel::SelEditOutcome outcome = zel::editNames(refs, zel::NameEdit::AddTail, "x");
        benchmark::DoNotOptimize(outcome.result);
        state.PauseTiming();
        file.reset();
        state.ResumeTiming();
    }
}

void PeerSortNames(benchmark::State& state) {
    runPeer(state, "LC_ALL=C sort -f '" + Corpus::get().names.string() + "'", 0);
}

void NodeRefAlive(benchmark::State& state) {
    Corpus& corpus = Corpus::get();
    std::vector<zel::NodeRef> refs;
    for (zel::MemoHolder* holder : corpus.scanHolders)
        for (int i = 0; i < holder->count_(); ++i) refs.emplace_back(holder->at_(i));
    for (auto _ : state) {
        std::size_t alive = 0;
        for (const zel::NodeRef& ref : refs) alive += ref.alive() ? 1 : 0;
        benchmark::DoNotOptimize(alive);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * refs.size()));
}

}  // namespace

BENCHMARK(FieldScan)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(PeerGrepCount)->Unit(benchmark::kMillisecond)->Iterations(10)->UseManualTime();
BENCHMARK(FieldSet)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(FieldDelete)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(RenameSorted)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(PeerSortNames)->Unit(benchmark::kMillisecond)->Iterations(5)->UseManualTime();
BENCHMARK(NodeRefAlive)->Unit(benchmark::kMillisecond);
