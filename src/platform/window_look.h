// How the keyboard window lies on the desktop beyond its geometry: how
// opaque it is, whether the pointer is over it, and whether it is an
// application bar that other windows keep clear of.
#pragma once

#include <optional>

#include "layout/model.h"

namespace osk {

class WindowLook {
 public:
  virtual ~WindowLook() = default;
  // `percent` of full opacity (1 to 100). While `layered` is false the
  // window is drawn as any other, at no cost; switching it is the only
  // change that redraws the whole window, so a fade that comes and goes
  // keeps it on and changes the percentage alone.
  virtual void setOpacity(const Form& form, bool layered, int percent) = 0;
  // True when the pointer is over the form's window or one of its controls.
  virtual bool pointerOver(const Form& form) const = 0;
};

class AppBar {
 public:
  virtual ~AppBar() = default;
  // Makes the form's window an application bar along the bottom edge of the
  // monitor it is on (registering it first, when it is not one yet),
  // `height` twips high and as wide as the system lets it be beside the
  // other bars there. The place the system grants, in twips of the virtual
  // screen, which the window is then to take; nothing when the system
  // refused, and the window is then no bar.
  virtual std::optional<Geometry> dockBottom(const Form& form, float height) = 0;
  // The window is no application bar any more; nothing when it was none.
  virtual void remove(const Form& form) = 0;
};

// For a host without either: the keyboard stays opaque and never docks.
inline WindowLook& noWindowLook() {
  class None final : public WindowLook {
   public:
    void setOpacity(const Form& /*form*/, bool /*layered*/, int /*percent*/) override {}
    bool pointerOver(const Form& /*form*/) const override { return false; }
  };
  static None none;
  return none;
}

inline AppBar& noAppBar() {
  class None final : public AppBar {
   public:
    std::optional<Geometry> dockBottom(const Form& /*form*/, float /*height*/) override {
      return std::nullopt;
    }
    void remove(const Form& /*form*/) override {}
  };
  static None none;
  return none;
}

}  // namespace osk
