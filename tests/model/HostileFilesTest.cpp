// Files as a hostile user or a crashing machine leaves them: bombs, cut and
// damaged streams, millions of equal names, full disks during an unpack,
// links out of the folder, and Break in the middle of a huge load.

#include <filesystem>
#include <random>
#include <set>

#include <gtest/gtest.h>

#include "formats/TContent.h"
#include "model/Container.h"
#include "model/HolderFile.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "object/Agents.h"
#include "platform/Compression.h"
#include "platform/FileSystem.h"
#include "platform/SafeFileWriter.h"
#include "support/HolderTestSupport.h"
#include "support/TempFolder.h"
#include "text/LineList.h"
#include "text/Sjis.h"

namespace zel {
namespace {

using test::addTextNode;
using test::describeNodes;

std::string contentOf(const std::string& path) {
    std::string bytes;
    readFile(path, bytes);
    return bytes;
}

std::set<std::string> entriesOf(const test::TempFolder& dir) {
    std::vector<FolderEntry> entries;
    listFolder(dir.path(), entries);
    std::set<std::string> names;
    for (const auto& entry : entries) names.insert(entry.name);
    return names;
}

// Limits that a test can reach with a few megabytes, put back afterwards.
class SmallLimits {
  public:
    SmallLimits() : saved_(inflateLimits()) { setInflateLimits({64 << 20, 200, 1 << 20}); }
    ~SmallLimits() { setInflateLimits(saved_); }

