#pragma once
// What printing a node puts on paper, decided from its content type: its
// memo text or field list as text lines, its picture with a caption, or a
// one-line document naming a body that cannot be printed as it is; and where
// a picture goes on the page.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text/DateTime.h"
#include "text/Values.h"

namespace zel {

class MemoNode;

enum class NodePrintKind {
    Lines,     // `lines` through the text printer
    Image,     // the node's picture, captioned and framed
    Document,  // `text` as a small document titled `documentTitle`
};

struct NodePrint {
    NodePrintKind kind = NodePrintKind::Lines;
    std::string title;  // holder name + " : " + node name
    std::vector<std::string> lines;
    // For pictures: the time as yyyymmdd hhnnss, a blank and the title.
    std::string caption;
    // For other bodies: "     " + the title, under the content type.
    std::string text;
    std::string documentTitle;
};

// A text node prints its memo text, a web address node and a GIF picture
// their field lines, another picture itself; any other body a line naming it.
NodePrint nodePrintOf(const MemoNode& node, std::string_view holderName, const DateTime& now);

// Where a picture of `pictureWidth` x `pictureHeight` is drawn on a page:
// centred, as large as fits 97 % of the page with its aspect kept. Nothing for
// an empty picture.
std::optional<Rect> imagePrintRect(int pageWidth, int pageHeight, int pictureWidth,
                                   int pictureHeight);
// The caption's distance from the page's top and left edges.
int imageCaptionMargin(int pageHeight);

}  // namespace zel
