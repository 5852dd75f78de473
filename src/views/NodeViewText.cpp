#include "views/NodeViewText.h"

#include <QStringView>
#include <algorithm>

#include "text/Sjis.h"

namespace zel {

namespace {

std::vector<QStringView> splitAtLineFeeds(const QString& text) {
    std::vector<QStringView> lines;
    qsizetype start = 0;
    for (;;) {
        const qsizetype end = text.indexOf(QLatin1Char('\n'), start);
        if (end < 0) break;
        lines.emplace_back(QStringView(text).mid(start, end - start));
        start = end + 1;
    }
    lines.emplace_back(QStringView(text).mid(start));
    return lines;
}

// LF is a single byte that never pairs with a lead byte, so the converted
// text splits back into exactly the lines it was joined from.
Lines splitSjisAtLineFeeds(const std::string& text) {
    Lines lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string::npos) break;
        lines.emplace_back(text, start, end - start);
        start = end + 1;
    }
    lines.emplace_back(text, start);
    return lines;
}

Lines convertLines(QString text, std::size_t& replaced) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    std::size_t count = 0;
    Lines lines = splitSjisAtLineFeeds(utf8ToSjis(text.toStdString(), &count));
    replaced += count;
    return lines;
}

}  // namespace

QString editorText(const Lines& lines) {
    std::size_t size = lines.size();
    for (const std::string& line : lines) size += line.size();
    std::string joined;
    joined.reserve(size);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) joined += '\n';
        joined += lines[i];
    }
    return QString::fromStdString(sjisToUtf8(joined));
}

Lines editorLines(const QString& text, std::size_t& replaced) {
    replaced = 0;
    if (text.isEmpty()) return {};
    return convertLines(text, replaced);
}

Lines mergeEditedLines(const Lines& original, const QString& shown, const QString& edited,
                       std::size_t& replaced) {
    replaced = 0;
    if (edited.isEmpty()) return {};
    const std::vector<QStringView> before = splitAtLineFeeds(shown);
    const std::vector<QStringView> after = splitAtLineFeeds(edited);
    // An empty text shows as one empty line.
    const Lines empty{std::string()};
    const Lines& source = original.empty() ? empty : original;
    if (before.size() != source.size()) return convertLines(edited, replaced);

    const std::size_t shorter = std::min(before.size(), after.size());
    std::size_t head = 0;
    while (head < shorter && before[head] == after[head]) ++head;
    std::size_t tail = 0;
    while (tail < shorter - head &&
           before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;

    Lines merged(source.begin(), source.begin() + static_cast<std::ptrdiff_t>(head));
    const std::size_t changedEnd = after.size() - tail;
    if (changedEnd > head) {
        QString changed;
        for (std::size_t i = head; i < changedEnd; ++i) {
            if (i > head) changed += QLatin1Char('\n');
            changed += after[i];
        }
        Lines converted = convertLines(changed, replaced);
        merged.insert(merged.end(), std::make_move_iterator(converted.begin()),
                      std::make_move_iterator(converted.end()));
    }
    merged.insert(merged.end(), source.end() - static_cast<std::ptrdiff_t>(tail), source.end());
    return merged;
}

}  // namespace zel
