// Hosts the forms as top-level windows: the modal dialogs, the message loop
// and the monitors' work areas.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string_view>
#include <vector>

#include "base/router.h"
#include "host/window/form_window.h"
#include "host/window/note_balloon.h"
#include "platform/form_host.h"
#include "platform/texts.h"

namespace osk::win32 {

class Win32FormHost final : public FormHost {
 public:
  // `texts` word what the host itself tells the user; they outlive it.
  explicit Win32FormHost(const Texts& texts) : texts_(texts) {}

  // Where the events of the dialogs go: the path the keyboard window's own
  // events take.
  void setEvents(FormEvents& events) { events_ = &events; }

  // Registers a window made by the program itself (the keyboard), so that
  // dialogs can be owned by it and keyboard navigation works in it.
  void adopt(FormWindow& window);
  // Whether the dialogs it opens take the high-contrast colours.
  void setColourChoice(HighContrastChoice colours) { colours_ = colours; }
  void forget(const Form& form);

  void showModal(Form& dialog, Form& owner) override;
  void close(Form& form) override;
  std::vector<Geometry> monitorWorkAreas() const override;
  void bringForward(const Form& form, bool activate) override;
  WindowId windowOf(const Form& form) const override;
  bool ownsWindow(WindowId window) const override;
  void showNote(const Form& form, ControlName control, std::string_view text) override;
  void showActionNote(const Form& form, const Control& control, std::string_view text,
                      std::function<void()> onClick) override;
  void setNonActivating(const Form& form, bool on) override;
  bool tickOnKeyEvents(const Form& form, TimerName timer) override;
  bool reportInputElsewhere(const Form& form, bool on) override;

  // The program's message loop; returns the exit code of WM_QUIT.
  int run();

 private:
  // Runs one message; false once WM_QUIT has arrived (it is posted again so
  // that outer loops see it too).
  bool pumpOne(bool repostQuit);
  bool isOurWindow(HWND hwnd) const;
  // Closes, innermost first, every modal dialog opened above `window`, each
  // through its own close (so each saves), before `window` itself goes.
  void closeDialogsAbove(const FormWindow& window);
  // A note pointing at `anchor`, a window of `owner` (or `owner` itself);
  // a warning sound when no note can be shown.
  void noteAt(HWND owner, HWND anchor, std::string_view text, std::function<void()> onClick = {});
  // Tells at `owner` that `window` could not be opened, and why.
  void cannotOpen(HWND owner, const FormWindow& window);

  const Texts& texts_;
  FormEvents* events_ = nullptr;
  HighContrastChoice colours_ = HighContrastChoice::FollowSystem;
  std::map<const Form*, FormWindow*> windows_;
  NoteBalloon note_;
  std::vector<FormWindow*> modal_;  // shown modal dialogs, innermost last
  std::map<const Form*, bool> nonActivating_;
  int quitCode_ = 0;
  unsigned long messagesTaken_ = 0;
};

}  // namespace osk::win32
