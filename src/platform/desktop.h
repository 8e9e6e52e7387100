// The desktop as the keyboard sees it: which window is in front, what it is
// called, bringing a window back, topmost placement and the lock keys.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace osk {

// An opaque window handle; 0 is "no window".
using WindowId = std::uintptr_t;

// How far the system trusts a process: its mandatory integrity level, by
// the system's own numbers, so that levels between the named ones compare
// as they should. The system lets input go only to windows of a process no
// higher than the sender's, unless the sender has UI access.
enum class Integrity : std::uint32_t {
  Unknown = 0,  // cannot be read: the process is gone, or the system has no levels
  Low = 0x1000,
  Medium = 0x2000,
  High = 0x3000,
  System = 0x4000,
  // A window's process that refused even to show its level to ours, which
  // a process of a higher level does.
  Refused = 0xFFFFFFFE,
  // The keyboard's own only: UI access, which reaches every level.
  UiAccess = 0xFFFFFFFF,
};

// What a window made of a message the keyboard sent it only to learn whether
// the system lets the keyboard's input through to it: the system refuses a
// message, as it refuses keys, to a window of a higher level, but not to one
// of another account at the keyboard's own level.
enum class ProbeAnswer : unsigned char {
  NotTried,      // no probe was sent (none was needed, or the window is gone)
  Answered,      // the window took the message: keys get through
  AccessDenied,  // the system kept the message from the window
  TimedOut,      // the window is busy or hung: the system let the message through
};

class Desktop {
 public:
  virtual ~Desktop() = default;
  // The window in front; 0 when none is, or only the desktop itself, which
  // is no window anybody types into.
  virtual WindowId foregroundWindow() const = 0;
  // The window's title as UTF-8, read in full (no fixed-size cut).
  virtual std::string windowTitle(WindowId window) const = 0;
  // Brings back the window that was recorded with `title`: `recorded` when it
  // still exists and still bears that title, otherwise a top-level window with
  // exactly that title. Returns at once when it is already in front with a
  // focus window; otherwise once it really is the foreground window, or false
  // when `patience` has run out (or when no window has the title).
  [[nodiscard]] virtual bool activate(WindowId recorded, const std::string& title,
                                      std::chrono::milliseconds patience) = 0;
  // HWND_TOPMOST / HWND_NOTOPMOST without moving or sizing.
  virtual void setTopmost(WindowId window, bool topmost) = 0;
  // The integrity of the process that owns `window`, and of the keyboard's
  // own process. A desktop without levels leaves both Unknown.
  virtual Integrity integrityOf(WindowId window) const = 0;
  virtual Integrity ownIntegrity() const = 0;
  // Sends `window` a message of the keyboard's own that it has no use for,
  // waiting a moment at most, and says what became of it.
  virtual ProbeAnswer probe(WindowId window) const = 0;
};

enum class LockKey : std::uint8_t { NumLock, CapsLock, ScrollLock };

// The three lock keys read together, each as keyState gives it.
struct LockStates {
  std::int16_t num = 0;
  std::int16_t caps = 0;
  std::int16_t scroll = 0;
};

class LockKeys {
 public:
  virtual ~LockKeys() = default;
  // As GetKeyState: bit 0 toggled, high bit (negative) while held down.
  virtual std::int16_t keyState(LockKey key) const = 0;
  // All three at one moment; a platform may read them more cheaply at once.
  virtual LockStates states() const {
    return {keyState(LockKey::NumLock), keyState(LockKey::CapsLock), keyState(LockKey::ScrollLock)};
  }
};

}  // namespace osk
