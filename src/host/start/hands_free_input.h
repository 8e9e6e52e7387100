// What only the host sees, fed to the typing aids: the pointer over the
// keyboard window and its keys, its leaving, a left click that is a switch
// press while scanning, and the switch key caught anywhere by SwitchHook.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>

#include "aids/hands_free.h"
#include "host/input/switch_hook.h"
#include "host/window/form_window.h"
#include "platform/switch_keys.h"

namespace osk::win32 {

class HandsFreeInput final : public SwitchKeys, public MessageFilter {
 public:
  HandsFreeInput() = default;
  HandsFreeInput(const HandsFreeInput&) = delete;
  HandsFreeInput& operator=(const HandsFreeInput&) = delete;
  HandsFreeInput(HandsFreeInput&&) = delete;
  HandsFreeInput& operator=(HandsFreeInput&&) = delete;
  ~HandsFreeInput() override;

  // Listens to the keyboard window and every child of it, as a filter of
  // the window's; before its Load.
  void attach(FormWindow& window, aids::HandsFree& aids);

  // SwitchKeys: the hook exists only while scanning is on.
  void catchSwitch(std::optional<SwitchKey> key) override;

  // MessageFilter: the answer when the message is taken here and goes no
  // further.
  std::optional<LRESULT> filter(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, int control) override;

 private:
  void track(HWND hwnd);
  bool pointerStillOver() const;
  void install();

  FormWindow* window_ = nullptr;
  aids::HandsFree* aids_ = nullptr;
  std::optional<SwitchKey> wanted_;
  std::unique_ptr<SwitchHook> hook_;
  HWND tracking_ = nullptr;  // the window whose leave is asked for
  bool swallowing_ = false;  // a left click taken as the switch: its release too
};

}  // namespace osk::win32
