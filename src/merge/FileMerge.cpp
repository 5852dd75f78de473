#include "merge/FileMerge.h"

#include <memory>
#include <vector>

#include "formats/TTAGNode.h"
#include "merge/IndexMerge.h"
#include "model/HolderFile.h"
#include "model/MemoHolder.h"
#include "platform/Compression.h"
#include "text/Sjis.h"
#include "text/TextHelpers.h"

namespace zel {

namespace {

// The markup of a file's bytes: inflated when they are a zlib stream.
std::string markupOf(std::string_view bytes, bool& compressed) {
    std::string plain;
    compressed = static_cast<bool>(inflateBytes(bytes, plain));
    return compressed ? plain : std::string(bytes);
}

// The first element of a markup text (past the declaration, comments and
// the DOCTYPE) taken apart; an empty name when there is none.
TagParts topElement(std::string_view text) {
    for (std::size_t at = text.find('<'); at != std::string_view::npos;
         at = text.find('<', at + 1)) {
        if (at + 1 < text.size() && (text[at + 1] == '?' || text[at + 1] == '!')) continue;
        const std::size_t end = text.find('>', at);
        if (end == std::string_view::npos) break;
        return parseTag(text.substr(at, end - at + 1));
    }
    return {};
}

std::string nameAttribute(const TagParts& tag) {
    for (const std::string& line : tag.attributes) {
        const std::size_t equals = line.find('=');
        if (equals != std::string::npos &&
            sameText(trimmedView(std::string_view(line).substr(0, equals)), "name"))
            return stripQuotes(trimText(line.substr(equals + 1)));
    }
    return {};
}

bool readHolderMarkup(const std::string& text, std::string_view origin, HolderCopy& copy,
                      std::string& error) {
    copy.holder = copy.file.createHolder_(-1);
    if (const std::string name = nameAttribute(topElement(text)); !name.empty())
        copy.holder->putName_as_(name);
    if (readHolderText_(*copy.holder, text, origin, &error) != 0) return false;
    copy.holder->loaded = true;
    return true;
}

bool readIndexMarkup(const std::string& text, std::string_view origin, MemoFile& file,
                     std::string& error) {
    std::vector<std::string> errors;
    if (readIndexText_(file, text, errors) != 0 || !errors.empty()) {
        error = "Markup error in " + std::string(origin);
        return false;
    }
    if (const std::string name = nameAttribute(topElement(text)); !name.empty())
        file.putName_as_(name);
    return true;
}

enum class FileForm { Holder, Index, Unknown };

FileForm formOf(const std::string& text) {
    const std::string tag = topElement(text).name;
    if (tag == "Holder") return FileForm::Holder;
    if (tag == "File") return FileForm::Index;
    return FileForm::Unknown;
}

// One version of the file as markup, and whether its bytes were compressed.
struct Version {
    std::string text;
    bool compressed = false;
};

FileMerge failed(std::string why) {
    FileMerge merge;
    merge.error = std::move(why);
    return merge;
}

FileMerge mergeHolders(const Version* base, const Version& ours, const Version& theirs,
                       const MergeOptions& options) {
    FileMerge merge;
    HolderCopy mine, others, common;
    if (!readHolderMarkup(ours.text, "ours", mine, merge.error) ||
        !readHolderMarkup(theirs.text, "theirs", others, merge.error) ||
        (base && !readHolderMarkup(base->text, "base", common, merge.error)))
        return merge;
    merge.report =
        mergeIntoHolder(*mine.holder, base ? common.holder : nullptr, *others.holder, options);
    const std::string text = holderFileText_(*mine.holder);
    if (!ours.compressed) {
        merge.bytes = text;
    } else if (IoResult packed = deflateBytes(text, merge.bytes); !packed) {
        merge.error = packed.message;
        return merge;
    }
    merge.status = merge.report.clean() ? MergeStatus::Clean : MergeStatus::Conflicts;
    return merge;
}

FileMerge mergeIndexes(const Version* base, const Version& ours, const Version& theirs) {
    FileMerge merge;
    MemoFile mine, others, common;
    if (!readIndexMarkup(ours.text, "ours", mine, merge.error) ||
        !readIndexMarkup(theirs.text, "theirs", others, merge.error) ||
        (base && !readIndexMarkup(base->text, "base", common, merge.error)))
        return merge;
    merge.report = mergeIntoMemoFile(mine, base ? &common : nullptr, others);
    merge.bytes = mine.indexText_();
    merge.status = merge.report.clean() ? MergeStatus::Clean : MergeStatus::Conflicts;
    return merge;
}

}  // namespace

bool readHolderCopy(std::string_view bytes, std::string_view origin, HolderCopy& copy,
                    std::string& error) {
    const std::string text = markupOf(bytes, copy.compressed);
    if (formOf(text) != FileForm::Holder) {
        error = "No <Holder> element in " + std::string(origin);
        return false;
    }
    return readHolderMarkup(text, origin, copy, error);
}

FileMerge mergeFileBytes(std::string_view base, std::string_view ours, std::string_view theirs,
                         const MergeOptions& options) {
    Version versions[3];
    std::string_view bytes[] = {base, ours, theirs};
    for (int i = 0; i < 3; ++i) versions[i].text = markupOf(bytes[i], versions[i].compressed);
    const bool hasBase = !trimmedView(versions[0].text).empty();
    const FileForm form = formOf(versions[1].text);
    if (form == FileForm::Unknown)
        return failed("ours is neither a holder file nor a memo file index");
    if (formOf(versions[2].text) != form || (hasBase && formOf(versions[0].text) != form))
        return failed("the three versions are not the same kind of file");
    const Version* common = hasBase ? &versions[0] : nullptr;
    if (form == FileForm::Holder) return mergeHolders(common, versions[1], versions[2], options);
    return mergeIndexes(common, versions[1], versions[2]);
}

}  // namespace zel
