// Fading and docking as the user meets them: when the keyboard fades and
// comes back, and where docking puts it and where undocking gives it back.
#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "aids/fader.h"
#include "fakes.h"
#include "screen/docking.h"

namespace osk::testing {
namespace {

using aids::FadeOptions;
using aids::Fader;
using aids::Instant;
using aids::Millis;

// One thing that happens, at a time since the start.
struct FadeAct {
  enum class Kind : unsigned char { Over, Left, Hold, Release, Off } kind;
  long long at;
};

struct FadeCase {
  const char* what;
  std::vector<FadeAct> acts;
  bool pointerStaysOver;  // what the host answers at each tick after the acts
  long long fadedAt;      // -1: still whole at 20 s
};
void PrintTo(const FadeCase& c, std::ostream* os) { *os << c.what; }

class FadeTable : public ::testing::TestWithParam<FadeCase> {};

// The host's one-shot timer: each tick comes when the fader asked, and a
// faded fader asks for none.
TEST_P(FadeTable, FadesAfterTheWaitWithThePointerElsewhereOnly) {
  const FadeCase& c = GetParam();
  Fader fader;
  const Instant start{};
  fader.setOptions({true, 40, Millis{3000}}, start);
  Instant now = start;
  std::optional<long long> fadedAt;
  auto runUntil = [&](long long ms, bool over) {
    const Instant end = start + Millis{ms};
    while (const std::optional<Millis> wait = fader.wakeIn(now)) {
      if (now + *wait > end) break;
      now += *wait;
      fader.tick(now, over);
      if (fader.faded() && !fadedAt) fadedAt = (now - start) / Millis{1};
    }
    now = end;
  };
  bool over = false;
  for (const FadeAct& a : c.acts) {
    runUntil(a.at, over);
    switch (a.kind) {
      case FadeAct::Kind::Over:
        over = true;
        fader.pointerOver(now);
        break;
      case FadeAct::Kind::Left:
        over = false;
        fader.pointerLeft(now);
        break;
      case FadeAct::Kind::Hold:
        fader.setHeld(true, now);
        break;
      case FadeAct::Kind::Release:
        fader.setHeld(false, now);
        break;
      case FadeAct::Kind::Off:
        fader.setOptions({}, now);
        break;
    }
    // Nothing the pointer, the scanner or the user does fades it at once.
    EXPECT_FALSE(fader.faded()) << "faded right after the act at " << a.at;
    fadedAt.reset();
  }
  runUntil(20000, c.pointerStaysOver);
  EXPECT_EQ(fadedAt.value_or(-1), c.fadedAt);
  // Faded, it asks for no tick at all; whole, it is 100 % and layered
  // only while on.
  if (fader.faded()) {
    EXPECT_FALSE(fader.wakeIn(now).has_value());
    EXPECT_EQ(fader.opacity(), 40);
  } else {
    EXPECT_EQ(fader.opacity(), 100);
  }
}

using K = FadeAct::Kind;
INSTANTIATE_TEST_SUITE_P(
    Fader, FadeTable,
    ::testing::Values(
        FadeCase{"never over it: fades at the wait", {}, false, 3000},
        FadeCase{"over it, then left at 5 s: fades 3 s later", {{K::Over, 0}, {K::Left, 5000}}, false, 8000},
        FadeCase{"resting over it: never fades", {{K::Over, 0}}, true, -1},
        // The pointer went without a leave: it is found gone at the next
        // look, a second at most, and the wait counts from then.
        FadeCase{"left unreported after 4.5 s: fades the wait after it is found gone",
                 {{K::Over, 0}, {K::Over, 4500}},
                 false,
                 8500},
        FadeCase{"faded, then over it: whole, and fades again after the next leave",
                 {{K::Over, 4000}, {K::Left, 6000}},
                 false,
                 9000},
        FadeCase{"scanning from the start: never fades", {{K::Hold, 0}}, false, -1},
        FadeCase{
            "scanning stops at 10 s: fades 3 s later", {{K::Hold, 0}, {K::Release, 10000}}, false, 13000},
        FadeCase{"scanning starts on a faded keyboard: whole", {{K::Hold, 5000}}, false, -1},
        FadeCase{"switched off: never fades", {{K::Off, 100}}, false, -1}));

// The app bar as the system would grant it: the whole bottom of one
// 1600 x 1000 pixel screen (15 twips a pixel), or nothing when refusing.
class FakeAppBar final : public AppBar {
 public:
  bool refuse = false;
  bool registered = false;
  int removes = 0;
  std::optional<Geometry> dockBottom(const Form& /*form*/, float height) override {
    if (refuse) {
      registered = false;
      return std::nullopt;
    }
    registered = true;
    return Geometry{0, 15000 - height, 24000, height};
  }
  void remove(const Form& /*form*/) override {
    if (registered) ++removes;
    registered = false;
  }
};

struct DockRig {
  MemoryStore store;
  FakeHost host;
  FakeAppBar bar;
  Form window{"main", "QM-OSK", 16680, 5460, {}, {}};
  Docking docking{window, host, bar, store};
  const Geometry earlier{1500, 1500, 16800, 4785};
  DockRig() { window.setGeometry(earlier); }
  std::string stored() const { return store.read(kSettingsSection, settings::kDockBottom, "absent"); }
};

TEST(Docking, DocksAlongTheBottomAndGivesBackThePlace) {
  DockRig r;
  ASSERT_TRUE(r.docking.choose(true));
  EXPECT_EQ(r.window.geometry(), (Geometry{0, 15000 - 4785, 24000, 4785}));
  EXPECT_EQ(r.docking.placeToStore(), r.earlier);
  EXPECT_EQ(r.stored(), "1");
  EXPECT_FALSE(r.docking.choose(false));
  EXPECT_EQ(r.window.geometry(), r.earlier);
  EXPECT_EQ(r.bar.removes, 1);
  EXPECT_EQ(r.stored(), "0");
}

TEST(Docking, RefusedItStaysWhereItWasUndocked) {
  DockRig r;
  r.bar.refuse = true;
  EXPECT_FALSE(r.docking.choose(true));
  EXPECT_EQ(r.window.geometry(), r.earlier);
  EXPECT_EQ(r.stored(), "0");
}

// What the end of a drag or a resize does to a docked keyboard.
TEST(Docking, AUserMoveUndocksUnlessTheBottomStaysOnTheBar) {
  struct Row {
    const char* what;
    Geometry movedTo;
    bool docked;
    Geometry after;
  };
  const Geometry earlier{1500, 1500, 16800, 4785};
  const std::vector<Row> rows{
      {"dragged up the screen", {0, 3000, 24000, 4785}, false, earlier},
      {"dragged sideways", {3000, 15000 - 4785, 24000, 4785}, false, earlier},
      {"made taller from its top edge", {0, 9000, 24000, 6000}, true, {0, 9000, 24000, 6000}},
      {"not moved at all", {0, 15000 - 4785, 24000, 4785}, true, {0, 15000 - 4785, 24000, 4785}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    DockRig r;
    ASSERT_TRUE(r.docking.choose(true));
    r.window.setGeometry(row.movedTo);
    r.docking.userMoved();
    EXPECT_EQ(r.docking.docked(), row.docked);
    EXPECT_EQ(r.window.geometry(), row.after);
    EXPECT_EQ(r.stored(), row.docked ? "1" : "0");
    EXPECT_EQ(r.bar.registered, row.docked);
  }
}

TEST(Docking, OpensDockedWhenStoredAndCloseRemovesTheBarKeepingTheChoice) {
  DockRig r;
  ASSERT_TRUE(r.store.write(kSettingsSection, settings::kDockBottom, "1"));
  r.docking.load();
  EXPECT_TRUE(r.docking.docked());
  EXPECT_EQ(r.window.geometry().top + r.window.geometry().height, 15000);
  r.docking.close();
  EXPECT_FALSE(r.bar.registered);
  EXPECT_EQ(r.stored(), "1");
}

TEST(Docking, TheBarIsBetweenAQuarterAndAHalfOfTheWorkArea) {
  const std::vector<Geometry> areas{{0, 0, 24000, 15000}};
  EXPECT_EQ(dockedHeight({0, 0, 16800, 4785}, areas), 4785);
  EXPECT_EQ(dockedHeight({0, 0, 16800, 1000}, areas), 3750);
  EXPECT_EQ(dockedHeight({0, 0, 16800, 12000}, areas), 7500);
}

}  // namespace
}  // namespace osk::testing
