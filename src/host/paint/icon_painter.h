// The drawing tools of the icon pictures: a painter that maps the pictures'
// design units to pixels and holds a pen and brush for each shape, and the
// inks the pictures are drawn in.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <vector>

#include "host/common/handles.h"
#include "layout/model.h"

namespace osk::win32::icon_art {

inline constexpr COLORREF kNone = CLR_INVALID;

namespace ink {
inline constexpr COLORREF kOutline = RGB(40, 40, 48);
// The outline's colour where it fills a shape (a keyhole, a pivot).
inline constexpr COLORREF kDarkFill = kOutline;
inline constexpr COLORREF kWhite = RGB(255, 255, 255);
inline constexpr COLORREF kPaper = RGB(252, 252, 248);
inline constexpr COLORREF kBlue = RGB(30, 110, 225);
inline constexpr COLORREF kDarkBlue = RGB(12, 45, 130);
inline constexpr COLORREF kRed = RGB(225, 30, 30);
inline constexpr COLORREF kDarkRed = RGB(120, 0, 0);
inline constexpr COLORREF kGreen = RGB(30, 175, 45);
inline constexpr COLORREF kDarkGreen = RGB(0, 95, 20);
inline constexpr COLORREF kGold = RGB(246, 186, 30);
inline constexpr COLORREF kDarkGold = RGB(150, 95, 0);
inline constexpr COLORREF kGrey = RGB(160, 163, 170);
inline constexpr COLORREF kLightGrey = RGB(212, 214, 220);
inline constexpr COLORREF kDarkGrey = RGB(70, 74, 84);
inline constexpr COLORREF kBrown = RGB(165, 112, 60);
inline constexpr COLORREF kTextLine = RGB(120, 140, 175);
}  // namespace ink

struct Pt {
  double x, y;
};

// Maps design units to pixels of the oversized bitmap and wraps the GDI calls
// with the pens and brushes they need.
class Painter {
 public:
  Painter(HDC dc, double scale, double ox, double oy) : dc_(dc), scale_(scale), ox_(ox), oy_(oy) {}

  // High contrast: the picture as line art in the scheme's two colours, its
  // outlines in `ink` over fills of `face`, and a shape with no outline
  // filled with the ink, so that it keeps the caption's contrast.
  void lineArt(COLORREF face, COLORREF ink) {
    lineArt_ = true;
    face_ = face;
    ink_ = ink;
  }

  int px(double ux) const { return static_cast<int>(std::lround(ox_ + ux * scale_)); }
  int py(double uy) const { return static_cast<int>(std::lround(oy_ + uy * scale_)); }

