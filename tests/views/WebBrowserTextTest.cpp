// The text browser, where the full one cannot start: it says why, and shows a
// local Shift_JIS text file as text with its lines.

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QTextBrowser>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

#include "text/Sjis.h"
#include "views/WebBrowser.h"

namespace zel::test {
namespace {

class TextBrowserTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* given = std::getenv("ZEL_WEB_VIEW");
        previous_ = given ? std::optional<std::string>(given) : std::nullopt;
        setenv("ZEL_WEB_VIEW", "text", 1);
        browser_.reset(makeWebBrowser(nullptr));
    }
    void TearDown() override {
        browser_.reset();
        if (previous_)
            setenv("ZEL_WEB_VIEW", previous_->c_str(), 1);
        else
            unsetenv("ZEL_WEB_VIEW");
    }
    QString shown() const { return browser_->findChild<QTextBrowser*>()->toPlainText(); }

    std::unique_ptr<WebBrowser> browser_;

  private:
    std::optional<std::string> previous_;
};

TEST_F(TextBrowserTest, AWebAddressNoticeSaysWhyTheFullBrowserIsNotThere) {
    ASSERT_FALSE(browser_->isFullBrowser());
    EXPECT_EQ(webEngineUnavailableReason(),
              QStringLiteral("ZEL_WEB_VIEW=text asks for the text view"));
    browser_->navigate(QUrl(QStringLiteral("http://example.test/")));
    EXPECT_TRUE(shown().contains(QStringLiteral("ZEL_WEB_VIEW=text asks for the text view")))
        << shown().toStdString();
}

TEST_F(TextBrowserTest, AShiftJisTextFileShowsAsTextWithItsLines) {
    QTemporaryDir folder;
    const std::string path = folder.filePath(QStringLiteral("memo.txt")).toStdString();
    std::ofstream(path, std::ios::binary) << utf8ToSjis("一行目 <b>\r\n二行目\r\n");
    browser_->navigate(QUrl::fromLocalFile(QString::fromStdString(path)));
    EXPECT_EQ(shown(), QStringLiteral("一行目 <b>\n二行目\n"));

    // UTF-8 text stays UTF-8.
    std::ofstream(path, std::ios::binary) << "caf\xc3\xa9\n";
    browser_->refresh();
    EXPECT_EQ(shown(), QStringLiteral("café\n"));
}

}  // namespace
}  // namespace zel::test
