// The system's colour scheme and whether its high-contrast mode is on, as
// the keyboard's faces are chosen from them.
#pragma once

#include "layout/model.h"

namespace osk {

// The colours of one scheme as plain RGB (0x00BBGGRR), never references.
struct SchemeColours {
  Color window = colors::kWhite;
  Color windowText = colors::kBlack;
  Color highlight = 0xD77800;
  Color highlightText = colors::kWhite;
  Color buttonFace = 0xF0F0F0;
  Color buttonText = colors::kBlack;
  Color grayText = 0x6D6D6D;
  friend bool operator==(const SchemeColours&, const SchemeColours&) = default;
};

class SystemColours {
 public:
  virtual ~SystemColours() = default;
  virtual SchemeColours scheme() const = 0;
  // The system's own high-contrast switch.
  virtual bool highContrastOn() const = 0;
};

}  // namespace osk
