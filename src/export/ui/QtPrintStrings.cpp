#include "export/ui/QtPrintStrings.h"

#include <QAbstractTextDocumentLayout>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QTextDocument>
#include <cmath>

#include "export/ui/QtPrintMetrics.h"
#include "export/ui/TFormPrintFormat.h"
#include "export/ui/TFormPrintPreview.h"
#include "export/ui/TFormPrintProgress.h"
#include "formats/TContent.h"
#include "model/MemoNode.h"
#include "text/Sjis.h"

namespace zel {

namespace {

QString qt(std::string_view sjis) {
    return QString::fromStdString(sjisToUtf8(sjis));
}

// Makes the pages with the progress window up; Done, Cancelled or TooSmall.
LayoutResult makePages(const TStringsPrinter& printer, const std::vector<std::string>& lines,
                       const PrintMetrics& metrics, std::string_view caption, QtPrintHost& host,
                       PrintDocument& document) {
    TFormStrProgress progress(caption, host.parentWidget());
    progress.show();
    return printer.renderPages_(
        lines, metrics,
        [&](int percent) { return progress.advance(percent) && host.keepMaking(percent); },
        document);
}

PrintReport refusal(LayoutResult result) {
    if (result == LayoutResult::Cancelled) return {PrintOutcome::Cancelled, {}};
    return {PrintOutcome::TooSmall, std::string(kTextAreaTooSmall)};
}

}  // namespace

int QtPrintHost::runModal(QDialog& dialog) {
    return dialog.exec();
}

void QtPrintHost::message(std::string_view text) {
    QMessageBox::information(parentWidget(), QStringLiteral("TStringsPrinter"), qt(text));
}

bool QtPrintHost::pageSetup(QPrinter& printer) {
    QPageSetupDialog dialog(&printer, parentWidget());
    return dialog.exec() == QDialog::Accepted;
}

std::string QtPrintHost::pdfFileName(std::string_view proposal) {
    const QString chosen = QFileDialog::getSaveFileName(parentWidget(), QString(), qt(proposal),
                                                        QStringLiteral("PDF (*.pdf)"));
    return utf8ToSjis(chosen.toStdString());
}

QtPrintJob::QtPrintJob(QPrinter& printer, QtPrintHost& host) : printer_(printer), host_(host) {}

QtPrintJob::~QtPrintJob() {
    finish();
}

bool QtPrintJob::begin() {
    // Printing to PDF without a file yet: ask where it goes.
    if (printer_.outputFormat() == QPrinter::PdfFormat && printer_.outputFileName().isEmpty()) {
        const std::string file = host_.pdfFileName("print.pdf");
        if (file.empty()) {
            failure_ = "Failure: no PDF file was chosen.";
            return false;
        }
        printer_.setOutputFileName(qt(file));
        askedFile_ = true;
    }
    if (!painter_.begin(&printer_)) {
        std::string name = utf8ToSjis(printer_.printerName().toStdString());
        if (printer_.outputFormat() == QPrinter::PdfFormat)
            name = utf8ToSjis(printer_.outputFileName().toStdString());
        failure_ = "Failure: the print job could not start (" + name + ").";
        return false;
    }
    return true;
}

bool QtPrintJob::newSheet() {
    if (!failure_.empty() || ended_) return false;
    if (sheets_ == 0) {
        if (!begin()) return false;
    } else if (!printer_.newPage()) {
        failure_ = "Failure: the printer refused a new page.";
        return false;
    }
    ++sheets_;
    return true;
}

bool QtPrintJob::finish() {
    if (!ended_) {
        ended_ = true;
        if (painter_.isActive() && !painter_.end() && failure_.empty())
            failure_ = "Failure: the print job could not be completed.";
        if (askedFile_) printer_.setOutputFileName(QString());
    }
    return failure_.empty();
}

PrintReport printStrings_(const TStringsPrinter& printer, const std::vector<std::string>& lines,
                          QtPrintJob& job, QtPrintHost& host) {
    const QtPrintMetrics metrics(printer.settings.font(), job.printer());
    PrintDocument document;
    const LayoutResult made = makePages(printer, lines, metrics, kPrintingCaption, host, document);
    if (made != LayoutResult::Done) return refusal(made);
    const std::vector<std::size_t> chosen = printedPages(document, printer.settings);
    if (chosen.empty()) return {PrintOutcome::NothingToPrint, std::string(kNothingToPrint)};
    const QColor color = printColor(printer.settings.font().color);
    for (std::size_t index : chosen) {
        if (!job.newSheet()) return {PrintOutcome::Failed, job.failure()};
        paintPrintPage(job.painter(), document.pages[index], metrics.font(), metrics.ascent(),
                       color);
    }
    return {};
}

PrintReport previewStrings_(const TStringsPrinter& printer, const std::vector<std::string>& lines,
                            QPrinter& qprinter, QtPrintHost& host) {
    const QtPrintMetrics metrics(printer.settings.font(), qprinter);
    PrintDocument document;
    const LayoutResult made =
        makePages(printer, lines, metrics, kPreviewingCaption, host, document);
    if (made != LayoutResult::Done) return refusal(made);
    TFormStrPreview preview(document, metrics.font(), metrics.ascent(),
                            printColor(printer.settings.font().color), metrics.dpiY(),
                            host.parentWidget());
    host.runModal(preview);
    return {};
}

bool editPrintSettings_(TStringsPrinter& printer, QPrinter& qprinter,
                        const std::vector<std::string>* lines, QtPrintHost& host) {
    TFormStringsPrint dialog(printer, qprinter, lines, host, host.parentWidget());
    if (host.runModal(dialog) != QDialog::Accepted) return false;
    printer.settings = dialog.settings();
    return true;
}

bool printImage_(QtPrintJob& job, const QImage& picture, std::string_view caption, bool framed) {
    if (picture.isNull()) return false;
    const QRect page = job.printer().pageRect(QPrinter::DevicePixel).toRect();
    const auto place =
        imagePrintRect(page.width(), page.height(), picture.width(), picture.height());
    if (!place || !job.newSheet()) return false;
    QPainter& painter = job.painter();
    const QRect target(QPoint(place->left, place->top), QPoint(place->right, place->bottom));
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, picture);
    const int margin = imageCaptionMargin(page.height());
    QFont font;
    font.setPixelSize(
        std::max(1, static_cast<int>(std::lround(12 * job.printer().resolution() / 72.0))));
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.drawText(QRect(margin, margin, page.width() - margin, page.height() - margin),
                     Qt::AlignLeft | Qt::AlignTop, qt(caption));
    if (framed) {
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(target);
    }
    painter.restore();
    return true;
}

