// zel-tool layout and print: the layout dump of text files and holders, the
// settings they read, and PDF files poppler reads back, printed by the zel
// program the tool hands its print verb over to.

#include <filesystem>
#include <fstream>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "cli/CliTestSupport.h"
#include "export/PrintIniFile.h"
#include "export/PrintStore.h"
#include "export/TextPrinter.h"
#include "support/PdfFiles.h"

namespace zel {
namespace {

using ::testing::HasSubstr;

// Two text nodes (the first marked) and a picture without a body.
constexpr char kHolder[] =
    "<Holder name=\"h\">\r\n"
    "  <Record name=\"first\">\r\n"
    "    <Field flagMarked=\"true\" />\r\n"
    "alpha line<BR/>\r\n"
    "  </Record>\r\n"
    "  <Record name=\"second\">\r\n"
    "\x93\xfa\x96\x7b\x8c\xea<BR/>\r\n"
    "  </Record>\r\n"
    "  <Record name=\"pic\">\r\n"
    "    <Field Content-Type=\"&quot;image/png&quot;\" />\r\n"
    "  </Record>\r\n"
    "</Holder>\r\n";

class PrintVerbs : public test::VerbTest {
  protected:
    void SetUp() override {
        write("h.mxh", kHolder);
        write("one.txt", "hello\r\n");
        // Print settings of their own, so no zelprint.ini of the machine is read.
        write("plain.ini", "");
    }
    void write(const char* name, std::string_view bytes) {
        std::ofstream(folder.osPath(name), std::ios::binary) << bytes;
    }
};

TEST_F(PrintVerbs, LayoutDumpsEveryRunWithItsPageAndPosition) {
    Outcome one = run({"layout", arg("one.txt")});
    ASSERT_EQ(one.status, 0) << one.err;
    EXPECT_EQ(one.out, "P 1 1 1\nT 0 0 \"hello\"\n");

    Outcome keyed = run({"layout", arg("one.txt"), "--title", "a : b", "--now", "20240305090000",
                         "--set", "HeaderAlign=haLeft", "--set", "Header=%y/%m/%d %f", "--set",
                         "FooterAlign=haRight", "--set", "Footer=%F", "--cell", "5x10"});
    ASSERT_EQ(keyed.status, 0) << keyed.err;
    EXPECT_EQ(keyed.out,
              "P 1 1 1\nH 0 0 \"2024/3/5 a : b\"\nT 0 15 \"hello\"\nF 2090 2955 \" b\"\n");

    Outcome small = run({"layout", arg("one.txt"), "--paper", "210x200", "--set", "MarginTop=100",
                         "--set", "MarginBottom=100"});
    EXPECT_EQ(small.status, 1);
    EXPECT_EQ(small.err, "zel-tool: ERROR: TStringsPrinter. The text area is too small.\n");
    EXPECT_EQ(run({"layout", arg("one.txt"), "--set", "Colour=red"}).status, 1);
    EXPECT_EQ(run({"layout", arg("one.txt"), "--cell", "0x10"}).status, 1);
}

TEST_F(PrintVerbs, LayoutOfAHolderListsEachNodeUnderItsTitle) {
    Outcome all = run({"layout", arg("h.mxh")});
    ASSERT_EQ(all.status, 0) << all.err;
    EXPECT_THAT(all.out, HasSubstr("J \"h : first\"\nP 1 1 1\nT 0 0 \"alpha line\"\n"));
    EXPECT_THAT(all.out, HasSubstr("J \"h : second\"\nP 1 1 1\nT 0 0 \"日本語\"\n"));
    EXPECT_THAT(all.out, HasSubstr("J \"h : pic\"\nI \""));

    Outcome marked = run({"layout", arg("h.mxh"), "--marked"});
    EXPECT_EQ(marked.out, "J \"h : first\"\nP 1 1 1\nT 0 0 \"alpha line\"\n");
    Outcome node = run({"layout", arg("h.mxh"), "SECOND", "--set", "LineNumber=True"});
    EXPECT_EQ(node.out, "J \"h : second\"\nP 1 1 1\nN 10 0 \"1:\"\nT 30 0 \"日本語\"\n");
    EXPECT_EQ(run({"layout", arg("h.mxh"), "third"}).status, 1);
}

TEST_F(PrintVerbs, SettingsComeFromTheStoredForm) {
    TStringsPrinter stored;
    stored.settings.setColumnCount(2);
    stored.settings.setMarginLeft(10);
    PrintIniFile ini("[Other]\r\nx=1\r\n");
    storeHexLines(ini, "StringsPrinter1", "Property", stored.serialise_());
    write("print.ini", ini.text());
    Outcome read = run({"layout", arg("one.txt"), "--settings", arg("print.ini")});
    EXPECT_EQ(read.out, "P 1 1 1\nT 100 0 \"hello\"\n");

    write("damaged.ini", "[StringsPrinter1]\r\nProperty_c=1\r\nProperty_d0=0G\r\n");
    Outcome damaged = run({"layout", arg("one.txt"), "--settings", arg("damaged.ini")});
    EXPECT_EQ(damaged.status, 1);
    EXPECT_THAT(damaged.err, HasSubstr("could not be read"));
}

// The libraries the dynamic loader brings in: none of Qt, whatever the build.
TEST(ToolProgram, LinksNoQt) {
    const std::string libraries =
        test::commandOutput(std::string("ldd '") + ZEL_TOOL_PROGRAM + "'");
    ASSERT_THAT(libraries, HasSubstr("libc.so"));
    EXPECT_THAT(libraries, ::testing::Not(HasSubstr("libQt")));
}

#ifndef ZEL_GUI_BUILD
TEST_F(PrintVerbs, PrintSaysItNeedsTheGuiBuild) {
    Outcome holder =
        run({"print", arg("h.mxh"), "--pdf", arg("h.pdf"), "--settings", arg("plain.ini")});
    EXPECT_EQ(holder.status, 1);
    EXPECT_THAT(holder.err, HasSubstr("printing needs the GUI build"));
    EXPECT_FALSE(std::filesystem::exists(folder.osPath("h.pdf")));
}
#else
TEST_F(PrintVerbs, PrintWritesOnePdfForAllNodesAndNeverAnEmptyOne) {
    Outcome holder =
        run({"print", arg("h.mxh"), "--pdf", arg("h.pdf"), "--settings", arg("plain.ini")});
    ASSERT_EQ(holder.status, 0) << holder.err;
    // The picture has no body: it prints nothing, and says so.
    EXPECT_EQ(holder.out, arg("h.pdf") + ": 2 pages\n");
    EXPECT_THAT(holder.err, HasSubstr("h : pic"));
    EXPECT_EQ(test::pdfPages(arg("h.pdf")), 2);
    const std::string text = test::pdfText(arg("h.pdf"));
    EXPECT_THAT(text, HasSubstr("alpha line"));
    EXPECT_THAT(text, HasSubstr("日本語"));

    Outcome none = run({"print", arg("one.txt"), "--pdf", arg("none.pdf"), "--settings",
                        arg("plain.ini"), "--set", "PageOption=poEven"});
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(none.err, "zel-tool: Nothing to print in the chosen page range.\n");
    EXPECT_FALSE(std::filesystem::exists(folder.osPath("none.pdf")));
    EXPECT_EQ(run({"print", arg("one.txt")}).status, 1);
    Outcome unwritable = run({"print", arg("one.txt"), "--pdf", arg("no/such/folder.pdf"),
                              "--settings", arg("plain.ini")});
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_THAT(unwritable.err, HasSubstr("Failure: the print job could not start"));
}

// The words reach the zel program as given, --raw included: a node name in
// Shift_JIS bytes finds its node only when the tool was told they are raw.
TEST_F(PrintVerbs, PrintHandsRawWordsOver) {
    write("j.mxh", "<Holder name=\"j\"><Record name=\"\x93\xfa\x96\x7b\">x<BR/></Record></Holder>");
    const std::vector<std::string> words = {"print",      arg("j.mxh"), "\x93\xfa\x96\x7b", "--pdf",
                                            arg("j.pdf"), "--settings", arg("plain.ini")};
    Outcome raw = run([&] {
        std::vector<std::string> all = {"--raw"};
        all.insert(all.end(), words.begin(), words.end());
        return all;
    }());
    ASSERT_EQ(raw.status, 0) << raw.err;
    EXPECT_EQ(test::pdfPages(arg("j.pdf")), 1);
    EXPECT_EQ(run(words).status, 1);
    EXPECT_EQ(run({"print", "--pdf"}).err,
              "zel-tool: option --pdf needs a value\nTry 'zel-tool --help'.\n");
}
#endif

}  // namespace
}  // namespace zel
