// Dots per inch of windows and monitors, and twips <-> pixels.
//
// The DPI functions of user32 appeared over several Windows versions (and
// Wine has only some of them), so they are looked up at run time and the
// device caps of the screen stand in when they are missing.
#pragma once

#include <windows.h>

namespace osk::win32 {

inline constexpr int kTwipsPerInch = 1440;

// Asks for per-monitor-v2 awareness, falling back to per-monitor and then to
// system awareness, whichever the system offers. Call before any window.
void enableDpiAwareness();

// A fixed DPI for every window and monitor, for tests (0 = none). Also read
// from the environment variable QMOSK_DPI at the first DPI query.
void setDpiOverride(int dpi);

int systemDpi();
int dpiForWindow(HWND hwnd);
int dpiForMonitor(HMONITOR monitor);

inline int twipsToPixels(double twips, double dpi) {
  const double px = twips * dpi / kTwipsPerInch;
  return static_cast<int>(px < 0 ? px - 0.5 : px + 0.5);
}
inline double pixelsToTwips(int pixels, int dpi) { return static_cast<double>(pixels) * kTwipsPerInch / dpi; }

// The frame size for a client size, at the window's DPI when the system can
// say so.
BOOL adjustWindowRectForDpi(RECT* rect, DWORD style, DWORD exStyle, int dpi);

}  // namespace osk::win32
