// Hover clicking: a key clicks itself when the pointer rests on it for the
// dwell time. The host feeds pointer events and ticks with the time; this
// decides when a rest starts, how far it has run, and when it clicks.
//
// Rules, each chosen for people who point with a head mouse, an eye tracker
// or an unsteady hand:
// - A rest survives wandering within `restRadius` pixels of where it began;
//   a move further away starts it afresh, so passing over keys (however
//   slowly) types nothing until the pointer stops.
// - A key clicks once per visit: after its click it waits for the pointer to
//   leave it, however long the pointer stays. A click by other means (the
//   mouse button) counts as the visit's click, so it is never doubled.
// - While paused, only the pause key rests, so the user can resume without
//   hands.
// - Outside the keyboard, on no key, and on a key that already clicked,
//   nothing runs and no tick is asked for.
#pragma once

#include <functional>
#include <optional>
#include <utility>

#include "aids/aid_time.h"

namespace osk::aids {

// A position in the keyboard's client area, in pixels.
struct PointerAt {
  int x = 0;
  int y = 0;
};

struct DwellOptions {
  Millis dwellTime{1000};
  // How far the pointer may wander and still rest; the host scales it with
  // the screen's DPI.
  int restRadius = 4;
  // How often a running rest asks to be repainted: fine enough for the fill
  // to grow smoothly, coarse enough to cost nothing worth measuring.
  Millis paintStep{50};
};

// What the host paints on top of the key's own face.
struct DwellFace {
  std::optional<KeyId> key;  // the key whose rest is running, if any
  double progress = 0;       // 0 .. 1: how much of the face the fill covers
  friend bool operator==(const DwellFace&, const DwellFace&) = default;
};

class DwellClicker {
 public:
  explicit DwellClicker(DwellOptions options) : options_(options) {}

  // Each event returns the key to click, if a rest completed. A rest that
  // completed before the event is clicked even when the event ends it: the
  // pointer did rest the whole time, only the host's tick came late.

  // The pointer moved to `at`, over `key` (nothing: over no clickable key).
  std::optional<KeyId> moved(Instant now, PointerAt at, std::optional<KeyId> key);
  // The pointer left the keyboard.
  std::optional<KeyId> left(Instant now);
  // The host's timer fired; a tick early or late, or with nothing running,
  // is harmless.
  std::optional<KeyId> tick(Instant now);
  // `key` was clicked some other way while the pointer is on it.
  void clickedOtherwise(KeyId key);

  // The key that toggles pausing; the host routes its clicks (by hover or
  // otherwise) to setPaused.
  void setPauseKey(std::optional<KeyId> key);
  // A pause stops a running rest on any key but the pause key. A resume
  // takes effect at the next move.
  void setPaused(bool paused);
  bool paused() const { return paused_; }
  // Applies to rests that start from now on.
  void setOptions(DwellOptions options) { options_ = options; }
  // A rest of its own for each key (likely keys rest for less); nothing:
  // every key rests for the options' dwell time. Applies to rests that start
  // from now on.
  void setRestFor(std::function<Millis(KeyId)> restFor) { restFor_ = std::move(restFor); }
  // Told how long a rest had run when the pointer left its key before it
  // clicked: how long this person takes to see a key is not the one wanted.
  void setMovedOn(std::function<void(Millis ran)> movedOn) { movedOn_ = std::move(movedOn); }

  DwellFace face(Instant now) const;
  // How long the host may sleep before the next tick; nothing when no rest
  // runs. Ticks fall on the paint steps and exactly on the click.
  std::optional<Millis> wakeIn(Instant now) const;

 private:
  enum class Phase : unsigned char {
    Off,      // outside, on no key, or on a key that may not rest (paused)
    Resting,  // a rest runs on key_
    Spent,    // key_ clicked this visit; waits for the pointer to leave it
  };

  std::optional<KeyId> settle(Instant now);
  void leaveKey(Instant now);
  void restFrom(Instant now, PointerAt at);
  bool mayRest(KeyId key) const { return !paused_ || key == pauseKey_; }
  Instant due() const { return since_ + runFor_; }

  DwellOptions options_;
  Phase phase_ = Phase::Off;
  std::optional<KeyId> key_;
  PointerAt anchor_;
  Instant since_;
  Millis runFor_{};  // the dwell time of the running rest
  std::function<Millis(KeyId)> restFor_;
  std::function<void(Millis)> movedOn_;
  std::optional<KeyId> pauseKey_;
  bool paused_ = false;
};

}  // namespace osk::aids
