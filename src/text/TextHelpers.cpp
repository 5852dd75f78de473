#include "text/TextHelpers.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include "text/Sjis.h"

namespace zel {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isControl(char c) {
    auto u = static_cast<unsigned char>(c);
    return u < 0x20 || u == 0x7F;
}

// Positions of the single-byte characters of `text`, so that scans from the end
// never land on the second byte of a double-byte character.
std::vector<std::size_t> singleBytePositions(std::string_view text) {
    std::vector<std::size_t> positions;
    for (std::size_t i = 0; i < text.size(); i += charLength(text, i)) {
        if (charLength(text, i) == 1) positions.push_back(i);
    }
    return positions;
}

// File names are built from outside text, so a lead byte protects the byte
// after it only when that byte can really be the second half of a character;
// otherwise a stray lead byte would smuggle a "/" or a control byte through.
inline std::size_t fileNameCharLength(std::string_view text, std::size_t pos) {
    return (isLeadByte(text[pos]) && pos + 1 < text.size() &&
            isTrailByte(static_cast<unsigned char>(text[pos + 1])))
               ? 2
               : 1;
}

// The text with every single-byte character for which `replacement` answers a
// text replaced by it; double-byte characters are copied whole. Escaping
// serves markup and pages built from outside text too: a stray lead byte must
// not hide the quote or "<" after it, or the text would end the markup.
template <class F>
std::string mapSingleBytes(std::string_view text, F replacement) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        std::size_t n = fileNameCharLength(text, i);
        std::optional<std::string_view> by;
        if (n == 1) by = replacement(text[i]);
        out.append(by ? *by : text.substr(i, n));
        i += n;
    }
    return out;
}

// `keep` decides for each single-byte character; a rejected one becomes
// `replacement` (possibly empty).
template <class F>
std::string filterFileNameBytes(std::string_view text, F keep, std::string_view replacement) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        std::size_t n = fileNameCharLength(text, i);
        if (n == 2 || keep(text[i])) {
            out.append(text.substr(i, n));
        } else {
            out.append(replacement);
        }
        i += n;
    }
    return out;
}

// "." and ".." name folders, not files.
std::string withoutDotNames(std::string name) {
    if (name == "." || name == "..") std::replace(name.begin(), name.end(), '.', '_');
    return name;
}

constexpr std::string_view kKnownPageExtensions[]{".html", ".css", ".xml", ".xsl",
                                                  ".zip",  ".z",   ".lzh", ".raw"};

