#include "host/input/win32_languages.h"

#include <windows.h>

#include <array>

#include "host/common/text.h"

namespace osk::win32 {

namespace {

// ToUnicodeEx: leave the keyboard state, dead-key buffer included, as it
// was (honoured from Windows 10 1607; see clearDeadKey for older systems).
constexpr UINT kKeepKeyboardState = 4;

// A dead key asked about stays pending in this thread's buffer where
// `flags` leave the state to change (always, before Windows 10 1607), and
// would turn the next key asked about into an accented one: a Space typed
// into the buffer takes it out again.
void clearDeadKey(HKL hkl, UINT flags) {
  std::array<BYTE, 256> none{};
  std::array<WCHAR, 8> out{};
  const UINT space = MapVirtualKeyExW(VK_SPACE, MAPVK_VK_TO_VSC, hkl);
  for (int i = 0; i < 4; ++i) {
    if (ToUnicodeEx(VK_SPACE, space, none.data(), out.data(), static_cast<int>(out.size()), flags, hkl) >= 0)
      return;
  }
}

std::array<BYTE, 256> keyStateOf(KeyLevel level) {
  std::array<BYTE, 256> state{};
  if (level.shift) state[VK_SHIFT] = state[VK_LSHIFT] = 0x80;
  if (level.capsLock) state[VK_CAPITAL] = 0x01;
  if (level.altGr) state[VK_CONTROL] = state[VK_LCONTROL] = state[VK_MENU] = state[VK_RMENU] = 0x80;
  return state;
}

// The virtual key of `scan` on `hkl`; 0 for none.
UINT virtualKeyOf(std::uint16_t scan, HKL hkl) {
  const UINT virtualKey = MapVirtualKeyExW(scan, MAPVK_VSC_TO_VK, hkl);
  return virtualKey > 0xFF ? 0 : virtualKey;
}

// ToUnicodeEx for one key press; `flags` as there.
int translate(KeyPress press, UINT virtualKey, HKL hkl, UINT flags, std::array<WCHAR, 8>& out) {
  const std::array<BYTE, 256> state = keyStateOf(press.level);
  return ToUnicodeEx(virtualKey, press.scan, state.data(), out.data(), static_cast<int>(out.size()), flags,
                     hkl);
}

}  // namespace

LayoutId Win32InputLanguages::layoutOf(WindowId window) const {
  DWORD thread = 0;
  // NOLINTNEXTLINE(performance-no-int-to-ptr): the handle came from the system as a number
  if (window != 0) thread = GetWindowThreadProcessId(reinterpret_cast<HWND>(window), nullptr);
  HKL hkl = GetKeyboardLayout(thread);
  if (hkl == nullptr) hkl = GetKeyboardLayout(0);
  return reinterpret_cast<LayoutId>(hkl);
}

KeyOutput Win32InputLanguages::typed(LayoutId layout, std::uint16_t scan, KeyLevel level) const {
  // NOLINTNEXTLINE(performance-no-int-to-ptr): the layout handle is kept as a number in the core
  auto* const hkl = reinterpret_cast<HKL>(layout);
  KeyOutput key;
  const UINT virtualKey = virtualKeyOf(scan, hkl);
  if (virtualKey == 0) return key;
  std::array<WCHAR, 8> out{};
  const int n = translate({scan, level}, virtualKey, hkl, kKeepKeyboardState, out);
  if (n == 0) return key;
  key.vk = static_cast<std::uint8_t>(virtualKey);
  if (n < 0) {
    key.dead = true;
    clearDeadKey(hkl, kKeepKeyboardState);
    key.text = narrow(std::wstring_view(out.data(), 1));
    return key;
  }
  key.text = narrow(std::wstring_view(out.data(), static_cast<std::size_t>(n)));
  return key;
}

KeyOutput Win32InputLanguages::composed(LayoutId layout, KeyPress dead, KeyPress next) const {
  // NOLINTNEXTLINE(performance-no-int-to-ptr): the layout handle is kept as a number in the core
  auto* const hkl = reinterpret_cast<HKL>(layout);
  KeyOutput key;
  const UINT deadKey = virtualKeyOf(dead.scan, hkl);
  const UINT nextKey = virtualKeyOf(next.scan, hkl);
  if (deadKey == 0 || nextKey == 0) return key;
  // The layout composes the two as it would for the target: the dead key
  // left in this thread's buffer, then the next key taking it. Nothing may
  // wait there before, and nothing is left after. (An accent the user's own
  // keyboard left waiting in the keyboard's own command line goes with it.)
  constexpr UINT kChangeKeyboardState = 0;
  clearDeadKey(hkl, kChangeKeyboardState);
  std::array<WCHAR, 8> out{};
  if (translate(dead, deadKey, hkl, kChangeKeyboardState, out) >= 0) {
    // No dead key on this layout now: nothing waits, and nothing is known.
    return key;
  }
  const int n = translate(next, nextKey, hkl, kChangeKeyboardState, out);
  if (n == 0) {
    // A key that types nothing: whether the accent still waits is the
    // layout's own affair.
    clearDeadKey(hkl, kChangeKeyboardState);
    return key;
  }
  key.vk = static_cast<std::uint8_t>(nextKey);
  if (n < 0) {
    key.dead = true;
    clearDeadKey(hkl, kChangeKeyboardState);
    key.text = narrow(std::wstring_view(out.data(), 1));
    return key;
  }
  key.text = narrow(std::wstring_view(out.data(), static_cast<std::size_t>(n)));
  return key;
}

}  // namespace osk::win32
