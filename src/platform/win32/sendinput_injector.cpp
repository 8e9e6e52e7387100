#include "platform/win32/sendinput_injector.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <array>
#include <vector>

#include "delivery/input_translate.h"
#include "delivery/scan_codes.h"

namespace osk {

namespace {

// MAPVK_VK_TO_VSC_EX: tells left and right modifiers apart, unlike
// MAPVK_VK_TO_VSC, which answers the left one for both.
constexpr UINT kVkToScanEx = 4;

// Print Screen has no scan code of its own in the layout tables (they give
// SysRq, 0x54); the key itself sends E0 37.
constexpr std::uint16_t kPrintScreenScan = 0x37;

class LiveLayout final : public KeyboardLayout {
 public:
  // Characters are looked up in the layout of the window that will receive
  // them, which may differ from the keyboard's own.
  LiveLayout() {
    DWORD thread = 0;
    if (HWND front = GetForegroundWindow()) thread = GetWindowThreadProcessId(front, nullptr);
    hkl_ = GetKeyboardLayout(thread);
    if (hkl_ == nullptr) hkl_ = GetKeyboardLayout(0);
  }

  std::optional<LayoutKey> keyFor(char32_t ch) const override {
    if (ch > 0xFFFF) return std::nullopt;
    const SHORT found = VkKeyScanExW(static_cast<WCHAR>(ch), hkl_);
    const auto code = static_cast<std::uint8_t>(found & 0xFF);
    const auto state = static_cast<std::uint8_t>((found >> 8) & 0xFF);
    if (code == 0xFF || code == 0) return std::nullopt;
    LayoutKey key;
    key.vk = code;
    key.shift = (state & 1) != 0;
    key.ctrl = (state & 2) != 0;
    key.alt = (state & 4) != 0;
    key.other = (state & ~7u) != 0;
    return key;
  }

  std::uint16_t scanCode(std::uint8_t code) const override {
    if (code == vk::kSnapshot) return kPrintScreenScan;
    UINT scan = MapVirtualKeyExW(code, kVkToScanEx, hkl_);
    if (scan == 0) scan = MapVirtualKeyExW(code, MAPVK_VK_TO_VSC, hkl_);
    // Under Wine F13-F16 map to 0: the X keymap has no such keys.
    if (scan == 0) scan = functionKeyScanCode(code);
    return static_cast<std::uint16_t>(scan & 0xFF);
  }

  bool capsLockOn() const override { return (GetKeyState(VK_CAPITAL) & 1) != 0; }

  std::vector<std::uint8_t> heldModifiers() const override {
    static constexpr std::array<std::uint8_t, 8> kModifiers{vk::kLShift, vk::kRShift, vk::kLControl, vk::kRControl,
                                                           vk::kLMenu,  vk::kRMenu,  vk::kLWin,     vk::kRWin};
    std::vector<std::uint8_t> held;
    for (std::uint8_t m : kModifiers) {
      if ((GetAsyncKeyState(m) & 0x8000) != 0) held.push_back(m);
    }
    return held;
  }

 private:
  HKL hkl_ = nullptr;
};

}  // namespace

bool SendInputInjector::inject(const KeyPlan& plan) {
  const LiveLayout layout;
  const std::vector<RawKey> raw = translatePlan(plan, layout);
  if (raw.empty()) return true;

  std::vector<INPUT> inputs(raw.size());
  for (std::size_t i = 0; i < raw.size(); ++i) {
    INPUT& in = inputs[i];
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = raw[i].vk;
    in.ki.wScan = raw[i].scan;
    in.ki.dwFlags = raw[i].flags;
    in.ki.time = 0;
    in.ki.dwExtraInfo = 0;
  }
  // One call, so no other input can land between the records of a plan
  // (a held modifier released for a character and restored after it).
  const UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  return sent == inputs.size();
}

}  // namespace osk