constexpr std::string_view kTopLevelDomains[]{
    ".com", ".org", ".net", ".gov", ".edu", ".int", ".name", ".info", ".biz", ".mil", ".ac", ".ad",
    ".ae",  ".af",  ".ag",  ".ai",  ".al",  ".am",  ".an",   ".ao",   ".aq",  ".ar",  ".as", ".at",
    ".au",  ".aw",  ".az",  ".ba",  ".bb",  ".bd",  ".be",   ".bg",   ".bh",  ".bi",  ".bj", ".bm",
    ".bn",  ".bo",  ".br",  ".bs",  ".bt",  ".bv",  ".bw",   ".by",   ".bz",  ".ca",  ".cc", ".cd",
    ".cf",  ".cg",  ".ch",  ".ci",  ".ck",  ".cl",  ".cm",   ".cn",   ".co",  ".cr",  ".cs", ".cu",
    ".cv",  ".cx",  ".cy",  ".cz",  ".de",  ".dj",  ".dk",   ".dm",   ".do",  ".dz",  ".ec", ".ee",
    ".eg",  ".eh",  ".er",  ".es",  ".et",  ".fi",  ".fj",   ".fk",   ".fm",  ".fo",  ".fr", ".fx",
    ".ga",  ".gb",  ".gd",  ".ge",  ".gf",  ".gg",  ".gh",   ".gi",   ".gl",  ".gm",  ".gn", ".gp",
    ".gq",  ".gr",  ".gs",  ".gt",  ".gu",  ".gw",  ".gy",   ".hk",   ".hm",  ".hn",  ".hr", ".ht",
    ".hu",  ".id",  ".ie",  ".il",  ".in",  ".io",  ".iq",   ".ir",   ".is",  ".it",  ".je", ".jm",
    ".jo",  ".jp",  ".ke",  ".kg",  ".kh",  ".ki",  ".km",   ".kn",   ".kp",  ".kr",  ".kw", ".ky",
    ".kz",  ".la",  ".lb",  ".lc",  ".li",  ".lk",  ".lr",   ".ls",   ".lt",  ".lu",  ".lv", ".ly",
    ".ma",  ".mc",  ".md",  ".mg",  ".mh",  ".mk",  ".ml",   ".mm",   ".mn",  ".mo",  ".mp", ".mq",
    ".mr",  ".ms",  ".mt",  ".mu",  ".mv",  ".mw",  ".mx",   ".my",   ".mz",  ".na",  ".nc", ".ne",
    ".nf",  ".ng",  ".ni",  ".nl",  ".no",  ".np",  ".nr",   ".nt",   ".nu",  ".nz",  ".om", ".pa",
    ".pe",  ".pf",  ".pg",  ".ph",  ".pk",  ".pl",  ".pm",   ".pn",   ".pr",  ".pt",  ".pw", ".py",
    ".qa",  ".re",  ".ro",  ".ru",  ".rw",  ".sa",  ".sb",   ".sc",   ".sd",  ".se",  ".sg", ".sh",
    ".si",  ".sj",  ".sk",  ".sl",  ".sm",  ".sn",  ".so",   ".sr",   ".st",  ".su",  ".sv", ".sy",
    ".sz",  ".tc",  ".td",  ".tf",  ".tg",  ".th",  ".tj",   ".tk",   ".tn",  ".to",  ".tp", ".tr",
    ".tt",  ".tv",  ".tw",  ".tz",  ".ua",  ".uk",  ".ug",   ".um",   ".us",  ".uy",  ".uz", ".va",
    ".vc",  ".ve",  ".vi",  ".vg",  ".vn",  ".vu",  ".wf",   ".ws",   ".ye",  ".yt",  ".yu", ".za",
    ".zm",  ".zr",  ".zw"};

// The digit scan of the counters: from the character before `end` towards the
// front, non-digits are passed over until a digit is stepped; a carry or borrow
// goes on to the next digit to the left and ends at a non-digit.
std::string stepDigits(std::string_view text, std::size_t end, int step) {
    const char wrapFrom = step > 0 ? '9' : '0';
    const char wrapTo = step > 0 ? '0' : '9';
    std::string out(text);
    auto positions = singleBytePositions(text);
    bool pending = false;
    for (auto it = positions.rbegin(); it != positions.rend(); ++it) {
        if (*it >= end) continue;
        char& c = out[*it];
        if (!isDigit(c)) {
            if (pending) break;
            continue;
        }
        if (c != wrapFrom) {
            c = static_cast<char>(c + step);
            break;
        }
        c = wrapTo;
        pending = true;
    }
    return out;
}

// Position of the last single-byte digit; 0 (so no scan happens) when none.
std::size_t lastDigit(std::string_view text) {
    auto positions = singleBytePositions(text);
    auto it = std::find_if(positions.rbegin(), positions.rend(),
                           [&](std::size_t i) { return isDigit(text[i]); });
    return it == positions.rend() ? 0 : *it;
}

bool startsWithAnyOf(std::string_view text, std::string_view set) {
    return !text.empty() && charLength(text, 0) == 1 && set.find(text[0]) != std::string_view::npos;
}

// A byte that cannot be the second half of a character (a quote, say) is a
// character of its own, after a stray lead byte too.
bool endsWithAnyOf(std::string_view text, std::string_view set) {
    if (text.empty() || set.find(text.back()) == std::string_view::npos) return false;
    if (!isTrailByte(static_cast<unsigned char>(text.back()))) return true;
    return lastCharStart(text) + 1 == text.size();
}

