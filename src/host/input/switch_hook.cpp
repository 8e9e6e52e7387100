#include "host/input/switch_hook.h"

#include <process.h>

#include <array>
#include <atomic>

#include "host/common/failure.h"

namespace osk::win32 {
namespace {

// A low-level hook procedure gets no context of its own, so the one switch
// hook of the process is found here. Written before the hook is installed
// and cleared after it is removed; read only by the hook's thread.
std::atomic<SwitchHook*> g_switchHook{nullptr};  // NOLINT(cppcoreguidelines-avoid-non-const-global-variables)

void unhook(HHOOK h) { ::UnhookWindowsHookEx(h); }
using UniqueHook = UniqueHandle<HHOOK, unhook>;

// How long a fresh press of the switch waits for the keyboard's window to
// answer before it passes on to the program in front. Far inside the
// system's patience with a low-level hook (LowLevelHooksTimeout, 300 ms on
// recent Windows), since from Windows 7 on a hook that overruns it is
// dropped without a word, which would end the switch with scanning still
// on; the rest of that patience is room for this thread being scheduled
// late on a loaded machine. The keyboard's thread is out of reach longer
// than this only while it waits for a target to come forward (a few ms as a
// rule, up to a click's patience for a slow target): a press in that wait
// reaches the program in front as the key it is.
constexpr UINT kAnswerMs = 100;

// The codes the hook sees for `vk`: a modifier's two sides, or the key
// itself.
std::array<DWORD, 2> sidesOf(DWORD vk) {
  switch (vk) {
    case VK_SHIFT:
      return {VK_LSHIFT, VK_RSHIFT};
    case VK_CONTROL:
      return {VK_LCONTROL, VK_RCONTROL};
    case VK_MENU:
      return {VK_LMENU, VK_RMENU};
    default:
      return {vk, vk};
  }
}

}  // namespace

SwitchHook::SwitchHook(HWND window, UINT message, DWORD vk, bool injectedToo)
    : window_(window), message_(message), vk_(vk), injectedToo_(injectedToo) {
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
  // Read once the hook is in: read before, a key pressed in between would
  // have its repeats taken for a fresh press. A press still waiting for this
  // thread's loop reads as up, as the system changes a key's state only once
  // the hooks have let it through. No hook call comes before that loop.
  const std::array<DWORD, 2> sides = sidesOf(self->vk_);
  for (std::size_t i = 0; i < sides.size(); ++i)
    self->gates_[i] = aids::SwitchGate(::GetAsyncKeyState(static_cast<int>(sides[i])) < 0);
  ::SetEvent(self->readyEvent_);
  if (!hook) return 1;
  // The hook is called from inside GetMessage: this loop is the hook's life.
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
  }
  return 0;
}

bool SwitchHook::catches(DWORD vk) {
  const SwitchHook* self = g_switchHook.load(std::memory_order_relaxed);
  return self != nullptr && self->active() && self->sideOf(vk) >= 0;
}

bool SwitchHook::passedOn(DWORD vk) {
  // The raw input of a press follows the hook's verdict on it by well under
  // this; an older mark is of a press whose raw input went elsewhere.
  constexpr DWORD kRawInputFollowsMs = 1000;
  SwitchHook* self = g_switchHook.load(std::memory_order_relaxed);
  if (self == nullptr || !self->active() || self->sideOf(vk) < 0) return false;
  const DWORD at = self->passedAt_.exchange(0, std::memory_order_relaxed);
  return at != 0 && ::GetTickCount() - at < kRawInputFollowsMs;
}

int SwitchHook::sideOf(DWORD vkCode) const {
  if (vkCode == vk_) return 0;
  const std::array<DWORD, 2> sides = sidesOf(vk_);
  for (std::size_t i = 0; i < sides.size(); ++i)
    if (vkCode == sides[i]) return static_cast<int>(i);
  return -1;
}

// WM_NULL, not the switch message itself: the keyboard's handling of a press
// may inject keys, which come through this hook on this thread, so a sent
// switch message would wait on its own hook until the time ran out.
// SMTO_BLOCK keeps hook calls from running inside the wait, so no gate is
// ever in two decisions at once. Under Wine 8 (a test program, 300 presses
// injected into a hook on a thread of its own that pinged an idle window
// thread) a ping took 0.2 ms at the median and 1.1 ms at the 90th
// percentile, against 0.5 ms for an injected key's whole trip through the
// hook without it; a hung window let the press pass after 101 ms. Asked only
// at a fresh press, at a person's pace, it costs nothing worth saving, and a
// remembered answer could not tell a window that hung since.
bool SwitchHook::keyboardAnswers() const {
  DWORD_PTR ignored = 0;
  return ::SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, kAnswerMs, &ignored) !=
         0;
}

LRESULT CALLBACK SwitchHook::onKey(int code, WPARAM wp, LPARAM lp) noexcept {
  SwitchHook* self = g_switchHook.load(std::memory_order_relaxed);
  if (code == HC_ACTION && self != nullptr) {
    const auto& key = *reinterpret_cast<const KBDLLHOOKSTRUCT*>(lp);
    const int side = self->sideOf(key.vkCode);
    if (side >= 0) {
      const bool works = aids::worksSwitch((key.flags & LLKHF_INJECTED) != 0, key.dwExtraInfo == kOwnInputTag,
                                           self->injectedToo_);
      const aids::SwitchVerdict verdict = self->gates_[static_cast<std::size_t>(side)].onKey(
          (key.flags & LLKHF_UP) == 0, works, [self] { return self->keyboardAnswers(); });
      if (verdict.tellKeyboard) ::PostMessageW(self->window_, self->message_, 0, 0);
      if (verdict.swallow) return 1;
      if ((key.flags & LLKHF_UP) == 0)
        self->passedAt_.store(::GetTickCount() | 1U, std::memory_order_relaxed);
    }
  }
  return ::CallNextHookEx(nullptr, code, wp, lp);
}

}  // namespace osk::win32
