#include "predict/predictor.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <utility>

#include "predict/builtin_list.h"
#include "predict/builtin_words.h"
#include "predict/pair_table.h"
#include "predict/ranked_words.h"
#include "predict/words.h"

namespace osk {

namespace {

using predict::builtin;
using predict::BuiltinList;
using predict::fold;
using predict::isWord;

// How the model weighs its parts; chosen on the tuning text (see the
// keystroke savings in docs/figures.md), never on the hold-out text.
//
// A learned count halves over this many words typed.
constexpr double kHalfLife = 10000;
// How many learned words the built-in list weighs as: the larger, the longer
// the list's order holds against what the user types.
constexpr double kBuiltinWeight = 2000;
// Trust in a context's pairs: a context seen C times (faded) with N
// different followers has its pairs weighed C / (C + kPairDoubt * N).
constexpr double kPairDoubt = 1.0;
// The same for the built-in pairs, weighed by the counts of the text they
// were taken from: a context seen C times with N different followers there
// has its pairs weighed C / (C + kBuiltinPairDoubt * N). Those texts
// (documentation, two old dictionaries, a lexicon's definitions) are not
// everyday prose, so their pairs are trusted less than the user's own.
constexpr double kBuiltinPairDoubt = 2.0;
// The same for the built-in words after two words in a row: those contexts
// are kept only where their text saw them often.
constexpr double kBuiltinTripleDoubt = 2.0;
// Weights are kept relative to a base that moves on once they have grown by
// this power of two, far inside a float's range.
constexpr double kRebaseAfterHalfLives = 10;
// Up to this many words that fit the letters typed are gone through one by
// one; more, and the list is gone through from its commonest word on.
constexpr std::size_t kGoThroughUpTo = 512;

// Loaded on first use, as the list is, and shared by every predictor.
const PairTable& builtinPairTable() {
  static const PairTable table(predict::builtinPairChunks(),
                               [](std::string_view folded) { return builtin().find(folded); });
  return table;
}

// A capital first letter at the start of a sentence, or capitals
// throughout, say nothing about how a word is usually written.
bool sayFormNothing(std::string_view typed, bool sentenceStart) {
  return predict::allCapitals(typed) || (sentenceStart && typed == predict::capitalised(fold(typed)));
}

}  // namespace

Predictor::Predictor() { forget(); }

Predictor::Predictor(std::span<const std::string_view> pairText)
    : ownPairs_(std::make_shared<const PairTable>(
          pairText, [](std::string_view folded) { return builtin().find(folded); })) {
  forget();
}

const PairTable& Predictor::pairTable() const { return ownPairs_ ? *ownPairs_ : builtinPairTable(); }

std::size_t Predictor::builtinPairs() const { return pairTable().size(); }

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
  merged.ownPairs_ = ownPairs_;
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

void Predictor::learn(std::optional<std::string_view> previous, std::string_view word) {
  if (!isWord(word)) return;
  if (unsaved_.size() < kMaxUnsavedUses) {
    unsaved_.push_back({previous ? std::optional<std::string>(*previous) : std::nullopt, std::string(word)});
  } else {
    unsavedComplete_ = false;
  }
  if (static_cast<double>(clock_ + 1) > kRebaseAfterHalfLives * kHalfLife) rebase();
  ++clock_;
  const auto amount = static_cast<float>(std::exp2(static_cast<double>(clock_) / kHalfLife));

  const bool afterWord = previous && isWord(*previous);
  // Where the word before is not known, the word may start a sentence.
  const bool sentenceStart = !afterWord;
  std::uint32_t context = 0;
  if (afterWord) context = wordId(fold(*previous), *previous);
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
  // Nothing known of what came before: the word alone.
  if (!previous) {
    if (index_.size() > kMaxLearnedWords) prune();
    return;
  }

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

// The list's words that were not scored as learned ones nor with their
// pairs (`done`, in order), each worth
// `scale` times its share of the list.
void Predictor::offerListWords(std::string_view folded, double scale, const Passed& passed,
                               std::span<const std::uint32_t> done, Best& best) const {
  const BuiltinList& list = builtin();
  const auto listOnly = [&](std::uint32_t i) {
    return (i >= learnedFromList_.size() || !learnedFromList_[i]) && !passed.has(list.key(i)) &&
           !std::binary_search(done.begin(), done.end(), i);
  };
  const std::span<const std::uint32_t> fitting = list.withPrefix(folded);
  if (fitting.size() <= kGoThroughUpTo) {
    for (const std::uint32_t i : fitting) {
      if (listOnly(i)) best.offer(scale * list.probability(i), list.key(i), list.form(i));
    }
    return;
  }
  // A letter or two fit thousands of words, and no letter every word. In
  // the list's own order, the commonest first, the search ends at the
  // first word that could not be kept: nor could any after it.
  for (std::uint32_t i = 0; i < list.size(); ++i) {
    const double score = scale * list.probability(i);
    if (score == 0) continue;  // a word's second entry, left where it was
    if (best.full() && score * best.mostBoost() < best.worst()) return;
    if (list.key(i).starts_with(folded) && listOnly(i)) best.offer(score, list.key(i), list.form(i));
  }
}

// How far a context's pairs are trusted over the words alone.
double Predictor::pairShareOf(const Learned* ctx, double s) {
  if (ctx == nullptr || ctx->followers.empty()) return 0;
  const double seen = ctx->followersWeight * s;
  return seen / (seen + kPairDoubt * static_cast<double>(ctx->followers.size()));
}

// The chance of a word after its context, smoothed by interpolation in the
// manner of Witten and Bell: the user's pairs, trusted by how often their
// context was seen against how many different words followed it, and
// otherwise the built-in words after the two words before, then the
// built-in pairs, each trusted the same way by the counts of their text,
// and otherwise the single words (learned ones and the list's):
//
//   P(w) = u * user pair
//        + (1 - u) * (t * built-in triple + (1 - t) * (b * built-in pair + (1 - b) * words))
//
// Interpolating rather than backing off keeps every word a chance, so a
// word the pairs never saw still comes up as its letters are typed, while a
// context seen often with few followers leans on its pairs. The user's
// pairs weigh first: a pair the user typed once outweighs any the built-in
// table has but the commonest.
// One call of suggest(): the context's shares worked out once, and the
// candidates scored in passes: the followers of each context, then the
// words alone.
class Predictor::Ranking {
 public:
  Ranking(const Predictor& p, std::optional<std::string_view> previous, std::string_view prefix,
          std::span<const std::string> passedOver, std::string_view beforePrevious)
      : p_(p),
        list_(builtin()),
        table_(p.pairTable()),
        folded_(fold(prefix)),
        passed_(leftOut(previous, passedOver)),
        s_(p.scale()),
        unigramNorm_(1.0 / (p.total_ * s_ + kBuiltinWeight)),
        ctx_(previous ? p.context(*previous) : nullptr),
        userShare_(pairShareOf(ctx_, s_)),
        best_(prefix, previous && isWord(*previous) && predict::startsWithCapital(prefix) &&
                          !predict::allCapitals(prefix)) {
    if (previous && isWord(*previous)) {
      if (const std::int32_t b = list_.find(fold(*previous)); b >= 0) {
        listCtx_ = table_.find(b);
        const std::int32_t a = isWord(beforePrevious) ? list_.find(fold(beforePrevious)) : -1;
        if (a >= 0) tripleCtx_ = table_.find(static_cast<std::uint32_t>(a), static_cast<std::uint32_t>(b));
      }
    } else if (previous) {
      listCtx_ = table_.find(-1);
    }
    if (listCtx_ != nullptr)
      listShare_ = listCtx_->total / (listCtx_->total + kBuiltinPairDoubt * listCtx_->kinds);
    if (tripleCtx_ != nullptr)
      tripleShare_ = tripleCtx_->total / (tripleCtx_->total + kBuiltinTripleDoubt * tripleCtx_->kinds);
    wordsShare_ = (1.0 - userShare_) * (1.0 - tripleShare_) * (1.0 - listShare_);
  }

  std::vector<std::string> words() {
    // The followers of either kind first, each scored once with its pairs;
    // the rest of the words then by themselves.
    offerUserPairs();
    offerListPairs(tripleCtx_, tripleShare_);
    offerListPairs(listCtx_, listShare_);
    std::sort(doneLearned_.begin(), doneLearned_.end());
    std::sort(doneList_.begin(), doneList_.end());
    offerLearnedWords();
    p_.offerListWords(folded_, wordsShare_ * kBuiltinWeight * unigramNorm_, passed_, doneList_, best_);
    return best_.words();
  }

 private:
  // The word just typed is not offered again straight after itself.
  static std::vector<std::string> leftOut(std::optional<std::string_view> previous,
                                          std::span<const std::string> passedOver) {
    std::vector<std::string> left(passedOver.begin(), passedOver.end());
    if (previous && isWord(*previous)) left.emplace_back(*previous);
    return left;
  }

  double listPair(const PairTable::Context* ctx, std::int32_t b) const {
    if (ctx == nullptr || b < 0) return 0.0;
    const PairTable::Follower* f = table_.follower(*ctx, static_cast<std::uint32_t>(b));
    return f != nullptr ? f->count / ctx->total : 0.0;
  }
  double wordsScore(const Learned* w, std::int32_t b) const {
    const double p = b >= 0 ? list_.probability(static_cast<std::uint32_t>(b)) : 0.0;
    return ((w != nullptr ? w->weight * s_ : 0.0) + kBuiltinWeight * p) * unigramNorm_;
  }
  double pairedScore(const Learned* w, std::int32_t b, double userPair) const {
    const double pairs = listShare_ * listPair(listCtx_, b) + (1.0 - listShare_) * wordsScore(w, b);
    return userShare_ * userPair +
           (1.0 - userShare_) * (tripleShare_ * listPair(tripleCtx_, b) + (1.0 - tripleShare_) * pairs);
  }
  bool fits(std::string_view key) const { return key.starts_with(folded_) && !passed_.has(key); }

  void offerUserPairs() {
    if (ctx_ == nullptr || userShare_ <= 0) return;
    for (const Follower& f : ctx_->followers) {
      const Learned& w = p_.words_[f.word];
      if (!fits(w.key)) continue;
      best_.offer(pairedScore(&w, w.builtin, f.weight / ctx_->followersWeight), w.key, w.form);
      doneLearned_.push_back(f.word);
      if (w.builtin >= 0) doneList_.push_back(static_cast<std::uint32_t>(w.builtin));
    }
  }

  // The followers of a built-in context that were not scored yet.
  void offerListPairs(const PairTable::Context* ctx, double share) {
    if (ctx == nullptr || share <= 0) return;
    std::sort(doneList_.begin(), doneList_.end());
    const auto before = static_cast<std::ptrdiff_t>(doneList_.size());
    for (const PairTable::Follower& f : table_.followers(*ctx)) {
      const std::string_view key = list_.key(f.word);
      if (!fits(key) || std::binary_search(doneList_.begin(), doneList_.begin() + before, f.word)) continue;
      const bool learned = f.word < p_.learnedFromList_.size() && p_.learnedFromList_[f.word];
      const std::uint32_t id = learned ? p_.findWord(key) : 0;
      const Learned* w = id != 0 ? &p_.words_[id] : nullptr;
      best_.offer(pairedScore(w, static_cast<std::int32_t>(f.word), 0.0), key,
                  w != nullptr ? std::string_view(w->form) : list_.form(f.word));
      doneList_.push_back(f.word);
      if (id != 0) doneLearned_.push_back(id);
    }
  }

  void offerLearned(std::uint32_t id) {
    const Learned& w = p_.words_[id];
    if (std::binary_search(doneLearned_.begin(), doneLearned_.end(), id) || passed_.has(w.key)) return;
    best_.offer(wordsShare_ * wordsScore(&w, w.builtin), w.key, w.form);
  }

  void offerLearnedWords() {
    if (folded_.size() <= 1) {
      // Most or many learned words match: the entries in a row are far
      // quicker to go through than the index's scattered nodes (0.14 ms
      // against 1.8 ms of CPU time for 8,000 words, all matching).
      for (std::uint32_t id = 1; id < p_.words_.size(); ++id) {
        if (p_.words_[id].live && p_.words_[id].key.starts_with(folded_)) offerLearned(id);
      }
      return;
    }
    for (auto it = p_.index_.lower_bound(folded_); it != p_.index_.end() && it->first.starts_with(folded_);
         ++it)
      offerLearned(it->second);
  }

  const Predictor& p_;
  const BuiltinList& list_;
  const PairTable& table_;
  const std::string folded_;
  const Passed passed_;
  const double s_;
  const double unigramNorm_;
  const Learned* ctx_;
  double userShare_;
  const PairTable::Context* listCtx_ = nullptr;
  double listShare_ = 0;
  const PairTable::Context* tripleCtx_ = nullptr;
  double tripleShare_ = 0;
  double wordsShare_ = 1;
  Best best_;
  std::vector<std::uint32_t> doneLearned_;
  std::vector<std::uint32_t> doneList_;
};

std::vector<std::string> Predictor::suggest(std::optional<std::string_view> previous, std::string_view prefix,
                                            std::span<const std::string> passedOver,
                                            std::string_view beforePrevious) const {
  return Ranking(*this, previous, prefix, passedOver, beforePrevious).words();
}

const Predictor::Learned* Predictor::context(std::string_view previous) const {
  if (!isWord(previous)) return words_.data();  // the start of a sentence
  const std::uint32_t id = findWord(fold(previous));
  return id == 0 ? nullptr : &words_[id];
}

std::size_t Predictor::builtinBytes() { return builtin().bytes(); }

}  // namespace osk
