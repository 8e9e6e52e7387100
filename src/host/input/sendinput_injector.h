// Key injection through SendInput: each plan goes to the system as one batch
// of raw keyboard records, worked out against the foreground window's layout.
#pragma once

#include "platform/injector.h"

namespace osk {

class SendInputInjector final : public KeyInjector {
 public:
  // False when the string is not accepted whole by the system (for example
  // when a higher-integrity window is in front and UIPI blocks the input).
  bool inject(const KeyPlan& plan) override;
};

}  // namespace osk
