#include "platform/win32/form_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <exception>
#include <string>
#include <utility>

#include "platform/win32/dpi.h"
#include "platform/win32/failure.h"
#include "platform/win32/icons.h"
#include "platform/win32/resource.h"
#include "platform/win32/text.h"

namespace osk::win32 {

namespace {

constexpr std::string_view kForm = kFormControl.str();

// Keyboards as raw input devices: the generic desktop page's keyboard usage.
constexpr USHORT kGenericDesktopPage = 0x01;
constexpr USHORT kKeyboardUsage = 0x06;
// Above every id the form's own timers take (1 to their count).
constexpr UINT_PTR kKeyEventTimerId = 0x7F00;
// Long enough to run after the last event of a burst of injected keys, which
// reach this window within a millisecond of each other; short enough that a
// lock light follows its key at once to the eye.
constexpr UINT kKeyEventDelayMs = 15;

HINSTANCE instance() { return ::GetModuleHandleW(nullptr); }

DWORD frameStyle(const FormWindow::Options& o) {
  DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  if (o.resizable) style |= WS_THICKFRAME;
  // A modal dialog that could be minimised would leave its disabled owner
  // with nothing on screen to return to.
  if (o.minMaxBoxes) style |= WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
  return style;
}

// False, with the thread's last error set, when the class is neither
// registered already nor could be.
bool registerClass(const std::wstring& name, WNDPROC proc) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (::GetClassInfoExW(instance(), name.c_str(), &existing)) return true;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  // Double clicks on the background open the settings dialog.
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance();
  // Without its icon the window shows the system's default one; nothing
  // else depends on it.
  wc.hIcon = static_cast<HICON>(::LoadImageW(instance(), MAKEINTRESOURCEW(IDI_QMOSK), IMAGE_ICON,
                                             ::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON),
                                             LR_SHARED));
  wc.hIconSm = static_cast<HICON>(::LoadImageW(instance(), MAKEINTRESOURCEW(IDI_QMOSK), IMAGE_ICON,
                                               ::GetSystemMetrics(SM_CXSMICON),
                                               ::GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  wc.lpszClassName = name.c_str();
  return ::RegisterClassExW(&wc) != 0;
}

std::wstring childText(const Control& c) {
  if (c.kind() == ControlKind::TextBox) return widen(c.text());
  if (c.caption().empty() && c.icon() != Icon::None) return widen(iconName(c.icon()));
  return widen(c.caption());
}

// Owner-drawn buttons take a quick second click as a double click and never
// report it as a click; a key of a keyboard must take every press.
constexpr UINT_PTR kButtonSubclass = 1;
constexpr UINT_PTR kEditSubclass = 2;

UINT repaintCountMessage() {
  static const UINT msg = ::RegisterWindowMessageW(kRepaintCountMessage);
  return msg;
}

UINT messageCountMessage() {
  static const UINT msg = ::RegisterWindowMessageW(kMessageCountMessage);
  return msg;
}

}  // namespace

COLORREF resolveColor(Color color) {
  if (colors::isSystemReference(color)) return ::GetSysColor(static_cast<int>(colors::systemIndex(color)));
  return static_cast<COLORREF>(color & 0x00FFFFFFU);
}

FormWindow::FormWindow(Form& form, FormEvents& events, Options options)
    : form_(form), events_(events), options_(options) {
  create();
}

FormWindow::~FormWindow() {
  if (form_.observer() == this) form_.setObserver(nullptr);
  hwnd_.reset();
}

void FormWindow::create() {
  const std::wstring className = widen(form_.name());
  if (!registerClass(className, &FormWindow::staticWndProc)) {
    abandon(failureText("The window class could not be registered", ::GetLastError()));
    return;
  }
  const DWORD style = frameStyle(options_);
  const int sysDpi = systemDpi();
  RECT r{0, 0, twipsToPixels(form_.clientWidth(), sysDpi), twipsToPixels(form_.clientHeight(), sysDpi)};
  adjustWindowRectForDpi(&r, style, 0, sysDpi);
  HWND hwnd = ::CreateWindowExW(0, className.c_str(), widen(form_.title()).c_str(), style, CW_USEDEFAULT,
                                CW_USEDEFAULT, r.right - r.left, r.bottom - r.top, options_.owner, nullptr,
                                instance(), this);
  if (hwnd == nullptr) {
    abandon(failureText("The window could not be created", ::GetLastError()));
    return;
  }
  dpi_ = dpiForWindow(hwnd);
  if (dpi_ != sysDpi) {
    RECT cr{0, 0, twipsToPixels(form_.clientWidth(), dpi_), twipsToPixels(form_.clientHeight(), dpi_)};
    adjustWindowRectForDpi(&cr, style, 0, dpi_);
    ++applyingGeometry_;
    // Refused, the window keeps the system DPI's size only until its Load
    // places it from the stored geometry.
    ::SetWindowPos(hwnd, nullptr, 0, 0, cr.right - cr.left, cr.bottom - cr.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    --applyingGeometry_;
  }
  repaintCountMessage();
  messageCountMessage();
  createChildren();
  if (!alive()) return;
  layoutChildren();
  form_.setObserver(this);
  applyTimers();
  syncGeometryFromWindow();
}

LRESULT CALLBACK FormWindow::staticWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* created = static_cast<FormWindow*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
    // Owned from the first message on, so a failure later in creation
    // still destroys the window.
    created->hwnd_.reset(hwnd);
  }
  auto* self = reinterpret_cast<FormWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self == nullptr) return ::DefWindowProcW(hwnd, msg, wp, lp);
  return self->wndProc(hwnd, msg, wp, lp);
}

