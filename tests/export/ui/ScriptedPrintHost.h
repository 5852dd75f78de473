#pragma once
// A print host that answers instead of a person: modal windows are handed to
// a script (a modal window without one fails the test), messages are
// recorded, and PDF output goes where the test says. Also the poppler tools
// that read the PDF files back.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPrinter>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "export/ui/QtPrintStrings.h"
#include "support/PdfFiles.h"

namespace zel::test {

class ScriptedPrintHost : public QtPrintHost {
  public:
    std::function<int(QDialog&)> onModal;
    std::vector<std::string> messages;
    std::string pdfFile;  // model path answered for a PDF printer without a file
    int pageSetups = 0;
    // Pages stop being made once this many progress reports came (-1: never).
    int cancelAfter = -1;
    int reports = 0;

    int runModal(QDialog& dialog) override {
        if (!onModal) {
            ADD_FAILURE() << "unexpected modal window " << dialog.windowTitle().toStdString();
            return QDialog::Rejected;
        }
        return onModal(dialog);
    }
    void message(std::string_view text) override { messages.emplace_back(text); }
    bool pageSetup(QPrinter&) override {
        ++pageSetups;
        return true;
    }
    std::string pdfFileName(std::string_view) override { return pdfFile; }
    bool keepMaking(int) override { return cancelAfter < 0 || ++reports <= cancelAfter; }
};

// A printer writing a PDF file at `path` (an OS path).
inline std::unique_ptr<QPrinter> pdfPrinter(const std::string& path) {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setPageSize(QPageSize(QPageSize::A4));
    printer->setOutputFileName(QString::fromStdString(path));
    return printer;
}

inline void key(QWidget* widget, int code, const QString& text = {}) {
    QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier, text);
    QCoreApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, code, Qt::NoModifier, text);
    QCoreApplication::sendEvent(widget, &release);
}

// Types `text` over the field's contents and presses Return, as a user would.
inline void typeInto(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    for (QChar c : text) key(edit, 0, QString(c));
    key(edit, Qt::Key_Return);
}

inline void mouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButtons held) {
    QMouseEvent event(type, QPointF(at), widget->mapToGlobal(QPointF(at)),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

}  // namespace zel::test
