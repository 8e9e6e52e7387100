// The window -> model direction of FormWindow: what the user does to the
// children becomes the form's events, and no handler's failure unwinds
// through the system's frames.
#include <windowsx.h>

#include <exception>
#include <optional>
#include <string>
#include <utility>

#include "host/common/failure.h"
#include "host/common/text.h"
#include "host/window/form_window.h"
#include "host/window/outside_view.h"

namespace osk::win32 {
namespace {

bool ticked(HWND box) { return ::SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

// The list's chosen item, if any.
std::optional<int> chosenItem(HWND list) {
  const LRESULT chosen = ::SendMessageW(list, CB_GETCURSEL, 0, 0);
  if (chosen == CB_ERR) return std::nullopt;
  return static_cast<int>(chosen);
}

}  // namespace

bool FormWindow::escapeClosed(int id, HWND child) {
  // Escape in a dialog, as IsDialogMessage hands it on: closed as its close
  // box would close it, which keeps what it holds. The keyboard itself has
  // no owner and stays.
  if (id != IDCANCEL || child != nullptr || options_.owner == nullptr) return false;
  if (::PostMessageW(hwnd(), WM_CLOSE, 0, 0) == FALSE)
    logFailure("closing a dialog by Escape", ::GetLastError());
  return true;
}

void FormWindow::onCommand(int id, int code, HWND child) {
  if (escapeClosed(id, child)) return;
  const int i = id - kFirstControlId;
  if (child == nullptr || i < 0 || static_cast<std::size_t>(i) >= children_.size()) return;
  const auto index = static_cast<std::size_t>(i);
  if (children_.window(index) != child) return;
  Control& c = form_.controls()[index];
  switch (c.kind()) {
    case ControlKind::Button:
      if (code == BN_CLICKED) raise(index, Event::Click);
      break;
    case ControlKind::CheckBox:
      if (code == BN_CLICKED) {
        c.setValue(static_cast<int>(ticked(child)));
        raise(index, Event::Click);
      }
      break;
    case ControlKind::DropDown: {
      // A choice is a click, as a tick is: the value has changed first.
      const std::optional<int> chosen = code == CBN_SELCHANGE ? chosenItem(child) : std::nullopt;
      if (!chosen) break;
      c.setValue(*chosen);
      raise(index, Event::Click);
      break;
    }
    case ControlKind::Label:
      if (code == STN_CLICKED) raise(index, Event::Click);
      if (code == STN_DBLCLK) raise(index, Event::DblClick);
      break;
    case ControlKind::TextBox:
      if (code == EN_SETFOCUS) raise(index, Event::GotFocus);
      if (code == EN_KILLFOCUS) raise(index, Event::LostFocus);
      if (code == EN_CHANGE && settingText_ == 0) {
        c.setText(windowText(child));
        raise(index, Event::Change);
      }
      break;
  }
}

LRESULT CALLBACK FormWindow::childSubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                               DWORD_PTR selfPtr) noexcept {
  if (msg == WM_NCDESTROY) {
    ::RemoveWindowSubclass(hwnd, &FormWindow::childSubclassProc, id);
    return ::DefSubclassProc(hwnd, msg, wp, lp);
  }
  auto* self = reinterpret_cast<FormWindow*>(selfPtr);
  return guardedEntry([&] { return self->childMessage(hwnd, msg, wp, lp, id); },
                      [&] { return ::DefSubclassProc(hwnd, msg, wp, lp); });
}

LRESULT FormWindow::childMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR kind) {
  // A child is unknown only while the window takes its children down.
  if (const int index = children_.indexOf(hwnd); index >= 0)
    if (const auto answer = filtered(hwnd, msg, wp, lp, index)) return *answer;
  if (kind == ChildControls::kButtonSubclass && msg == WM_LBUTTONDBLCLK)
    return ::DefSubclassProc(hwnd, WM_LBUTTONDOWN, wp, lp);
  if (kind == ChildControls::kButtonSubclass && msg == WM_MOUSEMOVE) {
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
  if (kind == ChildControls::kEditSubclass && msg == WM_MOUSEACTIVATE && nonActivating_) return MA_ACTIVATE;
  if (kind == ChildControls::kEditSubclass && msg == WM_LBUTTONUP) {
    const LRESULT r = ::DefSubclassProc(hwnd, msg, wp, lp);
    const int i = children_.indexOf(hwnd);
    if (i >= 0) raise(static_cast<ControlIndex>(i), Event::Click);
    return r;
  }
  if (msg == WM_SETFOCUS && kind != ChildControls::kPlainSubclass) {
    const LRESULT r = ::DefSubclassProc(hwnd, msg, wp, lp);
    focusArrived(hwnd);
    return r;
  }
  return ::DefSubclassProc(hwnd, msg, wp, lp);
}

std::optional<LRESULT> FormWindow::filtered(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, int control) {
  // What a pause in following the pointer may have hidden is known before
  // the keyboard acts, on this window or any of its keys.
  if (InputElsewhere::mayLeadToTyping(msg) && inputElsewhere_.catchUp(this->hwnd()))
    raise(kFormItself, Event::InputElsewhere);
  for (MessageFilter* f : filters_)
    if (const auto answer = f->filter(hwnd, msg, wp, lp, control)) return answer;
  return std::nullopt;
}

// The window's procedure is the one barrier between a handler and user32:
// what a handler throws is logged there and its event dropped, as a
// refused key would be.
void FormWindow::raise(ControlIndex control, Event event) { events_.handle(form_, control, event); }

void FormWindow::raiseTick(TimerIndex timer) { events_.tick(form_, timer); }

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
  auto isButton = [&controls](int at) {
    return at >= 0 && controls[static_cast<std::size_t>(at)].kind() == ControlKind::Button;
  };
  if (isButton(previous)) raise(static_cast<ControlIndex>(previous), Event::LostFocus);
  if (isButton(i) && alive()) raise(static_cast<ControlIndex>(i), Event::GotFocus);
}

}  // namespace osk::win32