  void polygon(std::initializer_list<Pt> pts, COLORREF fill, COLORREF line = ink::kOutline, double lw = 1.2) {
    polygon(std::vector<Pt>(pts), fill, line, lw);
  }
  void polygon(const std::vector<Pt>& pts, COLORREF fill, COLORREF line = ink::kOutline, double lw = 1.2) {
    std::vector<POINT> p;
    p.reserve(pts.size());
    for (const Pt& q : pts) p.push_back(POINT{px(q.x), py(q.y)});
    Tools t(*this, fill, line, lw);
    ::Polygon(dc_, p.data(), static_cast<int>(p.size()));
  }
  void rect(double x, double y, double w, double h, COLORREF fill, COLORREF line = ink::kOutline,
            double lw = 1.2) {
    Tools t(*this, fill, line, lw);
    ::Rectangle(dc_, px(x), py(y), px(x + w), py(y + h));
  }
  void roundRect(double x, double y, double w, double h, double r, COLORREF fill,
                 COLORREF line = ink::kOutline, double lw = 1.2) {
    Tools t(*this, fill, line, lw);
    const int d = static_cast<int>(std::lround(2 * r * scale_));
    ::RoundRect(dc_, px(x), py(y), px(x + w), py(y + h), d, d);
  }
  void ellipse(double x, double y, double w, double h, COLORREF fill, COLORREF line = ink::kOutline,
               double lw = 1.2) {
    Tools t(*this, fill, line, lw);
    ::Ellipse(dc_, px(x), py(y), px(x + w), py(y + h));
  }
  void line(std::initializer_list<Pt> pts, COLORREF color, double lw) {
    std::vector<POINT> p;
    for (const Pt& q : pts) p.push_back(POINT{px(q.x), py(q.y)});
    Tools t(*this, kNone, color, lw);
    ::Polyline(dc_, p.data(), static_cast<int>(p.size()));
  }
  // The arc of the ellipse in the box from angle a0 to a1 (degrees,
  // counter-clockwise from three o'clock, y up).
  void arc(double x, double y, double w, double h, double a0, double a1, COLORREF color, double lw) {
    const double cx = x + w / 2;
    const double cy = y + h / 2;
    const double pi = 3.14159265358979;
    const double r = std::max(w, h);
    Tools t(*this, kNone, color, lw);
    ::SetArcDirection(dc_, AD_COUNTERCLOCKWISE);
    ::Arc(dc_, px(x), py(y), px(x + w), py(y + h), px(cx + r * std::cos(a0 * pi / 180)),
          py(cy - r * std::sin(a0 * pi / 180)), px(cx + r * std::cos(a1 * pi / 180)),
          py(cy - r * std::sin(a1 * pi / 180)));
  }
  void text(const wchar_t* s, double x, double y, double w, double h, COLORREF color, double size,
            bool bold = true, const wchar_t* face = L"Tahoma") {
    LOGFONTW lf{};
    lf.lfHeight = -static_cast<LONG>(std::lround(size * scale_));
    lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = NONANTIALIASED_QUALITY;
    wcsncpy_s(lf.lfFaceName, face, _TRUNCATE);
    UniqueFont font(::CreateFontIndirectW(&lf));
    SelectGuard sel(dc_, font.get());
    ::SetBkMode(dc_, TRANSPARENT);
    ::SetTextColor(dc_, lineArt_ ? ink_ : color);
    RECT r{px(x), py(y), px(x + w), py(y + h)};
    ::DrawTextW(dc_, s, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
  }

 private:
  // Pen and brush for one shape, released when the shape is drawn.
  class Tools {
   public:
    Tools(Painter& p, COLORREF fill, COLORREF line, double lw) : dc_(p.dc_) {
      if (p.lineArt_) {
        if (fill != kNone) fill = line == kNone ? p.ink_ : p.face_;
        if (line != kNone) line = p.ink_;
      }
      if (fill != kNone) brush_.reset(::CreateSolidBrush(fill));
      if (line != kNone) {
        LOGBRUSH lb{BS_SOLID, line, 0};
        const auto width = static_cast<DWORD>(std::max(1L, std::lround(lw * p.scale_)));
        pen_.reset(::ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_ROUND | PS_JOIN_ROUND, width, &lb, 0,
                                  nullptr));
      }
      // Out of GDI objects, the DC's own pen and brush draw the shape in
      // its colours (the line one pixel wide) rather than leave it out.
      HGDIOBJ brush = brush_ ? static_cast<HGDIOBJ>(brush_.get()) : ::GetStockObject(NULL_BRUSH);
      if (fill != kNone && !brush_) {
        ::SetDCBrushColor(dc_, fill);
        brush = ::GetStockObject(DC_BRUSH);
      }
      HGDIOBJ pen = pen_ ? static_cast<HGDIOBJ>(pen_.get()) : ::GetStockObject(NULL_PEN);
      if (line != kNone && !pen_) {
        ::SetDCPenColor(dc_, line);
        pen = ::GetStockObject(DC_PEN);
      }
      oldBrush_ = ::SelectObject(dc_, brush);
      oldPen_ = ::SelectObject(dc_, pen);
    }
    Tools(const Tools&) = delete;
    Tools& operator=(const Tools&) = delete;
    Tools(Tools&&) = delete;
    Tools& operator=(Tools&&) = delete;
    ~Tools() {
      ::SelectObject(dc_, oldBrush_);
      ::SelectObject(dc_, oldPen_);
    }

   private:
    HDC dc_;
    UniqueBrush brush_;
    UniquePen pen_;
    HGDIOBJ oldBrush_ = nullptr;
    HGDIOBJ oldPen_ = nullptr;
  };

  HDC dc_;
  double scale_, ox_, oy_;
  bool lineArt_ = false;
  COLORREF face_ = kNone;
  COLORREF ink_ = kNone;
};

// The pictures' design height, in units.
inline constexpr double kUnits = 32.0;

// Draws the picture of `icon`, `width` units wide, with `p`.
void drawPicture(Painter& p, Icon icon, double width);

}  // namespace osk::win32::icon_art
