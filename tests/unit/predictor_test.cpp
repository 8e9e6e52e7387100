#include "predict/predictor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "predict/learned_words.h"

namespace osk {
namespace {

using Words = std::vector<std::string>;

bool has(const Words& words, const std::string& word) {
  return std::find(words.begin(), words.end(), word) != words.end();
}

// Learns a text the way the tracker does: each word after the one before,
// a full stop starting a sentence.
void learnText(Predictor& p, const std::string& text) {
  std::string previous;
  std::string word;
  for (const char c : text + ' ') {
    if (c == ' ' || c == '.') {
      if (!word.empty()) p.learn(previous, word);
      if (!word.empty()) previous = word;
      word.clear();
      if (c == '.') previous.clear();
    } else {
      word += c;
    }
  }
}

// A different made-up word for each n, of letters only.
std::string madeUp(std::size_t n) {
  std::string out = "q";
  do {
    out += static_cast<char>('a' + n % 26);
    n /= 26;
  } while (n > 0);
  return out;
}

struct RankRow {
  const char* name;
  const char* learned;   // text learned first
  const char* previous;  // nullptr: not known
  const char* prefix;
  Words passedOver;
  const char* first;   // expected first suggestion; "" when none is offered
  const char* absent;  // a word that must not be offered
};

class Ranking : public ::testing::TestWithParam<RankRow> {};

TEST_P(Ranking, FollowsTheDecisionTable) {
  const RankRow& row = GetParam();
  Predictor p;
  learnText(p, row.learned);
  const std::optional<std::string_view> previous =
      row.previous != nullptr ? std::optional<std::string_view>(row.previous) : std::nullopt;
  const Words got = p.suggest(previous, row.prefix, row.passedOver);
  ASSERT_LE(got.size(), Predictor::kSuggestions);
  if (std::string(row.first).empty()) {
    EXPECT_TRUE(got.empty()) << got.front();
    return;
  }
  ASSERT_FALSE(got.empty());
  EXPECT_EQ(got.front(), row.first);
  if (*row.absent != '\0') {
    EXPECT_FALSE(has(got, row.absent));
  }
  for (const std::string& w : got) {
    std::string lower;
    for (const char c : w.substr(0, std::string(row.prefix).size()))
      lower += static_cast<char>(std::tolower(c));
    std::string prefix;
    for (const char c : std::string(row.prefix)) prefix += static_cast<char>(std::tolower(c));
    EXPECT_EQ(lower, prefix) << w;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Ranking,
    ::testing::Values(
        RankRow{"ListOrderWithNothingLearned", "", "", "th", {}, "the", ""},
        RankRow{"PrefixWithoutCase", "", "", "TH", {}, "the", ""},
        RankRow{"UsualFormKept", "", "", "i'm", {}, "I'm", ""},
        RankRow{"OneLetterWordsOfferedAfterASpace", "", nullptr, "", {"the", "to", "and"}, "I", "the"},
        RankRow{"PassedOverLeftOut", "", "", "th", {"the", "That"}, "this", "that"},
        RankRow{"NoWordNothingOffered", "", "", "xqzv", {}, "", ""},
        RankRow{"LearnedPairAfterItsWord", "peanut butter. peanut butter.", "peanut", "", {}, "butter", ""},
        RankRow{"LearnedPairAfterItsWordWithAPrefix",
                "the zebu grazed. the zebu ran.",
                "the",
                "z",
                {},
                "zebu",
                ""},
        RankRow{"LearnedWordOutranksTheListsWordsOfItsPrefix", "zebu.", "saw", "ze", {}, "zebu", ""},
        RankRow{"PairOnlyAfterItsOwnWord", "peanut butter. peanut butter.", "of", "", {}, "the", "butter"},
        RankRow{"SentenceStartIsAContextOfItsOwn",
                "Zebus graze. Zebus sleep. Zebus eat.",
                "",
                "",
                {},
                "zebus",
                ""},
        RankRow{"TypedFormLearnedMidSentence", "we met Zorro. we met Zorro.", "met", "", {}, "Zorro", ""},
        // The built-in pairs: "to" after "able" before "the", the commonest
        // single word; the user's own pair before them; the single words
        // where no pair fits the letters.
        RankRow{"BuiltinPairBeforeSingleWords", "", "able", "t", {}, "to", ""},
        RankRow{"UsersPairBeforeBuiltinPair", "able that. able that.", "able", "t", {}, "that", ""},
        RankRow{"BackOffToSingleWordsWhereNoPairFits", "", "able", "wh", {}, "what", ""},
        RankRow{
            "NoWordStraightAfterItself", "zebu zebu. zebu zebu. zebra.", "zebu", "zeb", {}, "zebra", "zebu"},
        // A word that would type only the space is no suggestion; one that
        // mends its case is.
        RankRow{"WordAsTypedLeftOut", "zebu. zebus.", "saw", "zebu", {}, "zebus", "zebu"},
        RankRow{"WordInAnotherCaseOffered", "", nullptr, "i", {}, "I", ""},
        // A capital inside a sentence asks for a name; at a sentence's
        // start it says nothing.
        RankRow{"CapitalInsideASentenceAsksForAName",
                "a zoo. a zoo. a zoo. met Zorro.",
                "saw",
                "Zo",
                {},
                "Zorro",
                ""},
        RankRow{"SmallLetterAsksForNoName", "a zoo. a zoo. a zoo. met Zorro.", "saw", "zo", {}, "zoo", ""},
        RankRow{"CapitalAtASentenceStartAsksForNoName",
                "a zoo. a zoo. a zoo. met Zorro.",
                "",
                "Zo",
                {},
                "zoo",
                ""},
        // Words the list lacks come from the rare words once typed far enough.
        RankRow{"RareWordOfferedByItsLetters", "", "", "diphth", {}, "diphtheria", ""},
        RankRow{"NothingKnownBeforeIsNoSentenceStart",
                "Zebus graze. Zebus sleep. Zebus eat.",
                nullptr,
                "",
                {},
                "the",
                "zebus"}),
    [](const ::testing::TestParamInfo<RankRow>& row) { return row.param.name; });

// The built-in pairs load lazily from the program's own text; a table that
// is missing or damaged keeps what reads of it, and the single words work
// whatever it holds.
TEST(Predictor, APairTableThatIsMissingOrDamagedLeavesSingleWordsWorking) {
  struct Row {
    const char* name;
    std::string text;
    std::size_t pairs;      // that the predictor takes from it
    const char* afterAble;  // first word offered after "able" for "t"
  };
  const Row rows[] = {
      {"the built-in table", "", 0, "to"},
      {"no table", "", 0, "the"},
      {"a sound table", "able\t\t311\t4\nable\tto\t308\n", 1, "to"},
      {"damaged lines left out",
       "able\t\t311\t4\nable\tto\tx\nable\tthe\t999\nof\tto\t3\nable\t\nable\tzzqxv\t5\n\t\tnone\t1\n\tto\t9"
       "\n"
       "in\t\t50\t2\nin\tthe\t40\n",
       1, "the"},
      {"cut off inside a line", "able\t\t311\t4\nable\tto\t308\nin\t\t5", 1, "to"},
      {"followers with the context left blank", "able\t\t311\t4\n\tto\t308\n\tthe\t2\n", 2, "to"},
      {"a context of two words", "able\t\t311\t4\n\tto\t308\nnot able\t\t20\t2\n\tthe\t9\n", 2, "to"},
      {"two words, one not in the list", "able\t\t311\t4\n\tto\t308\nzzqxv able\t\t20\t2\n\tthe\t9\n", 1,
       "to"},
      {"a follower twice counts once", "able\t\t311\t4\nable\tto\t200\nable\tthe\t9\nable\tto\t100\n", 2,
       "to"},
  };
  const Predictor unpaired(std::span<const std::string_view>{});
  for (const Row& row : rows) {
    const std::array<std::string_view, 1> text{row.text};
    const Predictor p = std::string_view(row.name) == "the built-in table" ? Predictor() : Predictor(text);
    if (std::string_view(row.name) != "the built-in table") {
      EXPECT_EQ(p.builtinPairs(), row.pairs) << row.name;
    } else {
      EXPECT_GT(p.builtinPairs(), 10000U);
    }
    const Words afterAble = p.suggest("able", "t");
    EXPECT_EQ(afterAble.front(), row.afterAble) << row.name;
    EXPECT_EQ(std::set<std::string>(afterAble.begin(), afterAble.end()).size(), afterAble.size()) << row.name;
    // Single words as ever where no pair fits.
    EXPECT_EQ(p.suggest(std::nullopt, "wh"), unpaired.suggest(std::nullopt, "wh")) << row.name;
    EXPECT_EQ(p.suggest("zebu", "th"), unpaired.suggest("zebu", "th")) << row.name;
  }
}

// Two words in a row outrank the word before alone where the table has
// them, and back off to it elsewhere.
TEST(Predictor, TwoWordsBeforeWeighMoreThanOne) {
  const std::array<std::string_view, 1> text{
      "of\t\t100\t2\n\tthe\t90\n\tthem\t10\n"
      "one of\t\t50\t2\n\tthem\t45\n\tthese\t5\n"};
  const Predictor p(text);
  struct Row {
    const char* before;
    const char* previous;
    const char* prefix;
    const char* first;
  };
  const Row rows[] = {
      {"one", "of", "", "them"},    // the two words' own follower
      {"one", "of", "th", "them"},  // with letters typed
      {"", "of", "", "the"},        // no word before: the pair alone
      {"two", "of", "", "the"},     // two words the table lacks
      {"one", "on", "th", "the"},   // the pair of another word: the single words
  };
  for (const Row& row : rows) {
    const Words got = p.suggest(row.previous, row.prefix, {}, row.before);
    ASSERT_FALSE(got.empty()) << row.before << " " << row.previous;
    EXPECT_EQ(got.front(), row.first) << row.before << " " << row.previous << " " << row.prefix;
  }
}

TEST(Predictor, LearnsOnlyWordsAndForgetsThemAll) {
  Predictor p;
  for (const char* notAWord : {"", "3rd", "well-known", "two words", "\xff\xfe", "a.b"})
    p.learn("", notAWord);
  EXPECT_EQ(p.learnedWords(), 0U);
  p.learn("", "zebu");
  p.learn("zebu", "zoo");
  EXPECT_EQ(p.suggest("", "ze").front(), "zebu");
  EXPECT_EQ(p.suggest("zebu", "").front(), "zoo");
  EXPECT_EQ(p.learnedWords(), 2U);
  EXPECT_EQ(p.learnedPairs(), 2U);
  p.forget();
  EXPECT_EQ(p.learnedWords(), 0U);
  EXPECT_EQ(p.learnedPairs(), 0U);
  EXPECT_FALSE(has(p.suggest("", "ze"), "zebu"));
  EXPECT_EQ(p.suggest("zebu", ""), Predictor().suggest("zebu", ""));
}

// Five old uses against two recent ones: frequency wins while both are
// recent, recency once tens of thousands of words lie between them. The
// weights' base moves on every 100,000 words; a move in the middle
// changes nothing.
TEST(Predictor, RecentUseCountsForMoreThanOldUse) {
  struct Row {
    std::size_t before, between;
    const char* first;
  };
  for (const Row& row :
       {Row{0, 0, "quokka"}, Row{0, 30000, "quoll"}, Row{99995, 0, "quokka"}, Row{99995, 30000, "quoll"}}) {
    Predictor p;
    const auto filler = [&](std::size_t n) {
      for (std::size_t i = 0; i < n; ++i) p.learn("", i % 2 == 0 ? "the" : "and");
    };
    filler(row.before);
    for (int i = 0; i < 5; ++i) p.learn("", "quokka");
    filler(row.between);
    for (int i = 0; i < 2; ++i) p.learn("", "quoll");
    const Words got = p.suggest("", "quo");
    ASSERT_GE(got.size(), 2U);
    EXPECT_EQ(got.front(), row.first) << row.before << " words before, " << row.between << " between";
  }
}

TEST(Predictor, SavedTextLoadsBackToTheSameSuggestions) {
  Predictor p;
  learnText(p, "We met Zorro at the zoo. The zebu ate hay. We met the zebu again. NASA called.");
  const std::string saved = p.save();
  Predictor q;
  ASSERT_TRUE(q.load(saved));
  EXPECT_EQ(q.learnedWords(), p.learnedWords());
  EXPECT_EQ(q.learnedPairs(), p.learnedPairs());
  EXPECT_EQ(q.save(), saved);
  for (const char* previous : {"", "met", "the", "we"}) {
    for (const char* prefix : {"", "z", "ze", "n", "a"}) {
      EXPECT_EQ(q.suggest(previous, prefix), p.suggest(previous, prefix)) << previous << "|" << prefix;
    }
  }
  EXPECT_TRUE(has(q.suggest("", "n"), "NASA"));
}

// Every way a file can be damaged: the load fails, nothing is learned, and
// suggestions are the built-in list's.
TEST(Predictor, DamagedTextIsRefusedWhole) {
  Predictor p;
  learnText(p, "we met the zebu. the zebu ran.");
  const std::string good = p.save();
  ASSERT_TRUE(Predictor().load(good));
  const std::string header = good.substr(0, good.find('\n') + 1);
  const std::string body = good.substr(header.size());

  std::vector<std::string> damaged = {
      "",
      header,                                       // no closing line
      "QM-OSK learned words\t2\n" + body,           // another version
      header + "w\tzebu\t1\nend\t2\n",              // closing count wrong
      header + "w\tzebu\tabc\nend\t1\n",            // count not a number
      header + "w\tzebu\t-1\nend\t1\n",             // count not positive
      header + "w\tzebu\tnan\nend\t1\n",            // count not finite
      header + "w\tzebu\t1\np\t0\t2\t1\nend\t2\n",  // pair of an unknown word
      header + "w\tzebu\t1\nw\tZebu\t1\nend\t2\n",  // the same word twice
      header + "w\ttwo words\t1\nend\t1\n",         // not a word
      header +
          "w\tze\xc3"
          "bu\t1\nend\t1\n",                       // not UTF-8
      header + "x\tzebu\t1\nend\t1\n",             // unknown line
      header + "w\tzebu\t1\nend\t1\nw\tzoo\t1\n",  // a line after the end
      good + "w\tzoo\t1\n",                        // the same
      std::string(good.begin(), good.end() - 1),   // last line end cut off
  };
  // A file cut short anywhere.
  for (std::size_t cut = 0; cut < good.size(); ++cut) damaged.push_back(good.substr(0, cut));

  const Words builtinOnly = Predictor().suggest("the", "ze");
  for (const std::string& text : damaged) {
    Predictor q;
    learnText(q, "we met the zebu.");
    EXPECT_FALSE(q.load(text)) << text;
    EXPECT_EQ(q.learnedWords(), 0U) << text;
    EXPECT_EQ(q.suggest("the", "ze"), builtinOnly) << text;
  }
}

// A file that went through a Windows editor or sync tool: the byte-order
// mark and CR LF line ends read as the same words, a CR elsewhere is damage.
TEST(Predictor, WindowsLineEndsAndAByteOrderMarkReadAsTheSameWords) {
  Predictor p;
  learnText(p, "we met the zebu. the zebu ran.");
  const std::string good = p.save();
  std::string crlf;
  for (const char c : good) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  const std::string bom = "\xEF\xBB\xBF";
  const std::size_t secondLineEnd = good.find('\n', good.find('\n') + 1);
  struct Row {
    const char* name;
    std::string text;
    bool loads;
  };
  const std::vector<Row> rows = {
      {"CR LF", crlf, true},
      {"BOM and LF", bom + good, true},
      {"BOM and CR LF", bom + crlf, true},
      {"CR alone ending the header", std::string(good).replace(good.find('\n'), 1, "\r"), false},
      {"CR alone ending a word's line", std::string(good).replace(secondLineEnd, 1, "\r"), false},
      {"CR before a tab", std::string(good).replace(good.find("\tzebu"), 0, "\r"), false},
      {"BOM twice", bom + bom + good, false},
  };
  for (const Row& row : rows) {
    Predictor q;
    EXPECT_EQ(q.load(row.text), row.loads) << row.name;
    if (row.loads) {
      EXPECT_EQ(q.save(), good) << row.name;
    }
  }
}

TEST(Predictor, LearnedAndSavedSizesStayBounded) {
  Predictor p;
  std::string previous;
  const std::size_t many = Predictor::kMaxLearnedWords * 3;
  for (std::size_t i = 0; i < many; ++i) {
    const std::string word = madeUp(i);
    p.learn(previous, word);
    previous = word;
    ASSERT_LE(p.learnedWords(), Predictor::kMaxLearnedWords);
    ASSERT_LE(p.learnedPairs(), Predictor::kMaxLearnedPairs);
  }
  // The latest word stays, the first has gone.
  const std::string saved = p.save();
  EXPECT_NE(saved.find("\nw\t" + madeUp(many - 1) + "\t"), std::string::npos);
  EXPECT_EQ(saved.find("\nw\t" + madeUp(0) + "\t"), std::string::npos);
  EXPECT_LE(saved.size(), Predictor::kMaxSavedBytes);

  // A small limit keeps the most used: the word typed over and over, with
  // its pair, survives a cut that drops nearly everything else.
  for (int i = 0; i < 50; ++i) {
    p.learn("", "zebu");
    p.learn("zebu", "herd");
  }
  const std::string small = p.save(400);
  EXPECT_LE(small.size(), 400U);
  Predictor q;
  ASSERT_TRUE(q.load(small));
  EXPECT_LT(q.learnedWords(), 30U);
  EXPECT_EQ(q.suggest("", "ze").front(), "zebu");
  EXPECT_EQ(q.suggest("zebu", "").front(), "herd");
}

TEST(LearnedWords, LoadsSavesAndSetsADamagedFileAside) {
  Predictor p;
  MemoryLearnedWordsFile file;
  SharedLearnedWords words(file);
  EXPECT_EQ(words.load(p).outcome, LearnedWordsLoad::Outcome::NoFile);

  p.learn("", "zebu");
  ASSERT_TRUE(words.save(p));
  Predictor q;
  EXPECT_EQ(SharedLearnedWords(file).load(q).outcome, LearnedWordsLoad::Outcome::Loaded);
  EXPECT_EQ(q.suggest("", "ze").front(), "zebu");

  file.text = "QM-OSK learned words\t1\nw\tzebu\t1\n";  // cut short
  Predictor r;
  r.learn("", "zebu");
  SharedLearnedWords other(file);
  EXPECT_EQ(other.load(r).outcome, LearnedWordsLoad::Outcome::SetAside);
  EXPECT_FALSE(file.text.has_value());
  EXPECT_TRUE(file.setAsideText.has_value());
  EXPECT_EQ(r.learnedWords(), 0U);

  file.refuse = true;
  EXPECT_FALSE(words.save(p));

  // A file that could not be read is neither read, set aside nor written over.
  file.refuse = false;
  file.text = "locked";
  file.unreadable = "Access is denied.";
  const LearnedWordsLoad locked = other.load(r);
  EXPECT_EQ(locked.outcome, LearnedWordsLoad::Outcome::Unreadable);
  EXPECT_EQ(locked.reason, "Access is denied.");
  EXPECT_FALSE(words.save(p));
  EXPECT_EQ(file.text, "locked");
}

// The faded count of each word in a saved text.
std::map<std::string, double> savedCounts(const std::string& text) {
  std::map<std::string, double> out;
  std::istringstream lines(text);
  std::string kind;
  std::string word;
  double count = 0;
  for (std::string line; std::getline(lines, line);) {
    std::istringstream fields(line);
    if (fields >> kind >> word >> count && kind == "w") out[word] = count;
  }
  return out;
}

// Two keyboards of one name (one run as administrator, one not) learn and
// save over one file in every order: each use is in the file once.
TEST(LearnedWords, TwoKeyboardsSavingOverOneFileLoseNoWord) {
  MemoryLearnedWordsFile file;
  Predictor a;
  Predictor b;
  SharedLearnedWords fileOfA(file);
  SharedLearnedWords fileOfB(file);
  ASSERT_EQ(fileOfA.load(a).outcome, LearnedWordsLoad::Outcome::NoFile);
  ASSERT_EQ(fileOfB.load(b).outcome, LearnedWordsLoad::Outcome::NoFile);

  a.learn("", "zebu");
  b.learn("", "quokka");
  ASSERT_TRUE(fileOfA.save(a));
  ASSERT_TRUE(fileOfB.save(b));
  a.learn("zebu", "herd");
  b.learn("", "zebu");
  b.learn("zebu", "herd");
  ASSERT_TRUE(fileOfB.save(b));
  ASSERT_TRUE(fileOfA.save(a));
  ASSERT_TRUE(fileOfA.save(a));  // nothing new: the file stays as it is

  // B's save comes while A's holds the lock, between its read and its
  // write: B's words wait for its next save rather than being written over.
  a.learn("", "ocelot");
  file.afterRead = [&] {
    b.learn("", "wombat");
    EXPECT_FALSE(fileOfB.save(b));
  };
  ASSERT_TRUE(fileOfA.save(a));
  ASSERT_TRUE(fileOfB.save(b));

  const std::map<std::string, double> counts = savedCounts(file.text.value_or(""));
  const std::map<std::string, double> uses{
      {"herd", 2}, {"ocelot", 1}, {"quokka", 1}, {"wombat", 1}, {"zebu", 2}};
  ASSERT_EQ(counts.size(), uses.size()) << *file.text;
  for (const auto& [word, n] : uses) EXPECT_NEAR(counts.at(word), n, 0.01) << word;
  // Each keyboard goes on with what the other learned.
  EXPECT_EQ(b.suggest("", "oc").front(), "ocelot");
  EXPECT_EQ(a.suggest("zebu", "").front(), "herd");

  // Forgetting in one empties the file for both: the other keeps only what
  // it learned since.
  a.forget();
  ASSERT_TRUE(fileOfA.replace(a));
  b.learn("", "kiwi");
  ASSERT_TRUE(fileOfB.save(b));
  EXPECT_EQ(savedCounts(*file.text).size(), 1U) << *file.text;
  EXPECT_EQ(savedCounts(*file.text).count("kiwi"), 1U) << *file.text;
}

}  // namespace
}  // namespace osk
