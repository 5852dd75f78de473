#include "views/HolderTabs.h"

#include <unordered_map>

#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "views/ViewText.h"

namespace zel {

namespace {

constexpr int kLeastHeight = 18;
constexpr std::string_view kTabControlMode = "\"TabControl\"";

std::unordered_map<const MemoFile*, HolderTabs*>& stripsByFile() {
    static std::unordered_map<const MemoFile*, HolderTabs*> strips;
    return strips;
}

}  // namespace

HolderTabs::HolderTabs(QWidget* parent) : QTabBar(parent) {
    setObjectName(QStringLiteral("TabControl1"));
    setShape(QTabBar::RoundedSouth);
    setExpanding(false);
    setUsesScrollButtons(true);
    setDrawBase(true);
    setMinimumHeight(kLeastHeight);
    setContextMenuPolicy(Qt::CustomContextMenu);
    // The main window fills it with the commands of its menu map.
    PopupMenuHolder = new QMenu(this);
    connect(this, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PopupMenuHolder->popup(mapToGlobal(at)); });
    connect(this, &QTabBar::currentChanged, this, [this](int tab) {
        if (refilling_) return;
        if (MemoHolder* holder = holderAt(tab)) emit holderChosen(holder);
    });
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
    if (!file_ || tab < 0) return nullptr;
    return static_cast<MemoHolder*>(tabData(tab).value<void*>());
}

void HolderTabs::refreshTabs() {
    if (!bound_ || !file_) return;
    refilling_ = true;
    HolderList holders;
    file_->listHolders_(holders);
    while (count() > static_cast<int>(holders.size())) removeTab(count() - 1);
    for (std::size_t i = 0; i < holders.size(); ++i) {
        const int tab = static_cast<int>(i);
        if (tab >= count()) addTab(QString());
        // A tab takes "&" for a mnemonic: "R&D notes" must show its "&".
        setTabText(tab, toQt(holders[i].first).replace(QLatin1Char('&'), QStringLiteral("&&")));
        setTabData(tab, QVariant::fromValue(static_cast<void*>(holders[i].second)));
    }
    refilling_ = false;
    selectHolder(file_->currentHolder);
}

void HolderTabs::selectHolder(const MemoHolder* holder) {
    if (!file_ || !holder) return;
    const int index = file_->indexOfHolder_(holder);
    if (index < 0 || index >= count()) return;
    refilling_ = true;
    setCurrentIndex(index);
    refilling_ = false;
}

void HolderTabs::refreshTabsOf(const MemoFile& file) {
    auto& strips = stripsByFile();
    if (auto found = strips.find(&file); found != strips.end()) found->second->refreshTabs();
}

}  // namespace zel
