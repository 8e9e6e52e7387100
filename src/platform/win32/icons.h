// The pictures of the icon buttons, drawn with GDI at any size.
#pragma once

#include <windows.h>

#include "layout/model.h"

namespace osk::win32 {

// Width / height that the picture of `icon` is designed for.
double iconAspect(Icon icon);

// Draws `icon` as large as fits, centred in `area`, on a background of
// `back`. A disabled picture is washed out towards the background.
void drawIcon(HDC dc, const RECT& area, Icon icon, COLORREF back, bool disabled);

}  // namespace osk::win32
