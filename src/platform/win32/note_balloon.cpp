#include "platform/win32/note_balloon.h"

#include <commctrl.h>

namespace osk::win32 {

namespace {

constexpr UINT_PTR kHideTimer = 1;
// Long enough to read two lines of a system message.
constexpr UINT kShownMs = 6000;
constexpr int kMaxWidthPx = 420;
constexpr UINT_PTR kToolId = 1;

TOOLINFOW toolOf(HWND owner) {
  TOOLINFOW tool{};
  // The size that every version of the common controls accepts.
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.uFlags = TTF_TRACK | TTF_ABSOLUTE;
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

bool NoteBalloon::show(HWND owner, const RECT& anchor, const std::wstring& text) {
  if (tip_ && (owner != owner_ || !::IsWindow(tip_.get()))) {
    if (!::IsWindow(tip_.get())) tip_.release();
    tip_.reset();
  }
  if (!tip_) {
    HWND tip = ::CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE, TOOLTIPS_CLASSW, nullptr,
                                 WS_POPUP | TTS_NOPREFIX | TTS_BALLOON | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                                 ::GetModuleHandleW(nullptr), nullptr);
    if (tip == nullptr) return false;
    tip_.reset(tip);
    owner_ = owner;
    TOOLINFOW tool = toolOf(owner);
    tool.lpszText = const_cast<wchar_t*>(L"");
    if (!::SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool))) {
      tip_.reset();
      return false;
    }
    ::SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, kMaxWidthPx);
    ::SendMessageW(tip, TTM_SETTITLEW, TTI_WARNING, reinterpret_cast<LPARAM>(L"QM-OSK"));
  }
  HWND tip = tip_.get();
  TOOLINFOW tool = toolOf(owner);
  tool.lpszText = const_cast<wchar_t*>(text.c_str());
  ::SendMessageW(tip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  // The balloon draws the tool's text; the window text carries it as well,
  // for screen readers and for tools that read what the keyboard shows.
  ::SetWindowTextW(tip, text.c_str());
  ::SendMessageW(tip, TTM_TRACKPOSITION, 0, MAKELPARAM((anchor.left + anchor.right) / 2, anchor.bottom));
  ::SendMessageW(tip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
  // A newer note restarts the time.
  ::SetTimer(tip, kHideTimer, kShownMs, &NoteBalloon::hideLater);
  return ::IsWindowVisible(tip) != FALSE;
}

void CALLBACK NoteBalloon::hideLater(HWND tip, UINT, UINT_PTR id, DWORD) {
  ::KillTimer(tip, id);
  TOOLINFOW tool = toolOf(::GetWindow(tip, GW_OWNER));
  ::SendMessageW(tip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace osk::win32
