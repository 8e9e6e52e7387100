#include "host/system/win32_desktop.h"

#include <windows.h>

#include <array>
#include <cstddef>
#include <vector>

#include "host/common/failure.h"
#include "host/common/handles.h"
#include "host/common/text.h"

namespace osk::win32 {

namespace {

HWND toHwnd(WindowId id) { return reinterpret_cast<HWND>(id); }

struct TitleSearch {
  const std::wstring* title;
  HWND found;
};

BOOL CALLBACK findByTitle(HWND hwnd, LPARAM lp) {
  return guardedEnumeration([&] {
    auto* search = reinterpret_cast<TitleSearch*>(lp);
    if (::IsWindowVisible(hwnd) == FALSE || windowTextW(hwnd) != *search->title) return true;
    search->found = hwnd;
    return false;  // the first match is the highest in the z-order
  });
}

// Keys injected before the switch has happened would land in the keyboard
// itself, or nowhere, so a send waits, within the patience its caller gives.
constexpr DWORD kActivationPollMs = 1;

bool holdsForegroundAndFocus(HWND target) {
  if (::GetForegroundWindow() != target) return false;
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  const DWORD thread = ::GetWindowThreadProcessId(target, nullptr);
  return ::GetGUIThreadInfo(thread, &info) != FALSE && info.hwndFocus != nullptr;
}

DWORD remaining(DWORD start, DWORD timeoutMs) {
  const DWORD spent = ::GetTickCount() - start;
  return spent >= timeoutMs ? 0 : timeoutMs - spent;
}

// Under Wine the target's own thread carries out the switch when it handles
// the activation this thread has just sent it: the foreground changes first
// (before that a key has no window to go to and is dropped), then its
// activation handlers run and move the focus to where keys go (Notepad's
// frame hands it on to its edit control). A message sent now is answered
// only after all of that has been handled, so its answer is the moment to
// inject. Focus traces of 400 real clicks (bench "focus-trace", into the
// bench's own window and into Notepad) showed nothing taking the foreground
// back after the switch, no late focus from the window manager for the
// clicked keyboard among them, and no key lost without any wait at all; so
// the fixed wait that used to follow the switch is gone.
bool waitForForeground(HWND target, DWORD start, DWORD timeoutMs) {
  DWORD_PTR ignored = 0;
  if (const DWORD left = remaining(start, timeoutMs))
    ::SendMessageTimeoutW(target, WM_NULL, 0, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG, left, &ignored);
  // A switch the window system finishes later (or a hung target, whose
  // keys wait in its queue) is polled for until the patience runs out.
  for (;;) {
    if (holdsForegroundAndFocus(target)) return true;
    if (remaining(start, timeoutMs) == 0) return false;
    ::Sleep(kActivationPollMs);
  }
}

// The level in the process's token. A token that may not be opened for
// reading is one of a higher level than ours, or another account's (whose
// windows take our keys at our own level: the probe tells them apart).
Integrity integrityOfProcess(HANDLE process) {
  HANDLE raw = nullptr;
  if (!::OpenProcessToken(process, TOKEN_QUERY, &raw))
    return ::GetLastError() == ERROR_ACCESS_DENIED ? Integrity::Refused : Integrity::Unknown;
  const UniqueKernelHandle token(raw);
  DWORD size = 0;
  ::GetTokenInformation(token.get(), TokenIntegrityLevel, nullptr, 0, &size);
  if (size < sizeof(TOKEN_MANDATORY_LABEL)) return Integrity::Unknown;
  std::vector<std::byte> buffer(size);
  if (!::GetTokenInformation(token.get(), TokenIntegrityLevel, buffer.data(), size, &size))
    return Integrity::Unknown;
  PSID sid = reinterpret_cast<const TOKEN_MANDATORY_LABEL*>(buffer.data())->Label.Sid;
  if (sid == nullptr || !::IsValidSid(sid) || *::GetSidSubAuthorityCount(sid) == 0) return Integrity::Unknown;
  return static_cast<Integrity>(*::GetSidSubAuthority(sid, *::GetSidSubAuthorityCount(sid) - 1U));
}

// Windows lets a signed program installed under Program Files with
// uiAccess in its manifest send input to every level.
bool hasUiAccess() {
  HANDLE raw = nullptr;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &raw)) return false;
  const UniqueKernelHandle token(raw);
  DWORD uiAccess = 0;
  DWORD size = 0;
  return ::GetTokenInformation(token.get(), TokenUIAccess, &uiAccess, sizeof uiAccess, &size) != FALSE &&
         uiAccess != 0;
}

}  // namespace

Win32Desktop::Win32Desktop()
    : own_(hasUiAccess() ? Integrity::UiAccess : integrityOfProcess(::GetCurrentProcess())) {}

Integrity Win32Desktop::integrityOf(WindowId window) const {
  DWORD pid = 0;
  if (::GetWindowThreadProcessId(toHwnd(window), &pid) == 0 || pid == 0) return Integrity::Unknown;
  const UniqueKernelHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
  if (!process) return ::GetLastError() == ERROR_ACCESS_DENIED ? Integrity::Refused : Integrity::Unknown;
  return integrityOfProcess(process.get());
}

Integrity Win32Desktop::ownIntegrity() const { return own_; }

namespace {

// Long enough for a window at work to take a message it only passes to
// DefWindowProc; short, as the probe holds up the tick that records the
// target. A window that is slower lets the message through all the same.
constexpr UINT kProbeTimeoutMs = 100;

}  // namespace

