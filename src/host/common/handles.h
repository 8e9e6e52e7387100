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
inline void releaseScreenDC(HDC h) { ::ReleaseDC(nullptr, h); }
template <typename T>
void localFree(T p) {
  ::LocalFree(p);
}
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
// The screen's DC from GetDC(nullptr).
using UniqueScreenDC = UniqueHandle<HDC, detail::releaseScreenDC>;
// Memory the system allocated for the caller with LocalAlloc
// (FormatMessage, CommandLineToArgvW).
template <typename T>
using UniqueLocal = UniqueHandle<T, detail::localFree<T>>;

// Selects a GDI object into a DC for the lifetime of the guard.
class SelectGuard {
 public:
  SelectGuard(HDC dc, HGDIOBJ obj) : dc_(dc), old_(::SelectObject(dc, obj)) {}
  SelectGuard(const SelectGuard&) = delete;
  SelectGuard& operator=(const SelectGuard&) = delete;
  SelectGuard(SelectGuard&&) = delete;
  SelectGuard& operator=(SelectGuard&&) = delete;
  ~SelectGuard() {
    if (old_ != nullptr && old_ != HGDI_ERROR) ::SelectObject(dc_, old_);
  }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace osk::win32
