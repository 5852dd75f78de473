#include "dialogs/ui/TFormPropaty.h"

#include <QHBoxLayout>

#include "dialogs/ui/DialogWidgets.h"

namespace zel {

TFormPropaty::TFormPropaty(QWidget* parent) : QDialog(parent) {
    resize(350, 450);
    Panel_Bottom = new QWidget(this);
    Button_OK = dialogButton(QStringLiteral("OK"), Panel_Bottom);
    Button_CANCEL = dialogButton(QStringLiteral("CANCEL"), Panel_Bottom);
    auto* buttons = new QHBoxLayout(Panel_Bottom);
    buttons->setContentsMargins(4, 4, 4, 4);
    buttons->addStretch();
    buttons->addWidget(Button_OK);
    buttons->addWidget(Button_CANCEL);
    body_ = new QVBoxLayout;
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(body_, 1);
    layout->addWidget(Panel_Bottom);
    connect(Button_OK, &QPushButton::clicked, this, [this] {
        storeRecord_();
        accept();
    });
    connect(Button_CANCEL, &QPushButton::clicked, this, &QDialog::reject);
}

int TFormPropaty::loadRecord_(MemoBasic&) {
    return -1;
}

int TFormPropaty::storeRecord_() {
    return -1;
}

}  // namespace zel
