#pragma once
// Whether the markup of a holder file may hold a keyword anywhere a search
// looks (a node's name, memo, comment or field lines), told from its bytes
// without reading records: grep and scan pass over the holders it rules out.
//
// It never rules out a file that holds the keyword. Between the bytes and a
// node's lines stand entities, line breaks the reader drops, tags between
// text runs that join, attributes turned into "key=value" lines, and names
// made unique (digits counted up, "_01" added) or dated. So the probe looks
// for the keyword's rarest byte that always stands in the bytes as it is
// (not a blank, quote, "=", digit, "_" or one an entity may stand for), and
// around each place checks the rest loosely: blanks, quotes and "=" on
// either side are passed over, line breaks and tags in the bytes too; an
// entity where the keyword goes on, or a place inside a Record tag (where a
// name may gain digits), counts as a place the keyword may lie.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zel {

class MarkupKeywordProbe {
  public:
    MarkupKeywordProbe(std::string_view keyword, bool ignoreCase);

    // False when no byte of the keyword must stand in the markup as it is
    // (or it holds a line break): any file may then hold it.
    bool selective() const { return selective_; }
    // Whether `markup` may hold the keyword; always true when not selective.
    bool mayHold(std::string_view markup) const;
    // The same for the file at `path`, read or inflated as it is searched;
    // true when it cannot be read (its reader then says why).
    bool fileMayHold(const std::string& path) const;

  private:
    using ByteSet = std::array<std::uint64_t, 4>;
    // The next place from `at` of a raw byte that may stand for the anchor.
    std::size_t nextAnchor(std::string_view markup, std::size_t at) const;
    bool mayLieAround(std::string_view markup, std::size_t anchorAt) const;
    bool restMayFollow(std::string_view markup, std::size_t at) const;
    bool restMayPrecede(std::string_view markup, std::size_t at) const;
    bool mayStandFor(char raw, std::size_t keywordIndex) const;

    // The keyword as compared (folded when case is ignored), less its blanks,
    // quotes and "=".
    std::string core_;
    // Per byte of core_, the raw bytes that may stand for it.
    std::vector<ByteSet> images_;
    std::size_t anchor_ = 0;
    char anchorImages_[3] = {};
    int anchorImageCount_ = 0;
    bool selective_ = false;
};

}  // namespace zel
