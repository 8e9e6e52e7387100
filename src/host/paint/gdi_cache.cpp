#include "host/paint/gdi_cache.h"

#include <algorithm>
#include <cwchar>

#include "host/common/failure.h"
#include "platform/log.h"

namespace osk::win32 {

COLORREF resolveColor(Color color) {
  if (colors::isSystemReference(color)) return ::GetSysColor(static_cast<int>(colors::systemIndex(color)));
  return static_cast<COLORREF>(color & 0x00FFFFFFU);
}

HFONT GdiCache::font(LONG height, bool bold) {
  const auto key = std::make_pair(height, bold);
  if (auto it = fonts_.find(key); it != fonts_.end()) return it->second.get();
  LOGFONTW lf{};
  lf.lfHeight = height;
  lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = DEFAULT_QUALITY;
  wcscpy_s(lf.lfFaceName, L"MS Sans Serif");
  UniqueFont f(::CreateFontIndirectW(&lf));
  if (!f) {
    // Out of GDI objects. The dialog font of the system keeps every caption
    // legible, if not at its size; nothing is cached, so a later paint
    // tries again.
    logFailure("creating a font", ::GetLastError());
    ++fontFailures_;
    return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  }
  return fonts_.emplace(key, std::move(f)).first->second.get();
}

std::optional<LONG> GdiCache::fittedHeight(const std::wstring& caption, SIZE room, LONG height,
                                           bool bold) const {
  if (auto it = fitted_.find(std::make_tuple(caption, room.cx, room.cy, height, bold)); it != fitted_.end())
    return it->second;
  return std::nullopt;
}

void GdiCache::keepFittedHeight(const std::wstring& caption, SIZE room, LONG height, bool bold, LONG fitted) {
  // The suggestions' captions change with every word typed: past a bound
  // the heights are measured afresh rather than kept for ever.
  constexpr std::size_t kMostKept = 512;
  if (fitted_.size() >= kMostKept) fitted_.clear();
  fitted_.insert_or_assign(std::make_tuple(caption, room.cx, room.cy, height, bold), fitted);
}

HBRUSH GdiCache::brush(Color color, HDC dc) {
  if (colors::isSystemReference(color))
    return ::GetSysColorBrush(static_cast<int>(colors::systemIndex(color)));
  const COLORREF rgb = resolveColor(color);
  if (auto it = brushes_.find(rgb); it != brushes_.end()) return it->second.get();
  UniqueBrush made(::CreateSolidBrush(rgb));
  if (!made) {
    // Out of GDI objects. A null brush would leave the key unpainted, black
    // and blank; the DC's own brush needs no new object and shows the
    // colour all the same. Nothing is cached, so a later paint tries again.
    logFailure("creating a brush", ::GetLastError());
    ::SetDCBrushColor(dc, rgb);
    return static_cast<HBRUSH>(::GetStockObject(DC_BRUSH));
  }
  return brushes_.emplace(rgb, std::move(made)).first->second.get();
}

HDC GdiCache::offscreen(HDC dc, SIZE size) {
  if (offscreenDc_ && size.cx <= offscreenSize_.cx && size.cy <= offscreenSize_.cy) return offscreenDc_.get();
  // Grown to hold the largest key seen, so that keys of every size share it.
  const SIZE want{std::max(size.cx, offscreenSize_.cx), std::max(size.cy, offscreenSize_.cy)};
  offscreenDc_.reset();
  offscreenBitmap_.reset();
  offscreenSize_ = {};
  UniqueMemDC mem(::CreateCompatibleDC(dc));
  UniqueBitmap bitmap(mem ? ::CreateCompatibleBitmap(dc, want.cx, want.cy) : nullptr);
  if (!mem || !bitmap) return nullptr;
  // Left selected for the DC's life: the DC is deleted before the bitmap.
  if (::SelectObject(mem.get(), bitmap.get()) == nullptr) return nullptr;
  offscreenBitmap_ = std::move(bitmap);
  offscreenDc_ = std::move(mem);
  offscreenSize_ = want;
  return offscreenDc_.get();
}

void GdiCache::dropSized() {
  icons_.clear();
  offscreenDc_.reset();
  offscreenBitmap_.reset();
  offscreenSize_ = {};
}

}  // namespace osk::win32
