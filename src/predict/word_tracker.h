// Follows what the keyboard types into the current target, for word
// prediction: the letters of the word being typed, the word before it, the
// words offered so far, and what to type when a suggestion is chosen.
//
// It sees only the keyboard's own keys, so anything that may have moved the
// caret unseen (a navigation key, stored text, a change of target) makes it
// forget the word and its context: lost(). From then on until the keyboard
// types something that ends a word, the letters it types may continue a
// word it never saw begin: such a word is never learned, and the word after
// it is learned without a pair. Nor does it know whether a sentence starts
// there, so it capitalises nothing (it starts in that state too).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "predict/predictor.h"

namespace osk {

// What the letter keys would type next. The Shift lock is not here: it
// locks the symbols, never the letters.
struct LetterCase {
  bool shift = false;     // latched for the next key only
  bool capsLock = false;  // every letter after that one too
};

class WordTracker {
 public:
  using Case = LetterCase;

  explicit WordTracker(Predictor& predictor) : predictor_(predictor) {}

  // A character the keyboard has typed, or is about to type, into the target:
  // '\n' for Enter, '\t' for Tab. Words typed to their end are learned.
  //
  // A full stop, comma, question or exclamation mark, colon or semicolon
  // that comes right after a chosen suggestion belongs to that word, before
  // the space the suggestion typed: then the result is the key string to
  // send instead of the character (Backspace, the mark, a space), and the
  // text reads "word. " as if the mark had been typed before the space.
  std::optional<std::string> typed(char32_t ch);
  // Backspace: takes back the word's last letter, and with it the words
  // that letter passed over; before any letter the text before the caret
  // is no longer known.
  void backspace();
  // The caret may have moved unseen, or another window is the target.
  void lost();
  // A dead key went in: the next key composes with its accent in the
  // target, so nothing is offered, nor chosen, until that key comes, and a
  // mark after it no longer follows a suggestion.
  void accentWaits();
  // Something not known went into the target: the word it falls in ends
  // unlearned, and so do the letters after it up to that word's end, which
  // are only its tail; nothing is offered meanwhile.
  void typedUnknown();

  // The words to offer now, in the case the letter keys would type them:
  // the letters typed so far as they are, the next one with Shift or Caps
  // Lock (not both), the rest with Caps Lock. Words offered for an earlier
  // prefix of two or more letters of the same word and passed over (a
  // letter was typed instead) are not offered again.
  std::vector<std::string> suggestions(Case letterCase = {});
  // The key string that completes the current word as `suggestion` (one of
  // the words offered) and types a space after it; nothing when
  // `suggestion` does not continue the letters typed so far. The letters
  // already typed stay as they are. The word is learned in its usual form.
  std::optional<std::string> choose(std::string_view suggestion, Case letterCase = {});

  // The letters typed since the word began, and the word before them
  // (empty at the start of a sentence, nothing when not known).
  const std::string& word() const { return word_; }
  const std::optional<std::string>& previous() const { return previous_; }

 private:
  void endWord();
  void endedBy(char32_t ch);
  void startSentence();
  bool atSentenceStart() const { return word_.empty() && previous_ && previous_->empty(); }
  std::string cased(std::string_view form, Case letterCase) const;

  Predictor& predictor_;
  std::string word_;
  std::optional<std::string> previous_;
  std::string beforePrevious_;  // the word before previous_ in its sentence; empty if none
  // The word being typed may have begun before the keyboard saw it.
  bool fragment_ = true;
  std::vector<std::string> passedOver_;  // offered for this word, not taken
  // How many of passedOver_ each letter of the word added, so that a
  // Backspace offers them again.
  std::vector<std::size_t> passedPerLetter_;
  std::vector<std::string> shown_;  // offered for the current letters
  bool shownValid_ = false;
  bool afterSuggestion_ = false;  // the last keys were a suggestion's
  bool accentWaiting_ = false;    // a dead key went in, its letter not yet
  bool inUnknownWord_ = false;    // the letters typed belong to a word not known
};

}  // namespace osk
