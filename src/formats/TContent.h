#pragma once
// One MIME body: a byte stream with its file name, content type and transfer
// encoding. Reads a message (header lines, a body, the parts of a multipart
// body) into a tree of such bodies. It serves the attached body of a memo
// record and the memo file container.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/Base64.h"
#include "object/TObjectParent.h"

namespace zel {

// The header of one MIME body as TContent::parse reads it, for readers that
// stream a message instead of holding all its lines (the memo file container).
struct MimeHeader {
    std::string contentType;
    std::string transferEncoding;
    std::string fileName;
    // "--" + the boundary of a multipart body; empty otherwise.
    std::string delimiter;

    // One header line, continuation lines already appended.
    void readLine(std::string_view line);
};
// Blank after trimming: ends a header.
bool isMimeBlankLine(std::string_view line);
// The trimmed line is the delimiter, or the delimiter and "--".
bool isMimeDelimiterLine(std::string_view line, std::string_view delimiter);

class TContent : public TObjectNamed {
  public:
    explicit TContent(TObjectNamed* owner = nullptr);
    ~TContent() override;

    const char* className() const override { return "TContent"; }
    // Empties the parts; the stream and the texts stay.
    int clear_() override;
    std::unique_ptr<TObjectNamed> deepCopy() const override { return copyAs<TContent>(); }
    void copyFrom_(const TObjectNamed& source) override;

    // Reads a MIME message given as lines into this content: the header sets
    // the texts, a single body fills the stream (Base64 decoded), a multipart
    // body fills the parts.
    void parse(const std::vector<std::string>& lines);
    // 0 when the file was read into the stream (and fileName set to `path`);
    // 255 when it does not exist, 254 when reading it failed.
    int loadFile(const std::string& path);

    // The parts, created on first need; named by file name, else content type,
    // else "text/plain", made unique among siblings.
    TObjectParent& ensureParts();
    std::size_t partCount() const { return parts ? parts->childCount() : 0; }
    TContent* partAt(std::size_t index) const;

    std::string fileName;
    std::optional<std::string> stream;
    std::unique_ptr<TObjectParent> parts;
    std::string contentType;
    // Lower case; "base64" becomes "binary" once the body has been decoded.
    std::string transferEncoding;

  private:
    struct ParseState;
    void resetForParse();
    void parseRange(const std::vector<std::string>& lines, std::size_t begin, std::size_t end,
                    ParseState& state);
    void readHeaderLine(std::string_view line, std::string& delimiter);
    void readMultipartBody(const std::vector<std::string>& lines, std::size_t begin,
                           std::size_t end, const std::string& delimiter, ParseState& state);
    void readSingleBody(const std::vector<std::string>& lines, std::size_t begin, std::size_t end);
};

}  // namespace zel