template <std::size_t N>
bool isOneOf(std::string_view value, const std::string_view (&list)[N]) {
    return std::find(list, list + N, value) != list + N;
}

// From the last single-byte "." on, lower-cased; empty without a dot.
std::string lowerExtension(std::string_view name) {
    std::size_t dot = std::string_view::npos;
    for (std::size_t at = findSingleByte(name, '.'); at != std::string_view::npos;
         at = findSingleByte(name, '.', at + 1)) {
        dot = at;
    }
    return dot == std::string_view::npos ? std::string() : lowerText(name.substr(dot));
}

// Splits at single-byte delimiters; `quoting` says when a quoted section turns
// them off and how many bytes it takes together at a position. As escaping
// does, a stray lead byte does not hide the quote or delimiter after it, so
// tag attributes split as the markup reader found their quotes.
template <class QuoteState>
void cellViews(std::string_view text, std::string_view delimiters, QuoteState quoting,
               std::vector<std::string_view>& cells) {
    cells.clear();
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t n = fileNameCharLength(text, i);
        if (n == 1 && !quoting.active() && delimiters.find(text[i]) != std::string_view::npos) {
            cells.push_back(trimmedView(text.substr(start, i - start)));
            start = ++i;
            continue;
        }
        i += quoting.take(text, i, n);
    }
    if (start < text.size()) cells.push_back(text.substr(start));
}

template <class QuoteState>
std::vector<std::string_view> cellViews(std::string_view text, std::string_view delimiters,
                                        QuoteState quoting) {
    std::vector<std::string_view> cells;
    cellViews(text, delimiters, quoting, cells);
    return cells;
}

std::vector<std::string> ownedCells(const std::vector<std::string_view>& views) {
    return {views.begin(), views.end()};
}

struct NoQuotes {
    bool active() const { return false; }
    std::size_t take(std::string_view, std::size_t, std::size_t n) { return n; }
};

// Tracks the quoted sections of splitQuoted; `take` answers how many bytes
// belong together at `pos` (a doubled closing quote is taken as a pair).
struct QuotedSections {
    char open = 0;
    bool active() const { return open != 0; }
    std::size_t take(std::string_view text, std::size_t pos, std::size_t n) {
        if (n != 1) return n;
        char c = text[pos];
        if (!active()) {
            if (c == '"' || c == '\'') open = c;
            return 1;
        }
        if (c != open) return 1;
        if (pos + 1 < text.size() && text[pos + 1] == open) return 2;
        open = 0;
        return 1;
    }
};

}  // namespace

std::string trimText(std::string_view text) {
    return std::string(trimmedView(text));
}

std::string_view trimmedView(std::string_view text) {
    std::size_t begin = 0, end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= 0x20) ++begin;
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= 0x20) --end;
    return text.substr(begin, end - begin);
}

std::string_view unquotedView(std::string_view text) {
    if (text.empty() || text.front() != '"') return text;
    text.remove_prefix(1);
    if (!text.empty() && text.back() == '"') text.remove_suffix(1);
    return text;
}

std::string_view extensionOf(std::string_view path) {
    std::size_t dot = path.rfind('.');
    std::size_t slash = path.rfind('/');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return {};
    return path.substr(dot);
}

std::string_view folderOf(std::string_view path) {
    std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? std::string_view() : path.substr(0, slash + 1);
}

std::string fileNameOf(std::string_view path) {
    return std::string(path.substr(folderOf(path).size()));
}

std::string baseNameOf(std::string_view path) {
    std::string name = fileNameOf(path);
    return name.substr(0, name.size() - extensionOf(name).size());
}

std::string withExtension(std::string_view path, std::string_view extension) {
    return std::string(path.substr(0, path.size() - extensionOf(path).size())) +
           std::string(extension);
}

std::string stripQuotes(std::string_view text, char quote) {
    if (text.empty() || text[0] != quote) return std::string(text);
    text.remove_prefix(1);
    if (endsWithAnyOf(text, std::string_view(&quote, 1))) text.remove_suffix(1);
    return std::string(text);
}

