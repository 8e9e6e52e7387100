// The key click from the program's resources (beside them, in start), played
// without waiting.
#pragma once

#include "platform/key_sound.h"

namespace osk::win32 {

class Win32KeySound final : public KeySound {
 public:
  void click() override;

 private:
  // Told once: a machine without a sound device refuses every click alike.
  bool told_ = false;
};

}  // namespace osk::win32
