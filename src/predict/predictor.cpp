#include "predict/predictor.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <utility>

#include "predict/builtin_words.h"
#include "predict/words.h"

namespace osk {

namespace {

using predict::fold;
using predict::isWord;

// How the model weighs its parts; chosen on the tuning text (see the
// README's prediction section), never on the hold-out text.
//
// A learned count halves over this many words typed.
constexpr double kHalfLife = 10000;
// How many learned words the built-in list weighs as: the larger, the longer
// the list's order holds against what the user types.
constexpr double kBuiltinWeight = 2000;
// Trust in a context's pairs: a context seen C times (faded) with N
// different followers has its pairs weighed C / (C + kPairDoubt * N).
constexpr double kPairDoubt = 1.0;
// Weights are kept relative to a base that moves on once they have grown by
// this power of two, far inside a float's range.
constexpr double kRebaseAfterHalfLives = 10;

// ---- the built-in list ---------------------------------------------------

// The list leaves out one-letter words; "I" and "a" are among the most
// common of all, so they are added with counts of the order of "to" and
// "and".
struct ExtraWord {
  std::string_view form;
  std::uint32_t count;
};
constexpr std::array kExtraWords{ExtraWord{"I", 80000}, ExtraWord{"a", 75000}};

class BuiltinList {
 public:
  BuiltinList() {
    entries_.reserve(predict::builtinWordLines() + kExtraWords.size());
    for (const ExtraWord& extra : kExtraWords) add(extra.form, extra.count);
    for (std::string_view chunk : predict::builtinWordChunks()) {
      while (!chunk.empty()) {
        const std::size_t end = chunk.find('\n');
        const std::string_view line = chunk.substr(0, end);
        chunk.remove_prefix(end == std::string_view::npos ? chunk.size() : end + 1);
        const std::size_t tab = line.find('\t');
        if (tab == std::string_view::npos) continue;
        const std::string_view form = line.substr(0, tab);
        const std::string_view digits = line.substr(tab + 1);
        std::uint32_t count = 0;
        const auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), count);
        // Entries we could never offer (digits, hyphens) only take room.
        if (ec != std::errc() || ptr != digits.data() + digits.size() || count == 0 || !isWord(form))
          continue;
        add(form, count);
      }
    }
    // Most common first, as the list is; the two added words go in their place.
    std::stable_sort(entries_.begin(), entries_.end(),
                     [](const Entry& a, const Entry& b) { return a.count > b.count; });
    byKey_.resize(entries_.size());
    for (std::uint32_t i = 0; i < byKey_.size(); ++i) byKey_[i] = i;
    std::sort(byKey_.begin(), byKey_.end(),
              [&](std::uint32_t a, std::uint32_t b) { return key(a) != key(b) ? key(a) < key(b) : a < b; });
    // The list holds a few words twice; each is kept once, in the place and
    // spelling of its more common entry, with both counts.
    std::size_t kept = 0;
    for (const std::uint32_t i : std::vector<std::uint32_t>(byKey_)) {
      if (kept > 0 && key(byKey_[kept - 1]) == key(i)) {
        entries_[byKey_[kept - 1]].count += entries_[i].count;
        entries_[i].count = 0;
        continue;
      }
      byKey_[kept++] = i;
    }
    byKey_.resize(kept);
    for (const Entry& e : entries_) total_ += e.count;
  }

  std::size_t size() const { return entries_.size(); }
  std::string_view key(std::uint32_t i) const {
    return std::string_view(folded_).substr(entries_[i].key, entries_[i].keyLen);
  }
  std::string_view form(std::uint32_t i) const { return {entries_[i].form, entries_[i].formLen}; }
  // Share of all the list's words; 0 for a second entry of a word.
  double probability(std::uint32_t i) const { return entries_[i].count / total_; }

  // Entries in order of key, from the first that begins with `folded`.
  std::span<const std::uint32_t> withPrefix(std::string_view folded) const {
    const auto first = std::lower_bound(byKey_.begin(), byKey_.end(), folded,
                                        [&](std::uint32_t i, std::string_view p) { return key(i) < p; });
    auto last = first;
    while (last != byKey_.end() && key(*last).starts_with(folded)) ++last;
    return {first, last};
  }

  std::int32_t find(std::string_view folded) const {
    const auto range = withPrefix(folded);
    if (range.empty() || key(range.front()) != folded) return -1;
    return static_cast<std::int32_t>(range.front());
  }

