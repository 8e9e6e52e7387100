// Fading the keyboard while it is not in use: after a wait with the pointer
// elsewhere the keyboard turns partly see-through, so the text under it
// shows, and it is whole again the moment the pointer comes over it.
//
// Like the other aids it never reads a clock or starts a timer: the host
// passes the time with every event and carries wakeIn() on a one-shot
// timer. A faded keyboard asks for no wake-up at all; only a move of the
// pointer over it brings it back.
#pragma once

#include <optional>

#include "aids/aid_time.h"

namespace osk::aids {

struct FadeOptions {
  bool on = false;
  int opacity = 40;  // percent of full, while faded
  Millis wait{3000};
  friend bool operator==(const FadeOptions&, const FadeOptions&) = default;
};

class Fader {
 public:
  // How often the pointer is looked for while it was last seen over the
  // keyboard: a leave the system does not report is noticed this late.
  static constexpr Millis kLookAgain{1000};

  // The wait starts afresh from `now`.
  void setOptions(const FadeOptions& options, Instant now);
  // While held (scanning runs) the keyboard stays whole: a switch user's
  // pointer is never over it. Released, the wait starts from `now`.
  void setHeld(bool held, Instant now);
  // The pointer moved over the keyboard: whole at once.
  void pointerOver(Instant now);
  // The pointer left the keyboard: the wait starts.
  void pointerLeft(Instant now);
  // The wake-up asked for by wakeIn() came; `over` says whether the
  // pointer is over the keyboard now.
  void tick(Instant now, bool over);

  // Whether the window is to be layered at all: only while fading is on.
  bool layered() const { return options_.on; }
  // Percent of full opacity the window is to have now.
  int opacity() const { return faded_ ? options_.opacity : 100; }
  bool faded() const { return faded_; }
  // The pointer was last known over the keyboard.
  bool over() const { return over_; }
  // Nothing when no tick is needed: off, held, or already faded.
  std::optional<Millis> wakeIn(Instant now) const;

 private:
  FadeOptions options_;
  bool held_ = false;
  bool faded_ = false;
  bool over_ = false;
  // When the pointer was last known over the keyboard, or the wait began.
  Instant since_{};
};

}  // namespace osk::aids
