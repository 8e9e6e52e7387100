// The administrator gate: the one check that every send of keys passes
// before the system sees it. Windows drops input to a window of a higher
// integrity level without a word, so a send that went on regardless would
// flash its key, be counted by word prediction as typed, and leave nothing.
#pragma once

#include <chrono>
#include <optional>

#include "base/context.h"
#include "keystring/keystring.h"
#include "platform/desktop.h"

namespace osk {

// Where a send puts its keys.
enum class Aim : unsigned char {
  // The recorded target, brought to the front first; nothing at all while
  // no window is recorded (the send step of ordinary keys).
  RecordedTarget,
  // Whatever window is active now, without activating anything (lock
  // toggles, the Start menu); the gate asks about that window.
  ActiveWindow,
  // The recorded target when there is a real one, otherwise whatever window
  // is active (F keys act even with no target recorded).
  RecordedTargetIfReal,
};

// How long a send may wait for its target to come to the front. A click can
// afford the full wait; a timer tick must leave the window responsive and
// give up well within its own period.
enum class Patience : unsigned char { Click, Tick };
std::chrono::milliseconds patienceOf(Patience patience);
// A tick's patience: the timers that send budget their periods around it.
inline constexpr std::chrono::milliseconds kTickPatience{40};

enum class SendResult : unsigned char {
  Sent,
  ReservedTarget,  // no window, or the command line, is recorded: nothing was tried
  Malformed,       // the key string does not parse
  NotInFront,      // the target is gone or did not come forward in time
  Refused,         // the system refused the input
  AboveKeyboard,   // the system would keep the keys from the window: nothing was tried
};

// What the keyboard knows of a window's standing towards its own keys.
struct Standing {
  Integrity level = Integrity::Unknown;
  ProbeAnswer probe = ProbeAnswer::NotTried;
};

// True when a level cannot say by itself whether the keyboard's keys reach
// a window of that level: the window is then probed.
bool worthProbing(Integrity keyboard, Integrity target);

// Reads `window`'s level, and probes it when the level cannot say.
Standing standingOf(const Desktop& desktop, WindowId window);

// True when the system keeps input of a keyboard at level `keyboard` from a
// window of standing `target`. The system compares levels only: a window
// whose token cannot be read (another account's, at our own level) is kept
// from us only when it refuses the probe too.
bool keptFrom(Integrity keyboard, Standing target);

class Passage;
// The gate: a passage for keys aimed by `aim`, or nothing when the window
// they would go to is one the system keeps them from.
[[nodiscard]] std::optional<Passage> passGate(Context& ctx, Aim aim);

// A send the gate has let through: the only holder of the injector.
class Passage {
 public:
  // Brings the recorded target forward, when the send aims at it, and hands
  // `plan` to the system.
  [[nodiscard]] SendResult inject(const KeyPlan& plan, Patience patience) const;

 private:
  friend std::optional<Passage> passGate(Context& ctx, Aim aim);
  Passage(Context& ctx, bool toTarget) : ctx_(ctx), toTarget_(toTarget) {}

  Context& ctx_;
  bool toTarget_;
};

}  // namespace osk