  std::size_t bytes() const {
    return folded_.capacity() + entries_.capacity() * sizeof(Entry) +
           byKey_.capacity() * sizeof(std::uint32_t);
  }

 private:
  void add(std::string_view form, std::uint32_t count) {
    const std::string key = fold(form);
    entries_.push_back({form.data(), static_cast<std::uint32_t>(folded_.size()),
                        static_cast<std::uint8_t>(key.size()), static_cast<std::uint8_t>(form.size()),
                        count});
    folded_ += key;
  }

  struct Entry {
    const char* form;  // in the program's own text of the list
    std::uint32_t key;
    std::uint8_t keyLen, formLen;
    std::uint32_t count;
  };
  std::string folded_;
  std::vector<Entry> entries_;  // most common first
  std::vector<std::uint32_t> byKey_;
  double total_ = 0;
};

// Built on first use, so that a keyboard with prediction off never pays
// for it, and shared by every predictor.
const BuiltinList& builtin() {
  static const BuiltinList list;
  return list;
}

// A capital first letter at the start of a sentence, or capitals
// throughout, say nothing about how a word is usually written.
bool sayFormNothing(std::string_view typed, bool sentenceStart) {
  return predict::allCapitals(typed) || (sentenceStart && typed == predict::capitalised(fold(typed)));
}

}  // namespace

// The best few words found, in order: only these are kept, so a prefix that
// many words share costs a look at each and no more.
class Predictor::Best {
 public:
  void offer(double score, std::string_view key, std::string_view form) {
    const Candidate c{score, key, form};
    if (kept_ == best_.size() && !better(c, best_.back())) return;
    std::size_t at = kept_ < best_.size() ? kept_++ : best_.size() - 1;
    for (; at > 0 && better(c, best_.at(at - 1)); --at) best_.at(at) = best_.at(at - 1);
    best_.at(at) = c;
  }
  std::vector<std::string> words() const {
    std::vector<std::string> out;
    out.reserve(kept_);
    for (std::size_t i = 0; i < kept_; ++i) out.emplace_back(best_.at(i).form);
    return out;
  }

 private:
  struct Candidate {
    double score;
    std::string_view key;
    std::string_view form;
  };
  static bool better(const Candidate& a, const Candidate& b) {
    return a.score != b.score ? a.score > b.score : a.key < b.key;
  }
  std::array<Candidate, Predictor::kSuggestions> best_{};
  std::size_t kept_ = 0;
};

// Words to leave out, folded once.
class Predictor::Passed {
 public:
  explicit Passed(std::span<const std::string> words) {
    folded_.reserve(words.size());
    for (const std::string& w : words) folded_.push_back(fold(w));
  }
  bool has(std::string_view key) const {
    return std::find(folded_.begin(), folded_.end(), key) != folded_.end();
  }

 private:
  std::vector<std::string> folded_;
};

Predictor::Predictor() { forget(); }

void Predictor::forget() {
  words_.assign(1, Learned{});
  words_[0].live = true;
  index_.clear();
  learnedFromList_.clear();
  free_.clear();
  pairs_ = 0;
  total_ = 0;
  clock_ = 0;
  markSaved();
}

void Predictor::markSaved() {
  unsaved_.clear();
  unsavedComplete_ = true;
}

bool Predictor::mergeSaved(std::optional<std::string_view> saved) {
  Predictor merged;
  if (saved && !merged.load(*saved)) return false;
  // Learned again, they are kept again: until a save succeeds they still
  // need merging.
  for (const Use& use : unsaved_) merged.learn(use.previous, use.word);
  merged.unsavedComplete_ = unsavedComplete_;
  *this = std::move(merged);
  return true;
}

double Predictor::scale() const { return std::exp2(-static_cast<double>(clock_) / kHalfLife); }

std::uint32_t Predictor::findWord(std::string_view folded) const {
  const auto it = index_.find(folded);
  return it == index_.end() ? 0 : it->second;
}

std::uint32_t Predictor::wordId(std::string_view folded, std::string_view form) {
  if (const std::uint32_t id = findWord(folded); id != 0) return id;
  std::uint32_t id = 0;
  if (free_.empty()) {
    id = static_cast<std::uint32_t>(words_.size());
    words_.emplace_back();
  } else {
    id = free_.back();
    free_.pop_back();
  }
  Learned& w = words_[id];
  w = Learned{};
  w.form = std::string(form);
  w.builtin = builtin().find(folded);
  if (w.builtin >= 0) {
    learnedFromList_.resize(builtin().size());
    learnedFromList_[static_cast<std::size_t>(w.builtin)] = true;
  }
  w.live = true;
  // The map's nodes stay where they are until erased, and so does the key.
  w.key = index_.emplace(std::string(folded), id).first->first;
  return id;
}