std::string wrapQuotes(std::string_view text, char quote) {
    if (text.empty()) return std::string(2, quote);
    std::string out;
    if (text[0] != quote) out += quote;
    out.append(text);
    if (!endsWithAnyOf(out, std::string_view(&quote, 1))) out += quote;
    return out;
}

namespace {

// The entity for a character markup must not carry literally; HTML pages
// keep their double quotes.
std::optional<std::string_view> entityFor(char c, bool quoteToo) {
    switch (c) {
        case '&':
            return "&amp;";
        case '<':
            return "&lt;";
        case '>':
            return "&gt;";
        case '"':
            return quoteToo ? std::optional<std::string_view>("&quot;") : std::nullopt;
        default:
            return std::nullopt;
    }
}

}  // namespace

std::string escapeMarkup(std::string_view text) {
    return mapSingleBytes(text, [](char c) { return entityFor(c, true); });
}

std::string unescapeMarkup(std::string_view text) {
    std::string out;
    appendUnescapedMarkup(out, text);
    return out;
}

void appendUnescapedMarkup(std::string& out, std::string_view text) {
    struct Entity {
        std::string_view name;
        char replacement;
    };
    static constexpr Entity kEntities[] = {
        {"&nbsp;", ' '}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&amp;", '&'}};
    // One pass in place of five replacements: what an entity turns into is
    // never read again, so "&amp;lt;" still comes out as "&lt;". An "&" is
    // never the second byte of a character, so it counts wherever it stands.
    out.reserve(out.size() + text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t amp = text.find('&', i);
        out.append(text.substr(i, amp == std::string_view::npos ? amp : amp - i));
        if (amp == std::string_view::npos) break;
        i = amp;
        const Entity* hit = nullptr;
        for (const auto& entity : kEntities) {
            if (sameText(text.substr(i, entity.name.size()), entity.name)) hit = &entity;
        }
        out += hit ? hit->replacement : '&';
        i += hit ? hit->name.size() : 1;
    }
}

std::string escapeHTML(std::string_view text) {
    std::string out = mapSingleBytes(text, [](char c) { return entityFor(c, false); });
    if (!out.empty() && out[0] == ' ') out.replace(0, 1, "&nbsp;");
    return out;
}

std::string safeFileName(std::string_view text) {
    constexpr std::string_view kReserved = "\\/:,;*?\"<>|";
    auto keep = [&](char c) {
        return kReserved.find(c) == std::string_view::npos && !isControl(c);
    };
    return withoutDotNames(filterFileNameBytes(text, keep, "_"));
}

std::string urlToFileName(std::string_view address) {
    if (trimText(address).empty()) return "space.html";
    std::string name(address);
    if (name.back() == '/') name += "index.html";
    constexpr std::string_view kRemoved = ":<>/\\";
    name = filterFileNameBytes(
        name, [&](char c) { return kRemoved.find(c) == std::string_view::npos; }, "");
    name = filterFileNameBytes(
        name, [](char c) { return !isControl(c); }, "_");
    std::string extension = lowerExtension(name);
    if (isOneOf(extension, kKnownPageExtensions)) return name;
    if (extension == "." || isOneOf(extension, kTopLevelDomains)) name += "_index.html";
    // An address of nothing but separators would otherwise name the folder itself.
    return name.empty() ? std::string("space.html") : name;
}

std::vector<std::string> splitText(std::string_view text, std::string_view delimiters) {
    return ownedCells(cellViews(text, delimiters, NoQuotes{}));
}

std::vector<std::string> splitQuoted(std::string_view text, std::string_view delimiters) {
    return ownedCells(splitQuotedViews(text, delimiters));
}

std::vector<std::string_view> splitQuotedViews(std::string_view text, std::string_view delimiters) {
    return cellViews(text, delimiters, QuotedSections{});
}

void splitQuotedViews(std::string_view text, std::string_view delimiters,
                      std::vector<std::string_view>& cells) {
    cellViews(text, delimiters, QuotedSections{}, cells);
}

bool containsDigit(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); i += charLength(text, i)) {
        if (isDigit(text[i]) && charLength(text, i) == 1) return true;
    }
    return false;
}

