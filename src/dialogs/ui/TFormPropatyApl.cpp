#include "dialogs/ui/TFormPropatyApl.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <algorithm>

#include "dialogs/ui/DialogHost.h"
#include "platform/FileSystem.h"
#include "text/TextHelpers.h"
#include "views/ViewText.h"

namespace zel {

TFormPropatyApl::TFormPropatyApl(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormPropatyApl"));
    setWindowTitle(QStringLiteral("Application Propaty"));
    resize(634, 198);
    auto* tempGroup = new QGroupBox(QStringLiteral("TempDir"), this);
    Button_SetTempDir = dialogButton(QStringLiteral("SetTempDir"), tempGroup);
    Button_Explorer = dialogButton(QStringLiteral("Explorer"), tempGroup);
    StaticTextTempDir = new QLabel(tempGroup);
    StaticTextTempDir->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* tempLayout = new QHBoxLayout(tempGroup);
    tempLayout->addWidget(Button_SetTempDir);
    tempLayout->addWidget(Button_Explorer);
    tempLayout->addWidget(StaticTextTempDir, 1);
    RadioGroup_DragAndDrop = new RadioGroup(
        QStringLiteral("DragAndDrop"),
        {QStringLiteral("Open "), QStringLiteral("String"), QStringLiteral("ExtractFileName")},
        this);
    RadioGroup_DragAndDrop->setItemIndex(0);
    Button_Font = dialogButton(QStringLiteral("Font"), this);
    Edit_AutoSaveTime = new QLineEdit(QStringLiteral("0"), this);
    Edit_AutoSaveTime->setMaximumWidth(80);
    Button_CLOSE = dialogButton(QStringLiteral("CLOSE"), this);
    auto* middle = new QHBoxLayout;
    middle->addWidget(RadioGroup_DragAndDrop);
    middle->addWidget(Button_Font);
    // Two groups the dialog carries without items.
    middle->addWidget(new QGroupBox(this));
    middle->addWidget(new QGroupBox(this));
    auto* autoSave = new QVBoxLayout;
    autoSave->addWidget(new QLabel(QStringLiteral("AutoSaveTime"), this));
    autoSave->addWidget(Edit_AutoSaveTime);
    autoSave->addStretch();
    autoSave->addWidget(Button_CLOSE);
    middle->addLayout(autoSave);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tempGroup);
    layout->addLayout(middle, 1);

    connect(Button_SetTempDir, &QPushButton::clicked, this, &TFormPropatyApl::SetTempDir);
    connect(Button_Explorer, &QPushButton::clicked, this, &TFormPropatyApl::Explorer);
    connect(Button_Font, &QPushButton::clicked, this, &TFormPropatyApl::Font);
    connect(Button_CLOSE, &QPushButton::clicked, this, &QDialog::accept);
    connect(RadioGroup_DragAndDrop, &RadioGroup::itemChosen, this, [this](int mode) {
        if (host_) host_->setDropMode(mode);
    });
    connect(Edit_AutoSaveTime, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (!host_) return;
        if (std::optional<long long> seconds = readInteger(fromQt(text)))
            host_->putAutoSaveTime_(static_cast<int>(std::clamp<long long>(*seconds, 0, 1 << 30)));
    });
}

void TFormPropatyApl::load(DialogHost& host) {
    host_ = &host;
    setFont(host.windowFont());
    StaticTextTempDir->setText(toQt(host.getTempDirectory()));
    RadioGroup_DragAndDrop->setItemIndex(host.dropMode());
    Edit_AutoSaveTime->setText(QString::number(host.getAutoSaveTime()));
}

void TFormPropatyApl::SetTempDir() {
    if (!host_) return;
    std::string chosen = host_->directoryName("SetTempDir", host_->getTempDirectory());
    if (chosen.empty()) return;
    if (chosen.back() != '/') chosen += '/';
    host_->setTempDirectory(trimText(chosen));
    StaticTextTempDir->setText(toQt(host_->getTempDirectory()));
}

void TFormPropatyApl::Explorer() {
    if (!host_) return;
    const std::string folder = host_->getTempDirectory();
    if (dirExists(folder))
        host_->explore(folder);
    else
        host_->messageBox(CompanionBox::Confirmation, "\"" + folder + "\" not exists.");
}

void TFormPropatyApl::Font() {
    if (host_) setFont(host_->UIFont());
}

}  // namespace zel
