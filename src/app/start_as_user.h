// "--start-as-user [switches...]": starts the keyboard with the switches as
// the signed-in user and ends, showing no window. The installer calls it,
// since it runs as administrator.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/user_start.h"

namespace osk {

inline constexpr const char* kStartAsUserSwitch = "--start-as-user";

enum class UserStartRoute : std::uint8_t { Shell, Direct, None };

struct UserStartResult {
  UserStartRoute route = UserStartRoute::None;
  int exitCode = 1;  // for the installer: 0 once a keyboard has been started
  friend bool operator==(const UserStartResult&, const UserStartResult&) = default;
};

// True when `arguments` (without the program's name) ask for this start.
[[nodiscard]] bool wantsStartAsUser(const std::vector<std::string>& arguments);

// One command line of `arguments` that splits back into them as Windows
// programs split theirs (quotes around spaces, backslashes doubled before
// a quote).
[[nodiscard]] std::string joinArguments(const std::vector<std::string>& arguments);

// Starts the keyboard with `arguments` minus the switch itself (the new
// start must not start yet another one). Where this process is elevated,
// or may be, through the shell; when the shell cannot, directly all the
// same, logged: a keyboard running as administrator is better than no
// keyboard for someone who needs it to type, and a later start by the
// user finds it and says so.
UserStartResult startAsSignedInUser(UserStarter& starter, const std::vector<std::string>& arguments);

}  // namespace osk
