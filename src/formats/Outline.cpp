#include "formats/Outline.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <deque>

#include "object/Agents.h"
#include "text/Sjis.h"
#include "text/TextHelpers.h"

namespace zel {

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kLongLine = 251;
constexpr std::chrono::milliseconds kProgressPause{1000};

std::string progressText(const char* format, std::size_t at, std::size_t total) {
    char text[64];
    std::snprintf(text, sizeof text, format, static_cast<int>(at), static_cast<int>(total));
    return text;
}

class Reader {
  public:
    Reader(Outline& tree, const std::vector<std::string>& lines, AgentAPLAbs* agent,
           const std::vector<std::string>* keywords)
        : tree_(tree),
          lines_(lines),
          agent_(agent),
          keywords_(keywords),
          lastMessage_(Clock::now()) {}

    long long level(OutlineItem* parent, std::size_t start) {
        OutlineItem& under = parent ? *parent : tree_.root;
        const int depth = parent ? parent->level() + 1 : 0;
        if (agent_ && (!parent || depth == 2) && agent_->isBreak_()) {
            tree_.complete = false;
            return -1;
        }
        // The item a "{" opens its block under: at first the level's parent.
        OutlineItem* last = parent;
        // Braces past the depth bound are kept as lines; they pair up here.
        int flat = 0;
        std::size_t i = start;
        while (i < lines_.size()) {
            pace(i, 100, "%d/%d");
            const std::string_view t = trimmedView(lines_[i]);
            if (t == "{" && nesting_ < kOutlineMaxDepth) {
                if (agent_ && agent_->isBreak_()) {
                    tree_.complete = false;
                    return static_cast<long long>(i);
                }
                ++nesting_;
                const long long next = level(last, i + 1);
                --nesting_;
                if (!tree_.complete) return next < 0 ? static_cast<long long>(i) : next;
                i = static_cast<std::size_t>(next);
                continue;
            }
            if (t == "}" && flat == 0) {
                if (i > 0 && trimmedView(lines_[i - 1]) == "{") under.addChild({});
                return static_cast<long long>(i + 1);
            }
            if (t == "{" || t == "}") {
                flat += t == "{" ? 1 : -1;
                last = &under.addChild(std::string(t));
                ++i;
            } else if (t.empty()) {
                last = &under.addChild(" ");
                ++i;
            } else if (isKeyword(t)) {
                last = &keywordBlock(under, t, i);
            } else if (t.size() < kLongLine) {
                last = &under.addChild(std::string(t));
                ++i;
            } else {
                last = &under.addChild("\\" + std::string(t));
                last->block.emplace_back(t);
                ++i;
            }
        }
        return static_cast<long long>(i);
    }

  private:
    bool isKeyword(std::string_view t) const {
        if (!keywords_ || keywords_->empty()) return false;
        const std::size_t blank = findAnySingleByte(t, " \t");
        const std::string word = lowerText(t.substr(0, blank));
        return std::find(keywords_->begin(), keywords_->end(), word) != keywords_->end();
    }

    // The block after a keyword line, kept whole; `i` moves past what it read.
    OutlineItem& keywordBlock(OutlineItem& under, std::string_view t, std::size_t& i) {
        std::vector<std::string> block;
        int depth = 0;
        for (++i; i < lines_.size(); ++i) {
            pace(i, 400, "%d/%d*");
            const std::string_view line = trimmedView(lines_[i]);
            if (line.empty()) {
                if (depth > 0) block.emplace_back();
            } else if (line == "{") {
                block.emplace_back(line);
                ++depth;
            } else if (depth == 0) {
                break;  // "}" or any other line at depth 0 ends the block unread
            } else {
                block.emplace_back(line);
                if (line == "}" && --depth == 0) {
                    ++i;
                    break;
                }
            }
        }
        OutlineItem& item = under.addChild(std::string(t));
        item.block = std::move(block);
        return item;
    }

    void pace(std::size_t i, int every, const char* format) {
        if (!agent_) return;
        if (++agent_->count % every != every - 1) return;
        const Clock::time_point now = Clock::now();
        if (now - lastMessage_ <= kProgressPause) return;
        lastMessage_ = now;
        agent_->isBreak_();  // lets the window repaint
        agent_->message_(progressText(format, i + 1, lines_.size()));
    }

    Outline& tree_;
    const std::vector<std::string>& lines_;
    AgentAPLAbs* agent_;
    const std::vector<std::string>* keywords_;
    Clock::time_point lastMessage_;
    // Levels open on the stack, also those that add to the same parent.
    int nesting_ = 0;
};

class Writer {
  public:
    Writer(std::vector<std::string>& lines, AgentAPLAbs* agent) : lines_(lines), agent_(agent) {}

    bool item(const OutlineItem& item, int level) {
        if (item.isLongLine()) {
            lines_.push_back(indent(level) + item.block[0]);
            return true;
        }
        lines_.push_back(indent(level) + item.text);
        for (const std::string& line : item.block)
            lines_.push_back(indent(level + 1) + std::string(trimmedView(line)));
        return item.children.empty() || children(item, level);
    }

