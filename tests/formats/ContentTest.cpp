#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "formats/TContent.h"

namespace zel {
namespace {

using Lines = std::vector<std::string>;

std::string decodeLine(std::string_view line) {
    std::string out;
    decodeBase64Line(line, out);
    return out;
}

TEST(Base64, DecodingOneLine) {
    EXPECT_EQ(decodeLine("QUJD"), "ABC");
    EXPECT_EQ(decodeLine("QUI="), "AB");
    EXPECT_EQ(decodeLine("QQ=="), "A");
    EXPECT_EQ(decodeLine("QUJDRA=="), "ABCD");
    // Characters after the last complete group, and lines shorter than four, yield nothing.
    EXPECT_EQ(decodeLine("QUJDQQ"), "ABC");
    EXPECT_EQ(decodeLine("QQ="), "");
    // Characters outside the alphabet count as 0; "=" only shortens the group it ends.
    EXPECT_EQ(decodeLine("Q*JD"), std::string("\x40\x02\x43", 3));
    EXPECT_EQ(decodeLine("=QJD"), std::string("\x01\x02\x43", 3));
}

TEST(Base64, EncodingLinesAndRoundTrip) {
    std::optional<std::string> stream(std::string(58, 'x'));
    Lines lines;
    ASSERT_EQ(encodeBase64(stream, lines), 0);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].size(), 76u);
    EXPECT_EQ(lines[1], "eA==");

    std::string all;
    for (int i = 0; i < 1000; ++i) all += static_cast<char>(i * 7);
    stream = all;
    lines.clear();
    encodeBase64(stream, lines);
    std::optional<std::string> back(std::string(5000, '?'));  // an older, longer body
    ASSERT_EQ(decodeBase64(back, lines), 0);
    EXPECT_EQ(*back, all);

    std::optional<std::string> none;
    EXPECT_EQ(encodeBase64(none, lines), -1);
    EXPECT_EQ(decodeBase64(none, lines), -1);
}

TEST(Base64, EncodeInOnePiece) {
    EXPECT_EQ(base64Encode_("abc"), "YWJj");
    EXPECT_EQ(base64Encode_("ab"), "YWI=");
    EXPECT_EQ(base64Encode_("a"), "YQ==");
    EXPECT_EQ(base64Encode_(""), "");
    EXPECT_EQ(base64Encode_(std::string(57, '\xff')).size(), 76u);
}

TEST(MimeParse, SingleBodyHeaders) {
    TContent content;
    content.parse({"", "  ", "Content-Type: Text/Plain", "Content-Disposition: attachment;",
                   "\tfilename=\"a b.txt\"; size=3", "X-Other: 1", "", "line 1", "", "line 3"});
    EXPECT_EQ(content.contentType, "Text/Plain");
    EXPECT_EQ(content.fileName, "a b.txt");
    EXPECT_EQ(content.transferEncoding, "");
    ASSERT_TRUE(content.stream);
    EXPECT_EQ(*content.stream, "line 1\r\n\r\nline 3\r\n");
    EXPECT_EQ(content.partCount(), 0u);

    TContent binary;
    binary.parse({"Content-Type: image/png; name=x", "Content-Transfer-Encoding:  BASE64 ", "",
                  "QUJD", "QUI="});
    EXPECT_EQ(binary.contentType, "image/png");
    EXPECT_EQ(binary.transferEncoding, "binary");
    EXPECT_EQ(*binary.stream, "ABCAB");
}

TEST(MimeParse, MultipartPartsAndNames) {
    TContent message;
    message.parse({
        "MIME-Version: 1.0",
        "Content-Type: multipart/mixed;",
        "  boundary=\"2006\"",
        "",
        "preamble is dropped",
        "--2006",
        "Content-Type: text/xml; charset=x-sjis",
        "",
        "<File/>",
        " --2006 ",
        "Content-Type: text/xml",
        "",
        "--2006",
        "Content-Transfer-Encoding: base64",
        "Content-Disposition: attachment;",
        "  filename=\"C:\\memo\\a.mxh\"",
        "",
        "QUJD",
        "",
        "--2006--",
        "epilogue is dropped",
    });
    EXPECT_EQ(message.contentType, "multipart/mixed");
    EXPECT_FALSE(message.stream);
    ASSERT_EQ(message.partCount(), 3u);
    EXPECT_EQ(message.parts->nameAt(0), "text/xml");
    EXPECT_EQ(message.parts->nameAt(1), "text/xml_00");
    EXPECT_EQ(message.parts->nameAt(2), "C:\\memo\\a.mxh");
    EXPECT_EQ(*message.partAt(0)->stream, "<File/>\r\n");
    EXPECT_EQ(*message.partAt(2)->stream, "ABC");
    EXPECT_EQ(message.partAt(2)->transferEncoding, "binary");
    EXPECT_EQ(message.partAt(0)->owner, message.parts.get());
}

