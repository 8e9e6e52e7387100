// The mode in which clicks on the keyboard never take the focus from the
// window being typed into.
#pragma once

#include <optional>

#include "base/context.h"

namespace osk {

// Switches the mode and remembers the choice: for a tick box in the settings
// dialog, and for the command-line switch at start-up.
void setKeepTargetFocus(Context& ctx, bool on);

// Puts the stored choice into effect (at load).
void applyKeepTargetFocus(Context& ctx);

// A second start of the keyboard in the session hands over its switch, if
// it gave one, and brings this keyboard forward; in the mode that keeps the
// focus in the target, without taking it.
void secondStart(Context& ctx, std::optional<bool> keepFocus);

}  // namespace osk
