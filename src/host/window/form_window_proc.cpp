// FormWindow's window procedure: each message the window acts on goes to
// the unit whose job it is.
#include <algorithm>
#include <string>

#include "host/common/failure.h"
#include "host/paint/button_face.h"
#include "host/window/dpi.h"
#include "host/window/form_window.h"

namespace osk::win32 {

LRESULT FormWindow::handleMessage(HWND self, UINT msg, WPARAM wp, LPARAM lp) {
  if (const auto answer = filtered(self, msg, wp, lp, MessageFilter::kWholeWindow)) return *answer;
  switch (msg) {
    case WM_COMMAND:
      onCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
      return 0;
    case WM_DRAWITEM:
      if (drawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp))) return TRUE;
      break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
      if (const LRESULT brush =
              ctlColor(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp), msg == WM_CTLCOLOREDIT))
        return brush;
      break;
    case WM_INPUT: {
      const InputElsewhere::Seen seen = inputElsewhere_.read(self, reinterpret_cast<HRAWINPUT>(lp));
      if (seen.key) keyEvents_.keyEvent(self);
      if (seen.elsewhere) raise(kFormItself, Event::InputElsewhere);
      return ::DefWindowProcW(self, msg, wp, lp);
    }
    case WM_TIMER:
      if (onTimer(self, wp)) return 0;
      break;
    case WM_NEXTDLGCTL:
      onNextDlgCtl(self, wp, lp);
      return 0;
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
      raise(kFormItself, Event::DblClick);
      return 0;
    case WM_MOUSEMOVE:
    case WM_SIZE:
    case WM_MOVE:
    case WM_ENTERSIZEMOVE:
    case WM_EXITSIZEMOVE:
      onSizeOrMove(self, msg, wp);
      break;
    case WM_GETMINMAXINFO:
      onGetMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lp));
      return 0;
    case WM_WINDOWPOSCHANGED:
      return onWindowPosChanged(self, wp, lp);
    case WM_DPICHANGED:
      onDpiChanged(self, wp, *reinterpret_cast<const RECT*>(lp));
      return 0;
    case WM_SETTINGCHANGE:
      if (wp == SPI_SETHIGHCONTRAST) onColoursChanged(self);
      break;
    case WM_SYSCOLORCHANGE:
      onColoursChanged(self);
      break;
    case WM_CLOSE:
      onClose(self);
      return 0;
    case WM_DESTROY:
      onDestroy(self);
      break;
    default:
      if (const auto answer = outside_.answer(msg)) return *answer;
      break;
  }
  return ::DefWindowProcW(self, msg, wp, lp);
}

void FormWindow::onColoursChanged(HWND self) {
  choosePalette();
  gdi_.dropBrushes();
  // The keys are owner-drawn children: they are told to repaint too.
  if (!::RedrawWindow(self, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN))
    logFailure("repainting in the system's new colours", ::GetLastError());
}

void FormWindow::onSizeOrMove(HWND self, UINT msg, WPARAM wp) {
  switch (msg) {
    case WM_MOUSEMOVE:
      // Back over the keys after the window manager's drag: they must be
      // there before the click.
      if (outsideDrag_) endSizing();
      return;
    case WM_SIZE:
      noteOutsideResize(self, wp);
      refit(false);
      break;
    case WM_ENTERSIZEMOVE:
      // The system's loop takes over a drag the window manager began.
      sizing_ = true;
      if (outsideDrag_) ::KillTimer(self, kSettleTimer);
      outsideDrag_ = false;
      return;
    case WM_EXITSIZEMOVE:
      endSizing();
      break;
    default:
      break;
  }
  syncGeometryFromWindow();
}

