#include "host/window/resize_cover.h"

#include <algorithm>
#include <utility>

#include "host/common/failure.h"

namespace osk::win32 {

namespace {

constexpr const wchar_t* kClassName = L"QmOskResizeCover";

bool registerCoverClass(WNDPROC proc) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (::GetClassInfoExW(::GetModuleHandleW(nullptr), kClassName, &existing)) return true;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = proc;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  // No background brush: the picture covers every pixel.
  wc.lpszClassName = kClassName;
  return ::RegisterClassExW(&wc) != 0;
}

}  // namespace

bool ResizeCover::cover(HWND parent) {
  if (!alive()) {
    if (!registerCoverClass(&WindowBase::staticWndProc) ||
        createWindow(0, kClassName, L"", WS_CHILD | WS_CLIPSIBLINGS, POINT{0, 0}, SIZE{0, 0}, parent) ==
            nullptr) {
      logFailure("making the picture shown while the window is resized", ::GetLastError());
      return false;
    }
  }
  if (covering_) {
    repaint();
    return true;
  }
  // As large as the screens rather than the window, and laid once: a step
  // of the drag then moves nothing but the window itself, and the strip a
  // growing window uncovers already lies under the picture instead of
  // being erased to grey first.
  const int wide = std::max(::GetSystemMetrics(SM_CXVIRTUALSCREEN), 1) * 2;
  const int high = std::max(::GetSystemMetrics(SM_CYVIRTUALSCREEN), 1) * 2;
  // Above every key: each has WS_CLIPSIBLINGS, so a key repainted under
  // the picture (a flash, a lock light) stays hidden.
  if (!::SetWindowPos(hwnd(), HWND_TOP, 0, 0, wide, high, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOCOPYBITS)) {
    logFailure("showing the picture shown while the window is resized", ::GetLastError());
    return false;
  }
  covering_ = true;
  repaint();
  return true;
}

void ResizeCover::uncover() {
  if (!covering_) return;
  covering_ = false;
  if (alive()) ::ShowWindow(hwnd(), SW_HIDE);
  dc_.reset();
  bitmap_.reset();
  bitmapSize_ = {};
}

void ResizeCover::repaint() const {
  if (!covering_ || !alive()) return;
  RECT client{};
  ::GetClientRect(::GetParent(hwnd()), &client);
  ::InvalidateRect(hwnd(), &client, FALSE);
}

void ResizeCover::onPaint(HWND self) {
  PAINTSTRUCT ps{};
  HDC dc = ::BeginPaint(self, &ps);
  if (dc == nullptr) return;
  // The picture is of the window's client area, which the cover outgrows.
  RECT client{};
  ::GetClientRect(::GetParent(self), &client);
  const SIZE size{client.right, client.bottom};
  // A paint whose update lies wholly outside the window's client area (the
  // cover outgrows it) would draw the whole picture for nothing: 7 ms under
  // Wine, at every other step of a drag.
  if (size.cx > 0 && size.cy > 0 && ::IsRectEmpty(&ps.rcPaint) == FALSE) {
    if (!dc_ || size.cx > bitmapSize_.cx || size.cy > bitmapSize_.cy) {
      // Grown with some room, so that a drag outwards does not make a new
      // bitmap at every step.
      const SIZE want{std::max(size.cx, bitmapSize_.cx) + 64, std::max(size.cy, bitmapSize_.cy) + 64};
      dc_.reset();
      bitmap_.reset();
      bitmapSize_ = {};
      UniqueMemDC mem(::CreateCompatibleDC(dc));
      UniqueBitmap bitmap(mem ? ::CreateCompatibleBitmap(dc, want.cx, want.cy) : nullptr);
      if (mem && bitmap && ::SelectObject(mem.get(), bitmap.get()) != nullptr) {
        bitmap_ = std::move(bitmap);
        dc_ = std::move(mem);
        bitmapSize_ = want;
      }
    }
    if (dc_) {
      paint_(dc_.get(), size);
      ::BitBlt(dc, 0, 0, size.cx, size.cy, dc_.get(), 0, 0, SRCCOPY);
    } else {
      // Short of GDI objects: drawn on the screen, with some flicker.
      logFailure("painting the window's picture off screen", ::GetLastError());
      paint_(dc, size);
    }
  }
  ::EndPaint(self, &ps);
}

LRESULT ResizeCover::handleMessage(HWND self, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT:
      onPaint(self);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_NCHITTEST:
      // The pointer belongs to the window being resized, never to a
      // picture of its keys.
      return HTTRANSPARENT;
    default:
      return ::DefWindowProcW(self, msg, wp, lp);
  }
}

}  // namespace osk::win32
