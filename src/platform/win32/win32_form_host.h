// Hosts the forms as top-level windows: the modal dialogs, the message loop
// and the monitors' work areas.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string_view>

#include "app/router.h"
#include "platform/form_host.h"
#include "platform/win32/form_window.h"

namespace osk::win32 {

class Win32FormHost final : public FormHost {
 public:
  // Events of a dialog: true when handled. Unhandled, a click on the
  // dialog's OK_BUTTON closes it.
  using DialogRoute = std::function<bool(Form& dialog, std::string_view control, Event event)>;
  void setDialogRoute(DialogRoute route) { route_ = std::move(route); }

  // Registers a window made by the program itself (the keyboard), so that
  // dialogs can be owned by it and keyboard navigation works in it.
  void adopt(FormWindow& window);
  void forget(const Form& form);

  void showModal(Form& dialog, Form& owner) override;
  std::vector<Geometry> monitorWorkAreas() const override;
  WindowId windowOf(const Form& form) const override;

  // The program's message loop; returns the exit code of WM_QUIT.
  int run();

 private:
  class DialogEvents;
  // Runs one message; false once WM_QUIT has arrived (it is posted again so
  // that outer loops see it too).
  bool pumpOne(bool repostQuit);
  bool isOurWindow(HWND hwnd) const;

  DialogRoute route_;
  std::map<const Form*, FormWindow*> windows_;
  int quitCode_ = 0;
  unsigned long messagesTaken_ = 0;
};

}  // namespace osk::win32
