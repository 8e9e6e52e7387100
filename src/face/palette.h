// The colours a key or label is painted in, chosen once from the system's
// scheme and redone when the system's colours change. A face and its ink
// always come from the same scheme: our own black on a system face was
// black on black under a dark scheme, and our own faces keep our own ink.
#pragma once

#include <cstdint>
#include <string_view>

#include "layout/model.h"
#include "platform/system_colours.h"

namespace osk {

// The stored HIGH_CONTRAST value: "" follows the system, "1" always, "0"
// never (anything else follows the system).
enum class HighContrastChoice : std::uint8_t { FollowSystem, Always, Never };
inline constexpr std::string_view kHighContrastKey = "HIGH_CONTRAST";
HighContrastChoice highContrastChoice(std::string_view stored);

// The contrast ratio of two RGB colours (1 .. 21), as the accessibility
// guidelines define it from their relative luminance.
double contrastRatio(Color a, Color b);

// Under high contrast every state but the plain one is marked by a shape
// too, for a user who cannot tell the scheme's colours apart.
enum class KeyMark : std::uint8_t {
  None,
  Frame,  // latched, flashed, lit by the scan: a solid frame in the ink
  Dots,   // tinted by a lock or a mode: a dotted frame in the ink
};

struct KeyLook {
  Color face = colors::kWhite;  // RGB
  Color ink = colors::kBlack;   // RGB
  KeyMark mark = KeyMark::None;
  friend bool operator==(const KeyLook&, const KeyLook&) = default;
};

class Palette {
 public:
  // The system's default look: what a palette is before any is chosen.
  Palette() = default;
  Palette(const SchemeColours& scheme, bool highContrast) : scheme_(scheme), highContrast_(highContrast) {}
  static Palette choose(const SystemColours& system, HighContrastChoice choice);

  bool highContrast() const { return highContrast_; }
  const SchemeColours& scheme() const { return scheme_; }
  // The look of a control whose stored colours are `back` and `fore`.
  KeyLook look(Color back, Color fore, bool enabled) const;
  // A stored colour as this scheme draws it.
  Color resolve(Color stored) const;

 private:
  KeyLook highContrastLook(Color back, bool enabled) const;
  SchemeColours scheme_;
  bool highContrast_ = false;
};

}  // namespace osk
