// Small RAII owners for Win32 handles. Every resource the host creates is held
// by one of these, so an early return or an exception never leaks a GDI
// object or leaves a window behind.
#pragma once

#include <windows.h>

#include <utility>

namespace osk::win32 {

// Owns a handle of type T and releases it with Close. `Invalid` is the value
// that means "nothing owned" (NULL for most handles, INVALID_HANDLE_VALUE for
// some kernel objects).
template <typename T, auto Close, T Invalid = T{}>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(T h) : h_(h) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& o) noexcept : h_(o.release()) {}
  UniqueHandle& operator=(UniqueHandle&& o) noexcept {
    if (this != &o) reset(o.release());
    return *this;
  }
  ~UniqueHandle() { reset(); }

  T get() const { return h_; }
  explicit operator bool() const { return h_ != Invalid; }
  T release() { return std::exchange(h_, Invalid); }
  void reset(T h = Invalid) {
    T old = std::exchange(h_, h);
    if (old != Invalid) Close(old);
  }

 private:
  T h_ = Invalid;
};

namespace detail {
inline void destroyWindow(HWND h) { ::DestroyWindow(h); }
inline void deleteObject(HGDIOBJ h) { ::DeleteObject(h); }
inline void deleteDC(HDC h) { ::DeleteDC(h); }
inline void closeKey(HKEY h) { ::RegCloseKey(h); }
inline void closeHandle(HANDLE h) { ::CloseHandle(h); }
inline void destroyIcon(HICON h) { ::DestroyIcon(h); }
}  // namespace detail

using UniqueWindow = UniqueHandle<HWND, detail::destroyWindow>;
using UniqueBrush = UniqueHandle<HBRUSH, detail::deleteObject>;
using UniqueFont = UniqueHandle<HFONT, detail::deleteObject>;
using UniquePen = UniqueHandle<HPEN, detail::deleteObject>;
using UniqueBitmap = UniqueHandle<HBITMAP, detail::deleteObject>;
using UniqueRegion = UniqueHandle<HRGN, detail::deleteObject>;
using UniqueMemDC = UniqueHandle<HDC, detail::deleteDC>;
using UniqueKey = UniqueHandle<HKEY, detail::closeKey>;
using UniqueKernelHandle = UniqueHandle<HANDLE, detail::closeHandle>;
using UniqueIcon = UniqueHandle<HICON, detail::destroyIcon>;

// A DC from GetDC, returned with ReleaseDC.
class WindowDC {
 public:
  explicit WindowDC(HWND hwnd) : hwnd_(hwnd), dc_(::GetDC(hwnd)) {}
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  ~WindowDC() {
    if (dc_ != nullptr) ::ReleaseDC(hwnd_, dc_);
  }
  HDC get() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// BeginPaint / EndPaint.
class PaintDC {
 public:
  explicit PaintDC(HWND hwnd) : hwnd_(hwnd) { dc_ = ::BeginPaint(hwnd, &ps_); }
  PaintDC(const PaintDC&) = delete;
  PaintDC& operator=(const PaintDC&) = delete;
  ~PaintDC() { ::EndPaint(hwnd_, &ps_); }
  HDC get() const { return dc_; }
  const PAINTSTRUCT& info() const { return ps_; }

 private:
  HWND hwnd_;
  PAINTSTRUCT ps_{};
  HDC dc_ = nullptr;
};

// Selects a GDI object into a DC for the lifetime of the guard.
class SelectGuard {
 public:
  SelectGuard(HDC dc, HGDIOBJ obj) : dc_(dc), old_(::SelectObject(dc, obj)) {}
  SelectGuard(const SelectGuard&) = delete;
  SelectGuard& operator=(const SelectGuard&) = delete;
  ~SelectGuard() {
    if (old_ != nullptr && old_ != HGDI_ERROR) ::SelectObject(dc_, old_);
  }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// SaveDC / RestoreDC, for drawing code that changes modes, origins or clips.
class SavedDC {
 public:
  explicit SavedDC(HDC dc) : dc_(dc), id_(::SaveDC(dc)) {}
  SavedDC(const SavedDC&) = delete;
  SavedDC& operator=(const SavedDC&) = delete;
  ~SavedDC() {
    if (id_ != 0) ::RestoreDC(dc_, id_);
  }

 private:
  HDC dc_;
  int id_;
};

}  // namespace osk::win32
