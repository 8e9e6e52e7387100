#include "host/input/sendinput_injector.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <array>
#include <vector>

#include "host/common/failure.h"
#include "host/input/switch_hook.h"
#include "keystring/input_translate.h"
#include "keystring/scan_codes.h"

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
    static constexpr std::array<std::uint8_t, 8> kModifiers{
        vk::kLShift, vk::kRShift, vk::kLControl, vk::kRControl, vk::kLMenu, vk::kRMenu, vk::kLWin, vk::kRWin};
    std::vector<std::uint8_t> held;
    for (std::uint8_t m : kModifiers) {
      if ((GetAsyncKeyState(m) & 0x8000) != 0) held.push_back(m);
    }
    return held;
  }

 private:
  HKL hkl_ = nullptr;
};

bool runningUnderWine() {
  static const bool wine = [] {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
  }();
  return wine;
}

// Under Wine each thread keeps its own copy of the lock keys' toggle state
// and brings it up to date only after it has read a key message of its own.
// A lock toggled while the keyboard was in front therefore reaches the
// target late: the first letter after Caps Lock came out in the old case.
// Joining the target's input for a moment and writing the lock bits this
// thread sees (which follow the system's) puts the target in step before
// its first key. Windows keeps the lock state in step by itself, so there
// this does nothing.
void bringLockStateToForeground() {
  if (!runningUnderWine()) return;
  HWND front = GetForegroundWindow();
  if (front == nullptr) return;
  const DWORD frontThread = GetWindowThreadProcessId(front, nullptr);
  const DWORD ownThread = GetCurrentThreadId();
  if (frontThread == 0 || frontThread == ownThread) return;
  static constexpr std::array<int, 3> kLocks{VK_CAPITAL, VK_NUMLOCK, VK_SCROLL};
  std::array<bool, kLocks.size()> own{};
  for (std::size_t i = 0; i < kLocks.size(); ++i) own[i] = (GetKeyState(kLocks[i]) & 1) != 0;
  // Keys typed into a thread keep it in step from then on, so a thread is
  // joined again only when the locks have changed since it was last seen.
  static DWORD lastThread = 0;
  static std::array<bool, kLocks.size()> lastOwn{};
  if (frontThread == lastThread && own == lastOwn) return;
  // Leaving a joined input gives this thread a fresh one with blank key
  // state, which would turn the keyboard's own captions and lights off.
  std::array<BYTE, 256> ownState{};
  if (!GetKeyboardState(ownState.data())) return;
  if (!AttachThreadInput(ownThread, frontThread, TRUE)) {
    // The keys still go in; only the first letter after a toggle may come
    // out in the old case, as it did before this step existed.
    win32::logFailure("joining the input of the window in front to pass on the lock state", GetLastError());
    return;
  }
  lastThread = frontThread;
  lastOwn = own;
  std::array<BYTE, 256> state{};
  if (GetKeyboardState(state.data())) {
    bool stale = false;
    for (std::size_t i = 0; i < kLocks.size(); ++i) {
      BYTE& key = state[kLocks[i]];
      if (((key & 1) != 0) == own[i]) continue;
      key = static_cast<BYTE>(own[i] ? (key | 1) : (key & ~1));
      stale = true;
    }
    // Refused, the first letter may come out in the old case, as above.
    if (stale && SetKeyboardState(state.data()) == FALSE)
      win32::logFailure("passing on the lock state", GetLastError());
  }
  // Otherwise the keyboard would go on sharing the target's input state.
  // (A target thread that ended meanwhile has taken the join with it.)
  if (!AttachThreadInput(ownThread, frontThread, FALSE))
    win32::logFailure("leaving the input of the window in front", GetLastError());
  // Refused, the keyboard's own captions and lights may read the locks as
  // off (see above).
  if (!SetKeyboardState(ownState.data()))
    win32::logFailure("restoring the keyboard's own key state", GetLastError());
}

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
    // Marked as the keyboard's own, so the scanning switch's hook lets the
    // keyboard's SPACE through when Space is the switch.
    in.ki.dwExtraInfo = win32::kOwnInputTag;
  }
  bringLockStateToForeground();
  // One call, so no other input can land between the records of a plan
  // (a held modifier released for a character and restored after it).
  const UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  return sent == inputs.size();
}

}  // namespace osk
