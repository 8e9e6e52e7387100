// The time as the keyboard's timed behaviour reads it. Handlers never call a
// clock themselves, so tests can move time by hand.
#pragma once

#include <chrono>

namespace osk {

class Clock {
 public:
  using Instant = std::chrono::steady_clock::time_point;
  virtual ~Clock() = default;
  virtual Instant now() const = 0;
};

// The monotonic clock of the system, which needs nothing of the host.
inline Clock& steadyClock() {
  class Steady final : public Clock {
   public:
    Instant now() const override { return std::chrono::steady_clock::now(); }
  };
  static Steady clock;
  return clock;
}

}  // namespace osk
