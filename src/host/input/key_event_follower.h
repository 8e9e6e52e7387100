// Follows key events anywhere on the desktop and turns each run of them into
// one tick of a form's timer, so that key faces and lock lights follow keys
// pressed in other programs without the keyboard polling for them.
//
// Raw input with RIDEV_INPUTSINK reports every key of the desktop to the
// window, whichever window has the focus, without a hook: the system never
// waits for this program before it passes a key on. Checked under Wine 8
// with keys injected by another program while a third had the focus: each
// press and release arrives, and GetKeyState already shows a toggled Caps
// Lock when its WM_INPUT comes.
#pragma once

#include <windows.h>

#include <optional>

#include "layout/model.h"

namespace osk::win32 {

class KeyEventFollower {
 public:
  // Starts following for `window`, ticking `timer`; false (logged) when the
  // system refuses.
  [[nodiscard]] bool follow(HWND window, TimerIndex timer);
  // The timer whose tick follows key events; none when not following.
  std::optional<TimerIndex> timer() const { return timer_; }

  // A WM_INPUT arrived: the tick waits for the end of the run.
  void keyEvent(HWND window) const;
  // True when a WM_TIMER with this id is the tick after a run of key
  // events; the tick is then due and not repeated.
  static bool isTick(HWND window, WPARAM timerId);
  // Stops following; at the window's destruction.
  void stop(HWND window);

 private:
  std::optional<TimerIndex> timer_;
};

}  // namespace osk::win32
