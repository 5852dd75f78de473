#include "mail/ui/MailWidgets.h"

#include <QGridLayout>

#include "views/ViewText.h"

namespace zel {

MailStatusBar::MailStatusBar(QWidget* parent) : QStatusBar(parent) {
    setSizeGripEnabled(false);
    for (int i = 0; i < 2; ++i) {
        panels_[i] = new QLabel(this);
        panels_[i]->setObjectName(QString("Panel%1").arg(i));
        panels_[i]->setMinimumWidth(i == 0 ? 110 : 200);
        addWidget(panels_[i], i);
    }
}

void MailStatusBar::setPanel(int index, std::string_view sjis) {
    panels_[index]->setText(toQt(sjis));
    panels_[index]->repaint();
}

std::string MailStatusBar::panel(int index) const {
    return fromQt(panels_[index]->text());
}

QLineEdit* addBox(QGridLayout* grid, int row, int column, const char* caption,
                  const char* objectName) {
    auto* label = new QLabel(caption);
    auto* box = new QLineEdit;
    box->setObjectName(objectName);
    label->setBuddy(box);
    grid->addWidget(label, row, column * 2);
    grid->addWidget(box, row, column * 2 + 1);
    return box;
}

std::string boxText(const QLineEdit* box) {
    return fromQt(box->text());
}

void setBoxText(QLineEdit* box, std::string_view sjis) {
    box->setText(toQt(sjis));
}

}  // namespace zel
