// Word prediction through the keyboard: the keys clicked go in, the
// suggestions shown, the keys the target receives, the window's size and
// what is stored come out.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "fakes.h"
#include "keys/character_keys.h"
#include "keys/suggestion_keys.h"
#include "layout/aids_window.h"
#include "layout/settings_window.h"

namespace osk::testing {
namespace {

using Keys = std::vector<std::string>;

struct PredictRig {
  Rig r;

  explicit PredictRig(bool on, std::optional<std::string> learned = std::nullopt,
                      std::optional<float> storedTop = std::nullopt) {
    r.learned.text = std::move(learned);
    if (on) r.store.write(kSettingsSection, "WORD_PREDICTION", "1");
    if (storedTop) r.store.write(kSettingsSection, "MainTop", std::to_string(static_cast<int>(*storedTop)));
    r.kb.handleForm(Event::Load);
    r.target("Untitled - Notepad");
    r.kb.tick(ui::kNcsTimer);  // the letters' faces follow Caps Lock, off
  }
  // Prediction on, over a file that holds `learned` but cannot be read for
  // `reason`.
  PredictRig(std::string learned, std::string reason) {
    r.learned.text = std::move(learned);
    r.learned.unreadable = std::move(reason);
    r.store.write(kSettingsSection, "WORD_PREDICTION", "1");
    r.kb.handleForm(Event::Load);
    r.target("Untitled - Notepad");
    r.kb.tick(ui::kNcsTimer);
  }
  std::vector<std::string> offered() {
    std::vector<std::string> out;
    for (KeyboardControl name : ui::kSuggestionKeys) out.push_back(r.c(name).caption());
    return out;
  }
  bool offers(std::string_view word) {
    const std::vector<std::string> shown = offered();
    return std::find(shown.begin(), shown.end(), word) != shown.end();
  }
  void type(std::string_view letters) {
    for (char ch : letters) r.click(ui::kLetterKeys.at(static_cast<std::size_t>(ch - 'a')));
  }
  // Clicks the suggestion showing `word`; false when none does.
  bool choose(std::string_view word) {
    const std::vector<std::string> shown = offered();
    const auto at = std::find(shown.begin(), shown.end(), word);
    if (at == shown.end()) return false;
    r.click(ui::kSuggestionKeys.at(static_cast<std::size_t>(at - shown.begin())));
    return true;
  }
};

TEST(SuggestionStrip, ChoosingFinishesTheWordAndAMarkGoesBeforeItsSpace) {
  PredictRig p(true);
  p.type("th");
  ASSERT_TRUE(p.choose("the"));
  p.r.click(ui::kButtonFullStop);
  EXPECT_EQ(p.r.injector.keys(), (Keys{"t", "h", "e ", "{BS}. "}));
  // After a sentence, Shift latched: the suggestions come capitalised, and
  // the chosen word spends the latch as a letter would.
  p.r.click(ui::kButtonShiftLeft);
  p.r.kb.tick(ui::kNcsTimer);  // the faces follow the latch at the next tick
  p.type("t");
  p.r.kb.tick(ui::kNcsTimer);
  ASSERT_TRUE(p.choose("The"));
  EXPECT_EQ(p.r.injector.keys().back(), "he ");
  EXPECT_EQ(p.r.c(ui::kButtonShiftLeft).back(), colors::kWhite);
  // The chosen word flashed and comes back as any key does.
  auto greens = [&p] {
    return std::count_if(ui::kSuggestionKeys.begin(), ui::kSuggestionKeys.end(),
                         [&p](KeyboardControl name) { return p.r.c(name).back() == colors::kGreen; });
  };
  EXPECT_EQ(greens(), 1);
  // A tick at once would end the flash unseen; the next one ends it.
  p.r.tick(ui::kBackcolorTimer);
  EXPECT_EQ(greens(), 1);
  p.r.time.at += Flashes::kShortestFlash;
  p.r.tick(ui::kBackcolorTimer);
  EXPECT_EQ(greens(), 0);
}

// The strip shows a word as it is written; chosen, it is typed so, even
// where the letters typed before were in another case.
TEST(SuggestionStrip, AWordShownInACaseOfItsOwnReplacesTheLettersTyped) {
  PredictRig p(true);
  p.type("i");
  ASSERT_TRUE(p.choose("I"));
  EXPECT_EQ(p.r.injector.keys(), (Keys{"i", "{BS}I "}));
  // A full stop still goes before the space.
  p.r.click(ui::kButtonFullStop);
  EXPECT_EQ(p.r.injector.keys().back(), "{BS}. ");
}

// What happens between the letters of a word, or between a suggestion and
// a full stop, decides whether the keyboard still knows the text before the
// caret: a word kept goes on, and the full stop takes the suggestion's space.
struct Between {
  const char* name;
  void (*act)(PredictRig&);
  bool keepsWord;
};

class WhatHappensBetween : public ::testing::TestWithParam<Between> {};

TEST_P(WhatHappensBetween, KeepsTheWordOnlyWhileTheCaretCannotHaveMoved) {
  const Between& row = GetParam();
  PredictRig word(true);
  word.type("qu");
  const std::vector<std::string> forQu = word.offered();
  row.act(word);
  EXPECT_EQ(word.offered() == forQu, row.keepsWord);

  PredictRig mark(true);
  mark.type("th");
  ASSERT_TRUE(mark.choose("the"));
  row.act(mark);
  mark.r.click(ui::kButtonFullStop);
  EXPECT_EQ(mark.r.injector.keys().back(), row.keepsWord ? "{BS}. " : ".");
}

INSTANTIATE_TEST_SUITE_P(
    Rows, WhatHappensBetween,
    ::testing::Values(
        Between{"Nothing", [](PredictRig&) {}, true},
        Between{"TheTargetRetitlesItself", [](PredictRig& p) { p.r.target("*Untitled - Notepad"); }, true},
        Between{"AnotherWindowComesInFront", [](PredictRig& p) { p.r.target("Other - Notepad", 43); }, false},
        Between{"TheUsersOwnKeyOrClickInTheTarget",
                [](PredictRig& p) { p.r.kb.handleForm(Event::InputElsewhere); }, false}),
    [](const ::testing::TestParamInfo<Between>& row) { return row.param.name; });

// A suggestion shows and types what the letter keys would type.
struct CaseRow {
  const char* name;
  void (*set)(PredictRig&);
  const char* letters;
  Keys typed;  // the letters, then the suggestion
  const char* shown;
};

class SuggestionCase : public ::testing::TestWithParam<CaseRow> {};

TEST_P(SuggestionCase, FollowsTheLetterKeys) {
  const CaseRow& row = GetParam();
  PredictRig p(true);
  row.set(p);
  p.r.kb.tick(ui::kNcsTimer);
  p.type(row.letters);
  ASSERT_TRUE(p.choose(row.shown)) << ::testing::PrintToString(p.offered());
  EXPECT_EQ(p.r.injector.keys(), row.typed);
}

void capsLock(PredictRig& p) { p.r.locks.state[LockKey::CapsLock] = 1; }
void shiftLock(PredictRig& p) { p.r.click(ui::kShiftLockButton); }
void shift(PredictRig& p) { p.r.click(ui::kButtonShiftLeft); }

INSTANTIATE_TEST_SUITE_P(
    Rows, SuggestionCase,
    ::testing::Values(
        CaseRow{"CapsLock", capsLock, "th", {"T", "H", "E "}, "THE"},
        CaseRow{"ShiftLockLeavesLetters", shiftLock, "th", {"t", "h", "e "}, "the"},
        CaseRow{"ShiftBeforeTheWord", shift, "", {"The "}, "The"},
        CaseRow{"ShiftUnderCapsLock", [](PredictRig& p) { capsLock(p), shift(p); }, "", {"tHE "}, "tHE"}),
    [](const ::testing::TestParamInfo<CaseRow>& row) { return row.param.name; });

// However high the keyboard was stored, the strip never takes its title
// bar above the work area; one stored partly above stays where it was.
TEST(SuggestionStrip, KeepsTheTitleBarOnTheScreen) {
  struct Row {
    float storedTop;
    float wantTop;
  };
  const float band = [] {
    PredictRig off(false, std::nullopt, 3000.0F);
    PredictRig on(true, std::nullopt, 3000.0F);
    return off.r.main().geometry().top - on.r.main().geometry().top;
  }();
  ASSERT_GT(band, 0);
  for (const Row& row : {Row{0, 0}, Row{band / 2, 0}, Row{3000, 3000 - band}, Row{-300, -300}}) {
    PredictRig opened(true, std::nullopt, row.storedTop);
    EXPECT_FLOAT_EQ(opened.r.main().geometry().top, row.wantTop) << "opened at " << row.storedTop;
    PredictRig ticked(false, std::nullopt, row.storedTop);
    ticked.r.store.write(kSettingsSection, "WORD_PREDICTION", "1");
    ticked.r.kb.context().prediction->settingsChanged();
    EXPECT_FLOAT_EQ(ticked.r.main().geometry().top, row.wantTop) << "ticked at " << row.storedTop;
  }
}

TEST(SuggestionStrip, WhatIsTypedIsLearnedStoredAndForgotten) {
  PredictRig first(true);
  // Seen to start after a space the keyboard typed, the word is learned.
  first.r.click(ui::kButtonSpacebar);
  first.type("zebu");
  first.r.click(ui::kButtonSpacebar);
  first.r.kb.tick(ui::kLearnedWordsSaveTimer);
  ASSERT_TRUE(first.r.learned.text.has_value());

  PredictRig next(true, first.r.learned.text);
  next.type("ze");
  EXPECT_TRUE(next.choose("zebu"));
  EXPECT_EQ(next.r.kb.context().prediction->forget(), "");
  next.r.click(ui::kButtonSpacebar);
  next.type("ze");
  EXPECT_FALSE(next.offers("zebu"));

  PredictRig afterForget(true, next.r.learned.text);
  afterForget.type("ze");
  EXPECT_FALSE(afterForget.offers("zebu"));
}

// A file that is there but could not be read (another program holds it)
// may keep all that was learned: nothing in that run writes over it, and
// the user hears why, beside the strip or beside the button that was used.
TEST(SuggestionStrip, AFileThatCouldNotBeReadIsNeverWrittenOver) {
  const std::string kept = "QM-OSK learned words\t1\nw\tzebu\t1\nend\t1\n";
  auto learnAWord = [](PredictRig& p) {
    p.type("quoll");
    p.r.click(ui::kButtonSpacebar);
  };
  struct Row {
    const char* name;
    std::function<void(PredictRig&)> write;
    std::vector<std::string> notesBeside;  // "<form> <control>"; none at the close
  };
  const std::vector<Row> rows = {
      {"the save after a learned word",
       [&](PredictRig& p) {
         learnAWord(p);
         p.r.kb.tick(ui::kLearnedWordsSaveTimer);
       },
       {std::string(kMainFormName) + " SUGGESTION_1"}},
      {"forgetting",
       [](PredictRig& p) {
         p.r.host.whileModal = [&p](Form& dialog) {
           const char* button =
               dialog.name() == kSettingsFormName ? "TYPING_AIDS_BUTTON" : "FORGET_WORDS_BUTTON";
           p.r.kb.handle(dialog, button, Event::Click);
         };
         p.r.click(ui::kSettingsButton);
       },
       {std::string(kAidsFormName) + " FORGET_WORDS_BUTTON"}},
      {"the close",
       [&](PredictRig& p) {
         learnAWord(p);
         p.r.kb.handleForm(Event::Unload);
       },
       {}},
  };
  for (const Row& row : rows) {
    PredictRig p(kept, "Access is denied.");
    row.write(p);
    EXPECT_EQ(p.r.learned.text, kept) << row.name;
    EXPECT_FALSE(p.r.learned.setAsideText.has_value()) << row.name;
    std::vector<std::string> beside;
    for (const FakeHost::Note& note : p.r.host.notes) {
      beside.push_back(note.form + " " + note.control);
      EXPECT_NE(note.text.find("Access is denied."), std::string::npos) << row.name << ": " << note.text;
    }
    EXPECT_EQ(beside, row.notesBeside) << row.name;
  }
  // Prediction goes on from the built-in list.
  PredictRig p(kept, "Access is denied.");
  p.type("th");
  EXPECT_TRUE(p.offers("the"));
}

// Stored text and a change of target end the word: what follows is not
// its continuation.
TEST(SuggestionStrip, StoredTextAndAnotherTargetStartAfresh) {
  PredictRig p(true);
  const std::vector<std::string> atStart = p.offered();
  p.type("q");
  ASSERT_NE(p.offered(), atStart);
  p.r.target("Other - Notepad", 43);
  EXPECT_EQ(p.offered(), atStart);
  const StoredTextKey& stored = storedTextKeys().front();
  p.r.store.write(kSettingsSection, stored.settingKey, "x");
  p.type("q");
  p.r.click(stored.button);
  EXPECT_EQ(p.offered(), atStart);
}

TEST(SuggestionStrip, TheWindowGrowsByTheStripAndStoresItsSizeWithout) {
  PredictRig off(false);
  PredictRig on(true);
  const Geometry a = off.r.main().geometry();
  const Geometry b = on.r.main().geometry();
  // Upwards: the keys stay where they were on the screen.
  EXPECT_EQ(b.width, a.width);
  EXPECT_GT(b.height, a.height);
  EXPECT_FLOAT_EQ(b.top + b.height, a.top + a.height);
  // The keys keep their size and move down by the band.
  const TwipsRect h0 = off.r.c(ui::kButtonLetterH).rect();
  const TwipsRect h1 = on.r.c(ui::kButtonLetterH).rect();
  EXPECT_EQ(h1.top - h0.top, ui::kSuggestionStripHeight);
  EXPECT_EQ(h1.height, h0.height);
  EXPECT_FALSE(off.r.c(ui::kSuggestionKeys[0]).visible());
  EXPECT_TRUE(on.r.c(ui::kSuggestionKeys[0]).visible());

  on.r.kb.handleForm(Event::Unload);
  off.r.kb.handleForm(Event::Unload);
  EXPECT_EQ(settings::readGeometry(on.r.store, settings::kMainGeometry, {}),
            settings::readGeometry(off.r.store, settings::kMainGeometry, {}));
  // With prediction off nothing is offered and keys go as they are.
  off.type("th");
  EXPECT_EQ(off.offered(), Keys(5));
}

}  // namespace
}  // namespace osk::testing
