#pragma once
// The memo record behind nodes, holders and memo files: ordered fields, a
// comment, a memo text and an optional attached body, the record markup they
// are written in, the attachment of files and web resources, and the
// record-level search, replace and grep.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/FieldList.h"
#include "object/TObjectNamed.h"
#include "text/LineBlock.h"

namespace zel {

class LineMatcher;
class TContent;
class TTAGNode;

// One line a record grep found: its section's label ("Name:", "Memo:",
// "Comment:", "Fields:"), its hit number in the section and its line number
// (both from 1; 0 for the name), and the line.
struct GrepHit {
    std::string_view label;
    std::size_t hit;
    std::size_t line;
    std::string_view text;
};
// The record grep line of a hit: "Name:" + name, or label + hit ("%.6d") +
// ":" + line ("%7d") + ": " + the line.
void appendGrepLine(std::string& out, const GrepHit& hit);
// That line without the hit's text.
void appendGrepPrefix(std::string& out, const GrepHit& hit);

class MemoBasic : public TObjectNamed {
  public:
    explicit MemoBasic(TObjectNamed* owner = nullptr);
    ~MemoBasic() override;

    const char* className() const override { return "MemoBasic"; }
    // Empties fields, memo text and content; the comment stays.
    int clear_() override;
    std::unique_ptr<TObjectNamed> deepCopy() const override { return copyAs<MemoBasic>(); }
    // Copies fields, comment, memo text and content (a source without content
    // removes this record's).
    void copyFrom_(const TObjectNamed& source) override;

    // The generic record markup; yields 0.
    virtual int _writeTSL_deep_(std::vector<std::string>& lines, std::string_view indent);
    // Fills the record from a parsed element. The base reads nothing.
    virtual void readTag_(const TTAGNode& element);
    // Loads a local file or an http/https resource as the body: 0 on success,
    // -1 when the file is missing or the source is a "file:" address, -2 when
    // the download or the load fails. Fields stay unchanged on failure.
    virtual int setFile_(std::string_view source, std::string_view displayName);
    // Writes the body to `path`: bytes or characters written, -1 when nothing
    // was written, -2 for a binary body without data.
    virtual long long saveBody_(std::string_view path);
    // How the bytes of a body reach their file: true when they did.
    using BodyWriter = std::function<bool(std::string_view path, std::string_view bytes)>;
    // As saveBody_, but the bytes go through `write` (Save Each hands them
    // to one batch for many files).
    long long saveBodyWith_(std::string_view path, const BodyWriter& write);
    // Where downloaded and extracted files go, ending in "/". A record inside
    // another one asks the enclosing record; the outermost one uses TMPDIR,
    // else "/tmp/".
    virtual std::string getTempDir_() const;
    // The Color field as a colour value (red in the low byte); white when absent.
    virtual std::uint32_t getColor_() const;

    // The nearest record among the owners (a node's holder, a holder's memo
    // file even through a holder list); none for the outermost record.
    MemoBasic* enclosingRecord_() const;
    // This record's FlagReadOnly, or else that of any enclosing record.
    bool isReadOnlyEffective_() const;

    // Fields. Values are raw, quotes included.
    std::string getField_(std::string_view key) const;
    // Appends `key=value` when the key is absent (also for an empty value);
    // otherwise replaces the line in place, or deletes it for an empty value.
    // Yields the index of the line.
    int putField_(std::string_view key, std::string_view value);
    // The removed `key=value` line, empty when absent.
    std::string removeField_(std::string_view key);
    bool isReadOnly_() const;
    void setReadOnly_(bool flag);
    // Stores and yields a new quoted UID ("YYYYMMDD_hhnnsszzz_" + eight digits).
    std::string newUID_();

    // A 30 x 30 white BMP becomes the body; yields its byte size.
    long long setBlankImage_();

    // Record search over the enabled parts, tried in the order name, memo,
    // comment, fields, each as one text: byte-wise, so a keyword may straddle
    // two double-byte characters.
    bool contains_(std::string_view text, bool ignoreCase, bool inFields, bool inComment,
                   bool inMemo, bool inName) const;
    // Replaces every occurrence that begins a character in the enabled parts,
    // line by line, and logs what changed ("replace Memo 000002", "replace name "
    // + the name the record then has). A field line the replace would leave
    // without "=" stays as it was. Yields false (the log tells what changed).
    bool replace_(std::string_view find, std::string_view replacement,
                  std::vector<std::string>& log, bool inFields, bool inComment, bool inMemo,
                  bool inName, bool ignoreCase);
    // Appends labelled matching lines ("Memo:000001:      1: abc") to `result`;
    // true when anything matched.
    bool grep_(std::string_view text, bool ignoreCase, std::vector<std::string>& result,
               bool inFields, bool inComment, bool inMemo, bool inName) const;
    // The same with the keyword prepared once for a whole run.
    bool contains_(const LineMatcher& matcher, bool inFields, bool inComment, bool inMemo,
                   bool inName) const;
    bool replace_(const LineMatcher& matcher, std::string_view replacement,
                  std::vector<std::string>& log, bool inFields, bool inComment, bool inMemo,
                  bool inName);
    bool grep_(const LineMatcher& matcher, std::vector<std::string>& result, bool inFields,
               bool inComment, bool inMemo, bool inName) const;
    // Each hit handed over as it is found, nothing formatted or kept.
    bool grep_(const LineMatcher& matcher, const std::function<void(const GrepHit&)>& found,
               bool inFields, bool inComment, bool inMemo, bool inName) const;

    // Markup pieces shared by nodes, holders and memo files.
    // The Comment block; the number of comment lines, -1 when nothing written.
    int writeComment_(std::vector<std::string>& lines, std::string_view indent) const;
    // One `<Field k="v" ... />` line; the number of attributes written.
    static int writeFields_(const FieldList& fieldLines, std::vector<std::string>& lines,
                            std::string_view indent);
    // Each memo line escaped and followed by "<BR/>".
    void writeMemo_(std::vector<std::string>& lines, std::string_view indent) const;
    void fieldsFromTag_(const TTAGNode& element);
    // The same for the attribute lines of a `Field` element.
    void fieldsFromAttributes_(const std::vector<std::string>& attributes);
    void commentFromTag_(const TTAGNode& element);

    FieldList fields;
    std::vector<std::string> comment;
    LineBlock memo;
    std::unique_ptr<TContent> content;

  protected:
    // Escaped, trimmed name in a `<Record name="...">` line.
    std::string recordStartLine(std::string_view indent) const;
    // Text items between `<BR/>` elements become lines; text after the last is dropped.
    static void appendBrokenLines(const TTAGNode& element, std::vector<std::string>& lines);

  private:
    int loadLocalFile(const std::string& path, std::string_view recordedName);
};

}  // namespace zel
