// The print format dialog, driven as a user would: fields, radio buttons,
// double clicks and buttons, with a scripted host.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <filesystem>

#include "export/ui/ScriptedPrintHost.h"
#include "export/ui/TFormPrintFormat.h"
#include "support/TempFolder.h"

namespace zel {
namespace {

using test::mouse;
using test::typeInto;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

class TFormPrintFormatTest : public ::testing::Test {
  protected:
    test::TempFolder folder;
    test::ScriptedPrintHost host;
    std::unique_ptr<QPrinter> printer = test::pdfPrinter(folder.osPath("out.pdf").string());
    TStringsPrinter text;
    std::vector<std::string> lines{"alpha", "beta"};
};

TEST_F(TFormPrintFormatTest, OnlyOkTakesTheEditedSettingsOver) {
    text.settings.setMarginTop(7);
    text.settings.setHeader("old");
    auto edit = [&](bool confirm) {
        host.onModal = [&](QDialog& dialog) {
            auto& form = dynamic_cast<TFormStringsPrint&>(dialog);
            EXPECT_EQ(form.windowTitle(), "TStringsPrinter");
            EXPECT_EQ(form.marginTop->value(), 7);
            EXPECT_EQ(form.header->text(), "old");
            form.marginLeft->setValue(15);
            form.columns->button(1)->click();
            form.lineNumber->click();
            form.headerAlign->button(haRight)->click();
            typeInto(form.header, QStringLiteral("Seite %p"));
            form.pageOption->button(poOdd)->click();
            form.fontSize->setCurrentText(QStringLiteral("large"));
            EXPECT_EQ(form.settings().font().size, 9);
            form.fontSize->setCurrentText(QStringLiteral("12"));
            (confirm ? form.okButton : form.cancelButton)->click();
            return form.result();
        };
        return editPrintSettings_(text, *printer, &lines, host);
    };
    EXPECT_FALSE(edit(false));
    EXPECT_EQ(text.settings.marginLeft(), 0);
    EXPECT_TRUE(edit(true));
    EXPECT_EQ(text.settings.marginLeft(), 15);
    EXPECT_EQ(text.settings.columnCount(), 2);
    EXPECT_TRUE(text.settings.lineNumber());
    EXPECT_EQ(text.settings.headerAlign(), haRight);
    EXPECT_EQ(text.settings.header(), "Seite %p");
    EXPECT_EQ(text.settings.pageOption(), poOdd);
    EXPECT_EQ(text.settings.font().size, 12);
}

TEST_F(TFormPrintFormatTest, RangesEnableTheirFieldsAndNumbersWrapAround) {
    TFormStringsPrint form(text, *printer, &lines, host);
    EXPECT_FALSE(form.startPage->isEnabled());
    EXPECT_FALSE(form.lastLine->isEnabled());

    form.rangeOption->button(roLimited)->click();
    EXPECT_TRUE(form.startPage->isEnabled());
    EXPECT_TRUE(form.lastPage->isEnabled());
    typeInto(form.startPage, QStringLiteral("6"));
    EXPECT_EQ(form.settings().firstPageNumber(), 6);
    EXPECT_EQ(form.firstPageNumber->text(), "6");
    form.rangeOption->button(roWhole)->click();
    EXPECT_FALSE(form.startPage->isEnabled());
    EXPECT_EQ(form.settings().firstPageNumber(), 1);
    EXPECT_EQ(form.settings().startPage(), 6);
    // Limiting again starts the numbers at the start page.
    form.rangeOption->button(roLimited)->click();
    EXPECT_EQ(form.firstPageNumber->text(), "6");

    typeInto(form.lastLine, QStringLiteral("0"));
    EXPECT_EQ(form.settings().lastLine(), 999999);
    EXPECT_EQ(form.lastLine->text(), "999999");
    typeInto(form.firstLineNumber, QStringLiteral("1000000"));
    EXPECT_EQ(form.settings().firstLineNumber(), 1);
    form.lineRangeOption->button(roLimited)->click();
    typeInto(form.startLine, QStringLiteral("3"));
    EXPECT_EQ(form.settings().firstLineNumber(), 3);

    // A double click on any of them resets all six.
    mouse(form.lastPage, QEvent::MouseButtonDblClick, QPoint(3, 3), Qt::LeftButton);
    EXPECT_EQ(form.settings().startPage(), 1);
    EXPECT_EQ(form.settings().startLine(), 1);
    EXPECT_EQ(form.settings().firstLineNumber(), 1);
    EXPECT_EQ(form.settings().lastLine(), 999999);
    EXPECT_EQ(form.startLine->text(), "1");
}

TEST_F(TFormPrintFormatTest, PrinterButtonsNeedLinesAndHelpListsTheKeywords) {
    TFormStringsPrint bare(text, *printer, nullptr, host);
    EXPECT_FALSE(bare.printButton->isEnabled());
    EXPECT_FALSE(bare.previewButton->isEnabled());
    EXPECT_FALSE(bare.printerSettingButton->isEnabled());
    EXPECT_FALSE(bare.printerName->isEnabled());
    EXPECT_TRUE(bare.okButton->isEnabled());

    TFormStringsPrint form(text, *printer, &lines, host);
    EXPECT_EQ(form.paperSize->text(), "A4 210 x 297 mm");
    EXPECT_EQ(form.printerOrientation->text(), "poPortrait");
    form.printerSettingButton->click();
    EXPECT_EQ(host.pageSetups, 1);
    form.helpButton->click();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].substr(0, 17), "Header, Footer \x82\xc9");
    EXPECT_THAT(host.messages[0], HasSubstr("\n\n%p  \x83y\x81[\x83W\x94\xd4\x8d\x86\n"));
    EXPECT_THAT(host.messages[0], HasSubstr("\n%t  \x8e\x9e\x8a\xd4"));
}

TEST_F(TFormPrintFormatTest, PrintClosesOnlyWhenSomethingWasPrinted) {
    TFormStringsPrint form(text, *printer, &lines, host);
    form.marginLeft->setValue(100);
    form.marginRight->setValue(100);
    form.columns->button(2)->click();
    form.printButton->click();
    EXPECT_THAT(host.messages, ElementsAre("ERROR: TStringsPrinter. The text area is too small."));
    EXPECT_EQ(form.result(), 0);
    form.previewButton->click();
    EXPECT_EQ(host.messages.size(), 2u);
    EXPECT_FALSE(std::filesystem::exists(folder.osPath("out.pdf")));

    form.marginRight->setValue(0);
    int previews = 0;
    host.onModal = [&](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Preview");
        ++previews;
        return QDialog::Accepted;
    };
    form.previewButton->click();
    EXPECT_EQ(previews, 1);
    EXPECT_EQ(form.result(), 0);
    form.printButton->click();
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(test::pdfPages(folder.osPath("out.pdf").string()), 1);
}

}  // namespace
}  // namespace zel
