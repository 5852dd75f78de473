#include "export/PrintNode.h"

#include <algorithm>
#include <cmath>

#include "export/TextPrinter.h"
#include "model/MemoNode.h"
#include "text/Sjis.h"

namespace zel {

namespace {

std::vector<std::string> fieldLines(const MemoNode& node) {
    std::vector<std::string> lines;
    lines.reserve(node.fields.size());
    for (std::size_t i = 0; i < node.fields.size(); ++i) lines.push_back(node.fields[i]);
    return lines;
}

}  // namespace

NodePrint nodePrintOf(const MemoNode& node, std::string_view holderName, const DateTime& now) {
    NodePrint print;
    print.title = printTitle(holderName, node.getName_());
    const std::string type = lowerText(node.getContentType_());
    if (type.empty() || type.find("text") != std::string::npos) {
        print.lines = node.isURL_() ? fieldLines(node) : node.memo.lines();
    } else if (type == "\"image/gif\"") {
        print.lines = fieldLines(node);
    } else if (type.find("image") != std::string::npos) {
        print.kind = NodePrintKind::Image;
        print.caption = formatDateTime("yyyymmdd hhnnss", now) + " " + print.title;
    } else {
        print.kind = NodePrintKind::Document;
        print.text = "     " + print.title;
        print.documentTitle = type;
    }
    return print;
}

std::optional<Rect> imagePrintRect(int pageWidth, int pageHeight, int pictureWidth,
                                   int pictureHeight) {
    if (pictureWidth <= 0 || pictureHeight <= 0 || pageWidth <= 0 || pageHeight <= 0)
        return std::nullopt;
    const int centreX = pageWidth / 2, centreY = pageHeight / 2;
    long long halfWidth = std::lround(centreX * 0.97);
    long long halfHeight = std::lround(centreY * 0.97);
    const long long boxWidth = halfWidth, boxHeight = halfHeight;
    if (pictureHeight > pictureWidth) {
        halfWidth = boxHeight * pictureWidth / pictureHeight;
        if (halfWidth > boxWidth) {
            halfWidth = boxWidth;
            halfHeight = boxWidth * pictureHeight / pictureWidth;
        }
    } else {
        halfHeight = boxWidth * pictureHeight / pictureWidth;
        if (halfHeight > boxHeight) {
            halfHeight = boxHeight;
            halfWidth = boxHeight * pictureWidth / pictureHeight;
        }
    }
    return Rect{static_cast<int>(centreX - halfWidth), static_cast<int>(centreY - halfHeight),
                static_cast<int>(centreX + halfWidth), static_cast<int>(centreY + halfHeight)};
}

int imageCaptionMargin(int pageHeight) {
    return std::max(12, pageHeight / 40);
}

}  // namespace zel
