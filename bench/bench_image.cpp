// Pictures and outlines beside their peers on the same bytes, in the same run:
// a 24-megapixel JPEG decoded (and scaled to a window's size) by the image
// readers and by djpeg, the same picture encoded at quality 95 by the JPEG
// writer and by cjpeg, and a million outline lines read and written back
// beside an awk brace-depth re-indent. The peers run as child processes,
// so every benchmark here is timed by the wall clock; the peers' processor
// time is counted beside it.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "formats/Bitmap.h"
#include "formats/ImageCodecs.h"
#include "formats/Outline.h"

namespace {

constexpr int kWidth = 6000;
constexpr int kHeight = 4000;
constexpr int kWindowWidth = 1280;
constexpr int kWindowHeight = 960;
constexpr std::size_t kOutlineLines = 1'000'000;

class Files {
  public:
    Files() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "zel-bench-image-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        root_ = pattern;
    }
    ~Files() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    std::string path(const char* name) const { return (root_ / name).string(); }

  private:
    std::filesystem::path root_;
};

const Files& files() {
    static const Files made;
    return made;
}

void write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A photograph-like picture: smooth shading with grain, so the JPEG carries
// the detail of a camera's.
const zel::Bitmap& picture() {
    static const zel::Bitmap bitmap = [] {
        zel::Bitmap b;
        b.allocate(kWidth, kHeight, 3);
        std::uint32_t seed = 2024;
        for (int y = 0; y < kHeight; ++y) {
            std::uint8_t* p = b.row(y);
            for (int x = 0; x < kWidth; ++x, p += 3) {
                seed = seed * 1664525u + 1013904223u;
                const int grain = static_cast<int>(seed >> 28) - 8;
                p[0] = static_cast<std::uint8_t>(std::clamp(x * 255 / kWidth + grain, 0, 255));
                p[1] = static_cast<std::uint8_t>(std::clamp(y * 255 / kHeight + grain, 0, 255));
                p[2] = static_cast<std::uint8_t>(std::clamp((x + y) % 256 + grain, 0, 255));
            }
        }
        return b;
    }();
    return bitmap;
}

const std::string& jpegFile() {
    static const std::string path = [] {
        const std::string file = files().path("picture.jpg");
        write(file, zel::encodeJpeg(picture(), {90, false}).bytes);
        return file;
    }();
    return path;
}

const std::string& ppmFile() {
    static const std::string path = [] {
        const std::string file = files().path("picture.ppm");
        const zel::Bitmap& b = picture();
        std::string bytes =
            "P6\n" + std::to_string(kWidth) + " " + std::to_string(kHeight) + "\n255\n";
        bytes.append(reinterpret_cast<const char*>(b.pixels.data()), b.pixels.size());
        write(file, bytes);
        return file;
    }();
    return path;
}

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

