#include "host/input/input_elsewhere.h"

#include <array>

#include "host/common/failure.h"
#include "host/input/switch_hook.h"
#include "predict/caret_keys.h"

namespace osk::win32 {

namespace {

constexpr USHORT kGenericDesktopPage = 0x01;
constexpr USHORT kMouseUsage = 0x02;
constexpr USHORT kKeyboardUsage = 0x06;

constexpr USHORT kButtonsDown = RI_MOUSE_LEFT_BUTTON_DOWN | RI_MOUSE_RIGHT_BUTTON_DOWN |
                                RI_MOUSE_MIDDLE_BUTTON_DOWN | RI_MOUSE_BUTTON_4_DOWN | RI_MOUSE_BUTTON_5_DOWN;

// Above the key event follower's tick (0x7F00) and every form timer.
constexpr UINT_PTR kPauseTimerId = 0x7F01;
// Long enough that a moving pointer costs a few messages a second instead
// of 125; short against the time a hand takes to go from the text to the
// keyboard, and the keyboard catches up before it types anyway.
constexpr UINT kPauseMs = 250;
// The target may still be taking in the keys this program just sent, moving
// its caret; a pause begun then would take that for the user's doing.
constexpr DWORD kOwnKeysSettleMs = 200;

bool ours(HWND window) {
  DWORD process = 0;
  return window != nullptr && ::GetWindowThreadProcessId(window, &process) != 0 &&
         process == ::GetCurrentProcessId();
}

// Where the pointer was when the button went down, not where it is now.
HWND windowUnderMessagePoint() {
  const DWORD pos = ::GetMessagePos();
  const POINT pt{static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
  return ::WindowFromPoint(pt);
}

}  // namespace

bool InputElsewhere::registerMouse(HWND window, bool on) {
  // Keys are registered again with the mouse: the same flags as the key
  // events' own registration, so whichever comes first, both hold.
  if (on) {
    const std::array<RAWINPUTDEVICE, 2> devices{
        {{kGenericDesktopPage, kMouseUsage, RIDEV_INPUTSINK, window},
         {kGenericDesktopPage, kKeyboardUsage, RIDEV_INPUTSINK, window}}};
    return ::RegisterRawInputDevices(devices.data(), static_cast<UINT>(devices.size()),
                                     sizeof(RAWINPUTDEVICE)) != FALSE;
  }
  const RAWINPUTDEVICE off{kGenericDesktopPage, kMouseUsage, RIDEV_REMOVE, nullptr};
  return ::RegisterRawInputDevices(&off, 1, sizeof off) != FALSE;
}

bool InputElsewhere::follow(HWND window, bool on) {
  if (on == following_) return true;
  if (on) {
    if (!registerMouse(window, true)) {
      logFailure("the user's own typing and clicks cannot be followed", ::GetLastError());
      return false;
    }
  } else if (paused_) {
    // The mouse is given up already.
    if (::KillTimer(window, kPauseTimerId) == FALSE)
      logFailure("the pause in following the mouse could not be ended", ::GetLastError());
    paused_ = false;
  } else if (!registerMouse(window, false)) {
    logFailure("the mouse could not be given up", ::GetLastError());
  }
  following_ = on;
  return true;
}

std::optional<InputElsewhere::Caret> InputElsewhere::caretOf(DWORD thread) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (thread == 0 || ::GetGUIThreadInfo(thread, &info) == FALSE) {
    if (!toldNoCaret_) logFailure("the caret of the program in front cannot be read", ::GetLastError());
    toldNoCaret_ = true;
    return std::nullopt;
  }
  return Caret{thread, info.hwndFocus, info.hwndCaret, info.rcCaret};
}

bool InputElsewhere::same(const Caret& a, const Caret& b) {
  return a.thread == b.thread && a.focus == b.focus && a.caret == b.caret &&
         ::EqualRect(&a.place, &b.place) != FALSE;
}

// Only while another program is in front, and one whose caret can be
// compared: a program that draws its own shows no system caret, and a click
// that moves its caret would go unseen. Otherwise, or refused by the
// system, the pause does not begin: the mouse goes on being followed move
// by move, and the next try waits as long as a pause would (a pause ended
// early by the keyboard's own timers may begin again at the next move).
void InputElsewhere::pause(HWND window) {
  const DWORD at = ::GetTickCount();
  if (at - lastRefused_ < kPauseMs) return;
  HWND front = ::GetForegroundWindow();
  const std::optional<Caret> now =
      front == nullptr || ours(front) ? std::nullopt : caretOf(::GetWindowThreadProcessId(front, nullptr));
  if (!now || now->caret == nullptr) {
    lastRefused_ = at;
    return;
  }
  if (!registerMouse(window, false)) {
    logFailure("the mouse could not be given up for a moment", ::GetLastError());
    return;
  }
  if (::SetTimer(window, kPauseTimerId, kPauseMs, nullptr) == 0) {
    logFailure("the pause in following the mouse has no timer", ::GetLastError());
    if (!registerMouse(window, true)) logFailure("the mouse cannot be followed again", ::GetLastError());
    return;
  }
  pausedIn_ = front;
  before_ = *now;
  paused_ = true;
}

// The program that was in front is asked again, whoever is in front now:
// a click on the keyboard (the pointer is over it by then) brings the
// keyboard forward, which is no input elsewhere; another program in front
// is.
bool InputElsewhere::catchUp(HWND window) {
  if (!paused_) return false;
  paused_ = false;
  if (::KillTimer(window, kPauseTimerId) == FALSE)
    logFailure("the pause in following the mouse could not be ended", ::GetLastError());
  if (!registerMouse(window, true)) logFailure("the mouse cannot be followed again", ::GetLastError());
  HWND front = ::GetForegroundWindow();
  if (front != pausedIn_ && !ours(front)) return true;
  const std::optional<Caret> now = caretOf(before_.thread);
  return !now || !same(*now, before_);
}

bool InputElsewhere::mayLeadToTyping(UINT msg) {
  return (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) || msg == WM_MOUSEACTIVATE || msg == WM_SETCURSOR ||
         msg == WM_NCMOUSEMOVE || msg == WM_COMMAND || msg == WM_TIMER || msg >= WM_APP;
}

bool InputElsewhere::isPauseTick(WPARAM timerId) { return timerId == kPauseTimerId; }

InputElsewhere::Seen InputElsewhere::read(HWND window, HRAWINPUT input) {
  RAWINPUT raw{};
  UINT size = sizeof raw;
  if (::GetRawInputData(input, RID_INPUT, &raw, &size, sizeof(RAWINPUTHEADER)) == static_cast<UINT>(-1))
    return {.key = true};
  switch (raw.header.dwType) {
    case RIM_TYPEKEYBOARD: {
      const RAWKEYBOARD& k = raw.data.keyboard;
      const bool down = (k.Flags & RI_KEY_BREAK) == 0;
      if (k.ExtraInformation == kOwnInputTag) {
        lastOwnKey_ = ::GetTickCount();
        return {.key = true};
      }
      // A modifier or lock key alone moves nothing (held, it repeats every
      // few ms); the switch is the keyboard's own key while scanning,
      // wherever the focus is, unless the hook let this press through
      // (another program's Space typed in the window in front).
      const bool notSwitch = !SwitchHook::catches(k.VKey) || SwitchHook::passedOn(k.VKey);
      const bool elsewhere =
          following_ && down && keyMayMoveCaret(k.VKey) && notSwitch && !ours(::GetForegroundWindow());
      return {.key = true, .elsewhere = elsewhere};
    }
    case RIM_TYPEMOUSE: {
      const RAWMOUSE& m = raw.data.mouse;
      if (!following_ || m.ulExtraInformation == kOwnInputTag) return {};
      if ((m.usButtonFlags & kButtonsDown) != 0) return {.elsewhere = !ours(windowUnderMessagePoint())};
      // Only a move over another program's window pauses: over the
      // keyboard, or with a button changing, a click of its own may be on
      // its way, and what it types must not fall into a pause.
      if (m.usButtonFlags == 0 && !paused_ && ::GetTickCount() - lastOwnKey_ > kOwnKeysSettleMs &&
          !ours(windowUnderMessagePoint()))
        pause(window);
      return {};
    }
    default:
      return {};
  }
}

}  // namespace osk::win32
