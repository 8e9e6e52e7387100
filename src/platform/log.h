// The one path of every failure report: "QM-OSK: <what> (<file>:<line>)" and
// a newline, handed whole to a sink. The host sends it to its debug channel;
// until a sink is set, lines go to standard error. Portable, so that the
// core and the tools report the same way.
#pragma once

#include <string>
#include <string_view>
#include <version>
#if defined(__cpp_lib_source_location)
#include <source_location>
#endif

namespace osk {

#if defined(__cpp_lib_source_location)
using SourceLocation = std::source_location;
#else
// clang 14, which clang-tidy and the fuzz build use, has no
// __builtin_source_location, so libstdc++ 12 leaves std::source_location out
// for it; these builtins give the same call site.
class SourceLocation {
 public:
  static constexpr SourceLocation current(const char* file = __builtin_FILE(),
                                          unsigned line = __builtin_LINE()) noexcept {
    SourceLocation here;
    here.file_ = file;
    here.line_ = line;
    return here;
  }
  [[nodiscard]] constexpr const char* file_name() const noexcept { return file_; }
  [[nodiscard]] constexpr unsigned line() const noexcept { return line_; }

 private:
  const char* file_ = "";
  unsigned line_ = 0;
};
#endif

// Receives each finished line, prefix and newline included. It must not
// throw: failures are reported from destructors and exception barriers.
using LogSink = void (*)(std::string_view line) noexcept;

// Sets where lines go; null goes back to standard error.
void setLogSink(LogSink sink) noexcept;

// The line logFailure writes: prefix, `what`, the call site, a newline.
[[nodiscard]] std::string logLine(std::string_view what, const SourceLocation& where);

// Reports `what` with the place it was called from. Never throws: with no
// memory left for the line, the bare words still reach the sink.
void logFailure(std::string_view what, const SourceLocation& where = SourceLocation::current()) noexcept;

}  // namespace osk
