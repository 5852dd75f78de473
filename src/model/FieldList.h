#pragma once
// The ordered `key=value` lines of a record. A key is the text before the first
// "=" (a byte of a double-byte character never counts), matched without regard
// to letter case; the value after it is kept raw, quotes included. Each line
// remembers where its key ends, so a lookup compares lengths before it folds
// any byte and never allocates.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zel {

class FieldList {
  public:
    bool empty() const { return lines_.empty(); }
    std::size_t size() const { return lines_.size(); }
    const std::string& operator[](std::size_t index) const { return lines_[index].text; }

    // Index of the first line whose key is `key`, -1 when none.
    int indexOf(std::string_view key) const;
    // The raw value of `key` (a view into the line, valid until the list
    // changes); empty when absent.
    std::string_view value(std::string_view key) const;
    // The key and raw value of a line; a line without "=" is all key and has
    // no value (hasKeyAt tells them apart).
    std::string_view keyAt(std::size_t index) const;
    std::string_view valueAt(std::size_t index) const;
    bool hasKeyAt(std::size_t index) const { return lines_[index].keyEnd != kNoKey; }

    // Appends the line unchanged and yields its index.
    std::size_t append(std::string line);
    // Replaces the line at `index`.
    void setLine(std::size_t index, std::string line);
    void erase(std::size_t index);
    void clear() { lines_.clear(); }
    void reserve(std::size_t count) { lines_.reserve(count); }

    // The lines joined with CR LF (no line break after the last).
    std::string text() const;

    bool operator==(const FieldList& other) const;

  private:
    static constexpr std::size_t kNoKey = static_cast<std::size_t>(-1);
    struct Line {
        std::string text;
        std::size_t keyEnd;  // position of the first "=", or kNoKey
    };
    static Line makeLine(std::string text);

    std::vector<Line> lines_;
};

}  // namespace zel
