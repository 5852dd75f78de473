#include "views/HolderTabs.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionTab>
#include <QTabBar>
#include <QWheelEvent>
#include <algorithm>
#include <unordered_map>

#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "views/ViewText.h"

namespace zel {

namespace {

constexpr int kLeastHeight = 18;
constexpr int kScrollButtonWidth = 18;
// A tab shows at most this much of a name: a hostile name of megabytes
// would otherwise be measured and drawn whole.
constexpr int kLongestShownName = 200;
constexpr int kWidestTabText = 320;
constexpr std::string_view kTabControlMode = "\"TabControl\"";

std::unordered_map<const MemoFile*, HolderTabs*>& stripsByFile() {
    static std::unordered_map<const MemoFile*, HolderTabs*> strips;
    return strips;
}

QToolButton* scrollButton(QWidget* parent, Qt::ArrowType arrow) {
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->hide();
    return button;
}

}  // namespace

HolderTabs::HolderTabs(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TabControl1"));
    setMinimumHeight(kLeastHeight);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    // The main window fills it with the commands of its menu map.
    PopupMenuHolder = new QMenu(this);
    scrollLeft_ = scrollButton(this, Qt::LeftArrow);
    scrollRight_ = scrollButton(this, Qt::RightArrow);
    connect(scrollLeft_, &QToolButton::clicked, this, [this] { scrollBy(-1); });
    connect(scrollRight_, &QToolButton::clicked, this, [this] { scrollBy(1); });
}

HolderTabs::~HolderTabs() {
    auto& strips = stripsByFile();
    if (auto found = strips.find(file_); found != strips.end() && found->second == this)
        strips.erase(found);
}

void HolderTabs::bind(MemoFile& file) {
    if (file_ && file_ != &file) stripsByFile().erase(file_);
    file_ = &file;
    stripsByFile()[&file] = this;
    if (!bound_) {
        bound_ = true;
        refreshTabs();
    }
    file.setDisplayMode_(kTabControlMode);
}

MemoHolder* HolderTabs::holderAt(int tab) const {
    return tab >= 0 && tab < count() ? tabs_[static_cast<std::size_t>(tab)].holder : nullptr;
}

QString HolderTabs::tabText(int tab) const {
    return tab >= 0 && tab < count() ? tabs_[static_cast<std::size_t>(tab)].text : QString();
}

void HolderTabs::refreshTabs() {
    if (!bound_ || !file_) return;
    const int holders = file_->countOfHolders_();
    tabs_.resize(static_cast<std::size_t>(holders));
    for (int i = 0; i < holders; ++i) {
        Tab& tab = tabs_[static_cast<std::size_t>(i)];
        tab.holder = file_->holderAt_(i);
        const std::string& name = file_->holders->nameAt(static_cast<std::size_t>(i));
        if (tab.name == name) continue;
        tab.name = name;
        tab.text = toQt(name);
        tab.width = -1;
    }
    if (current_ >= holders) current_ = -1;
    first_ = std::clamp(first_, 0, std::max(0, holders - 1));
    selectHolder(file_->currentHolder);
    placeButtons();
    update();
}

void HolderTabs::selectHolder(const MemoHolder* holder) {
    if (!file_ || !holder) return;
    const int index = file_->indexOfHolder_(holder);
    if (index < 0 || index >= count()) return;
    current_ = index;
    makeVisible(index);
    update();
}

void HolderTabs::setCurrentIndex(int tab) {
    if (tab < 0 || tab >= count() || tab == current_) return;
    current_ = tab;
    makeVisible(tab);
    update();
    emit holderChosen(holderAt(tab));
}

void HolderTabs::refreshTabsOf(const MemoFile& file) {
    auto& strips = stripsByFile();
    if (auto found = strips.find(&file); found != strips.end()) found->second->refreshTabs();
}

// --- Measuring and placing ---------------------------------------------------------

namespace {

// The text a tab draws: the start of a long name, elided to the widest tab;
// "&" doubled, since a tab would take it for a mnemonic.
QString shownText(const QString& name, const QFontMetrics& metrics) {
    QString text = metrics.elidedText(name.left(kLongestShownName), Qt::ElideRight, kWidestTabText);
    return text.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

}  // namespace

int HolderTabs::tabHeight() const {
    QStyleOptionTab option;
    option.initFrom(this);
    option.shape = QTabBar::RoundedSouth;
    const int space = style()->pixelMetric(QStyle::PM_TabBarTabVSpace, &option, this);
    const QSize contents(0, fontMetrics().height() + space);
    return std::max(
        kLeastHeight,
        style()->sizeFromContents(QStyle::CT_TabBarTab, &option, contents, this).height());
}

int HolderTabs::tabWidth(int tab) const {
    const Tab& entry = tabs_[static_cast<std::size_t>(tab)];
    if (entry.width >= 0) return entry.width;
    QStyleOptionTab option;
    option.initFrom(this);
    option.shape = QTabBar::RoundedSouth;
    option.text = shownText(entry.text, fontMetrics());
    const int space = style()->pixelMetric(QStyle::PM_TabBarTabHSpace, &option, this);
    const QSize contents(fontMetrics().size(Qt::TextShowMnemonic, option.text).width() + space,
                         tabHeight());
    entry.width = std::max(
        1, style()->sizeFromContents(QStyle::CT_TabBarTab, &option, contents, this).width());
    return entry.width;
}

int HolderTabs::stripWidth() const {
    return scrollLeft_->isVisibleTo(this) ? width() - 2 * kScrollButtonWidth : width();
}

int HolderTabs::endOfShownTabs() const {
    const int limit = stripWidth();
    int right = 0;
    int tab = first_;
    while (tab < count() && right + tabWidth(tab) <= limit) right += tabWidth(tab++);
    return tab;
}

int HolderTabs::firstShowing(int tab) const {
    int right = tabWidth(tab);
    int first = tab;
    while (first > 0 && right + tabWidth(first - 1) <= stripWidth()) right += tabWidth(--first);
    return first;
}

void HolderTabs::makeVisible(int tab) {
    if (tab < 0 || tab >= count()) return;
    if (tab < first_)
        first_ = tab;
    else if (tab >= endOfShownTabs())
        first_ = firstShowing(tab);
    placeButtons();
}

void HolderTabs::scrollBy(int tabs) {
    const int wanted = first_ + tabs;
    if (wanted < 0 || wanted >= count()) return;
    if (tabs > 0 && endOfShownTabs() >= count()) return;
    first_ = wanted;
    placeButtons();
    update();
}

void HolderTabs::placeButtons() {
    // Scrolling is offered once the tabs do not all fit.
    int right = 0;
    bool allFit = first_ == 0;
    for (int tab = 0; allFit && tab < count(); ++tab) {
        right += tabWidth(tab);
        allFit = right <= width();
    }
    const int height = tabHeight();
    scrollLeft_->setVisible(!allFit);
    scrollRight_->setVisible(!allFit);
    if (allFit) return;
    scrollLeft_->setGeometry(width() - 2 * kScrollButtonWidth, 0, kScrollButtonWidth, height);
    scrollRight_->setGeometry(width() - kScrollButtonWidth, 0, kScrollButtonWidth, height);
    scrollLeft_->setEnabled(first_ > 0);
    scrollRight_->setEnabled(endOfShownTabs() < count());
}

int HolderTabs::tabAt(const QPoint& point) const {
    if (point.y() < 0 || point.y() >= height() || point.x() < 0 || point.x() >= stripWidth())
        return -1;
    int left = 0;
    for (int tab = first_; tab < count() && left < stripWidth(); ++tab) {
        left += tabWidth(tab);
        if (point.x() < left) return tab;
    }
    return -1;
}

QRect HolderTabs::tabRect(int tab) const {
    if (tab < first_ || tab >= count()) return {};
    int left = 0;
    for (int at = first_; at < tab; ++at) {
        left += tabWidth(at);
        if (left >= stripWidth()) return {};
    }
    return {left, 0, tabWidth(tab), tabHeight()};
}

QSize HolderTabs::sizeHint() const {
    return {4 * kWidestTabText, tabHeight()};
}

QSize HolderTabs::minimumSizeHint() const {
    return {2 * kScrollButtonWidth, tabHeight()};
}

// --- Painting and input ------------------------------------------------------------

void HolderTabs::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int limit = stripWidth();
    const int height = tabHeight();
    QStyleOptionTabBarBase base;
    base.initFrom(this);
    base.shape = QTabBar::RoundedSouth;
    const int overlap = style()->pixelMetric(QStyle::PM_TabBarBaseOverlap, nullptr, this);
    base.rect = QRect(0, 0, width(), overlap);
    base.tabBarRect = QRect(0, 0, limit, height);
    base.selectedTabRect = tabRect(current_);
    style()->drawPrimitive(QStyle::PE_FrameTabBarBase, &base, &painter, this);

