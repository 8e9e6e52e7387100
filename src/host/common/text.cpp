#include "host/common/text.h"

#include <climits>

namespace osk::win32 {

std::wstring widen(std::string_view utf8) {
  if (utf8.empty() || utf8.size() > static_cast<std::size_t>(INT_MAX)) return {};
  const int in = static_cast<int>(utf8.size());
  const int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), in, nullptr, 0);
  if (n <= 0) return {};
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  // Nothing rather than a run of NULs, which would show as a blank caption
  // and be stored as one.
  if (::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), in, out.data(), n) != n) return {};
  return out;
}

std::string narrow(std::wstring_view utf16) {
  if (utf16.empty() || utf16.size() > static_cast<std::size_t>(INT_MAX)) return {};
  const int in = static_cast<int>(utf16.size());
  const int n = ::WideCharToMultiByte(CP_UTF8, 0, utf16.data(), in, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return {};
  std::string out(static_cast<std::size_t>(n), '\0');
  if (::WideCharToMultiByte(CP_UTF8, 0, utf16.data(), in, out.data(), n, nullptr, nullptr) != n) return {};
  return out;
}

std::wstring windowTextW(HWND hwnd) {
  // The length is only a hint: a title can change between the two calls, so
  // keep what was actually copied.
  const int len = ::GetWindowTextLengthW(hwnd);
  if (len <= 0) return {};
  std::wstring buf(static_cast<std::size_t>(len) + 1, L'\0');
  const int got = ::GetWindowTextW(hwnd, buf.data(), len + 1);
  buf.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
  return buf;
}

std::string windowText(HWND hwnd) { return narrow(windowTextW(hwnd)); }

}  // namespace osk::win32
