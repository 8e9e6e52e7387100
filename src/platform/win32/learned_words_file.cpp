#include "platform/win32/learned_words_file.h"

#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

#include <cstdio>
#include <vector>

namespace osk::win32 {

namespace {

// Far beyond what Predictor::save() writes; anything larger is not ours.
constexpr LONGLONG kMaxFileBytes = 4 << 20;

constexpr wchar_t kFileName[] = L"learned-words.txt";

// CreateFileW's handle, which is INVALID_HANDLE_VALUE rather than NULL on
// failure (so not one of handles.h's owners, whose invalid value must be a
// constant).
class UniqueFile {
 public:
  explicit UniqueFile(HANDLE h) : h_(h) {}
  UniqueFile(const UniqueFile&) = delete;
  UniqueFile& operator=(const UniqueFile&) = delete;
  ~UniqueFile() { reset(); }
  HANDLE get() const { return h_; }
  explicit operator bool() const { return h_ != INVALID_HANDLE_VALUE; }
  void reset() {
    if (h_ != INVALID_HANDLE_VALUE) ::CloseHandle(h_);
    h_ = INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE h_;
};

void debugError(const wchar_t* what, const std::wstring& path) {
  wchar_t line[64];
  std::swprintf(line, 64, L" failed, error %lu: ", ::GetLastError());
  ::OutputDebugStringW((std::wstring(L"QM-OSK: ") + what + line + path + L"\n").c_str());
}

}  // namespace

Win32LearnedWordsFile::Win32LearnedWordsFile(std::wstring applicationName) {
  PWSTR roaming = nullptr;
  if (SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_DEFAULT, nullptr, &roaming))) {
    folder_ = std::wstring(roaming) + L"\\QM-OSK\\" + (applicationName.empty() ? L"qm-osk" : applicationName);
    path_ = folder_ + L"\\" + kFileName;
  }
  ::CoTaskMemFree(roaming);
}

bool Win32LearnedWordsFile::makeFolder() const {
  // Each level in turn: CreateDirectoryW makes one, and an existing one is fine.
  for (std::size_t at = folder_.find(L'\\', 3);; at = folder_.find(L'\\', at + 1)) {
    const std::wstring part = folder_.substr(0, at);
    if (!::CreateDirectoryW(part.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS) {
      debugError(L"CreateDirectoryW", part);
      return false;
    }
    if (at == std::wstring::npos) return true;
  }
}

std::optional<std::string> Win32LearnedWordsFile::read() {
  if (path_.empty()) return std::nullopt;
  UniqueFile file(::CreateFileW(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart > kMaxFileBytes) return std::nullopt;
  std::string text(static_cast<std::size_t>(size.QuadPart), '\0');
  DWORD got = 0;
  if (!text.empty() &&
      (!::ReadFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &got, nullptr) ||
       got != text.size()))
    return std::nullopt;
  return text;
}

bool Win32LearnedWordsFile::replace(std::string_view text) {
  if (path_.empty() || !makeFolder()) return false;
  const std::wstring fresh = path_ + L".new";
  {
    UniqueFile file(::CreateFileW(fresh.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
      debugError(L"CreateFileW", fresh);
      return false;
    }
    DWORD wrote = 0;
    if ((!text.empty() &&
         (!::WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &wrote, nullptr) ||
          wrote != text.size())) ||
        !::FlushFileBuffers(file.get())) {
      debugError(L"WriteFile", fresh);
      file.reset();
      ::DeleteFileW(fresh.c_str());
      return false;
    }
  }
  if (!::MoveFileExW(fresh.c_str(), path_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    debugError(L"MoveFileExW", path_);
    ::DeleteFileW(fresh.c_str());
    return false;
  }
  return true;
}

void Win32LearnedWordsFile::setAside() {
  if (path_.empty()) return;
  SYSTEMTIME t{};
  ::GetLocalTime(&t);
  wchar_t stamp[32];
  std::swprintf(stamp, 32, L"%04u%02u%02u-%02u%02u%02u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
                t.wSecond);
  const std::wstring aside = folder_ + L"\\learned-words.damaged-" + stamp + L".txt";
  if (!::MoveFileExW(path_.c_str(), aside.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    debugError(L"MoveFileExW", aside);
    // Out of the way at least, so the next save starts afresh.
    ::DeleteFileW(path_.c_str());
  }
}

}  // namespace osk::win32
