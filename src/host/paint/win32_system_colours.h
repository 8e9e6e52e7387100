// The system's colour scheme and high-contrast switch, as the palette reads them.
#pragma once

#include "platform/system_colours.h"

namespace osk::win32 {

class Win32SystemColours final : public SystemColours {
 public:
  SchemeColours scheme() const override;
  bool highContrastOn() const override;
};

}  // namespace osk::win32
