// Windows' places in twips on desktops of several monitors and DPIs: a
// window put down in pixels, kept in twips, and put back where it was.
#include "screen/screen_map.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "screen/window_fit.h"

namespace osk {
namespace {

std::string show(const PixelRect& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + " .. " + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}

bool overlaps(const Geometry& a, const Geometry& b) {
  return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
         b.top < a.top + a.height;
}

bool inside(const Geometry& g, const Geometry& a) {
  return g.left >= a.left && g.top >= a.top && g.left + g.width <= a.left + a.width &&
         g.top + g.height <= a.top + a.height;
}

// A monitor of `w` x `h` pixels at `x`, `y`, its taskbar 40 pixels along the bottom.
MonitorPixels monitor(int x, int y, int w, int h, int dpi) {
  return MonitorPixels{{x, y, x + w, y + h}, {x, y, x + w, y + h - 40}, dpi};
}

TEST(ScreenMap, ArrangementTable) {
  struct Case {
    const char* what;
    std::vector<MonitorPixels> monitors;
    // Windows across two monitors, beside one inside each monitor.
    std::vector<PixelRect> across;
  };
  const Case cases[] = {
      {"one monitor", {monitor(0, 0, 1920, 1080, 96)}, {}},
      {"two of one DPI",
       {monitor(0, 0, 1920, 1080, 144), monitor(1920, 0, 1366, 768, 144)},
       {{1500, 100, 2700, 400}}},
      {"a 192-dpi monitor right of the primary",
       {monitor(0, 0, 1920, 1080, 96), monitor(1920, 0, 3840, 2160, 192)},
       {{1500, 100, 2700, 400}, {1000, 100, 2100, 400}}},
      {"a 192-dpi monitor left of the primary",
       {monitor(0, 0, 1920, 1080, 96), monitor(-3840, 0, 3840, 2160, 192)},
       {{-600, 100, 500, 400}, {-200, 100, 900, 400}}},
      {"a 144-dpi monitor above the primary",
       {monitor(0, 0, 1920, 1080, 96), monitor(0, -1620, 2880, 1620, 144)},
       {{100, -200, 1200, 300}, {100, -100, 1200, 900}}},
      {"a 192-dpi primary with a 96-dpi monitor right of it",
       {monitor(0, 0, 3840, 2160, 192), monitor(3840, 0, 1920, 1080, 96)},
       {{3000, 100, 4400, 400}}},
      {"96, 144 and 192 in a row",
       {monitor(0, 0, 1920, 1080, 96), monitor(1920, 0, 2880, 1620, 144), monitor(4800, 0, 3840, 2160, 192)},
       {{4000, 100, 5200, 400}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const ScreenMap map(c.monitors, 96);
    const std::vector<Geometry> work = map.workAreas();
    ASSERT_EQ(work.size(), c.monitors.size());
    bool oneDpi = true;
    for (const MonitorPixels& m : c.monitors) oneDpi = oneDpi && m.dpi == c.monitors[0].dpi;
    std::vector<Geometry> bounds;
    for (std::size_t i = 0; i < c.monitors.size(); ++i) {
      const MonitorPixels& m = c.monitors[i];
      SCOPED_TRACE("monitor " + std::to_string(i));
      bounds.push_back(map.toTwips(m.bounds));
      EXPECT_TRUE(inside(work[i], bounds[i]));
      // A window inside the work area, in from its corner.
      const PixelRect window{m.work.left + 40, m.work.top + 30, m.work.left + 1160, m.work.top + 330};
      const Geometry g = map.toTwips(window);
      EXPECT_EQ(map.toPixels(g), window) << show(map.toPixels(g));
      // Its size in inches on this monitor.
      EXPECT_EQ(g.width, static_cast<float>(1120 * 1440.0 / m.dpi));
      EXPECT_EQ(g.height, static_cast<float>(300 * 1440.0 / m.dpi));
      // Reopened from the store, it is kept as it is on this monitor.
      const Fitted reopened = fitToWorkArea(g, work);
      EXPECT_EQ(reopened.geometry, g);
      EXPECT_TRUE(inside(g, work[i]));
      // One DPI everywhere: the plain conversion, to the bit.
      if (oneDpi) {
        EXPECT_EQ(g.left, static_cast<float>(window.left * 1440.0 / m.dpi));
        EXPECT_EQ(g.top, static_cast<float>(window.top * 1440.0 / m.dpi));
      }
    }
    for (std::size_t i = 0; i < bounds.size(); ++i)
      for (std::size_t j = i + 1; j < bounds.size(); ++j)
        EXPECT_FALSE(overlaps(bounds[i], bounds[j])) << "monitors " << i << " and " << j;
    for (const PixelRect& window : c.across) {
      const PixelRect back = map.toPixels(map.toTwips(window));
      EXPECT_EQ(back, window) << show(window) << " came back as " << show(back);
    }
  }
}

}  // namespace
}  // namespace osk
