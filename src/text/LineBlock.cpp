#include "text/LineBlock.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace zel {

LineBlock::LineBlock(std::initializer_list<std::string_view> lines) {
    std::size_t bytes = 0;
    for (std::string_view line : lines) bytes += line.size();
    reserve(lines.size(), bytes);
    for (std::string_view line : lines) appendLine(line);
}

LineBlock& LineBlock::assign(const Lines& lines) {
    clear();
    std::size_t bytes = 0;
    for (const std::string& line : lines) bytes += line.size();
    reserve(lines.size(), bytes);
    for (const std::string& line : lines) appendLine(line);
    return *this;
}

LineBlock& LineBlock::assign(std::size_t count, std::string_view line) {
    const std::string copy(line);
    clear();
    reserve(count, count * copy.size());
    for (std::size_t i = 0; i < count; ++i) appendLine(copy);
    return *this;
}

std::size_t LineBlock::lineAt(std::size_t offset, std::size_t from) const {
    // A search asks for the line of each hit in turn, and the next hit is
    // mostly a few lines on: those are tried before halving the rest.
    std::size_t line = std::min(from, ends_.size());
    for (const std::size_t near = std::min(line + 8, ends_.size()); line < near; ++line)
        if (ends_[line] >= offset) return line;
    const auto begin = ends_.begin() + static_cast<std::ptrdiff_t>(line);
    return static_cast<std::size_t>(std::lower_bound(begin, ends_.end(), offset) - ends_.begin());
}

void LineBlock::appendLine(std::string_view line) {
    // Offsets are 32 bits wide: no memo text comes near 4 GiB, and one that
    // did must fail loudly rather than wrap.
    if (text_.size() + line.size() >= std::numeric_limits<std::uint32_t>::max())
        throw std::length_error("a memo text of 4 GiB or more");
    text_.append(line);
    ends_.push_back(static_cast<std::uint32_t>(text_.size()));
    text_.push_back('\n');
}

void LineBlock::push_back(std::string_view line) {
    // A line may be a view into this block's own text.
    if (!line.empty() && line.data() >= text_.data() && line.data() < text_.data() + text_.size())
        return push_back(std::string(line));
    appendLine(line);
}

void LineBlock::append(std::string_view text, std::span<const std::uint32_t> ends) {
    if (ends.empty()) return;
    const std::size_t base = text_.size();
    if (base + text.size() >= std::numeric_limits<std::uint32_t>::max())
        throw std::length_error("a memo text of 4 GiB or more");
    if (empty()) {
        text_.reserve(text.size());
        ends_.reserve(ends.size());
    }
    text_.append(text);
    for (std::uint32_t end : ends) ends_.push_back(static_cast<std::uint32_t>(base + end));
}

void LineBlock::pop_back() {
    text_.resize(lineBegin(size() - 1));
    ends_.pop_back();
}

void LineBlock::reserve(std::size_t lines, std::size_t bytes) {
    ends_.reserve(ends_.size() + lines);
    text_.reserve(text_.size() + bytes + lines);
}

void LineBlock::shrink_to_fit() {
    text_.shrink_to_fit();
    ends_.shrink_to_fit();
}

void LineBlock::clear() {
    std::string().swap(text_);
    std::vector<std::uint32_t>().swap(ends_);
}

void LineBlock::setLine(std::size_t i, std::string_view line) {
    const std::string replacement(line);
    const std::size_t begin = lineBegin(i);
    const std::size_t oldSize = ends_[i] - begin;
    text_.replace(begin, oldSize, replacement);
    const auto shift =
        static_cast<std::int64_t>(replacement.size()) - static_cast<std::int64_t>(oldSize);
    for (std::size_t j = i; j < ends_.size(); ++j)
        ends_[j] = static_cast<std::uint32_t>(ends_[j] + shift);
}

void LineBlock::insert(std::size_t i, std::string_view line) {
    if (i >= size()) return push_back(line);
    const std::string inserted = std::string(line) + '\n';
    const std::size_t begin = lineBegin(i);
    text_.insert(begin, inserted);
    ends_.insert(ends_.begin() + static_cast<std::ptrdiff_t>(i),
                 static_cast<std::uint32_t>(begin + line.size()));
    for (std::size_t j = i + 1; j < ends_.size(); ++j)
        ends_[j] = static_cast<std::uint32_t>(ends_[j] + inserted.size());
}

void LineBlock::erase(std::size_t i) {
    const std::size_t begin = lineBegin(i);
    const std::size_t removed = ends_[i] + 1 - begin;
    text_.erase(begin, removed);
    ends_.erase(ends_.begin() + static_cast<std::ptrdiff_t>(i));
    for (std::size_t j = i; j < ends_.size(); ++j)
        ends_[j] = static_cast<std::uint32_t>(ends_[j] - removed);
}

Lines LineBlock::lines() const {
    Lines out;
    out.reserve(size());
    for (std::string_view line : *this) out.emplace_back(line);
    return out;
}

bool operator==(const LineBlock& a, const Lines& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin());
}

std::string linesText(const LineBlock& lines) {
    std::string text;
    text.reserve(lines.textBytes() + 2 * lines.size());
    for (std::string_view line : lines) text.append(line).append("\r\n");
    return text;
}

}  // namespace zel