double childCpuMs() {
    rusage usage{};
    ::getrusage(RUSAGE_CHILDREN, &usage);
    const auto ms = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// The peer's own processor time per run goes beside the wall clock as
// "peer_cpu_ms": on a busy machine it is what compares with the CPU column
// of the benchmarks that run in this process.
void runPeer(benchmark::State& state, const std::string& command) {
    const double before = childCpuMs();
    for (auto _ : state)
        if (std::system(command.c_str()) != 0) return state.SkipWithError(command.c_str());
    if (state.iterations() > 0)
        state.counters["peer_cpu_ms"] =
            (childCpuMs() - before) / static_cast<double>(state.iterations());
}

// What the image view does to show the picture in a window: decoded at the
// DCT scale that still covers the window, then averaged down to fit it.
void BM_JpegDecodeAndScale24MP(benchmark::State& state) {
    const std::string bytes = readAll(jpegFile());
    int w = 0, h = 0;
    zel::fitInside(kWidth, kHeight, kWindowWidth, kWindowHeight, w, h);
    for (auto _ : state) {
        zel::DecodedImage image = zel::decodeJpegToFit(bytes, kWindowWidth, kWindowHeight);
        if (!image.ok()) return state.SkipWithError(image.error.c_str());
        benchmark::DoNotOptimize(zel::scaledBitmap(image.bitmap, w, h).pixels.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}

// The whole picture, as a conversion or "1/1" needs it, then scaled.
void BM_JpegDecodeWholeAndScale24MP(benchmark::State& state) {
    const std::string bytes = readAll(jpegFile());
    int w = 0, h = 0;
    zel::fitInside(kWidth, kHeight, kWindowWidth, kWindowHeight, w, h);
    for (auto _ : state) {
        zel::DecodedImage image = zel::decodeJpeg(bytes);
        if (!image.ok()) return state.SkipWithError(image.error.c_str());
        benchmark::DoNotOptimize(zel::scaledBitmap(image.bitmap, w, h).pixels.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}

void BM_JpegDecode24MP(benchmark::State& state) {
    const std::string bytes = readAll(jpegFile());
    for (auto _ : state) benchmark::DoNotOptimize(zel::decodeJpeg(bytes).bitmap.pixels.data());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}

void BM_DjpegPeer24MP(benchmark::State& state) {
    runPeer(state, "djpeg -outfile /dev/null " + jpegFile());
}

// djpeg at the DCT scale the window's decode picks (2/8 of 6000 x 4000 still
// covers 1280 x 853): the peer of the decode for a window, before its scaling.
void BM_DjpegScaledPeer24MP(benchmark::State& state) {
    runPeer(state, "djpeg -scale 2/8 -outfile /dev/null " + jpegFile());
}

void BM_Scale24MPToWindow(benchmark::State& state) {
    int w = 0, h = 0;
    zel::fitInside(kWidth, kHeight, kWindowWidth, kWindowHeight, w, h);
    for (auto _ : state) benchmark::DoNotOptimize(zel::scaledBitmap(picture(), w, h).pixels.data());
}

void BM_JpegEncode95_24MP(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(zel::encodeJpeg(picture(), {95, false}).bytes.size());
}

void BM_CjpegPeer95_24MP(benchmark::State& state) {
    runPeer(state, "cjpeg -quality 95 -outfile /dev/null " + ppmFile());
}

const std::vector<std::string>& outlineLines() {
    static const std::vector<std::string> lines = [] {
        std::vector<std::string> made;
        made.reserve(kOutlineLines);
        int depth = 0;
        for (std::size_t i = 0; made.size() < kOutlineLines; ++i) {
            if (i % 7 == 3 && depth < 12) {
                made.push_back(std::string(depth, '\t') + "{");
                ++depth;
            } else if (i % 7 == 6 && depth > 0) {
                --depth;
                made.push_back(std::string(depth, '\t') + "}");
            } else {
                made.push_back(std::string(depth, '\t') + "actor item" + std::to_string(i) +
                               " 0.25 1");
            }
        }
        return made;
    }();
    return lines;
}

const std::string& outlineFile() {
    static const std::string path = [] {
        const std::string file = files().path("outline.txt");
        std::string text;
        for (const std::string& line : outlineLines()) text += line + "\n";
        write(file, text);
        return file;
    }();
    return path;
}

void BM_OutlineRead1M(benchmark::State& state) {
    for (auto _ : state) {
        zel::Outline tree;
        zel::readWholeOutline(tree, outlineLines(), nullptr, nullptr);
        benchmark::DoNotOptimize(tree.root.children.size());
        state.PauseTiming();
        tree.clear();
        state.ResumeTiming();
    }
}

void BM_OutlineWrite1M(benchmark::State& state) {
    zel::Outline tree;
    zel::readWholeOutline(tree, outlineLines(), nullptr, nullptr);
    for (auto _ : state) {
        std::vector<std::string> lines;
        lines.reserve(kOutlineLines + 2);
        zel::writeOutline_(tree, &lines, nullptr);
        benchmark::DoNotOptimize(lines.data());
    }
}

// Trims each line and indents it by its brace depth, as a write-back does.
void BM_AwkReindentPeer1M(benchmark::State& state) {
    runPeer(state,
            "LC_ALL=C awk '{ t = $0; gsub(/^[ \\t]+|[ \\t]+$/, \"\", t); if (t == \"}\") d--; "
            "s = \"\"; for (k = 0; k < d; k++) s = s \"\\t\"; print s t; if (t == \"{\") d++ }' " +
                outlineFile() + " > /dev/null");
}

}  // namespace

BENCHMARK(BM_JpegDecodeAndScale24MP)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_JpegDecodeWholeAndScale24MP)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_JpegDecode24MP)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DjpegPeer24MP)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DjpegScaledPeer24MP)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Scale24MPToWindow)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_JpegEncode95_24MP)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CjpegPeer95_24MP)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_OutlineRead1M)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_OutlineWrite1M)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_AwkReindentPeer1M)->Unit(benchmark::kMillisecond)->UseRealTime();
