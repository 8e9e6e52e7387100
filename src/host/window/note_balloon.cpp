#include "host/window/note_balloon.h"

#include <commctrl.h>

#include <utility>

#include "host/common/failure.h"

namespace osk::win32 {

namespace {

constexpr UINT_PTR kHideTimer = 1;
// Long enough to read two lines of a system message.
constexpr UINT kShownMs = 6000;
constexpr int kMaxWidthPx = 420;
constexpr UINT_PTR kToolId = 1;
constexpr UINT_PTR kClickSubclass = 1;

TOOLINFOW toolOf(HWND owner, bool takesClicks = false) {
  TOOLINFOW tool{};
  // The size that every version of the common controls accepts.
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  // TRANSPARENT: a click on the balloon reaches the key beneath it.
  tool.uFlags = TTF_TRACK | TTF_ABSOLUTE | (takesClicks ? 0U : TTF_TRANSPARENT);
  tool.hwnd = owner;
  tool.uId = kToolId;
  return tool;
}

}  // namespace

NoteBalloon::~NoteBalloon() {
  // The balloon is owned by its window and has gone with it already when
  // the window closed first.
  if (tip_ && !::IsWindow(tip_.get())) tip_.release();
}

bool NoteBalloon::show(HWND owner, const RECT& anchor, const std::wstring& text,
                       std::function<void()> onClick) {
  if (tip_ && (owner != owner_ || !::IsWindow(tip_.get()))) {
    if (!::IsWindow(tip_.get())) tip_.release();
    tip_.reset();
  }
  if (!tip_) {
    HWND tip =
        ::CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE, TOOLTIPS_CLASSW, nullptr,
                          WS_POPUP | TTS_NOPREFIX | TTS_BALLOON | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                          CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (tip == nullptr) return false;
    tip_.reset(tip);
    owner_ = owner;
    TOOLINFOW tool = toolOf(owner);
    // The field is not const only because TTM_GETTEXT writes through it;
    // adding and updating a tool only read it.
    tool.lpszText = const_cast<wchar_t*>(L"");  // NOLINT(cppcoreguidelines-pro-type-const-cast)
    if (!::SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool))) {
      tip_.reset();
      return false;
    }
    // Without it a click on the balloon does not put it away; it still goes
    // when its time is up.
    ::SetWindowSubclass(tip, &NoteBalloon::tipProc, kClickSubclass, reinterpret_cast<DWORD_PTR>(this));
    ::SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, kMaxWidthPx);
    ::SendMessageW(tip, TTM_SETTITLEW, TTI_WARNING, reinterpret_cast<LPARAM>(L"QM-OSK"));
  }
  HWND tip = tip_.get();
  onClick_ = std::move(onClick);
  TOOLINFOW tool = toolOf(owner, static_cast<bool>(onClick_));
  // Read only, as above.
  tool.lpszText = const_cast<wchar_t*>(text.c_str());  // NOLINT(cppcoreguidelines-pro-type-const-cast)
  // The whole tool, not just its text: whether it takes clicks changes too.
  ::SendMessageW(tip, TTM_SETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool));
  // The balloon draws the tool's text; the window text carries it as well,
  // for screen readers and for tools that read what the keyboard shows.
  ::SetWindowTextW(tip, text.c_str());
  ::SendMessageW(tip, TTM_TRACKPOSITION, 0, MAKELPARAM((anchor.left + anchor.right) / 2, anchor.bottom));
  ::SendMessageW(tip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
  // A newer note restarts the time. A balloon that could not be timed would
  // lie over the keys for good (on Windows a click passes through it), so
  // it is taken down and the caller says its piece another way.
  if (::SetTimer(tip, kHideTimer, kShownMs, &NoteBalloon::hideLater) == 0) {
    hide(tip);
    return false;
  }
  return ::IsWindowVisible(tip) != FALSE;
}

void NoteBalloon::hide(HWND tip) {
  ::KillTimer(tip, kHideTimer);
  TOOLINFOW tool = toolOf(::GetWindow(tip, GW_OWNER));
  ::SendMessageW(tip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
}

void CALLBACK NoteBalloon::hideLater(HWND tip, UINT /*msg*/, UINT_PTR /*id*/, DWORD /*time*/) noexcept {
  hide(tip);
}

// The balloon lies over keys. Where the system does not pass a click on it
// through to the key beneath (Wine does not), a click puts it away, so that
// no key stays out of reach until it times out.
// A note that offers something does it on a click of the left button.
LRESULT CALLBACK NoteBalloon::tipProc(HWND tip, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                      DWORD_PTR data) noexcept {
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: {
      hide(tip);
      auto* balloon = reinterpret_cast<NoteBalloon*>(data);
      // Taken first: the action may well show the next note.
      std::function<void()> onClick = std::exchange(balloon->onClick_, nullptr);
      if (msg == WM_LBUTTONDOWN && onClick) static_cast<void>(guarded(onClick));
      return 0;
    }
    case WM_NCDESTROY:
      ::RemoveWindowSubclass(tip, &NoteBalloon::tipProc, id);
      break;
    default:
      break;
  }
  return ::DefSubclassProc(tip, msg, wp, lp);
}

}  // namespace osk::win32
