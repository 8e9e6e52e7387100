#include "host/paint/button_face.h"

#include <algorithm>
#include <cmath>
#include <optional>
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
void drawCaption(HDC dc, const std::wstring& text, RECT area, const KeyLook& look, bool embossed,
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
  if (embossed) {
    RECT shadow = target;
    ::OffsetRect(&shadow, 1, 1);
    ::SetTextColor(dc, ::GetSysColor(COLOR_BTNHIGHLIGHT));
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &shadow, flags);
  }
  ::SetTextColor(dc, look.ink);
  ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &target, flags);
}

// A key's caption font as the key's place sizes it (a LOGFONT height: the
// characters' height, negative).
struct CaptionFont {
  LONG height;
  bool bold;
};

// Whether `text`, in the font selected into `dc`, fits `area`: one word
// across its width (a line a little taller than a small key still reads, as
// it always has, but a word cut at the sides does not); several wrapped at
// their blanks as drawCaption wraps them, in its width and height.
bool fits(HDC dc, const std::wstring& text, const RECT& area, bool oneWord) {
  const LONG width = area.right - area.left;
  const LONG height = area.bottom - area.top;
  if (oneWord) {
    SIZE size{};
    return ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size) != FALSE &&
           size.cx <= width;
  }
  RECT measure = area;
  ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measure,
              DT_CENTER | DT_WORDBREAK | DT_CALCRECT);
  return measure.right - measure.left <= width && measure.bottom - measure.top <= height;
}

// The height of the caption's own font or, where the caption would not fit
// its key in it (a language's longer words, or a keyboard dragged small,
// where the key's edges take a larger share), of the largest smaller one it
// fits in: shrunk rather than cut at the edges or run over them; never below
// a height that still reads, where a keyboard dragged that small draws what
// it can. Measured once per caption and room; leaves the DC's font as it was.
LONG fittedHeight(HDC dc, const std::wstring& text, const RECT& area, bool oneWord, CaptionFont font,
                  GdiCache& gdi) {
  if (text.empty()) return font.height;
  const SIZE room{area.right - area.left, area.bottom - area.top};
  if (const std::optional<LONG> kept = gdi.fittedHeight(text, room, font.height, font.bold)) return *kept;
  const unsigned failures = gdi.fontFailures();
  const SelectGuard measuring(dc, gdi.font(font.height, font.bold));
  // Heights are negative: a smaller font is one nearer zero.
  constexpr LONG kSmallestReadable = -6;
  LONG height = font.height;
  while (!fits(dc, text, area, oneWord) && height < kSmallestReadable)
    ::SelectObject(dc, gdi.font(++height, font.bold));
  // Not kept when measured in the system's stand-in for a font that could
  // not be made: a later paint measures again.
  if (gdi.fontFailures() == failures) gdi.keepFittedHeight(text, room, font.height, font.bold, height);
  return height;
}

struct KeyState {
  bool pushed = false;
  bool disabled = false;
  bool focused = false;
  bool quick = false;  // a frame of a drag, drawn again a moment later
};

// A disabled caption on a face of the system's is embossed as the system's
// own disabled buttons are; high contrast keeps it flat, in the scheme's grey.
bool embossed(const Palette& palette, const Control& c, bool disabled) {
  return disabled && !palette.highContrast() && colors::isSystemReference(c.back());
}

// A state shown by a shape as well as by colour, in the caption's ink, so
// that it does not rest on telling the scheme's colours apart.
void drawMark(HDC dc, const RECT& r, const KeyLook& look, GdiCache& gdi) {
  if (look.mark == KeyMark::None) return;
  HBRUSH ink = gdi.brush(look.ink, dc);
  const int thick = std::max<int>(2, static_cast<int>(r.bottom - r.top) / 12);
  RECT frame = r;
  ::InflateRect(&frame, -2, -2);
  if (look.mark == KeyMark::Frame) {
    for (int i = 0; i < thick; ++i) {
      ::FrameRect(dc, &frame, ink);
      ::InflateRect(&frame, -1, -1);
    }
    return;
  }
  // Dots: squares of the frame's thickness, one in every three.
  const int step = thick * 3;
  for (int x = frame.left; x + thick <= frame.right; x += step) {
    const RECT top{x, frame.top, x + thick, frame.top + thick};
    const RECT bottom{x, frame.bottom - thick, x + thick, frame.bottom};
    ::FillRect(dc, &top, ink);
    ::FillRect(dc, &bottom, ink);
  }
  for (int y = frame.top + step; y + thick <= frame.bottom - step; y += step) {
    const RECT left{frame.left, y, frame.left + thick, y + thick};
    const RECT right{frame.right - thick, y, frame.right, y + thick};
    ::FillRect(dc, &left, ink);
    ::FillRect(dc, &right, ink);
  }
}

// Pictures keep their own colours but under high contrast, where they are
// drawn in the caption's ink.
COLORREF pictureInk(const Palette& palette, const KeyLook& look) {
  return palette.highContrast() ? look.ink : CLR_INVALID;
}

