// The pieces of one ranking of Predictor::suggest(): the few best words
// found so far, and the words to leave out.
#pragma once

#include <algorithm>
#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "predict/predictor.h"
#include "predict/words.h"

namespace osk {

namespace predict {
// A capital typed inside a sentence asks for a name: words usually written
// with one (learned as the user wrote them, or so in the list) weigh this
// many times more. 3 to 100 saved the same on the tuning texts.
inline constexpr double kNameBoost = 10;
}  // namespace predict

// The best few words found, in order: only these are kept, so a prefix that
// many words share costs a look at each and no more.
class Predictor::Best {
 public:
  // A word that reads as the letters typed, as typed, would type no more
  // than the space: its place goes to a word that saves a click.
  // `nameHint`: the word was begun with a capital inside a sentence.
  Best(std::string_view typed, bool nameHint) : typed_(typed), nameHint_(nameHint) {}
  void offer(double score, std::string_view key, std::string_view form) {
    if (!typed_.empty() && form == typed_) return;
    if (nameHint_ && predict::startsWithCapital(form)) score *= predict::kNameBoost;
    const Candidate c{score, key, form};
    if (kept_ == best_.size() && !better(c, best_.back())) return;
    std::size_t at = kept_ < best_.size() ? kept_++ : best_.size() - 1;
    for (; at > 0 && better(c, best_.at(at - 1)); --at) best_.at(at) = best_.at(at - 1);
    best_.at(at) = c;
  }
  bool full() const { return kept_ == best_.size(); }
  // No word whose score is below this can be kept any more.
  double worst() const { return best_.back().score; }
  // The most a word's score can grow by its form.
  double mostBoost() const { return nameHint_ ? predict::kNameBoost : 1.0; }
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
  std::string_view typed_;
  bool nameHint_;
  std::array<Candidate, Predictor::kSuggestions> best_{};
  std::size_t kept_ = 0;
};

// Words to leave out, folded once.
class Predictor::Passed {
 public:
  explicit Passed(std::span<const std::string> words) {
    folded_.reserve(words.size());
    for (const std::string& w : words) folded_.push_back(predict::fold(w));
  }
  bool has(std::string_view key) const {
    return std::find(folded_.begin(), folded_.end(), key) != folded_.end();
  }

 private:
  std::vector<std::string> folded_;
};

}  // namespace osk
