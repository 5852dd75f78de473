#include "HolderGenerator.h"

#include <array>
#include <cstdio>
#include <memory>
#include <random>

#include "formats/Base64.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "text/LineList.h"
#include "text/Sjis.h"
#include "text/TextHelpers.h"

namespace zel::bench {

namespace {

constexpr std::array kAsciiWords = {"memo",  "buy",  "milk", "meeting",        "at",
                                    "10:00", "call", "back", "TODO",           "done",
                                    "see",   "shop", "list", "C:\\memo\\a.txt"};
// Words that need escaping; about one word in forty is one of them.
constexpr std::array kMarkupWords = {"http://example.org/a?b=c&d=e", "x<y", "\"quoted\"", "a>b"};
constexpr std::array kJapaneseWords = {"会議",  "予定", "買い物", "牛乳", "表示", "ソフト", "能力",
                                       "ｶﾞｿﾘﾝ", "メモ", "電話",   "東京", "ー",   "日本語", "確認"};

class Generator {
  public:
    explicit Generator(const HolderRecipe& recipe) : recipe_(recipe), random_(recipe.seed) {
        for (const char* word : kJapaneseWords) japanese_.push_back(utf8ToSjis(word));
    }

    std::vector<std::string> run() {
        header();
        for (std::size_t node = 0;
             recipe_.nodes ? node < recipe_.nodes : size_ < recipe_.targetBytes; ++node)
            record(static_cast<int>(node));
        add("</Holder>");
        return std::move(lines_);
    }

  private:
    unsigned next(unsigned bound) { return bound ? static_cast<unsigned>(random_() % bound) : 0; }

    void add(std::string line) {
        size_ += line.size() + 2;
        lines_.push_back(std::move(line));
    }

    std::string words(unsigned count) {
        std::string text;
        for (unsigned i = 0; i < count; ++i) {
            if (i > 0 && next(3) != 0) text += ' ';
            if (next(40) == 0)
                text += kMarkupWords[next(kMarkupWords.size())];
            else if (next(2) == 0)
                text += kAsciiWords[next(kAsciiWords.size())];
            else
                text += japanese_[next(static_cast<unsigned>(japanese_.size()))];
        }
        return text;
    }

    void header() {
        add("<?xml version=\"1.0\" encoding=\"Shift_JIS\" ?>");
        add("<!-- 20060301 142530 -->");
        add("<!DOCTYPE Holder [<!ENTITY quot \"&#34;\">]>");
        add("<Holder name=\"bench " + std::to_string(recipe_.seed) + "\">");
        add("  <Field curIndex=\"node00000\"/>");
        add("  <Field NewNodeName=\"Daily\"/>");
        add("  <Field flagSort=\"false\"/>");
        add("  <Field flagAscending=\"true\"/>");
        add("  <Field flagAccount=\"false\"/>");
        add("  <Field flagAutoReLoad=\"false\"/>");
        add("  <Field ReloadMinutes=\"0\"/>");
        add("  <Field TimeReLoad=\"20060301 142530\"/>");
        add("  <Field flagAutoSave=\"false\"/>");
        add("  <Field SaveMinutes=\"0\"/>");
        add("  <Field TimeSaved=\"20060301 142530\"/>");
        add("  <Field CountSave=\"1\"/>");
    }

    std::string uid(int node) {
        char text[48];
        std::snprintf(text, sizeof text, "20060301_142530%03d_%08u", node % 1000,
                      next(99999998) + 1);
        return text;
    }

    void record(int node) {
        char name[32];
        std::snprintf(name, sizeof name, "node%05d", node);
        bool binary = recipe_.binaryEvery > 0 && next(recipe_.binaryEvery) == 0;
        add("  <Record name=\"" + escapeMarkup(std::string(name) + " " + words(1)) + "\">");

        std::string fields = "    <Field flagMarked=\"" + std::string(next(5) ? "false" : "true") +
                             "\" UID=\"" + uid(node) + "\" ";
        if (node > 0 && next(3) == 0) fields += "ParentNodeID=\"" + uid(node - 1) + "\" ";
        if (binary)
            fields +=
                "Content-Type=\"image/jpeg\" Content-Transfer-Encoding=\"base64\" "
                "Filename=\"C:\\memo\\img\\photo.jpg\" ";
        add(fields + "/>");

        if (binary)
            binaryBody();
        else
            memoText();
        if (next(4) == 0) {
            add("    <Comment>");
            add(escapeMarkup(words(4 + next(8))) + "<BR/>");
            add("    </Comment>");
        }
        add("  </Record>");
    }

    void memoText() {
        unsigned lines = 1 + next(40);
        for (unsigned i = 0; i < lines; ++i) {
            std::string line = next(8) == 0 ? std::string() : words(1 + next(14));
            if (next(10) == 0) line.insert(0, "  ");
            add(escapeMarkup(line) + "<BR/>");
        }
    }

    void binaryBody() {
        std::optional<std::string> bytes(std::string(64 * 1024 + next(960 * 1024), '\0'));
        for (char& c : *bytes) c = static_cast<char>(random_());
        std::vector<std::string> base64;
        encodeBase64(bytes, base64);
        for (auto& line : base64) add(line + "<BR/>");
    }

    const HolderRecipe& recipe_;
    std::mt19937 random_;
    std::vector<std::string> japanese_;
    std::vector<std::string> lines_;
    std::size_t size_ = 0;
};

}  // namespace

std::vector<std::string> generateHolderLines(const HolderRecipe& recipe) {
    return Generator(recipe).run();
}

namespace {

// The bytes written, or 0 when that failed.
std::size_t writeText(const std::string& path, const std::string& text) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"),
                                                         &std::fclose);
    if (!file) return 0;
    bool written = std::fwrite(text.data(), 1, text.size(), file.get()) == text.size();
    return std::fclose(file.release()) == 0 && written ? text.size() : 0;
}

}  // namespace

bool writeHolderFile(const std::string& path, const HolderRecipe& recipe) {
    return writeText(path, zel::linesText(generateHolderLines(recipe))) > 0;
}

HolderRecipe textNodesRecipe(std::uint32_t seed, std::size_t nodes) {
    HolderRecipe recipe;
    recipe.seed = seed;
    recipe.binaryEvery = 0;
    recipe.nodes = nodes;
    return recipe;
}

std::size_t writeBenchMemoSet(const std::string& folder, int holders, std::size_t nodesPerHolder) {
    MemoFile file;
    const std::string index = folder + "/bench.mxa";
    file.setFilename(index);
    std::size_t bytes = 0;
    for (int h = 1; h <= holders; ++h) {
        char name[16];
        std::snprintf(name, sizeof name, "h%02d", h);
        file.createHolder_(-1)->putName_as_(name);
        const std::size_t written = writeText(folder + "/" + name + ".mxh",
                                              zel::linesText(generateHolderLines(textNodesRecipe(
                                                  static_cast<std::uint32_t>(h), nodesPerHolder))));
        if (written == 0) return 0;
        bytes += written;
    }
    return file.saveMemoFile_(index) < 0 ? 0 : bytes;
}

}  // namespace zel::bench