  private:
    InflateLimits saved_;
};

std::string holderMarkup(int records, const std::string& nameAttribute) {
    std::string text = "<Holder name=\"h\">\r\n";
    for (int i = 0; i < records; ++i)
        text += "  <Record" + nameAttribute + ">\r\n    <Field flagMarked=\"false\" />\r\n" +
                "line " + std::to_string(i) + "<BR/>\r\n  </Record>\r\n";
    return text + "</Holder>\r\n";
}

// A memo file of two holders written as a container into `dir`.
void writeDiaryContainer(const test::TempFolder& dir, const std::string& name) {
    MemoFile file;
    file.setFilename(dir.path(name + ".mxa"));
    for (const char* holderName : {"work", "old"}) {
        MemoHolder* holder = file.createHolder_(-1);
        holder->putName_as_(holderName);
        holder->loaded = true;
        addTextNode(*holder, std::string(holderName) + " node",
                    {"memo of " + std::string(holderName)});
    }
    ASSERT_GT(file.writeContainer_(dir.path(name + ".maz")), 0);
}

TEST(HostileFiles, BombsOfEachKindAreRefusedWithTheReason) {
    SmallLimits limits;
    test::TempFolder dir;
    // Sixteen megabytes of one record inflate more than two hundredfold.
    std::string bomb;
    ASSERT_TRUE(deflateBytes(holderMarkup(1, "") + std::string(16 << 20, ' '), bomb));
    ASSERT_TRUE(writeFileSafely(dir.path("bomb.mhz"), bomb));
    MemoHolder holder;
    std::string error;
    EXPECT_EQ(readHolderFile_(holder, dir.path("bomb.mhz"), &error), -1);
    EXPECT_NE(error.find("Refused to decompress: "), std::string::npos) << error;
    EXPECT_EQ(holder.count_(), 0);

    std::string message =
        "MIME-Version: 1.0\r\nContent-Type: multipart/mixed;\r\n"
        "  boundary=\"b\"\r\n\r\n--b\r\n\r\n";
    message += std::string(16 << 20, 'A');
    ASSERT_TRUE(deflateBytes(message, bomb));
    ASSERT_TRUE(writeFileSafely(dir.path("bomb.maz"), bomb));
    MemoFile file;
    EXPECT_EQ(loadContainer_(file, dir.path("bomb.maz"), &error), -1);
    EXPECT_NE(error.find("Refused to decompress: "), std::string::npos) << error;
    std::string index;
    EXPECT_EQ(unpackContainer_(dir.path("bomb.maz"), nullptr, &index, &error), -1);
    EXPECT_NE(error.find("Refused to decompress: "), std::string::npos) << error;

    ASSERT_TRUE(writeFileSafely(dir.path("bomb.txt.z"), bomb));
    EXPECT_EQ(decompressZFile(dir.path("bomb.txt.z"), &error), -2);
    EXPECT_NE(error.find("Refused to decompress: "), std::string::npos) << error;
    EXPECT_EQ(entriesOf(dir), (std::set<std::string>{"bomb.mhz", "bomb.maz", "bomb.txt.z"}));
}

TEST(HostileFiles, CutAndDamagedCompressedFilesSayWhatIsWrong) {
    test::TempFolder dir;
    std::string compressed;
    ASSERT_TRUE(deflateBytes(holderMarkup(2000, " name=\"n\""), compressed));
    ASSERT_TRUE(writeFileSafely(dir.path("cut.mhz"), compressed.substr(0, compressed.size() / 2)));
    MemoHolder holder;
    std::string error;
    test::CapturedLog log;
    EXPECT_EQ(readHolderFile_(holder, dir.path("cut.mhz"), &error), -1);
    EXPECT_NE(error.find("the compressed data ends early"), std::string::npos) << error;
    EXPECT_NE(error.find("cut.mhz"), std::string::npos) << error;

    writeDiaryContainer(dir, "d");
    std::string maz = contentOf(dir.path("d.maz"));
    ASSERT_TRUE(writeFileSafely(dir.path("cut.maz"), maz.substr(0, maz.size() - 20)));
    MemoFile file;
    EXPECT_EQ(loadContainer_(file, dir.path("cut.maz"), &error), -1);
    EXPECT_NE(error.find("the compressed data ends early"), std::string::npos) << error;
    maz[maz.size() / 2] ^= 0x40;
    ASSERT_TRUE(writeFileSafely(dir.path("bad.maz"), maz));
    EXPECT_EQ(loadContainer_(file, dir.path("bad.maz"), &error), -1);
    EXPECT_FALSE(error.empty());
    std::string index;
    EXPECT_EQ(unpackContainer_(dir.path("bad.maz"), nullptr, &index, &error), -1);
    EXPECT_FALSE(std::filesystem::exists(dir.osPath("d.mxa"))) << "nothing unpacked";
}

TEST(HostileFiles, EqualAndMissingNamesAtScaleGetTheRuleNames) {
    MemoHolder equal;
    ASSERT_EQ(readHolderText_(equal, holderMarkup(200000, " name=\"x\""), "equal"), 0);
    ASSERT_EQ(equal.count_(), 200000);
    EXPECT_EQ(equal.at_(1)->getName_(), "x_00");
    EXPECT_EQ(equal.at_(101)->getName_(), "x_100");
    EXPECT_EQ(equal.at_(199999)->getName_(), "x_199998");

    MemoHolder nameless;
    ASSERT_EQ(readHolderText_(nameless, holderMarkup(200000, ""), "nameless"), 0);
    std::set<std::string> names;
    for (int i = 0; i < nameless.count_(); ++i)
        names.insert(lowerText(nameless.at_(i)->getName_()));
    EXPECT_EQ(names.size(), 200000u);
}

// Found by fuzzing: malformed Shift_JIS before a quote, and CSV keys that
// markup cannot carry, made holders whose saved files lost records.
TEST(HostileFiles, WhatWasReadIsSavedSoThatItReadsBack) {
    MemoFile file;
    MemoHolder& holder = *csvToHolder_(file, {"#", "a,x<y>,b c,t\"", "1,2,3,4", "5,6,7,8"});
    addTextNode(holder, "stray lead \xE8\"", {"\x81<", "\x9F\"&"});
    MemoHolder back;
    ASSERT_EQ(readHolderText_(back, holderFileText_(holder), "saved"), 0);
    ASSERT_EQ(back.count_(), holder.count_());
    EXPECT_EQ(back.at_(2)->getName_(), "stray lead \xE8\"");
    EXPECT_EQ(back.at_(2)->memo, holder.at_(2)->memo);
    EXPECT_EQ(back.at_(0)->fields.size(), 4u);
    EXPECT_EQ(back.at_(0)->getField_("a"), "\"1\"");

    // A holder name that ends in a lone lead byte, in an index.
    file.createHolder_(-1)->putName_as_("old\"\xF5");
    std::vector<std::string> lines, errors;
    file.writeMemoFile_(lines);
    MemoFile index;
    ASSERT_EQ(readIndexText_(index, linesText(lines), errors), 0);
    ASSERT_EQ(index.countOfHolders_(), 2);
    EXPECT_EQ(index.holderAt_(1)->getName_(), "old\"\xF5");
}

// Says Break on its `stopAt`th question.
class BreakingAgent : public AgentAPLAbs {
  public:
    explicit BreakingAgent(int stopAt) : stopAt_(stopAt) {}
    bool isBreak_() override { return ++asked >= stopAt_; }
    int asked = 0;

