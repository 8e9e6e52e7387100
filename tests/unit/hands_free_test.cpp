// Hover clicking and scanning end to end through the keyboard: the host's
// pointer and switch events go in, the keys the target receives and the
// marks the host paints come out, time moved by the keyboard's own timers.
#include "aids/hands_free.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "fakes.h"
#include "manual_clock.h"

namespace osk::testing {
namespace {

using Keys = std::vector<std::string>;

struct AidRig {
  Rig r;
  ManualClock clock{r.kb};

  explicit AidRig(std::vector<std::pair<std::string_view, std::string_view>> stored, bool targeted = true) {
    for (auto [key, value] : stored) r.store.write(kSettingsSection, key, value);
    r.kb.handleForm(Event::Load);
    if (targeted) r.target("Untitled - Notepad");
  }
  aids::HandsFree& aids() { return r.kb.handsFree(); }
  std::size_t index(KeyboardControl key) { return r.main().indexOf(r.c(key)); }
  void rest(KeyboardControl key, std::int64_t ms, int x = 10) {
    aids().pointerMoved({x, 10}, index(key));
    clock.advance(ms);
  }
  bool anyAidTimerRuns() {
    return r.main().timer(ui::kHoverTimer).enabled || r.main().timer(ui::kScanTimer).enabled;
  }
};

const std::vector<std::pair<std::string_view, std::string_view>> kHover{{"DWELL_CLICK", "1"},
                                                                        {"DWELL_TIME_MS", "1000"}};

TEST(Hover, RestingTypesTheKeyOnceAndShowsItsProgressMeanwhile) {
  AidRig a(kHover);
  a.rest(ui::kButtonLetterH, 500);
  EXPECT_EQ(a.r.main().aidMarks().dwellKey, a.index(ui::kButtonLetterH));
  EXPECT_NEAR(a.r.main().aidMarks().dwellProgress, 0.5, 0.06);
  EXPECT_TRUE(a.r.injector.keys().empty());
  a.clock.advance(499);
  EXPECT_TRUE(a.r.injector.keys().empty());
  // Wandering within a few pixels is still resting; the key types once.
  a.aids().pointerMoved({12, 11}, a.index(ui::kButtonLetterH));
  a.clock.advance(60'000);
  EXPECT_EQ(a.r.injector.keys(), Keys{"h"});
  EXPECT_EQ(a.r.main().aidMarks(), AidMarks{});
  EXPECT_FALSE(a.anyAidTimerRuns());
  // On to the next key, which types in its turn.
  a.rest(ui::kButtonLetterI, 1000);
  EXPECT_EQ(a.r.injector.keys(), (Keys{"h", "i"}));
}

TEST(Hover, PassingOverKeysTypesNothingAndLeavingStopsEverything) {
  AidRig a(kHover);
  int x = 0;
  for (KeyboardControl key : {ui::kButtonLetterA, ui::kButtonLetterS, ui::kButtonLetterD, ui::kButtonLetterF})
    a.rest(key, 900, x += 50);
  a.aids().pointerLeft();
  a.clock.advance(10'000);
  EXPECT_TRUE(a.r.injector.keys().empty());
  EXPECT_FALSE(a.anyAidTimerRuns());
}

TEST(Hover, LatchesActAsWithTheMouseAndTheMouseClickIsNotDoubled) {
  AidRig a(kHover);
  a.rest(ui::kButtonShiftLeft, 1500);
  a.rest(ui::kButtonLetterA, 1500, 60);
  EXPECT_EQ(a.r.injector.keys(), Keys{"A"});
  EXPECT_EQ(a.r.c(ui::kButtonShiftLeft).back(), colors::kWhite);  // released by the letter
  // A mouse click on the key the pointer rests on is that visit's click.
  a.aids().pointerMoved({200, 10}, a.index(ui::kButtonLetterB));
  a.aids().buttonDown(a.index(ui::kButtonLetterB));
  a.r.click(ui::kButtonLetterB);
  a.clock.advance(5000);
  EXPECT_EQ(a.r.injector.keys(), (Keys{"A", "b"}));
}

TEST(Hover, ThePauseKeyStopsHoverAndResumesItByHover) {
  AidRig a(kHover);
  a.rest(ui::kHoverPauseButton, 1200);
  EXPECT_EQ(a.r.c(ui::kHoverPauseButton).caption(), "HOVER PAUSED");
  a.rest(ui::kButtonLetterH, 3000, 40);
  EXPECT_TRUE(a.r.injector.keys().empty());
  EXPECT_FALSE(a.anyAidTimerRuns());
  a.rest(ui::kHoverPauseButton, 1200, 80);
  EXPECT_EQ(a.r.c(ui::kHoverPauseButton).caption(), "HOVER ON");
  a.rest(ui::kButtonLetterH, 1200, 120);
  EXPECT_EQ(a.r.injector.keys(), Keys{"h"});
}

// Waits, a step at a time, until the scan lights exactly `lit`.
bool waitLit(AidRig& a, const std::vector<std::size_t>& lit, bool whole) {
  for (int step = 0; step < 40; ++step) {
    const auto& now = a.r.main().aidMarks().scanLit;
    const bool found = whole ? now == lit : std::ranges::find(now, lit.front()) != now.end();
    if (found) return true;
    a.clock.advance(1000);
  }
  return false;
}

TEST(Scanning, TheSwitchChoosesTheRowThenTheKeyAndClicksIt) {
  AidRig a({{"SCAN_MODE", "1"}, {"SCAN_STEP_MS", "1000"}});
  EXPECT_EQ(a.r.switches.caught, 32U);
  const std::size_t h = a.index(ui::kButtonLetterH);
  ASSERT_TRUE(waitLit(a, {h}, false));
  EXPECT_GT(a.r.main().aidMarks().scanLit.size(), 5U);  // the whole row of h
  a.aids().switchPressed();
  ASSERT_TRUE(waitLit(a, {h}, true));
  EXPECT_TRUE(a.r.injector.keys().empty());
  a.aids().switchPressed();
  EXPECT_EQ(a.r.injector.keys(), Keys{"h"});
  // Back to the rows.
  EXPECT_GT(a.r.main().aidMarks().scanLit.size(), 1U);
}

TEST(Scanning, LeftUnusedItRestsAndTheNextPressOnlyWakesTheRows) {
  AidRig a({{"SCAN_MODE", "1"}, {"SCAN_STEP_MS", "1000"}});
  const std::vector<std::size_t> top = a.r.main().aidMarks().scanLit;
  a.clock.advance(600000);  // ten minutes
  EXPECT_TRUE(a.r.main().aidMarks().scanLit.empty());
  EXPECT_FALSE(a.anyAidTimerRuns());
  // Still the switch: the key is caught and a click on the keyboard wakes it.
  EXPECT_EQ(a.r.switches.caught, 32U);
  EXPECT_TRUE(a.aids().scanning());
  a.aids().switchPressed();
  EXPECT_TRUE(a.r.injector.keys().empty());
  EXPECT_EQ(a.r.main().aidMarks().scanLit, top);
  EXPECT_TRUE(a.anyAidTimerRuns());
}

// The suggestion strip is a row like any other while it shows, and no row
// at all while it is hidden.
TEST(Scanning, ReachesTheSuggestionsOnlyWhileTheyShow) {
  AidRig off({{"SCAN_MODE", "1"}, {"WORD_PREDICTION", "0"}});
  const std::size_t first = off.index(ui::kSuggestionKeys[0]);
  EXPECT_FALSE(waitLit(off, {first}, false));

  AidRig on({{"SCAN_MODE", "1"}, {"WORD_PREDICTION", "1"}});
  on.r.kb.tick(ui::kNcsTimer);
  on.r.click(ui::kButtonLetterT);
  on.r.click(ui::kButtonLetterH);
  const std::string word = on.r.c(ui::kSuggestionKeys[0]).caption();
  ASSERT_TRUE(word.starts_with("th")) << word;
  ASSERT_TRUE(waitLit(on, {first}, false));
  on.aids().switchPressed();
  ASSERT_TRUE(waitLit(on, {first}, true));
  on.aids().switchPressed();
  EXPECT_EQ(on.r.injector.keys().back(), word.substr(2) + " ");
}

// No light may rest on a key a click cannot reach.
void expectLitReachable(AidRig& a) {
  for (std::size_t k : a.r.main().aidMarks().scanLit) {
    const Control& c = a.r.main().controls()[k];
    EXPECT_TRUE(c.enabled() && c.visible()) << c.name() << " lit";
  }
}

// Scans to `key` as its user would: the row that shows it, then the key.
// False when it never lights in a few rounds.
bool scanTo(AidRig& a, KeyboardControl key) {
  const std::size_t k = a.index(key);
  for (int step = 0; step < 60; ++step) {
    expectLitReachable(a);
    const std::vector<std::size_t>& lit = a.r.main().aidMarks().scanLit;
    if (lit == std::vector{k}) {
      a.aids().switchPressed();
      return true;
    }
    if (lit.size() > 1 && std::ranges::find(lit, k) != lit.end())
      a.aids().switchPressed();
    else
      a.clock.advance(1000);
  }
  return false;
}

// What a click reaches changes under a running scan: the editing keys and
// the arrows need a real target, recorded a tracking tick after the window
// comes to the front. Each starts with the keyboard just loaded and no
// target yet, every key still on as the layout makes them.
struct ReachCase {
  const char* what;
  void (*meanwhile)(AidRig&);
  KeyboardControl key;
  Keys typed;  // nothing: the key never lights
};

void PrintTo(const ReachCase& c, std::ostream* os) { *os << c.what; }

class ScanReach : public ::testing::TestWithParam<ReachCase> {};

void noTargetYet(AidRig& a) { a.clock.advance(1000); }
void dialogThenTarget(AidRig& a) {
  noTargetYet(a);
  a.r.click(ui::kSettingsButton);  // the rows are made afresh, the keys still off
  a.r.desktop.show(42, "Untitled - Notepad");
  a.clock.advance(1000);
}

TEST_P(ScanReach, TheScanReachesWhatAClickReaches) {
  AidRig a({{"SCAN_MODE", "1"}, {"SCAN_STEP_MS", "1000"}}, false);
  GetParam().meanwhile(a);
  const bool reached = scanTo(a, GetParam().key);
  EXPECT_EQ(reached, !GetParam().typed.empty());
  EXPECT_EQ(a.r.injector.keys(), GetParam().typed);
}

INSTANTIATE_TEST_SUITE_P(
    Scanning, ScanReach,
    ::testing::Values(
        ReachCase{"no target: Backspace goes off and never lights", noTargetYet, ui::kButtonBackspace, {}},
        ReachCase{"a target after the rows were made: Backspace joins them",
                  dialogThenTarget,
                  ui::kButtonBackspace,
                  {"{BACKSPACE}"}},
        ReachCase{"a target after the rows were made: the arrows join them",
                  dialogThenTarget,
                  ui::kButtonKeyLeft,
                  {"{LEFT}"}}));

// The light leaves a key the moment a click can no longer reach it, and the
// next press goes to the key it moved to. The command line taking the focus
// turns the editing keys off (until the next tracking tick).
TEST(Scanning, ALitKeyThatGoesOffIsLeftAtOnce) {
  AidRig a({{"SCAN_MODE", "1"}, {"SCAN_STEP_MS", "1000"}});
  const std::size_t backspace = a.index(ui::kButtonBackspace);
  ASSERT_TRUE(waitLit(a, {backspace}, false));
  a.aids().switchPressed();
  ASSERT_TRUE(waitLit(a, {backspace}, true));
  a.r.kb.handle(ui::kCommandLineTextbox, Event::GotFocus);
  const std::vector<std::size_t> lit = a.r.main().aidMarks().scanLit;
  ASSERT_EQ(lit.size(), 1U);
  EXPECT_EQ(a.r.main().controls()[lit.front()].name(), "PRINT_SCREEN_APP_WINDOW");
  a.aids().switchPressed();
  EXPECT_EQ(a.r.injector.keys(), Keys{"%{PRTSC}"});
}

// The strip comes while the keys are scanned (the dialog that brings it
// holds the scan meanwhile, but nothing else may miss it): every key moved,
// so the rows start again; with no word under way, at the letters' top row
// (the strip waits for a word's first letter).
TEST(Scanning, TheStripComingStartsTheRowsAgainWithIt) {
  AidRig a({{"SCAN_MODE", "1"}, {"SCAN_STEP_MS", "1000"}, {"WORD_PREDICTION", "0"}});
  a.clock.advance(1500);
  a.r.store.write(kSettingsSection, "WORD_PREDICTION", "1");
  a.r.kb.context().prediction->settingsChanged();
  const std::vector<std::size_t>& lit = a.r.main().aidMarks().scanLit;
  const std::size_t q = a.r.main().indexOf(a.r.main().control(ui::kButtonLetterQ));
  EXPECT_NE(std::ranges::find(lit, q), lit.end());
  EXPECT_EQ(std::ranges::find(lit, a.r.main().indexOf(a.r.main().control(ui::kSuggestionKeys.front()))),
            lit.end());
}

TEST(Scanning, TheSwitchIsCaughtOnlyWhileTheKeysCanBeScanned) {
  AidRig a({{"SCAN_MODE", "1"}, {"SCAN_SWITCH_VK", "13"}});
  EXPECT_EQ(a.r.switches.caught, 13U);
  // While the settings dialog is open its keys type and nothing is lit.
  std::optional<unsigned> inside;
  bool timerInside = true;
  a.r.host.whileModal = [&](Form&) {
    inside = a.r.switches.caught;
    timerInside = a.anyAidTimerRuns();
  };
  a.r.click(ui::kSettingsButton);
  EXPECT_EQ(inside, std::nullopt);
  EXPECT_FALSE(timerInside);
  EXPECT_EQ(a.r.switches.caught, 13U);
  a.r.kb.handleForm(Event::Unload);
  EXPECT_EQ(a.r.switches.caught, std::nullopt);
  EXPECT_FALSE(a.anyAidTimerRuns());
}

TEST(Aids, TheDialogOpensWithTheStoredChoicesAndTheKeyboardTakesWhatItStores) {
  AidRig a({{"SCAN_STEP_MS", "250"}, {"SCAN_SWITCH_VK", "seven"}});
  std::vector<std::string> shown;
  a.r.host.whileModal = [&](Form& dialog) {
    if (dialog.name() == kSettingsFormName) {
      a.r.kb.handle(dialog, "TYPING_AIDS_BUTTON", Event::Click);
      return;
    }
    for (const char* field : {"DWELL_TIME_TEXTBOX", "SCAN_STEP_TEXTBOX", "SWITCH_KEY_TEXTBOX"})
      shown.push_back(dialog.named(field).text() + (dialog.named(field).enabled() ? "" : " (off)"));
    dialog.control(ui::aids::kDwellClickTickbox).setValue(1);
    a.r.kb.handle(dialog, "DWELL_CLICK_TICKBOX", Event::Click);
    dialog.control(ui::aids::kDwellTimeTextbox).setText("99999");
    a.r.kb.handle(dialog, "OK_BUTTON", Event::Click);
  };
  a.r.click(ui::kSettingsButton);
  EXPECT_EQ(shown, (std::vector<std::string>{"1000 (off)", "300 (off)", "32 (off)"}));
  for (auto [key, value] : {std::pair{"DWELL_CLICK", "1"},
                            {"DWELL_TIME_MS", "5000"},
                            {"SCAN_MODE", "0"},
                            {"SCAN_STEP_MS", "300"},
                            {"SCAN_SWITCH_VK", "32"}})
    EXPECT_EQ(a.r.store.read(kSettingsSection, key, "<none>"), value) << key;
  EXPECT_TRUE(a.r.c(ui::kHoverPauseButton).enabled());
  a.rest(ui::kButtonLetterH, 4990);
  EXPECT_TRUE(a.r.injector.keys().empty());
  a.clock.advance(10);
  EXPECT_EQ(a.r.injector.keys(), Keys{"h"});
}

// Off at first: only the person's switch works it. Ticked in the dialog,
// the platform is asked to let other programs' presses work it too.
TEST(Scanning, InjectedSwitchPressesCountOnlyOnceTheUserTicksThem) {
  AidRig a({{"SCAN_MODE", "1"}, {"SCAN_SWITCH_VK", "32"}});
  EXPECT_EQ(a.r.switches.caught, 32U);
  EXPECT_FALSE(a.r.switches.injectedToo);
  std::optional<int> shown;
  a.r.host.whileModal = [&](Form& dialog) {
    if (dialog.name() == kSettingsFormName) {
      a.r.kb.handle(dialog, "TYPING_AIDS_BUTTON", Event::Click);
      return;
    }
    Control& box = dialog.control(ui::aids::kInjectedSwitchTickbox);
    if (box.enabled()) shown = box.value();
    box.setValue(1);
    a.r.kb.handle(dialog, "OK_BUTTON", Event::Click);
  };
  a.r.click(ui::kSettingsButton);
  EXPECT_EQ(shown, 0);
  EXPECT_EQ(a.r.store.read(kSettingsSection, "SCAN_SWITCH_INJECTED", "<none>"), "1");
  EXPECT_EQ(a.r.switches.caught, 32U);
  EXPECT_TRUE(a.r.switches.injectedToo);
}

TEST(Aids, NothingRunsWhenTheyAreOff) {
  AidRig a({});
  a.rest(ui::kButtonLetterH, 5000);
  a.aids().switchPressed();
  EXPECT_TRUE(a.r.injector.keys().empty());
  EXPECT_FALSE(a.anyAidTimerRuns());
  EXPECT_FALSE(a.r.c(ui::kHoverPauseButton).enabled());
  EXPECT_EQ(a.r.switches.changes, 0);
}

}  // namespace
}  // namespace osk::testing
