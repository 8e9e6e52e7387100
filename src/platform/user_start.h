// Starting this program as the user signed in to the desktop, for an
// installer that runs as administrator: a keyboard it started directly
// would run elevated, and the user's own starts could then neither reach
// it nor run beside it.
#pragma once

#include <cstdint>
#include <string>

#include "platform/launcher.h"

namespace osk {

class UserStarter {
 public:
  enum class Elevation : std::uint8_t {
    Limited,   // this process runs as the user: any start is the user's
    Elevated,  // its starts would inherit administrator rights
    Unknown,   // the system would not say
  };
  virtual ~UserStarter() = default;
  virtual Elevation elevation() = 0;
  // `parameters` as one command line without the program's name. Through
  // the desktop's shell, which runs as the signed-in user and starts what
  // it is asked to as that user.
  virtual LaunchOutcome startThroughShell(const std::string& parameters) = 0;
  // As a child of this process, with this process's rights.
  virtual LaunchOutcome startDirectly(const std::string& parameters) = 0;
};

}  // namespace osk
