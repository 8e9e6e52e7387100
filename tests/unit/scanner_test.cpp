// One-switch scanning as a user meets it: what is lit when, and what each
// press of the switch does.
#include "aids/scanner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "aid_clock.h"
#include "fakes.h"

namespace osk::testing {
namespace {

using aids::KeyId;
using aids::Millis;
using aids::Scanner;

// Four rows, the third empty (a row whose keys are all hidden, say).
const aids::ScanRows kRows{{1, 2, 3}, {4, 5}, {}, {6}};

// At `at` ms: a press (expecting its click, if any), a look at what is lit,
// or keys going out of a click's reach or coming back within it.
struct Beat {
  enum class Kind : unsigned char { Press, Look, Off, On };
  long long at;
  Kind kind;
  std::vector<KeyId> keys;  // the click of a press, what a look sees, the keys off or on
};
Beat press(long long at, std::vector<KeyId> click = {}) { return {at, Beat::Kind::Press, std::move(click)}; }
Beat look(long long at, std::vector<KeyId> lit) { return {at, Beat::Kind::Look, std::move(lit)}; }
Beat off(long long at, std::vector<KeyId> keys) { return {at, Beat::Kind::Off, std::move(keys)}; }
Beat on(long long at, std::vector<KeyId> keys) { return {at, Beat::Kind::On, std::move(keys)}; }

struct Session {
  const char* what;
  std::vector<Beat> beats;
  long long graceMs = 0;
};

void PrintTo(const Session& s, std::ostream* os) { *os << s.what; }

class ScanSessions : public ::testing::TestWithParam<Session> {};

TEST_P(ScanSessions, LightAndClickInTurn) {
  std::set<KeyId> outOfReach;
  Scanner scan(Millis{1000}, [&](KeyId key) { return !outOfReach.contains(key); });
  scan.setGrace(Millis{GetParam().graceMs});
  AidClock clock(scan);
  scan.start(clock.now(), kRows);
  clock.rearm();
  for (const Beat& b : GetParam().beats) {
    clock.advanceTo(b.at, [](auto) {});
    switch (b.kind) {
      case Beat::Kind::Press: {
        const std::optional<KeyId> click = scan.pressed(clock.now());
        clock.rearm();
        EXPECT_EQ(click ? std::vector<KeyId>{*click} : std::vector<KeyId>{}, b.keys) << "press at " << b.at;
        break;
      }
      case Beat::Kind::Look:
        EXPECT_EQ(scan.lit(), b.keys) << "look at " << b.at;
        // Nothing lit is a scan at rest: no timer may run for it.
        EXPECT_EQ(clock.asleep(), b.keys.empty()) << "timer at " << b.at;
        break;
      case Beat::Kind::Off:
      case Beat::Kind::On:
        for (KeyId key : b.keys) {
          if (b.kind == Beat::Kind::Off)
            outOfReach.insert(key);
          else
            outOfReach.erase(key);
        }
        // The answer says whether the timer must be set again: a light that
        // stays keeps its time.
        if (scan.reachChanged(clock.now())) clock.rearm();
        break;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    OneSwitch, ScanSessions,
    ::testing::Values(
        Session{"rows in turn, the empty one skipped, round again",
                {look(0, {1, 2, 3}), look(999, {1, 2, 3}), look(1000, {4, 5}), look(2000, {6}),
                 look(3000, {1, 2, 3})}},
        Session{"row, then key, then click; the rows start again from the top",
                {press(1500), look(1500, {4}), look(2499, {4}), look(2500, {5}), press(2600, {5}),
                 look(2600, {1, 2, 3}), look(3600, {4, 5})}},
        Session{"a press during the first step chooses what is lit at once",
                {press(0), look(0, {1}), press(10, {1}), look(10, {1, 2, 3})}},
        Session{"a row twice with no choice goes back to the rows, that row lit again",
                {press(1200), look(1200, {4}), look(2200, {5}), look(3200, {4}), look(4200, {5}),
                 look(5200, {4, 5}), look(6200, {6})}},
        Session{"a row of one key is chosen, then clicked", {press(2000), look(2000, {6}), press(2100, {6})}},
        // Three rows, so nine lights make three whole rounds.
        Session{"three rounds with no press rest; the next press only wakes the top row",
                {look(8999, {6}), look(9000, {}), look(600000, {}), press(600000), look(600000, {1, 2, 3}),
                 look(601000, {4, 5}), press(601500), look(601500, {4})}},
        Session{"the rounds count from the last press, not while a row's keys light",
                {press(1500), look(5499, {5}), look(5500, {4, 5}), look(14499, {1, 2, 3}), look(14500, {})}},
        Session{"a click starts the count again",
                {press(500), press(600, {1}), look(9599, {6}), look(9600, {})}},
        Session{"a row with no key in reach is passed over until one comes back",
                {off(0, {4, 5}), look(1000, {6}), on(1500, {5}), look(2000, {1, 2, 3}), look(3000, {5}),
                 press(3100), look(3100, {5}), press(3200, {5})}},
        Session{"a key that comes within reach of the lit row shows at once, the step kept",
                {off(0, {2}), look(0, {1, 3}), on(400, {2}), look(400, {1, 2, 3}), look(999, {1, 2, 3}),
                 look(1000, {4, 5})}},
        Session{"the lit row going out of reach lights the next at once, for a whole step",
                {off(300, {1, 2, 3}), look(300, {4, 5}), look(1299, {4, 5}), look(1300, {6}),
                 look(2300, {4, 5})}},
        Session{"the lit key going out of reach lights the next key at once, and is skipped after",
                {press(0), off(500, {1}), look(500, {2}), look(1499, {2}), look(1500, {3}), look(2500, {2}),
                 look(3500, {3}), look(4500, {2, 3}), press(4600), press(4700, {2})}},
        Session{"the last key of the row going out of reach goes back to the rows",
                {press(1000), off(1200, {4, 5}), look(1200, {6}), press(1300), press(1400, {6})}},
        Session{"the rounds before rest count only the rows in reach",
                {off(0, {4, 5}), look(5999, {6}), look(6000, {})}},
        Session{"nothing in reach rests; a press after a key comes back lights its row",
                {off(0, {1, 2, 3, 4, 5, 6}), look(0, {}), on(100, {6}), look(100, {}), press(200),
                 look(200, {6})}},
        // With a grace: a press a moment after the timer moved the light was
        // meant for what it left; a light that a press moved is never gone
        // back on.
        Session{"within the grace a press picks the row and the key just left",
                {press(1100), look(1100, {1}), look(2100, {2}), press(2150, {1}), look(2150, {1, 2, 3})},
                200},
        Session{
            "a press a press's light follows is taken as it stands", {press(1100), press(1150, {1})}, 200},
        Session{"at the grace's end the press is the new light's; going round the row is a move too",
                {press(1200), look(1200, {4}), look(3200, {4}), press(3250, {5})},
                200},
        Session{"a key gone out of reach is not gone back to",
                {press(0), look(1000, {2}), off(1050, {1}), press(1100, {2})},
                200}));

TEST(ScanStops, NothingLitNoTimerNoClick) {
  Scanner scan(Millis{1000}, [](KeyId) { return true; });
  const aids::Instant t0{};
  scan.start(t0, {{}, {}});
  EXPECT_EQ(scan.stage(), Scanner::Stage::Stopped);
  scan.start(t0, kRows);
  scan.pressed(t0);
  scan.stop();
  EXPECT_TRUE(scan.lit().empty());
  EXPECT_EQ(scan.wakeIn(t0), std::nullopt);
  EXPECT_EQ(scan.pressed(t0), std::nullopt);
}

// The rows of the real keyboard, made of every control a click reaches (the
// ones the keyboard handles clicks of): each in exactly one row, and no row
// holding two controls that stand one above the other, which would mean two
// visual rows had been merged into one.
TEST(ScanRowsOfKeyboard, EveryClickableControlOnceNoneStacked) {
  Rig r;
  const std::vector<Control>& controls = r.main().controls();
  std::vector<aids::ScanItem> items;
  for (std::size_t i = 0; i < controls.size(); ++i)
    if (controls[i].visible() && r.kb.handles(r.main(), i, Event::Click))
      items.push_back({i, controls[i].rect()});
  ASSERT_FALSE(items.empty());
  const aids::ScanRows rows = aids::scanRows(items);
  std::map<KeyId, int> seen;
  for (const auto& row : rows) {
    for (KeyId k : row) ++seen[k];
    for (std::size_t a = 0; a < row.size(); ++a) {
      for (std::size_t b = a + 1; b < row.size(); ++b) {
        const TwipsRect& ra = controls[row[a]].rect();
        const TwipsRect& rb = controls[row[b]].rect();
        const int centreA = ra.left + ra.width / 2;
        const int centreB = rb.left + rb.width / 2;
        EXPECT_LT(centreA, centreB) << controls[row[a]].name() << " before " << controls[row[b]].name();
        EXPECT_FALSE(centreB >= ra.left && centreB < ra.left + ra.width)
            << controls[row[b]].name() << " stands under " << controls[row[a]].name();
      }
    }
  }
  EXPECT_EQ(seen.size(), items.size());
  EXPECT_TRUE(std::ranges::all_of(seen, [](const auto& kv) { return kv.second == 1; }));
}

}  // namespace
}  // namespace osk::testing
