// One top-level window rendering an osk::Form: a native child per control,
// the form's timers as window timers, and the form's geometry as the outer
// window rectangle. The window observes the form, so a handler that changes
// a property repaints exactly the control it touched.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/router.h"
#include "host/input/input_elsewhere.h"
#include "host/input/key_event_follower.h"
#include "host/paint/button_face.h"
#include "host/paint/gdi_cache.h"
#include "host/paint/placement.h"
#include "host/paint/win32_system_colours.h"
#include "host/window/child_controls.h"
#include "host/window/form_timers.h"
#include "host/window/outside_answers.h"
#include "host/window/resize_cover.h"
#include "host/window/window_base.h"
#include "layout/model.h"
#include "platform/texts.h"

namespace osk::win32 {

// Where every window sends what the user does to it and its timers' ticks:
// one path for all the program's windows.
class FormEvents {
 public:
  virtual ~FormEvents() = default;
  virtual void handle(const Form& form, ControlIndex control, Event event) = 0;
  virtual void tick(const Form& form, TimerIndex timer) = 0;
};

// Sees the messages of a window and of its children before the window
// does: the typing aids (the pointer, a click as the switch) and the
// hand-over of a second start are such filters, so that every message of a
// window comes in through its one procedure and its children's one.
class MessageFilter {
 public:
  // The message is the window's own, not a child's.
  static constexpr int kWholeWindow = -1;

  virtual ~MessageFilter() = default;
  // `control` is the index of the child in the form's control list, or
  // kWholeWindow. An answer takes the message: it goes no further.
  virtual std::optional<LRESULT> filter(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, int control) = 0;
};

// The parts of its work are units of their own: the children
// (child_controls), where twips land in pixels (placement), fonts and brushes
// (gdi_cache), timers (form_timers), key events anywhere (key_event_follower),
// painting (button_face, icons) and the answers to outside tools
// (outside_answers). The window ties them to the form: form_window.cpp holds
// its life and the model -> window direction, form_window_input.cpp the
// window -> model direction, form_window_proc.cpp the window procedure.
class FormWindow final : public WindowBase, public FormObserver {
 public:
  struct Options {
    HWND owner = nullptr;
    bool quitOnDestroy = false;  // the keyboard: the program ends with it
    bool resizable = true;
    bool minMaxBoxes = true;
    // Whether the keys take the system's high-contrast colours.
    HighContrastChoice colours = HighContrastChoice::FollowSystem;
  };

  // `texts` word why the window could not be made; they outlive it.
  FormWindow(Form& form, FormEvents& events, const Texts& texts, Options options);
  FormWindow(const FormWindow&) = delete;
  FormWindow& operator=(const FormWindow&) = delete;
  FormWindow(FormWindow&&) = delete;
  FormWindow& operator=(FormWindow&&) = delete;
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
  // See FormHost::reportInputElsewhere; needs the window.
  [[nodiscard]] bool reportInputElsewhere(bool on);

  // `filter` sees every message of the window and its children, before the
  // window and before filters added after it, until the window is gone.
  void addFilter(MessageFilter& filter) { filters_.push_back(&filter); }

  // The child window of a control of the form; null when there is none.
  HWND controlWindow(std::string_view control) const;
  // Why the window could not be made whole (its class, the window, a
  // control or a timer refused); empty when nothing was refused. A window
  // that is not whole is not shown: a keyboard with a key missing, or
  // whose keys are never refreshed, would mislead rather than help.
  const std::string& failure() const { return failure_; }
  Form& form() { return form_; }
  int dpi() const { return placement_.dpi(); }

  // Called when the window is asked to close, before its Unload, so that
  // windows it owns can close first.
  void setBeforeUnload(std::function<void()> call) { beforeUnload_ = std::move(call); }
  // Where the message loop counts the messages it takes; answered to
  // kMessageCountMessage.
  void countMessagesIn(const unsigned long* counter) { outside_.countMessagesIn(counter); }

  // Called between Unload and the destruction of the window, so that a modal
  // owner can be re-enabled before Windows picks another window to activate.
  void setOnClosing(std::function<void()> call) { onClosing_ = std::move(call); }

  // FormObserver
  void controlChanged(const Control& control, Property property) override;
  void timerChanged(const Timer& timer) override;
  void geometryChanged(const Geometry& geometry) override;
  void layoutChanged() override;
  void titleChanged() override;
  void aidMarksChanged(const AidMarks& before, const AidMarks& after) override;

