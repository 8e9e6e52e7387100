#include "host/start/one_keyboard.h"

#include <shellapi.h>

#include <array>
#include <utility>

#include "app/claim_decision.h"
#include "host/common/failure.h"
#include "host/common/text.h"

namespace osk::win32 {

namespace {

// WM_COPYDATA's tag for a second start's command line ("QMOS").
constexpr ULONG_PTR kSecondStartTag = 0x514D4F53;
// Far beyond any command line Windows passes (32767 characters).
constexpr DWORD kMaxCommandLineBytes = 32768 * sizeof(wchar_t);
constexpr const wchar_t* kKeyboardClass = L"QM_OSK_MAIN";
// How long a second start waits for a first one that has claimed the
// session but shows no window yet (starting, or ending just now), and how
// long the running keyboard may take to answer.
constexpr DWORD kClaimPatienceMs = 10000;
constexpr DWORD kClaimPollMs = 50;
constexpr UINT kHandOverTimeoutMs = 5000;

std::wstring lowered(std::wstring s) {
  if (!s.empty()) ::CharLowerBuffW(s.data(), static_cast<DWORD>(s.size()));
  return s;
}

// The program name of a process as the settings store keys it: the file
// name of its image without the extension, in lower case, since the store
// does not tell cases apart either.
std::wstring programOf(DWORD pid) {
  UniqueHandle<HANDLE, detail::closeHandle> process(
      ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
  if (!process) return {};
  std::wstring path(32768, L'\0');
  auto size = static_cast<DWORD>(path.size());
  if (!::QueryFullProcessImageNameW(process.get(), 0, path.data(), &size)) return {};
  path.resize(size);
  const auto slash = path.find_last_of(L"\\/");
  std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
  const auto dot = name.find_last_of(L'.');
  if (dot != std::wstring::npos && dot > 0) name.resize(dot);
  return lowered(std::move(name));
}

struct Search {
  const std::wstring* program;
  bool outOfReach;
  HWND found;
};

BOOL CALLBACK findKeyboard(HWND hwnd, LPARAM lp) {
  auto* search = reinterpret_cast<Search*>(lp);
  std::array<wchar_t, 64> cls{};
  if (::GetClassNameW(hwnd, cls.data(), static_cast<int>(cls.size())) == 0 ||
      ::lstrcmpW(cls.data(), kKeyboardClass) != 0)
    return TRUE;
  // Shown only once its Load has run: before that it is not ready to listen.
  if (!::IsWindowVisible(hwnd)) return TRUE;
  DWORD pid = 0;
  ::GetWindowThreadProcessId(hwnd, &pid);
  if (pid == ::GetCurrentProcessId()) return TRUE;
  const std::wstring program = programOf(pid);
  // Another user's process cannot be opened for its name; the keyboard
  // found checks this start in turn and refuses one of another name.
  const bool unknown = program.empty() && search->outOfReach;
  if (program != *search->program && !unknown) return TRUE;
  search->found = hwnd;
  return FALSE;
}

HWND runningKeyboard(const std::wstring& program, bool outOfReach) {
  Search search{&program, outOfReach, nullptr};
  ::EnumWindows(&findKeyboard, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Hands the command line to the running keyboard from a window of this
// process, which the keyboard checks; the keyboard may take the
// foreground, which a start just made by the user is allowed to give.
bool handOverTo(HWND keyboard, PCWSTR commandLine) {
  const UniqueWindow sender(::CreateWindowExW(0, L"STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                              ::GetModuleHandleW(nullptr), nullptr));
  if (!sender) {
    logFailure("a second start could not make the window that hands over its switches", ::GetLastError());
    return false;
  }
  DWORD pid = 0;
  ::GetWindowThreadProcessId(keyboard, &pid);
  ::AllowSetForegroundWindow(pid);
  std::wstring line = commandLine != nullptr ? commandLine : L"";
  COPYDATASTRUCT data{};
  data.dwData = kSecondStartTag;
  data.cbData = static_cast<DWORD>(line.size()) * static_cast<DWORD>(sizeof(wchar_t));
  data.lpData = data.cbData != 0 ? line.data() : nullptr;
  DWORD_PTR answer = 0;
  // Kept out by UIPI (a keyboard run as administrator that let no lower
  // start through), the call fails with access denied.
  if (::SendMessageTimeoutW(keyboard, WM_COPYDATA, reinterpret_cast<WPARAM>(sender.get()),
                            reinterpret_cast<LPARAM>(&data), SMTO_NORMAL | SMTO_ABORTIFHUNG,
                            kHandOverTimeoutMs, &answer) == 0) {
    logFailure("handing a second start's switches to the running keyboard", ::GetLastError());
    return false;
  }
  return answer == TRUE;
}

// ChangeWindowMessageFilterEx, from Windows 7 on; looked up so that the
// program still starts where it is missing.
using MessageFilterFn = BOOL(WINAPI*)(HWND, UINT, DWORD, PCHANGEFILTERSTRUCT);
MessageFilterFn messageFilterFn() {
  HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
  if (user32 == nullptr) return nullptr;
  return reinterpret_cast<MessageFilterFn>(
      reinterpret_cast<void*>(::GetProcAddress(user32, "ChangeWindowMessageFilterEx")));
}

// Calls `each` with every argument of a command line without the program
// name.
template <class Each>
void forEachArgument(PCWSTR commandLine, Each each) {
  if (commandLine == nullptr || *commandLine == L'\0') return;
  int argc = 0;
  // The command line without the program name: every entry is an argument.
  const std::wstring line = std::wstring(L"qm-osk ") + commandLine;
  const UniqueLocal<LPWSTR*> argv(::CommandLineToArgvW(line.c_str(), &argc));
  if (!argv) {
    logFailure("reading the command line's switches", ::GetLastError());
    return;
  }
  for (int i = 1; i < argc; ++i) each(argv.get()[i]);
}

// The last of the pair `on` / `off` given on the command line, if any.
std::optional<bool> switchPair(PCWSTR commandLine, PCWSTR on, PCWSTR off) {
  std::optional<bool> chosen;
  forEachArgument(commandLine, [&](PCWSTR arg) {
    if (::lstrcmpiW(arg, on) == 0) chosen = true;
    if (::lstrcmpiW(arg, off) == 0) chosen = false;
  });
  return chosen;
}

}  // namespace

std::optional<bool> keepFocusSwitch(PCWSTR commandLine) {
  return switchPair(commandLine, L"--keep-focus", L"--no-keep-focus");
}

std::optional<bool> followLanguageSwitch(PCWSTR commandLine) {
  return switchPair(commandLine, L"--follow-input-language", L"--no-follow-input-language");
}

bool hasReplaceSwitch(PCWSTR commandLine) {
  bool found = false;
  forEachArgument(commandLine,
                  [&found](PCWSTR arg) { found = found || ::lstrcmpiW(arg, kReplaceSwitch) == 0; });
  return found;
}

OneKeyboard::OneKeyboard(std::wstring programName) : program_(lowered(std::move(programName))) {}

bool OneKeyboard::claim(PCWSTR commandLine, const Texts& texts) {
  commandLine_ = commandLine;
  start_ = ::GetTickCount();
  // A restart waits out the keyboard it replaces, which closes once this
  // start is under way.
  return claimSession(*this, hasReplaceSwitch(commandLine), texts);
}

ClaimAnswer OneKeyboard::claimName() {
  // Local\: one keyboard per session; each user of a shared machine, and
  // each remote session, has a keyboard of their own.
  const std::wstring name = L"Local\\QM-OSK.one-keyboard." + program_;
  mutex_.reset(::CreateMutexW(nullptr, FALSE, name.c_str()));
  const DWORD error = ::GetLastError();
  if (mutex_ && error != ERROR_ALREADY_EXISTS) return ClaimAnswer::Created;
  mutex_.reset();
  if (error == ERROR_ALREADY_EXISTS) return ClaimAnswer::AlreadyExists;
  if (error == ERROR_ACCESS_DENIED) return ClaimAnswer::AccessDenied;
  logFailure("making the object that tells whether the keyboard runs already", error);
  return ClaimAnswer::OtherFailure;
}

bool OneKeyboard::findRunning(bool outOfReach) {
  found_ = runningKeyboard(program_, outOfReach);
  return found_ != nullptr;
}

bool OneKeyboard::handOver() { return found_ != nullptr && handOverTo(found_, commandLine_); }

bool OneKeyboard::waitShortly() {
  if (::GetTickCount() - start_ >= kClaimPatienceMs) return false;
  ::Sleep(kClaimPollMs);
  return true;
}

void OneKeyboard::tell(std::string_view text) {
  const std::wstring wide = widen(std::string(text));
  if (::MessageBoxW(nullptr, wide.c_str(), L"QM-OSK", MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND) == 0)
    logFailure("telling the user a keyboard already runs", ::GetLastError());
}

bool OneKeyboard::letLowerStartsHandOver() {
  const MessageFilterFn allow = messageFilterFn();
  if (allow == nullptr) {
    logFailure("finding ChangeWindowMessageFilterEx", ::GetLastError());
    return false;
  }
  // Only this window, and only WM_COPYDATA: what it carries is checked in
  // filter() before anything is taken.
  if (allow(window_, WM_COPYDATA, MSGFLT_ALLOW, nullptr) == FALSE) {
    logFailure("letting lower starts hand over their switches", ::GetLastError());
    return false;
  }
  return true;
}

void OneKeyboard::listen(FormWindow& window, Received received) {
  received_ = std::move(received);
  window.addFilter(*this);
  window_ = window.hwnd();
  listenForSecondStarts(*this);
}

// Only a start of this very program may hand over switches: the sender's
// window must belong to another process running a program of this name.
// A start run as administrator by this keyboard's user can be opened for
// its name (Windows lets a process open an elevated one of its own
// account); another account's cannot, so its start is refused and tells
// its user that a keyboard runs already.
bool OneKeyboard::fromSecondStart(HWND sender) const {
  if (sender == nullptr || !::IsWindow(sender)) return false;
  DWORD pid = 0;
  ::GetWindowThreadProcessId(sender, &pid);
  return pid != 0 && pid != ::GetCurrentProcessId() && programOf(pid) == program_;
}

std::optional<LRESULT> OneKeyboard::filter(HWND /*hwnd*/, UINT msg, WPARAM wp, LPARAM lp, int control) {
  if (msg != WM_COPYDATA || control != kWholeWindow) return std::nullopt;
  const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lp);
  if (data == nullptr || data->dwData != kSecondStartTag) return std::nullopt;
  // Whatever the message holds is another program's: its size is checked
  // before a byte of it is read, and it is copied, never trusted to end.
  const bool wellFormed = data->cbData <= kMaxCommandLineBytes && data->cbData % sizeof(wchar_t) == 0 &&
                          (data->cbData == 0 || data->lpData != nullptr);
  if (!wellFormed || !fromSecondStart(reinterpret_cast<HWND>(wp))) return FALSE;
  std::wstring line(static_cast<const wchar_t*>(data->lpData), data->cbData / sizeof(wchar_t));
  if (const auto nul = line.find(L'\0'); nul != std::wstring::npos) line.resize(nul);
  if (received_) received_(line);
  return TRUE;
}

}  // namespace osk::win32
