// What the typing aids share: how they name a key and how they tell time.
//
// The aids never read a clock or start a timer themselves. The host passes
// the time with every event and asks, after each one, how long it may sleep
// before the next tick; it carries that delay on one of the form's timers.
// Nothing else is needed for the keyboard to cost nothing while idle: an aid
// that has nothing to show or fire asks for no tick at all.
#pragma once

#include <chrono>
#include <cstddef>
#include <optional>

namespace osk::aids {

// A clickable control as the host numbers it (its index in the form, say).
// The aids only compare ids; they never look into them.
using KeyId = std::size_t;

using AidClock = std::chrono::steady_clock;
using Instant = AidClock::time_point;
using Millis = std::chrono::milliseconds;

// The interval for a host timer that must not fire before `due`: whole
// milliseconds rounded up (a timer that fires a moment early would find
// nothing due and cost one more wake-up), and never zero.
inline Millis delayUntil(Instant due, Instant now) {
  if (due <= now) return Millis{1};
  return std::chrono::ceil<Millis>(due - now);
}

}  // namespace osk::aids