bool printTextDocument_(QtPrintJob& job, std::string_view text, std::string_view title) {
    if (!job.newSheet()) return false;
    const QRect page = job.printer().pageRect(QPrinter::DevicePixel).toRect();
    QTextDocument document;
    document.setMetaInformation(QTextDocument::DocumentTitle, qt(title));
    QFont font;
    font.setPixelSize(
        std::max(1, static_cast<int>(std::lround(10 * job.printer().resolution() / 72.0))));
    document.setDefaultFont(font);
    document.setPlainText(qt(text));
    document.setPageSize(page.size());
    QPainter& painter = job.painter();
    painter.save();
    document.drawContents(&painter, QRectF(QPointF(0, 0), page.size()));
    painter.restore();
    return true;
}

QImage nodePicture(const MemoNode& node) {
    if (!node.content || !node.content->stream) return {};
    const std::string& bytes = *node.content->stream;
    return QImage::fromData(reinterpret_cast<const uchar*>(bytes.data()),
                            static_cast<int>(bytes.size()));
}

PrintReport printNodePrint_(const NodePrint& print, const QImage& picture, TStringsPrinter& printer,
                            QtPrintJob& job, QtPrintHost& host) {
    switch (print.kind) {
        case NodePrintKind::Lines:
            printer.settings.setFileName(print.title);
            return printStrings_(printer, print.lines, job, host);
        case NodePrintKind::Image:
            if (picture.isNull()) return {PrintOutcome::NothingToPrint, "The picture is empty."};
            if (!printImage_(job, picture, print.caption, true))
                return {PrintOutcome::Failed, job.failure()};
            return {};
        case NodePrintKind::Document:
            if (!printTextDocument_(job, print.text, print.documentTitle))
                return {PrintOutcome::Failed, job.failure()};
            return {};
    }
    return {};
}

}  // namespace zel
