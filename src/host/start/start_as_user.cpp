#include "host/start/start_as_user.h"

// windows.h first: these headers depend on its types. shellapi.h before
// shldisp.h, so that its ShellExecute macro renames the interface's method
// where it is declared as well as where it is called.
#include <exdisp.h>
#include <servprov.h>
#include <shellapi.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <string>
#include <vector>

#include "app/start_as_user.h"
#include "host/common/com.h"
#include "host/common/failure.h"
#include "host/common/handles.h"
#include "host/common/text.h"

namespace osk::win32 {

namespace {

LaunchOutcome started() { return {LaunchOutcome::Status::Started, {}}; }
LaunchOutcome refused(std::string_view what, HRESULT hr) {
  return {LaunchOutcome::Status::Failed, failureText(what, static_cast<DWORD>(hr))};
}

std::wstring ownPath() {
  constexpr DWORD kLongestPath = 32768;
  std::wstring path(kLongestPath, L'\0');
  const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), kLongestPath);
  if (n == 0 || n >= kLongestPath) {
    logFailure("finding this program's own file", ::GetLastError());
    return {};
  }
  path.resize(n);
  return path;
}

class Win32UserStarter final : public UserStarter {
 public:
  Win32UserStarter() : path_(ownPath()), folder_(path_.substr(0, path_.find_last_of(L'\\'))) {}

  Elevation elevation() override {
    HANDLE raw = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &raw)) {
      logFailure("reading this start's rights", ::GetLastError());
      return Elevation::Unknown;
    }
    const UniqueKernelHandle token(raw);
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    if (!::GetTokenInformation(token.get(), TokenElevation, &elevation, sizeof elevation, &size)) {
      logFailure("reading whether this start runs as administrator", ::GetLastError());
      return Elevation::Unknown;
    }
    return elevation.TokenIsElevated != 0 ? Elevation::Elevated : Elevation::Limited;
  }

  // The desktop's folder view belongs to the shell of the signed-in user;
  // what its application object starts, the shell starts, as that user.
  LaunchOutcome startThroughShell(const std::string& parameters) override {
    ComPtr<IShellWindows> windows;
    HRESULT hr = ::CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER, __uuidof(IShellWindows),
                                    windows.putVoid());
    if (FAILED(hr)) return refused("reaching the shell's windows", hr);
    UniqueVariant desktop(static_cast<LONG>(CSIDL_DESKTOP));
    UniqueVariant noRoot;
    LONG window = 0;
    ComPtr<IDispatch> found;
    hr = windows->FindWindowSW(&desktop.get(), &noRoot.get(), SWC_DESKTOP, &window, SWFO_NEEDDISPATCH,
                               found.put());
    // S_FALSE: no desktop window, as where no shell runs.
    if (hr != S_OK || !found)
      return refused("finding the shell's desktop window", hr == S_FALSE ? E_FAIL : hr);
    ComPtr<IServiceProvider> services;
    if (FAILED(hr = found.as(services))) return refused("asking the desktop for its services", hr);
    ComPtr<IShellBrowser> browser;
    if (FAILED(hr = services->QueryService(SID_STopLevelBrowser, __uuidof(IShellBrowser), browser.putVoid())))
      return refused("finding the desktop's browser", hr);
    ComPtr<IShellView> view;
    if (FAILED(hr = browser->QueryActiveShellView(view.put())))
      return refused("finding the desktop's view", hr);
    ComPtr<IDispatch> background;
    if (FAILED(hr = view->GetItemObject(SVGIO_BACKGROUND, __uuidof(IDispatch), background.putVoid())))
      return refused("reaching the desktop view's background", hr);
    ComPtr<IShellFolderViewDual> folderView;
    if (FAILED(hr = background.as(folderView))) return refused("reaching the desktop's folder view", hr);
    ComPtr<IDispatch> application;
    if (FAILED(hr = folderView->get_Application(application.put())))
      return refused("reaching the shell's application object", hr);
    ComPtr<IShellDispatch2> shell;
    if (FAILED(hr = application.as(shell))) return refused("reaching the shell's start", hr);
    const UniqueBstr file(path_.c_str());
    UniqueVariant arguments(widen(parameters).c_str());
    UniqueVariant folder(folder_.c_str());
    UniqueVariant verb(L"open");
    UniqueVariant show(static_cast<LONG>(SW_SHOWNORMAL));
    if (file.get() == nullptr || !arguments.valid() || !folder.valid() || !verb.valid())
      return refused("preparing the shell's start", E_OUTOFMEMORY);
    if (FAILED(hr = shell->ShellExecute(file.get(), arguments.get(), folder.get(), verb.get(), show.get())))
      return refused("the shell's start of the keyboard", hr);
    return started();
  }

  LaunchOutcome startDirectly(const std::string& parameters) override {
    std::wstring line = L"\"" + path_ + L"\"";
    if (!parameters.empty()) line += L" " + widen(parameters);
    std::vector<wchar_t> buffer(line.begin(), line.end());  // CreateProcessW writes to it
    buffer.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(path_.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, folder_.c_str(),
                          &startup, &process))
      return refused("starting the keyboard", HRESULT_FROM_WIN32(::GetLastError()));
    const UniqueKernelHandle processHandle(process.hProcess);
    const UniqueKernelHandle threadHandle(process.hThread);
    return started();
  }

 private:
  std::wstring path_;
  std::wstring folder_;
};

std::vector<std::string> argumentsOf(PCWSTR commandLine) {
  std::vector<std::string> arguments;
  if (commandLine == nullptr || *commandLine == L'\0') return arguments;
  // A program name first: CommandLineToArgvW reads the first entry by other
  // rules.
  const std::wstring line = std::wstring(L"qm-osk ") + commandLine;
  int argc = 0;
  const UniqueLocal<LPWSTR*> argv(::CommandLineToArgvW(line.c_str(), &argc));
  if (!argv) {
    logFailure("reading the command line's switches", ::GetLastError());
    return arguments;
  }
  for (int i = 1; i < argc; ++i) arguments.push_back(narrow(argv.get()[i]));
  return arguments;
}

}  // namespace

std::optional<int> startAsUserIfAsked(PCWSTR commandLine) {
  const std::vector<std::string> arguments = argumentsOf(commandLine);
  if (!wantsStartAsUser(arguments)) return std::nullopt;
  const ComApartment com;
  if (FAILED(com.result())) logFailure("starting COM for the shell", static_cast<DWORD>(com.result()));
  Win32UserStarter starter;
  return startAsSignedInUser(starter, arguments).exitCode;
}

}  // namespace osk::win32
