#pragma once
// A Prompter for tests: it answers from a script, in order, records every
// question, and fails the test on a question nobody scripted.

#include <gtest/gtest.h>

#include <QDialog>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/Prompter.h"
#include "formats/ImageCodecs.h"

namespace zel {

class ScriptedPrompter : public UnattendedPrompter {
  public:
    ~ScriptedPrompter() override {
        EXPECT_TRUE(answers_.empty()) << answers_.size() << " scripted answers left unused";
        EXPECT_TRUE(inputs_.empty()) << inputs_.size() << " scripted inputs left unused";
        EXPECT_TRUE(holderChoices_.empty())
            << holderChoices_.size() << " scripted holder choices left unused";
        EXPECT_TRUE(calendarChoices_.empty())
            << calendarChoices_.size() << " scripted calendar choices left unused";
        EXPECT_TRUE(printWindows_.empty())
            << printWindows_.size() << " scripted print windows left unused";
        EXPECT_TRUE(grepChoices_.empty())
            << grepChoices_.size() << " scripted grep dialog answers left unused";
        EXPECT_TRUE(jpegChoices_.empty())
            << jpegChoices_.size() << " scripted JPEG settings left unused";
    }

    // The next message box is answered with `answer`; when `expected` is
    // given, the box's text must contain it.
    ScriptedPrompter& answer(Answer answer, std::string expected = {}) {
        answers_.push_back({answer, std::move(expected)});
        return *this;
    }
    // The next input box or chooser is confirmed with `value` (cancelled when
    // `confirmed` is false).
    ScriptedPrompter& input(std::string value, bool confirmed = true) {
        inputs_.push_back({std::move(value), confirmed});
        return *this;
    }

    // The next holder selection answers the name `name` (offered or not, so
    // that callers' checks can be driven), asks for a new holder or is cancelled.
    ScriptedPrompter& chooseHolder(std::string name) {
        holderChoices_.push_back({HolderChoice::Kind::Holder, std::move(name)});
        return *this;
    }
    ScriptedPrompter& chooseNewHolder() {
        holderChoices_.push_back({HolderChoice::Kind::NewHolder, {}});
        return *this;
    }
    ScriptedPrompter& cancelHolderChoice() {
        holderChoices_.push_back({});
        return *this;
    }

    // The next HTML calendar dialog closes with `choice` (a default one:
    // cancelled).
    ScriptedPrompter& chooseCalendar(CalendarChoice choice) {
        calendarChoices_.push_back(choice);
        return *this;
    }

    // The next grep options dialog is confirmed with `choice`, or cancelled.
    ScriptedPrompter& chooseGrep(GrepChoice choice) {
        grepChoices_.push_back(std::move(choice));
        return *this;
    }
    ScriptedPrompter& cancelGrep() {
        grepChoices_.push_back(std::nullopt);
        return *this;
    }

    // The next JPEG settings dialog is confirmed with `options`, or cancelled.
    ScriptedPrompter& chooseJpeg(JpegOptions options) {
        jpegChoices_.push_back(options);
        return *this;
    }
    ScriptedPrompter& cancelJpeg() {
        jpegChoices_.push_back(std::nullopt);
        return *this;
    }

    // The next print format dialog or preview is handed to `answer`, which
    // works it as a user would and yields its result.
    ScriptedPrompter& printWindow(std::function<int(QDialog&)> answer) {
        printWindows_.push_back(std::move(answer));
        return *this;
    }

