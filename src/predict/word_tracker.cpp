#include "predict/word_tracker.h"

#include <algorithm>
#include <utility>

#include "predict/words.h"

namespace osk {

namespace {

bool isMarkBeforeSpace(char32_t ch) {
  return ch == U'.' || ch == U',' || ch == U'?' || ch == U'!' || ch == U':' || ch == U';';
}

// After these the next word starts a sentence (or a field, or a line): the
// word before says little about it.
bool endsSentence(char32_t ch) {
  return ch == U'.' || ch == U'?' || ch == U'!' || ch == U'\n' || ch == U'\t';
}

// Words offered for fewer letters than this are offered again while they
// still fit: over the first letter the strip changes with every key, and a
// user who types "th" without having looked still expects "the". Passing
// over from the first letter saved more keys on our texts (0.502 against
// 0.496 on the tuning text) but hid the commonest words.
constexpr std::size_t kPassOverFrom = 2;

std::size_t codePoints(std::string_view text) {
  return static_cast<std::size_t>(std::count_if(
      text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0u) != 0x80u; }));
}

}  // namespace

std::string WordTracker::cased(std::string_view form, Shift shift) const {
  if (shift == Shift::Locked || predict::allCapitals(word_)) return predict::upper(form);
  if (word_.empty() ? shift == Shift::Latched : predict::startsWithCapital(word_))
    return predict::capitalised(form);
  return std::string(form);
}

void WordTracker::endWord() {
  if (!word_.empty()) {
    predictor_.learn(previous_, word_);
    previous_ = std::move(word_);
  }
  word_.clear();
  passedOver_.clear();
  shownValid_ = false;
}

std::optional<std::string> WordTracker::typed(char32_t ch) {
  const bool afterSuggestion = std::exchange(afterSuggestion_, false);
  if (afterSuggestion && isMarkBeforeSpace(ch)) {
    if (endsSentence(ch)) previous_.clear();
    // Words and these marks hold no character that the key-string notation
    // reads as anything but itself.
    std::string keys = "{BS}";
    predict::appendUtf8(keys, ch);
    keys += ' ';
    return keys;
  }
  if (predict::isWordCharacter(ch)) {
    // The words shown for the letters so far were passed over.
    if (shownValid_ && codePoints(word_) >= kPassOverFrom)
      passedOver_.insert(passedOver_.end(), shown_.begin(), shown_.end());
    shownValid_ = false;
    predict::appendUtf8(word_, ch);
    return std::nullopt;
  }
  endWord();
  if (endsSentence(ch)) previous_.clear();
  return std::nullopt;
}

void WordTracker::backspace() {
  if (word_.empty() || afterSuggestion_) {
    lost();
    return;
  }
  // Back to the start of the last character.
  std::size_t at = word_.size() - 1;
  while (at > 0 && (static_cast<unsigned char>(word_[at]) & 0xC0u) == 0x80u) --at;
  word_.resize(at);
  shownValid_ = false;
}

void WordTracker::lost() {
  word_.clear();
  previous_.clear();
  passedOver_.clear();
  shownValid_ = false;
  afterSuggestion_ = false;
}

std::vector<std::string> WordTracker::suggestions(Shift shift) {
  if (!shownValid_) {
    shown_ = predictor_.suggest(previous_, word_, passedOver_);
    shownValid_ = true;
  }
  std::vector<std::string> out;
  out.reserve(shown_.size());
  for (const std::string& form : shown_) out.push_back(cased(form, shift));
  return out;
}

std::optional<std::string> WordTracker::choose(std::string_view suggestion, Shift shift) {
  if (!predict::isWord(suggestion)) return std::nullopt;
  const std::string folded = predict::fold(word_);
  if (!predict::fold(suggestion).starts_with(folded)) return std::nullopt;
  const std::string whole = cased(suggestion, shift);
  // The letters already typed stay as they are; the rest follows them.
  std::size_t skip = codePoints(word_);
  std::size_t at = 0;
  while (skip > 0 && at < whole.size()) {
    ++at;
    while (at < whole.size() && (static_cast<unsigned char>(whole[at]) & 0xC0u) == 0x80u) ++at;
    --skip;
  }
  // The word is learned in its usual form, whatever case it was typed in.
  const auto shown = std::find_if(shown_.begin(), shown_.end(), [&](const std::string& form) {
    return predict::fold(form) == predict::fold(suggestion);
  });
  word_ = shownValid_ && shown != shown_.end() ? *shown : std::string(suggestion);
  endWord();
  afterSuggestion_ = true;
  return whole.substr(at) + ' ';
}

}  // namespace osk
