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

bool InputElsewhere::follow(HWND window, bool on) {
  if (on == following_) return true;
  // Keys are registered again with the mouse: the same flags as the key
  // events' own registration, so whichever comes first, both hold.
  if (on) {
    const std::array<RAWINPUTDEVICE, 2> devices{
        {{kGenericDesktopPage, kMouseUsage, RIDEV_INPUTSINK, window},
         {kGenericDesktopPage, kKeyboardUsage, RIDEV_INPUTSINK, window}}};
    if (!::RegisterRawInputDevices(devices.data(), static_cast<UINT>(devices.size()),
                                   sizeof(RAWINPUTDEVICE))) {
      logFailure("the user's own typing and clicks cannot be followed", ::GetLastError());
      return false;
    }
  } else {
    const RAWINPUTDEVICE off{kGenericDesktopPage, kMouseUsage, RIDEV_REMOVE, nullptr};
    if (!::RegisterRawInputDevices(&off, 1, sizeof off))
      logFailure("the mouse could not be given up", ::GetLastError());
  }
  following_ = on;
  return true;
}

InputElsewhere::Seen InputElsewhere::read(HRAWINPUT input) const {
  RAWINPUT raw{};
  UINT size = sizeof raw;
  if (::GetRawInputData(input, RID_INPUT, &raw, &size, sizeof(RAWINPUTHEADER)) == static_cast<UINT>(-1))
    return {.key = true};
  switch (raw.header.dwType) {
    case RIM_TYPEKEYBOARD: {
      const RAWKEYBOARD& k = raw.data.keyboard;
      const bool down = (k.Flags & RI_KEY_BREAK) == 0;
      // A modifier or lock key alone moves nothing (held, it repeats every
      // few ms); the switch is the keyboard's own key while scanning,
      // wherever the focus is; neither moves a caret.
      const bool elsewhere = following_ && down && k.ExtraInformation != kOwnInputTag &&
                             keyMayMoveCaret(k.VKey) && !SwitchHook::catches(k.VKey) &&
                             !ours(::GetForegroundWindow());
      return {.key = true, .elsewhere = elsewhere};
    }
    case RIM_TYPEMOUSE: {
      const RAWMOUSE& m = raw.data.mouse;
      const bool down = (m.usButtonFlags & kButtonsDown) != 0;
      return {.elsewhere = following_ && down && m.ulExtraInformation != kOwnInputTag &&
                           !ours(windowUnderMessagePoint())};
    }
    default:
      return {};
  }
}

}  // namespace osk::win32
