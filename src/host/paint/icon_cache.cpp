// The pictures as drawn: each drawn once at a size, oversized and averaged
// down, and kept; or, in a drag's quick frames, stretched from another size.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "host/common/handles.h"
#include "host/paint/icon_painter.h"
#include "host/paint/icons.h"

namespace osk::win32 {

namespace {

using namespace icon_art;

// Drawn at this many times the target size, then averaged down: GDI has no
// anti-aliasing of its own.
constexpr int kSuper = 4;

// Averages each kSuper x kSuper block of the oversized picture `src`
// (w * kSuper pixels wide) into one pixel of a w x h picture.
std::vector<std::uint32_t> averageDown(std::span<const std::uint32_t> src, int w, int h, COLORREF back,
                                       bool disabled) {
  const auto sw = static_cast<std::size_t>(w) * kSuper;
  std::vector<std::uint32_t> out(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
  const int br = GetRValue(back);
  const int bg = GetGValue(back);
  const int bb = GetBValue(back);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      int r = 0;
      int g = 0;
      int b = 0;
      for (int dy = 0; dy < kSuper; ++dy) {
        const std::size_t row = static_cast<std::size_t>(y * kSuper + dy) * sw;
        for (int dx = 0; dx < kSuper; ++dx) {
          const std::uint32_t px = src[row + static_cast<std::size_t>(x * kSuper + dx)];
          b += static_cast<int>(px & 0xFF);
          g += static_cast<int>((px >> 8) & 0xFF);
          r += static_cast<int>((px >> 16) & 0xFF);
        }
      }
      constexpr int n = kSuper * kSuper;
      r /= n;
      g /= n;
      b /= n;
      if (disabled) {
        // Grey and faint, the way a disabled toolbar picture looks.
        const int grey = (r * 30 + g * 59 + b * 11) / 100;
        r = (grey + 2 * br) / 3;
        g = (grey + 2 * bg) / 3;
        b = (grey + 2 * bb) / 3;
      }
      out[static_cast<std::size_t>(y) * static_cast<std::size_t>(w) + static_cast<std::size_t>(x)] =
          static_cast<std::uint32_t>(b) | (static_cast<std::uint32_t>(g) << 8) |
          (static_cast<std::uint32_t>(r) << 16);
    }
  }
  return out;
}

// Far more than the keyboard's pictures at one size; reached only after
// many resizes, and then the pictures of sizes no longer shown go with the
// rest.
constexpr std::size_t kMostPictures = 512;

// The picture's own box, as large as fits w x h at its aspect.
std::pair<double, double> pictureBox(int w, int h, Icon icon) {
  const double aspect = iconAspect(icon);
  const double boxH = std::min<double>(h, w / aspect);
  return {boxH * aspect, boxH};
}

BITMAPINFO topDown32(int w, int h) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;  // top-down
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  return bi;
}

// The picture's pixels at w x h, row by row; nothing when the system is
// short of memory or GDI objects.
std::optional<std::vector<std::uint32_t>> renderIcon(HDC dc, int w, int h, Icon icon, COLORREF back,
                                                     COLORREF ink, bool disabled) {
  const auto [boxW, boxH] = pictureBox(w, h, icon);
  const int sw = w * kSuper;
  const int sh = h * kSuper;
  const BITMAPINFO bi = topDown32(sw, sh);
  void* bits = nullptr;
  UniqueBitmap big(::CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  UniqueMemDC mem(::CreateCompatibleDC(dc));
  if (!big || !mem || bits == nullptr) return std::nullopt;
  {
    SelectGuard sel(mem.get(), big.get());
    UniqueBrush fill(::CreateSolidBrush(back));
    RECT all{0, 0, sw, sh};
    ::FillRect(mem.get(), &all, fill.get());
    const double scale = boxH * kSuper / kUnits;
    Painter painter(mem.get(), scale, (w - boxW) / 2 * kSuper, (h - boxH) / 2 * kSuper);
    if (ink != CLR_INVALID) painter.lineArt(back, ink);
    drawPicture(painter, icon, boxW / boxH * kUnits);
    ::GdiFlush();
  }
  const std::span<const std::uint32_t> pixels{static_cast<const std::uint32_t*>(bits),
                                              static_cast<std::size_t>(sw) * static_cast<std::size_t>(sh)};
  return averageDown(pixels, w, h, back, disabled);
}

}  // namespace

bool IconCache::stretchNearest(HDC dc, const RECT& area, Icon icon, COLORREF back, bool disabled) const {
  const int w = area.right - area.left;
  const int h = area.bottom - area.top;
  const Picture* best = nullptr;
  int bestW = 0;
  int bestH = 0;
  for (auto it = pictures_.lower_bound(Key{icon, 0, 0, false});
       it != pictures_.end() && std::get<0>(it->first) == icon; ++it) {
    const int pw = std::get<1>(it->first);
    const int ph = std::get<2>(it->first);
    if (std::get<3>(it->first) != disabled || it->second.back != back) continue;
    if (best == nullptr || std::abs(pw - w) < std::abs(bestW - w)) {
      best = &it->second;
      bestW = pw;
      bestH = ph;
    }
  }
  if (best == nullptr) return false;
  const BITMAPINFO bi = topDown32(bestW, bestH);
  const int mode = ::SetStretchBltMode(dc, COLORONCOLOR);
  const int lines = ::StretchDIBits(dc, area.left, area.top, w, h, 0, 0, bestW, bestH, best->pixels.data(),
                                    &bi, DIB_RGB_COLORS, SRCCOPY);
  if (mode != 0) ::SetStretchBltMode(dc, mode);
  // StretchDIBits answers the lines copied, or GDI_ERROR as an unsigned value.
  return lines > 0;
}

void IconCache::draw(HDC dc, const RECT& area, Icon icon, COLORREF back, bool disabled, COLORREF ink) {
  const int w = area.right - area.left;
  const int h = area.bottom - area.top;
  if (w <= 0 || h <= 0 || icon == Icon::None) return;
  const Key key{icon, w, h, disabled};
  auto it = pictures_.find(key);
  if (it == pictures_.end() || it->second.back != back || it->second.ink != ink) {
    if (quick_ && ink == CLR_INVALID && stretchNearest(dc, area, icon, back, disabled)) return;
    std::optional<std::vector<std::uint32_t>> made = renderIcon(dc, w, h, icon, back, ink, disabled);
    if (!made) {
      // Drawn straight at its size, jagged and not greyed, because a key
      // whose only face is its picture must not go blank; nothing is kept,
      // so a later paint tries again.
      const auto [boxW, boxH] = pictureBox(w, h, icon);
      Painter painter(dc, boxH / kUnits, area.left + (w - boxW) / 2, area.top + (h - boxH) / 2);
      if (ink != CLR_INVALID) painter.lineArt(back, ink);
      drawPicture(painter, icon, boxW / boxH * kUnits);
      return;
    }
    if (it != pictures_.end()) {
      it->second = Picture{back, ink, std::move(*made)};
    } else {
      if (pictures_.size() >= kMostPictures) pictures_.clear();
      it = pictures_.emplace(key, Picture{back, ink, std::move(*made)}).first;
    }
  }
  const BITMAPINFO small = topDown32(w, h);
  ::SetDIBitsToDevice(dc, area.left, area.top, static_cast<DWORD>(w), static_cast<DWORD>(h), 0, 0, 0,
                      static_cast<UINT>(h), it->second.pixels.data(), &small, DIB_RGB_COLORS);
}

}  // namespace osk::win32
