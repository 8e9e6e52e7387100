// Keys that follow the input language, through made-up layouts: what each
// physical key shows for the latches and locks in force, and what arrives
// in a target that reads the keys sent on its own layout, dead keys
// composed as the system would compose them.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "fakes.h"
#include "settings/settings_keys.h"

namespace osk::testing {
namespace {

// Just the keys the tables below ask about, at their ISO scan codes.
const FakeLayout kUk{{0x15, 0x59, "y", "Y"}, {0x08, 0x37, "7", "&"}, {0x56, 0xE2, "\\", "|"}};
const FakeLayout kUs{{0x15, 0x59, "y", "Y", "", true}, {0x2B, 0xDC, "\\", "|"}};
const FakeLayout kGerman{
    {0x15, 0x5A, "z", "Z", "", true},
    {0x14, 0x54, "t", "T", "", true},
    {0x39, 0x20, " ", " "},
    {0x1E, 0x41, "a", "A", "", true},
    {0x12, 0x45, "e", "E", "\u20AC", true},
    {0x10, 0x51, "q", "Q", "@", true},
    {0x1A, 0xBA, "\u00FC", "\u00DC", "", true},
    {0x0C, 0xDB, "\u00DF", "?", "\\"},
    {0x03, 0x32, "2", "\"", "\u00B2"},
    {0x29, 0xDC, "*^", "\u00B0"},
    {0x0D, 0xDD, "*\u00B4", "*`"},
    {0x56, 0xE2, "<", ">", "|"},
};
const FakeLayout kFrench{{0x10, 0x41, "a", "A", "", true},
                         {0x02, 0x31, "&", "1"},
                         {0x1A, 0xDD, "*^", "*\u00A8"},
                         {0x12, 0x45, "e", "E", "\u20AC", true},
                         {0x14, 0x54, "t", "T", "", true},
                         {0x13, 0x52, "r", "R", "", true},
                         {0x21, 0x46, "f", "F", "", true},
                         {0x18, 0x4F, "o", "O", "", true},
                         {0x39, 0x20, " ", " "}};
const FakeLayout kRussian{{0x10, 0x51, "\u0439", "\u0419", "", true}};

enum LayoutName : LayoutId { kUkLayout = 1, kUsLayout, kGermanLayout, kFrenchLayout, kRussianLayout };

constexpr WindowId kTarget = 42;

// What the system makes of an accent and the key after it.
const std::map<std::string, std::string> kComposed{
    {"^a", "\u00E2"}, {"^e", "\u00EA"},      {"\u00A8e", "\u00EB"}, {"\u00B4e", "\u00E9"},
    {"^ ", "^"},      {"\u00B4 ", "\u00B4"}, {"\u00A8 ", "\u00A8"}};

enum Latches : unsigned { kNone = 0, kShift = 1, kCaps = 2, kShiftLock = 4, kRowLock = 8, kAltGr = 16 };

struct LanguageRig : Rig {
  explicit LanguageRig(LayoutId layout, bool predicting = false) {
    if (predicting) static_cast<void>(store.write(kSettingsSection, "WORD_PREDICTION", "1"));
    languages.compositions = kComposed;
    languages.layouts = {{kUkLayout, &kUk},
                         {kUsLayout, &kUs},
                         {kGermanLayout, &kGerman},
                         {kFrenchLayout, &kFrench},
                         {kRussianLayout, &kRussian}};
    languages.own = kUkLayout;
    languages.windowLayouts[kTarget] = layout;
    static_cast<void>(store.write(kSettingsSection, settings::kFollowInputLanguage, "1"));
    kb.handleForm(Event::Load);
    target("Untitled - Notepad", kTarget);
    latch(kNone);
  }
  void latch(unsigned latches) {
    BasicRig::latch(Latch::Shift, (latches & kShift) != 0);
    BasicRig::latch(Latch::ShiftLock, (latches & kShiftLock) != 0);
    BasicRig::latch(Latch::NumberRowLock, (latches & kRowLock) != 0);
    BasicRig::latch(Latch::Ctrl, (latches & kAltGr) != 0);
    BasicRig::latch(Latch::Alt, (latches & kAltGr) != 0);
    locks.state[LockKey::CapsLock] = (latches & kCaps) != 0 ? 1 : 0;
    tick(ui::kNcsTimer);
  }
  // The text the target shows after every key sent so far, read on its
  // own layout as the system reads physical keys.
  std::string arrived() const {
    std::string text;
    std::string pending;
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
    const auto put = [&](const std::string& typed) {
      if (pending.empty()) {
        text += typed;
        return;
      }
      const auto it = languages.compositions.find(pending + typed);
      text += it != languages.compositions.end() ? it->second : pending + typed;
      pending.clear();
    };
    for (const auto& sent : injector.sent) {
      for (const KeyEvent& e : sent.events) {
        const bool down = e.kind == KeyEvent::Kind::KeyDown;
        if (e.kind == KeyEvent::Kind::Char) {
          put(std::string(1, static_cast<char>(e.ch)));
        } else if (e.vk == vk::kShift) {
          shift = down;
        } else if (e.vk == vk::kControl) {
          ctrl = down;
        } else if (e.vk == vk::kMenu) {
          alt = down;
        } else if (down) {
          const LayoutId layout = languages.layoutOf(kTarget);
          KeyLevel level{shift, locks.state.at(LockKey::CapsLock) == 1, ctrl && alt};
          KeyOutput out = languages.typed(layout, e.scan, level);
          bool chord = (ctrl || alt) && !level.altGr;
          if (level.altGr && out.vk == 0) {
            level.altGr = false;
            out = languages.typed(layout, e.scan, level);
            chord = true;
          }
          if (out.vk != e.vk) {
            text += "<wrong key>";
          } else if (chord) {
            text += "<chord>";
          } else if (out.dead) {
            pending = out.text;
          } else {
            put(out.text);
          }
        }
      }
    }
    return text;
  }
};

struct FaceRow {
  const char* what;
  LayoutId layout;
  unsigned latches;
  KeyboardControl button;
  const char* caption;  // "" for a blank, disabled key
};

class Faces : public ::testing::TestWithParam<FaceRow> {};

TEST_P(Faces, ShowWhatThePhysicalKeyTypesOnTheTargetsLayout) {
  const FaceRow& row = GetParam();
  LanguageRig r(row.layout);
  r.latch(row.latches);
  EXPECT_EQ(r.c(row.button).caption(), row.caption);
  EXPECT_EQ(r.c(row.button).enabled(), std::string(row.caption) != "");
}

const FaceRow kFaceRows[] = {
    {"GermanZWhereUkHasY", kGermanLayout, kNone, ui::kButtonLetterY, "z"},
    {"ShiftMakesTheCapital", kGermanLayout, kShift, ui::kButtonLetterY, "Z"},
    {"CapsLockAndShiftCancel", kGermanLayout, kShift | kCaps, ui::kButtonLetterY, "z"},
    {"CapsLockReachesALetterOffTheLetterRows", kGermanLayout, kCaps, ui::kButtonSquareBracketLeft, "\u00DC"},
    {"ShiftLockLeavesLetters", kGermanLayout, kShiftLock, ui::kButtonLetterY, "z"},
    {"ShiftLockShiftsTheLetterRightOfP", kGermanLayout, kShiftLock, ui::kButtonSquareBracketLeft, "\u00DC"},
    {"RowLockShiftsTheTopRow", kGermanLayout, kRowLock, ui::kButtonDash, "?"},
    {"CapsLockLeavesASymbol", kGermanLayout, kCaps, ui::kButtonDash, "\u00DF"},
    {"AltGrWhereTheLayoutHasIt", kGermanLayout, kAltGr, ui::kButtonLetterQ, "@"},
    {"AltGrFallsBackToThePlainKey", kGermanLayout, kAltGr, ui::kButtonLetterY, "z"},
    {"DeadKeyShowsItsAccentMarked", kGermanLayout, kNone, ui::kLeftTopCornerKey, "\u25CC^"},
    {"ShiftedDeadKey", kGermanLayout, kShift, ui::kButtonEquals, "\u25CC`"},
    {"TheKeyBesideLeftShift", kGermanLayout, kNone, ui::kButtonBackSlash, "<"},
    {"UsLacksTheKeyBesideLeftShift", kUsLayout, kNone, ui::kButtonBackSlash, ""},
    {"AKeyTheLayoutCannotDescribeIsBlank", kUsLayout, kNone, ui::kButtonLetterA, ""},
    {"FrenchAOnUkQ", kFrenchLayout, kNone, ui::kButtonLetterQ, "a"},
    {"AnAmpersandIsNoAccessKey", kFrenchLayout, kNone, ui::kButtonNumber1, "&&"},
    {"FrenchShiftedDigit", kFrenchLayout, kShift, ui::kButtonNumber1, "1"},
    {"FrenchDeadCircumflex", kFrenchLayout, kNone, ui::kButtonSquareBracketLeft, "\u25CC^"},
    {"Cyrillic", kRussianLayout, kNone, ui::kButtonLetterQ, "\u0439"},
    {"CyrillicCapital", kRussianLayout, kCaps, ui::kButtonLetterQ, "\u0419"},
    {"UkAmpersand", kUkLayout, kShift, ui::kButtonNumber7, "&&"},
};
INSTANTIATE_TEST_SUITE_P(Rows, Faces, ::testing::ValuesIn(kFaceRows),
                         [](const auto& row) { return std::string(row.param.what); });

struct TypingRow {
  const char* what;
  LayoutId layout;
  unsigned latches;
  std::vector<KeyboardControl> clicks;
  const char* arrived;
  unsigned latchedAfter;
};

class Typing : public ::testing::TestWithParam<TypingRow> {};

TEST_P(Typing, ThePhysicalKeyGoesInAndTheTargetsLayoutDecides) {
  const TypingRow& row = GetParam();
  LanguageRig r(row.layout);
  r.latch(row.latches);
  for (const KeyboardControl button : row.clicks) {
    r.click(button);
    r.tick(ui::kNcsTimer);
  }
  EXPECT_EQ(r.arrived(), row.arrived);
  EXPECT_EQ(r.state().latched(Latch::Shift), (row.latchedAfter & kShift) != 0);
  EXPECT_EQ(r.state().latched(Latch::Ctrl), (row.latchedAfter & kAltGr) != 0);
  EXPECT_EQ(r.state().latched(Latch::Alt), (row.latchedAfter & kAltGr) != 0);
}

const TypingRow kTypingRows[] = {
    {"Letter", kGermanLayout, kNone, {ui::kButtonLetterY}, "z", kNone},
    {"ShiftIsSpent", kGermanLayout, kShift, {ui::kButtonNumber2, ui::kButtonNumber2}, "\"2", kNone},
    {"ShiftUnderShiftLockIsKept", kGermanLayout, kShift | kShiftLock, {ui::kButtonDash}, "\u00DF", kShift},
    {"CapsLockIsTheTargetsOwn", kGermanLayout, kCaps, {ui::kButtonSquareBracketLeft}, "\u00DC", kNone},
    {"AltGrIsSpent", kGermanLayout, kAltGr, {ui::kButtonLetterE, ui::kButtonLetterE}, "\u20ACe", kNone},
    {"AltGrWithoutACharacterIsAChord", kGermanLayout, kAltGr, {ui::kButtonLetterA}, "<chord>", kNone},
    {"DeadKeyThenLetter", kGermanLayout, kNone, {ui::kLeftTopCornerKey, ui::kButtonLetterA}, "\u00E2", kNone},
    {"ShiftedDeadKeyThenLetter",
     kGermanLayout,
     kNone,
     {ui::kButtonEquals, ui::kButtonLetterE},
     "\u00E9",
     kNone},
    {"DeadKeyThenSpace", kGermanLayout, kNone, {ui::kLeftTopCornerKey, ui::kButtonSpacebar}, "^", kNone},
    {"FrenchDeadKeyThenQ",
     kFrenchLayout,
     kNone,
     {ui::kButtonSquareBracketLeft, ui::kButtonLetterQ},
     "\u00E2",
     kNone},
    {"ABlankKeyTypesNothing", kUsLayout, kShift, {ui::kButtonBackSlash}, "", kShift},
};
INSTANTIATE_TEST_SUITE_P(Rows, Typing, ::testing::ValuesIn(kTypingRows),
                         [](const auto& row) { return std::string(row.param.what); });

// Word prediction after a dead key: what the strip offers and types, and
// what is learned, follow what the target shows, never the bare letter. A
// step names a key, "~word" the suggestion showing that word (nothing when
// none does), "~" the first suggestion, "@French" the target switching to
// that layout.
struct AccentRow {
  const char* what;
  LayoutId layout;
  std::vector<std::string> steps;
  const char* arrived;
  std::vector<std::string> learned;     // whole words in the learned file
  std::vector<std::string> notLearned;  // never there
};

class AccentAndPrediction : public ::testing::TestWithParam<AccentRow> {};

std::vector<std::string> wordsOf(const std::string& text) {
  std::vector<std::string> words;
  std::string word;
  for (char ch : text + '\n') {
    if (ch != ' ' && ch != '\t' && ch != '\n') {
      word += ch;
    } else if (!word.empty()) {
      words.push_back(std::move(word));
      word.clear();
    }
  }
  return words;
}

TEST_P(AccentAndPrediction, FollowWhatTheTargetShows) {
  const AccentRow& row = GetParam();
  LanguageRig r(row.layout, true);
  // A space first, so that the first word starts where the keyboard saw it.
  r.click(ui::kButtonSpacebar);
  r.tick(ui::kNcsTimer);
  for (const std::string& step : row.steps) {
    if (step == "~") {
      r.click(ui::kSuggestionKeys.front());
    } else if (step.starts_with('~')) {
      for (KeyboardControl name : ui::kSuggestionKeys)
        if (r.c(name).caption() == step.substr(1)) r.click(name);
    } else if (step == "@French") {
      r.languages.windowLayouts[kTarget] = kFrenchLayout;
    } else {
      r.clickNamed(step);
    }
    r.tick(ui::kNcsTimer);
  }
  if (row.arrived != nullptr) {
    EXPECT_EQ(r.arrived(), std::string(" ") + row.arrived);
  }
  r.tick(ui::kLearnedWordsSaveTimer);
  const std::vector<std::string> learned = wordsOf(r.learned.text.value_or(""));
  const auto has = [&](const std::string& w) {
    return std::find(learned.begin(), learned.end(), w) != learned.end();
  };
  for (const std::string& word : row.learned) EXPECT_TRUE(has(word)) << word << " was not learned";
  for (const std::string& word : row.notLearned) EXPECT_FALSE(has(word)) << word << " was learned";
}

constexpr const char* kCircumflex = "LEFT_TOP_CORNER_KEY";
constexpr const char* kFrenchAccent = "BUTTON_SQUARE_BRACKET_LEFT";

const AccentRow kAccentRows[] = {
    {"AnAccentedLetterOffersNoWordOfTheBareOne",
     kGermanLayout,
     {kCircumflex, "BUTTON_LETTER_E", "~"},
     "\u00EA",
     {},
     {"very", "every"}},
    {"AnAccentedWordIsLearnedAndOfferedAsTyped",
     kFrenchLayout,
     // "et" between: a word is not offered straight after itself.
     {kFrenchAccent, "BUTTON_LETTER_E", "BUTTON_LETTER_T", "BUTTON_LETTER_R", "BUTTON_LETTER_E",
      "BUTTON_SPACEBAR", "BUTTON_LETTER_E", "BUTTON_LETTER_T", "BUTTON_SPACEBAR", kFrenchAccent,
      "BUTTON_LETTER_E", "BUTTON_LETTER_T", "~\u00EAtre"},
     "\u00EAtre et \u00EAtre ",
     {"\u00EAtre", "et"},
     {"etre", "tre"}},
    {"AnAccentInsideAWord",
     kFrenchLayout,
     {"BUTTON_LETTER_F", "BUTTON_LETTER_O", "BUTTON_LETTER_R", kFrenchAccent, "BUTTON_LETTER_E",
      "BUTTON_LETTER_T", "BUTTON_SPACEBAR"},
     "for\u00EAt ",
     {"for\u00EAt"},
     {"for", "et", "\u00EAt", "foret"}},
    {"TheShiftedAccent",
     kFrenchLayout,
     {"BUTTON_SHIFT_LEFT", kFrenchAccent, "BUTTON_LETTER_E", "BUTTON_LETTER_T", "BUTTON_LETTER_E",
      "BUTTON_SPACEBAR"},
     "\u00EBte ",
     {"\u00EBte"},
     {"ete", "te"}},
    {"SpaceGivesTheAccentAloneAfterTheWord",
     kGermanLayout,
     {"BUTTON_LETTER_Y", "BUTTON_LETTER_A", "BUTTON_LETTER_Y", "BUTTON_LETTER_A", kCircumflex,
      "BUTTON_SPACEBAR", "BUTTON_LETTER_Y", "BUTTON_LETTER_A"},
     "zaza^za",
     {"zaza"},
     {}},
    {"AConsonantFollowsTheAccentAlone",
     kGermanLayout,
     {"BUTTON_LETTER_Y", "BUTTON_LETTER_A", "BUTTON_LETTER_Y", "BUTTON_LETTER_A", kCircumflex,
      "BUTTON_LETTER_T", "BUTTON_LETTER_A", "BUTTON_SPACEBAR"},
     "zaza^ta ",
     {"zaza", "ta"},
     {"zazata"}},
    {"NoSuggestionWhileTheAccentWaits",
     kGermanLayout,
     {"BUTTON_LETTER_Y", "BUTTON_LETTER_A", "BUTTON_LETTER_Y", "BUTTON_LETTER_A", "BUTTON_SPACEBAR",
      "BUTTON_LETTER_Y", "BUTTON_LETTER_A", kCircumflex, "~zaza"},
     "zaza za",
     {"zaza"},
     {}},
    // The accent waits on a layout the target has left: what the next key
    // shows is not known, and no part of the word is learned; the next
    // word is known again.
    {"ALayoutThatChangedUnderTheAccentEndsTheWordUnlearned",
     kGermanLayout,
     {"BUTTON_LETTER_Y", "BUTTON_LETTER_E", kCircumflex, "@French", "BUTTON_LETTER_E", "BUTTON_LETTER_T",
      "BUTTON_SPACEBAR", "BUTTON_LETTER_F", "BUTTON_LETTER_O", "BUTTON_LETTER_R", "BUTTON_LETTER_T",
      "BUTTON_SPACEBAR"},
     nullptr,
     {"fort"},
     {"ze", "et", "zeet", "ze\u00EAt", "\u00EAt"}},
};
INSTANTIATE_TEST_SUITE_P(Rows, AccentAndPrediction, ::testing::ValuesIn(kAccentRows),
                         [](const auto& row) { return std::string(row.param.what); });

TEST(LanguageKeys, FollowTheTargetAsItsLayoutChangesAndAskNothingWhileNothingChanges) {
  LanguageRig r(kGermanLayout);
  EXPECT_EQ(r.c(ui::kButtonLetterY).caption(), "z");
  const int asked = r.languages.questions;
  r.tick(ui::kNcsTimer);
  EXPECT_EQ(r.languages.questions, asked);
  r.languages.windowLayouts[kTarget] = kRussianLayout;
  r.tick(ui::kNcsTimer);
  EXPECT_EQ(r.c(ui::kButtonLetterQ).caption(), "\u0439");
  EXPECT_FALSE(r.c(ui::kButtonLetterY).enabled());
}

TEST(LanguageKeys, TheCommandLineGetsTheKeyboardsOwnLayoutsCharacter) {
  LanguageRig r(kGermanLayout);
  r.click(ui::kCommandLineTextbox);
  r.c(ui::kCommandLineTextbox).setText("dir ");
  r.tick(ui::kNcsTimer);
  r.click(ui::kButtonLetterY);
  EXPECT_EQ(r.c(ui::kCommandLineTextbox).text(), "dir y");
  EXPECT_TRUE(r.injector.sent.empty());
}

TEST(LanguageKeys, OffTheUkFaceComesBackWholeAndTypesItsCaptions) {
  LanguageRig r(kUsLayout);
  EXPECT_FALSE(r.c(ui::kButtonBackSlash).enabled());
  r.kb.handle(r.kb.window(kAidsFormName), "Form", Event::Load);
  r.kb.window(kAidsFormName).control(ui::aids::kFollowInputLanguageTickbox).setValue(0);
  r.kb.handle(r.kb.window(kAidsFormName), "Form", Event::Unload);
  r.tick(ui::kNcsTimer);
  EXPECT_EQ(r.store.read(kSettingsSection, settings::kFollowInputLanguage, ""), "0");
  EXPECT_TRUE(r.c(ui::kButtonBackSlash).enabled());
  EXPECT_EQ(r.c(ui::kButtonBackSlash).caption(), "\\");
  EXPECT_EQ(r.c(ui::kButtonLetterA).caption(), "a");
  r.click(ui::kButtonLetterA);
  EXPECT_EQ(r.injector.keys(), std::vector<std::string>{"a"});
}

}  // namespace
}  // namespace osk::testing
