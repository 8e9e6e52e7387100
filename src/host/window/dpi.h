// Dots per inch of windows and monitors, and twips <-> pixels.
//
// The DPI functions of user32 appeared over several Windows versions (and
// Wine has only some of them), so they are looked up at run time and the
// device caps of the screen stand in when they are missing.
#pragma once

#include <windows.h>

#include "layout/model.h"
#include "screen/screen_map.h"

namespace osk::win32 {

// Asks for per-monitor-v2 awareness, falling back to per-monitor and then to
// system awareness, whichever the system offers. Call before any window.
void enableDpiAwareness();

// A fixed DPI for every window and monitor, for tests (0 = none). Also read
// from the environment variable QMOSK_DPI at the first DPI query.
void setDpiOverride(int dpi);

int systemDpi();
int dpiForWindow(HWND hwnd);
int dpiForMonitor(HMONITOR monitor);

// The monitors as they are now. Windows' places and the work areas go
// between pixels and twips through it alone, so that they always agree
// (see screen/screen_map.h); the keys' own scale follows the window's DPI.
// Asked afresh each time rather than kept: under Wine 8 it took 85 us at
// the median (2000 runs, one monitor), and a kept one would have to follow
// every change of the monitors, their DPIs and their taskbars.
ScreenMap currentScreens();
RECT windowRectOf(const Geometry& g, const ScreenMap& screens);
Geometry geometryOf(const RECT& window, const ScreenMap& screens);

// The frame size for a client size, at the window's DPI when the system can
// say so.
BOOL adjustWindowRectForDpi(RECT* rect, DWORD style, DWORD exStyle, int dpi);

}  // namespace osk::win32