std::pair<std::string, std::string> splitFirstWord(std::string_view text) {
    std::size_t blank = findAnySingleByte(text, " \t");
    if (blank == std::string_view::npos) return {std::string(text), {}};
    std::string rest = blank + 1 < text.size() ? trimText(text.substr(blank)) : std::string();
    return {std::string(text.substr(0, blank)), std::move(rest)};
}

std::size_t countOccurrences(std::string_view text, std::string_view pattern) {
    if (pattern.empty()) return 0;
    std::size_t count = 0;
    for (std::size_t at = findOnBoundary(text, pattern); at != std::string_view::npos;
         at = findOnBoundary(text, pattern, at + pattern.size())) {
        ++count;
    }
    return count;
}

bool isWebAddress(std::string_view text) {
    const std::string head = lowerText(text.substr(0, 6));
    return head == "http:/" || head == "https:";
}

std::string withSlashes(std::string_view path) {
    std::string out(path);
    for (std::size_t i = findSingleByte(out, '\\'); i != std::string::npos;
         i = findSingleByte(out, '\\', i + 1))
        out[i] = '/';
    return out;
}

std::optional<long long> readInteger(std::string_view text) {
    const std::string_view trimmed = trimmedView(text);
    std::string_view digits = trimmed;
    if (!digits.empty() && (digits.front() == '+' || digits.front() == '-'))
        digits.remove_prefix(1);
    if (digits.empty() || !isAllDigits(digits)) return std::nullopt;
    long long value = 0;
    const char* begin = trimmed.data() + (trimmed.front() == '+' ? 1 : 0);
    const auto [end, error] = std::from_chars(begin, trimmed.data() + trimmed.size(), value);
    if (error != std::errc() || end != trimmed.data() + trimmed.size()) return std::nullopt;
    return value;
}

bool isAllDigits(std::string_view text) {
    return std::all_of(text.begin(), text.end(), isDigit);
}

std::string digitsOnly(std::string_view text) {
    std::string digits;
    for (std::size_t i : singleBytePositions(text)) {
        if (isDigit(text[i])) digits += text[i];
    }
    return digits;
}

std::string incrementDigits(std::string_view text) {
    return stepDigits(text, text.size(), +1);
}
std::string decrementDigits(std::string_view text) {
    return stepDigits(text, text.size(), -1);
}
std::string incrementTens(std::string_view text) {
    return stepDigits(text, lastDigit(text), +1);
}
std::string decrementTens(std::string_view text) {
    return stepDigits(text, lastDigit(text), -1);
}

std::string cutHead(std::string_view text, std::string_view delimiters) {
    if (trimText(text).empty() || text.size() < 3) return std::string(text);
    do {
        text.remove_prefix(charLength(text, 0));
    } while (text.size() > 3 && !startsWithAnyOf(text, delimiters));
    return std::string(text);
}

std::string cutTail(std::string_view text, std::string_view delimiters) {
    if (trimText(text).empty() || text.size() < 3) return std::string(text);
    do {
        text = text.substr(0, lastCharStart(text));
    } while (text.size() > 2 && !endsWithAnyOf(text, delimiters));
    return std::string(text);
}

std::string cutFirstChar(std::string_view text) {
    return cutFirstChars(text, 1);
}

std::string cutFirstChars(std::string_view text, long long count) {
    if (count >= static_cast<long long>(text.size())) return {};
    for (long long i = 0; i < count && !text.empty(); ++i) text.remove_prefix(charLength(text, 0));
    return std::string(text);
}

std::string cutLastChar(std::string_view text) {
    if (text.size() <= 1) return {};
    return std::string(text.substr(0, lastCharStart(text)));
}

}  // namespace zel
