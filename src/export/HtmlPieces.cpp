#include "export/HtmlPieces.h"

#include <utility>

#include "model/MemoNode.h"
#include "text/Sjis.h"
#include "text/TextHelpers.h"

namespace zel {

namespace {

constexpr std::string_view kFalse = "\"false\"";

struct NamedTemplate {
    std::string_view name;
    PageTemplate which;
};
constexpr NamedTemplate kTemplateNames[] = {
    {"*HTML", PageTemplate::Options},
    {"*HTML HEAD", PageTemplate::Head},
    {"*HTML BODY", PageTemplate::Body},
    {"*HTML BODY HEADER", PageTemplate::BodyHeader},
    {"*HTML BODY FOOTER", PageTemplate::BodyFooter},
    {"*HTML NODE HEADER", PageTemplate::NodeHeader},
    {"*HTML NODE FOOTER", PageTemplate::NodeFooter},
    {"*HTML NODE HEADER A", PageTemplate::NodeHeaderA},
    {"*HTML NODE HEADER B", PageTemplate::NodeHeaderB},
    {"*HTML NODE FOOTER A", PageTemplate::NodeFooterA},
    {"*HTML NODE FOOTER B", PageTemplate::NodeFooterB},
    {"*HTML NODE HEADER LEVEL=0", PageTemplate::NodeHeaderLevel0},
    {"*HTML NODE HEADER LEVEL=1", PageTemplate::NodeHeaderLevel1},
    {"*HTML NODE HEADER LEVEL=2", PageTemplate::NodeHeaderLevel2},
    {"*HTML NODE HEADER LEVEL=3", PageTemplate::NodeHeaderLevel3},
    {"*HTML NODE FOOTER LEVEL=0", PageTemplate::NodeFooterLevel0},
    {"*HTML NODE FOOTER LEVEL=1", PageTemplate::NodeFooterLevel1},
    {"*HTML NODE FOOTER LEVEL=2", PageTemplate::NodeFooterLevel2},
    {"*HTML NODE FOOTER LEVEL=3", PageTemplate::NodeFooterLevel3},
    {"*HTML URL MemoNode", PageTemplate::UrlNode},
};

char asciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// `pattern` (upper case ASCII) at `at` in `text`, letter case ignored. The
// placeholders are ASCII, and neither "%" nor a letter is ever a lead byte,
// so a match that begins at a "%" lies on character boundaries.
bool placeholderAt(std::string_view text, std::size_t at, std::string_view pattern) {
    if (text.size() - at < pattern.size()) return false;
    for (std::size_t i = 0; i < pattern.size(); ++i)
        if (asciiUpper(text[at + i]) != pattern[i]) return false;
    return true;
}

std::string joinedLines(const std::vector<std::string>& lines) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) text += "\r\n";
        text += lines[i];
    }
    return text;
}

bool hasText(const std::vector<std::string>& lines) {
    for (const auto& line : lines)
        if (!trimmedView(line).empty()) return true;
    return false;
}

std::string field(const MemoNode& node, std::string_view key) {
    return std::string(unquotedView(node.fields.value(key)));
}

}  // namespace

void PageSink::join(std::initializer_list<std::string_view> parts) {
    scratch_.clear();
    for (std::string_view part : parts) scratch_.append(part);
    line(scratch_);
}

PageTemplates::PageTemplates(const PageNodes& nodes, PageNodes* content) {
    for (const PageNode& entry : nodes) {
        const std::string_view name = trimmedView(entry.name);
        if (name.empty() || name.front() != '*') {
            if (content) content->push_back(entry);
            continue;
        }
        for (const auto& known : kTemplateNames) {
            auto& slot = found_[static_cast<std::size_t>(known.which)];
            if (name == known.name && !slot) slot = entry.node;
        }
    }
}

bool PageTemplates::commentsOn() const {
    const MemoNode* options = get(PageTemplate::Options);
    return !options || options->fields.value("FlagHTMLComment") != kFalse;
}

std::string expandTemplateLine(std::string_view line, const PageContext& context,
                               const std::string* nodeName) {
    std::size_t percent = line.find('%');
    if (percent == std::string_view::npos) return std::string(line);
    std::string out;
    out.reserve(line.size() + 32);
    std::size_t copied = 0;
    while (percent != std::string_view::npos) {
        out.append(line.substr(copied, percent - copied));
        std::size_t used = 0;
        if (context.hasHolder && placeholderAt(line, percent, "%HOLDER.NAME%")) {
            out += escapeMarkup(context.holderName);
            used = 13;
        } else if (nodeName && placeholderAt(line, percent, "%NODE.NAME%")) {
            out += escapeMarkup(*nodeName);
            used = 11;
        } else if (placeholderAt(line, percent, "%DATE%")) {
            out += formatDateTime("yyyy/mm/dd", context.now);
            used = 6;
        } else if (placeholderAt(line, percent, "%TIME%")) {
            out += formatDateTime("hh:nn:ss", context.now);
            used = 6;
        } else {
            out += '%';
            used = 1;
        }
        copied = percent + used;
        percent = line.find('%', copied);
    }
    out.append(line.substr(copied));
    return out;
}

