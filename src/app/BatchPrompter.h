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

class BatchPrompter : public Prompter {
  public:
    explicit BatchPrompter(std::vector<std::string> answers) : answers_(std::move(answers)) {}

    Answer ask(Tone tone, std::string_view text, unsigned buttons) override;
    bool inputQuery(std::string_view caption, std::string_view prompt, std::string& value) override;
    // Answered like an input box; the log names no password.
    bool passwordQuery(std::string_view caption, std::string_view prompt,
                       std::string& value) override;
    std::string openFileName(std::string_view filter, std::string_view initialPath) override;
    std::string saveFileName(std::string_view filter, std::string_view initialPath) override;
    std::string directoryName(std::string_view caption, std::string_view start) override;
    std::optional<QColor> chooseColor(const QColor& initial) override;
    std::optional<QFont> chooseFont(const QFont& initial) override;
    HolderChoice selectHolder(const std::vector<std::string>& names, int currentIndex) override;
    bool pageSetup(QPrinter& printer) override;
    CalendarChoice htmlCalendar() override;
    int printWindow(QDialog& window) override;
    bool grepOptions(GrepChoice& choice) override;

  private:
    static Answer fallback(unsigned buttons);
    std::optional<std::string> next();
    std::string path(const std::string& question);
    static void say(std::string_view question, std::string_view answer);

    std::vector<std::string> answers_;
    std::size_t next_ = 0;
};

}  // namespace zel
