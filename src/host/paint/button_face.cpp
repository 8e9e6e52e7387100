#include "host/paint/button_face.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "host/common/failure.h"
#include "host/common/handles.h"
#include "host/common/text.h"
#include "host/paint/icons.h"

namespace osk::win32 {

namespace {

// Centres `text` in `area` vertically, wrapping it at word boundaries when it
// is too wide; `oneLine` when it is known to be a single word, which saves
// measuring it first (a third of a picture of the whole keyboard's drawing
// under Wine).
void drawCaption(HDC dc, const std::wstring& text, RECT area, COLORREF color, bool disabled,
                 bool oneLine = false) {
  if (text.empty()) return;
  UINT flags = DT_CENTER | DT_WORDBREAK;
  RECT target = area;
  if (oneLine) {
    flags = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
  } else {
    RECT measure = area;
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measure, flags | DT_CALCRECT);
    const int height = static_cast<int>(measure.bottom - measure.top);
    const int room = static_cast<int>(area.bottom - area.top);
    target.top = area.top + std::max(0, (room - height) / 2);
    target.bottom = target.top + height;
  }
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
}

struct KeyState {
  bool pushed = false;
  bool disabled = false;
  bool focused = false;
  bool quick = false;  // a frame of a drag, drawn again a moment later
};

// A caption under its picture, as on a graphical button with both.
void drawPictureAndCaption(HDC dc, const RECT& content, const Control& c, const std::wstring& caption,
                           COLORREF back, bool disabled, IconCache& icons) {
  RECT measure = content;
  ::DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &measure,
              DT_CENTER | DT_WORDBREAK | DT_CALCRECT);
  const int textHeight = static_cast<int>(measure.bottom - measure.top);
  const int room = static_cast<int>(content.bottom - content.top);
  const int artHeight = std::max(0, std::min(room - textHeight - 4, room * 11 / 20));
  const int block = artHeight + 2 + textHeight;
  const int top = static_cast<int>(content.top) + std::max(0, (room - block) / 2);
  const RECT art{content.left, top, content.right, top + artHeight};
  if (artHeight > 4) icons.draw(dc, art, c.icon(), back, disabled);
  const RECT text{content.left, art.bottom + 2, content.right, art.bottom + 2 + textHeight};
  drawCaption(dc, caption, text, resolveColor(c.fore()), disabled);
}

// Paints the key into `dc` at 0, 0.
void paintKey(HDC dc, SIZE size, const Control& c, KeyState state, KeyMarks marks, HFONT font,
              GdiCache& gdi) {
  // The scan's light covers the face; the icons blend with what lies under.
  const Color face = marks.scanLit ? colors::kScanLight : c.back();
  const COLORREF back = resolveColor(face);
  RECT r{0, 0, size.cx, size.cy};
  ::FillRect(dc, &r, gdi.brush(face, dc));
  if (marks.hoverFill > 0) {
    RECT fill = r;
    fill.right =
        static_cast<LONG>(std::lround(static_cast<double>(size.cx) * std::min(marks.hoverFill, 1.0)));
    ::FillRect(dc, &fill, gdi.brush(colors::kHoverFill, dc));
  }
  ::DrawEdge(dc, &r, state.pushed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_ADJUST);

  RECT content = r;
  ::InflateRect(&content, -2, -1);
  if (state.pushed) ::OffsetRect(&content, 1, 1);

  const SelectGuard selectFont(dc, font);
  const std::wstring caption = widen(c.caption());
  if (c.icon() != Icon::None && caption.empty()) {
    RECT art = content;
    ::InflateRect(&art, -1, -1);
    gdi.icons().draw(dc, art, c.icon(), back, state.disabled);
  } else if (c.icon() != Icon::None) {
    drawPictureAndCaption(dc, content, c, caption, back, state.disabled, gdi.icons());
  } else {
    const bool oneWord = caption.find_first_of(L" \t\r\n") == std::wstring::npos;
    drawCaption(dc, caption, content, resolveColor(c.fore()), state.disabled, state.quick && oneWord);
  }

  if (state.focused) {
    RECT f = r;
    ::InflateRect(&f, -2, -2);
    ::SetTextColor(dc, RGB(0, 0, 0));
    ::SetBkColor(dc, back);
    ::DrawFocusRect(dc, &f);
  }
}

}  // namespace

