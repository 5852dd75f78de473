// An index of a hundred thousand holders opens in the window: every holder
// gets its tab, the current one in sight, and the window goes on answering.
// The benchmark bench_holder_index times it.

#include <string>

#include "app/AppTestSupport.h"
#include "model/MemoFile.h"
#include "views/HolderTabs.h"

namespace zel {
namespace {

constexpr int kHolders = 100000;

class LargeIndexTest : public AppTest {
  protected:
    void writeIndex(const std::string& name, bool sameName) {
        std::string text =
            "<?xml version=\"1.0\" encoding=\"Shift_JIS\" ?>\r\n<File name=\"big\">\r\n"
            "  <Field Version=\"00.15.08\" />\r\n";
        for (int i = 0; i < kHolders; ++i)
            text += "  <Holder name=\"" +
                    (sameName ? std::string("holder") : "h" + std::to_string(i)) +
                    "\">\r\n    <Field FlagLoaded=\"false\" />\r\n  </Holder>\r\n";
        writeText(name, text + "</File>\r\n");
    }
};

TEST_F(LargeIndexTest, AHundredThousandHoldersOpenWithATabEachAndTheWindowAnswers) {
    for (bool sameName : {false, true}) {
        SCOPED_TRACE(sameName ? "one name" : "distinct names");
        writeIndex(sameName ? "same.mxa" : "distinct.mxa", sameName);
        makeWindow();
        window->resize(800, 600);
        window->show();
        window->openMemoFile_(path(sameName ? "same.mxa" : "distinct.mxa"));
        window->repaint();
        ASSERT_EQ(window->aFile->countOfHolders_(), kHolders);
        HolderTabs* tabs = window->holderView().tabs();
        ASSERT_EQ(tabs->count(), kHolders);
        EXPECT_EQ(tabs->currentIndex(), 0);
        EXPECT_EQ(tabs->holderAt(kHolders - 1), window->aFile->holderAt_(kHolders - 1));

        tabs->setCurrentIndex(kHolders - 1);
        EXPECT_EQ(window->getCurHolder(), window->aFile->holderAt_(kHolders - 1));
        EXPECT_FALSE(tabs->tabRect(kHolders - 1).isEmpty()) << "the last tab is in sight";
    }
}

}  // namespace
}  // namespace zel
