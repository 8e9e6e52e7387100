// The keyboard window's opacity (a layered window) and its life as an
// application bar along the bottom of its monitor: the Win32 side of
// fading and docking, whose decisions are the core's (aids/fader.h,
// screen/docking.h).
#pragma once

#include <windows.h>
// windows.h first: shellapi.h depends on its types.
#include <shellapi.h>

#include <optional>

#include "host/window/form_window.h"
#include "host/window/outside_view.h"
#include "platform/texts.h"
#include "platform/window_look.h"
#include "screen/docking.h"

namespace osk::win32 {

class WindowLookHost final : public WindowLook, public AppBar, public MessageFilter {
 public:
  WindowLookHost();
  WindowLookHost(const WindowLookHost&) = delete;
  WindowLookHost& operator=(const WindowLookHost&) = delete;
  WindowLookHost(WindowLookHost&&) = delete;
  WindowLookHost& operator=(WindowLookHost&&) = delete;
  // The bar goes with its owner, however the program leaves.
  ~WindowLookHost() override;

  // Listens to the keyboard window, as a filter of its own, and puts the
  // docking item in its system menu; before its Load. The item is worded
  // by `texts` each time the menu opens, so it follows a change of
  // language at once; `texts` outlives the window.
  void attach(FormWindow& window, Docking& docking, const Texts& texts);

  void setOpacity(const Form& form, bool layered, int percent) override;
  bool pointerOver(const Form& form) const override;
  std::optional<Geometry> dockBottom(const Form& form, float height) override;
  void remove(const Form& form) override;

  std::optional<LRESULT> filter(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, int control) override;

 private:
  HWND hwnd() const;
  // The docking item as the menu is about to show it: worded and ticked.
  void showDockItem(HMENU menu) const;
  void removeBar();
  // The system's notes to the bar, and the bar's own.
  void noticed(WPARAM wp, LPARAM lp);
  // Where the bar lies among the top-level windows (HWND_TOPMOST and so on).
  void placeInZOrder(HWND after, const char* what) const;
  bool barCall(DWORD message, APPBARDATA& data, const char* what);
  // QUERYPOS and SETPOS for a bar `height` twips high along the bottom of
  // `monitor`; the window's place converts the height at its monitor's DPI.
  std::optional<Geometry> placeBar(APPBARDATA& data, const RECT& monitor, Geometry sized, float height);

  FormWindow* window_ = nullptr;
  Docking* docking_ = nullptr;
  const Texts* texts_ = nullptr;
  UINT notice_ = 0;      // the system's notes to the bar
  UINT stateAsked_ = 0;  // kAppBarStateMessage
  bool registered_ = false;
  bool topmostBefore_ = false;      // as the keyboard was before it docked (Always On Top)
  bool fullScreenInFront_ = false;  // a program fills the screen: the bar stands back
  bool placing_ = false;            // within dockBottom: the system's notes of it are its own
  LRESULT refusals_ = 0;
};

}  // namespace osk::win32
