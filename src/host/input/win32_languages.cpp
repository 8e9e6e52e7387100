#include "host/input/win32_languages.h"

#include <windows.h>

#include <array>

#include "host/common/text.h"

namespace osk::win32 {

namespace {

// ToUnicodeEx: leave the keyboard state, dead-key buffer included, as it
// was (honoured from Windows 10 1607; see clearDeadKey for older systems).
constexpr UINT kKeepKeyboardState = 4;

// A dead key asked about stays pending in this thread's buffer where the
// flag above is not honoured, and would turn the next key asked about into
// an accented one: a Space typed into the buffer takes it out again.
void clearDeadKey(HKL hkl) {
  std::array<BYTE, 256> none{};
  std::array<WCHAR, 8> out{};
  const UINT space = MapVirtualKeyExW(VK_SPACE, MAPVK_VK_TO_VSC, hkl);
  for (int i = 0; i < 4; ++i) {
    if (ToUnicodeEx(VK_SPACE, space, none.data(), out.data(), static_cast<int>(out.size()),
                    kKeepKeyboardState, hkl) >= 0)
      return;
  }
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
  const UINT virtualKey = MapVirtualKeyExW(scan, MAPVK_VSC_TO_VK, hkl);
  if (virtualKey == 0 || virtualKey > 0xFF) return key;
  std::array<BYTE, 256> state{};
  if (level.shift) state[VK_SHIFT] = state[VK_LSHIFT] = 0x80;
  if (level.capsLock) state[VK_CAPITAL] = 0x01;
  if (level.altGr) state[VK_CONTROL] = state[VK_LCONTROL] = state[VK_MENU] = state[VK_RMENU] = 0x80;
  std::array<WCHAR, 8> out{};
  const int n = ToUnicodeEx(virtualKey, scan, state.data(), out.data(), static_cast<int>(out.size()),
                            kKeepKeyboardState, hkl);
  if (n == 0) return key;
  key.vk = static_cast<std::uint8_t>(virtualKey);
  if (n < 0) {
    key.dead = true;
    clearDeadKey(hkl);
    key.text = narrow(std::wstring_view(out.data(), 1));
    return key;
  }
  key.text = narrow(std::wstring_view(out.data(), static_cast<std::size_t>(n)));
  return key;
}

}  // namespace osk::win32
