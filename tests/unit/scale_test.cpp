#include "layout/scale.h"

#include <gtest/gtest.h>

namespace osk {
namespace {

struct FitCase {
  const char* what;
  int clientW, clientH, designW, designH;
  double scale;
  int offsetX, offsetY;
};

TEST(LayoutFitTest, KeysKeepTheirShapeAndTheLayoutIsCentred) {
  const FitCase cases[] = {
      {"the design size: drawn as laid out", 1112, 289, 1112, 289, 1.0, 0, 0},
      {"design unknown: never scaled", 500, 100, 0, 289, 1.0, 0, 0},
      {"minimised: kept as drawn", 0, 0, 1112, 289, 1.0, 0, 0},
      {"dragged wider only: same keys, centred", 1312, 289, 1112, 289, 1.0, 100, 0},
      {"dragged taller only: same keys, centred", 1112, 389, 1112, 289, 1.0, 0, 50},
      {"both halved", 556, 145, 1112, 290, 0.5, 0, 0},
      {"narrower limits, spare height centred", 556, 289, 1112, 289, 0.5, 0, 72},
      {"lower limits, spare width centred", 1112, 145, 1112, 290, 0.5, 278, 0},
      {"both doubled", 2224, 578, 1112, 289, 2.0, 0, 0},
  };
  for (const FitCase& c : cases) {
    const LayoutFit fit = fitLayout(c.clientW, c.clientH, c.designW, c.designH);
    EXPECT_DOUBLE_EQ(fit.scale, c.scale) << c.what;
    EXPECT_EQ(fit.offsetX, c.offsetX) << c.what;
    EXPECT_EQ(fit.offsetY, c.offsetY) << c.what;
  }
}

TEST(LayoutFitTest, TheMinimumSizeKeepsTheSmallestScale) {
  for (const int design : {289, 1112, 1669, 7}) {
    const int side = minimumClientSide(design);
    EXPECT_GE(fitLayout(side, side, design, design).scale, kMinLayoutScale) << design;
    EXPECT_LT(fitLayout(side - 1, side - 1, design, design).scale, kMinLayoutScale) << design;
  }
  EXPECT_EQ(minimumClientSide(0), 0);
}

}  // namespace
}  // namespace osk
