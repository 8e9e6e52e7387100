// A balloon that points at a control and says something for a few seconds,
// without taking the focus from anyone and without waiting for an answer.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "host/common/handles.h"

namespace osk::win32 {

class NoteBalloon {
 public:
  NoteBalloon() = default;
  NoteBalloon(const NoteBalloon&) = delete;
  NoteBalloon& operator=(const NoteBalloon&) = delete;
  NoteBalloon(NoteBalloon&&) = delete;
  NoteBalloon& operator=(NoteBalloon&&) = delete;
  ~NoteBalloon();

  // Points at the bottom edge of `anchor` (screen pixels); the balloon
  // belongs to `owner` and goes with it. False when it could not be shown.
  // With `onClick`, the balloon takes a click instead of passing it to the
  // key beneath, and runs it.
  [[nodiscard]] bool show(HWND owner, const RECT& anchor, const std::wstring& text,
                          std::function<void()> onClick = {});

 private:
  static void CALLBACK hideLater(HWND tip, UINT msg, UINT_PTR id, DWORD time) noexcept;
  static LRESULT CALLBACK tipProc(HWND tip, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                  DWORD_PTR data) noexcept;
  static void hide(HWND tip);
  UniqueWindow tip_;
  std::function<void()> onClick_;
  HWND owner_ = nullptr;
};

}  // namespace osk::win32