void FormWindow::abandon(std::string reason) {
  failure_ = std::move(reason);
  ::OutputDebugStringW(widen("QM-OSK: " + failure_ + "\n").c_str());
  // Never shown, so nothing of it is closed or saved; and its going must not
  // end the message loop before whoever made it has said why.
  options_.quitOnDestroy = false;
  hwnd_.reset();
}

bool FormWindow::open(int showCommand) {
  if (!alive()) return false;
  raise(kForm, Event::Load);
  if (!alive()) return true;  // Load may have closed it
  if (!refusedTimers_.empty()) {
    abandon(refusedTimers_.begin()->second);
    return false;
  }
  // Opening must not take the focus either when clicks never do.
  if (nonActivating_ &&
      (showCommand == SW_SHOWNORMAL || showCommand == SW_SHOW || showCommand == SW_SHOWDEFAULT))
    showCommand = SW_SHOWNOACTIVATE;
  ::ShowWindow(hwnd(), showCommand);
  ::UpdateWindow(hwnd());
  shown_ = true;
  return true;
}

// Raw input with RIDEV_INPUTSINK reports every key of the desktop to this
// window, whichever window has the focus, without a hook: the system never
// waits for this program before it passes a key on. Checked under Wine 8
// with keys injected by another program while a third had the focus: each
// press and release arrives, and GetKeyState already shows a toggled Caps
// Lock when its WM_INPUT comes.
bool FormWindow::tickOnKeyEvents(TimerName timer) {
  if (!alive()) return false;
  RAWINPUTDEVICE device{kGenericDesktopPage, kKeyboardUsage, RIDEV_INPUTSINK, hwnd()};
  if (!::RegisterRawInputDevices(&device, 1, sizeof device)) {
    logFailure("key events cannot be followed; the faces are refreshed by their timer", ::GetLastError());
    return false;
  }
  keyEventTimer_ = std::string(timer.str());
  return true;
}

