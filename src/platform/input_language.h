// What a physical key types in the input language of a window: the keyboard
// layout of the thread that owns it, asked key by key, and what a dead key
// makes of the key after it.
#pragma once

#include <cstdint>
#include <string>

#include "platform/desktop.h"

namespace osk {

// An opaque keyboard layout handle; 0 is "no layout known".
using LayoutId = std::uintptr_t;

// The modifiers and locks a key is asked about.
struct KeyLevel {
  bool shift = false;
  bool capsLock = false;
  bool altGr = false;
  friend bool operator==(const KeyLevel&, const KeyLevel&) = default;
};

// What a key types at one level. A key the layout lacks, or one that types
// nothing printable there, has virtual key 0 and no text.
struct KeyOutput {
  std::uint8_t vk = 0;
  std::string text;   // UTF-8
  bool dead = false;  // the key waits for the next one (an accent)
  friend bool operator==(const KeyOutput&, const KeyOutput&) = default;
};

// A physical key pressed at a level.
struct KeyPress {
  std::uint16_t scan = 0;
  KeyLevel level;
  friend bool operator==(const KeyPress&, const KeyPress&) = default;
};

// The scan code of the space bar, the same on every PC keyboard.
inline constexpr std::uint16_t kSpaceBarScan = 0x39;

class InputLanguages {
 public:
  virtual ~InputLanguages() = default;
  // The layout of the thread that owns `window`; the keyboard's own layout
  // for window 0.
  virtual LayoutId layoutOf(WindowId window) const = 0;
  // What the key with hardware scan code `scan` types on `layout`.
  virtual KeyOutput typed(LayoutId layout, std::uint16_t scan, KeyLevel level) const = 0;
  // What the target shows once `next` follows the dead key `dead` on
  // `layout`: the letter the two compose to, the accent alone after Space,
  // the accent and the character after a key that does not compose with it.
  // Virtual key 0 (the next key's otherwise) where that is not known, or
  // `dead` is no dead key there; `dead` set where an accent still waits
  // after the two.
  virtual KeyOutput composed(LayoutId layout, KeyPress dead, KeyPress next) const = 0;
};

// For a host that cannot read layouts: every key is blank.
inline InputLanguages& noInputLanguages() {
  class None final : public InputLanguages {
   public:
    LayoutId layoutOf(WindowId /*window*/) const override { return 0; }
    KeyOutput typed(LayoutId /*layout*/, std::uint16_t /*scan*/, KeyLevel /*level*/) const override {
      return {};
    }
    KeyOutput composed(LayoutId /*layout*/, KeyPress /*dead*/, KeyPress /*next*/) const override {
      return {};
    }
  };
  static None none;
  return none;
}

}  // namespace osk
