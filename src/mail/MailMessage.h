#pragma once
// The outgoing mail: a plain-text message in ISO-2022-JP built from what the
// send window holds, byte for byte as the peers that read these mails expect
// (the header rows in their fixed order, the subject as one encoded word, each
// body line converted on its own), and the checks that keep a box's text from
// turning into commands or header lines of its own.

#include <string>
#include <string_view>
#include <vector>

#include "text/DateTime.h"

namespace zel {

// What one send carries. Texts are Shift_JIS, as the boxes hold them.
struct OutgoingMail {
    std::string from;
    std::string replyTo;
    std::string subject;
    std::vector<std::string> to;
    std::vector<std::string> cc;
    std::vector<std::string> bcc;
    std::vector<std::string> body;
};

inline constexpr std::string_view kMailer = "zel.exe 001103";
// The longest line the message carries, its end not counted (RFC 5321).
inline constexpr std::size_t kMaxMailLine = 998;

// The entries of a recipients box: one per line of its text, empty lines left out.
std::vector<std::string> mailEntries(std::string_view boxText);
// The address an entry is sent to: between "<" and ">" when it has "<", else
// after its first ":", else the whole entry.
std::string envelopeAddress(std::string_view entry);

// The difference of local time at `t` from UTC, in minutes.
int zoneOffsetMinutes(const DateTime& t);
// "Sat, 9 Dec 2023  22:38:51 +0900": English names, two blanks before the
// time, the zone offset given.
std::string mailDate(const DateTime& t, int offsetMinutes);
// What the send window shows after a send: "yyyymmdd hhnnss" and the month.
std::string sentStamp(const DateTime& t);

// "=?iso-2022-jp?B?" + Base64 of the ISO-2022-JP text + "?=".
std::string encodedWord(std::string_view sjis);

// A reason naming the first box whose text would break the exchange (a line
// break or NUL, an envelope address that is not plain ASCII); empty when the
// mail can go.
std::string mailFieldProblem(const OutgoingMail& mail);

// The header lines, without line ends, for a send at local time `t`.
std::vector<std::string> mailHeaderLines(const OutgoingMail& mail, const DateTime& t,
                                         int offsetMinutes);
// The body lines converted to ISO-2022-JP, a line too long for the wire cut
// into several between characters (each piece leaving kanji mode).
std::vector<std::string> mailBodyLines(const std::vector<std::string>& sjisLines);
// Appends one line as the DATA phase sends it: a first "." doubled, CR LF after.
void appendDataLine(std::string& data, std::string_view line);
// The message as DATA carries it: header, empty line and body, each line
// dot-stuffed and ended by CR LF; the closing "." line not included.
std::string mailData(const OutgoingMail& mail, const DateTime& t, int offsetMinutes);

}  // namespace zel
