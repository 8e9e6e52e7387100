// The base of the host's top-level windows: one static window procedure that
// finds its object through the window's user data, stored at WM_NCCREATE, so
// that a derived window sees every message from its first on, and owns its
// handle from then until WM_NCDESTROY.
#pragma once

#include <windows.h>

#include <string>

#include "host/common/handles.h"

namespace osk::win32 {

class WindowBase {
 public:
  WindowBase(const WindowBase&) = delete;
  WindowBase& operator=(const WindowBase&) = delete;
  WindowBase(WindowBase&&) = delete;
  WindowBase& operator=(WindowBase&&) = delete;

  // A window still alive here gets no more messages: the derived part it
  // would dispatch them to is already gone.
  virtual ~WindowBase();

  HWND hwnd() const { return hwnd_.get(); }
  bool alive() const { return static_cast<bool>(hwnd_); }

 protected:
  WindowBase() = default;

  // Every message from WM_NCCREATE on, WM_NCDESTROY included. What it
  // throws ends at the procedure's one barrier: logged, and the message
  // then goes to DefWindowProc.
  virtual LRESULT handleMessage(HWND self, UINT msg, WPARAM wp, LPARAM lp) = 0;

  // CreateWindowExW with this object as the window's own; null, with the
  // thread's last error set, when the system refused.
  HWND createWindow(DWORD exStyle, const std::wstring& className, const std::wstring& title, DWORD style,
                    POINT position, SIZE size, HWND owner);
  // Destroys the window now; a derived window calls it from its own
  // destructor, while its handlers can still run.
  void destroyWindow() { hwnd_.reset(); }

  // The procedure to register the window class with.
  static LRESULT CALLBACK staticWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept;

 private:
  UniqueWindow hwnd_;
};

}  // namespace osk::win32
