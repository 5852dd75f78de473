#include "app/Prompter.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QStringList>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "export/ui/TFormHTMLCalendar.h"
#include "search/ui/SearchWidgets.h"
#include "search/ui/TFormGrep.h"
#include "text/Sjis.h"
#include "views/TFormCVTJpeg.h"
#include "views/TFormSelectHolder.h"
#include "views/ViewText.h"

namespace zel {

std::string Prompter::inputBox(std::string_view caption, std::string_view prompt,
                               std::string_view initial) {
    std::string value(initial);
    inputQuery(caption, prompt, value);
    return value;
}

std::optional<QColor> UnattendedPrompter::chooseColor(const QColor&) {
    declined("colour");
    return std::nullopt;
}

std::optional<QFont> UnattendedPrompter::chooseFont(const QFont&) {
    declined("font");
    return std::nullopt;
}

bool UnattendedPrompter::pageSetup(QPrinter&) {
    declined("printer set-up");
    return false;
}

CalendarChoice UnattendedPrompter::htmlCalendar() {
    declined("HTML calendar");
    return {};
}

int UnattendedPrompter::printWindow(QDialog&) {
    declined("print window");
    return QDialog::Rejected;
}

bool UnattendedPrompter::grepOptions(GrepChoice&) {
    declined("grep options");
    return false;
}

namespace {

struct ButtonPair {
    unsigned ours;
    QMessageBox::StandardButton qt;
    Answer answer;
};

constexpr ButtonPair kButtons[] = {
    {ButtonOk, QMessageBox::Ok, Answer::Ok},
    {ButtonYes, QMessageBox::Yes, Answer::Yes},
    {ButtonNo, QMessageBox::No, Answer::No},
    {ButtonYesToAll, QMessageBox::YesToAll, Answer::YesToAll},
    {ButtonCancel, QMessageBox::Cancel, Answer::Cancel},
    {ButtonAbort, QMessageBox::Abort, Answer::Abort},
    {ButtonRetry, QMessageBox::Retry, Answer::Retry},
    {ButtonIgnore, QMessageBox::Ignore, Answer::Ignore},
};

QMessageBox::Icon iconOf(Tone tone) {
    switch (tone) {
        case Tone::Information:
            return QMessageBox::Information;
        case Tone::Confirmation:
            return QMessageBox::Question;
        case Tone::Warning:
            return QMessageBox::Warning;
        case Tone::Error:
            return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

// What closing the box without a button means.
Answer escapeAnswer(unsigned buttons) {
    if (buttons & ButtonCancel) return Answer::Cancel;
    if (buttons & ButtonNo) return Answer::No;
    // Abort, never Retry: a script asking again would ask for ever.
    if (buttons & ButtonAbort) return Answer::Abort;
    return (buttons & ButtonOk) ? Answer::Ok : Answer::Cancel;
}

// Test runs set ZEL_NO_DIALOGS so that a dialog nobody answers cannot hang them:
// every question is then answered as if the user closed it.
bool dialogsSuppressed() {
    return std::getenv("ZEL_NO_DIALOGS") != nullptr;
}

}  // namespace

Answer QtPrompter::ask(Tone tone, std::string_view text, unsigned buttons) {
    return askTitled(tone, "zel", text, buttons);
}

Answer QtPrompter::askTitled(Tone tone, std::string_view caption, std::string_view text,
                             unsigned buttons) {
    if (dialogsSuppressed()) {
        std::fprintf(stderr, "zel: question not shown (ZEL_NO_DIALOGS): %s\n",
                     sjisToUtf8(text).c_str());
        return escapeAnswer(buttons);
    }
    QMessageBox box(iconOf(tone), toQt(caption), toQt(text), QMessageBox::NoButton, parent_);
    for (const ButtonPair& pair : kButtons) {
        if (buttons & pair.ours) box.addButton(pair.qt);
    }
    box.exec();
    for (const ButtonPair& pair : kButtons) {
        if (box.clickedButton() == box.button(pair.qt)) return pair.answer;
    }
    return escapeAnswer(buttons);
}

namespace {

bool textQuery(QWidget* parent, std::string_view caption, std::string_view prompt,
               std::string& value, QLineEdit::EchoMode echo) {
    if (dialogsSuppressed()) return false;
    const std::unique_ptr<QInputDialog> box = makeInputBox(parent, caption, prompt, value);
    box->setTextEchoMode(echo);
    if (box->exec() != QDialog::Accepted) return false;
    value = fromQt(box->textValue());
    return true;
}

}  // namespace

std::unique_ptr<QInputDialog> makeInputBox(QWidget* parent, std::string_view caption,
                                           std::string_view prompt, std::string_view value) {
    // Room in the title bar for the window's icon and buttons.
    constexpr int kTitleBarExtra = 140;
    constexpr int kNarrowest = 300;
    auto box = std::make_unique<QInputDialog>(parent);
    box->setInputMode(QInputDialog::TextInput);
    box->setWindowTitle(toQt(caption));
    box->setLabelText(toQt(prompt));
    box->setTextValue(toQt(value));
    // A narrow box would cut its caption short ("Renam... older").
    const QFontMetrics metrics(QApplication::font("QMdiSubWindowTitleBar"));
    const int wanted =
        std::max({kNarrowest, metrics.horizontalAdvance(box->windowTitle()) + kTitleBarExtra,
                  box->sizeHint().width()});
    box->resize(wanted, box->sizeHint().height());
    return box;
}

bool QtPrompter::inputQuery(std::string_view caption, std::string_view prompt, std::string& value) {
    return textQuery(parent_, caption, prompt, value, QLineEdit::Normal);
}

bool QtPrompter::passwordQuery(std::string_view caption, std::string_view prompt,
                               std::string& value) {
    value.clear();
    return textQuery(parent_, caption, prompt, value, QLineEdit::Password);
}

QString qtNameFilters(std::string_view filter) {
    QStringList parts = toQt(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString label = parts[i].section(QLatin1Char('('), 0, 0).trimmed();
        QString patterns = parts[i + 1].trimmed().replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << QStringLiteral("%1 (%2)").arg(label, patterns);
    }
    return filters.join(QStringLiteral(";;"));
}

std::string QtPrompter::openFileName(std::string_view filter, std::string_view initialPath) {
    if (dialogsSuppressed()) return {};
    return fromQt(
        QFileDialog::getOpenFileName(parent_, QString(), toQt(initialPath), qtNameFilters(filter)));
}

std::string QtPrompter::saveFileName(std::string_view filter, std::string_view initialPath) {
    if (dialogsSuppressed()) return {};
    return fromQt(
        QFileDialog::getSaveFileName(parent_, QString(), toQt(initialPath), qtNameFilters(filter)));
}

std::string QtPrompter::directoryName(std::string_view caption, std::string_view start) {
    if (dialogsSuppressed()) return {};
    return fromQt(QFileDialog::getExistingDirectory(parent_, toQt(caption), toQt(start)));
}

std::optional<QColor> QtPrompter::chooseColor(const QColor& initial) {
    if (dialogsSuppressed()) return std::nullopt;
    QColor chosen = QColorDialog::getColor(initial, parent_);
    if (!chosen.isValid()) return std::nullopt;
    return chosen;
}

std::optional<QFont> QtPrompter::chooseFont(const QFont& initial) {
    if (dialogsSuppressed()) return std::nullopt;
    bool ok = false;
    QFont chosen = QFontDialog::getFont(&ok, initial, parent_);
    if (!ok) return std::nullopt;
    return chosen;
}

HolderChoice QtPrompter::selectHolder(const std::vector<std::string>& names, int currentIndex) {
    if (dialogsSuppressed()) return {};
    if (!formSelectHolder_) formSelectHolder_ = new TFormSelectHolder(parent_);
    TFormSelectHolder& form = *formSelectHolder_;
    if (parent_) form.setFont(parent_->font());
    form.fill(names, currentIndex);
    if (form.exec() != QDialog::Accepted) return {};
    const int row = form.selectedRow();
    if (row < 0) return {HolderChoice::Kind::NewHolder, {}};
    return {HolderChoice::Kind::Holder, names[static_cast<std::size_t>(row)]};
}

bool QtPrompter::pageSetup(QPrinter& printer) {
    if (dialogsSuppressed()) return false;
    QPageSetupDialog dialog(&printer, parent_);
    return dialog.exec() == QDialog::Accepted;
}

int QtPrompter::printWindow(QDialog& window) {
    if (dialogsSuppressed()) return QDialog::Rejected;
    return window.exec();
}

CalendarChoice QtPrompter::htmlCalendar() {
    if (dialogsSuppressed()) return {};
    if (!formHTMLCalendar_) formHTMLCalendar_ = new TFormHTMLCalendar(parent_);
    TFormHTMLCalendar& form = *formHTMLCalendar_;
    if (parent_) form.setFont(parent_->font());
    if (form.exec() != QDialog::Accepted) return {};
    return {CalendarChoice::Kind::Chosen, form.date(), form.choice()};
}

bool QtPrompter::grepOptions(GrepChoice& choice) {
    if (dialogsSuppressed()) return false;
    if (!formGrep_) formGrep_ = new TFormGrep(parent_);
    if (parent_) formGrep_->setFont(parent_->font());
    bool lossless = true;
    GrepChoice answer = choice;
    if (!formGrep_->ask(answer, &lossless)) return false;
    if (!lossless) {
        error(kLossyKeyword);
        return false;
    }
    choice = answer;
    return true;
}

bool QtPrompter::jpegSettings(JpegOptions& options) {
    if (dialogsSuppressed()) return false;
    if (!formCVTJpeg_) formCVTJpeg_ = new TFormCVTJpeg(parent_);
    if (parent_) formCVTJpeg_->setFont(parent_->font());
    return formCVTJpeg_->ask(options);
}

}  // namespace zel
