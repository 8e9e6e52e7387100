#include "host/system/shell_launcher.h"

// windows.h first: these headers depend on its types.
#include <objbase.h>
#include <shellapi.h>

#include <exception>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "host/common/failure.h"
#include "host/common/text.h"

namespace osk::win32 {

namespace {

constexpr UINT kAnswered = WM_APP + 1;
constexpr const wchar_t* kMailboxClass = L"QmOskLaunchAnswers";

struct Job {
  LaunchRequest request;
  Launcher::Done done;
  LaunchOutcome outcome;
  HWND mailbox = nullptr;
};

// ShellExecuteEx leaves its reason in hInstApp as well; a few systems (and
// some shell extensions) fail without setting the thread's last error.
DWORD errorOfShellCode(INT_PTR code) {
  switch (code) {
    case SE_ERR_FNF:
      return ERROR_FILE_NOT_FOUND;
    case SE_ERR_PNF:
      return ERROR_PATH_NOT_FOUND;
    case SE_ERR_ACCESSDENIED:
      return ERROR_ACCESS_DENIED;
    case SE_ERR_OOM:
      return ERROR_NOT_ENOUGH_MEMORY;
    case SE_ERR_NOASSOC:
    case SE_ERR_ASSOCINCOMPLETE:
      return ERROR_NO_ASSOCIATION;
    case SE_ERR_SHARE:
      return ERROR_SHARING_VIOLATION;
    case 0:
      return ERROR_NOT_ENOUGH_MEMORY;
    case ERROR_BAD_FORMAT:
      return ERROR_BAD_FORMAT;
    default:
      return ERROR_GEN_FAILURE;
  }
}

const wchar_t* orNull(const std::wstring& s) { return s.empty() ? nullptr : s.c_str(); }

DWORD shellStart(const LaunchRequest& r) {
  const std::wstring file = widen(r.file);
  const std::wstring parameters = widen(r.parameters);
  const std::wstring directory = widen(r.directory);
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  // NO_UI: a failure is shown by the keyboard beside the key, not in a
  // message box that would wait for an answer. NOASYNC: this thread ends
  // right after the call, so the call must be finished when it returns.
  info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
  info.hwnd = reinterpret_cast<HWND>(r.owner);
  info.lpVerb = r.elevated ? L"runas" : nullptr;
  info.lpFile = file.c_str();
  info.lpParameters = orNull(parameters);
  info.lpDirectory = orNull(directory);
  info.nShow = SW_SHOWNORMAL;
  if (::ShellExecuteExW(&info)) return ERROR_SUCCESS;
  const DWORD error = ::GetLastError();
  return error != ERROR_SUCCESS ? error : errorOfShellCode(reinterpret_cast<INT_PTR>(info.hInstApp));
}

DWORD directStart(const LaunchRequest& r) {
  // A direct command line has no way to ask for elevation; it is refused
  // rather than run with less than was asked for.
  if (r.elevated) return ERROR_NOT_SUPPORTED;
  const std::wstring line = widen(r.file);
  std::vector<wchar_t> buffer(line.begin(), line.end());  // CreateProcessW writes to it
  buffer.push_back(L'\0');
  const std::wstring directory = widen(r.directory);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process{};
  if (!::CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, orNull(directory),
                        &startup, &process))
    return ::GetLastError();
  const UniqueKernelHandle processHandle(process.hProcess);
  const UniqueKernelHandle threadHandle(process.hThread);
  // The keyboard was just clicked, so it may hand the foreground on: the
  // program's first window comes up in front and takes the focus. Refused
  // (the keyboard no longer in front), it comes up as any started program
  // would, perhaps behind; it has started all the same.
  ::AllowSetForegroundWindow(process.dwProcessId);
  return ERROR_SUCCESS;
}

LaunchOutcome outcomeOf(DWORD error) {
  if (error == ERROR_SUCCESS) return {LaunchOutcome::Status::Started, {}};
  const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
                       error == ERROR_INVALID_NAME || error == ERROR_BAD_NETPATH;
  return {missing ? LaunchOutcome::Status::NotFound : LaunchOutcome::Status::Failed, systemMessage(error)};
}

DWORD WINAPI runJob(void* param) {
  std::unique_ptr<Job> job(static_cast<Job*>(param));
  // The shell may hand the start to extensions that need COM on this thread.
  const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  const DWORD error =
      job->request.kind == LaunchRequest::Kind::Shell ? shellStart(job->request) : directStart(job->request);
  job->outcome = outcomeOf(error);
  if (SUCCEEDED(com)) ::CoUninitialize();
  // Once the keyboard has gone, nobody waits for the answer. (Refused too
  // with the keyboard's queue full, that is with the keyboard hung, when
  // the answer could not be acted on either.)
  // Posted, the message owns the job; the mailbox takes it back.
  if (::PostMessageW(job->mailbox, kAnswered, 0, reinterpret_cast<LPARAM>(job.get())))
    static_cast<void>(job.release());
  return 0;
}

HINSTANCE instance() { return ::GetModuleHandleW(nullptr); }

// The restart is a shell start of this very program. Not testable under
// Wine, which has no consent prompt and no levels: kept to this and the
// switch that makes the new keyboard wait for this one to go.
LaunchRequest restartOf(const LaunchRequest& request, const std::wstring& ownArguments) {
  constexpr DWORD kLongestPath = 32768;
  std::wstring path(kLongestPath, L'\0');
  const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), kLongestPath);
  path.resize(n < kLongestPath ? n : 0);
  LaunchRequest shell = request;
  shell.kind = LaunchRequest::Kind::Shell;
  shell.file = narrow(path);
  shell.parameters = narrow(ownArguments + (ownArguments.empty() ? L"" : L" ") + kReplaceSwitch);
  return shell;
}

}  // namespace

