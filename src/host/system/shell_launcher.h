// Starting programs: through the shell (elevated on request) or as a direct
// command line. Each start runs on a thread of its own, so that a consent
// prompt or a slow network path never stops the keyboard; the outcome comes
// back through the message loop.
#pragma once

#include <windows.h>

#include <string>

#include "host/common/failure.h"
#include "host/common/handles.h"
#include "platform/launcher.h"

namespace osk::win32 {

// The switch of a restart: the new start takes the running keyboard's
// place once that has closed, instead of handing it its switches.
inline constexpr const wchar_t* kReplaceSwitch = L"--replace";

class ShellLauncher final : public Launcher {
 public:
  // `ownArguments`: the keyboard's command line without its program name,
  // given again to a restart.
  explicit ShellLauncher(std::wstring ownArguments);
  ShellLauncher(const ShellLauncher&) = delete;
  ShellLauncher& operator=(const ShellLauncher&) = delete;
  ShellLauncher(ShellLauncher&&) = delete;
  ShellLauncher& operator=(ShellLauncher&&) = delete;
  ~ShellLauncher() override;

  void launch(const LaunchRequest& request, Done done) override;

 private:
  static LRESULT CALLBACK mailboxProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept;
  // A message-only window of the keyboard's thread that takes the outcomes.
  std::wstring ownArguments_;
  UniqueWindow mailbox_;
  DWORD mailboxError_ = ERROR_SUCCESS;  // why there is no mailbox_
};

}  // namespace osk::win32
