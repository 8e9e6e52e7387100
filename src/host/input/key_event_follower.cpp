#include "host/input/key_event_follower.h"

#include "host/common/failure.h"

namespace osk::win32 {

namespace {

// Keyboards as raw input devices: the generic desktop page's keyboard usage.
constexpr USHORT kGenericDesktopPage = 0x01;
constexpr USHORT kKeyboardUsage = 0x06;
// Above every id the form's own timers take (1 to their count).
constexpr UINT_PTR kKeyEventTimerId = 0x7F00;
// Long enough to run after the last event of a burst of injected keys, which
// reach this window within a millisecond of each other; short enough that a
// lock light follows its key at once to the eye.
constexpr UINT kKeyEventDelayMs = 15;

}  // namespace

bool KeyEventFollower::follow(HWND window, TimerIndex timer) {
  RAWINPUTDEVICE device{kGenericDesktopPage, kKeyboardUsage, RIDEV_INPUTSINK, window};
  if (!::RegisterRawInputDevices(&device, 1, sizeof device)) {
    logFailure("key events cannot be followed; the faces are refreshed by their timer", ::GetLastError());
    return false;
  }
  timer_ = timer;
  return true;
}

void KeyEventFollower::keyEvent(HWND window) const {
  // Key events come in runs (a typed text, a chord, an auto-repeat); the
  // timer restarts at each, and a timer message is handed out only once no
  // input is waiting, so a run costs one tick, after its end.
  if (timer_ && ::SetTimer(window, kKeyEventTimerId, kKeyEventDelayMs, nullptr) == 0)
    logFailure("the tick after a key event could not be set", ::GetLastError());
}

bool KeyEventFollower::isTick(HWND window, WPARAM timerId) {
  if (timerId != kKeyEventTimerId) return false;
  ::KillTimer(window, kKeyEventTimerId);
  return true;
}

void KeyEventFollower::stop(HWND window) {
  if (!timer_) return;
  ::KillTimer(window, kKeyEventTimerId);
  RAWINPUTDEVICE off{kGenericDesktopPage, kKeyboardUsage, RIDEV_REMOVE, nullptr};
  if (!::RegisterRawInputDevices(&off, 1, sizeof off))
    logFailure("the key events could not be given up", ::GetLastError());
  timer_.reset();
}

}  // namespace osk::win32