// A caption under its picture, as on a graphical button with both.
void drawPictureAndCaption(HDC dc, const RECT& content, const Control& c, const std::wstring& caption,
                           const KeyLook& look, bool disabled, GdiCache& gdi) {
  IconCache& icons = gdi.icons();
  const COLORREF back = look.face;
  RECT measure = content;
  ::DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &measure,
              DT_CENTER | DT_WORDBREAK | DT_CALCRECT);
  const int textHeight = static_cast<int>(measure.bottom - measure.top);
  const int room = static_cast<int>(content.bottom - content.top);
  const int artHeight = std::max(0, std::min(room - textHeight - 4, room * 11 / 20));
  const int block = artHeight + 2 + textHeight;
  const int top = static_cast<int>(content.top) + std::max(0, (room - block) / 2);
  const RECT art{content.left, top, content.right, top + artHeight};
  if (artHeight > 4) icons.draw(dc, art, c.icon(), back, disabled, pictureInk(gdi.palette(), look));
  const RECT text{content.left, art.bottom + 2, content.right, art.bottom + 2 + textHeight};
  drawCaption(dc, caption, text, look, embossed(gdi.palette(), c, disabled));
}

// Paints the key into `dc` at 0, 0.
void paintKey(HDC dc, SIZE size, const Control& c, KeyState state, KeyMarks marks, CaptionFont font,
              GdiCache& gdi) {
  // The scan's light covers the face; the icons blend with what lies under.
  const Palette& palette = gdi.palette();
  const KeyLook look = palette.look(marks.scanLit ? colors::kScanLight : c.back(), c.fore(), !state.disabled);
  const COLORREF back = look.face;
  RECT r{0, 0, size.cx, size.cy};
  ::FillRect(dc, &r, gdi.brush(look.face, dc));
  if (marks.hoverFill > 0) {
    RECT fill = r;
    fill.right =
        static_cast<LONG>(std::lround(static_cast<double>(size.cx) * std::min(marks.hoverFill, 1.0)));
    // Under high contrast a bar along the foot in the ink: a fill of a
    // colour of our own under the caption would undo its contrast.
    if (palette.highContrast()) fill.top = std::max(fill.top, fill.bottom - std::max<LONG>(3, size.cy / 8));
    ::FillRect(dc, &fill, gdi.brush(palette.highContrast() ? look.ink : colors::kHoverFill, dc));
  }
  ::DrawEdge(dc, &r, state.pushed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_ADJUST);
  drawMark(dc, r, look, gdi);

  RECT content = r;
  ::InflateRect(&content, -2, -1);
  if (state.pushed) ::OffsetRect(&content, 1, 1);

  const std::wstring caption = widen(c.caption());
  // A caption alone is fitted to its key; one under a picture keeps its font.
  const bool oneWord = caption.find_first_of(L" \t\r\n") == std::wstring::npos;
  const LONG height =
      c.icon() == Icon::None ? fittedHeight(dc, caption, content, oneWord, font, gdi) : font.height;
  const SelectGuard selectFont(dc, gdi.font(height, font.bold));
  if (c.icon() != Icon::None && caption.empty()) {
    RECT art = content;
    ::InflateRect(&art, -1, -1);
    gdi.icons().draw(dc, art, c.icon(), back, state.disabled, pictureInk(palette, look));
  } else if (c.icon() != Icon::None) {
    drawPictureAndCaption(dc, content, c, caption, look, state.disabled, gdi);
  } else {
    drawCaption(dc, caption, content, look, embossed(palette, c, state.disabled), state.quick && oneWord);
  }

  if (state.focused) {
    RECT f = r;
    ::InflateRect(&f, -2, -2);
    ::SetTextColor(dc, look.ink);
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
  const CaptionFont font{placement.fontHeight(c.font().points), c.font().bold};

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
  const CaptionFont font{placement.fontHeight(c.font().points), c.font().bold};
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
  const auto chosen = static_cast<std::size_t>(c.value());
  if (c.kind() == ControlKind::DropDown) text = chosen < c.items().size() ? widen(c.items()[chosen]) : L"";
  const UINT align = c.align() == Align::Center ? DT_CENTER : DT_LEFT;
  ::SetBkMode(dc, TRANSPARENT);
  switch (c.kind()) {
    case ControlKind::Label:
      ::FillRect(dc, &r, controlColors(dc, c, false, gdi));
      ::SetBkMode(dc, TRANSPARENT);
      ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, align | DT_WORDBREAK | DT_EXPANDTABS);
      break;
    case ControlKind::TextBox:
    case ControlKind::DropDown:
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
  // A disabled text box still shows its text as typed; the system greys it.
  const KeyLook look = gdi.palette().look(back, c.fore(), edit || c.enabled());
  ::SetTextColor(dc, look.ink);
  ::SetBkColor(dc, look.face);
  ::SetBkMode(dc, OPAQUE);
  return gdi.brush(look.face, dc);
}

}  // namespace osk::win32
