// Drives the keyboard's timers from a clock the test moves by hand.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "app/keyboard.h"

namespace osk::testing {

class ManualClock {
 public:
  explicit ManualClock(Keyboard& kb) : kb_(kb) {}

  // Advances time, firing every enabled timer whenever its interval elapses,
  // in time order (ties in the form's timer order), as a message loop would.
  void advance(std::int64_t ms) {
    const std::int64_t end = now_ + ms;
    for (;;) {
      std::string next;
      std::int64_t when = end + 1;
      for (const Timer& t : kb_.main().timers()) {
        if (!t.enabled || t.intervalMs <= 0) {
          due_.erase(t.name);
          continue;
        }
        // A restarted timer counts its interval from the restart, as
        // SetTimer on a running timer does.
        auto [restarts, seen] = restarts_.try_emplace(t.name, t.restarts);
        if (restarts->second != t.restarts) {
          restarts->second = t.restarts;
          due_.erase(t.name);
        }
        auto [it, fresh] = due_.try_emplace(t.name, now_ + t.intervalMs);
        if (it->second < when) {
          when = it->second;
          next = t.name;
        }
      }
      if (next.empty()) break;
      now_ = when;
      due_[next] = when + kb_.main().timer(next).intervalMs;
      kb_.tick(next);
    }
    now_ = end;
  }
  std::int64_t now() const { return now_; }

 private:
  Keyboard& kb_;
  std::int64_t now_ = 0;
  std::map<std::string, std::int64_t> due_;
  std::map<std::string, unsigned> restarts_;
};

}  // namespace osk::testing