TEST(MimeParse, BoundaryKeepsItsLetterCase) {
    // The type and the parameter name are read in any case, the boundary as written.
    TContent message;
    message.parse({"Content-Type: Multipart/Mixed; Boundary=ABC; charset=x", "", "--ABC", "X: y",
                   "", "one", "--abc", "still one", "--ABC--"});
    EXPECT_EQ(message.contentType, "multipart/mixed");
    ASSERT_EQ(message.partCount(), 1u);
    EXPECT_EQ(message.parts->nameAt(0), "text/plain");
    EXPECT_EQ(*message.partAt(0)->stream, "one\r\n--abc\r\nstill one\r\n");
}

TEST(MimeParse, ContainerWithoutClosingDelimiterAndMultipartWithoutBoundary) {
    TContent container;
    container.parse(
        {"Content-Type: multipart/mixed;", "  boundary=\"B\"", "", "--B", "", "x", "", "--B"});
    EXPECT_EQ(container.partCount(), 1u);

    TContent noBoundary;
    noBoundary.parse({"Content-Type: multipart/mixed; charset=x", "", "--B", "x", "--B"});
    EXPECT_EQ(noBoundary.partCount(), 0u);
    EXPECT_FALSE(noBoundary.stream);
}

TEST(MimeParse, ReusedReaderStartsFromDefaults) {
    TContent reader;
    reader.parse({"Content-Disposition: inline; filename=a.txt", "Content-Type: text/x", "", "1"});
    reader.parse({"Subject: none", "", "2"});
    EXPECT_EQ(reader.fileName, "");
    EXPECT_EQ(reader.contentType, "");
    EXPECT_EQ(*reader.stream, "2\r\n");
}

TEST(MimeParse, DeepNestingIsBoundedAndLosesNothing) {
    Lines lines;
    const int levels = 200;
    for (int i = 0; i < levels; ++i) {
        lines.push_back("Content-Type: multipart/mixed; boundary=b" + std::to_string(i));
        lines.push_back("");
        lines.push_back("--b" + std::to_string(i));
    }
    lines.push_back("");
    lines.push_back("deep text");
    for (int i = levels - 1; i >= 0; --i) lines.push_back("--b" + std::to_string(i) + "--");
    TContent message;
    message.parse(lines);
    const TContent* part = &message;
    int depth = 0;
    while (part->partCount() == 1) {
        part = part->partAt(0);
        ++depth;
    }
    EXPECT_GT(depth, 10);
    ASSERT_TRUE(part->stream);
    EXPECT_NE(part->stream->find("deep text"), std::string::npos);
}

TEST(MimeParse, HostileInputsStayBounded) {
    // A long boundary against long lines of hyphens: no quadratic search.
    const std::string boundary = std::string(1 << 20, '-') + "x";
    TContent longBoundary;
    longBoundary.parse({"Content-Type: multipart/mixed; boundary=\"" + boundary + "\"", "",
                        std::string(8 << 20, '-'), "--" + boundary, "a: b", "", "x",
                        "--" + boundary + "--"});
    ASSERT_EQ(longBoundary.partCount(), 1u);
    EXPECT_EQ(*longBoundary.partAt(0)->stream, "x\r\n");

    // A million empty parts of one name: the part budget ends the list.
    Lines many = {"Content-Type: multipart/mixed; boundary=B", ""};
    many.resize(many.size() + 1000000, "--B");
    TContent manyParts;
    manyParts.parse(many);
    EXPECT_EQ(manyParts.partCount(), 2048u);
    EXPECT_EQ(manyParts.parts->nameAt(1), "text/plain_00");
}

TEST(MimeContent, CopyAndClear) {
    TContent message;
    message.parse(
        {"Content-Type: multipart/mixed; boundary=B", "", "--B", "H: 1", "", "x", "--B--"});
    message.fileName = "m.maz";
    TContent copy;
    copy.stream = "old";
    copy.copyFrom_(message);
    EXPECT_EQ(copy.fileName, "m.maz");
    EXPECT_FALSE(copy.stream);
    ASSERT_EQ(copy.partCount(), 1u);
    EXPECT_NE(copy.partAt(0), message.partAt(0));
    EXPECT_EQ(*copy.partAt(0)->stream, "x\r\n");

    auto deep = message.deepCopy();
    EXPECT_EQ(dynamic_cast<TContent&>(*deep).partCount(), 1u);

    message.clear_();
    EXPECT_EQ(message.partCount(), 0u);
    EXPECT_EQ(message.contentType, "multipart/mixed");
}

TEST(MimeContent, LoadFile) {
    auto dir = std::filesystem::temp_directory_path() /
               ("zel-formats-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    std::filesystem::create_directories(dir);
    std::string path = (dir / "body.bin").string();
    std::ofstream(path, std::ios::binary) << std::string("a\0b", 3);

    TContent content;
    EXPECT_EQ(content.loadFile(path), 0);
    EXPECT_EQ(*content.stream, std::string("a\0b", 3));
    EXPECT_EQ(content.fileName, path);
    EXPECT_EQ(content.loadFile((dir / "missing").string()), 255);
    EXPECT_EQ(content.loadFile(dir.string()), 254);
    EXPECT_EQ(content.fileName, path);
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace zel
