// Handlers of the delivery keys that other code (and tests) address by name.
#pragma once

#include "base/context.h"
#include "base/router.h"

namespace osk {

void ACTIVE_WINDOW_TIMER_Timer(Context& ctx);
void COMMAND_LINE_TEXTBOX_GotFocus(Context& ctx);
void COMMAND_LINE_TEXTBOX_LostFocus(Context& ctx);
void COMMAND_LINE_TEXTBOX_Click(Context& ctx);
void registerModifierKeys(KeyboardRoutes& router, Context& ctx);
void registerDelivery(KeyboardRoutes& router, Context& ctx);

}  // namespace osk
