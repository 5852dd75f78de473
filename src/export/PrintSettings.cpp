#include "export/PrintSettings.h"

#include <algorithm>
#include <array>
#include <optional>

#include "text/Sjis.h"
#include "text/TextHelpers.h"

namespace zel {

namespace {

int bounded(long long value, int low, int high) {
    return static_cast<int>(std::clamp<long long>(value, low, high));
}

int pageOrLine(long long value) {
    return bounded(value, 1, kPrintNumberLimit);
}

int millimetres(long long value) {
    return bounded(value, 0, 100);
}

// Texts keep one line: a line break would end the serial form's line.
std::string oneLine(std::string_view text) {
    std::string line(text);
    std::replace_if(
        line.begin(), line.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return line;
}

template <typename Enum, std::size_t N>
std::optional<Enum> enumNamed(std::string_view text, const std::array<std::string_view, N>& names) {
    for (std::size_t i = 0; i < N; ++i)
        if (sameText(text, names[i])) return static_cast<Enum>(i);
    return std::nullopt;
}

constexpr std::array<std::string_view, 4> kAlignNames = {"haNone", "haLeft", "haCenter", "haRight"};
constexpr std::array<std::string_view, 3> kPageOptionNames = {"poBoth", "poOdd", "poEven"};
constexpr std::array<std::string_view, 2> kRangeNames = {"roWhole", "roLimited"};

std::optional<long long> number(std::string_view text) {
    return readInteger(trimmedView(text));
}

std::optional<bool> flag(std::string_view text) {
    text = trimmedView(text);
    if (sameText(text, "True")) return true;
    if (sameText(text, "False")) return false;
    return std::nullopt;
}

std::string styleText(const PrintFont& font) {
    std::string text;
    auto add = [&](bool on, std::string_view name) {
        if (!on) return;
        if (!text.empty()) text += ',';
        text += name;
    };
    add(font.bold, "fsBold");
    add(font.italic, "fsItalic");
    add(font.underline, "fsUnderline");
    add(font.strikeOut, "fsStrikeOut");
    return text;
}

bool readStyle(std::string_view text, PrintFont& font) {
    PrintFont styled = font;
    styled.bold = styled.italic = styled.underline = styled.strikeOut = false;
    for (const std::string& word : splitText(text, ",")) {
        std::string_view name = trimmedView(word);
        if (name.empty()) continue;
        if (sameText(name, "fsBold")) {
            styled.bold = true;
        } else if (sameText(name, "fsItalic")) {
            styled.italic = true;
        } else if (sameText(name, "fsUnderline")) {
            styled.underline = true;
        } else if (sameText(name, "fsStrikeOut")) {
            styled.strikeOut = true;
        } else {
            return false;
        }
    }
    font = styled;
    return true;
}

struct Property {
    std::string_view name;
    std::string (*get)(const PrintSettings&);
    bool (*set)(PrintSettings&, std::string_view);
};

// Property entries over the settings' own getters and setters.
template <int (PrintSettings::*get)() const, void (PrintSettings::*set)(long long)>
Property numberProperty(std::string_view name) {
    return {name, [](const PrintSettings& s) { return std::to_string((s.*get)()); },
            [](PrintSettings& s, std::string_view v) {
                auto n = number(v);
                if (n) (s.*set)(*n);
                return n.has_value();
            }};
}

template <const std::string& (PrintSettings::*get)() const,
          void (PrintSettings::*set)(std::string_view)>
Property textProperty(std::string_view name) {
    return {name, [](const PrintSettings& s) { return oneLine((s.*get)()); },
            [](PrintSettings& s, std::string_view v) {
                (s.*set)(oneLine(v));
                return true;
            }};
}

template <typename Enum, Enum (PrintSettings::*get)() const, void (PrintSettings::*set)(Enum),
          const auto& names>
Property enumProperty(std::string_view name) {
    return {name, [](const PrintSettings& s) { return std::string(names[(s.*get)()]); },
            [](PrintSettings& s, std::string_view v) {
                auto e = enumNamed<Enum>(trimmedView(v), names);
                if (e) (s.*set)(*e);
                return e.has_value();
            }};
}

// The font's parts: each changes a copy of the font.
template <typename Change>
bool changeFont(PrintSettings& s, Change change) {
    PrintFont font = s.font();
    if (!change(font)) return false;
    s.setFont(font);
    return true;
}

// A number of the font, kept within low..high.
template <int PrintFont::*part, int low, int high>
Property fontNumberProperty(std::string_view name) {
    return {name, [](const PrintSettings& s) { return std::to_string(s.font().*part); },
            [](PrintSettings& s, std::string_view v) {
                return changeFont(s, [&](PrintFont& f) {
                    auto n = number(v);
                    if (n) f.*part = bounded(*n, low, high);
                    return n.has_value();
                });
            }};
}

const std::array<Property, 27>& properties() {
    static const std::array<Property, 27> table = {
        numberProperty<&PrintSettings::columnCount, &PrintSettings::setColumnCount>("ColumnCount"),
        numberProperty<&PrintSettings::columnSpace, &PrintSettings::setColumnSpace>("ColumnSpace"),
        textProperty<&PrintSettings::fileName, &PrintSettings::setFileName>("FileName"),
        numberProperty<&PrintSettings::firstLineNumber, &PrintSettings::setFirstLineNumber>(
            "FirstLineNumber"),
        numberProperty<&PrintSettings::firstPageNumber, &PrintSettings::setFirstPageNumber>(
            "FirstPageNumber"),
        Property{"Font.Name", [](const PrintSettings& s) { return oneLine(s.font().name); },
                 [](PrintSettings& s, std::string_view v) {
                     return changeFont(s, [&](PrintFont& f) {
                         f.name = oneLine(v);
                         return true;
                     });
                 }},
        fontNumberProperty<&PrintFont::size, 1, 1000>("Font.Size"),
        Property{"Font.Style", [](const PrintSettings& s) { return styleText(s.font()); },
                 [](PrintSettings& s, std::string_view v) {
                     return changeFont(s, [&](PrintFont& f) { return readStyle(v, f); });
                 }},
        fontNumberProperty<&PrintFont::charset, 0, 255>("Font.Charset"),
        Property{"Font.Color", [](const PrintSettings& s) { return colorToName(s.font().color); },
                 [](PrintSettings& s, std::string_view v) {
                     return changeFont(s, [&](PrintFont& f) {
                         f.color = nameToColor(trimmedView(v));
                         return true;
                     });
                 }},
        textProperty<&PrintSettings::footer, &PrintSettings::setFooter>("Footer"),
        enumProperty<HeaderAlign, &PrintSettings::footerAlign, &PrintSettings::setFooterAlign,
                     kAlignNames>("FooterAlign"),
        textProperty<&PrintSettings::header, &PrintSettings::setHeader>("Header"),
        enumProperty<HeaderAlign, &PrintSettings::headerAlign, &PrintSettings::setHeaderAlign,
                     kAlignNames>("HeaderAlign"),
        numberProperty<&PrintSettings::lastLine, &PrintSettings::setLastLine>("LastLine"),
        numberProperty<&PrintSettings::lastPage, &PrintSettings::setLastPage>("LastPage"),
        Property{
            "LineNumber",
            [](const PrintSettings& s) { return std::string(s.lineNumber() ? "True" : "False"); },
            [](PrintSettings& s, std::string_view v) {
                auto b = flag(v);
                if (b) s.setLineNumber(*b);
                return b.has_value();
            }},
        enumProperty<RangeOption, &PrintSettings::lineRangeOption,
                     &PrintSettings::setLineRangeOption, kRangeNames>("LineRangeOption"),
        numberProperty<&PrintSettings::marginBottom, &PrintSettings::setMarginBottom>(
            "MarginBottom"),
        numberProperty<&PrintSettings::marginLeft, &PrintSettings::setMarginLeft>("MarginLeft"),
        numberProperty<&PrintSettings::marginLine, &PrintSettings::setMarginLine>("MarginLine"),
        numberProperty<&PrintSettings::marginRight, &PrintSettings::setMarginRight>("MarginRight"),
        numberProperty<&PrintSettings::marginTop, &PrintSettings::setMarginTop>("MarginTop"),
        enumProperty<PageOption, &PrintSettings::pageOption, &PrintSettings::setPageOption,
                     kPageOptionNames>("PageOption"),
        enumProperty<RangeOption, &PrintSettings::rangeOption, &PrintSettings::setRangeOption,
                     kRangeNames>("RangeOption"),
        numberProperty<&PrintSettings::startLine, &PrintSettings::setStartLine>("StartLine"),
        numberProperty<&PrintSettings::startPage, &PrintSettings::setStartPage>("StartPage"),
    };
    return table;
}

const Property* propertyNamed(std::string_view name) {
    for (const Property& p : properties())
        if (sameText(p.name, name)) return &p;
    return nullptr;
}

}  // namespace

void PrintSettings::setColumnCount(long long value) {
    columnCount_ = bounded(value, 1, 3);
}
void PrintSettings::setColumnSpace(long long value) {
    columnSpace_ = millimetres(value);
}
void PrintSettings::setFileName(std::string_view value) {
    fileName_ = value;
}
void PrintSettings::setFirstLineNumber(long long value) {
    firstLineNumber_ = pageOrLine(value);
}
void PrintSettings::setFirstPageNumber(long long value) {
    firstPageNumber_ = pageOrLine(value);
}
void PrintSettings::setFont(const PrintFont& value) {
    font_ = value;
    font_.size = bounded(value.size, 1, 1000);
}
void PrintSettings::setFooter(std::string_view value) {
    footer_ = value;
}
void PrintSettings::setFooterAlign(HeaderAlign value) {
    footerAlign_ = static_cast<HeaderAlign>(bounded(value, haNone, haRight));
}
void PrintSettings::setHeader(std::string_view value) {
    header_ = value;
}
void PrintSettings::setHeaderAlign(HeaderAlign value) {
    headerAlign_ = static_cast<HeaderAlign>(bounded(value, haNone, haRight));
}
void PrintSettings::setLastLine(long long value) {
    lastLine_ = pageOrLine(value);
}
void PrintSettings::setLastPage(long long value) {
    lastPage_ = pageOrLine(value);
}
void PrintSettings::setLineRangeOption(RangeOption value) {
    lineRangeOption_ = static_cast<RangeOption>(bounded(value, roWhole, roLimited));
}
void PrintSettings::setMarginBottom(long long value) {
    marginBottom_ = millimetres(value);
}
void PrintSettings::setMarginLeft(long long value) {
    marginLeft_ = millimetres(value);
}
void PrintSettings::setMarginLine(long long value) {
    marginLine_ = millimetres(value);
}
void PrintSettings::setMarginRight(long long value) {
    marginRight_ = millimetres(value);
}
void PrintSettings::setMarginTop(long long value) {
    marginTop_ = millimetres(value);
}
void PrintSettings::setPageOption(PageOption value) {
    pageOption_ = static_cast<PageOption>(bounded(value, poBoth, poEven));
}
void PrintSettings::setRangeOption(RangeOption value) {
    rangeOption_ = static_cast<RangeOption>(bounded(value, roWhole, roLimited));
}
void PrintSettings::setStartLine(long long value) {
    startLine_ = pageOrLine(value);
}
void PrintSettings::setStartPage(long long value) {
    startPage_ = pageOrLine(value);
}

const std::vector<std::string_view>& printPropertyNames() {
    static const std::vector<std::string_view> names = [] {
        std::vector<std::string_view> all;
        for (const Property& p : properties()) all.push_back(p.name);
        return all;
    }();
    return names;
}

std::vector<std::pair<std::string, std::string>> printPropertyValues(
    const PrintSettings& settings) {
    std::vector<std::pair<std::string, std::string>> values;
    for (const Property& p : properties()) values.emplace_back(p.name, p.get(settings));
    return values;
}

bool setPrintProperty(PrintSettings& settings, std::string_view name, std::string_view value) {
    const Property* property = propertyNamed(trimmedView(name));
    return property && property->set(settings, value);
}

std::string serialisePrintSettings(const PrintSettings& settings) {
    std::string text;
    for (const auto& [name, value] : printPropertyValues(settings)) {
        text += name;
        text += '=';
        text += value;
        text += '\n';
    }
    return text;
}

bool deserialisePrintSettings(std::string_view text, PrintSettings& settings) {
    PrintSettings read = settings;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty()) continue;
        const std::size_t equals = findSingleByte(line, '=');
        if (equals == std::string_view::npos) return false;
        const std::string_view name = trimmedView(line.substr(0, equals));
        if (!propertyNamed(name)) continue;
        if (!setPrintProperty(read, name, line.substr(equals + 1))) return false;
    }
    settings = read;
    return true;
}

int wrapPrintNumberEntry(long long value) {
    if (value <= 0) return kPrintNumberLimit;
    if (value > kPrintNumberLimit) return 1;
    return static_cast<int>(value);
}

}  // namespace zel
