// The window -> model direction of FormWindow: what the user does to the
// children becomes the form's events, and no handler's failure unwinds
// through the system's frames.
#include <windowsx.h>

#include <exception>
#include <string>
#include <utility>

#include "platform/win32/failure.h"
#include "platform/win32/form_window.h"
#include "platform/win32/outside_view.h"
#include "platform/win32/text.h"

namespace osk::win32 {

void FormWindow::onCommand(int id, int code, HWND child) {
  const int i = id - kFirstControlId;
  if (child == nullptr || i < 0 || static_cast<std::size_t>(i) >= children_.size()) return;
  const auto index = static_cast<std::size_t>(i);
  if (children_.window(index) != child) return;
  Control& c = form_.controls()[index];
  // Copy the name: a handler may close the window and with it this object's
  // view of the control list.
  const std::string name = c.name();
  switch (c.kind()) {
    case ControlKind::Button:
      if (code == BN_CLICKED) raise(name, Event::Click);
      break;
    case ControlKind::CheckBox:
      if (code == BN_CLICKED) {
        c.setValue(::SendMessageW(child, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0);
        raise(name, Event::Click);
      }
      break;
    case ControlKind::Label:
      if (code == STN_CLICKED) raise(name, Event::Click);
      if (code == STN_DBLCLK) raise(name, Event::DblClick);
      break;
    case ControlKind::TextBox:
      if (code == EN_SETFOCUS) raise(name, Event::GotFocus);
      if (code == EN_KILLFOCUS) raise(name, Event::LostFocus);
      if (code == EN_CHANGE && settingText_ == 0) {
        c.setText(windowText(child));
        raise(name, Event::Change);
      }
      break;
  }
}

LRESULT CALLBACK FormWindow::childSubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                               DWORD_PTR selfPtr) {
  auto* self = reinterpret_cast<FormWindow*>(selfPtr);
  if (id == ChildControls::kButtonSubclass && msg == WM_LBUTTONDBLCLK)
    return ::DefSubclassProc(hwnd, WM_LBUTTONDOWN, wp, lp);
  if (id == ChildControls::kButtonSubclass && msg == WM_MOUSEMOVE) {
    // A button that sees a mouse move asks for hover tracking (for its hot
    // look) with a hover time of 1 ms. Wine then polls the pointer with a
    // 10 ms system timer for as long as it rests on the key: 100 timer
    // messages and hit tests a second, measured at about 2 % of a core, more
    // than ten times what the idle keyboard costs otherwise. A key draws no
    // hot look, so it never sees a move. The one thing the button does with
    // a move besides, showing itself pushed only while a held pointer is
    // over it, is done here.
    if ((wp & MK_LBUTTON) != 0 && ::GetCapture() == hwnd) {
      RECT client{};
      ::GetClientRect(hwnd, &client);
      const POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      ::SendMessageW(hwnd, BM_SETSTATE, ::PtInRect(&client, pt) ? TRUE : FALSE, 0);
    }
    return 0;
  }
  // Asked before its parent is, so the parent need not find out which of
  // its children lies under the pointer.
  if (id == ChildControls::kEditSubclass && msg == WM_MOUSEACTIVATE && self->nonActivating_)
    return MA_ACTIVATE;
  if (id == ChildControls::kEditSubclass && msg == WM_LBUTTONUP) {
    const LRESULT r = ::DefSubclassProc(hwnd, msg, wp, lp);
    const int i = self->children_.indexOf(hwnd);
    if (i >= 0) {
      const std::string name = self->form_.controls()[static_cast<std::size_t>(i)].name();
      self->raise(name, Event::Click);
    }
    return r;
  }
  if (msg == WM_SETFOCUS) {
    const LRESULT r = ::DefSubclassProc(hwnd, msg, wp, lp);
    self->focusArrived(hwnd);
    return r;
  }
  if (msg == WM_NCDESTROY) ::RemoveWindowSubclass(hwnd, &FormWindow::childSubclassProc, id);
  return ::DefSubclassProc(hwnd, msg, wp, lp);
}

// A handler's failure must not unwind through user32's frames, which cannot
// carry a C++ exception; the event is dropped as a refused key would be.
void FormWindow::raise(std::string_view control, Event event) {
  try {
    events_.handle(form_, control, event);
  } catch (const std::exception& e) {
    logFailure(std::string("an event handler failed: ") + e.what());
  } catch (...) {
    logFailure("unknown failure in an event handler");
  }
}

void FormWindow::raiseTick(std::string_view timer) {
  try {
    events_.tick(form_, timer);
  } catch (const std::exception& e) {
    logFailure(std::string("a timer handler failed: ") + e.what());
  } catch (...) {
    logFailure("unknown failure in a timer handler");
  }
}

// The form keeps its own active control, as the focus inside it: going over
// to another program and back does not change it. So a button hears that it
// lost the focus only when another control of this window takes it, which
// is what its LostFocus handler means (the target being brought to the
// front by the button's own click must not count). Text boxes report their
// focus through EN_SETFOCUS and EN_KILLFOCUS instead.
void FormWindow::focusArrived(HWND child) {
  const int i = children_.indexOf(child);
  if (i < 0 || i == focused_) return;
  const int previous = std::exchange(focused_, i);
  const auto& controls = form_.controls();
  auto buttonName = [&controls](int at) {
    if (at < 0) return std::string();
    const Control& c = controls[static_cast<std::size_t>(at)];
    return c.kind() == ControlKind::Button ? c.name() : std::string();
  };
  // Copies: a handler may close the window.
  const std::string left = buttonName(previous);
  const std::string arrived = buttonName(i);
  if (!left.empty()) raise(left, Event::LostFocus);
  if (!arrived.empty() && alive()) raise(arrived, Event::GotFocus);
}

}  // namespace osk::win32
