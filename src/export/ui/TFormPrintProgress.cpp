#include "export/ui/TFormPrintProgress.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "text/Sjis.h"

namespace zel {

TFormStrProgress::TFormStrProgress(std::string_view text, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("TStringsPrinter"));
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    caption = new QLabel(QString::fromStdString(sjisToUtf8(text)), this);
    bar = new QProgressBar(this);
    bar->setRange(0, 100);
    cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    layout->addWidget(caption);
    layout->addWidget(bar);
    layout->addWidget(cancelButton, 0, Qt::AlignHCenter);
    connect(cancelButton, &QPushButton::clicked, this, [this] { cancelled_ = true; });
    resize(320, sizeHint().height());
}

bool TFormStrProgress::advance(int percent) {
    bar->setValue(percent);
    QCoreApplication::processEvents();
    return !cancelled_;
}

}  // namespace zel
