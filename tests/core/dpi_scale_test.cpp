// Lengths between 96-DPI units and a monitor's pixels.
#include <gtest/gtest.h>

#include "common/dpi_scale.h"

namespace ls {
namespace {

TEST(DpiScale, LengthsIconsAndTheWayBack) {
  struct Row {
    int dpi, value, scaled, icon;
  } rows[] = {
      {96, 250, 250, 16},  {120, 250, 313, 20}, {144, 250, 375, 24}, {168, 250, 438, 24},
      {192, 250, 500, 32}, {288, 250, 750, 32}, {144, -12, -18, 24}, {0, 100, 100, 16},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.dpi);
    EXPECT_EQ(scaleToDpi(r.value, r.dpi), r.scaled);
    EXPECT_EQ(listIconSize(r.dpi), r.icon);
    // Stored, read back and shown again, a width does not drift.
    EXPECT_EQ(scaleToDpi(scaleFromDpi(r.scaled, r.dpi), r.dpi), r.scaled);
  }
  EXPECT_EQ(scaleFromDpi(313, 120), 250);
}

}  // namespace
}  // namespace ls