    Answer askTitled(Tone tone, std::string_view caption, std::string_view text,
                     unsigned buttons) override {
        captions.emplace_back(caption);
        return ask(tone, text, buttons);
    }
    Answer ask(Tone, std::string_view text, unsigned buttons) override {
        asked.emplace_back(text);
        offeredButtons = buttons;
        if (answers_.empty()) {
            ADD_FAILURE() << "unexpected question: " << text;
            return (buttons & ButtonCancel) ? Answer::Cancel : Answer::Ok;
        }
        Scripted next = answers_.front();
        answers_.pop_front();
        if (!next.expected.empty()) {
            EXPECT_NE(std::string(text).find(next.expected), std::string::npos)
                << "question: " << text << "\nexpected it to contain: " << next.expected;
        }
        return next.answer;
    }
    bool inputQuery(std::string_view, std::string_view prompt, std::string& value) override {
        asked.emplace_back(prompt);
        Input next = nextInput(prompt);
        if (next.confirmed) value = next.value;
        return next.confirmed;
    }
    // Scripted with input() like the other boxes, and also told in askedMasked.
    bool passwordQuery(std::string_view caption, std::string_view prompt,
                       std::string& value) override {
        askedMasked.emplace_back(prompt);
        value.clear();
        return inputQuery(caption, prompt, value);
    }
    CalendarChoice htmlCalendar() override {
        if (calendarChoices_.empty()) {
            ADD_FAILURE() << "unexpected HTML calendar dialog";
            return {};
        }
        CalendarChoice next = calendarChoices_.front();
        calendarChoices_.pop_front();
        return next;
    }
    bool grepOptions(GrepChoice& choice) override {
        offeredGrep = choice;
        if (grepChoices_.empty()) {
            ADD_FAILURE() << "unexpected grep options dialog";
            return false;
        }
        std::optional<GrepChoice> next = grepChoices_.front();
        grepChoices_.pop_front();
        if (next) choice = *next;
        return next.has_value();
    }
    bool jpegSettings(JpegOptions& options) override {
        offeredJpeg = options;
        if (jpegChoices_.empty()) {
            ADD_FAILURE() << "unexpected JPEG settings dialog";
            return false;
        }
        std::optional<JpegOptions> next = jpegChoices_.front();
        jpegChoices_.pop_front();
        if (next) options = *next;
        return next.has_value();
    }
    int printWindow(QDialog& window) override {
        if (printWindows_.empty()) {
            ADD_FAILURE() << "unexpected print window " << window.windowTitle().toStdString();
            return QDialog::Rejected;
        }
        auto next = std::move(printWindows_.front());
        printWindows_.pop_front();
        return next(window);
    }
    HolderChoice selectHolder(const std::vector<std::string>& names, int currentIndex) override {
        offeredHolders = names;
        offeredCurrent = currentIndex;
        if (holderChoices_.empty()) {
            ADD_FAILURE() << "unexpected holder selection";
            return {};
        }
        HolderChoice next = holderChoices_.front();
        holderChoices_.pop_front();
        return next;
    }

    std::vector<std::string> asked;
    // The prompts of the password boxes among them.
    std::vector<std::string> askedMasked;
    // The titles of the titled boxes, and the buttons of the last box.
    std::vector<std::string> captions;
    unsigned offeredButtons = 0;
    // The entries and the "Current" entry of the last holder selection.
    std::vector<std::string> offeredHolders;
    int offeredCurrent = -1;
    // The settings the last grep options dialog was shown with.
    GrepChoice offeredGrep;
    // The settings the last JPEG settings dialog was shown with.
    JpegOptions offeredJpeg;

  protected:
    // A file chooser's question is known by its initial path, a folder
    // chooser's by its caption.
    std::string choosePath(PathQuestion question, std::string_view what,
                           std::string_view initial) override {
        return chosen(question == PathQuestion::Folder ? what : initial);
    }
    void declined(std::string_view dialog) override {
        ADD_FAILURE() << "unexpected " << dialog << " dialog";
    }

  private:
    struct Scripted {
        Answer answer;
        std::string expected;
    };
    struct Input {
        std::string value;
        bool confirmed;
    };
    Input nextInput(std::string_view what) {
        if (inputs_.empty()) {
            ADD_FAILURE() << "unexpected input question: " << what;
            return {{}, false};
        }
        Input next = inputs_.front();
        inputs_.pop_front();
        return next;
    }
    std::string chosen(std::string_view what) {
        asked.emplace_back(what);
        Input next = nextInput(what);
        return next.confirmed ? next.value : std::string();
    }

    std::deque<Scripted> answers_;
    std::deque<Input> inputs_;
    std::deque<HolderChoice> holderChoices_;
    std::deque<CalendarChoice> calendarChoices_;
    std::deque<std::function<int(QDialog&)>> printWindows_;
    std::deque<std::optional<GrepChoice>> grepChoices_;
    std::deque<std::optional<JpegOptions>> jpegChoices_;
};

}  // namespace zel
