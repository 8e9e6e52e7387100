// How the host tells of a request the system refused: one line on the debug
// channel for a developer (through the program's one logging path), and the
// same words for the user where the user has to know (a start-up that cannot
// go on, a note beside a key).
#pragma once

#include <windows.h>

#include <exception>
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

// Logs a failure that reached an entry from the system, with `e`'s words
// when it has them.
void logEscaped(const std::exception* e, const SourceLocation& where = SourceLocation::current()) noexcept;

// The one exception policy of the host: a failure that reaches a barrier
// is logged and goes no further. `body` ran to its end when this is true.
// The report names the barrier's caller, the entry the failure escaped
// from, rather than this header.
template <class Body>
bool guarded(Body&& body, const SourceLocation& where = SourceLocation::current()) noexcept {
  try {
    body();
    return true;
  } catch (const std::exception& e) {
    logEscaped(&e, where);
  } catch (...) {
    logEscaped(nullptr, where);
  }
  return false;
}

// The barrier of an entry from the system (a window's or a child's
// procedure): a message whose handling failed is answered by `fallback`,
// which must not throw (DefWindowProc, DefSubclassProc). Nothing unwinds
// through user32's frames, which cannot carry a C++ exception.
template <class Body, class Fallback>
LRESULT guardedEntry(Body&& body, Fallback&& fallback,
                     const SourceLocation& where = SourceLocation::current()) noexcept {
  LRESULT answer = 0;
  if (guarded([&] { answer = body(); }, where)) return answer;
  return fallback();
}

// The barrier of an enumeration callback (EnumWindows, EnumDisplayMonitors):
// `body` answers whether to go on; a failure stops the enumeration, since
// the caller's record of what it found can no longer be trusted to grow.
template <class Body>
BOOL guardedEnumeration(Body&& body, const SourceLocation& where = SourceLocation::current()) noexcept {
  BOOL goOn = FALSE;
  if (guarded([&] { goOn = body() ? TRUE : FALSE; }, where)) return goOn;
  return FALSE;
}

// The log's sink on Windows: the debug channel, where a debugger or
// DebugView (and Wine's +debugstr channel) shows it.
void writeToDebugChannel(std::string_view line) noexcept;

}  // namespace osk::win32
