// Hands a parsed key string to the system as synthetic input.
#pragma once

#include "keystring/keystring.h"

namespace osk {

class KeyInjector {
 public:
  virtual ~KeyInjector() = default;
  // Sends the whole plan as one batch; false when the system refused it.
  [[nodiscard]] virtual bool inject(const KeyPlan& plan) = 0;
};

}  // namespace osk