void Predictor::rebase() {
  const auto s = static_cast<float>(scale());
  for (Learned& w : words_) {
    w.weight *= s;
    w.followersWeight *= s;
    for (Follower& f : w.followers) f.weight *= s;
  }
  total_ *= s;
  clock_ = 0;
}

void Predictor::learn(std::string_view previous, std::string_view word) {
  if (!isWord(word)) return;
  if (unsaved_.size() < kMaxUnsavedUses) {
    unsaved_.push_back({std::string(previous), std::string(word)});
  } else {
    unsavedComplete_ = false;
  }
  if (static_cast<double>(clock_ + 1) > kRebaseAfterHalfLives * kHalfLife) rebase();
  ++clock_;
  const auto amount = static_cast<float>(std::exp2(static_cast<double>(clock_) / kHalfLife));

  const bool sentenceStart = !isWord(previous);
  std::uint32_t context = 0;
  if (!sentenceStart) context = wordId(fold(previous), previous);
  const std::string folded = fold(word);
  const bool known = findWord(folded) != 0 || builtin().find(folded) >= 0;
  std::uint32_t id = 0;
  if (sayFormNothing(word, sentenceStart)) {
    const std::int32_t b = builtin().find(folded);
    // A new word at the start of a sentence is stored in small letters; one
    // in capitals throughout ("NASA") is kept so.
    id = wordId(folded, b >= 0 ? builtin().form(static_cast<std::uint32_t>(b))
                               : (predict::allCapitals(word) && !known ? word : std::string_view(folded)));
  } else {
    id = wordId(folded, word);
    words_[id].form = std::string(word);
  }
  words_[id].weight += amount;
  total_ += amount;

  Learned& ctx = words_[context];
  ctx.followersWeight += amount;
  const auto it = std::find_if(ctx.followers.begin(), ctx.followers.end(),
                               [&](const Follower& f) { return f.word == id; });
  if (it != ctx.followers.end()) {
    it->weight += amount;
  } else {
    ctx.followers.push_back({id, amount});
    ++pairs_;
  }
  if (index_.size() > kMaxLearnedWords || pairs_ > kMaxLearnedPairs) prune();
}

void Predictor::dropWord(std::uint32_t id) {
  Learned& w = words_[id];
  index_.erase(index_.find(w.key));
  if (w.builtin >= 0) learnedFromList_[static_cast<std::size_t>(w.builtin)] = false;
  total_ -= w.weight;
  pairs_ -= w.followers.size();
  w = Learned{};
  free_.push_back(id);
}

// Drops an eighth of the words or pairs, the lowest faded counts first, so
// that pruning runs once in many words typed.
void Predictor::prune() {
  if (index_.size() > kMaxLearnedWords) {
    std::vector<std::pair<float, std::uint32_t>> byWeight;
    byWeight.reserve(index_.size());
    for (const auto& [key, id] : index_) byWeight.emplace_back(words_[id].weight, id);
    const std::size_t drop = index_.size() - kMaxLearnedWords * 7 / 8;
    std::nth_element(byWeight.begin(), byWeight.begin() + static_cast<std::ptrdiff_t>(drop), byWeight.end());
    for (std::size_t i = 0; i < drop; ++i) dropWord(byWeight[i].second);
    for (Learned& w : words_)
      pairs_ -= std::erase_if(w.followers, [&](const Follower& f) { return !words_[f.word].live; });
  }
  if (pairs_ > kMaxLearnedPairs) {
    std::vector<float> weights;
    weights.reserve(pairs_);
    for (const Learned& w : words_) {
      for (const Follower& f : w.followers) weights.push_back(f.weight);
    }
    const std::size_t drop = pairs_ - kMaxLearnedPairs * 7 / 8;
    std::nth_element(weights.begin(), weights.begin() + static_cast<std::ptrdiff_t>(drop), weights.end());
    const float cut = weights[drop];
    std::size_t dropped = 0;
    for (Learned& w : words_) {
      dropped += std::erase_if(w.followers, [&](const Follower& f) { return f.weight < cut; });
    }
    pairs_ -= dropped;
  }
  // Summed again rather than by subtraction, which would leave rounding
  // crumbs behind for a context whose followers have all gone.
  for (Learned& w : words_) {
    w.followersWeight = 0;
    for (const Follower& f : w.followers) w.followersWeight += f.weight;
  }
}

