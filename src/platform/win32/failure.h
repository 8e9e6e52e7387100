// How the host tells of a request the system refused: one line on the debug
// channel for a developer, and the same words for the user where the user
// has to know (a start-up that cannot go on, a note beside a key).
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace osk::win32 {

// The system's own description of an error code, without the line break
// it ends with.
std::string systemMessage(DWORD code);

// "<what>: <the system's description of error>", in UTF-8; "<what>." when
// there is no error code.
std::string failureText(std::string_view what, DWORD error);

// Writes failureText to the debug channel, marked as this program's.
void logFailure(std::string_view what, DWORD error);

}  // namespace osk::win32
