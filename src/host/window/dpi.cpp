#include "host/window/dpi.h"

#include <array>
#include <cwchar>
#include <vector>

#include "host/common/failure.h"
#include "host/common/handles.h"

namespace osk::win32 {

namespace {

// -1: not yet looked at the environment. Set by tests, read at every DPI
// query; one per process, as the environment is.
int g_override = -1;  // NOLINT(cppcoreguidelines-avoid-non-const-global-variables)

template <typename Fn>
Fn user32Proc(const char* name) {
  HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
  if (user32 == nullptr) return nullptr;
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(user32, name)));
}

int overrideDpi() {
  if (g_override < 0) {
    g_override = 0;
    std::array<wchar_t, 16> buf{};
    const DWORD n = ::GetEnvironmentVariableW(L"QMOSK_DPI", buf.data(), static_cast<DWORD>(buf.size()));
    if (n > 0 && n < buf.size()) {
      const long v = std::wcstol(buf.data(), nullptr, 10);
      if (v >= 48 && v <= 960) g_override = static_cast<int>(v);
    }
  }
  return g_override;
}

BOOL CALLBACK collectMonitor(HMONITOR monitor, HDC /*dc*/, LPRECT /*clip*/, LPARAM lp) {
  return guardedEnumeration([&] {
    auto* out = reinterpret_cast<std::vector<MonitorPixels>*>(lp);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    // A screen that will not describe itself is left out; the others still
    // place the keyboard.
    if (!::GetMonitorInfoW(monitor, &info)) {
      logFailure("a screen would not tell its size", ::GetLastError());
      return true;
    }
    const RECT& b = info.rcMonitor;
    const RECT& w = info.rcWork;
    out->push_back(MonitorPixels{
        {b.left, b.top, b.right, b.bottom}, {w.left, w.top, w.right, w.bottom}, dpiForMonitor(monitor)});
    return true;
  });
}

}  // namespace

void setDpiOverride(int dpi) { g_override = dpi > 0 ? dpi : 0; }

void enableDpiAwareness() {
  using SetContextFn = BOOL(WINAPI*)(HANDLE);
  if (auto setContext = user32Proc<SetContextFn>("SetProcessDpiAwarenessContext")) {
    // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2 (-4), then _PER_MONITOR_AWARE (-3).
    if (setContext(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4)))) return;
    if (setContext(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-3)))) return;
  }
  // The manifest normally has done this already; these only matter when it
  // was stripped or the system predates the context API. Failing all of
  // them, the system scales the window as a bitmap: blurred, never wrong.
  // shcore stays loaded for the life of the process, as dpiForMonitor keeps
  // a function of it.
  HMODULE shcore = ::LoadLibraryW(L"shcore.dll");
  if (shcore != nullptr) {
    using SetAwarenessFn = HRESULT(WINAPI*)(int);
    auto setAwareness = reinterpret_cast<SetAwarenessFn>(
        reinterpret_cast<void*>(::GetProcAddress(shcore, "SetProcessDpiAwareness")));
    const bool done = setAwareness != nullptr && SUCCEEDED(setAwareness(2));  // per monitor
    if (done) return;
  }
  using SetAwareFn = BOOL(WINAPI*)();
  if (auto setAware = user32Proc<SetAwareFn>("SetProcessDPIAware")) setAware();
}

int systemDpi() {
  if (int o = overrideDpi()) return o;
  using GetDpiForSystemFn = UINT(WINAPI*)();
  static auto getDpiForSystem = user32Proc<GetDpiForSystemFn>("GetDpiForSystem");
  if (getDpiForSystem != nullptr) {
    const UINT dpi = getDpiForSystem();
    if (dpi > 0) return static_cast<int>(dpi);
  }
  const UniqueScreenDC screen(::GetDC(nullptr));
  const int dpi = screen ? ::GetDeviceCaps(screen.get(), LOGPIXELSX) : 0;
  return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

int dpiForWindow(HWND hwnd) {
  if (int o = overrideDpi()) return o;
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static auto getDpiForWindow = user32Proc<GetDpiForWindowFn>("GetDpiForWindow");
  if (getDpiForWindow != nullptr && hwnd != nullptr) {
    const UINT dpi = getDpiForWindow(hwnd);
    if (dpi > 0) return static_cast<int>(dpi);
  }
  return systemDpi();
}

int dpiForMonitor(HMONITOR monitor) {
  if (int o = overrideDpi()) return o;
  using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
  static GetDpiForMonitorFn getDpiForMonitor = [] {
    HMODULE shcore = ::LoadLibraryW(L"shcore.dll");
    return shcore == nullptr ? nullptr
                             : reinterpret_cast<GetDpiForMonitorFn>(
                                   reinterpret_cast<void*>(::GetProcAddress(shcore, "GetDpiForMonitor")));
  }();
  if (getDpiForMonitor != nullptr && monitor != nullptr) {
    UINT x = 0;
    UINT y = 0;
    if (SUCCEEDED(getDpiForMonitor(monitor, 0 /* MDT_EFFECTIVE_DPI */, &x, &y)) && x > 0)
      return static_cast<int>(x);
  }
  return systemDpi();
}

BOOL adjustWindowRectForDpi(RECT* rect, DWORD style, DWORD exStyle, int dpi) {
  using AdjustForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
  static auto adjustForDpi = user32Proc<AdjustForDpiFn>("AdjustWindowRectExForDpi");
  if (adjustForDpi != nullptr && overrideDpi() == 0)
    return adjustForDpi(rect, style, FALSE, exStyle, static_cast<UINT>(dpi));
  return ::AdjustWindowRectEx(rect, style, FALSE, exStyle);
}

ScreenMap currentScreens() {
  std::vector<MonitorPixels> monitors;
  ::EnumDisplayMonitors(nullptr, nullptr, &collectMonitor, reinterpret_cast<LPARAM>(&monitors));
  return ScreenMap(monitors, systemDpi());
}

RECT windowRectOf(const Geometry& g, const ScreenMap& screens) {
  const PixelRect r = screens.toPixels(g);
  return RECT{r.left, r.top, r.right, r.bottom};
}

Geometry geometryOf(const RECT& window, const ScreenMap& screens) {
  return screens.toTwips(PixelRect{window.left, window.top, window.right, window.bottom});
}

}  // namespace osk::win32