void drawKey(const DRAWITEMSTRUCT& dis, const Control& c, KeyMarks marks, const Placement& placement,
             GdiCache& gdi) {
  // The button paints a change of focus (and, in some versions, a push) as
  // it happens, in the middle of the click whose keys are still to be sent:
  // 0.2 ms of a click under Wine. Painted with the next paint instead, it
  // shows once the keys are on their way, and while a real mouse button is
  // held down (tens of milliseconds) the pushed look still comes before the
  // release.
  if (dis.itemAction != ODA_DRAWENTIRE) {
    if (!::InvalidateRect(dis.hwndItem, nullptr, FALSE)) logFailure("repainting a key", ::GetLastError());
    return;
  }
  const SIZE size{dis.rcItem.right - dis.rcItem.left, dis.rcItem.bottom - dis.rcItem.top};
  if (size.cx <= 0 || size.cy <= 0) return;
  const KeyState state{(dis.itemState & ODS_SELECTED) != 0, (dis.itemState & ODS_DISABLED) != 0,
                       (dis.itemState & ODS_FOCUS) != 0 && (dis.itemState & ODS_NOFOCUSRECT) == 0};
  HFONT font = gdi.font(placement.fontHeight(c.font().points), c.font().bold);

  // Painted off screen first: the flash and refresh timers repaint keys
  // several times a second, and a visible erase would flicker.
  if (HDC mem = gdi.offscreen(dis.hDC, size)) {
    paintKey(mem, size, c, state, marks, font, gdi);
    ::BitBlt(dis.hDC, dis.rcItem.left, dis.rcItem.top, size.cx, size.cy, mem, 0, 0, SRCCOPY);
    return;
  }
  // Out of GDI objects: a flickering key is better than a blank one, so it
  // is painted straight onto the screen.
  logFailure("painting a key off screen", ::GetLastError());
  const int saved = ::SaveDC(dis.hDC);
  ::OffsetViewportOrgEx(dis.hDC, dis.rcItem.left, dis.rcItem.top, nullptr);
  paintKey(dis.hDC, size, c, state, marks, font, gdi);
  if (saved != 0)
    ::RestoreDC(dis.hDC, saved);
  else
    ::OffsetViewportOrgEx(dis.hDC, -dis.rcItem.left, -dis.rcItem.top, nullptr);
}

void paintKeyAt(HDC dc, const RECT& rect, const Control& c, KeyMarks marks, const Placement& placement,
                GdiCache& gdi) {
  const SIZE size{rect.right - rect.left, rect.bottom - rect.top};
  if (size.cx <= 0 || size.cy <= 0) return;
  HFONT font = gdi.font(placement.fontHeight(c.font().points), c.font().bold);
  POINT origin{};
  ::OffsetViewportOrgEx(dc, rect.left, rect.top, &origin);
  paintKey(dc, size, c, KeyState{false, !c.enabled(), false, true}, marks, font, gdi);
  ::SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
}

void paintPlainControl(HDC dc, const RECT& rect, const Control& c, const Placement& placement,
                       GdiCache& gdi) {
  RECT r = rect;
  if (r.right <= r.left || r.bottom <= r.top) return;
  const SelectGuard selectFont(dc, gdi.font(placement.fontHeight(c.font().points), c.font().bold));
  std::wstring text = widen(c.kind() == ControlKind::TextBox ? c.text() : c.caption());
  const UINT align = c.align() == Align::Center ? DT_CENTER : DT_LEFT;
  ::SetBkMode(dc, TRANSPARENT);
  switch (c.kind()) {
    case ControlKind::Label:
      ::FillRect(dc, &r, controlColors(dc, c, false, gdi));
      ::SetBkMode(dc, TRANSPARENT);
      if (!c.enabled()) ::SetTextColor(dc, ::GetSysColor(COLOR_GRAYTEXT));
      ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, align | DT_WORDBREAK | DT_EXPANDTABS);
      break;
    case ControlKind::TextBox:
      ::DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
      ::FillRect(dc, &r, controlColors(dc, c, true, gdi));
      ::SetBkMode(dc, TRANSPARENT);
      ::InflateRect(&r, -2, -1);
      ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
                  align | DT_SINGLELINE | DT_NOPREFIX | DT_EDITCONTROL);
      break;
    case ControlKind::Button:
      ::DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (c.enabled() ? 0U : DFCS_INACTIVE));
      ::SetTextColor(dc, ::GetSysColor(c.enabled() ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
      ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE);
      break;
    case ControlKind::CheckBox: {
      ::FillRect(dc, &r, controlColors(dc, c, false, gdi));
      ::SetBkMode(dc, TRANSPARENT);
      const int box = std::min<int>(r.bottom - r.top, ::MulDiv(13, placement.dpi(), USER_DEFAULT_SCREEN_DPI));
      RECT tick{r.left, r.top + (r.bottom - r.top - box) / 2, r.left + box, 0};
      tick.bottom = tick.top + box;
      ::DrawFrameControl(dc, &tick, DFC_BUTTON, DFCS_BUTTONCHECK | (c.value() != 0 ? DFCS_CHECKED : 0U));
      r.left = tick.right + box / 3;
      ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
      break;
    }
  }
}

HBRUSH controlColors(HDC dc, const Control& c, bool edit, GdiCache& gdi) {
  Color back = c.back();
  // A text box left at the layout's white draws as the system window colour.
  if (edit && back == colors::kWhite) back = colors::kSysWindow;
  ::SetTextColor(dc, resolveColor(c.fore()));
  ::SetBkColor(dc, resolveColor(back));
  ::SetBkMode(dc, OPAQUE);
  return gdi.brush(back, dc);
}

}  // namespace osk::win32
