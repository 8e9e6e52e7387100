#include "platform/log.h"

#include <array>
#include <atomic>
#include <cstdio>

namespace osk {

namespace {

constexpr std::string_view kPrefix = "QM-OSK: ";

void toStandardError(std::string_view line) noexcept {
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stderr);
}

// Set once at start-up, read wherever a failure happens; atomic so that a
// report from another thread (a launch's worker) never sees a torn pointer.
std::atomic<LogSink>& currentSink() {
  static std::atomic<LogSink> sink{&toStandardError};
  return sink;
}

// The call site from the source tree's top folder on (the compiler passes
// absolute paths), so that the several main.cpp stay apart; the bare name
// when the path has none of the tree's top folders.
std::string_view shortFile(std::string_view path) {
  constexpr std::array<std::string_view, 3> kTops{"/src/", "/tools/", "/bench/"};
  std::size_t from = std::string_view::npos;
  for (std::string_view top : kTops) {
    const std::size_t at = path.rfind(top);
    if (at != std::string_view::npos && (from == std::string_view::npos || at > from)) from = at;
  }
  if (from != std::string_view::npos) return path.substr(from + 1);
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace

void setLogSink(LogSink sink) noexcept { currentSink().store(sink != nullptr ? sink : &toStandardError); }

std::string logLine(std::string_view what, const SourceLocation& where) {
  std::string line;
  line.reserve(kPrefix.size() + what.size() + 64);
  line.append(kPrefix).append(what).append(" (").append(shortFile(where.file_name()));
  line.append(":").append(std::to_string(where.line())).append(")\n");
  return line;
}

void logFailure(std::string_view what, const SourceLocation& where) noexcept {
  const LogSink sink = currentSink().load();
  try {
    sink(logLine(what, where));
  } catch (...) {
    // Only the allocation of the line can throw.
    sink(kPrefix);
    sink(what);
    sink("\n");
  }
}

}  // namespace osk
