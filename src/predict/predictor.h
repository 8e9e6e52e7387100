// Word prediction: the built-in English word list, and what the user has
// typed, learned as words and word pairs with recent use counting for more.
//
// Learned counts fade with a half-life measured in words typed, so a word
// used often long ago gives way to one used lately. What is learned is
// bounded: past kMaxLearnedWords words or kMaxLearnedPairs pairs, the ones
// whose faded count is lowest (the rarest and oldest) are dropped.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace osk {

// The built-in word pairs, loaded from their text (see predictor.cpp).
class PairTable;

class Predictor {
 public:
  static constexpr std::size_t kSuggestions = 5;
  static constexpr std::size_t kMaxLearnedWords = 8000;
  static constexpr std::size_t kMaxLearnedPairs = 40000;
  // The saved text stays within this many bytes.
  static constexpr std::size_t kMaxSavedBytes = std::size_t{256} * 1024;
  // Uses kept since the last save, for learning them again on top of
  // another keyboard's save: hours of typing with every save refused.
  static constexpr std::size_t kMaxUnsavedUses = 20000;

  Predictor();
  // With these word pairs in place of the built-in ones (the pair table's
  // own text, as data/pairs-en.tsv holds it): for trying a damaged or
  // missing table.
  explicit Predictor(std::span<const std::string_view> pairText);
  // Learned entries point into the index, so a copy would point into the
  // original; moving keeps them valid.
  Predictor(const Predictor&) = delete;
  Predictor& operator=(const Predictor&) = delete;
  Predictor(Predictor&&) = default;
  Predictor& operator=(Predictor&&) = default;
  ~Predictor() = default;

  // Up to kSuggestions words that begin with `prefix` (compared without
  // case), most likely first, each in its usual form ("I'm", "London").
  // `previous` is the word typed before it, empty at the start of a
  // sentence, nothing when not known; an empty prefix offers likely next
  // words. Neither `previous` itself ("the the") nor the words in
  // `passedOver` (offered earlier for the same word and not taken) are
  // offered. `beforePrevious` is the word before `previous` in the same
  // sentence, empty when there is none or it is not known.
  std::vector<std::string> suggest(std::optional<std::string_view> previous, std::string_view prefix,
                                   std::span<const std::string> passedOver = {},
                                   std::string_view beforePrevious = {}) const;

  // Learns that `word` was typed after `previous` (empty: at the start of a
  // sentence; nothing: after something not known, so the word alone is
  // learned, without a pair). Anything that is not a word is ignored.
  void learn(std::optional<std::string_view> previous, std::string_view word);

  // Drops everything learned; the built-in list stays.
  void forget();

  // What was learned, as UTF-8 text of at most `maxBytes` bytes; what does
  // not fit is what would be dropped first.
  std::string save(std::size_t maxBytes = kMaxSavedBytes) const;
  // Replaces what was learned by a saved text. False, with nothing learned,
  // when the text is damaged or of another version: the caller sets it aside
  // and goes on from the built-in list.
  bool load(std::string_view text);

  // Another keyboard of this name may have saved since this one last read
  // or wrote the file. Replaces what was learned by `saved` (nothing: no
  // file) and learns again, on top of it, every use since markSaved(): the
  // file already holds this keyboard's earlier uses and the other's, so
  // each use is counted once, and fades by the words typed in both. False,
  // with nothing changed, when `saved` is damaged.
  bool mergeSaved(std::optional<std::string_view> saved);
  // What was learned has been stored: the uses so far need no merging again.
  void markSaved();
  // False once more than kMaxUnsavedUses uses came since markSaved(): the
  // oldest are no longer known one by one, only in the counts.
  bool unsavedComplete() const { return unsavedComplete_; }

  std::size_t learnedWords() const { return index_.size(); }
  std::size_t learnedPairs() const { return pairs_; }
  // Memory the built-in list takes once loaded (it is shared by every
  // predictor and loaded at the first use of any).
  static std::size_t builtinBytes();
  // Pairs in the table this predictor uses.
  std::size_t builtinPairs() const;

 private:
  struct Follower {
    std::uint32_t word = 0;
    float weight = 0;
  };
  struct Learned {
    std::string form;
    std::string_view key;       // its folded form: the index's own key
    float weight = 0;           // faded count, in the units of `base_`
    std::int32_t builtin = -1;  // its entry in the built-in list
    float followersWeight = 0;  // sum of the followers' weights
    std::vector<Follower> followers;
    bool live = false;
  };

  std::uint32_t wordId(std::string_view folded, std::string_view form);
  class Best;
  class Passed;
  class Ranking;
  void offerListWords(std::string_view folded, double scale, const Passed& passed,
                      std::span<const std::uint32_t> done, Best& best) const;
  std::uint32_t findWord(std::string_view folded) const;
  // The entry of the word before, entry 0 at the start of a sentence;
  // nothing when the word was never learned.
  const Learned* context(std::string_view previous) const;
  static double pairShareOf(const Learned* ctx, double s);
  const PairTable& pairTable() const;
  void addWeight(float& weight, double amount) const;
  bool loadLine(const std::vector<std::string_view>& fields, std::vector<std::uint32_t>& ids);
  void rebase();
  void prune();
  void dropWord(std::uint32_t id);
  double scale() const;  // turns stored weights into faded counts now

  // Entry 0 stands for the start of a sentence: a context, never offered.
  std::vector<Learned> words_;
  std::map<std::string, std::uint32_t, std::less<>> index_;  // folded form -> entry
  std::vector<bool> learnedFromList_;                        // by built-in entry: learned as well
  std::vector<std::uint32_t> free_;
  std::size_t pairs_ = 0;
  float total_ = 0;  // sum of the words' weights
  struct Use {
    std::optional<std::string> previous;
    std::string word;
  };
  std::vector<Use> unsaved_;  // since markSaved(), oldest first
  bool unsavedComplete_ = true;
  // Words typed since the weights' base: a use adds 2^(clock / half-life)
  // to a weight, so weights never need fading one by one.
  std::uint64_t clock_ = 0;
  // Pairs of its own in place of the built-in ones, shared by its copies.
  std::shared_ptr<const PairTable> ownPairs_;
};

}  // namespace osk
