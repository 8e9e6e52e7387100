// The icon pictures. Each is drawn with plain GDI shapes in a design space
// 32 units tall, at four times the target size, and then averaged down: GDI
// has no anti-aliasing of its own, and the pictures must stay legible from
// 16 to 64 pixels.
#include "host/paint/icons.h"

#include <cmath>
#include <initializer_list>
#include <vector>

#include "host/common/handles.h"
#include "host/paint/icon_painter.h"

namespace osk::win32 {

namespace {

using namespace icon_art;

// --- pieces shared by several pictures ------------------------------------

enum class Dir { Up, Down, Left, Right };

// A block arrow whose bounding box is (x, y, w, h), pointing `dir`.
void blockArrow(Painter& p, double x, double y, double w, double h, Dir dir, COLORREF fill, COLORREF line) {
  // Designed pointing up in a unit square, then turned.
  const std::vector<Pt> up{{0.5, 0.0},  {1.0, 0.5},  {0.70, 0.5}, {0.70, 1.0},
                           {0.30, 1.0}, {0.30, 0.5}, {0.0, 0.5}};
  std::vector<Pt> pts;
  for (const Pt& q : up) {
    Pt t = q;
    switch (dir) {
      case Dir::Up:
        break;
      case Dir::Down:
        t = {q.x, 1 - q.y};
        break;
      case Dir::Left:
        t = {q.y, q.x};
        break;
      case Dir::Right:
        t = {1 - q.y, q.x};
        break;
    }
    pts.push_back({x + t.x * w, y + t.y * h});
  }
  p.polygon(pts, fill, line, 1.3);
}

// The hollow arrow of a Shift key in the box (x, y, s, s).
void shiftArrow(Painter& p, double x, double y, double s) {
  auto q = [&](double u, double v) { return Pt{x + u * s / 32, y + v * s / 32}; };
  p.polygon({q(16, 2), q(30, 16), q(22, 16), q(22, 30), q(10, 30), q(10, 16), q(2, 16)}, ink::kWhite,
            ink::kOutline, 2.0);
}

void bin(Painter& p, double x, double y, double w, double h) {
  p.rect(x + w * 0.36, y - h * 0.07, w * 0.28, h * 0.09, ink::kGrey, ink::kOutline, 1.0);
  p.polygon({{x + w * 0.10, y + h * 0.14},
             {x + w * 0.90, y + h * 0.14},
             {x + w * 0.80, y + h},
             {x + w * 0.20, y + h}},
            ink::kLightGrey, ink::kOutline, 1.2);
  for (double f : {0.36, 0.5, 0.64})
    p.line({{x + w * f, y + h * 0.26}, {x + w * (0.5 + (f - 0.5) * 0.8), y + h * 0.88}}, ink::kGrey, 1.4);
  p.roundRect(x, y + h * 0.02, w, h * 0.13, 0.8, ink::kGrey, ink::kOutline, 1.2);
}

void page(Painter& p, double x, double y, double w, double h, int lines = 4) {
  const double fold = w * 0.3;
  p.polygon({{x, y}, {x + w - fold, y}, {x + w, y + fold}, {x + w, y + h}, {x, y + h}}, ink::kPaper);
  p.polygon({{x + w - fold, y}, {x + w - fold, y + fold}, {x + w, y + fold}}, ink::kLightGrey, ink::kOutline,
            1.0);
  for (int i = 0; i < lines; ++i) {
    const double ly = y + h * (0.38 + 0.15 * i);
    p.line({{x + w * 0.18, ly}, {x + w * 0.82, ly}}, ink::kTextLine, 1.3);
  }
}

void clipboard(Painter& p, double x, double y, double w, double h) {
  p.roundRect(x, y + h * 0.08, w, h * 0.92, 1.5, ink::kBrown);
  p.rect(x + w * 0.14, y + h * 0.22, w * 0.72, h * 0.7, ink::kPaper, ink::kOutline, 0.9);
  for (int i = 0; i < 3; ++i) {
    const double ly = y + h * (0.42 + 0.15 * i);
    p.line({{x + w * 0.26, ly}, {x + w * 0.74, ly}}, ink::kTextLine, 1.2);
  }
  p.roundRect(x + w * 0.3, y, w * 0.4, h * 0.17, 1.0, ink::kGrey, ink::kOutline, 1.0);
}

void printer(Painter& p, double x, double y, double w, double h) {
  p.rect(x + w * 0.22, y, w * 0.56, h * 0.4, ink::kPaper, ink::kOutline, 1.0);
  p.roundRect(x, y + h * 0.3, w, h * 0.42, 2.0, ink::kGrey);
  p.ellipse(x + w * 0.78, y + h * 0.4, w * 0.1, w * 0.1, ink::kGreen, kNone);
  p.rect(x + w * 0.15, y + h * 0.6, w * 0.7, h * 0.4, ink::kPaper, ink::kOutline, 1.0);
  p.line({{x + w * 0.27, y + h * 0.75}, {x + w * 0.73, y + h * 0.75}}, ink::kTextLine, 1.2);
  p.line({{x + w * 0.27, y + h * 0.88}, {x + w * 0.63, y + h * 0.88}}, ink::kTextLine, 1.2);
}

void appWindow(Painter& p, double x, double y, double w, double h) {
  p.rect(x, y, w, h, ink::kPaper);
  p.rect(x, y, w, h * 0.24, ink::kBlue);
  p.rect(x + w * 0.78, y + h * 0.05, w * 0.15, h * 0.14, ink::kRed, kNone);
  p.line({{x + w * 0.15, y + h * 0.45}, {x + w * 0.85, y + h * 0.45}}, ink::kTextLine, 1.3);
  p.line({{x + w * 0.15, y + h * 0.65}, {x + w * 0.7, y + h * 0.65}}, ink::kTextLine, 1.3);
  p.line({{x + w * 0.15, y + h * 0.83}, {x + w * 0.78, y + h * 0.83}}, ink::kTextLine, 1.3);
}

void monitor(Painter& p, double x, double y, double w, double h) {
  p.polygon({{x + w * 0.4, y + h * 0.76},
             {x + w * 0.6, y + h * 0.76},
             {x + w * 0.64, y + h * 0.92},
             {x + w * 0.36, y + h * 0.92}},
            ink::kGrey, ink::kOutline, 1.0);
  p.roundRect(x + w * 0.22, y + h * 0.9, w * 0.56, h * 0.1, 1.0, ink::kGrey, ink::kOutline, 1.0);
  p.roundRect(x, y, w, h * 0.78, 1.5, ink::kDarkGrey);
  p.rect(x + w * 0.08, y + h * 0.09, w * 0.84, h * 0.58, RGB(80, 160, 235), kNone);
}

void padlock(Painter& p, double x, double y, double w, double h) {
  const double sx = x + w * 0.2;
  const double sw = w * 0.6;
  p.line({{sx, y + h * 0.5}, {sx, y + h * 0.3}}, ink::kDarkGrey, w * 0.13);
  p.line({{sx + sw, y + h * 0.5}, {sx + sw, y + h * 0.3}}, ink::kDarkGrey, w * 0.13);
  p.arc(sx, y + h * 0.02, sw, h * 0.56, 0, 180, ink::kDarkGrey, w * 0.13);
  p.roundRect(x, y + h * 0.44, w, h * 0.56, 1.0, ink::kGold, ink::kDarkGold, 1.1);
  p.ellipse(x + w * 0.41, y + h * 0.58, w * 0.18, w * 0.18, ink::kDarkFill, kNone);
  p.rect(x + w * 0.46, y + h * 0.62, w * 0.08, h * 0.24, ink::kDarkFill, kNone);
}

// --- the pictures ---------------------------------------------------------

// The pictures of the editing and command keys. False for a picture drawn elsewhere.
bool drawEditingPicture(Painter& p, Icon icon, double width) {
  switch (icon) {
    case Icon::Scissors:
      p.polygon({{10.5, 20}, {22.5, 2.5}, {25, 4.2}, {13.5, 21.5}}, RGB(205, 210, 222), ink::kOutline, 1.1);
      p.polygon({{21.5, 20}, {9.5, 2.5}, {7, 4.2}, {18.5, 21.5}}, RGB(205, 210, 222), ink::kOutline, 1.1);
      p.ellipse(14.8, 11.2, 2.4, 2.4, ink::kDarkFill, kNone);
      p.ellipse(3.5, 19.5, 10.5, 10.5, kNone, ink::kRed, 3.0);
      p.ellipse(18, 19.5, 10.5, 10.5, kNone, ink::kRed, 3.0);
      break;
    case Icon::Copy:
      page(p, 3, 2, 17, 21, 3);
      page(p, 12, 9, 17, 21, 4);
      break;
    case Icon::PasteBrush:
      clipboard(p, 2, 3, 20, 27);
      p.line({{30, 5}, {21.5, 17}}, ink::kBrown, 3.6);
      p.line({{21.5, 17}, {19, 20.5}}, ink::kGrey, 4.6);
      p.polygon({{16.5, 18.5}, {21.5, 22}, {16, 29.5}, {12, 29.5}, {12.5, 26}}, RGB(90, 170, 240),
                ink::kDarkBlue, 1.0);
      break;
    case Icon::Calculator:
      p.roundRect(6, 1.5, 20, 29, 2.0, ink::kDarkGrey, ink::kOutline, 1.0);
      p.rect(8.5, 4, 15, 6.5, RGB(195, 225, 170), ink::kOutline, 0.8);
      p.text(L"123", 8.5, 4, 14.5, 6.5, ink::kOutline, 5.5, false);
      for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 3; ++col)
          p.rect(8.5 + col * 5.2, 13 + row * 4.3, 4.2, 3.3, col == 2 ? RGB(245, 150, 60) : ink::kLightGrey,
                 kNone);
      break;
    case Icon::AtSign:
      p.text(L"@", 0, 0, width, 31, ink::kBlue, 30);
      break;
    case Icon::Coin:
      p.ellipse(2.5, 2.5, 27, 27, ink::kGold, ink::kDarkGold, 1.6);
      p.ellipse(6, 6, 20, 20, kNone, ink::kDarkGold, 0.9);
      p.text(L"B", 2.5, 2.5, 27, 27, ink::kDarkGold, 17);
      for (double x : {14.3, 17.7}) {
        p.line({{x, 6.8}, {x, 9.8}}, ink::kDarkGold, 1.5);
        p.line({{x, 22.2}, {x, 25.2}}, ink::kDarkGold, 1.5);
      }
      break;
    case Icon::BinUpArrow:
      bin(p, 5, 5, 19, 25);
      blockArrow(p, 30, 3, 20, 26, Dir::Up, ink::kBlue, ink::kDarkBlue);
      break;
    case Icon::BinLeftArrow:
      blockArrow(p, 3, 7, 24, 20, Dir::Left, ink::kBlue, ink::kDarkBlue);
      bin(p, 32, 5, 19, 25);
      break;
    case Icon::PrinterWindow:
      appWindow(p, 2, 6, 24, 20);
      printer(p, 30, 4, 25, 25);
      clipboard(p, 59, 3, 20, 27);
      break;
    case Icon::PrinterMonitor:
      monitor(p, 1, 3, 27, 27);
      printer(p, 30, 4, 25, 25);
      clipboard(p, 59, 3, 20, 27);
      break;
    default:
      return false;
  }
  return true;
}

// The pictures of the keys of the keyboard itself. False for a picture drawn elsewhere.
bool drawKeyPicture(Painter& p, Icon icon) {
  switch (icon) {
    case Icon::RedCross:
      p.line({{7, 7}, {25, 25}}, ink::kDarkRed, 7.5);
      p.line({{25, 7}, {7, 25}}, ink::kDarkRed, 7.5);
      p.line({{7, 7}, {25, 25}}, ink::kRed, 5.0);
      p.line({{25, 7}, {7, 25}}, ink::kRed, 5.0);
      break;
    case Icon::House:
      p.rect(21, 4, 4, 8, ink::kRed);
      p.rect(7, 14, 18, 15.5, RGB(242, 222, 172));
      p.polygon({{2, 16}, {16, 2.5}, {30, 16}}, ink::kRed, ink::kDarkRed, 1.3);
      p.rect(14, 20, 5.5, 9.5, ink::kBrown, ink::kOutline, 1.0);
      p.rect(9, 18, 4, 4, RGB(150, 205, 245), ink::kOutline, 0.9);
      p.rect(21.5, 18, 2.5, 4, RGB(150, 205, 245), ink::kOutline, 0.9);
      break;
    case Icon::GreenTick:
      p.line({{5, 17}, {13, 25}, {27, 7}}, ink::kDarkGreen, 7.0);
      p.line({{5, 17}, {13, 25}, {27, 7}}, ink::kGreen, 4.6);
      break;
    case Icon::Bin:
      bin(p, 7, 5, 18, 25);
      break;
    case Icon::StopSign: {
      auto octagon = [&](double r, COLORREF fill) {
        std::vector<Pt> pts;
        for (int k = 0; k < 8; ++k) {
          const double a = (22.5 + 45.0 * k) * 3.14159265358979 / 180;
          pts.push_back({16 + r * std::cos(a), 16 + r * std::sin(a)});
        }
        p.polygon(pts, fill, kNone);
      };
      octagon(15.5, ink::kDarkRed);
      octagon(14.3, ink::kWhite);
      octagon(12.9, ink::kRed);
      p.text(L"STOP", 2, 2, 28, 28, ink::kWhite, 8.5);
      break;
    }
    case Icon::UpArrowPadlock:
      shiftArrow(p, 0, 0, 30);
      padlock(p, 26, 11, 14, 20);
      break;
    case Icon::UpArrow:
      shiftArrow(p, 0, 0, 32);
      break;
    case Icon::BlueUp:
      blockArrow(p, 4, 3, 24, 26, Dir::Up, ink::kBlue, ink::kDarkBlue);
      break;
    case Icon::BlueDown:
      blockArrow(p, 4, 3, 24, 26, Dir::Down, ink::kBlue, ink::kDarkBlue);
      break;
    case Icon::BlueLeft:
      blockArrow(p, 3, 4, 26, 24, Dir::Left, ink::kBlue, ink::kDarkBlue);
      break;
    case Icon::BlueRight:
      blockArrow(p, 3, 4, 26, 24, Dir::Right, ink::kBlue, ink::kDarkBlue);
      break;
    case Icon::PageUp:
      page(p, 2, 2, 21, 28);
      blockArrow(p, 27, 4, 22, 25, Dir::Up, ink::kBlue, ink::kDarkBlue);
      break;
    case Icon::PageDown:
      page(p, 2, 2, 21, 28);
      blockArrow(p, 27, 4, 22, 25, Dir::Down, ink::kBlue, ink::kDarkBlue);
      break;
    default:
      return false;
  }
  return true;
}

// The pictures of the keys that reach the system. False for a picture drawn elsewhere.
bool drawSystemPicture(Painter& p, Icon icon) {
  switch (icon) {
    case Icon::WindowFlag:
      p.polygon({{3, 5.5}, {14.8, 4}, {14.8, 15}, {3, 16.3}}, RGB(242, 80, 34), kNone);
      p.polygon({{17, 3.7}, {29, 2.2}, {29, 13.2}, {17, 14.7}}, RGB(127, 186, 0), kNone);
      p.polygon({{3, 18.3}, {14.8, 17}, {14.8, 28}, {3, 29.2}}, RGB(0, 164, 239), kNone);
      p.polygon({{17, 16.7}, {29, 15.2}, {29, 26.3}, {17, 27.7}}, RGB(255, 185, 0), kNone);
      break;
    case Icon::PointerMenu:
      p.rect(13, 2, 24, 28, ink::kPaper);
      p.rect(14, 9, 22, 5.5, RGB(60, 130, 230), kNone);
      for (double y : {5.5, 18.5, 22.5, 26.5}) p.line({{16.5, y}, {33.5, y}}, ink::kTextLine, 1.3);
      p.line({{16.5, 11.7}, {33.5, 11.7}}, ink::kWhite, 1.3);
      p.polygon({{3, 6}, {3, 27}, {8, 22.5}, {11.5, 30.5}, {15, 29}, {11.5, 21.3}, {18, 21.3}}, ink::kWhite,
                ink::kOutline, 1.5);
      break;
    case Icon::CommandPrompt:
      p.rect(1, 3, 34, 26, RGB(12, 12, 12), ink::kGrey, 1.2);
      p.rect(1, 3, 34, 5.5, RGB(190, 195, 205), ink::kGrey, 1.2);
      p.text(L"C:\\>", 2, 10, 22, 11, RGB(230, 230, 230), 9.5, true, L"Courier New");
      p.line({{24.5, 19.5}, {30, 19.5}}, RGB(230, 230, 230), 1.8);
      break;
    case Icon::RunInternal:
      p.ellipse(3, 3, 26, 26, ink::kBlue, ink::kDarkBlue, 1.4);
      p.polygon({{12.5, 9}, {23.5, 16}, {12.5, 23}}, ink::kWhite, kNone);
      break;
    case Icon::PadlockMonitor:
      monitor(p, 1, 2, 30, 28);
      padlock(p, 23, 10, 15, 21);
      break;
    default:
      return false;
  }
  return true;
}

}  // namespace

void icon_art::drawPicture(Painter& p, Icon icon, double width) {
  if (icon == Icon::None) return;
  if (drawEditingPicture(p, icon, width)) return;
  if (drawKeyPicture(p, icon)) return;
  drawSystemPicture(p, icon);
}

double iconAspect(Icon icon) {
  switch (icon) {
    case Icon::BinUpArrow:
    case Icon::BinLeftArrow:
      return 52.0 / 32;
    case Icon::PrinterWindow:
    case Icon::PrinterMonitor:
      return 80.0 / 32;
    case Icon::PageUp:
    case Icon::PageDown:
      return 50.0 / 32;
    case Icon::UpArrowPadlock:
      return 41.0 / 32;
    case Icon::PointerMenu:
      return 38.0 / 32;
    case Icon::CommandPrompt:
      return 36.0 / 32;
    case Icon::PadlockMonitor:
      return 39.0 / 32;
    default:
      return 1.0;
  }
}

}  // namespace osk::win32
