// The mode in which clicks on the keyboard never take the focus from the
// window being typed into.
#pragma once

#include "base/context.h"

namespace osk {

// Switches the mode and remembers the choice: for a tick box in the settings
// dialog, and for the command-line switch at start-up.
void setKeepTargetFocus(Context& ctx, bool on);

// Puts the stored choice into effect (at load).
void applyKeepTargetFocus(Context& ctx);

}  // namespace osk
