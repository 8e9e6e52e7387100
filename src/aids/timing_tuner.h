// Timing that follows the user: the scan step from the user's own presses,
// and the hover rest from the hover clicks the user keeps or undoes.
//
// Both learn only from what the keyboard sees: when an item lit, when the
// press that picked it came, and whether the next click was Backspace (a
// pick undone at once, which is how a person corrects a wrong key).
//
// Why these rules:
// - Clinical tuning of a switch user sets the step near the reaction time
//   divided by 0.65, roughly the mean plus two spreads: long enough that
//   nearly every press lands while its item is still lit.
// - A press that came after its item had gone is measured from the next
//   item's light and looks quick: one sooner than anybody reacts counts as
//   late for the item before, and as a miss. While more than a quarter of
//   the picks are misses or undone at once, the step only grows, whatever
//   the reaction times say.
// - The step moves by at most a twentieth of itself per press, so a user
//   feels no jump, and never leaves the range a person can use.
// - A hover rest shortens a little with every click kept and grows with
//   every one undone. A key that is unlikely never clicks sooner than the
//   user's own setting.
// - Keys that word prediction makes likely next rest for less, but a
//   pointer that lands on a likely key by a slip must still have time to
//   move on before it clicks. So the likely rest is set by the clinical
//   rule above from how long this person takes to leave a key that was not
//   the one wanted (rests given up before their click, sooner ones being
//   the pointer passing over), and stays the user's own until a few have
//   been seen. A slip that clicks anyway says they need longer. Never below
//   half the user's own rest.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "aids/aid_settings.h"
#include "aids/aid_time.h"
#include "aids/dwell_clicker.h"

namespace osk::aids {

// Nobody presses this soon after a light appears: such a press was meant
// for the item lit before, which went out a moment earlier. With tuning on
// the scanner picks that item (Scanner::setGrace), which is what lets the
// tuned step come close to the user's reaction time without costing them
// the presses that come a moment late.
inline constexpr Millis kLatePressGrace{200};

// How many presses the scan tuner waits for before it moves the step, and
// rests given up the hover tuner waits for before likely keys rest for less:
// one says little about a person.
inline constexpr int kTunerWarmUp = 5;

// Tells a click undone at once from one that was kept: the click right after
// a click that was not Backspace undoes it when it is Backspace.
class UndoWatch {
 public:
  // True when this click undoes the one before it.
  bool clicked(bool backspace) {
    const bool undoes = backspace && lastKept_;
    lastKept_ = !backspace;
    return undoes;
  }

 private:
  bool lastKept_ = false;
};

class ScanStepTuner {
 public:
  // Starts from the step in use (the stored tuned one, or the user's own).
  explicit ScanStepTuner(Millis step);

  // A press picked the item that had been lit for `reaction`.
  void picked(Millis reaction);
  // A key was clicked by a press; `backspace`: the key was Backspace.
  void clicked(bool backspace);

  Millis step() const;
  // The share of recent picks missed or undone at once.
  double errorRate() const { return errors_; }

 private:
  double step_;
  double meanReaction_ = 0;
  int presses_ = 0;
  double errors_ = 0;
  UndoWatch undo_;
};

class DwellTuner {
 public:
  // `own`: the user's rest (DWELL_TIME_MS); `tuned`: the rest in use;
  // `leaving`: what an earlier run learned of the rests given up, if it saw
  // enough of them (leaving()).
  DwellTuner(Millis own, Millis tuned, std::optional<Millis> leaving = std::nullopt);

  // A hover click; `backspace`: the key was Backspace.
  void clicked(bool backspace);
  // The pointer left a key whose rest had run for `ran` without clicking.
  void movedOn(Millis ran);

  // The tuned rest, as stored in DWELL_TIME_TUNED_MS and shown: that of
  // every key that is not likely.
  Millis rest() const;
  // The rest of one key: likely keys (those word prediction expects next)
  // rest for less.
  Millis restFor(bool likely) const;
  // How long this user takes to leave a key they did not want, once enough
  // rests given up have been seen to judge by; kept so that a restart goes
  // on from it.
  std::optional<Millis> leaving() const;

 private:
  double own_;
  // May run below the user's own rest: a long run of kept clicks then
  // absorbs a single undone one, and only undone clicks close together
  // lengthen the rest of every key.
  double rest_;
  double leaving_ = 0;  // running mean of the rests given up
  int left_ = 0;
  UndoWatch undo_;
};

// Hands `dwell`'s rests to `tuner` (each key's rest, and what the rests
// given up say), with `likely` telling which keys prediction expects next;
// nothing: every key rests the options' time again. The keyboard and the
// simulated user both tune through this, so they cannot differ in how.
void followTuner(DwellClicker& dwell, DwellTuner* tuner, std::function<bool(KeyId)> likely = nullptr);

// The letters word prediction expects next: for each suggestion that
// continues the letters typed so far (compared without case), its next
// letter, lower case. Nothing when no suggestion continues the word.
std::vector<char> likelyNextLetters(std::string_view typedWord, const std::vector<std::string>& suggestions);

// Whether a scan after a click starts at the suggestion strip or at the
// keys: at the strip once this many letters of a word are typed. Before the
// first letter the strip guesses a whole next word, which is seldom right,
// and every letter would then cost a step more.
inline constexpr std::size_t kStripFirstAfterLetters = 1;
inline bool scanStripFirst(std::size_t lettersTyped) { return lettersTyped >= kStripFirstAfterLetters; }

}  // namespace osk::aids
