#pragma once
// The text printer's work on a real printer: printing laid-out pages, the
// preview, the settings dialog, pictures and other bodies. Several nodes
// printed in one go share one print job (one PDF file when printing to PDF),
// each page on a sheet of its own.

#include <QImage>
#include <QPainter>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "export/PrintNode.h"
#include "export/TextPrinter.h"

class QDialog;
class QPrinter;
class QWidget;

namespace zel {
class MemoNode;
}

namespace zel {

class TFormStrProgress;

// What the printer's windows need from the program: running a modal window,
// the message box, the printer set-up, the name of a PDF file, and a word on
// progress. The defaults are Qt's own dialogs; the main window answers
// through its Prompter and tests answer without waiting for anyone.
class QtPrintHost {
  public:
    virtual ~QtPrintHost() = default;
    // Shows `dialog` modally and yields its result.
    virtual int runModal(QDialog& dialog);
    // An information box with OK (Shift_JIS).
    virtual void message(std::string_view text);
    // The printer set-up dialog; true when confirmed.
    virtual bool pageSetup(QPrinter& printer);
    // Where a PDF printer without an output file writes; empty to cancel.
    // Asked for each job, so one print never overwrites the last.
    virtual std::string pdfFileName(std::string_view proposal);
    // Called as pages are made, after the progress window's own Cancel was
    // checked; false cancels.
    virtual bool keepMaking(int /*percent*/) { return true; }
    // The window the printer's windows belong to.
    virtual QWidget* parentWidget() const { return nullptr; }
};

// One print job on `printer`, begun with its first sheet and ended when the
// job is finished or destroyed.
class QtPrintJob {
  public:
    QtPrintJob(QPrinter& printer, QtPrintHost& host);
    ~QtPrintJob();
    QtPrintJob(const QtPrintJob&) = delete;
    QtPrintJob& operator=(const QtPrintJob&) = delete;

    // A fresh sheet to paint on (the job begins with the first). False when
    // the job could not start or the printer refused a new page; failure()
    // tells why.
    bool newSheet();
    QPainter& painter() { return painter_; }
    QPrinter& printer() { return printer_; }
    int sheets() const { return sheets_; }
    // Ends the job; false when it failed at any point.
    bool finish();
    // Empty, or "Failure: " + the reason (Shift_JIS).
    const std::string& failure() const { return failure_; }

  private:
    bool begin();

    QPrinter& printer_;
    QtPrintHost& host_;
    QPainter painter_;
    int sheets_ = 0;
    bool ended_ = false;
    bool askedFile_ = false;
    std::string failure_;
};

enum class PrintOutcome { Done, Cancelled, TooSmall, NothingToPrint, Failed };
struct PrintReport {
    PrintOutcome outcome = PrintOutcome::Done;
    std::string message;  // Shift_JIS; empty for Done and Cancelled
    bool ok() const { return outcome == PrintOutcome::Done; }
};

// Lays `lines` out (with the progress window "印刷中") and prints the pages
// the ranges choose into `job`. Nothing is printed when the user cancels,
// the text area is too small, or no page is chosen.
PrintReport printStrings_(const TStringsPrinter& printer, const std::vector<std::string>& lines,
                          QtPrintJob& job, QtPrintHost& host);
// Lays `lines` out ("プレビューを作成中") and shows every page in the preview.
PrintReport previewStrings_(const TStringsPrinter& printer, const std::vector<std::string>& lines,
                            QPrinter& qprinter, QtPrintHost& host);
// The settings dialog on a copy of the settings; OK copies them back. With
// `lines` (may be null) the dialog can preview and print them.
bool editPrintSettings_(TStringsPrinter& printer, QPrinter& qprinter,
                        const std::vector<std::string>* lines, QtPrintHost& host);

// A picture on a sheet of its own: centred in 97 % of the page, the caption
// at the top left, a frame around it when `framed`. False (nothing printed)
// for an empty picture or when the job fails.
bool printImage_(QtPrintJob& job, const QImage& picture, std::string_view caption, bool framed);
// A short text as a document of its own, titled `title`.
bool printTextDocument_(QtPrintJob& job, std::string_view text, std::string_view title);

// The picture a node's body holds (decoded from its bytes); null when it has
// none or it cannot be read.
QImage nodePicture(const MemoNode& node);

// Prints what `print` says a node prints: its lines through the text
// printer (titled with the node), its picture (`picture`), or its document.
PrintReport printNodePrint_(const NodePrint& print, const QImage& picture, TStringsPrinter& printer,
                            QtPrintJob& job, QtPrintHost& host);

}  // namespace zel
