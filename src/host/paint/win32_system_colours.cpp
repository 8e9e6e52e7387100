#include "host/paint/win32_system_colours.h"

#include <windows.h>

#include "host/common/failure.h"

namespace osk::win32 {

namespace {

Color sys(int index) { return static_cast<Color>(::GetSysColor(index)) & 0xFFFFFFU; }

}  // namespace

SchemeColours Win32SystemColours::scheme() const {
  return SchemeColours{sys(COLOR_WINDOW),        sys(COLOR_WINDOWTEXT), sys(COLOR_HIGHLIGHT),
                       sys(COLOR_HIGHLIGHTTEXT), sys(COLOR_BTNFACE),    sys(COLOR_BTNTEXT),
                       sys(COLOR_GRAYTEXT)};
}

bool Win32SystemColours::highContrastOn() const {
  HIGHCONTRASTW hc{};
  hc.cbSize = sizeof(hc);
  if (!::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(hc), &hc, 0)) {
    // The keys keep the scheme's own colours, paired as the scheme pairs them.
    logFailure("reading whether high contrast is on", ::GetLastError());
    return false;
  }
  return (hc.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

}  // namespace osk::win32
