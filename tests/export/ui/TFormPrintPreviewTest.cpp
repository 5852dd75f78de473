// The preview: moving between pages, choosing the scale, dragging the page.

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>

#include "export/ui/ScriptedPrintHost.h"
#include "export/ui/TFormPrintPreview.h"

namespace zel {
namespace {

using test::mouse;

TEST(TFormPrintPreviewTest, PagesAndScalesAreChosenByTheButtons) {
    PrintDocument document;
    document.frame.paperWidth = 2100;
    document.frame.paperHeight = 2970;
    for (int number = 1; number <= 3; ++number)
        document.pages.push_back(PrintPage{number, {PrintRun{RunKind::Text, 0, 0, "x"}}});
    TFormStrPreview preview(document, QFont(), 10, Qt::black, 254);
    preview.show();
    EXPECT_EQ(preview.pageLabel->text(), "  1 /   3");
    EXPECT_FALSE(preview.firstButton->isEnabled());
    EXPECT_FALSE(preview.previousButton->isEnabled());
    EXPECT_DOUBLE_EQ(preview.scale(), preview.logicalDpiX() / 254.0);

    preview.nextButton->click();
    EXPECT_EQ(preview.pageLabel->text(), "  2 /   3");
    EXPECT_TRUE(preview.previousButton->isEnabled());
    preview.lastButton->click();
    EXPECT_EQ(preview.pageIndex(), 2);
    EXPECT_FALSE(preview.nextButton->isEnabled());
    EXPECT_FALSE(preview.lastButton->isEnabled());
    preview.firstButton->click();
    EXPECT_EQ(preview.pageIndex(), 0);

    preview.adjustWidthButton->click();
    EXPECT_EQ(preview.scroller->widget()->width(), preview.scroller->viewport()->width());
    preview.adjustHeightButton->click();
    EXPECT_EQ(preview.scroller->widget()->height(), preview.scroller->viewport()->height());
    preview.actualSizeButton->click();
    EXPECT_DOUBLE_EQ(preview.scale(), preview.logicalDpiX() / 254.0);

    // Dragging the page scrolls it when it is larger than the window.
    preview.fitWidth();
    QWidget* page = preview.scroller->widget();
    QScrollBar* vertical = preview.scroller->verticalScrollBar();
    ASSERT_GT(vertical->maximum(), 0);
    mouse(page, QEvent::MouseButtonPress, QPoint(50, 200), Qt::LeftButton);
    mouse(page, QEvent::MouseMove, QPoint(50, 100), Qt::LeftButton);
    EXPECT_EQ(vertical->value(), 100);
    preview.closeButton->click();
    EXPECT_EQ(preview.result(), QDialog::Accepted);
}

}  // namespace
}  // namespace zel
