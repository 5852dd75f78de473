// Attaching files and web resources, writing bodies out, linked bodies.

#include <gtest/gtest.h>

#include <cstdlib>

#include "formats/TContent.h"
#include "model/MemoBasic.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "model/RecordTestSupport.h"
#include "object/Report.h"
#include "platform/FileSystem.h"
#include "platform/SafeFileWriter.h"
#include "support/LocalHttpServer.h"
#include "support/TempFolder.h"
#include "text/TextHelpers.h"

namespace zel {
namespace {

using Lines = std::vector<std::string>;

// Points TMPDIR, where downloads go, into the test's own folder.
class BodyTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* old = std::getenv("TMPDIR");
        if (old) oldTmp_ = old;
        hadTmp_ = old != nullptr;
        ::setenv("TMPDIR", dir.path().c_str(), 1);
    }
    void TearDown() override {
        if (hadTmp_)
            ::setenv("TMPDIR", oldTmp_.c_str(), 1);
        else
            ::unsetenv("TMPDIR");
    }
    std::string file(const std::string& name, const std::string& bytes) {
        std::string path = dir.path(name);
        EXPECT_TRUE(writeFileSafely(path, bytes));
        return path;
    }
    static std::string read(const std::string& path) {
        std::string bytes;
        EXPECT_TRUE(readFile(path, bytes)) << path;
        return bytes;
    }

    test::TempFolder dir;

  private:
    std::string oldTmp_;
    bool hadTmp_ = false;
};

TEST_F(BodyTest, TextKindsLoadAsMemoLines) {
    MemoBasic record;
    std::string notes = file("a.notes.TXT", "one\r\ntwo\nthree\rfour");
    ASSERT_EQ(record.setFile_(notes, ""), 0);
    EXPECT_EQ(record.memo, (Lines{"one", "two", "three", "four"}));
    EXPECT_EQ(record.getField_("Content-Type"), "\"text/plan\"");
    EXPECT_EQ(record.getField_("Content-Transfer-Encoding"), "\"8bit\"");
    EXPECT_EQ(record.getField_("Filename"), "\"" + notes + "\"");

    std::string tex = file("paper.tex", "\\section{x}\r\n");
    ASSERT_EQ(record.setFile_(tex, "shown.tex"), 0);
    EXPECT_EQ(record.memo, (Lines{"\\section{x}"}));
    EXPECT_EQ(record.getField_("Content-Type"), "\"application/x-tex\"");
    EXPECT_EQ(record.getField_("Filename"), "\"shown.tex\"");
    EXPECT_FALSE(record.content);
}

TEST_F(BodyTest, OtherKindsLoadIntoTheContentStream) {
    MemoBasic record;
    const std::string bytes("PK\x03\x04\0\xff binary", 14);
    std::string docx = file("report.docx", bytes);
    ASSERT_EQ(record.setFile_(docx, ""), 0);
    ASSERT_TRUE(record.content && record.content->stream);
    EXPECT_EQ(*record.content->stream, bytes);
    EXPECT_EQ(record.content->fileName, docx);
    EXPECT_EQ(record.content->contentType, "application/octet-stream");
    EXPECT_EQ(record.getField_("Content-Type"), "\"application/octet-stream\"");
    EXPECT_EQ(record.getField_("Content-Transfer-Encoding"), "\"binary\"");

    ASSERT_EQ(record.setFile_(file("p.JPEG", "jpg"), ""), 0);
    EXPECT_EQ(record.getField_("Content-Type"), "\"image/jpeg\"");
}

TEST_F(BodyTest, MissingFilesAndFileAddressesLeaveFieldsAlone) {
    std::vector<std::string> reports;
    Reporter previous = setReporter([&](const std::string& text) { reports.push_back(text); });
    MemoBasic record;
    record.putField_("Filename", "\"keep\"");
    EXPECT_EQ(record.setFile_(dir.path("none.txt"), ""), -1);
    EXPECT_EQ(record.setFile_("FILE:///etc/hosts", ""), -1);
    setReporter(previous);
    EXPECT_EQ(reports, (Lines{"Still Not Implimented. "}));
    EXPECT_EQ(record.fields.text(), "Filename=\"keep\"");
}

TEST_F(BodyTest, DownloadsWebAddressesIntoTheTempFolder) {
    test::LocalHttpServer server;
    server.answer("/dir/page.html", {200, "<p>hi</p>\r\nsecond", ""});
    MemoBasic record;
    const std::string address = server.url("/dir/page.html");
    ASSERT_EQ(record.setFile_(address, ""), 0);
    EXPECT_EQ(record.memo, (Lines{"<p>hi</p>", "second"}));
    EXPECT_EQ(record.getField_("Content-Type"), "\"text/html\"");
    EXPECT_EQ(record.getField_("Filename"), "\"" + address + "\"");
    EXPECT_TRUE(fileExists(dir.path(urlToFileName(address))));

    MemoBasic failed;
    failed.putField_("Color", "\"clRed\"");
    EXPECT_EQ(failed.setFile_(server.url("/missing.png"), ""), -2);
    EXPECT_EQ(failed.fields.text(), "Color=\"clRed\"");
    EXPECT_FALSE(failed.content);
}

