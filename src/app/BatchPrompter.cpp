#include "app/BatchPrompter.h"

#include <iostream>

#include "text/Sjis.h"
#include "text/TextHelpers.h"

namespace zel {

Answer BatchPrompter::ask(Tone, std::string_view text, unsigned buttons) {
    std::optional<std::string> given = next();
    Answer answer = fallback(buttons);
    if (given) {
        const std::string word = lowerText(trimText(*given));
        if (word == "yes" && (buttons & ButtonYes)) answer = Answer::Yes;
        if (word == "no" && (buttons & ButtonNo)) answer = Answer::No;
        if (word == "ok" && (buttons & ButtonOk)) answer = Answer::Ok;
        if (word == "cancel" && (buttons & ButtonCancel)) answer = Answer::Cancel;
        if (word == "yestoall" && (buttons & ButtonYesToAll)) answer = Answer::YesToAll;
        if (word == "abort" && (buttons & ButtonAbort)) answer = Answer::Abort;
        if (word == "retry" && (buttons & ButtonRetry)) answer = Answer::Retry;
        if (word == "ignore" && (buttons & ButtonIgnore)) answer = Answer::Ignore;
    }
    static const char* names[] = {"OK",       "Cancel", "Yes",   "No",
                                  "YesToAll", "Abort",  "Retry", "Ignore"};
    say(text, names[static_cast<int>(answer)]);
    return answer;
}

bool BatchPrompter::inputQuery(std::string_view caption, std::string_view prompt,
                               std::string& value) {
    std::optional<std::string> given = next();
    say(std::string(caption) + " " + std::string(prompt), given ? *given : "(cancelled)");
    if (!given) return false;
    value = *given;
    return true;
}

bool BatchPrompter::passwordQuery(std::string_view caption, std::string_view prompt,
                                  std::string& value) {
    std::optional<std::string> given = next();
    say(std::string(caption) + " " + std::string(prompt), given ? "(given)" : "(cancelled)");
    if (!given) return false;
    value = *given;
    return true;
}

std::string BatchPrompter::openFileName(std::string_view filter, std::string_view) {
    return path("open " + std::string(filter));
}

std::string BatchPrompter::saveFileName(std::string_view filter, std::string_view) {
    return path("save " + std::string(filter));
}

std::string BatchPrompter::directoryName(std::string_view caption, std::string_view) {
    return path(std::string(caption));
}

std::optional<QColor> BatchPrompter::chooseColor(const QColor&) {
    say("colour", "(cancelled)");
    return std::nullopt;
}

std::optional<QFont> BatchPrompter::chooseFont(const QFont&) {
    say("font", "(cancelled)");
    return std::nullopt;
}

HolderChoice BatchPrompter::selectHolder(const std::vector<std::string>&, int) {
    HolderChoice choice;
    std::optional<std::string> given = next();
    say("select holder", given ? *given : "(cancelled)");
    if (given) {
        choice.kind = HolderChoice::Kind::Holder;
        choice.name = *given;
    }
    return choice;
}

bool BatchPrompter::pageSetup(QPrinter&) {
    say("printer set-up", "(cancelled)");
    return false;
}

CalendarChoice BatchPrompter::htmlCalendar() {
    say("HTML calendar", "(cancelled)");
    return {};
}

int BatchPrompter::printWindow(QDialog&) {
    say("print window", "(cancelled)");
    return 0;
}

bool BatchPrompter::grepOptions(GrepChoice&) {
    say("grep options", "(cancelled)");
    return false;
}

Answer BatchPrompter::fallback(unsigned buttons) {
    if (buttons & ButtonCancel) return Answer::Cancel;
    if (buttons & ButtonNo) return Answer::No;
    // Abort, never Retry: a script asking again would ask for ever.
    if (buttons & ButtonAbort) return Answer::Abort;
    return Answer::Ok;
}

std::optional<std::string> BatchPrompter::next() {
    if (next_ >= answers_.size()) return std::nullopt;
    return answers_[next_++];
}

std::string BatchPrompter::path(const std::string& question) {
    std::optional<std::string> given = next();
    say(question, given ? *given : "(cancelled)");
    return given ? *given : std::string();
}

void BatchPrompter::say(std::string_view question, std::string_view answer) {
    std::cerr << "zel: asked: " << sjisToUtf8(question) << " -> " << sjisToUtf8(answer) << '\n';
}

}  // namespace zel
