#include "merge/LineMerge.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

namespace zel {

namespace {

// Beyond this many edits the trace of a shortest edit script would cost more
// memory than the lines themselves (it grows with the square of the edits).
constexpr int kMostEdits = 1500;

// Lines as numbers, equal lines equal numbers, so comparing is one compare.
struct NumberedLines {
    std::vector<int> a, b;
};

NumberedLines numberLines(const LineViews& a, std::size_t aFrom, std::size_t aTo,
                          const LineViews& b, std::size_t bFrom, std::size_t bTo) {
    std::unordered_map<std::string_view, int> numbers;
    numbers.reserve((aTo - aFrom) + (bTo - bFrom));
    auto numberOf = [&numbers](std::string_view line) {
        return numbers.emplace(line, static_cast<int>(numbers.size())).first->second;
    };
    NumberedLines out;
    for (std::size_t i = aFrom; i < aTo; ++i) out.a.push_back(numberOf(a[i]));
    for (std::size_t i = bFrom; i < bTo; ++i) out.b.push_back(numberOf(b[i]));
    return out;
}

// Myers' greedy search for a shortest edit script from `a` to `b`, kept as
// the frontier of every step so the path can be walked back. Fills `match`
// (indexes relative to the two lists) and yields false when the script would
// need more than kMostEdits edits.
bool shortestScript(const std::vector<int>& a, const std::vector<int>& b, std::vector<int>& match) {
    const int n = static_cast<int>(a.size());
    const int m = static_cast<int>(b.size());
    const int most = std::min(n + m, kMostEdits);
    // trace[d][k + d]: the furthest x on diagonal k after d edits.
    std::vector<std::vector<int>> trace;
    int found = -1;
    for (int d = 0; d <= most && found < 0; ++d) {
        std::vector<int> frontier(2 * d + 1);
        for (int k = -d; k <= d; k += 2) {
            int x = 0;
            if (d > 0) {
                const std::vector<int>& before = trace.back();
                auto at = [&](int kk) { return before[kk + d - 1]; };
                x = (k == -d || (k != d && at(k - 1) < at(k + 1))) ? at(k + 1) : at(k - 1) + 1;
            }
            int y = x - k;
            while (x < n && y < m && a[x] == b[y]) ++x, ++y;
            frontier[k + d] = x;
            if (x >= n && y >= m) found = d;
        }
        trace.push_back(std::move(frontier));
    }
    if (found < 0) return false;
    int x = n, y = m;
    for (int d = found; d > 0; --d) {
        const std::vector<int>& before = trace[d - 1];
        auto at = [&](int kk) { return before[kk + d - 1]; };
        const int k = x - y;
        const int fromK = (k == -d || (k != d && at(k - 1) < at(k + 1))) ? k + 1 : k - 1;
        const int fromX = at(fromK);
        const int fromY = fromX - fromK;
        while (x > fromX && y > fromY) match[--x] = --y;
        x = fromX;
        y = fromY;
    }
    while (x > 0 && y > 0) match[--x] = --y;
    return true;
}

}  // namespace

LineBlock lineBlock(const LineViews& lines) {
    LineBlock block;
    for (std::string_view line : lines) block.push_back(line);
    return block;
}

std::vector<int> matchLines(const LineViews& a, const LineViews& b) {
    std::vector<int> match(a.size(), -1);
    std::size_t head = 0;
    while (head < a.size() && head < b.size() && a[head] == b[head]) {
        match[head] = static_cast<int>(head);
        ++head;
    }
    std::size_t aEnd = a.size(), bEnd = b.size();
    while (aEnd > head && bEnd > head && a[aEnd - 1] == b[bEnd - 1]) {
        --aEnd, --bEnd;
        match[aEnd] = static_cast<int>(bEnd);
    }
    if (aEnd == head || bEnd == head) return match;
    const NumberedLines numbered = numberLines(a, head, aEnd, b, head, bEnd);
    std::vector<int> middle(numbered.a.size(), -1);
    if (!shortestScript(numbered.a, numbered.b, middle)) return match;
    for (std::size_t i = 0; i < middle.size(); ++i)
        if (middle[i] >= 0) match[head + i] = middle[i] + static_cast<int>(head);
    return match;
}

namespace {

bool sameRange(const LineViews& x, std::size_t xFrom, std::size_t xTo, const LineViews& y,
               std::size_t yFrom, std::size_t yTo) {
    return xTo - xFrom == yTo - yFrom &&
           std::equal(x.begin() + xFrom, x.begin() + xTo, y.begin() + yFrom);
}

void appendRange(LineViews& out, const LineViews& from, std::size_t begin, std::size_t end) {
    out.insert(out.end(), from.begin() + begin, from.begin() + end);
}

}  // namespace

// The stretches where base, ours and theirs all hold the same lines in step
// are stable; between two of them each side's stretch is compared with the
// base's: the one that changed is taken, and when both did, differently, the
// stretch is a conflict.
LineMerge mergeLines(const LineViews& base, const LineViews& ours, const LineViews& theirs) {
    const std::vector<int> toOurs = matchLines(base, ours);
    const std::vector<int> toTheirs = matchLines(base, theirs);
    const std::size_t nB = base.size(), nO = ours.size(), nT = theirs.size();
    LineMerge merged;
    std::size_t b = 0, o = 0, t = 0;
    for (;;) {
        while (b < nB && toOurs[b] == static_cast<int>(o) && toTheirs[b] == static_cast<int>(t)) {
            merged.ours.push_back(base[b]);
            merged.theirs.push_back(base[b]);
            ++b, ++o, ++t;
        }
        if (b == nB && o == nO && t == nT) break;
        std::size_t next = b;
        while (next < nB && (toOurs[next] < 0 || toTheirs[next] < 0)) ++next;
        const std::size_t oEnd = next < nB ? static_cast<std::size_t>(toOurs[next]) : nO;
        const std::size_t tEnd = next < nB ? static_cast<std::size_t>(toTheirs[next]) : nT;
        if (sameRange(ours, o, oEnd, base, b, next)) {
            appendRange(merged.ours, theirs, t, tEnd);
            appendRange(merged.theirs, theirs, t, tEnd);
        } else if (sameRange(theirs, t, tEnd, base, b, next) ||
                   sameRange(ours, o, oEnd, theirs, t, tEnd)) {
            appendRange(merged.ours, ours, o, oEnd);
            appendRange(merged.theirs, ours, o, oEnd);
        } else {
            appendRange(merged.ours, ours, o, oEnd);
            appendRange(merged.theirs, theirs, t, tEnd);
            ++merged.conflicts;
        }
        b = next, o = oEnd, t = tEnd;
    }
    return merged;
}

}  // namespace zel
