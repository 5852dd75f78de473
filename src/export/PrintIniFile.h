#pragma once
// A sectioned settings file ("[Section]" lines and "key=value" lines) edited in
// place: changing or removing a key touches that line only, so every other
// section, key, comment, blank line and line ending of the file stays byte for
// byte as it was. Sections and keys match without regard to letter case; the
// first of duplicates wins. Text is Shift_JIS.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zel {

class PrintIniFile {
  public:
    PrintIniFile() = default;
    explicit PrintIniFile(std::string_view text);

    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    // Replaces the key's value, or adds the key at the end of its section (a
    // new section goes at the end of the file). New lines end in CR LF.
    void set(std::string_view section, std::string_view key, std::string_view value);
    // Removes the key's first line; false when there was none.
    bool remove(std::string_view section, std::string_view key);
    // The keys of a section, in file order.
    std::vector<std::string> keys(std::string_view section) const;

    // The whole file, as it would be written.
    std::string text() const;

  private:
    struct Line {
        std::string body;    // without its line end
        std::string ending;  // "\r\n", "\n", "\r" or empty for an unended last line
    };
    // Positions of the section's header line and of the line after its last
    // line; npos when the section is absent.
    std::pair<std::size_t, std::size_t> sectionRange(std::string_view section) const;
    std::size_t keyLine(std::string_view section, std::string_view key) const;

    std::vector<Line> lines_;
};

}  // namespace zel
