#include "cli/ui/PrintPdf.h"

#include <QApplication>
#include <QImage>
#include <QPageSize>
#include <QPrinter>
#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "cli/PrintRequest.h"
#include "export/ui/QtPrintStrings.h"

namespace zel {

namespace {

// Qt needs an application object for fonts and printers; it runs on the
// offscreen platform unless told otherwise, with Qt's own chatter off the
// terminal. It is never destroyed: at exit, Qt's post routines (WebEngine's
// among them, linked in through the views) would run after the thread
// storage they need is gone.
void ensureApplication() {
    if (QCoreApplication::instance()) return;
    if (!std::getenv("QT_QPA_PLATFORM")) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    });
    static int argc = 1;
    static char name[] = "zel";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
}

// Nobody to ask: no window is shown and every question is declined.
class ToolPrintHost final : public QtPrintHost {
  public:
    int runModal(QDialog&) override { return 0; }
    void message(std::string_view) override {}
    bool pageSetup(QPrinter&) override { return false; }
    std::string pdfFileName(std::string_view) override { return {}; }
};

int printToPdf(const ToolOutput& io, const VerbArguments& split, PrintRequest& request) {
    const std::string target = io.stored(split.value("--pdf"));
    ensureApplication();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(split.value("--pdf")));
    printer.setPageSize(QPageSize(QPageSize::A4));
    if (!split.value("--paper").empty()) {
        auto paper = printSizePair(split.value("--paper"));
        if (!paper) return io.usageError("--paper wants WIDTHxHEIGHT in millimetres");
        printer.setPageSize(QPageSize(QSizeF(paper->first, paper->second), QPageSize::Millimeter));
    }
    ToolPrintHost host;
    QtPrintJob job(printer, host);
    for (const PrintItem& item : request.items) {
        const QImage picture = item.node ? nodePicture(*item.node) : QImage();
        const PrintReport report =
            item.node ? printNodePrint_(item.print, picture, request.printer, job, host)
                      : printStrings_(request.printer, item.print.lines, job, host);
        if (report.outcome == PrintOutcome::Failed || report.outcome == PrintOutcome::TooSmall)
            return io.fail(report.message);
        if (report.outcome == PrintOutcome::NothingToPrint && item.node)
            io.err << "zel-tool: " << io.shown(item.print.title) << ": " << io.shown(report.message)
                   << '\n';
    }
    if (!job.finish()) return io.fail(job.failure());
    if (job.sheets() == 0) return io.fail(kNothingToPrint);
    io.out << io.shown(target) << ": " << job.sheets() << (job.sheets() == 1 ? " page" : " pages")
           << '\n';
    return 0;
}

}  // namespace

int runPrintVerb(int argc, char** argv) {
    std::vector<std::string> args(argv, argv + argc);
    const auto raw = std::find(args.begin(), args.end(), "--raw");
    const ToolOutput io{std::cout, std::cerr, raw != args.end(), false};
    if (raw != args.end()) args.erase(raw);
    VerbArguments split;
    PrintRequest request;
    if (int bad = preparePrint(io, args, true, kPrintOptions, split, request)) return bad;
    if (split.value("--pdf").empty()) return io.usageError("print wants --pdf OUT");
    return printToPdf(io, split, request);
}

}  // namespace zel
