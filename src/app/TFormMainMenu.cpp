#include "app/TFormMainMenu.h"

#include <QHBoxLayout>
#include <QMouseEvent>
#include <QStatusBar>
#include <QVBoxLayout>

#include "app/CommandTable.h"
#include "model/MemoNode.h"
#include "text/TextHelpers.h"
#include "text/Values.h"
#include "views/ViewText.h"

namespace zel {

TFormMainMenu::TFormMainMenu(QWidget* parent) : TFormMainScript(parent) {
    buildToolPanel();
    buildStatusBar();
}

void TFormMainMenu::buildToolPanel() {
    Panel_Tool = new QWidget(this);
    Panel_Tool->setAutoFillBackground(true);
    auto* layout = new QHBoxLayout(Panel_Tool);
    layout->setContentsMargins(2, 2, 2, 2);
    CheckBox_UIReadOnly = new QCheckBox(QStringLiteral("ReadOnly"), Panel_Tool);
    layout->addWidget(CheckBox_UIReadOnly);
    QPushButton* save = addCommandButton("UISaveHolderNoMSG", "Save Current Holder.");
    save->setText(QStringLiteral("SAVE"));
    layout->addWidget(save);
    layout->addWidget(addCommandButton("Break", "Break "));
    layout->addWidget(addCommandButton("UINewNode", "Create New MemoNode. ( text type )"));
    layout->addWidget(addCommandButton("Done", "Break force."));
    layout->addWidget(addCommandButton("UITerminate_", "Exit force. not save files."));
    CheckBox_UIInternet = new QCheckBox(QStringLiteral("Internet"), Panel_Tool);
    CheckBox_UIInternet->setChecked(true);
    layout->addWidget(CheckBox_UIInternet);
    layout->addStretch();
    // A plain panel above the holder frame rather than a tool bar: tool bars
    // paint over their widgets' background, and this panel shows the memo
    // file's colour.
    auto* body = new QWidget(this);
    bodyLayout_ = new QVBoxLayout(body);
    bodyLayout_->setContentsMargins(0, 0, 0, 0);
    bodyLayout_->setSpacing(0);
    bodyLayout_->addWidget(Panel_Tool);
    setCentralWidget(body);
}

void TFormMainMenu::setHolderFrame(QWidget* frame) {
    bodyLayout_->addWidget(frame, 1);
}

QPushButton* TFormMainMenu::addCommandButton(std::string_view name, const char* hint) {
    const CommandEntry* entry = findCommand(name);
    auto* button = new QPushButton(toQt(entry->caption), Panel_Tool);
    button->setObjectName(toQt(name));
    button->setToolTip(QString::fromLatin1(hint));
    connect(button, &QPushButton::clicked, this, [this, entry] { entry->run(*this); });
    return button;
}

QPushButton* TFormMainMenu::toolButton(std::string_view name) const {
    return Panel_Tool->findChild<QPushButton*>(toQt(name));
}

void TFormMainMenu::buildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setToolTip(QStringLiteral("ReadOnly :  Count of Holders : Message"));
    statusReadOnly = new QLabel(bar);
    statusReadOnly->setFixedWidth(24);
    statusReadOnly->setAlignment(Qt::AlignCenter);
    statusHolderCount = new QLabel(bar);
    statusHolderCount->setFixedWidth(24);
    statusHolderCount->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    statusMessagePanel = new QLabel(bar);
    statusMessagePanel->setMinimumWidth(100);
    bar->addWidget(statusReadOnly);
    bar->addWidget(statusHolderCount);
    bar->addWidget(statusMessagePanel, 1);
    bar->installEventFilter(this);
    statusMessagePanel->installEventFilter(this);
}

void TFormMainMenu::showMessageText(std::string_view text) {
    // One line: a multi-line message would stretch the status bar.
    QString line = toQt(text);
    line.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    statusMessagePanel->setText(line);
}

void TFormMainMenu::refreshReadOnlyIndicator() {
    MemoNode* node = getCurMemoNode();
    statusReadOnly->setText(node && node->isReadOnlyEffective_() ? QStringLiteral("RO")
                                                                 : QString());
}

void TFormMainMenu::showHolderCount() {
    statusHolderCount->setNum(aFile->countOfHolders_());
}

void TFormMainMenu::refreshColor() {
    std::string colour = stripQuotes(aFile->getField_("Color"));
    if (colour.empty()) return;
    QPalette palette = Panel_Tool->palette();
    palette.setColor(QPalette::Window, toQColor(nameToColor(colour)));
    Panel_Tool->setPalette(palette);
}

bool TFormMainMenu::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        statusMessagePanel->clear();
    }
    return TFormMainScript::eventFilter(watched, event);
}

}  // namespace zel
