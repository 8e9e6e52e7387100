// Drives one typing aid through time by hand, as the host's one-shot timer
// would: after every event the aid says how long it may sleep, and the clock
// ticks it then (or `late` after, as a busy message loop might).
#pragma once

#include <optional>
#include <type_traits>

#include "aids/aid_time.h"

namespace osk::testing {

template <class Aid>
class AidClock {
 public:
  explicit AidClock(Aid& aid, aids::Millis late = aids::Millis{0}) : aid_(aid), late_(late) {}

  aids::Instant now() const { return now_; }
  long long ms() const { return std::chrono::duration_cast<aids::Millis>(now_ - aids::Instant{}).count(); }
  int ticks() const { return ticks_; }
  bool asleep() const { return !due_; }

  // Moves time to `ms` since the start, delivering every tick due before it.
  // `onTick` gets each tick's result.
  template <class OnTick>
  void advanceTo(long long ms, OnTick onTick) {
    const aids::Instant end = aids::Instant{} + aids::Millis{ms};
    while (due_ && *due_ <= end) {
      now_ = *due_;
      ++ticks_;
      if constexpr (std::is_void_v<decltype(aid_.tick(now_))>)
        aid_.tick(now_);
      else
        onTick(aid_.tick(now_));
      rearm();
    }
    now_ = end;
  }
  // Call after every event fed to the aid, as the host sets its timer.
  void rearm() {
    const std::optional<aids::Millis> wait = aid_.wakeIn(now_);
    due_.reset();
    if (wait) due_ = now_ + *wait + late_;
  }

 private:
  Aid& aid_;
  aids::Millis late_;
  aids::Instant now_{};
  std::optional<aids::Instant> due_;
  int ticks_ = 0;
};

}  // namespace osk::testing
