#pragma once
// Pieces shared by the commands that show documents: JSON values of model
// texts and field lists, and the format names of holder files.

#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

namespace zel {

class FieldList;
class MemoHolder;
struct Document;

using Json = nlohmann::ordered_json;

// A model text as a JSON string (UTF-8, whatever --raw says).
Json jsonText(std::string_view sjis);
Json jsonLines(const std::vector<std::string>& lines);
// [{"key": ..., "value": ...}] in order, values as stored (quotes included);
// a line without "=" has a null key and its whole text as value.
Json jsonFields(const FieldList& fields);
// The holder's file form: ".mxh" or ".mhz" as its FileExt says.
std::string holderFormat(const MemoHolder& holder);
// The name of the holder's current node; empty when it has none.
std::string currentNodeName(const MemoHolder& holder);

}  // namespace zel