TEST_F(BodyTest, SaveBodyWritesEachKind) {
    MemoBasic text;
    text.memo = {"a", "b"};
    std::string nested = dir.path("new/sub/body.txt");
    EXPECT_EQ(text.saveBody_(nested), 6);  // the folders are made
    EXPECT_EQ(read(nested), "a\r\nb\r\n");

    MemoBasic binary;
    binary.content = std::make_unique<TContent>();
    binary.content->stream = std::string("\0\1\2", 3);
    binary.putField_("Content-Transfer-Encoding", "\"binary\"");
    EXPECT_EQ(binary.saveBody_(dir.path("b.bin")), 3);
    EXPECT_EQ(read(dir.path("b.bin")), std::string("\0\1\2", 3));
    binary.content->stream.reset();
    EXPECT_EQ(binary.saveBody_(dir.path("c.bin")), -2);
    EXPECT_FALSE(fileExists(dir.path("c.bin")));
}

TEST_F(BodyTest, SaveBodyNeverWritesPlainBytesUnderADotZName) {
    MemoBasic binary;
    binary.content = std::make_unique<TContent>();
    binary.content->stream = "raw";
    binary.putField_("Content-Transfer-Encoding", "\"binary\"");
    binary.putField_("Filename", "\"/x/a.jpg\"");
    EXPECT_EQ(binary.saveBody_(dir.path("a.Z")), -2);
    binary.putField_("Filename", "\"/x/packed.z\"");
    EXPECT_EQ(binary.saveBody_(dir.path("a.z")), 3);

    MemoBasic text;
    text.memo = {"x"};
    EXPECT_EQ(text.saveBody_(dir.path("t.z")), -1);
    EXPECT_FALSE(fileExists(dir.path("t.z")));
}

TEST_F(BodyTest, SaveBodyOfAnAddressWritesALinkPage) {
    MemoNode node;
    node.putField_("Content-Transfer-Encoding", "\"URL\"");
    node.putField_("Filename", "\"http://host/a\"");
    std::string page =
        "<!doctype html public \"-//w3c//dtd html 4.0 transitional//en\">\r\n"
        "<html>\r\n"
        "  <head>\r\n"
        "    <meta http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">\r\n"
        "    <meta name=\"GENERATOR\" content=\"zel.exe\">\r\n"
        "    <title>noname</title>\r\n"
        "  </head>\r\n"
        "  <body>\r\n"
        "    <a href=\"http://host/a\" >\r\n"
        "      noname\r\n"
        "    </a>\r\n"
        "  </body>\r\n"
        "</html>\r\n";
    EXPECT_EQ(node.saveBody_(dir.path("link.html")), static_cast<long long>(page.size()));
    EXPECT_EQ(read(dir.path("link.html")), page);
}

TEST_F(BodyTest, BlankImageIsAWhiteThirtyByThirtyBitmap) {
    MemoBasic record;
    long long size = record.setBlankImage_();
    ASSERT_TRUE(record.content && record.content->stream);
    const std::string& bmp = *record.content->stream;
    // 54 header bytes, then 30 rows of 90 white bytes padded to 92.
    ASSERT_EQ(size, 54 + 30 * 92);
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    EXPECT_EQ(bmp.substr(18, 8), std::string("\x1e\0\0\0\x1e\0\0\0", 8));
    EXPECT_EQ(bmp.substr(54, 90), std::string(90, '\xff'));
    EXPECT_EQ(bmp.substr(54 + 29 * 92, 90), std::string(90, '\xff'));
    EXPECT_EQ(record.getField_("Content-Transfer-Encoding"), "\"binary\"");
    EXPECT_EQ(record.getField_("Content-Type"), "\"image/bmp\"");
}

TEST_F(BodyTest, LinkedBodyLoadsOnlyWhenAsked) {
    const std::string bytes("\x89PNG\r\n", 6);
    MemoHolder holder;
    holder.putField_("FlagExtra", "\"true\"");
    holder.putField_("Filename", "\"" + dir.path("h.mxh") + "\"");
    file("img.png", bytes);

    auto node = holder.newNode_();
    node->putField_("Content-Transfer-Encoding", "\"binary\"");
    node->putField_("FlagLink", "\"true\"");
    node->putField_("Filename", "\".\\img.png\"");  // as the other desktop wrote it
    node->comment = {"c"};
    auto read = test::writeAndRead(*node);
    read->owner = &holder;
    EXPECT_FALSE(read->content);
    EXPECT_EQ(read->loadLinkedBody_(), 1);
    EXPECT_TRUE(read->loaded);
    ASSERT_TRUE(read->content && read->content->stream);
    EXPECT_EQ(*read->content->stream, bytes);
    EXPECT_EQ(read->getField_("Filename"), "\".\\img.png\"");  // keeps its relative form

    read->putField_("Filename", "\"" + dir.path("gone.png") + "\"");
    read->loaded = false;
    EXPECT_EQ(read->loadLinkedBody_(), 0);
    EXPECT_TRUE(read->loaded);
}

}  // namespace
}  // namespace zel