// The list's words that were not scored as learned ones, each worth
// `scale` times its share of the list.
void Predictor::offerListWords(std::string_view folded, double scale, const Passed& passed,
                               Best& best) const {
  const BuiltinList& list = builtin();
  const auto listOnly = [&](std::uint32_t i) {
    return (i >= learnedFromList_.size() || !learnedFromList_[i]) && !passed.has(list.key(i));
  };
  if (!folded.empty()) {
    for (const std::uint32_t i : list.withPrefix(folded)) {
      if (listOnly(i)) best.offer(scale * list.probability(i), list.key(i), list.form(i));
    }
    return;
  }
  // Every word matches: the list's own order gives the best of the rest.
  std::size_t taken = 0;
  for (std::uint32_t i = 0; i < list.size() && taken < kSuggestions; ++i) {
    if (!listOnly(i) || list.probability(i) == 0) continue;
    best.offer(scale * list.probability(i), list.key(i), list.form(i));
    ++taken;
  }
}

// How far a context's pairs are trusted over the words alone.
double Predictor::pairShareOf(const Learned* ctx, double s) {
  if (ctx == nullptr || ctx->followers.empty()) return 0;
  const double seen = ctx->followersWeight * s;
  return seen / (seen + kPairDoubt * static_cast<double>(ctx->followers.size()));
}

std::vector<std::string> Predictor::suggest(std::string_view previous, std::string_view prefix,
                                            std::span<const std::string> passedOver) const {
  const BuiltinList& list = builtin();
  const std::string folded = fold(prefix);
  const Passed passed(passedOver);
  const auto isPassed = [&](std::string_view key) { return passed.has(key); };

  const double s = scale();
  const double learnedTotal = total_ * s;
  const double unigramNorm = 1.0 / (learnedTotal + kBuiltinWeight);
  const Learned* ctx = context(previous);
  const double pairShare = pairShareOf(ctx, s);
  const double unigramShare = 1.0 - pairShare;

  Best best;
  const auto offer = [&](double score, std::string_view key, std::string_view form) {
    best.offer(score, key, form);
  };

  const auto learnedScore = [&](const Learned& w) {
    const double b = w.builtin >= 0 ? list.probability(static_cast<std::uint32_t>(w.builtin)) : 0.0;
    return unigramShare * (w.weight * s + kBuiltinWeight * b) * unigramNorm;
  };
  // The context's followers first, so each learned word is scored once with
  // its pair; the rest of the learned words then without.
  std::vector<std::uint32_t> followed;
  if (ctx != nullptr && pairShare > 0) {
    for (const Follower& f : ctx->followers) {
      const Learned& w = words_[f.word];
      if (!w.key.starts_with(folded) || isPassed(w.key)) continue;
      offer(learnedScore(w) + pairShare * f.weight / ctx->followersWeight, w.key, w.form);
      followed.push_back(f.word);
    }
  }
  std::sort(followed.begin(), followed.end());
  const auto offerLearned = [&](std::uint32_t id) {
    const Learned& w = words_[id];
    if (std::binary_search(followed.begin(), followed.end(), id) || isPassed(w.key)) return;
    offer(learnedScore(w), w.key, w.form);
  };
  if (folded.size() <= 1) {
    // Most or many learned words match: the entries in a row are far quicker
    // to go through than the index's scattered nodes (0.14 ms against 1.8 ms
    // of CPU time for 8,000 words, all matching).
    for (std::uint32_t id = 1; id < words_.size(); ++id) {
      if (words_[id].live && words_[id].key.starts_with(folded)) offerLearned(id);
    }
  } else {
    for (auto it = index_.lower_bound(folded); it != index_.end() && it->first.starts_with(folded); ++it) {
      offerLearned(it->second);
    }
  }
  offerListWords(folded, unigramShare * kBuiltinWeight * unigramNorm, passed, best);
  return best.words();
}

const Predictor::Learned* Predictor::context(std::string_view previous) const {
  if (!isWord(previous)) return words_.data();  // the start of a sentence
  const std::uint32_t id = findWord(fold(previous));
  return id == 0 ? nullptr : &words_[id];
}

std::size_t Predictor::builtinBytes() { return builtin().bytes(); }

}  // namespace osk
