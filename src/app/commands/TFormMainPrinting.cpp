// The File menu's printer commands: the printer set-up and a printed picture
// of the window.

#include <QPainter>
#include <QPixmap>
#include <QPrinter>

#include "app/window/TFormMainScript.h"

namespace zel {

QPrinter& TFormMainScript::printer() {
    if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

int TFormMainScript::UIPrinterSetup() {
    if (refuse(Busy)) return kFailed;
    return prompter().pageSetup(printer()) ? 0 : kFailed;
}

int TFormMainScript::UIHardcopy() {
    if (refuse(Busy)) return kFailed;
    const int result = printPicture_(*this);
    if (result == 0) messageDoing_("Done: UIHardCopy. Check Printer.");
    return result;
}

int TFormMainScript::printPicture_(QWidget& window) {
    const QPixmap picture = window.grab();
    QPainter painter;
    // Without a printer nothing is printed, and the user is told so.
    if (!painter.begin(&printer())) {
        messageDoing_("Failure: UIHardCopy. No printer.");
        return kFailed;
    }
    const QRect page = painter.viewport();
    QSize size = picture.size();
    size.scale(page.size(), Qt::KeepAspectRatio);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(QRect(page.topLeft(), size), picture);
    painter.end();
    return 0;
}

}  // namespace zel
