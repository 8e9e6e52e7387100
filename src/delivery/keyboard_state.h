// The keyboard's shared state, as the design keeps it in its controls: the
// latches in their buttons' background colours, the command line's text.
// (The recorded target is typed state of its own: see base/target.h.) These named
// operations are the only code that reads or writes that state.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "layout/model.h"
#include "platform/desktop.h"

namespace osk {

enum class Latch : std::uint8_t { Shift, Ctrl, Alt, ShiftLock, NumberRowLock, Highlight, UserFkeys };

// The target label's words when no window is recorded, and for the
// keyboard's own command line.
inline constexpr std::string_view kNoTarget = "QM-OSK";
inline constexpr std::string_view kCommandLineTarget = "QM-OSK-CMD";

class KeyboardState {
 public:
  explicit KeyboardState(Form& keyboard) : form_(keyboard) {}

  // On only at exactly its latched colour; any other colour counts as off.
  bool latched(Latch latch) const;
  // On, off, or nothing reliable (a colour that is neither) as its tested
  // button shows it: the left one of a pair.
  std::optional<bool> reading(Latch latch) const;
  // Both Shift buttons, which must also agree.
  std::optional<bool> shiftPair() const;
  // White to every button of the latch, left one first.
  void release(Latch latch);

  // The buttons a click toggles a latch from (the modifiers, the locks, the
  // highlight, the Windows keys), and the toggle: true when it latched.
  static std::span<const ControlName> toggleButtons();
  bool toggleFrom(ControlName clicked);

  void appendToCommandLine(std::string_view text);

 private:
  Form& form_;
};

}  // namespace osk
