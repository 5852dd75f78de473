#include "cli/Facts.h"

#include "model/FieldList.h"
#include "model/MemoHolder.h"
#include "text/Sjis.h"
#include "text/TextHelpers.h"

namespace zel {

Json jsonText(std::string_view sjis) {
    return sjisToUtf8(sjis);
}

Json jsonLines(const std::vector<std::string>& lines) {
    Json array = Json::array();
    for (const auto& line : lines) array.push_back(jsonText(line));
    return array;
}

Json jsonFields(const FieldList& fields) {
    Json array = Json::array();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (fields.hasKeyAt(i))
            array.push_back(
                {{"key", jsonText(fields.keyAt(i))}, {"value", jsonText(fields.valueAt(i))}});
        else
            array.push_back({{"key", nullptr}, {"value", jsonText(fields[i])}});
    }
    return array;
}

std::string holderFormat(const MemoHolder& holder) {
    return lowerText(stripQuotes(holder.getFileExt_())) == ".mhz" ? ".mhz" : ".mxh";
}

std::string currentNodeName(const MemoHolder& holder) {
    return holder.indexOf_(holder.currentNode) >= 0 ? holder.currentNode->getName_() : "";
}

}  // namespace zel
