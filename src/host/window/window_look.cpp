#include "host/window/window_look.h"

#include <shellapi.h>

#include <atomic>
#include <string>

#include "host/common/failure.h"
#include "host/common/text.h"
#include "host/window/dpi.h"

namespace osk::win32 {
namespace {

// The system menu's own commands start at 0xF000 and use the low four bits.
constexpr UINT kDockCommand = 0x0DC0;
// The bar's own note to itself, beside the system's ABN_ ones (0 to 3).
constexpr WPARAM kInFrontAgain = 0x100;

// The bar the process has registered, for the last resort below, and the
// filter that was there before it.
struct CrashRescue {
  std::atomic<HWND> bar{nullptr};
  LPTOP_LEVEL_EXCEPTION_FILTER next = nullptr;
  bool set = false;
};
CrashRescue& crashRescue() {
  static CrashRescue rescue;
  return rescue;
}

// A crash would leave the bar registered with the shell, which keeps the
// screen's strip reserved for a window that is gone: the shell's
// documentation asks every bar to remove itself before its window goes and
// promises no clean-up of its own. So a crash removes it too, before the
// report the system makes of the crash.
LONG WINAPI removeBarOnCrash(EXCEPTION_POINTERS* info) {
  CrashRescue& rescue = crashRescue();
  if (HWND bar = rescue.bar.exchange(nullptr)) {
    APPBARDATA data{};
    data.cbSize = sizeof(data);
    data.hWnd = bar;
    ::SHAppBarMessage(ABM_REMOVE, &data);
  }
  return rescue.next != nullptr ? rescue.next(info) : EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

WindowLookHost::WindowLookHost()
    : notice_(::RegisterWindowMessageW(L"QmOskAppBarNotice")),
      stateAsked_(::RegisterWindowMessageW(kAppBarStateMessage)) {
  if (notice_ == 0 || stateAsked_ == 0) logFailure("registering the app bar's messages", ::GetLastError());
}

WindowLookHost::~WindowLookHost() { removeBar(); }

void WindowLookHost::attach(FormWindow& window, Docking& docking, const Texts& texts) {
  window_ = &window;
  docking_ = &docking;
  texts_ = &texts;
  window.addFilter(*this);
  HMENU menu = ::GetSystemMenu(window.hwnd(), FALSE);
  const std::wstring item = widen(texts.text(TextId::DockMenuItem));
  if (menu == nullptr || !::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr) ||
      !::AppendMenuW(menu, MF_STRING, kDockCommand, item.c_str()))
    logFailure("adding the docking item to the window menu", ::GetLastError());
}

void WindowLookHost::showDockItem(HMENU menu) const {
  // Worded afresh at every opening: the language may have changed since the
  // last, and the menu is the system's, so nothing else would reword it.
  const std::wstring item = widen(texts_->text(TextId::DockMenuItem));
  const UINT state = MF_BYCOMMAND | MF_STRING | (docking_->docked() ? MF_CHECKED : MF_UNCHECKED);
  if (!::ModifyMenuW(menu, kDockCommand, state, kDockCommand, item.c_str()))
    logFailure("wording the docking item of the window menu", ::GetLastError());
}

HWND WindowLookHost::hwnd() const {
  return window_ != nullptr && window_->alive() ? window_->hwnd() : nullptr;
}

void WindowLookHost::setOpacity(const Form& /*form*/, bool layered, int percent) {
  HWND h = hwnd();
  if (h == nullptr) return;
  const LONG_PTR ex = ::GetWindowLongPtrW(h, GWL_EXSTYLE);
  const LONG_PTR want = layered ? (ex | WS_EX_LAYERED) : (ex & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
  if (want != ex) {
    ::SetLastError(0);
    if (::SetWindowLongPtrW(h, GWL_EXSTYLE, want) == 0 && ::GetLastError() != 0) {
      logFailure("changing whether the keyboard can fade", ::GetLastError());
      return;
    }
  }
  if (!layered) {
    // Back from a layered window the system has to draw it afresh.
    if (want != ex &&
        !::RedrawWindow(h, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN))
      logFailure("redrawing the keyboard after fading", ::GetLastError());
    return;
  }
  // The alpha alone changes: no repaint of any key, so no flicker.
  const auto alpha = static_cast<BYTE>(::MulDiv(percent, 255, 100));
  if (!::SetLayeredWindowAttributes(h, 0, alpha, LWA_ALPHA))
    logFailure("fading the keyboard", ::GetLastError());
}

bool WindowLookHost::pointerOver(const Form& /*form*/) const {
  HWND h = hwnd();
  POINT at{};
  if (h == nullptr || !::GetCursorPos(&at)) return false;
  HWND under = ::WindowFromPoint(at);
  return under != nullptr && (under == h || ::IsChild(h, under) != FALSE);
}

bool WindowLookHost::barCall(DWORD message, APPBARDATA& data, const char* what) {
  if (::SHAppBarMessage(message, &data) != 0) return true;
  ++refusals_;
  logFailure(what, ::GetLastError());
  return false;
}

std::optional<Geometry> WindowLookHost::dockBottom(const Form& form, float height) {
  HWND h = hwnd();
  if (h == nullptr) return std::nullopt;
  APPBARDATA data{};
  data.cbSize = sizeof(data);
  data.hWnd = h;
  if (!registered_) {
    data.uCallbackMessage = notice_;
    if (!barCall(ABM_NEW, data, "making the keyboard an application bar")) return std::nullopt;
    registered_ = true;
    // A bar stays in front of the windows that keep clear of it, as the
    // taskbar does: one dragged over it would otherwise hide the keys.
    topmostBefore_ = (::GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    placeInZOrder(HWND_TOPMOST, "keeping the docked keyboard in front");
    CrashRescue& rescue = crashRescue();
    rescue.bar = h;
    // Once: a second call would find this filter itself as the one before.
    if (!rescue.set) {
      rescue.next = ::SetUnhandledExceptionFilter(removeBarOnCrash);
      rescue.set = true;
    }
  }
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  if (!::GetMonitorInfoW(::MonitorFromWindow(h, MONITOR_DEFAULTTONEAREST), &monitor)) {
    logFailure("finding the keyboard's monitor", ::GetLastError());
    removeBar();
    return std::nullopt;
  }
  placing_ = true;
  std::optional<Geometry> granted = placeBar(data, monitor.rcMonitor, form.geometry(), height);
  placing_ = false;
  return granted;
}

std::optional<Geometry> WindowLookHost::placeBar(APPBARDATA& data, const RECT& monitor, Geometry sized,
                                                 float height) {
  const ScreenMap screens = currentScreens();
  sized.height = height;
  const RECT asked = windowRectOf(sized, screens);
  const LONG pixels = asked.bottom - asked.top;
  // The whole bottom edge is proposed; the system narrows it beside the
  // other bars there (a taskbar at the side) and lifts it above one at the
  // bottom.
  data.uEdge = ABE_BOTTOM;
  data.rc = monitor;
  data.rc.top = data.rc.bottom - pixels;
  if (!barCall(ABM_QUERYPOS, data, "asking where the keyboard can dock")) {
    removeBar();
    return std::nullopt;
  }
  data.rc.top = data.rc.bottom - pixels;
  if (!barCall(ABM_SETPOS, data, "docking the keyboard")) {
    removeBar();
    return std::nullopt;
  }
  return geometryOf(data.rc, screens);
}

void WindowLookHost::remove(const Form& /*form*/) { removeBar(); }

void WindowLookHost::removeBar() {
  if (!registered_) return;
  registered_ = false;
  crashRescue().bar = nullptr;
  APPBARDATA data{};
  data.cbSize = sizeof(data);
  data.hWnd = window_ != nullptr ? window_->hwnd() : nullptr;
  static_cast<void>(barCall(ABM_REMOVE, data, "removing the keyboard's application bar"));
  if (!topmostBefore_ && data.hWnd != nullptr && ::IsWindow(data.hWnd) != FALSE)
    placeInZOrder(HWND_NOTOPMOST, "letting the undocked keyboard go behind other windows");
}

void WindowLookHost::placeInZOrder(HWND after, const char* what) const {
  HWND h = hwnd();
  if (h == nullptr) return;
  if (::SetWindowPos(h, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE) == FALSE)
    logFailure(what, ::GetLastError());
}

void WindowLookHost::noticed(WPARAM wp, LPARAM lp) {
  if (wp == ABN_POSCHANGED && registered_ && !placing_) docking_->barsChanged();
  if (wp == kInFrontAgain && registered_ && !fullScreenInFront_)
    placeInZOrder(HWND_TOPMOST, "keeping the docked keyboard in front");
  // A program filling the screen (a film, a slide show) goes in front of
  // the bar until it closes.
  if (wp == ABN_FULLSCREENAPP && registered_) {
    fullScreenInFront_ = lp != 0;
    placeInZOrder(fullScreenInFront_ ? HWND_BOTTOM : HWND_TOPMOST,
                  "stepping the docked keyboard back or forward");
  }
}

std::optional<LRESULT> WindowLookHost::filter(HWND /*hwnd*/, UINT msg, WPARAM wp, LPARAM lp, int control) {
  constexpr std::optional<LRESULT> kPassOn;
  if (control != kWholeWindow) return kPassOn;
  if (msg == stateAsked_) return (registered_ ? 1 : 0) + 2 * refusals_;
  if (msg == notice_) {
    noticed(wp, lp);
    return 0;
  }
  APPBARDATA data{};
  data.cbSize = sizeof(data);
  data.hWnd = hwnd();
  switch (msg) {
    case WM_ACTIVATE:
      if (registered_) static_cast<void>(barCall(ABM_ACTIVATE, data, "telling the shell the bar is active"));
      return kPassOn;
    case WM_ENABLE:
      // Wine keeps a window out of the topmost band while a dialog it owns
      // is open, so a bar docked from the settings dialog takes its place
      // in front once the dialog has gone: the owner is enabled just
      // before, and the note is read after.
      if (wp != FALSE && registered_ && ::PostMessageW(data.hWnd, notice_, kInFrontAgain, 0) == FALSE)
        logFailure("asking for the docked keyboard to come in front", ::GetLastError());
      return kPassOn;
    case WM_WINDOWPOSCHANGED:
      if (registered_)
        static_cast<void>(barCall(ABM_WINDOWPOSCHANGED, data, "telling the shell the bar moved"));
      return kPassOn;
    case WM_EXITSIZEMOVE:
      docking_->userMoved();
      return kPassOn;
    case WM_INITMENU:
      showDockItem(::GetSystemMenu(data.hWnd, FALSE));
      return kPassOn;
    case WM_SYSCOMMAND:
      if ((wp & 0xFFF0U) != kDockCommand) return kPassOn;
      static_cast<void>(docking_->choose(!docking_->docked()));
      return 0;
    case WM_NCDESTROY:
      removeBar();
      return kPassOn;
    default:
      return kPassOn;
  }
}

}  // namespace osk::win32
