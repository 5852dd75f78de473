#include "dialogs/ui/DialogWidgets.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPalette>
#include <algorithm>

#include "views/ViewText.h"

namespace zel {

HistoryBox::HistoryBox(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setMinimumContentsLength(12);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
}

std::string HistoryBox::text() const {
    return fromQt(currentText());
}

void HistoryBox::setText(std::string_view sjis) {
    setEditText(toQt(sjis));
}

void HistoryBox::enter(std::string_view sjis) {
    history_.enter(sjis);
    refill();
    setEditText(toQt(sjis));
}

void HistoryBox::setEntries(const std::vector<std::string>& entries) {
    const QString typed = currentText();
    history_.assign(entries);
    refill();
    setEditText(typed);
}

void HistoryBox::refill() {
    QStringList items;
    for (const std::string& entry : history_.entries()) items << toQt(entry);
    clear();
    addItems(items);
}

ColourField::ColourField(const QString& caption, QWidget* parent) : QLabel(caption, parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setAlignment(Qt::AlignCenter);
    setMinimumSize(64, 22);
    setAutoFillBackground(true);
    setCursor(Qt::PointingHandCursor);
}

void ColourField::setColour(const QColor& colour) {
    colour_ = colour;
    QPalette shown = palette();
    shown.setColor(QPalette::Window, colour);
    shown.setColor(QPalette::WindowText, colour.lightness() < 128 ? Qt::white : Qt::black);
    setPalette(shown);
}

void ColourField::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit clicked();
    QLabel::mousePressEvent(event);
}

RadioGroup::RadioGroup(const QString& caption, const QStringList& items, QWidget* parent,
                       int columns)
    : QGroupBox(caption, parent), group_(new QButtonGroup(this)) {
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    columns = std::max(columns, 1);
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], this);
        group_->addButton(button, i);
        buttons_.push_back(button);
        layout->addWidget(button, i / columns, i % columns);
    }
    connect(group_, &QButtonGroup::idClicked, this, &RadioGroup::itemChosen);
}

int RadioGroup::itemIndex() const {
    return group_->checkedId();
}

void RadioGroup::setItemIndex(int index) {
    if (index >= 0 && index < count()) {
        buttons_[static_cast<std::size_t>(index)]->setChecked(true);
        return;
    }
    // An exclusive group keeps one button checked; none needs it lifted.
    group_->setExclusive(false);
    for (QRadioButton* button : buttons_) button->setChecked(false);
    group_->setExclusive(true);
}

QString RadioGroup::itemText() const {
    const int index = itemIndex();
    return index < 0 ? QString() : buttons_[static_cast<std::size_t>(index)]->text();
}

bool RadioGroup::setItemText(const QString& caption) {
    for (int i = 0; i < count(); ++i) {
        if (buttons_[static_cast<std::size_t>(i)]->text() == caption) {
            setItemIndex(i);
            return true;
        }
    }
    setItemIndex(-1);
    return false;
}

QRadioButton* RadioGroup::button(int index) const {
    return buttons_.at(static_cast<std::size_t>(index));
}

QString linesToQt(const std::vector<std::string>& lines) {
    QStringList shown;
    for (const std::string& line : lines) shown << toQt(line);
    return shown.join(QLatin1Char('\n'));
}

QPushButton* dialogButton(const QString& caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setAutoDefault(false);
    return button;
}

}  // namespace zel
