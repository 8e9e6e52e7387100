// What a start asks the system to learn whether it is the session's keyboard
// of its program name, and what the running keyboard asks so that later
// starts can reach it. The decisions are the core's (app/claim_decision.h);
// this only asks.
#pragma once

#include <cstdint>
#include <string_view>

namespace osk {

// How the system answered the request for the session's one object of this
// program name.
enum class ClaimAnswer : std::uint8_t {
  Created,        // no keyboard of this name held it: this start does now
  AlreadyExists,  // a keyboard of this name holds it
  // A keyboard of this name holds it and this start may not open it: one
  // running as administrator while this start is not, or as another user.
  AccessDenied,
  OtherFailure,  // no object at all: nothing can tell two starts apart
};

class SessionClaim {
 public:
  virtual ~SessionClaim() = default;
  // Makes or opens the object; holds it only when Created.
  virtual ClaimAnswer claimName() = 0;
  // Looks for the running keyboard's window. `outOfReach`: the keyboard
  // may run at another level or as another user, so a keyboard window whose
  // program this start may not read counts as well (that keyboard checks the
  // start before it takes anything).
  [[nodiscard]] virtual bool findRunning(bool outOfReach) = 0;
  // Hands this start's command line to the window found; true when the
  // keyboard took it.
  [[nodiscard]] virtual bool handOver() = 0;
  // Waits a moment before the next claimName(); false once this start has
  // waited as long as it will.
  [[nodiscard]] virtual bool waitShortly() = 0;
  // Tells the user `text` and waits until it has been read.
  virtual void tell(std::string_view text) = 0;
  // On the running keyboard: lets a start at a lower level (the keyboard
  // runs as administrator, the start does not) hand over. False when the
  // system refused.
  [[nodiscard]] virtual bool letLowerStartsHandOver() = 0;
};

}  // namespace osk
