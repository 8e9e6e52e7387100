#include "screen/window_fit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace osk {
namespace {

std::string show(const Geometry& g) {
  return std::to_string(g.left) + "," + std::to_string(g.top) + " " + std::to_string(g.width) + "x" +
         std::to_string(g.height);
}

const Geometry kPrimary{0, 0, 24000, 15000};
// A smaller screen to the right of it, as a laptop beside a desk monitor.
const Geometry kRight{24000, 0, 19200, 10800};
// 1366 x 768 pixels at 144 dpi, in twips.
const Geometry kLaptop150{0, 0, 13660, 7680};

TEST(FitToWorkArea, DecisionTable) {
  struct Case {
    const char* what;
    std::vector<Geometry> areas;
    Geometry in;
    Geometry want;
    double scale;
  };
  const Case cases[] = {
      {"fits: kept to the bit",
       {kPrimary},
       {1000.3F, 999.7F, 16800.1F, 4785.3F},
       {1000.3F, 999.7F, 16800.1F, 4785.3F},
       1},
      {"exactly the work area", {kPrimary}, kPrimary, kPrimary, 1},
      {"partly off the edge but fits: kept",
       {kPrimary},
       {20000, 14000, 12000, 5000},
       {20000, 14000, 12000, 5000},
       1},
      {"wholly off but fits: brought on, size kept",
       {kPrimary},
       {30000, 1000, 12000, 5000},
       {12000, 1000, 12000, 5000},
       1},
      {"too wide", {kPrimary}, {1000, 1000, 30000, 6000}, {0, 1000, 24000, 4800}, 0.8},
      {"too tall", {kPrimary}, {2000, 3000, 10000, 20000}, {2000, 0, 7500, 15000}, 0.75},
      {"both, width the tighter", {kPrimary}, {5000, 5000, 48000, 20000}, {0, 5000, 24000, 10000}, 0.5},
      {"default size on a 1366 x 768 screen at 150 %",
       {kLaptop150},
       {1000, 1000, 16800, 4785},
       {0, 1000, 13660, 4785 * 13660.0F / 16800},
       13660.0 / 16800},
      {"off every monitor and too large",
       {kPrimary},
       {50000, 1000, 30000, 20000},
       {1500, 0, 22500, 15000},
       0.75},
      {"mostly on the smaller monitor: fitted to that one",
       {kPrimary, kRight},
       {20000, 0, 22000, 5000},
       {24000, 0, 19200, 5000 * 19200.0F / 22000},
       19200.0 / 22000},
      {"mostly on the larger monitor: fits there, kept",
       {kPrimary, kRight},
       {4000, 0, 22000, 5000},
       {4000, 0, 22000, 5000},
       1},
      {"work areas of no size are ignored",
       {{0, 0, 0, 0}, kLaptop150},
       {1000, 1000, 16800, 4785},
       {0, 1000, 13660, 4785 * 13660.0F / 16800},
       13660.0 / 16800},
      {"no work area known: unchanged", {}, {1000, 1000, 90000, 40000}, {1000, 1000, 90000, 40000}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Fitted got = fitToWorkArea(c.in, c.areas);
    if (c.scale == 1) {
      EXPECT_EQ(got.geometry, c.want) << show(got.geometry);
    } else {
      EXPECT_NEAR(got.geometry.left, c.want.left, 0.01) << show(got.geometry);
      EXPECT_NEAR(got.geometry.top, c.want.top, 0.01) << show(got.geometry);
      EXPECT_NEAR(got.geometry.width, c.want.width, 0.01) << show(got.geometry);
      EXPECT_NEAR(got.geometry.height, c.want.height, 0.01) << show(got.geometry);
      // Shrunk windows lie wholly inside the work area, not a twip over.
      bool inside = false;
      for (const Geometry& a : c.areas)
        inside = inside || (got.geometry.left >= a.left && got.geometry.top >= a.top &&
                            got.geometry.left + got.geometry.width <= a.left + a.width &&
                            got.geometry.top + got.geometry.height <= a.top + a.height);
      EXPECT_TRUE(inside) << show(got.geometry);
    }
    EXPECT_NEAR(got.scale, c.scale, 1e-9);
  }
}

}  // namespace
}  // namespace osk
