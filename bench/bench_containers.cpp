// Containers and hostile sizes, side by side with their yardsticks in one run:
// - opening a .maz (inflate, split, decode, parse, build the nodes) against
//   zlib's inflate of the same file plus pugixml parsing the same holder texts;
// - the peak memory of opening a .mxa and a .maz, over the holder text, each
//   measured in a fresh child process;
// - a holder of 1,000,000 records of one name (and of none), against the same
//   count of distinct names and pugixml on the same bytes; an index of 100,000
//   holders of one name;
// - renaming 10,000 and 100,000 children to one name (and 10,000 in a sorted
//   list), and entering and then deleting 100,000 children of one name
//   entered as it is (a holder that allows equal names), each list alone.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "HolderGenerator.h"
#include "model/Container.h"
#include "model/HolderFile.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "object/TObjectParent.h"
#include "platform/Compression.h"
#include "platform/FileSystem.h"
#include "text/LineList.h"

#ifdef ZEL_HAVE_PUGIXML
#include <pugixml.hpp>
#endif

namespace {

constexpr int kHolders = 10;
constexpr std::size_t kHolderBytes = std::size_t{10} << 20;

std::string readAll(const std::string& path) {
    std::string bytes;
    if (!zel::readFile(path, bytes)) std::abort();
    return bytes;
}

// A memo file of generated holders, as an index with holder files and as a
// container, and the huge-name holders.
class Files {
  public:
    static Files& get() {
        static Files files;
        return files;
    }
    std::string path(const std::string& name) const { return (root_ / name).string(); }
    const std::vector<std::string>& holderTexts() const { return texts_; }
    std::size_t textBytes() const { return textBytes_; }

    ~Files() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }

  private:
    Files() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "zel-bench-maz-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        root_ = pattern;
        zel::MemoFile file;
        file.setFilename(path("memo.mxa"));
        for (int h = 0; h < kHolders; ++h) {
            zel::bench::HolderRecipe recipe;
            recipe.seed = 100 + h;
            recipe.binaryEvery = 0;
            recipe.targetBytes = kHolderBytes;
            const std::string name = "h" + std::to_string(h);
            if (!zel::bench::writeHolderFile(path(name + ".mxh"), recipe)) std::abort();
            texts_.push_back(readAll(path(name + ".mxh")));
            textBytes_ += texts_.back().size();
            zel::MemoHolder* holder = file.createHolder_(-1);
            holder->putName_as_(name);
            if (zel::readHolderFile_(*holder, path(name + ".mxh")) != 0) std::abort();
            holder->loaded = true;
        }
        if (file.saveMemoFile_(path("memo.mxa")) < 0) std::abort();
        if (file.writeContainer_(path("memo.maz")) < 0) std::abort();
        writeEqualNames();
        writeManyHolders();
    }

    void writeEqualNames() {
        for (const char* kind : {"equal", "nameless", "distinct"}) {
            std::string text =
                "<?xml version=\"1.0\" encoding=\"Shift_JIS\" ?>\r\n<Holder name=\"h\">\r\n";
            for (int i = 0; i < 1000000; ++i) {
                std::string name = kind == std::string("equal")      ? "x"
                                   : kind == std::string("distinct") ? "x" + std::to_string(i)
                                                                     : "";
                text += name.empty() ? "  <Record>\r\n" : "  <Record name=\"" + name + "\">\r\n";
                text += "    <Field flagMarked=\"false\" />\r\nline\r\n  </Record>\r\n";
            }
            text += "</Holder>\r\n";
            std::ofstream(path(std::string(kind) + ".mxh"), std::ios::binary) << text;
        }
    }

    void writeManyHolders() {
        std::string text =
            "<?xml version=\"1.0\" encoding=\"Shift_JIS\" ?>\r\n<File name=\"m\">\r\n";
        for (int i = 0; i < 100000; ++i)
            text +=
                "  <Holder name=\"memo\">\r\n    <Field FlagLoaded=\"false\" />\r\n  </Holder>\r\n";
        text += "</File>\r\n";
        std::ofstream(path("many.mxa"), std::ios::binary) << text;
    }

    std::filesystem::path root_;
    std::vector<std::string> texts_;
    std::size_t textBytes_ = 0;
};

void BM_OpenContainer(benchmark::State& state) {
    const std::string maz = Files::get().path("memo.maz");
    for (auto _ : state) {
        auto file = std::make_unique<zel::MemoFile>();
        std::string error;
        if (zel::loadContainer_(*file, maz, &error) != 0) std::abort();
        state.PauseTiming();
        file.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * Files::get().textBytes());
}
BENCHMARK(BM_OpenContainer)->Iterations(3)->Unit(benchmark::kMillisecond);

