#include "export/HtmlPages.h"

#include <string>

#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "text/TextHelpers.h"

namespace zel {

namespace {

PageContext holderContext(const MemoHolder& holder, const DateTime& now) {
    return PageContext{holder.getName_(), true, now};
}

PageTemplate levelTemplate(PageTemplate levelZero, int level) {
    return static_cast<PageTemplate>(static_cast<int>(levelZero) + level);
}

// The header (or footer) a node of the holder page gets: the A or B variant
// the holder asks for, else the one of the node's tree level, else the plain
// one; none when the holder has none of them.
const MemoNode* chooseFrame(const PageTemplates& templates, std::string_view choice, int level,
                            PageTemplate a, PageTemplate b, PageTemplate levelZero,
                            PageTemplate plain) {
    if (choice == "\"A\"" && templates.get(a)) return templates.get(a);
    if (choice == "\"B\"" && templates.get(b)) return templates.get(b);
    if (level >= 0 && level <= 3) {
        if (const MemoNode* byLevel = templates.get(levelTemplate(levelZero, level)))
            return byLevel;
    }
    return templates.get(plain);
}

void putContents(PageSink& sink, const PageNodes& content) {
    int previous = 0;
    for (std::size_t i = 0; i < content.size(); ++i) {
        const int level = content[i].level;
        for (int step = level; step < previous; ++step) sink.line("</blockquote>");
        if (level > previous) sink.line("<blockquote>");
        sink.join(
            {"<a href=\"#", std::to_string(i), "\">", escapeMarkup(content[i].name), "</a><BR>"});
        previous = level;
    }
    for (int step = 0; step < previous; ++step) sink.line("</blockquote>");
}

void putPageEnd(PageSink& sink, const PageTemplates& templates, const PageContext& context,
                const std::string* lastNodeName) {
    putTemplate(sink, templates.get(PageTemplate::BodyFooter), context, lastNodeName);
    sink.line("</BODY>");
    sink.line("</HTML>");
}

}  // namespace

void writeHolderPage(PageSink& sink, const MemoHolder& holder, const PageNodes& nodes,
                     const DateTime& now) {
    const std::string layout = holder.getNewNodeName_();
    if (layout == "\"Glossary\"" || layout == "\"Number\"") return;

    PageNodes content;
    const PageTemplates templates(nodes, &content);
    const bool comments = templates.commentsOn();
    const PageContext context = holderContext(holder, now);
    putPageStart(sink, templates, context, context.holderName, nullptr);
    putContents(sink, content);
    sink.line("<HR>");

    const std::string headerChoice = holder.getField_("HTML_HEADER");
    const std::string footerChoice = holder.getField_("HTML_FOOTER");
    const MemoNode* urlTemplate = templates.get(PageTemplate::UrlNode);
    for (std::size_t i = 0; i < content.size(); ++i) {
        const PageNode& entry = content[i];
        if (urlTemplate &&
            unquotedView(entry.node->fields.value("Content-Transfer-Encoding")) == "URL") {
            putTemplate(sink, urlTemplate, context, &entry.name);
            continue;
        }
        const MemoNode* header = chooseFrame(
            templates, headerChoice, entry.level, PageTemplate::NodeHeaderA,
            PageTemplate::NodeHeaderB, PageTemplate::NodeHeaderLevel0, PageTemplate::NodeHeader);
        if (header)
            putTemplate(sink, header, context, &entry.name);
        else
            putDefaultNodeHeader(sink, entry.name);
        sink.join({"<a name=\"", std::to_string(i), "\"></a>"});
        putNodeBody(sink, entry, comments);
        putTemplate(sink,
                    chooseFrame(templates, footerChoice, entry.level, PageTemplate::NodeFooterA,
                                PageTemplate::NodeFooterB, PageTemplate::NodeFooterLevel0,
                                PageTemplate::NodeFooter),
                    context, &entry.name);
    }
    putPageEnd(sink, templates, context, content.empty() ? nullptr : &content.back().name);
}

void writeNodePage(PageSink& sink, const MemoHolder& holder, const PageNodes& nodes,
                   const PageNode& entry, const DateTime& now) {
    const PageTemplates templates(nodes);
    const PageContext context = holderContext(holder, now);
    const MemoNode& node = *entry.node;
    putPageStart(sink, templates, context, entry.name, &entry.name);
    if (const MemoNode* header = templates.get(PageTemplate::NodeHeader)) {
        putTemplate(sink, header, context, &entry.name);
    } else {
        sink.line("<HR>");
        sink.line(escapeMarkup(entry.name));
    }
    sink.join({"<a name=\"", std::to_string(nodes.size()), "\"></a>"});
    const std::string filename(unquotedView(node.fields.value("Filename")));
    if (unquotedView(node.fields.value("Content-Transfer-Encoding")) == "URL") {
        sink.join({"<a href=\"", safeAddress(filename), "\">", escapeMarkup(entry.name), "</a>"});
    } else if (unquotedView(node.fields.value("Content-Type")) == "image/jpeg") {
        sink.join({"<img SRC=\"", safeAddress(fileAddress(filename)), "\">"});
    } else {
        for (const auto& line : node.memo) sink.join({escapeMarkup(line), "<BR>"});
    }
    bool hasComment = false;
    for (const auto& line : node.comment) hasComment = hasComment || !trimmedView(line).empty();
    if (hasComment) {
        sink.line("<blockquote>");
        sink.line("<HR>");
        for (const auto& line : node.comment) sink.join({escapeMarkup(line), "<BR>"});
        sink.line("</blockquote>");
    }
    putTemplate(sink, templates.get(PageTemplate::NodeFooter), context, &entry.name);
    putPageEnd(sink, templates, context, &entry.name);
}

void writeHolderListPage(PageSink& sink, const MemoFile& file) {
    sink.line(kDoctypeLine);
    for (std::string_view line : {"<HTML>", "<HEAD>", "</HEAD>", "<BODY>"}) sink.line(line);
    const int count = file.countOfHolders_();
    for (int i = 0; i < count; ++i) {
        const std::string name = escapeMarkup(file.holderAt_(i)->getName_());
        sink.join({"<a href=\"list_", name, ".html\" target=\"left\">", name, "</a> ",
                   i + 1 < count ? "|" : ""});
    }
    sink.line("</BODY>");
    sink.line("</HTML>");
}

}  // namespace zel
