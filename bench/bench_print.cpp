// The text printer: laying out 100,000 lines of word text and one 1 MB line
// without blanks with fixed metrics, beside GNU fold -s on the same bytes;
// printing the 1,000 nodes of a synthetic holder into one PDF, as [Holder]
// Prints does, with the longest stretch between two polls of Break; and a
// text of about 1,000 pages to PDF with the peak memory it took.

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QApplication>
#include <QPrinter>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "HolderGenerator.h"
#include "export/PrintFixedMetrics.h"
#include "export/ui/QtPrintStrings.h"
#include "model/HolderFile.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "platform/Clock.h"

namespace zel {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

fs::path workFolder() {
    static const fs::path folder = [] {
        fs::path path =
            fs::temp_directory_path() / ("zel-bench-print-" + std::to_string(::getpid()));
        fs::create_directories(path);
        return path;
    }();
    return folder;
}

// 100,000 lines of ASCII words (80 bytes on average), then one 1 MB word.
const std::vector<std::string>& wordLines() {
    static const std::vector<std::string> lines = [] {
        std::mt19937 random(7);
        std::uniform_int_distribution<int> length(1, 11), letter('a', 'z'), lineLength(40, 120);
        std::vector<std::string> made;
        for (int i = 0; i < 100000; ++i) {
            std::string line;
            const int target = lineLength(random);
            while (static_cast<int>(line.size()) < target) {
                if (!line.empty()) line += ' ';
                for (int c = length(random); c > 0; --c) line += static_cast<char>(letter(random));
            }
            made.push_back(line);
        }
        made.push_back(std::string(1 << 20, 'x'));
        return made;
    }();
    return lines;
}

std::size_t bytesOf(const std::vector<std::string>& lines) {
    std::size_t total = 0;
    for (const std::string& line : lines) total += line.size() + 1;
    return total;
}

// 80 cells of 10 pixels across; pages as high as A4.
FixedPrintShape wordShape() {
    FixedPrintShape shape;
    shape.paperWidthMm = 80;
    return shape;
}

void BM_LayoutWordText(benchmark::State& state) {
    const auto& lines = wordLines();
    PrintFixedMetrics metrics(wordShape());
    PrintSettings settings;
    settings.setColumnSpace(0);
    std::size_t pages = 0;
    for (auto _ : state) {
        PrintDocument document;
        if (layoutPages(lines, settings, metrics, clockNow(), {}, document) != LayoutResult::Done)
            state.SkipWithError("layout refused");
        pages = document.pages.size();
        benchmark::DoNotOptimize(document.pages.data());
    }
    state.counters["pages"] = static_cast<double>(pages);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytesOf(lines)));
}
BENCHMARK(BM_LayoutWordText)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The yardstick: fold wraps the same bytes at the same width.
void BM_FoldPeer(benchmark::State& state) {
    const fs::path text = workFolder() / "words.txt";
    {
        std::ofstream out(text, std::ios::binary);
        for (const std::string& line : wordLines()) out << line << '\n';
    }
    const std::string command = "fold -s -w 80 '" + text.string() + "' > /dev/null";
    for (auto _ : state)
        if (std::system(command.c_str()) != 0) state.SkipWithError("fold failed");
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytesOf(wordLines())));
}
BENCHMARK(BM_FoldPeer)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

// Every poll of Break the window would make: between nodes and while a
// node's pages are made.
class TimingHost final : public QtPrintHost {
  public:
    bool keepMaking(int) override {
        poll();
        return true;
    }
    void poll() {
        const auto now = Clock::now();
        if (last_ != Clock::time_point{})
            longest =
                std::max(longest, std::chrono::duration<double, std::milli>(now - last_).count());
        last_ = now;
    }
    void reset() { last_ = {}, longest = 0; }
    double longest = 0;

  private:
    Clock::time_point last_;
};

std::unique_ptr<QPrinter> pdfPrinter(const fs::path& path) {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setPageSize(QPageSize(QPageSize::A4));
    printer->setOutputFileName(QString::fromStdString(path.string()));
    return printer;
}

void BM_PrintHolderToPdf(benchmark::State& state) {
    bench::HolderRecipe recipe;
    recipe.seed = 22;
    recipe.targetBytes = 3 << 20;
    std::string text;
    for (const std::string& line : bench::generateHolderLines(recipe)) text += line + "\r\n";
    MemoHolder holder;
    readHolderText_(holder, text, "bench");
    std::vector<MemoNode*> nodes;
    for (MemoNode* node = holder.first_(); node && nodes.size() < 1000; node = holder.next_(node))
        nodes.push_back(node);
    const fs::path pdf = workFolder() / "holder.pdf";
    TimingHost host;
    int sheets = 0;
    for (auto _ : state) {
        host.reset();
        auto printer = pdfPrinter(pdf);
        TStringsPrinter strings;
        QtPrintJob job(*printer, host);
        for (MemoNode* node : nodes) {
            host.poll();
            const NodePrint print = nodePrintOf(*node, "bench", clockNow());
            printNodePrint_(print,
                            print.kind == NodePrintKind::Image ? nodePicture(*node) : QImage(),
                            strings, job, host);
        }
        job.finish();
        sheets = job.sheets();
    }
    state.counters["nodes"] = static_cast<double>(nodes.size());
    state.counters["sheets"] = sheets;
    state.counters["longest_poll_gap_ms"] = host.longest;
}
BENCHMARK(BM_PrintHolderToPdf)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ThousandPagesToPdf(benchmark::State& state) {
    std::vector<std::string> lines;
    for (int i = 0; i < 85000; ++i)
        lines.push_back("Line " + std::to_string(i) +
                        " of a long text that fills a thousand pages");
    const fs::path pdf = workFolder() / "pages.pdf";
    TimingHost host;
    int sheets = 0;
    for (auto _ : state) {
        auto printer = pdfPrinter(pdf);
        TStringsPrinter strings;
        QtPrintJob job(*printer, host);
        printStrings_(strings, lines, job, host);
        job.finish();
        sheets = job.sheets();
    }
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    state.counters["sheets"] = sheets;
    state.counters["peak_rss_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
    state.counters["pdf_MB"] = static_cast<double>(fs::file_size(pdf)) / (1 << 20);
}
BENCHMARK(BM_ThousandPagesToPdf)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace zel

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ignored;
    std::filesystem::remove_all(zel::workFolder(), ignored);
    return 0;
}
