#include "platform/win32/switch_hook.h"

#include <process.h>

#include <array>
#include <atomic>

#include "platform/win32/failure.h"

namespace osk::win32 {
namespace {

// A low-level hook procedure gets no context of its own, so the one switch
// hook of the process is found here. Written before the hook is installed
// and cleared after it is removed; read only by the hook's thread.
std::atomic<SwitchHook*> g_switchHook{nullptr};  // NOLINT(cppcoreguidelines-avoid-non-const-global-variables)

void unhook(HHOOK h) { ::UnhookWindowsHookEx(h); }
using UniqueHook = UniqueHandle<HHOOK, unhook>;

}  // namespace

SwitchHook::SwitchHook(HWND window, UINT message, DWORD vk) : window_(window), message_(message), vk_(vk) {
  SwitchHook* none = nullptr;
  if (!g_switchHook.compare_exchange_strong(none, this)) {
    logFailure("A second switch hook was asked for; the first one stays", ERROR_SUCCESS);
    return;
  }
  const UniqueHandle<HANDLE, detail::closeHandle> ready(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!ready) {
    logFailure("Cannot make the switch hook's start-up event", ::GetLastError());
    g_switchHook = nullptr;
    return;
  }
  readyEvent_ = ready.get();
  // _beginthreadex rather than CreateThread: the thread runs with the C
  // runtime set up, as every thread that may touch it must.
  const auto handle = ::_beginthreadex(nullptr, 0, &SwitchHook::run, this, 0, &threadId_);
  if (handle == 0) {
    logFailure("Cannot start the switch hook's thread", ::GetLastError());
    g_switchHook = nullptr;
    return;
  }
  thread_.reset(reinterpret_cast<HANDLE>(handle));
  const std::array<HANDLE, 2> waitFor{ready.get(), thread_.get()};
  // Either the hook is in and the thread waits for keys, or the thread has
  // ended (or is ending) without one.
  const DWORD woke = ::WaitForMultipleObjects(2, waitFor.data(), FALSE, INFINITE);
  if (woke == WAIT_OBJECT_0 && installError_ == ERROR_SUCCESS) return;
  logFailure("Cannot install the scanning switch's keyboard hook", installError_);
  // Should the wait itself have failed, a thread with the hook in ends at
  // WM_QUIT; one that has already ended ignores it.
  ::PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
  ::WaitForSingleObject(thread_.get(), INFINITE);
  thread_.reset();
  g_switchHook = nullptr;
}

SwitchHook::~SwitchHook() {
  if (!thread_) return;
  ::PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
  ::WaitForSingleObject(thread_.get(), INFINITE);
  g_switchHook = nullptr;
}

unsigned __stdcall SwitchHook::run(void* param) {
  auto* self = static_cast<SwitchHook*>(param);
  // The thread's message queue must exist before the owner can be told it
  // is ready, or a quick WM_QUIT would be posted to no queue and lost.
  MSG msg;
  ::PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
  // Every key of the desktop waits while this thread is not scheduled.
  ::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_HIGHEST);
  const UniqueHook hook(
      ::SetWindowsHookExW(WH_KEYBOARD_LL, &SwitchHook::onKey, ::GetModuleHandleW(nullptr), 0));
  self->installError_ = hook ? ERROR_SUCCESS : ::GetLastError();
  ::SetEvent(self->readyEvent_);
  if (!hook) return 1;
  // The hook is called from inside GetMessage: this loop is the hook's life.
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
  }
  return 0;
}

bool SwitchHook::catches(DWORD vk) {
  const SwitchHook* self = g_switchHook.load(std::memory_order_relaxed);
  return self != nullptr && self->active() && self->isSwitch(vk);
}

bool SwitchHook::isSwitch(DWORD vkCode) const {
  if (vkCode == vk_) return true;
  // The hook sees the side-specific codes only.
  switch (vk_) {
    case VK_SHIFT:
      return vkCode == VK_LSHIFT || vkCode == VK_RSHIFT;
    case VK_CONTROL:
      return vkCode == VK_LCONTROL || vkCode == VK_RCONTROL;
    case VK_MENU:
      return vkCode == VK_LMENU || vkCode == VK_RMENU;
    default:
      return false;
  }
}

LRESULT CALLBACK SwitchHook::onKey(int code, WPARAM wp, LPARAM lp) {
  SwitchHook* self = g_switchHook.load(std::memory_order_relaxed);
  if (code == HC_ACTION && self != nullptr) {
    const auto& key = *reinterpret_cast<const KBDLLHOOKSTRUCT*>(lp);
    if (self->isSwitch(key.vkCode) && key.dwExtraInfo != kOwnInputTag) {
      const bool up = (key.flags & LLKHF_UP) != 0;
      if (!up) {
        if (!self->held_) ::PostMessageW(self->window_, self->message_, 0, 0);
        self->held_ = true;
        return 1;
      }
      // A release whose press went by before the hook was there belongs to
      // the program that saw the press; swallowing it would leave that
      // program (and the system) thinking the key is still down.
      if (self->held_) {
        self->held_ = false;
        return 1;
      }
    }
  }
  return ::CallNextHookEx(nullptr, code, wp, lp);
}

}  // namespace osk::win32
