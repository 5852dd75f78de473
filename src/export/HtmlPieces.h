#pragma once
// What every exported page is made of: the node snapshot a page is written
// from, where its lines go, the holder's "*HTML ..." template nodes and their
// %-placeholders, and the rendering of one node's body.
//
// Every text that comes from the model (names, field values, file names, CSV
// cells, placeholder values) is escaped before it reaches a page, and link
// targets that would run script are neutralised, so a page made from a mail
// subject or a downloaded name never carries markup of its own. Template lines
// and memo lines the user flagged as HTML are copied raw: they are the user's
// own markup by design.

#include <array>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "text/DateTime.h"
#include "text/LineList.h"

namespace zel {

class MemoNode;

// One node as a page lists it: the name its holder gives it and its level in
// the holder view's tree (0 at the top), or -1 when the holder is not shown
// as a tree.
struct PageNode {
    const MemoNode* node = nullptr;
    std::string name;
    int level = -1;
};
using PageNodes = std::vector<PageNode>;

// Where page lines go, one line at a time: a line list, or a file being
// written, so a page of a huge holder is never held whole in memory.
class PageSink {
  public:
    virtual ~PageSink() = default;
    virtual void line(std::string_view text) = 0;
    // The parts joined into one line (without building a temporary string
    // per part).
    void join(std::initializer_list<std::string_view> parts);

  private:
    std::string scratch_;
};

// Appends every line to a line list.
class LinesSink final : public PageSink {
  public:
    explicit LinesSink(Lines& lines) : lines_(lines) {}
    void line(std::string_view text) override { lines_.emplace_back(text); }

  private:
    Lines& lines_;
};

// The template and option nodes a page may use.
enum class PageTemplate {
    Options,  // "*HTML"
    Head,
    Body,
    BodyHeader,
    BodyFooter,
    NodeHeader,
    NodeFooter,
    NodeHeaderA,
    NodeHeaderB,
    NodeFooterA,
    NodeFooterB,
    NodeHeaderLevel0,
    NodeHeaderLevel1,
    NodeHeaderLevel2,
    NodeHeaderLevel3,
    NodeFooterLevel0,
    NodeFooterLevel1,
    NodeFooterLevel2,
    NodeFooterLevel3,
    UrlNode,  // "*HTML URL MemoNode"
    Count
};

// The template nodes of one node list, found once per page: by trimmed name,
// exact match, the first node of each name.
class PageTemplates {
  public:
    // Reads the templates of `nodes`; when `content` is given, every node whose
    // trimmed name does not begin with "*" is appended to it, in order.
    explicit PageTemplates(const PageNodes& nodes, PageNodes* content = nullptr);

    const MemoNode* get(PageTemplate which) const {
        return found_[static_cast<std::size_t>(which)];
    }
    // Comments are written unless "*HTML" has FlagHTMLComment "false".
    bool commentsOn() const;

  private:
    std::array<const MemoNode*, static_cast<std::size_t>(PageTemplate::Count)> found_{};
};

// What the placeholders of a page stand for.
struct PageContext {
    std::string holderName;
    bool hasHolder = true;
    DateTime now;
};

// One template line with %HOLDER.NAME%, %NODE.NAME% (when `nodeName` is
// given), %DATE% ("yyyy/mm/dd") and %TIME% ("hh:nn:ss") replaced, in any
// letter case, in one pass from left to right: a substituted value is never
// scanned again. Names are substituted escaped. Placeholders without a value
// stay as they are.
std::string expandTemplateLine(std::string_view line, const PageContext& context,
                               const std::string* nodeName);
// The memo lines of `tmpl` expanded into `sink`; nothing without a template.
void putTemplate(PageSink& sink, const MemoNode* tmpl, const PageContext& context,
                 const std::string* nodeName);

// Doctype, HTML and HEAD, the "*HTML HEAD" lines (else a META line and a
// TITLE of `title`), the body tag with the "*HTML BODY" text and the
// "*HTML BODY HEADER" lines. Templates are expanded with `nodeName` when given.
void putPageStart(PageSink& sink, const PageTemplates& templates, const PageContext& context,
                  std::string_view title, const std::string* nodeName);
inline constexpr std::string_view kDoctypeLine =
    "<!doctype html public \"-//w3c//dtd html 4.0 transitional//en\">";

// A field value made safe as a link or image address in a double-quoted
// attribute: escaped, and an address of a script scheme ("javascript:",
// "vbscript:", in any case, blanks and control bytes ignored) becomes "#".
std::string safeAddress(std::string_view address);
// A Width or Height value: digits with an optional "%", else empty.
std::string dimensionValue(std::string_view value);
// A stored file name as a page address: every "\" that is a character of its
// own becomes "/", and a drive ("C:...") becomes "file:///C|...".
std::string fileAddress(std::string_view filename);

// The lines as a table, one row per line, cells split at "," and trimmed, an
// empty last cell dropped, an empty cell as "&nbsp;"; cells are escaped
// unless `rawCells`.
void putCsvTable(PageSink& sink, const std::vector<std::string>& lines, bool rawCells);

// The body of one node on a holder or month page: a link for a web address,
// an image line, a CSV table or the memo lines, then the comment block when
// `comments` is on.
void putNodeBody(PageSink& sink, const PageNode& entry, bool comments);
// The default node header of holder, month and list pages: a rule and the
// name with a link to the top.
void putDefaultNodeHeader(PageSink& sink, std::string_view name);

}  // namespace zel
