#include "host/window/child_controls.h"

#include <algorithm>

#include "host/common/failure.h"
#include "host/common/text.h"
#include "host/paint/icons.h"
#include "host/window/outside_view.h"

namespace osk::win32 {

namespace {

struct ChildStyle {
  const wchar_t* windowClass = WC_BUTTONW;
  DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
  DWORD exStyle = 0;
  bool ownerDrawn = false;
};

ChildStyle styleOf(const Control& c) {
  ChildStyle s;
  switch (c.kind()) {
    case ControlKind::Button:
      s.style |= WS_TABSTOP;
      if (c.standardStyle()) {
        s.style |= BS_PUSHBUTTON;
      } else {
        s.style |= BS_OWNERDRAW;
        s.ownerDrawn = true;
      }
      break;
    case ControlKind::Label:
      s.windowClass = WC_STATICW;
      s.style |= SS_NOTIFY | (c.align() == Align::Center ? SS_CENTER : SS_LEFT);
      break;
    case ControlKind::TextBox:
      s.windowClass = WC_EDITW;
      s.style |= WS_TABSTOP | ES_AUTOHSCROLL | (c.align() == Align::Center ? ES_CENTER : ES_LEFT);
      s.exStyle |= WS_EX_CLIENTEDGE;
      break;
    case ControlKind::CheckBox:
      s.style |= WS_TABSTOP | BS_AUTOCHECKBOX;
      break;
    case ControlKind::DropDown:
      s.windowClass = WC_COMBOBOXW;
      s.style |= WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
      break;
  }
  if (!c.enabled()) s.style |= WS_DISABLED;
  // The top band's keys exist from the start and show only while it is open.
  if (!c.visible()) s.style &= ~static_cast<DWORD>(WS_VISIBLE);
  return s;
}

// A drop-down list's window holds its open list too: room for the items
// below the closed box, which is as tall as its font makes it.
RECT placedRect(const Placement& placement, const Control& c) {
  RECT p = placement.controlRect(c.rect());
  if (c.kind() == ControlKind::DropDown)
    p.bottom += (p.bottom - p.top) * static_cast<LONG>(std::max<std::size_t>(c.items().size(), 1));
  return p;
}

}  // namespace

std::wstring ChildControls::textOf(const Control& c) {
  if (c.kind() == ControlKind::TextBox) return widen(c.text());
  return widen(c.accessibleName());
}

std::string ChildControls::create(HWND parent, const Form& form, const Texts& texts, SUBCLASSPROC proc,
                                  DWORD_PTR refData) {
  const auto& controls = form.controls();
  children_.clear();
  children_.resize(controls.size());
  for (std::size_t i = 0; i < controls.size(); ++i) {
    std::string failure = createOne(parent, controls[i], i, texts, proc, refData);
    if (!failure.empty()) return failure;
  }
  raiseCoveredControls(form);
  return {};
}

std::string ChildControls::createOne(HWND parent, const Control& c, std::size_t index, const Texts& texts,
                                     SUBCLASSPROC proc, DWORD_PTR refData) {
  const ChildStyle s = styleOf(c);
  const auto id = static_cast<INT_PTR>(kFirstControlId + static_cast<int>(index));
  HWND child = ::CreateWindowExW(s.exStyle, s.windowClass, textOf(c).c_str(), s.style, 0, 0, 0, 0, parent,
                                 reinterpret_cast<HMENU>(id), ::GetModuleHandleW(nullptr), nullptr);
  children_[index].hwnd.reset(child);
  children_[index].ownerDrawn = s.ownerDrawn;
  if (child == nullptr) return failureText(texts.text(TextId::ControlRefused, {c.name()}), ::GetLastError());
  // Without its subclass a key drops every quick second press, a text box
  // reports neither clicks nor its focus, and no child would tell the
  // typing aids where the pointer is. One subclass per child, whatever
  // listens to it.
  const UINT_PTR subclass = c.kind() == ControlKind::TextBox                  ? kEditSubclass
                            : c.kind() == ControlKind::Button && s.ownerDrawn ? kButtonSubclass
                                                                              : kPlainSubclass;
  ::SetLastError(ERROR_SUCCESS);
  if (!::SetWindowSubclass(child, proc, subclass, refData)) {
    // Its only documented cause is a failed allocation, which may not set
    // the last error.
    const DWORD error = ::GetLastError();
    return failureText(texts.text(TextId::ControlNotSetUp, {c.name()}),
                       error != ERROR_SUCCESS ? error : ERROR_NOT_ENOUGH_MEMORY);
  }
  // Beyond the default limit of 32,767 characters a stored text is still
  // shown, but not a character more could be typed into it. (Line breaks
  // in a stored text need nothing: a single-line edit keeps CR LF, LF and
  // CR alone as given, checked under Wine. A multi-line edit would also
  // turn Escape into a close of the dialog.)
  if (c.kind() == ControlKind::TextBox && c.wholeText()) ::SendMessageW(child, EM_SETLIMITTEXT, 0, 0);
  if (c.kind() == ControlKind::CheckBox)
    ::SendMessageW(child, BM_SETCHECK, c.value() != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
  if (c.kind() == ControlKind::DropDown) fillList(child, c);
  return {};
}

void ChildControls::fillList(HWND list, const Control& c) {
  ::SendMessageW(list, CB_RESETCONTENT, 0, 0);
  for (const std::string& item : c.items()) {
    const std::wstring wide = widen(item);
    const LRESULT added = ::SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    if (added == CB_ERR || added == CB_ERRSPACE) logFailure("filling the list " + c.name(), ::GetLastError());
  }
  ::SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(c.value()), 0);
}

void ChildControls::raiseCoveredControls(const Form& form) {
  // Neighbouring keys share a one-twip-pixel seam, but a few controls lie
  // well inside a larger one (the # key under the tall Enter key). The
  // smaller one goes on top so that every key stays whole and clickable.
  constexpr int kSeamTwips = 60;
  const auto& controls = form.controls();
  auto area = [](const TwipsRect& r) { return static_cast<long long>(r.width) * r.height; };
  for (std::size_t i = 0; i < controls.size(); ++i) {
    const TwipsRect& a = controls[i].rect();
    for (std::size_t j = 0; j < controls.size(); ++j) {
      const TwipsRect& b = controls[j].rect();
      if (i == j || area(a) >= area(b)) continue;
      const int ow = std::min(a.left + a.width, b.left + b.width) - std::max(a.left, b.left);
      const int oh = std::min(a.top + a.height, b.top + b.height) - std::max(a.top, b.top);
      if (ow > kSeamTwips && oh > kSeamTwips && children_[i].hwnd) {
        ::SetWindowPos(children_[i].hwnd.get(), HWND_TOP, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        break;
      }
    }
  }
}

void ChildControls::hideAll() const {
  // Hiding the control with the focus would move the focus.
  HWND focus = ::GetFocus();
  HDWP batch = ::BeginDeferWindowPos(static_cast<int>(children_.size()));
  for (const Child& c : children_) {
    if (!c.hwnd || c.hwnd.get() == focus || batch == nullptr) continue;
    batch = ::DeferWindowPos(
        batch, c.hwnd.get(), nullptr, 0, 0, 0, 0,
        SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
  }
  // Refused, the controls stay shown and are repainted under the picture.
  if (batch == nullptr || !::EndDeferWindowPos(batch)) logFailure("hiding the controls", ::GetLastError());
}

void ChildControls::place(HWND parent, const Form& form, const Placement& placement, GdiCache& gdi,
                          bool showAll) const {
  const auto& controls = form.controls();
  // One batch moves every control at once. A batch the system cannot hold
  // (short of memory) is dropped by it with every move it had taken, and a
  // child left unplaced is a key of no size, so then every control is
  // placed on its own, from the first.
  HDWP batch = ::BeginDeferWindowPos(static_cast<int>(controls.size()));
  for (std::size_t i = 0; i < controls.size(); ++i) {
    HWND child = window(i);
    if (child == nullptr) continue;
    const UINT show = showAll && controls[i].visible() ? SWP_SHOWWINDOW : 0U;
    if (batch != nullptr) {
      const RECT p = placedRect(placement, controls[i]);
      // Each move redrawn on its own would repaint the window once per
      // control; the whole window is repainted once below instead.
      batch = ::DeferWindowPos(batch, child, nullptr, p.left, p.top, p.right - p.left, p.bottom - p.top,
                               SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW | SWP_NOCOPYBITS | show);
    }
    const Font& font = controls[i].font();
    HFONT hfont = gdi.font(placement.fontHeight(font.points), font.bold);
    ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(hfont), FALSE);
  }
  if (batch == nullptr || !::EndDeferWindowPos(batch)) {
    logFailure("placing the controls in one batch", ::GetLastError());
    for (std::size_t i = 0; i < controls.size(); ++i) {
      HWND child = window(i);
      if (child == nullptr) continue;
      const UINT show = showAll && controls[i].visible() ? SWP_SHOWWINDOW : 0U;
      const RECT p = placedRect(placement, controls[i]);
      if (!::SetWindowPos(child, nullptr, p.left, p.top, p.right - p.left, p.bottom - p.top,
                          SWP_NOZORDER | SWP_NOACTIVATE | show))
        logFailure("placing the control " + controls[i].name(), ::GetLastError());
    }
  }
  ::RedrawWindow(parent, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

int ChildControls::indexOf(HWND child) const {
  for (std::size_t i = 0; i < children_.size(); ++i)
    if (children_[i].hwnd.get() == child) return static_cast<int>(i);
  return -1;
}

void ChildControls::releaseAll() {
  for (auto& c : children_) c.hwnd.release();
}

}  // namespace osk::win32
