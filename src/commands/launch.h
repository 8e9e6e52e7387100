// The one way a key of the keyboard starts a program.
#pragma once

#include <string>
#include <string_view>

#include "base/context.h"
#include "platform/launcher.h"

namespace osk {

// Starts `request`, owned by the keyboard window. A shell start whose whole
// text names no file is tried once more as a program followed by its
// arguments. When the program has started, `key` flashes green if `flash`;
// when it cannot start, the key stays as it is and a note beside it says why.
void startProgram(Context& ctx, LaunchRequest request, KeyboardControl key, bool flash);

// What the note says when `command` could not be started.
std::string launchFailureNote(const Texts& texts, std::string_view command, const LaunchOutcome& outcome);

}  // namespace osk
