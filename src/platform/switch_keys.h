// One key of the desktop, pressed anywhere, as the scanning switch.
#pragma once

#include <optional>

namespace osk {

// The key to catch, and whether other programs' injected presses of it
// work the switch too (otherwise only the person's own do, and an injected
// one reaches the window in front as the key it is).
struct SwitchKey {
  unsigned vk = 0;
  bool injectedToo = false;
  friend bool operator==(const SwitchKey&, const SwitchKey&) = default;
};

class SwitchKeys {
 public:
  virtual ~SwitchKeys() = default;
  // Starts catching `key` before any window sees it, so that only the
  // keyboard learns of its presses (each press then reaches the keyboard
  // as a switch press); nothing: stops, and the key reaches windows again.
  // A new key replaces the old one.
  virtual void catchSwitch(std::optional<SwitchKey> key) = 0;
};

// For a host that has no way to catch keys: scanning then answers only to
// clicks on the keyboard.
inline SwitchKeys& noSwitchKeys() {
  class None final : public SwitchKeys {
   public:
    void catchSwitch(std::optional<SwitchKey> /*key*/) override {}
  };
  static None none;
  return none;
}

}  // namespace osk
