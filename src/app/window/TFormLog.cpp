#include "app/window/TFormLog.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "app/window/NodeEditor.h"
#include "app/window/TFormMainScript.h"
#include "object/Report.h"
#include "views/ViewText.h"

namespace zel {

TFormLog::TFormLog(TFormMainBaseZEL* mainWindow)
    : QWidget(mainWindow, Qt::Window), mainWindow_(mainWindow) {
    setWindowTitle(QStringLiteral("Log"));
    resize(520, 360);
    auto* layout = new QVBoxLayout(this);
    panel = new QWidget(this);
    panel->setAutoFillBackground(true);
    auto* buttons = new QHBoxLayout(panel);
    buttons->setContentsMargins(2, 2, 2, 2);
    buttonHide = new QPushButton(QStringLiteral("Hide"), panel);
    buttonCopyAll = new QPushButton(QStringLiteral("CopyAll"), panel);
    buttonClear = new QPushButton(QStringLiteral("Clear"), panel);
    buttonNewNode = new QPushButton(QStringLiteral("NewNode"), panel);
    for (QPushButton* button : {buttonHide, buttonCopyAll, buttonClear, buttonNewNode}) {
        buttons->addWidget(button);
    }
    buttons->addStretch();
    MemoLog = new QPlainTextEdit(this);
    MemoLog->setLineWrapMode(QPlainTextEdit::NoWrap);
    layout->addWidget(panel);
    layout->addWidget(MemoLog, 1);

    connect(buttonHide, &QPushButton::clicked, this, &QWidget::hide);
    connect(buttonCopyAll, &QPushButton::clicked, this, &TFormLog::copyAll);
    connect(buttonClear, &QPushButton::clicked, this, &TFormLog::clearLog);
    connect(buttonNewNode, &QPushButton::clicked, this, &TFormLog::newNodeFromLog);
}

void TFormLog::addLine(std::string_view line) {
    MemoLog->appendPlainText(toQt(line));
}

std::string TFormLog::logText() const {
    QString text = MemoLog->toPlainText();
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return fromQt(text);
}

int TFormLog::lineCount() const {
    return MemoLog->toPlainText().isEmpty() ? 0 : MemoLog->blockCount();
}

void TFormLog::copyAll() {
    MemoLog->selectAll();
    QGuiApplication::clipboard()->setText(MemoLog->toPlainText());
}

void TFormLog::clearLog() {
    MemoLog->clear();
}

void TFormLog::newNodeFromLog() {
    auto* main = qobject_cast<TFormMainScript*>(mainWindow_);
    if (!main) {
        report("aForm = nil");
        return;
    }
    std::string text = logText();
    // A refused new node must not receive the log: it would land in the
    // node that was current before.
    if (main->UINewNode() < 0) return;
    if (NodeEditor* editor = main->nodeEditor()) editor->setMemoText(text);
    main->UI2Model();
}

}  // namespace zel
