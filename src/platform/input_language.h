// What a physical key types in the input language of a window: the keyboard
// layout of the thread that owns it, asked key by key.
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

class InputLanguages {
 public:
  virtual ~InputLanguages() = default;
  // The layout of the thread that owns `window`; the keyboard's own layout
  // for window 0.
  virtual LayoutId layoutOf(WindowId window) const = 0;
  // What the key with hardware scan code `scan` types on `layout`.
  virtual KeyOutput typed(LayoutId layout, std::uint16_t scan, KeyLevel level) const = 0;
};

// For a host that cannot read layouts: every key is blank.
inline InputLanguages& noInputLanguages() {
  class None final : public InputLanguages {
   public:
    LayoutId layoutOf(WindowId /*window*/) const override { return 0; }
    KeyOutput typed(LayoutId /*layout*/, std::uint16_t /*scan*/, KeyLevel /*level*/) const override {
      return {};
    }
  };
  static None none;
  return none;
}

}  // namespace osk