ProbeAnswer Win32Desktop::probe(WindowId window) const {
  // A message of our own: no program lets it past the system's filter
  // (ChangeWindowMessageFilterEx), so only the levels decide its way.
  static const UINT message = ::RegisterWindowMessageW(L"QM-OSK.probe");
  if (message == 0) {
    logFailure("registering the probe message", ::GetLastError());
    return ProbeAnswer::NotTried;
  }
  DWORD_PTR ignored = 0;
  ::SetLastError(ERROR_SUCCESS);
  if (::SendMessageTimeoutW(toHwnd(window), message, 0, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG, kProbeTimeoutMs,
                            &ignored) != 0)
    return ProbeAnswer::Answered;
  const DWORD error = ::GetLastError();
  if (error == ERROR_ACCESS_DENIED) return ProbeAnswer::AccessDenied;
  // A hung window fails at once, as a slow one does after the timeout: the
  // system did not stand in the message's way.
  if (error == ERROR_TIMEOUT || error == ERROR_SUCCESS) return ProbeAnswer::TimedOut;
  logFailure("probing the target window", error);
  return ProbeAnswer::NotTried;
}

WindowId Win32Desktop::foregroundWindow() const {
  HWND front = ::GetForegroundWindow();
  // Wine puts its desktop window in front when the window manager has just
  // given the focus to none of its windows, as after a click moved it
  // between two of them. Recorded as the target, every key after that went
  // into it and was lost until the user clicked into a window again.
  if (front == ::GetDesktopWindow()) return 0;
  return reinterpret_cast<WindowId>(front);
}

std::string Win32Desktop::windowTitle(WindowId window) const {
  HWND hwnd = toHwnd(window);
  if (hwnd == nullptr || !::IsWindow(hwnd)) return {};
  return windowText(hwnd);
}

bool Win32Desktop::activate(WindowId recorded, const std::string& title, std::chrono::milliseconds patience) {
  const DWORD start = ::GetTickCount();
  const auto timeoutMs = static_cast<DWORD>(patience.count());
  const std::wstring wanted = widen(title);
  HWND target = nullptr;
  HWND candidate = toHwnd(recorded);
  if (candidate != nullptr && ::IsWindow(candidate) != FALSE && windowTextW(candidate) == wanted)
    target = candidate;
  // Untitled windows are everywhere (tool windows, hidden helpers): an empty
  // title names no window, so only the recorded one may receive the keys.
  if (target == nullptr && !wanted.empty()) {
    TitleSearch search{&wanted, nullptr};
    ::EnumWindows(&findByTitle, reinterpret_cast<LPARAM>(&search));
    target = search.found;
  }
  if (target == nullptr) return false;

  if (::IsIconic(target)) ::ShowWindow(target, SW_RESTORE);
  if (::GetForegroundWindow() == target) return true;

  // A click on the keyboard has just made this process the foreground one,
  // which is what lets it hand the foreground on.
  if (::SetForegroundWindow(target) && waitForForeground(target, start, timeoutMs)) return true;
  if (::GetTickCount() - start >= timeoutMs) return false;

  // Refused: join the input queue of the current foreground thread for the
  // moment of the switch, which the foreground lock honours.
  HWND front = ::GetForegroundWindow();
  const DWORD frontThread = front != nullptr ? ::GetWindowThreadProcessId(front, nullptr) : 0;
  const DWORD ownThread = ::GetCurrentThreadId();
  const bool attached = frontThread != 0 && frontThread != ownThread &&
                        ::AttachThreadInput(ownThread, frontThread, TRUE) != FALSE;
  ::BringWindowToTop(target);
  ::SetForegroundWindow(target);
  if (attached) ::AttachThreadInput(ownThread, frontThread, FALSE);
  return waitForForeground(target, start, timeoutMs);
}

void Win32Desktop::setTopmost(WindowId window, bool topmost) {
  HWND hwnd = toHwnd(window);
  if (hwnd == nullptr) return;
  // Placement only: without SWP_NOACTIVATE, Wine activates the window too,
  // so every tick of the topmost timer took the foreground from the window
  // being typed into and made the keyboard its own target.
  if (!::SetWindowPos(hwnd, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                      SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE))
    logFailure("placing the window topmost", ::GetLastError());
}

// Read ten times a second, so every round trip to the server counts when
// idle. GetKeyState brings the thread's copy of the key state up to date with
// the desktop's; GetKeyboardState alone does not (under Wine 8 it showed a
// Caps Lock toggled in another program one read late, where GetKeyState
// right after it saw the change). So one GetKeyState, then the other two
// locks from the refreshed copy: two calls instead of three.
LockStates Win32LockKeys::states() const {
  LockStates s;
  s.caps = static_cast<std::int16_t>(::GetKeyState(VK_CAPITAL));
  std::array<BYTE, 256> keys{};
  if (!::GetKeyboardState(keys.data())) {
    s.num = keyState(LockKey::NumLock);
    s.scroll = keyState(LockKey::ScrollLock);
    return s;
  }
  // As GetKeyState reports them: toggled in bit 0, held down as negative.
  auto asKeyState = [&](int vk) {
    return static_cast<std::int16_t>(static_cast<signed char>(keys[vk] & 0x81));
  };
  s.num = asKeyState(VK_NUMLOCK);
  s.scroll = asKeyState(VK_SCROLL);
  return s;
}

std::int16_t Win32LockKeys::keyState(LockKey key) const {
  int vk = VK_NUMLOCK;
  switch (key) {
    case LockKey::NumLock:
      vk = VK_NUMLOCK;
      break;
    case LockKey::CapsLock:
      vk = VK_CAPITAL;
      break;
    case LockKey::ScrollLock:
      vk = VK_SCROLL;
      break;
  }
  return static_cast<std::int16_t>(::GetKeyState(vk));
}

}  // namespace osk::win32