void putTemplate(PageSink& sink, const MemoNode* tmpl, const PageContext& context,
                 const std::string* nodeName) {
    if (!tmpl) return;
    for (const auto& line : tmpl->memo) sink.line(expandTemplateLine(line, context, nodeName));
}

void putPageStart(PageSink& sink, const PageTemplates& templates, const PageContext& context,
                  std::string_view title, const std::string* nodeName) {
    sink.line(kDoctypeLine);
    sink.line("<HTML>");
    sink.line("<HEAD>");
    if (const MemoNode* head = templates.get(PageTemplate::Head)) {
        putTemplate(sink, head, context, nodeName);
    } else {
        sink.line("  <META>");
        sink.join({"  <TITLE>", escapeMarkup(title), "</TITLE>"});
    }
    sink.line("</HEAD>");
    if (const MemoNode* body = templates.get(PageTemplate::Body))
        sink.join({"<BODY ", trimText(joinedLines(body->memo)), ">"});
    else
        sink.line("<BODY>");
    putTemplate(sink, templates.get(PageTemplate::BodyHeader), context, nodeName);
}

std::string safeAddress(std::string_view address) {
    // Browsers drop blanks and control bytes around and inside a scheme name
    // ("java\tscript:"), so the test looks at the address without them.
    std::string squeezed;
    for (char c : address) {
        if (static_cast<unsigned char>(c) > 0x20) squeezed += asciiUpper(c);
        if (squeezed.size() > 11) break;
    }
    if (squeezed.starts_with("JAVASCRIPT:") || squeezed.starts_with("VBSCRIPT:")) return "#";
    return escapeMarkup(address);
}

std::string dimensionValue(std::string_view value) {
    std::string_view digits = value;
    if (!digits.empty() && digits.back() == '%') digits.remove_suffix(1);
    if (digits.empty() || !isAllDigits(digits)) return {};
    return std::string(value);
}

std::string fileAddress(std::string_view filename) {
    std::string address = withSlashes(filename);
    if (address.size() > 2 && address[1] == ':')
        return "file:///" + address.substr(0, 1) + "|" + address.substr(2);
    return address;
}

void putCsvTable(PageSink& sink, const std::vector<std::string>& lines, bool rawCells) {
    sink.line("<table BORDER>");
    std::vector<std::string_view> cells;
    for (const std::string& line : lines) {
        sink.line("  <tr>");
        cells.clear();
        const std::string_view text = line;
        for (std::size_t start = 0;;) {
            const std::size_t comma = findSingleByte(text, ',', start);
            cells.push_back(trimmedView(text.substr(start, comma - start)));
            if (comma == std::string_view::npos) break;
            start = comma + 1;
        }
        if (cells.back().empty()) cells.pop_back();
        for (std::string_view cell : cells) {
            if (cell.empty())
                sink.line("    <td>&nbsp;</td>");
            else
                sink.join({"    <td>", rawCells ? std::string(cell) : escapeMarkup(cell), "</td>"});
        }
        sink.line("  </tr>");
    }
    sink.line("</table>");
}

void putDefaultNodeHeader(PageSink& sink, std::string_view name) {
    sink.line("<HR>");
    sink.join({escapeMarkup(name), " | <a href=\"#TOP\">TOP</a><BR>"});
}

void putNodeBody(PageSink& sink, const PageNode& entry, bool comments) {
    const MemoNode& node = *entry.node;
    const bool memoIsHTML = node.fields.value("FlagHTMLMemoAddBR") == kFalse;
    const std::string type = std::string(unquotedView(node.getContentType_()));
    if (field(node, "Content-Transfer-Encoding") == "URL") {
        sink.join({"<a href=\"", safeAddress(field(node, "Filename")), "\">",
                   escapeMarkup(entry.name), "</a>"});
    } else if (type.starts_with("image")) {
        const std::string address = fileAddress(field(node, "Filename"));
        const std::string width = dimensionValue(field(node, "Width"));
        const std::string height = dimensionValue(field(node, "Height"));
        const std::string link = field(node, "Link");
        sink.join({"<a href=\"", safeAddress(link.empty() ? address : link), "\">", "<img SRC=\"",
                   safeAddress(address), "\" ", width.empty() ? "" : "Width=", width, " ",
                   height.empty() ? "" : "Height=", height, "></a>"});
    } else if (type == "text/csv") {
        putCsvTable(sink, node.memo, memoIsHTML);
    } else if (memoIsHTML) {
        for (const auto& line : node.memo) sink.line(line);
    } else {
        for (const auto& line : node.memo) sink.join({escapeHTML(line), "<BR>"});
    }
    if (!comments || !hasText(node.comment)) return;
    if (node.fields.value("FlagHTMLCommentAddBR") == kFalse) {
        for (const auto& line : node.comment) sink.line(line);
        return;
    }
    sink.line("<blockquote>");
    sink.line("<HR>");
    for (const auto& line : node.comment) sink.join({escapeHTML(line), "<BR>"});
    sink.line("</blockquote>");
}

}  // namespace zel
