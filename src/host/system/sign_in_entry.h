// HKCU\Software\Microsoft\Windows\CurrentVersion\Run, where Windows looks
// for what to start at sign-in: a value named after the program, holding
// the quoted path of the running program.
#pragma once

#include <string>

#include "platform/sign_in.h"

namespace osk::win32 {

class SignInEntry final : public SignInStart {
 public:
  explicit SignInEntry(std::wstring applicationName);

  bool on() const override;
  bool set(bool on) override;

 private:
  std::wstring name_;
  std::wstring command_;  // "C:\...\qm-osk.exe", quotes included
};

}  // namespace osk::win32
