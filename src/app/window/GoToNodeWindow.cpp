#include "app/window/GoToNodeWindow.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/window/TFormMainScript.h"
#include "model/HolderFile.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "views/ViewText.h"

namespace zel {

namespace {

// More would not fit the list without scrolling, and nobody reads further.
constexpr std::size_t kShownMatches = 50;

std::vector<std::string> loadedNames(const MemoHolder& holder) {
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(holder.count_()));
    for (int i = 0; i < holder.count_(); ++i) names.push_back(holder.at_(i)->getName_());
    return names;
}

}  // namespace

GoToNodeWindow::GoToNodeWindow(TFormMainScript& window) : QDialog(&window), window_(window) {
    setObjectName(QStringLiteral("GoToNodeWindow"));
    setWindowTitle(QStringLiteral("Go to Node"));
    auto* layout = new QVBoxLayout(this);
    line = new QLineEdit(this);
    line->setPlaceholderText(QStringLiteral("Part of a node's name, or its initials"));
    matches = new QListWidget(this);
    matches->setUniformItemSizes(true);
    layout->addWidget(line);
    layout->addWidget(matches);
    resize(480, 360);
    line->installEventFilter(this);
    connect(line, &QLineEdit::textChanged, this, [this] { showMatches(); });
    connect(line, &QLineEdit::returnPressed, this,
            [this] { choose(std::max(matches->currentRow(), 0)); });
    connect(matches, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { choose(matches->row(item)); });
    connect(matches, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { choose(matches->row(item)); });
}

void GoToNodeWindow::start() {
    gatherNames();
    line->clear();
    showMatches();
    show();
    raise();
    activateWindow();
    line->setFocus();
}

void GoToNodeWindow::gatherNames() {
    index_.clear();
    MemoFile& file = *window_.aFile;
    for (int i = 0; i < file.countOfHolders_(); ++i) {
        const MemoHolder& holder = *file.holderAt_(i);
        const auto at = static_cast<std::size_t>(i);
        if (holder.loaded) {
            index_.addHolder(at, loadedNames(holder));
        } else if (const std::vector<std::string>* names =
                       fileNames_.names(holderFilePath_(holder))) {
            index_.addHolder(at, *names);
        }
    }
}

void GoToNodeWindow::showMatches() {
    shown_ = index_.find(fromQt(line->text()), kShownMatches);
    matches->clear();
    for (const FinderMatch& match : shown_) {
        const FinderEntry& entry = index_.entry(match.entry);
        const MemoHolder* holder = window_.aFile->holderAt_(static_cast<int>(entry.holder));
        const std::string holderName = holder ? holder->getName_() : std::string();
        matches->addItem(toQt(holderName + " / " + entry.name));
    }
    if (!shown_.empty()) matches->setCurrentRow(0);
}

MemoNode* GoToNodeWindow::nodeOf(MemoHolder& holder, const FinderEntry& entry) const {
    std::size_t seen = 0;
    for (int i = 0; i < holder.count_(); ++i) {
        MemoNode* node = holder.at_(i);
        if (node->getName_() == entry.name && seen++ == entry.sameNameBefore) return node;
    }
    // The file changed since its names were read: the name alone decides.
    return holder.byName_(entry.name);
}

bool GoToNodeWindow::choose(int row) {
    if (row < 0 || row >= static_cast<int>(shown_.size())) return false;
    const FinderEntry entry = index_.entry(shown_[static_cast<std::size_t>(row)].entry);
    MemoHolder* holder = window_.aFile->holderAt_(static_cast<int>(entry.holder));
    if (!holder || window_.nowDoing()) return false;
    hide();
    window_.changeHolder_(holder);
    MemoNode* node = nodeOf(*holder, entry);
    if (!node) {
        window_.messageDoing_("ERROR: Go to Node: no node \"" + entry.name + "\" in " +
                              holder->getName_());
        return false;
    }
    window_.setCurMemoNode_(node);
    window_.messageDoing_("Done: Go to Node " + holder->getName_() + " / " + entry.name);
    return true;
}

bool GoToNodeWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == line && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const int step = key == Qt::Key_Down ? 1 : key == Qt::Key_Up ? -1 : 0;
        if (step != 0 && matches->count() > 0) {
            matches->setCurrentRow(
                std::clamp(matches->currentRow() + step, 0, matches->count() - 1));
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace zel
