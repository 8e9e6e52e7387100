// The fonts, brushes, pictures and off-screen bitmap the window's controls
// are painted with, made once and owned here until the window goes: keys
// repaint several times a second (flashes, latches, lock lights, the scan's
// light), and a GDI object per paint would cost time and, leaked once, run
// the process out of them.
#pragma once

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <utility>

#include "face/palette.h"
#include "host/common/handles.h"
#include "host/paint/icons.h"
#include "layout/model.h"

namespace osk::win32 {

// The resolved colour of a stored value: system references are looked up now.
COLORREF resolveColor(Color color);

class GdiCache {
 public:
  using Fonts = std::map<std::pair<LONG, bool>, UniqueFont>;  // (LOGFONT height, bold)

  // The font of that height; the system's dialog font when none can be made.
  HFONT font(LONG height, bool bold);
  // The brush for `color`, to paint in `dc`.
  HBRUSH brush(Color color, HDC dc);

  // Hands over every font made so far, to be deleted once no control uses
  // them any more (after a relayout at a new DPI). The heights captions were
  // fitted to go with them: they were measured in those fonts.
  Fonts takeFonts() {
    fitted_.clear();
    return std::exchange(fonts_, {});
  }
  // How many fonts could not be made: a height measured meanwhile was
  // measured in the system's stand-in, not in the font it names.
  unsigned fontFailures() const { return fontFailures_; }

  // The font height a caption was fitted to in a key's room (width and
  // height) at its own font's height and weight; measuring a caption that
  // does not fit takes a measure at every smaller height, and the flash and
  // refresh timers repaint a key several times a second.
  std::optional<LONG> fittedHeight(const std::wstring& caption, SIZE room, LONG height, bool bold) const;
  void keepFittedHeight(const std::wstring& caption, SIZE room, LONG height, bool bold, LONG fitted);
  // The system's colours changed: brushes are made afresh.
  void dropBrushes() { brushes_.clear(); }
  // The colours every control of the window is painted in.
  const Palette& palette() const { return palette_; }
  void setPalette(const Palette& palette) { palette_ = palette; }

  // A memory DC compatible with `dc` with a bitmap of at least `size`
  // selected into it, to paint a key off screen at 0, 0; kept for the next
  // paint, because making them cost 0.4 ms per key under Wine, half of the
  // whole paint. Null when the system is short of GDI objects.
  HDC offscreen(HDC dc, SIZE size);
  IconCache& icons() { return icons_; }
  // A relayout at a new DPI: no key has the old sizes any more.
  void dropSized();

 private:
  Fonts fonts_;
  unsigned fontFailures_ = 0;
  // (caption, room's width, room's height, own height, bold) -> fitted height
  std::map<std::tuple<std::wstring, LONG, LONG, LONG, bool>, LONG> fitted_;
  Palette palette_;
  std::map<COLORREF, UniqueBrush> brushes_;
  IconCache icons_;
  // Declared before the DC, so that the DC, which holds it selected, goes first.
  UniqueBitmap offscreenBitmap_;
  UniqueMemDC offscreenDc_;
  SIZE offscreenSize_{};
};

}  // namespace osk::win32