#ifdef ZEL_HAVE_PUGIXML
// The yardstick: the same container file read and inflated by zlib, and the
// same holder texts parsed by pugixml into its DOM.
void BM_OpenContainerPeer_InflateAndPugixml(benchmark::State& state) {
    const std::string maz = Files::get().path("memo.maz");
    std::vector<std::string> texts = Files::get().holderTexts();
    for (auto _ : state) {
        std::string plain;
        if (!zel::inflateBytes(readAll(maz), plain)) std::abort();
        benchmark::DoNotOptimize(plain.data());
        for (auto& text : texts) {
            pugi::xml_document document;
            if (!document.load_buffer(text.data(), text.size(), pugi::parse_default,
                                      pugi::encoding_utf8))
                std::abort();
            benchmark::DoNotOptimize(document.first_child());
        }
    }
    state.SetBytesProcessed(state.iterations() * Files::get().textBytes());
}
BENCHMARK(BM_OpenContainerPeer_InflateAndPugixml)->Iterations(3)->Unit(benchmark::kMillisecond);
#endif

long long statusKilobytes(const char* key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(key, 0) == 0) return std::atoll(line.c_str() + std::string(key).size());
    return 0;
}

// Runs `load` in a fresh child and yields its peak resident growth in bytes.
template <class Load>
double peakInChild(Load load) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) std::abort();
    pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeFds[0]);
        // Memory the parent freed stays resident in the child's heap and would
        // hide what the load takes; it goes back first, then the peak restarts.
        ::malloc_trim(0);
        std::ofstream("/proc/self/clear_refs") << "5";
        const long long before = statusKilobytes("VmRSS:");
        load();
        const long long grown = (statusKilobytes("VmHWM:") - before) * 1024;
        if (::write(pipeFds[1], &grown, sizeof grown) != sizeof grown) ::_exit(1);
        ::_exit(0);
    }
    ::close(pipeFds[1]);
    long long grown = 0;
    if (::read(pipeFds[0], &grown, sizeof grown) != sizeof grown) std::abort();
    ::close(pipeFds[0]);
    ::waitpid(child, nullptr, 0);
    return static_cast<double>(grown);
}

void openIndexWithHolders() {
    zel::MemoFile file;
    std::vector<std::string> errors;
    if (zel::openIndex_(file, Files::get().path("memo.mxa"), errors, nullptr) != 0) std::abort();
    for (int i = 0; i < file.countOfHolders_(); ++i) {
        zel::MemoHolder& holder = *file.holderAt_(i);
        if (zel::readHolderFile_(holder, zel::holderFilePath_(holder)) != 0) std::abort();
    }
}

void openContainer() {
    zel::MemoFile file;
    if (zel::loadContainer_(file, Files::get().path("memo.maz"), nullptr) != 0) std::abort();
}

void BM_PeakMemoryOverHolderText(benchmark::State& state) {
    Files& files = Files::get();
    double mxa = 0, maz = 0;
    // The parent's own memory is not the child's: the child starts from a copy
    // of it, so only what the load adds counts.
    for (auto _ : state) {
        mxa = peakInChild(openIndexWithHolders);
        maz = peakInChild(openContainer);
    }
    const double text = static_cast<double>(files.textBytes());
    state.counters["text_MB"] = text / 1e6;
    state.counters["mxa_peak_over_text"] = mxa / text;
    state.counters["maz_peak_over_text"] = maz / text;
}
BENCHMARK(BM_PeakMemoryOverHolderText)->Iterations(1)->Unit(benchmark::kMillisecond);

void loadHolder(benchmark::State& state, const char* kind) {
    const std::string path = Files::get().path(std::string(kind) + ".mxh");
    for (auto _ : state) {
        auto holder = std::make_unique<zel::MemoHolder>();
        if (zel::readHolderFile_(*holder, path) != 0 || holder->count_() != 1000000) std::abort();
        state.PauseTiming();
        holder.reset();
        state.ResumeTiming();
    }
}

void BM_MillionRecords_EqualNames(benchmark::State& state) {
    loadHolder(state, "equal");
}
BENCHMARK(BM_MillionRecords_EqualNames)->Iterations(2)->Unit(benchmark::kMillisecond);

void BM_MillionRecords_NoNames(benchmark::State& state) {
    loadHolder(state, "nameless");
}
BENCHMARK(BM_MillionRecords_NoNames)->Iterations(2)->Unit(benchmark::kMillisecond);

void BM_MillionRecords_DistinctNames(benchmark::State& state) {
    loadHolder(state, "distinct");
}
BENCHMARK(BM_MillionRecords_DistinctNames)->Iterations(2)->Unit(benchmark::kMillisecond);

