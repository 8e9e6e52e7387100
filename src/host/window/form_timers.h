// The form's timers as window timers: the timer at index i of the form ticks
// as window timer i + 1. A timer the system refuses to start is tried again
// at the window's next tick, so that one refused for a moment (the system
// short of memory) still starts.
#pragma once

#include <windows.h>

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "layout/model.h"
#include "platform/texts.h"

namespace osk::win32 {

class FormTimers {
 public:
  // `texts` word a refusal; they outlive the timers.
  explicit FormTimers(const Texts& texts) : texts_(texts) {}

  // The index in the form's timers of a WM_TIMER's id; none when the id is
  // not one of theirs.
  static std::optional<std::size_t> indexOf(WPARAM id, std::size_t timerCount);

  // Starts, restarts or stops the window timer of timer `index` as the
  // model has it. A refusal is logged and kept; once the window is `shown`
  // it also sounds, since something the user asked for does not run yet.
  void apply(HWND window, std::size_t index, const Timer& timer, bool shown);
  void retryRefused(HWND window, const std::vector<Timer>& timers);
  static void stopAll(HWND window, std::size_t timerCount);

  // Why the first timer still refused could not start; null when none is.
  const std::string* refusal() const { return refused_.empty() ? nullptr : &refused_.begin()->second; }

 private:
  const Texts& texts_;
  std::map<UINT_PTR, std::string> refused_;
};

}  // namespace osk::win32
