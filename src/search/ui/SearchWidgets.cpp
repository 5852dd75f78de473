#include "search/ui/SearchWidgets.h"

#include <QLineEdit>
#include <QPalette>

#include "model/MemoBasic.h"
#include "search/KeywordHistory.h"
#include "text/Sjis.h"
#include "views/ViewText.h"

namespace zel {

bool storedText(const QString& text, std::string& sjis) {
    std::size_t replaced = 0;
    sjis = utf8ToSjis(text.toStdString(), &replaced);
    return replaced == 0;
}

void putOnTop(QComboBox* box, const QString& text) {
    if (text.isEmpty()) return;
    const QString typed = box->currentText();
    const int earlier = box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (earlier >= 0) box->removeItem(earlier);
    box->insertItem(0, text);
    box->setEditText(typed);
}

void listHistory(QComboBox* box, const KeywordHistory& history) {
    const QString typed = box->currentText();
    box->clear();
    for (const std::string& keyword : history.entries()) box->addItem(toQt(keyword));
    box->setEditText(typed);
}

QComboBox* makeKeywordBox(QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMinimumContentsLength(16);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    return box;
}

StatusPanel::StatusPanel(QWidget* parent) : QLabel(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setTextInteractionFlags(Qt::NoTextInteraction);
    setMinimumHeight(fontMetrics().height() + 6);
}

void StatusPanel::setStatus(std::string_view sjis) {
    setText(toQt(sjis));
}

std::string StatusPanel::shown() const {
    return fromQt(text());
}

void StatusPanel::mousePressEvent(QMouseEvent* event) {
    clear();
    QLabel::mousePressEvent(event);
}

QColor recordColour(const MemoBasic& record, const QColor& fallback) {
    if (record.getField_("Color").empty()) return fallback;
    return toQColor(record.getColor_());
}

void placeOverParent(QWidget* window) {
    if (window->isVisible() || window->property("zelPlaced").toBool()) return;
    window->setProperty("zelPlaced", true);
    if (const QWidget* parent = window->parentWidget())
        window->move(parent->geometry().center() - window->rect().center());
}

void paintPanel(QWidget* panel, const QColor& colour) {
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, colour);
    panel->setPalette(palette);
    panel->setAutoFillBackground(true);
}

}  // namespace zel