  private:
    // The block of `parent`'s children, whose level is `level` + 1.
    bool children(const OutlineItem& parent, int level) {
        const std::string& p = indent(level + 1);
        lines_.push_back(p + "{");
        const std::size_t count = parent.children.size();
        for (std::size_t k = 0; k < count; ++k) {
            const OutlineItem& child = *parent.children[k];
            if (agent_) {
                if (agent_->count % 50 == 0 && agent_->isBreak_()) return false;
                if (++agent_->count % 20 == 10) {
                    char head[48];
                    std::snprintf(head, sizeof head, "%d/%d ", static_cast<int>(k + 1),
                                  static_cast<int>(count));
                    agent_->message_(head + child.text);
                }
            }
            if (!item(child, level + 1)) return false;
        }
        lines_.push_back(p + "}");
        return true;
    }

    const std::string& indent(int level) {
        while (static_cast<int>(indents_.size()) <= level)
            indents_.push_back(std::string(indents_.size(), '\t'));
        return indents_[static_cast<std::size_t>(level)];
    }

    std::vector<std::string>& lines_;
    AgentAPLAbs* agent_;
    // Growing it keeps the indents handed out in place.
    std::deque<std::string> indents_;
};

}  // namespace

bool OutlineItem::isLongLine() const {
    return block.size() == 1 && text.size() == block[0].size() + 1 && text[0] == '\\' &&
           std::string_view(text).substr(1) == block[0];
}

int OutlineItem::level() const {
    int depth = -1;
    for (const OutlineItem* up = parent; up; up = up->parent) ++depth;
    return depth;
}

OutlineItem& OutlineItem::addChild(std::string text) {
    return insertChild(children.size(), std::move(text));
}

OutlineItem& OutlineItem::insertChild(std::size_t index, std::string text) {
    auto child = std::make_unique<OutlineItem>();
    child->text = std::move(text);
    child->parent = this;
    index = std::min(index, children.size());
    OutlineItem& made =
        **children.insert(children.begin() + static_cast<std::ptrdiff_t>(index), std::move(child));
    renumberFrom(index);
    return made;
}

void OutlineItem::renumberFrom(std::size_t index) {
    for (std::size_t i = index; i < children.size(); ++i) children[i]->row = i;
}

std::size_t OutlineItem::indexInParent() const {
    return row;
}

std::unique_ptr<OutlineItem> OutlineItem::takeChild(std::size_t index) {
    if (index >= children.size()) return nullptr;
    std::unique_ptr<OutlineItem> taken = std::move(children[index]);
    children.erase(children.begin() + static_cast<std::ptrdiff_t>(index));
    renumberFrom(index);
    taken->parent = nullptr;
    taken->row = 0;
    return taken;
}

const std::vector<std::string>& poserKeywords() {
    static const std::vector<std::string> keywords = {"deltas", "geomcustom", "vertsgroup"};
    return keywords;
}

Outline::Outline(Outline&& other) noexcept {
    *this = std::move(other);
}

Outline& Outline::operator=(Outline&& other) noexcept {
    if (this == &other) return *this;
    root.children = std::move(other.root.children);
    other.root.children.clear();
    for (auto& top : root.children) top->parent = &root;
    complete = other.complete;
    other.complete = true;
    return *this;
}

void Outline::clear() {
    root.children.clear();
    complete = true;
}

std::size_t Outline::itemCount() const {
    std::size_t count = 0;
    std::vector<const OutlineItem*> pending{&root};
    while (!pending.empty()) {
        const OutlineItem* item = pending.back();
        pending.pop_back();
        count += item->children.size();
        for (const auto& child : item->children) pending.push_back(child.get());
    }
    return count;
}

long long readOutline_(Outline& tree, OutlineItem* parent, const std::vector<std::string>& lines,
                       AgentAPLAbs* agent, const std::vector<std::string>* keywords,
                       std::size_t start) {
    Reader reader(tree, lines, agent, keywords);
    return reader.level(parent, start);
}

void readWholeOutline(Outline& tree, const std::vector<std::string>& lines, AgentAPLAbs* agent,
                      const std::vector<std::string>* keywords) {
    Reader reader(tree, lines, agent, keywords);
    std::size_t at = 0;
    while (at < lines.size() && tree.complete) {
        const long long next = reader.level(nullptr, at);
        if (next < 0) break;
        at = static_cast<std::size_t>(next);
    }
}

int writeOutline_(const Outline& tree, std::vector<std::string>* lines, AgentAPLAbs* agent) {
    if (!lines || tree.empty()) return -1;
    Writer writer(*lines, agent);
    lines->push_back("{");
    for (const auto& top : tree.root.children)
        if (!writer.item(*top, 0)) return -2;
    lines->push_back("}");
    return 0;
}

int copySubtree_(const OutlineItem& source, OutlineItem& target) {
    target.text = source.text;
    target.block = source.block;
    int copied = 0;
    for (const auto& child : source.children) {
        OutlineItem& made = target.addChild({});
        copied += 1 + copySubtree_(*child, made);
    }
    return copied;
}

}  // namespace zel
