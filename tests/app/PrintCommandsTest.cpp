// The print commands in the window, printing to a PDF file that poppler reads
// back: one node, the print format dialog and its settings file, the marked
// nodes, every node of a holder with its question and Break, and the node
// window's Print.

#include <QCoreApplication>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <filesystem>

#include "app/AppTestSupport.h"
#include "app/commands/CommandTable.h"
#include "export/PrintIniFile.h"
#include "export/PrintStore.h"
#include "export/TextPrinter.h"
#include "export/ui/ScriptedPrintHost.h"
#include "export/ui/TFormPrintFormat.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "views/MemoNodeUI.h"
#include "views/TFormMemoNode.h"

namespace zel {
namespace {

class PrintCommandsTest : public AppTest {
  protected:
    // A memo file of one holder "A" whose nodes have memo lines, shown, with
    // the window's printer writing out.pdf.
    void open(std::vector<std::string> nodes) {
        openMemoFile({{"A", nodes}});
        for (const std::string& name : nodes)
            holder("A")->byName_(name)->memo = {"text of " + name};
        window->Model2UI();
        window->printer().setOutputFormat(QPrinter::PdfFormat);
        window->printer().setOutputFileName(QString::fromStdString(path("out.pdf")));
    }
    // Stores print settings in the file beside the program.
    void storeSettings(const TStringsPrinter& printer, const std::string& before = {}) {
        PrintIniFile ini(before);
        storeHexLines(ini, kPrintSettingsSection, kPrintSettingsPrefix, printer.serialise_());
        writeText("bin/zelprint.ini", ini.text());
    }
    int pages() { return test::pdfPages(path("out.pdf")); }
    std::string pdfText() { return test::pdfText(path("out.pdf")); }
};

TEST_F(PrintCommandsTest, TheCurrentNodePrintsWithTheStoredSettingsAndItsTitle) {
    open({"a1", "a2"});
    for (const char* item : {"&File/&Print1", "&File/Print Format", "[MemoNode]/Print",
                             "[Holder]/Prints", "MarkNode/Prints"})
        EXPECT_TRUE(window->menuAction(item)->isEnabled()) << item;

    TStringsPrinter stored;
    stored.settings.setHeader("[%f]");
    stored.settings.setHeaderAlign(haLeft);
    storeSettings(stored);
    window->setCurMemoNode_(holder("A")->byName_("a2"));
    EXPECT_EQ(runCommand(*window, "UIPrintMemoNode"), 0);
    EXPECT_EQ(window->statusMessage(), "Done: UIPrintMemoNode a2");
    EXPECT_EQ(pages(), 1);
    EXPECT_NE(pdfText().find("[A : a2]"), std::string::npos) << pdfText();
    EXPECT_NE(pdfText().find("text of a2"), std::string::npos);

    // A print that cannot start is no success.
    window->printer().setOutputFileName(QString::fromStdString(path("missing/out.pdf")));
    EXPECT_EQ(window->UIPrintMemoNode(), -1);
    EXPECT_EQ(window->statusMessage().rfind("Failure: the print job could not start", 0), 0u)
        << window->statusMessage();
    EXPECT_FALSE(window->isDoing());

    // Without a printer every job asks for its PDF file, beside the memo file.
    window->printer().setOutputFileName(QString());
    prompter->input(path("asked.pdf"));
    EXPECT_EQ(window->UIPrintMemoNode(), 0);
    EXPECT_EQ(prompter->asked.back(), path("print.pdf"));
    EXPECT_TRUE(exists("asked.pdf"));
    prompter->input("", false);
    EXPECT_EQ(window->UIPrintMemoNode(), -1);
    EXPECT_EQ(window->statusMessage(), "Failure: no PDF file was chosen.");
}

TEST_F(PrintCommandsTest, PrintFormatEditsAndStoresTheSettingsOnlyOnOk) {
    open({"a1"});
    MemoNode* picture = holder("A")->byName_("a1");
    picture->putField_("Content-Type", "\"image/jpeg\"");
    EXPECT_EQ(window->UIPrintFormat(), -1);
    EXPECT_EQ(window->statusMessage(),
              "Could not open Print Dialog. Because you select text Memo Node! ");
    picture->removeField_("Content-Type");

    const std::string before = "; kept\r\n[Window]\r\nTop=3\r\n";
    writeText("bin/zelprint.ini", before);
    prompter->printWindow([](QDialog& dialog) {
        auto& form = dynamic_cast<TFormStringsPrint&>(dialog);
        EXPECT_TRUE(form.printButton->isEnabled());
        form.marginTop->setValue(25);
        form.cancelButton->click();
        return form.result();
    });
    EXPECT_EQ(window->UIPrintFormat(), 0);
    EXPECT_EQ(window->statusMessage(), "Done: print1");
    EXPECT_EQ(readText("bin/zelprint.ini"), before);

    prompter->printWindow([](QDialog& dialog) {
        auto& form = dynamic_cast<TFormStringsPrint&>(dialog);
        form.marginTop->setValue(25);
        form.okButton->click();
        return form.result();
    });
    EXPECT_EQ(window->UIPrintFormat(), 0);
    const std::string after = readText("bin/zelprint.ini");
    EXPECT_EQ(after.substr(0, before.size()), before);
    TStringsPrinter read;
    EXPECT_EQ(loadPrintSettings_(read, printSettingsFiles("zelprint.ini", path("bin"))),
              StoreLoad::Loaded);
    EXPECT_EQ(read.settings.marginTop(), 25);
    EXPECT_EQ(read.settings.fileName(), "A : a1");
}

TEST_F(PrintCommandsTest, MarkedNodesPrintInOneJob) {
    open({"a1", "a2", "a3"});
    EXPECT_EQ(window->UIPrintsMarkNode(), 0);
    EXPECT_EQ(window->statusMessage(), "Count of Node marked is 0");
    EXPECT_FALSE(exists("out.pdf"));

    setNodeMark(*holder("A")->byName_("a1"), true);
    setNodeMark(*holder("A")->byName_("a3"), true);
    EXPECT_EQ(window->UIPrintsMarkNode(), 2);
    EXPECT_EQ(window->statusMessage(), "Done: Prints MarkNode");
    EXPECT_EQ(pages(), 2);
    const std::string text = pdfText();
    EXPECT_NE(text.find("text of a1"), std::string::npos);
    EXPECT_EQ(text.find("text of a2"), std::string::npos);
    EXPECT_NE(text.find("text of a3"), std::string::npos);
}

TEST_F(PrintCommandsTest, EveryNodeOfTheHolderAfterAskingAndBreakStopsBetweenNodes) {
    open({"a1", "a2", "a3"});
    prompter->answer(Answer::Cancel, "Shall I print 3 Pages ?.");
    EXPECT_EQ(window->UIPrintsHolder(), 0);
    EXPECT_EQ(window->statusMessage(), "Cannel: Holder prints.");
    EXPECT_FALSE(exists("out.pdf"));

    prompter->answer(Answer::Ok, "Shall I print 3 Pages ?.");
    EXPECT_EQ(runCommand(*window, "UIPrintsHolder"), 3);
    EXPECT_EQ(window->statusMessage(), "Done: Holder prints 3 Pages.");
    EXPECT_EQ(pages(), 3);

    // Break pressed as the printing starts: no node is printed.
    std::filesystem::remove(path("out.pdf"));
    prompter->answer(Answer::Ok);
    QTimer::singleShot(0, window.get(), [this] { window->Break(); });
    EXPECT_EQ(window->UIPrintsHolder(), 0);
    EXPECT_EQ(window->statusMessage(), "Break: Holder Prints 0/3");
    EXPECT_FALSE(exists("out.pdf"));

    // Settings that leave no room end the run with the reason.
    TStringsPrinter narrow;
    narrow.settings.setMarginLeft(100);
    narrow.settings.setMarginRight(100);
    narrow.settings.setColumnCount(3);
    storeSettings(narrow);
    prompter->answer(Answer::Ok);
    EXPECT_EQ(window->UIPrintsHolder(), -1);
    EXPECT_EQ(window->statusMessage(), "ERROR: TStringsPrinter. The text area is too small.");
    EXPECT_FALSE(window->isDoing());
}

TEST_F(PrintCommandsTest, TheNodeWindowPrintsItsNode) {
    open({"a1"});
    ASSERT_GE(window->UIShowOtherWindow(), 0);
    TFormMemoNode* shown = TFormMemoNode::ownWindowOf(holder("A")->byName_("a1"));
    ASSERT_NE(shown, nullptr);
    shown->Print();
    EXPECT_EQ(shown->statusPanel->text().toStdString(), "Printed Done: UIPrintMemoNode a1");
    EXPECT_EQ(pages(), 1);
    shown->close();
}

}  // namespace
}  // namespace zel