  private:
    int stopAt_;
};

TEST(HostileFiles, BreakStopsAHugeLoadAndLeavesTheHolderAsItWas) {
    test::TempFolder dir;
    ASSERT_TRUE(writeFileSafely(dir.path("big.mxh"), holderMarkup(100000, " name=\"n\"")));
    MemoHolder holder;
    addTextNode(holder, "kept");
    BreakingAgent agent(3);
    std::string error;
    EXPECT_EQ(readHolderFile_(holder, dir.path("big.mxh"), &error, &agent), -3);
    EXPECT_EQ(agent.asked, 3) << "asked every 50 records until it said stop";
    EXPECT_EQ(agent.count, 150);
    EXPECT_EQ(error.rfind("Break", 0), 0u) << error;
    ASSERT_EQ(holder.count_(), 1);
    EXPECT_EQ(holder.at_(0)->getName_(), "kept");

    BreakingAgent never(1 << 30);
    EXPECT_EQ(readHolderFile_(holder, dir.path("big.mxh"), &error, &never), 0);
    EXPECT_EQ(never.asked, 2000);

    writeDiaryContainer(dir, "d");
    BreakingAgent atOnce(1);
    MemoFile file;
    EXPECT_EQ(loadContainer_(file, dir.path("d.maz"), &error, &atOnce), -3);
    std::string index;
    EXPECT_EQ(unpackContainer_(dir.path("d.maz"), nullptr, &index, &error, &atOnce), -1);
    EXPECT_FALSE(std::filesystem::exists(dir.osPath("d.mxa")));
}

TEST(HostileFiles, AnUnpackThatFailsLeavesTheOldSetWhole) {
    test::TempFolder dir;
    writeDiaryContainer(dir, "d");
    for (const char* name : {"d.mxa", "work.mxh", "old.mxh"})
        ASSERT_TRUE(writeFileSafely(dir.path(name), std::string("old ") + name));
    for (int failing = 1; failing <= 3; ++failing) {
        int syncs = 0;
        WriteFaultHook previous = setWriteFaultHook(
            [&](WriteStep step) { return step == WriteStep::Sync && ++syncs == failing; });
        std::string index, error;
        EXPECT_EQ(unpackContainer_(dir.path("d.maz"), nullptr, &index, &error), -1) << failing;
        setWriteFaultHook(previous);
        EXPECT_FALSE(error.empty());
        for (const char* name : {"d.mxa", "work.mxh", "old.mxh"})
            EXPECT_EQ(contentOf(dir.path(name)), std::string("old ") + name) << failing;
        EXPECT_EQ(entriesOf(dir), (std::set<std::string>{"d.maz", "d.mxa", "work.mxh", "old.mxh"}));
    }
    std::string index, error;
    EXPECT_EQ(unpackContainer_(dir.path("d.maz"), nullptr, &index, &error), 3) << error;
    EXPECT_NE(contentOf(dir.path("work.mxh")).find("memo of work"), std::string::npos);
}

TEST(HostileFiles, UnpackingWritesNothingThroughALinkOutOfTheFolder) {
    test::TempFolder outside, dir;
    writeDiaryContainer(dir, "d");
    ASSERT_TRUE(writeFileSafely(outside.path("victim"), "theirs"));
    std::filesystem::create_symlink(outside.osPath("victim"), dir.osPath("old.mxh"));
    std::string index, error;
    EXPECT_EQ(unpackContainer_(dir.path("d.maz"), nullptr, &index, &error), -1);
    EXPECT_NE(error.find("symbolic link"), std::string::npos) << error;
    EXPECT_EQ(contentOf(outside.path("victim")), "theirs");
    EXPECT_FALSE(std::filesystem::exists(dir.osPath("d.mxa"))) << "all or nothing";
}

TEST(HostileFiles, HoldersOfOneFileNameUnpackIntoFilesOfTheirOwn) {
    test::TempFolder dir;
    MemoFile file;
    file.setFilename(dir.path("c.mxa"));
    for (const char* name : {"a/b", "a_b", "up"}) {
        MemoHolder* holder = file.createHolder_(-1);
        holder->putName_as_(name);
        holder->loaded = true;
        addTextNode(*holder, "in " + std::string(name));
    }
    file.holderAt_(2)->putField_("FileExt", "\"/../../../escaped.mxh\"");
    ASSERT_GT(file.writeContainer_(dir.path("c.maz")), 0);
    std::string index, error;
    ASSERT_EQ(unpackContainer_(dir.path("c.maz"), nullptr, &index, &error), 4) << error;
    EXPECT_EQ(entriesOf(dir).size(), 5u);
    MemoFile back;
    std::vector<std::string> errors;
    ASSERT_EQ(openIndex_(back, index, errors, &error), 0) << error;
    for (int i = 0; i < 3; ++i) {
        MemoHolder& holder = *back.holderAt_(i);
        ASSERT_EQ(readHolderFile_(holder, holderFilePath_(holder), &error), 0) << error;
        EXPECT_EQ(describeNodes(holder), describeNodes(*file.holderAt_(i)));
    }
}

// The streaming splitter reads a message as the MIME reader does when it
// holds the whole message: same parts, same names, same bytes, whatever the
// line ends, folding, blank lines and stray delimiters.
TEST(HostileFiles, TheContainerStreamReadsMessagesAsTheMimeReaderDoes) {
    std::mt19937 random(21);
    auto pick = [&](std::initializer_list<const char*> choices) {
        return std::string(*(choices.begin() + random() % choices.size()));
    };
    for (int round = 0; round < 60; ++round) {
        std::vector<std::string> lines{"", "MIME-Version: 1.0", "Content-Type: Multipart/Mixed;",
                                       "\tboundary=\"BnD\"; x=y", ""};
        lines.push_back(pick({"preamble", "", "--BnDx"}));
        const int parts = 1 + random() % 5;
        for (int p = 0; p < parts; ++p) {
            lines.push_back(pick({"--BnD", "  --BnD  ", "--BnD--"}));
            if (random() % 2) lines.push_back("");
            const bool base64 = random() % 2;
            lines.push_back("Content-Type: text/xml; charset=x-sjis");
            lines.push_back(base64 ? "Content-Transfer-Encoding: base64"
                                   : "Content-Transfer-Encoding: 8bit");
            lines.push_back("Content-Disposition: attachment;");
            lines.push_back(" filename=\"dir\\part" + std::to_string(p) + ".mxh\"");
            lines.push_back("");
            const int bodyLines = random() % (round % 10 == 0 ? 80000 : 40);
            for (int b = 0; b < bodyLines; ++b)
                lines.push_back(base64 ? pick({"QUJD", "QUI=", "QQ==ZZZZ", "QUJDRA", "?!?!"})
                                       : pick({"text", "", " --BnD-", "\x83\x41\x83\x42"}));
        }
        if (random() % 2) lines.push_back("--BnD--");
        lines.push_back(pick({"epilogue", "--BnD", ""}));
        std::string message;
        for (const auto& line : lines) message += line + pick({"\r\n", "\n", "\r"});

        TContent reference;
        reference.parse(textLines(message));
        std::vector<ContainerPart> expected;
        for (std::size_t i = 0; i < reference.partCount(); ++i) {
            const TContent& part = *reference.partAt(i);
            expected.push_back({part.fileName, part.stream ? *part.stream : std::string()});
        }
        std::string compressed;
        ASSERT_TRUE(deflateBytes(message, compressed));
        std::vector<ContainerPart> streamed;
        std::string error;
        const int read = readContainerBytes_(
            compressed, "m", [&](ContainerPart& part) { return streamed.push_back(part), true; },
            &error);
        ASSERT_EQ(read, expected.empty() ? -1 : 0) << round << " " << error;
        ASSERT_EQ(streamed.size(), expected.size()) << round;
        for (std::size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(streamed[i].fileName, expected[i].fileName) << round << " part " << i;
            EXPECT_EQ(streamed[i].bytes, expected[i].bytes) << round << " part " << i;
        }
    }
}

// Inflated data reaches the splitter in pieces of 256 KiB; a CR LF split
// between two pieces is still one line end.
TEST(HostileFiles, ALineEndSplitBetweenTwoPiecesIsOneLineEnd) {
    constexpr std::size_t kPiece = 256 << 10;
    for (std::size_t shift : {0, 1, 2}) {
        std::string message =
            "Content-Type: multipart/mixed; boundary=\"b\"\r\n\r\n--b\r\n"
            "Content-Disposition: inline; filename=\"i.mxa\"\r\n\r\n";
        const std::string line(70, 'x');
        while (message.size() + line.size() + 2 < kPiece - 1 + shift) message += line + "\r\n";
        message += std::string(kPiece - 1 + shift - message.size(), 'y') + "\r\n";
        message += "after\r\n--b\r\n";
        ASSERT_EQ(message[kPiece - 1 + shift], '\r');
        TContent reference;
        reference.parse(textLines(message));
        ASSERT_EQ(reference.partCount(), 1u);
        std::string compressed;
        ASSERT_TRUE(deflateBytes(message, compressed));
        std::vector<ContainerPart> streamed;
        std::string error;
        ASSERT_EQ(readContainerBytes_(
                      compressed, "m",
                      [&](ContainerPart& part) { return streamed.push_back(part), true; }, &error),
                  0)
            << error;
        ASSERT_EQ(streamed.size(), 1u);
        EXPECT_EQ(streamed[0].bytes, *reference.partAt(0)->stream) << shift;
    }
}

}  // namespace
}  // namespace zel
