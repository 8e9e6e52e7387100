// The host's side of "--start-as-user": the rights of this process and the
// two ways of starting the keyboard, for the decision in app/start_as_user.
#pragma once

#include <windows.h>

#include <optional>

namespace osk::win32 {

// The exit code of this process when `commandLine` (without the program's
// name) asks for a start as the signed-in user, after that start; nothing
// when it does not ask, and the keyboard is to start as usual.
std::optional<int> startAsUserIfAsked(PCWSTR commandLine);

}  // namespace osk::win32
