#pragma once
// The Prompter of batch runs: every question takes the next given answer, in
// order, else Cancel (else No, else OK), and each question and its answer are
// written to standard error, so nothing ever waits for a person.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/Prompter.h"

namespace zel {

class BatchPrompter : public UnattendedPrompter {
  public:
    explicit BatchPrompter(std::vector<std::string> answers) : answers_(std::move(answers)) {}

    Answer ask(Tone tone, std::string_view text, unsigned buttons) override;
    bool inputQuery(std::string_view caption, std::string_view prompt, std::string& value) override;
    // Answered like an input box; the log names no password.
    bool passwordQuery(std::string_view caption, std::string_view prompt,
                       std::string& value) override;
    HolderChoice selectHolder(const std::vector<std::string>& names, int currentIndex) override;

  protected:
    std::string choosePath(PathQuestion question, std::string_view what,
                           std::string_view initial) override;
    void declined(std::string_view dialog) override;

  private:
    static Answer fallback(unsigned buttons);
    std::optional<std::string> next();
    static void say(std::string_view question, std::string_view answer);

    std::vector<std::string> answers_;
    std::size_t next_ = 0;
};

}  // namespace zel
