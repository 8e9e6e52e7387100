#include "host/window/window_base.h"

#include "host/common/failure.h"

namespace osk::win32 {

WindowBase::~WindowBase() {
  if (alive()) ::SetWindowLongPtrW(hwnd(), GWLP_USERDATA, 0);
  hwnd_.reset();
}

HWND WindowBase::createWindow(DWORD exStyle, const std::wstring& className, const std::wstring& title,
                              DWORD style, POINT position, SIZE size, HWND owner) {
  return ::CreateWindowExW(exStyle, className.c_str(), title.c_str(), style, position.x, position.y, size.cx,
                           size.cy, owner, nullptr, ::GetModuleHandleW(nullptr), this);
}

LRESULT CALLBACK WindowBase::staticWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
  if (msg == WM_NCCREATE) {
    auto* created = static_cast<WindowBase*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
    // Owned from the first message on, so a failure later in creation
    // still destroys the window.
    created->hwnd_.reset(hwnd);
  }
  auto* self = reinterpret_cast<WindowBase*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self == nullptr) return ::DefWindowProcW(hwnd, msg, wp, lp);
  const LRESULT r = guardedEntry([&] { return self->handleMessage(hwnd, msg, wp, lp); },
                                 [&] { return ::DefWindowProcW(hwnd, msg, wp, lp); });
  if (msg == WM_NCDESTROY) {
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    // The window is gone once this message returns; nothing is left to own.
    self->hwnd_.release();
  }
  return r;
}

}  // namespace osk::win32
