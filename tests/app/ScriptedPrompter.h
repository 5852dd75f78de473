#pragma once
// A Prompter for tests: it answers from a script, in order, records every
// question, and fails the test on a question nobody scripted.

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "app/Prompter.h"

namespace zel {

class ScriptedPrompter : public Prompter {
  public:
    ~ScriptedPrompter() override {
        EXPECT_TRUE(answers_.empty()) << answers_.size() << " scripted answers left unused";
        EXPECT_TRUE(inputs_.empty()) << inputs_.size() << " scripted inputs left unused";
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

    Answer ask(Tone, std::string_view text, unsigned buttons) override {
        asked.emplace_back(text);
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
    std::string openFileName(std::string_view, std::string_view initial) override {
        return chosen(initial);
    }
    std::string saveFileName(std::string_view, std::string_view initial) override {
        return chosen(initial);
    }
    std::string directoryName(std::string_view caption, std::string_view) override {
        return chosen(caption);
    }
    std::optional<QColor> chooseColor(const QColor&) override {
        ADD_FAILURE() << "unexpected colour question";
        return std::nullopt;
    }
    std::optional<QFont> chooseFont(const QFont&) override {
        ADD_FAILURE() << "unexpected font question";
        return std::nullopt;
    }

    std::vector<std::string> asked;

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
};

}  // namespace zel
