#include "host/window/form_window.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "host/common/failure.h"
#include "host/common/resource.h"
#include "host/common/text.h"
#include "host/window/dpi.h"

namespace osk::win32 {

namespace {

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

// The outer size of a window of `style` whose client area holds the form at
// `placement`.
RECT frameFor(const Form& form, const Placement& placement, DWORD style) {
  RECT r = placement.clientRect(form.clientWidth(), form.clientHeight());
  adjustWindowRectForDpi(&r, style, 0, placement.dpi());
  return r;
}

}  // namespace

FormWindow::FormWindow(Form& form, FormEvents& events, const Texts& texts, Options options)
    : form_(form), events_(events), texts_(texts), options_(options), timers_(texts) {
  choosePalette();
  create();
}

void FormWindow::choosePalette() { gdi_.setPalette(Palette::choose(systemColours_, options_.colours)); }

FormWindow::~FormWindow() {
  if (form_.observer() == this) form_.setObserver(nullptr);
  destroyWindow();
}

void FormWindow::create() {
  const std::wstring className = widen(form_.name());
  if (!registerClass(className, &WindowBase::staticWndProc)) {
    abandon(failureText(texts_.text(TextId::WindowClassRefused), ::GetLastError()));
    return;
  }
  const DWORD style = frameStyle(options_);
  const Placement atSystemDpi(systemDpi());
  const RECT frame = frameFor(form_, atSystemDpi, style);
  HWND hwnd = createWindow(0, className, widen(form_.title()), style, POINT{CW_USEDEFAULT, CW_USEDEFAULT},
                           SIZE{frame.right - frame.left, frame.bottom - frame.top}, options_.owner);
  if (hwnd == nullptr) {
    abandon(failureText(texts_.text(TextId::WindowRefused), ::GetLastError()));
    return;
  }
  placement_ = Placement(dpiForWindow(hwnd));
  if (placement_.dpi() != atSystemDpi.dpi()) {
    const RECT cr = frameFor(form_, placement_, style);
    ++applyingGeometry_;
    // Refused, the window keeps the system DPI's size only until its Load
    // places it from the stored geometry.
    ::SetWindowPos(hwnd, nullptr, 0, 0, cr.right - cr.left, cr.bottom - cr.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    --applyingGeometry_;
  }
  OutsideAnswers::registerMessages();
  std::string failure = children_.create(hwnd, form_, texts_, &FormWindow::childSubclassProc,
                                         reinterpret_cast<DWORD_PTR>(this));
  if (!failure.empty()) {
    abandon(std::move(failure));
    return;
  }
  layoutChildren();
  form_.setObserver(this);
  applyTimers();
  syncGeometryFromWindow();
}

void FormWindow::abandon(std::string reason) {
  failure_ = std::move(reason);
  logFailure(failure_);
  // Never shown, so nothing of it is closed or saved; and its going must not
  // end the message loop before whoever made it has said why.
  options_.quitOnDestroy = false;
  destroyWindow();
}

bool FormWindow::open(int showCommand) {
  if (!alive()) return false;
  // Called by the host, not by the system, so an entry with a barrier of
  // its own: a Load that fails is logged, and the window opens with what
  // it made, as it always has.
  static_cast<void>(guarded([this] { raise(kFormItself, Event::Load); }));
  if (!alive()) return true;  // Load may have closed it
  // Load gave the form its design size and its geometry: the keys fit the
  // window it opens at, even when that is the size it was made at.
  refit(false);
  if (const std::string* refusal = timers_.refusal()) {
    abandon(*refusal);
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

bool FormWindow::tickOnKeyEvents(TimerName timer) {
  const Timer* t = form_.findTimer(timer.str());
  return alive() && t != nullptr &&
         keyEvents_.follow(hwnd(), static_cast<TimerIndex>(t - form_.timers().data()));
}

bool FormWindow::reportInputElsewhere(bool on) { return alive() && inputElsewhere_.follow(hwnd(), on); }

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
    logFailure("changing the window's activation style", ::GetLastError());
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
  const UniqueRegion outer(::CreateRectRgnIndirect(&frame));
  const UniqueRegion inner(::CreateRectRgnIndirect(&client));
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

void FormWindow::layoutChildren() {
  children_.place(hwnd(), form_, placement_, gdi_, keysHidden_);
  keysHidden_ = false;
}

SIZE FormWindow::designClient() const {
  if (!alive() || form_.designWidth() <= 0 || form_.designHeight() <= 0) return {};
  RECT window{};
  RECT client{};
  if (!::GetWindowRect(hwnd(), &window) || !::GetClientRect(hwnd(), &client)) return {};
  // The frame this window really has, rather than what AdjustWindowRectEx
  // predicts for its style: at the design's outer size the client area is
  // then exactly the design client, and the fit exactly 1.
  const SIZE outer = placement_.windowSize(form_.designWidth(), form_.designHeight());
  const LONG frameX = (window.right - window.left) - client.right;
  const LONG frameY = (window.bottom - window.top) - client.bottom;
  return SIZE{outer.cx - frameX, outer.cy - frameY};
}

void FormWindow::refit(bool force) {
  if (!alive() || ::IsIconic(hwnd())) return;
  RECT client{};
  if (!::GetClientRect(hwnd(), &client)) return;
  const SIZE design = designClient();
  const LayoutFit fit = fitLayout(client.right, client.bottom, design.cx, design.cy);
  const bool changed = force || !(fit == placement_.fit());
  placement_ = Placement(placement_.dpi(), fit);
  // A step of a drag moves and repaints one window; the keys wait for the
  // end of the drag. Whatever else resizes the window (a program, the
  // system, a maximise) has the keys placed before it returns, so that a
  // key is where it shows the moment the resize is over.
  if (dragging() && !force && (changed || cover_.covering()) && cover_.cover(hwnd())) {
    if (!keysHidden_) children_.hideAll();
    keysHidden_ = true;
    return;
  }
  // Hidden keys were left at their places before the drag.
  if (changed || keysHidden_) layoutChildren();
  if (cover_.covering()) cover_.repaint();
}

void FormWindow::noteOutsideResize(HWND self, WPARAM kind) {
  // Windows drags a frame in a loop of its own, between WM_ENTERSIZEMOVE
  // and WM_EXITSIZEMOVE. Under Wine the window manager draws the frame and
  // drags it itself: the window sees only resizes from its own thread, with
  // no loop around them (seen with openbox: one every 50 to 250 ms while
  // the pointer moves). A resize that follows another such within half a
  // second is taken as part of a drag; the drag is over once none has come
  // for a moment, or as soon as the pointer is over the keys again. A lone
  // resize (a restore, the window manager fitting the window to the
  // screen) and every resize another program asks for are placed at once.
  constexpr DWORD kRunGapMs = 500;
  constexpr UINT kSettleMs = 150;
  const bool outside =
      shown_ && applyingGeometry_ == 0 && !sizing_ && kind == SIZE_RESTORED && ::InSendMessage() == FALSE;
  if (!outside) {
    // Placed at once, as anything else is, even right after such a drag.
    if (outsideDrag_) endSizing();
    return;
  }
  const DWORD now = ::GetTickCount();
  const bool run = lastOutsideResize_ != 0 && now - lastOutsideResize_ < kRunGapMs;
  lastOutsideResize_ = now;
  if (!run) return;
  // Refused, the keys are placed at every step, as before the picture.
  outsideDrag_ = ::SetTimer(self, kSettleTimer, kSettleMs, nullptr) != 0;
}

void FormWindow::endSizing() {
  sizing_ = false;
  if (outsideDrag_) ::KillTimer(hwnd(), kSettleTimer);
  outsideDrag_ = false;
  if (!cover_.covering()) return;
  // Placed while still covered, so the old places never show.
  if (keysHidden_) layoutChildren();
  cover_.uncover();
}

KeyMarks FormWindow::marksOf(std::size_t index) const {
  const AidMarks& marks = form_.aidMarks();
  return KeyMarks{std::ranges::find(marks.scanLit, index) != marks.scanLit.end(),
                  marks.dwellKey == index ? marks.dwellProgress : 0.0};
}

void FormWindow::paintPicture(HDC dc, SIZE size) {
  const RECT all{0, 0, size.cx, size.cy};
  ::FillRect(dc, &all, ::GetSysColorBrush(COLOR_BTNFACE));
  const auto& controls = form_.controls();
  // Larger first: a key lying inside a larger one (# inside Enter) lies
  // above it, so it is drawn over it.
  std::vector<std::size_t> order(controls.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  auto area = [&](std::size_t i) {
    return static_cast<long long>(controls[i].rect().width) * controls[i].rect().height;
  };
  std::ranges::stable_sort(order, [&](std::size_t a, std::size_t b) { return area(a) > area(b); });
  gdi_.icons().setQuick(true);
  for (std::size_t i : order) {
    const Control& c = controls[i];
    if (!c.visible()) continue;
    const RECT r = placement_.controlRect(c.rect());
    if (children_.ownerDrawn(i))
      paintKeyAt(dc, r, c, marksOf(i), placement_, gdi_);
    else
      paintPlainControl(dc, r, c, placement_, gdi_);
  }
  gdi_.icons().setQuick(false);
}

void FormWindow::onGetMinMaxInfo(MINMAXINFO& info) const {
  const SIZE design = designClient();
  if (design.cx <= 0 || design.cy <= 0) return;
  RECT window{};
  RECT client{};
  if (!::GetWindowRect(hwnd(), &window) || !::GetClientRect(hwnd(), &client)) return;
  // The frame (title bar, borders) comes on top of the smallest client.
  info.ptMinTrackSize.x = std::max(
      info.ptMinTrackSize.x, minimumClientSide(design.cx) + (window.right - window.left) - client.right);
  info.ptMinTrackSize.y = std::max(
      info.ptMinTrackSize.y, minimumClientSide(design.cy) + (window.bottom - window.top) - client.bottom);
}

void FormWindow::applyTimers() {
  const auto& timers = form_.timers();
  for (const Timer& timer : timers) timerChanged(timer);
}

int FormWindow::indexOf(const Control& control) const {
  const auto& controls = form_.controls();
  if (controls.empty()) return -1;
  const auto i = &control - controls.data();
  return i >= 0 && static_cast<std::size_t>(i) < controls.size() ? static_cast<int>(i) : -1;
}

HWND FormWindow::controlWindow(std::string_view control) const {
  const auto& controls = form_.controls();
  for (std::size_t i = 0; i < controls.size(); ++i)
    if (controls[i].name() == control) return children_.window(i);
  return nullptr;
}

// --- model -> window ------------------------------------------------------

// Only the keys whose marks came or went, or whose fill grew.
void FormWindow::aidMarksChanged(const AidMarks& before, const AidMarks& after) {
  if (!alive()) return;
  cover_.repaint();
  auto repaint = [this](std::size_t index) {
    if (HWND child = children_.window(index)) ::InvalidateRect(child, nullptr, FALSE);
  };
  if (before.dwellKey) repaint(*before.dwellKey);
  if (after.dwellKey && after.dwellKey != before.dwellKey) repaint(*after.dwellKey);
  if (before.scanLit != after.scanLit) {
    for (std::size_t i : before.scanLit) repaint(i);
    for (std::size_t i : after.scanLit) repaint(i);
  }
}

void FormWindow::controlChanged(const Control& control, Property property) {
  const int i = indexOf(control);
  if (i < 0 || !alive()) return;
  cover_.repaint();
  const auto index = static_cast<std::size_t>(i);
  HWND child = children_.window(index);
  if (child == nullptr) return;
  // Owner-drawn keys paint every pixel themselves; erasing first would only
  // make a flashing key flicker.
  const BOOL erase = children_.ownerDrawn(index) ? FALSE : TRUE;
  switch (property) {
    case Property::Caption:
      // A list's caption is its items (Control::applyTexts).
      if (control.kind() == ControlKind::DropDown) {
        ChildControls::fillList(child, control);
        break;
      }
      // A label shows its window text, so a refusal (the system short of
      // memory) leaves the old caption standing; owner-drawn keys paint
      // from the model and are right regardless.
      if (::SetWindowTextW(child, ChildControls::textOf(control).c_str()) == FALSE)
        logFailure("showing the caption of " + control.name(), ::GetLastError());
      ::InvalidateRect(child, nullptr, erase);
      outside_.countRepaint();
      break;
    case Property::Back:
      ::InvalidateRect(child, nullptr, erase);
      outside_.countRepaint();
      break;
    case Property::Enabled:
      ::EnableWindow(child, control.enabled() ? TRUE : FALSE);
      break;
    case Property::Text: {
      const std::wstring want = widen(control.text());
      if (windowTextW(child) == want) break;
      ++settingText_;
      if (::SetWindowTextW(child, want.c_str()) == FALSE)
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
      if (control.kind() == ControlKind::DropDown) {
        ::SendMessageW(child, CB_SETCURSEL, static_cast<WPARAM>(control.value()), 0);
        break;
      }
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
    timers_.apply(hwnd(), i, timer, shown_);
    return;
  }
}

void FormWindow::geometryChanged(const Geometry& geometry) {
  if (!alive()) return;
  const RECT r = windowRectOf(geometry, currentScreens());
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

void FormWindow::layoutChanged() {
  if (!alive()) return;
  const auto& controls = form_.controls();
  for (std::size_t i = 0; i < controls.size(); ++i)
    if (HWND child = children_.window(i);
        child != nullptr && (controls[i].inTopBand() || controls[i].inSideBand()))
      ::ShowWindow(child, controls[i].visible() ? SW_SHOWNA : SW_HIDE);
  refit(true);
}

void FormWindow::titleChanged() {
  if (!alive()) return;
  if (::SetWindowTextW(hwnd(), widen(form_.title()).c_str()) == FALSE)
    logFailure("retitling a window in the language chosen", ::GetLastError());
}

void FormWindow::syncGeometryFromWindow() {
  if (!alive() || applyingGeometry_ > 0 || ::IsIconic(hwnd()) || ::IsZoomed(hwnd())) return;
  RECT r{};
  if (!::GetWindowRect(hwnd(), &r)) return;
  // The twips the model holds may not be whole pixels; as long as the window
  // is where they put it, keep them, so that an unmoved window saves exactly
  // what it loaded.
  const ScreenMap screens = currentScreens();
  const RECT modelRect = windowRectOf(form_.geometry(), screens);
  if (::EqualRect(&r, &modelRect)) return;
  form_.syncGeometry(geometryOf(r, screens));
}

}  // namespace osk::win32
