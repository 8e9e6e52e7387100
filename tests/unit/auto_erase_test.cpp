// Auto-erase bursts, run on the manual clock with every timer of the window.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fakes.h"
#include "manual_clock.h"

namespace osk::testing {
namespace {

using colors::kGreen;
using colors::kSysWindow;

long count(const Rig& rig, const std::string& keys) {
  const auto sent = rig.injector.keys();
  return std::count(sent.begin(), sent.end(), keys);
}

struct Burst {
  Rig rig;
  ManualClock clock{rig.kb};
  Burst() {
    rig.kb.handleForm(Event::Load);
    rig.target("Notepad");
  }
};

TEST(AutoErase, JoinedModeErasesBothSidesAndEndsWithTheFirst) {
  Burst b;
  Rig& rig = b.rig;
  rig.click(ui::kButtonAutoBackspace);
  EXPECT_EQ(rig.c(ui::kButtonAutoBackspace).back(), kGreen);
  EXPECT_EQ(rig.c(ui::kButtonAutoDelete).back(), colors::kWhite);
  b.clock.advance(2000);
  EXPECT_EQ(count(rig, "{BACKSPACE}"), 20);
  rig.click(ui::kButtonAutoDelete);
  // A second click on a running mode neither doubles it nor stretches the
  // burst past its five seconds.
  b.clock.advance(1000);
  rig.click(ui::kButtonAutoBackspace);
  b.clock.advance(1200);
  // An ordinary key during the burst types and flashes; the reset returns
  // it to rest and leaves the burst buttons green.
  rig.c(ui::kButtonLetterQ).setCaption("q");
  rig.click(ui::kButtonLetterQ);
  EXPECT_EQ(rig.c(ui::kButtonLetterQ).back(), kGreen);
  b.clock.advance(300);
  EXPECT_EQ(rig.c(ui::kButtonLetterQ).back(), kSysWindow);
  EXPECT_EQ(rig.c(ui::kButtonAutoBackspace).back(), kGreen);
  EXPECT_EQ(rig.c(ui::kButtonAutoDelete).back(), kGreen);
  b.clock.advance(1500);

  EXPECT_EQ(count(rig, "{BACKSPACE}"), 50);
  EXPECT_EQ(count(rig, "{DEL}"), 30);
  EXPECT_EQ(count(rig, "q"), 1);
  // Within a tick Backspace goes first, each to the target in front.
  const auto sent = rig.injector.sent;
  const auto firstDel = std::find_if(sent.begin(), sent.end(), [](auto& s) { return s.keys == "{DEL}"; });
  ASSERT_NE(firstDel, sent.end());
  EXPECT_EQ((firstDel - 1)->keys, "{BACKSPACE}");
  for (const auto& s : sent) EXPECT_EQ(s.foreground, 42u) << s.keys;

  EXPECT_EQ(rig.c(ui::kButtonAutoBackspace).back(), kSysWindow);
  EXPECT_EQ(rig.c(ui::kButtonAutoDelete).back(), kSysWindow);
  EXPECT_FALSE(rig.main().timer(ui::kAutoDeleteTimer).enabled);
  EXPECT_FALSE(rig.main().timer(ui::kAutoDeleteStopTimer).enabled);
  b.clock.advance(3000);
  EXPECT_EQ(rig.injector.sent.size(), 81u);

  // The next click starts a fresh burst of its own.
  rig.click(ui::kButtonAutoDelete);
  b.clock.advance(6000);
  EXPECT_EQ(count(rig, "{DEL}"), 80);
  EXPECT_EQ(count(rig, "{BACKSPACE}"), 50);
}

TEST(AutoErase, ReservedCaptionSkipsTicksAndTheBurstGoesOn) {
  Rig rig;
  ManualClock clock(rig.kb);
  rig.kb.handleForm(Event::Load);
  rig.desktop.foreground = Rig::kSelf;
  rig.click(ui::kButtonAutoDelete);  // label still "QM-OSK"
  clock.advance(1500);
  rig.kb.handle(ui::kCommandLineTextbox, Event::Click);  // "QM-OSK-CMD"
  clock.advance(1000);
  EXPECT_TRUE(rig.injector.sent.empty());
  EXPECT_TRUE(rig.desktop.activations.empty());
  EXPECT_EQ(rig.c(ui::kButtonAutoDelete).back(), kGreen);
  // A window comes to the front and the tracking tick at 3000 records it.
  rig.desktop.show(42, "Notepad");
  clock.advance(2500);
  EXPECT_EQ(count(rig, "{DEL}"), 20);
  EXPECT_EQ(rig.c(ui::kButtonAutoDelete).back(), kSysWindow);
}

TEST(AutoErase, TickThatCannotBringTheTargetForwardGivesUpWithinItsPeriod) {
  Burst b;
  Rig& rig = b.rig;
  rig.desktop.refuseActivation = true;
  rig.click(ui::kButtonAutoBackspace);
  rig.click(ui::kButtonAutoDelete);
  b.clock.advance(1000);
  EXPECT_TRUE(rig.injector.sent.empty());
  // One wait per tick, not one per running mode.
  ASSERT_EQ(rig.desktop.patience.size(), 10u);
  // Each tick allows far less than the 100 ms period for the switch; a
  // click allows more.
  for (auto p : rig.desktop.patience) EXPECT_LT(p.count(), 50);
  rig.desktop.refuseActivation = false;
  b.clock.advance(100);
  EXPECT_EQ(count(rig, "{BACKSPACE}"), 1);
  EXPECT_EQ(count(rig, "{DEL}"), 1);
  rig.click(ui::kButtonTab);
  EXPECT_GT(rig.desktop.patience.back().count(), 100);
}

}  // namespace
}  // namespace osk::testing
