#pragma once
// The HTML pages of a holder, of one node and of a memo file's holder list,
// written line by line into a sink. The holder's "*HTML ..." nodes shape the
// pages (PageTemplates); the clock's reading comes in `now`, so a page made
// twice from the same input is the same page.

#include <string_view>

#include "export/HtmlPieces.h"

namespace zel {

class MemoFile;
class MemoHolder;

// The holder page: a table of contents nested by tree level, then every
// content node with its header, anchor, body and footer. `nodes` are the
// holder's nodes in display order. A holder whose new nodes are named
// "Glossary" or "Number" gives an empty page (no lines at all).
void writeHolderPage(PageSink& sink, const MemoHolder& holder, const PageNodes& nodes,
                     const DateTime& now);

// The page of `entry` alone, with the templates of its holder's `nodes`.
void writeNodePage(PageSink& sink, const MemoHolder& holder, const PageNodes& nodes,
                   const PageNode& entry, const DateTime& now);

// Links to the "list_" page of every holder of `file`, in tab order.
void writeHolderListPage(PageSink& sink, const MemoFile& file);

}  // namespace zel
