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
#include <string_view>

#include "host/common/handles.h"
#include "host/system/shell_launcher.h"
#include "host/window/form_window.h"
#include "platform/session_claim.h"
#include "platform/texts.h"

namespace osk::win32 {

// "--keep-focus" and "--no-keep-focus" in a command line without the
// program's name; the last one given wins, other arguments are left alone.
std::optional<bool> keepFocusSwitch(PCWSTR commandLine);
// "--follow-input-language" / "--no-follow-input-language", the same way.
std::optional<bool> followLanguageSwitch(PCWSTR commandLine);

// True when the command line holds the restart's switch (kReplaceSwitch).
bool hasReplaceSwitch(PCWSTR commandLine);

class OneKeyboard final : public MessageFilter, private SessionClaim {
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
  // `commandLine` (or, still starting or stuck, never showed a window; or,
  // run as administrator or as another user, could not be reached, which
  // the user is told, in the words of `texts`): this start then has nothing
  // left to do.
  [[nodiscard]] bool claim(PCWSTR commandLine, const Texts& texts);

  // Lets later starts find `window` and hands their command lines to
  // `received`; call once the window exists, before it is shown. The
  // keyboard outlives the window. A keyboard run as administrator lets
  // the starts of the signed-in user reach it through UIPI.
  void listen(FormWindow& window, Received received);

  // MessageFilter: takes a second start's command line.
  std::optional<LRESULT> filter(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, int control) override;

 private:
  // SessionClaim
  ClaimAnswer claimName() override;
  bool findRunning(bool outOfReach) override;
  bool handOver() override;
  bool waitShortly() override;
  void tell(std::string_view text) override;
  bool letLowerStartsHandOver() override;

  bool fromSecondStart(HWND sender) const;

  std::wstring program_;
  PCWSTR commandLine_ = nullptr;
  DWORD start_ = 0;        // when claim() began, for its patience
  HWND found_ = nullptr;   // the running keyboard's window, once found
  HWND window_ = nullptr;  // this keyboard's own, once listening
  UniqueHandle<HANDLE, detail::closeHandle> mutex_;
  Received received_;
};

}  // namespace osk::win32
