#include "face/palette.h"

#include <array>
#include <cmath>

namespace osk {

namespace {

// The system colour indices the layouts store as references.
constexpr unsigned kIndexWindow = 5;
constexpr unsigned kIndexWindowText = 8;
constexpr unsigned kIndexHighlight = 13;
constexpr unsigned kIndexHighlightText = 14;
constexpr unsigned kIndexButtonFace = 15;
constexpr unsigned kIndexGrayText = 17;
constexpr unsigned kIndexButtonText = 18;

// The guidelines' enhanced level, which every caption keeps under high
// contrast.
constexpr double kHighContrastMinimum = 7.0;

// Grey ink for a disabled key on a face of our own: the system's grey
// belongs to the system's faces.
constexpr Color kOwnGray = 0x808080;

double channel(unsigned value) {
  const double c = static_cast<double>(value) / 255.0;
  return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double luminance(Color rgb) {
  return 0.2126 * channel(rgb & 0xFFU) + 0.7152 * channel((rgb >> 8) & 0xFFU) +
         0.0722 * channel((rgb >> 16) & 0xFFU);
}

bool isTint(Color back) {
  return back == colors::kYellowTint || back == colors::kPink || back == colors::kBlueTint ||
         back == colors::kCyan;
}

bool isLit(Color back) { return back == colors::kGreen || back == colors::kScanLight; }

}  // namespace

HighContrastChoice highContrastChoice(std::string_view stored) {
  if (stored == "1") return HighContrastChoice::Always;
  if (stored == "0") return HighContrastChoice::Never;
  return HighContrastChoice::FollowSystem;
}

double contrastRatio(Color a, Color b) {
  const double la = luminance(a & 0xFFFFFFU);
  const double lb = luminance(b & 0xFFFFFFU);
  const double lighter = la > lb ? la : lb;
  const double darker = la > lb ? lb : la;
  return (lighter + 0.05) / (darker + 0.05);
}

Palette Palette::choose(const SystemColours& system, HighContrastChoice choice) {
  const bool on = choice == HighContrastChoice::Always ||
                  (choice == HighContrastChoice::FollowSystem && system.highContrastOn());
  return {system.scheme(), on};
}

Color Palette::resolve(Color stored) const {
  if (!colors::isSystemReference(stored)) return stored & 0xFFFFFFU;
  switch (colors::systemIndex(stored)) {
    case kIndexWindow:
      return scheme_.window;
    case kIndexWindowText:
      return scheme_.windowText;
    case kIndexHighlight:
      return scheme_.highlight;
    case kIndexHighlightText:
      return scheme_.highlightText;
    case kIndexGrayText:
      return scheme_.grayText;
    case kIndexButtonText:
      return scheme_.buttonText;
    case kIndexButtonFace:
    default:
      return scheme_.buttonFace;
  }
}

KeyLook Palette::look(Color back, Color fore, bool enabled) const {
  if (highContrast_) return highContrastLook(back, enabled);
  const Color face = resolve(back);
  if (!colors::isSystemReference(back)) {
    if (!enabled) return {face, kOwnGray, KeyMark::None};
    // Our own faces carry our own ink, whatever the system's scheme.
    return {face, colors::isSystemReference(fore) ? colors::kBlack : fore, KeyMark::None};
  }
  if (!enabled) return {face, scheme_.grayText, KeyMark::None};
  const bool window = colors::systemIndex(back) == kIndexWindow;
  return {face, window ? scheme_.windowText : scheme_.buttonText, KeyMark::None};
}

KeyLook Palette::highContrastLook(Color back, bool enabled) const {
  KeyLook look{scheme_.buttonFace, scheme_.buttonText, KeyMark::None};
  if (!enabled) {
    look.ink = scheme_.grayText;
  } else if (isLit(back)) {
    look = {scheme_.highlight, scheme_.highlightText, KeyMark::Frame};
  } else if (isTint(back)) {
    look = {scheme_.window, scheme_.windowText, KeyMark::Dots};
  } else if (back == colors::kSysWindow) {
    look = {scheme_.window, scheme_.windowText, KeyMark::None};
  }
  if (contrastRatio(look.face, look.ink) >= kHighContrastMinimum) return look;
  // A scheme of the user's own making may pair colours that fall short (as
  // may an ordinary scheme that the user had the keyboard draw in high
  // contrast): the scheme's colour that stands out most from the face is
  // used instead. Never, for a disabled key, the ink of an enabled one on
  // the same face: it would look as if it worked.
  const Color working = enabled ? look.ink : highContrastLook(colors::kSysButtonFace, true).ink;
  const std::array<Color, 7> inks{scheme_.windowText, scheme_.buttonText, scheme_.highlightText,
                                  scheme_.grayText,   scheme_.window,     scheme_.buttonFace,
                                  scheme_.highlight};
  for (const Color ink : inks)
    if ((enabled || ink != working) && contrastRatio(look.face, ink) > contrastRatio(look.face, look.ink))
      look.ink = ink;
  return look;
}

}  // namespace osk