 private:
  // Ends a drag of the frame by the window manager; apart from the form's
  // timers (1 up) and the key event follower's.
  static constexpr UINT_PTR kSettleTimer = 0x7F01;

  static LRESULT CALLBACK childSubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                            DWORD_PTR self) noexcept;
  // The child procedure's cases, behind its exception barrier.
  LRESULT childMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR kind);
  std::optional<LRESULT> filtered(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, int control);
  LRESULT handleMessage(HWND self, UINT msg, WPARAM wp, LPARAM lp) override;

  // form_window.cpp: life, and model -> window.
  void create();
  // Gives the window up, unshown, because `reason`.
  void abandon(std::string reason);
  void layoutChildren();
  // Fits the layout to the client area (see layout/scale.h) and, when the
  // fit changed or `force`, places the children afresh; while the user
  // drags the frame, the picture stands in for them instead.
  void refit(bool force);
  // The drag of the frame is over: the children take the picture's place.
  void endSizing();
  // Takes a run of resizes from outside any loop as a drag of the frame by
  // the window manager; see form_window.cpp.
  void noteOutsideResize(HWND self, WPARAM kind);
  bool dragging() const { return sizing_ || outsideDrag_; }
  // The whole client area, every control at its place, drawn into `dc`.
  void paintPicture(HDC dc, SIZE size);
  KeyMarks marksOf(std::size_t index) const;
  // The client size at which the layout is drawn unscaled, at this DPI and
  // with this window's frame; zero when the form has no design size.
  SIZE designClient() const;
  void onGetMinMaxInfo(MINMAXINFO& info) const;
  LRESULT onWindowPosChanged(HWND self, WPARAM wp, LPARAM lp);
  void applyTimers();
  // Asks for the frame (title bar and border) to be repainted with the next
  // paint, leaving the client area alone.
  void invalidateFrame();
  void syncGeometryFromWindow();
  int indexOf(const Control& control) const;

  // form_window_input.cpp: window -> model.
  void onCommand(int id, int code, HWND child);
  bool escapeClosed(int id, HWND child);
  void raise(ControlIndex control, Event event);
  void raiseTick(TimerIndex timer);
  void focusArrived(HWND child);

  // form_window_proc.cpp: the window procedure's cases.
  // False for a timer that is none of the window's.
  bool onTimer(HWND self, WPARAM id);
  static void onNextDlgCtl(HWND self, WPARAM wp, LPARAM lp);
  void onDpiChanged(HWND self, WPARAM wp, const RECT& suggested);
  // WM_SIZE, WM_MOVE, the drag of the frame and the pointer that ends it.
  void onSizeOrMove(HWND self, UINT msg, WPARAM wp);
  void onClose(HWND self);
  void onDestroy(HWND self);
  bool drawItem(const DRAWITEMSTRUCT& dis);
  LRESULT ctlColor(HDC dc, HWND child, bool edit);

  // The palette afresh from the system's colours and the choice.
  void choosePalette();
  // The system's colours or its high-contrast switch changed.
  void onColoursChanged(HWND self);

  Form& form_;
  FormEvents& events_;
  const Texts& texts_;
  Win32SystemColours systemColours_;
  Options options_;
  ChildControls children_;
  Placement placement_;
  GdiCache gdi_;
  FormTimers timers_;
  KeyEventFollower keyEvents_;
  InputElsewhere inputElsewhere_;
  OutsideAnswers outside_;
  ResizeCover cover_{[this](HDC dc, SIZE size) { paintPicture(dc, size); }};
  bool sizing_ = false;          // in the system's loop that drags the frame
  bool outsideDrag_ = false;     // in a run of the window manager's resizes
  DWORD lastOutsideResize_ = 0;  // GetTickCount of the last one
  bool keysHidden_ = false;      // see ChildControls::hideAll
  int applyingGeometry_ = 0;     // our own SetWindowPos calls: not the user's
  int settingText_ = 0;          // model -> edit: not a user change
  int focused_ = -1;             // the form's active control, see focusArrived
  std::string failure_;
  std::function<void()> beforeUnload_;
  std::function<void()> onClosing_;
  std::vector<MessageFilter*> filters_;
  bool shown_ = false;
  bool closing_ = false;
  bool nonActivating_ = false;
};

}  // namespace osk::win32
