// The markup reader is the hot path of every load: split + parse of a large
// holder text, Base64 bodies, and a memo file container through the MIME reader.
#include <benchmark/benchmark.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "HolderGenerator.h"
#include "formats/TContent.h"
#include "formats/TTAGNode.h"
#include "text/LineList.h"

namespace {

constexpr std::size_t kHolderBytes = 50u << 20;

const std::vector<std::string>& holderLines() {
    static const std::vector<std::string> lines = [] {
        zel::bench::HolderRecipe recipe;
        recipe.seed = 2006;
        recipe.targetBytes = kHolderBytes;
        return zel::bench::generateHolderLines(recipe);
    }();
    return lines;
}

const std::string& holderText() {
    static const std::string text = zel::linesText(holderLines());
    return text;
}

void BM_SplitWords(benchmark::State& state) {
    const std::string& text = holderText();
    zel::WordList words;
    for (auto _ : state) {
        zel::splitWords(text, words, false);
        benchmark::DoNotOptimize(words.size());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
    state.counters["words"] = static_cast<double>(words.size());
}

// Splits and parses `input` (one text or its lines) per iteration; freeing the
// tree is not part of reading it.
template <class Input>
void splitAndParse(benchmark::State& state, const Input& input) {
    for (auto _ : state) {
        zel::WordList words;
        zel::splitWords(input, words, false);
        auto root = std::make_unique<zel::TTAGNode>();
        std::vector<std::string> errors;
        benchmark::DoNotOptimize(zel::parseMarkup(*root, words, errors));
        state.PauseTiming();
        root.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * holderText().size()));
}

void BM_SplitAndParse(benchmark::State& state) {
    splitAndParse(state, holderText());
}
void BM_SplitLinesAndParse(benchmark::State& state) {
    splitAndParse(state, holderLines());
}

void BM_Base64Decode(benchmark::State& state) {
    std::optional<std::string> body(std::string(8u << 20, '\0'));
    for (std::size_t i = 0; i < body->size(); ++i) (*body)[i] = static_cast<char>(i * 131 + 7);
    std::vector<std::string> lines;
    zel::encodeBase64(body, lines);
    std::size_t characters = lines.size() * 76;
    std::optional<std::string> out(std::string{});
    for (auto _ : state) {
        zel::decodeBase64(out, lines);
        benchmark::DoNotOptimize(out->data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * characters));
}

void BM_Base64Encode(benchmark::State& state) {
    std::optional<std::string> body(std::string(8u << 20, 'x'));
    for (auto _ : state) {
        std::vector<std::string> lines;
        zel::encodeBase64(body, lines);
        benchmark::DoNotOptimize(lines.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * body->size()));
}

// A memo file container: the index part and one Base64 part per holder.
void BM_MimeContainer(benchmark::State& state) {
    std::vector<std::string> message = {"MIME-Version: 1.0", "Content-Type: multipart/mixed;",
                                        "  boundary=\"200603011425300312345\"",
                                        "Content-Transfer-Encoding: 8bit", ""};
    std::size_t bytes = 0;
    for (int holder = 0; holder < 4; ++holder) {
        zel::bench::HolderRecipe recipe;
        recipe.seed = static_cast<std::uint32_t>(holder + 1);
        recipe.targetBytes = 4u << 20;
        std::optional<std::string> text(zel::linesText(zel::bench::generateHolderLines(recipe)));
        message.push_back("--200603011425300312345");
        message.push_back("Content-Type: text/xml; charset=x-sjis");
        message.push_back("Content-Transfer-Encoding: base64");
        message.push_back("Content-Disposition: attachment;");
        message.push_back("  filename=\"C:\\memo\\h" + std::to_string(holder) + ".mxh\"");
        message.push_back("");
        zel::encodeBase64(text, message);
        message.push_back("");
    }
    message.push_back("--200603011425300312345--");
    for (const auto& line : message) bytes += line.size() + 2;
    for (auto _ : state) {
        zel::TContent content;
        content.parse(message);
        benchmark::DoNotOptimize(content.partCount());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

}  // namespace

BENCHMARK(BM_SplitWords)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SplitAndParse)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SplitLinesAndParse)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Base64Decode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Base64Encode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MimeContainer)->Unit(benchmark::kMillisecond);