void FormWindow::setNonActivating(bool on) {
  nonActivating_ = on;
  if (!alive()) return;
  const LONG_PTR ex = ::GetWindowLongPtrW(hwnd(), GWL_EXSTYLE);
  const LONG_PTR want = on ? (ex | WS_EX_NOACTIVATE) : (ex & ~static_cast<LONG_PTR>(WS_EX_NOACTIVATE));
  if (want == ex) return;
  ::SetLastError(0);
  if (::SetWindowLongPtrW(hwnd(), GWL_EXSTYLE, want) == 0 && ::GetLastError() != 0) {
    // The window answers WM_MOUSEACTIVATE itself as well, so clicks still
    // leave the focus alone; only the system's own view of it is stale.
    ::OutputDebugStringA("could not change the window's activation style");
    return;
  }
  ::SetWindowPos(hwnd(), nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void FormWindow::invalidateFrame() {
  RECT frame{};
  RECT client{};
  if (!::GetWindowRect(hwnd(), &frame) || !::GetClientRect(hwnd(), &client)) return;
  // In client coordinates the frame lies around the client rectangle.
  ::MapWindowPoints(HWND_DESKTOP, hwnd(), reinterpret_cast<POINT*>(&frame), 2);
  UniqueRegion outer(::CreateRectRgnIndirect(&frame));
  UniqueRegion inner(::CreateRectRgnIndirect(&client));
  const bool ring = outer && inner && ::CombineRgn(outer.get(), outer.get(), inner.get(), RGN_DIFF) != ERROR;
  // Without a region (out of GDI objects) the whole window is repainted,
  // which costs time but shows the right state.
  if (!::RedrawWindow(hwnd(), nullptr, ring ? outer.get() : nullptr,
                      RDW_FRAME | RDW_INVALIDATE | RDW_NOERASE))
    logFailure("repainting the window frame", ::GetLastError());
}

void FormWindow::requestClose() {
  // Refused only with the thread's queue full (ten thousand messages
  // unread): the program is hung, and the close is one thing among many.
  if (alive() && !::PostMessageW(hwnd(), WM_CLOSE, 0, 0))
    logFailure("asking a window to close", ::GetLastError());
}

void FormWindow::createChildren() {
  const auto& controls = form_.controls();
  children_.clear();
  children_.resize(controls.size());
  for (std::size_t i = 0; i < controls.size(); ++i) {
    const Control& c = controls[i];
    const wchar_t* cls = L"BUTTON";
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    DWORD exStyle = 0;
    bool ownerDrawn = false;
    switch (c.kind()) {
      case ControlKind::Button:
        style |= WS_TABSTOP;
        if (c.standardStyle()) {
          style |= BS_PUSHBUTTON;
        } else {
          style |= BS_OWNERDRAW;
          ownerDrawn = true;
        }
        break;
      case ControlKind::Label:
        cls = L"STATIC";
        style |= SS_NOTIFY | (c.align() == Align::Center ? SS_CENTER : SS_LEFT);
        break;
      case ControlKind::TextBox:
        cls = L"EDIT";
        style |= WS_TABSTOP | ES_AUTOHSCROLL | (c.align() == Align::Center ? ES_CENTER : ES_LEFT);
        exStyle |= WS_EX_CLIENTEDGE;
        break;
      case ControlKind::CheckBox:
        style |= WS_TABSTOP | BS_AUTOCHECKBOX;
        break;
    }
    if (!c.enabled()) style |= WS_DISABLED;
    const auto id = static_cast<INT_PTR>(kFirstControlId + static_cast<int>(i));
    HWND child = ::CreateWindowExW(exStyle, cls, childText(c).c_str(), style, 0, 0, 0, 0, hwnd(),
                                   reinterpret_cast<HMENU>(id), instance(), nullptr);
    children_[i].hwnd.reset(child);
    children_[i].ownerDrawn = ownerDrawn;
    if (child == nullptr) {
      abandon(failureText("The control " + c.name() + " could not be created", ::GetLastError()));
      return;
    }
    // Without its subclass a key drops every quick second press, and a text
    // box reports neither clicks nor its focus.
    const UINT_PTR subclass = c.kind() == ControlKind::TextBox                ? kEditSubclass
                              : c.kind() == ControlKind::Button && ownerDrawn ? kButtonSubclass
                                                                              : 0;
    ::SetLastError(ERROR_SUCCESS);
    if (subclass != 0 && !::SetWindowSubclass(child, &FormWindow::childSubclassProc, subclass,
                                              reinterpret_cast<DWORD_PTR>(this))) {
      // Its only documented cause is a failed allocation, which may not set
      // the last error.
      const DWORD error = ::GetLastError();
      abandon(failureText("The control " + c.name() + " could not be set up",
                          error != ERROR_SUCCESS ? error : ERROR_NOT_ENOUGH_MEMORY));
      return;
    }
    // Beyond the default limit of 32,767 characters a stored text is still
    // shown, but not a character more could be typed into it. (Line breaks
    // in a stored text need nothing: a single-line edit keeps CR LF, LF and
    // CR alone as given, checked under Wine. A multi-line edit would also
    // turn Escape into a close of the dialog.)
    if (c.kind() == ControlKind::TextBox && c.wholeText()) ::SendMessageW(child, EM_SETLIMITTEXT, 0, 0);
    if (c.kind() == ControlKind::CheckBox)
      ::SendMessageW(child, BM_SETCHECK, c.value() != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  raiseCoveredControls();
}

void FormWindow::raiseCoveredControls() {
  // Neighbouring keys share a one-twip-pixel seam, but a few controls lie
  // well inside a larger one (the # key under the tall Enter key). The
  // smaller one goes on top so that every key stays whole and clickable.
  constexpr int kSeamTwips = 60;
  const auto& controls = form_.controls();
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

void FormWindow::layoutChildren() {
  const auto& controls = form_.controls();
  auto placeOf = [&](std::size_t i) {
    const TwipsRect& r = controls[i].rect();
    // Edges rather than sizes are rounded, so neighbours stay flush.
    const int x = twipsToPixels(r.left, dpi_);
    const int y = twipsToPixels(r.top, dpi_);
    return RECT{x, y, twipsToPixels(r.left + r.width, dpi_), twipsToPixels(r.top + r.height, dpi_)};
  };
  // One batch moves every control at once. A batch the system cannot hold
  // (short of memory) is dropped by it with every move it had taken, and a
  // child left unplaced is a key of no size, so then every control is
  // placed on its own, from the first.
  HDWP batch = ::BeginDeferWindowPos(static_cast<int>(controls.size()));
  for (std::size_t i = 0; i < controls.size(); ++i) {
    HWND child = children_[i].hwnd.get();
    if (child == nullptr) continue;
    if (batch != nullptr) {
      const RECT p = placeOf(i);
      batch = ::DeferWindowPos(batch, child, nullptr, p.left, p.top, p.right - p.left, p.bottom - p.top,
                               SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(fontFor(controls[i].font())), FALSE);
  }
  if (batch == nullptr || !::EndDeferWindowPos(batch)) {
    logFailure("placing the controls in one batch", ::GetLastError());
    for (std::size_t i = 0; i < controls.size(); ++i) {
      HWND child = children_[i].hwnd.get();
      if (child == nullptr) continue;
      const RECT p = placeOf(i);
      if (!::SetWindowPos(child, nullptr, p.left, p.top, p.right - p.left, p.bottom - p.top,
                          SWP_NOZORDER | SWP_NOACTIVATE))
        logFailure("placing the control " + controls[i].name(), ::GetLastError());
    }
  }
  ::InvalidateRect(hwnd(), nullptr, TRUE);
}

void FormWindow::applyTimers() {
  const auto& timers = form_.timers();
  for (std::size_t i = 0; i < timers.size(); ++i) timerChanged(timers[i]);
}

HFONT FormWindow::fontFor(const Font& font) {
  const int centi = static_cast<int>(std::lround(font.points * 100));
  auto key = std::make_tuple(centi, font.bold, dpi_);
  auto it = fonts_.find(key);
  if (it != fonts_.end()) return it->second.get();
  LOGFONTW lf{};
  lf.lfHeight = -static_cast<LONG>(std::lround(font.points * dpi_ / 72.0));
  lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = DEFAULT_QUALITY;
  wcscpy_s(lf.lfFaceName, L"MS Sans Serif");
  UniqueFont f(::CreateFontIndirectW(&lf));
  if (!f) {
    // Out of GDI objects. The dialog font of the system keeps every caption
    // legible, if not at its size; nothing is cached, so a later paint
    // tries again.
    logFailure("creating a font", ::GetLastError());
    return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  }
  return fonts_.emplace(key, std::move(f)).first->second.get();
}

HBRUSH FormWindow::brushFor(Color color, HDC dc) {
  if (colors::isSystemReference(color))
    return ::GetSysColorBrush(static_cast<int>(colors::systemIndex(color)));
  const COLORREF rgb = resolveColor(color);
  auto it = brushes_.find(rgb);
  if (it != brushes_.end()) return it->second.get();
  UniqueBrush brush(::CreateSolidBrush(rgb));
  if (!brush) {
    // Out of GDI objects. A null brush would leave the key unpainted, black
    // and blank; the DC's own brush needs no new object and shows the
    // colour all the same. Nothing is cached, so a later paint tries again.
    logFailure("creating a brush", ::GetLastError());
    ::SetDCBrushColor(dc, rgb);
    return static_cast<HBRUSH>(::GetStockObject(DC_BRUSH));
  }
  return brushes_.emplace(rgb, std::move(brush)).first->second.get();
}

int FormWindow::indexOf(HWND child) const {
  for (std::size_t i = 0; i < children_.size(); ++i)
    if (children_[i].hwnd.get() == child) return static_cast<int>(i);
  return -1;
}

int FormWindow::indexOf(const Control& control) const {
  const auto& controls = form_.controls();
  if (controls.empty()) return -1;
  const auto i = &control - controls.data();
  return i >= 0 && static_cast<std::size_t>(i) < controls.size() ? static_cast<int>(i) : -1;
}

HWND FormWindow::controlWindow(std::string_view control) const {
  const auto& controls = form_.controls();
  for (std::size_t i = 0; i < controls.size() && i < children_.size(); ++i)
    if (controls[i].name() == control) return children_[i].hwnd.get();
  return nullptr;
}

RECT FormWindow::pixelRect(const Geometry& g) const {
  const int x = twipsToPixels(g.left, dpi_);
  const int y = twipsToPixels(g.top, dpi_);
  return RECT{x, y, x + twipsToPixels(g.width, dpi_), y + twipsToPixels(g.height, dpi_)};
}

void FormWindow::syncGeometryFromWindow() {
  if (!alive() || applyingGeometry_ > 0 || ::IsIconic(hwnd()) || ::IsZoomed(hwnd())) return;
  RECT r{};
  if (!::GetWindowRect(hwnd(), &r)) return;
  // The twips the model holds may not be whole pixels; as long as the window
  // is where they put it, keep them, so that an unmoved window saves exactly
  // what it loaded.
  const RECT modelRect = pixelRect(form_.geometry());
  if (::EqualRect(&r, &modelRect)) return;
  Geometry g;
  g.left = static_cast<float>(pixelsToTwips(r.left, dpi_));
  g.top = static_cast<float>(pixelsToTwips(r.top, dpi_));
  g.width = static_cast<float>(pixelsToTwips(r.right - r.left, dpi_));
  g.height = static_cast<float>(pixelsToTwips(r.bottom - r.top, dpi_));
  form_.syncGeometry(g);
}

// A handler's failure must not unwind through user32's frames, which cannot
// carry a C++ exception; the event is dropped as a refused key would be.
void FormWindow::raise(std::string_view control, Event event) {
  try {
    events_.handle(form_, control, event);
  } catch (const std::exception& e) {
    ::OutputDebugStringA(e.what());
  } catch (...) {
    ::OutputDebugStringA("unknown failure in an event handler");
  }
}

void FormWindow::raiseTick(std::string_view timer) {
  try {
    events_.tick(form_, timer);
  } catch (const std::exception& e) {
    ::OutputDebugStringA(e.what());
  } catch (...) {
    ::OutputDebugStringA("unknown failure in a timer handler");
  }
}

// The form keeps its own active control, as the focus inside it: going over
// to another program and back does not change it. So a button hears that it
// lost the focus only when another control of this window takes it, which
// is what its LostFocus handler means (the target being brought to the
// front by the button's own click must not count). Text boxes report their
// focus through EN_SETFOCUS and EN_KILLFOCUS instead.
void FormWindow::focusArrived(HWND child) {
  const int i = indexOf(child);
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

// --- model -> window ------------------------------------------------------

void FormWindow::controlChanged(const Control& control, Property property) {
  const int i = indexOf(control);
  if (i < 0 || !alive()) return;
  HWND child = children_[static_cast<std::size_t>(i)].hwnd.get();
  if (child == nullptr) return;
  // Owner-drawn keys paint every pixel themselves; erasing first would only
  // make a flashing key flicker.
  const BOOL erase = children_[static_cast<std::size_t>(i)].ownerDrawn ? FALSE : TRUE;
  switch (property) {
    case Property::Caption:
      // A label shows its window text, so a refusal (the system short of
      // memory) leaves the old caption standing; owner-drawn keys paint
      // from the model and are right regardless.
      if (!::SetWindowTextW(child, childText(control).c_str()))
        logFailure("showing the caption of " + control.name(), ::GetLastError());
      ::InvalidateRect(child, nullptr, erase);
      ++repaints_;
      break;
    case Property::Back:
      ::InvalidateRect(child, nullptr, erase);
      ++repaints_;
      break;
    case Property::Enabled:
      ::EnableWindow(child, control.enabled() ? TRUE : FALSE);
      break;
    case Property::Text: {
      const std::wstring want = widen(control.text());
      if (windowTextW(child) == want) break;
      ++settingText_;
      if (!::SetWindowTextW(child, want.c_str()))
        logFailure("showing the text of " + control.name(), ::GetLastError());
      // Text is appended one character at a time: keep the caret after it.
      // A field filled with stored text shows its start, as it opens.
      if (!control.wholeText()) {
        const auto len = static_cast<WPARAM>(want.size());
        ::SendMessageW(child, EM_SETSEL, len, static_cast<LPARAM>(len));
      }
      --settingText_;
      break;
    }
    case Property::Value:
      ::SendMessageW(child, BM_SETCHECK, control.value() != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
      break;
    case Property::Geometry:
      break;
  }
}

void FormWindow::timerChanged(const Timer& timer) {
  if (!alive()) return;
  const auto& timers = form_.timers();
  for (std::size_t i = 0; i < timers.size(); ++i) {
    if (&timers[i] != &timer) continue;
    const UINT_PTR id = i + 1;
    if (!timer.enabled || timer.intervalMs <= 0) {
      refusedTimers_.erase(id);
      // Refused only for a timer that is not running: nothing to stop.
      ::KillTimer(hwnd(), id);
      return;
    }
    if (::SetTimer(hwnd(), id, static_cast<UINT>(timer.intervalMs), nullptr) != 0) {
      refusedTimers_.erase(id);
      return;
    }
    const std::string why =
        failureText("The timer " + timer.name + " could not be started", ::GetLastError());
    ::OutputDebugStringW(widen("QM-OSK: " + why + "\n").c_str());
    refusedTimers_.emplace(id, why);
    if (shown_) {
      // Something the user asked for (a burst, the topmost place) does not
      // run yet; the next tick tries again.
      ::MessageBeep(MB_ICONWARNING);
    }
    return;
  }
}

void FormWindow::retryRefusedTimers() {
  const auto& timers = form_.timers();
  for (auto it = refusedTimers_.begin(); it != refusedTimers_.end();) {
    const UINT_PTR id = it->first;
    const bool started = id >= 1 && id <= timers.size() &&
                         ::SetTimer(hwnd(), id, static_cast<UINT>(timers[id - 1].intervalMs), nullptr) != 0;
    it = started ? refusedTimers_.erase(it) : std::next(it);
  }
}

void FormWindow::geometryChanged(const Geometry& geometry) {
  if (!alive()) return;
  const RECT r = pixelRect(geometry);
  ++applyingGeometry_;
  if (::IsZoomed(hwnd()) || ::IsIconic(hwnd())) ::ShowWindow(hwnd(), SW_RESTORE);
  const bool placed = ::SetWindowPos(hwnd(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                                     SWP_NOZORDER | SWP_NOACTIVATE) != FALSE;
  const DWORD error = placed ? ERROR_SUCCESS : ::GetLastError();
  --applyingGeometry_;
  if (!placed) {
    // The model must say where the window really is: the keyboard keeps a
    // window on screen by what the model says, and saves it at the close.
    logFailure("placing the window " + form_.name(), error);
    syncGeometryFromWindow();
  }
}

// --- window -> model ------------------------------------------------------

void FormWindow::onCommand(int id, int code, HWND child) {
  const int i = id - kFirstControlId;
  if (child == nullptr || i < 0 || static_cast<std::size_t>(i) >= children_.size()) return;
  if (children_[static_cast<std::size_t>(i)].hwnd.get() != child) return;
  Control& c = form_.controls()[static_cast<std::size_t>(i)];
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
  if (id == kButtonSubclass && msg == WM_LBUTTONDBLCLK)
    return ::DefSubclassProc(hwnd, WM_LBUTTONDOWN, wp, lp);
  if (id == kButtonSubclass && msg == WM_MOUSEMOVE) {
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
  if (id == kEditSubclass && msg == WM_MOUSEACTIVATE && self->nonActivating_) return MA_ACTIVATE;
  if (id == kEditSubclass && msg == WM_LBUTTONUP) {
    const LRESULT r = ::DefSubclassProc(hwnd, msg, wp, lp);
    const int i = self->indexOf(hwnd);
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

LRESULT FormWindow::ctlColor(HDC dc, HWND child, bool edit) {
  const int i = indexOf(child);
  if (i < 0) return 0;
  const Control& c = form_.controls()[static_cast<std::size_t>(i)];
  Color back = c.back();
  // A text box left at the layout's white draws as the system window colour.
  if (edit && back == colors::kWhite) back = colors::kSysWindow;
  ::SetTextColor(dc, resolveColor(c.fore()));
  ::SetBkColor(dc, resolveColor(back));
  ::SetBkMode(dc, OPAQUE);
  return reinterpret_cast<LRESULT>(brushFor(back, dc));
}

// --- the window procedure -------------------------------------------------

LRESULT FormWindow::wndProc(HWND self, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      onCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
      return 0;
    case WM_DRAWITEM:
      if (drawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp))) {
        ++repaints_;
        return TRUE;
      }
      break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
      if (LRESULT brush =
              ctlColor(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp), msg == WM_CTLCOLOREDIT))
        return brush;
      break;
    case WM_INPUT:
      // Key events come in runs (a typed text, a chord, an auto-repeat);
      // the timer restarts at each, and a timer message is handed out only
      // once no input is waiting, so a run costs one tick, after its end.
      if (!keyEventTimer_.empty() && ::SetTimer(self, kKeyEventTimerId, kKeyEventDelayMs, nullptr) == 0)
        logFailure("the tick after a key event could not be set", ::GetLastError());
      return ::DefWindowProcW(self, msg, wp, lp);
    case WM_TIMER: {
      if (wp == kKeyEventTimerId) {
        ::KillTimer(self, kKeyEventTimerId);
        if (!keyEventTimer_.empty()) raiseTick(std::string(keyEventTimer_));
        return 0;
      }
      if (!refusedTimers_.empty()) retryRefusedTimers();
      const auto& timers = form_.timers();
      if (wp >= 1 && wp <= timers.size()) {
        const std::string name = timers[wp - 1].name;
        raiseTick(name);
        return 0;
      }
      break;
    }
    case WM_NEXTDLGCTL: {
      // Sent by IsDialogMessage for Tab; a plain window has to move the
      // focus itself.
      HWND next = LOWORD(lp) != 0 ? reinterpret_cast<HWND>(wp)
                                  : ::GetNextDlgTabItem(self, ::GetFocus(), wp != 0 ? TRUE : FALSE);
      if (next != nullptr) {
        ::SetFocus(next);
        if (::SendMessageW(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
          ::SendMessageW(next, EM_SETSEL, 0, -1);
      }
      return 0;
    }
    case WM_MOUSEACTIVATE:
      // Text boxes answer for themselves (they are there to be typed into,
      // so a click into one activates); any other click leaves the focus
      // with the window in front.
      if (nonActivating_) return MA_NOACTIVATE;
      break;
    case WM_NCACTIVATE: {
      // A click on a key activates the keyboard and its handler hands the
      // foreground straight back, so the frame would be repainted twice in
      // the click's path, for a look that lasts a millisecond: 0.3 ms and
      // 0.15 ms of a 3.6 ms click under Wine. The state changes now; the
      // frame is painted with the other repaints once the keys have gone.
      const LRESULT r = ::DefWindowProcW(self, msg, wp, -1);
      invalidateFrame();
      return r;
    }
    case WM_LBUTTONDBLCLK:
      raise(kForm, Event::DblClick);
      return 0;
    case WM_MOVE:
    case WM_SIZE:
    case WM_EXITSIZEMOVE:
      syncGeometryFromWindow();
      break;
    case WM_DPICHANGED: {
      dpi_ = LOWORD(wp) != 0 ? LOWORD(wp) : dpiForWindow(self);
      const RECT* suggested = reinterpret_cast<const RECT*>(lp);
      // Refused, the window keeps its pixel size; the sync below records
      // whatever size it has.
      ::SetWindowPos(self, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
      // Fonts of the old DPI are no longer used by any child after the
      // relayout; drop them.
      layoutChildren();
      for (auto it = fonts_.begin(); it != fonts_.end();)
        it = std::get<2>(it->first) != dpi_ ? fonts_.erase(it) : std::next(it);
      syncGeometryFromWindow();
      return 0;
    }
    case WM_SYSCOLORCHANGE:
      brushes_.clear();
      ::InvalidateRect(self, nullptr, TRUE);
      break;
    case WM_CLOSE:
      if (closing_) return 0;
      closing_ = true;
      if (beforeUnload) beforeUnload();
      raise(kForm, Event::Unload);
      if (onClosing) onClosing();
      ::DestroyWindow(self);
      return 0;
    case WM_DESTROY:
      for (std::size_t i = 0; i < form_.timers().size(); ++i) ::KillTimer(self, i + 1);
      if (!keyEventTimer_.empty()) {
        ::KillTimer(self, kKeyEventTimerId);
        RAWINPUTDEVICE off{kGenericDesktopPage, kKeyboardUsage, RIDEV_REMOVE, nullptr};
        if (!::RegisterRawInputDevices(&off, 1, sizeof off))
          logFailure("the key events could not be given up", ::GetLastError());
        keyEventTimer_.clear();
      }
      if (form_.observer() == this) form_.setObserver(nullptr);
      // Windows destroys the children with their parent.
      for (auto& c : children_) c.hwnd.release();
      if (options_.quitOnDestroy) ::PostQuitMessage(0);
      break;
    case WM_NCDESTROY:
      ::SetWindowLongPtrW(self, GWLP_USERDATA, 0);
      hwnd_.release();
      return ::DefWindowProcW(self, msg, wp, lp);
    default:
      if (msg == repaintCountMessage() && msg != 0) return static_cast<LRESULT>(repaints_);
      if (msg == messageCountMessage() && msg != 0)
        return messageCount_ != nullptr ? static_cast<LRESULT>(*messageCount_) : 0;
      break;
  }
  return ::DefWindowProcW(self, msg, wp, lp);
}

}  // namespace osk::win32
