// Where the keyboard's keys go, as recorded: nowhere yet, the keyboard's own
// command line, or a window of another program, kept by its handle with the
// title it bore. The target label shows it; nothing reads the label back,
// so a window whose title is one of the label's own words is a window like
// any other.
#pragma once

#include <string>

#include "platform/desktop.h"

namespace osk {

enum class TargetClass : unsigned char { None, CommandLine, Real };

struct RecordedTarget {
  TargetClass kind = TargetClass::None;
  WindowId window = 0;  // a Real target's handle
  std::string title;    // a Real target's title when last recorded
  // Of a Real target's process, read once when its window is recorded.
  Integrity integrity = Integrity::Unknown;
  // Its answer to a probe, sent with the level's read when the level alone
  // cannot say whether keys get through.
  ProbeAnswer probe = ProbeAnswer::NotTried;
  // A dialog of the keyboard's own, typed into with its keys. It goes with
  // its close, when the target goes back to where it was (dialogs).
  bool own = false;
};

}  // namespace osk
