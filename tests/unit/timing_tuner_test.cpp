// The timing that follows the user: the scan step from reaction times and
// undone picks, the hover rest from kept and undone clicks, the likely-key
// rest, and the keyboard storing what was reached and starting its scan at
// the strip once a word is under way.
#include "aids/timing_tuner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "aids/hands_free.h"
#include "fakes.h"
#include "manual_clock.h"

namespace osk::testing {
namespace {

using aids::Millis;

struct ScanCase {
  const char* name;
  long long startMs;
  long long reactionMs;  // every press, measured from its item's light
  bool undoEach;         // every key clicked is undone at once by Backspace
  long long lowestMs;    // where the step must end, inclusive
  long long highestMs;
};

class ScanTuning : public ::testing::TestWithParam<ScanCase> {};

TEST_P(ScanTuning, FollowsThePressesInSmallStepsWithinTheBounds) {
  const ScanCase& c = GetParam();
  aids::ScanStepTuner tuner(Millis{c.startMs});
  for (int press = 0; press < 200; ++press) {
    const long long before = tuner.step().count();
    tuner.picked(Millis{c.reactionMs});
    // Every second press clicks a key (the first chose its row).
    if (press % 2 == 1) {
      tuner.clicked(false);
      if (c.undoEach) tuner.clicked(true);
    }
    const long long after = tuner.step().count();
    EXPECT_LE(std::llabs(after - before), before / 20 + 1) << c.name << ", press " << press;
    EXPECT_GE(after, 300) << c.name;
    EXPECT_LE(after, 5000) << c.name;
  }
  EXPECT_GE(tuner.step().count(), c.lowestMs) << c.name;
  EXPECT_LE(tuner.step().count(), c.highestMs) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Presses, ScanTuning,
                         ::testing::Values(
                             // Quick presses shorten a long step to about the reaction over 0.65.
                             ScanCase{"quick presses", 1500, 450, false, 680, 705},
                             // Presses of a slow user lengthen a short step the same way.
                             ScanCase{"slow presses", 1000, 1200, false, 1830, 1860},
                             // A press sooner than anybody reacts was late for the item before.
                             ScanCase{"late presses", 1000, 60, false, 1600, 5000},
                             // Picks undone at once lengthen the step whatever the reactions say.
                             ScanCase{"undone picks", 1000, 400, true, 5000, 5000},
                             // Never faster than 300 ms.
                             ScanCase{"quickest user", 400, 200, false, 300, 310},
                             // Never slower than 5 s.
                             ScanCase{"slowest user", 4000, 4800, false, 5000, 5000}),
                         [](const auto& row) {
                           std::string n = row.param.name;
                           std::ranges::replace(n, ' ', '_');
                           return n;
                         });

TEST(HoverTuning, KeptClicksShortenUndoneOnesLengthenLikelyKeysRestForWhatLeavingTakes) {
  struct Row {
    const char* name;
    int kept;         // clicks kept, one after another
    int leaves;       // then rests given up ...
    long long leave;  // ... after this long each
    int undone;       // then clicks undone at once
    long long restLow, restHigh, likelyLow, likelyHigh, unlikely;
  };
  // The user's own rest is 1000 ms throughout.
  const Row rows[] = {
      {"fresh", 0, 0, 0, 0, 1000, 1000, 1000, 1000, 1000},
      {"kept clicks: never below the user's own", 200, 0, 0, 0, 1000, 1000, 1000, 1000, 1000},
      {"too few leaves to judge by", 0, 4, 450, 0, 1000, 1000, 1000, 1000, 1000},
      {"quick leaves: likely keys by the clinical rule", 0, 5, 450, 0, 1000, 1000, 690, 695, 1000},
      {"passing over says nothing", 0, 20, 150, 0, 1000, 1000, 1000, 1000, 1000},
      {"very quick leaves: never below half", 0, 5, 250, 0, 1000, 1000, 500, 500, 1000},
      {"slow leaves: never longer than an unlikely key", 0, 5, 900, 0, 1000, 1000, 1000, 1000, 1000},
      {"a slip that clicked says leaving takes longer", 0, 5, 450, 1, 1250, 1250, 860, 870, 1250},
      {"undone clicks close together lengthen every key", 0, 0, 0, 3, 1953, 1953, 1953, 1953, 1953},
      {"a few undone after many kept are absorbed", 200, 0, 0, 3, 1000, 1000, 1000, 1000, 1000},
      {"many undone: never above 5 s", 0, 0, 0, 40, 5000, 5000, 5000, 5000, 5000},
  };
  for (const Row& row : rows) {
    aids::DwellTuner tuner(Millis{1000}, Millis{1000});
    for (int i = 0; i < row.kept; ++i) tuner.clicked(false);
    for (int i = 0; i < row.leaves; ++i) tuner.movedOn(Millis{row.leave});
    for (int i = 0; i < row.undone; ++i) {
      tuner.clicked(false);
      tuner.clicked(true);
    }
    EXPECT_GE(tuner.rest().count(), row.restLow) << row.name;
    EXPECT_LE(tuner.rest().count(), row.restHigh) << row.name;
    EXPECT_GE(tuner.restFor(true).count(), row.likelyLow) << row.name;
    EXPECT_LE(tuner.restFor(true).count(), row.likelyHigh) << row.name;
    EXPECT_EQ(tuner.restFor(false).count(), row.unlikely) << row.name;
  }
}

TEST(LikelyLetters, TheNextLetterOfEachWordThatGoesOnFromTheLetters) {
  struct Row {
    const char* typed;
    std::vector<std::string> shown;
    std::vector<char> likely;
  };
  const Row rows[] = {
      {"", {"the", "to", "and", ""}, {'t', 'a'}},
      {"th", {"The", "this", "that", "then"}, {'e', 'i', 'a'}},
      {"the", {"the", "then"}, {'n'}},  // "the" is complete: nothing after it
      {"Q", {"quite", "question"}, {'u'}},
      {"x", {"the", "to"}, {}},
      {"don", {"don't", "done"}, {'e'}},  // only letters are keys to rest on
  };
  for (const Row& row : rows)
    EXPECT_EQ(aids::likelyNextLetters(row.typed, row.shown), row.likely) << row.typed;
}

struct TuneRig {
  Rig r;
  ManualClock clock{r.kb};
  explicit TuneRig(std::vector<std::pair<std::string_view, std::string_view>> stored) {
    for (auto [key, value] : stored) r.store.write(kSettingsSection, key, value);
    r.kb.handleForm(Event::Load);
    r.target("Untitled - Notepad");
  }
  std::string stored(std::string_view key) { return r.store.read(kSettingsSection, key, "(none)"); }
  const std::vector<std::size_t>& lit() { return r.main().aidMarks().scanLit; }
  std::size_t index(KeyboardControl name) { return r.main().indexOf(r.main().control(name)); }
  // Presses `ms` after each light until `count` presses; a press that
  // clicked nothing lights the next thing at once.
  void pressSoonAfterEachLight(int count, std::int64_t ms) {
    for (int i = 0; i < count; ++i) {
      clock.advance(ms);
      r.kb.handsFree().switchPressed();
    }
  }
};

TEST(TunedScanning, QuickPressesShortenTheStoredStepAndARestartKeepsIt) {
  TuneRig on({{"SCAN_MODE", "1"}, {"SCAN_STEP_MS", "1500"}, {"TUNE_TIMING", "1"}});
  on.pressSoonAfterEachLight(40, 400);
  const long long tuned = std::stoll(on.stored("SCAN_STEP_TUNED_MS"));
  EXPECT_LT(tuned, 1500);
  EXPECT_GE(tuned, 300);
  EXPECT_EQ(on.stored("SCAN_STEP_MS"), "1500");  // the user's own stays as set
  EXPECT_EQ(on.r.main().timer(ui::kScanTimer).intervalMs, tuned);

  // A restart goes on with the tuned step; unticking goes back to the user's.
  TuneRig again({{"SCAN_MODE", "1"},
                 {"SCAN_STEP_MS", "1500"},
                 {"TUNE_TIMING", "1"},
                 {"SCAN_STEP_TUNED_MS", std::to_string(tuned)}});
  EXPECT_EQ(again.r.main().timer(ui::kScanTimer).intervalMs, tuned);
  TuneRig off({{"SCAN_MODE", "1"},
               {"SCAN_STEP_MS", "1500"},
               {"TUNE_TIMING", "0"},
               {"SCAN_STEP_TUNED_MS", std::to_string(tuned)}});
  EXPECT_EQ(off.r.main().timer(ui::kScanTimer).intervalMs, 1500);
  off.pressSoonAfterEachLight(40, 400);
  EXPECT_EQ(off.stored("SCAN_STEP_TUNED_MS"), std::to_string(tuned));
}

TEST(TunedScanning, AStepTheUserSetsAnewIsWhereTheTuningStartsAgain) {
  struct Row {
    const char* typed;  // in the dialog's step field; the hover time stays 1000
    const char* tunedStep;
    long long scanEvery;
  };
  const Row rows[] = {{"1500", "700", 700}, {"3000", "3000", 3000}};
  for (const Row& row : rows) {
    TuneRig t({{"SCAN_MODE", "1"},
               {"SCAN_STEP_MS", "1500"},
               {"TUNE_TIMING", "1"},
               {"SCAN_STEP_TUNED_MS", "700"},
               {"DWELL_TIME_TUNED_MS", "1200"}});
    t.r.host.whileModal = [&](Form& dialog) {
      if (dialog.name() == kSettingsFormName) {
        t.r.kb.handle(dialog, "TYPING_AIDS_BUTTON", Event::Click);
        return;
      }
      dialog.control(ui::aids::kScanStepTextbox).setText(row.typed);
      t.r.kb.handle(dialog, "OK_BUTTON", Event::Click);
    };
    t.r.click(ui::kSettingsButton);
    EXPECT_EQ(t.stored("SCAN_STEP_TUNED_MS"), row.tunedStep) << row.typed;
    EXPECT_EQ(t.stored("DWELL_TIME_TUNED_MS"), "1200") << row.typed;
    EXPECT_EQ(t.r.main().timer(ui::kScanTimer).intervalMs, row.scanEvery) << row.typed;
  }
}

TEST(TunedHover, OnceTheUserLeavesWrongKeysQuicklyTheLettersTheStripGoesOnWithRestForLess) {
  // How many keys have been typed once the pointer has rested `ms` on `key`
  // and moved off it.
  const auto typedAfter = [](TuneRig& t, KeyboardControl key, std::int64_t ms) {
    t.r.kb.handsFree().pointerMoved({10, 10}, t.index(key));
    t.clock.advance(ms);
    const std::size_t n = t.r.injector.keys().size();
    t.r.kb.handsFree().pointerMoved({10, 10}, std::nullopt);
    return n;
  };
  const std::vector<std::pair<std::string_view, std::string_view>> stored{
      {"DWELL_CLICK", "1"}, {"TUNE_TIMING", "1"}, {"WORD_PREDICTION", "1"}};
  std::string learned;  // what the run with the leaves stored of them
  // Fresh, then five leaves, then a restart after them with no leaves.
  for (const int leaves : {0, 5, 0}) {
    auto settings = stored;
    if (!learned.empty()) settings.emplace_back("DWELL_LEAVE_MS", learned);
    TuneRig t(settings);
    const bool quick = leaves > 0 || !learned.empty();
    // Keys left 450 ms into their rests, as after slips noticed at once.
    for (int i = 0; i < leaves; ++i) EXPECT_EQ(typedAfter(t, ui::kButtonLetterZ, 450), 0U);
    ASSERT_EQ(typedAfter(t, ui::kButtonLetterT, 1000), 1U);
    // "h" goes on "t" (the, that): after the leaves it rests 450 / 0.65 ms,
    // before them the user's whole second.
    EXPECT_EQ(typedAfter(t, ui::kButtonLetterH, 700), quick ? 2U : 1U) << leaves << learned;
    // No word offered goes on "th" with "q": it rests the user's second.
    EXPECT_EQ(typedAfter(t, ui::kButtonLetterQ, 900), quick ? 2U : 1U) << leaves << learned;
    if (leaves > 0) learned = t.stored("DWELL_LEAVE_MS");
  }
  EXPECT_EQ(learned, "450");
}

TEST(TunedScanning, RowsStartAtTheLettersThenAtTheStripOnceAWordIsUnderWay) {
  TuneRig a({{"SCAN_MODE", "1"}, {"WORD_PREDICTION", "1"}});
  const std::size_t q = a.index(ui::kButtonLetterQ);
  const std::size_t strip = a.index(ui::kSuggestionKeys.front());
  ASSERT_NE(std::ranges::find(a.lit(), q), a.lit().end());
  a.r.kb.handsFree().switchPressed();  // the row of q; its first key lights
  for (int step = 0; step < 5 && a.lit() != std::vector<std::size_t>{q}; ++step) a.clock.advance(1000);
  ASSERT_EQ(a.lit(), std::vector<std::size_t>{q});
  a.r.kb.handsFree().switchPressed();
  EXPECT_EQ(a.r.injector.keys(), std::vector<std::string>{"q"});
  EXPECT_NE(std::ranges::find(a.lit(), strip), a.lit().end());
}

}  // namespace
}  // namespace osk::testing
