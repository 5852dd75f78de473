#include "model/FieldList.h"

#include "text/Sjis.h"

namespace zel {

FieldList::Line FieldList::makeLine(std::string text) {
    std::size_t keyEnd = findSingleByte(text, '=');
    return Line{std::move(text), keyEnd == std::string_view::npos ? kNoKey : keyEnd};
}

int FieldList::indexOf(std::string_view key) const {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const Line& line = lines_[i];
        if (line.keyEnd == key.size() &&
            sameText(std::string_view(line.text).substr(0, line.keyEnd), key))
            return static_cast<int>(i);
    }
    return -1;
}

std::string_view FieldList::value(std::string_view key) const {
    int index = indexOf(key);
    return index < 0 ? std::string_view() : valueAt(static_cast<std::size_t>(index));
}

std::string_view FieldList::keyAt(std::size_t index) const {
    const Line& line = lines_[index];
    return line.keyEnd == kNoKey ? std::string_view(line.text)
                                 : std::string_view(line.text).substr(0, line.keyEnd);
}

std::string_view FieldList::valueAt(std::size_t index) const {
    const Line& line = lines_[index];
    return line.keyEnd == kNoKey ? std::string_view()
                                 : std::string_view(line.text).substr(line.keyEnd + 1);
}

std::size_t FieldList::append(std::string line) {
    lines_.push_back(makeLine(std::move(line)));
    return lines_.size() - 1;
}

void FieldList::setLine(std::size_t index, std::string line) {
    lines_[index] = makeLine(std::move(line));
}

void FieldList::erase(std::size_t index) {
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(index));
}

std::string FieldList::text() const {
    std::size_t length = 0;
    for (const Line& line : lines_) length += line.text.size() + 2;
    std::string out;
    out.reserve(length);
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (i) out += "\r\n";
        out += lines_[i].text;
    }
    return out;
}

bool FieldList::operator==(const FieldList& other) const {
    if (lines_.size() != other.lines_.size()) return false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].text != other.lines_[i].text) return false;
    }
    return true;
}

}  // namespace zel
