#include "host/window/win32_form_host.h"

#include <algorithm>
#include <string>
#include <utility>

#include "host/common/failure.h"
#include "host/common/text.h"
#include "host/window/dpi.h"

namespace osk::win32 {

void Win32FormHost::adopt(FormWindow& window) {
  windows_[&window.form()] = &window;
  window.setBeforeUnload([this, &window] { closeDialogsAbove(window); });
  if (auto it = nonActivating_.find(&window.form()); it != nonActivating_.end())
    window.setNonActivating(it->second);
  window.countMessagesIn(&messagesTaken_);
}

void Win32FormHost::close(Form& form) {
  auto it = windows_.find(&form);
  if (it != windows_.end()) it->second->requestClose();
}

void Win32FormHost::closeDialogsAbove(const FormWindow& window) {
  auto at = std::find(modal_.begin(), modal_.end(), &window);
  const std::size_t first = at == modal_.end() ? 0 : static_cast<std::size_t>(at - modal_.begin()) + 1;
  // A window that closes while a dialog above it is up (the keyboard closed
  // from the taskbar, or by another program) would otherwise take the
  // dialogs with it unsaved: Windows destroys owned windows without closing
  // them. Sent, not posted, so each is gone before the next one goes.
  while (modal_.size() > first) {
    FormWindow* top = modal_.back();
    if (top->alive()) ::SendMessageW(top->hwnd(), WM_CLOSE, 0, 0);
    if (!modal_.empty() && modal_.back() == top) {
      if (top->alive()) break;  // it refused; nothing above it can be left hanging
      modal_.pop_back();
    }
  }
}

void Win32FormHost::setNonActivating(const Form& form, bool on) {
  nonActivating_[&form] = on;
  if (auto it = windows_.find(&form); it != windows_.end()) it->second->setNonActivating(on);
}

bool Win32FormHost::tickOnKeyEvents(const Form& form, TimerName timer) {
  auto it = windows_.find(&form);
  return it != windows_.end() && it->second->tickOnKeyEvents(timer);
}

bool Win32FormHost::reportInputElsewhere(const Form& form, bool on) {
  auto it = windows_.find(&form);
  return it != windows_.end() && it->second->reportInputElsewhere(on);
}

void Win32FormHost::forget(const Form& form) { windows_.erase(&form); }

WindowId Win32FormHost::windowOf(const Form& form) const {
  auto it = windows_.find(&form);
  if (it == windows_.end() || !it->second->alive()) return 0;
  return reinterpret_cast<WindowId>(it->second->hwnd());
}

// By the process: a message box or a note of the keyboard's is its own as
// much as a dialog is.
bool Win32FormHost::ownsWindow(WindowId window) const {
  DWORD pid = 0;
  return window != 0 && ::GetWindowThreadProcessId(reinterpret_cast<HWND>(window), &pid) != 0 &&
         pid == ::GetCurrentProcessId();
}

void Win32FormHost::bringForward(const Form& form, bool activate) {
  HWND hwnd = reinterpret_cast<HWND>(windowOf(form));
  if (hwnd == nullptr) return;
  if (activate) {
    if (::IsIconic(hwnd)) ::ShowWindow(hwnd, SW_RESTORE);
    // With a dialog open the keyboard itself is disabled; the dialog is what
    // the user was working in, and what takes input. (Owned by the keyboard,
    // it comes up with it either way.)
    HWND front = hwnd;
    if (!modal_.empty() && modal_.back()->alive()) front = modal_.back()->hwnd();
    // The second start allowed this process the foreground before it asked.
    if (!::SetForegroundWindow(front)) logFailure("the keyboard could not come to the front");
    return;
  }
  // Restored and raised, but the window being typed into keeps the focus.
  if (::IsIconic(hwnd)) ::ShowWindow(hwnd, SW_SHOWNOACTIVATE);
  ::SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Win32FormHost::showNote(const Form& form, ControlName control, std::string_view text) {
  auto it = windows_.find(&form);
  HWND child =
      it != windows_.end() && it->second->alive() ? it->second->controlWindow(control.str()) : nullptr;
  noteAt(child != nullptr ? it->second->hwnd() : nullptr, child, text);
}

void Win32FormHost::showActionNote(const Form& form, const Control& control, std::string_view text,
                                   std::function<void()> onClick) {
  auto it = windows_.find(&form);
  HWND child =
      it != windows_.end() && it->second->alive() ? it->second->controlWindow(control.name()) : nullptr;
  noteAt(child != nullptr ? it->second->hwnd() : nullptr, child, text, std::move(onClick));
}

void Win32FormHost::noteAt(HWND owner, HWND anchorWindow, std::string_view text,
                           std::function<void()> onClick) {
  RECT anchor{};
  if (owner != nullptr && ::GetWindowRect(anchorWindow, &anchor) != FALSE &&
      note_.show(owner, anchor, widen(text), std::move(onClick)))
    return;
  // Not a word could be shown: at least the user hears that something
  // went wrong.
  ::MessageBeep(MB_ICONWARNING);
  logFailure("a note could not be shown: " + std::string(text));
}

bool Win32FormHost::isOurWindow(HWND hwnd) const {
  return std::ranges::any_of(
      windows_, [hwnd](const auto& entry) { return entry.second->alive() && entry.second->hwnd() == hwnd; });
}

bool Win32FormHost::pumpOne(bool repostQuit) {
  MSG msg{};
  const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
  if (got == 0) {
    if (repostQuit) ::PostQuitMessage(static_cast<int>(msg.wParam));
    quitCode_ = static_cast<int>(msg.wParam);
    return false;
  }
  // -1 comes only from a bad window handle or message pointer, neither of
  // which this loop passes; it ends the loop rather than spin.
  if (got == -1) return false;
  ++messagesTaken_;
  // Timer ticks are most of what an idle keyboard takes in, and raw input
  // comes at every move of the pointer anywhere while word prediction is
  // on; dialog navigation has nothing to do with either, and looking up
  // the root window would cost a round trip to the server at each under
  // Wine.
  if (msg.message == WM_TIMER || msg.message == WM_INPUT) {
    ::DispatchMessageW(&msg);
    return true;
  }
  // Tab, Space and the like move between and press the controls of our
  // windows as in a dialog box.
  HWND root = msg.hwnd != nullptr ? ::GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
  if (root != nullptr && isOurWindow(root) && ::IsDialogMessageW(root, &msg)) return true;
  ::TranslateMessage(&msg);
  ::DispatchMessageW(&msg);
  return true;
}

int Win32FormHost::run() {
  while (pumpOne(false)) {
  }
  return quitCode_;
}

// How long after opening a modal dialog it asserts its place in front once
// more, when the window manager has finished with the click that opened it.
constexpr DWORD kModalSettleMs = 250;

void Win32FormHost::showModal(Form& dialog, Form& owner) {
  if (auto it = windows_.find(&dialog); it != windows_.end() && it->second->alive()) {
    // Already open (a second request while it is up): bring it forward.
    ::SetForegroundWindow(it->second->hwnd());
    return;
  }
  // Nothing could answer the dialog's controls before the program has
  // said where events go.
  if (events_ == nullptr) return;
  HWND ownerHwnd = reinterpret_cast<HWND>(windowOf(owner));
  FormWindow window(dialog, *events_, texts_, FormWindow::Options{ownerHwnd, false, true, false, colours_});
  if (!window.alive()) {
    // Out of window or GDI resources: the click that asked for the dialog
    // would show nothing, so the note at the window it was asked from says
    // why (the window has already said it on the debug channel).
    cannotOpen(ownerHwnd, window);
    return;
  }
  windows_[&dialog] = &window;
  modal_.push_back(&window);
  window.setBeforeUnload([this, &window] { closeDialogsAbove(window); });

  // Until the dialog says where it goes, it opens centred over its owner.
  // Unplaced, it opens where the system puts new windows, which is on
  // screen too.
  RECT o{};
  RECT d{};
  if (ownerHwnd != nullptr && ::GetWindowRect(ownerHwnd, &o) && ::GetWindowRect(window.hwnd(), &d)) {
    const int x = o.left + ((o.right - o.left) - (d.right - d.left)) / 2;
    const int y = o.top + ((o.bottom - o.top) - (d.bottom - d.top)) / 2;
    ::SetWindowPos(window.hwnd(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  const bool disableOwner = ownerHwnd != nullptr && ::IsWindowEnabled(ownerHwnd) != FALSE;
  auto releaseOwner = [ownerHwnd, disableOwner] {
    if (disableOwner && ::IsWindowEnabled(ownerHwnd) == FALSE) ::EnableWindow(ownerHwnd, TRUE);
  };
  // The owner must be enabled again before the dialog goes, or Windows
  // activates some other program's window in its place.
  window.setOnClosing(releaseOwner);
  if (disableOwner) ::EnableWindow(ownerHwnd, FALSE);

  if (!window.open()) {
    releaseOwner();
    std::erase(modal_, &window);
    windows_.erase(&dialog);
    cannotOpen(ownerHwnd, window);
    return;
  }
  // The owner's timers keep ticking: this loop dispatches their messages too,
  // so it also wakes often enough to keep the dialog in front.
  const DWORD opened = ::GetTickCount();
  bool settled = false;
  bool quit = false;
  while (window.alive()) {
    if (!pumpOne(true)) {
      quit = true;
      break;
    }
    if (!window.alive() || ownerHwnd == nullptr) continue;
    // A modal dialog stays in front of the windows it blocks (its owner and,
    // for a dialog opened from a dialog, the keyboard too). The window
    // manager may still be raising the owner for the click that opened the
    // dialog, and a click on a disabled window must not bury the dialog.
    HWND front = ::GetForegroundWindow();
    const bool blockedInFront = front != nullptr && front != window.hwnd() && isOurWindow(front);
    if (blockedInFront || (!settled && ::GetTickCount() - opened >= kModalSettleMs)) {
      settled = true;
      ::SetWindowPos(window.hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
      ::SetForegroundWindow(window.hwnd());
    }
  }
  releaseOwner();
  std::erase(modal_, &window);
  windows_.erase(&dialog);
  if (!quit && ownerHwnd != nullptr && ::IsWindow(ownerHwnd)) ::SetActiveWindow(ownerHwnd);
}

void Win32FormHost::cannotOpen(HWND owner, const FormWindow& window) {
  noteAt(owner, owner, texts_.text(TextId::DialogNotOpened) + " " + window.failure());
}

std::vector<Geometry> Win32FormHost::monitorWorkAreas() const {
  const ScreenMap screens = currentScreens();
  std::vector<Geometry> areas = screens.workAreas();
  if (areas.empty()) {
    RECT w{};
    // A work area of no size would send the keyboard's rescue of an
    // off-screen window into a corner; the whole primary screen is the
    // next best thing.
    if (!::SystemParametersInfoW(SPI_GETWORKAREA, 0, &w, 0) || w.right <= w.left || w.bottom <= w.top)
      w = RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    // With no monitor known the map converts at the system DPI.
    areas.push_back(geometryOf(w, screens));
  }
  return areas;
}

}  // namespace osk::win32
