// The input languages through user32: the keyboard layout of a window's
// thread, what each physical key types on it, and what a dead key makes
// of the key after it.
#pragma once

#include "platform/input_language.h"

namespace osk::win32 {

class Win32InputLanguages final : public InputLanguages {
 public:
  LayoutId layoutOf(WindowId window) const override;
  KeyOutput typed(LayoutId layout, std::uint16_t scan, KeyLevel level) const override;
  KeyOutput composed(LayoutId layout, KeyPress dead, KeyPress next) const override;
};

}  // namespace osk::win32
