#include "dialogs/ui/TFormSaveEach.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QVBoxLayout>

#include "dialogs/SaveEach.h"
#include "dialogs/ui/DialogWidgets.h"
#include "dialogs/ui/FileListHost.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "text/LineList.h"
#include "text/TextHelpers.h"
#include "views/ViewText.h"

namespace zel {

namespace {

// Events are let through every few nodes, so Break can be pressed.
constexpr int kNodesPerEvents = 50;

WriteOverAnswer writeOverAnswer(HostAnswer answer) {
    switch (answer) {
        case HostAnswer::Yes:
            return WriteOverAnswer::Yes;
        case HostAnswer::No:
            return WriteOverAnswer::No;
        default:
            return WriteOverAnswer::Cancel;
    }
}

}  // namespace

DirectoryLine::DirectoryLine(QWidget* parent) : QLabel(parent) {
    setFrameShape(QFrame::StyledPanel);
    setCursor(Qt::PointingHandCursor);
}

void DirectoryLine::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit clicked();
    QLabel::mousePressEvent(event);
}

TFormSaveEach::TFormSaveEach(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormSaveEach"));
    setWindowTitle(QStringLiteral("FormSaveEach"));
    resize(556, 541);
    Panel_Top = new QWidget(this);
    Panel_Top->setMinimumHeight(97);
    StaticText1 = new DirectoryLine(Panel_Top);
    CheckBox_DefineDirectory = new QCheckBox(QStringLiteral("Define Save Directory"), Panel_Top);
    CheckBox_DefineDirectory->setChecked(true);
    CheckBox_ConfirmWriteOver = new QCheckBox(QStringLiteral("Confirm Write Over"), Panel_Top);
    CheckBox_ConfirmWriteOver->setChecked(true);
    CheckBox_MarkNodeOnly = new QCheckBox(QStringLiteral("Mark Node Only"), Panel_Top);
    CheckBox_ChangeFilename = new QCheckBox(QStringLiteral("Change Filename"), Panel_Top);
    Button_Break = dialogButton(QStringLiteral("Break"), Panel_Top);
    Button_Clear = dialogButton(QStringLiteral("Clear"), Panel_Top);
    Button_SetDirectory = dialogButton(QStringLiteral("Set Directory"), Panel_Top);
    Button_SaveEach = dialogButton(QStringLiteral("Save Each"), Panel_Top);
    Button_Close = dialogButton(QStringLiteral("Close"), Panel_Top);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setReadOnly(true);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);

    auto* boxes = new QHBoxLayout;
    for (QCheckBox* box : {CheckBox_DefineDirectory, CheckBox_ConfirmWriteOver,
                           CheckBox_MarkNodeOnly, CheckBox_ChangeFilename})
        boxes->addWidget(box);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b :
         {Button_Break, Button_Clear, Button_SetDirectory, Button_SaveEach, Button_Close})
        buttons->addWidget(b);
    auto* top = new QVBoxLayout(Panel_Top);
    top->setContentsMargins(4, 4, 4, 4);
    top->addWidget(StaticText1);
    top->addLayout(boxes);
    top->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Panel_Top);
    layout->addWidget(Memo1, 1);

    connect(StaticText1, &DirectoryLine::clicked, this, &TFormSaveEach::SetDirectory);
    connect(Button_SetDirectory, &QPushButton::clicked, this, &TFormSaveEach::SetDirectory);
    connect(Button_SaveEach, &QPushButton::clicked, this, &TFormSaveEach::SaveEach);
    connect(Button_Break, &QPushButton::clicked, this, &TFormSaveEach::Break);
    connect(Button_Clear, &QPushButton::clicked, this, &TFormSaveEach::Clear);
    connect(Button_Close, &QPushButton::clicked, this, &QDialog::accept);
}

void TFormSaveEach::open(FileListHost& host, bool markNodeOnly) {
    host_ = &host;
    setFont(host.windowFont());
    CheckBox_MarkNodeOnly->setChecked(markNodeOnly);
    if (directory_.empty())
        if (const MemoFile* file = host.memoFile())
            setDirectory(folderOf(file->getMemoFilePath_()));
}

std::string TFormSaveEach::directory() const {
    return directory_;
}

void TFormSaveEach::setDirectory(std::string_view directory) {
    directory_ = std::string(directory);
    StaticText1->setText(toQt(directory_));
}

std::vector<std::string> TFormSaveEach::logLines() const {
    return textLines(fromQt(Memo1->toPlainText()));
}

bool TFormSaveEach::breakPressed() {
    if (++polls_ % kNodesPerEvents == 0) QCoreApplication::processEvents();
    return break_;
}

void TFormSaveEach::SaveEach() {
    if (!host_ || host_->nowDoing()) return;
    // The editor's text is the current node's body.
    host_->UI2Model();
    MemoHolder* holder = host_->getCurHolder();
    SaveEachOptions options;
    options.defineDirectory = CheckBox_DefineDirectory->isChecked();
    options.confirmWriteOver = CheckBox_ConfirmWriteOver->isChecked();
    options.markedOnly = CheckBox_MarkNodeOnly->isChecked();
    options.changeFilename = CheckBox_ChangeFilename->isChecked();
    SaveEachCalls calls;
    calls.askWriteOver = [this](const std::string& question) {
        return writeOverAnswer(host_->askYesNoCancel(question));
    };
    calls.breakRequested = [this] { return breakPressed(); };
    host_->startDoing_("Save Each");
    std::vector<std::string> log;
    const SaveEachResult result = saveEach(holder, directory_, options, calls, log);
    break_ = false;
    polls_ = 0;
    // One change of the log, however many nodes there were.
    Memo1->appendPlainText(linesToQt(log));
    if (holder && options.changeFilename && result.saved > 0) host_->nodeFieldsChanged(*holder);
    host_->doneDoing_(result.finalText);
}

void TFormSaveEach::SetDirectory() {
    if (!host_) return;
    std::string start = trimText(directory_);
    if (start.empty())
        if (const MemoFile* file = host_->memoFile()) start = folderOf(file->getMemoFilePath_());
    std::string chosen = host_->directoryName("Set Directory", start);
    if (chosen.empty()) return;
    if (chosen.back() != '/') chosen += '/';
    setDirectory(chosen);
}

void TFormSaveEach::Break() {
    break_ = true;
}

void TFormSaveEach::Clear() {
    Memo1->clear();
}

}  // namespace zel
