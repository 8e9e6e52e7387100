// The pictures of the icon buttons, drawn with GDI at any size.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <tuple>
#include <vector>

#include "layout/model.h"

namespace osk::win32 {

// Width / height that the picture of `icon` is designed for.
double iconAspect(Icon icon);

// The pictures as drawn so far, each at its size, on its background. One
// drawing takes about 0.75 ms under Wine (four times oversized, then
// averaged down), and keys repaint often: a scan relights a row every step,
// a flash or a latch repaints its key. A copy of the finished pixels costs
// next to nothing.
class IconCache {
 public:
  // Draws `icon` as large as fits, centred in `area`, on a background of
  // `back`. A disabled picture is washed out towards the background. With
  // an `ink` (high contrast) it is line art in the ink on the background.
  void draw(HDC dc, const RECT& area, Icon icon, COLORREF back, bool disabled, COLORREF ink = CLR_INVALID);
  void clear() { pictures_.clear(); }
  // While quick, a picture not yet drawn at its size is stretched from the
  // nearest size drawn instead: a drag of the frame shows a new size at
  // every step, where twenty pictures drawn afresh took 15 ms a step. The
  // keys are painted for good when the drag ends.
  void setQuick(bool quick) { quick_ = quick; }

 private:
  // (icon, width, height, disabled): one picture each, in the background it
  // was last drawn on. A key in a new colour draws its picture again, into
  // a buffer of the same size, so the memory taken stops growing once every
  // key has been painted (a cache of every colour seen grew through a whole
  // soak run as new colours came up).
  using Key = std::tuple<Icon, int, int, bool>;
  struct Picture {
    COLORREF back = 0;
    COLORREF ink = CLR_INVALID;
    std::vector<std::uint32_t> pixels;
  };
  // False when no picture of `icon` on `back` has been drawn at any size.
  bool stretchNearest(HDC dc, const RECT& area, Icon icon, COLORREF back, bool disabled) const;

  std::map<Key, Picture> pictures_;
  bool quick_ = false;
};

}  // namespace osk::win32
