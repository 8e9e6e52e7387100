#include "host/common/failure.h"

#include "host/common/handles.h"
#include "host/common/text.h"

namespace osk::win32 {

std::string systemMessage(DWORD code) {
  wchar_t* raw = nullptr;
  const DWORD n = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      code, 0, reinterpret_cast<wchar_t*>(&raw), 0, nullptr);
  const UniqueLocal<wchar_t*> buffer(raw);
  std::wstring text = n != 0 && raw != nullptr ? std::wstring(raw, n) : std::wstring();
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
    text.pop_back();
  if (text.empty()) return "Error " + std::to_string(code) + ".";
  return narrow(text);
}

std::string failureText(std::string_view what, DWORD error) {
  // Some refusals leave no error behind (a hook that vetoes a window); the
  // system's text for "no error" would contradict the sentence before it.
  if (error == ERROR_SUCCESS) return std::string(what).append(".");
  return std::string(what).append(": ").append(systemMessage(error));
}

void logFailure(std::string_view what, DWORD error, const SourceLocation& where) noexcept {
  try {
    osk::logFailure(failureText(what, error), where);
  } catch (...) {
    // No memory for the system's words: the bare report still goes out.
    osk::logFailure(what, where);
  }
}

void logEscaped(const std::exception* e, const SourceLocation& where) noexcept {
  try {
    osk::logFailure(
        std::string("a message handler failed: ") + (e != nullptr ? e->what() : "unknown failure"), where);
  } catch (...) {
    osk::logFailure(e != nullptr ? e->what() : "a message handler failed", where);
  }
}

void writeToDebugChannel(std::string_view line) noexcept {
  try {
    ::OutputDebugStringW(widen(line).c_str());
  } catch (...) {
    // No memory to convert the line: at least say that one was lost.
    ::OutputDebugStringA("QM-OSK: a report was lost (no memory)\n");
  }
}

}  // namespace osk::win32
