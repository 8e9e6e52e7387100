// The keyboard's place is stored a second after the window last moved, so
// that a crash does not forget it, and the resting keyboard writes nothing.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "fakes.h"
#include "layout/main_window.h"
#include "manual_clock.h"
#include "settings/settings_keys.h"

namespace osk {
namespace {

using testing::ManualClock;
using testing::Rig;

// What the store holds under MainLeft while nothing has been saved since
// the last look.
constexpr const char* kUnsaved = "unsaved";
constexpr int kClose = -1;  // a step that closes the window instead of moving it

TEST(PlaceSave, ASecondAfterTheLastMoveWhateverMovedIt) {
  struct Step {
    int at;    // ms after load
    int left;  // where the window is moved to, or kClose
  };
  struct Case {
    const char* what;
    std::vector<Step> steps;
    std::vector<std::pair<int, int>> saves;  // (ms, left stored)
  };
  const Case cases[] = {
      {"no move: nothing stored", {}, {}},
      {"one move", {{0, 100}}, {{1000, 100}}},
      {"a drag, steps under a second apart, is stored once at its end",
       {{0, 100}, {300, 200}, {600, 300}, {999, 400}},
       {{1999, 400}}},
      {"two moves a pause apart are stored each", {{0, 100}, {1500, 200}}, {{1000, 100}, {2500, 200}}},
      {"closing during the wait stores at once, and nothing later", {{0, 100}, {500, kClose}}, {{500, 100}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Rig r;
    r.kb.handleForm(Event::Load);
    ManualClock clock(r.kb);
    r.store.write(kSettingsSection, "MainLeft", kUnsaved);
    std::vector<std::pair<int, int>> saves;
    for (int t = 0; t <= 5000; ++t) {
      for (const Step& s : c.steps) {
        if (s.at != t) continue;
        if (s.left == kClose) {
          r.kb.handleForm(Event::Unload);
        } else {
          Geometry g = r.main().geometry();
          g.left = static_cast<float>(s.left);
          r.main().syncGeometry(g);  // as the host reports a move
          r.kb.handleForm(Event::Move);
        }
      }
      const std::string left = r.store.read(kSettingsSection, "MainLeft", "");
      if (left != kUnsaved) {
        saves.emplace_back(t, std::stoi(left));
        r.store.write(kSettingsSection, "MainLeft", kUnsaved);
      }
      clock.advance(1);
    }
    EXPECT_EQ(saves, c.saves);
    // The resting keyboard keeps no timer running for its place.
    EXPECT_FALSE(r.main().timer(ui::kPlaceSaveTimer).enabled);
  }
}

}  // namespace
}  // namespace osk
