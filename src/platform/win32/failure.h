// How the host tells of a request the system refused: one line on the debug
// channel for a developer (through the program's one logging path), and the
// same words for the user where the user has to know (a start-up that cannot
// go on, a note beside a key).
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "platform/log.h"

namespace osk::win32 {

// The system's own description of an error code, without the line break
// it ends with.
std::string systemMessage(DWORD code);

// "<what>: <the system's description of error>", in UTF-8; "<what>." when
// there is no error code.
std::string failureText(std::string_view what, DWORD error);

// The portable one-argument logFailure, for reports without an error code.
using osk::logFailure;

// Logs failureText with the call site.
void logFailure(std::string_view what, DWORD error,
                const SourceLocation& where = SourceLocation::current()) noexcept;

// The log's sink on Windows: the debug channel, where a debugger or
// DebugView (and Wine's +debugstr channel) shows it.
void writeToDebugChannel(std::string_view line) noexcept;

}  // namespace osk::win32
