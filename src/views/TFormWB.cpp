#include "views/TFormWB.h"

#include <QMenuBar>

#include "views/ViewText.h"

namespace zel {

namespace {
constexpr int kDesignWidth = 612;
constexpr int kDesignHeight = 578;
constexpr int kStatusPanelWidth = 50;
}  // namespace

TFormWB::TFormWB(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("FormWB"));
    setWindowFlag(Qt::Window);
    setWindowTitle(QStringLiteral("FormWB"));
    resize(kDesignWidth, kDesignHeight);
    FrameWB1 = new TFrameWB(this);
    FrameWB1->setObjectName(QStringLiteral("FrameWB1"));
    setCentralWidget(FrameWB1);
    // An empty menu bar, as the window has always had.
    menuBar();
    StatusBar1 = statusBar();
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    statusPanel = new QLabel(StatusBar1);
    statusPanel->setTextFormat(Qt::PlainText);
    statusPanel->setMinimumWidth(kStatusPanelWidth);
    StatusBar1->addWidget(statusPanel, 1);
    FrameWB1->setHost(this);
    FrameWB1->Button_NewNode->hide();
}

int TFormWB::showPage(std::string_view html) {
    FrameWB1->showHtml(html);
    return 0;
}

void TFormWB::webMessage(std::string_view text) {
    statusPanel->setText(toQt(text));
}

}  // namespace zel
