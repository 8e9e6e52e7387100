// The click a key makes when it types, for those who like to hear it.
#pragma once

namespace osk {

class KeySound {
 public:
  virtual ~KeySound() = default;
  // Starts the click and returns at once; a click that cannot play is silent.
  virtual void click() = 0;
};

// Where no sound can be played.
inline KeySound& noKeySound() {
  class Silent final : public KeySound {
   public:
    void click() override {}
  };
  static Silent silent;
  return silent;
}

}  // namespace osk
