// Painting of the controls: the owner-drawn key buttons, whose background
// colour is the state the keyboard shows (latched, flashed, tinted) and so is
// drawn as stored rather than left to the theme, and the colours of the
// system's own controls.
#pragma once

#include <windows.h>

#include "host/paint/gdi_cache.h"
#include "host/paint/placement.h"
#include "layout/model.h"

namespace osk::win32 {

// What the typing aids paint over one key's own face.
struct KeyMarks {
  bool scanLit = false;
  double hoverFill = 0;  // 0 .. 1 of the width, from the left
};

// Paints the key of `control` for a WM_DRAWITEM.
void drawKey(const DRAWITEMSTRUCT& dis, const Control& control, KeyMarks marks, const Placement& placement,
             GdiCache& gdi);

// Paints the key of `control`, unpushed and without focus, into `dc` at
// `rect`: a picture of the whole keyboard drawn in one go.
void paintKeyAt(HDC dc, const RECT& rect, const Control& control, KeyMarks marks, const Placement& placement,
                GdiCache& gdi);

// Paints a label, text box, check box or standard button into `dc` at
// `rect` much as the system's own control draws it.
void paintPlainControl(HDC dc, const RECT& rect, const Control& control, const Placement& placement,
                       GdiCache& gdi);

// Sets the text and background colours of `control` (a label, text box or
// standard button) in `dc` and gives the brush for its background.
HBRUSH controlColors(HDC dc, const Control& control, bool edit, GdiCache& gdi);

}  // namespace osk::win32
