#pragma once
// Every question the program puts to the user goes through one Prompter owned
// by the main window. The program installs QtPrompter; tests install a
// scripted one, so nothing ever waits for a person during a test.

#include <QColor>
#include <QFont>
#include <QPointer>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "export/HtmlOutput.h"
#include "search/ChildGrep.h"
#include "text/DateTime.h"

class QDialog;
class QInputDialog;
class QPrinter;
class QWidget;

namespace zel {

class TFormCVTJpeg;
class TFormGrep;
class TFormHTMLCalendar;
class TFormSelectHolder;
struct JpegOptions;

enum class Answer { Ok, Cancel, Yes, No, YesToAll, Abort, Retry, Ignore };

// Buttons offered by a message box, combined with "|".
enum Buttons : unsigned {
    ButtonOk = 1,
    ButtonCancel = 2,
    ButtonYes = 4,
    ButtonNo = 8,
    ButtonYesToAll = 16,
    ButtonAbort = 32,
    ButtonRetry = 64,
    ButtonIgnore = 128,
};

enum class Tone { Information, Confirmation, Warning, Error };

// The answer of the holder selection window.
struct HolderChoice {
    enum class Kind { Cancelled, Holder, NewHolder };
    Kind kind = Kind::Cancelled;
    // The chosen entry, for Kind::Holder.
    std::string name;
};

// The answer of the HTML calendar dialog: the day whose month is exported
// and the layout of the page.
struct CalendarChoice {
    enum class Kind { Cancelled, Chosen };
    Kind kind = Kind::Cancelled;
    DateTime date;
    CalendarLayout layout = CalendarLayout::Month;
};

// All texts, captions and paths are Shift_JIS bytes, as everywhere in the model.
class Prompter {
  public:
    virtual ~Prompter() = default;

    // A message box; the answer is the button pressed (Cancel when the box is
    // closed another way, or No when there is no Cancel button).
    virtual Answer ask(Tone tone, std::string_view text, unsigned buttons) = 0;
    // The same box with `caption` as its title (the scripts' MessageBox);
    // where a prompter shows no titles, the plain box.
    virtual Answer askTitled(Tone tone, std::string_view caption, std::string_view text,
                             unsigned buttons) {
        (void)caption;
        return ask(tone, text, buttons);
    }
    // An input box: true with the answer in `value` when confirmed; false with
    // `value` untouched when cancelled.
    virtual bool inputQuery(std::string_view caption, std::string_view prompt,
                            std::string& value) = 0;
    // A password box: the same, starting empty, what is typed never shown.
    virtual bool passwordQuery(std::string_view caption, std::string_view prompt,
                               std::string& value) = 0;
    // File and folder choosers; the chosen path, or empty text when cancelled.
    // Filters are written "Label|pattern;pattern|Label|pattern".
    virtual std::string openFileName(std::string_view filter, std::string_view initialPath) = 0;
    virtual std::string saveFileName(std::string_view filter, std::string_view initialPath) = 0;
    virtual std::string directoryName(std::string_view caption, std::string_view start) = 0;
    virtual std::optional<QColor> chooseColor(const QColor& initial) = 0;
    virtual std::optional<QFont> chooseFont(const QFont& initial) = 0;
    // The holder selection window over `names`; its "Current" button picks
    // the entry at `currentIndex` and is disabled when that is negative.
    // OK without a selection asks for a new holder.
    virtual HolderChoice selectHolder(const std::vector<std::string>& names, int currentIndex) = 0;
    // The printer set-up dialog on `printer`; true when confirmed.
    virtual bool pageSetup(QPrinter& printer) = 0;
    // The HTML calendar dialog, made once and kept, so it shows the day and
    // layout chosen last.
    virtual CalendarChoice htmlCalendar() = 0;
    // A window of the text printer (the print format dialog, the preview)
    // shown modally; its result, QDialog::Accepted or Rejected.
    virtual int printWindow(QDialog& window) = 0;
    // The grep options dialog of New Child Grep, made once and kept, shown on
    // `choice`: true with `choice` as confirmed; false when cancelled (also
    // for a keyword Shift_JIS cannot hold, after saying so).
    virtual bool grepOptions(GrepChoice& choice) = 0;
    // The JPEG settings dialog of "->JPEG" ("Mono", quality), made once and
    // kept, shown on `options`: true with `options` as confirmed. Without a
    // dialog to show, cancelled.
    virtual bool jpegSettings(JpegOptions&) { return false; }

    // An information box with OK.
    void message(std::string_view text) { ask(Tone::Information, text, ButtonOk); }
    // An error box with OK.
    void error(std::string_view text) { ask(Tone::Error, text, ButtonOk); }
    // An input box that yields its initial text when cancelled.
    std::string inputBox(std::string_view caption, std::string_view prompt,
                         std::string_view initial);
};

// The prompters nobody sits at (batch runs, tests): the three choosers of a
// path are one question, and the dialogs they have no answer for are
// declined after `declined` has told of them.
class UnattendedPrompter : public Prompter {
  public:
    std::string openFileName(std::string_view filter, std::string_view initialPath) override {
        return choosePath(PathQuestion::Open, filter, initialPath);
    }
    std::string saveFileName(std::string_view filter, std::string_view initialPath) override {
        return choosePath(PathQuestion::Save, filter, initialPath);
    }
    std::string directoryName(std::string_view caption, std::string_view start) override {
        return choosePath(PathQuestion::Folder, caption, start);
    }
    std::optional<QColor> chooseColor(const QColor& initial) override;
    std::optional<QFont> chooseFont(const QFont& initial) override;
    bool pageSetup(QPrinter& printer) override;
    CalendarChoice htmlCalendar() override;
    int printWindow(QDialog& window) override;
    bool grepOptions(GrepChoice& choice) override;

  protected:
    enum class PathQuestion { Open, Save, Folder };
    // The path chosen, or empty text for cancelled; `what` is the filter of
    // a file chooser or the caption of a folder chooser.
    virtual std::string choosePath(PathQuestion question, std::string_view what,
                                   std::string_view initial) = 0;
    // Told of a dialog about to be declined ("colour", "print window").
    virtual void declined(std::string_view dialog) = 0;
};

// Qt dialogs, modal over `parent`.
class QtPrompter : public Prompter {
  public:
    explicit QtPrompter(QWidget* parent) : parent_(parent) {}
    Answer ask(Tone tone, std::string_view text, unsigned buttons) override;
    Answer askTitled(Tone tone, std::string_view caption, std::string_view text,
                     unsigned buttons) override;
    bool inputQuery(std::string_view caption, std::string_view prompt, std::string& value) override;
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
    bool jpegSettings(JpegOptions& options) override;

  private:
    QWidget* parent_;
    // Made on first use and kept, owned by `parent_`.
    QPointer<TFormSelectHolder> formSelectHolder_;
    QPointer<TFormHTMLCalendar> formHTMLCalendar_;
    QPointer<TFormGrep> formGrep_;
    QPointer<TFormCVTJpeg> formCVTJpeg_;
};

// The input box QtPrompter shows, wide enough for its caption and prompt.
std::unique_ptr<QInputDialog> makeInputBox(QWidget* parent, std::string_view caption,
                                           std::string_view prompt, std::string_view value);

// "MXA files (*.mxa)|*.mxa|ALL files (*.*)|*.*" as a Qt name filter list.
QString qtNameFilters(std::string_view filter);

}  // namespace zel
