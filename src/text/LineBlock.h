#pragma once
// A list of lines kept in one block: every line followed by "\n" in one
// string, and where each line ends. A memo file holds millions of memo lines;
// one string per line cost more than the text itself and scattered it over
// the heap, so scans paid a call and a cache miss per line. Lines may hold
// any byte, "\n" included: where a line ends comes from the offsets, never
// from the text.

#include <compare>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "text/LineList.h"

namespace zel {

class LineBlock {
  public:
    class const_iterator {
      public:
        using iterator_category = std::random_access_iterator_tag;
        using value_type = std::string_view;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = std::string_view;

        const_iterator() = default;
        const_iterator(const LineBlock* block, std::size_t index) : block_(block), index_(index) {}
        const std::string_view operator*() const { return (*block_)[index_]; }
        const std::string_view operator[](difference_type n) const { return (*block_)[index_ + n]; }
        const_iterator& operator++() { return ++index_, *this; }
        const_iterator operator++(int) { return {block_, index_++}; }
        const_iterator& operator--() { return --index_, *this; }
        const_iterator operator--(int) { return {block_, index_--}; }
        const_iterator& operator+=(difference_type n) { return index_ += n, *this; }
        const_iterator& operator-=(difference_type n) { return index_ -= n, *this; }
        friend const_iterator operator+(const_iterator it, difference_type n) { return it += n; }
        friend const_iterator operator+(difference_type n, const_iterator it) { return it += n; }
        friend const_iterator operator-(const_iterator it, difference_type n) { return it -= n; }
        friend difference_type operator-(const_iterator a, const_iterator b) {
            return static_cast<difference_type>(a.index_) - static_cast<difference_type>(b.index_);
        }
        friend bool operator==(const_iterator a, const_iterator b) { return a.index_ == b.index_; }
        friend auto operator<=>(const_iterator a, const_iterator b) {
            return a.index_ <=> b.index_;
        }

      private:
        const LineBlock* block_ = nullptr;
        std::size_t index_ = 0;
    };
    using value_type = std::string_view;
    using size_type = std::size_t;
    using iterator = const_iterator;

    LineBlock() = default;
    LineBlock(const Lines& lines) { assign(lines); }  // NOLINT: lists convert freely
    LineBlock(std::initializer_list<std::string_view> lines);
    LineBlock& operator=(const Lines& lines) { return assign(lines); }
    LineBlock& operator=(std::initializer_list<std::string_view> lines) {
        return *this = LineBlock(lines);
    }
    LineBlock& assign(const Lines& lines);
    LineBlock& assign(std::size_t count, std::string_view line);

    std::size_t size() const { return ends_.size(); }
    bool empty() const { return ends_.empty(); }
    // Const, so that `block[i] = text` does not compile as an assignment to a
    // copy: lines change through setLine.
    const std::string_view operator[](std::size_t i) const {
        const std::size_t begin = i == 0 ? 0 : ends_[i - 1] + 1;
        return std::string_view(text_).substr(begin, ends_[i] - begin);
    }
    const std::string_view front() const { return (*this)[0]; }
    const std::string_view back() const { return (*this)[size() - 1]; }
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

    // Every line followed by "\n": a keyword without a line break occurs in
    // it exactly where it occurs in one of the lines.
    std::string_view text() const { return text_; }
    // Where line `i` begins in text().
    std::size_t lineBegin(std::size_t i) const { return i == 0 ? 0 : ends_[i - 1] + 1; }
    // The line holding byte `offset` of text() (its "\n" counts to it),
    // looked for from line `from` on.
    std::size_t lineAt(std::size_t offset, std::size_t from = 0) const;
    // The bytes of all lines, their breaks not counted.
    std::size_t textBytes() const { return text_.size() - ends_.size(); }

    void push_back(std::string_view line);
    // Appends the lines of `text`, where line i ends at ends[i] with a "\n"
    // (offsets from the start of `text`), in the room they need.
    void append(std::string_view text, std::span<const std::uint32_t> ends);
    void emplace_back() { push_back({}); }
    void pop_back();
    // Makes room for `lines` more lines of `bytes` bytes in all.
    void reserve(std::size_t lines, std::size_t bytes = 0);
    // Gives back what growing left unused.
    void shrink_to_fit();
    // Empties the list and gives its memory back.
    void clear();
    void setLine(std::size_t i, std::string_view line);
    void insert(std::size_t i, std::string_view line);
    void erase(std::size_t i);

    // The lines as a list of strings, for code that edits lines in place.
    Lines lines() const;
    operator Lines() const { return lines(); }  // NOLINT: read like a list

    friend bool operator==(const LineBlock& a, const LineBlock& b) {
        return a.ends_ == b.ends_ && a.text_ == b.text_;
    }
    friend bool operator==(const LineBlock& a, const Lines& b);

  private:
    void appendLine(std::string_view line);

    std::string text_;
    // Where each line's "\n" stands in text_.
    std::vector<std::uint32_t> ends_;
};

// Each line followed by CR LF, as linesText does for a list.
std::string linesText(const LineBlock& lines);

}  // namespace zel
