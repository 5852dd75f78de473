// The Qt prompter's boxes as a person meets them: a timer finds the modal box
// once it shows, looks at it and answers it.

#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "app/Prompter.h"

namespace zel {
namespace {

class QtPrompterTest : public ::testing::Test {
  protected:
    // Test runs may ask for every box to be skipped; these boxes must show.
    void SetUp() override {
        if (const char* skip = std::getenv("ZEL_NO_DIALOGS")) skipped_ = skip;
        unsetenv("ZEL_NO_DIALOGS");
    }
    void TearDown() override {
        if (skipped_) setenv("ZEL_NO_DIALOGS", skipped_->c_str(), 1);
    }
    // Runs `act` on the modal box of type W shown by what follows.
    template <class W>
    static void whenShown(std::function<void(W&)> act) {
        QTimer::singleShot(0, qApp, [act] {
            auto* box = qobject_cast<W*>(QApplication::activeModalWidget());
            if (!box) {
                ADD_FAILURE() << "no modal box";
                if (QWidget* other = QApplication::activeModalWidget()) other->close();
                return;
            }
            act(*box);
        });
    }

    QtPrompter prompter{nullptr};

  private:
    std::optional<std::string> skipped_;
};

TEST_F(QtPrompterTest, APasswordIsTypedMaskedIntoAnEmptyBox) {
    whenShown<QInputDialog>([](QInputDialog& box) {
        EXPECT_EQ(box.textEchoMode(), QLineEdit::Password);
        EXPECT_EQ(box.textValue(), QString());
        EXPECT_EQ(box.labelText(), "Password for ann");
        box.setTextValue("s3cret");
        box.accept();
    });
    std::string password = "left over";
    EXPECT_TRUE(prompter.passwordQuery("Password", "Password for ann", password));
    EXPECT_EQ(password, "s3cret");

    // Other input boxes show what is typed.
    whenShown<QInputDialog>([](QInputDialog& box) {
        EXPECT_EQ(box.textEchoMode(), QLineEdit::Normal);
        box.reject();
    });
    std::string name = "kept";
    EXPECT_FALSE(prompter.inputQuery("Name", "Who?", name));
    EXPECT_EQ(name, "kept");
}

TEST_F(QtPrompterTest, ATitledBoxOffersAbortRetryIgnore) {
    whenShown<QMessageBox>([](QMessageBox& box) {
        EXPECT_EQ(box.windowTitle(), "Copying");
        EXPECT_NE(box.button(QMessageBox::Abort), nullptr);
        EXPECT_NE(box.button(QMessageBox::Ignore), nullptr);
        EXPECT_EQ(box.button(QMessageBox::Ok), nullptr);
        box.button(QMessageBox::Retry)->click();
    });
    EXPECT_EQ(prompter.askTitled(Tone::Warning, "Copying", "Disk full",
                                 ButtonAbort | ButtonRetry | ButtonIgnore),
              Answer::Retry);

    whenShown<QMessageBox>([](QMessageBox& box) {
        EXPECT_EQ(box.windowTitle(), "zel");
        box.button(QMessageBox::Ok)->click();
    });
    EXPECT_EQ(prompter.ask(Tone::Information, "Done", ButtonOk), Answer::Ok);
}

}  // namespace
}  // namespace zel
