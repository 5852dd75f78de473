#include "mail/MailMessage.h"

#include <ctime>

#include "formats/Base64.h"
#include "formats/JisCode.h"
#include "text/LineList.h"
#include "text/Sjis.h"
#include "text/TextHelpers.h"

namespace zel {

namespace {

constexpr const char* kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

std::string twoDigits(int n) {
    std::string s = std::to_string(n);
    return s.size() < 2 ? "0" + s : s;
}

bool breaksLine(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

bool isPlainAscii(std::string_view text) {
    for (unsigned char c : text)
        if (c >= 0x80 || c < 0x20) return false;
    return true;
}

bool hasEightBit(std::string_view text) {
    for (unsigned char c : text)
        if (c >= 0x80) return true;
    return false;
}

// A recipient as the header shows it: an 8-bit display name before "<...>"
// goes out as an encoded word, so the header stays 7-bit.
std::string headerEntry(const std::string& entry) {
    if (!hasEightBit(entry)) return entry;
    std::size_t open = findSingleByte(entry, '<');
    if (open == std::string::npos) return entry;
    std::string_view name = trimmedView(std::string_view(entry).substr(0, open));
    return encodedWord(name) + " " + entry.substr(open);
}

std::string joinEntries(const std::vector<std::string>& entries) {
    std::string joined;
    for (const auto& entry : entries) {
        if (!joined.empty()) joined += ',';
        joined += headerEntry(entry);
    }
    return joined;
}

// The ISO-2022-JP length of one character, counting a switch into kanji mode
// and back as the writer may add them: never less than the real length.
std::size_t jisCost(unsigned char c, bool& kanji) {
    const bool wide = c >= 0x80;
    std::size_t cost = wide ? 2 : 1;
    if (wide != kanji) cost += 3;
    kanji = wide;
    return cost;
}

void foldLine(std::string_view line, std::vector<std::string>& out) {
    std::string whole = sjisToJis_(line);
    if (whole.size() + (whole.starts_with('.') ? 1 : 0) <= kMaxMailLine) {
        out.push_back(std::move(whole));
        return;
    }
    // The pieces are cut on the Shift_JIS text, so no pair is split; each is
    // converted by itself and so ends back in Roman mode. A half-width kana
    // stays with the sound mark after it.
    constexpr std::size_t kRoom = kMaxMailLine - 1 - 3;  // a stuffed dot, a closing escape
    std::size_t start = 0;
    while (start < line.size()) {
        std::size_t pos = start;
        std::size_t cost = 0;
        bool kanji = false;
        while (pos < line.size()) {
            std::size_t length = charLength(line, pos);
            const auto c = static_cast<unsigned char>(line[pos]);
            if (length == 1 && c >= 0xA1 && c <= 0xDF && pos + 1 < line.size()) {
                const auto next = static_cast<unsigned char>(line[pos + 1]);
                if (next == 0xDE || next == 0xDF) length = 2;
            }
            bool mode = kanji;
            std::size_t add = jisCost(c, mode);
            if (cost + add > kRoom && pos > start) break;
            cost += add;
            kanji = mode;
            pos += length;
        }
        out.push_back(sjisToJis_(line.substr(start, pos - start)));
        start = pos;
    }
}

}  // namespace

std::vector<std::string> mailEntries(std::string_view boxText) {
    std::vector<std::string> entries;
    for (auto& line : textLines(boxText))
        if (!trimmedView(line).empty()) entries.push_back(std::move(line));
    return entries;
}

std::string envelopeAddress(std::string_view entry) {
    std::size_t open = findSingleByte(entry, '<');
    if (open != std::string_view::npos) {
        std::size_t close = findSingleByte(entry, '>', open + 1);
        return std::string(entry.substr(
            open + 1, close == std::string_view::npos ? std::string_view::npos : close - open - 1));
    }
    std::size_t colon = findSingleByte(entry, ':');
    if (colon != std::string_view::npos) return std::string(entry.substr(colon + 1));
    return std::string(entry);
}

int zoneOffsetMinutes(const DateTime& t) {
    std::tm local{};
    local.tm_year = t.year - 1900;
    local.tm_mon = t.month - 1;
    local.tm_mday = t.day;
    local.tm_hour = t.hour;
    local.tm_min = t.minute;
    local.tm_sec = t.second;
    local.tm_isdst = -1;
    std::time_t seconds = std::mktime(&local);
    if (seconds == static_cast<std::time_t>(-1)) return 0;
    return static_cast<int>(local.tm_gmtoff / 60);
}

std::string mailDate(const DateTime& t, int offsetMinutes) {
    const int magnitude = offsetMinutes < 0 ? -offsetMinutes : offsetMinutes;
    return std::string(kDays[dayOfWeek(t)]) + ", " + std::to_string(t.day) + " " +
           kMonths[(t.month - 1) % 12] + " " + std::to_string(t.year) + "  " + twoDigits(t.hour) +
           ":" + twoDigits(t.minute) + ":" + twoDigits(t.second) + " " +
           (offsetMinutes < 0 ? "-" : "+") + twoDigits(magnitude / 60) + twoDigits(magnitude % 60);
}

std::string sentStamp(const DateTime& t) {
    return formatDateTime("yyyymmdd hhnnss", t) + twoDigits(t.month);
}

std::string encodedWord(std::string_view sjis) {
    return "=?iso-2022-jp?B?" + base64Encode_(sjisToJis_(sjis)) + "?=";
}

std::string mailFieldProblem(const OutgoingMail& mail) {
    struct Box {
        const char* name;
        const std::vector<std::string>* entries;
    };
    if (breaksLine(mail.from)) return "A line break or NUL in From";
    if (breaksLine(mail.replyTo)) return "A line break or NUL in ReplyTo";
    if (breaksLine(mail.subject)) return "A line break or NUL in Subject";
    if (!isPlainAscii(mail.from)) return "The address in From is not plain ASCII";
    for (const Box& box : {Box{"To", &mail.to}, Box{"CC", &mail.cc}, Box{"BCC", &mail.bcc}}) {
        for (const auto& entry : *box.entries) {
            if (breaksLine(entry)) return std::string("A line break or NUL in ") + box.name;
            if (!isPlainAscii(envelopeAddress(entry)))
                return std::string("The address in ") + box.name + " is not plain ASCII";
        }
    }
    return {};
}

std::vector<std::string> mailHeaderLines(const OutgoingMail& mail, const DateTime& t,
                                         int offsetMinutes) {
    std::vector<std::string> lines;
    lines.push_back("From: <" + mail.from + ">");
    if (!mail.to.empty()) lines.push_back("To: " + joinEntries(mail.to));
    if (!mail.cc.empty()) lines.push_back("CC: " + joinEntries(mail.cc));
    std::string subject = "Subject: " + encodedWord(mail.subject);
    if (subject.size() <= kMaxMailLine) {
        lines.push_back(std::move(subject));
    } else {
        // Only a subject too long for one line becomes several encoded words,
        // one per folded line; 150 bytes convert to at most 600 and encode to
        // at most 800.
        std::string_view rest = mail.subject;
        std::size_t from = 0;
        while (from < rest.size()) {
            std::size_t end = from;
            while (end < rest.size() && end - from < 150) end += charLength(rest, end);
            lines.push_back((from == 0 ? "Subject: " : " ") +
                            encodedWord(rest.substr(from, end - from)));
            from = end;
        }
    }
    lines.push_back("X-Mailer: " + std::string(kMailer));
    if (!mail.replyTo.empty()) lines.push_back("Reply-To: " + headerEntry(mail.replyTo));
    lines.push_back("Date: " + mailDate(t, offsetMinutes));
    lines.push_back("Mime-Version: 1.0");
    lines.push_back("Content-Type: text/plain; charset=iso-2022-jp");
    return lines;
}

std::vector<std::string> mailBodyLines(const std::vector<std::string>& sjisLines) {
    std::vector<std::string> out;
    out.reserve(sjisLines.size());
    for (const auto& line : sjisLines) foldLine(line, out);
    return out;
}

void appendDataLine(std::string& data, std::string_view line) {
    if (line.starts_with('.')) data += '.';
    data.append(line);
    data += "\r\n";
}

std::string mailData(const OutgoingMail& mail, const DateTime& t, int offsetMinutes) {
    std::string data;
    for (const auto& line : mailHeaderLines(mail, t, offsetMinutes)) appendDataLine(data, line);
    data += "\r\n";
    for (const auto& line : mailBodyLines(mail.body)) appendDataLine(data, line);
    return data;
}

}  // namespace zel
