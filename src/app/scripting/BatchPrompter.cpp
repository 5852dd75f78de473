#include "app/scripting/BatchPrompter.h"

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

std::string BatchPrompter::choosePath(PathQuestion question, std::string_view what,
                                      std::string_view) {
    const std::string asked = question == PathQuestion::Open   ? "open " + std::string(what)
                              : question == PathQuestion::Save ? "save " + std::string(what)
                                                               : std::string(what);
    std::optional<std::string> given = next();
    say(asked, given ? *given : "(cancelled)");
    return given ? *given : std::string();
}

void BatchPrompter::declined(std::string_view dialog) {
    say(dialog, "(cancelled)");
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

void BatchPrompter::say(std::string_view question, std::string_view answer) {
    std::cerr << "zel: asked: " << sjisToUtf8(question) << " -> " << sjisToUtf8(answer) << '\n';
}

}  // namespace zel