#ifdef ZEL_HAVE_PUGIXML
void BM_MillionRecords_EqualNamesPeer_Pugixml(benchmark::State& state) {
    const std::string path = Files::get().path("equal.mxh");
    for (auto _ : state) {
        std::string text = readAll(path);
        pugi::xml_document document;
        if (!document.load_buffer_inplace(text.data(), text.size(), pugi::parse_default,
                                          pugi::encoding_utf8))
            std::abort();
        benchmark::DoNotOptimize(document.first_child());
    }
}
BENCHMARK(BM_MillionRecords_EqualNamesPeer_Pugixml)->Iterations(2)->Unit(benchmark::kMillisecond);
#endif

void BM_IndexOf100000HoldersOfOneName(benchmark::State& state) {
    const std::string path = Files::get().path("many.mxa");
    for (auto _ : state) {
        auto file = std::make_unique<zel::MemoFile>();
        std::vector<std::string> errors;
        if (zel::openIndex_(*file, path, errors, nullptr) != 0 || file->countOfHolders_() != 100000)
            std::abort();
        // Every holder asks where its file is, as info and convert do.
        for (int i = 0; i < file->countOfHolders_(); ++i)
            benchmark::DoNotOptimize(zel::holderFilePath_(*file->holderAt_(i)));
        state.PauseTiming();
        file.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_IndexOf100000HoldersOfOneName)->Iterations(2)->Unit(benchmark::kMillisecond);

// Children named n0, n1, ... each renamed to "x": they become x, x_00, ...
void BM_RenameChildrenToOneName(benchmark::State& state) {
    const auto count = static_cast<std::size_t>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto parent = std::make_unique<zel::TObjectParent>();
        for (std::size_t i = 0; i < count; ++i)
            parent->addChildRaw_(std::make_unique<zel::TObjectNamed>(), "n" + std::to_string(i));
        state.ResumeTiming();
        for (std::size_t i = 0; i < count; ++i)
            benchmark::DoNotOptimize(parent->putNameChild_as_(parent->childAt(i), "x"));
        state.PauseTiming();
        if (parent->nameAt(count - 1) != "x_" + std::to_string(count - 2)) std::abort();
        parent.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(count));
}
BENCHMARK(BM_RenameChildrenToOneName)
    ->Arg(10000)
    ->Arg(100000)
    ->Iterations(2)
    ->Unit(benchmark::kMillisecond);

// The same in a list kept sorted: each renamed child moves to its place.
void BM_RenameChildrenToOneNameSorted(benchmark::State& state) {
    const auto count = static_cast<std::size_t>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto parent = std::make_unique<zel::TObjectParentEX>();
        parent->flagSort = true;
        for (std::size_t i = 0; i < count; ++i) {
            char name[24];
            std::snprintf(name, sizeof name, "n%07zu", i);
            parent->addChild_(std::make_unique<zel::TObjectNamed>(), name);
        }
        std::vector<zel::TObjectNamed*> children;
        for (std::size_t i = 0; i < count; ++i) children.push_back(parent->childAt(i));
        state.ResumeTiming();
        for (zel::TObjectNamed* child : children)
            benchmark::DoNotOptimize(parent->putNameChild_as_(child, "x"));
        state.PauseTiming();
        // The suffixes follow the place of the first "x", which moves as the
        // list is kept in order; the first name sorts before its variants.
        if (parent->nameAt(0) != "x" || parent->nameAt(count - 1).rfind("x_", 0) != 0) std::abort();
        parent.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(count));
}
BENCHMARK(BM_RenameChildrenToOneNameSorted)
    ->Arg(10000)
    ->Iterations(2)
    ->Unit(benchmark::kMillisecond);

// 100,000 children all named "x" entered as they are, each looked up once by
// name, then deleted from the last to the first.
void BM_EqualNamesEnteredFoundAndDeleted(benchmark::State& state) {
    constexpr std::size_t kCount = 100000;
    for (auto _ : state) {
        zel::TObjectParent parent;
        for (std::size_t i = 0; i < kCount; ++i)
            parent.addChildRaw_(std::make_unique<zel::TObjectNamed>(), "x");
        for (std::size_t i = 0; i < kCount; ++i) benchmark::DoNotOptimize(parent.getChild_("X"));
        while (parent.childCount() > 0)
            parent.deleteChild_(parent.childAt(parent.childCount() - 1));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kCount));
}
BENCHMARK(BM_EqualNamesEnteredFoundAndDeleted)->Iterations(2)->Unit(benchmark::kMillisecond);

}  // namespace
