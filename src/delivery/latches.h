// Modifier latches live in the background colours of their buttons: white is
// off, the latched colour is on, and any other value counts as off.
#pragma once

#include <string_view>

#include "layout/model.h"

namespace osk {

inline bool isLatched(const Form& form, std::string_view button, Color latched = colors::kGreen) {
  return form.control(button).back() == latched;
}

inline bool shiftLatched(const Form& f) { return isLatched(f, "BUTTON_SHIFT_LEFT"); }
inline bool ctrlLatched(const Form& f) { return isLatched(f, "BUTTON_CTRL_LEFT"); }
inline bool altLatched(const Form& f) { return isLatched(f, "BUTTON_ALT_LEFT"); }
inline bool shiftLockLatched(const Form& f) { return isLatched(f, "SHIFT_LOCK_BUTTON"); }
inline bool numberRowLockLatched(const Form& f) { return isLatched(f, "LOCK_TOP_NUMBER_KEYS_BUTTON"); }

// Releasing a latch writes white to every button of it, left one first.
inline void clearShift(Form& f) {
  f.control("BUTTON_SHIFT_LEFT").setBack(colors::kWhite);
  f.control("BUTTON_SHIFT_RIGHT").setBack(colors::kWhite);
}
inline void clearCtrl(Form& f) {
  f.control("BUTTON_CTRL_LEFT").setBack(colors::kWhite);
  f.control("BUTTON_CTRL_RIGHT").setBack(colors::kWhite);
}
inline void clearAlt(Form& f) { f.control("BUTTON_ALT_LEFT").setBack(colors::kWhite); }

// Appends to the keyboard's own command line.
inline void appendToCommandLine(Form& f, std::string_view text) {
  Control& box = f.control("COMMAND_LINE_TEXTBOX");
  box.setText(box.text() + std::string(text));
}

}  // namespace osk
