#include "host/system/learned_words_store.h"

#include <windows.h>
// windows.h first: the shell header depends on its types.
#include <shlobj.h>

#include <array>
#include <limits>
#include <string>
#include <string_view>
#include <utility>

#include "host/common/failure.h"
#include "host/common/handles.h"

namespace osk::win32 {

namespace {

constexpr std::wstring_view kFile = L"learned-words.txt";
constexpr std::wstring_view kNew = L"learned-words.new";
constexpr std::wstring_view kDamaged = L"learned-words.damaged";
constexpr std::wstring_view kLock = L"learned-words.lock";
// A save holds the lock for the few milliseconds of reading, merging and
// writing at most a quarter of a megabyte; one that waits this long is
// behind a keyboard that hangs, and tries again at its next save.
constexpr DWORD kLockPatienceMs = 2000;
constexpr DWORD kLockPollMs = 10;
// The keyboard writes at most a quarter of this; a larger file is not one of
// ours, and is set aside rather than read into memory.
constexpr DWORD kMaxReadBytes = DWORD{1024} * 1024;

// CreateFileW fails with INVALID_HANDLE_VALUE, which no template argument
// can be: the owner holds null for it instead.
UniqueKernelHandle openFile(const std::wstring& path, DWORD access, DWORD share, DWORD disposition) {
  HANDLE h = ::CreateFileW(path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  return UniqueKernelHandle(h == INVALID_HANDLE_VALUE ? nullptr : h);
}

// ERROR_SUCCESS when the folder is there, made now or before.
DWORD makeFolder(const std::wstring& path) {
  if (::CreateDirectoryW(path.c_str(), nullptr) != FALSE) return ERROR_SUCCESS;
  const DWORD error = ::GetLastError();
  if (error == ERROR_ALREADY_EXISTS) return ERROR_SUCCESS;
  logFailure("making the folder for learned words", error);
  return error;
}

// Logged with the step that failed and where; the user is shown the
// system's words.
LearnedWordsText unreadable(std::string_view step, DWORD error,
                            const SourceLocation& where = SourceLocation::current()) {
  logFailure(step, error, where);
  return {LearnedWordsText::Status::Unreadable, {}, systemMessage(error)};
}

}  // namespace

LearnedWordsStore::LearnedWordsStore(std::wstring applicationName)
    : applicationName_(std::move(applicationName)) {}

const std::wstring& LearnedWordsStore::folder() {
  if (!folder_.empty()) return folder_;
  std::array<wchar_t, MAX_PATH> appData{};
  const HRESULT hr = ::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData.data());
  if (FAILED(hr)) {
    folderError_ = static_cast<DWORD>(hr);
    logFailure("finding the application data folder", folderError_);
    return folder_;
  }
  std::wstring path = appData.data();
  path += L"\\QM-OSK";
  folderError_ = makeFolder(path);
  if (folderError_ != ERROR_SUCCESS) return folder_;
  path += L"\\" + applicationName_;
  folderError_ = makeFolder(path);
  if (folderError_ != ERROR_SUCCESS) return folder_;
  folder_ = path + L"\\";
  return folder_;
}

// Opened with no sharing, the lock file is held by one save at a time. A
// file rather than a named mutex: a mutex made by a keyboard run as
// administrator could not be opened by the user's own, while the file takes
// the folder's rights, which are the user's whatever the level.
bool LearnedWordsStore::lock() {
  const std::wstring& dir = folder();
  if (dir.empty()) return false;
  const std::wstring path = dir + std::wstring(kLock);
  const DWORD start = ::GetTickCount();
  for (;;) {
    lock_ = openFile(path, GENERIC_READ | GENERIC_WRITE, 0, OPEN_ALWAYS);
    if (lock_) return true;
    const DWORD error = ::GetLastError();
    if (error != ERROR_SHARING_VIOLATION || ::GetTickCount() - start >= kLockPatienceMs) {
      logFailure("taking the lock of the learned words", error);
      return false;
    }
    ::Sleep(kLockPollMs);
  }
}

void LearnedWordsStore::unlock() { lock_.reset(); }

LearnedWordsText LearnedWordsStore::read() {
  const std::wstring& dir = folder();
  // A profile folder not reachable yet (a roaming profile on a slow network)
  // may still hold the file: not the same as no file at all.
  if (dir.empty()) return {LearnedWordsText::Status::Unreadable, {}, systemMessage(folderError_)};
  const std::wstring path = dir + std::wstring(kFile);
  UniqueKernelHandle file = openFile(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
  if (!file) {
    const DWORD error = ::GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return {};
    // Held by another program (a sync tool, a virus scanner) or refused.
    return unreadable("opening the learned words", error);
  }
  LARGE_INTEGER size{};
  if (::GetFileSizeEx(file.get(), &size) == FALSE)
    return unreadable("reading the size of the learned words", ::GetLastError());
  // Too large to be ours: read as damaged, so it is set aside.
  if (size.QuadPart > kMaxReadBytes) return {LearnedWordsText::Status::Read, {}, {}};
  std::string text(static_cast<std::size_t>(size.QuadPart), '\0');
  DWORD got = 0;
  if (::ReadFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &got, nullptr) == FALSE)
    return unreadable("reading the learned words", ::GetLastError());
  text.resize(got);
  return {LearnedWordsText::Status::Read, std::move(text), {}};
}

bool LearnedWordsStore::replace(std::string_view text) {
  const std::wstring& dir = folder();
  if (dir.empty() || text.size() > std::numeric_limits<DWORD>::max()) return false;
  const std::wstring fresh = dir + std::wstring(kNew);
  {
    UniqueKernelHandle file = openFile(fresh, GENERIC_WRITE, 0, CREATE_ALWAYS);
    if (!file) {
      logFailure("making a new file for the learned words", ::GetLastError());
      return false;
    }
    DWORD written = 0;
    const bool whole =
        ::WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) != FALSE &&
        written == text.size();
    // Flushed before the move: otherwise a power cut could leave the moved
    // name pointing at blocks never written.
    if (!whole || ::FlushFileBuffers(file.get()) == FALSE) {
      logFailure("writing the learned words", ::GetLastError());
      file.reset();
      ::DeleteFileW(fresh.c_str());
      return false;
    }
  }
  const std::wstring path = dir + std::wstring(kFile);
  if (::MoveFileExW(fresh.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) ==
      FALSE) {
    logFailure("putting the new learned words in place", ::GetLastError());
    ::DeleteFileW(fresh.c_str());
    return false;
  }
  return true;
}

void LearnedWordsStore::setAside() {
  const std::wstring& dir = folder();
  if (dir.empty()) return;
  const std::wstring path = dir + std::wstring(kFile);
  const std::wstring aside = dir + std::wstring(kDamaged);
  if (::MoveFileExW(path.c_str(), aside.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) == FALSE)
    logFailure("setting the damaged learned words aside", ::GetLastError());
}

}  // namespace osk::win32
