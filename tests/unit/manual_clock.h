// Drives the keyboard's timers from a clock the test moves by hand.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "fakes.h"

namespace osk::testing {

// Models the system's timers as the host uses them: every change a handler
// makes to a running timer reaches the system, and setting a timer that is
// already running starts its period afresh (SetTimer on an existing id), so
// a handler that writes a running timer again postpones its next tick.
class ManualClock final : public FormObserver {
 public:
  // Moves the keyboard's own clock too, when it is a StepClock (the rigs').
  explicit ManualClock(Keyboard& kb)
      : kb_(kb),
        chained_(kb.main().observer()),
        time_(dynamic_cast<StepClock*>(&kb.context().platform.clock)) {
    kb_.main().setObserver(this);
    sync();
  }
  ManualClock(const ManualClock&) = delete;
  ManualClock& operator=(const ManualClock&) = delete;
  ManualClock(ManualClock&&) = delete;
  ManualClock& operator=(ManualClock&&) = delete;
  ~ManualClock() override { kb_.main().setObserver(chained_); }

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
        auto [it, fresh] = due_.try_emplace(t.name, now_ + t.intervalMs);
        if (it->second < when) {
          when = it->second;
          next = t.name;
        }
      }
      if (next.empty()) break;
      now_ = when;
      sync();
      due_[next] = when + kb_.main().findTimer(next)->intervalMs;
      kb_.tick(kb_.main(), next);
    }
    now_ = end;
    sync();
  }
  std::int64_t now() const { return now_; }

  void timerChanged(const Timer& timer) override {
    if (timer.enabled && timer.intervalMs > 0)
      due_[timer.name] = now_ + timer.intervalMs;
    else
      due_.erase(timer.name);
    if (chained_ != nullptr) chained_->timerChanged(timer);
  }
  void controlChanged(const Control& control, Property property) override {
    if (chained_ != nullptr) chained_->controlChanged(control, property);
  }
  void geometryChanged(const Geometry& geometry) override {
    if (chained_ != nullptr) chained_->geometryChanged(geometry);
  }
  void aidMarksChanged(const AidMarks& before, const AidMarks& after) override {
    if (chained_ != nullptr) chained_->aidMarksChanged(before, after);
  }

 private:
  Keyboard& kb_;
  FormObserver* chained_;
  StepClock* time_;
  void sync() {
    if (time_ != nullptr) time_->at = Clock::Instant{} + std::chrono::milliseconds(now_);
  }

  std::int64_t now_ = 0;
  std::map<std::string, std::int64_t> due_;
};

}  // namespace osk::testing