    painter.setClipRect(0, 0, limit, this->height());
    QStyleOptionTab selected;
    int left = 0;
    for (int tab = first_; tab < count() && left < limit; ++tab) {
        QStyleOptionTab option;
        option.initFrom(this);
        option.shape = QTabBar::RoundedSouth;
        option.text = shownText(tabs_[static_cast<std::size_t>(tab)].text, fontMetrics());
        option.rect = QRect(left, 0, tabWidth(tab), height);
        option.position = count() == 1         ? QStyleOptionTab::OnlyOneTab
                          : tab == 0           ? QStyleOptionTab::Beginning
                          : tab == count() - 1 ? QStyleOptionTab::End
                                               : QStyleOptionTab::Middle;
        option.selectedPosition = tab + 1 == current_   ? QStyleOptionTab::NextIsSelected
                                  : tab - 1 == current_ ? QStyleOptionTab::PreviousIsSelected
                                                        : QStyleOptionTab::NotAdjacent;
        left += option.rect.width();
        if (tab == current_) {
            option.state |= QStyle::State_Selected;
            // Drawn last, over its neighbours, as a tab bar does.
            selected = option;
            continue;
        }
        style()->drawControl(QStyle::CE_TabBarTab, &option, &painter, this);
    }
    if (selected.state & QStyle::State_Selected)
        style()->drawControl(QStyle::CE_TabBarTab, &selected, &painter, this);
}

void HolderTabs::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) setCurrentIndex(tabAt(event->position().toPoint()));
    QWidget::mousePressEvent(event);
}

void HolderTabs::contextMenuEvent(QContextMenuEvent* event) {
    setCurrentIndex(tabAt(event->pos()));
    PopupMenuHolder->popup(event->globalPos());
}

void HolderTabs::wheelEvent(QWheelEvent* event) {
    const QPoint delta = event->angleDelta();
    const int steps = delta.y() != 0 ? delta.y() : delta.x();
    if (steps != 0) scrollBy(steps > 0 ? -1 : 1);
    event->accept();
}

void HolderTabs::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeButtons();
    // A wider strip shows again the tabs before the current one.
    if (current_ >= 0) first_ = std::min(first_, firstShowing(current_));
    makeVisible(current_);
    placeButtons();
}

void HolderTabs::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        for (Tab& tab : tabs_) tab.width = -1;
        updateGeometry();
        placeButtons();
    }
    QWidget::changeEvent(event);
}

}  // namespace zel
