// Hover clicking as a user meets it: what a pointer's path over the keyboard
// clicks, and when.
#include "aids/dwell_clicker.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <utility>
#include <vector>

#include "aid_clock.h"

namespace osk::testing {
namespace {

using aids::DwellClicker;
using aids::KeyId;
using aids::Millis;
using aids::PointerAt;

constexpr KeyId kH = 7;
constexpr KeyId kI = 8;
constexpr KeyId kPause = 99;

// One thing the pointer (or the user) does, at a time since the start.
struct Act {
  enum class Kind : unsigned char { Move, Leave, Click, Pause, Resume } kind;
  long long at;
  std::optional<KeyId> key;
  PointerAt where{};
};
Act move(long long at, KeyId key, int x = 100, int y = 100) { return {Act::Kind::Move, at, key, {x, y}}; }
Act gap(long long at) { return {Act::Kind::Move, at, std::nullopt, {5, 5}}; }
Act leave(long long at) { return {Act::Kind::Leave, at, std::nullopt}; }
Act mouseClick(long long at, KeyId key) { return {Act::Kind::Click, at, key}; }
Act pause(long long at) { return {Act::Kind::Pause, at, std::nullopt}; }
Act resume(long long at) { return {Act::Kind::Resume, at, std::nullopt}; }

struct Click {
  KeyId key;
  long long at;
  friend bool operator==(const Click&, const Click&) = default;
  friend std::ostream& operator<<(std::ostream& os, const Click& c) {
    return os << "key " << c.key << " at " << c.at;
  }
};

struct Path {
  const char* what;
  std::vector<Act> acts;
  std::vector<Click> clicks;         // in a run to 10 s with the 1000 ms default
  std::vector<long long> givenUp{};  // how long each rest left before its click had run
  Millis timerLate{0};
};

void PrintTo(const Path& p, std::ostream* os) { *os << p.what; }

// Moves every `every` ms from `from` to `to`, stepping `dx` pixels on `key`.
std::vector<Act> drift(long long from, long long to, long long every, KeyId key, int dx) {
  std::vector<Act> out;
  int x = 100;
  for (long long t = from; t <= to; t += every, x += dx) out.push_back(move(t, key, x));
  return out;
}

std::vector<Act> join(std::vector<std::vector<Act>> parts) {
  std::vector<Act> out;
  for (auto& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

class DwellPaths : public ::testing::TestWithParam<Path> {};

TEST_P(DwellPaths, ClickWhatRestedAndNothingElse) {
  DwellClicker dwell({});
  dwell.setPauseKey(kPause);
  std::vector<long long> givenUp;
  dwell.setMovedOn([&](Millis ran) { givenUp.push_back(ran.count()); });
  AidClock clock(dwell, GetParam().timerLate);
  std::vector<Click> clicks;
  auto note = [&](std::optional<KeyId> k) {
    if (k) clicks.push_back({*k, clock.ms()});
  };
  for (const Act& a : GetParam().acts) {
    clock.advanceTo(a.at, note);
    switch (a.kind) {
      case Act::Kind::Move:
        note(dwell.moved(clock.now(), a.where, a.key));
        break;
      case Act::Kind::Leave:
        note(dwell.left(clock.now()));
        break;
      case Act::Kind::Click:
        dwell.clickedOtherwise(*a.key);
        break;
      case Act::Kind::Pause:
        dwell.setPaused(true);
        break;
      case Act::Kind::Resume:
        dwell.setPaused(false);
        break;
    }
    clock.rearm();
  }
  clock.advanceTo(10'000, note);
  EXPECT_EQ(clicks, GetParam().clicks);
  EXPECT_EQ(givenUp, GetParam().givenUp);
  // Whatever happened, a pointer that stays put ends with no timer running.
  EXPECT_TRUE(clock.asleep());
}

INSTANTIATE_TEST_SUITE_P(
    Hover, DwellPaths,
    ::testing::Values(Path{"rest on h: once, however long", {move(0, kH)}, {{kH, 1000}}},
                      Path{"jitter within a few pixels still rests",
                           {move(0, kH), move(150, kH, 103, 101), move(300, kH, 97, 99),
                            move(450, kH, 101, 103), move(600, kH, 99, 97), move(750, kH, 102, 102),
                            move(900, kH, 98, 101)},
                           {{kH, 1000}}},
                      Path{"a move beyond the jitter starts the rest again",
                           {move(0, kH), move(600, kH, 120)},
                           {{kH, 1600}}},
                      Path{"slow drift across a wide key never rests",
                           join({drift(0, 9000, 200, kH, 10), {leave(9100)}}),
                           {},
                           {100}},
                      Path{"leaving early cancels; a later rest clicks",
                           {move(0, kH), leave(900), move(2000, kH)},
                           {{kH, 3000}},
                           {900}},
                      Path{"moving to the gap between keys cancels", {move(0, kH), gap(900)}, {}, {900}},
                      Path{"passing over keys faster than the dwell types nothing",
                           {move(0, 1), move(300, 2), move(600, 3), move(900, 4), move(1200, 5), leave(1500)},
                           {},
                           {300, 300, 300, 300, 300}},
                      Path{"h then i: each once; back on h clicks h again",
                           {move(0, kH), move(1400, kH, 150), move(3000, kI), move(4500, kH)},
                           {{kH, 1000}, {kI, 4000}, {kH, 5500}}},
                      Path{"a mouse click on the resting key is the visit's only click",
                           {move(0, kH), mouseClick(400, kH)},
                           {}},
                      Path{"paused: keys rest for nothing, the pause key still clicks",
                           {pause(0), move(0, kH), move(2000, kPause)},
                           {{kPause, 3000}}},
                      Path{"pausing stops a running rest; resuming rests again at the next move",
                           {move(0, kH), pause(500), move(3000, kH, 101), resume(3200), move(3300, kH, 102)},
                           {{kH, 4300}}},
                      Path{"a late timer does not lose a completed rest the pointer then leaves",
                           {move(0, kH), move(1010, kI)},
                           {{kH, 1010}, {kI, 2040}},
                           {},
                           Millis{30}}));

TEST(DwellCost, WakesOnlyToPaintAndToClick) {
  DwellClicker dwell({});
  AidClock clock(dwell);
  std::vector<double> painted;
  std::optional<KeyId> clicked;
  auto note = [&](std::optional<KeyId> k) {
    if (k) clicked = k;
    if (!clicked) painted.push_back(dwell.face(clock.now()).progress);
  };
  dwell.moved(clock.now(), {}, kH);
  clock.rearm();
  clock.advanceTo(60'000, note);
  ASSERT_EQ(clicked, kH);
  // The fill grows at every tick in even steps, no tick is wasted, and the
  // click ends the ticking for good.
  ASSERT_EQ(painted.size(), 19U);
  for (std::size_t i = 0; i < painted.size(); ++i) EXPECT_NEAR(painted[i], double(i + 1) / 20, 1e-9);
  EXPECT_EQ(clock.ticks(), 20);
  EXPECT_EQ(dwell.face(clock.now()), aids::DwellFace{});
}

TEST(DwellCost, AHoverTimeBetweenPaintStepsStillClicksOnTime) {
  DwellClicker dwell({Millis{2030}, 4, Millis{50}});
  AidClock clock(dwell);
  std::optional<long long> at;
  dwell.moved(clock.now(), {}, kH);
  clock.rearm();
  clock.advanceTo(10'000, [&](std::optional<KeyId> k) {
    if (k) at = clock.ms();
  });
  EXPECT_EQ(at, 2030);
}

}  // namespace
}  // namespace osk::testing
