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

// delivery/gate.h: a send that the administrator gate has let through.
class Passage;

// The injector as the keyboard holds it: shut to everything but a send the
// administrator gate has let through, so that no way of sending keys can
// pass by the gate (a send that skipped it would be dropped by the system
// without a word, and counted by word prediction as typed).
class GatedInjector {
 public:
  // Not explicit: a platform is listed with its injector as it is.
  GatedInjector(KeyInjector& injector) : injector_(injector) {}

 private:
  friend class Passage;
  KeyInjector& injector_;
};

}  // namespace osk
