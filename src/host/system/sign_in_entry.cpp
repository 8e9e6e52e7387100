#include "host/system/sign_in_entry.h"

#include <windows.h>

#include <cstddef>
#include <utility>

#include "host/common/failure.h"
#include "host/common/handles.h"

namespace osk::win32 {

namespace {

constexpr const wchar_t* kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
// The longest path Windows allows, so one call reads any path whole.
constexpr DWORD kLongestPath = 32768;

std::wstring quotedPathOfThisProgram() {
  std::wstring path(kLongestPath, L'\0');
  const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), kLongestPath);
  path.resize(n < kLongestPath ? n : 0);
  // Quoted, because "Program Files" has a space that would otherwise end
  // the program's name at sign-in.
  return L"\"" + path + L"\"";
}

}  // namespace

SignInEntry::SignInEntry(std::wstring applicationName)
    : name_(std::move(applicationName)), command_(quotedPathOfThisProgram()) {}

bool SignInEntry::on() const {
  HKEY raw = nullptr;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_QUERY_VALUE, &raw) != ERROR_SUCCESS) return false;
  UniqueKey key(raw);
  std::wstring value(kLongestPath + 2, L'\0');
  DWORD type = 0;
  const std::size_t room = value.size() * sizeof(wchar_t);
  auto bytes = static_cast<DWORD>(room);
  if (::RegQueryValueExW(key.get(), name_.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(value.data()),
                         &bytes) != ERROR_SUCCESS ||
      type != REG_SZ)
    return false;
  value.resize(bytes / sizeof(wchar_t));
  while (!value.empty() && value.back() == L'\0') value.pop_back();
  // An entry of the same name that starts another copy is that copy's.
  return value == command_;
}

bool SignInEntry::set(bool on) {
  HKEY raw = nullptr;
  LONG rc = ::RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                              nullptr, &raw, nullptr);
  if (rc != ERROR_SUCCESS) {
    logFailure("opening the sign-in entries", static_cast<DWORD>(rc));
    return false;
  }
  UniqueKey key(raw);
  if (on) {
    const std::size_t withNul = (command_.size() + 1) * sizeof(wchar_t);
    rc = ::RegSetValueExW(key.get(), name_.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(command_.c_str()), static_cast<DWORD>(withNul));
  } else {
    rc = ::RegDeleteValueW(key.get(), name_.c_str());
    if (rc == ERROR_FILE_NOT_FOUND) rc = ERROR_SUCCESS;  // nothing to remove is what was asked
  }
  if (rc != ERROR_SUCCESS)
    logFailure(on ? "writing the sign-in entry" : "removing the sign-in entry", static_cast<DWORD>(rc));
  return rc == ERROR_SUCCESS;
}

}  // namespace osk::win32
