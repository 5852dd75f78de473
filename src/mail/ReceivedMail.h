#pragma once
// A fetched message as the holder takes it: subject, sender, body lines and
// the attached parts. Text is kept as it arrived: no character conversion and
// no decoding of encoded words; only attached parts are decoded, when they
// are written out.

#include <string>
#include <string_view>
#include <vector>

namespace zel {

struct MailAttachment {
    // The name the message gave ("text.tmp" when none); not yet a safe one.
    std::string name;
    std::string transferEncoding;
    std::vector<std::string> lines;
};

struct ReceivedMessage {
    std::string subject;  // at most 256 bytes, whole characters
    std::string sender;
    std::vector<std::string> body;
    std::vector<MailAttachment> attachments;
};

// Header lines joined with their folded continuation lines (RFC 5322).
std::vector<std::string> unfoldHeader(const std::vector<std::string>& lines, std::size_t end);

// Reads the lines of a message (after RETR, without the final "."): the
// header up to the first empty line, the body after it; a multipart body is
// split at its boundary, its first part's content being the body and every
// further part with content an attachment. Takes the lines over.
ReceivedMessage readReceivedMessage(std::vector<std::string>&& lines);

// The bytes of an attachment: Base64 or uuencoded data decoded, any other
// encoding as its lines, each ended by CR LF.
std::string attachmentBytes(const MailAttachment& attachment);

// Decodes uuencoded lines ("begin", data lines, "end"); lines before "begin"
// are skipped, and without "begin" every line counts as data.
std::string decodeUuencoded(const std::vector<std::string>& lines);

}  // namespace zel
