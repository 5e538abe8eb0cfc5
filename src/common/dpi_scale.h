// Sizes at a monitor's DPI. What the settings file stores (the list font's
// height, the column widths, the window rectangle) stays in 96-DPI units,
// so a file means the same on every monitor and to older versions; the
// window converts on the way in and out.
#pragma once

namespace ls {

inline constexpr int kBaseDpi = 96;

// A 96-DPI length at `dpi`, rounded to the nearest pixel (halves away from
// zero, as MulDiv rounds); a DPI below 1 counts as 96.
int scaleToDpi(int value, int dpi);
// The reverse, for storing what the user set at `dpi`.
int scaleFromDpi(int value, int dpi);

// The size of the list's icons at `dpi`: the largest of 16, 20, 24 and 32
// that is not above 16 scaled, and never below 16.
int listIconSize(int dpi);

}  // namespace ls
