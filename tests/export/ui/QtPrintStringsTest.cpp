// The text printer on Qt Print Support, printing to PDF files that poppler
// reads back: page counts, header and footer texts, ranges, Japanese text,
// pictures and other bodies, and the failures that must not look like success.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>

#include "export/ui/QtPrintInfo.h"
#include "export/ui/QtPrintStrings.h"
#include "export/ui/ScriptedPrintHost.h"
#include "support/TempFolder.h"

namespace zel {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

std::vector<std::string> numberedLines(int count) {
    std::vector<std::string> lines;
    for (int i = 1; i <= count; ++i) lines.push_back("Line " + std::to_string(i));
    return lines;
}

class QtPrintStringsTest : public ::testing::Test {
  protected:
    std::string pdf(const char* name) { return folder.osPath(name).string(); }

    // Prints `lines` into the PDF `name` in one job.
    PrintReport printTo(const char* name, const std::vector<std::string>& lines) {
        auto printer = test::pdfPrinter(pdf(name));
        QtPrintJob job(*printer, host);
        PrintReport report = printStrings_(text, lines, job, host);
        EXPECT_EQ(job.finish(), report.outcome != PrintOutcome::Failed);
        return report;
    }

    test::TempFolder folder;
    test::ScriptedPrintHost host;
    TStringsPrinter text;
};

TEST_F(QtPrintStringsTest, OneLinePrintsOnePageWithHeaderAndFooter) {
    text.settings.setFileName("memo : first");
    text.settings.setHeader("%f");
    text.settings.setHeaderAlign(haLeft);
    text.settings.setFooter("No.%p");
    text.settings.setFooterAlign(haCenter);
    ASSERT_TRUE(printTo("one.pdf", {"hello"}).ok());
    EXPECT_EQ(test::pdfPages(pdf("one.pdf")), 1);
    const std::string shown = test::pdfText(pdf("one.pdf"));
    EXPECT_THAT(shown, HasSubstr("memo : first"));
    EXPECT_THAT(shown, HasSubstr("hello"));
    EXPECT_THAT(shown, HasSubstr("No.1"));
}

TEST_F(QtPrintStringsTest, JapaneseTextAndPageRangesReachThePaper) {
    // "日本語のメモ" in every line.
    std::vector<std::string> lines = numberedLines(600);
    for (std::string& line : lines) line += " \x93\xfa\x96\x7b\x8c\xea\x82\xcc\x83\x81\x83\x82";
    text.settings.setFooter("%p");
    text.settings.setFooterAlign(haRight);
    ASSERT_TRUE(printTo("all.pdf", lines).ok());
    const int pages = test::pdfPages(pdf("all.pdf"));
    ASSERT_GE(pages, 4);
    EXPECT_THAT(test::pdfText(pdf("all.pdf"), 1, 1), HasSubstr("Line 1 日本語のメモ"));

    text.settings.setRangeOption(roLimited);
    text.settings.setStartPage(2);
    text.settings.setLastPage(3);
    ASSERT_TRUE(printTo("range.pdf", lines).ok());
    EXPECT_EQ(test::pdfPages(pdf("range.pdf")), 2);
    // The second page carries number 1, the third number 2.
    const std::string second = test::pdfText(pdf("range.pdf"), 1, 1);
    EXPECT_THAT(second, Not(HasSubstr("Line 1 ")));
    EXPECT_THAT(second, HasSubstr("\n1\n"));
    EXPECT_THAT(test::pdfText(pdf("range.pdf"), 2, 2), HasSubstr("\n2\n"));

    text.settings.setRangeOption(roWhole);
    text.settings.setPageOption(poEven);
    ASSERT_TRUE(printTo("even.pdf", lines).ok());
    EXPECT_EQ(test::pdfPages(pdf("even.pdf")), pages / 2);
}

TEST_F(QtPrintStringsTest, NothingChosenOrNothingFittingPrintsNoSheet) {
    text.settings.setPageOption(poEven);
    PrintReport report = printTo("none.pdf", {"one page only"});
    EXPECT_EQ(report.outcome, PrintOutcome::NothingToPrint);
    EXPECT_EQ(report.message, "Nothing to print in the chosen page range.");
    EXPECT_FALSE(std::filesystem::exists(pdf("none.pdf")));

    TStringsPrinter narrow;
    narrow.settings.setMarginLeft(100);
    narrow.settings.setMarginRight(100);
    narrow.settings.setColumnCount(3);
    auto printer = test::pdfPrinter(pdf("narrow.pdf"));
    QtPrintJob job(*printer, host);
    report = printStrings_(narrow, {"x"}, job, host);
    EXPECT_EQ(report.outcome, PrintOutcome::TooSmall);
    EXPECT_EQ(report.message, "ERROR: TStringsPrinter. The text area is too small.");
    EXPECT_TRUE(job.finish());
    EXPECT_FALSE(std::filesystem::exists(pdf("narrow.pdf")));
}

TEST_F(QtPrintStringsTest, CancelAndAJobThatCannotStartAreNotSuccess) {
    host.cancelAfter = 2;
    EXPECT_EQ(printTo("cancelled.pdf", numberedLines(500)).outcome, PrintOutcome::Cancelled);
    EXPECT_FALSE(std::filesystem::exists(pdf("cancelled.pdf")));
    host.cancelAfter = -1;

    const PrintReport report = printTo("missing/folder.pdf", {"x"});
    EXPECT_EQ(report.outcome, PrintOutcome::Failed);
    EXPECT_THAT(report.message, HasSubstr("Failure: the print job could not start"));

    // A PDF printer without a file asks for one; no answer prints nothing.
    QPrinter unnamed(QPrinter::HighResolution);
    unnamed.setOutputFormat(QPrinter::PdfFormat);
    QtPrintJob job(unnamed, host);
    EXPECT_EQ(printStrings_(text, {"x"}, job, host).outcome, PrintOutcome::Failed);
    host.pdfFile = pdf("asked.pdf");
    QtPrintJob asked(unnamed, host);
    EXPECT_TRUE(printStrings_(text, {"x"}, asked, host).ok());
    EXPECT_TRUE(asked.finish());
    EXPECT_EQ(test::pdfPages(pdf("asked.pdf")), 1);
    // The next job asks again instead of overwriting that file.
    EXPECT_TRUE(unnamed.outputFileName().isEmpty());
}

TEST_F(QtPrintStringsTest, NodesOfEveryKindShareOneJob) {
    QImage picture(200, 100, QImage::Format_RGB32);
    picture.fill(Qt::red);
    NodePrint lines;
    lines.title = "h : notes";
    lines.lines = {"first node"};
    NodePrint image;
    image.kind = NodePrintKind::Image;
    image.caption = "20240305 140709 h : photo";
    NodePrint other;
    other.kind = NodePrintKind::Document;
    other.text = "     h : archive";
    other.documentTitle = "\"application/zip\"";

    text.settings.setHeader("%f");
    text.settings.setHeaderAlign(haLeft);
    auto printer = test::pdfPrinter(pdf("nodes.pdf"));
    QtPrintJob job(*printer, host);
    EXPECT_TRUE(printNodePrint_(lines, QImage(), text, job, host).ok());
    EXPECT_TRUE(printNodePrint_(image, picture, text, job, host).ok());
    EXPECT_TRUE(printNodePrint_(other, QImage(), text, job, host).ok());
    // An empty picture puts nothing on paper.
    EXPECT_EQ(printNodePrint_(image, QImage(), text, job, host).outcome,
              PrintOutcome::NothingToPrint);
    ASSERT_TRUE(job.finish());
    EXPECT_EQ(job.sheets(), 3);
    EXPECT_EQ(test::pdfPages(pdf("nodes.pdf")), 3);
    EXPECT_THAT(test::pdfText(pdf("nodes.pdf"), 1, 1), HasSubstr("h : notes"));
    EXPECT_THAT(test::pdfText(pdf("nodes.pdf"), 2, 2), HasSubstr("20240305 140709 h : photo"));
    EXPECT_THAT(test::pdfText(pdf("nodes.pdf"), 3, 3), HasSubstr("h : archive"));
}

TEST(QtPrintInfoTest, PrinterPaperAndTheStandardTable) {
    EXPECT_EQ(standardPaperName(1), "DMPAPER_LETTER");
    EXPECT_EQ(standardPaperName(9), "DMPAPER_A4");
    EXPECT_EQ(standardPaperName(68), "DMPAPER_A3_EXTRA_TRANSVERSE");
    EXPECT_EQ(standardPaperName(0), "");
    EXPECT_EQ(standardPaperName(69), "");
    int width = -1, height = -1;
    standardPaperSize(9, width, height);
    EXPECT_EQ(width, 210);
    EXPECT_EQ(height, 297);
    standardPaperSize(400, width, height);
    EXPECT_EQ(width, 0);
    EXPECT_EQ(height, 0);

    auto printer = test::pdfPrinter("/nonexistent/x.pdf");
    printer->setPageOrientation(QPageLayout::Landscape);
    TStringsPrinterInfo info;
    info.read(*printer);
    EXPECT_EQ(info.printerName, "\x95\x73\x96\xbe");
    EXPECT_EQ(info.paperCode, 9);
    EXPECT_EQ(info.paperText(), "A4 210 x 297 mm");
    EXPECT_EQ(info.orientation, "poLandscape");
}

}  // namespace
}  // namespace zel
