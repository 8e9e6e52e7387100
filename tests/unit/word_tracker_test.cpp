#include "predict/word_tracker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace osk {
namespace {

using Case = WordTracker::Case;

// "|S" Shift latched, "|C" Caps Lock on, "|SC" both.
Case caseOf(std::string_view& word) {
  Case c;
  if (const std::size_t bar = word.find('|'); bar != std::string_view::npos) {
    c.shift = word.find('S', bar) != std::string_view::npos;
    c.capsLock = word.find('C', bar) != std::string_view::npos;
    word = word.substr(0, bar);
  }
  return c;
}

// Plays a row's keys into a tracker: plain characters are typed; "<" starts
// Backspace ("<BS>") or a lost caret ("<LOST>"); "[word]" chooses a
// suggestion, "[word|S]" with Shift latched, "[word|C]" under Caps Lock.
// Returns what the last key that asks for keys of its own asked for.
std::optional<std::string> play(WordTracker& t, std::string_view keys) {
  std::optional<std::string> last;
  while (!keys.empty()) {
    if (keys.starts_with("<BS>")) {
      t.backspace();
      keys.remove_prefix(4);
    } else if (keys.starts_with("<LOST>")) {
      t.lost();
      keys.remove_prefix(6);
    } else if (keys.front() == '[') {
      const std::size_t close = keys.find(']');
      std::string_view word = keys.substr(1, close - 1);
      const Case c = caseOf(word);
      last = t.choose(word, c);
      keys.remove_prefix(close + 1);
    } else {
      last = t.typed(static_cast<unsigned char>(keys.front()));
      keys.remove_prefix(1);
    }
  }
  return last;
}

struct Row {
  const char* name;
  const char* keys;
  std::optional<std::string> sends;  // what the last key sends instead of itself
  const char* word;
  std::optional<std::string> previous;  // nothing: not known
};

class Tracking : public ::testing::TestWithParam<Row> {};

TEST_P(Tracking, FollowsTheDecisionTable) {
  const Row& row = GetParam();
  Predictor p;
  WordTracker t(p);
  // A new line the keyboard typed: the start of a sentence, seen.
  t.typed(U'\n');
  EXPECT_EQ(play(t, row.keys), row.sends);
  EXPECT_EQ(t.word(), row.word);
  EXPECT_EQ(t.previous(), row.previous);
}

const std::optional<std::string> kNothing;
const std::optional<std::string> kUnknown;

INSTANTIATE_TEST_SUITE_P(
    Rows, Tracking,
    ::testing::Values(
        // Where words begin and end.
        Row{"SpaceEndsAWord", "hello wor", kNothing, "wor", "hello"},
        Row{"CommaEndsAWordAndKeepsIt", "hello,wor", kNothing, "wor", "hello"},
        Row{"FullStopStartsASentence", "hello. wor", kNothing, "wor", ""},
        Row{"EnterStartsALine", "hello\nwor", kNothing, "wor", ""},
        Row{"TabStartsAField", "hello\twor", kNothing, "wor", ""},
        Row{"DigitEndsAWord", "abc1de", kNothing, "de", "abc"},
        Row{"ApostropheIsPartOfAWord", "we don't", kNothing, "don't", "we"},
        Row{"LostCaretForgetsWordAndContext", "hello wor<LOST>ld", kNothing, "ld", kUnknown},
        Row{"BackspaceTakesBackALetter", "hello worx<BS>", kNothing, "wor", "hello"},
        Row{"BackspaceBeforeAnyLetterLosesTheContext", "hello <BS>wor", kNothing, "wor", kUnknown},
        Row{"AfterLostTrackTheNextWordHasNoContext", "hello wor<LOST>ld zeb", kNothing, "zeb", kUnknown},
        Row{"AWordSeenToStartIsAContextAgain", "wor<LOST>ld zebu ra", kNothing, "ra", "zebu"},
        // What a chosen suggestion types.
        Row{"RestOfTheWordAndASpace", "hello th[the]", "e ", "", "the"},
        Row{"WholeWordAfterASpace", "hello [the]", "the ", "", "the"},
        // A sentence the keyboard saw start, and one it did not.
        Row{"CapitalAtASentenceStart", "it. [the]", "The ", "", "the"},
        Row{"CapitalAtTheStartOfALine", "[the]", "The ", "", "the"},
        Row{"NoCapitalAfterLostTrack", "it.<LOST> [the]", "the ", "", "the"},
        Row{"NoCapitalAfterAWord", "it, [the]", "the ", "", "the"},
        Row{"CapitalFirstLetterTyped", "Th[the]", "e ", "", "the"},
        Row{"CapitalsTypedGiveCapitals", "TH[the]", "E ", "", "the"},
        // The case the letter keys would type the rest in.
        Row{"CapsLockGivesCapitals", "TH[the|C]", "E ", "", "the"},
        Row{"CapsLockBeforeAnyLetter", "[the|C]", "THE ", "", "the"},
        Row{"ShiftUnderCapsLockGivesOneSmallLetter", "[the|SC]", "tHE ", "", "the"},
        Row{"LatchedShiftBeforeAnyLetter", "[the|S]", "The ", "", "the"},
        Row{"LatchedShiftCapitalisesOnlyTheNextLetter", "th[the|S]", "E ", "", "the"},
        Row{"LatchedShiftInTheMiddle", "t[the|S]", "He ", "", "the"},
        Row{"LettersTypedInAnotherCaseRetypedAsShown", "i[I'm]", "{BS}I'm ", "", "I'm"},
        Row{"NotAWordChoosesNothing", "[a+b]", kNothing, "", ""},
        Row{"SuggestionThatDoesNotContinueTheWord", "ab[the]", kNothing, "ab", ""},
        // A mark right after a suggestion goes before its space.
        Row{"FullStopBeforeTheSpace", "zeb[zebu].", "{BS}. ", "", ""},
        Row{"CommaBeforeTheSpace", "zeb[zebu],", "{BS}, ", "", "zebu"},
        Row{"QuestionMarkBeforeTheSpace", "zeb[zebu]?", "{BS}? ", "", ""},
        Row{"ExclamationMarkBeforeTheSpace", "zeb[zebu]!", "{BS}! ", "", ""},
        Row{"ColonBeforeTheSpace", "zeb[zebu]:", "{BS}: ", "", "zebu"},
        Row{"SemicolonBeforeTheSpace", "zeb[zebu];", "{BS}; ", "", "zebu"},
        Row{"OtherMarksAfterTheSpace", "zeb[zebu]-", kNothing, "", "zebu"},
        Row{"OnlyRightAfterTheSuggestion", "zeb[zebu] .", kNothing, "", ""},
        Row{"OnlyTheFirstMark", "zeb[zebu]..", kNothing, "", ""},
        Row{"NotAfterATypedWord", "zebu .", kNothing, "", ""}),
    [](const ::testing::TestParamInfo<Row>& row) { return row.param.name; });

// The word two back counts only within the sentence the keyboard saw.
TEST(WordTracker, OffersAfterTwoWordsOnlyWhereItSawBoth) {
  const std::array<std::string_view, 1> text{
      "of\t\t100\t2\n\tthe\t90\n\tthem\t10\n"
      "one of\t\t50\t2\n\tthem\t45\n\tthese\t5\n"};
  struct TwoBackRow {
    const char* keys;
    const char* first;
  };
  const TwoBackRow rows[] = {
      {"one of ", "them"},      {"one, of ", "them"},     {"one. of ", "the"},
      {"one<LOST> of ", "the"}, {"one of<LOST> ", "the"},
  };
  for (const TwoBackRow& row : rows) {
    Predictor p(text);
    WordTracker t(p);
    t.typed(U'\n');
    play(t, row.keys);
    const std::vector<std::string> got = t.suggestions();
    ASSERT_FALSE(got.empty()) << row.keys;
    EXPECT_EQ(got.front(), row.first) << row.keys;
  }
}

// Where the keyboard lost track (the user's own keys or clicks, another
// window), the letters it types next may finish a word begun elsewhere:
// nothing is learned until a word starts where the keyboard saw it start,
// and that word has no pair with what came before.
TEST(WordTracker, LearnsOnlyWordsItSawWholeAndNoPairAcrossLostTrack) {
  Predictor p;
  WordTracker t(p);
  play(t, "ing the zebu ran. I saw a zeb[zebu]. quok<LOST>ka zebra lion ");
  EXPECT_EQ(p.suggest("", "ze").front(), "zebu");
  // the, zebu, ran, I, saw, a, zebra, lion; not "ing" nor "ka", perhaps
  // tails of words, nor "quok", never finished.
  EXPECT_EQ(p.learnedWords(), 8U);
  // Each after the one before, except that "I" follows a full stop (a
  // sentence start, not "ran") and "the" and "zebra" follow nothing known.
  EXPECT_EQ(p.learnedPairs(), 7U);
}

bool offers(const std::vector<std::string>& shown, std::string_view word) {
  return std::find(shown.begin(), shown.end(), word) != shown.end();
}

// Over the first letter every word still fitting is offered again: "t"
// then "h" offers "the" though the strip showed it before each letter.
// From two letters on, words left untaken are passed over.
TEST(WordTracker, SuggestionsArePassedOverOnlyFromTheSecondLetter) {
  Predictor p;
  WordTracker t(p);
  play(t, "x ");
  const std::vector<std::string> first = t.suggestions();
  EXPECT_EQ(t.suggestions(), first) << "looking again passes nothing over";
  play(t, "t");
  ASSERT_TRUE(offers(t.suggestions(), "the"));
  play(t, "h");
  const std::vector<std::string> second = t.suggestions();
  ASSERT_TRUE(offers(second, "the"));
  play(t, "e");
  const std::vector<std::string> third = t.suggestions();
  ASSERT_FALSE(third.empty());
  for (const std::string& w : third) EXPECT_FALSE(offers(second, w)) << w;
  // The next word starts afresh.
  play(t, " ");
  EXPECT_EQ(t.suggestions(), p.suggest("the", ""));
}

TEST(WordTracker, SuggestionsTakeTheCaseTheyWouldBeTypedIn) {
  Predictor p;
  WordTracker t(p);
  play(t, "Th");
  const std::vector<std::string> shown = t.suggestions();
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(shown.front(), "The");
  EXPECT_EQ(t.suggestions({.capsLock = true}).front(), "ThE");
  play(t, "<LOST>TH");
  EXPECT_EQ(t.suggestions().front(), "THE");
}

// A Backspace takes back what its letter passed over: mistyping a letter
// and taking it back offers the words that letter hid.
TEST(WordTracker, BackspaceOffersAgainWhatItsLetterPassedOver) {
  Predictor p;
  WordTracker t(p);
  play(t, "th");
  const std::vector<std::string> before = t.suggestions();
  ASSERT_TRUE(offers(before, "the"));
  play(t, "w");
  static_cast<void>(t.suggestions());
  play(t, "<BS>");
  EXPECT_EQ(t.suggestions(), before);
  // What earlier letters passed over stays passed over.
  play(t, "e");
  const std::vector<std::string> third = t.suggestions();
  play(t, "a<BS>");
  for (const std::string& w : before) EXPECT_FALSE(offers(t.suggestions(), w)) << w;
  EXPECT_EQ(t.suggestions(), third);
}

}  // namespace
}  // namespace osk
