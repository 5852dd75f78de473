// An index of 100,000 holders opened in the real main window (offscreen),
// from reading the index to the window painted with the current holder's tab
// in sight: holders of distinct names, and holders that all ask for one name
// (each then gets a numbered variant).

#include <benchmark/benchmark.h>

#include <QApplication>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "app/scripting/BatchPrompter.h"
#include "app/window/TFormMainRegular14.h"
#include "views/HolderTabs.h"

namespace zel {
namespace {

constexpr int kHolders = 100000;

std::string writeIndex(bool sameName) {
    const auto folder = std::filesystem::temp_directory_path() / "zel-bench-holder-index";
    std::filesystem::create_directories(folder);
    const std::string path = (folder / (sameName ? "same.mxa" : "distinct.mxa")).string();
    std::ofstream out(path, std::ios::binary);
    out << "<?xml version=\"1.0\" encoding=\"Shift_JIS\" ?>\r\n<File name=\"big\">\r\n"
           "  <Field Version=\"00.15.08\" />\r\n";
    for (int i = 0; i < kHolders; ++i)
        out << "  <Holder name=\"" << (sameName ? std::string("holder") : "h" + std::to_string(i))
            << "\">\r\n    <Field FlagLoaded=\"false\" />\r\n  </Holder>\r\n";
    out << "</File>\r\n";
    return path;
}

void openIndex(benchmark::State& state, bool sameName) {
    const std::string path = writeIndex(sameName);
    TFormMainRegular14 window;
    window.setPrompter(std::make_unique<BatchPrompter>(std::vector<std::string>{}));
    window.resize(800, 600);
    window.show();
    window.newMemoFile_();
    QApplication::processEvents();
    for (auto _ : state) {
        window.openMemoFile_(path);
        window.repaint();
        QApplication::processEvents();
        state.PauseTiming();
        if (window.holderView().tabs()->count() != kHolders) state.SkipWithError("not opened");
        window.newMemoFile_();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK_CAPTURE(openIndex, distinctNames, false)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(openIndex, oneName, true)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace zel

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
