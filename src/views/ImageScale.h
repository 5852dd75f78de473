#pragma once
// The image view's scale rules, in percent of the picture's own size.

#include <string_view>

namespace zel {

// Manual scales stay within these bounds: a larger one would ask for a
// picture of gigabytes.
inline constexpr int kMinScalePercent = 1;
inline constexpr int kMaxScalePercent = 1600;

// The leading digits of the trimmed text, 0 when there are none.
int leadingPercent(std::string_view text);
// The percent a scale text applies: its leading digits, within the bounds.
int appliedPercent(std::string_view text);

enum class ScaleStep { Plus10, Plus50, Minus10, Minus50 };
// The percent after a step from `percent`. The step is a tenth or a half of
// it, rounded half to even; a step that rounds to nothing starts again at 1.
int steppedPercent(int percent, ScaleStep step);

// The percent that makes a side of `pictureSize` pixels fit `boxSize` with
// a pixel to spare: round(box * 100 / picture) - 1; 100 for an empty picture.
int fittingPercent(int boxSize, int pictureSize);

}  // namespace zel
