// A picture of the whole window laid over its controls while the user drags
// its frame. Under Wine each child window moved or painted costs some twenty
// round trips to the wineserver: moving and repainting a hundred keys took
// 240 ms a step inside the program, so a drag lagged far behind the pointer.
// With the controls hidden under one picture, a step resizes the window and
// paints the picture, some 10 ms of drawing; the controls are placed once,
// when the drag ends.
#pragma once

#include <windows.h>

#include <functional>

#include "host/common/handles.h"
#include "host/window/window_base.h"

namespace osk::win32 {

class ResizeCover final : public WindowBase {
 public:
  // Draws the window's client area, `size` pixels, into `dc` at 0, 0.
  using Painter = std::function<void(HDC dc, SIZE size)>;

  explicit ResizeCover(Painter paint) : paint_(std::move(paint)) {}
  ResizeCover(const ResizeCover&) = delete;
  ResizeCover& operator=(const ResizeCover&) = delete;
  ResizeCover(ResizeCover&&) = delete;
  ResizeCover& operator=(ResizeCover&&) = delete;
  ~ResizeCover() override { destroyWindow(); }

  // Lays the picture over the whole client area of `parent`, above every
  // control, or repaints it when it lies there already; made at the first
  // use. False when it could
  // not be made: the controls are then placed at every step, as without it.
  [[nodiscard]] bool cover(HWND parent);
  // Takes the picture away; what lies under it must be in place first.
  void uncover();
  bool covering() const { return covering_; }
  // The picture is out of date (a key changed under it).
  void repaint() const;

 private:
  LRESULT handleMessage(HWND self, UINT msg, WPARAM wp, LPARAM lp) override;
  void onPaint(HWND self);

  Painter paint_;
  bool covering_ = false;
  // Kept through a drag: one bitmap the size of the window rather than
  // one per step.
  UniqueBitmap bitmap_;
  UniqueMemDC dc_;
  SIZE bitmapSize_{};
};

}  // namespace osk::win32
