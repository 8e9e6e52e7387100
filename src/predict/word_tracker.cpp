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

// The byte at which the code point `n` of `text` starts (its size when
// `text` is shorter).
std::size_t byteOfCodePoint(std::string_view text, std::size_t n) {
  std::size_t at = 0;
  while (n > 0 && at < text.size()) {
    ++at;
    while (at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0u) == 0x80u) ++at;
    --n;
  }
  return at;
}

}  // namespace

std::string WordTracker::cased(std::string_view form, Case letterCase) const {
  // The letters typed so far, in the case they were typed in.
  const std::size_t typedEnd = byteOfCodePoint(form, codePoints(word_));
  std::string head(form.substr(0, typedEnd));
  if (predict::allCapitals(word_)) {
    head = predict::upper(head);
  } else if (predict::startsWithCapital(word_)) {
    head = predict::capitalised(head);
  }
  // The rest as the letter keys would type it: the next letter with Shift
  // or Caps Lock but not both, the letters after it with Caps Lock. A word
  // begun in capitals goes on in them, however they were typed.
  const bool goOnInCapitals = predict::allCapitals(word_);
  const std::string_view tail = form.substr(typedEnd);
  const std::size_t nextEnd = byteOfCodePoint(tail, 1);
  const std::string_view next = tail.substr(0, nextEnd);
  const std::string_view after = tail.substr(nextEnd);
  // A sentence the keyboard saw end starts with a capital, as a latched
  // Shift would type it; Shift under Caps Lock still asks for a small one.
  const bool sentenceCapital = atSentenceStart() && !letterCase.shift && !letterCase.capsLock;
  const bool nextCapital = goOnInCapitals || sentenceCapital || letterCase.shift != letterCase.capsLock;
  const bool afterCapitals = goOnInCapitals || letterCase.capsLock;
  head += nextCapital ? predict::upper(next) : std::string(next);
  head += afterCapitals ? predict::upper(after) : std::string(after);
  return head;
}

void WordTracker::endWord() {
  if (!word_.empty()) {
    if (fragment_) {
      // Perhaps the tail of a word: neither learned nor a context.
      previous_.reset();
      beforePrevious_.clear();
    } else {
      predictor_.learn(previous_, word_);
      beforePrevious_ = previous_.value_or(std::string());
      previous_ = std::move(word_);
    }
  }
  fragment_ = false;
  word_.clear();
  passedOver_.clear();
  passedPerLetter_.clear();
  shownValid_ = false;
}

std::optional<std::string> WordTracker::typed(char32_t ch) {
  const bool afterSuggestion = std::exchange(afterSuggestion_, false);
  accentWaiting_ = false;
  if (inUnknownWord_) {
    inUnknownWord_ = predict::isWordCharacter(ch);
    // The next word starts here, seen; what came before is not known.
    if (!inUnknownWord_) endedBy(ch);
    return std::nullopt;
  }
  if (afterSuggestion && isMarkBeforeSpace(ch)) {
    if (endsSentence(ch)) startSentence();
    // Words and these marks hold no character that the key-string notation
    // reads as anything but itself.
    std::string keys = "{BS}";
    predict::appendUtf8(keys, ch);
    keys += ' ';
    return keys;
  }
  if (predict::isWordCharacter(ch)) {
    // The words shown for the letters so far were passed over.
    const bool passing = shownValid_ && codePoints(word_) >= kPassOverFrom;
    if (passing) passedOver_.insert(passedOver_.end(), shown_.begin(), shown_.end());
    passedPerLetter_.push_back(passing ? shown_.size() : 0);
    shownValid_ = false;
    predict::appendUtf8(word_, ch);
    return std::nullopt;
  }
  endWord();
  endedBy(ch);
  return std::nullopt;
}

void WordTracker::endedBy(char32_t ch) {
  fragment_ = false;
  if (endsSentence(ch)) startSentence();
}

void WordTracker::startSentence() {
  previous_.emplace();
  beforePrevious_.clear();
}

void WordTracker::backspace() {
  accentWaiting_ = false;
  // Still inside the word that is not known.
  if (inUnknownWord_) return;
  if (word_.empty() || afterSuggestion_) {
    lost();
    return;
  }
  // Back to the start of the last character.
  std::size_t at = word_.size() - 1;
  while (at > 0 && (static_cast<unsigned char>(word_[at]) & 0xC0u) == 0x80u) --at;
  word_.resize(at);
  // What this letter passed over is offered again: the letter it was passed
  // over for is gone.
  if (!passedPerLetter_.empty()) {
    const std::size_t added = passedPerLetter_.back();
    passedPerLetter_.pop_back();
    passedOver_.resize(passedOver_.size() - std::min(added, passedOver_.size()));
  }
  shownValid_ = false;
}

void WordTracker::lost() {
  word_.clear();
  previous_.reset();
  beforePrevious_.clear();
  fragment_ = true;
  passedOver_.clear();
  passedPerLetter_.clear();
  shownValid_ = false;
  afterSuggestion_ = false;
  accentWaiting_ = false;
  inUnknownWord_ = false;
}

void WordTracker::accentWaits() {
  afterSuggestion_ = false;
  accentWaiting_ = true;
}

void WordTracker::typedUnknown() {
  // Learned here, the letters before would be a fragment of the word.
  lost();
  inUnknownWord_ = true;
}

std::vector<std::string> WordTracker::suggestions(Case letterCase) {
  // Whatever a suggestion typed now would land after what is not known.
  if (accentWaiting_ || inUnknownWord_) return {};
  if (!shownValid_) {
    shown_ = predictor_.suggest(previous_, word_, passedOver_, beforePrevious_);
    shownValid_ = true;
  }
  std::vector<std::string> out;
  out.reserve(shown_.size());
  for (const std::string& form : shown_) out.push_back(cased(form, letterCase));
  return out;
}

std::optional<std::string> WordTracker::choose(std::string_view suggestion, Case letterCase) {
  if (!predict::isWord(suggestion) || accentWaiting_ || inUnknownWord_) return std::nullopt;
  const std::string folded = predict::fold(word_);
  if (!predict::fold(suggestion).starts_with(folded)) return std::nullopt;
  const std::string whole = cased(suggestion, letterCase);
  // The letters already typed stay as they are; the rest follows them.
  // Unless the strip shows them otherwise ("I" for a typed "i", a name's
  // capital): then they are taken back and the word is typed as shown.
  const std::size_t typed = codePoints(word_);
  const std::size_t at = byteOfCodePoint(whole, typed);
  std::string retyped;
  if (whole.compare(0, at, word_) != 0)
    for (std::size_t i = 0; i < typed; ++i) retyped += "{BS}";
  // The word is learned in its usual form, whatever case it was typed in.
  const auto shown = std::find_if(shown_.begin(), shown_.end(), [&](const std::string& form) {
    return predict::fold(form) == predict::fold(suggestion);
  });
  word_ = shownValid_ && shown != shown_.end() ? *shown : std::string(suggestion);
  endWord();
  afterSuggestion_ = true;
  return retyped.empty() ? whole.substr(at) + ' ' : retyped + whole + ' ';
}

}  // namespace osk
