// One keyboard per session and program name: a second start hands its
// switches to the keyboard already running and ends.
//
// Per program name because the settings are kept per program name: two
// keyboards of one name would overwrite each other's place and choices,
// while a copy under another name (work-osk.exe) is a keyboard of its own,
// with settings of its own, and may run beside this one.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "host/common/handles.h"
#include "host/window/form_window.h"

namespace osk::win32 {

// "--keep-focus" and "--no-keep-focus" in a command line without the
// program's name; the last one given wins, other arguments are left alone.
std::optional<bool> keepFocusSwitch(PCWSTR commandLine);
// "--follow-input-language" / "--no-follow-input-language", the same way.
std::optional<bool> followLanguageSwitch(PCWSTR commandLine);

// The switch of a restart: the new start takes the running keyboard's
// place once that has closed, instead of handing it its switches.
inline constexpr const wchar_t* kReplaceSwitch = L"--replace";
bool hasReplaceSwitch(PCWSTR commandLine);

class OneKeyboard final : public MessageFilter {
 public:
  using Received = std::function<void(const std::wstring& commandLine)>;

  // `programName` as the settings store is keyed by it.
  explicit OneKeyboard(std::wstring programName);
  OneKeyboard(const OneKeyboard&) = delete;
  OneKeyboard& operator=(const OneKeyboard&) = delete;
  OneKeyboard(OneKeyboard&&) = delete;
  OneKeyboard& operator=(OneKeyboard&&) = delete;
  ~OneKeyboard() override = default;

  // True when this start is to run the session's keyboard. False when
  // another keyboard of this name runs in the session and has been handed
  // `commandLine` (or, still starting or stuck, never showed a window):
  // this start then has nothing left to do.
  [[nodiscard]] bool claim(PCWSTR commandLine);

  // Lets later starts find `window` and hands their command lines to
  // `received`; call once the window exists, before it is shown. The
  // keyboard outlives the window.
  void listen(FormWindow& window, Received received);

  // MessageFilter: takes a second start's command line.
  std::optional<LRESULT> filter(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, int control) override;

 private:
  bool fromSecondStart(HWND sender) const;

  std::wstring program_;
  UniqueHandle<HANDLE, detail::closeHandle> mutex_;
  Received received_;
};

}  // namespace osk::win32
