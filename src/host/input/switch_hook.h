// The scanning switch, caught anywhere: a low-level keyboard hook that takes
// the configured key before any window sees it, so the program in front
// never receives it, and tells the keyboard's window of each press.
//
// The hook exists only while scanning is on: the host makes one when the
// user turns scanning on (or changes the switch key) and destroys it when
// scanning goes off, so with scanning off every key passes untouched.
//
// Every key typed anywhere waits for the hook, so the hook runs on a thread
// of its own that does nothing else: a keyboard window busy with a click
// (activating the target, waiting for a launch) never holds up the user's
// typing, and the system never has to time the hook out. Per key the hook
// compares the code; a fresh press of the switch also asks the keyboard's
// window whether it answers (see switch_hook.cpp), and what passes and what
// is swallowed follows aids/switch_gate.h. A press that another program
// injects (LLKHF_INJECTED without the keyboard's own tag: dictation, a
// macro) passes untouched unless the user has chosen that injected presses
// work the switch too.
#pragma once

#include <windows.h>

#include <array>
#include <atomic>

#include "aids/switch_gate.h"
#include "host/common/handles.h"

namespace osk::win32 {

// Keys the keyboard injects itself carry this in dwExtraInfo, so that a
// click on the keyboard's own switch key (SPACE, when Space is the switch)
// reaches the target instead of being taken as a switch press.
inline constexpr ULONG_PTR kOwnInputTag = 0x514D4F53;  // "QMOS"

class SwitchHook {
 public:
  // Installs the hook for `vk` (VK_SHIFT, VK_CONTROL and VK_MENU stand for
  // either side's key, each side a switch of its own). Each press taken
  // posts `message` to `window` once, key repeat or not. `injectedToo`:
  // other programs' injected presses are taken as well. A failure is
  // logged and leaves active() false.
  SwitchHook(HWND window, UINT message, DWORD vk, bool injectedToo);
  ~SwitchHook();
  SwitchHook(const SwitchHook&) = delete;
  SwitchHook& operator=(const SwitchHook&) = delete;
  SwitchHook(SwitchHook&&) = delete;
  SwitchHook& operator=(SwitchHook&&) = delete;

  bool active() const { return static_cast<bool>(thread_); }
  // True while a hook of this process catches `vk` (as a raw input key
  // reports it) as the switch. On the keyboard window's thread, which makes
  // and ends the hooks.
  static bool catches(DWORD vk);
  // True once for each press of `vk` the hook let through to the program in
  // front (another program's key, or a press the keyboard was too busy to
  // answer): that press typed there like any other key, which a caught
  // press did not.
  static bool passedOn(DWORD vk);

 private:
  static unsigned __stdcall run(void* param);
  static LRESULT CALLBACK onKey(int code, WPARAM wp, LPARAM lp) noexcept;
  // Which side's key `vkCode` is (0 for a key with one side), or -1 for
  // any key but the switch.
  int sideOf(DWORD vkCode) const;
  bool keyboardAnswers() const;

  const HWND window_;
  const UINT message_;
  const DWORD vk_;
  const bool injectedToo_;
  // Made and touched only on the hook's thread, one per side of the key.
  std::array<aids::SwitchGate, 2> gates_;
  // Set by the hook's thread before it signals the start-up event, which
  // lives only while the constructor waits for it.
  DWORD installError_ = ERROR_SUCCESS;
  // When the hook last let a press of the switch's key through (0: not
  // since it was last asked); written by the hook's thread, taken by the
  // window's.
  std::atomic<DWORD> passedAt_{0};
  HANDLE readyEvent_ = nullptr;
  unsigned threadId_ = 0;
  UniqueHandle<HANDLE, detail::closeHandle> thread_;
};

}  // namespace osk::win32