ShellLauncher::ShellLauncher(std::wstring ownArguments) : ownArguments_(std::move(ownArguments)) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &ShellLauncher::mailboxProc;
  wc.hInstance = instance();
  wc.lpszClassName = kMailboxClass;
  // A refused class shows in the window's creation, which then fails with
  // the reason.
  if (::RegisterClassExW(&wc) == 0) logFailure("registering the launcher's window class", ::GetLastError());
  mailbox_.reset(
      ::CreateWindowExW(0, kMailboxClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance(), nullptr));
  if (!mailbox_) {
    mailboxError_ = ::GetLastError();
    if (mailboxError_ == ERROR_SUCCESS) mailboxError_ = ERROR_NOT_ENOUGH_MEMORY;
    logFailure("creating the launcher's window", mailboxError_);
  }
}

ShellLauncher::~ShellLauncher() { mailbox_.reset(); }

void ShellLauncher::launch(const LaunchRequest& request, Done done) {
  if (!mailbox_) {
    // Without a way back there is no start that could be reported; the
    // note beside the key gives the reason the way back is missing.
    done(outcomeOf(mailboxError_));
    return;
  }
  auto job = std::make_unique<Job>();
  job->request = request.kind == LaunchRequest::Kind::Restart ? restartOf(request, ownArguments_) : request;
  job->done = std::move(done);
  job->mailbox = mailbox_.get();
  const UniqueKernelHandle thread(::CreateThread(nullptr, 0, &runJob, job.get(), 0, nullptr));
  if (!thread) {
    const DWORD error = ::GetLastError();
    job->done(outcomeOf(error != ERROR_SUCCESS ? error : ERROR_NOT_ENOUGH_MEMORY));
    return;
  }
  static_cast<void>(job.release());  // the thread owns it now
}

LRESULT CALLBACK ShellLauncher::mailboxProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
  if (msg == kAnswered) {
    const std::unique_ptr<Job> job(reinterpret_cast<Job*>(lp));
    return guardedEntry(
        [&] {
          job->done(job->outcome);
          return LRESULT{0};
        },
        [] { return LRESULT{0}; });
  }
  if (msg == WM_DESTROY) {
    // Answers still queued are for a keyboard that is closing.
    MSG pending{};
    while (::PeekMessageW(&pending, hwnd, kAnswered, kAnswered, PM_REMOVE))
      const std::unique_ptr<Job> dropped(reinterpret_cast<Job*>(pending.lParam));
  }
  return ::DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace osk::win32