LRESULT FormWindow::onWindowPosChanged(HWND self, WPARAM wp, LPARAM lp) {
  // Every change of place or size comes here, whatever made it: a drag
  // (WM_EXITSIZEMOVE alone would miss the rest), the system, another
  // program. Changes of the z-order alone (the topmost timer's, every
  // second) are no move.
  const auto* pos = reinterpret_cast<const WINDOWPOS*>(lp);
  if ((pos->flags & SWP_NOMOVE) != 0 && (pos->flags & SWP_NOSIZE) != 0)
    return ::DefWindowProcW(self, WM_WINDOWPOSCHANGED, wp, lp);
  const Geometry before = form_.geometry();
  // Sends WM_MOVE and WM_SIZE, which bring the model up to date, unless
  // the client area stayed where it was.
  const LRESULT r = ::DefWindowProcW(self, WM_WINDOWPOSCHANGED, wp, lp);
  syncGeometryFromWindow();
  // The form's own placements (Load's) are not moves of the window.
  if (shown_ && alive() && !(form_.geometry() == before)) raise(kFormItself, Event::Move);
  return r;
}

bool FormWindow::onTimer(HWND self, WPARAM id) {
  if (id == kSettleTimer) {
    endSizing();
    return true;
  }
  // Its catching up is done before any message is handled.
  if (InputElsewhere::isPauseTick(id)) return true;
  if (KeyEventFollower::isTick(self, id)) {
    if (const auto timer = keyEvents_.timer()) raiseTick(*timer);
    return true;
  }
  const auto& timers = form_.timers();
  timers_.retryRefused(self, timers);
  const auto index = FormTimers::indexOf(id, timers.size());
  if (!index) return false;
  raiseTick(*index);
  return true;
}

void FormWindow::onNextDlgCtl(HWND self, WPARAM wp, LPARAM lp) {
  // Sent by IsDialogMessage for Tab; a plain window has to move the focus
  // itself.
  HWND next = LOWORD(lp) != 0 ? reinterpret_cast<HWND>(wp)
                              : ::GetNextDlgTabItem(self, ::GetFocus(), wp != 0 ? TRUE : FALSE);
  if (next == nullptr) return;
  ::SetFocus(next);
  if (::SendMessageW(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) ::SendMessageW(next, EM_SETSEL, 0, -1);
}

void FormWindow::onDpiChanged(HWND self, WPARAM wp, const RECT& suggested) {
  placement_ = Placement(LOWORD(wp) != 0 ? LOWORD(wp) : dpiForWindow(self));
  // A move of the model's geometry onto a monitor of another DPI is already
  // in that monitor's pixels; the system's suggestion would scale it again.
  // Refused, the window keeps its pixel size; the sync below records
  // whatever size it has.
  if (applyingGeometry_ == 0)
    ::SetWindowPos(self, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  // Fonts of the old DPI are no longer used by any child after the
  // relayout; they go with `stale`.
  const GdiCache::Fonts stale = gdi_.takeFonts();
  gdi_.dropSized();
  refit(true);
  syncGeometryFromWindow();
}

void FormWindow::onClose(HWND self) {
  if (closing_) return;
  closing_ = true;
  if (beforeUnload_) beforeUnload_();
  // The window closes whatever the Unload does: a keyboard that cannot be
  // closed would be worse than one that closes having failed to save.
  static_cast<void>(guarded([this] { raise(kFormItself, Event::Unload); }));
  if (onClosing_) onClosing_();
  ::DestroyWindow(self);
}

void FormWindow::onDestroy(HWND self) {
  FormTimers::stopAll(self, form_.timers().size());
  keyEvents_.stop(self);
  static_cast<void>(inputElsewhere_.follow(self, false));
  if (form_.observer() == this) form_.setObserver(nullptr);
  // Windows destroys the children with their parent.
  children_.releaseAll();
  if (options_.quitOnDestroy) ::PostQuitMessage(0);
}

bool FormWindow::drawItem(const DRAWITEMSTRUCT& dis) {
  if (dis.CtlType != ODT_BUTTON) return false;
  const int i = children_.indexOf(dis.hwndItem);
  if (i < 0 || !children_.ownerDrawn(static_cast<std::size_t>(i))) return false;
  const auto index = static_cast<std::size_t>(i);
  drawKey(dis, form_.controls()[index], marksOf(index), placement_, gdi_);
  outside_.countRepaint();
  return true;
}

LRESULT FormWindow::ctlColor(HDC dc, HWND child, bool edit) {
  const int i = children_.indexOf(child);
  if (i < 0) return 0;
  return reinterpret_cast<LRESULT>(
      controlColors(dc, form_.controls()[static_cast<std::size_t>(i)], edit, gdi_));
}

}  // namespace osk::win32
