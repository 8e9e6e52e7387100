// One top-level window rendering an osk::Form: a native child per control,
// the form's timers as window timers, and the form's geometry as the outer
// window rectangle. The window observes the form, so a handler that changes
// a property repaints exactly the control it touched.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "base/router.h"
#include "layout/model.h"
#include "platform/win32/handles.h"
#include "platform/win32/outside_view.h"

namespace osk::win32 {

// Where every window sends what the user does to it and its timers' ticks:
// one path for all the program's windows.
class FormEvents {
 public:
  virtual ~FormEvents() = default;
  virtual void handle(const Form& form, std::string_view control, Event event) = 0;
  virtual void tick(const Form& form, std::string_view timer) = 0;
};

class FormWindow final : public FormObserver {
 public:
  struct Options {
    HWND owner = nullptr;
    bool quitOnDestroy = false;  // the keyboard: the program ends with it
    bool resizable = true;
    bool minMaxBoxes = true;
  };

  FormWindow(Form& form, FormEvents& events, Options options);
  FormWindow(const FormWindow&) = delete;
  FormWindow& operator=(const FormWindow&) = delete;
  ~FormWindow() override;

  // Creates the window hidden, runs the form's Load so that the stored
  // geometry is in place, then shows it. False, with the window gone and
  // failure() saying why, when a timer the Load switched on could not be
  // started: a window whose timers never tick shows keys that never follow
  // the target, the lock keys or the flash.
  [[nodiscard]] bool open(int showCommand = SW_SHOWNORMAL);
  // As if the user clicked the close box; runs Unload.
  void requestClose();

  // See FormHost::setNonActivating.
  void setNonActivating(bool on);
  // See FormHost::tickOnKeyEvents; needs the window.
  [[nodiscard]] bool tickOnKeyEvents(TimerName timer);

  HWND hwnd() const { return hwnd_.get(); }
  // The child window of a control of the form; null when there is none.
  HWND controlWindow(std::string_view control) const;
  bool alive() const { return static_cast<bool>(hwnd_); }
  // Why the window could not be made whole (its class, the window, a
  // control or a timer refused); empty when nothing was refused. A window
  // that is not whole is not shown: a keyboard with a key missing, or
  // whose keys are never refreshed, would mislead rather than help.
  const std::string& failure() const { return failure_; }
  Form& form() { return form_; }
  int dpi() const { return dpi_; }

  // Called when the window is asked to close, before its Unload, so that
  // windows it owns can close first.
  std::function<void()> beforeUnload;
  // Where the message loop counts the messages it takes; answered to
  // kMessageCountMessage.
  void countMessagesIn(const unsigned long* counter) { messageCount_ = counter; }

  // Called between Unload and the destruction of the window, so that a modal
  // owner can be re-enabled before Windows picks another window to activate.
  std::function<void()> onClosing;

  // FormObserver
  void controlChanged(const Control& control, Property property) override;
  void timerChanged(const Timer& timer) override;
  void geometryChanged(const Geometry& geometry) override;

 private:
  struct Child {
    UniqueWindow hwnd;
    bool ownerDrawn = false;
  };

  static LRESULT CALLBACK staticWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK childSubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                            DWORD_PTR self);
  LRESULT wndProc(HWND self, UINT msg, WPARAM wp, LPARAM lp);

  void create();
  // Gives the window up, unshown, because `reason`.
  void abandon(std::string reason);
  void retryRefusedTimers();
  void createChildren();
  void raiseCoveredControls();
  void layoutChildren();
  void applyTimers();
  void onCommand(int id, int code, HWND child);
  void raise(std::string_view control, Event event);
  void raiseTick(std::string_view timer);
  void focusArrived(HWND child);
  bool drawItem(const DRAWITEMSTRUCT& dis);
  // Asks for the frame (title bar and border) to be repainted with the next
  // paint, leaving the client area alone.
  void invalidateFrame();
  LRESULT ctlColor(HDC dc, HWND child, bool edit);
  void syncGeometryFromWindow();
  RECT pixelRect(const Geometry& g) const;

  int indexOf(HWND child) const;
  int indexOf(const Control& control) const;
  HFONT fontFor(const Font& font);
  // The brush for `color`, to paint in `dc`.
  HBRUSH brushFor(Color color, HDC dc);

  Form& form_;
  FormEvents& events_;
  Options options_;
  UniqueWindow hwnd_;
  std::vector<Child> children_;
  int dpi_ = USER_DEFAULT_SCREEN_DPI;
  std::map<std::tuple<int, bool, int>, UniqueFont> fonts_;  // (centipoints, bold, dpi)
  std::map<COLORREF, UniqueBrush> brushes_;
  int applyingGeometry_ = 0;  // our own SetWindowPos calls: not the user's
  int settingText_ = 0;       // model -> edit: not a user change
  unsigned long repaints_ = 0;
  int focused_ = -1;  // the form's active control, see focusArrived
  const unsigned long* messageCount_ = nullptr;
  std::string failure_;
  // Timers switched on whose SetTimer was refused, with the reason: tried
  // again at the window's next tick, so that a timer refused for a moment
  // (the system short of memory) still starts. One still refused when the
  // Load has run is the reason not to show the window.
  std::map<UINT_PTR, std::string> refusedTimers_;
  bool shown_ = false;
  bool closing_ = false;
  bool nonActivating_ = false;
  // The timer whose tick follows key events anywhere; empty when none.
  std::string keyEventTimer_;
};

// The resolved colour of a stored value: system references are looked up now.
COLORREF resolveColor(Color color);

}  // namespace osk::win32
