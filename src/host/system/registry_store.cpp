#include "host/system/registry_store.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "host/common/failure.h"
#include "host/common/handles.h"
#include "host/common/text.h"

namespace osk::win32 {

namespace {

// Far beyond any text a person types into a field (half a million
// characters); a larger value is someone else's doing and is treated as
// absent rather than read into memory. Writes keep under it too.
constexpr DWORD kMaxValueBytes = 1u << 20;

}  // namespace

RegistryStore::RegistryStore(const std::wstring& applicationName)
    : base_(L"Software\\QM-OSK\\" + (applicationName.empty() ? std::wstring(L"qm-osk") : applicationName)) {}

std::wstring RegistryStore::applicationNameOfThisProgram() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return L"qm-osk";
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    if (path.size() >= 32768) return L"qm-osk";
    path.resize(path.size() * 2);
  }
  const auto slash = path.find_last_of(L"\\/");
  std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
  const auto dot = name.find_last_of(L'.');
  if (dot != std::wstring::npos && dot > 0) name.resize(dot);
  return name.empty() ? std::wstring(L"qm-osk") : name;
}

std::wstring RegistryStore::keyPath(std::string_view section) const {
  return section.empty() ? base_ : base_ + L"\\" + widen(section);
}

std::string RegistryStore::read(std::string_view section, std::string_view key,
                                std::string_view fallback) const {
  HKEY raw = nullptr;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, keyPath(section).c_str(), 0, KEY_QUERY_VALUE, &raw) != ERROR_SUCCESS)
    return std::string(fallback);
  UniqueKey hkey(raw);
  const std::wstring name = widen(key);
  // The value can change between the size query and the read; try again a
  // few times rather than trust a stale size.
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD type = 0;
    DWORD bytes = 0;
    if (::RegQueryValueExW(hkey.get(), name.c_str(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS)
      return std::string(fallback);
    if ((type != REG_SZ && type != REG_EXPAND_SZ) || bytes > kMaxValueBytes) return std::string(fallback);
    // One spare character so that an unterminated value still ends in NUL.
    std::vector<wchar_t> buf(bytes / sizeof(wchar_t) + 2, L'\0');
    const std::size_t room = (buf.size() - 1) * sizeof(wchar_t);
    auto got = static_cast<DWORD>(room);
    const LONG rc = ::RegQueryValueExW(hkey.get(), name.c_str(), nullptr, &type,
                                       reinterpret_cast<BYTE*>(buf.data()), &got);
    if (rc == ERROR_MORE_DATA) continue;
    if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return std::string(fallback);
    std::size_t chars = std::min<std::size_t>(got / sizeof(wchar_t), buf.size() - 1);
    // Stored strings end at their first NUL, whatever the stated size says.
    std::size_t end = 0;
    while (end < chars && buf[end] != L'\0') ++end;
    return narrow(std::wstring_view(buf.data(), end));
  }
  return std::string(fallback);
}

bool RegistryStore::write(std::string_view section, std::string_view key, std::string_view value) {
  const std::wstring name = widen(key);
  auto refused = [&](const wchar_t* step, LONG rc) {
    logFailure(narrow(std::wstring(step) + L" the setting \"" + name + L"\""), static_cast<DWORD>(rc));
    return false;
  };
  const std::wstring data = widen(value);
  // widen() gives nothing for text it cannot convert; storing that would
  // quietly empty the value.
  if (data.empty() && !value.empty()) return refused(L"converting", ERROR_NO_UNICODE_TRANSLATION);
  // Past this the store would not read the value back (see read), and a
  // value that cannot be read is as good as lost.
  if ((data.size() + 1) * sizeof(wchar_t) > kMaxValueBytes) return refused(L"storing", ERROR_FILE_TOO_LARGE);
  HKEY raw = nullptr;
  LONG rc = ::RegCreateKeyExW(HKEY_CURRENT_USER, keyPath(section).c_str(), 0, nullptr,
                              REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, &raw, nullptr);
  if (rc != ERROR_SUCCESS) return refused(L"opening the key for", rc);
  UniqueKey hkey(raw);
  const std::size_t size = (data.size() + 1) * sizeof(wchar_t);
  const auto bytes = static_cast<DWORD>(size);
  rc = ::RegSetValueExW(hkey.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                        bytes);
  if (rc != ERROR_SUCCESS) return refused(L"storing", rc);
  return true;
}

}  // namespace osk::win32
