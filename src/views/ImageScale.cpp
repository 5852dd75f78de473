#include "views/ImageScale.h"

#include <algorithm>
#include <cmath>

#include "text/TextHelpers.h"

namespace zel {

int leadingPercent(std::string_view text) {
    const std::string_view trimmed = trimmedView(text);
    long long value = 0;
    for (char c : trimmed) {
        if (c < '0' || c > '9') break;
        value = std::min(value * 10 + (c - '0'), 1'000'000'000LL);
    }
    return static_cast<int>(value);
}

int appliedPercent(std::string_view text) {
    return std::clamp(leadingPercent(text), kMinScalePercent, kMaxScalePercent);
}

int steppedPercent(int percent, ScaleStep step) {
    const bool tenth = step == ScaleStep::Plus10 || step == ScaleStep::Minus10;
    long long v = percent;
    // Half to even, as the current rounding mode does.
    long long s = std::llrint(static_cast<double>(v) * (tenth ? 0.1 : 0.5));
    if (s <= 0) v = 1;
    long long result;
    switch (step) {
        case ScaleStep::Plus10:
            result = v + s;
            break;
        case ScaleStep::Plus50:
            result = v + s == 0 ? 1 : v + s;
            break;
        default:
            result = s == v ? 1 : v - s;
    }
    return static_cast<int>(std::clamp<long long>(result, kMinScalePercent, kMaxScalePercent));
}

int fittingPercent(int boxSize, int pictureSize) {
    if (pictureSize <= 0) return 100;
    const long long percent =
        std::llrint(static_cast<double>(boxSize) * 100.0 / static_cast<double>(pictureSize)) - 1;
    return static_cast<int>(std::clamp<long long>(percent, kMinScalePercent, kMaxScalePercent));
}

}  // namespace zel
