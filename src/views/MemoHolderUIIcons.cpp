// Icons from icon nodes, and the export lines of the holder view.

#include <QCoreApplication>
#include <QFileInfo>
#include <QPixmap>
#include <charconv>

#include "formats/TContent.h"
#include "model/MemoFile.h"
#include "text/DateTime.h"
#include "text/Sjis.h"
#include "text/TextHelpers.h"
#include "views/MemoHolderUI.h"
#include "views/ViewText.h"

namespace zel {

namespace {

// The name words of an icon node "icon <number> <label>".
struct IconName {
    std::string keyword, number, label;
};

// Cheaply rules out the names of ordinary nodes before they are split.
bool mayNameIcon(std::string_view name) {
    name = trimmedView(name);
    return name.size() >= 4 && lowerText(name.substr(0, 4)) == "icon";
}

IconName iconName(std::string_view name) {
    auto [keyword, afterKeyword] = splitFirstWord(trimText(name));
    auto [number, afterNumber] = splitFirstWord(afterKeyword);
    return {std::move(keyword), std::move(number), splitFirstWord(afterNumber).first};
}

QIcon decodeIcon(const MemoNode& node) {
    QPixmap picture;
    if (node.content && node.content->stream) {
        const std::string& bytes = *node.content->stream;
        const auto* data = reinterpret_cast<const uchar*>(bytes.data());
        const auto length = static_cast<uint>(bytes.size());
        if (!picture.loadFromData(data, length, "ICO")) picture.loadFromData(data, length);
    }
    return picture.isNull() ? QIcon() : QIcon(picture);
}

// A whole decimal number, or -1.
int decimalOr(std::string_view text, int fallback) {
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && !text.empty() ? value
                                                                                     : fallback;
}

}  // namespace

int MemoHolderUI::loadIcons_() {
    iconMap_.reset();
    imageList_.reset();
    iconsInUse_ = false;
    for (std::size_t i = 0; i < nodes->childCount(); ++i) {
        if (!mayNameIcon(nodes->nameAt(i))) continue;
        MemoNode* node = baseAt(i);
        IconName words = iconName(nodes->nameAt(i));
        if (lowerText(words.keyword) != "icon") continue;
        if (lowerText(node->getContentType_()) != "\"image/ico\"") continue;
        if (!iconMap_)
            iconMap_ = std::make_unique<std::vector<std::pair<std::string, MemoNode*>>>();
        iconMap_->emplace_back(words.number, node);
    }
    if (!iconMap_) return 0;
    for (std::size_t i = 0; i < iconMap_->size(); ++i) {
        const std::string number = std::to_string(i);
        auto entry = std::find_if(iconMap_->begin(), iconMap_->end(),
                                  [&number](const auto& e) { return sameText(e.first, number); });
        if (entry == iconMap_->end()) continue;
        entry->first = iconName(MemoHolder::getNameChild_(entry->second)).label + "=" + number;
        if (!imageList_) imageList_ = std::make_unique<std::vector<QIcon>>();
        imageList_->push_back(decodeIcon(*entry->second));
    }
    if (!imageList_) return 0;
    if (imageList_->size() != iconMap_->size()) return -1;
    iconsInUse_ = true;
    return static_cast<int>(imageList_->size());
}

std::string MemoHolderUI::iconNumberFor(const std::string& label) const {
    for (const auto& [entry, node] : *iconMap_) {
        const std::size_t equals = entry.find('=');
        if (equals != std::string::npos && sameText(entry.substr(0, equals), label))
            return entry.substr(equals + 1);
    }
    return {};
}

int MemoHolderUI::imageIndexFor(const MemoNode& node, int current) const {
    if (node.fields.indexOf("icon") < 0) return -1;
    std::string value = stripQuotes(node.getField_("icon"));
    if (value.empty()) return -1;
    if (!(value[0] >= '0' && value[0] <= '9')) {
        // A label: without icon nodes the line keeps the images it has.
        if (!iconMap_) return current;
        value = iconNumberFor(value);
    }
    return decimalOr(value, -1);
}

void MemoHolderUI::applyIconRule(const MemoNode& node) {
    if (TreeItem* item = treeModel_->itemOf(&node)) {
        item->image = imageIndexFor(node, item->image);
        return;
    }
    if (listMode() == ListMode::List && listModel_->isActive()) {
        auto found = listImages_.find(&node);
        const int image = imageIndexFor(node, found == listImages_.end() ? -1 : found->second);
        listImages_[&node] = image;
    }
}

void MemoHolderUI::applyIcons_() {
    const ListMode current = listMode();
    if (current != ListMode::Tree && current != ListMode::List) return;
    for (std::size_t i = 0; i < nodes->childCount(); ++i) applyIconRule(*baseAt(i));
    if (auto* view = qobject_cast<QAbstractItemView*>(nodesControl_())) view->viewport()->update();
    if (aUILV && current == ListMode::List) aUILV->activeView()->viewport()->update();
}

QIcon MemoHolderUI::iconAt(int image) const {
    if (!iconsInUse_ || !imageList_ || image < 0 || image >= static_cast<int>(imageList_->size()))
        return {};
    return (*imageList_)[static_cast<std::size_t>(image)];
}

QIcon MemoHolderUI::itemIcon(const MemoNode& node) const {
    auto found = listImages_.find(&node);
    return found == listImages_.end() ? QIcon() : iconAt(found->second);
}

int MemoHolderUI::exportLines_(std::vector<std::string>& lines) {
    const std::string program =
        fromQt(QFileInfo(QCoreApplication::applicationFilePath()).fileName());
    const MemoFile* file = getMemoFile_();
    lines.push_back("# " + program + " " + (file ? file->getName_() : std::string()) + ":" +
                    getName_() + "  " + formatDateTime("yyyymmdd hhnnss", currentDateTime()));
    const ListMode current = listMode();
    if (current == ListMode::Other) return -1;
    if (current == ListMode::List) {
        if (!aUILV) return 0;
        const auto& columns = listModel_->columns();
        auto joined = [&columns](auto cell) {
            std::string line;
            for (std::size_t c = 1; c < columns.size(); ++c) {
                if (c > 1) line += ",";
                line += cell(columns[c]);
            }
            return line;
        };
        lines.push_back(joined([](const ReportColumn& column) { return column.caption; }));
        for (std::size_t i = 0; i < nodes->childCount(); ++i) {
            const MemoNode* node = baseAt(i);
            lines.push_back(joined(
                [node](const ReportColumn& column) { return node->getField_(column.caption); }));
        }
        return static_cast<int>(nodes->childCount());
    }
    NodeList all;
    setNodeList_(all);
    for (const auto& entry : all) lines.push_back(entry.first);
    return static_cast<int>(all.size());
}

}  // namespace zel
