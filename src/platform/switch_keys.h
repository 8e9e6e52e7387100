// One key of the desktop, pressed anywhere, as the scanning switch.
#pragma once

#include <optional>

namespace osk {

class SwitchKeys {
 public:
  virtual ~SwitchKeys() = default;
  // Starts catching the key with virtual-key code `vk` before any window
  // sees it, so that only the keyboard learns of its presses (each press
  // then reaches the keyboard as a switch press); nothing: stops, and the
  // key reaches windows again. A new code replaces the old one.
  virtual void catchSwitch(std::optional<unsigned> vk) = 0;
};

// For a host that has no way to catch keys: scanning then answers only to
// clicks on the keyboard.
inline SwitchKeys& noSwitchKeys() {
  class None final : public SwitchKeys {
   public:
    void catchSwitch(std::optional<unsigned> /*vk*/) override {}
  };
  static None none;
  return none;
}

}  // namespace osk
