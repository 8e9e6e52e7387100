// Painting of the owner-drawn key buttons: their background colour is the
// state the keyboard shows (latched, flashed, tinted), so it is drawn as
// stored rather than left to the theme.
#include <algorithm>

#include "platform/win32/failure.h"
#include "platform/win32/form_window.h"
#include "platform/win32/icons.h"
#include "platform/win32/text.h"

namespace osk::win32 {

namespace {

// Centres `text` in `area` vertically, wrapping it at word boundaries when it
// is too wide. Returns the height that was used.
int drawCaption(HDC dc, const std::wstring& text, RECT area, COLORREF color, bool disabled) {
  if (text.empty()) return 0;
  const UINT flags = DT_CENTER | DT_WORDBREAK;
  RECT measure = area;
  ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measure, flags | DT_CALCRECT);
  const int height = static_cast<int>(measure.bottom - measure.top);
  const int room = static_cast<int>(area.bottom - area.top);
  RECT target = area;
  target.top = area.top + std::max(0, (room - height) / 2);
  target.bottom = target.top + height;
  ::SetBkMode(dc, TRANSPARENT);
  if (disabled) {
    RECT shadow = target;
    ::OffsetRect(&shadow, 1, 1);
    ::SetTextColor(dc, ::GetSysColor(COLOR_BTNHIGHLIGHT));
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &shadow, flags);
    ::SetTextColor(dc, ::GetSysColor(COLOR_GRAYTEXT));
  } else {
    ::SetTextColor(dc, color);
  }
  ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &target, flags);
  return height;
}

}  // namespace

bool FormWindow::drawItem(const DRAWITEMSTRUCT& dis) {
  if (dis.CtlType != ODT_BUTTON) return false;
  const int i = indexOf(dis.hwndItem);
  if (i < 0 || !children_[static_cast<std::size_t>(i)].ownerDrawn) return false;
  const Control& c = form_.controls()[static_cast<std::size_t>(i)];

  // The button paints a change of focus (and, in some versions, a push) as
  // it happens, in the middle of the click whose keys are still to be sent:
  // 0.2 ms of a click under Wine. Painted with the next paint instead, it
  // shows once the keys are on their way, and while a real mouse button is
  // held down (tens of milliseconds) the pushed look still comes before the
  // release.
  if (dis.itemAction != ODA_DRAWENTIRE) {
    if (!::InvalidateRect(dis.hwndItem, nullptr, FALSE)) logFailure("repainting a key", ::GetLastError());
    return true;
  }
  const int w = dis.rcItem.right - dis.rcItem.left;
  const int h = dis.rcItem.bottom - dis.rcItem.top;
  if (w <= 0 || h <= 0) return true;
  const bool pushed = (dis.itemState & ODS_SELECTED) != 0;
  const bool disabled = (dis.itemState & ODS_DISABLED) != 0;
  const bool focused = (dis.itemState & ODS_FOCUS) != 0 && (dis.itemState & ODS_NOFOCUSRECT) == 0;
  const COLORREF back = resolveColor(c.back());

  // Paints the key into `dc` at 0, 0.
  auto paint = [&](HDC dc) {
    RECT r{0, 0, w, h};
    ::FillRect(dc, &r, brushFor(c.back(), dc));
    ::DrawEdge(dc, &r, pushed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_ADJUST);

    RECT content = r;
    ::InflateRect(&content, -2, -1);
    if (pushed) ::OffsetRect(&content, 1, 1);

    SelectGuard selectFont(dc, fontFor(c.font()));
    const std::wstring caption = widen(c.caption());
    if (c.icon() != Icon::None && caption.empty()) {
      RECT art = content;
      ::InflateRect(&art, -1, -1);
      drawIcon(dc, art, c.icon(), back, disabled);
    } else if (c.icon() != Icon::None) {
      // Picture above the caption, as on a graphical button with both.
      RECT measure = content;
      ::DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &measure,
                  DT_CENTER | DT_WORDBREAK | DT_CALCRECT);
      const int textHeight = static_cast<int>(measure.bottom - measure.top);
      const int room = static_cast<int>(content.bottom - content.top);
      const int artHeight = std::max(0, std::min(room - textHeight - 4, room * 11 / 20));
      const int block = artHeight + 2 + textHeight;
      const int top = static_cast<int>(content.top) + std::max(0, (room - block) / 2);
      RECT art{content.left, top, content.right, top + artHeight};
      if (artHeight > 4) drawIcon(dc, art, c.icon(), back, disabled);
      RECT text{content.left, art.bottom + 2, content.right, art.bottom + 2 + textHeight};
      drawCaption(dc, caption, text, resolveColor(c.fore()), disabled);
    } else {
      drawCaption(dc, caption, content, resolveColor(c.fore()), disabled);
    }

    if (focused) {
      RECT f = r;
      ::InflateRect(&f, -2, -2);
      ::SetTextColor(dc, RGB(0, 0, 0));
      ::SetBkColor(dc, back);
      ::DrawFocusRect(dc, &f);
    }
  };

  // Painted off screen first: the flash and refresh timers repaint keys
  // several times a second, and a visible erase would flicker.
  UniqueMemDC mem(::CreateCompatibleDC(dis.hDC));
  UniqueBitmap bitmap(mem ? ::CreateCompatibleBitmap(dis.hDC, w, h) : nullptr);
  if (mem && bitmap) {
    SelectGuard selectBitmap(mem.get(), bitmap.get());
    paint(mem.get());
    ::BitBlt(dis.hDC, dis.rcItem.left, dis.rcItem.top, w, h, mem.get(), 0, 0, SRCCOPY);
    return true;
  }
  // Out of GDI objects: a flickering key is better than a blank one, so it
  // is painted straight onto the screen.
  logFailure("painting a key off screen", ::GetLastError());
  const int saved = ::SaveDC(dis.hDC);
  ::OffsetViewportOrgEx(dis.hDC, dis.rcItem.left, dis.rcItem.top, nullptr);
  paint(dis.hDC);
  if (saved != 0)
    ::RestoreDC(dis.hDC, saved);
  else
    ::OffsetViewportOrgEx(dis.hDC, -dis.rcItem.left, -dis.rcItem.top, nullptr);
  return true;
}

}  // namespace osk::win32
