// The desktop seen through user32: the foreground window, titles, bringing a
// window back to the front, topmost placement and the lock keys.
#pragma once

#include "platform/desktop.h"

namespace osk::win32 {

class Win32Desktop final : public Desktop {
 public:
  Win32Desktop();
  WindowId foregroundWindow() const override;
  std::string windowTitle(WindowId window) const override;
  bool activate(WindowId recorded, const std::string& title, std::chrono::milliseconds patience) override;
  void setTopmost(WindowId window, bool topmost) override;
  Integrity integrityOf(WindowId window) const override;
  Integrity ownIntegrity() const override;
  ProbeAnswer probe(WindowId window) const override;

 private:
  Integrity own_;  // a process keeps its level for life
};

class Win32LockKeys final : public LockKeys {
 public:
  std::int16_t keyState(LockKey key) const override;
  LockStates states() const override;
};

}  // namespace osk::win32
