// Tells the user's own keys and mouse buttons in other programs' windows
// from everything else that raw input reports: what this program injects
// (tagged), what goes to this program's own windows, the scanning switch,
// keys that move nothing (predict/caret_keys.h), releases and pointer moves.
//
// Raw input with RIDEV_INPUTSINK rather than low-level hooks: with a hook
// every key and every pointer move of the desktop would wait for this
// program; raw input is only posted to it. A pointer at rest posts nothing.
//
// A moving pointer posts a message at every move (about 125 a second), and
// under Wine each costs the keyboard about 90 us: 1.1 % of a core while the
// pointer moved on and on over Notepad. So a move over a program that shows
// a system caret pauses the
// following of the mouse for a moment (the keys stay followed): the pointer
// is given up, and when the pause ends (its timer, or any message the
// keyboard may act on, see catchUp) the focus and caret of the program
// that was in front are compared with where they were when the pause
// began, and the window in front with that program's. A click in the pause
// that moved it counts as input elsewhere, late by at most the pause, and
// always before the keyboard types again. A program that draws a caret of
// its own (no system caret to compare) is followed move by move, as before.
#pragma once

#include <windows.h>

#include <optional>

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

  // Reads one WM_INPUT for `window`. An input that cannot be read counts as
  // a key, as every WM_INPUT did before the mouse was followed.
  Seen read(HWND window, HRAWINPUT input);

  // Before `window` acts on a message that may make the keyboard type (the
  // pointer coming over it, a click, a timer, a posted message), and at the
  // pause's own timer: ends a pause; true when the caret may have moved in
  // it.
  bool catchUp(HWND window);
  // The messages catchUp is due at.
  static bool mayLeadToTyping(UINT msg);
  // True for the pause's timer, which has nothing else to do.
  static bool isPauseTick(WPARAM timerId);

 private:
  // Where the typing goes in the program in front.
  struct Caret {
    DWORD thread = 0;  // the foreground window's
    HWND focus = nullptr;
    HWND caret = nullptr;
    RECT place{};
  };
  std::optional<Caret> caretOf(DWORD thread);
  static bool same(const Caret& a, const Caret& b);
  void pause(HWND window);
  static bool registerMouse(HWND window, bool on);

  bool following_ = false;
  bool paused_ = false;
  HWND pausedIn_ = nullptr;  // the window in front as the pause began
  Caret before_;
  DWORD lastOwnKey_ = 0;      // GetTickCount at the last key this program sent
  DWORD lastRefused_ = 0;     // GetTickCount at the last pause that could not begin
  bool toldNoCaret_ = false;  // the caret's failure is logged once
};

}  // namespace osk::win32
