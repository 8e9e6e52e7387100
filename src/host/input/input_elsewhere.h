// Tells the user's own keys and mouse buttons in other programs' windows
// from everything else that raw input reports: what this program injects
// (tagged), what goes to this program's own windows, the scanning switch,
// keys that move nothing (predict/caret_keys.h), releases and pointer moves.
//
// Raw input with RIDEV_INPUTSINK rather than low-level hooks: with a hook
// every key and every pointer move of the desktop would wait for this
// program; raw input is only posted to it. A pointer at rest posts nothing.
#pragma once

#include <windows.h>

namespace osk::win32 {

class InputElsewhere {
 public:
  // What one WM_INPUT was.
  struct Seen {
    bool key = false;        // a key went down or up anywhere
    bool elsewhere = false;  // the user's own key or button went down in another program
  };

  // Starts or stops following the mouse's buttons for `window` (keys are
  // followed with the key events); false, logged, when the system refuses.
  [[nodiscard]] bool follow(HWND window, bool on);
  bool following() const { return following_; }

  // Reads one WM_INPUT. An input that cannot be read counts as a key, as
  // every WM_INPUT did before the mouse was followed.
  Seen read(HRAWINPUT input) const;

 private:
  bool following_ = false;
};

}  // namespace osk::win32
