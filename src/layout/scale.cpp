#include "layout/scale.h"

#include <algorithm>
#include <cmath>

namespace osk {

LayoutFit fitLayout(int clientWidth, int clientHeight, int designWidth, int designHeight) {
  if (designWidth <= 0 || designHeight <= 0 || clientWidth <= 0 || clientHeight <= 0) return {};
  // Divided as doubles, equal sizes give exactly 1, so a window at its
  // design size places every control to the pixel as the layout says.
  const double scale = std::min(static_cast<double>(clientWidth) / designWidth,
                                static_cast<double>(clientHeight) / designHeight);
  const auto spare = [scale](int client, int design) {
    const auto used = static_cast<int>(std::lround(design * scale));
    return std::max(0, (client - used) / 2);
  };
  return {scale, spare(clientWidth, designWidth), spare(clientHeight, designHeight)};
}

int minimumClientSide(int designSide) {
  return designSide <= 0 ? 0 : static_cast<int>(std::ceil(designSide * kMinLayoutScale));
}

}  // namespace osk
